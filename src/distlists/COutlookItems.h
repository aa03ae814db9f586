// The items of one folder as a filtered, sorted, indexable set that tells its owner when the
// folder's content changes. Two ways of filtering:
//   FILTER_RESTRICT   the host's Restrict and Sort on the folder's items with a Jet filter
//                     ([MessageClass] = "IPM.DistList");
//   FILTER_ADVSEARCH  a DASL query run through the host's advanced search (substring matching),
//                     whose results are the set.
// Bound with Init (also to switch folders), released with Done. The plain set is built afresh
// for every Item and Count unless the owner loads it (LoadItems) while it reads many items in a
// row; the folder is observed for as long as the object is bound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Signal.h"

namespace plexa {

class CAdvancedSearch;
class Services;
class Items;
class MAPIFolder;
class OutlookItem;

enum EFilter : int32_t { FILTER_RESTRICT = 0, FILTER_ADVSEARCH = 1 };

class COutlookItems {
public:
    // The tag every advanced search of the set carries.
    static constexpr const wchar_t* kSearchTag = L"B1F98F0A-956A-4455-B5B9-CE579537EB70";

    explicit COutlookItems(Services& services);
    ~COutlookItems();
    COutlookItems(const COutlookItems&) = delete;
    COutlookItems& operator=(const COutlookItems&) = delete;

    // Binds to a folder in plain mode and starts observing it; the set is not loaded yet. False
    // (and the object left unbound) when the folder cannot be bound; the error is logged.
    bool Init(const std::shared_ptr<MAPIFolder>& folder, const std::wstring& restriction,
              const std::wstring& sortProperty, const std::wstring& advancedSortProperty,
              bool descending);
    void Done();
    std::shared_ptr<MAPIFolder> GetFolder() const { return m_folder; }

    bool IsAdvancedRestrict() const { return m_nFilter == FILTER_ADVSEARCH; }

    // The plain filter; setting it switches to plain mode.
    const std::wstring& Restrict() const { return m_sRestriction; }
    void Restrict(const std::wstring& filter);
    // The plain sort property ("[Subject]"); "" for the folder's own order.
    const std::wstring& Sort() const { return m_sPlainSort; }
    void Sort(const std::wstring& property);
    // The direction of both modes.
    bool SortDescending() const { return m_bDescending; }
    void SortDescending(bool descending);
    // The DASL filter; setting it switches to advanced mode and runs the search.
    const std::wstring& AdvancedRestrict() const { return m_sFilter; }
    void AdvancedRestrict(const std::wstring& filter);
    // The sort property of the search results ("urn:schemas:mailheader:subject").
    const std::wstring& AdvancedSort() const { return m_sSort; }
    void AdvancedSort(const std::wstring& property);

    // Load or drop the plain set (advanced results are always loaded: a warning, nothing else).
    void LoadItems();
    void UnLoadItems();

    // The current set. Count is 0 when there is none (a filter the host refused, a search that
    // failed or did not run); Item is 1-based and throws HostError outside 1..Count.
    std::shared_ptr<OutlookItem> Item(int32_t index);
    int32_t Count();

    // A new, unsaved item of an OlItemType in the folder. Throws HostError.
    std::shared_ptr<OutlookItem> NewItem(int32_t itemType);

    // Observing the folder: Init starts it, Done stops it. StartEvents throws HostError.
    void StartEvents();
    void StopEvents();

    // The folder's content changed (an item was added, changed or removed).
    Signal<> OnChange;

private:
    Services& m_services;
    // The folder's item collection whose events are observed, with its connections.
    struct FolderEvents {
        std::shared_ptr<Items> items;
        Connection itemAdd;
        Connection itemChange;
        Connection itemRemove;
    };

    void SetFilterMode(EFilter mode);
    std::shared_ptr<Items> GetItems();
    void OnFolderEvent(const wchar_t* source);

    std::shared_ptr<MAPIFolder> m_folder;
    std::shared_ptr<Items> m_items;  // the loaded plain set, or nothing
    FolderEvents m_events;
    EFilter m_nFilter = FILTER_RESTRICT;
    std::wstring m_sRestriction;
    std::wstring m_sPlainSort;
    bool m_bDescending = false;
    std::wstring m_sFilter;  // DASL filter of the advanced search
    std::wstring m_sSort;    // sort property of the search results
    std::unique_ptr<CAdvancedSearch> m_oAdvSearch;
};

}  // namespace plexa
