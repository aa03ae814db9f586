// The folder-window commands, clicked on the add-in's toolbar of a 2003 client: To, CC and BCC
// from the selection or a picked folder, nobody gathered, a cancel while the recipients are
// added, send-now in and out of Drafts; and the To, new-list and send-now commands with every
// host call failed once.
#include <gtest/gtest.h>

#include "FaultSweep.h"
#include "platform/IUiShell.h"
#include "settings/CWinReg.h"
#include "sim/store/Transmission.h"
#include "ui/ExplorerWorld.h"

namespace plexa {
namespace {

using test::ExplorerWorld;

// Toolbar positions: 1 send-now, 2 recent action, 3 the menu with To, CC, BCC, new list, new
// list from folder, existing list, options, About.
constexpr int32_t kSendNow = 1;
constexpr int32_t kMenu = 3;
constexpr int32_t kTo = 1;
constexpr int32_t kBCC = 3;
constexpr int32_t kNewDL = 4;

int32_t ShowBcc(ExplorerWorld& w) {
    CWinReg reg(w.services.Ports());
    if (!reg.InitForRead(CWinReg::HKEY_CURRENT_USER(),
                         L"Software\\Microsoft\\Office\\11.0\\Outlook\\Preferences")) {
        return -1;
    }
    return reg.GetDWORDValue(L"ShowBcc", -1);
}

int Sent(const ExplorerWorld& w, const std::wstring& subject) {
    return static_cast<int>(std::count_if(w.session.transmissions.begin(),
                                          w.session.transmissions.end(),
                                          [&](const auto& t) { return t.subject == subject; }));
}

bool In(const sim::FolderRecord* folder, const std::wstring& subject) {
    return std::any_of(folder->Items().begin(), folder->Items().end(), [&](const auto& item) {
        return item->GetText(mapi::PR_SUBJECT) == subject;
    });
}

TEST(ExplorerActions, ToFromTheSelectionOpensAMarkedMessageAndBccTurnsTheFieldOn) {
    ExplorerWorld w(11);
    auto window = w.desktop.OpenExplorer(*w.contacts);
    w.desktop.Select(window, w.Contacts(3));
    w.ClickToolbar(kMenu, kTo);
    ASSERT_EQ(w.desktop.Inspectors().size(), 1U);
    EXPECT_EQ(w.MessageRecipients(),
              (std::vector<std::wstring>{L"1:Person 1", L"1:Person 2", L"1:Person 3"}));
    const auto record = w.desktop.Inspectors()[0]->Record();
    EXPECT_EQ(record->userProperties.size(), 2U) << "marked, with its send mode";

    EXPECT_EQ(ShowBcc(w), -1);
    w.ClickToolbar(kMenu, kBCC);
    EXPECT_EQ(ShowBcc(w), 1);
    ASSERT_EQ(w.desktop.Inspectors().size(), 2U);
    EXPECT_EQ(w.MessageRecipients(1).front(), L"3:Person 1");
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerActions, NobodyGatheredTellsSoAndOpensNothing) {
    ExplorerWorld w(11);
    auto window = w.desktop.OpenExplorer(*w.contacts);
    auto nobody = w.session.AddItem(*w.contacts, olContact);
    nobody->SetText(mapi::PR_DISPLAY_NAME, L"No Address");
    w.desktop.Select(window, {nobody});
    w.desktop.ui().user.AnswerMsgBox(mb::IdOk, L"LID_PROMPT_NORECIPIENTS");
    w.ClickToolbar(kMenu, kTo);
    EXPECT_TRUE(w.desktop.ui().user.Empty());
    EXPECT_EQ(w.desktop.ui().Prompts().back().title, L"LID_TITLE_NORECIPIENTS");
    EXPECT_TRUE(w.desktop.Inspectors().empty());
}

TEST(ExplorerActions, AtTheTopOfAStoreTheUserPicksTheFolderToTakeEveryItemOf) {
    ExplorerWorld w(11);
    w.Contacts(2);
    auto window = w.desktop.OpenExplorer(*w.session.DefaultStore()->TopFolder());
    // Cancelled: nothing at all.
    w.ClickToolbar(kMenu, kTo);
    EXPECT_TRUE(w.desktop.Inspectors().empty());
    // Contacts picked: every contact of it, though none is selected.
    w.host.outlook.pickFolder = [&] { return w.contacts; };
    w.ClickToolbar(kMenu, kTo);
    ASSERT_EQ(w.desktop.Inspectors().size(), 1U);
    EXPECT_EQ(w.MessageRecipients(), (std::vector<std::wstring>{L"1:Person 1", L"1:Person 2"}));
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerActions, ACancelWhileAddingStillOpensTheMessageWithThoseAdded) {
    ExplorerWorld w(11);
    auto window = w.desktop.OpenExplorer(*w.contacts);
    w.desktop.Select(window, w.Contacts(25));
    // The user presses Cancel once the window adds recipients, and confirms: watched at the
    // message loop, acted on in it.
    bool pressed = false;
    w.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view) {
            Form* progress = w.desktop.ui().FindForm(L"frmProgress");
            if (!pressed && op == L"Windows.DoEvents" && progress != nullptr &&
                (*progress)[L"lblProgress3"].visible) {
                pressed = true;
                w.sim.windows.Post([&] {
                    w.desktop.ui().user.AnswerMsgBox(mb::IdYes);
                    w.desktop.ui().Act(L"frmProgress", {}, L"btnCancel");
                });
            }
            return false;
        },
        HostError(0x80004005, L"never", L"test"));
    w.ClickToolbar(kMenu, kTo);
    ASSERT_EQ(w.desktop.Inspectors().size(), 1U);
    const auto added = w.MessageRecipients().size();
    EXPECT_GE(added, 1U);
    EXPECT_LT(added, 25U);
    EXPECT_EQ(w.desktop.ui().FindForm(L"frmProgress"), nullptr);
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerActions, SendNowSendsTheSelectedDraftsAndStopsAtOneWithoutRecipients) {
    ExplorerWorld w(11);
    auto window = w.desktop.OpenExplorer(*w.drafts);
    const auto plain = w.Draft(L"Plain", {L"ann@acme.example"});
    const auto composed = w.Draft(L"Composed", {L"bob@lee.example"}, true);
    const auto empty = w.Draft(L"", {});
    const auto after = w.Draft(L"After", {L"carla@diaz.example"});

    // Only an appointment selected: told to select mails.
    auto meeting = w.session.AddItem(*w.drafts, olAppointment);
    w.desktop.Select(window, {meeting});
    w.desktop.ui().user.AnswerMsgBox(mb::IdOk, L"LID_PROMPT_SENDNOW_MESSAGE");
    w.ClickToolbar(kSendNow);
    EXPECT_TRUE(w.desktop.ui().user.Empty());

    w.services.Lang().ItemSet(L"LID_UNTITLED", L"Untitled");
    w.desktop.Select(window, {plain, composed, empty, after});
    w.desktop.ui().user.AnswerMsgBox(mb::IdOk, L"LID_PROMPT_NO_RECIPIENTS");
    w.ClickToolbar(kSendNow);
    EXPECT_TRUE(w.desktop.ui().user.Empty());
    EXPECT_EQ(w.desktop.ui().Prompts().back().title, L"Untitled - Plexa");
    EXPECT_EQ(Sent(w, L"Plain"), 1);
    EXPECT_EQ(Sent(w, L"Composed"), 1);
    EXPECT_EQ(Sent(w, L"After"), 0);
    EXPECT_TRUE(In(w.drafts, L"After"));
    EXPECT_FALSE(w.connect->PleaseWait().FormShown());
    EXPECT_EQ(w.connect->PleaseWait().ActionCount(), 0);

    // In another folder the button is hidden; the command does nothing there.
    w.desktop.SwitchFolder(window, *w.contacts);
    EXPECT_FALSE(w.Toolbar(kSendNow)->Visible());
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

// ---- Every host call failed once ----------------------------------------------------------------

struct SweepWorld : ExplorerWorld {
    explicit SweepWorld(int count) : ExplorerWorld(11) {
        window = desktop.OpenExplorer(*contacts);
        people = Contacts(count);
        desktop.Select(window, people);
        // A failure may end in one message (nobody resolved, a list not saved).
        desktop.ui().user.AnswerMsgBox(mb::IdOk);
        to = Toolbar(kMenu, kTo);
        newDL = Toolbar(kMenu, kNewDL);
    }
    std::shared_ptr<sim::SimExplorer> window;
    std::shared_ptr<sim::SimCommandBarControl> to;
    std::shared_ptr<sim::SimCommandBarControl> newDL;
    std::vector<std::shared_ptr<sim::ItemRecord>> people;
};

void NoProgressLeft(ExplorerWorld& w, const test::SweepPoint& p) {
    // A window whose unloading was the failed call is hidden, not unloaded.
    if (p.op != L"UiShell.Unload") {
        EXPECT_EQ(w.desktop.ui().FindForm(L"frmProgress"), nullptr) << p.Describe();
        EXPECT_EQ(w.desktop.ui().FindForm(L"frmPleaseWait"), nullptr) << p.Describe();
    }
}

TEST(ExplorerActionsSweep, ToWithEveryHostCallFailedOnce) {
    const auto result = test::SweepHostCalls(
        // Twenty contacts: the progress window runs its three stages.
        "To", [] { return std::make_unique<SweepWorld>(20); },
        [](SweepWorld& w) { w.desktop.office.Click(w.to); },
        [](SweepWorld& w, const test::SweepPoint& p) {
            NoProgressLeft(w, p);
            EXPECT_LE(w.desktop.Inspectors().size(), 1U) << p.Describe();
        });
    EXPECT_GT(result.points, 50);
}

TEST(ExplorerActionsSweep, NewListWithEveryHostCallFailedOnce) {
    const auto result = test::SweepHostCalls(
        "new list", [] { return std::make_unique<SweepWorld>(4); },
        [](SweepWorld& w) { w.desktop.office.Click(w.newDL); },
        [](SweepWorld& w, const test::SweepPoint& p) {
            NoProgressLeft(w, p);
            for (const auto& item : w.contacts->Items()) {
                if (item->ObjectClass() == olDistributionList) {
                    EXPECT_GE(item->listEntry->Members().size(), 3U) << p.Describe();
                }
            }
        });
    EXPECT_GT(result.points, 50);
}

struct SendNowWorld : ExplorerWorld {
    SendNowWorld() : ExplorerWorld(11) {
        window = desktop.OpenExplorer(*drafts);
        desktop.Select(window, {Draft(L"Plain", {L"ann@acme.example"}),
                                Draft(L"Composed", {L"bob@lee.example"}, true)});
        sendNow = Toolbar(kSendNow);
        // A separate send that fails says what it did.
        desktop.ui().user.AnswerMsgBox(mb::IdOk);
    }
    std::shared_ptr<sim::SimExplorer> window;
    std::shared_ptr<sim::SimCommandBarControl> sendNow;
};

TEST(ExplorerActionsSweep, SendNowWithEveryHostCallFailedOnceSendsNothingTwiceAndLosesNothing) {
    const auto result = test::SweepHostCalls(
        "send-now", [] { return std::make_unique<SendNowWorld>(); },
        [](SendNowWorld& w) { w.desktop.office.Click(w.sendNow); },
        [](SendNowWorld& w, const test::SweepPoint& p) {
            NoProgressLeft(w, p);
            EXPECT_EQ(w.connect->PleaseWait().ActionCount(), 0) << p.Describe();
            for (const wchar_t* subject : {L"Plain", L"Composed"}) {
                EXPECT_LE(Sent(w, subject), 1) << p.Describe();
                if (Sent(w, subject) == 0) {
                    EXPECT_TRUE(In(w.drafts, subject)) << p.Describe() << ": " << subject;
                }
            }
        });
    EXPECT_GT(result.points, 20);
}

}  // namespace
}  // namespace plexa
