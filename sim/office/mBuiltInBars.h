// The host's own command bars in its windows, as far as the add-in looks into them.
//
// Folder windows: "Menu Bar" (File, Edit, View, Go, Tools, Actions, Help), whose Actions menu
// depends on the kind of the folder shown (ActionsMenuId) and holds Forward (356); "Standard";
// and the context menus "Context Menu" and "Folder Context Menu", protected against customising,
// which the host fills when the user opens them. Message windows: "Menu Bar" and "Standard".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/office/SimCommandBar.h"
#include "sim/office/SimCommandBars.h"

namespace plexa::sim::mBuiltInBars {

// Built-in control ids.
inline constexpr int32_t idForward = 356;
inline constexpr int32_t idFollowUp = 1970;
inline constexpr int32_t idFolderOpen = 2500;
// The controls whose presence tells the add-in to keep out of an item context menu.
inline constexpr int32_t kStayOutIds[] = {7887, 1747, 1880, 1878, 1746, 1917, 1916};

// The id of the Actions menu for a folder's default item type: 30131 mail, 30142 appointment,
// 30141 contact, 30149 task; the other kinds have menus of their own (30143 journal, 30146 note,
// 30131 post, 30141 distribution list).
int32_t ActionsMenuId(int32_t defaultItemType);

void AddExplorerBars(SimCommandBars& bars, int32_t defaultItemType);
// Puts the Actions menu of another folder kind in place; the old menu and whatever was added to
// it are gone. Nothing when the kind's menu is already there.
void SetActionsMenu(SimCommandBars& bars, int32_t defaultItemType);
void AddInspectorBars(SimCommandBars& bars);

// The controls of the item context menu for selected items: Print, Reply, Reply to All,
// Forward (356), Follow Up (1970), Delete.
std::vector<int32_t> DefaultItemMenuIds();
// Rebuilds an item context menu with those built-in controls (anything added before is gone).
void FillItemContextMenu(SimCommandBar& bar, const std::vector<int32_t>& ids);
// Rebuilds a folder context menu for a folder: its first control (2500) reads
// "&Open "<name>"".
void FillFolderContextMenu(SimCommandBar& bar, const std::wstring& folderName);

}  // namespace plexa::sim::mBuiltInBars
