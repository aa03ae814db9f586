// The clock and the time zone. Every "now" of the add-in comes from here.
#pragma once

#include <cstdint>

#include "core/OleDate.h"

namespace plexa {

// What the system reports about daylight-saving time, as GetTimeZoneInformation does.
enum class TimeZoneId : int32_t {
    Unknown = 0,   // the zone has no daylight-saving rules
    Standard = 1,  // standard time is in effect
    Daylight = 2,  // daylight time is in effect
    Invalid = -1,  // the query failed
};

// Biases in minutes: UTC = local time + bias.
struct TimeZoneInformation {
    int32_t bias = 0;
    int32_t standardBias = 0;
    int32_t daylightBias = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual OleDate NowUtc() = 0;
    // Local time, with the bias in effect now.
    virtual OleDate NowLocal() = 0;
    // Seconds since local midnight, as the host's Timer gives them.
    virtual double Timer() = 0;
    // Fills info and reports which bias is in effect.
    virtual TimeZoneId GetTimeZoneInformation(TimeZoneInformation& info) = 0;
    // Sleep: blocks the calling thread for that many milliseconds; no window message and no
    // timer runs meanwhile.
    virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace plexa
