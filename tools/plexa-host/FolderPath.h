// Folder paths as the client shows them: "\\Personal Folders\\Contacts" starts at a store's top
// folder; "Contacts" or "Clients\\Key accounts" starts at the default store's. Any run of
// backslashes separates two names (so "\\Store\Inbox" and "\Store\\Inbox" are the same path);
// names are matched without letter case.
#pragma once

#include <string>
#include <string_view>

#include "sim/store/FolderRecord.h"
#include "sim/store/SimSession.h"

namespace plexa::host {

// The folder, or nullptr with what is missing in problem.
sim::FolderRecord* FindFolder(const sim::SimSession& session, std::wstring_view path,
                              std::wstring& problem);

// The folder's path as the client shows it: "\\Personal Folders\Inbox".
std::wstring FolderPathOf(const sim::FolderRecord& folder);

}  // namespace plexa::host
