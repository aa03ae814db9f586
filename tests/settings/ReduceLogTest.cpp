#include <gtest/gtest.h>

#include "TestWorld.h"
#include "settings/mReduceLog.h"

namespace plexa {
namespace {

const std::wstring kLog = L"C:\\Users\\User\\AppData\\Roaming\\Orvin\\Plexa\\Plexa.log";
const std::wstring kErr = L"C:\\Users\\User\\AppData\\Roaming\\Orvin\\Plexa\\Plexa.err";

// Filler of exactly n bytes, lines of 64 bytes, with no run marker.
std::string Filler(std::size_t n) {
    std::string s;
    s.reserve(n);
    while (s.size() < n) {
        s += s.size() % 64 == 63 ? '\n' : 'x';
    }
    return s;
}

TEST(ReduceLog, TheLogIsCutAtTheFirstRunMarkerOfItsNewerHalf) {
    test::TestWorld w;
    const std::size_t start = 1200000 - 1048576 / 2;  // 675,712, 1-based
    EXPECT_EQ(start, 675712u);
    // One marker just before the start, the one to keep from a little after it.
    std::string log = Filler(1200000);
    log.replace(start - 10, 7, ":Start:");
    log.replace(start + 1000, 7, ":START:");
    log.replace(start + 5000, 7, ":Start:");
    w.WriteFile(kLog, log);
    w.WriteFile(kErr, "small\n");

    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_EQ(w.ReadFile(kLog), log.substr(start + 1000));
    EXPECT_EQ(w.ReadFile(kErr), "small\n");
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(ReduceLog, WithoutAMarkerTheLastHalfIsKept) {
    test::TestWorld w;
    const std::string log = Filler(1200000);
    w.WriteFile(kLog, log);
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_EQ(w.ReadFile(kLog).size(), 524289u);
    EXPECT_EQ(w.ReadFile(kLog), log.substr(675711));

    // At or under the limit nothing changes.
    w.WriteFile(kLog, Filler(1048576));
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_EQ(w.ReadFile(kLog).size(), 1048576u);
}

TEST(ReduceLog, TheErrorFileKeepsWholeLinesOnly) {
    test::TestWorld w;
    std::string err;
    for (int i = 0; err.size() < 200000; ++i) {
        err += "2026-12-06 09:00:00\tERR\t1\t5\tSource::Op\tentry " + std::to_string(i) + "\n";
    }
    w.WriteFile(kErr, err);
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);

    const std::string kept = w.ReadFile(kErr);
    const std::size_t start = err.size() - 65536;  // 1-based position
    const std::size_t lineStart = err.find('\n', start - 1) + 1;
    EXPECT_EQ(kept, err.substr(lineStart));
    EXPECT_EQ(kept.rfind("2026-12-06", 0), 0u);
    EXPECT_LE(kept.size(), 65536u);

    // No line feed after the cut point (one long last entry): the newer half is kept from the
    // cut point itself, never the whole file.
    const std::string unbroken =
        "2026-12-06 09:00:00\tERR\tfirst\n" + std::string(150000, 'x') + std::string(80000, 'y');
    w.WriteFile(kErr, unbroken);
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    const std::string tail = w.ReadFile(kErr);
    EXPECT_EQ(tail.size(), 65537u);  // from the 1-based position S - 65,536 on
    EXPECT_EQ(tail, unbroken.substr(unbroken.size() - 65537));
}

TEST(ReduceLog, AFailedCopyLeavesTheOldLogWhole) {
    test::TestWorld w;
    const std::string log = Filler(1200000);
    w.WriteFile(kLog, log);
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"File.Write" && detail.ends_with(L"Plexa.log1");
        },
        HostError(61, L"Disk full"));

    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_EQ(w.sim.faults.Injected(L"File.Write"), 1);
    const auto errors = w.log.Of(LogLevel::Error, L"mReduceLog::CopyTextFileFrom");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 61);
    // The log is exactly as it was (plus the entry about the failure, appended at its end).
    const std::string after = w.ReadFile(kLog);
    ASSERT_GE(after.size(), log.size());
    EXPECT_EQ(after.substr(0, log.size()), log);

    // The next upkeep replaces the half-written side file and succeeds.
    w.sim.faults.Clear();
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_LT(w.ReadFile(kLog).size(), 600000u);
    EXPECT_EQ(w.ReadFile(kLog + L"1"), "");
}

TEST(ReduceLog, AFailedRenameLeavesTheOldLogWholeAndIsLogged) {
    test::TestWorld w;
    const std::string log = Filler(1200000);
    w.WriteFile(kLog, log);
    w.sim.faults.FailAlways(L"FileSystem.MoveFile", HostError(70, L"Permission denied"));
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_EQ(w.ReadFile(kLog).substr(0, log.size()), log);
    const auto errors = w.log.Of(LogLevel::Error, L"mReduceLog::CheckLibOrvinLog");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 70);
}

TEST(ReduceLog, ALockedOrMissingLogIsLeftAlone) {
    test::TestWorld w;
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);  // no files at all
    EXPECT_TRUE(w.log.entries.empty());

    const std::string log = Filler(1200000);
    w.WriteFile(kLog, log);
    auto holder =
        w.sim.files.Open(kLog, FileAccess::ReadWrite, FileShareNone, FileCreation::OpenExisting);
    EXPECT_EQ(mReduceLog::GetFileSizeByName(w.services.Ports(), kLog), 0);
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    holder.reset();
    EXPECT_EQ(w.ReadFile(kLog), log);
}

TEST(ReduceLog, FindInTextFileFindsMatchesAcrossChunksIgnoringCase) {
    test::TestWorld w;
    const std::wstring path = L"C:\\t.txt";
    std::string s(1000, '.');
    s.replace(254, 7, ":sTaRt:");  // spans the first two 256-byte chunks
    s.replace(700, 7, ":Start:");
    w.WriteFile(path, s);
    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), path, L":Start:", 1), 255);
    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), path, L":Start:", 255), 255);
    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), path, L":Start:", 256), 701);
    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), path, L":Start:", 702), -1);
    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), path, L"\n", 1), -1);

    // A zero byte ends a chunk's text: a match straddling it is no match.
    std::string z(600, '.');
    z.replace(250, 3, ":St");
    z[253] = '\0';
    z.replace(256, 4, "art:");
    z.replace(500, 7, ":Start:");
    w.WriteFile(path, z);
    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), path, L":Start:", 1), 501);

    EXPECT_EQ(mReduceLog::FindInTextFile(w.services.Ports(), L"C:\\missing.txt", L"x", 1), -1);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mReduceLog::FindInTextFile").at(0).number, 53);
}

TEST(ReduceLog, CopyTextFileFromCopiesTheTailAndReplacesTheTarget) {
    test::TestWorld w;
    w.WriteFile(L"C:\\src.txt", Filler(3000));
    w.WriteFile(L"C:\\dst.txt", "stale content that must go");
    EXPECT_TRUE(
        mReduceLog::CopyTextFileFrom(w.services.Ports(), L"C:\\src.txt", L"C:\\dst.txt", 1001));
    EXPECT_EQ(w.ReadFile(L"C:\\dst.txt"), Filler(3000).substr(1000));
    EXPECT_FALSE(
        mReduceLog::CopyTextFileFrom(w.services.Ports(), L"C:\\none.txt", L"C:\\dst.txt", 1));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mReduceLog::CopyTextFileFrom").size(), 1u);
}

TEST(ReduceLog, TheApplicationDataFolderLosesOneTrailingSeparator) {
    test::TestWorld w;
    w.sim.shell.SetSpecialFolderPath(CSIDL_APPDATA, L"C:\\Profile\\Roaming\\");
    EXPECT_EQ(mReduceLog::GetAppDataDir(w.services.Ports()), L"C:\\Profile\\Roaming");
    w.sim.shell.SetSpecialFolderPath(CSIDL_APPDATA, std::wstring(L"C:\\P/\0junk", 10));
    EXPECT_EQ(mReduceLog::GetAppDataDir(w.services.Ports()), L"C:\\P");
    w.sim.faults.FailAlways(L"Shell.GetSpecialFolderPath",
                            HostError(-2147467259, L"Unspecified error"));
    EXPECT_EQ(mReduceLog::GetAppDataDir(w.services.Ports()), L"");
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mReduceLog::GetAppDataDir").at(0).number, -2147467259);
    // Without a folder the upkeep stops and says why.
    mReduceLog::CheckLibOrvinLog(w.services.Ports(), 1048576, 131072);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mReduceLog::CheckLibOrvinLog").size(), 1u);
}

}  // namespace
}  // namespace plexa
