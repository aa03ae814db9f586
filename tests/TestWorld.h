// A fresh simulated world for one test: the simulated Windows services (the file system in
// memory, or in a temporary folder when the test asks for the disk), the add-in's services over
// them, and the log entries they wrote.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/LogEntry.h"
#include "settings/Services.h"
#include "sim/SimPlatform.h"

namespace plexa::test {

// A temporary folder, made when its path is first asked for and removed with the object.
class TempDir {
public:
    TempDir() = default;
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const;

private:
    mutable std::filesystem::path m_path;
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
    enum class Files { InMemory, OnDisk };
    explicit TestWorld(Files files = Files::InMemory);
    ~TestWorld();

    // A temporary folder for the test's own files (and the simulated files when on disk).
    TempDir root;
    sim::SimPlatform sim;
    Services services{sim.Ports()};
    LogCapture log;

    // The contents of a simulated file ("" when missing).
    std::string ReadFile(const std::wstring& path) const;
    void WriteFile(const std::wstring& path, const std::string& bytes);
};

}  // namespace plexa::test
