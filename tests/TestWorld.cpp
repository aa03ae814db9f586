#include "TestWorld.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace plexa::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("plexa-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
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

TestWorld::TestWorld() {
    services.Log().AddSink(&log);
}

TestWorld::~TestWorld() {
    services.Log().RemoveSink(&log);
}

std::string TestWorld::ReadFile(const std::wstring& path) const {
    std::ifstream in(sim.files.RealPath(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void TestWorld::WriteFile(const std::wstring& path, const std::string& bytes) {
    const auto real = sim.files.RealPath(path);
    std::filesystem::create_directories(real.parent_path());
    std::ofstream out(real, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace plexa::test
