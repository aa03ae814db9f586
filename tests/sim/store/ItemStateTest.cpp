// The simulated client as strict as the real one where the add-in relies on it: an item object
// edits its own copy until it saves, a moved or deleted item's old object refers to nothing,
// entry ids across Move and Delete follow the store's kind, typed names resolve only when one
// entry matches, and every transmission records the folder it was submitted from.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/HostError.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "sim/MailboxSnapshot.h"
#include "sim/SimDesktop.h"
#include "sim/redemption/SimRedemption.h"
#include "sim/windows/UnexpectedPrompt.h"

namespace plexa::sim {
namespace {

class ItemStateTest : public ::testing::Test {
protected:
    std::shared_ptr<NameSpace> Ns() { return app->GetNamespace(L"MAPI"); }
    std::shared_ptr<MAPIFolder> Default(int32_t role) { return Ns()->GetDefaultFolder(role); }
    std::shared_ptr<MailItem> Draft(const std::wstring& subject) {
        auto mail = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
        mail->SetSubject(subject);
        mail->GetRecipients()->Add(L"ann@acme.example");
        mail->Save();
        return mail;
    }
    std::shared_ptr<MailItem> Open(const std::wstring& entryID, const std::wstring& storeID = L"") {
        return std::dynamic_pointer_cast<MailItem>(Ns()->GetItemFromID(entryID, storeID));
    }
    // The stored item's PR_MESSAGE_FLAGS; -1 when it has none.
    int32_t Flags(const std::wstring& entryID) const {
        const Variant flags = host.session.FindItem(entryID)->GetProp(mapi::PR_MESSAGE_FLAGS);
        const auto* n = std::get_if<int32_t>(&flags.Raw());
        return n == nullptr ? -1 : *n;
    }
    static void ExpectGone(const std::shared_ptr<MailItem>& item) {
        try {
            item->Subject();
            ADD_FAILURE() << "the old object still answers";
        } catch (const HostError& e) {
            EXPECT_EQ(e.Description(), L"The item has been moved or deleted.");
        }
        EXPECT_THROW(item->Save(), HostError);
        EXPECT_THROW(item->GetRecipients(), HostError);
        EXPECT_THROW(item->Move(nullptr), HostError);
    }

    test::TestWorld world;
    SimDesktop desktop{world.sim};
    SimHost& host = desktop.host;
    std::shared_ptr<Application> app = host.application;
};

TEST_F(ItemStateTest, AnObjectEditsItsOwnCopyUntilItSaves) {
    // A new item has no entry id and is in no folder until its first Save.
    auto fresh = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
    fresh->SetSubject(L"Not yet");
    EXPECT_EQ(fresh->EntryID(), L"");
    EXPECT_FALSE(fresh->Saved());
    EXPECT_EQ(Default(olFolderDrafts)->GetItems()->Count(), 0);

    auto mine = Draft(L"Minutes");
    EXPECT_TRUE(mine->Saved());
    mine->SetSubject(L"Minutes, corrected");
    mine->SetBody(L"New text");
    mine->GetRecipients()->Add(L"bob@lee.example");
    EXPECT_FALSE(mine->Saved());
    EXPECT_EQ(mine->Subject(), L"Minutes, corrected");

    // Every other object of the item sees the saved state only, and so does a saved mailbox.
    auto other = Open(mine->EntryID());
    EXPECT_EQ(other->Subject(), L"Minutes");
    EXPECT_EQ(other->GetRecipients()->Count(), 1);
    auto listed = std::dynamic_pointer_cast<MailItem>(Default(olFolderDrafts)->GetItems()->Item(1));
    EXPECT_EQ(listed->Subject(), L"Minutes");
    const MailboxModel saved = SnapshotSession(host.session);
    EXPECT_EQ(saved.stores[0].FindRole(FolderRole::Drafts)->items.at(0).subject, L"Minutes");

    // Closing without saving drops the changes; opened again, the item is as it was.
    mine->Close(olDiscard);
    EXPECT_TRUE(mine->Saved());
    EXPECT_EQ(mine->Subject(), L"Minutes");
    EXPECT_EQ(Open(mine->EntryID())->GetRecipients()->Count(), 1);

    // Save writes the changes (raising Write on every object of the item).
    int writes = 0;
    Connection c = other->OnWrite.Connect([&](bool&) { ++writes; });
    mine->SetSubject(L"Minutes, final");
    mine->Save();
    EXPECT_TRUE(mine->Saved());
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(Open(mine->EntryID())->Subject(), L"Minutes, final");
    // Copy saves first, as the client does.
    mine->SetSubject(L"Minutes, copied");
    auto copy = std::dynamic_pointer_cast<MailItem>(mine->Copy());
    EXPECT_EQ(copy->Subject(), L"Minutes, copied");
    EXPECT_EQ(Open(mine->EntryID())->Subject(), L"Minutes, copied");
    EXPECT_TRUE(mine->Saved());
}

TEST_F(ItemStateTest, AMessageWindowAsksToSaveOnlyWhenItHoldsChanges) {
    auto mail = Draft(L"Agenda");
    const std::wstring id = mail->EntryID();

    // Nothing changed: the close box closes without a question.
    mail->Display();
    desktop.ActiveInspector()->Close(olPromptForSave);
    EXPECT_TRUE(desktop.ui().user.Empty());

    // Changed and closed with "No": the draft is as it was.
    mail = Open(id);
    mail->Display();
    auto inspector = desktop.ActiveInspector();
    inspector->CurrentItem()->SetSubject(L"Agenda (changed)");
    EXPECT_EQ(mail->Subject(), L"Agenda (changed)");  // the window's item is this object
    desktop.ui().user.AnswerMsgBox(mb::IdNo, L"Do you want to save changes?");
    inspector->Close(olPromptForSave);
    EXPECT_TRUE(inspector->IsClosed());
    EXPECT_EQ(Open(id)->Subject(), L"Agenda");

    // Changed and closed with "Yes": saved.
    mail = Open(id);
    mail->Display();
    desktop.ActiveInspector()->CurrentItem()->SetSubject(L"Agenda v2");
    desktop.ui().user.AnswerMsgBox(mb::IdYes, L"save changes");
    desktop.ActiveInspector()->Close(olPromptForSave);
    EXPECT_EQ(Open(id)->Subject(), L"Agenda v2");

    // The item's own Close asks too, and a discard needs no question.
    mail = Open(id);
    mail->SetSubject(L"Agenda v3");
    desktop.ui().user.AnswerMsgBox(mb::IdNo, L"save changes");
    mail->Close(olPromptForSave);
    EXPECT_EQ(Open(id)->Subject(), L"Agenda v2");
    mail->SetSubject(L"Agenda v4");
    EXPECT_THROW(mail->Close(olPromptForSave), UnexpectedPrompt);
    EXPECT_TRUE(desktop.ui().user.Empty());
}

TEST_F(ItemStateTest, AMovedOrDeletedItemsOldObjectRefersToNothing) {
    auto mail = Draft(L"Report");
    auto inbox = Default(olFolderInbox);
    auto moved = std::dynamic_pointer_cast<MailItem>(mail->Move(inbox));
    ExpectGone(mail);
    EXPECT_EQ(moved->Subject(), L"Report");
    EXPECT_EQ(moved->Parent()->Name(), L"Inbox");
    EXPECT_EQ(Open(moved->EntryID())->Subject(), L"Report");

    // Unsaved changes go with the move, which saves first.
    moved->SetSubject(L"Report (final)");
    auto back = std::dynamic_pointer_cast<MailItem>(moved->Move(Default(olFolderDrafts)));
    EXPECT_EQ(back->Subject(), L"Report (final)");
    ExpectGone(moved);

    // Delete: to Deleted Items, then for good; the old object is gone either time.
    const std::wstring id = back->EntryID();
    back->Delete();
    ExpectGone(back);
    auto deleted = Open(id);
    EXPECT_EQ(deleted->Parent()->Name(), L"Deleted Items");
    deleted->Delete();
    ExpectGone(deleted);
    EXPECT_THROW(Open(id), HostError);

    // A sent item's object is gone too; the message moved on to Sent Items, under the same
    // entry id in this personal-folders store, and reads as sent there.
    auto sent = Draft(L"Out");
    const std::wstring draftID = sent->EntryID();
    sent->Send();
    ExpectGone(sent);
    EXPECT_EQ(host.session.transmissions.back().sentEntryID, draftID);
    EXPECT_EQ(Open(draftID)->Parent()->Name(), L"Sent Items");
    EXPECT_EQ(Flags(draftID), mapi::MSGFLAG_READ);
}

TEST_F(ItemStateTest, EntryIdsAcrossMoveAndDeleteFollowTheStoresKind) {
    for (const StoreKind kind : {StoreKind::Pst, StoreKind::Exchange}) {
        SCOPED_TRACE(kind == StoreKind::Pst ? "pst" : "exchange");
        host.session.DefaultStore()->SetKind(kind);
        const bool keeps = kind == StoreKind::Pst;
        auto mail = Draft(L"Kept?");
        const std::wstring id = mail->EntryID();
        auto moved = mail->Move(Default(olFolderInbox));
        EXPECT_EQ(moved->EntryID() == id, keeps);
        const std::wstring movedID = moved->EntryID();
        moved->Delete();
        const auto& trash = host.session.DefaultFolder(olFolderDeletedItems)->Items();
        EXPECT_EQ(trash.back()->EntryID() == movedID, keeps);
        if (keeps) {
            EXPECT_EQ(Open(id)->Parent()->Name(), L"Deleted Items");
        } else {
            EXPECT_THROW(Open(movedID), HostError);
        }
        // Sending moves the message on to Sent Items, keeping its id only in personal folders;
        // a new mail is unsent until then.
        auto sent = Draft(L"Sent");
        const std::wstring sentID = sent->EntryID();
        EXPECT_EQ(Flags(sentID), mapi::MSGFLAG_READ | mapi::MSGFLAG_UNSENT);
        sent->Send();
        EXPECT_EQ(host.session.transmissions.back().sentEntryID == sentID, keeps);
    }

    // Another store needs its store id: without one, only the default store is searched.
    StoreRecord& archive = host.session.AddStore(L"Archive");
    auto old = host.session.AddItem(*archive.DefaultFolder(olFolderInbox), olMail);
    old->SetText(mapi::PR_SUBJECT, L"Old mail");
    EXPECT_THROW(Open(old->EntryID()), HostError);
    EXPECT_EQ(Open(old->EntryID(), archive.StoreID())->Subject(), L"Old mail");
    // A move to another store gives a new id even in a personal-folders file.
    archive.SetKind(StoreKind::Pst);
    auto there = Open(old->EntryID(), archive.StoreID());
    auto here = there->Move(Default(olFolderInbox));
    EXPECT_NE(here->EntryID(), old->EntryID());
}

TEST_F(ItemStateTest, EverySendRecordsTheFolderItWasSubmittedFrom) {
    auto draft = Draft(L"From Drafts");
    draft->Send();
    EXPECT_EQ(host.session.transmissions.back().submittedFrom, L"\\\\Personal Folders\\Drafts");

    // Never saved: straight to the Outbox, and no trace in Drafts.
    auto fresh = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
    fresh->GetRecipients()->Add(L"ann@acme.example");
    fresh->Send();
    EXPECT_EQ(host.session.transmissions.back().submittedFrom, L"\\\\Personal Folders\\Outbox");
    EXPECT_EQ(Default(olFolderDrafts)->GetItems()->Count(), 0);

    // The safe library sends an item where it is: outside the Outbox it is sent and stays.
    SimRedemption redemption(host.outlook);
    auto safe = redemption.CreateSafeMailItem();
    auto kept = Draft(L"Stays in Drafts");
    safe->SetItem(kept);
    safe->Send();
    EXPECT_EQ(host.session.transmissions.back().submittedFrom, L"\\\\Personal Folders\\Drafts");
    EXPECT_EQ(host.session.transmissions.back().subject, L"Stays in Drafts");
    EXPECT_EQ(kept->Parent()->Name(), L"Drafts");
    EXPECT_EQ(Default(olFolderDrafts)->GetItems()->Count(), 1);

    // From the Outbox it leaves as the client's spooler takes it.
    auto queued =
        std::dynamic_pointer_cast<MailItem>(Draft(L"Queued")->Move(Default(olFolderOutbox)));
    safe->SetItem(queued);
    safe->Send();
    EXPECT_EQ(host.session.transmissions.back().submittedFrom, L"\\\\Personal Folders\\Outbox");
    EXPECT_EQ(Default(olFolderOutbox)->GetItems()->Count(), 0);
    ExpectGone(queued);
}

TEST_F(ItemStateTest, TypedNamesResolveOnlyWhenOneEntryMatches) {
    SimSession& session = host.session;
    FolderRecord& contacts = *session.DefaultFolder(olFolderContacts);
    auto ann = session.AddItem(contacts, olContact);
    ann->SetText(mapi::PR_DISPLAY_NAME, L"Ann Smith");
    session.SetContactEmail(*ann, 1, L"ann@acme.example");
    session.SetContactEmail(*ann, 2, L"ann@home.example");
    auto carla = session.AddItem(contacts, olContact);
    carla->SetText(mapi::PR_DISPLAY_NAME, L"Carla Diaz");
    session.SetContactEmail(*carla, 2, L"carla@diaz.example");
    session.addressBook.AddSmtp(L"Dana Whitfield", L"dana@acme.example");
    session.addressBook.AddSmtp(L"Dan Brown", L"dan@brown.example");

    auto mail = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
    auto recipients = mail->GetRecipients();
    auto bare = recipients->Add(L"Ann Smith");
    EXPECT_FALSE(recipients->ResolveAll());  // two entries stand for Ann Smith
    EXPECT_FALSE(bare->Resolved());
    bare->Delete();

    // One entry per address, each under its own name; an address or "Name <address>" finds it.
    auto home = recipients->Add(L"ann smith (ann@home.example)");
    auto work = recipients->Add(L"Ann <ANN@acme.example>");
    auto one = recipients->Add(L"Carla Diaz");  // one address: its full name is enough
    auto prefix = recipients->Add(L"Dana");     // begins one display name only
    EXPECT_TRUE(recipients->ResolveAll());
    EXPECT_EQ(home->Address(), L"ann@home.example");
    EXPECT_EQ(home->Name(), L"Ann Smith (ann@home.example)");
    EXPECT_EQ(work->Address(), L"ann@acme.example");
    EXPECT_EQ(one->Address(), L"carla@diaz.example");
    EXPECT_EQ(one->Name(), L"Carla Diaz");
    EXPECT_EQ(prefix->Address(), L"dana@acme.example");
    EXPECT_EQ(session.Resolve(L"Dan"), nullptr);  // begins two names
    EXPECT_EQ(session.Resolve(L"carla")->address, L"carla@diaz.example");
    EXPECT_EQ(session.Resolve(L"Ann"), nullptr);   // begins both of Ann Smith's entries
    EXPECT_EQ(session.Resolve(L"ann@"), nullptr);  // an address's beginning is no name

    // Sending a message with an ambiguous name fails as in the client.
    recipients->Add(L"Ann Smith");
    EXPECT_THROW(mail->Send(), HostError);
}

}  // namespace
}  // namespace plexa::sim
