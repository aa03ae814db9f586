// The options dialog: every user setting of the add-in on three pages of a tab strip (recipient
// list, appearance, separate sending). It reads the settings as it loads, writes them all back
// on OK (numbers kept to their ranges), and asks for the message windows' toolbars to be rebuilt
// when their look changed. Cancel and the close box store nothing. The dialog is modal, made
// afresh for each showing (ShowOptions), and keeps nothing between openings.
//
// The add-in's own objects lie above this layer: the show operation is handed what it asks of
// them (OptionsHooks).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "core/Form.h"

namespace plexa {

class ImageCombo;
class Services;

// What the dialog asks of the add-in's own objects; either may be empty. Each may throw
// HostError, which the dialog logs.
struct OptionsHooks {
    // Starts the hidden window's timer that rebuilds the message windows' toolbars
    // (tmrRecreateInspBars).
    std::function<void()> recreateInspectorBars;
    // Refreshes the open message windows' buttons (UpdateInspectorButtons), run once the dialog
    // has closed.
    std::function<void()> updateInspectorButtons;
    // Told of the dialog as it is about to show, and with nullptr once it is gone, so that its
    // owner can unload it when the add-in shuts down meanwhile.
    std::function<void(Form*)> showing;
};

class frmOptions : public Form {
public:
    // The ranges of the two up-down controls.
    static constexpr int32_t kMinRecipients = 1;
    static constexpr int32_t kMaxRecipients = 1000;
    static constexpr int32_t kMinInterval = 1;
    static constexpr int32_t kMaxInterval = 1440;
    static constexpr const wchar_t* kHelpTopic = L"Set_Plexa_Options.htm";

    // onTop: the dialog makes itself topmost and takes the focus when it first becomes active
    // (it was opened from a message window that edits in Word). recreateInspectorBars: as in
    // OptionsHooks.
    frmOptions(Services& services, bool onTop, std::function<void()> recreateInspectorBars);

    void OnLoad() override;
    void OnActivate() override;

    void ctlTabs_Click();
    void btnOK_Click();
    void btnCancel_Click();
    void btnHelp_Click();

    bool Topmost() const { return m_topmost; }
    bool HasFocus() const { return m_hasFocus; }
    // The page shown (0 to 2); -1 before loading.
    int32_t ShownPage() const { return m_shownPage; }

private:
    void Load();
    void Save();
    void ShowPage(int32_t page);
    void FillFlags(int32_t version);
    // The number a text box holds, rounded and kept to its up-down control's range; the
    // control's value when the text is no number.
    int32_t ReadValue(const std::wstring& textBox, const std::wstring& upDown);
    // Whether a setting may be written: always, unless reading it failed when the dialog loaded
    // and the user left its control as it was (the dialog then shows a default it never read).
    bool MayWrite(const std::wstring& control, int32_t valueNow) const;
    void NoteLoaded(const std::wstring& control, int32_t shown, bool readFailed);
    ImageCombo& FlagCombo();
    void Close();

    Services& m_services;
    bool m_onTop;
    std::function<void()> m_recreateInspectorBars;
    bool m_topmost = false;
    bool m_hasFocus = false;
    bool m_activatedOnce = false;
    int32_t m_shownPage = -1;
    // The value each control showed after loading, and the controls whose setting could not be
    // read.
    std::map<std::wstring, int32_t> m_loadedValues;
    std::set<std::wstring> m_unread;
};

// The show operation of the options commands: shows the dialog modal, and once it has closed
// runs the hooks' updateInspectorButtons. Nothing is thrown; failures are logged.
void ShowOptions(Services& services, bool onTop, const OptionsHooks& hooks);

}  // namespace plexa
