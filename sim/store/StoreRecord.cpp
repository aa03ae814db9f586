#include "sim/store/StoreRecord.h"

#include "core/Text.h"

namespace plexa::sim {

StoreRecord::StoreRecord(std::wstring storeID, std::wstring name, bool isDefault)
    : m_storeID(std::move(storeID)), m_name(std::move(name)), m_isDefault(isDefault) {}

FolderRecord* StoreRecord::DefaultFolder(int32_t role) const {
    const auto it = m_defaults.find(role);
    return it == m_defaults.end() ? nullptr : it->second;
}

void StoreRecord::SetDefaultFolder(int32_t role, FolderRecord* folder) {
    if (folder == nullptr) {
        m_defaults.erase(role);
    } else {
        m_defaults[role] = folder;
    }
}

uint32_t StoreRecord::GetIDsFromNames(const std::wstring& guid, uint32_t namedId, bool create) {
    auto key = std::make_pair(text::ToUpper(guid), namedId);
    const auto it = m_named.find(key);
    if (it != m_named.end()) {
        return it->second;
    }
    if (!create || m_nextNamedId > 0xFFFE) {
        return 0;
    }
    const uint32_t id = m_nextNamedId++;
    m_namedById.emplace(id, key);
    m_named.emplace(std::move(key), id);
    return id;
}

std::pair<std::wstring, uint32_t> StoreRecord::GetNameFromID(uint32_t propId) const {
    const auto it = m_namedById.find(propId);
    return it == m_namedById.end() ? std::make_pair(std::wstring(), 0U) : it->second;
}

}  // namespace plexa::sim
