#include "addin/CExplorerMenu.h"

#include "host/outlook/Application.h"
#include "settings/mGlobals.h"

namespace plexa {

void CExplorerMenu::Create(const std::shared_ptr<Explorer>& explorer) {
    mGlobals::LogDebug(L"CExplorerMenu::Create", L"->", 3);
    m_explorer = explorer;
    // Waits for the explorer menu: the toolbar, its drop-down menu and the Actions-menu items.
}

void CExplorerMenu::OnFolderSwitch(const std::shared_ptr<MAPIFolder>& folder,
                                   const std::shared_ptr<Explorer>& /*explorer*/) {
    mGlobals::LogDebug(L"CExplorerMenu::OnFolderSwitch", L"->" + folder->Name(), 3);
    // Waits for the explorer menu: showing the send-now button and the folder's cached action.
}

void CExplorerMenu::OnSelectionChange(const std::shared_ptr<Selection>& selection,
                                      const std::shared_ptr<Explorer>& /*explorer*/) {
    mGlobals::LogDebug(L"CExplorerMenu::OnSelectionChange",
                       L"->" + std::to_wstring(selection->Count()), 3);
    // Waits for the explorer menu: enabling the send-now button.
}

void CExplorerMenu::OnCachedActionChange(const std::shared_ptr<Explorer>& explorer) {
    // The cached action is the one of the kind of the window's current folder.
    mGlobals::LogDebug(L"CExplorerMenu::OnCachedActionChange",
                       L"->" + (explorer ? explorer->CurrentFolder()->Name() : std::wstring()), 3);
    // Waits for the explorer menu: the recent-action button's picture and tip.
}

}  // namespace plexa
