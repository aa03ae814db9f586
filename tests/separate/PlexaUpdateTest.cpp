// The separate-send action on the simulated client: one copy per recipient (blocks of 50 above
// 50 recipients), sent from the Outbox, kept in Drafts with the source's date, or queued in
// groups; send mode 0 as one message; the cancel paths that leave the message as it was; and a
// host error half-way, after which the source keeps only the recipients not reached.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "PlexaWorld.h"
#include "host/mapi/PropTags.h"
#include "platform/IUiShell.h"
#include "separate/mFlag.h"
#include "sim/windows/ScriptedUser.h"

namespace plexa {
namespace {

using test::PlexaWorld;
using Addresses = std::vector<std::wstring>;

const std::wstring kOutbox = L"\\\\Personal Folders\\Outbox";

// n people in the address book, "Person <i>" at p<i>@example.net.
Addresses People(PlexaWorld& w, int n) {
    Addresses out;
    for (int i = 1; i <= n; ++i) {
        const std::wstring address = L"p" + std::to_wstring(i) + L"@example.net";
        w.session.addressBook.AddSmtp(L"Person " + std::to_wstring(i), address);
        out.push_back(address);
    }
    return out;
}

void ExpectAllFromOutbox(const PlexaWorld& w) {
    for (const auto& t : w.session.transmissions) {
        EXPECT_EQ(t.submittedFrom, kOutbox) << text::ToUtf8(t.subject);
    }
}

TEST(PlexaUpdate, OneRecipientGoesWithoutAQuestionAndTheSourceIsDeletedForGood) {
    PlexaWorld w;
    w.desktop.OpenExplorer(olFolderInbox);
    auto mail = w.Compose(L"Hello", L"Plain words", {L"Ann Smith <ann@acme.example>"});
    const std::wstring sourceID = mail->EntryID();
    auto inspector = w.desktop.OpenInspector(mail);
    test::TestMessageWindow window;
    window.Init(inspector);

    EXPECT_FALSE(w.Send(std::dynamic_pointer_cast<MailItem>(window.GetMail()), &window));
    EXPECT_TRUE(w.sim.ui.Prompts().empty());
    ASSERT_EQ(w.session.transmissions.size(), 1U);
    const auto& sent = w.session.transmissions[0];
    EXPECT_EQ(sent.subject, L"Hello");
    EXPECT_EQ(sent.body, L"Plain words");
    ASSERT_EQ(sent.recipients.size(), 1U);
    EXPECT_EQ(sent.recipients[0].smtpAddresses, Addresses{L"ann@acme.example"});
    // No copy inherits the add-in's settings.
    EXPECT_TRUE(sent.userProperties.empty());
    ExpectAllFromOutbox(w);
    // The window closed without saving, the source went for good, nothing is left over.
    EXPECT_TRUE(window.Closed());
    EXPECT_TRUE(w.desktop.Inspectors().empty());
    EXPECT_EQ(w.session.FindItem(sourceID), nullptr);
    EXPECT_TRUE(w.Items(olFolderDrafts).empty());
    EXPECT_TRUE(w.Items(olFolderDeletedItems).empty());
    EXPECT_TRUE(w.Items(olFolderOutbox).empty());
    EXPECT_EQ(w.pleaseWait.ActionCount(), 0);
    EXPECT_EQ(w.queue.Count(), 0U);
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(PlexaUpdate, OneHundredTwentyRecipientsGoOneEachFromThreeBlockCopies) {
    PlexaWorld w;
    const Addresses people = People(w, 120);
    // One recipient is a CC, one a BCC: each keeps its type on its own copy.
    auto mail = w.Compose(L"News", L"Dear all", people);
    mail->GetRecipients()->Item(7)->SetType(olCC);
    mail->GetRecipients()->Item(99)->SetType(olBCC);
    mail->Save();
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 120.");

    const int64_t copiesBefore = w.sim.faults.Calls(L"MailItem.Copy");
    EXPECT_FALSE(w.Send(mail));
    EXPECT_TRUE(w.sim.ui.user.Empty());
    ASSERT_EQ(w.session.transmissions.size(), 120U);
    for (std::size_t i = 0; i < 120; ++i) {
        const auto& t = w.session.transmissions[i];
        ASSERT_EQ(t.recipients.size(), 1U) << i;
        EXPECT_EQ(t.recipients[0].smtpAddresses, Addresses{people[i]});
        const int32_t type = i == 6 ? olCC : i == 98 ? olBCC : olTo;
        EXPECT_EQ(t.recipients[0].type, type) << i;
    }
    ExpectAllFromOutbox(w);
    // One copy per recipient and one block copy per 50; every block copy deleted for good.
    EXPECT_EQ(w.sim.faults.Calls(L"MailItem.Copy") - copiesBefore, 123);
    // Removals: 70, 70 and 100 from the block copies, 49 from each copy of a full block and
    // 19 from each of the last block's 20.
    EXPECT_EQ(w.sim.faults.Calls(L"SafeRecipients.Remove"), 240 + 100 * 49 + 20 * 19);
    EXPECT_TRUE(w.Items(olFolderDrafts).empty());
    EXPECT_TRUE(w.Items(olFolderDeletedItems).empty());
    EXPECT_TRUE(w.Items(olFolderOutbox).empty());
}

TEST(PlexaUpdate, NoKeepsFlaggedCopiesInDraftsWithTheSourcesDateAndShowsDrafts) {
    PlexaWorld w;
    w.services.Options().MarkWithFlag(true);
    w.services.Options().Flag(2);
    w.services.Options().Flag2003(6);
    auto explorer = w.desktop.OpenExplorer(olFolderInbox);
    auto mail = w.Compose(L"Invitation", L"Come along", {L"ann@acme.example", L"bob@lee.example"});
    const OleDate delivered(46000.25);
    auto utils = w.desktop.redemption.CreateMAPIUtils();
    utils->HrSetOneProp(mail, mapi::PR_MESSAGE_DELIVERY_TIME, Variant(delivered), true);
    w.sim.ui.user.AnswerMsgBox(mb::IdNo);

    EXPECT_FALSE(w.Send(mail));
    EXPECT_TRUE(w.session.transmissions.empty());
    const auto drafts = w.Items(olFolderDrafts);
    ASSERT_EQ(drafts.size(), 2U);
    std::set<std::wstring> reached;
    for (const auto& copy : drafts) {
        ASSERT_EQ(copy->recipients.size(), 1U);
        reached.insert(PlexaWorld::Addresses(*copy)[0]);
        const Variant when = copy->GetProp(mapi::PR_MESSAGE_DELIVERY_TIME);
        ASSERT_NE(std::get_if<OleDate>(&when.Raw()), nullptr);
        EXPECT_EQ(std::get<OleDate>(when.Raw()).Value(), delivered.Value());
        EXPECT_EQ(CLng(copy->GetProp(mapi::PR_FLAG_STATUS)), 2);
        EXPECT_EQ(CLng(copy->GetProp(mapi::PR_FLAG_ICON)), 6);
        auto opened = w.Ns()->GetItemFromID(copy->EntryID());
        EXPECT_EQ(mFlag::GetFlagText(w.services, opened), L"Review");
        EXPECT_FALSE(mUserProps::GetShowToolbar(std::dynamic_pointer_cast<MailItem>(opened)));
    }
    EXPECT_EQ(reached, (std::set<std::wstring>{L"ann@acme.example", L"bob@lee.example"}));
    EXPECT_EQ(explorer->CurrentFolder()->EntryID(), w.Folder(olFolderDrafts).EntryID());
    EXPECT_EQ(w.queue.Count(), 0U);
}

TEST(PlexaUpdate, SendModeZeroSendsOneMessageWithEveryonesValuesJoined) {
    PlexaWorld w;
    auto mail =
        w.Compose(L"Hi %FirstName%", L"Dear %FirstName%,",
                  {L"Ann Smith <ann@acme.example>", L"Bob Lee <bob@lee.example>"}, SendModeAll);
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 1.");
    EXPECT_FALSE(w.Send(mail));
    ASSERT_EQ(w.session.transmissions.size(), 1U);
    const auto& sent = w.session.transmissions[0];
    EXPECT_EQ(sent.subject, L"Hi Ann, Bob");
    EXPECT_EQ(sent.body, L"Dear Ann, Bob,");
    EXPECT_EQ(sent.recipients.size(), 2U);
    EXPECT_TRUE(sent.userProperties.empty());
    ExpectAllFromOutbox(w);
    EXPECT_TRUE(w.Items(olFolderDrafts).empty());
}

TEST(PlexaUpdate, GroupingSendsTheFirstGroupAndQueuesTheRestAtTheirTimes) {
    PlexaWorld w;
    const Addresses people = People(w, 25);
    auto mail = w.Compose(L"Groups", L"x", people, SendModeSep, true);
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    const OleDate now = w.sim.clock.NowLocal();
    EXPECT_FALSE(w.Send(mail, nullptr, false, 1, 15, 10));

    ASSERT_EQ(w.session.transmissions.size(), 10U);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(w.session.transmissions[i].recipients[0].smtpAddresses, Addresses{people[i]});
    }
    ExpectAllFromOutbox(w);
    const auto queued = w.queue.Entries();
    ASSERT_EQ(queued.size(), 15U);
    for (std::size_t i = 0; i < 15; ++i) {
        const double minutes = (queued[i].second.Value() - now.Value()) * 24 * 60;
        EXPECT_NEAR(minutes, i < 10 ? 15 : 30, 1e-6) << i;
        auto item = w.session.FindItem(queued[i].first);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->Folder(), &w.Folder(olFolderDrafts));
        EXPECT_EQ(PlexaWorld::Addresses(*item), Addresses{people[10 + i]});
    }
    EXPECT_EQ(w.Items(olFolderDrafts).size(), 15U);
}

TEST(PlexaUpdate, AGroupSizeOfZeroSwitchesGroupingOffWithItsLogLine) {
    PlexaWorld w;
    w.services.Options().GroupRecipients(0);
    w.services.Options().GroupInterval(5);
    auto mail = w.Compose(L"Groups", L"x", People(w, 3), SendModeSep, true);
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    EXPECT_FALSE(w.Send(mail));
    EXPECT_EQ(w.session.transmissions.size(), 3U);
    EXPECT_EQ(w.queue.Count(), 0U);
    const auto errors = w.log.Of(LogLevel::Error, L"mPlexaUpdate::DoPlexaAction");
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].text, L"bad separatly grouping params");
}

TEST(PlexaUpdate, AListIsExpandedBeforeCopyingAndEveryMemberGetsACopy) {
    PlexaWorld w;
    auto& book = w.session.addressBook;
    auto team = book.AddList(L"Team");
    auto inner = book.AddList(L"Inner");
    sim::AddressBook::AddMember(*team, book.AddSmtp(L"Ann Smith", L"ann@acme.example"));
    sim::AddressBook::AddMember(*team, inner);
    sim::AddressBook::AddMember(*inner, book.AddSmtp(L"Bob Lee", L"bob@lee.example"));
    sim::AddressBook::AddMember(*inner, book.AddSmtp(L"Cy Young", L"cy@young.example"));
    auto mail = w.Compose(L"Team news for %FirstName%", L"x", {L"Team"});
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 3.");
    EXPECT_FALSE(w.Send(mail));
    ASSERT_EQ(w.session.transmissions.size(), 3U);
    Addresses subjects;
    for (const auto& t : w.session.transmissions) {
        ASSERT_EQ(t.recipients.size(), 1U);
        EXPECT_EQ(t.recipients[0].addressType, L"SMTP");
        subjects.push_back(t.subject);
    }
    EXPECT_EQ(subjects,
              (Addresses{L"Team news for Ann", L"Team news for Bob", L"Team news for Cy"}));
}

TEST(PlexaUpdate, ACopyWithAnEmptyValueStaysInDraftsWhileTheOthersGo) {
    PlexaWorld w;
    auto mail = w.Compose(
        L"For %LastName%", L"x",
        {L"Ann Smith <ann@acme.example>", L"madonna@pop.example", L"Bob Lee <bob@lee.example>"},
        SendModeSep, true);
    // The last name is missing for one: keep such copies in Drafts (preselected).
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnOK");
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    // A group of one: the kept copy does not count, so Bob is in the first group too.
    EXPECT_FALSE(w.Send(mail, nullptr, false, 1, 10, 2));
    ASSERT_EQ(w.session.transmissions.size(), 2U);
    EXPECT_EQ(w.session.transmissions[0].subject, L"For Smith");
    EXPECT_EQ(w.session.transmissions[1].subject, L"For Lee");
    ExpectAllFromOutbox(w);
    EXPECT_EQ(w.queue.Count(), 0U);
    const auto drafts = w.Items(olFolderDrafts);
    ASSERT_EQ(drafts.size(), 1U);
    EXPECT_EQ(PlexaWorld::Addresses(*drafts[0]), Addresses{L"madonna@pop.example"});
    EXPECT_EQ(drafts[0]->GetText(mapi::PR_SUBJECT), L"For ");
    const Variant when = drafts[0]->GetProp(mapi::PR_MESSAGE_DELIVERY_TIME);
    EXPECT_NE(std::get_if<OleDate>(&when.Raw()), nullptr);
}

TEST(PlexaUpdate, CancelPathsLeaveTheMessageItsSettingsAndItsWindowAlone) {
    PlexaWorld w;
    struct Case {
        const char* name;
        std::vector<std::wstring> recipients;
        bool silent;
        int32_t answer;  // 0: no question
        const wchar_t* expect;
    };
    const std::vector<Case> cases = {
        {"nobody", {}, false, mb::IdOk, L"This message has no recipients."},
        {"unresolved",
         {L"ann@acme.example", L"Nobody Known"},
         false,
         mb::IdOk,
         L"Not all recipients could be resolved."},
        {"cancel",
         {L"ann@acme.example", L"bob@lee.example"},
         false,
         mb::IdCancel,
         L"Number of e-mails to send: 2."},
        {"silent", {L"ann@acme.example", L"bob@lee.example"}, true, 0, L""},
        {"silent unresolved", {L"Nobody Known"}, true, 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto mail = w.Compose(L"", L"x", c.recipients, SendModeSep, true);
        const std::wstring id = mail->EntryID();
        auto inspector = w.desktop.OpenInspector(mail);
        test::TestMessageWindow window;
        window.Init(inspector);
        const std::size_t prompts = w.sim.ui.Prompts().size();
        const std::size_t drafts = w.Items(olFolderDrafts).size();
        if (c.answer != 0) {
            w.sim.ui.user.AnswerMsgBox(c.answer, c.expect);
        }
        EXPECT_TRUE(w.Send(mail, &window, c.silent));
        EXPECT_TRUE(w.sim.ui.user.Empty());
        EXPECT_EQ(w.sim.ui.Prompts().size(), prompts + (c.answer != 0 ? 1 : 0));
        if (c.answer != 0) {
            EXPECT_EQ(w.sim.ui.Prompts().back().title, L"Untitled - Plexa");
            // On top of a Word editor (every 2007 window), brought to the foreground otherwise.
            const int32_t style =
                inspector->EditorType() == olEditorWord ? mb::Topmost : mb::SetForeground;
            EXPECT_EQ(w.sim.ui.Prompts().back().buttons & (mb::Topmost | mb::SetForeground), style);
        }
        EXPECT_FALSE(window.Closed());
        auto again = std::dynamic_pointer_cast<MailItem>(w.Ns()->GetItemFromID(id));
        EXPECT_TRUE(mUserProps::GetShowToolbar(again));
        EXPECT_EQ(mUserProps::GetSendMode(again), SendModeSep);
        EXPECT_TRUE(mUserProps::GetGroupMode(again));
        EXPECT_EQ(again->GetRecipients()->Count(), static_cast<int32_t>(c.recipients.size()));
        EXPECT_EQ(w.Items(olFolderDrafts).size(), drafts);
        w.desktop.CloseInspector(inspector, olDiscard);
    }
    EXPECT_TRUE(w.session.transmissions.empty());
    EXPECT_EQ(w.pleaseWait.ActionCount(), 0);
}

TEST(PlexaUpdate, AHostErrorHalfWayKeepsOnlyTheRecipientsNotReachedAndSaysSo) {
    PlexaWorld w;
    const Addresses people = People(w, 5);
    auto mail = w.Compose(L"Report", L"x", people, SendModeSep, true);
    const std::wstring id = mail->EntryID();
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"Sent: 2. Drafts: 0. Queued: 1.");
    // Groups of two: the first two go, the third is queued, the fourth fails to be queued.
    w.sim.faults.FailNth(L"MailItem.EntryID", 2,
                         HostError(E_FAIL, L"The store is busy", L"Microsoft Outlook"));
    EXPECT_FALSE(w.Send(mail, nullptr, false, 1, 5, 2));
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_EQ(w.ErrorsFrom(L"mPlexaUpdate::DoPlexaAction"), 1U);
    EXPECT_EQ(w.session.transmissions.size(), 2U);
    EXPECT_EQ(w.queue.Count(), 1U);
    // The source is in Drafts with the two recipients not reached and its settings, so that
    // sending it again takes the same way.
    auto source = std::dynamic_pointer_cast<MailItem>(w.Ns()->GetItemFromID(id));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(PlexaWorld::Addresses(*w.session.FindItem(id)), (Addresses{people[3], people[4]}));
    EXPECT_TRUE(mUserProps::GetShowToolbar(source));
    EXPECT_EQ(mUserProps::GetSendMode(source), SendModeSep);
    EXPECT_TRUE(mUserProps::GetGroupMode(source));
    // The copy that failed on its way is gone; the queued one waits in Drafts.
    EXPECT_EQ(w.Items(olFolderDrafts).size(), 2U);
    EXPECT_TRUE(w.Items(olFolderDeletedItems).empty());

    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 2.");
    EXPECT_FALSE(w.Send(source, nullptr, false, 1, 5, 2));
    const auto copies = w.CopiesPerAddress();
    for (const auto& person : people) {
        EXPECT_EQ(copies.count(person) != 0 ? copies.at(person) : 0, 1) << text::ToUtf8(person);
    }
    EXPECT_EQ(w.session.FindItem(id), nullptr);
}

}  // namespace
}  // namespace plexa
