#include "addin/frmDummy.h"

#include "addin/Connect.h"
#include "core/Text.h"
#include "host/outlook/Application.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "ui/CPleaseWait.h"

namespace plexa {

frmDummy::frmDummy(Connect& connect) : Form(L"frmDummy"), m_connect(connect) {
    for (const auto& slot : m_timers) {
        Add(slot.name, ControlType::Timer).enabled = false;
    }
}

frmDummy::~frmDummy() {
    for (const auto& slot : m_timers) {
        try {
            SetTimerEnabled(slot.name, false);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the form goes regardless
        }
    }
}

frmDummy::TimerSlot* frmDummy::Slot(const std::wstring& timer) {
    for (auto& slot : m_timers) {
        if (text::EqualsNoCase(slot.name, timer)) {
            return &slot;
        }
    }
    throw RuntimeError(vberr::InvalidProcedureCall);
}

void frmDummy::SetTimerEnabled(const std::wstring& timer, bool enabled) {
    TimerSlot& slot = *Slot(timer);
    Control& control = (*this)[slot.name];
    ITimers& timers = m_connect.GetServices().Ports().timers;
    if (enabled && slot.id == 0) {
        const std::wstring name = slot.name;
        slot.id = timers.SetTimer(0, slot.interval, [this, name](TimerId) { Fire(name); });
    } else if (!enabled && slot.id != 0) {
        const TimerId id = slot.id;
        slot.id = 0;
        timers.KillTimer(id);
    }
    control.enabled = enabled && slot.id != 0;
}

bool frmDummy::TimerEnabled(const std::wstring& timer) {
    return (*this)[Slot(timer)->name].enabled;
}

void frmDummy::Fire(const std::wstring& timer) {
    // A timer's work never lets a host error out into the message loop.
    try {
        if (timer == L"tmrSendLater") {
            tmrSendLater_Timer();
        } else if (timer == L"tmrActivateExplorer") {
            tmrActivateExplorer_Timer();
        } else {
            tmrRecreateInspBars_Timer();
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmDummy::" + timer + L"_Timer", e);
    }
}

void frmDummy::tmrSendLater_Timer() {
    SetTimerEnabled(L"tmrSendLater", false);
    SendLater();
    SetTimerEnabled(L"tmrSendLater", true);
}

void frmDummy::tmrActivateExplorer_Timer() {
    SetTimerEnabled(L"tmrActivateExplorer", false);
    const auto& application = m_connect.GetServices().host.application;
    if (application) {
        if (const auto explorer = application->ActiveExplorer()) {
            explorer->Activate();
        }
    }
}

void frmDummy::tmrRecreateInspBars_Timer() {
    SetTimerEnabled(L"tmrRecreateInspBars", false);
    if (m_connect.Connected()) {
        m_connect.RecreateInspectorBars();
    }
}

void frmDummy::SendLater() {
    if (m_connect.PleaseWait().ActionCount() > 0) {
        return;
    }
    // Waits for the send-later queue: sending the entries that are due and compacting the
    // queue (NeedSend, GetSendList, Move to the Outbox, the safe item's Send, Remove, Save).
}

}  // namespace plexa
