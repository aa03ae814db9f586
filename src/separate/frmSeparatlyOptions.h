// The dialog that sets the grouping of separate sending: recipients per group and minutes
// between groups (the add-in-wide settings), and whether it shows again when grouping is switched
// on in a message window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Form.h"

namespace plexa {

class Services;

class frmSeparatlyOptions : public Form {
public:
    // The ranges of the two up-down controls and their design values.
    static constexpr int32_t kMinRecipients = 1;
    static constexpr int32_t kMaxRecipients = 1000;
    static constexpr int32_t kMinInterval = 1;
    static constexpr int32_t kMaxInterval = 1440;

    frmSeparatlyOptions(Services& services, bool onTop);

    void OnLoad() override;
    void OnActivate() override;

    void btnOK_Click();
    void btnCancel_Click();
    void btnHelp_Click();

    bool Topmost() const { return m_topmost; }

private:
    // The number a text box holds, kept to its up-down control's range; the control's value
    // when the text is no number.
    int32_t ReadValue(const std::wstring& textBox, const std::wstring& upDown);
    void Close();

    Services& m_services;
    bool m_onTop;
    bool m_topmost = false;
    bool m_activatedOnce = false;
};

// Shows the dialog modal; afterwards updateInspectorButtons (when given) refreshes the
// send-mode buttons of the open message windows, whose tooltips show the group size.
void ShowSeparatlyOptions(Services& services, bool onTop,
                          const std::function<void()>& updateInspectorButtons);

}  // namespace plexa
