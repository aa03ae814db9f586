// The add-in's items in the host's item and folder context menus (2007 host on: built when the
// context-menu companion announces a menu).
//
// Waits for the context-menu builder: this stand-in adds no items yet; it traces each call with
// what it was given, so that the routing of the companion's events already runs.
#pragma once

#include <memory>
#include <string>

namespace plexa {

class CommandBar;
class Selection;

class CExplorerContextMenu {
public:
    void CreateItemContextMenu(const std::shared_ptr<CommandBar>& bar,
                               const std::shared_ptr<Selection>& selection);
    void CreateFolderContextMenu(const std::shared_ptr<CommandBar>& bar,
                                 const std::wstring& folderEntryID,
                                 const std::wstring& folderStoreID);
    void DoneItemContextMenu();
    void DoneFolderContextMenu();
};

}  // namespace plexa
