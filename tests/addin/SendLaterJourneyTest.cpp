// The user's journey with a grouped send, as the command-line host runs the client: copies are
// queued, the client is closed and started again from its saved state (registry hive, mailbox,
// clock), and as the clock moves the copies go out in their groups. It waits here for the
// separate-send action and the message window, which will let a scenario file under
// tests/scenarios start the grouped send itself.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "HostWorld.h"
#include "StateFolder.h"
#include "TestWorld.h"
#include "addin/Connect.h"
#include "addin/GroupedSend.h"
#include "host/outlook/OlConstants.h"
#include "separate/CSendLaterList.h"

namespace plexa::host {
namespace {

class SendLaterJourney : public ::testing::TestWithParam<std::string> {};

INSTANTIATE_TEST_SUITE_P(Stores, SendLaterJourney, ::testing::Values("pst", "exchange"),
                         [](const auto& info) { return info.param; });

TEST_P(SendLaterJourney, QueuedCopiesSurviveARestartAndGoOutInTheirGroups) {
    test::TempDir dir;
    const auto mailbox = dir.Path() / "mailbox.json";
    std::ofstream(mailbox)
        << R"({ "stores": [ { "name": "Personal Folders", "default": true, "kind": ")" << GetParam()
        << R"(" } ] })";
    StateFolder state(dir.Path() / "state");
    HostWorld client(state);
    client.SetMailbox(MailboxSource{MailboxSource::Kind::File, mailbox});
    client.Platform().clock.SetLocal(OleDate::FromParts(2026, 12, 7, 9, 0));
    client.Start();
    client.Desktop()->OpenExplorer(olFolderInbox);
    const auto addresses = test::Addresses(25);
    const auto send = test::SendGrouped(*client.Addin(), addresses, 10, 15);
    ASSERT_EQ(send.sentAtOnce, 10);
    ASSERT_EQ(client.Addin()->SendLaterList()->Count(), 15U);

    // Closed five minutes later; started again from what was saved.
    client.Platform().clock.AdvanceSeconds(5 * 60);
    client.Restart();
    client.Desktop()->OpenExplorer(olFolderInbox);
    ASSERT_EQ(client.Addin()->SendLaterList()->Count(), 15U);
    const OleDate started = client.Platform().clock.NowUtc();

    client.Platform().clock.AdvanceSeconds(9 * 60);
    EXPECT_EQ(client.TakeNewTransmissions().size(), 10U);  // the first group, before the stop
    // The second group falls due ten minutes after the start. A due time read back from the
    // journal is exact to the 15 digits it was written with, so it may go one pass later.
    client.Platform().clock.AdvanceSeconds(2 * 60);
    const auto second = client.TakeNewTransmissions();
    ASSERT_EQ(second.size(), 10U);
    for (std::size_t i = 0; i < second.size(); ++i) {
        EXPECT_EQ(second[i].recipients[0].smtpAddresses[0], addresses[10 + i]);
        EXPECT_EQ(second[i].submittedFrom, L"\\\\Personal Folders\\Outbox");
        EXPECT_GE(second[i].timeUtc.Value(), started.Value() + 10.0 / 1440 - 1e-9);
        EXPECT_LE(second[i].timeUtc.Value(), started.Value() + 11.0 / 1440 + 1e-9);
    }
    client.Platform().clock.AdvanceSeconds(13 * 60);
    EXPECT_TRUE(client.TakeNewTransmissions().empty());
    client.Platform().clock.AdvanceSeconds(2 * 60);
    const auto third = client.TakeNewTransmissions();
    ASSERT_EQ(third.size(), 5U);
    EXPECT_EQ(third[4].recipients[0].smtpAddresses[0], addresses[24]);
    EXPECT_EQ(client.Addin()->SendLaterList()->Count(), 0U);

    // And nothing more after another restart: the journal is empty, the copies are in Sent Items.
    client.Restart();
    client.Desktop()->OpenExplorer(olFolderInbox);
    client.Platform().clock.AdvanceSeconds(3600);
    EXPECT_TRUE(client.TakeNewTransmissions().empty());
    EXPECT_EQ(client.AllTransmissions().size(), 25U);
    EXPECT_EQ(client.Host()->session.DefaultFolder(olFolderSentMail)->Items().size(), 25U);
    EXPECT_TRUE(client.Host()->session.DefaultFolder(olFolderDrafts)->Items().empty());
    client.Stop();
}

}  // namespace
}  // namespace plexa::host
