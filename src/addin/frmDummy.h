// The hidden form that carries the add-in's timers; it is never shown. Enabling a timer starts
// it through the timer port; unloading the form (destroying it) stops them all.
//   tmrSendLater          60,000 ms  one send-later pass, then it runs again a minute later
//   tmrActivateExplorer      100 ms  one shot: brings the active folder window to the front
//   tmrRecreateInspBars        1 ms  one shot: rebuilds the message windows' bars
// Every handler first disables its own timer, so passes never overlap.
#pragma once

#include <cstdint>
#include <string>

#include "core/Form.h"
#include "platform/ITimers.h"

namespace plexa {

class Connect;

class frmDummy : public Form {
public:
    // The form belongs to the add-in's Connect, whose services carry the timers.
    explicit frmDummy(Connect& connect);
    ~frmDummy() override;
    frmDummy(const frmDummy&) = delete;
    frmDummy& operator=(const frmDummy&) = delete;

    // The timer's Enabled property. Throws HostError when the timer port cannot start it.
    void SetTimerEnabled(const std::wstring& timer, bool enabled);
    bool TimerEnabled(const std::wstring& timer);

    // The timers' handlers.
    void tmrSendLater_Timer();
    void tmrActivateExplorer_Timer();
    void tmrRecreateInspBars_Timer();
    // One pass of the send-later queue.
    void SendLater();

private:
    struct TimerSlot {
        const wchar_t* name;
        uint32_t interval;
        TimerId id = 0;
    };
    TimerSlot* Slot(const std::wstring& timer);
    void Fire(const std::wstring& timer);

    Connect& m_connect;
    TimerSlot m_timers[3] = {
        {L"tmrSendLater", 60000}, {L"tmrActivateExplorer", 100}, {L"tmrRecreateInspBars", 1}};
};

}  // namespace plexa
