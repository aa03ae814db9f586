#include "core/OleDate.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/HostError.h"
#include "core/Text.h"
#include "core/Variant.h"

namespace plexa {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1 January 1970 for a proleptic Gregorian date (Howard Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

// Day 0 of the host's calendar, 30 December 1899, counted from 1 January 1970.
const int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

// The host's date value as a linear count of seconds since 30 December 1899, rounded.
int64_t ToLinearSeconds(double value) {
    // A negative date's fraction still runs forwards from the start of its day, so the time of
    // day is always added: -1.25 is day -1 plus six hours.
    const double whole = std::trunc(value);
    const auto fracSecs =
        static_cast<int64_t>(std::llround(std::fabs(value - whole) * kSecondsPerDay));
    return static_cast<int64_t>(whole) * kSecondsPerDay + fracSecs;
}

double FromLinearSeconds(int64_t secs) {
    const int64_t day =
        secs >= 0 ? secs / kSecondsPerDay : -((-secs + kSecondsPerDay - 1) / kSecondsPerDay);
    const int64_t tod = secs - day * kSecondsPerDay;
    const double frac = static_cast<double>(tod) / kSecondsPerDay;
    if (day >= 0) {
        return static_cast<double>(day) + frac;
    }
    return static_cast<double>(day) - frac;
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) {
        return 29;
    }
    return kDays[m - 1];
}

void CheckYear(int year) {
    if (year < 100 || year > 9999) {
        throw RuntimeError(vberr::InvalidProcedureCall);
    }
}

}  // namespace

OleDate OleDate::FromParts(int year, int month, int day, int hour, int minute, int second) {
    // Months roll into years first, as DateSerial does.
    int64_t m0 = static_cast<int64_t>(month) - 1;
    int64_t y = year + (m0 >= 0 ? m0 / 12 : -((-m0 + 11) / 12));
    m0 -= (y - year) * 12;
    CheckYear(static_cast<int>(y));
    const int64_t days = DaysFromCivil(y, m0 + 1, 1) - kEpochOffset + (day - 1);
    const int64_t secs =
        days * kSecondsPerDay + int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
    OleDate result(FromLinearSeconds(secs));
    CheckYear(result.Year());
    return result;
}

OleDate::Parts OleDate::Split() const {
    const int64_t secs = ToLinearSeconds(m_value);
    const int64_t day =
        secs >= 0 ? secs / kSecondsPerDay : -((-secs + kSecondsPerDay - 1) / kSecondsPerDay);
    const int64_t tod = secs - day * kSecondsPerDay;
    Parts p{};
    CivilFromDays(day + kEpochOffset, p.year, p.month, p.day);
    p.hour = static_cast<int>(tod / 3600);
    p.minute = static_cast<int>((tod / 60) % 60);
    p.second = static_cast<int>(tod % 60);
    return p;
}

int OleDate::Year() const {
    return Split().year;
}
int OleDate::Month() const {
    return Split().month;
}
int OleDate::Day() const {
    return Split().day;
}
int OleDate::Hour() const {
    return Split().hour;
}
int OleDate::Minute() const {
    return Split().minute;
}
int OleDate::Second() const {
    return Split().second;
}

int OleDate::Weekday() const {
    const int64_t secs = ToLinearSeconds(m_value);
    const int64_t day =
        secs >= 0 ? secs / kSecondsPerDay : -((-secs + kSecondsPerDay - 1) / kSecondsPerDay);
    // 30 December 1899 was a Saturday (7).
    const int64_t w = ((day + 6) % 7 + 7) % 7;
    return static_cast<int>(w) + 1;
}

OleDate OleDate::DateAdd(std::wstring_view interval, double number) const {
    const auto n = static_cast<int64_t>(std::trunc(number));
    const std::wstring unit = text::ToLower(interval);
    int64_t seconds = 0;
    int64_t months = 0;
    if (unit == L"s") {
        seconds = n;
    } else if (unit == L"n") {
        seconds = n * 60;
    } else if (unit == L"h") {
        seconds = n * 3600;
    } else if (unit == L"d" || unit == L"y" || unit == L"w") {
        seconds = n * kSecondsPerDay;
    } else if (unit == L"ww") {
        seconds = n * 7 * kSecondsPerDay;
    } else if (unit == L"m") {
        months = n;
    } else if (unit == L"q") {
        months = n * 3;
    } else if (unit == L"yyyy") {
        months = n * 12;
    } else {
        throw RuntimeError(vberr::InvalidProcedureCall);
    }
    if (months == 0) {
        OleDate result(FromLinearSeconds(ToLinearSeconds(m_value) + seconds));
        CheckYear(result.Year());
        return result;
    }
    const Parts p = Split();
    const int64_t total = int64_t{p.year} * 12 + (p.month - 1) + months;
    const auto y = static_cast<int>(total >= 0 ? total / 12 : -((-total + 11) / 12));
    const auto m = static_cast<int>(total - int64_t{y} * 12) + 1;
    CheckYear(y);
    const int d = std::min(p.day, DaysInMonth(y, m));
    return FromParts(y, m, d, p.hour, p.minute, p.second);
}

std::wstring OleDate::ToText(const Locale& locale) const {
    return CStr(Variant(m_value), locale);
}

std::optional<OleDate> OleDate::FromText(std::wstring_view textValue, const Locale& locale) {
    const Variant v{std::wstring(textValue)};
    if (!IsNumeric(v, locale) || text::Trim(textValue).empty()) {
        return std::nullopt;
    }
    try {
        return OleDate(CDbl(v, locale));
    } catch (const HostError&) {
        return std::nullopt;
    }
}

std::wstring OleDate::ToIsoText() const {
    const Parts p = Split();
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
    return buf;
}

}  // namespace plexa
