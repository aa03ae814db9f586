// The small "Please wait" window with moving dots, shown by CPleaseWait while a long action runs.
#pragma once

#include <string>

#include "core/Form.h"
#include "platform/IWindowMessages.h"

namespace plexa {

class Services;

class frmPleaseWait : public Form {
public:
    explicit frmPleaseWait(Services& services);

    void OnLoad() override;
    void OnUnload() override;
    // The dots after the base text go 0, 1, 2, 3, 2, 1, 0 ... one step per call.
    void MoveDots();

private:
    Services& m_services;
    std::wstring m_baseText;
    int m_dotCounter = 3;
    WindowHandle m_previousOwner = 0;
};

}  // namespace plexa
