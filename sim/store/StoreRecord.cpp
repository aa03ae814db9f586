#include "sim/store/StoreRecord.h"

#include <algorithm>

#include "core/Text.h"

namespace plexa::sim {

namespace {

// A text that letter-case mapping leaves as it is: ASCII without lower-case letters. GUIDs come
// that way almost always, and then need no upper-case copy to be looked up.
bool IsUpperAscii(std::wstring_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](wchar_t c) { return c < 0x80 && (c < L'a' || c > L'z'); });
}

}  // namespace

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

std::optional<uint32_t> StoreRecord::GuidIndex(std::wstring_view guid) const {
    for (std::size_t i = 0; i < m_guids.size(); ++i) {
        if (m_guids[i] == guid) {
            return static_cast<uint32_t>(i);
        }
    }
    return std::nullopt;
}

uint32_t StoreRecord::GetIDsFromNames(std::wstring_view guid, uint32_t namedId, bool create) {
    // Callers give the GUIDs in upper case almost always: then the exact text is found at once.
    std::optional<uint32_t> index = GuidIndex(guid);
    std::wstring upper;
    if (!index && !IsUpperAscii(guid)) {
        upper = text::ToUpper(guid);
        guid = upper;
        index = GuidIndex(guid);
    }
    if (index) {
        const auto it = m_named.find(std::make_pair(namedId, *index));
        if (it != m_named.end()) {
            return it->second;
        }
    }
    if (!create || m_nextNamedId > 0xFFFE) {
        return 0;
    }
    if (!index) {
        index = static_cast<uint32_t>(m_guids.size());
        m_guids.emplace_back(guid);
    }
    const uint32_t id = m_nextNamedId++;
    m_named.emplace(std::make_pair(namedId, *index), id);
    m_namedById.emplace(id, std::make_pair(std::wstring(guid), namedId));
    return id;
}

std::pair<std::wstring, uint32_t> StoreRecord::GetNameFromID(uint32_t propId) const {
    const auto it = m_namedById.find(propId);
    return it == m_namedById.end() ? std::make_pair(std::wstring(), 0U) : it->second;
}

}  // namespace plexa::sim
