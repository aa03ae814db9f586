// The progress of recipient work shown in the progress window (frmProgress): Init shows the
// window modeless and starts a stage, Step moves the bar and reports the Cancel button, Done
// closes the window. The window itself belongs to the caller, who may look at it.
#pragma once

#include <cstdint>

#include "settings/IProgress.h"

namespace plexa {

class Services;
class frmProgress;

class CProgressWindow : public IProgress {
public:
    CProgressWindow(Services& services, frmProgress& window)
        : m_services(services), m_window(window) {}

    void Init(int32_t stage, int32_t maximum) override;
    bool Step() override;
    void Done() override;

    frmProgress& Window() { return m_window; }

private:
    Services& m_services;
    frmProgress& m_window;
};

}  // namespace plexa
