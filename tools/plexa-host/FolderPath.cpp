#include "FolderPath.h"

#include <vector>

#include "core/Text.h"
#include "sim/store/StoreRecord.h"

namespace plexa::host {

namespace {

std::vector<std::wstring> Names(std::wstring_view path) {
    std::vector<std::wstring> names;
    std::wstring current;
    for (const wchar_t c : path) {
        if (c == L'\\') {
            if (!current.empty()) {
                names.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        names.push_back(current);
    }
    return names;
}

std::wstring Children(const sim::FolderRecord& folder) {
    std::vector<std::wstring> names;
    for (const auto& sub : folder.Subfolders()) {
        names.push_back(sub->Name());
    }
    return names.empty() ? L"no subfolders" : L"its subfolders are " + text::Join(names, L", ");
}

}  // namespace

sim::FolderRecord* FindFolder(const sim::SimSession& session, std::wstring_view path,
                              std::wstring& problem) {
    const std::vector<std::wstring> names = Names(path);
    if (names.empty()) {
        problem = L"'" + std::wstring(path) + L"' names no folder";
        return nullptr;
    }
    std::size_t next = 0;
    sim::FolderRecord* folder = nullptr;
    if (!path.empty() && path.front() == L'\\') {
        for (const auto& store : session.Stores()) {
            if (text::EqualsNoCase(store->Name(), names[0])) {
                folder = store->TopFolder();
                break;
            }
        }
        if (folder == nullptr) {
            std::vector<std::wstring> stores;
            for (const auto& store : session.Stores()) {
                stores.push_back(store->Name());
            }
            problem =
                L"no store '" + names[0] + L"' (the stores are " + text::Join(stores, L", ") + L")";
            return nullptr;
        }
        next = 1;
    } else {
        if (session.DefaultStore() == nullptr) {
            problem = L"there is no default store";
            return nullptr;
        }
        folder = session.DefaultStore()->TopFolder();
    }
    for (; next < names.size(); ++next) {
        sim::FolderRecord* found = nullptr;
        for (const auto& sub : folder->Subfolders()) {
            if (text::EqualsNoCase(sub->Name(), names[next])) {
                found = sub.get();
                break;
            }
        }
        if (found == nullptr) {
            problem = L"no folder '" + names[next] + L"' in " + FolderPathOf(*folder) + L" (" +
                      Children(*folder) + L")";
            return nullptr;
        }
        folder = found;
    }
    return folder;
}

std::wstring FolderPathOf(const sim::FolderRecord& folder) {
    std::vector<std::wstring> names;
    for (const sim::FolderRecord* f = &folder; f != nullptr; f = f->Parent()) {
        names.insert(names.begin(), f->Name());
    }
    return L"\\\\" + text::Join(names, L"\\");
}

}  // namespace plexa::host
