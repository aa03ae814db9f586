#include "core/Text.h"

#include <gtest/gtest.h>

namespace plexa::text {
namespace {

TEST(Text, CaseMappingIsPerCharacterSoPositionsNeverShift) {
    EXPECT_EQ(ToLower(L"ÄÖÜ Straße KÖLN"), L"äöü straße köln");
    EXPECT_EQ(ToUpper(L"straße"), L"STRAßE");  // no expansion to "SS"
    EXPECT_EQ(ToLower(L"İstanbul").size(), std::wstring(L"İstanbul").size());
    EXPECT_EQ(ToUpper(L"ωμέγα"), L"ΩΜΈΓΑ");

    EXPECT_EQ(FindNoCase(L"Grüße aus KÖLN", L"köln"), 10u);
    EXPECT_EQ(FindNoCase(L"abcABC", L"C", 3), 5u);
    EXPECT_EQ(FindNoCase(L"abc", L"x"), npos);
    EXPECT_EQ(FindNoCase(L"abc", L"", 1), 1u);
    EXPECT_EQ(FindNoCase(L"abc", L"c", 9), npos);

    EXPECT_TRUE(EqualsNoCase(L"%FirstName%", L"%FIRSTNAME%"));
    EXPECT_FALSE(EqualsNoCase(L"abc", L"abcd"));
    EXPECT_LT(CompareNoCase(L"apple", L"BANANA"), 0);
    EXPECT_GT(CompareNoCase(L"b", L"A"), 0);
    EXPECT_TRUE(StartsWithNoCase(L"OrvinPlexa.SendMode", L"orvinplexa."));
    EXPECT_TRUE(EndsWithNoCase(L"Plexa.LOG", L".log"));
}

TEST(Text, ReplaceAllNeverRescansWhatItInserted) {
    EXPECT_EQ(ReplaceAllNoCase(L"aAa", L"a", L"aa"), L"aaaaaa");
    EXPECT_EQ(ReplaceAllNoCase(L"Dear %FIRSTNAME%, %firstname%!", L"%FirstName%", L"Ann"),
              L"Dear Ann, Ann!");
    EXPECT_EQ(ReplaceAll(L"a\\b\\c", L"\\", L"\\\\"), L"a\\\\b\\\\c");
    EXPECT_EQ(ReplaceAll(L"Aa", L"a", L"x"), L"Ax");  // exact match only
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
}

TEST(Text, TrimsSplitAndJoin) {
    EXPECT_EQ(Trim(L"  a b \t "), L"a b \t");
    EXPECT_EQ(TrimSpacesTabs(L" \t a b \t "), L"a b");
    EXPECT_EQ(TrimLeft(L"  x "), L"x ");
    EXPECT_EQ(TrimRight(L"  x "), L"  x");

    EXPECT_TRUE(Split(L"", L",").empty());
    EXPECT_EQ(Split(L"a,,b,", L","), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
    EXPECT_EQ(Split(L"id\\45000.5", L"\\"), (std::vector<std::wstring>{L"id", L"45000.5"}));
    EXPECT_EQ(Split(L"abc", L""), (std::vector<std::wstring>{L"abc"}));
    EXPECT_EQ(Join({L"a", L"", L"b"}, L"; "), L"a; ; b");
    EXPECT_EQ(Join(Split(L"x::y::z", L"::"), L"::"), L"x::y::z");
}

TEST(Text, Utf8AtTheEdges) {
    const std::wstring mixed = L"Zoë – 東京 😀";
    EXPECT_EQ(FromUtf8(ToUtf8(mixed)), mixed);
    EXPECT_EQ(ToUtf8(L"é"), "\xC3\xA9");
    // Malformed input is replaced, never dropped silently or thrown.
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              L"a\uFFFDb");
    EXPECT_EQ(FromUtf8(""), L"");
}

TEST(Text, AnsiCodePagesReplaceWhatTheyLackWithQuestionMarks) {
    EXPECT_EQ(ToAnsi(L"Café €"), "Caf\xE9 \x80");
    EXPECT_EQ(FromAnsi("Caf\xE9 \x80"), L"Café €");
    EXPECT_EQ(ToAnsi(L"Ωmega 東"), "?mega ?");
    // No best-fit: a letter with a macron does not quietly lose it.
    EXPECT_EQ(ToAnsi(L"ā"), "?");
    EXPECT_EQ(ToAnsi(L"Привет", "windows-1251"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(FromAnsi("\xCF\xF0\xE8\xE2\xE5\xF2", "windows-1251"), L"Привет");
    // An unknown code page falls back to windows-1252 rather than losing the text.
    EXPECT_EQ(ToAnsi(L"é", "no-such-codepage"), "\xE9");
}

}  // namespace
}  // namespace plexa::text
