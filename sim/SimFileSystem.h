// The simulated file system: Windows paths over a file store, kept in memory unless a real
// directory (a state folder) is given. Drive C: is the folder "C" of the store, a share
// \\server\share the folder UNC\server\share; names are matched without letter case against what
// is stored and created as written. Sharing modes are enforced between open handles, and a file
// written through a handle, or a folder made, gets the simulated clock's time as its last-write
// time. The rules are the same whichever store holds the files.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IFileSystem.h"
#include "sim/Faults.h"
#include "sim/FileStore.h"

namespace plexa::sim {

class SimClock;

class SimFileSystem : public IFileSystem {
public:
    // Files in memory.
    SimFileSystem(SimClock& clock, Faults& faults);
    // Files below a real directory.
    SimFileSystem(std::filesystem::path root, SimClock& clock, Faults& faults);
    ~SimFileSystem() override;

    std::unique_ptr<IFile> Open(const std::wstring& path, FileAccess access, unsigned share,
                                FileCreation creation) override;
    std::vector<FileFindData> FindFiles(const std::wstring& pattern) override;
    void CreateDirectory(const std::wstring& path) override;
    void RemoveDirectory(const std::wstring& path) override;
    void DeleteFile(const std::wstring& path) override;
    void MoveFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) override;

    // Simulation controls.
    bool InMemory() const { return m_inMemory; }
    // The real location of a Windows path (names matched without letter case); only for files
    // on disk (std::logic_error in memory).
    std::filesystem::path RealPath(const std::wstring& path) const;
    // The bytes of a file, nothing when there is no such file. No fault is checked.
    std::optional<std::string> ReadContents(const std::wstring& path) const;
    // Writes a file whole, making its folders first, as a setup program or a test would.
    void WriteContents(const std::wstring& path, std::string_view bytes);
    // Makes a folder and the folders above it.
    void CreateFolders(const std::wstring& path);
    // The folder relative paths start from (default "C:\").
    void SetCurrentDirectory(std::wstring path) { m_currentDirectory = std::move(path); }
    void SetLastWriteTimeUtc(const std::wstring& path, OleDate utc);
    // Adds a drive letter (C: exists from the start).
    void AddDrive(wchar_t letter);
    // Adds a network share, reached as \\server\share (names without letter case).
    void AddShare(const std::wstring& server, const std::wstring& share);

    struct OpenRecord {
        FileAccess access;
        unsigned share;
    };

private:
    friend class SimFile;
    // A Windows path as a location in the store.
    struct Resolved {
        std::filesystem::path real;
        bool isDriveRoot = false;
    };
    SimFileSystem(std::unique_ptr<FileStore> store, bool inMemory, SimClock& clock, Faults& faults);
    bool IsDirectory(const std::filesystem::path& location) const;
    bool IsFile(const std::filesystem::path& location) const;
    bool Exists(const std::filesystem::path& location) const;
    Resolved Resolve(const std::wstring& input) const;
    // The names of rest ("a\\b"), matched without letter case below a drive or share root.
    Resolved ResolveBelow(std::filesystem::path real, const std::wstring& rest) const;
    void CheckSharing(const std::filesystem::path& real, FileAccess access, unsigned share) const;
    void CheckNoOpenWithoutDeleteSharing(const std::filesystem::path& real) const;
    void Register(const std::filesystem::path& real, const OpenRecord* record);
    void Unregister(const std::filesystem::path& real, const OpenRecord* record);
    void Touch(const std::filesystem::path& real);

    std::unique_ptr<FileStore> m_store;
    bool m_inMemory;
    SimClock& m_clock;
    Faults& m_faults;
    std::wstring m_currentDirectory = L"C:\\";
    std::map<std::filesystem::path, std::vector<const OpenRecord*>> m_open;
};

// Converts between a file time on disk and the host's date in UTC.
OleDate FileTimeToOleDate(std::filesystem::file_time_type t);
std::filesystem::file_time_type OleDateToFileTime(OleDate utc);

}  // namespace plexa::sim
