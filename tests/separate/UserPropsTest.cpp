// The send settings a message carries: the marker, the send mode and the grouping switch as the
// item's user properties, their defaults, and what happens when the host refuses.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/outlook/Application.h"
#include "separate/mUserProps.h"
#include "sim/SimHost.h"

namespace plexa {
namespace {

struct PropsWorld : test::TestWorld {
    PropsWorld() {
        services.host.application = host.application;
        mail = NewMail();
    }
    std::shared_ptr<MailItem> NewMail() {
        auto item = std::dynamic_pointer_cast<MailItem>(host.application->CreateItem(olMailItem));
        item->SetSubject(L"Newsletter");
        return item;
    }
    // The item as it was last saved, opened again.
    std::shared_ptr<MailItem> Reopened() {
        return std::dynamic_pointer_cast<MailItem>(
            host.application->Session()->GetItemFromID(mail->EntryID()));
    }
    // The item as this object holds it (with what it has not saved).
    std::shared_ptr<sim::ItemRecord> Record() { return sim::SimOutlook::HandleOf(mail)->Edit(); }
    // The stored text of a property, or "(absent)".
    std::wstring Stored(const wchar_t* name) {
        auto prop = mail->GetUserProperties()->Find(name);
        return prop ? CStr(prop->Value()) : L"(absent)";
    }
    void Store(const wchar_t* name, const std::wstring& value) {
        auto props = mail->GetUserProperties();
        auto prop = props->Find(name);
        if (!prop) {
            prop = props->Add(name, olText);
        }
        prop->SetValue(Variant(value));
    }
    size_t Errors(const std::wstring& source = L"") {
        return log.Of(LogLevel::Error, source).size();
    }

    sim::SimHost host{sim};
    std::shared_ptr<MailItem> mail;
};

TEST(UserProps, AMessageWithoutPropertiesIsUnmarkedModeZeroAndUngrouped) {
    PropsWorld w;
    EXPECT_FALSE(mUserProps::GetShowToolbar(w.mail));
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), SendModeAll);
    EXPECT_FALSE(mUserProps::GetGroupMode(w.mail));
    // Clearing what is not there is no error either, and reading adds nothing.
    mUserProps::ClearShowToolbar(w.mail, false);
    mUserProps::ClearSendMode(w.mail, false);
    mUserProps::ClearGroupMode(w.mail, false);
    EXPECT_EQ(w.mail->GetUserProperties()->Count(), 0);
    EXPECT_EQ(w.Errors(), 0U);
}

TEST(UserProps, WritesKeepOnePropertyEachAndSurviveSavingAndReopening) {
    PropsWorld w;
    mUserProps::SetShowToolbar(w.mail, false);
    mUserProps::SetSendMode(w.mail, SendModeSep, false);
    mUserProps::SetSendMode(w.mail, -7, false);
    mUserProps::setGroupMode(w.mail, true, false);
    mUserProps::setGroupMode(w.mail, false, false);
    EXPECT_EQ(w.mail->EntryID(), L"");  // nothing saved without being asked
    EXPECT_EQ(w.mail->GetUserProperties()->Count(), 3);
    EXPECT_EQ(w.Stored(mUserProps::kSendMode), L"-7");
    EXPECT_EQ(w.Stored(mUserProps::kGroupMode), L"0");
    EXPECT_EQ(w.Stored(mUserProps::kShowToolbar), L"1");

    // Text properties; only the marker stays out of the folder's fields.
    for (const auto& prop : w.Record()->userProperties) {
        EXPECT_EQ(prop.type, olText) << prop.name;
        EXPECT_EQ(prop.addToFolderFields, prop.name != mUserProps::kShowToolbar) << prop.name;
    }

    mUserProps::SetSendMode(w.mail, SendModeSep, true);
    mUserProps::setGroupMode(w.mail, true, true);
    auto again = w.Reopened();
    ASSERT_TRUE(again);
    EXPECT_TRUE(mUserProps::GetShowToolbar(again));
    EXPECT_EQ(mUserProps::GetSendMode(again), SendModeSep);
    EXPECT_TRUE(mUserProps::GetGroupMode(again));
    EXPECT_EQ(w.Errors(), 0U);
}

TEST(UserProps, TheMarkerCountsByPresenceAndIsNeverOverwritten) {
    PropsWorld w;
    w.Store(mUserProps::kShowToolbar, L"0");
    EXPECT_TRUE(mUserProps::GetShowToolbar(w.mail));
    mUserProps::SetShowToolbar(w.mail, true);
    EXPECT_EQ(w.Stored(mUserProps::kShowToolbar), L"0");
    EXPECT_EQ(w.mail->GetUserProperties()->Count(), 1);
    EXPECT_NE(w.mail->EntryID(), L"");  // but the save was made

    mUserProps::ClearShowToolbar(w.mail, true);
    EXPECT_FALSE(mUserProps::GetShowToolbar(w.Reopened()));
}

TEST(UserProps, StoredTextsConvertAsNumbersAndBadOnesAreLoggedAsDefaults) {
    PropsWorld w;
    w.Store(mUserProps::kSendMode, L"1");
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), 1);
    w.Store(mUserProps::kSendMode, L"42");
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), 42);  // an unknown mode reads as what it is
    w.Store(mUserProps::kSendMode, L" 1.5 ");
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), 2);
    EXPECT_EQ(w.Errors(), 0U);
    w.Store(mUserProps::kSendMode, L"99999999999");
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), 0);
    EXPECT_EQ(w.Errors(L"mUserProps::GetSendMode"), 1U);

    w.Store(mUserProps::kSendMode, L"separately");
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), 0);
    const auto modeErrors = w.log.Of(LogLevel::Error, L"mUserProps::GetSendMode");
    ASSERT_EQ(modeErrors.size(), 2U);
    EXPECT_EQ(modeErrors[0].number, vberr::Overflow);
    EXPECT_EQ(modeErrors[1].number, vberr::TypeMismatch);

    for (const wchar_t* on : {L"1", L"-1", L"2"}) {
        w.Store(mUserProps::kGroupMode, on);
        EXPECT_TRUE(mUserProps::GetGroupMode(w.mail)) << on;
    }
    w.Store(mUserProps::kGroupMode, L"0");
    EXPECT_FALSE(mUserProps::GetGroupMode(w.mail));
    EXPECT_EQ(w.Errors(L"mUserProps::GetGroupMode"), 0U);
    w.Store(mUserProps::kGroupMode, L"yes");
    EXPECT_FALSE(mUserProps::GetGroupMode(w.mail));
    EXPECT_EQ(w.Errors(L"mUserProps::GetGroupMode"), 1U);
}

TEST(UserProps, ClearingAllThreeSavesOnceAfterTheLast) {
    PropsWorld w;
    mUserProps::SetShowToolbar(w.mail, false);
    mUserProps::SetSendMode(w.mail, SendModeSep, false);
    mUserProps::setGroupMode(w.mail, true, true);
    const int saves = w.sim.faults.Calls(L"MailItem.Save");

    mUserProps::ClearShowToolbar(w.mail, false);
    mUserProps::ClearSendMode(w.mail, false);
    EXPECT_EQ(w.sim.faults.Calls(L"MailItem.Save"), saves);
    mUserProps::ClearGroupMode(w.mail, true);
    EXPECT_EQ(w.sim.faults.Calls(L"MailItem.Save"), saves + 1);

    auto again = w.Reopened();
    EXPECT_EQ(again->GetUserProperties()->Count(), 0);
    // A copy made now inherits none of the settings.
    auto copy = std::dynamic_pointer_cast<MailItem>(again->Copy());
    EXPECT_FALSE(mUserProps::GetShowToolbar(copy));
    EXPECT_EQ(mUserProps::GetSendMode(copy), 0);
    EXPECT_FALSE(mUserProps::GetGroupMode(copy));
}

TEST(UserProps, RefusalsAreLoggedByTheModeOperationsAndIgnoredByTheOthers) {
    PropsWorld w;
    const HostError refused(E_FAIL, L"refused", L"Microsoft Outlook");

    w.sim.faults.FailAlways(L"UserProperties.Add", refused);
    mUserProps::SetSendMode(w.mail, SendModeSep, true);
    mUserProps::setGroupMode(w.mail, true, true);
    mUserProps::SetShowToolbar(w.mail, false);
    EXPECT_EQ(w.Errors(L"mUserProps::SetSendMode"), 1U);
    EXPECT_EQ(w.Errors(L"mUserProps::setGroupMode"), 1U);
    EXPECT_EQ(w.mail->EntryID(), L"");  // a failed write is not saved
    w.sim.faults.Clear();

    // A property created but not filled goes again: it would read as no number later.
    w.sim.faults.FailNth(L"UserProperty.SetValue", 1, refused);
    mUserProps::SetSendMode(w.mail, SendModeSep, false);
    EXPECT_EQ(w.Stored(L"OrvinPlexa.SendMode"), L"(absent)");
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), SendModeAll);
    EXPECT_EQ(w.Errors(L"mUserProps::SetSendMode"), 2U);
    EXPECT_EQ(w.Errors(L"mUserProps::GetSendMode"), 0U);

    mUserProps::SetSendMode(w.mail, SendModeSep, false);
    mUserProps::SetShowToolbar(w.mail, false);
    w.sim.faults.FailAlways(L"UserProperties.Find", refused);
    EXPECT_EQ(mUserProps::GetSendMode(w.mail), 0);
    EXPECT_FALSE(mUserProps::GetGroupMode(w.mail));
    EXPECT_EQ(w.Errors(L"mUserProps::GetSendMode"), 1U);
    EXPECT_EQ(w.Errors(L"mUserProps::GetGroupMode"), 1U);
    const size_t before = w.Errors();
    EXPECT_FALSE(mUserProps::GetShowToolbar(w.mail));
    mUserProps::ClearShowToolbar(w.mail, false);
    EXPECT_EQ(w.Errors(), before);
    w.sim.faults.Clear();

    // A failed delete still goes on to the save it was asked for.
    w.sim.faults.FailAlways(L"UserProperty.Delete", refused);
    mUserProps::ClearSendMode(w.mail, true);
    w.sim.faults.Clear();
    EXPECT_EQ(w.Errors(), before);
    EXPECT_EQ(mUserProps::GetSendMode(w.Reopened()), SendModeSep);

    // No item at all: the mode operations say so, the others stay quiet.
    const std::shared_ptr<MailItem> none;
    EXPECT_EQ(mUserProps::GetSendMode(none), 0);
    mUserProps::SetSendMode(none, 1, true);
    EXPECT_EQ(w.Errors(L"mUserProps::GetSendMode"), 2U);
    EXPECT_EQ(w.Errors(L"mUserProps::SetSendMode"), 3U);
    EXPECT_FALSE(mUserProps::GetShowToolbar(none));
    mUserProps::SetShowToolbar(none, true);
    mUserProps::ClearGroupMode(none, true);
    EXPECT_EQ(w.Errors(L"mUserProps::GetShowToolbar"), 0U);
}

}  // namespace
}  // namespace plexa
