#include "sim/companions/SimCompanions.h"

#include <algorithm>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/companions/DaslFilter.h"
#include "sim/store/FolderRecord.h"
#include "sim/store/ItemRecord.h"
#include "sim/store/StoreRecord.h"

namespace plexa::sim {

namespace {

HostError ScopeError(const std::wstring& why, const std::wstring& scope) {
    return HostError(E_INVALIDARG, L"Invalid search scope (" + why + L"): " + scope,
                     L"AdvancedSearch");
}

void Collect(FolderRecord& folder, bool subfolders, std::vector<std::shared_ptr<ItemRecord>>& out,
             const DaslFilter& filter) {
    for (const auto& item : folder.Items()) {
        if (!item->IsRemoved() && filter.Matches(*item)) {
            out.push_back(item);
        }
    }
    if (subfolders) {
        for (const auto& sub : folder.Subfolders()) {
            Collect(*sub, true, out, filter);
        }
    }
}

class SimResults : public Results {
public:
    SimResults(SimOutlook& outlook, std::vector<std::shared_ptr<ItemRecord>> items)
        : m_outlook(outlook), m_items(std::move(items)) {}
    int32_t Count() override {
        m_outlook.Check(L"Results.Count");
        return static_cast<int32_t>(m_items.size());
    }
    std::shared_ptr<OutlookItem> Item(int32_t index) override {
        m_outlook.Check(L"Results.Item");
        if (index < 1 || index > static_cast<int32_t>(m_items.size())) {
            throw IndexError(index);
        }
        return m_outlook.Item(m_items[static_cast<std::size_t>(index - 1)]);
    }
    void Sort(const std::wstring& property, bool descending) override {
        m_outlook.Check(L"Results.Sort", property);
        const uint32_t tag = DaslFilter::PropertyTag(property);
        std::stable_sort(m_items.begin(), m_items.end(), [&](const auto& a, const auto& b) {
            const int c = CompareByProperty(*a, *b, tag);
            return descending ? c > 0 : c < 0;
        });
    }

private:
    SimOutlook& m_outlook;
    std::vector<std::shared_ptr<ItemRecord>> m_items;
};

class SimSearch : public Search {
public:
    SimSearch(std::shared_ptr<Results> results, std::wstring tag)
        : m_results(std::move(results)), m_tag(std::move(tag)) {}
    std::shared_ptr<Results> GetResults() override { return m_results; }
    std::wstring Tag() override { return m_tag; }

private:
    std::shared_ptr<Results> m_results;
    std::wstring m_tag;
};

class SimAdvSearch : public CAdvSearch {
public:
    explicit SimAdvSearch(SimOutlook& outlook) : m_outlook(outlook) {}
    std::shared_ptr<Search> SyncSearch(const std::shared_ptr<Application>& application,
                                       const std::wstring& scope, const std::wstring& filter,
                                       bool searchSubFolders, const std::wstring& tag) override {
        m_outlook.Check(L"CAdvSearch.SyncSearch", filter);
        if (!application) {
            throw HostError(E_INVALIDARG, L"No application to search in", L"PlexaAdvSearch");
        }
        const auto folders = ResolveScope(m_outlook.session, scope);
        const DaslFilter parsed = DaslFilter::Parse(filter);
        std::vector<std::shared_ptr<ItemRecord>> found;
        for (FolderRecord* folder : folders) {
            Collect(*folder, searchSubFolders, found, parsed);
        }
        return std::make_shared<SimSearch>(std::make_shared<SimResults>(m_outlook, found), tag);
    }

private:
    SimOutlook& m_outlook;
};

}  // namespace

void SimContextMenuEvents::Init(const std::shared_ptr<Application>& application) {
    m_outlook.Check(L"ContextMenuEvents.Init");
    if (!application) {
        throw HostError(E_INVALIDARG, L"No application", L"O2007EventsPlexaLib");
    }
    m_application = application;
}

std::shared_ptr<CAdvSearch> SimCompanions::CreateAdvSearch() {
    m_outlook.Check(L"Companion.Create", L"PlexaAdvSearch.CAdvSearch");
    return std::make_shared<SimAdvSearch>(m_outlook);
}

std::shared_ptr<ContextMenuEvents> SimCompanions::CreateContextMenuEvents() {
    m_outlook.Check(L"Companion.Create", L"O2007EventsPlexaLib");
    contextMenuEvents = std::make_shared<SimContextMenuEvents>(m_outlook);
    return contextMenuEvents;
}

std::vector<FolderRecord*> ResolveScope(const SimSession& session, const std::wstring& scope) {
    std::vector<FolderRecord*> folders;
    for (const std::wstring& raw : text::Split(scope, L",")) {
        const std::wstring quoted = text::TrimSpacesTabs(raw);
        if (quoted.size() < 3 || quoted.front() != L'\'' || quoted.back() != L'\'') {
            throw ScopeError(L"a folder path must stand in single quotes", scope);
        }
        const std::wstring path = quoted.substr(1, quoted.size() - 2);
        std::vector<std::wstring> names;
        for (const auto& name : text::Split(path, L"\\")) {
            if (!name.empty()) {
                names.push_back(name);
            }
        }
        if (names.empty()) {
            throw ScopeError(L"empty folder path", scope);
        }
        FolderRecord* folder = nullptr;
        for (const auto& store : session.Stores()) {
            if (store->TopFolder() != nullptr && store->TopFolder()->Name() == names[0]) {
                folder = store->TopFolder();
                break;
            }
        }
        for (std::size_t i = 1; folder != nullptr && i < names.size(); ++i) {
            folder = folder->FindSubfolder(names[i]);
        }
        if (folder == nullptr) {
            throw ScopeError(L"no folder " + path, scope);
        }
        folders.push_back(folder);
    }
    if (folders.empty()) {
        throw ScopeError(L"no folder", scope);
    }
    return folders;
}

}  // namespace plexa::sim
