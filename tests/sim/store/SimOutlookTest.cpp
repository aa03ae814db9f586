// The simulated mail client through its host objects, as the add-in reaches it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "core/HostError.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "sim/SimHost.h"

namespace plexa::sim {
namespace {

class SimOutlookTest : public ::testing::Test {
protected:
    std::shared_ptr<MailItem> NewMail(const std::wstring& subject) {
        auto mail = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
        mail->SetSubject(subject);
        return mail;
    }
    std::shared_ptr<NameSpace> Ns() { return app->GetNamespace(L"MAPI"); }
    FolderRecord& Contacts() { return *host.session.DefaultFolder(olFolderContacts); }
    std::shared_ptr<ItemRecord> DistList(const std::wstring& subject) {
        auto list = host.session.AddItem(Contacts(), olDistributionList);
        list->SetText(mapi::PR_SUBJECT, subject);
        return list;
    }

    test::TestWorld world;
    SimHost host{world.sim};
    std::shared_ptr<Application> app = host.application;
};

TEST_F(SimOutlookTest, NewMailIsHtmlAndSavesToDraftsWithAnEntryID) {
    auto mail = NewMail(L"Hello");
    EXPECT_EQ(mail->BodyFormat(), olFormatHTML);
    EXPECT_EQ(mail->EntryID(), L"");
    mail->SetBody(L"Typed text");
    EXPECT_NE(mail->HTMLBody().find(L"<body>Typed text</body>"), std::wstring::npos);
    mail->SetHTMLBody(L"<html><body><p>One &amp; two</p>three</body></html>");
    EXPECT_EQ(mail->Body(), L"One & two\r\nthree");
    mail->Save();
    ASSERT_EQ(mail->EntryID().size(), 48U);
    auto drafts = Ns()->GetDefaultFolder(olFolderDrafts);
    EXPECT_EQ(mail->Parent()->EntryID(), drafts->EntryID());
    auto again = std::dynamic_pointer_cast<MailItem>(Ns()->GetItemFromID(mail->EntryID()));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Subject(), L"Hello");

    // A new distribution list saves to Contacts; the store's top folder has the namespace above.
    auto list = app->CreateItem(olDistributionListItem);
    EXPECT_EQ(list->Class(), olDistributionList);
    list->Save();
    EXPECT_EQ(list->Parent()->DefaultItemType(), olContactItem);
    auto inbox = Ns()->GetDefaultFolder(olFolderInbox);
    auto top = std::dynamic_pointer_cast<MAPIFolder>(inbox->Parent());
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Parent()->Class(), olNamespace);
    EXPECT_EQ(Ns()->GetFolders()->Item(1)->EntryID(), top->EntryID());
    EXPECT_EQ(Ns()->GetFolderFromID(inbox->EntryID(), inbox->StoreID())->Name(), L"Inbox");
    EXPECT_THROW(Ns()->GetFolderFromID(L"00"), HostError);
    EXPECT_THROW(app->GetNamespace(L"OTHER"), HostError);
    EXPECT_THROW(app->CreateItem(8), HostError);
    EXPECT_EQ(app->Version().substr(0, 3), L"12.");

    // PickFolder answers nothing until the simulated user picks one.
    EXPECT_EQ(Ns()->PickFolder(), nullptr);
    host.outlook.pickFolder = [&] { return &Contacts(); };
    EXPECT_EQ(Ns()->PickFolder()->Name(), L"Contacts");
}

TEST_F(SimOutlookTest, CopyKeepsEveryRecipientWithItsTypeAndMoveAndDeleteFollowTheHost) {
    host.session.addressBook.AddSmtp(L"Ann Lee", L"ann@lee.example");
    auto mail = NewMail(L"Report");
    auto recipients = mail->GetRecipients();
    recipients->Add(L"Ann Lee");
    recipients->Add(L"bob@example.com")->SetType(olCC);
    recipients->Add(L"Unknown Person")->SetType(olBCC);
    EXPECT_FALSE(recipients->ResolveAll());
    mail->GetUserProperties()->Add(L"OrvinPlexa.SendMode", olText)->SetValue(Variant(L"2"));
    mail->Save();

    auto drafts = Ns()->GetDefaultFolder(olFolderDrafts)->GetItems();
    std::vector<std::wstring> added;
    auto connection = drafts->ItemAdd.Connect(
        [&](const std::shared_ptr<OutlookItem>& item) { added.push_back(item->EntryID()); });

    auto copy = std::dynamic_pointer_cast<MailItem>(mail->Copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->EntryID(), mail->EntryID());
    EXPECT_EQ(copy->Parent()->EntryID(), mail->Parent()->EntryID());
    ASSERT_EQ(added, std::vector<std::wstring>{copy->EntryID()});
    auto copied = copy->GetRecipients();
    ASSERT_EQ(copied->Count(), 3);
    EXPECT_EQ(copied->Item(1)->Name(), L"Ann Lee");
    EXPECT_TRUE(copied->Item(1)->Resolved());
    EXPECT_EQ(copied->Item(1)->Address(), L"ann@lee.example");
    EXPECT_EQ(copied->Item(2)->Type(), olCC);
    EXPECT_EQ(copied->Item(3)->Type(), olBCC);
    EXPECT_FALSE(copied->Item(3)->Resolved());
    EXPECT_EQ(CStr(copy->GetUserProperties()->Find(L"orvinplexa.sendmode")->Value()), L"2");
    EXPECT_EQ(copy->Subject(), L"Report");
    // Removing from the highest index down keeps the others in place; the source keeps its own.
    copied->Remove(3);
    copied->Remove(1);
    EXPECT_EQ(copied->Count(), 1);
    EXPECT_EQ(copied->Item(1)->Type(), olCC);
    EXPECT_EQ(recipients->Count(), 3);
    EXPECT_THROW(copied->Remove(2), HostError);

    // Move returns the moved item (a personal-folders store keeps its entry id); the object
    // used before refers to nothing.
    const std::wstring oldID = copy->EntryID();
    auto outbox = Ns()->GetDefaultFolder(olFolderOutbox);
    auto moved = copy->Move(outbox);
    EXPECT_EQ(moved->EntryID(), oldID);
    EXPECT_EQ(moved->Parent()->EntryID(), outbox->EntryID());
    EXPECT_THROW(copy->Subject(), HostError);
    EXPECT_EQ(Ns()->GetItemFromID(oldID)->Parent()->EntryID(), outbox->EntryID());

    // Delete moves to Deleted Items; opened again by the same id and deleted, it is gone.
    const std::wstring id = mail->EntryID();
    const std::wstring storeID = mail->Parent()->StoreID();
    mail->Delete();
    auto deleted = Ns()->GetItemFromID(id, storeID);
    EXPECT_EQ(deleted->Parent()->Name(), L"Deleted Items");
    deleted->Delete();
    EXPECT_THROW(Ns()->GetItemFromID(id, storeID), HostError);
    EXPECT_THROW(mail->Subject(), HostError);
    EXPECT_THROW(Ns()->GetItemFromID(moved->EntryID(), L"0000"), HostError);
}

TEST_F(SimOutlookTest, RestrictAndSortUnderstandTheFiltersTheAddInUses) {
    for (const wchar_t* name : {L"Smith Team", L"smiley", L"Smj", L"Alpha"}) {
        DistList(name);
    }
    auto contact = host.session.AddItem(Contacts(), olContact);
    contact->SetText(mapi::PR_DISPLAY_NAME, L"Kim Lo");
    auto custom = host.session.AddItem(Contacts(), olContact);
    custom->SetText(mapi::PR_MESSAGE_CLASS, L"IPM.Contact.Custom");
    auto other = host.session.AddItem(Contacts(), olContact);
    other->SetText(mapi::PR_MESSAGE_CLASS, L"IPM.ContactX");

    auto items = Ns()->GetDefaultFolder(olFolderContacts)->GetItems();
    auto lists = items->Restrict(L"[MessageClass] = \"IPM.DistList\"");
    EXPECT_EQ(lists->Count(), 4);
    lists->Sort(L"[Subject]", false);
    EXPECT_EQ(lists->Item(1)->Subject(), L"Alpha");
    EXPECT_EQ(lists->Item(2)->Subject(), L"smiley");
    EXPECT_EQ(lists->Item(4)->Subject(), L"Smj");
    lists->Sort(L"[Subject]", true);
    EXPECT_EQ(lists->GetFirst()->Subject(), L"Smj");
    EXPECT_EQ(lists->GetNext()->Subject(), L"Smith Team");

    auto found = items->Restrict(
        L"[MessageClass] = \"IPM.DistList\" And [Subject] >= \"Smi\" And [Subject] < \"Smj\"");
    EXPECT_EQ(found->Count(), 2);
    auto contacts = items->Restrict(
        L"([MessageClass] = 'IPM.Contact' Or ([MessageClass] >= 'IPM.Contact.' And "
        L"[MessageClass] < 'IPM.Contact/'))");
    EXPECT_EQ(contacts->Count(), 2);  // not IPM.ContactX
    host.session.SetContactEmail(*contact, 1, L"Kim@Lo.example");
    EXPECT_EQ(items
                  ->Restrict(L"[Email1Address] = 'kim@lo.example' And Not [FullName] <> "
                             L"'KIM LO'")
                  ->Count(),
              1);

    for (const wchar_t* bad :
         {L"[MessageClass] = ", L"[MessageClass] == 'x'", L"MessageClass = 'x'",
          L"[MessageClass] = 'x' And", L"([Subject] = 'x'", L"[NoSuchField] = 'x'",
          L"[Subject] = 'unterminated", L""}) {
        EXPECT_THROW(items->Restrict(bad), HostError) << bad;
    }
    EXPECT_THROW(items->Sort(L"[NoSuchField]", false), HostError);

    // A restricted set held by the add-in hears of new lists but not of new contacts.
    int adds = 0;
    auto connection = lists->ItemAdd.Connect([&](const auto&) { ++adds; });
    int removes = 0;
    auto removal = lists->ItemRemove.Connect([&] { ++removes; });
    DistList(L"Beta");
    host.session.AddItem(Contacts(), olContact);
    EXPECT_EQ(adds, 1);
    EXPECT_EQ(lists->Count(), 5);
    lists->Item(1)->Delete();
    EXPECT_EQ(removes, 1);
    EXPECT_EQ(lists->Count(), 4);
}

TEST_F(SimOutlookTest, EventsReachEveryObjectOfOneItem) {
    auto first = NewMail(L"Events");
    first->Save();
    auto second = std::dynamic_pointer_cast<MailItem>(Ns()->GetItemFromID(first->EntryID()));
    int writes = 0;
    int closes = 0;
    std::vector<std::wstring> order;
    auto w = second->OnWrite.Connect([&](bool&) { ++writes; });
    auto c = second->OnClose.Connect([&](bool&) { ++closes; });
    auto s = second->OnSend.Connect([&](bool& cancel) {
        order.push_back(L"Send");
        cancel = true;
    });
    auto i = app->ItemSend.Connect([&](const auto&, bool&) { order.push_back(L"ItemSend"); });
    first->Save();
    first->Close(olDiscard);
    first->Send();  // cancelled by the Send handler: nothing leaves
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(order, std::vector<std::wstring>{L"Send"});
    EXPECT_TRUE(host.session.transmissions.empty());

    // Cancelling Write keeps a new item unsaved.
    auto draft = NewMail(L"Not saved");
    auto veto = draft->OnWrite.Connect([](bool& cancel) { cancel = true; });
    draft->Save();
    EXPECT_EQ(draft->EntryID(), L"");
}

TEST_F(SimOutlookTest, TheTransportRecordsWhatLeavesAndKeepsItInSentItems) {
    auto& book = host.session.addressBook;
    book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield",
                     L"dana@acme.example");
    auto team = book.AddList(L"Team");
    auto inner = book.AddList(L"Inner");
    AddressBook::AddMember(*team, book.AddSmtp(L"X", L"x@example.com"));
    AddressBook::AddMember(*team, inner);
    AddressBook::AddMember(*inner, book.AddSmtp(L"Y", L"y@example.com"));
    AddressBook::AddMember(*inner, team);  // a cycle

    world.sim.clock.SetUtc(OleDate::FromParts(2010, 5, 3, 9, 30));
    auto mail = NewMail(L"Quarterly");
    mail->SetBody(L"Numbers");
    mail->GetRecipients()->Add(L"dana whitfield");
    mail->GetRecipients()->Add(L"Team")->SetType(olBCC);
    mail->Save();
    const std::wstring draftID = mail->EntryID();
    int sends = 0;
    auto hook = app->ItemSend.Connect([&](const std::shared_ptr<OutlookItem>& item, bool&) {
        EXPECT_EQ(item->Class(), olMail);
        ++sends;
    });
    auto sent = Ns()->GetDefaultFolder(olFolderSentMail)->GetItems();
    mail->Send();
    EXPECT_EQ(sends, 1);

    ASSERT_EQ(host.session.transmissions.size(), 1U);
    const Transmission& t = host.session.transmissions[0];
    EXPECT_EQ(t.timeUtc.Value(), OleDate::FromParts(2010, 5, 3, 9, 30).Value());
    EXPECT_EQ(t.subject, L"Quarterly");
    EXPECT_EQ(t.body, L"Numbers");
    EXPECT_NE(t.htmlBody.find(L"Numbers"), std::wstring::npos);
    ASSERT_EQ(t.recipients.size(), 2U);
    EXPECT_EQ(t.recipients[0].addressType, L"EX");
    EXPECT_EQ(t.recipients[0].smtpAddresses, std::vector<std::wstring>{L"dana@acme.example"});
    EXPECT_EQ(t.recipients[1].type, olBCC);
    EXPECT_EQ(t.recipients[1].smtpAddresses,
              (std::vector<std::wstring>{L"x@example.com", L"y@example.com"}));
    EXPECT_EQ(t.senderAddress, host.session.userAddress);

    // The spooler moved the message to Sent Items, which in a personal-folders store keeps its
    // entry id; the object that was sent refers to nothing.
    EXPECT_THROW(mail->Subject(), HostError);
    ASSERT_EQ(sent->Count(), 1);
    EXPECT_EQ(sent->Item(1)->EntryID(), t.sentEntryID);
    EXPECT_EQ(t.sentEntryID, draftID);
    EXPECT_EQ(Ns()->GetItemFromID(draftID)->Parent()->Name(), L"Sent Items");
    EXPECT_EQ(Ns()->GetDefaultFolder(olFolderOutbox)->GetItems()->Count(), 0);

    // A recipient that does not resolve stops the send; nothing leaves, nothing moves.
    auto bad = NewMail(L"Bad");
    bad->GetRecipients()->Add(L"Nobody Known");
    bad->Save();
    EXPECT_THROW(bad->Send(), HostError);
    EXPECT_EQ(host.session.transmissions.size(), 1U);
    EXPECT_EQ(bad->Parent()->Name(), L"Drafts");
    EXPECT_THROW(NewMail(L"Empty")->Send(), HostError);
}

TEST_F(SimOutlookTest, ScratchResolutionLeavesNoTraceAndEntriesShowTheirMembers) {
    auto list = DistList(L"Friends");
    AddressBook::AddMember(*list->listEntry,
                           host.session.addressBook.AddSmtp(L"Pat", L"pat@example.com"));
    auto scratch = std::dynamic_pointer_cast<MailItem>(app->CreateItem(olMailItem));
    auto recipient = scratch->GetRecipients()->Add(L"friends");
    EXPECT_TRUE(recipient->Resolve());
    auto entry = recipient->GetAddressEntry();
    EXPECT_EQ(entry->Name(), L"Friends");
    ASSERT_NE(entry->Members(), nullptr);
    EXPECT_EQ(entry->Members()->Item(1)->Address(), L"pat@example.com");
    EXPECT_EQ(entry->Members()->Item(1)->Members(), nullptr);
    recipient->Delete();
    EXPECT_EQ(scratch->GetRecipients()->Count(), 0);
    EXPECT_THROW(recipient->Name(), HostError);
    EXPECT_EQ(Ns()->GetDefaultFolder(olFolderDrafts)->GetItems()->Count(), 0);
    EXPECT_EQ(std::dynamic_pointer_cast<DistListItem>(Ns()->GetItemFromID(list->EntryID()))
                  ->MemberCount(),
              1);
}

TEST_F(SimOutlookTest, ARestrictedSetIsServedFromTheFolderViewOnlyWhileTheFolderIsUnchanged) {
    for (const wchar_t* name : {L"Gamma", L"Alpha", L"Beta"}) {
        DistList(name);
    }
    const std::wstring filter = L"[MessageClass] = \"IPM.DistList\"";
    auto folder = Ns()->GetDefaultFolder(olFolderContacts);
    const auto subjects = [&](const std::shared_ptr<Items>& set) {
        std::vector<std::wstring> out;
        for (int32_t i = 1; i <= set->Count(); ++i) {
            out.push_back(set->Item(i)->Subject());
        }
        return out;
    };
    const auto sorted = [&](bool descending = false) {
        auto set = folder->GetItems()->Restrict(filter);
        set->Sort(L"[Subject]", descending);
        return set;
    };
    auto held = sorted();
    EXPECT_EQ(subjects(held), (std::vector<std::wstring>{L"Alpha", L"Beta", L"Gamma"}));
    EXPECT_EQ(subjects(sorted()), subjects(held));
    EXPECT_EQ(subjects(sorted(true)), (std::vector<std::wstring>{L"Gamma", L"Beta", L"Alpha"}));

    // A change through a host object shows only once it is saved, in new sets and held ones.
    auto gamma = held->Item(3);
    gamma->SetSubject(L"Aardvark");
    EXPECT_EQ(subjects(sorted()).front(), L"Alpha");
    gamma->Save();
    EXPECT_EQ(subjects(sorted()), (std::vector<std::wstring>{L"Aardvark", L"Alpha", L"Beta"}));
    EXPECT_EQ(subjects(held), (std::vector<std::wstring>{L"Aardvark", L"Alpha", L"Beta"}));

    // The store's own records changed directly, as a loaded mailbox or a test changes them.
    auto records = Contacts().Items();
    records[2]->SetText(mapi::PR_SUBJECT, L"Zulu");  // Beta
    EXPECT_EQ(subjects(sorted()).back(), L"Zulu");
    records[1]->SetCategories(L"Red");  // Alpha
    EXPECT_EQ(subjects(folder->GetItems()->Restrict(L"[Categories] = 'Red'")),
              (std::vector<std::wstring>{L"Alpha"}));
    records[0]->SetCategories(L"Red");  // Aardvark
    EXPECT_EQ(folder->GetItems()->Restrict(L"[Categories] = 'Red'")->Count(), 2);

    // Items that arrive and leave.
    app->CreateItem(olDistributionListItem)->Save();
    EXPECT_EQ(subjects(held), (std::vector<std::wstring>{L"", L"Aardvark", L"Alpha", L"Zulu"}));
    held->Item(3)->Delete();
    EXPECT_EQ(subjects(sorted()), (std::vector<std::wstring>{L"", L"Aardvark", L"Zulu"}));

    // More filters than the folder keeps views for: each set still holds what it filters.
    for (const wchar_t* prefix : {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"Z"}) {
        auto set = folder->GetItems()->Restrict(filter + L" And [Subject] >= \"" + prefix +
                                                L"\" And [Subject] < \"" + prefix + L"~\"");
        EXPECT_EQ(set->Count(), std::wstring(L"AZ").find(prefix) == std::wstring::npos ? 0 : 1)
            << prefix;
    }
    EXPECT_EQ(subjects(sorted(true)), (std::vector<std::wstring>{L"Zulu", L"Aardvark", L""}));
}

TEST_F(SimOutlookTest, FaultsFailOperationsByNameCallOrPredicate) {
    auto mail = NewMail(L"Faulty");
    mail->Save();
    const std::wstring id = mail->EntryID();
    auto& faults = world.sim.faults;
    faults.FailAlways(L"MailItem.Save", HostError(E_FAIL, L"disk full", L"Microsoft Outlook"));
    EXPECT_THROW(mail->Save(), HostError);
    faults.Clear();
    faults.FailNth(L"NameSpace.GetItemFromID", 2, HostError(E_FAIL, L"busy"));
    EXPECT_NO_THROW(Ns()->GetItemFromID(id));
    EXPECT_THROW(Ns()->GetItemFromID(id), HostError);
    EXPECT_NO_THROW(Ns()->GetItemFromID(id));
    faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"Recipient.Resolve" && detail == L"Broken";
        },
        HostError(E_FAIL, L"resolver down"));
    auto recipients = mail->GetRecipients();
    EXPECT_THROW(recipients->Add(L"Broken")->Resolve(), HostError);
    EXPECT_NO_THROW(recipients->Add(L"ok@example.com")->Resolve());
    faults.FailAlways(L"Items.Restrict", HostError(E_FAIL, L"no"));
    EXPECT_THROW(Ns()->GetDefaultFolder(olFolderInbox)->GetItems()->Restrict(L"[Subject] = 'a'"),
                 HostError);
    EXPECT_EQ(faults.Injected(L"Items.Restrict"), 1);
}

TEST_F(SimOutlookTest, ViewsKeepTheirXmlUntilSaved) {
    auto view = Ns()->GetDefaultFolder(olFolderDrafts)->CurrentView();
    const std::wstring original = view->XML();
    EXPECT_EQ(original.find(L"urn:schemas:httpmail:datereceived"), std::wstring::npos);
    EXPECT_NE(Ns()->GetDefaultFolder(olFolderInbox)
                  ->CurrentView()
                  ->XML()
                  .find(L"urn:schemas:httpmail:datereceived"),
              std::wstring::npos);
    EXPECT_THROW(view->SetXML(L"not xml"), HostError);
    view->SetXML(L"<view type=\"table\"><column/></view>");
    EXPECT_EQ(host.session.DefaultFolder(olFolderDrafts)->savedViewXml, L"");
    view->Save();
    EXPECT_EQ(Ns()->GetDefaultFolder(olFolderDrafts)->CurrentView()->XML(),
              L"<view type=\"table\"><column/></view>");
    EXPECT_EQ(host.session.DefaultFolder(olFolderDrafts)->savedViewXml,
              L"<view type=\"table\"><column/></view>");
}

}  // namespace
}  // namespace plexa::sim
