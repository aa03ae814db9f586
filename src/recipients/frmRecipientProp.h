// The small dialog that asks for one property value of one recipient (a placeholder value the
// contact lacks). The caller fills the argument record, shows the dialog modal and reads the
// value and the cancelled flag back from the same record.
#pragma once

#include <string>

#include "core/Form.h"

namespace plexa {

class Services;

struct RecipientPropArgs {
    // In.
    std::wstring recipientName;
    std::wstring propertyName;
    std::wstring value;  // the initial value; out: the value entered
    bool contactFound = false;
    bool stayOnTop = false;
    std::wstring caption;
    // Out.
    bool cancelled = false;
};

class frmRecipientProp : public Form {
public:
    frmRecipientProp(Services& services, RecipientPropArgs& args);

    void OnLoad() override;
    void OnActivate() override;
    // The close box counts as Cancel.
    bool OnQueryUnload() override;

    void btnOK_Click();
    void btnCancel_Click();

    // The window stays above every other window (set on loading with the stay-on-top flag).
    bool Topmost() const { return m_topmost; }
    // The control that has the keyboard focus; "" when the dialog has not placed it.
    const std::wstring& FocusedControl() const { return m_focusedControl; }

private:
    void Close();

    Services& m_services;
    RecipientPropArgs& m_args;
    bool m_topmost = false;
    bool m_activatedOnce = false;
    bool m_closingByProgram = false;
    std::wstring m_focusedControl;
};

}  // namespace plexa
