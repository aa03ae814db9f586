// One message store of the simulated session: its id and name, its top folder, its default
// folders by role, and its named-property map.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/store/FolderRecord.h"
#include "sim/store/StoreKind.h"

namespace plexa::sim {

class StoreRecord {
public:
    StoreRecord(std::wstring storeID, std::wstring name, bool isDefault);
    StoreRecord(const StoreRecord&) = delete;
    StoreRecord& operator=(const StoreRecord&) = delete;

    const std::wstring& StoreID() const { return m_storeID; }
    const std::wstring& Name() const { return m_name; }
    bool IsDefault() const { return m_isDefault; }
    StoreKind Kind() const { return m_kind; }
    void SetKind(StoreKind kind) { m_kind = kind; }
    // The top folder (named after the store); nullptr only while the store is being built.
    FolderRecord* TopFolder() const { return m_top.get(); }
    // The default folder of an OlDefaultFolders role (olFolderInbox ...), or nullptr.
    FolderRecord* DefaultFolder(int32_t role) const;
    void SetDefaultFolder(int32_t role, FolderRecord* folder);

    // The id (0x8000 up) of a named property (set GUID, letter case ignored; numeric id), the
    // same for the life of the store. 0 when it does not exist and create is false.
    uint32_t GetIDsFromNames(std::wstring_view guid, uint32_t namedId, bool create);
    // The name behind an id: (GUID, numeric id), or ("", 0) for an unknown id.
    std::pair<std::wstring, uint32_t> GetNameFromID(uint32_t propId) const;

private:
    friend class SimSession;
    std::wstring m_storeID;
    std::wstring m_name;
    bool m_isDefault;
    StoreKind m_kind = StoreKind::Pst;
    std::unique_ptr<FolderRecord> m_top;
    std::map<int32_t, FolderRecord*> m_defaults;
    // The index in m_guids of a GUID given exactly as kept there, if any.
    std::optional<uint32_t> GuidIndex(std::wstring_view guid) const;

    // The GUIDs of the store's named properties, upper case, each once (a handful at most), and
    // the ids by (numeric id, index in m_guids): a lookup compares numbers and one GUID.
    std::vector<std::wstring> m_guids;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> m_named;
    std::map<uint32_t, std::pair<std::wstring, uint32_t>> m_namedById;
    uint32_t m_nextNamedId = 0x8000;
};

}  // namespace plexa::sim
