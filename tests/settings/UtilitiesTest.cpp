#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/outlook/MAPIFolder.h"
#include "settings/mFileUtils.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa {
namespace {

TEST(Utilities, TheHostVersionIsReadOnceAndRounded) {
    test::TestWorld w;
    w.sim.host.SetVersion(L"12.0.0.6423");
    EXPECT_EQ(mMisc::GetOutlookVersion(w.services), 12);
    w.sim.host.SetVersion(L"14.0.4760.1000");
    EXPECT_EQ(mMisc::GetOutlookVersion(w.services), 12);  // cached for the run
    EXPECT_EQ(w.sim.host.VersionReads(), 1);
    EXPECT_FALSE(mMisc::IsOutlook2000OrOlder(w.services));

    test::TestWorld other;
    other.sim.host.SetVersion(L"9");
    EXPECT_EQ(mMisc::GetOutlookVersion(other.services), 9);
    EXPECT_TRUE(mMisc::IsOutlook2000OrOlder(other.services));
}

TEST(Utilities, AnUnreadableHostVersionIsLoggedAndReadAgainLater) {
    test::TestWorld w;
    w.sim.host.SetVersion(L"unknown.1");
    EXPECT_EQ(mMisc::GetOutlookVersion(w.services), 0);
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mMisc::GetOutlookVersion").at(0).number, 13);
    w.sim.faults.FailNth(L"HostInfo.Version", 1,
                         HostError(-2147417848, L"The object invoked has disconnected"));
    EXPECT_EQ(mMisc::GetOutlookVersion(w.services), 0);
    w.sim.host.SetVersion(L"11.0.5608");
    EXPECT_EQ(mMisc::GetOutlookVersion(w.services), 11);
    EXPECT_EQ(w.sim.host.VersionReads(), 2);  // the failed call never got to read
}

TEST(Utilities, TimeZoneBiasFollowsWhatTheSystemReportsInEffect) {
    test::TestWorld w;
    const TimeZoneInformation berlin{-60, 0, -60};
    w.sim.clock.SetTimeZone(berlin, TimeZoneId::Standard);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), false), -60);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), true), -60);
    w.sim.clock.SetTimeZone(berlin, TimeZoneId::Daylight);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), false), -60);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), true), -120);
    // A zone without daylight-saving rules: base plus standard bias.
    w.sim.clock.SetTimeZone(TimeZoneInformation{-330, 0, 0}, TimeZoneId::Unknown);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), true), -330);
    EXPECT_TRUE(w.log.entries.empty());
    // A failed query: local time is taken as UTC, and the log says so.
    w.sim.clock.SetTimeZone(berlin, TimeZoneId::Invalid);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), true), 0);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), false), 0);
    EXPECT_EQ(w.log.Of(LogLevel::Warning, L"mMisc::GetTimeZoneBias").size(), 2u);
    w.sim.clock.SetTimeZone(berlin, TimeZoneId::Daylight);
    w.sim.faults.FailNth(L"Clock.GetTimeZoneInformation", 1, HostError(5, L"Access denied"));
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), true), 0);
    EXPECT_EQ(mMisc::GetTimeZoneBias(w.services.Ports(), true), -120);
}

TEST(Utilities, UniqueTagsAreEightDigitsUpToEightAndTheLocalTime) {
    test::TestWorld w;
    w.sim.clock.SetTimeZone(TimeZoneInformation{-60, 0, -60}, TimeZoneId::Standard);
    w.sim.clock.SetLocal(OleDate::FromParts(2026, 1, 2, 3, 4, 5));
    w.sim.random.QueueValues({0.0f, 0.5f, 0.99999994f, 0.1f, 0.2f, 0.3f, 0.4f, 0.95f});
    const std::wstring tag = mGlobals::MakeUniqueTag(w.services.Ports());
    EXPECT_EQ(tag,
              L"04801238"
              L"20260102030405");
    EXPECT_EQ(w.sim.random.RandomizeCalls(), 1);

    // Unqueued, the digits come from the generator: always 22 characters, digits 0 to 8.
    for (int i = 0; i < 50; ++i) {
        w.sim.clock.AdvanceSeconds(1);
        const std::wstring t = mGlobals::MakeUniqueTag(w.services.Ports());
        ASSERT_EQ(t.size(), 22u);
        for (std::size_t k = 0; k < 8; ++k) {
            EXPECT_TRUE(t[k] >= L'0' && t[k] <= L'8') << text::ToUtf8(t);
        }
    }
    EXPECT_EQ(w.sim.random.RandomizeCalls(), 51);  // reseeded on every call
}

class FakeNamespace : public OutlookObject {
public:
    std::wstring TypeName() const override { return L"NameSpace"; }
    int32_t Class() override { return olNamespace; }
};

class FakeFolder : public MAPIFolder {
public:
    FakeFolder(std::wstring name, std::shared_ptr<OutlookObject> parent)
        : m_name(std::move(name)), m_parent(std::move(parent)) {}
    std::wstring Name() override { return m_name; }
    std::shared_ptr<OutlookObject> Parent() override {
        if (fail) {
            throw HostError(-2147221233, L"The folder was deleted");
        }
        return m_parent;
    }
    int32_t DefaultItemType() override { return olContactItem; }
    std::wstring EntryID() override { return L"00"; }
    std::wstring StoreID() override { return L"00"; }
    std::shared_ptr<Folders> GetFolders() override { return nullptr; }
    std::shared_ptr<Items> GetItems() override { return nullptr; }
    std::shared_ptr<View> CurrentView() override { return nullptr; }
    bool fail = false;

private:
    std::wstring m_name;
    std::shared_ptr<OutlookObject> m_parent;
};

TEST(Utilities, FolderPathsRunFromTheStoresTopFolder) {
    test::TestWorld w;
    auto ns = std::make_shared<FakeNamespace>();
    auto top = std::make_shared<FakeFolder>(L"Personal Folders", ns);
    auto contacts = std::make_shared<FakeFolder>(L"Contacts", top);
    auto friends = std::make_shared<FakeFolder>(L"Friends", contacts);
    EXPECT_EQ(mGlobals::GetFolderPath(contacts), L"\\\\Personal Folders\\Contacts");
    EXPECT_EQ(mGlobals::GetFolderPath(friends), L"\\\\Personal Folders\\Contacts\\Friends");
    EXPECT_EQ(mGlobals::GetFolderPath(top), L"\\\\Personal Folders");
    contacts->fail = true;
    EXPECT_THROW(mGlobals::GetFolderPath(friends), HostError);
}

TEST(Utilities, CreateDirPathMakesEveryMissingLevel) {
    test::TestWorld w;
    using mFileUtils::CreateDirPath;
    using mFileUtils::DirExists;
    EXPECT_TRUE(
        CreateDirPath(w.services.Ports(), L"C:\\Users\\User\\AppData\\Roaming\\Orvin\\Plexa"));
    EXPECT_TRUE(DirExists(w.services.Ports(), L"c:\\users\\USER\\appdata\\roaming\\orvin\\plexa"));
    EXPECT_TRUE(CreateDirPath(w.services.Ports(), L"C:/Mixed/Separators/Here/"));
    EXPECT_TRUE(DirExists(w.services.Ports(), L"C:\\Mixed\\Separators\\Here"));
    EXPECT_TRUE(CreateDirPath(w.services.Ports(), L"C:\\Users"));  // already there

    // No drive, a drive that does not exist, or a file in the way: false, nothing thrown.
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"relative\\folder"));
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"Q:"));
    EXPECT_TRUE(CreateDirPath(w.services.Ports(), L"C:"));  // the drive is there already
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"Q:\\Data"));
    w.WriteFile(L"C:\\Users\\file", "x");
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"C:\\Users\\file\\below"));
    EXPECT_FALSE(DirExists(w.services.Ports(), L"C:\\Users\\file"));
    EXPECT_FALSE(DirExists(w.services.Ports(), L"C:\\Nothing"));
    EXPECT_TRUE(w.log.entries.empty());
}

TEST(Utilities, CreateDirPathMakesTheLevelsBelowANetworkShare) {
    test::TestWorld w;
    using mFileUtils::CreateDirPath;
    using mFileUtils::DirExists;
    w.sim.files.AddShare(L"FileServer", L"Profiles");
    EXPECT_TRUE(CreateDirPath(w.services.Ports(),
                              L"\\\\fileserver\\profiles\\ann\\AppData\\Roaming\\Orvin"));
    EXPECT_TRUE(
        DirExists(w.services.Ports(), L"\\\\FILESERVER\\Profiles\\Ann\\appdata\\roaming\\orvin"));
    EXPECT_TRUE(CreateDirPath(w.services.Ports(), L"//fileserver/profiles/ann/Mixed/Separators/"));
    EXPECT_TRUE(DirExists(w.services.Ports(), L"\\\\fileserver\\profiles\\ann\\Mixed\\Separators"));
    EXPECT_TRUE(
        CreateDirPath(w.services.Ports(), L"\\\\fileserver\\profiles\\ann"));  // already there

    // An unknown share or server, or no share at all: false, nothing thrown.
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"\\\\fileserver\\other\\ann"));
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"\\\\elsewhere\\profiles\\ann"));
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"\\\\fileserver"));
    EXPECT_FALSE(CreateDirPath(w.services.Ports(), L"\\\\\\profiles\\ann"));
    EXPECT_FALSE(DirExists(w.services.Ports(), L"\\\\fileserver\\other"));
    EXPECT_TRUE(w.log.entries.empty());
}

TEST(Utilities, LastModificationTimeIsLocalToTheSecond) {
    test::TestWorld w;
    w.sim.clock.SetTimeZone(TimeZoneInformation{-60, 0, -60}, TimeZoneId::Daylight);
    w.WriteFile(L"C:\\English.lng", "x");
    w.sim.files.SetLastWriteTimeUtc(L"C:\\English.lng", OleDate::FromParts(2026, 7, 1, 10, 20, 30));
    OleDate local;
    ASSERT_TRUE(
        mFileUtils::GetFileLastModificationTime(w.services.Ports(), L"c:\\english.LNG", local));
    EXPECT_EQ(local, OleDate::FromParts(2026, 7, 1, 12, 20, 30));

    // A file held exclusively still answers: only attributes are asked for.
    auto holder = w.sim.files.Open(L"C:\\English.lng", FileAccess::ReadWrite, FileShareNone,
                                   FileCreation::OpenExisting);
    EXPECT_TRUE(
        mFileUtils::GetFileLastModificationTime(w.services.Ports(), L"C:\\English.lng", local));
    OleDate untouched(1.5);
    EXPECT_FALSE(
        mFileUtils::GetFileLastModificationTime(w.services.Ports(), L"C:\\German.lng", untouched));
    EXPECT_EQ(untouched, OleDate(1.5));
}

}  // namespace
}  // namespace plexa
