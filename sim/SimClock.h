// The simulated clock: it moves only when told. The time zone and which bias the system reports
// in effect are settable.
#pragma once

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

    // Simulation controls.
    void SetUtc(OleDate utc) { m_utc = utc; }
    // Sets the clock so that local time (with the bias in effect) is the given time.
    void SetLocal(OleDate local);
    void AdvanceSeconds(double seconds);
    void SetTimeZone(TimeZoneInformation info, TimeZoneId inEffect);
    // Minutes to add to local time to get UTC, with the bias in effect now.
    int32_t BiasInEffect() const;

private:
    Faults& m_faults;
    OleDate m_utc;
    TimeZoneInformation m_zone;
    TimeZoneId m_id = TimeZoneId::Unknown;
};

}  // namespace plexa::sim
