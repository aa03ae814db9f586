// Follows one message window that shows a message composed through the add-in. It takes over
// the message's Send (the client never sends a wrapped message itself: the separate-send action
// runs instead, in the message's send mode), keeps the window's recipient store for as long as
// the window lives, and on the 2002/2003 clients builds the add-in's toolbar in the window (insert
// placeholders, send mode, open Drafts, options) and takes it away again.
//
// The operations behind the toolbar (InsertField, SetSendModeAll, SetSendModeSep,
// SetGrouping, OpenDrafts, ShowOptions) are public, so that the compose ribbon of the later
// clients runs the same code; without a toolbar they read and write the message's settings
// directly.
//
// Handlers of the window's events and clicks never let a host error out: the window may be
// closing. The action is guarded: a Send pressed while an action of this window runs does
// nothing more than cancel the client's own send.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addin/WithEvents.h"
#include "host/office/CommandBars.h"
#include "host/outlook/Application.h"
#include "recipients/CRecipientsProps.h"
#include "separate/IMessageWindow.h"

namespace plexa {

class Connect;
class MailItem;
class Services;

class CInspectorWrapper : public IMessageWindow,
                          public std::enable_shared_from_this<CInspectorWrapper> {
public:
    explicit CInspectorWrapper(Connect& connect);
    ~CInspectorWrapper() override;
    CInspectorWrapper(const CInspectorWrapper&) = delete;
    CInspectorWrapper& operator=(const CInspectorWrapper&) = delete;

    // Follows the inspector and its current item (whose Send it takes over). Throws HostError
    // when the window cannot answer.
    void Init(const std::shared_ptr<Inspector>& inspector);
    // Removes the toolbar (clients before 2007), then lets go of the window and its item.
    void Done() override;
    // True once the window has closed (or Done ran).
    bool Closed() const { return !m_oInspector; }
    std::shared_ptr<Inspector> GetInspector() const override { return m_oInspector.Get(); }
    std::shared_ptr<MailItem> GetMail() const { return m_oMail.Get(); }
    // The window's placeholder values and remembered answers.
    CRecipientsProps& RecipientStore() { return m_recipientStore; }
    // True while the separate-send action of this window runs.
    bool ActionRunning() const { return m_actionRunning; }

    // Runs the separate-send action on the window's current item. Never throws; what fails is
    // logged under "CInspectorWrapper::DoAction".
    void DoAction(int32_t doSend, int32_t sendMode, bool grouping);
    // Types a placeholder token (and a space) into the editor, switching a to-all message to
    // separate sending first.
    void InsertField(const std::wstring& token);
    // The send-mode commands: one message to all; one copy per recipient; grouping of the
    // copies on or off (turning it on shows the grouping dialog when the settings ask for it).
    void SetSendModeAll();
    void SetSendModeSep();
    void SetGrouping(bool on);
    // The window's send mode and grouping: the toolbar's pressed states when it shows, else the
    // message's own settings.
    bool SendsSeparately();
    bool Grouping();
    // Shows Drafts in the folder window; the options dialog above this window.
    void OpenDrafts();
    void ShowOptions();

    // The toolbar (clients before 2007).
    void CreateToolbar();
    void RemoveToolbar();
    // Removes and builds the toolbar again, as the settings that shape it have changed. Throws
    // HostError when the window cannot answer.
    void RecreateToolbar();
    void SaveToolbarPosition();
    void RestoreToolbarPosition();
    bool HasToolbar() const { return m_toolbar != nullptr || m_usesStandardBar; }
    bool UsesStandardBar() const { return m_usesStandardBar; }
    // The first control of that tag and type (-1: any type), descending into popups when
    // recursive; nothing when there is none.
    static std::shared_ptr<CommandBarControl> FindControl(
        const std::shared_ptr<CommandBarControls>& controls, const std::wstring& tag, int32_t type,
        bool recursive);
    // The send-mode button's tip for separate sending, with or without grouping.
    void UpdateSendModeTip();

private:
    using Button = WithEvents<CommandBarControl>;

    bool WordEditor();
    bool OnTop();
    void AddControls(const std::shared_ptr<CommandBar>& bar);
    std::shared_ptr<CommandBarControl> AddControl(const std::shared_ptr<CommandBarControls>& on,
                                                  int32_t type, int32_t before);
    void HookButton(Button& field, const std::shared_ptr<CommandBarControl>& control,
                    void (CInspectorWrapper::*handler)(const std::shared_ptr<CommandBarControl>&));
    void SetFace(const std::shared_ptr<CommandBarControl>& button, const wchar_t* face,
                 const wchar_t* mask);
    void DropControls();
    void ShowSendMode(bool separately);
    // The action of a Send, in the message's send mode and grouping.
    void RunSendAction();

    void m_oInspector_Activate();
    void m_oInspector_Close();
    void m_oMail_Send(bool& cancel);
    void m_barsWordInspector_OnUpdate();
    void m_btnSendMode_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnSendModeAll_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnSendModeSep_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnSepGrouping_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnOpenDrafts_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnInsert_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnInsertFullName_Click(const std::shared_ptr<CommandBarControl>& control);
    void m_btnOptions_Click(const std::shared_ptr<CommandBarControl>& control);

    Connect& m_connect;
    Services& m_services;
    WithEvents<Inspector> m_oInspector;
    WithEvents<MailItem> m_oMail;
    WithEvents<CommandBars> m_barsWordInspector;
    CRecipientsProps m_recipientStore;
    bool m_actionRunning = false;

    std::shared_ptr<CommandBar> m_toolbar;
    bool m_usesStandardBar = false;
    Button m_btnInsertFullName;
    std::shared_ptr<CommandBarControl> m_mnuInsert;
    Button m_btnInsert;
    Button m_btnSendMode;
    std::shared_ptr<CommandBarControl> m_mnuSendMode;
    Button m_btnSendModeAll;
    Button m_btnSendModeSep;
    Button m_btnSepGrouping;
    Button m_btnOpenDrafts;
    Button m_btnOptions;
};

}  // namespace plexa
