#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/Text.h"
#include "settings/LogHub.h"
#include "settings/mGlobals.h"
#include "settings/mReduceLog.h"

namespace plexa {
namespace {

const std::wstring kBase = L"C:\\Users\\User\\AppData\\Roaming\\Orvin\\Plexa\\Plexa";

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t lf = s.find('\n', pos);
        out.push_back(s.substr(pos, lf - pos));
        pos = lf == std::string::npos ? s.size() : lf + 1;
    }
    return out;
}

TEST(Logging, ErrorEntriesTakeTheCaughtErrorsNumberDescriptionAndLine) {
    test::TestWorld w;
    using mGlobals::LogError;

    LogError(L"CRecipients::Add");
    LogError(L"CRecipients::Add", 5, L"Bad argument", L"item 3");
    const HostError caught(-2147221233, L"The operation failed.", L"Outlook", 120);
    LogError(L"mPlexa::GetPlexaRecipients", caught);
    LogError(L"mPlexa::GetPlexaRecipients", caught, L"item 7");
    LogError(L"mPlexa::GetPlexaRecipients", 0, L"Replaced", std::nullopt, &caught);
    mGlobals::Assert(true, L"X::Y", L"never");
    mGlobals::Assert(false, L"X::Y", L"nItems > 0");

    const auto& e = w.log.entries;
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].number, 0);
    EXPECT_EQ(e[0].text, L"");
    EXPECT_EQ(e[1].number, 5);
    EXPECT_EQ(e[1].text, L"Bad argument; item 3");
    EXPECT_EQ(e[1].source, L"CRecipients::Add");
    EXPECT_EQ(e[2].number, -2147221233);
    EXPECT_EQ(e[2].text, L"The operation failed.");
    EXPECT_EQ(e[2].source, L"mPlexa::GetPlexaRecipients(120)");
    EXPECT_EQ(e[3].text, L"The operation failed.; item 7");
    EXPECT_EQ(e[4].number, 0);
    EXPECT_EQ(e[4].text, L"Replaced");
    EXPECT_EQ(e[5].text, L"ASSERT FAILED - nItems > 0");
    EXPECT_EQ(e[5].source, L"X::Y");
    for (const auto& entry : e) {
        EXPECT_EQ(entry.level, LogLevel::Error);
        EXPECT_EQ(entry.detail, 1);
    }
}

TEST(Logging, FilesGetAStartMarkerPerRunAndErrorsTwice) {
    test::TestWorld w;
    mGlobals::LogDebug(L"Connect::OnConnection", L"->", 1);
    mGlobals::LogWarning(L"frmChooseDL::GetFolderIconKey", L"olPostItem,\nFolder", 2);
    mGlobals::LogError(L"mReduceLog::CheckLibOrvinLog", 53, L"File not found");
    {
        Services nextRun(w.sim.Ports());  // a second run of the add-in in the same profile
        mGlobals::LogDebug(L"Connect::OnConnection", L"->", 1);
    }

    const std::string log = w.ReadFile(kBase + L".log");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), '\n');
    EXPECT_EQ(log.find('\r'), std::string::npos);
    const auto lines = Lines(log);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], ":Start:\t2026-12-06 09:00:00\tDBG\t1\t0\tPlexa\trun started");
    EXPECT_EQ(lines[1], "2026-12-06 09:00:00\tDBG\t1\t0\tConnect::OnConnection\t->");
    // A line break inside a text stays inside its line.
    EXPECT_EQ(
        lines[2],
        "2026-12-06 09:00:00\tWRN\t2\t0\tfrmChooseDL::GetFolderIconKey\tolPostItem,\\nFolder");
    EXPECT_EQ(lines[3],
              "2026-12-06 09:00:00\tERR\t1\t53\tmReduceLog::CheckLibOrvinLog\tFile not found");
    EXPECT_EQ(lines[4].rfind(":Start:", 0), 0u);

    const auto err = Lines(w.ReadFile(kBase + L".err"));
    ASSERT_EQ(err.size(), 2u);
    EXPECT_EQ(err[0], lines[2]);
    EXPECT_EQ(err[1], lines[3]);
}

TEST(Logging, ATroubledLogWriterNeverFailsItsCaller) {
    test::TestWorld w;
    mGlobals::LogDebug(L"A::B", L"first", 1);
    {
        // Another program holds the log exclusively: entries are lost, callers carry on.
        auto locked = w.sim.files.Open(kBase + L".log", FileAccess::ReadWrite, FileShareNone,
                                       FileCreation::OpenExisting);
        EXPECT_NO_THROW(mGlobals::LogError(L"A::B", 5, L"lost"));
    }
    w.sim.faults.FailAlways(L"Shell.GetSpecialFolderPath", HostError(5, L"no shell"));
    EXPECT_NO_THROW(mGlobals::LogWarning(L"A::B", L"no folder", 1));
    EXPECT_NO_THROW(mGlobals::sprintf(L"%s %s", 1));
    w.sim.faults.Clear();
    w.sim.faults.FailAlways(L"File.Write", HostError(61, L"Disk full"));
    EXPECT_NO_THROW(mGlobals::LogDebug(L"A::B", L"disk full", 1));
    w.sim.faults.Clear();
    mGlobals::LogDebug(L"A::B", L"last", 1);

    const auto lines = Lines(w.ReadFile(kBase + L".log"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find("first"), std::string::npos);
    EXPECT_NE(lines[2].find("last"), std::string::npos);
    // The listeners still heard every entry.
    EXPECT_EQ(w.log.entries.size(), 7u);
}

TEST(Logging, ARedirectedProfileOnANetworkShareGetsItsLogs) {
    test::TestWorld w;
    w.sim.files.AddShare(L"fileserver", L"profiles");
    w.sim.shell.SetSpecialFolderPath(CSIDL_APPDATA, L"\\\\fileserver\\profiles\\ann\\AppData");
    mGlobals::LogError(L"A::B", 5, L"reaches the share");
    const std::wstring base = L"\\\\fileserver\\profiles\\ann\\AppData\\Orvin\\Plexa\\Plexa";
    EXPECT_NE(w.ReadFile(base + L".log").find("reaches the share"), std::string::npos);
    EXPECT_NE(w.ReadFile(base + L".err").find("reaches the share"), std::string::npos);
}

TEST(Logging, EachFileIsWrittenOnItsOwn) {
    test::TestWorld w;
    mGlobals::LogDebug(L"A::B", L"first", 1);
    {
        // The .log is held exclusively: the error still reaches the .err.
        auto locked = w.sim.files.Open(kBase + L".log", FileAccess::ReadWrite, FileShareNone,
                                       FileCreation::OpenExisting);
        mGlobals::LogError(L"A::B", 5, L"only in the error file");
    }
    {
        // And the other way round.
        auto locked = w.sim.files.Open(kBase + L".err", FileAccess::ReadWrite, FileShareNone,
                                       FileCreation::OpenExisting);
        mGlobals::LogWarning(L"A::B", L"only in the log", 1);
    }
    const auto err = Lines(w.ReadFile(kBase + L".err"));
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("only in the error file"), std::string::npos);
    const auto log = Lines(w.ReadFile(kBase + L".log"));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_NE(log[2].find("only in the log"), std::string::npos);
}

TEST(Logging, WithoutARunningAddinNothingIsWrittenAndNothingFails) {
    EXPECT_EQ(LogHub::Current(), nullptr);
    EXPECT_NO_THROW(mGlobals::LogError(L"A::B", 1, L"nobody listens"));
    EXPECT_EQ(mGlobals::sprintf(L"%d%%", 5), L"5%");
}

}  // namespace
}  // namespace plexa
