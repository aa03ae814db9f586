// One completed advanced search of the host. The host's own advanced search finishes
// asynchronously; the companion component "PlexaAdvSearch.CAdvSearch" runs it and waits, so the
// search kept here always has its complete results.
#pragma once

#include <memory>
#include <string>

namespace plexa {

class Application;
class Results;
class Search;
class Services;

class CAdvancedSearch {
public:
    explicit CAdvancedSearch(Services& services) : m_services(services) {}
    ~CAdvancedSearch();
    CAdvancedSearch(const CAdvancedSearch&) = delete;
    CAdvancedSearch& operator=(const CAdvancedSearch&) = delete;

    // Runs a search through a fresh companion component (released right after) and keeps it in
    // place of the previous one, sorted by sortProperty when one is given. The previous search
    // is dropped first, so a search that fails leaves none behind. Failures are logged under
    // "CAdvancedSearch::SyncSearch". True when a search is kept.
    bool SyncSearch(const std::shared_ptr<Application>& application, const std::wstring& scope,
                    const std::wstring& filter, bool searchSubFolders, const std::wstring& tag,
                    const std::wstring& sortProperty, bool descending);
    void Done();

    // The search object and its results; nothing when there is no search or the host cannot
    // answer.
    std::shared_ptr<Search> GetObject() const;
    std::shared_ptr<Results> GetResults() const;
    bool HasObject() const { return static_cast<bool>(m_oSearch); }

    // Sorts the results again. Without a search the assertion is logged and nothing happens; an
    // empty property leaves the order as it is. Throws HostError when the host refuses to sort.
    void Resort(const std::wstring& sortProperty, bool descending);

private:
    Services& m_services;
    std::shared_ptr<Search> m_oSearch;
};

}  // namespace plexa
