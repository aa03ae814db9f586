#include "sim/DiskFileStore.h"

#include <cstdio>

#include <sys/stat.h>

#include "core/Text.h"

namespace fs = std::filesystem;

namespace plexa::sim {

namespace {

std::wstring NameOf(const fs::path& p) {
    const std::u8string utf8 = p.filename().u8string();
    return text::FromUtf8(std::string(utf8.begin(), utf8.end()));
}

class DiskFile : public StoredFile {
public:
    explicit DiskFile(std::FILE* file) : m_file(file) {}
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;
    ~DiskFile() override { std::fclose(m_file); }

    std::size_t Read(void* buffer, std::size_t size) override {
        return std::fread(buffer, 1, size, m_file);
    }
    bool Write(const void* data, std::size_t size) override {
        return std::fwrite(data, 1, size, m_file) == size;
    }
    bool Seek(uint64_t offset) override {
        return fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) == 0;
    }
    uint64_t Size() override {
        std::fflush(m_file);
        struct stat st {};
        return fstat(fileno(m_file), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    }

private:
    std::FILE* m_file;
};

}  // namespace

DiskFileStore::DiskFileStore(fs::path root) : m_root(std::move(root)) {
    fs::create_directories(m_root);
}

std::optional<FileStore::Entry> DiskFileStore::Stat(const fs::path& location) {
    const fs::path real = RealPath(location);
    std::error_code ec;
    const auto status = fs::status(real, ec);
    if (ec || !fs::exists(status)) {
        return std::nullopt;
    }
    Entry entry;
    entry.name = NameOf(real);
    entry.directory = fs::is_directory(status);
    entry.size = entry.directory ? 0 : fs::file_size(real, ec);
    entry.lastWrite = fs::last_write_time(real, ec);
    return entry;
}

std::vector<FileStore::Entry> DiskFileStore::List(const fs::path& folder) {
    std::vector<Entry> entries;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(RealPath(folder), ec)) {
        Entry entry;
        entry.name = NameOf(item.path());
        entry.directory = item.is_directory(ec);
        entry.size = entry.directory ? 0 : item.file_size(ec);
        entry.lastWrite = item.last_write_time(ec);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool DiskFileStore::MakeDirectory(const fs::path& location) {
    std::error_code ec;
    return fs::create_directory(RealPath(location), ec);
}

bool DiskFileStore::RemoveEmptyDirectory(const fs::path& location) {
    std::error_code ec;
    const fs::path real = RealPath(location);
    return fs::is_empty(real, ec) && !ec && fs::remove(real, ec);
}

bool DiskFileStore::RemoveFile(const fs::path& location) {
    std::error_code ec;
    return fs::remove(RealPath(location), ec);
}

bool DiskFileStore::Rename(const fs::path& from, const fs::path& to) {
    // rename(2) replaces the target in one step.
    std::error_code ec;
    fs::rename(RealPath(from), RealPath(to), ec);
    return !ec;
}

bool DiskFileStore::Truncate(const fs::path& location) {
    std::FILE* created = std::fopen(RealPath(location).c_str(), "wb");
    if (created == nullptr) {
        return false;
    }
    std::fclose(created);
    return true;
}

std::unique_ptr<StoredFile> DiskFileStore::OpenFile(const fs::path& location, bool write) {
    std::FILE* f = std::fopen(RealPath(location).c_str(), write ? "r+b" : "rb");
    if (f == nullptr) {
        return nullptr;
    }
    return std::make_unique<DiskFile>(f);
}

void DiskFileStore::SetLastWriteTime(const fs::path& location, fs::file_time_type time) {
    std::error_code ec;
    fs::last_write_time(RealPath(location), time, ec);
}

fs::path DiskFileStore::RealPath(const fs::path& location) const {
    return location.empty() ? m_root : m_root / location;
}

}  // namespace plexa::sim
