// The dialog that asks what to do when a placeholder has no value for a recipient: type a value
// to use, keep every copy lacking the value in Drafts, or cancel the whole send. The caller fills
// the exchange record, shows the dialog modal (ShowEmptyField) and reads the answer back.
#pragma once

#include <string>

#include "core/Form.h"

namespace plexa {

class IPleaseWait;
class Services;

struct EmptyFieldArgs {
    // In.
    std::wstring recipientName;
    std::wstring recipientAddress;
    std::wstring token;  // the placeholder in its localised form
    std::wstring value;  // in: the suggested value; out: the answer ("" = keep in Drafts)
    bool preselectDrafts = false;
    bool contactFound = false;
    std::wstring contactName;
    bool onTop = false;  // the message window edits in Word
    std::wstring caption;
    // Out.
    bool cancelled = false;
};

class frmEmptyField : public Form {
public:
    frmEmptyField(Services& services, EmptyFieldArgs& args);

    void OnLoad() override;
    void OnActivate() override;
    // The close box stops the send, as Cancel does: closing the question must not send mail.
    bool OnQueryUnload() override;

    void btnOK_Click();
    void btnCancel_Click();
    void btnHelp_Click();

    bool Topmost() const { return m_topmost; }
    // The control that has the keyboard focus; "" when the dialog has not placed it.
    const std::wstring& FocusedControl() const { return m_focusedControl; }

private:
    // The text box takes input only while "change value" is chosen.
    void OptionClicked(const std::wstring& chosen);
    bool ChangeValueChosen();
    void Close();

    Services& m_services;
    EmptyFieldArgs& m_args;
    bool m_topmost = false;
    bool m_activatedOnce = false;
    bool m_closingByProgram = false;
    std::wstring m_focusedControl;
};

// Shows the dialog modal with the record's input, hiding the please-wait window while it is
// open (when it was visible). Returns the record's cancelled flag; when it is false, the
// record's value is the answer. A dialog that cannot be shown counts as cancelled.
bool ShowEmptyField(Services& services, IPleaseWait& pleaseWait, EmptyFieldArgs& args);

}  // namespace plexa
