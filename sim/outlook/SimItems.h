// A simulated folder's items, or a restricted or sorted set of them. The set follows the folder:
// it is recomputed after the folder's content changed, and the folder's content events reach
// every collection held (a restricted set only hears of items it holds). A restricted or sorted
// set is read from the view the folder keeps for the same filters and order, made once for each
// version of the folder's content, as a store serves a restriction it was asked for before.
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
    // A filter as its text and as parsed.
    struct Filter {
        std::wstring text;
        JetFilter parsed;
    };

    SimItems(SimOutlook& outlook, FolderRecord& folder, std::vector<Filter> filters = {},
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
    std::shared_ptr<const FolderRecord::ItemView> MakeView() const;
    std::wstring ViewKey() const;
    bool Holds(const ItemRecord& item) const;
    void Check(const wchar_t* member, std::wstring_view detail = {}) const;

    SimOutlook& m_outlook;
    FolderRecord& m_folder;
    std::vector<Filter> m_filters;
    std::wstring m_sortProperty;
    bool m_descending;
    // The view last read; the folder's own again once the content changed.
    std::shared_ptr<const FolderRecord::ItemView> m_view;
    size_t m_cursor = 0;
    Connection m_addConnection;
    Connection m_changeConnection;
    Connection m_removeConnection;
};

}  // namespace plexa::sim
