// The simulated file system keeps the same Windows rules whether its files are in memory or on
// disk: every case runs over both stores.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestWorld.h"
#include "core/HostError.h"

namespace plexa {
namespace {

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

std::string ReadAll(IFile& f) {
    std::string s(static_cast<std::size_t>(f.Size()), '\0');
    f.Seek(0);
    s.resize(f.Read(s.data(), s.size()));
    return s;
}

using Files = test::TestWorld::Files;

class SimFileSystemStores : public ::testing::TestWithParam<Files> {};

TEST_P(SimFileSystemStores, FollowsWindowsPathRules) {
    test::TestWorld w(GetParam());
    IFileSystem& fs = w.sim.files;
    fs.CreateDirectory(L"C:\\Data");
    {
        auto f = fs.Open(L"c:/DATA/Notes.TXT", FileAccess::Write, FileShareNone,
                         FileCreation::CreateNew);
        f->Write("hello", 5);
    }
    // Another spelling of the same name reaches the same file.
    auto f = fs.Open(L"C:\\data\\notes.txt", FileAccess::Read, FileShareRead,
                     FileCreation::OpenExisting);
    EXPECT_EQ(ReadAll(*f), "hello");
    f.reset();
    w.sim.files.SetCurrentDirectory(L"C:\\Data");
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"Notes.txt", FileAccess::Read, FileShareRead,
                          FileCreation::OpenExisting);
              }),
              0);
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"..\\Data\\.\\NOTES.txt", FileAccess::Read, FileShareRead,
                          FileCreation::OpenExisting);
              }),
              0);

    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\Data\\missing.txt", FileAccess::Read, 0,
                          FileCreation::OpenExisting);
              }),
              53);
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\Nowhere\\a.txt", FileAccess::Write, 0, FileCreation::OpenAlways);
              }),
              76);
    EXPECT_EQ(
        ErrorOf([&] { fs.Open(L"D:\\a.txt", FileAccess::Write, 0, FileCreation::OpenAlways); }),
        76);
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\Data\\notes.txt", FileAccess::Write, 0, FileCreation::CreateNew);
              }),
              58);
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\Data\\a|b.txt", FileAccess::Write, 0, FileCreation::OpenAlways);
              }),
              75);
    EXPECT_EQ(
        ErrorOf([&] { fs.Open(L"C:\\Data", FileAccess::Read, 0, FileCreation::OpenExisting); }),
        70);
    EXPECT_EQ(ErrorOf([&] { fs.CreateDirectory(L"C:\\DATA"); }), 75);
    EXPECT_EQ(ErrorOf([&] { fs.CreateDirectory(L"C:\\x\\y"); }), 76);
    EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(L"C:\\Data\\gone.txt"); }), 53);
}

TEST_P(SimFileSystemStores, EnforcesSharingModesBetweenHandles) {
    test::TestWorld w(GetParam());
    IFileSystem& fs = w.sim.files;
    auto writer = fs.Open(L"C:\\log.txt", FileAccess::Write, FileShareRead | FileShareWrite,
                          FileCreation::OpenAlways);
    // A reader that shares writing may join; one that insists on exclusive reading may not.
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\log.txt", FileAccess::Read, FileShareRead | FileShareWrite,
                          FileCreation::OpenExisting);
              }),
              0);
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\log.txt", FileAccess::Read, FileShareRead,
                          FileCreation::OpenExisting);
              }),
              70);
    EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(L"C:\\log.txt"); }), 70);
    writer.reset();

    auto exclusive =
        fs.Open(L"C:\\log.txt", FileAccess::Read, FileShareNone, FileCreation::OpenExisting);
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\log.txt", FileAccess::Read, FileShareRead | FileShareWrite,
                          FileCreation::OpenExisting);
              }),
              70);
    // Asking for no access at all (attributes, times) never conflicts.
    EXPECT_EQ(ErrorOf([&] {
                  fs.Open(L"C:\\log.txt", FileAccess::None, FileShareRead | FileShareWrite,
                          FileCreation::OpenExisting);
              }),
              0);
    EXPECT_EQ(ErrorOf([&] { exclusive->Write("x", 1); }), 75);
    exclusive.reset();
    EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(L"C:\\log.txt"); }), 0);
}

TEST_P(SimFileSystemStores, ListsWithWildcardsAsFindFirstFileDoes) {
    test::TestWorld w(GetParam());
    IFileSystem& fs = w.sim.files;
    fs.CreateDirectory(L"C:\\Lang");
    fs.CreateDirectory(L"C:\\Empty");
    w.WriteFile(L"C:\\Lang\\English.lng", "a");
    w.WriteFile(L"C:\\Lang\\German.LNG", "b");
    w.WriteFile(L"C:\\Lang\\readme.txt", "c");

    std::vector<std::wstring> names;
    for (const auto& e : fs.FindFiles(L"C:\\lang\\*.lng")) {
        names.push_back(e.name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"English.lng", L"German.LNG"}));
    EXPECT_EQ(fs.FindFiles(L"C:\\Lang\\?erman.*").size(), 1u);
    EXPECT_EQ(fs.FindFiles(L"C:\\Lang\\*.*").size(), 5u);  // with "." and ".."
    // An empty folder still lists "." and "..", a drive's root does not, a missing folder lists
    // nothing and does not throw.
    EXPECT_EQ(fs.FindFiles(L"C:\\Empty\\*").size(), 2u);
    EXPECT_TRUE(fs.FindFiles(L"C:\\Missing\\*").empty());
    EXPECT_TRUE(fs.FindFiles(L"Q:\\*").empty());
    for (const auto& e : fs.FindFiles(L"C:\\*")) {
        EXPECT_NE(e.name, L".");
    }
}

TEST_P(SimFileSystemStores, RenamesReplaceInOneStepAndWritesTakeTheSimulatedTime) {
    test::TestWorld w(GetParam());
    IFileSystem& fs = w.sim.files;
    w.WriteFile(L"C:\\a.log", "old");
    w.WriteFile(L"C:\\a.log1", "new");
    EXPECT_EQ(ErrorOf([&] { fs.MoveFile(L"C:\\a.log1", L"C:\\a.log", false); }), 58);
    fs.MoveFile(L"C:\\A.LOG1", L"C:\\a.log", true);
    EXPECT_EQ(w.ReadFile(L"C:\\a.log"), "new");
    EXPECT_EQ(ErrorOf([&] { fs.MoveFile(L"C:\\a.log1", L"C:\\b.log", true); }), 53);

    const OleDate when = OleDate::FromParts(2026, 3, 1, 12, 0, 0);
    w.sim.clock.SetUtc(when);
    {
        auto f = fs.Open(L"C:\\a.log", FileAccess::Write, 0, FileCreation::OpenExisting);
        f->Write("x", 1);
    }
    auto f = fs.Open(L"C:\\a.log", FileAccess::None, 0, FileCreation::OpenExisting);
    EXPECT_EQ(f->LastWriteTimeUtc(), when);
    EXPECT_EQ(fs.FindFiles(L"C:\\a.log").at(0).lastWriteUtc, when);
}

TEST_P(SimFileSystemStores, OpenFilesOutliveTheirNamesAndFoldersMustBeEmptyToGo) {
    test::TestWorld w(GetParam());
    IFileSystem& fs = w.sim.files;
    fs.CreateDirectory(L"C:\\Queue");
    fs.CreateDirectory(L"C:\\Queue\\\u00dcbersicht");  // names beyond ASCII are kept as written
    w.WriteFile(L"C:\\Queue\\job.dat", "0123456789");
    auto reader =
        fs.Open(L"C:\\QUEUE\\JOB.DAT", FileAccess::Read,
                FileShareRead | FileShareWrite | FileShareDelete, FileCreation::OpenExisting);
    EXPECT_EQ(reader->Size(), 10u);
    reader->Seek(4);
    char part[3] = {};
    EXPECT_EQ(reader->Read(part, 3), 3u);
    EXPECT_EQ(std::string(part, 3), "456");
    // Deleting sharers may move and delete the name; the open file reads on.
    fs.MoveFile(L"C:\\Queue\\job.dat", L"C:\\Queue\\done.dat", false);
    EXPECT_EQ(w.ReadFile(L"C:\\Queue\\done.dat"), "0123456789");
    fs.DeleteFile(L"C:\\queue\\DONE.dat");
    EXPECT_EQ(ReadAll(*reader), "0123456789");
    reader.reset();
    EXPECT_EQ(w.sim.files.ReadContents(L"C:\\Queue\\done.dat"), std::nullopt);

    // CreateAlways empties a file; a folder with anything in it cannot be removed.
    w.WriteFile(L"C:\\Queue\\\u00dcbersicht\\list.txt", "abc");
    EXPECT_EQ(fs.FindFiles(L"C:\\queue\\\u00fcBERSICHT\\*.txt").at(0).size, 3u);
    fs.Open(L"C:\\Queue\\\u00dcbersicht\\list.txt", FileAccess::Write, 0,
            FileCreation::CreateAlways);
    EXPECT_EQ(w.ReadFile(L"C:\\Queue\\\u00dcbersicht\\list.txt"), "");
    EXPECT_EQ(ErrorOf([&] { fs.RemoveDirectory(L"C:\\Queue"); }), 75);
    EXPECT_EQ(ErrorOf([&] { fs.RemoveDirectory(L"C:\\Queue\\missing"); }), 76);
    fs.DeleteFile(L"C:\\Queue\\\u00dcbersicht\\list.txt");
    fs.RemoveDirectory(L"C:\\Queue\\\u00dcbersicht");
    fs.RemoveDirectory(L"C:\\Queue");
    EXPECT_TRUE(fs.FindFiles(L"C:\\Queue*").empty());
    EXPECT_EQ(ErrorOf([&] { fs.RemoveDirectory(L"C:\\"); }), 76);

    // Only files on disk have a real location.
    if (GetParam() == Files::InMemory) {
        EXPECT_TRUE(w.sim.files.InMemory());
        EXPECT_THROW(w.sim.files.RealPath(L"C:\\"), std::logic_error);
    } else {
        EXPECT_TRUE(std::filesystem::is_directory(w.sim.files.RealPath(L"c:\\")));
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, SimFileSystemStores,
                         ::testing::Values(Files::InMemory, Files::OnDisk),
                         [](const ::testing::TestParamInfo<Files>& info) {
                             return info.param == Files::InMemory ? "InMemory" : "OnDisk";
                         });

TEST(SimFileSystem, FaultsAreInjectedByNameByCallAndByPredicate) {
    test::TestWorld w;
    IFileSystem& fs = w.sim.files;
    sim::Faults& faults = w.sim.faults;
    faults.FailNth(L"FileSystem.Open", 2, HostError(70, L"Permission denied"));
    EXPECT_EQ(
        ErrorOf([&] { fs.Open(L"C:\\1.txt", FileAccess::Write, 0, FileCreation::OpenAlways); }), 0);
    EXPECT_EQ(
        ErrorOf([&] { fs.Open(L"C:\\2.txt", FileAccess::Write, 0, FileCreation::OpenAlways); }),
        70);
    EXPECT_EQ(
        ErrorOf([&] { fs.Open(L"C:\\3.txt", FileAccess::Write, 0, FileCreation::OpenAlways); }), 0);

    faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"File.Write" && detail.find(L"4.txt") != std::wstring_view::npos;
        },
        HostError(61, L"Disk full"));
    auto four = fs.Open(L"C:\\4.txt", FileAccess::Write, 0, FileCreation::OpenAlways);
    auto five = fs.Open(L"C:\\5.txt", FileAccess::Write, 0, FileCreation::OpenAlways);
    EXPECT_EQ(ErrorOf([&] { four->Write("x", 1); }), 61);
    EXPECT_EQ(ErrorOf([&] { five->Write("x", 1); }), 0);
    EXPECT_EQ(faults.Injected(), 2);
    EXPECT_EQ(faults.Injected(L"File.Write"), 1);
    EXPECT_EQ(faults.Calls(L"FileSystem.Open"), 5);

    five.reset();
    faults.FailAlways(L"FileSystem.DeleteFile", HostError(75, L"Path/File access error"));
    EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(L"C:\\5.txt"); }), 75);
    EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(L"C:\\5.txt"); }), 75);
    faults.Clear();
    EXPECT_EQ(ErrorOf([&] { fs.DeleteFile(L"C:\\5.txt"); }), 0);
}

}  // namespace
}  // namespace plexa
