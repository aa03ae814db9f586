#include <gtest/gtest.h>

#include "TestWorld.h"
#include "settings/mGlobals.h"

namespace plexa {
namespace {

using mGlobals::sprintf;

const std::wstring kSource = L"mGlobals::sprintf";

TEST(Sprintf, EscapesAreReadOnceAndUnknownOnesStayAndAreLogged) {
    test::TestWorld w;
    EXPECT_EQ(sprintf(L"Software\\\\Microsoft\\\\Office\\\\%d.0\\\\Outlook\\\\Preferences", 12),
              L"Software\\Microsoft\\Office\\12.0\\Outlook\\Preferences");
    EXPECT_EQ(sprintf(L"a\\nb\\Nc\\td\\Te\\\"f"), L"a\r\nb\r\nc\td\te\"f");
    // A produced backslash is not the start of a new sequence.
    EXPECT_EQ(sprintf(L"\\\\n"), L"\\n");
    EXPECT_TRUE(w.log.entries.empty());

    EXPECT_EQ(sprintf(L"C:\\x\\"), L"C:\\x\\");
    const auto errors = w.log.Of(LogLevel::Error, kSource);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, L"Invalid format specificator '\\x'");
    EXPECT_EQ(errors[0].number, 0);
    EXPECT_EQ(errors[1].text, L"Invalid format specificator '\\'");
}

TEST(Sprintf, PlaceholdersConvertAndWarnOnTheWrongType) {
    test::TestWorld w;
    EXPECT_EQ(sprintf(L"100%% of %s", L"them"), L"100% of them");
    EXPECT_EQ(sprintf(L"%d %d %d", 2.5, 3.5, L"42"), L"2 4 42");
    EXPECT_TRUE(w.log.entries.empty());

    EXPECT_EQ(sprintf(L"n=%s", 7), L"n=7");
    auto warnings = w.log.Of(LogLevel::Warning, kSource);
    ASSERT_EQ(warnings.size(), 1u);  // one, and only one
    EXPECT_EQ(warnings[0].text, L"VarType(3) <> vbString, Typename = Long");
    EXPECT_EQ(warnings[0].detail, 1);

    w.log.entries.clear();
    EXPECT_EQ(sprintf(L"[%d]", true), L"[-1]");
    EXPECT_TRUE(w.log.entries.empty());  // a Boolean is numeric
    EXPECT_EQ(sprintf(L"[%d]", OleDate(2.5)), L"[2]");
    warnings = w.log.Of(LogLevel::Warning, kSource);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, L"Not IsNumeric(7), Typename = Date");
}

TEST(Sprintf, UnknownSpecifiersAreDroppedAndLogged) {
    test::TestWorld w;
    EXPECT_EQ(sprintf(L"a%Sb%", L"unused"), L"ab");
    const auto errors = w.log.Of(LogLevel::Error, kSource);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, L"Invalid format specificator(S)");
    EXPECT_EQ(errors[1].text, L"Invalid format specificator()");
}

TEST(Sprintf, OneArrayArgumentIsTheArgumentList) {
    test::TestWorld w;
    const Variant three(std::vector<Variant>{L"Ann", 3, L"Bob"});
    EXPECT_EQ(sprintf(L"%s/%d/%s", three), L"Ann/3/Bob");
    // Two arguments are used as they stand: an array among them is not spread.
    EXPECT_EQ(sprintf(L"%s-%s", L"a", L"b"), L"a-b");
    EXPECT_EQ(mGlobals::FormatArgs(L"%s+%s", {L"x", L"y"}), L"x+y");
}

TEST(Sprintf, RunTimeErrorsReturnTheTextAfterEscapesAndLogTheFormat) {
    test::TestWorld w;
    EXPECT_EQ(sprintf(L"%s\\t%s", L"only one"), L"%s\t%s");
    auto errors = w.log.Of(LogLevel::Error, kSource);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 9);
    EXPECT_EQ(errors[0].text, L"Subscript out of range; %s\t%s");

    w.log.entries.clear();
    EXPECT_EQ(sprintf(L"%d items", L"many"), L"%d items");
    EXPECT_EQ(w.log.Of(LogLevel::Warning, kSource).size(), 1u);  // not numeric ...
    errors = w.log.Of(LogLevel::Error, kSource);
    ASSERT_EQ(errors.size(), 1u);  // ... and then it does not convert
    EXPECT_EQ(errors[0].number, 13);
    EXPECT_EQ(errors[0].text, L"Type mismatch; %d items");

    w.log.entries.clear();
    EXPECT_EQ(sprintf(L"%s", Variant::Null()), L"%s");
    EXPECT_EQ(w.log.Of(LogLevel::Error, kSource).at(0).number, 94);
    EXPECT_EQ(sprintf(L"%d", 1e12), L"%d");
    EXPECT_EQ(w.log.Of(LogLevel::Error, kSource).at(1).number, 6);
}

}  // namespace
}  // namespace plexa
