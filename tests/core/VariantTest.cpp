#include "core/Variant.h"

#include <gtest/gtest.h>

#include "core/HostError.h"

namespace plexa {
namespace {

struct Folder : AutomationObject {
    std::wstring TypeName() const override { return L"MAPIFolder"; }
};

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Variant, TypeNumbersAndNamesFollowTheHost) {
    struct Case {
        Variant v;
        int number;
        const wchar_t* name;
    };
    const Case cases[] = {
        {Variant(), 0, L"Empty"},
        {Variant::Null(), 1, L"Null"},
        {Variant::Integer(7), 2, L"Integer"},
        {Variant(7), 3, L"Long"},
        {Variant(1.5f), 4, L"Single"},
        {Variant(1.5), 5, L"Double"},
        {Variant::Currency(15000), 6, L"Currency"},
        {Variant(OleDate(45000)), 7, L"Date"},
        {Variant(L"x"), 8, L"String"},
        {Variant(std::make_shared<Folder>()), 9, L"MAPIFolder"},
        {Variant(std::shared_ptr<AutomationObject>()), 9, L"Nothing"},
        {Variant::Error(448), 10, L"Error"},
        {Variant(true), 11, L"Boolean"},
        {Variant::Byte(200), 17, L"Byte"},
        {Variant(std::vector<Variant>{1, L"a"}), 8204, L"Variant()"},
        {Variant::Array(VarType::String, {L"a"}), 8200, L"String()"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.v.VarTypeNumber(), c.number) << c.name;
        EXPECT_EQ(c.v.TypeName(), c.name);
    }
}

TEST(Variant, ToLongRoundsHalfToEvenAndReportsOverflow) {
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(-2.5), -2);
    EXPECT_EQ(CLng(2.5000001), 3);
    EXPECT_EQ(CLng(L"42"), 42);
    EXPECT_EQ(CLng(L" 1,000 "), 1000);
    EXPECT_EQ(CLng(L"&HFF"), 255);
    EXPECT_EQ(CLng(L"&HFFFFFFFF"), -1);
    EXPECT_EQ(CLng(true), -1);
    EXPECT_EQ(CLng(Variant()), 0);
    EXPECT_EQ(CLng(Variant::Currency(25000)), 2);
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_EQ(CLng(-2147483648.4), -2147483647 - 1);

    EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), vberr::Overflow);
    EXPECT_EQ(ErrorOf([] { CLng(1e300); }), vberr::Overflow);
    EXPECT_EQ(ErrorOf([] { CLng(Variant::Null()); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(ErrorOf([] { CLng(L"forty-two"); }), vberr::TypeMismatch);
    EXPECT_EQ(ErrorOf([] { CLng(Variant(std::vector<Variant>{1})); }), vberr::TypeMismatch);
}

TEST(Variant, ToTextUsesTheHostsNotationAndTheLocale) {
    EXPECT_EQ(CStr(Variant()), L"");
    EXPECT_EQ(CStr(true), L"True");
    EXPECT_EQ(CStr(false), L"False");
    EXPECT_EQ(CStr(0.1), L"0.1");
    EXPECT_EQ(CStr(1.0 / 3.0), L"0.333333333333333");
    EXPECT_EQ(CStr(1e20), L"1E+20");
    EXPECT_EQ(CStr(-1.5e-7), L"-1.5E-07");
    EXPECT_EQ(CStr(123456789012345.0), L"123456789012345");
    EXPECT_EQ(CStr(0.1f), L"0.1");
    EXPECT_EQ(CStr(Variant::Currency(-12345)), L"-1.2345");
    EXPECT_EQ(CStr(Variant::Currency(20000)), L"2");
    EXPECT_EQ(CStr(OleDate::FromParts(2026, 12, 6)), L"12/6/2026");
    EXPECT_EQ(CStr(OleDate::FromParts(2026, 12, 6, 15, 4, 5)), L"12/6/2026 3:04:05 PM");
    EXPECT_EQ(CStr(OleDate(0.0)), L"12:00:00 AM");

    Locale german;
    german.decimalSeparator = L',';
    german.thousandSeparator = L'.';
    EXPECT_EQ(CStr(45000.25, german), L"45000,25");
    EXPECT_DOUBLE_EQ(CDbl(L"45000,25", german), 45000.25);
    EXPECT_DOUBLE_EQ(CDbl(L"1.000,5", german), 1000.5);

    EXPECT_EQ(ErrorOf([] { CStr(Variant::Null()); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(ErrorOf([] { CStr(Variant(std::make_shared<Folder>())); }), vberr::TypeMismatch);
}

TEST(Variant, IsNumericAcceptsWhatTheHostReadsAsANumber) {
    for (const wchar_t* yes :
         {L"12", L" -3.5 ", L"1.5e3", L"2D2", L"&HFF", L"&o17", L"(5)", L"+7", L"1,234", L".5"}) {
        EXPECT_TRUE(IsNumeric(Variant(yes))) << yes;
    }
    for (const wchar_t* no :
         {L"", L"  ", L"abc", L"12abc", L"1e", L"&HG", L"--1", L"1.2.3", L",5", L"(-5)"}) {
        EXPECT_FALSE(IsNumeric(Variant(no))) << no;
    }
    EXPECT_TRUE(IsNumeric(Variant()));
    EXPECT_TRUE(IsNumeric(true));
    EXPECT_FALSE(IsNumeric(Variant::Null()));
    EXPECT_FALSE(IsNumeric(OleDate(1)));
    EXPECT_FALSE(IsNumeric(Variant::Error(5)));
    EXPECT_DOUBLE_EQ(CDbl(L"(5)"), -5.0);
    EXPECT_DOUBLE_EQ(CDbl(L"1.5e3"), 1500.0);

    // A thousands separator after the decimal separator ends the number: "1.5,3" is no number
    // (never 1.53), in either locale's spelling.
    EXPECT_FALSE(IsNumeric(Variant(L"1.5,3")));
    EXPECT_EQ(ErrorOf([] { CDbl(L"1.5,3"); }), vberr::TypeMismatch);
    Locale german;
    german.decimalSeparator = L',';
    german.thousandSeparator = L'.';
    EXPECT_FALSE(IsNumeric(Variant(L"1,5.3"), german));
    EXPECT_DOUBLE_EQ(CDbl(L"1.234,5", german), 1234.5);
}

TEST(Variant, BooleansConvertFromTextAndNumbers) {
    EXPECT_TRUE(CBool(L"TRUE"));
    EXPECT_FALSE(CBool(L"false"));
    EXPECT_TRUE(CBool(L"2"));
    EXPECT_FALSE(CBool(0));
    EXPECT_EQ(ErrorOf([] { CBool(L"yes"); }), vberr::TypeMismatch);
}

}  // namespace
}  // namespace plexa
