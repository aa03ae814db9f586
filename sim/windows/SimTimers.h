// Timers on the simulated clock. A timer falls due every interval after it was set; moving the
// clock forward (SimClock::AdvanceSeconds) fires the due timers in order of their due moment,
// ties in the order they were set, each with the clock standing at its moment, and a timer that
// the clock passes several times fires several times. DoEvents (SimWindowMessages) also fires
// what is due at the present moment. A timer does not fire again while its own procedure runs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/ITimers.h"
#include "sim/Faults.h"
#include "sim/SimClock.h"

namespace plexa::sim {

class SimTimers : public ITimers, private SimClock::DueWork {
public:
    SimTimers(Faults& faults, SimClock& clock);
    ~SimTimers() override;
    SimTimers(const SimTimers&) = delete;
    SimTimers& operator=(const SimTimers&) = delete;

    TimerId SetTimer(TimerId id, uint32_t elapse, TimerProc proc) override;
    bool KillTimer(TimerId id) override;
    uint32_t GetTickCount() override;

    // Simulation controls.
    // Fires every timer due at the present moment; returns how many fired.
    int RunDueNow();
    // The running timers' ids, in order of setting.
    std::vector<TimerId> Running() const;
    // A running timer's interval in milliseconds and its next due tick; nothing when not running.
    std::optional<uint32_t> Interval(TimerId id) const;
    std::optional<uint64_t> DueAt(TimerId id) const;
    // How many times timers have fired in all.
    int Fired() const { return m_fired; }

private:
    struct Timer {
        uint32_t interval = 0;
        uint64_t due = 0;
        uint64_t order = 0;  // when it was (re)set, for ties
        TimerProc proc;
        bool running = false;  // its procedure is on the stack
    };

    std::optional<uint64_t> NextDue() override;
    void RunDue() override;
    // The due timer to fire next at the present tick, or 0.
    TimerId NextToFire() const;

    Faults& m_faults;
    SimClock& m_clock;
    std::map<TimerId, Timer> m_timers;
    TimerId m_nextId = 1;
    uint64_t m_nextOrder = 0;
    int m_fired = 0;
};

}  // namespace plexa::sim
