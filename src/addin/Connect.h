// The add-in's connection object, the one object the host creates. It connects the add-in
// (connection events), waits for the first folder window to initialise it (Init), drops back to
// waiting when the last one closes (Done in waiting mode) and shuts everything down at the end
// (Done in full mode). It routes the host events that concern the whole add-in: folder windows
// coming and going, folder switch, selection change, new message window, item send and the 2007
// host's context menus.
//
// The host holds the object through a shared_ptr (make_shared); it is built over the add-in's
// services, which outlive it. It owns the add-in's own objects: the send-later queue
// (gSendLaterList), the please-wait keeper (gPleaseWait), the hidden timer form (frmDummy), the
// debug window and the mail-item wrappers (gMailItemWrappers). They go with it, in the reverse
// order of their declaration. "Connected" (the process-wide gConnect being set) runs from the
// connection to the full shut-down. No host error ever leaves an entry point.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addin/CExplorersWrapper.h"
#include "addin/CInspectorWrapper.h"
#include "addin/CMailItemWrapperColl.h"
#include "addin/WithEvents.h"
#include "addin/frmDEBUG.h"
#include "addin/frmDummy.h"
#include "core/Variant.h"
#include "distlists/mContacts.h"
#include "host/companions/Companions.h"
#include "host/office/Ribbon.h"
#include "host/outlook/Application.h"
#include "separate/CSendLaterList.h"
#include "separate/mPlexaUpdate.h"
#include "ui/CExplorerContextMenu.h"
#include "ui/CPleaseWait.h"
#include "ui/ExplorerHost.h"

namespace plexa {

class Services;

class Connect : public IRibbonExtensibility, public std::enable_shared_from_this<Connect> {
public:
    explicit Connect(Services& services);
    ~Connect() override;
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    // IDTExtensibility2. The connect and remove modes, the add-in instance and the custom
    // arrays are not looked at.
    void IDTExtensibility2_OnConnection(const std::shared_ptr<Application>& application,
                                        int32_t connectMode,
                                        const std::shared_ptr<AutomationObject>& addInInst,
                                        const std::vector<Variant>& custom);
    void IDTExtensibility2_OnStartupComplete(const std::vector<Variant>& custom);
    void IDTExtensibility2_OnBeginShutdown(const std::vector<Variant>& custom);
    void IDTExtensibility2_OnDisconnection(int32_t removeMode, const std::vector<Variant>& custom);
    void IDTExtensibility2_OnAddInsUpdate(const std::vector<Variant>& custom);

    // IRibbonExtensibility.
    std::wstring GetCustomUI(const std::wstring& ribbonID) override;
    void InvokeOnLoad(const std::wstring& callback,
                      const std::shared_ptr<IRibbonUI>& ribbon) override;
    std::wstring InvokeGetText(const std::wstring& callback,
                               const std::shared_ptr<IRibbonControl>& control) override;
    bool InvokeGetBool(const std::wstring& callback,
                       const std::shared_ptr<IRibbonControl>& control) override;
    std::shared_ptr<IPictureDisp> InvokeGetImage(
        const std::wstring& callback, const std::shared_ptr<IRibbonControl>& control) override;
    void InvokeAction(const std::wstring& callback,
                      const std::shared_ptr<IRibbonControl>& control) override;
    void InvokeToggleAction(const std::wstring& callback,
                            const std::shared_ptr<IRibbonControl>& control, bool pressed) override;

    // The services the add-in runs on.
    Services& GetServices() const { return m_services; }
    // From the connection to the full shut-down (gConnect is set).
    bool Connected() const { return m_connected; }

    // The send-later queue of the default store (gSendLaterList): created at connection, gone at
    // full shut-down.
    CSendLaterList* SendLaterList() const { return m_sendLaterList.get(); }
    // The please-wait window's keeper (gPleaseWait), created on first use.
    CPleaseWait& PleaseWait();
    bool PleaseWaitLoaded() const { return static_cast<bool>(m_pleaseWait); }
    // The hidden timer form (frmDummy), loaded on first use.
    frmDummy& FrmDummy();
    bool FrmDummyLoaded() const { return static_cast<bool>(m_frmDummy); }
    // The developer's debug window (one per add-in), created on first use.
    frmDEBUG& DebugForm();
    // The Debug button: shows the debug window modeless; a window already up comes to the front.
    void ShowDebugForm();
    // The mail-item wrappers (gMailItemWrappers), created on first use.
    CMailItemWrapperColl& MailItemWrappers();
    // The contact folders that placeholder replacement searches, collected once per run and
    // emptied by Done.
    mContacts::CContactFolderList& ContactFolders() { return m_contactFolders; }
    // What the separate-send action works with: the services, the send-later queue, the
    // please-wait keeper and the contact folders. Throws HostError when the add-in is not
    // connected (no queue).
    PlexaActionContext ActionContext();
    // The wrapper of a message window that is open; nothing for a window the add-in does not
    // follow. The compose ribbon reaches the window's commands through it.
    std::shared_ptr<CInspectorWrapper> InspectorWrapperOf(
        const std::shared_ptr<Inspector>& inspector) const;
    // The options commands: the options dialog, modal (onTop when a message window that edits
    // in Word opens it). When the message windows' toolbars changed their look, the hidden
    // form's tmrRecreateInspBars rebuilds them; once the dialog has closed the message windows'
    // buttons are refreshed. No host error leaves it.
    void ShowOptions(bool onTop);

    // The ribbon's commands (ConnectRibbon.cpp). DoButtonAction routes a control id, with the
    // window of the callback's context, to the command; the recent-action button to the
    // command cached for the window's folder kind. An unknown id is logged.
    void DoButtonAction(const std::wstring& id, const std::shared_ptr<AutomationObject>& context);
    // The folder window's commands: To, CC, BCC (target 1 to 3), the list commands, send-now.
    void RibbonDisplayNewMail(const std::shared_ptr<Explorer>& explorer, int32_t target);
    void RibbonNewDL(const std::shared_ptr<Explorer>& explorer);
    void RibbonNewDLFromFolder(const std::shared_ptr<Explorer>& explorer);
    void RibbonExistingDL(const std::shared_ptr<Explorer>& explorer);
    void RibbonSendNow(const std::shared_ptr<Explorer>& explorer);
    // The message window's commands: insert a placeholder, change the send mode (by the id of
    // the send-mode control clicked).
    void RibbonInsertPlaceholder(const std::wstring& id,
                                 const std::shared_ptr<Inspector>& inspector);
    void ChangeSendMode(const std::wstring& id, const std::shared_ptr<Inspector>& inspector);
    // After a change of a message's send mode: the four send-mode controls read it again.
    void InvalidateSendModeControls();
    // The product's help at its start page, and the About box.
    void ShowHelp();
    void ShowAbout();

    // Friend operations of the other parts of the add-in.
    std::shared_ptr<CExplorersWrapper> GetExplorersWrapper() const { return m_oExplorers.Get(); }
    void RecreateInspectorBars();
    void UpdateInspectorButtons();
    void UpdateCachedAction();
    // What the folder-window commands reach of the add-in (its menus hold it).
    ExplorerHost& ExplorerCommands() { return m_explorerHost; }

    // The state, for the debug window and tests.
    bool Initialised() const { return static_cast<bool>(m_outlook); }
    bool HooksInspectors() const { return static_cast<bool>(m_oInspectors); }
    bool HasContextMenuEvents() const { return static_cast<bool>(m_o2007events); }
    const std::vector<std::shared_ptr<CInspectorWrapper>>& InspectorWrappers() const {
        return m_colInspectors;
    }

private:
    bool Init(const std::shared_ptr<CExplorerWrapper>& explorer);
    void Done(bool bFullMode);
    void AddMenu(const std::shared_ptr<CExplorerWrapper>& explorer);

    void m_oExplorers_OnExplorer(const std::shared_ptr<CExplorerWrapper>& explorer,
                                 bool bFirstExplorer, bool bNewExplorer);
    void m_oExplorers_OnCloseAllExplorers();
    void m_oExplorers_OnExplorerFolderSwitch(const std::shared_ptr<CExplorerWrapper>& explorer);
    void m_oExplorers_OnExplorerSelectionChange(const std::shared_ptr<CExplorerWrapper>& explorer);
    void m_oInspectors_NewInspector(const std::shared_ptr<Inspector>& inspector);
    void m_outlook_ItemSend(const std::shared_ptr<OutlookItem>& item, bool& cancel);
    void m_o2007events_OnItemContextMenuDisplay(const std::shared_ptr<CommandBar>& bar,
                                                const std::shared_ptr<Selection>& selection);
    void m_o2007events_OnFolderContextMenuDisplay(const std::shared_ptr<CommandBar>& bar,
                                                  const std::shared_ptr<MAPIFolder>& folder);
    void m_o2007events_OnContextMenuClose(int32_t contextMenu);

    Services& m_services;
    bool m_connected = false;
    // Before the menus that use them: the contact folders kept for the run, and what the
    // folder-window commands reach of the add-in.
    mContacts::CContactFolderList m_contactFolders;
    ExplorerHost m_explorerHost;
    // The add-in's own objects; the event hooks below go before them.
    std::unique_ptr<CMailItemWrapperColl> m_mailItemWrappers;
    std::unique_ptr<CSendLaterList> m_sendLaterList;
    std::unique_ptr<CPleaseWait> m_pleaseWait;
    std::unique_ptr<frmDEBUG> m_debugForm;
    std::unique_ptr<frmDummy> m_frmDummy;
    // The options dialog while it shows (it lives in its show operation).
    Form* m_optionsDialog = nullptr;

    WithEvents<Application> m_outlook;
    WithEvents<CExplorersWrapper> m_oExplorers;
    WithEvents<Inspectors> m_oInspectors;
    WithEvents<ContextMenuEvents> m_o2007events;
    std::vector<std::shared_ptr<CInspectorWrapper>> m_colInspectors;
    std::shared_ptr<IRibbonUI> m_ribbon;
    std::unique_ptr<CExplorerContextMenu> m_contextMenu;
};

}  // namespace plexa
