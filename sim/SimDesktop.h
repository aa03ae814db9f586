// The simulated client's desktop: the host (store, application) with its windows, their command
// bars and ribbons, the safe-access and companion libraries, and the Word companion window, over
// a SimPlatform's services. Tests and the command-line host construct it in one line:
//     sim::SimDesktop desktop{world.sim};          // with its own SimHost (one default store)
//     sim::SimDesktop desktop{world.sim, host};    // over a SimHost built elsewhere (a mailbox)
//
// What happens where the host would raise events, in order:
//   OpenExplorer        Explorers.NewExplorer, then (when activated) Explorer.Activate and the
//                       window's CommandBars.OnUpdate
//   OpenInspector       (Display) Inspectors.NewInspector, Inspector.Activate, OnUpdate; an item
//                       already open only brings its window to the front
//   Activate            Activate of that window, OnUpdate; a window already in front: nothing
//   SwitchFolder        Explorer.FolderSwitch, SelectionChange (when something was selected),
//                       OnUpdate; the Actions menu follows the folder kind
//   Select              (brings the window to the front first) SelectionChange, OnUpdate
//   CloseExplorer       Explorer.Close; the window's bars and temporary controls go; the next
//                       window comes to the front (its Activate)
//   CloseInspector      the item's Close (it may cancel), saving (the item's Write) or asking as
//                       the mode says (only when the window holds changes; what is not saved
//                       is dropped), Inspector.Close, then as for an explorer
//   OpenItemContextMenu 2002/2003: the explorer's "Context Menu" bar is rebuilt, OnUpdate;
//                       2007 on: the companion's OnItemContextMenuDisplay with a fresh bar
//   OpenFolderContextMenu  the same with "Folder Context Menu" / OnFolderContextMenuDisplay
//   CloseContextMenu    2007 on: the companion's OnContextMenuClose (0 items, 2 folder)
//   OpenMenu, Click     opening each menu on the way raises OnUpdate
//
// The user's side:
//   Click(path)    clicks a control of the window in front: an open context menu first, then
//                  the window's ribbon, then its command bars. The path names controls by
//                  caption (letter case and "&" ignored), "#id" or "tag=text", separated by "/"
//                  ("Plexa/To", "Actions/Plexa/Options", "#356"); the first step is looked for
//                  anywhere, each further one inside the menu before it. A ribbon control is
//                  named by its id or label.
//   Type(keys)     SendKeys syntax (src/platform/IKeyboard.h) into the window in front: a
//                  message window types at its caret; anything else ignores the keys.
//   TypeText(text) types literally into the message window in front.
//   ui().user      the scripted answers for message boxes and dialogs (sim/windows/
//                  ScriptedUser.h); an unexpected prompt throws UnexpectedPrompt.
//   AdvanceClock   moves the clock; due timers fire on the way.
// A click or key no user could give (hidden, disabled, missing control; no such window) throws
// ScriptError.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/HostPorts.h"
#include "host/office/Ribbon.h"
#include "sim/SimHost.h"
#include "sim/SimPlatform.h"
#include "sim/companions/SimCompanions.h"
#include "sim/office/SimOffice.h"
#include "sim/office/SimRibbon.h"
#include "sim/redemption/SimRedemption.h"
#include "sim/windows/SimExplorer.h"
#include "sim/windows/SimInspector.h"

namespace plexa::sim {

class SimDesktop {
public:
    explicit SimDesktop(SimPlatform& platform);
    SimDesktop(SimPlatform& platform, SimHost& host);
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    SimPlatform& platform;
    SimHost& host;
    SimOffice office;
    SimRibbonHost ribbons;
    SimRedemption redemption;
    SimCompanions companions;

    // The client's settings. Before 2007, whether message windows edit mail in Word.
    bool wordEditor = false;
    int32_t MajorVersion() const { return host.session.outlookMajorVersion; }
    // The ports the add-in is connected with.
    HostPorts Ports();
    // The add-in's ribbon side once it is connected; nullptr when it disconnects.
    void SetRibbonProvider(IRibbonExtensibility* provider) { ribbons.SetProvider(provider); }

    // Windows.
    std::shared_ptr<SimExplorer> OpenExplorer(FolderRecord& folder, bool activate = true);
    // A folder window on a default folder of the default store (OlDefaultFolders).
    std::shared_ptr<SimExplorer> OpenExplorer(int32_t defaultFolder, bool activate = true);
    std::shared_ptr<SimInspector> OpenInspector(const std::shared_ptr<OutlookItem>& item);
    void Activate(const std::shared_ptr<SimWindow>& window);
    void SwitchFolder(const std::shared_ptr<SimExplorer>& explorer, FolderRecord& folder);
    void Select(const std::shared_ptr<SimExplorer>& explorer,
                const std::vector<std::shared_ptr<ItemRecord>>& items);
    void CloseExplorer(const std::shared_ptr<SimExplorer>& explorer);
    // Closes with an OlInspectorClose mode: 0 save, 1 discard, 2 ask the user when there are
    // changes (Yes saves, No discards, Cancel keeps the window).
    void CloseInspector(const std::shared_ptr<SimInspector>& inspector, int32_t saveMode);
    // The user presses Send in a message window: the Send button's Click (a listener may cancel
    // it), then the shown item's Send (its Send event or the application's ItemSend may cancel
    // it; the host's errors reach the caller, the window staying open). A send the client
    // carries out closes the window; after a cancelled one the client refreshes the window's
    // bars (OnUpdate), as after every command.
    enum class SendOutcome { ClickCancelled, Cancelled, Sent };
    SendOutcome PressSend(const std::shared_ptr<SimInspector>& inspector);
    // The client's "Do you want to save changes?" (mb::IdYes, IdNo, IdCancel).
    int32_t AskToSaveChanges();

    // The windows, front first.
    std::vector<std::shared_ptr<SimWindow>> Windows() const;
    std::shared_ptr<SimWindow> ActiveWindow() const;
    // The folder window nearest the front (the host's ActiveExplorer); nullptr when none.
    std::shared_ptr<SimExplorer> ActiveExplorer() const;
    std::shared_ptr<SimInspector> ActiveInspector() const;
    std::vector<std::shared_ptr<SimExplorer>> Explorers() const;
    std::vector<std::shared_ptr<SimInspector>> Inspectors() const;

    // Context menus of the folder window in front (its items, or a folder).
    void OpenItemContextMenu(const std::shared_ptr<SimExplorer>& explorer,
                             const std::vector<int32_t>& builtInIds = {});
    void OpenFolderContextMenu(const std::shared_ptr<SimExplorer>& explorer, FolderRecord& folder);
    void CloseContextMenu();
    // The open context menu's bar; nullptr when none is open.
    std::shared_ptr<SimCommandBar> ContextMenu() const { return m_contextMenu; }

    // The user.
    SimUiShell& ui() { return platform.ui; }
    // Opens the menus along a path (each raises OnUpdate).
    void OpenMenu(const std::wstring& path);
    // Clicks; returns what was clicked ("Explorer 'Inbox' / Standard / Plexa / To").
    std::wstring Click(const std::wstring& path);
    void Type(const std::wstring& keys);
    void TypeText(const std::wstring& text);
    void AdvanceClock(double seconds) { platform.clock.AdvanceSeconds(seconds); }
    // Keys that reached no editor (a folder window or a dialog in front, or nothing).
    int IgnoredKeys() const { return m_ignoredKeys; }

    // The Word companion: a window of class "ThunderRT6FormDC" titled "Orvin.Plexa.WordAddin"
    // that types the text of "SendTextByKeyPress,<flag>,<text>" (WM_COPYDATA) into the message
    // window in front when it edits in Word.
    void StartWordCompanion();
    void StopWordCompanion();
    // What it typed, in order.
    const std::vector<std::wstring>& WordCompanionTyped() const { return m_wordTyped; }

    // Views for transcripts and tests.
    // The window's bars and controls, one a line (see BarsText in SimDesktop.cpp).
    std::wstring BarsText(const std::shared_ptr<SimWindow>& window) const;
    std::wstring RibbonText(const std::shared_ptr<SimWindow>& window);

private:
    SimDesktop(SimPlatform& platform, std::unique_ptr<SimHost> owned, SimHost* host);
    void Wire();
    void Focus(const KeyStroke& key);
    void Remove(const std::shared_ptr<SimWindow>& window);
    void BringNextToFront();
    std::wstring RibbonIdFor(const ItemRecord& item) const;
    int32_t EditorTypeFor(const ItemRecord& item) const;
    // The control at the end of a path in a bar (nullptr when none); opens menus on the way
    // when asked.
    std::shared_ptr<SimCommandBarControl> Resolve(
        const std::vector<std::shared_ptr<SimCommandBar>>& bars,
        const std::vector<std::wstring>& steps, const std::shared_ptr<SimWindow>& window,
        bool openMenus);

    std::unique_ptr<SimHost> m_ownedHost;
    std::vector<std::shared_ptr<SimWindow>> m_windows;  // front last
    // The window the user last brought to the front; nullptr before any.
    std::shared_ptr<SimWindow> m_active;
    Form* m_activeForm = nullptr;
    std::shared_ptr<SimCommandBar> m_contextMenu;
    std::shared_ptr<SimExplorer> m_contextExplorer;
    int32_t m_contextKind = -1;  // 0 items, 2 folder
    WindowHandle m_wordCompanion = 0;
    WindowHandle m_nextWindowHandle = 0x30010;
    std::vector<std::wstring> m_wordTyped;
    int m_ignoredKeys = 0;
};

}  // namespace plexa::sim
