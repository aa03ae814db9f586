#include "ui/frmProgress.h"

#include "core/HostError.h"
#include "platform/IUiShell.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

frmProgress::frmProgress(Services& services) : Form(L"frmProgress"), m_services(services) {
    caption = L"Plexa - Progress";
    Add(L"Label1", ControlType::Label).caption =
        L"Please wait while Plexa completes adding recipients.";
    Add(L"barProgress", ControlType::ProgressBar);
    for (const wchar_t* name : {L"lblProgress1", L"lblProgress2", L"lblProgress3"}) {
        Add(name, ControlType::Label).visible = false;
    }
    Add(L"Image1", ControlType::Image);
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
}

void frmProgress::OnLoad() {
    m_cancel = false;
    m_closingByProgram = false;
    m_services.Lang().LocalizeForm(*this);
    picture = m_services.Options().MAIN_ICON();
    // Owned by the window in front (the mail client's), so it stays in front of it.
    IUiShell& ui = m_services.Ports().ui;
    ui.SetOwner(*this, ui.GetForegroundWindow());
}

void frmProgress::RefreshStageTexts() {
    const Control& bar = (*this)[L"barProgress"];
    for (int stage = 1; stage <= 3; ++stage) {
        (*this)[L"lblProgress" + std::to_wstring(stage)].caption = m_services.Lang().Item(
            L"LID_PROGRESS_STAGE" + std::to_wstring(stage), {bar.value, bar.max});
    }
}

void frmProgress::ProgressInit(int32_t maximum, int32_t stage) {
    try {
        Control& bar = (*this)[L"barProgress"];
        bar.min = 0;
        bar.max = maximum;
        bar.value = 0;
        if (stage < 1 || stage > 3) {
            mGlobals::LogError(L"frmProgress::ProgressInit", 0,
                               L"Invalid Stage = " + std::to_wstring(stage));
        }
        for (int n = 1; n <= 3; ++n) {
            (*this)[L"lblProgress" + std::to_wstring(n)].visible = n == stage;
        }
        RefreshStageTexts();
        m_services.LetMessagesRun();
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmProgress::ProgressInit", e);
    }
}

void frmProgress::ProgressStep() {
    try {
        Control& bar = (*this)[L"barProgress"];
        if (bar.value < bar.max) {
            ++bar.value;
        }
        RefreshStageTexts();
        m_services.LetMessagesRun();
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmProgress::ProgressStep", e);
    }
}

void frmProgress::ProgressDone() {
    m_closingByProgram = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmProgress::ProgressDone", e);
        // Out of the user's way at least; the next run unloads it.
        try {
            m_services.Ports().ui.Hide(*this);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): logged just above
        }
    }
}

void frmProgress::btnCancel_Click() {
    try {
        // Adding to the message or list is nearly done by stage 3: cancelling then asks first.
        if ((*this)[L"lblProgress3"].visible) {
            const int32_t answer =
                m_services.Ports().ui.MsgBox(m_services.Lang().Item(L"LID_PROMPT_PROGRESS_CANCEL"),
                                             mb::YesNo | mb::IconQuestion, caption);
            if (answer != mb::IdYes) {
                return;
            }
        }
        m_cancel = true;
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmProgress::btnCancel_Click", e);
    }
}

}  // namespace plexa
