#include "addin/CExplorerContextMenu.h"

#include "host/outlook/Application.h"
#include "settings/mGlobals.h"

namespace plexa {

void CExplorerContextMenu::CreateItemContextMenu(const std::shared_ptr<CommandBar>& /*bar*/,
                                                 const std::shared_ptr<Selection>& selection) {
    mGlobals::LogDebug(L"CExplorerContextMenu::CreateItemContextMenu",
                       L"->" + std::to_wstring(selection ? selection->Count() : 0), 3);
    // Waits for the context-menu builder: the add-in's submenu for the selected items.
}

void CExplorerContextMenu::CreateFolderContextMenu(const std::shared_ptr<CommandBar>& /*bar*/,
                                                   const std::wstring& folderEntryID,
                                                   const std::wstring& folderStoreID) {
    mGlobals::LogDebug(L"CExplorerContextMenu::CreateFolderContextMenu",
                       L"->" + folderEntryID + L"," + folderStoreID, 3);
    // Waits for the context-menu builder: the add-in's submenu for the folder.
}

void CExplorerContextMenu::DoneItemContextMenu() {
    mGlobals::LogDebug(L"CExplorerContextMenu::DoneItemContextMenu", L"->", 3);
    // Waits for the context-menu builder: releasing the item menu's buttons.
}

void CExplorerContextMenu::DoneFolderContextMenu() {
    mGlobals::LogDebug(L"CExplorerContextMenu::DoneFolderContextMenu", L"->", 3);
    // Waits for the context-menu builder: releasing the folder menu's buttons.
}

}  // namespace plexa
