#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestWorld.h"
#include "core/HostError.h"
#include "core/Text.h"

namespace plexa {
namespace {

constexpr const wchar_t* kKey = L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa";
const std::string kOne("\1\0\0\0", 4);  // the DWORD 1

std::span<const uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Query(IRegistry& r, RegKey key, const std::string& name, int32_t* status = nullptr) {
    std::string buf(4096, '\0');
    uint32_t size = static_cast<uint32_t>(buf.size());
    const int32_t st =
        r.QueryValueEx(key, name, nullptr, reinterpret_cast<uint8_t*>(buf.data()), &size);
    if (status != nullptr) {
        *status = st;
    }
    buf.resize(st == reg::ErrorSuccess ? size : 0);
    return buf;
}

std::vector<uint8_t> Utf16(const std::wstring& s) {
    std::vector<uint8_t> out;
    for (char16_t u : text::ToUtf16(s)) {
        out.push_back(static_cast<uint8_t>(u & 0xFF));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
    return out;
}

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SimRegistry, KeepsTheWindowsRules) {
    test::TestWorld w;
    IRegistry& r = w.sim.registry;
    RegKey k = 0;
    uint32_t disposition = 0;
    ASSERT_EQ(r.CreateKeyEx(reg::HkeyCurrentUser, "Software\\Orvin\\Plexa", reg::KeyAllAccess, k,
                            &disposition),
              reg::ErrorSuccess);
    EXPECT_EQ(disposition, reg::CreatedNewKey);
    RegKey again = 0;
    ASSERT_EQ(r.CreateKeyEx(reg::HkeyCurrentUser, "SOFTWARE\\orvin\\PLEXA", reg::KeyRead, again,
                            &disposition),
              reg::ErrorSuccess);
    EXPECT_EQ(disposition, reg::OpenedExistingKey);
    EXPECT_EQ(w.sim.registry.SubKeyNames(L"HKEY_CURRENT_USER\\Software"),
              std::vector<std::wstring>{L"Orvin"});

    // Value names ignore letter case and keep the case first written.
    ASSERT_EQ(r.SetValueEx(k, "Mode", reg::RegSz, Bytes(std::string("a\0", 2))), 0);
    ASSERT_EQ(r.SetValueEx(k, "MODE", reg::RegSz, Bytes(std::string("b\0", 2))), 0);
    EXPECT_EQ(Query(r, again, "mode"), std::string("b\0", 2));
    EXPECT_EQ(w.sim.registry.ValueNames(kKey), std::vector<std::wstring>{L"Mode"});

    // The handle's access decides, as on Windows.
    EXPECT_EQ(r.SetValueEx(again, "Mode", reg::RegSz, Bytes(std::string("c\0", 2))),
              reg::ErrorAccessDenied);
    EXPECT_EQ(r.DeleteValue(again, "Mode"), reg::ErrorAccessDenied);
    RegKey writeOnly = 0;
    ASSERT_EQ(r.OpenKeyEx(reg::HkeyCurrentUser, "Software\\Orvin\\Plexa", reg::KeyWrite, writeOnly),
              0);
    int32_t status = 0;
    Query(r, writeOnly, "Mode", &status);
    EXPECT_EQ(status, reg::ErrorAccessDenied);
    char name[300];
    uint32_t nameSize = sizeof name;
    EXPECT_EQ(r.EnumKeyEx(writeOnly, 0, name, &nameSize), reg::ErrorAccessDenied);
    RegKey child = 0;
    EXPECT_EQ(r.CreateKeyEx(again, "New", reg::KeyRead, child, nullptr), reg::ErrorAccessDenied);
    Query(r, again, "Missing", &status);
    EXPECT_EQ(status, reg::ErrorFileNotFound);

    // Subkeys enumerate by name ignoring case, values in the order written.
    for (const char* n : {"delta", "Alpha", "charlie", "Bravo"}) {
        ASSERT_EQ(r.CreateKeyEx(k, std::string("List\\") + n, reg::KeyRead, child, nullptr), 0);
        ASSERT_EQ(r.CloseKey(child), 0);
        ASSERT_EQ(r.SetValueEx(k, n, reg::RegDword, Bytes(kOne)), 0);
    }
    RegKey list = 0;
    ASSERT_EQ(r.OpenKeyEx(k, "list", reg::KeyRead, list), 0);
    std::vector<std::string> names;
    for (uint32_t i = 0;; ++i) {
        nameSize = sizeof name;
        const int32_t st = r.EnumKeyEx(list, i, name, &nameSize);
        if (st != reg::ErrorSuccess) {
            EXPECT_EQ(st, reg::ErrorNoMoreItems);
            break;
        }
        names.emplace_back(name, nameSize);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
    EXPECT_EQ(Query(r, k, "BRAVO"), kOne);
    EXPECT_EQ(w.sim.registry.ValueNames(kKey),
              (std::vector<std::wstring>{L"Mode", L"delta", L"Alpha", L"charlie", L"Bravo"}));

    // A key with subkeys stays; a deleted key's handles report it.
    EXPECT_EQ(r.DeleteKey(k, "List"), reg::ErrorAccessDenied);
    RegKey alpha = 0;
    ASSERT_EQ(r.OpenKeyEx(list, "ALPHA", reg::KeyRead, alpha), 0);
    EXPECT_EQ(r.DeleteKey(list, "alpha"), reg::ErrorSuccess);
    Query(r, alpha, "x", &status);
    EXPECT_EQ(status, reg::ErrorKeyDeleted);
    EXPECT_EQ(r.DeleteKey(list, "alpha"), reg::ErrorFileNotFound);
    EXPECT_EQ(r.DeleteKey(reg::HkeyCurrentUser, ""), reg::ErrorAccessDenied);

    // Bad paths and handles.
    EXPECT_EQ(r.OpenKeyEx(k, "a\\\\b", reg::KeyRead, child), reg::ErrorBadPathname);
    EXPECT_EQ(r.CreateKeyEx(k, "\\lead", reg::KeyRead, child, nullptr), reg::ErrorBadPathname);
    EXPECT_EQ(r.CreateKeyEx(k, std::string(256, 'x'), reg::KeyRead, child, nullptr),
              reg::ErrorInvalidParameter);
    EXPECT_EQ(r.OpenKeyEx(reg::HkeyCurrentUser, "Software\\Nobody", reg::KeyRead, child),
              reg::ErrorFileNotFound);
    EXPECT_EQ(r.CloseKey(0x12345), reg::ErrorInvalidHandle);

    for (RegKey h : {k, again, writeOnly, list, alpha}) {
        EXPECT_EQ(r.CloseKey(h), reg::ErrorSuccess);
    }
    EXPECT_EQ(w.sim.registry.OpenHandleCount(), 0u);
}

TEST(SimRegistry, ConvertsTextThroughTheCodePageAndReportsSizes) {
    test::TestWorld w;
    IRegistry& r = w.sim.registry;
    w.sim.locale.codePage = "windows-1251";
    RegKey k = 0;
    // "Привет" in windows-1251, as key name and as data.
    const std::string privet = "\xCF\xF0\xE8\xE2\xE5\xF2";
    ASSERT_EQ(
        r.CreateKeyEx(reg::HkeyCurrentUser, "Software\\" + privet, reg::KeyAllAccess, k, nullptr),
        0);
    ASSERT_EQ(r.SetValueEx(k, "Greeting", reg::RegSz, Bytes(privet + '\0')), 0);
    ASSERT_EQ(r.SetValueEx(k, "Raw", reg::RegBinary, Bytes(privet)), 0);
    EXPECT_TRUE(w.sim.registry.KeyExists(L"HKEY_CURRENT_USER\\Software\\Привет"));
    uint32_t type = 0;
    std::vector<uint8_t> stored;
    ASSERT_TRUE(
        w.sim.registry.GetRaw(L"HKEY_CURRENT_USER\\Software\\привет", L"greeting", type, stored));
    EXPECT_EQ(type, reg::RegSz);
    EXPECT_EQ(stored, Utf16(std::wstring(L"Привет") + L'\0'));
    EXPECT_EQ(Query(r, k, "Greeting"), privet + '\0');

    // The same hive seen through another code page: what it lacks arrives as "?"; binary data
    // is not converted.
    w.sim.locale.codePage = "windows-1252";
    EXPECT_EQ(Query(r, k, "Greeting"), std::string("??????\0", 7));
    EXPECT_EQ(Query(r, k, "Raw"), privet);

    // Asking for the size gives enough room; a short buffer gives the size needed.
    uint32_t size = 0;
    ASSERT_EQ(r.QueryValueEx(k, "Greeting", &type, nullptr, &size), 0);
    EXPECT_GE(size, 7u);
    uint8_t small[3];
    size = sizeof small;
    EXPECT_EQ(r.QueryValueEx(k, "Greeting", &type, small, &size), reg::ErrorMoreData);
    EXPECT_EQ(size, 7u);
    char name[4];
    uint32_t nameSize = sizeof name;
    EXPECT_EQ(r.EnumValue(k, 0, name, &nameSize, nullptr, nullptr, nullptr), reg::ErrorMoreData);
    r.CloseKey(k);
}

TEST(SimRegistry, InjectedFaultsBecomeStatusCodes) {
    test::TestWorld w;
    IRegistry& r = w.sim.registry;
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"Registry.SetValue" && text::EndsWithNoCase(detail, L"\\Plexa\\Locked");
        },
        HostError(reg::ErrorAccessDenied, L"policy"));
    RegKey k = 0;
    ASSERT_EQ(r.CreateKeyEx(reg::HkeyCurrentUser, "Software\\Orvin\\Plexa", reg::KeyAllAccess, k,
                            nullptr),
              0);
    EXPECT_EQ(r.SetValueEx(k, "Locked", reg::RegDword, Bytes(kOne)), reg::ErrorAccessDenied);
    EXPECT_EQ(r.SetValueEx(k, "Open", reg::RegDword, Bytes(kOne)), reg::ErrorSuccess);
    EXPECT_EQ(w.sim.registry.ValueNames(kKey), std::vector<std::wstring>{L"Open"});
    r.CloseKey(k);
}

// A hive with everything that needs care in the file: quotes, backslashes, non-Latin text,
// characters outside the basic plane, numbers, binary data long enough to wrap, typed data,
// an empty default value and an empty key.
void FillTrickyHive(sim::SimRegistry& r) {
    r.PutString(kKey, L"", L"");
    r.PutString(kKey, L"Quote \"and\" \\slash\\", L"C:\\Temp\\\"quoted\"\\");
    r.PutString(kKey, L"Текст", L"Привет, 世界 😀 — ñ");
    r.PutDword(kKey, L"Zero", 0);
    r.PutDword(kKey, L"All", 0xFFFFFFFF);
    std::vector<uint8_t> binary;
    binary.reserve(100);
    for (int i = 0; i < 100; ++i) {
        binary.push_back(static_cast<uint8_t>(i * 37));
    }
    r.PutRaw(kKey, L"Blob", reg::RegBinary, binary);
    r.PutRaw(kKey, L"EmptyBlob", reg::RegBinary, {});
    r.PutString(kKey, L"Path", L"%APPDATA%\\Plexa", reg::RegExpandSz);
    r.PutRaw(kKey, L"List", reg::RegMultiSz, Utf16(std::wstring(L"one\0two\0\0", 9)));
    r.PutRaw(kKey, L"Unterminated", reg::RegSz, Utf16(L"no null"));
    r.PutString(kKey, L"Lines", L"first\r\nsecond");
    r.PutRaw(kKey, L"ShortDword", reg::RegDword, {1, 2});
    RegKey empty = 0;
    ASSERT_EQ(r.CreateKeyEx(reg::HkeyCurrentUser, "Software\\Orvin\\Plexa\\Empty Key", reg::KeyRead,
                            empty, nullptr),
              0);
    r.CloseKey(empty);
    r.PutDword(L"HKEY_LOCAL_MACHINE\\Software\\Orvin\\Plexa", L"UseTransparentIcons", 0);
}

TEST(SimRegistry, RoundTripsThroughARegFile) {
    test::TestWorld w;
    ASSERT_NO_FATAL_FAILURE(FillTrickyHive(w.sim.registry));
    const auto file = w.root.Path() / "hive.reg";
    w.sim.registry.Save(file);

    const std::string bytes = ReadBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                              (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    }
    const std::wstring content = text::FromUtf16(units);
    EXPECT_TRUE(content.starts_with(L"Windows Registry Editor Version 5.00\r\n\r\n"));
    EXPECT_NE(
        content.find(L"\"Quote \\\"and\\\" \\\\slash\\\\\"=\"C:\\\\Temp\\\\\\\"quoted\\\"\\\\\""),
        std::wstring::npos);
    EXPECT_NE(content.find(L"\"Текст\"=\"Привет, 世界 😀 — ñ\""), std::wstring::npos);
    EXPECT_NE(content.find(L"@=\"\"\r\n"), std::wstring::npos);
    EXPECT_NE(content.find(L"\"All\"=dword:ffffffff\r\n"), std::wstring::npos);
    EXPECT_NE(content.find(L"\"EmptyBlob\"=hex:\r\n"), std::wstring::npos);
    for (const std::wstring& line : text::Split(content, L"\r\n")) {
        EXPECT_LE(line.size(), 80u) << text::ToUtf8(line);
    }

    test::TestWorld other;
    other.sim.registry.Load(file);
    EXPECT_EQ(other.sim.registry.Export(), w.sim.registry.Export());
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(other.sim.registry.GetRaw(kKey, L"Blob", type, data));
    EXPECT_EQ(data.size(), 100u);
    EXPECT_EQ(data[99], static_cast<uint8_t>(99 * 37));
    ASSERT_TRUE(other.sim.registry.GetRaw(kKey, L"Lines", type, data));
    EXPECT_EQ(data, Utf16(std::wstring(L"first\r\nsecond\0", 14)));
    ASSERT_TRUE(other.sim.registry.GetRaw(kKey, L"Path", type, data));
    EXPECT_EQ(type, reg::RegExpandSz);
    ASSERT_TRUE(other.sim.registry.GetRaw(kKey, L"", type, data));
    EXPECT_EQ(data, Utf16(std::wstring(L"\0", 1)));
    EXPECT_TRUE(
        other.sim.registry.KeyExists(L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa\\Empty Key"));

    // A file written by hand in UTF-8 reads too.
    other.sim.registry.Import(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n; a comment\n"
        "[HKEY_CURRENT_USER\\Software\\Orvin\\Plexa]\n\"LANG\"=\"DE\"\n"
        "\"Bytes\"=hex:01,02,\\\n  03\n",
        L"hand.reg");
    ASSERT_TRUE(other.sim.registry.GetRaw(kKey, L"bytes", type, data));
    EXPECT_EQ(data, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(other.sim.registry.GetRaw(kKey, L"Blob", type, data));
}

TEST(SimRegistry, RefusesAMalformedFileAndKeepsTheHive) {
    test::TestWorld w;
    ASSERT_NO_FATAL_FAILURE(FillTrickyHive(w.sim.registry));
    const std::string before = w.sim.registry.Export();
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Orvin\\Plexa]\r\n";
    const struct {
        std::string text;
        int line;
        std::wstring says;
    } cases[] = {
        {"REGEDIT4\r\n\r\n" + key, 1, L"does not begin with"},
        {header + "\"Orphan\"=\"x\"\r\n", 3, L"must follow a [key]"},
        {header + key + "\"Name\"=\"unterminated\r\n", 4, L"no closing quote"},
        {header + key + "\"Bad\"=dword:123456789\r\n", 4, L"1 to 8 hex digits"},
        {header + key + "\"Bad\"=hex:01,zz\r\n", 4, L"\"zz\" is not a hex byte"},
        {header + key + "\"Wrap\"=hex:01,\\\r\n  02,\\\r\n  0g\r\n", 6, L"not a hex byte"},
        {header + "[HKEY_USERS\\x]\r\n", 3, L"must begin with HKEY_"},
        {header + key + "\"Path\"=\"C:\\Temp\"\r\n", 4, L"must be followed by"},
        {header + key + "garbage\r\n", 4, L"expected a [key]"},
        {header + "[HKEY_CURRENT_USER\\a\\\\b]\r\n", 3, L"empty name"},
        {header + key + "\"Gone\"=-\r\n", 4, L"not supported"},
        {header + key + "\"Cut\"=hex:01,\\", 4, L"past the end of the file"},
    };
    for (const auto& c : cases) {
        try {
            w.sim.registry.Import(c.text, L"state.reg");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), vberr::InvalidFileFormat);
            EXPECT_EQ(e.Line(), c.line) << text::ToUtf8(e.Description());
            EXPECT_TRUE(e.Description().starts_with(L"state.reg, line " + std::to_wstring(c.line)))
                << text::ToUtf8(e.Description());
            EXPECT_NE(e.Description().find(c.says), std::wstring::npos)
                << text::ToUtf8(e.Description());
        }
        EXPECT_EQ(w.sim.registry.Export(), before);
    }

    // Through a file, too; a missing file is its own error.
    const auto file = w.root.Path() / "broken.reg";
    std::ofstream(file, std::ios::binary) << header << key << "\"x\"=dword:zz\r\n";
    EXPECT_THROW(w.sim.registry.Load(file), HostError);
    EXPECT_EQ(w.sim.registry.Export(), before);
    try {
        w.sim.registry.Load(w.root.Path() / "missing.reg");
        ADD_FAILURE();
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), vberr::FileNotFound);
    }
}

TEST(SimRegistry, SavesAtomically) {
    test::TestWorld w;
    const auto file = w.root.Path() / "hive.reg";
    w.sim.registry.PutDword(kKey, L"Version", 1);
    w.sim.registry.Save(file);
    const std::string first = ReadBytes(file);

    // A crash before the rename leaves the previous hive whole and no temporary file behind.
    w.sim.registry.PutDword(kKey, L"Version", 2);
    w.sim.faults.FailNth(L"Registry.SaveFile", 1, HostError(75, L"crash"));
    EXPECT_THROW(w.sim.registry.Save(file), HostError);
    EXPECT_EQ(ReadBytes(file), first);
    EXPECT_FALSE(std::filesystem::exists(w.root.Path() / "hive.reg.tmp"));

    w.sim.registry.Save(file);
    test::TestWorld other;
    other.sim.registry.Load(file);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(other.sim.registry.GetRaw(kKey, L"Version", type, data));
    EXPECT_EQ(data, (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_THROW(w.sim.registry.Save(w.root.Path() / "no-such-dir" / "hive.reg"), HostError);

    // Loading replaces the hive: handles to the old keys report their key gone.
    RegKey k = 0;
    ASSERT_EQ(w.sim.registry.OpenKeyEx(reg::HkeyCurrentUser, "Software\\Orvin", reg::KeyRead, k),
              0);
    w.sim.registry.Load(file);
    int32_t status = 0;
    Query(w.sim.registry, k, "x", &status);
    EXPECT_EQ(status, reg::ErrorKeyDeleted);
    w.sim.registry.CloseKey(k);
}

}  // namespace
}  // namespace plexa
