#include "settings/CLogWriter.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/mFileUtils.h"
#include "settings/mReduceLog.h"

namespace plexa {

namespace {

const wchar_t* LevelTag(LogLevel level) {
    switch (level) {
        case LogLevel::Debug:
            return L"DBG";
        case LogLevel::Warning:
            return L"WRN";
        case LogLevel::Error:
            return L"ERR";
    }
    return L"???";
}

// A line must stay one line: line breaks and tabs inside a text are written as \r \n \t.
std::wstring OneLine(std::wstring_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (wchar_t c : s) {
        switch (c) {
            case L'\r':
                out += L"\\r";
                break;
            case L'\n':
                out += L"\\n";
                break;
            case L'\t':
                out += L"\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::wstring CLogWriter::BasePath() const {
    try {
        return mReduceLog::LogBasePath(m_platform);
    } catch (const HostError&) {
        return {};
    }
}

std::wstring CLogWriter::LogPath() const {
    const std::wstring base = BasePath();
    return base.empty() ? base : base + L".log";
}

std::wstring CLogWriter::ErrPath() const {
    const std::wstring base = BasePath();
    return base.empty() ? base : base + L".err";
}

std::string CLogWriter::FormatLine(const LogEntry& entry) const {
    std::wstring stamp;
    try {
        stamp = m_platform.clock.NowLocal().ToIsoText();
    } catch (const HostError&) {
        stamp = L"0000-00-00 00:00:00";
    }
    const std::wstring line =
        stamp + L"\t" + LevelTag(entry.level) + L"\t" + std::to_wstring(entry.detail) + L"\t" +
        std::to_wstring(entry.number) + L"\t" + OneLine(entry.source) + L"\t" + OneLine(entry.text);
    return text::ToUtf8(line);
}

void CLogWriter::Append(const std::wstring& path, const std::string& bytes) {
    auto file = m_platform.files.Open(path, FileAccess::Write, FileShareRead | FileShareWrite,
                                      FileCreation::OpenAlways);
    file->Seek(file->Size());
    file->Write(bytes.data(), bytes.size());
}

void CLogWriter::Write(const LogEntry& entry) noexcept {
    try {
        const std::wstring base = BasePath();
        if (base.empty()) {
            return;
        }
        if (!m_folderReady) {
            const std::wstring folder = base.substr(0, base.find_last_of(L'\\'));
            m_folderReady = mFileUtils::CreateDirPath(m_platform, folder);
            if (!m_folderReady) {
                return;
            }
        }
        const std::string line = FormatLine(entry) + "\n";
        // Each file on its own: a .log that cannot be written (another program holds it, the
        // disk is full) does not cost the .err its entry.
        try {
            if (!m_started) {
                // The marker opens its line, so the upkeep, which cuts at the marker, keeps
                // whole lines.
                const std::string start =
                    ":Start:\t" +
                    FormatLine(LogEntry{L"run started", 0,
                                        m_platform.resources.LoadResString(IDS_PRODUCT_SHORT_NAME),
                                        LogLevel::Debug, 1});
                Append(base + L".log", start + "\n");
                m_started = true;
            }
            Append(base + L".log", line);
        } catch (...) {  // NOLINT(bugprone-empty-catch): a failing log writer is ignored
        }
        if (entry.level != LogLevel::Debug) {
            Append(base + L".err", line);
        }
    } catch (...) {  // NOLINT(bugprone-empty-catch): a failing log writer is ignored
    }
}

}  // namespace plexa
