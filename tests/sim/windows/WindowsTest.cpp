// Folder and message windows of the simulated client: their events in the host's order, the
// active window, selections, folder switches and closing.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/UnexpectedPrompt.h"

namespace plexa::sim {
namespace {

class WindowsTest : public ::testing::Test {
protected:
    FolderRecord& Folder(int32_t role) { return *desktop.host.session.DefaultFolder(role); }
    std::shared_ptr<ItemRecord> Mail(FolderRecord& folder, const std::wstring& subject) {
        auto item = desktop.host.session.AddItem(folder, olMail);
        item->SetText(mapi::PR_SUBJECT, subject);
        return item;
    }
    // Records the events of an explorer under a name.
    void Watch(const std::shared_ptr<Explorer>& e, const std::wstring& name) {
        keep.push_back(e->OnActivate.Connect([this, name] { log.push_back(name + L".Activate"); }));
        keep.push_back(e->OnClose.Connect([this, name] { log.push_back(name + L".Close"); }));
        keep.push_back(e->FolderSwitch.Connect([this, name, e] {
            log.push_back(name + L".FolderSwitch " + e->CurrentFolder()->Name());
        }));
        keep.push_back(e->SelectionChange.Connect([this, name, e] {
            log.push_back(name + L".SelectionChange " +
                          std::to_wstring(e->GetSelection()->Count()));
        }));
        keep.push_back(e->GetCommandBars()->OnUpdate.Connect(
            [this, name] { log.push_back(name + L".OnUpdate"); }));
    }

    test::TestWorld world;
    SimDesktop desktop{world.sim};
    std::shared_ptr<Application> app = desktop.host.application;
    std::vector<std::wstring> log;
    std::vector<Connection> keep;
};

TEST_F(WindowsTest, ExplorersAreAnnouncedThenActivatedAndTheNextComesForwardOnClose) {
    auto explorers = app->GetExplorers();
    keep.push_back(explorers->NewExplorer.Connect([this](const std::shared_ptr<Explorer>& e) {
        // As the add-in does before 2007: hook the new window's Activate at once.
        log.push_back(L"NewExplorer " + e->CurrentFolder()->Name());
        Watch(e, e->CurrentFolder()->Name());
    }));
    EXPECT_EQ(app->ActiveExplorer(), nullptr);

    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto drafts = desktop.OpenExplorer(Folder(olFolderDrafts), /*activate=*/false);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"NewExplorer Inbox", L"Inbox.Activate",
                                              L"Inbox.OnUpdate", L"NewExplorer Drafts"}));
    EXPECT_EQ(explorers->Count(), 2);
    EXPECT_EQ(explorers->Item(2), drafts);
    EXPECT_THROW(explorers->Item(3), HostError);
    // A window opened behind the others is not the active one.
    EXPECT_EQ(app->ActiveExplorer(), inbox);

    log.clear();
    drafts->Activate();
    drafts->Activate();  // already in front: nothing
    inbox->Activate();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"Drafts.Activate", L"Drafts.OnUpdate",
                                              L"Inbox.Activate", L"Inbox.OnUpdate"}));

    log.clear();
    desktop.CloseExplorer(inbox);
    EXPECT_EQ(log,
              (std::vector<std::wstring>{L"Inbox.Close", L"Drafts.Activate", L"Drafts.OnUpdate"}));
    EXPECT_EQ(explorers->Count(), 1);
    EXPECT_EQ(app->ActiveExplorer(), drafts);
    EXPECT_THROW(inbox->CurrentFolder(), HostError);
    EXPECT_THROW(inbox->GetCommandBars(), HostError);

    log.clear();
    desktop.CloseExplorer(drafts);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"Drafts.Close"}));
    EXPECT_EQ(app->ActiveExplorer(), nullptr);
    EXPECT_EQ(explorers->Count(), 0);
}

TEST_F(WindowsTest, FolderSwitchAndSelectionRaiseTheirEventsAndSelectionKeepsItsOrder) {
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    Watch(inbox, L"E");
    auto first = Mail(Folder(olFolderInbox), L"first");
    auto second = Mail(Folder(olFolderInbox), L"second");

    desktop.Select(inbox, {second, first});
    auto selection = inbox->GetSelection();
    ASSERT_EQ(selection->Count(), 2);
    EXPECT_EQ(selection->Item(1)->Subject(), L"second");
    EXPECT_EQ(selection->Item(2)->Subject(), L"first");
    EXPECT_THROW(selection->Item(0), HostError);
    // An item of another folder cannot be selected here.
    EXPECT_THROW(desktop.Select(inbox, {Mail(Folder(olFolderDrafts), L"x")}), ScriptError);

    log.clear();
    inbox->SetCurrentFolder(app->Session()->GetDefaultFolder(olFolderContacts));
    EXPECT_EQ(log, (std::vector<std::wstring>{L"E.FolderSwitch Contacts", L"E.SelectionChange 0",
                                              L"E.OnUpdate"}));
    // Showing the folder already shown changes nothing.
    log.clear();
    inbox->SetCurrentFolder(app->Session()->GetDefaultFolder(olFolderContacts));
    EXPECT_TRUE(log.empty());
    EXPECT_THROW(inbox->SetCurrentFolder(nullptr), HostError);

    // A deleted item drops out of the selection.
    inbox->SetCurrentFolder(app->Session()->GetDefaultFolder(olFolderInbox));
    desktop.Select(inbox, {first, second});
    desktop.host.session.Delete(first);
    EXPECT_EQ(inbox->GetSelection()->Count(), 1);

    world.sim.faults.FailAlways(L"Explorer.Selection", HostError(E_FAIL, L"injected"));
    EXPECT_THROW(inbox->GetSelection(), HostError);
}

TEST_F(WindowsTest, DisplayOpensAMessageWindowThatBecomesActiveUntilItCloses) {
    desktop.host.session.outlookMajorVersion = 11;
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    std::vector<std::wstring> events;
    std::vector<Connection> hold;
    hold.push_back(
        app->GetInspectors()->NewInspector.Connect([&](const std::shared_ptr<Inspector>& i) {
            // The item is readable when the window is announced.
            events.push_back(L"NewInspector " + i->CurrentItem()->Subject());
            hold.push_back(i->OnActivate.Connect([&] { events.push_back(L"Activate"); }));
            hold.push_back(i->OnClose.Connect([&] { events.push_back(L"Close"); }));
        }));

    auto mail = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
    mail->SetSubject(L"Hello");
    mail->Display();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"NewInspector Hello", L"Activate"}));
    auto inspector = desktop.ActiveInspector();
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(desktop.ActiveWindow(), inspector);
    // The folder window stays the active explorer behind the message window.
    EXPECT_EQ(app->ActiveExplorer(), inbox);
    EXPECT_EQ(app->GetInspectors()->Count(), 1);
    EXPECT_EQ(inspector->EditorType(), olEditorHTML);
    EXPECT_FALSE(inspector->IsWordMail());

    // Displaying it again only brings its window forward.
    inbox->Activate();
    events.clear();
    mail->Display();
    EXPECT_EQ(events, (std::vector<std::wstring>{L"Activate"}));
    EXPECT_EQ(app->GetInspectors()->Count(), 1);

    events.clear();
    inspector->Close(olDiscard);
    EXPECT_EQ(events, (std::vector<std::wstring>{L"Close"}));
    EXPECT_EQ(desktop.ActiveWindow(), inbox);
    EXPECT_EQ(app->GetInspectors()->Count(), 0);
    EXPECT_THROW(inspector->CurrentItem(), HostError);
    EXPECT_EQ(mail->EntryID(), L"");  // discarded unsaved
}

TEST_F(WindowsTest, ClosingWithAPromptAsksTheUserAndTheItemMayRefuse) {
    auto mail = app->CreateItem(olMailItem);
    mail->Display();
    auto inspector = desktop.ActiveInspector();
    // 2007 on, every message window edits in Word.
    EXPECT_EQ(inspector->EditorType(), olEditorWord);
    EXPECT_TRUE(inspector->IsWordMail());

    // The close box asks only when the window holds changes.
    inspector->CurrentItem()->SetSubject(L"Changed");
    desktop.ui().user.AnswerMsgBox(mb::IdCancel, L"save changes");
    inspector->Close(olPromptForSave);
    EXPECT_FALSE(inspector->IsClosed());

    bool refuse = true;
    Connection c = mail->OnClose.Connect([&](bool& cancel) { cancel = refuse; });
    inspector->Close(olSave);
    EXPECT_FALSE(inspector->IsClosed());
    EXPECT_EQ(mail->EntryID(), L"");

    refuse = false;
    desktop.ui().user.AnswerMsgBox(mb::IdYes, L"save changes");
    inspector->Close(olPromptForSave);
    EXPECT_TRUE(inspector->IsClosed());
    EXPECT_NE(mail->EntryID(), L"");
    EXPECT_TRUE(desktop.ui().user.Empty());

    // Without an answer the prompt fails loudly.
    mail->Display();
    desktop.ActiveInspector()->CurrentItem()->SetSubject(L"Changed again");
    EXPECT_THROW(desktop.ActiveInspector()->Close(olPromptForSave), UnexpectedPrompt);
    EXPECT_THROW(desktop.ActiveInspector()->Close(7), HostError);
}

TEST_F(WindowsTest, BeforeTwoThousandSevenTheEditorFollowsTheFormatOrTheWordSetting) {
    desktop.host.session.outlookMajorVersion = 10;
    auto plain = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
    plain->SetBodyFormat(olFormatPlain);
    plain->Display();
    EXPECT_EQ(desktop.ActiveInspector()->EditorType(), olEditorText);
    desktop.wordEditor = true;
    app->CreateItem(olMailItem)->Display();
    EXPECT_EQ(desktop.ActiveInspector()->EditorType(), olEditorWord);
    EXPECT_EQ(desktop.Inspectors().size(), 2U);
}

}  // namespace
}  // namespace plexa::sim
