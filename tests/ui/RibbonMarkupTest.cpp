// The add-in's ribbon mark-up as the client asks for it: valid against Office's custom-UI schema
// of its namespace (customUI.xsd for version 12, customui14.xsd for 14) for both ribbons, with
// and without a tab of its own and the debug button; the compose group before the Send group or
// in its own tab; nothing for any other ribbon.
#include <gtest/gtest.h>

#include <string>

#include "TestWorld.h"
#include "core/Text.h"
#include "settings/COptions.h"
#include "sim/office/RibbonMarkup.h"
#include "ui/mRibbonMarkup.h"

namespace plexa {
namespace {

constexpr const wchar_t* kUser = L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa";

// The element of an id anywhere below e; nullptr when none.
const sim::RibbonElement* Find(const sim::RibbonElement& e, const std::wstring& id) {
    if (e.Id() == id) {
        return &e;
    }
    for (const auto& child : e.children) {
        if (const auto* found = Find(child, id)) {
            return found;
        }
    }
    return nullptr;
}

TEST(RibbonMarkup, EveryVariantIsValidAgainstTheSchemaOfItsVersion) {
    if (!sim::CustomUiSchemaAvailable() || !sim::CustomUi14SchemaAvailable()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    for (const int32_t version : {12, 14}) {
        const sim::CustomUiSchema& schema =
            version >= 14 ? sim::DefaultCustomUi14Schema() : sim::DefaultCustomUiSchema();
        for (const bool flag : {false, true}) {
            SCOPED_TRACE(testing::Message() << "version " << version << ", flag " << flag);
            test::TestWorld world;
            world.sim.host.SetVersion(std::to_wstring(version) + L".0.0.1");
            world.services.Options().SeparateTab(flag);
            world.sim.registry.PutDword(kUser, L"UseDebugButtons", flag ? 1 : 0);

            const std::wstring compose =
                mRibbonMarkup::GetCustomUI(world.services, L"Microsoft.Outlook.Mail.Compose");
            sim::RibbonElement root;
            ASSERT_NO_THROW(root = schema.Read(compose)) << text::ToUtf8(compose);
            EXPECT_EQ(root.Attr(L"onLoad"), L"Ribbon_OnLoad");
            const auto* tab = &root.children.at(0).children.at(0).children.at(0);
            EXPECT_EQ(tab->Id(), flag ? L"Orvin.Plexa.Tab" : L"TabNewMailMessage");
            const auto* group = Find(root, L"Orvin.Plexa.Group");
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(group->Attr(L"insertBeforeMso"), flag ? L"" : L"GroupSend");
            EXPECT_EQ(group->Attr(L"getVisible"), L"Control_GetVisible");
            for (const wchar_t* id :
                 {L"sbtnInsert", L"btnFullName", L"mnuInsert", L"btnCompany", L"sbtnSendMode",
                  L"btnSendMode", L"btnSendModeAll", L"btnSendModeSep", L"btnOptions"}) {
                EXPECT_NE(Find(root, id), nullptr) << text::ToUtf8(id);
            }
            EXPECT_EQ(Find(root, L"btnSepGrouping")->Attr(L"getVisible"), L"Control_GetVisible");

            const std::wstring explorer =
                mRibbonMarkup::GetCustomUI(world.services, L"Microsoft.Outlook.Explorer");
            ASSERT_NO_THROW(root = schema.Read(explorer)) << text::ToUtf8(explorer);
            const auto& groups = root.children.at(0).children.at(0).children.at(0).children;
            ASSERT_EQ(groups.size(), 5U);
            EXPECT_EQ(groups[0].Id(), L"Orvin.Plexa.Explorer.grpDrafts");
            EXPECT_EQ(groups[4].Id(), L"Orvin.Plexa.Explorer.grpMisc");
            EXPECT_EQ(groups[4].children.size(),
                      flag ? 5U : 4U);  // options, last report, help, about (+ debug)
            EXPECT_EQ(Find(root, L"Orvin.Plexa.Explorer.btnSendNow")->Attr(L"imageMso"),
                      L"SendItem");
            EXPECT_EQ(Find(root, L"Orvin.Plexa.Explorer.btnTo")->Attr(L"getImage"),
                      L"Button_GetImage");
            EXPECT_EQ(Find(root, L"Orvin.Plexa.Explorer.btnTo")->Attr(L"size"), L"large");
        }
    }
}

TEST(RibbonMarkup, OtherRibbonsGetNothingAndTheNamespaceFollowsTheVersion) {
    test::TestWorld world;
    for (const wchar_t* id : {L"Microsoft.Outlook.Mail.Read", L"microsoft.outlook.explorer",
                              L"Microsoft.Outlook.Mail.Compose ", L""}) {
        EXPECT_EQ(mRibbonMarkup::GetCustomUI(world.services, id), L"");
    }
    EXPECT_NE(mRibbonMarkup::ComposeMarkup(false, 12).find(mRibbonMarkup::kNamespace2006),
              std::wstring::npos);
    EXPECT_NE(mRibbonMarkup::ExplorerMarkup(false, 14).find(mRibbonMarkup::kNamespace2009),
              std::wstring::npos);
}

}  // namespace
}  // namespace plexa
