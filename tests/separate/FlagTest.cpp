// The add-in's follow-up mark on messages kept in Drafts: set when the user wants it, taken off
// on sending only when it is still the add-in's own mark.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "separate/mFlag.h"
#include "settings/COptions.h"
#include "sim/SimHost.h"
#include "sim/redemption/SimRedemption.h"

namespace plexa {
namespace {

struct FlagWorld : test::TestWorld {
    FlagWorld() {
        services.host.application = host.application;
        services.host.redemption = &redemption;
        mail = std::dynamic_pointer_cast<MailItem>(host.application->CreateItem(olMailItem));
        mail->SetSubject(L"Copy for Ann");
        mail->Save();
    }
    int32_t Status() {
        int32_t status = 0;
        int32_t icon = 0;
        mFlag::GetFlagStatus(services, mail, status, icon);
        return status;
    }
    int32_t Icon() {
        int32_t status = 0;
        int32_t icon = 0;
        mFlag::GetFlagStatus(services, mail, status, icon);
        return icon;
    }
    sim::SimHost host{sim};
    sim::SimRedemption redemption{host.outlook};
    std::shared_ptr<MailItem> mail;
};

TEST(FollowUpFlag, MarksOnlyWhenAskedAndClearsOnlyItsOwnMark) {
    FlagWorld w;
    COptions& options = w.services.Options();
    options.MarkWithFlag(false);
    mGlobals::MarkWithFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 0);
    EXPECT_EQ(mFlag::GetFlagText(w.services, w.mail), L"");

    options.MarkWithFlag(true);
    options.Flag(2);
    options.Flag2003(6);
    mGlobals::MarkWithFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 2);
    EXPECT_EQ(w.Icon(), 6);
    EXPECT_EQ(mFlag::GetFlagText(w.services, w.mail), L"Review");

    // The user's own text: left alone.
    mFlag::SetFlagText(w.services, w.mail, L"Call back", true);
    options.ClearMarking(true);
    mGlobals::ClearFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 2);

    // Clearing off: left alone too.
    mFlag::SetFlagText(w.services, w.mail, L"Review", true);
    options.ClearMarking(false);
    mGlobals::ClearFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 2);

    options.ClearMarking(true);
    mGlobals::ClearFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 0);
    EXPECT_EQ(w.Icon(), 0);
    EXPECT_EQ(mFlag::GetFlagText(w.services, w.mail), L"");
}

TEST(FollowUpFlag, AMarkTheUserChangedIsTheUsersAndStays) {
    FlagWorld w;
    COptions& options = w.services.Options();
    options.MarkWithFlag(true);
    options.ClearMarking(true);
    options.Flag(2);
    options.Flag2003(6);

    // The user marked it completed: the status no longer is the add-in's.
    mGlobals::MarkWithFollowUpFlag(w.services, w.mail);
    mFlag::SetFlagStatus(w.services, w.mail, 1, 6, true);
    mGlobals::ClearFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 1);
    EXPECT_EQ(mFlag::GetFlagText(w.services, w.mail), L"Review");

    // The user wrote the text anew in other letters: the comparison is exact.
    mGlobals::MarkWithFollowUpFlag(w.services, w.mail);
    mFlag::SetFlagText(w.services, w.mail, L"review", true);
    mGlobals::ClearFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.Status(), 2);
    EXPECT_EQ(w.Icon(), 6);
    EXPECT_EQ(mFlag::GetFlagText(w.services, w.mail), L"review");
}

TEST(FollowUpFlag, TheColourCountsFrom2003On) {
    for (const wchar_t* version : {L"10.0.6626", L"11.0.5608"}) {
        FlagWorld w;
        w.sim.host.SetVersion(version);
        COptions& options = w.services.Options();
        options.MarkWithFlag(true);
        options.ClearMarking(true);
        options.Flag(2);
        options.Flag2003(6);
        mGlobals::MarkWithFollowUpFlag(w.services, w.mail);
        mFlag::SetFlagStatus(w.services, w.mail, 2, 3, true);  // the user made it green
        mGlobals::ClearFollowUpFlag(w.services, w.mail);
        const bool is2002 = std::wstring(version).rfind(L"10.", 0) == 0;
        EXPECT_EQ(w.Status(), is2002 ? 0 : 2) << version;
    }
}

TEST(FollowUpFlag, AStoreThatRefusesThePropertiesLeavesTheItemAsItWas) {
    FlagWorld w;
    COptions& options = w.services.Options();
    options.MarkWithFlag(true);
    options.Flag(2);
    options.Flag2003(6);
    w.sim.faults.FailAlways(L"MAPIUtils.HrSetOneProp", HostError(E_FAIL, L"refused"));
    EXPECT_NO_THROW(mGlobals::MarkWithFollowUpFlag(w.services, w.mail));
    w.sim.faults.Clear();
    EXPECT_EQ(w.Status(), 0);
    EXPECT_EQ(mFlag::GetFlagText(w.services, w.mail), L"");

    // Without the library nothing happens and nothing fails.
    w.services.host.redemption = nullptr;
    EXPECT_NO_THROW(mGlobals::MarkWithFollowUpFlag(w.services, w.mail));
    EXPECT_NO_THROW(mGlobals::ClearFollowUpFlag(w.services, w.mail));
}

TEST(FollowUpFlag, ClearingSavesTheItemAfterTheIconAndAfterTheText) {
    FlagWorld w;
    COptions& options = w.services.Options();
    options.MarkWithFlag(true);
    options.ClearMarking(true);
    mGlobals::MarkWithFollowUpFlag(w.services, w.mail);
    const int before = w.sim.faults.Calls(L"MAPIUtils.HrSetOneProp");
    int changes = 0;
    auto items = w.host.application->Session()->GetDefaultFolder(olFolderDrafts)->GetItems();
    auto conn = items->ItemChange.Connect([&](const std::shared_ptr<OutlookItem>&) { ++changes; });
    mGlobals::ClearFollowUpFlag(w.services, w.mail);
    EXPECT_EQ(w.sim.faults.Calls(L"MAPIUtils.HrSetOneProp") - before, 3);
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace plexa
