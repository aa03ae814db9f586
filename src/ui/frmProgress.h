// The progress window of long recipient work: a bar with the text of the running stage
// (1 gathering items, 2 resolving recipients, 3 adding them) and a Cancel button. The caller
// shows it modeless, initialises a stage, steps once per item and polls Cancel; the window keeps
// the host responsive by letting pending window messages run at every step.
#pragma once

#include <cstdint>

#include "core/Form.h"

namespace plexa {

class Services;

class frmProgress : public Form {
public:
    explicit frmProgress(Services& services);

    void OnLoad() override;
    // Refuses the title bar's close box: only ProgressDone closes the window.
    bool OnQueryUnload() override { return m_closingByProgram; }

    // Sets the bar to 0 of maximum and shows the text of the stage (1 to 3).
    void ProgressInit(int32_t maximum, int32_t stage);
    void ProgressStep();
    // True once the user asked to cancel (and, in stage 3, confirmed it).
    bool Cancel() const { return m_cancel; }
    // Closes the window on the program's behalf.
    void ProgressDone();

    // The Cancel button.
    void btnCancel_Click();

private:
    void RefreshStageTexts();

    Services& m_services;
    bool m_cancel = false;
    bool m_closingByProgram = false;
};

}  // namespace plexa
