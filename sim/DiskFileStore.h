// A file store in a real directory: every location is a path below the root.
#pragma once

#include "sim/FileStore.h"

namespace plexa::sim {

class DiskFileStore : public FileStore {
public:
    explicit DiskFileStore(std::filesystem::path root);

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

private:
    std::filesystem::path m_root;
};

}  // namespace plexa::sim
