// The report of a grouped separate send is completed by the send-later pass, across a restart of
// the client: a row for each queued copy that goes out, one for a copy dropped because the user
// deleted it, and a summary counted again. Both kinds of store (a server mailbox renames a copy
// on its way through the Outbox, and the report follows it).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "addin/AddinRun.h"
#include "distlists/mContacts.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/Recipients.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipientsProps.h"
#include "separate/CSendLaterList.h"
#include "separate/mPlexaUpdate.h"
#include "separate/mSendReports.h"
#include "separate/mUserProps.h"
#include "sim/SimHost.h"
#include "sim/windows/ScriptedUser.h"
#include "ui/CPleaseWait.h"

namespace plexa {
namespace {

using sim::StoreKind;

class SendReportQueueTest : public ::testing::TestWithParam<StoreKind> {
protected:
    SendReportQueueTest() {
        world.sim.clock.SetLocal(OleDate::FromParts(2026, 12, 7, 9, 0));
        host.session.DefaultStore()->SetKind(GetParam());
        run = std::make_unique<test::AddinRun>(world.sim, host, world.log);
    }

    // A grouped separate send from a message composed through the add-in, as the message
    // window's Send runs it.
    void SendGrouped(const std::vector<std::wstring>& addresses, int32_t groupSize,
                     int32_t interval) {
        auto mail = std::dynamic_pointer_cast<MailItem>(host.application->CreateItem(olMailItem));
        mail->SetSubject(L"Season's news");
        mail->SetBody(L"Dear all");
        for (const auto& address : addresses) {
            mail->GetRecipients()->Add(address)->Resolve();
        }
        mUserProps::SetShowToolbar(mail, false);
        mUserProps::SetSendMode(mail, SendModeSep, false);
        mUserProps::setGroupMode(mail, true, false);
        mail->Save();
        world.sim.ui.user.AnswerMsgBox(mb::IdYes);
        mContacts::CContactFolderList folders;
        PlexaActionContext context{run->services, run->Queue(), run->connect->PleaseWait(),
                                   folders};
        CRecipientsProps props;
        bool cancelled = false;
        mPlexaUpdate::DoPlexaAction(context, mail, nullptr, 1, SendModeSep, props, cancelled, false,
                                    true, interval, groupSize);
        ASSERT_FALSE(cancelled);
    }

    std::vector<SendReportRow> Rows() {
        return mSendReports::Read(world.sim.Ports(), mSendReports::Newest(world.sim.Ports()));
    }

    test::TestWorld world;
    sim::SimHost host{world.sim};
    std::unique_ptr<test::AddinRun> run;
};

INSTANTIATE_TEST_SUITE_P(Stores, SendReportQueueTest,
                         ::testing::Values(StoreKind::Pst, StoreKind::Exchange),
                         [](const auto& info) {
                             return info.param == StoreKind::Pst ? "pst" : "exchange";
                         });

TEST_P(SendReportQueueTest, QueuedCopiesCompleteTheReportAfterARestart) {
    const std::vector<std::wstring> addresses = {L"a@x.example", L"b@x.example", L"c@x.example",
                                                 L"d@x.example", L"e@x.example"};
    SendGrouped(addresses, 2, 15);
    ASSERT_EQ(run->Queue().Count(), 3U);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 5U);
    EXPECT_EQ(rows[2].outcome, report::kQueued);
    EXPECT_EQ(rows[2].detail, L"for 2026-12-07 09:15:00");

    // The user deletes one queued copy; the client is closed and started again.
    const std::wstring deleted = rows[4].entryId;
    host.application->Session()->GetItemFromID(deleted)->Delete();
    run.reset();
    run = std::make_unique<test::AddinRun>(world.sim, host, world.log);
    world.sim.clock.AdvanceSeconds(31 * 60);
    EXPECT_EQ(host.session.transmissions.size(), 4U);
    EXPECT_EQ(run->Queue().Count(), 0U);

    rows = Rows();
    ASSERT_EQ(rows.size(), 8U);
    std::vector<std::wstring> completed;
    for (std::size_t i = 5; i < rows.size(); ++i) {
        completed.push_back(rows[i].address + L" " + rows[i].outcome);
    }
    EXPECT_EQ(completed, (std::vector<std::wstring>{L"c@x.example sent from the queue",
                                                    L"d@x.example sent from the queue",
                                                    L"e@x.example dropped from the queue"}));
    // Why it went unsent: deleted (a personal-folders store keeps its id in Deleted Items) or
    // not to be opened any more (a server mailbox renamed it).
    EXPECT_FALSE(rows[7].detail.empty());
    EXPECT_EQ(mSendReports::Summary(rows),
              L"4 sent, 0 queued, 0 kept in Drafts, 0 failed, 1 dropped");
    // Every queued copy's note of its report is gone with it.
    EXPECT_TRUE(world.sim.registry
                    .ValueNames(L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa\\" +
                                run->Queue().Profile() + L"\\SendLaterReports")
                    .empty());
}

}  // namespace
}  // namespace plexa
