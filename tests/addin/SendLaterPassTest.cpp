// The send-later timer's pass on the simulated client: queued copies go out through the Outbox
// when they fall due, in their groups; nothing goes out while a please-wait action runs; a copy
// that cannot be opened, was deleted, or was sent already leaves the queue with a line in the log
// naming it, and is never sent twice. Both kinds of store: a personal-folders store keeps a
// copy's entry id on its way through the Outbox, a server mailbox renames it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "addin/AddinRun.h"
#include "addin/GroupedSend.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "separate/CSendLaterList.h"
#include "sim/SimHost.h"
#include "sim/store/StoreKind.h"
#include "ui/CPleaseWait.h"

namespace plexa {
namespace {

using sim::StoreKind;

const OleDate kStart = OleDate::FromParts(2026, 12, 6, 9, 0);

class SendLaterPassTest : public ::testing::TestWithParam<StoreKind> {
protected:
    SendLaterPassTest() {
        world.sim.clock.SetLocal(kStart);
        host.session.DefaultStore()->SetKind(GetParam());
        run = std::make_unique<test::AddinRun>(world.sim, host, world.log);
    }

    void AdvanceMinutes(double minutes) { world.sim.clock.AdvanceSeconds(minutes * 60); }
    CSendLaterList& Queue() { return run->Queue(); }
    std::shared_ptr<NameSpace> Session() { return host.application->Session(); }
    std::shared_ptr<MailItem> Open(const std::wstring& entryId) {
        return std::dynamic_pointer_cast<MailItem>(Session()->GetItemFromID(entryId));
    }
    std::size_t Sent() const { return host.session.transmissions.size(); }
    int SentTo(const std::wstring& address) const {
        return static_cast<int>(std::count_if(
            host.session.transmissions.begin(), host.session.transmissions.end(),
            [&](const sim::Transmission& t) {
                return !t.recipients.empty() && !t.recipients[0].smtpAddresses.empty() &&
                       t.recipients[0].smtpAddresses[0] == address;
            }));
    }
    int FolderCount(int32_t folder) {
        return Session()->GetDefaultFolder(folder)->GetItems()->Count();
    }
    std::wstring JournalKey() {
        return L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa\\" + Queue().Profile() +
               L"\\SendLaterList";
    }
    // Error entries, but the language file's (the test world has none to find).
    std::vector<LogEntry> Errors() const {
        std::vector<LogEntry> out;
        for (const auto& e : world.log.Of(LogLevel::Error)) {
            if (!e.source.starts_with(L"CLang.")) {
                out.push_back(e);
            }
        }
        return out;
    }
    // Warnings of the pass that name the text.
    int PassWarnings(const std::wstring& part) const {
        const auto all = world.log.Of(LogLevel::Warning, L"frmDummy::SendLater");
        return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const LogEntry& e) {
            return e.text.find(part) != std::wstring::npos;
        }));
    }

    test::TestWorld world;
    sim::SimHost host{world.sim};
    std::unique_ptr<test::AddinRun> run;
};

INSTANTIATE_TEST_SUITE_P(Stores, SendLaterPassTest,
                         ::testing::Values(StoreKind::Pst, StoreKind::Exchange),
                         [](const auto& info) {
                             return info.param == StoreKind::Pst ? "pst" : "exchange";
                         });

TEST_P(SendLaterPassTest, QueuedGroupsGoOutThroughTheOutboxWhenTheyFallDue) {
    const auto addresses = test::Addresses(25);
    const auto send = test::SendGrouped(*run->connect, addresses, 10, 15);
    EXPECT_EQ(send.sentAtOnce, 10);
    ASSERT_EQ(Queue().Count(), 15U);
    EXPECT_EQ(FolderCount(olFolderDrafts), 15);
    EXPECT_EQ(Queue().SendTime(), kStart.DateAdd(L"n", 15));

    AdvanceMinutes(14);
    EXPECT_EQ(Sent(), 10U);
    AdvanceMinutes(1);
    ASSERT_EQ(Sent(), 20U);
    for (std::size_t i = 10; i < 20; ++i) {
        const sim::Transmission& t = host.session.transmissions[i];
        EXPECT_EQ(t.recipients[0].smtpAddresses[0], addresses[i]);
        EXPECT_EQ(t.submittedFrom, L"\\\\Personal Folders\\Outbox");
        EXPECT_EQ(t.timeUtc, host.session.transmissions[10].timeUtc);
    }
    // The pass compacted the journal to the five that wait.
    EXPECT_EQ(Queue().Count(), 5U);
    EXPECT_EQ(world.sim.registry.ValueNames(JournalKey()),
              (std::vector<std::wstring>{L"item1", L"item2", L"item3", L"item4", L"item5"}));

    AdvanceMinutes(15);
    EXPECT_EQ(Sent(), 25U);
    EXPECT_EQ(Queue().Count(), 0U);
    for (const auto& address : addresses) {
        EXPECT_EQ(SentTo(address), 1) << std::string(address.begin(), address.end());
    }
    EXPECT_EQ(FolderCount(olFolderDrafts), 0);
    EXPECT_EQ(FolderCount(olFolderOutbox), 0);
    EXPECT_EQ(FolderCount(olFolderSentMail), 25);
    EXPECT_TRUE(world.sim.registry.ValueNames(JournalKey()).empty());
    EXPECT_TRUE(Errors().empty());
    EXPECT_TRUE(world.log.Of(LogLevel::Warning).empty());
}

TEST_P(SendLaterPassTest, ABusyPleaseWaitSkipsThePassesAndLeavesTheQueueAsItIs) {
    test::SendGrouped(*run->connect, test::Addresses(15), 10, 15);
    const auto journal = world.sim.registry.ValueNames(JournalKey());
    run->connect->PleaseWait().ActionBegin();
    AdvanceMinutes(20);
    EXPECT_EQ(Sent(), 10U);
    EXPECT_EQ(Queue().Count(), 5U);
    EXPECT_EQ(world.sim.registry.ValueNames(JournalKey()), journal);
    EXPECT_TRUE(run->connect->FrmDummy().TimerEnabled(L"tmrSendLater"));
    run->connect->PleaseWait().ActionEnd();
    AdvanceMinutes(1);
    EXPECT_EQ(Sent(), 15U);
    EXPECT_EQ(Queue().Count(), 0U);
}

TEST_P(SendLaterPassTest, ACopyThatCannotBeOpenedLeavesTheQueueWithAWarningNamingIt) {
    const std::wstring gone = L"00000000B7A1F3C2D4E5461A8C9B0D1E00000000000FFFFF";
    Queue().Add(kStart, gone);
    test::SendGrouped(*run->connect, test::Addresses(11), 10, 1);
    AdvanceMinutes(1);
    EXPECT_EQ(Sent(), 11U);
    EXPECT_EQ(Queue().Count(), 0U);
    EXPECT_EQ(PassWarnings(gone + L" cannot be opened"), 1);
    EXPECT_TRUE(Errors().empty());
}

// What a user or a stopped pass may have done to a queued copy before it falls due.
TEST_P(SendLaterPassTest, ACopySentDeletedOrOnItsWayAlreadyIsNotSentAgain) {
    const auto addresses = test::Addresses(15);
    const auto send = test::SendGrouped(*run->connect, addresses, 10, 5);
    ASSERT_EQ(send.queued.size(), 5U);
    const auto outbox = Session()->GetDefaultFolder(olFolderOutbox);
    // The user sent copy 11 by hand, and deleted copy 12.
    Open(send.queued[0])->Send();
    Open(send.queued[1])->Delete();
    const bool pst = GetParam() == StoreKind::Pst;
    if (pst) {
        // A pass stopped after moving copy 13 to the Outbox; copy 14 was submitted and waits
        // for the transport.
        Open(send.queued[2])->Move(outbox);
        Open(send.queued[3])->Move(outbox);
        host.session.FindItem(send.queued[3])
            ->SetProp(mapi::PR_MESSAGE_FLAGS,
                      Variant(mapi::MSGFLAG_READ | mapi::MSGFLAG_UNSENT | mapi::MSGFLAG_SUBMIT));
    }
    ASSERT_EQ(Sent(), 11U);

    AdvanceMinutes(5);
    EXPECT_EQ(SentTo(addresses[10]), 1);  // by hand only
    EXPECT_EQ(SentTo(addresses[11]), 0);  // deleted
    EXPECT_EQ(SentTo(addresses[14]), 1);
    EXPECT_EQ(Queue().Count(), 0U);
    if (pst) {
        // The store kept the ids: the pass found each copy and saw what had become of it.
        EXPECT_EQ(SentTo(addresses[12]), 1);  // moved, not sent: it goes now, once
        EXPECT_EQ(SentTo(addresses[13]), 0);  // on its way: the transport sends it
        EXPECT_EQ(Sent(), 13U);
        EXPECT_EQ(PassWarnings(send.queued[0] + L" has been sent already"), 1);
        EXPECT_EQ(PassWarnings(send.queued[1] + L" was deleted"), 1);
        EXPECT_EQ(PassWarnings(send.queued[3] + L" has been sent already"), 1);
        EXPECT_EQ(world.log.Of(LogLevel::Warning).size(), 3U);
    } else {
        // The server mailbox renamed both: the queue's ids no longer open.
        EXPECT_EQ(Sent(), 14U);
        EXPECT_EQ(PassWarnings(send.queued[0] + L" cannot be opened"), 1);
        EXPECT_EQ(PassWarnings(send.queued[1] + L" cannot be opened"), 1);
        EXPECT_EQ(world.log.Of(LogLevel::Warning).size(), 2U);
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_P(SendLaterPassTest, AFailingSendIsLoggedNamingTheCopyAndThePassGoesOn) {
    const auto addresses = test::Addresses(13);
    const auto send = test::SendGrouped(*run->connect, addresses, 10, 1);
    world.sim.faults.FailNth(L"SafeMailItem.Send", 2, HostError(E_FAIL, L"The transport failed"));
    AdvanceMinutes(1);
    EXPECT_EQ(SentTo(addresses[10]), 1);
    EXPECT_EQ(SentTo(addresses[11]), 0);
    EXPECT_EQ(SentTo(addresses[12]), 1);
    // The copy waits in the Outbox, out of the queue, and the log names it by the id it has
    // there (a server mailbox gave it a new one on the way, and the journal followed it).
    EXPECT_EQ(FolderCount(olFolderOutbox), 1);
    const auto left = Session()->GetDefaultFolder(olFolderOutbox)->GetItems()->Item(1);
    EXPECT_EQ(left->EntryID() == send.queued[1], GetParam() == StoreKind::Pst);
    const auto errors = Errors();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].source, L"frmDummy::SendLaterItem");
    EXPECT_NE(errors[0].text.find(L"The transport failed"), std::wstring::npos);
    EXPECT_NE(errors[0].text.find(left->EntryID()), std::wstring::npos);
    EXPECT_EQ(Queue().Count(), 0U);
}

TEST_P(SendLaterPassTest, APassThatCannotReachTheOutboxLeavesTheQueueForTheNext) {
    test::SendGrouped(*run->connect, test::Addresses(12), 10, 1);
    world.sim.faults.FailNth(L"NameSpace.GetDefaultFolder", 1, HostError(E_FAIL, L"Busy"));
    AdvanceMinutes(1);
    EXPECT_EQ(Sent(), 10U);
    EXPECT_EQ(Queue().Count(), 2U);
    ASSERT_EQ(world.log.Of(LogLevel::Error, L"frmDummy::SendLater").size(), 1U);
    AdvanceMinutes(1);
    EXPECT_EQ(Sent(), 12U);
    EXPECT_EQ(Queue().Count(), 0U);
}

}  // namespace
}  // namespace plexa
