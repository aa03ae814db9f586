// Send pressed in a message window of three recipients, with every host call failing in turn:
// no copy ever goes twice, and the window is either still open with the message as it was, or
// closed with every recipient accounted for (sent, or still on the message in Drafts).
#include <gtest/gtest.h>

#include <set>

#include "FaultSweep.h"
#include "InspectorWorld.h"
#include "addin/CInspectorWrapper.h"
#include "platform/IUiShell.h"

namespace plexa {
namespace {

const std::vector<std::wstring> kPeople = {L"ann@acme.example", L"bob@lee.example",
                                           L"carla@diaz.example"};

struct SendWorld : test::InspectorWorld {
    SendWorld() : InspectorWorld(11) {
        mail = Compose(L"Hello %FirstName%", L"Dear %FullName%",
                       {L"Ann Smith <ann@acme.example>", L"Bob Lee <bob@lee.example>",
                        L"Carla Diaz <carla@diaz.example>"});
        sourceID = mail->EntryID();
        window = Open(mail);
        sim.ui.user.AnswerMsgBox(mb::IdYes);
        // The action's closing word after a failure, when it comes to one.
        sim.ui.user.AnswerMsgBox(mb::IdOk);
    }

    void PressSend() {
        try {
            desktop.PressSend(window);
        } catch (const HostError&) {
            // The client's own refusal (its Send button or the item failing): it tells the
            // user itself, and the window stays as it was.
        }
    }

    std::shared_ptr<MailItem> mail;
    std::wstring sourceID;
    std::shared_ptr<sim::SimInspector> window;
};

TEST(InspectorSendSweep, NoCopyTwiceAndTheWindowOpenIntactOrClosedWithEveryoneAccountedFor) {
    test::SweepOptions options;
    // A failure while a copy is made is logged where it happened and by the action.
    options.maxErrorEntries = 2;
    const auto result = test::SweepHostCalls(
        "Send in a message window of three recipients",
        [] { return std::make_unique<SendWorld>(); }, [](SendWorld& w) { w.PressSend(); },
        [](SendWorld& w, const test::SweepPoint& point) {
            const auto copies = w.CopiesPerAddress(w.sourceID);
            for (const auto& person : kPeople) {
                const int n = copies.count(person) != 0 ? copies.at(person) : 0;
                EXPECT_LE(n, 1) << point.Describe() << " " << text::ToUtf8(person);
            }
            if (point.n == 0) {
                EXPECT_TRUE(w.window->IsClosed());
                EXPECT_EQ(w.session.transmissions.size(), 3U);
            }
            auto source = w.session.FindItem(w.sourceID);
            if (!w.window->IsClosed()) {
                // Open: the message is intact, settings and recipients, and Send works again.
                ASSERT_NE(source, nullptr) << point.Describe();
                auto shown = std::dynamic_pointer_cast<MailItem>(w.window->CurrentItem());
                EXPECT_EQ(shown->GetRecipients()->Count(), 3) << point.Describe();
                EXPECT_EQ(mUserProps::GetSendMode(shown), SendModeSep) << point.Describe();
                EXPECT_TRUE(mUserProps::GetShowToolbar(shown)) << point.Describe();
                EXPECT_TRUE(w.session.transmissions.empty()) << point.Describe();
                auto wrapper = w.WrapperOf(w.window);
                ASSERT_NE(wrapper, nullptr) << point.Describe();
                EXPECT_FALSE(wrapper->ActionRunning()) << point.Describe();
                w.sim.ui.user.Clear();
                w.sim.ui.user.AnswerMsgBox(mb::IdYes);
                w.PressSend();
                EXPECT_TRUE(w.window->IsClosed()) << point.Describe();
            } else if (source && !source->IsRemoved() &&
                       source->Folder() == w.session.DefaultFolder(olFolderDrafts)) {
                // Closed with the message left in Drafts: whoever has no copy is still on it.
                std::set<std::wstring> onSource;
                for (const auto& r : source->recipients) {
                    onSource.insert(text::ToLower(r->Address()));
                }
                for (const auto& person : kPeople) {
                    EXPECT_TRUE(copies.count(person) != 0 || onSource.count(person) != 0)
                        << point.Describe() << " " << text::ToUtf8(person) << " lost";
                }
                return;
            }
            // Everyone has exactly one copy now.
            const auto after = w.CopiesPerAddress(w.sourceID);
            for (const auto& person : kPeople) {
                EXPECT_EQ(after.count(person) != 0 ? after.at(person) : 0, 1)
                    << point.Describe() << " " << text::ToUtf8(person);
            }
        },
        options);
    EXPECT_GT(result.points, 50);
}

}  // namespace
}  // namespace plexa
