// Where the simulated file system keeps its files: a real directory (DiskFileStore) or memory
// (MemoryFileStore). A store knows nothing of Windows: it holds folders and files at locations
// below its root, named exactly as created ("C/Data/Notes.txt"). Drive letters, backslashes,
// names compared without letter case, sharing modes and errors are SimFileSystem's, the same over
// either store. An open file stays readable and writable after its name is deleted or moved, as
// on the disk the simulation runs on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plexa::sim {

// An open file of a store, with its own position.
class StoredFile {
public:
    virtual ~StoredFile() = default;
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // False when not every byte was written.
    virtual bool Write(const void* data, std::size_t size) = 0;
    virtual bool Seek(uint64_t offset) = 0;
    virtual uint64_t Size() = 0;
};

class FileStore {
public:
    struct Entry {
        std::wstring name;  // the last part of the location
        bool directory = false;
        uint64_t size = 0;
        std::filesystem::file_time_type lastWrite{};
    };

    virtual ~FileStore() = default;

    // What is at a location; nothing when there is nothing.
    virtual std::optional<Entry> Stat(const std::filesystem::path& location) = 0;
    // The entries of a folder, in no particular order.
    virtual std::vector<Entry> List(const std::filesystem::path& folder) = 0;
    // Each false when it could not be done (the caller has checked what Windows checks).
    virtual bool MakeDirectory(const std::filesystem::path& location) = 0;
    virtual bool RemoveEmptyDirectory(const std::filesystem::path& location) = 0;
    virtual bool RemoveFile(const std::filesystem::path& location) = 0;
    // Moves a file, replacing a file at the target in one step.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Creates an empty file, or empties an existing one.
    virtual bool Truncate(const std::filesystem::path& location) = 0;
    // Opens an existing file for reading, or reading and writing; nullptr when it cannot.
    virtual std::unique_ptr<StoredFile> OpenFile(const std::filesystem::path& location,
                                                 bool write) = 0;
    virtual void SetLastWriteTime(const std::filesystem::path& location,
                                  std::filesystem::file_time_type time) = 0;
    // The real location on disk; a store in memory has none and throws std::logic_error.
    virtual std::filesystem::path RealPath(const std::filesystem::path& location) const = 0;
};

}  // namespace plexa::sim
