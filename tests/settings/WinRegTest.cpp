#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/HostError.h"
#include "settings/CWinReg.h"

namespace plexa {
namespace {

constexpr const wchar_t* kPath = L"Software\\Orvin\\Plexa";
constexpr const wchar_t* kFull = L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa";

void SetCodePage(test::TestWorld& w, const char* codePage) {
    w.sim.locale.codePage = codePage;
    w.services.Ports().locale.codePage = codePage;
}

TEST(CWinReg, OpensClosesAndNeverLeaksAHandle) {
    test::TestWorld w;
    {
        CWinReg reg(w.services.Ports());
        EXPECT_FALSE(reg.InitForRead(reg.HKEY_CURRENT_USER(), kPath));
        EXPECT_FALSE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), kPath, false));
        EXPECT_FALSE(w.sim.registry.KeyExists(kFull));
        EXPECT_EQ(w.sim.registry.OpenHandleCount(), 0u);
        EXPECT_FALSE(reg.SetStringValue(L"x", L"y"));  // no key open
        EXPECT_EQ(reg.GetDWORDValue(L"x", 7), 7);
        EXPECT_TRUE(reg.CloseKey());

        ASSERT_TRUE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), kPath, true));
        EXPECT_TRUE(w.sim.registry.KeyExists(kFull));
        // Opening again, even below the key held, closes the key held before.
        ASSERT_TRUE(reg.InitForAllAccess(reg.HKEY_CURRENT_USER(), L"software\\ORVIN", false));
        ASSERT_TRUE(reg.InitForRead(reg.HKEY_CURRENT_USER(), kPath));
        EXPECT_EQ(w.sim.registry.OpenHandleCount(), 1u);
        EXPECT_FALSE(reg.InitForRead(reg.HKEY_CURRENT_USER(), L"Software\\Missing"));
        EXPECT_EQ(w.sim.registry.OpenHandleCount(), 0u);
        ASSERT_TRUE(reg.InitForRead(reg.HKEY_LOCAL_MACHINE(), L""));
        EXPECT_TRUE(reg.FlushKey());
        EXPECT_EQ(w.sim.registry.FlushCount(), 1);
    }
    EXPECT_EQ(w.sim.registry.OpenHandleCount(), 0u);  // the destructor closed it
    EXPECT_EQ(CWinReg::HKEY_CLASSES_ROOT(), 0x80000000u);
    EXPECT_EQ(CWinReg::HKEY_CURRENT_USER(), 0x80000001u);
    EXPECT_EQ(CWinReg::HKEY_LOCAL_MACHINE(), 0x80000002u);
}

TEST(CWinReg, ReadsWholeStringsOfAnyLength) {
    test::TestWorld w;
    CWinReg reg(w.services.Ports());
    ASSERT_TRUE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), kPath, true));
    // A journal of records like the send-later queue's: a long one must not end the replay.
    const std::wstring lengths[] = {std::wstring(255, L'a'), std::wstring(256, L'b'),
                                    std::wstring(4000, L'c'), L"+short"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(reg.SetStringValue(L"item" + std::to_wstring(i + 1), lengths[i]));
    }
    CWinReg reader(w.services.Ports());
    ASSERT_TRUE(reader.InitForRead(reader.HKEY_CURRENT_USER(), kPath));
    int i = 1;
    for (;; ++i) {
        const std::wstring record = reader.GetStringValue(L"item" + std::to_wstring(i));
        if (record.empty()) {
            break;
        }
        EXPECT_EQ(record, lengths[i - 1]);
    }
    EXPECT_EQ(i, 5);

    // As stored: an expandable string is not expanded, an empty one is empty, other types and
    // missing values read as empty.
    w.sim.registry.PutString(kFull, L"Path", L"%APPDATA%\\Plexa", reg::RegExpandSz);
    w.sim.registry.PutString(kFull, L"List", L"a", reg::RegMultiSz);
    w.sim.registry.PutDword(kFull, L"Number", 5);
    ASSERT_TRUE(reg.SetStringValue(L"", L"default"));
    ASSERT_TRUE(reg.SetStringValue(L"Empty", L""));
    EXPECT_EQ(reader.GetStringValue(L"PATH"), L"%APPDATA%\\Plexa");
    EXPECT_EQ(reader.GetStringValue(L"List"), L"");
    EXPECT_EQ(reader.GetStringValue(L"Number"), L"");
    EXPECT_EQ(reader.GetStringValue(L"Missing"), L"");
    EXPECT_EQ(reader.GetStringValue(L"Empty"), L"");
    EXPECT_EQ(reader.GetStringValue(L""), L"default");
    // A value written without its terminating null loses nothing.
    w.sim.registry.PutRaw(kFull, L"Bare", reg::RegSz, {'a', 0, 'b', 0});
    EXPECT_EQ(reader.GetStringValue(L"Bare"), L"ab");
}

TEST(CWinReg, PassesTextThroughTheSystemCodePage) {
    test::TestWorld w;
    CWinReg reg(w.services.Ports());
    ASSERT_TRUE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), kPath, true));
    // What windows-1252 has survives; what it lacks arrives as "?", in names and in data.
    ASSERT_TRUE(reg.SetStringValue(L"Müller", L"Grüße — €5"));
    ASSERT_TRUE(reg.SetStringValue(L"Имя", L"Привет"));
    EXPECT_EQ(reg.GetStringValue(L"MÜLLER"), L"Grüße — €5");
    EXPECT_EQ(reg.GetStringValue(L"???"), L"??????");
    EXPECT_EQ(w.sim.registry.ValueNames(kFull), (std::vector<std::wstring>{L"Müller", L"???"}));

    // With a Cyrillic system code page the same text goes through whole.
    SetCodePage(w, "windows-1251");
    ASSERT_TRUE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), L"Software\\Контакты", true));
    ASSERT_TRUE(reg.SetStringValue(L"Имя", L"Привет"));
    EXPECT_EQ(reg.GetStringValue(L"имя"), L"Привет");
    EXPECT_EQ(reg.Values(0), L"Имя");
    EXPECT_TRUE(w.sim.registry.KeyExists(L"HKEY_CURRENT_USER\\Software\\Контакты"));

    // A text stored by another program in Unicode reads with "?" where the code page lacks it.
    w.sim.registry.PutString(kFull, L"Mixed", L"Ω and 世界");
    ASSERT_TRUE(reg.InitForRead(reg.HKEY_CURRENT_USER(), kPath));
    EXPECT_EQ(reg.GetStringValue(L"Mixed"), L"? and ??");
}

TEST(CWinReg, TypedValues) {
    test::TestWorld w;
    CWinReg reg(w.services.Ports());
    ASSERT_TRUE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), kPath, true));
    ASSERT_TRUE(reg.SetDWORDValue(L"Negative", -1));
    ASSERT_TRUE(reg.SetDWORDValue(L"Max", 0x7FFFFFFF));
    EXPECT_EQ(reg.GetDWORDValue(L"Negative", 0), -1);
    EXPECT_EQ(reg.GetDWORDValue(L"Max", 0), 0x7FFFFFFF);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(w.sim.registry.GetRaw(kFull, L"Negative", type, data));
    EXPECT_EQ(type, reg::RegDword);
    EXPECT_EQ(data, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    // A number stored as text, or as four bytes of another type, gives the default.
    ASSERT_TRUE(reg.SetStringValue(L"AsText", L"5"));
    ASSERT_TRUE(reg.SetStringValue(L"Tiny", L"1"));  // "1\0": two bytes
    w.sim.registry.PutRaw(kFull, L"Binary", reg::RegBinary, {1, 0, 0, 0});
    w.sim.registry.PutRaw(kFull, L"Short", reg::RegDword, {1, 0});
    for (const wchar_t* name : {L"AsText", L"Tiny", L"Binary", L"Short", L"Missing"}) {
        EXPECT_EQ(reg.GetDWORDValue(name, 42), 42) << name;
    }

    ASSERT_TRUE(reg.SetBoolValue(L"On", true));
    ASSERT_TRUE(reg.SetBoolValue(L"Off", false));
    EXPECT_TRUE(reg.GetBoolValue(L"On"));
    EXPECT_FALSE(reg.GetBoolValue(L"Off"));
    ASSERT_TRUE(w.sim.registry.GetRaw(kFull, L"On", type, data));
    EXPECT_EQ(data, (std::vector<uint8_t>{'y', 0, 'e', 0, 's', 0, 0, 0}));
    for (const auto& [stored, expected] : std::initializer_list<std::pair<const wchar_t*, bool>>{
             {L"YES", true}, {L"Yes", true}, {L"1", false}, {L"true", false}, {L"yes ", false}}) {
        ASSERT_TRUE(reg.SetStringValue(L"Flag", stored));
        EXPECT_EQ(reg.GetBoolValue(L"Flag"), expected) << stored;
    }
    EXPECT_FALSE(reg.GetBoolValue(L"Missing"));
    reg.SetDWORDValue(L"Flag", 1);
    EXPECT_FALSE(reg.GetBoolValue(L"Flag"));

    EXPECT_TRUE(reg.DeleteValue(L"flag"));
    EXPECT_FALSE(reg.DeleteValue(L"flag"));

    // A key opened for reading refuses every change.
    CWinReg reader(w.services.Ports());
    ASSERT_TRUE(reader.InitForRead(reader.HKEY_CURRENT_USER(), kPath));
    EXPECT_FALSE(reader.SetStringValue(L"On", L"no"));
    EXPECT_FALSE(reader.SetDWORDValue(L"Max", 1));
    EXPECT_FALSE(reader.DeleteValue(L"On"));
    EXPECT_TRUE(reader.GetBoolValue(L"On"));
    EXPECT_EQ(reader.GetDWORDValue(L"Max", 0), 0x7FFFFFFF);
}

TEST(CWinReg, EnumeratesAndDeletesWholeTrees) {
    test::TestWorld w;
    auto& sim = w.sim.registry;
    for (const wchar_t* path : {L"\\Queue\\Store1\\SendLaterList", L"\\Queue\\Store2",
                                L"\\Queue\\Store1\\Deep\\Deeper\\Deepest", L"\\Other"}) {
        sim.PutDword(kFull + std::wstring(path), L"v", 1);
    }
    sim.PutDword(kFull + std::wstring(L"\\Queue"), L"Own", 7);
    const std::wstring longName(300, L'n');
    sim.PutDword(kFull + std::wstring(L"\\Queue"), longName, 8);

    CWinReg reg(w.services.Ports());
    ASSERT_TRUE(reg.InitForRead(reg.HKEY_CURRENT_USER(), kPath + std::wstring(L"\\Queue")));
    EXPECT_EQ(reg.Keys(0), L"Store1");
    EXPECT_EQ(reg.Keys(1), L"Store2");
    EXPECT_EQ(reg.Keys(2), L"");
    EXPECT_EQ(reg.Keys(-1), L"");
    EXPECT_EQ(reg.Values(0), L"Own");
    EXPECT_EQ(reg.Values(1), longName);
    EXPECT_EQ(reg.Values(2), L"");

    // Deleting the subkey itself fails while it has children; the recursive form succeeds.
    EXPECT_FALSE(reg.DeleteKey(L"Store1"));
    EXPECT_FALSE(reg.DeleteKey(L""));
    EXPECT_FALSE(reg.DeleteKeyRec(L""));
    EXPECT_TRUE(sim.KeyExists(kFull + std::wstring(L"\\Queue")));
    EXPECT_TRUE(reg.DeleteKeyRec(L"store1"));
    EXPECT_FALSE(sim.KeyExists(kFull + std::wstring(L"\\Queue\\Store1")));
    EXPECT_FALSE(reg.DeleteKeyRec(L"Store1"));
    EXPECT_TRUE(reg.DeleteKey(L"Store2"));

    sim.PutDword(kFull + std::wstring(L"\\Queue\\A\\B\\C"), L"v", 1);
    sim.PutDword(kFull + std::wstring(L"\\Queue\\D"), L"v", 1);
    EXPECT_TRUE(reg.DeleteAllKeys());
    EXPECT_TRUE(sim.SubKeyNames(kFull + std::wstring(L"\\Queue")).empty());
    EXPECT_EQ(sim.ValueNames(kFull + std::wstring(L"\\Queue")),
              (std::vector<std::wstring>{L"Own", longName}));
    EXPECT_TRUE(sim.KeyExists(kFull + std::wstring(L"\\Other")));
    EXPECT_EQ(sim.OpenHandleCount(), 1u);
}

TEST(CWinReg, FailuresAreResultsNeverErrors) {
    test::TestWorld w;
    auto& sim = w.sim.registry;
    for (const wchar_t* path : {L"\\A\\Keep", L"\\B", L"\\C"}) {
        sim.PutDword(kFull + std::wstring(path), L"v", 1);
    }
    // One subkey cannot be deleted: the others still go, and the result says so.
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"Registry.DeleteKey" && detail.ends_with(L"\\Keep");
        },
        HostError(reg::ErrorAccessDenied, L"in use"));
    CWinReg reg(w.services.Ports());
    ASSERT_TRUE(reg.InitForAllAccess(reg.HKEY_CURRENT_USER(), kPath, false));
    EXPECT_FALSE(reg.DeleteAllKeys());
    EXPECT_EQ(sim.SubKeyNames(kFull), std::vector<std::wstring>{L"A"});
    EXPECT_EQ(sim.SubKeyNames(kFull + std::wstring(L"\\A")), std::vector<std::wstring>{L"Keep"});

    w.sim.faults.Clear();
    w.sim.faults.FailAlways(L"Registry.SetValue", HostError(1450, L"no resources"));
    w.sim.faults.FailAlways(L"Registry.QueryValue", HostError(1450, L"no resources"));
    w.sim.faults.FailAlways(L"Registry.EnumKey", HostError(1450, L"no resources"));
    w.sim.faults.FailAlways(L"Registry.CloseKey", HostError(6, L"bad handle"));
    EXPECT_FALSE(reg.SetStringValue(L"x", L"y"));
    EXPECT_FALSE(reg.SetDWORDValue(L"x", 1));
    EXPECT_EQ(reg.GetStringValue(L"v"), L"");
    EXPECT_EQ(reg.GetDWORDValue(L"v", 3), 3);
    EXPECT_EQ(reg.Keys(0), L"");
    EXPECT_FALSE(reg.CloseKey());
    EXPECT_TRUE(reg.CloseKey());  // nothing open any more

    w.sim.faults.Clear();
    w.sim.faults.FailAlways(L"Registry.CreateKey", HostError(5, L"denied"));
    EXPECT_FALSE(reg.InitForWrite(reg.HKEY_CURRENT_USER(), L"Software\\New", true));
    EXPECT_FALSE(sim.KeyExists(L"HKEY_CURRENT_USER\\Software\\New"));
}

}  // namespace
}  // namespace plexa
