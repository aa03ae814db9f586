// The simulated clock: it moves only when told. The time zone and which bias the system reports
// in effect are settable. Besides the wall-clock time it counts milliseconds since it was made,
// as the system's tick count does; moving it forward runs the work that falls due on the way
// (the timers), each piece with the clock standing at its moment.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/IClock.h"
#include "sim/Faults.h"

namespace plexa::sim {

class SimClock : public IClock {
public:
    explicit SimClock(Faults& faults);

    OleDate NowUtc() override;
    OleDate NowLocal() override;
    double Timer() override;
    TimeZoneId GetTimeZoneInformation(TimeZoneInformation& info) override;
    // Moves the clock without running the work that falls due: timers that came due while the
    // thread slept fire at the next DoEvents. Fault: "Clock.Sleep".
    void Sleep(uint32_t milliseconds) override;

    // Simulation controls.
    void SetUtc(OleDate utc) { m_utc = utc; }
    // The time in UTC without calling the clock (no fault is checked): what the simulation
    // itself stamps on what it records.
    OleDate CurrentUtc() const { return m_utc; }
    // Sets the clock so that local time (with the bias in effect) is the given time.
    void SetLocal(OleDate local);
    // Moves the clock; a fraction of a second is kept and counts towards the next whole one.
    // Moving forward runs the due work in order; moving back changes only the wall clock.
    void AdvanceSeconds(double seconds);
    void AdvanceMilliseconds(int64_t milliseconds);
    // Milliseconds the clock has moved forward since it was made.
    uint64_t TickCount() const { return m_tick; }

    // What falls due as the clock moves forward: the tick of the next due piece (nothing when
    // none), and running what is due at the present tick.
    class DueWork {
    public:
        virtual ~DueWork() = default;
        virtual std::optional<uint64_t> NextDue() = 0;
        virtual void RunDue() = 0;
    };
    // One source of due work at a time; nullptr removes it.
    void SetDueWork(DueWork* work) { m_dueWork = work; }
    void SetTimeZone(TimeZoneInformation info, TimeZoneId inEffect);
    // Minutes to add to local time to get UTC, with the bias in effect now.
    int32_t BiasInEffect() const;

private:
    Faults& m_faults;
    OleDate m_utc;
    TimeZoneInformation m_zone;
    TimeZoneId m_id = TimeZoneId::Unknown;
    uint64_t m_tick = 0;
    // Milliseconds moved beyond the last whole second of m_utc.
    int64_t m_subSecond = 0;
    DueWork* m_dueWork = nullptr;

    // Moves the tick count (and the wall clock with it) forward to a tick.
    void MoveTo(uint64_t tick);
};

}  // namespace plexa::sim
