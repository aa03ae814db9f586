#include "TestWorld.h"

#include <atomic>

#include <unistd.h>

namespace plexa::test {

const std::filesystem::path& TempDir::Path() const {
    if (m_path.empty()) {
        static std::atomic<int> counter{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("plexa-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    return m_path;
}

TempDir::~TempDir() {
    if (!m_path.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
}

std::vector<LogEntry> LogCapture::Of(LogLevel level, const std::wstring& source) const {
    std::vector<LogEntry> out;
    for (const auto& e : entries) {
        if (e.level == level && (source.empty() || e.source == source)) {
            out.push_back(e);
        }
    }
    return out;
}

TestWorld::TestWorld(Files files)
    : sim(files == Files::OnDisk ? root.Path() / "files" : std::filesystem::path()) {
    services.Log().AddSink(&log);
}

TestWorld::~TestWorld() {
    services.Log().RemoveSink(&log);
}

std::string TestWorld::ReadFile(const std::wstring& path) const {
    return sim.files.ReadContents(path).value_or(std::string());
}

void TestWorld::WriteFile(const std::wstring& path, const std::string& bytes) {
    sim.files.WriteContents(path, bytes);
}

}  // namespace plexa::test
