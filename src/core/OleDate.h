// The host's date: days since 30 December 1899 as a double, the time of day as the fraction.
// For dates before that day the integer part counts days backwards while the fraction still
// runs forwards (-1.25 is 29 December 1899, 06:00). Local time unless a name says UTC.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/Locale.h"

namespace plexa {

class OleDate {
public:
    constexpr OleDate() = default;
    constexpr explicit OleDate(double value) : m_value(value) {}

    // From calendar fields; out-of-range months, days and times roll over as the host's
    // DateSerial/TimeSerial do. Throws HostError (Invalid procedure call) outside years 100-9999.
    static OleDate FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0);

    constexpr double Value() const { return m_value; }

    // Calendar fields, rounded to the nearest second.
    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    // 1 = Sunday ... 7 = Saturday.
    int Weekday() const;

    // The host's DateAdd for "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n" and "s" (letter case
    // ignored). The number is truncated towards zero. Adding months keeps the day when the target
    // month has it and takes the month's last day otherwise. Throws HostError for another unit.
    OleDate DateAdd(std::wstring_view interval, double number) const;

    // The day number as text with the locale's decimal separator, and back. FromText accepts
    // what ToText writes (and any number the host would read), nothing else.
    std::wstring ToText(const Locale& locale = DefaultLocale()) const;
    static std::optional<OleDate> FromText(std::wstring_view text,
                                           const Locale& locale = DefaultLocale());

    // "yyyy-mm-dd hh:nn:ss", for logs and transcripts.
    std::wstring ToIsoText() const;

    friend constexpr bool operator==(OleDate a, OleDate b) { return a.m_value == b.m_value; }
    friend constexpr auto operator<=>(OleDate a, OleDate b) { return a.m_value <=> b.m_value; }

private:
    struct Parts {
        int year, month, day, hour, minute, second;
    };
    Parts Split() const;

    double m_value = 0.0;
};

}  // namespace plexa
