#include "recipients/frmRecipientProp.h"

#include "core/HostError.h"
#include "platform/IUiShell.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

frmRecipientProp::frmRecipientProp(Services& services, RecipientPropArgs& args)
    : Form(L"frmRecipientProp"), m_services(services), m_args(args) {
    caption = L"Recipient property";
    Add(L"lblDescription", ControlType::Label);
    Add(L"lblProperty", ControlType::Label);
    Add(L"txtValue", ControlType::TextBox);
    AddButton(L"btnOK", L"OK", [this] { btnOK_Click(); });
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
}

void frmRecipientProp::OnLoad() {
    m_activatedOnce = false;
    m_closingByProgram = false;
    m_focusedControl.clear();
    m_services.Lang().LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    (*this)[L"lblDescription"].caption = m_services.Lang().Item(
        m_args.contactFound ? L"LID_CONTACT_EMPTYPROPERTY" : L"LID_CONTACT_NOT_FOUND",
        {Variant(m_args.recipientName)});
    (*this)[L"lblProperty"].caption = m_args.propertyName;
    (*this)[L"txtValue"].text = m_args.value;
    m_topmost = m_args.stayOnTop;
    caption = m_args.caption;
    m_args.cancelled = false;
}

void frmRecipientProp::OnActivate() {
    if (m_activatedOnce) {
        return;
    }
    m_activatedOnce = true;
    if (m_args.stayOnTop) {
        m_focusedControl = L"txtValue";
    }
}

bool frmRecipientProp::OnQueryUnload() {
    if (!m_closingByProgram) {
        m_args.cancelled = true;
    }
    return true;
}

void frmRecipientProp::btnOK_Click() {
    const std::wstring& entered = (*this)[L"txtValue"].text;
    if (entered.empty()) {
        try {
            m_services.Ports().ui.MsgBox(m_services.Lang().Item(L"LID_PROMPT_VALIDATE_MESSAGE2",
                                                                {Variant(m_args.propertyName)}),
                                         mb::OkOnly | mb::IconExclamation, caption);
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmRecipientProp::btnOK_Click", e);
        }
        m_focusedControl = L"txtValue";
        return;
    }
    m_args.value = entered;
    m_args.cancelled = false;
    Close();
}

void frmRecipientProp::btnCancel_Click() {
    m_args.cancelled = true;
    Close();
}

void frmRecipientProp::Close() {
    m_closingByProgram = true;
    unloaded = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmRecipientProp::Close", e);
    }
}

}  // namespace plexa
