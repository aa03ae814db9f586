// A fresh simulated world for one test: a temporary root for the file system, the simulated
// Windows services, the add-in's services over them, and the log entries they wrote.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/LogEntry.h"
#include "settings/Services.h"
#include "sim/SimPlatform.h"

namespace plexa::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

class LogCapture : public ILogSink {
public:
    void Receive(const LogEntry& entry) override { entries.push_back(entry); }
    // Entries of one level, optionally only those from a source.
    std::vector<LogEntry> Of(LogLevel level, const std::wstring& source = L"") const;
    std::vector<LogEntry> entries;
};

class TestWorld {
public:
    TestWorld();
    ~TestWorld();

    TempDir root;
    sim::SimPlatform sim{root.Path()};
    Services services{sim.Ports()};
    LogCapture log;

    // The real contents of a simulated file ("" when missing).
    std::string ReadFile(const std::wstring& path) const;
    void WriteFile(const std::wstring& path, const std::string& bytes);
};

}  // namespace plexa::test
