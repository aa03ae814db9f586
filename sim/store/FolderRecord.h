// One folder of the simulated store: its subfolders and items in order, its view, the events of
// its content that every held Items collection of the folder passes on, and the restricted and
// sorted views of its items that the store keeps, as a real store keeps the restrictions and
// sort orders it was asked for, so that asking again does not read the whole folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Signal.h"
#include "sim/store/ItemRecord.h"

namespace plexa::sim {

class StoreRecord;

class FolderRecord {
public:
    FolderRecord(StoreRecord& store, FolderRecord* parent, std::wstring entryID, std::wstring name,
                 int32_t defaultItemType);
    FolderRecord(const FolderRecord&) = delete;
    FolderRecord& operator=(const FolderRecord&) = delete;

    StoreRecord& Store() const { return m_store; }
    // The folder above; nullptr for the store's top folder.
    FolderRecord* Parent() const { return m_parent; }
    const std::wstring& EntryID() const { return m_entryID; }
    const std::wstring& Name() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }
    // The path as the client shows it: "\\Personal Folders\Drafts".
    std::wstring Path() const;
    // OlItemType of the items the folder holds by default.
    int32_t DefaultItemType() const { return m_defaultItemType; }

    const std::vector<std::unique_ptr<FolderRecord>>& Subfolders() const { return m_subfolders; }
    // The first subfolder of that name (exact), or nullptr.
    FolderRecord* FindSubfolder(const std::wstring& name) const;
    const std::vector<std::shared_ptr<ItemRecord>>& Items() const { return m_items; }

    // The view definition shown now, and the one kept by the last View.Save.
    std::wstring viewXml;
    std::wstring savedViewXml;

    // A restricted and sorted view of the items, as it was at one version of the content.
    struct ItemView {
        uint64_t version = 0;
        std::vector<std::shared_ptr<ItemRecord>> items;
    };
    // Counts every change of the content: an item placed, saved, removed, or a property of a
    // stored item set. A kept view of an older version is never handed out.
    uint64_t ContentVersion() const { return m_contentVersion; }
    void ContentChanged() { ++m_contentVersion; }
    // The view kept under a key (the filters and the sort order that made it), if it is of the
    // current content; nullptr otherwise.
    std::shared_ptr<const ItemView> FindView(const std::wstring& key);
    // Keeps a view of the current content under its key; the least recently used of more than
    // kKeptViews goes.
    void KeepView(const std::wstring& key, std::shared_ptr<const ItemView> view);
    static constexpr std::size_t kKeptViews = 8;

    // Content events (fired by the session as items arrive, change and leave).
    Signal<std::shared_ptr<ItemRecord>> ItemAdd;
    Signal<std::shared_ptr<ItemRecord>> ItemChange;
    Signal<> ItemRemove;

private:
    friend class SimSession;
    StoreRecord& m_store;
    FolderRecord* m_parent;
    std::wstring m_entryID;
    std::wstring m_name;
    int32_t m_defaultItemType;
    std::vector<std::unique_ptr<FolderRecord>> m_subfolders;
    std::vector<std::shared_ptr<ItemRecord>> m_items;
    uint64_t m_contentVersion = 0;
    // Most recently used first.
    std::vector<std::pair<std::wstring, std::shared_ptr<const ItemView>>> m_views;
};

}  // namespace plexa::sim
