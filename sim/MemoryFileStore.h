// A file store in memory, so that a test or a fuzz input touches no disk. Folders and files are
// kept by location; a file's bytes are shared with its open handles, so a handle outlives the
// deletion or move of its name.
#pragma once

#include <map>
#include <vector>

#include "sim/FileStore.h"

namespace plexa::sim {

class MemoryFileStore : public FileStore {
public:
    MemoryFileStore() = default;

    std::optional<Entry> Stat(const std::filesystem::path& location) override;
    std::vector<Entry> List(const std::filesystem::path& folder) override;
    bool MakeDirectory(const std::filesystem::path& location) override;
    bool RemoveEmptyDirectory(const std::filesystem::path& location) override;
    bool RemoveFile(const std::filesystem::path& location) override;
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool Truncate(const std::filesystem::path& location) override;
    std::unique_ptr<StoredFile> OpenFile(const std::filesystem::path& location,
                                         bool write) override;
    void SetLastWriteTime(const std::filesystem::path& location,
                          std::filesystem::file_time_type time) override;
    std::filesystem::path RealPath(const std::filesystem::path& location) const override;

    using Bytes = std::vector<unsigned char>;

private:
    struct Node {
        bool directory = false;
        std::shared_ptr<Bytes> bytes;  // a file's
        std::filesystem::file_time_type lastWrite{};
    };
    bool ParentIsDirectory(const std::filesystem::path& location) const;
    static Entry EntryOf(const std::filesystem::path& location, const Node& node);

    std::map<std::filesystem::path, Node> m_nodes;
};

}  // namespace plexa::sim
