// The add-in's command bar and menus of one folder window, kept on the window's wrapper under
// "Menu" and released with it. Before the 2010 host: a temporary toolbar (send-now, shown in
// Drafts; the recent-action button, which repeats the command last used for the kind of folder
// shown; a drop-down menu of every command), and for the 2002 and 2003 hosts a submenu in the
// host's Actions menu and the context-menu submenus, (re)added whenever the window updates its
// bars. From the 2010 host on the ribbon takes its place and nothing is built.
//
// Every control this window adds carries a tag made from the window's own unique tag, so two
// windows never find each other's controls. A control that cannot be built leaves the others
// working; no host error leaves a handler.
#pragma once

#include <memory>
#include <string>

#include "core/Signal.h"
#include "core/Variant.h"
#include "ui/CExplorerContextMenu.h"
#include "ui/EventButton.h"

namespace plexa {

class CommandBar;
class CommandBars;
class Explorer;
class MAPIFolder;
class Selection;
class Services;
struct ExplorerHost;

class CExplorerMenu : public AutomationObject {
public:
    explicit CExplorerMenu(ExplorerHost& host);
    ~CExplorerMenu() override;
    CExplorerMenu(const CExplorerMenu&) = delete;
    CExplorerMenu& operator=(const CExplorerMenu&) = delete;
    std::wstring TypeName() const override { return L"CExplorerMenu"; }

    // Builds the toolbar and hooks the window's bar updates (nothing from the 2010 host on).
    void Create(const std::shared_ptr<Explorer>& explorer);
    void OnFolderSwitch(const std::shared_ptr<MAPIFolder>& folder,
                        const std::shared_ptr<Explorer>& explorer);
    void OnSelectionChange(const std::shared_ptr<Selection>& selection,
                           const std::shared_ptr<Explorer>& explorer);
    void OnCachedActionChange(const std::shared_ptr<Explorer>& explorer);

    // The toolbar's placement, kept in the settings across windows.
    void SaveToolbarPos();
    void RestoreToolbarPos();

    // The window Create was called with.
    const std::shared_ptr<Explorer>& GetExplorer() const { return m_explorer; }
    const std::wstring& Tag() const { return m_sTag; }
    const std::shared_ptr<CommandBar>& Bar() const { return m_bar; }
    CExplorerContextMenu* ContextMenu() const { return m_contextMenu.get(); }

private:
    void m_OutlookBars_OnUpdate();
    void AddActionsMenu(const std::shared_ptr<CommandBar>& actions);
    void AddToolbarMenu(const std::shared_ptr<CommandBarControl>& popup);
    // Runs a command on the active folder window; no error leaves it.
    void Run(const wchar_t* handler, const std::function<void()>& command);
    std::shared_ptr<Explorer> ActiveExplorer();

    void m_btnSendNow_Click();
    void m_btnCachedAction_Click();
    void m_btnTO_Click();
    void m_btnCC_Click();
    void m_btnBCC_Click();
    void m_btnNewDL_Click();
    void m_btnNewDLFromFolder_Click();
    void m_btnExistingDL_Click();
    void m_btnOptions_Click();
    void m_btnAbout_Click();
    void m_btnLastReport_Click();
    void m_btnDebug_Click();

    ExplorerHost& m_host;
    Services& m_services;
    std::shared_ptr<Explorer> m_explorer;
    std::shared_ptr<CommandBar> m_bar;
    std::wstring m_sTag;
    std::unique_ptr<CExplorerContextMenu> m_contextMenu;
    std::shared_ptr<CommandBars> m_OutlookBars;
    Connection m_onUpdate;

    EventButton m_btnSendNow, m_btnCachedAction;
    std::shared_ptr<CommandBarControl> m_popup;
    EventButton m_btnTO, m_btnCC, m_btnBCC, m_btnNewDL, m_btnNewDLFromFolder, m_btnExistingDL,
        m_btnOptions, m_btnAbout, m_btnDebug;
    EventButton m_btnTO1, m_btnCC1, m_btnBCC1, m_btnNewDL1, m_btnNewDLFromFolder1, m_btnExistingDL1,
        m_btnOptions1, m_btnAbout1, m_btnLastReport1;
};

}  // namespace plexa
