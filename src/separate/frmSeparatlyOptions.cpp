#include "separate/frmSeparatlyOptions.h"

#include <algorithm>
#include <cmath>

#include "core/HostError.h"
#include "core/Text.h"
#include "core/Variant.h"
#include "platform/IUiShell.h"
#include "separate/UnloadOnExit.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mHelp.h"

namespace plexa {

namespace {

constexpr const wchar_t* kHelpTopic = L"Customize_group_messages.htm";

// A text box with its up-down control bound to it.
void AddSpinner(Form& form, const std::wstring& textBox, const std::wstring& upDown, int32_t min,
                int32_t max, int32_t value) {
    form.Add(textBox, ControlType::TextBox).text = std::to_wstring(value);
    Control& spin = form.Add(upDown, ControlType::UpDown);
    spin.min = min;
    spin.max = max;
    spin.value = value;
    spin.onChange = [&form, textBox, upDown] {
        form[textBox].text = std::to_wstring(form[upDown].value);
    };
}

void SetSpinner(Form& form, const std::wstring& textBox, const std::wstring& upDown,
                int32_t value) {
    Control& spin = form[upDown];
    spin.value = std::clamp(value, spin.min, spin.max);
    form[textBox].text = std::to_wstring(spin.value);
}

}  // namespace

frmSeparatlyOptions::frmSeparatlyOptions(Services& services, bool onTop)
    : Form(L"frmSeparatlyOptions"), m_services(services), m_onTop(onTop) {
    caption = L"Plexa - Send separately options";
    Add(L"Frame4", ControlType::Frame).caption = L"Select group size and time interval:";
    Add(L"Label4", ControlType::Label).caption =
        L"Set recipients group size and time interval for e-mails to be sent to each group.";
    Add(L"Label5", ControlType::Label).caption = L"Group size:";
    AddSpinner(*this, L"txtGroupRecipients", L"udGroupRecipients", kMinRecipients, kMaxRecipients,
               20);
    Add(L"Label6", ControlType::Label).caption = L"recipients";
    Add(L"Label7", ControlType::Label).caption = L"Time interval per group:";
    AddSpinner(*this, L"txtGroupInterval", L"udGroupInterval", kMinInterval, kMaxInterval, 5);
    Add(L"Label8", ControlType::Label).caption = L"minutes";
    Add(L"chkDontShowSeparatlyOptions", ControlType::CheckBox).caption =
        L"Don't show this screen next time. Save these settings. These settings will be "
        L"available in Plexa Options.";
    AddButton(L"btnOK", L"OK", [this] { btnOK_Click(); });
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
    AddButton(L"btnHelp", L"Help", [this] { btnHelp_Click(); });
}

void frmSeparatlyOptions::OnLoad() {
    m_activatedOnce = false;
    m_topmost = false;
    m_services.Lang().LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    COptions& options = m_services.Options();
    SetSpinner(*this, L"txtGroupInterval", L"udGroupInterval", options.GroupInterval());
    SetSpinner(*this, L"txtGroupRecipients", L"udGroupRecipients", options.GroupRecipients());
    (*this)[L"chkDontShowSeparatlyOptions"].value = options.ShowSeparatlyOptions() ? 0 : 1;
}

void frmSeparatlyOptions::OnActivate() {
    if (m_activatedOnce) {
        return;
    }
    m_activatedOnce = true;
    m_topmost = m_onTop;
}

int32_t frmSeparatlyOptions::ReadValue(const std::wstring& textBox, const std::wstring& upDown) {
    const Control& spin = (*this)[upDown];
    const std::wstring typedText = text::Trim((*this)[textBox].text);
    const Variant typed(typedText);
    double number = spin.value;
    try {
        if (!typedText.empty() && IsNumeric(typed)) {
            number = std::round(CDbl(typed));
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no number, the control's value
    }
    if (!std::isfinite(number)) {
        number = spin.value;
    }
    return static_cast<int32_t>(
        std::clamp(number, static_cast<double>(spin.min), static_cast<double>(spin.max)));
}

void frmSeparatlyOptions::btnOK_Click() {
    COptions& options = m_services.Options();
    options.GroupInterval(ReadValue(L"txtGroupInterval", L"udGroupInterval"));
    options.GroupRecipients(ReadValue(L"txtGroupRecipients", L"udGroupRecipients"));
    options.ShowSeparatlyOptions((*this)[L"chkDontShowSeparatlyOptions"].value == 0);
    Close();
}

void frmSeparatlyOptions::btnCancel_Click() {
    Close();
}

void frmSeparatlyOptions::btnHelp_Click() {
    mHelp::ShowHelpTopic(m_services, kHelpTopic);
}

void frmSeparatlyOptions::Close() {
    unloaded = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmSeparatlyOptions::Close", e);
    }
}

void ShowSeparatlyOptions(Services& services, bool onTop,
                          const std::function<void()>& updateInspectorButtons) {
    IUiShell& ui = services.Ports().ui;
    {
        frmSeparatlyOptions dialog(services, onTop);
        const UnloadOnExit unload(ui, dialog, L"frmSeparatlyOptions::ShowSeparatlyOptions");
        try {
            ui.Show(dialog, true);
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmSeparatlyOptions::ShowSeparatlyOptions", e);
        }
    }
    if (updateInspectorButtons) {
        updateInspectorButtons();
    }
}

}  // namespace plexa
