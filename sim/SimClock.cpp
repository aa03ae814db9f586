#include "sim/SimClock.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace plexa::sim {

SimClock::SimClock(Faults& faults)
    : m_faults(faults), m_utc(OleDate::FromParts(2026, 12, 6, 9, 0, 0)) {}

OleDate SimClock::NowUtc() {
    m_faults.Check(L"Clock.NowUtc");
    return m_utc;
}

OleDate SimClock::NowLocal() {
    m_faults.Check(L"Clock.NowLocal");
    return m_utc.DateAdd(L"n", -BiasInEffect());
}

double SimClock::Timer() {
    m_faults.Check(L"Clock.Timer");
    const OleDate local = m_utc.DateAdd(L"n", -BiasInEffect());
    return local.Hour() * 3600.0 + local.Minute() * 60.0 + local.Second();
}

TimeZoneId SimClock::GetTimeZoneInformation(TimeZoneInformation& info) {
    m_faults.Check(L"Clock.GetTimeZoneInformation");
    if (m_id == TimeZoneId::Invalid) {
        info = TimeZoneInformation{};
        return m_id;
    }
    info = m_zone;
    return m_id;
}

void SimClock::SetLocal(OleDate local) {
    m_utc = local.DateAdd(L"n", BiasInEffect());
}

void SimClock::AdvanceSeconds(double seconds) {
    AdvanceMilliseconds(std::llround(seconds * 1000.0));
}

void SimClock::AdvanceMilliseconds(int64_t milliseconds) {
    if (milliseconds < 0) {
        const int64_t seconds = milliseconds / 1000;
        m_utc = m_utc.DateAdd(L"s", static_cast<double>(seconds));
        return;
    }
    const uint64_t target = m_tick + static_cast<uint64_t>(milliseconds);
    while (m_dueWork != nullptr) {
        const std::optional<uint64_t> due = m_dueWork->NextDue();
        if (!due || *due > target) {
            break;
        }
        MoveTo(std::max(*due, m_tick));
        m_dueWork->RunDue();
    }
    MoveTo(target);
}

void SimClock::Sleep(uint32_t milliseconds) {
    m_faults.Check(L"Clock.Sleep", std::to_wstring(milliseconds));
    MoveTo(m_tick + milliseconds);
}

void SimClock::MoveTo(uint64_t tick) {
    if (tick <= m_tick) {
        return;
    }
    const int64_t total = m_subSecond + static_cast<int64_t>(tick - m_tick);
    m_tick = tick;
    m_subSecond = total % 1000;
    if (total >= 1000) {
        const int64_t seconds = total / 1000;
        m_utc = m_utc.DateAdd(L"s", static_cast<double>(seconds));
    }
}

void SimClock::SetTimeZone(TimeZoneInformation info, TimeZoneId inEffect) {
    m_zone = info;
    m_id = inEffect;
}

int32_t SimClock::BiasInEffect() const {
    switch (m_id) {
        case TimeZoneId::Daylight:
            return m_zone.bias + m_zone.daylightBias;
        case TimeZoneId::Standard:
        case TimeZoneId::Unknown:
            return m_zone.bias + m_zone.standardBias;
        case TimeZoneId::Invalid:
            break;
    }
    return m_zone.bias;
}

}  // namespace plexa::sim
