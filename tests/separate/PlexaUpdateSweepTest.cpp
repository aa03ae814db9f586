// A separate send of five recipients from a message window, with every host call it makes
// failed once in turn: two copies go out, one is kept in Drafts for an empty value, two are
// queued. Whatever fails, nothing escapes, the please-wait action ends, no copy is left in the
// Outbox, and sending the source again afterwards reaches each recipient exactly once across
// both sends.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FaultSweep.h"
#include "PlexaWorld.h"
#include "platform/IUiShell.h"

namespace plexa {
namespace {

const std::vector<std::wstring> kPeople = {L"ann@acme.example", L"bob@lee.example",
                                           L"carl@x.example", L"dana@whit.example",
                                           L"eve@park.example"};

struct SweepWorld : test::PlexaWorld {
    SweepWorld() {
        // Carl has no first name: his copy stays in Drafts (the answer remembered as empty).
        props.SetDefaultValue(L"%FirstName%", L"");
        mail = Compose(
            L"Hello %FirstName%", L"See you soon.",
            {L"Ann Smith <ann@acme.example>", L"Bob Lee <bob@lee.example>", L"carl@x.example",
             L"Dana Whit <dana@whit.example>", L"Eve Park <eve@park.example>"},
            SendModeSep, true);
        sourceID = mail->EntryID();
        inspector = desktop.OpenInspector(mail);
        window.Init(inspector);
    }

    void SendFromTheWindow() {
        sim.ui.user.AnswerMsgBox(mb::IdYes);
        sim.ui.user.AnswerMsgBox(mb::IdOk, L"Sent: ");
        Send(std::dynamic_pointer_cast<MailItem>(window.GetMail()), &window, false, 1, 5, 2);
    }

    std::shared_ptr<MailItem> mail;
    std::wstring sourceID;
    std::shared_ptr<sim::SimInspector> inspector;
    test::TestMessageWindow window;
};

TEST(PlexaUpdateSweep, NoRecipientGetsTwoCopiesAcrossAFailedSendAndASecondOne) {
    test::SweepOptions options;
    // A failure while a copy is made is logged where it happened and by the action.
    options.maxErrorEntries = 2;
    test::SweepHostCalls(
        "a separate send of five recipients", [] { return std::make_unique<SweepWorld>(); },
        [](SweepWorld& w) { w.SendFromTheWindow(); },
        [](SweepWorld& w, const test::SweepPoint& point) {
            EXPECT_EQ(w.pleaseWait.ActionCount(), 0) << point.Describe();
            EXPECT_TRUE(w.Items(olFolderOutbox).empty()) << point.Describe();
            if (point.n == 0) {
                EXPECT_EQ(w.session.transmissions.size(), 2U);
                EXPECT_EQ(w.queue.Count(), 2U);
                EXPECT_EQ(w.sim.ui.user.Remaining(), 1U);  // no word of a failure
            }
            // Whoever has a copy already is no longer on the source.
            const auto first = w.CopiesPerAddress(w.sourceID);
            auto source = w.session.FindItem(w.sourceID);
            const bool inDrafts = source && source->Folder() == &w.Folder(olFolderDrafts);
            for (const auto& person : kPeople) {
                const int copies = first.count(person) != 0 ? first.at(person) : 0;
                EXPECT_LE(copies, 1) << point.Describe() << " " << text::ToUtf8(person);
                if (inDrafts && copies == 1) {
                    for (const auto& on : test::PlexaWorld::Addresses(*source)) {
                        EXPECT_NE(on, person) << point.Describe() << ": still on the source";
                    }
                }
            }
            w.sim.ui.user.Clear();
            if (inDrafts) {
                // The user sends it again (from Drafts: the window may be gone).
                w.sim.ui.user.AnswerMsgBox(mb::IdYes);
                auto again = std::dynamic_pointer_cast<MailItem>(w.Ns()->GetItemFromID(w.sourceID));
                const auto open = w.desktop.Inspectors();
                if (std::find(open.begin(), open.end(), w.inspector) != open.end()) {
                    w.desktop.CloseInspector(w.inspector, olDiscard);
                }
                w.Send(again, nullptr, false, 1, 5, 2);
                // Gone, or (sent as one message from a personal-folders store, which keeps
                // the entry id) in Sent Items: no longer waiting in Drafts either way.
                const auto left = w.session.FindItem(w.sourceID);
                EXPECT_TRUE(left == nullptr || left->Folder() != &w.Folder(olFolderDrafts))
                    << point.Describe();
            }
            const auto both = w.CopiesPerAddress();
            for (const auto& person : kPeople) {
                EXPECT_EQ(both.count(person) != 0 ? both.at(person) : 0, 1)
                    << point.Describe() << " " << text::ToUtf8(person);
            }
            EXPECT_TRUE(w.Items(olFolderOutbox).empty()) << point.Describe();
        },
        options);
}

}  // namespace
}  // namespace plexa
