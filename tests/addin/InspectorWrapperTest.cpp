// Message windows of messages composed through the add-in, driven as the user drives them:
// pressing Send, clicking the toolbar of the 2002/2003 clients, typing, closing; and the
// operations the compose ribbon of the later clients calls.
#include <gtest/gtest.h>

#include "InspectorWorld.h"
#include "addin/CInspectorWrapper.h"
#include "addin/CMailItemWrapperColl.h"
#include "addin/mInspector.h"
#include "host/mapi/PropTags.h"
#include "host/redemption/Redemption.h"
#include "platform/IUiShell.h"
#include "separate/mReplacements.h"
#include "sim/office/SimCommandBar.h"
#include "sim/office/SimCommandBarControl.h"

namespace plexa {
namespace {

using test::InspectorWorld;
using Outcome = sim::SimDesktop::SendOutcome;

const std::vector<std::wstring> kThree = {L"Ann Smith <ann@acme.example>",
                                          L"Bob Lee <bob@lee.example>",
                                          L"Carla Diaz <carla@diaz.example>"};

std::shared_ptr<sim::SimCommandBar> Bar(const std::shared_ptr<sim::SimInspector>& window,
                                        const std::wstring& name) {
    return window->Bars()->Find(name);
}

// The add-in's controls on a bar (tags of its own), by caption.
std::vector<std::wstring> AddinCaptions(const sim::SimCommandBar& bar) {
    std::vector<std::wstring> captions;
    for (const auto& c : bar.Items()) {
        if (!c->IsDeleted() && !c->IsBuiltIn()) {
            captions.push_back(c->CaptionText());
        }
    }
    return captions;
}

// Whether the control of that caption shows pressed in the window in front.
// Errors other than the language table's (the test world has no language file).
std::size_t Errors(const InspectorWorld& w) {
    std::size_t n = 0;
    for (const auto& e : w.log.Of(LogLevel::Error)) {
        n += e.source.starts_with(L"CLang") ? 0 : 1;
    }
    return n;
}

bool Pressed(InspectorWorld& w, const std::wstring& caption) {
    const std::wstring bars = w.desktop.BarsText(w.desktop.ActiveWindow());
    const auto at = bars.find(L"\"" + caption + L"\"");
    if (at == std::wstring::npos) {
        return false;
    }
    const auto end = bars.find(L'\n', at);
    return bars.substr(at, end - at).find(L" pressed") != std::wstring::npos;
}

class SendInWindow : public ::testing::TestWithParam<int32_t> {};

TEST_P(SendInWindow, TheClientNeverSendsAWrappedMessageItselfInEitherMode) {
    InspectorWorld w(GetParam());
    // To all: one message, through the action's single-message path.
    auto toAll = w.Compose(L"News", L"For everyone", kThree, SendModeAll);
    auto window = w.Open(toAll);
    ASSERT_NE(w.WrapperOf(window), nullptr);
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_TRUE(window->IsClosed());
    ASSERT_EQ(w.session.transmissions.size(), 1U);
    EXPECT_EQ(w.session.transmissions[0].recipients.size(), 3U);
    EXPECT_TRUE(w.session.transmissions[0].userProperties.empty());

    // Separately: one copy each, after the user's Yes.
    auto separately = w.Compose(L"Hello %FirstName%", L"Dear %FullName%", kThree);
    window = w.Open(separately);
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 3");
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_TRUE(window->IsClosed());
    ASSERT_EQ(w.session.transmissions.size(), 4U);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(w.session.transmissions[i].recipients.size(), 1U);
    }
    EXPECT_EQ(w.session.transmissions[1].subject, L"Hello Ann");
    // A plain message, not composed through the add-in, goes as the client sends it.
    auto plain =
        std::dynamic_pointer_cast<MailItem>(w.desktop.host.application->CreateItem(olMailItem));
    plain->GetRecipients()->Add(L"ann@acme.example")->Resolve();
    plain->Save();
    window = w.Open(plain);
    EXPECT_EQ(w.WrapperOf(window), nullptr);
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Sent);
    EXPECT_EQ(w.session.transmissions.size(), 5U);
    EXPECT_EQ(w.ErrorsFrom(L"CInspectorWrapper::DoAction"), 0U);
}

TEST_P(SendInWindow, InsertingATokenSwitchesToSeparatelyAndTypesPercentSignsInBraces) {
    InspectorWorld w(GetParam());
    auto mail = w.Compose(L"Hi", L"", {L"ann@acme.example"}, SendModeAll);
    auto window = w.Open(mail);
    auto wrapper = w.WrapperOf(window);
    ASSERT_NE(wrapper, nullptr);
    if (GetParam() < 12) {
        EXPECT_FALSE(Pressed(w, L"LID_BTN_SEND_SEP"));
        w.desktop.Click(L"LID_BTN_INSERT_FULL_NAME");
        EXPECT_TRUE(Pressed(w, L"LID_BTN_SEND_SEP"));
        EXPECT_FALSE(Pressed(w, L"LID_BTN_SEND_ALL"));
        w.desktop.Click(L"LID_CAP_CONTACT_COMPANY");
    } else {
        wrapper->InsertField(L"%FullName%");
        wrapper->InsertField(L"%Company%");
    }
    EXPECT_EQ(mUserProps::GetSendMode(wrapper->GetMail()), SendModeSep);
    const auto& keys = w.sim.keyboard.Sent();
    ASSERT_GE(keys.size(), 2U);
    EXPECT_EQ(keys[keys.size() - 2], L"{%}FullName{%} ");
    EXPECT_EQ(keys.back(), L"{%}Company{%} ");
    EXPECT_EQ(wrapper->GetMail()->Body(), L"%FullName% %Company% ");
    // Literal keys for every character the keystroke simulator reads as a command.
    EXPECT_EQ(mInspector::EscapeKeys(L"a(b)+^%~[c]{d}"), L"a{(}b{)}{+}{^}{%}{~}{[}c{]}{{}d{}}");
    // Not saved: the setting goes with the message when it is saved or sent.
    EXPECT_FALSE(wrapper->GetMail()->Saved());
}

TEST_P(SendInWindow, GroupingOpensTheOptionsDialogOnlyWhenTheSettingAsks) {
    InspectorWorld w(GetParam());
    auto mail = w.Compose(L"Hi", L"x", {L"ann@acme.example"}, SendModeSep);
    auto window = w.Open(mail);
    auto wrapper = w.WrapperOf(window);
    ASSERT_NE(wrapper, nullptr);
    const auto toggle = [&] {
        if (GetParam() < 12) {
            w.desktop.Click(L"LID_BTN_SEP_GROUPING");
        } else {
            wrapper->SetGrouping(!wrapper->Grouping());
        }
    };
    w.services.Options().ShowSeparatlyOptions(true);
    w.sim.ui.user.AnswerDialog(L"frmSeparatlyOptions", {}, L"btnOK");
    toggle();  // on: the dialog shows
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_TRUE(mUserProps::GetGroupMode(wrapper->GetMail()));
    EXPECT_TRUE(wrapper->Grouping());
    toggle();  // off: no dialog (an unexpected one would fail the test)
    EXPECT_FALSE(mUserProps::GetGroupMode(wrapper->GetMail()));
    w.services.Options().ShowSeparatlyOptions(false);
    toggle();  // on, but the user asked not to see the dialog
    EXPECT_TRUE(mUserProps::GetGroupMode(wrapper->GetMail()));
    if (GetParam() < 12) {
        const std::wstring bars = w.desktop.BarsText(window);
        EXPECT_NE(bars.find(L"Separately, 20 at a time"), std::wstring::npos) << text::ToUtf8(bars);
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, SendInWindow, ::testing::Values(11, 14));

TEST(InspectorToolbar, OnTheStandardBarItIsRemovedOnCloseAndAnOwnBarKeepsItsPosition) {
    InspectorWorld w(11);
    w.services.Options().SeparateBar(false);
    auto mail = w.Compose(L"Hi", L"x", {L"ann@acme.example"}, SendModeSep, true);
    auto window = w.Open(mail);
    auto standard = Bar(window, L"Standard");
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(AddinCaptions(*standard),
              (std::vector<std::wstring>{L"LID_BTN_INSERT_FULL_NAME", L" ",
                                         L"LID_BTN_SEND_MODE_SEP", L"LID_MNU_SEND_MODE",
                                         L"LID_BTN_OPEN_DRAFTS", L"LID_BTN_OPTIONS"}));
    // Before the client's own buttons, the settings shown as the message carries them.
    EXPECT_EQ(standard->Items()[0]->CaptionText(), L"LID_BTN_INSERT_FULL_NAME");
    EXPECT_TRUE(Pressed(w, L"LID_BTN_SEND_SEP"));
    EXPECT_TRUE(Pressed(w, L"LID_BTN_SEP_GROUPING"));
    EXPECT_EQ(Bar(window, L"LID_TOOLBAR_NAME"), nullptr);
    // Removed by the add-in as the window closes, before the client drops its bars.
    std::size_t leftAtClose = 99;
    Connection watch =
        window->OnClose.Connect([&] { leftAtClose = AddinCaptions(*standard).size(); });
    w.desktop.CloseInspector(window, olDiscard);
    EXPECT_EQ(leftAtClose, 0U);
    EXPECT_TRUE(w.connect->InspectorWrappers().back()->Closed());

    // An own bar: its place is kept when the window closes and taken by the next one.
    w.services.Options().SeparateBar(true);
    window = w.Open(mail);
    auto own = Bar(window, L"LID_TOOLBAR_NAME");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(AddinCaptions(*Bar(window, L"Standard")).size(), 0U);
    EXPECT_EQ(AddinCaptions(*own).size(), 6U);
    EXPECT_TRUE(own->IsTemporary());
    own->SetRowIndex(3);
    own->SetLeft(120);
    w.desktop.CloseInspector(window, olDiscard);
    window = w.Open(mail);
    own = Bar(window, L"LID_TOOLBAR_NAME");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->RowIndex(), 3);
    EXPECT_EQ(own->Left(), 120);
    EXPECT_TRUE(own->Visible());

    // The look changes: the bars are built again, from the settings and the message.
    w.services.Options().SeparateBar(false);
    w.connect->RecreateInspectorBars();
    EXPECT_TRUE(Bar(window, L"LID_TOOLBAR_NAME") == nullptr ||
                Bar(window, L"LID_TOOLBAR_NAME")->IsDeleted());
    EXPECT_EQ(AddinCaptions(*Bar(window, L"Standard")).size(), 6U);
    EXPECT_TRUE(Pressed(w, L"LID_BTN_SEP_GROUPING"));
    EXPECT_EQ(Errors(w), 0U);
}

TEST(InspectorToolbar, WordEditorGetsAnOwnBarAndSendWaitsForTheBarsUpdate) {
    InspectorWorld w(11, true);
    w.services.Options().SeparateBar(false);
    w.desktop.StartWordCompanion();
    auto mail = w.Compose(L"Hi", L"", {L"Ann Smith <ann@acme.example>"}, SendModeAll);
    auto window = w.Open(mail);
    ASSERT_NE(Bar(window, L"LID_TOOLBAR_NAME"), nullptr);
    EXPECT_TRUE(AddinCaptions(*Bar(window, L"Standard")).empty());
    // Insertion goes through the Word companion, token and space as they are.
    w.desktop.Click(L"LID_CAP_CONTACT_FIRST_NAME");
    ASSERT_EQ(w.desktop.WordCompanionTyped().size(), 1U);
    EXPECT_EQ(w.desktop.WordCompanionTyped()[0], L"%FirstName% ");
    EXPECT_TRUE(Pressed(w, L"LID_BTN_SEND_SEP"));
    // Send: cancelled at once, the action waits for Word's bars to update after the command.
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 1");
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_EQ(w.Logged(L"CInspectorWrapper.m_oMail_Send", L"waiting OnUpdate event"), 1U);
    EXPECT_EQ(w.Logged(L"CInspectorWrapper.m_barsWordInspector_OnUpdate"), 1U);
    EXPECT_TRUE(window->IsClosed());
    ASSERT_EQ(w.session.transmissions.size(), 1U);
    EXPECT_EQ(w.session.transmissions[0].body, L"Ann ");
}

TEST(InspectorToolbar, AFailingControlLeavesTheWindowUsable) {
    InspectorWorld w(11);
    w.services.Options().SeparateBar(false);
    auto mail = w.Compose(L"Hi", L"x", {L"ann@acme.example"}, SendModeAll);
    // The bar cannot be built the first time: nothing half-built stays.
    w.sim.faults.FailNth(L"CommandBarControl.SetState", 1,
                         HostError(E_FAIL, L"Method 'State' failed", L"Office"));
    auto window = w.Open(mail);
    EXPECT_FALSE(w.WrapperOf(window)->HasToolbar());
    EXPECT_TRUE(AddinCaptions(*Bar(window, L"Standard")).empty());
    // The next time the window comes to the front it is built whole.
    w.desktop.Activate(w.explorer);
    w.desktop.Activate(window);
    EXPECT_EQ(AddinCaptions(*Bar(window, L"Standard")).size(), 6U);
    // A click whose button cannot show its state still changes the message's send mode.
    w.sim.faults.FailWhen(
        L"CommandBarControl.SetState", [](std::wstring_view) { return true; },
        HostError(E_FAIL, L"Method 'State' failed", L"Office"));
    w.desktop.Click(L"LID_BTN_SEND_SEP");
    EXPECT_EQ(mUserProps::GetSendMode(w.WrapperOf(window)->GetMail()), SendModeSep);
    w.sim.faults.Clear();
    w.desktop.Click(L"LID_BTN_SEND_ALL");
    EXPECT_EQ(mUserProps::GetSendMode(w.WrapperOf(window)->GetMail()), SendModeAll);
    EXPECT_EQ(Errors(w), 0U);
}

TEST(InspectorToolbar, OpenDraftsShowsDraftsAndBringsTheFolderWindowForward) {
    InspectorWorld w(11);
    auto window = w.Open(w.Compose(L"Hi", L"x", {L"ann@acme.example"}));
    w.desktop.Click(L"LID_BTN_OPEN_DRAFTS");
    EXPECT_EQ(w.explorer->CurrentFolder()->Name(), L"Drafts");
    EXPECT_EQ(w.desktop.ActiveWindow(), window);
    w.desktop.AdvanceClock(0.2);
    EXPECT_EQ(w.desktop.ActiveWindow(), w.explorer);
}

// ---- Faults while the action runs -------------------------------------------------------------

TEST(InspectorSendFaults, ASecondSendWhileTheFirstRunsSendsNothingMore) {
    InspectorWorld w(11);
    auto mail = w.Compose(L"Hi", L"x", kThree);
    const std::wstring id = mail->EntryID();
    auto window = w.Open(mail);
    bool pressedAgain = false;
    w.sim.ui.onPrompt = [&](const sim::PromptRecord&) {
        if (!pressedAgain) {
            pressedAgain = true;
            EXPECT_TRUE(w.WrapperOf(window)->ActionRunning());
            EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
        }
    };
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_TRUE(pressedAgain);
    EXPECT_EQ(w.session.transmissions.size(), 3U);
    for (const auto& [address, copies] : w.CopiesPerAddress(id)) {
        EXPECT_EQ(copies, 1) << text::ToUtf8(address);
    }
    EXPECT_EQ(w.Logged(L"CInspectorWrapper.m_oMail_Send", L"being sent already"), 1U);
}

TEST(InspectorSendFaults, TheWindowClosedWhileTheActionRunsStillSendsEachCopyOnce) {
    InspectorWorld w(11);
    auto mail = w.Compose(L"Hi", L"x", kThree);
    const std::wstring id = mail->EntryID();
    auto window = w.Open(mail);
    w.sim.ui.onPrompt = [&](const sim::PromptRecord&) {
        if (!window->IsClosed()) {
            w.desktop.CloseInspector(window, olDiscard);
        }
    };
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(w.session.transmissions.size(), 3U);
    for (const auto& [address, copies] : w.CopiesPerAddress(id)) {
        EXPECT_EQ(copies, 1) << text::ToUtf8(address);
    }
}

TEST(InspectorSendFaults, AMessageDeletedUnderTheWindowIsNotSent) {
    InspectorWorld w(11, true);
    auto mail = w.Compose(L"Hi", L"x", kThree);
    const std::wstring id = mail->EntryID();
    auto window = w.Open(mail);
    // Word: the send waits for the bars; meanwhile the message is deleted in the folder window.
    EXPECT_EQ(w.WrapperOf(window)->GetInspector()->EditorType(), olEditorWord);
    // The item's Send, before the bars update.
    auto shown = std::dynamic_pointer_cast<MailItem>(window->CurrentItem());
    shown->Send();
    EXPECT_EQ(w.Logged(L"CInspectorWrapper.m_oMail_Send", L"waiting OnUpdate event"), 1U);
    w.Stored(id)->Delete();
    w.desktop.Activate(w.explorer);  // the bars update
    w.desktop.Activate(window);
    EXPECT_EQ(w.ErrorsFrom(L"CInspectorWrapper::DoAction"), 1U);
    EXPECT_TRUE(w.session.transmissions.empty());
    // The window stays usable: its commands answer, and closing it works.
    EXPECT_NO_THROW(w.desktop.Click(L"LID_BTN_SEND_ALL"));
    EXPECT_NO_THROW(w.desktop.CloseInspector(window, olDiscard));
    EXPECT_TRUE(w.connect->InspectorWrappers().back()->Closed());
    // Pressing Send on a deleted message in a plain editor: the client refuses, nothing goes.
    auto other = w.Compose(L"Again", L"x", kThree);
    w.desktop.wordEditor = false;
    auto second = w.Open(other);
    w.Stored(other->EntryID())->Delete();
    EXPECT_THROW(w.desktop.PressSend(second), HostError);
    EXPECT_TRUE(w.session.transmissions.empty());
}

TEST(InspectorSendFaults, ASendModeThatCannotBeReadSendsNothingRatherThanOneMessageToAll) {
    InspectorWorld w(11);
    auto mail = w.Compose(L"Hi", L"x", kThree);
    auto window = w.Open(mail);
    w.sim.faults.FailNth(L"UserProperties.Find", 1,
                         HostError(E_FAIL, L"The operation failed.", L"Microsoft Outlook"));
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_FALSE(window->IsClosed());
    EXPECT_TRUE(w.session.transmissions.empty());
    EXPECT_EQ(w.ErrorsFrom(L"CInspectorWrapper::DoAction"), 1U);
    // Pressed again, it goes as the user meant: one copy each.
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    EXPECT_EQ(w.desktop.PressSend(window), Outcome::Cancelled);
    EXPECT_EQ(w.session.transmissions.size(), 3U);
}

// ---- Replied marks ----------------------------------------------------------------------------

TEST(MailItemWrappers, BothSourceMailsGetTheRepliedIconOnceOnTheFirstSave) {
    InspectorWorld w(14);
    const auto makeReceived = [&](const std::wstring& subject) {
        auto m =
            std::dynamic_pointer_cast<MailItem>(w.desktop.host.application->CreateItem(olMailItem));
        m->SetSubject(subject);
        m->Save();
        return m->EntryID();
    };
    const std::wstring first = makeReceived(L"Question one");
    const std::wstring second = makeReceived(L"Question two");
    auto utils = w.desktop.redemption.CreateMAPIUtils();
    const auto icon = [&](const std::wstring& id) {
        const Variant value = utils->HrGetOneProp(w.Stored(id), mapi::PR_ICON_INDEX);
        const auto* n = std::get_if<int32_t>(&value.Raw());
        return n != nullptr ? *n : -1;
    };
    auto answer = w.Compose(L"Answers", L"x", {L"ann@acme.example"});
    w.connect->MailItemWrappers().Add(answer, {first, L"00FFFFFF", second});
    answer->SetSubject(L"Answers, saved");
    answer->Save();
    EXPECT_EQ(icon(first), 261);
    EXPECT_EQ(icon(second), 261);
    EXPECT_EQ(w.Logged(L"CMailItemWrapper::Reply", L"cant get mailitem from entryID = '00FFFFFF'"),
              1U);
    // Never again: the user's later marks stay.
    utils->HrSetOneProp(w.Stored(first), mapi::PR_ICON_INDEX, Variant(256), true);
    answer->Save();
    EXPECT_EQ(icon(first), 256);
    EXPECT_EQ(w.Logged(L"CMailItemWrapper::m_oItem_Write"), 1U);
    // The done wrapper goes quietly at shut-down; one still following a message is reported.
    auto pending = w.Compose(L"Pending", L"x", {L"ann@acme.example"});
    w.connect->MailItemWrappers().Add(pending, {first});
    w.connect->MailItemWrappers().Done();
    EXPECT_EQ(w.Logged(L"CMailItemWrapperColl::Done", L"collection is not empty"), 1U);
    EXPECT_EQ(w.connect->MailItemWrappers().Count(), 0U);
}

}  // namespace
}  // namespace plexa
