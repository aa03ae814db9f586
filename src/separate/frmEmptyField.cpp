#include "separate/frmEmptyField.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/IUiShell.h"
#include "separate/UnloadOnExit.h"
#include "settings/IPleaseWait.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mHelp.h"

namespace plexa {

namespace {

constexpr const wchar_t* kHelpTopic = L"Customize_group_messages.htm";

// Replaces the first "%s" (letter case ignored) at or after `from` by value; returns where the
// text after the value starts, so that a second replacement never reads the first value.
std::size_t FillOne(std::wstring& caption, const std::wstring& value, std::size_t from = 0) {
    const std::size_t at = text::FindNoCase(caption, L"%s", from);
    if (at == text::npos) {
        return caption.size();
    }
    caption.replace(at, 2, value);
    return at + value.size();
}

}  // namespace

frmEmptyField::frmEmptyField(Services& services, EmptyFieldArgs& args)
    : Form(L"frmEmptyField"), m_services(services), m_args(args) {
    caption = L"Plexa - Empty Field";
    Add(L"lbl1a", ControlType::Label).caption = L"Contact \"%s\" contains an empty field: %s.";
    Add(L"lbl2a", ControlType::Label).caption =
        L"Select the option to be applied to this e-mail and ALL THE OTHER e-mails containing "
        L"an empty %s field (or when the contact is not found):";
    Add(L"lbl1b", ControlType::Label).caption =
        L"Corresponding contact for the recipient (%s) is not found.";
    Add(L"lbl2b", ControlType::Label).caption =
        L"Select the option to be applied to this e-mail and ALL THE OTHER e-mails when the "
        L"contact is not found (or contains an empty %s field):";
    Control& change = Add(L"optChangeValue", ControlType::OptionButton);
    change.caption = L"Change %s by the following value:";
    change.onClick = [this] { OptionClicked(L"optChangeValue"); };
    Add(L"txtValue", ControlType::TextBox);
    Control& drafts = Add(L"optSave2Drafts", ControlType::OptionButton);
    drafts.caption = L"Skip (don't send) all such e-mails and save them in Drafts";
    drafts.onClick = [this] { OptionClicked(L"optSave2Drafts"); };
    Add(L"Label3", ControlType::Label).caption =
        L"Click \"Cancel\" to stop e-mail processing. No e-mails will be sent to the recipients "
        L"in this case.";
    AddButton(L"btnOK", L"OK", [this] { btnOK_Click(); });
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
    AddButton(L"btnHelp", L"Help", [this] { btnHelp_Click(); });
}

void frmEmptyField::OnLoad() {
    m_activatedOnce = false;
    m_closingByProgram = false;
    m_focusedControl.clear();
    m_services.Lang().LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    m_args.cancelled = false;

    Form& form = *this;
    if (m_args.contactFound) {
        std::wstring& first = form[L"lbl1a"].caption;
        FillOne(first, m_args.token, FillOne(first, m_args.contactName));
        FillOne(form[L"lbl2a"].caption, m_args.token);
    } else {
        FillOne(form[L"lbl1b"].caption, m_args.recipientAddress);
        FillOne(form[L"lbl2b"].caption, m_args.token);
    }
    form[L"lbl1a"].visible = m_args.contactFound;
    form[L"lbl2a"].visible = m_args.contactFound;
    form[L"lbl1b"].visible = !m_args.contactFound;
    form[L"lbl2b"].visible = !m_args.contactFound;

    form[L"txtValue"].text = m_args.value;
    form[L"optSave2Drafts"].value = m_args.preselectDrafts ? -1 : 0;
    form[L"optChangeValue"].value = m_args.preselectDrafts ? 0 : -1;
    FillOne(form[L"optChangeValue"].caption, m_args.token);
    m_topmost = m_args.onTop;
    caption = m_args.caption;
    form[L"txtValue"].enabled = ChangeValueChosen();
}

void frmEmptyField::OnActivate() {
    if (m_activatedOnce) {
        return;
    }
    m_activatedOnce = true;
    if (ChangeValueChosen()) {
        m_focusedControl = L"txtValue";
    }
}

bool frmEmptyField::OnQueryUnload() {
    if (!m_closingByProgram) {
        m_args.cancelled = true;
    }
    return true;
}

bool frmEmptyField::ChangeValueChosen() {
    return (*this)[L"optChangeValue"].value != 0;
}

void frmEmptyField::OptionClicked(const std::wstring& chosen) {
    // Both options form one group: choosing one clears the other.
    Form& form = *this;
    if (form[chosen].value != 0) {
        form[chosen == L"optChangeValue" ? L"optSave2Drafts" : L"optChangeValue"].value = 0;
    }
    form[L"txtValue"].enabled = ChangeValueChosen();
}

void frmEmptyField::btnOK_Click() {
    const bool change = ChangeValueChosen();
    const std::wstring& entered = (*this)[L"txtValue"].text;
    if (change && entered.empty()) {
        try {
            m_services.Ports().ui.MsgBox(
                m_services.Lang().Item(L"LID_PROMPT_VALIDATE_MESSAGE1", {Variant(m_args.token)}),
                mb::OkOnly | mb::IconExclamation | (m_args.onTop ? mb::Topmost : mb::SetForeground),
                caption);
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmEmptyField::btnOK_Click", e);
        }
        m_focusedControl = L"txtValue";
        return;
    }
    m_args.cancelled = false;
    m_args.value = change ? entered : std::wstring();
    Close();
}

void frmEmptyField::btnCancel_Click() {
    m_args.cancelled = true;
    Close();
}

void frmEmptyField::btnHelp_Click() {
    mHelp::ShowHelpTopic(m_services, kHelpTopic);
}

void frmEmptyField::Close() {
    m_closingByProgram = true;
    unloaded = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmEmptyField::Close", e);
    }
}

bool ShowEmptyField(Services& services, IPleaseWait& pleaseWait, EmptyFieldArgs& args) {
    const bool hidePleaseWait = pleaseWait.Visible();
    if (hidePleaseWait) {
        pleaseWait.SetVisible(false);
    }
    IUiShell& ui = services.Ports().ui;
    frmEmptyField dialog(services, args);
    const UnloadOnExit unload(ui, dialog, L"frmEmptyField::ShowEmptyField");
    try {
        ui.Show(dialog, true);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmEmptyField::ShowEmptyField", e);
        args.cancelled = true;
    }
    if (hidePleaseWait) {
        pleaseWait.SetVisible(true);
    }
    return args.cancelled;
}

}  // namespace plexa
