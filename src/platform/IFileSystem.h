// Files and directories with Windows path rules: drive letters, "\" or "/" between names, names
// compared without letter case. Shaped like the Win32 file functions the add-in relies on.
// Failures throw HostError with the host runtime's numbers: 53 File not found, 58 File already
// exists, 70 Permission denied (also a sharing violation), 75 Path/File access error, 76 Path not
// found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/OleDate.h"

namespace plexa {

enum class FileAccess { None, Read, Write, ReadWrite };

// Sharing flags, combined with |.
enum FileShare : unsigned {
    FileShareNone = 0,
    FileShareRead = 1,
    FileShareWrite = 2,
    FileShareDelete = 4,
};

enum class FileCreation {
    OpenExisting,  // fails with 53 when missing
    OpenAlways,    // creates when missing
    CreateAlways,  // creates or truncates
    CreateNew,     // fails with 58 when present
};

// An open file. Closing happens when the object is released.
class IFile {
public:
    virtual ~IFile() = default;
    // Reads up to size bytes at the current position; returns how many were read (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // Writes all bytes at the current position. Throws 75 when the file is not open for writing.
    virtual void Write(const void* data, std::size_t size) = 0;
    // Moves to a zero-based byte offset (past the end is allowed, as on Windows).
    virtual void Seek(uint64_t offset) = 0;
    virtual uint64_t Size() = 0;
    // The file's last-write time in UTC, whole seconds.
    virtual OleDate LastWriteTimeUtc() = 0;
};

struct FileFindData {
    std::wstring name;  // the name alone, as stored
    bool directory = false;
    uint64_t size = 0;
    OleDate lastWriteUtc;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Opens or creates a file. Throws 53 (missing file), 76 (missing folder), 70 (sharing
    // violation, or a folder), 58 (CreateNew on an existing file).
    virtual std::unique_ptr<IFile> Open(const std::wstring& path, FileAccess access, unsigned share,
                                        FileCreation creation) = 0;
    // The entries matching a pattern whose last name may hold * and ?, like FindFirstFile:
    // a directory's listing includes "." and ".." (a drive's root has neither). Empty when
    // nothing matches or the folder is missing; never throws for a missing path.
    virtual std::vector<FileFindData> FindFiles(const std::wstring& pattern) = 0;
    // Creates one directory. Throws 75 when it exists already, 76 when its parent is missing.
    virtual void CreateDirectory(const std::wstring& path) = 0;
    // Removes an empty directory. Throws 76 when missing, 75 when not empty.
    virtual void RemoveDirectory(const std::wstring& path) = 0;
    // Throws 53 when missing, 70 when open without delete sharing.
    virtual void DeleteFile(const std::wstring& path) = 0;
    // Renames a file in one step; with replaceExisting an existing target is replaced
    // atomically (the target is either the old or the new file, never neither).
    virtual void MoveFile(const std::wstring& from, const std::wstring& to,
                          bool replaceExisting) = 0;
};

}  // namespace plexa
