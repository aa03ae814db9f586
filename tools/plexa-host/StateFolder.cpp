#include "StateFolder.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "core/Text.h"
#include "sim/mailbox/MailboxModel.h"

namespace plexa::host {

namespace {

std::filesystem::path MakeTemporaryFolder() {
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("plexa-host-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(seed() % 1000000));
        if (std::filesystem::create_directory(candidate)) {
            return candidate;
        }
    }
    throw std::runtime_error("cannot make a temporary state folder in " + base.string());
}

}  // namespace

StateFolder::StateFolder(std::optional<std::filesystem::path> folder) {
    if (!folder) {
        m_folder = MakeTemporaryFolder();
        m_temporary = true;
    } else {
        m_folder = *folder;
        std::error_code ec;
        std::filesystem::create_directories(m_folder, ec);
        if (ec || !std::filesystem::is_directory(m_folder)) {
            throw std::runtime_error("cannot use " + m_folder.string() + " as the state folder" +
                                     (ec ? ": " + ec.message() : std::string()));
        }
    }
    std::filesystem::create_directories(FilesRoot());
}

StateFolder::~StateFolder() {
    if (m_temporary) {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
}

std::optional<OleDate> StateFolder::LoadClock() const {
    std::ifstream in(ClockFile(), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::stringstream content;
    content << in.rdbuf();
    std::wstring line = text::FromUtf8(content.str());
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) {
        line.pop_back();
    }
    const std::wstring suffix = L" UTC";
    std::optional<OleDate> date;
    if (line.ends_with(suffix)) {
        date = sim::ParseMailboxDate(line.substr(0, line.size() - suffix.size()));
    }
    if (!date) {
        throw std::runtime_error(ClockFile().string() + ": \"" + text::ToUtf8(line) +
                                 "\" is not a time like \"2026-12-06 09:00:00 UTC\"");
    }
    return date;
}

void StateFolder::SaveClock(OleDate utc) const {
    const auto temporary = ClockFile().string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        wchar_t seconds[8];
        std::swprintf(seconds, 8, L":%02d", utc.Second());
        std::wstring written = sim::FormatMailboxDate(utc);
        if (written.size() == 16) {  // no seconds written: always keep them
            written += seconds;
        }
        out << text::ToUtf8(written) << " UTC\n";
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + temporary);
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, ClockFile(), ec);
    if (ec) {
        throw std::runtime_error("cannot write " + ClockFile().string() + ": " + ec.message());
    }
}

}  // namespace plexa::host
