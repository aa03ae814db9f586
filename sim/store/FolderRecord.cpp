#include "sim/store/FolderRecord.h"

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

std::wstring FolderRecord::Path() const {
    std::wstring path;
    for (const FolderRecord* f = this; f != nullptr; f = f->Parent()) {
        path.insert(0, L"\\" + f->Name());
    }
    return L"\\" + path;
}

}  // namespace plexa::sim
