#include "core/OleDate.h"

#include <gtest/gtest.h>

#include "core/HostError.h"

namespace plexa {
namespace {

TEST(OleDate, CalendarFieldsRoundTripIncludingDatesBeforeDayZero) {
    const OleDate d = OleDate::FromParts(2026, 12, 6, 15, 4, 5);
    EXPECT_EQ(d.Year(), 2026);
    EXPECT_EQ(d.Month(), 12);
    EXPECT_EQ(d.Day(), 6);
    EXPECT_EQ(d.Hour(), 15);
    EXPECT_EQ(d.Minute(), 4);
    EXPECT_EQ(d.Second(), 5);
    EXPECT_EQ(d.Weekday(), 1);  // a Sunday

    EXPECT_DOUBLE_EQ(OleDate::FromParts(1899, 12, 30).Value(), 0.0);
    EXPECT_DOUBLE_EQ(OleDate::FromParts(1900, 1, 1).Value(), 2.0);
    // Before day zero the whole part counts backwards and the fraction forwards.
    const OleDate before = OleDate::FromParts(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(before.Value(), -1.25);
    EXPECT_EQ(before.Day(), 29);
    EXPECT_EQ(before.Hour(), 6);

    // Out-of-range fields roll over as the host's DateSerial does.
    EXPECT_EQ(OleDate::FromParts(2026, 13, 1), OleDate::FromParts(2027, 1, 1));
    EXPECT_EQ(OleDate::FromParts(2026, 3, 0), OleDate::FromParts(2026, 2, 28));
    EXPECT_EQ(OleDate::FromParts(2026, 0, 1), OleDate::FromParts(2025, 12, 1));
    // Fields are read to the nearest second.
    EXPECT_EQ(OleDate(d.Value() + 0.6 / 86400).Second(), 6);
    EXPECT_THROW(OleDate::FromParts(10000, 1, 1), HostError);
}

TEST(OleDate, DateAddMovesByTheUnitsTheAddinUses) {
    const OleDate start = OleDate::FromParts(2024, 1, 31, 23, 59, 30);
    EXPECT_EQ(start.DateAdd(L"s", 45), OleDate::FromParts(2024, 2, 1, 0, 0, 15));
    EXPECT_EQ(start.DateAdd(L"n", -60), OleDate::FromParts(2024, 1, 31, 22, 59, 30));
    EXPECT_EQ(start.DateAdd(L"d", 1.9), OleDate::FromParts(2024, 2, 1, 23, 59, 30));
    // A month later keeps the day where it exists and takes the month's last day otherwise.
    EXPECT_EQ(start.DateAdd(L"m", 1), OleDate::FromParts(2024, 2, 29, 23, 59, 30));
    EXPECT_EQ(start.DateAdd(L"M", 13), OleDate::FromParts(2025, 2, 28, 23, 59, 30));
    EXPECT_EQ(start.DateAdd(L"m", -2), OleDate::FromParts(2023, 11, 30, 23, 59, 30));
    EXPECT_EQ(start.DateAdd(L"yyyy", 1), OleDate::FromParts(2025, 1, 31, 23, 59, 30));
    // Century years are leap years only when divisible by 400.
    for (const int year : {1900, 2100}) {
        EXPECT_EQ(OleDate::FromParts(year, 1, 31).DateAdd(L"m", 1), OleDate::FromParts(year, 2, 28))
            << year;
    }
    EXPECT_EQ(OleDate::FromParts(2000, 1, 31).DateAdd(L"m", 1), OleDate::FromParts(2000, 2, 29));
    // Crossing day zero backwards keeps the time of day.
    const OleDate early = OleDate::FromParts(1899, 12, 30, 6, 0, 0);
    EXPECT_EQ(early.DateAdd(L"h", -12), OleDate::FromParts(1899, 12, 29, 18, 0, 0));
    EXPECT_THROW(start.DateAdd(L"fortnight", 1), HostError);
}

TEST(OleDate, TextUsesTheLocaleDecimalSeparator) {
    const OleDate d(45000.5);
    EXPECT_EQ(d.ToText(), L"45000.5");
    Locale comma;
    comma.decimalSeparator = L',';
    comma.thousandSeparator = L'.';
    EXPECT_EQ(d.ToText(comma), L"45000,5");
    EXPECT_EQ(OleDate::FromText(L"45000,5", comma), d);
    EXPECT_EQ(OleDate::FromText(d.ToText()), d);
    EXPECT_FALSE(OleDate::FromText(L""));
    EXPECT_FALSE(OleDate::FromText(L"tomorrow"));
    EXPECT_EQ(OleDate::FromParts(2026, 12, 6, 7, 8, 9).ToIsoText(), L"2026-12-06 07:08:09");
}

}  // namespace
}  // namespace plexa
