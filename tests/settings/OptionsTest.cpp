#include <gtest/gtest.h>

#include <functional>

#include "TestWorld.h"
#include "core/HostError.h"
#include "settings/COptions.h"

namespace plexa {
namespace {

constexpr const wchar_t* kUser = L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa";
constexpr const wchar_t* kMachine = L"HKEY_LOCAL_MACHINE\\Software\\Orvin\\Plexa";

// The stored number, or -999 when the value is missing or not a REG_DWORD.
int64_t StoredNumber(test::TestWorld& w, const wchar_t* path, const std::wstring& name) {
    uint32_t type = 0;
    std::vector<uint8_t> d;
    if (!w.sim.registry.GetRaw(path, name, type, d) || type != reg::RegDword || d.size() != 4) {
        return -999;
    }
    return static_cast<int32_t>(d[0] | (d[1] << 8) | (d[2] << 16) | (uint32_t{d[3]} << 24));
}

struct FlagSetting {
    const wchar_t* valueName;
    bool defaultValue;
    std::function<bool(COptions&)> get;
    std::function<bool(COptions&, bool)> set;
};

std::vector<FlagSetting> Flags() {
#define PLEXA_FLAG(prop, name, def)                       \
    FlagSetting {                                         \
        name, def, [](COptions& o) { return o.prop(); },  \
            [](COptions& o, bool v) { return o.prop(v); } \
    }
    return {
        PLEXA_FLAG(ShowSeparatlyOptions, L"ShowSeparatlyOptions", true),
        PLEXA_FLAG(ExcludeDuplicates, L"ExcludeDuplicates", true),
        PLEXA_FLAG(IncludeCC, L"IncludeCC", true),
        PLEXA_FLAG(IncludeBCC, L"IncludeBCC", false),
        PLEXA_FLAG(ShowBtnCaptions, L"InspectorToolbar.BtnCaptions", true),
        PLEXA_FLAG(SeparateBar, L"InspectorToolbar.Separate", true),
        PLEXA_FLAG(SeparateTab, L"InspectorToolbar.Separate2007", false),
        PLEXA_FLAG(ModifyDraftsView, L"ModifyDraftsView", false),
        PLEXA_FLAG(MarkWithFlag, L"FlagEnabled", false),
        PLEXA_FLAG(ClearMarking, L"ClearMarking", true),
        PLEXA_FLAG(ExcludePrivateContacts, L"ExcludePrivateContacts", false),
        PLEXA_FLAG(ExcludeReplied, L"ExcludeReplied", false),
        PLEXA_FLAG(ExcludeLinkItems, L"ExcludeLinkItems", false),
    };
#undef PLEXA_FLAG
}

struct NumberSetting {
    const wchar_t* valueName;
    int32_t defaultValue;
    std::function<int32_t(COptions&)> get;
    std::function<bool(COptions&, int32_t)> set;
};

std::vector<NumberSetting> Numbers() {
#define PLEXA_NUMBER(prop, name, def)                        \
    NumberSetting {                                          \
        name, def, [](COptions& o) { return o.prop(); },     \
            [](COptions& o, int32_t v) { return o.prop(v); } \
    }
    return {
        PLEXA_NUMBER(DefaultSendMode, L"DefaultSendMode", 1),
        PLEXA_NUMBER(GroupRecipients, L"GroupRecipients", 20),
        PLEXA_NUMBER(GroupInterval, L"GroupInterval", 5),
        PLEXA_NUMBER(Flag, L"Flag", 0),
        PLEXA_NUMBER(Flag2003, L"Flag2003", 0),
    };
#undef PLEXA_NUMBER
}

TEST(COptions, CleanMachineGivesDefaultsAndWritesOnlyTheSelfStoringOnes) {
    test::TestWorld w;
    COptions& o = w.services.Options();
    EXPECT_EQ(&o, &w.services.Options());  // one instance

    for (const auto& f : Flags()) {
        EXPECT_EQ(f.get(o), f.defaultValue) << f.valueName;
    }
    for (const auto& n : Numbers()) {
        EXPECT_EQ(n.get(o), n.defaultValue) << n.valueName;
    }
    EXPECT_EQ(o.LangID(), L"EN");
    EXPECT_EQ(o.LangFile(), L"");
    EXPECT_EQ(o.FlagText(), L"Review");
    int32_t pos = 9, row = 9, left = 9, top = 9;
    o.ReadToolbarPos(true, pos, row, left, top);
    EXPECT_EQ(std::vector<int32_t>({pos, row, left, top}), std::vector<int32_t>({1, -1, 0, 0}));
    EXPECT_EQ(o.GetCachedAction_(0, 3), 3);
    EXPECT_FALSE(w.sim.registry.KeyExists(kUser));  // reading created nothing

    EXPECT_TRUE(o.UseTransparentIcons());
    EXPECT_EQ(o.ToolbarButtonFace(), L"Toolbar Button Face");
    EXPECT_EQ(o.ToolbarButtonMask(), L"Toolbar Button Mask");
    EXPECT_EQ(o.TestToolbar(), 1);
    EXPECT_FALSE(o.UseDebugButtons());
    EXPECT_EQ(
        w.sim.registry.ValueNames(kUser),
        (std::vector<std::wstring>{L"UseTransparentIcons", L"ToolbarButtonFace",
                                   L"ToolbarButtonMask", L"TestToolbar", L"UseDebugButtons"}));
    EXPECT_EQ(StoredNumber(w, kUser, L"UseTransparentIcons"), 1);
    EXPECT_EQ(StoredNumber(w, kUser, L"TestToolbar"), 0);
    EXPECT_EQ(StoredNumber(w, kUser, L"UseDebugButtons"), 0);
    EXPECT_FALSE(w.sim.registry.KeyExists(kMachine));
}

TEST(COptions, StoresEachSettingUnderItsOwnName) {
    test::TestWorld w;
    COptions& o = w.services.Options();
    for (const auto& f : Flags()) {
        ASSERT_TRUE(f.set(o, !f.defaultValue)) << f.valueName;
        EXPECT_EQ(f.get(o), !f.defaultValue) << f.valueName;
        EXPECT_EQ(StoredNumber(w, kUser, f.valueName), f.defaultValue ? 0 : 1) << f.valueName;
        // Any non-zero number is true; a number stored as text gives the default.
        w.sim.registry.PutDword(kUser, f.valueName, 2);
        EXPECT_TRUE(f.get(o)) << f.valueName;
        w.sim.registry.PutString(kUser, f.valueName, f.defaultValue ? L"0" : L"1");
        EXPECT_EQ(f.get(o), f.defaultValue) << f.valueName;
    }
    for (const auto& n : Numbers()) {
        ASSERT_TRUE(n.set(o, -7)) << n.valueName;
        EXPECT_EQ(n.get(o), -7) << n.valueName;
        EXPECT_EQ(StoredNumber(w, kUser, n.valueName), -7) << n.valueName;
        w.sim.registry.PutString(kUser, n.valueName, L"3");
        EXPECT_EQ(n.get(o), n.defaultValue) << n.valueName;
    }
    ASSERT_TRUE(o.LangID(L"FR"));
    ASSERT_TRUE(o.LangFile(L"C:\\Lang\\Français.lng"));
    EXPECT_EQ(o.LangID(), L"FR");
    EXPECT_EQ(o.LangFile(), L"C:\\Lang\\Français.lng");
    uint32_t type = 0;
    std::vector<uint8_t> d;
    ASSERT_TRUE(w.sim.registry.GetRaw(kUser, L"LANG_", type, d));
    EXPECT_EQ(type, reg::RegSz);

    // Toolbar positions per window kind, and cached actions per item type.
    ASSERT_TRUE(o.WriteToolbarPos(true, 2, 3, 40, 50));
    ASSERT_TRUE(o.WriteToolbarPos(false, 4, 0, -10, 60));
    int32_t pos = 0, row = 0, left = 0, top = 0;
    o.ReadToolbarPos(true, pos, row, left, top);
    EXPECT_EQ(std::vector<int32_t>({pos, row, left, top}), std::vector<int32_t>({2, 3, 40, 50}));
    o.ReadToolbarPos(false, pos, row, left, top);
    EXPECT_EQ(std::vector<int32_t>({pos, row, left, top}), std::vector<int32_t>({4, 0, -10, 60}));
    EXPECT_EQ(StoredNumber(w, kUser, L"InspectorToolbar.Left"), -10);
    EXPECT_EQ(StoredNumber(w, kUser, L"ExplorerToolbar.RowIndex"), 3);

    const wchar_t* names[] = {L"Mail",    L"Appointment", L"Contact", L"Task",
                              L"Journal", L"Note",        L"Post",    L"DistributionList"};
    for (int32_t t = 0; t < 8; ++t) {
        ASSERT_TRUE(o.SetCachedAction_(t, t % 5));
        EXPECT_EQ(StoredNumber(w, kUser, std::wstring(L"CachedAction_") + names[t]), t % 5);
    }
    EXPECT_EQ(o.GetCachedAction_(9, 0), 0);
    ASSERT_TRUE(o.SetCachedAction_(9, 4));
    EXPECT_EQ(StoredNumber(w, kUser, L"CachedAction_"), 4);
    EXPECT_EQ(o.GetCachedAction_(-1, 0), 4);  // every unknown type shares that value
    EXPECT_EQ(o.GetCachedAction_(7, 0), 2);
    EXPECT_FALSE(w.sim.registry.KeyExists(kMachine));  // the store never writes there
}

TEST(COptions, FallsBackToTheMachineWhereAllowed) {
    test::TestWorld w;
    COptions& o = w.services.Options();
    auto& sim = w.sim.registry;
    sim.PutString(kMachine, L"LANG", L"DE");
    sim.PutString(kMachine, L"LANG_", L"C:\\Lang\\Deutsch.lng");
    EXPECT_EQ(o.LangID(), L"DE");
    // The machine's file goes with the machine's language: a user without a language of their
    // own does not take it (the language table then looks for the file itself).
    EXPECT_EQ(o.LangFile(), L"");
    // A user language other than the machine's ignores the machine's file.
    sim.PutString(kUser, L"LANG", L"FR");
    EXPECT_EQ(o.LangID(), L"FR");
    EXPECT_EQ(o.LangFile(), L"");
    sim.PutString(kUser, L"LANG", L"de");
    EXPECT_EQ(o.LangFile(), L"C:\\Lang\\Deutsch.lng");
    sim.PutString(kUser, L"LANG_", L"C:\\Mine.lng");
    EXPECT_EQ(o.LangFile(), L"C:\\Mine.lng");
    // An empty user text counts as missing.
    sim.PutString(kUser, L"LANG", L"");
    EXPECT_EQ(o.LangID(), L"DE");
    // No language anywhere still finds the machine's file.
    sim.PutString(kMachine, L"LANG", L"");
    sim.PutString(kUser, L"LANG_", L"");
    EXPECT_EQ(o.LangFile(), L"C:\\Lang\\Deutsch.lng");

    // The self-storing settings take the machine's value without copying it to the user.
    sim.PutDword(kMachine, L"UseTransparentIcons", 0);
    sim.PutString(kMachine, L"ToolbarButtonFace", L"Admin Face");
    EXPECT_FALSE(o.UseTransparentIcons());
    EXPECT_EQ(o.ToolbarButtonFace(), L"Admin Face");
    EXPECT_EQ(StoredNumber(w, kUser, L"UseTransparentIcons"), -999);
    sim.PutDword(kUser, L"UseTransparentIcons", 5);
    sim.PutString(kUser, L"ToolbarButtonFace", L"My Face");
    EXPECT_TRUE(o.UseTransparentIcons());
    EXPECT_EQ(o.ToolbarButtonFace(), L"My Face");
    // Other settings never look at the machine.
    sim.PutDword(kMachine, L"GroupRecipients", 50);
    EXPECT_EQ(o.GroupRecipients(), 20);
}

TEST(COptions, RepairsTheDebugSwitches) {
    test::TestWorld w;
    COptions& o = w.services.Options();
    auto& sim = w.sim.registry;
    sim.PutDword(kUser, L"UseDebugButtons", 2);
    EXPECT_FALSE(o.UseDebugButtons());
    EXPECT_EQ(StoredNumber(w, kUser, L"UseDebugButtons"), 0);
    sim.PutDword(kUser, L"UseDebugButtons", 1);
    EXPECT_TRUE(o.UseDebugButtons());
    EXPECT_EQ(StoredNumber(w, kUser, L"UseDebugButtons"), 1);
    sim.PutDword(kUser, L"TestToolbar", 5);
    EXPECT_EQ(o.TestToolbar(), 0);
    EXPECT_EQ(StoredNumber(w, kUser, L"TestToolbar"), 5);
    sim.PutDword(kUser, L"TestToolbar", 0);
    EXPECT_EQ(o.TestToolbar(), 1);
}

TEST(COptions, RegistryTroubleGivesDefaultsAndFalse) {
    test::TestWorld w;
    COptions& o = w.services.Options();
    ASSERT_TRUE(o.WriteToolbarPos(false, 2, 3, 4, 5));
    ASSERT_TRUE(o.GroupInterval(9));

    w.sim.faults.FailAlways(L"Registry.QueryValue", HostError(1450, L"no resources"));
    int32_t pos = 0, row = 0, left = 0, top = 0;
    o.ReadToolbarPos(false, pos, row, left, top);
    EXPECT_EQ(std::vector<int32_t>({pos, row, left, top}), std::vector<int32_t>({1, -1, 0, 0}));
    EXPECT_EQ(o.GroupInterval(), 5);

    w.sim.faults.Clear();
    w.sim.faults.FailAlways(L"Registry.CreateKey", HostError(5, L"denied"));
    EXPECT_FALSE(o.GroupInterval(1));
    EXPECT_FALSE(o.WriteToolbarPos(false, 1, 1, 1, 1));
    EXPECT_FALSE(o.IncludeBCC(true));
    w.sim.faults.Clear();
    EXPECT_EQ(o.GroupInterval(), 9);
    EXPECT_FALSE(o.IncludeBCC());
    EXPECT_EQ(w.sim.registry.OpenHandleCount(), 0u);  // every access closed its key
}

TEST(COptions, ServesTheFixedIdentity) {
    test::TestWorld w;
    COptions& o = w.services.Options();
    EXPECT_EQ(o.CompanyShortName(), L"Orvin");
    EXPECT_EQ(o.ProductShortName(), L"Plexa");
    EXPECT_EQ(o.ProductCode(), L"Plexa");
    EXPECT_TRUE(o.ProductHomePage().starts_with(L"https://"));
    EXPECT_EQ(o.GetRegPath(), L"Software\\Orvin\\Plexa");

    const auto icon = o.MAIN_ICON();
    const auto logo = o.LOGO();
    ASSERT_TRUE(icon && logo);
    EXPECT_EQ(icon->Type(), IPictureDisp::PicTypeIcon);
    EXPECT_EQ(logo->Type(), IPictureDisp::PicTypeBitmap);
    EXPECT_NE(icon->Handle(), logo->Handle());
    w.sim.faults.FailAlways(L"Resources.LoadResPicture", HostError(7, L"Out of memory"));
    EXPECT_EQ(o.LOGO(), nullptr);
    // A picture asked for as the wrong kind is not there.
    w.sim.faults.Clear();
    EXPECT_THROW(w.sim.resources.LoadResPicture(L"LOGO", ResPictureType::Icon), HostError);
}

}  // namespace
}  // namespace plexa
