#include "sim/MemoryFileStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/Text.h"

namespace fs = std::filesystem;

namespace plexa::sim {

namespace {

class MemoryFile : public StoredFile {
public:
    MemoryFile(std::shared_ptr<MemoryFileStore::Bytes> bytes, bool write)
        : m_bytes(std::move(bytes)), m_write(write) {}

    std::size_t Read(void* buffer, std::size_t size) override {
        if (m_position >= m_bytes->size()) {
            return 0;
        }
        const std::size_t n = std::min<std::size_t>(size, m_bytes->size() - m_position);
        std::memcpy(buffer, m_bytes->data() + m_position, n);
        m_position += n;
        return n;
    }
    bool Write(const void* data, std::size_t size) override {
        if (!m_write) {
            return false;
        }
        if (m_position + size > m_bytes->size()) {
            m_bytes->resize(m_position + size);
        }
        if (size != 0) {
            std::memcpy(m_bytes->data() + m_position, data, size);
        }
        m_position += size;
        return true;
    }
    bool Seek(uint64_t offset) override {
        m_position = static_cast<std::size_t>(offset);
        return true;
    }
    uint64_t Size() override { return m_bytes->size(); }

private:
    std::shared_ptr<MemoryFileStore::Bytes> m_bytes;
    bool m_write;
    std::size_t m_position = 0;
};

}  // namespace

FileStore::Entry MemoryFileStore::EntryOf(const fs::path& location, const Node& node) {
    const std::u8string utf8 = location.filename().u8string();
    Entry entry;
    entry.name = text::FromUtf8(std::string(utf8.begin(), utf8.end()));
    entry.directory = node.directory;
    entry.size = node.directory ? 0 : node.bytes->size();
    entry.lastWrite = node.lastWrite;
    return entry;
}

bool MemoryFileStore::ParentIsDirectory(const fs::path& location) const {
    const fs::path parent = location.parent_path();
    if (parent.empty()) {
        return true;  // the store's root
    }
    const auto it = m_nodes.find(parent);
    return it != m_nodes.end() && it->second.directory;
}

std::optional<FileStore::Entry> MemoryFileStore::Stat(const fs::path& location) {
    const auto it = m_nodes.find(location);
    if (it == m_nodes.end()) {
        return std::nullopt;
    }
    return EntryOf(location, it->second);
}

std::vector<FileStore::Entry> MemoryFileStore::List(const fs::path& folder) {
    std::vector<Entry> entries;
    for (const auto& [location, node] : m_nodes) {
        if (location.parent_path() == folder) {
            entries.push_back(EntryOf(location, node));
        }
    }
    return entries;
}

bool MemoryFileStore::MakeDirectory(const fs::path& location) {
    if (m_nodes.contains(location) || !ParentIsDirectory(location)) {
        return false;
    }
    m_nodes[location].directory = true;
    return true;
}

bool MemoryFileStore::RemoveEmptyDirectory(const fs::path& location) {
    const auto it = m_nodes.find(location);
    if (it == m_nodes.end() || !it->second.directory) {
        return false;
    }
    for (const auto& [other, node] : m_nodes) {
        if (other.parent_path() == location) {
            return false;
        }
    }
    m_nodes.erase(it);
    return true;
}

bool MemoryFileStore::RemoveFile(const fs::path& location) {
    const auto it = m_nodes.find(location);
    if (it == m_nodes.end() || it->second.directory) {
        return false;
    }
    m_nodes.erase(it);
    return true;
}

bool MemoryFileStore::Rename(const fs::path& from, const fs::path& to) {
    const auto source = m_nodes.find(from);
    if (source == m_nodes.end() || source->second.directory || !ParentIsDirectory(to)) {
        return false;
    }
    const auto target = m_nodes.find(to);
    if (target != m_nodes.end() && target->second.directory) {
        return false;
    }
    if (from == to) {
        return true;
    }
    Node moved = std::move(source->second);
    m_nodes.erase(source);
    m_nodes[to] = std::move(moved);
    return true;
}

bool MemoryFileStore::Truncate(const fs::path& location) {
    const auto it = m_nodes.find(location);
    if (it != m_nodes.end()) {
        if (it->second.directory) {
            return false;
        }
        it->second.bytes->clear();
        return true;
    }
    if (!ParentIsDirectory(location)) {
        return false;
    }
    Node& node = m_nodes[location];
    node.bytes = std::make_shared<Bytes>();
    return true;
}

std::unique_ptr<StoredFile> MemoryFileStore::OpenFile(const fs::path& location, bool write) {
    const auto it = m_nodes.find(location);
    if (it == m_nodes.end() || it->second.directory) {
        return nullptr;
    }
    return std::make_unique<MemoryFile>(it->second.bytes, write);
}

void MemoryFileStore::SetLastWriteTime(const fs::path& location, fs::file_time_type time) {
    const auto it = m_nodes.find(location);
    if (it != m_nodes.end()) {
        it->second.lastWrite = time;
    }
}

fs::path MemoryFileStore::RealPath(const fs::path& /*location*/) const {
    throw std::logic_error("the simulated file system keeps its files in memory: no real path");
}

}  // namespace plexa::sim
