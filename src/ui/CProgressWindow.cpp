#include "ui/CProgressWindow.h"

#include "settings/Services.h"
#include "ui/frmProgress.h"

namespace plexa {

void CProgressWindow::Init(int32_t stage, int32_t maximum) {
    m_services.Ports().ui.Show(m_window, false);
    m_window.ProgressInit(maximum, stage);
}

bool CProgressWindow::Step() {
    m_window.ProgressStep();
    return m_window.Cancel();
}

void CProgressWindow::Done() {
    if (m_services.Ports().ui.IsLoaded(m_window)) {
        m_window.ProgressDone();
    }
}

}  // namespace plexa
