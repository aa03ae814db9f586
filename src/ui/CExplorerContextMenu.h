// The add-in's submenu in the host's item and folder context menus of a folder window. The 2002
// and 2003 hosts have no context-menu events: there the submenus are (re)built whenever the
// folder window updates its bars, and the right-clicked folder is worked out from the menu
// itself (its Open command names it). From the 2007 host on, the context-menu companion
// announces each menu as it opens (with the selection or the folder) and when it closes.
// Nothing for the 2000 host and older.
//
// Each submenu is found again by its tag (a unique tag per object, "ContextMenu" or
// "FolderContextMenu" after it), so a menu is never given the submenu twice. No host error
// leaves an operation.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/EventButton.h"

namespace plexa {

class CommandBar;
class Explorer;
class MAPIFolder;
class Selection;
class Services;
struct ExplorerHost;

class CExplorerContextMenu {
public:
    explicit CExplorerContextMenu(ExplorerHost& host);
    ~CExplorerContextMenu();
    CExplorerContextMenu(const CExplorerContextMenu&) = delete;
    CExplorerContextMenu& operator=(const CExplorerContextMenu&) = delete;

    // selection: the right-clicked items (2007 host on); nothing before (the commands then
    // always show).
    void CreateItemContextMenu(const std::shared_ptr<CommandBar>& bar,
                               const std::shared_ptr<Selection>& selection);
    // The folder's ids (2007 host on); both empty before.
    void CreateFolderContextMenu(const std::shared_ptr<CommandBar>& bar,
                                 const std::wstring& folderEntryID,
                                 const std::wstring& folderStoreID);
    void DoneItemContextMenu();
    void DoneFolderContextMenu();

    const std::wstring& Tag() const { return m_sTag; }
    std::wstring ItemTag() const { return m_sTag + L"ContextMenu"; }
    std::wstring FolderTag() const { return m_sTag + L"FolderContextMenu"; }

    // Whether any item is an appointment, contact, mail, task or distribution list.
    static bool SelectionHasRecipientItems(const std::shared_ptr<Selection>& selection);
    // Depth first below parent, in folder order: the entry ids of the folders called name
    // (letter case counts), at most maximum of them.
    static void FindFoldersByName(const std::shared_ptr<MAPIFolder>& parent,
                                  const std::wstring& name, std::vector<std::wstring>& results,
                                  std::size_t maximum);

private:
    // The right-clicked folder of a 2002/2003 folder context menu.
    std::shared_ptr<MAPIFolder> GetContextFolder(const std::shared_ptr<CommandBar>& bar,
                                                 bool bForAction);
    // The folder a folder-menu command works on.
    std::shared_ptr<MAPIFolder> GetSelectedFolder();
    // Runs a command of the menus; no error leaves it.
    static void Run(const wchar_t* handler, const std::function<void()>& command);
    // The folder window the commands work on.
    std::shared_ptr<Explorer> ActiveExplorer();

    ExplorerHost& m_host;
    Services& m_services;
    std::wstring m_sTag;
    std::wstring m_folderEntryID;
    std::wstring m_folderStoreID;
    // The folder context-menu bar last built (2002/2003: where the clicked folder is named).
    std::shared_ptr<CommandBar> m_folderBar;

    EventButton m_btnTO2, m_btnCC2, m_btnBCC2, m_btnNewDL2, m_btnNewDLFromFolder2, m_btnExistingDL2,
        m_btnOptions2, m_btnAbout2;
    EventButton m_btnTO3, m_btnCC3, m_btnBCC3, m_btnNewDL3, m_btnExistingDL3, m_btnOptions3,
        m_btnAbout3;
};

}  // namespace plexa
