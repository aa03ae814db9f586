// A simulated folder's items, or a restricted or sorted set of them. The set follows the folder:
// it is recomputed after the folder's content changed, and the folder's content events reach
// every collection held (a restricted set only hears of items it holds).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/outlook/MAPIFolder.h"
#include "sim/outlook/JetFilter.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimItems : public Items {
public:
    SimItems(SimOutlook& outlook, FolderRecord& folder, std::vector<JetFilter> filters = {},
             std::wstring sortProperty = L"", bool descending = false);

    int32_t Count() override;
    std::shared_ptr<OutlookItem> Item(int32_t index) override;
    std::shared_ptr<OutlookItem> GetFirst() override;
    std::shared_ptr<OutlookItem> GetNext() override;
    std::shared_ptr<Items> Restrict(const std::wstring& filter) override;
    void Sort(const std::wstring& property, bool descending) override;
    std::shared_ptr<OutlookItem> Add(int32_t itemType) override;

private:
    const std::vector<std::shared_ptr<ItemRecord>>& Current();
    bool Holds(const ItemRecord& item) const;
    void Check(const wchar_t* member, std::wstring_view detail = {}) const;

    SimOutlook& m_outlook;
    FolderRecord& m_folder;
    std::vector<JetFilter> m_filters;
    std::wstring m_sortProperty;
    bool m_descending;
    std::vector<std::shared_ptr<ItemRecord>> m_cache;
    bool m_cacheValid = false;
    size_t m_cursor = 0;
    Connection m_addConnection;
    Connection m_changeConnection;
    Connection m_removeConnection;
};

}  // namespace plexa::sim
