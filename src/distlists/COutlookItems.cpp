#include "distlists/COutlookItems.h"

#include "core/HostError.h"
#include "distlists/CAdvancedSearch.h"
#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr int kTrace = 2;

HostError NotBoundError() {
    return HostError(91, L"Object variable or With block variable not set: no folder is bound",
                     L"COutlookItems");
}

HostError NoSetError(int32_t index) {
    return HostError(vberr::SubscriptOutOfRange,
                     L"Subscript out of range: there is no item " + std::to_wstring(index),
                     L"COutlookItems");
}

// "\" + the names from the store's top folder down to the folder, joined by "\".
std::wstring ScopePath(const std::shared_ptr<MAPIFolder>& folder) {
    return L"\\" + mGlobals::FolderNames(folder);
}

}  // namespace

COutlookItems::COutlookItems(Services& services) : m_services(services) {}

COutlookItems::~COutlookItems() {
    Done();
}

bool COutlookItems::Init(const std::shared_ptr<MAPIFolder>& folder, const std::wstring& restriction,
                         const std::wstring& sortProperty, const std::wstring& advancedSortProperty,
                         bool descending) {
    Done();
    mGlobals::LogDebug(L"COutlookItems::Init", L"USE_EVENTS = 1", kTrace);
    try {
        if (!folder) {
            throw HostError(91, L"Object variable or With block variable not set: no folder",
                            L"COutlookItems");
        }
        m_folder = folder;
        m_oAdvSearch = std::make_unique<CAdvancedSearch>(m_services);
        SetFilterMode(FILTER_RESTRICT);
        StartEvents();
        m_sRestriction = restriction;
        m_sPlainSort = sortProperty;
        m_bDescending = descending;
        m_sSort = advancedSortProperty;
        return true;
    } catch (const HostError& e) {
        mGlobals::LogError(L"COutlookItems::Init", e);
        // Half bound would show the folder's items without the filter.
        Done();
        return false;
    }
}

void COutlookItems::Done() {
    StopEvents();
    m_items.reset();
    m_folder.reset();
    if (m_oAdvSearch) {
        m_oAdvSearch->Done();
        m_oAdvSearch.reset();
    }
}

void COutlookItems::SetFilterMode(EFilter mode) {
    if (mode == m_nFilter) {
        return;
    }
    if (m_nFilter == FILTER_ADVSEARCH && m_oAdvSearch) {
        m_oAdvSearch->Done();
    }
    if (m_nFilter == FILTER_RESTRICT) {
        m_items.reset();
    }
    m_nFilter = mode;
}

std::shared_ptr<Items> COutlookItems::GetItems() {
    if (m_nFilter != FILTER_RESTRICT) {
        mGlobals::LogError(L"COutlookItems::GetItems", 0,
                           L"to use this function you need m_nFilter to be equal "
                           L"'FILTER_RESTRICT'");
        return nullptr;
    }
    try {
        if (!m_folder) {
            throw NotBoundError();
        }
        auto items = m_folder->GetItems();
        if (!m_sRestriction.empty()) {
            items = items->Restrict(m_sRestriction);
        }
        if (!m_sPlainSort.empty()) {
            items->Sort(m_sPlainSort, m_bDescending);
        }
        return items;
    } catch (const HostError& e) {
        mGlobals::LogError(L"COutlookItems::GetItems", e);
        return nullptr;
    }
}

void COutlookItems::Restrict(const std::wstring& filter) {
    SetFilterMode(FILTER_RESTRICT);
    m_sRestriction = filter;
    if (m_items) {
        m_items = GetItems();
    }
}

void COutlookItems::Sort(const std::wstring& property) {
    m_sPlainSort = property;
    if (m_nFilter == FILTER_RESTRICT && m_items) {
        m_items = GetItems();
    }
}

void COutlookItems::SortDescending(bool descending) {
    m_bDescending = descending;
    if (m_nFilter == FILTER_ADVSEARCH) {
        if (m_oAdvSearch) {
            m_oAdvSearch->Resort(m_sSort, m_bDescending);
        }
    } else if (m_items) {
        m_items = GetItems();
    }
}

void COutlookItems::AdvancedSort(const std::wstring& property) {
    m_sSort = property;
    if (m_oAdvSearch && m_oAdvSearch->HasObject()) {
        m_oAdvSearch->Resort(m_sSort, m_bDescending);
    }
}

void COutlookItems::AdvancedRestrict(const std::wstring& filter) {
    const wchar_t* source = L"COutlookItems::AdvancedRestrict";
    try {
        SetFilterMode(FILTER_ADVSEARCH);
        if (!m_folder || !m_oAdvSearch) {
            throw NotBoundError();
        }
        auto parent = m_folder->Parent();
        if (parent && parent->Class() == olNamespace) {
            mGlobals::LogError(source, 0, L"m_folder is personal folder!");
            return;
        }
        const std::wstring scope = L"'" + ScopePath(m_folder) + L"'";
        m_sFilter = filter;
        mGlobals::LogDebug(source,
                           mGlobals::sprintf(L"Scope = '%s', sFilter = '%s', sSort = '%s', "
                                             L"bDescending = '%d'",
                                             scope, m_sFilter, m_sSort, m_bDescending),
                           kTrace);
        const std::shared_ptr<Application> application = m_services.host.application;
        if (m_oAdvSearch->SyncSearch(application, scope, m_sFilter, false, kSearchTag, m_sSort,
                                     m_bDescending)) {
            auto results = m_oAdvSearch->GetResults();
            const int32_t count = results ? results->Count() : 0;
            mGlobals::LogDebug(
                source, mGlobals::sprintf(L"m_oAdvSearch.GetResults.Count = '%d'", count), kTrace);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(source, e);
    }
}

void COutlookItems::LoadItems() {
    if (m_nFilter == FILTER_ADVSEARCH) {
        mGlobals::LogWarning(L"COutlookItems::LoadItems",
                             L"в режиме фильтрации через AdvancedSearch итемы всегда загружены", 1);
        return;
    }
    m_items = GetItems();
}

void COutlookItems::UnLoadItems() {
    if (m_nFilter == FILTER_ADVSEARCH) {
        mGlobals::LogWarning(L"COutlookItems::UnLoadItems",
                             L"в режиме фильтрации через AdvancedSearch итемы всегда загружены", 1);
        return;
    }
    m_items.reset();
}

std::shared_ptr<OutlookItem> COutlookItems::Item(int32_t index) {
    if (m_nFilter == FILTER_ADVSEARCH) {
        auto results = m_oAdvSearch ? m_oAdvSearch->GetResults() : nullptr;
        if (!results) {
            throw NoSetError(index);
        }
        return results->Item(index);
    }
    auto items = m_items ? m_items : GetItems();
    if (!items) {
        throw NoSetError(index);
    }
    return items->Item(index);
}

int32_t COutlookItems::Count() {
    if (m_nFilter == FILTER_ADVSEARCH) {
        auto results = m_oAdvSearch ? m_oAdvSearch->GetResults() : nullptr;
        return results ? results->Count() : 0;
    }
    auto items = m_items ? m_items : GetItems();
    return items ? items->Count() : 0;
}

std::shared_ptr<OutlookItem> COutlookItems::NewItem(int32_t itemType) {
    mGlobals::LogDebug(L"COutlookItems::NewItem", L"->", kTrace);
    if (!m_folder) {
        throw NotBoundError();
    }
    return m_folder->GetItems()->Add(itemType);
}

void COutlookItems::StartEvents() {
    StopEvents();
    if (!m_folder) {
        throw NotBoundError();
    }
    m_events.items = m_folder->GetItems();
    m_events.itemAdd = m_events.items->ItemAdd.Connect([this](const std::shared_ptr<OutlookItem>&) {
        OnFolderEvent(L"COutlookItems::m_events_ItemAdd");
    });
    m_events.itemChange =
        m_events.items->ItemChange.Connect([this](const std::shared_ptr<OutlookItem>&) {
            OnFolderEvent(L"COutlookItems::m_events_ItemChange");
        });
    m_events.itemRemove = m_events.items->ItemRemove.Connect(
        [this] { OnFolderEvent(L"COutlookItems::m_events_ItemRemove"); });
}

void COutlookItems::StopEvents() {
    m_events.itemAdd.Disconnect();
    m_events.itemChange.Disconnect();
    m_events.itemRemove.Disconnect();
    m_events.items.reset();
}

void COutlookItems::OnFolderEvent(const wchar_t* source) {
    // The owner may rebind or release this set from OnChange: the collection raising the event
    // stays alive until the handler returns.
    const auto keep = m_events.items;
    try {
        mGlobals::LogDebug(source, L"->", kTrace);
        if (m_items) {
            m_items = GetItems();
        }
        OnChange.Emit();
    } catch (...) {  // NOLINT(bugprone-empty-catch): nothing may reach the host from its event
    }
}

}  // namespace plexa
