// The simulated file system: Windows paths mapped onto a real directory. Drive C: is the folder
// "C" below the root, a share \\server\share the folder UNC\server\share; names are matched
// without letter case against what is on disk and created as written. Sharing modes are
// enforced between open handles, and a file written through a handle gets the simulated clock's
// time as its last-write time.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/IFileSystem.h"
#include "sim/Faults.h"

namespace plexa::sim {

class SimClock;

class SimFileSystem : public IFileSystem {
public:
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
    // The real location of a Windows path (names matched without letter case).
    std::filesystem::path RealPath(const std::wstring& path) const;
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
    struct Resolved {
        std::filesystem::path real;
        bool isDriveRoot = false;
    };
    Resolved Resolve(const std::wstring& input) const;
    // The names of rest ("a\\b"), matched without letter case below a drive or share root.
    Resolved ResolveBelow(std::filesystem::path real, const std::wstring& rest) const;
    void CheckSharing(const std::filesystem::path& real, FileAccess access, unsigned share) const;
    void CheckNoOpenWithoutDeleteSharing(const std::filesystem::path& real) const;
    void Register(const std::filesystem::path& real, const OpenRecord* record);
    void Unregister(const std::filesystem::path& real, const OpenRecord* record);
    void Touch(const std::filesystem::path& real);

    std::filesystem::path m_root;
    SimClock& m_clock;
    Faults& m_faults;
    std::wstring m_currentDirectory = L"C:\\";
    std::map<std::filesystem::path, std::vector<const OpenRecord*>> m_open;
};

// Converts between a file time on disk and the host's date in UTC.
OleDate FileTimeToOleDate(std::filesystem::file_time_type t);
std::filesystem::file_time_type OleDateToFileTime(OleDate utc);

}  // namespace plexa::sim
