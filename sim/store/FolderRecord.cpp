#include "sim/store/FolderRecord.h"

#include <algorithm>

namespace plexa::sim {

FolderRecord::FolderRecord(StoreRecord& store, FolderRecord* parent, std::wstring entryID,
                           std::wstring name, int32_t defaultItemType)
    : m_store(store),
      m_parent(parent),
      m_entryID(std::move(entryID)),
      m_name(std::move(name)),
      m_defaultItemType(defaultItemType) {}

FolderRecord* FolderRecord::FindSubfolder(const std::wstring& name) const {
    for (const auto& sub : m_subfolders) {
        if (sub->Name() == name) {
            return sub.get();
        }
    }
    return nullptr;
}

std::shared_ptr<const FolderRecord::ItemView> FolderRecord::FindView(const std::wstring& key) {
    const auto it = std::find_if(m_views.begin(), m_views.end(),
                                 [&](const auto& kept) { return kept.first == key; });
    if (it == m_views.end()) {
        return nullptr;
    }
    if (it->second->version != m_contentVersion) {
        m_views.erase(it);
        return nullptr;
    }
    std::rotate(m_views.begin(), it, it + 1);
    return m_views.front().second;
}

void FolderRecord::KeepView(const std::wstring& key, std::shared_ptr<const ItemView> view) {
    const auto it = std::find_if(m_views.begin(), m_views.end(),
                                 [&](const auto& kept) { return kept.first == key; });
    if (it != m_views.end()) {
        m_views.erase(it);
    }
    // Views of older content are of no use any more.
    std::erase_if(m_views,
                  [&](const auto& kept) { return kept.second->version != m_contentVersion; });
    m_views.insert(m_views.begin(), {key, std::move(view)});
    if (m_views.size() > kKeptViews) {
        m_views.pop_back();
    }
}

std::wstring FolderRecord::Path() const {
    std::wstring path;
    for (const FolderRecord* f = this; f != nullptr; f = f->Parent()) {
        path.insert(0, L"\\" + f->Name());
    }
    return L"\\" + path;
}

}  // namespace plexa::sim
