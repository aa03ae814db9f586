#include "distlists/CAdvancedSearch.h"

#include "core/HostError.h"
#include "host/companions/Companions.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OlConstants.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

// The host's "ActiveX component can't create object".
constexpr int32_t kCannotCreateObject = 429;

std::shared_ptr<CAdvSearch> CreateSearchComponent(Services& services) {
    if (services.host.companions == nullptr) {
        throw HostError(kCannotCreateObject,
                        L"ActiveX component can't create object: PlexaAdvSearch.CAdvSearch",
                        L"CAdvancedSearch");
    }
    auto component = services.host.companions->CreateAdvSearch();
    if (!component) {
        throw HostError(kCannotCreateObject,
                        L"ActiveX component can't create object: PlexaAdvSearch.CAdvSearch",
                        L"CAdvancedSearch");
    }
    return component;
}

}  // namespace

CAdvancedSearch::~CAdvancedSearch() {
    Done();
}

bool CAdvancedSearch::SyncSearch(const std::shared_ptr<Application>& application,
                                 const std::wstring& scope, const std::wstring& filter,
                                 bool searchSubFolders, const std::wstring& tag,
                                 const std::wstring& sortProperty, bool descending) {
    // Results of an earlier filter must never pass for this one's.
    m_oSearch.reset();
    try {
        std::shared_ptr<Search> search;
        {
            auto component = CreateSearchComponent(m_services);
            search = component->SyncSearch(application, scope, filter, searchSubFolders, tag);
        }
        if (!search) {
            throw HostError(E_FAIL, L"The search component returned no search",
                            L"PlexaAdvSearch.CAdvSearch");
        }
        m_oSearch = std::move(search);
        if (!sortProperty.empty()) {
            auto results = m_oSearch->GetResults();
            if (!results) {
                throw HostError(E_FAIL, L"The search has no results", L"PlexaAdvSearch.CAdvSearch");
            }
            results->Sort(sortProperty, descending);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"CAdvancedSearch::SyncSearch", e);
    }
    return HasObject();
}

void CAdvancedSearch::Done() {
    m_oSearch.reset();
}

std::shared_ptr<Search> CAdvancedSearch::GetObject() const {
    return m_oSearch;
}

std::shared_ptr<Results> CAdvancedSearch::GetResults() const {
    if (!m_oSearch) {
        return nullptr;
    }
    try {
        return m_oSearch->GetResults();
    } catch (const HostError&) {
        return nullptr;
    }
}

void CAdvancedSearch::Resort(const std::wstring& sortProperty, bool descending) {
    mGlobals::Assert(HasObject(), L"CAdvancedSearch::Resort", L"HasObject");
    if (!HasObject() || sortProperty.empty()) {
        return;
    }
    auto results = GetResults();
    if (!results) {
        throw HostError(E_FAIL, L"The search has no results", L"CAdvancedSearch");
    }
    results->Sort(sortProperty, descending);
}

}  // namespace plexa
