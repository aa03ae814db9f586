// Mailbox files built into the simulated client and saved back from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <variant>

#include "TestWorld.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/Recipients.h"
#include "sim/HostExampleMailbox.h"
#include "sim/MailboxLoader.h"
#include "sim/MailboxSnapshot.h"
#include "sim/SimHost.h"
#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxReader.h"
#include "sim/mailbox/MailboxWriter.h"

namespace plexa::sim {
namespace {

using test::kHostExample;

template <class T>
std::shared_ptr<T> As(const std::shared_ptr<OutlookItem>& item) {
    auto typed = std::dynamic_pointer_cast<T>(item);
    EXPECT_NE(typed, nullptr);
    return typed;
}

std::shared_ptr<OutlookItem> Find(const std::shared_ptr<MAPIFolder>& folder,
                                  const std::wstring& subject) {
    auto items = folder->GetItems();
    for (int32_t i = 1; i <= items->Count(); ++i) {
        if (items->Item(i)->Subject() == subject) {
            return items->Item(i);
        }
    }
    ADD_FAILURE() << "no item " << text::ToUtf8(subject);
    return nullptr;
}

std::vector<std::wstring> SmtpOf(const std::shared_ptr<AddressEntryRecord>& entry) {
    std::vector<std::wstring> out;
    for (const auto& e : AddressBook::Expand(entry)) {
        out.push_back(e->SmtpAddress());
    }
    return out;
}

std::wstring S(const Variant& v) {
    return CStr(v);
}

std::string Saved(const SimHost& host) {
    return FormatMailbox(SnapshotSession(host.session));
}

TEST(MailboxLoad, HostExampleAnswersThroughTheHostPorts) {
    test::TestWorld world;
    SimHost host{world.sim, ParseMailbox(kHostExample)};
    auto ns = host.application->Session();
    auto contacts = ns->GetDefaultFolder(olFolderContacts);
    EXPECT_EQ(contacts->GetItems()->Count(), 3);
    EXPECT_EQ(contacts->GetFolders()->Item(1)->Name(), L"Clients");
    EXPECT_EQ(contacts->GetFolders()->Item(1)->DefaultItemType(), olContactItem);
    // Default folders the file leaves out are there all the same.
    EXPECT_EQ(ns->GetDefaultFolder(olFolderNotes)->Name(), L"Notes");

    auto ann = As<ContactItem>(Find(contacts, L"Ann Smith"));
    EXPECT_EQ(ann->FirstName(), L"Ann");
    EXPECT_EQ(ann->CompanyName(), L"Acme");
    auto& annRecord = *SimOutlook::RecordOf(ann);
    EXPECT_EQ(host.session.ContactEmailAddress(annRecord, 1), L"ann@acme.example");
    EXPECT_EQ(host.session.ContactEmailAddress(annRecord, 2), L"ann@home.example");
    EXPECT_EQ(host.session.ContactEmailAddress(annRecord, 3), L"");
    EXPECT_EQ(As<ContactItem>(Find(contacts, L"Bob Lee"))->Sensitivity(), olPrivate);

    // A typed address finds the contact's second slot, as the client resolves it: with two
    // addresses, the contact stands in the address book once for each, by name and address.
    auto draft = As<MailItem>(host.application->CreateItem(olMailItem));
    auto typed = draft->GetRecipients()->Add(L"ANN@home.example");
    ASSERT_TRUE(typed->Resolve());
    EXPECT_EQ(typed->GetAddressEntry()->Name(), L"Ann Smith (ann@home.example)");
    EXPECT_FALSE(draft->GetRecipients()->Add(L"Ann Smith")->Resolve());  // ambiguous

    auto inbox = ns->GetDefaultFolder(olFolderInbox);
    auto lunch = As<MailItem>(Find(inbox, L"Lunch on Friday?"));
    EXPECT_EQ(lunch->SenderName(), L"Ann Smith");
    EXPECT_EQ(lunch->Body(), L"Shall we?");
    EXPECT_EQ(lunch->BodyFormat(), olFormatPlain);
    EXPECT_EQ(FormatMailboxDate(lunch->ReceivedTime()), L"2026-12-01 10:00");
    auto to = lunch->GetRecipients()->Item(1);
    EXPECT_TRUE(to->Resolved());
    EXPECT_EQ(to->Address(), L"me@home.example");
    EXPECT_FALSE(SimOutlook::RecordOf(lunch)->HasProp(mapi::PR_ICON_INDEX));

    auto club = As<DistListItem>(Find(contacts, L"Book club"));
    EXPECT_EQ(club->MemberCount(), 2);
    EXPECT_EQ(SmtpOf(SimOutlook::RecordOf(club)->listEntry),
              (std::vector<std::wstring>{L"ann@acme.example", L"carla@diaz.example"}));

    // The address book: the EX entry keeps its SMTP address, the list reaches it.
    auto staff = draft->GetRecipients()->Add(L"All Staff");
    ASSERT_TRUE(staff->Resolve());
    auto members = staff->GetAddressEntry()->Members();
    ASSERT_EQ(members->Count(), 2);
    EXPECT_EQ(members->Item(1)->Type(), L"EX");
    EXPECT_EQ(members->Item(1)->Address(), L"/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield");
    EXPECT_EQ(SmtpOf(host.session.Resolve(L"All Staff")),
              (std::vector<std::wstring>{L"dana@acme.example", L"ops@acme.example"}));
}

TEST(MailboxLoad, DemoLoadsWithEveryRecipientAndMemberResolved) {
    test::TestWorld world;
    auto host = LoadDemoHost(world.sim);
    auto ns = host->application->Session();

    int unresolved = 0;
    int recipients = 0;
    std::vector<const FolderRecord*> stack{host->session.DefaultStore()->TopFolder()};
    while (!stack.empty()) {
        const FolderRecord* folder = stack.back();
        stack.pop_back();
        for (const auto& sub : folder->Subfolders()) {
            stack.push_back(sub.get());
        }
        for (const auto& item : folder->Items()) {
            for (const auto& r : item->recipients) {
                ++recipients;
                unresolved += r->resolved ? 0 : 1;
            }
        }
    }
    EXPECT_GT(recipients, 30);
    EXPECT_EQ(unresolved, 0);

    // Nested lists: "Fernwood everyone" holds the Lighthouse team, which holds Dana's EX entry.
    auto everyone = host->session.Resolve(L"Fernwood everyone");
    ASSERT_NE(everyone, nullptr);
    const auto smtp = SmtpOf(everyone);
    EXPECT_EQ(smtp.front(), L"dana.whitfield@fernwood.example.com");
    EXPECT_NE(std::find(smtp.begin(), smtp.end(), L"robin.keller@fernwood.example.com"),
              smtp.end());
    EXPECT_EQ(host->session.Resolve(L"Dana Whitfield")->addressType, L"EX");
    EXPECT_EQ(SmtpOf(host->session.Resolve(L"All Staff")).size(), 5U);

    auto inbox = ns->GetDefaultFolder(olFolderInbox);
    auto lunch = As<MailItem>(Find(inbox, L"Lunch on Friday?"));
    EXPECT_EQ(S(SimOutlook::RecordOf(lunch)->GetProp(mapi::PR_ICON_INDEX)), L"261");
    auto agenda = SimOutlook::RecordOf(Find(inbox, L"Lighthouse: kick-off agenda"));
    EXPECT_EQ(S(agenda->GetProp(mapi::PR_FLAG_STATUS)), L"2");
    EXPECT_EQ(S(agenda->GetNamed(mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, mapi::PT_STRING8)),
              L"Review");
    EXPECT_EQ(As<MailItem>(Find(inbox, L"Lighthouse: kick-off agenda"))->BodyFormat(),
              olFormatHTML);
    EXPECT_EQ(As<MailItem>(Find(inbox, L"Personal: reference letter"))->Sensitivity(), olPrivate);

    auto kickoff =
        As<AppointmentItem>(Find(ns->GetDefaultFolder(olFolderCalendar), L"Lighthouse kick-off"));
    EXPECT_EQ(kickoff->Organizer(), L"Dana Whitfield");
    EXPECT_EQ(kickoff->ResponseStatus(), 3);
    EXPECT_EQ(kickoff->GetRecipients()->Item(4)->Type(), olBCC);
    auto task =
        As<TaskItem>(Find(ns->GetDefaultFolder(olFolderTasks), L"Send the workshop invitations"));
    ASSERT_EQ(task->GetLinks()->Count(), 3);
    EXPECT_EQ(As<ContactItem>(task->GetLinks()->Item(1)->Item())->CompanyName(), L"Bellerive");
}

TEST(MailboxLoad, StoreKindsAndEmptyEmailSlotsSurviveASaveAndALoad) {
    const std::string doc = R"({"stores":[{"name":"Mailbox - Ann","kind":"exchange",)"
                            R"("folders":[{"name":"Contacts","role":"contacts","items":[)"
                            R"({"class":"contact","fullName":"Carla Diaz",)"
                            R"("email":[null,"carla@diaz.example"]},)"
                            R"({"class":"contact","fullName":"Eve Roe",)"
                            R"("email":["eve@roe.example",null,"eve@home.example"]}]}]},)"
                            R"({"name":"Archive"}]})";
    const MailboxModel model = ParseMailbox(doc);
    EXPECT_EQ(model.stores[0].kind, StoreKind::Exchange);
    EXPECT_EQ(model.stores[1].kind, StoreKind::Pst);
    const auto& carla = model.stores[0].folders[0].items[0];
    EXPECT_EQ(carla.email, (std::vector<std::wstring>{L"", L"carla@diaz.example"}));
    // The writer keeps the empty slot as null, and reading that back gives the same model.
    const std::string written = FormatMailbox(model);
    EXPECT_NE(written.find("null"), std::string::npos);
    EXPECT_NE(written.find(R"("exchange")"), std::string::npos);
    EXPECT_EQ(ParseMailbox(written), model);

    // Loaded, the slot is empty and the next one filled; saved from the client, both come back.
    test::TestWorld world;
    SimHost host(world.sim, model, L"mailbox.json");
    EXPECT_EQ(host.session.DefaultStore()->Kind(), StoreKind::Exchange);
    const auto& contacts = host.session.DefaultFolder(olFolderContacts)->Items();
    ASSERT_EQ(contacts.size(), 2U);
    EXPECT_EQ(host.session.ContactEmailAddress(*contacts[0], 1), L"");
    EXPECT_EQ(host.session.ContactEmailAddress(*contacts[0], 2), L"carla@diaz.example");
    EXPECT_EQ(host.session.Resolve(L"Carla Diaz")->address, L"carla@diaz.example");
    // An address removed at run time leaves its slot empty, not the later ones moved up.
    host.session.SetContactEmail(*contacts[1], 1, L"");
    const MailboxModel saved = SnapshotSession(host.session);
    EXPECT_EQ(saved.stores[0].kind, StoreKind::Exchange);
    const auto& items = saved.stores[0].FindRole(FolderRole::Contacts)->items;
    EXPECT_EQ(items[0].email, (std::vector<std::wstring>{L"", L"carla@diaz.example"}));
    EXPECT_EQ(items[1].email, (std::vector<std::wstring>{L"", L"", L"eve@home.example"}));
    EXPECT_EQ(ParseMailbox(FormatMailbox(saved)), saved);

    // A null with no address after it, and an empty text, are mistakes in the file.
    for (const char* bad : {R"(["a@x.example",null])", R"([null])", R"([""])"}) {
        const std::string wrong =
            R"({"stores":[{"name":"S","folders":[{"name":"Contacts","role":"contacts",)"
            R"("items":[{"class":"contact","fullName":"X","email":)" +
            std::string(bad) + "}]}]}]}";
        EXPECT_THROW(ParseMailbox(wrong), MailboxError) << bad;
    }
}

TEST(MailboxLoad, SavedMailboxKeepsWhatHappenedAtRunTime) {
    test::TestWorld world;
    test::TempDir dir;
    const auto path = dir.Path() / "mailbox.json";
    {
        auto host = LoadDemoHost(world.sim);
        auto app = host->application;
        auto ns = app->Session();
        // A message sent through the transport, a copy, a flagged draft, a deleted contact.
        auto mail = As<MailItem>(app->CreateItem(olMailItem));
        mail->SetSubject(L"Sent at run time");
        mail->SetBody(L"Hello team");
        mail->GetRecipients()->Add(L"Project Lighthouse team");
        mail->GetRecipients()->Add(L"newcomer@example.net")->SetType(olCC);
        mail->GetRecipients()->Add(L"Somebody Unknown")->SetType(olBCC);
        mail->GetRecipients()->Item(3)->Delete();
        mail->Send();
        auto inbox = ns->GetDefaultFolder(olFolderInbox);
        Find(inbox, L"Invoice 2026-117")->Copy();
        auto draft = As<MailItem>(app->CreateItem(olMailItem));
        draft->SetSubject(L"Draft with a flag");
        draft->GetRecipients()->Add(L"Not Yet Known");
        draft->Save();
        auto draftRecord = SimOutlook::RecordOf(draft);
        draftRecord->SetProp(mapi::PR_FLAG_STATUS, Variant(2));
        draftRecord->SetProp(mapi::PR_FLAG_ICON, Variant(6));
        draftRecord->SetNamed(mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, mapi::PT_STRING8,
                              Variant(L"Plexa"));
        Find(ns->GetDefaultFolder(olFolderContacts), L"Bob Lee")->Delete();
        SaveHost(*host, path);
    }
    const std::string first = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();

    auto host = LoadHost(world.sim, path);
    EXPECT_EQ(Saved(*host), first);  // file -> client -> file gives the same file
    auto ns = host->application->Session();
    auto sent = As<MailItem>(Find(ns->GetDefaultFolder(olFolderSentMail), L"Sent at run time"));
    EXPECT_EQ(sent->Body(), L"Hello team");
    auto recipients = sent->GetRecipients();
    ASSERT_EQ(recipients->Count(), 2);
    EXPECT_EQ(recipients->Item(1)->GetAddressEntry()->Members()->Count(), 4);
    EXPECT_EQ(recipients->Item(2)->Type(), olCC);
    EXPECT_EQ(recipients->Item(2)->Address(), L"newcomer@example.net");
    EXPECT_EQ(sent->SenderName(), host->session.userName);

    auto inbox = ns->GetDefaultFolder(olFolderInbox);
    int invoices = 0;
    for (int32_t i = 1; i <= inbox->GetItems()->Count(); ++i) {
        invoices += inbox->GetItems()->Item(i)->Subject() == L"Invoice 2026-117" ? 1 : 0;
    }
    EXPECT_EQ(invoices, 2);
    auto draft =
        SimOutlook::RecordOf(Find(ns->GetDefaultFolder(olFolderDrafts), L"Draft with a flag"));
    EXPECT_EQ(S(draft->GetProp(mapi::PR_FLAG_ICON)), L"6");
    EXPECT_EQ(S(draft->GetNamed(mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, mapi::PT_STRING8)),
              L"Plexa");
    ASSERT_EQ(draft->recipients.size(), 1U);
    EXPECT_FALSE(draft->recipients[0]->resolved);
    auto bob = As<ContactItem>(Find(ns->GetDefaultFolder(olFolderDeletedItems), L"Bob Lee"));
    EXPECT_EQ(bob->Sensitivity(), olPrivate);
    EXPECT_EQ(host->session.ContactEmailAddress(*SimOutlook::RecordOf(bob), 1),
              L"bob@lee.example.net");

    // The demo itself, saved untouched, builds the same client again: nothing of it is lost.
    auto demo = LoadDemoHost(world.sim);
    const std::string demoSaved = Saved(*demo);
    SimHost again{world.sim, ParseMailbox(demoSaved)};
    EXPECT_EQ(Saved(again), demoSaved);
    for (const char* field : {"\"replied\": true", "\"unread\": true", "\"html\"", "\"links\"",
                              "\"organizer\"", "\"responseStatus\": \"accepted\"", "\"due\"",
                              "\"location\"", "\"sensitivity\": \"private\"", "\"categories\"",
                              "\"private\": true", "\"smtp\"", "\"type\": \"bcc\""}) {
        EXPECT_NE(demoSaved.find(field), std::string::npos) << field;
    }
}

TEST(MailboxLoad, IdsAndUserPropertiesComeBackAfterASaveAndALoad) {
    test::TestWorld world;
    test::TempDir dir;
    const auto path = dir.Path() / "mailbox.json";
    std::wstring storeID;
    std::wstring rootID;
    std::wstring subfolderID;
    std::wstring draftID;
    {
        auto host = LoadDemoHost(world.sim);
        auto ns = host->application->Session();
        auto inbox = ns->GetDefaultFolder(olFolderInbox);
        storeID = inbox->StoreID();
        rootID = host->session.DefaultStore()->TopFolder()->EntryID();
        subfolderID =
            host->session
                .AddFolder(*host->session.DefaultFolder(olFolderInbox), L"Later", olMailItem)
                .EntryID();
        // A draft as the add-in leaves it: its per-message settings are user properties.
        auto draft = As<MailItem>(host->application->CreateItem(olMailItem));
        draft->SetSubject(L"Queued for later");
        auto props = draft->GetUserProperties();
        props->Add(L"OrvinPlexa.SendMode", olText, false)->SetValue(Variant(L"1"));
        props->Add(L"Reviewed", 6)->SetValue(Variant(true));
        props->Add(L"Due", 5)->SetValue(Variant(OleDate::FromParts(2026, 12, 9, 8, 30)));
        props->Add(L"Copies", olInteger)->SetValue(Variant(3));
        props->Add(L"Unset", 3);
        draft->Save();
        draftID = draft->EntryID();
        SaveHost(*host, path);
    }

    auto host = LoadHost(world.sim, path);
    auto ns = host->application->Session();
    auto inbox = ns->GetDefaultFolder(olFolderInbox);
    EXPECT_EQ(inbox->StoreID(), storeID);
    EXPECT_EQ(host->session.DefaultStore()->TopFolder()->EntryID(), rootID);
    EXPECT_EQ(ns->GetFolderFromID(subfolderID)->Name(), L"Later");
    auto draft = As<MailItem>(ns->GetItemFromID(draftID, storeID));
    ASSERT_NE(draft, nullptr);
    EXPECT_EQ(draft->Subject(), L"Queued for later");
    auto props = draft->GetUserProperties();
    EXPECT_EQ(props->Count(), 5);
    EXPECT_EQ(S(props->Find(L"orvinplexa.sendmode")->Value()), L"1");
    const Variant reviewed = props->Find(L"Reviewed")->Value();
    ASSERT_TRUE(std::holds_alternative<bool>(reviewed.Raw()));
    EXPECT_TRUE(std::get<bool>(reviewed.Raw()));
    const Variant due = props->Find(L"Due")->Value();
    ASSERT_TRUE(std::holds_alternative<OleDate>(due.Raw()));
    EXPECT_EQ(std::get<OleDate>(due.Raw()), OleDate::FromParts(2026, 12, 9, 8, 30));
    const Variant copies = props->Find(L"Copies")->Value();
    ASSERT_TRUE(std::holds_alternative<int32_t>(copies.Raw()));  // a Long, as it was set
    EXPECT_EQ(std::get<int32_t>(copies.Raw()), 3);
    EXPECT_TRUE(props->Find(L"Unset")->Value().IsEmpty());
    const auto& record = SimOutlook::RecordOf(draft)->userProperties;
    EXPECT_FALSE(record[0].addToFolderFields);
    EXPECT_TRUE(record[1].addToFolderFields);

    // What is made after the load gets ids that no loaded store, folder or item has.
    auto fresh = As<MailItem>(host->application->CreateItem(olMailItem));
    fresh->Save();
    FolderRecord& freshFolder =
        host->session.AddFolder(*host->session.DefaultFolder(olFolderInbox), L"Fresh", olMailItem);
    std::set<std::wstring> ids;
    std::function<void(const FolderRecord&)> collect = [&](const FolderRecord& folder) {
        EXPECT_TRUE(ids.insert(folder.EntryID()).second) << text::ToUtf8(folder.EntryID());
        for (const auto& item : folder.Items()) {
            EXPECT_TRUE(ids.insert(item->EntryID()).second) << text::ToUtf8(item->EntryID());
        }
        for (const auto& sub : folder.Subfolders()) {
            collect(*sub);
        }
    };
    for (const auto& store : host->session.Stores()) {
        collect(*store->TopFolder());
    }
    EXPECT_EQ(ids.count(fresh->EntryID()), 1U);
    EXPECT_EQ(ids.count(freshFolder.EntryID()), 1U);
    EXPECT_EQ(ns->GetItemFromID(fresh->EntryID())->EntryID(), fresh->EntryID());
}

struct Broken {
    const char* mailbox;
    const wchar_t* pointer;
    const wchar_t* problem;  // a part of the message
};

TEST(MailboxLoad, AMailboxThatDoesNotBuildSaysWhereAndLeavesNothing) {
    const Broken cases[] = {
        {R"({"stores": [{"name": "P", "folders": [{"name": "Contacts", "role": "contacts",
              "items": [{"class": "contact", "fullName": "Ann", "email": ["a@x.example"]}]}]}],
            "addressBook": [{"name": "Team", "members": ["Ann", "Nobody"]}]})",
         L"/addressBook/0/members/1", L"member \"Nobody\" matches no address-book entry"},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Contacts", "role": "contacts",
              "items": [{"class": "contact", "fullName": "Ann", "email": ["a@x.example"]},
                        {"class": "distlist", "subject": "L", "members": ["Ann"]}]}]}],
            "addressBook": [{"name": "Ann", "address": "ann@y.example"}]})",
         L"/stores/0/folders/0/items/1/members/0", L"is ambiguous: 2"},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Tasks", "role": "tasks",
              "items": [{"class": "task", "subject": "T", "links": ["Zed"]}]}]}]})",
         L"/stores/0/folders/0/items/0/links/0", L"no contact has the full name \"Zed\""},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Calendar"}]}]})",
         L"/stores/0/folders/0/name", L"give the folder its \"role\""},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Calendar", "role": "inbox"}]}]})",
         L"/stores/0/folders/0/name", L"another default folder"},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Inbox", "role": "inbox",
              "items": [{"class": "mail", "properties": {"0x8001001E": "x"}}]}]}]})",
         L"/stores/0/folders/0/items/0/properties/0x8001001E", L"named property"},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Contacts", "role": "contacts",
              "items": [{"class": "contact", "fullName": "A", "private": true,
                         "sensitivity": "confidential"}]}]}]})",
         L"/stores/0/folders/0/items/0/sensitivity", L"private contact"},
        {R"({"stores": [{"name": "P", "folders": [{"name": "Inbox", "role": "inbox",
              "items": [{"class": "mail", "entryId": "0042"}]}]}]})",
         L"/stores/0/folders/0/items/0/entryId", L"\"0042\" is not an entry id this client"},
        {R"({"stores": [{"name": "P", "storeId": "00000000B7A1F3C2D4E5461A8C9B0D1E0000000000000001"}]})",
         L"/stores/0/storeId", L"is not a store id this client made"},
        {R"({"stores": [{"name": "P", "rootEntryId": "00000000b7a1f3c2d4e5461a8c9b0d1e0000000000000007",
              "folders": [{"name": "Inbox", "role": "inbox", "items": [{"class": "mail",
                "entryId": "00000000B7A1F3C2D4E5461A8C9B0D1E0000000000000007"}]}]}]})",
         L"/stores/0/folders/0/items/0/entryId",
         L"is given twice (first at /stores/0/rootEntryId)"},
    };
    test::TestWorld world;
    for (const Broken& c : cases) {
        const MailboxModel model = ParseMailbox(c.mailbox, L"box.json");
        std::unique_ptr<SimSession> session;
        try {
            session = BuildSession(model, world.sim.faults, world.sim.clock, L"box.json");
            ADD_FAILURE() << "built: " << c.mailbox;
        } catch (const MailboxError& e) {
            EXPECT_EQ(e.File(), L"box.json");
            EXPECT_EQ(e.Pointer(), c.pointer) << text::ToUtf8(e.Description());
            EXPECT_NE(e.Problem().find(c.problem), std::wstring::npos)
                << text::ToUtf8(e.Description());
            EXPECT_EQ(e.Number(), vberr::InvalidFileFormat);
        }
        EXPECT_EQ(session, nullptr);
    }

    // Through a file: the host is never made, and the file's name leads the message.
    test::TempDir dir;
    const auto path = dir.Path() / "mailbox.json";
    {
        std::ofstream out(path, std::ios::binary);
        out << cases[0].mailbox;
    }
    std::unique_ptr<SimHost> host;
    try {
        host = LoadHost(world.sim, path);
        ADD_FAILURE() << "loaded";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.Description().rfind(PathText(path) + L": at /addressBook/0/members/1: ", 0), 0U)
            << text::ToUtf8(e.Description());
    }
    EXPECT_EQ(host, nullptr);

    // A session that already has stores is not filled at all.
    SimHost plain{world.sim};
    EXPECT_THROW(FillSession(ParseMailbox(kHostExample), plain.session), MailboxError);
    EXPECT_EQ(plain.session.Stores().size(), 1U);
    EXPECT_TRUE(plain.session.addressBook.Entries().empty());
}

TEST(MailboxLoad, RolesMapOntoTheStoresDefaultFoldersUnderTheFilesNames) {
    test::TestWorld world;
    SimHost host{world.sim, ParseMailbox(R"({"stores": [
        {"name": "Archive", "folders": [{"name": "Old", "type": "task"}]},
        {"name": "Mine", "default": true, "folders": [
          {"name": "Posteingang", "role": "inbox"}, {"name": "Inbox"},
          {"name": "Projects", "folders": [{"name": "Deep", "type": "appointment"}]}]}]})")};
    auto ns = host.application->Session();
    auto inbox = ns->GetDefaultFolder(olFolderInbox);
    EXPECT_EQ(inbox->Name(), L"Posteingang");
    EXPECT_EQ(host.session.DefaultStore()->Name(), L"Mine");
    EXPECT_EQ(host.session.Stores().size(), 2U);
    const FolderRecord& top = *host.session.DefaultStore()->TopFolder();
    EXPECT_NE(top.FindSubfolder(L"Inbox"), nullptr);  // an ordinary folder now
    EXPECT_EQ(top.FindSubfolder(L"Projects")->FindSubfolder(L"Deep")->DefaultItemType(),
              olAppointmentItem);
    EXPECT_EQ(host.session.Stores()[0]->TopFolder()->FindSubfolder(L"Old")->DefaultItemType(),
              olTaskItem);

    const MailboxModel saved = SnapshotSession(host.session);
    ASSERT_EQ(saved.stores.size(), 2U);
    EXPECT_TRUE(saved.stores[1].isDefault);
    EXPECT_EQ(saved.stores[1].FindRole(FolderRole::Inbox)->name, L"Posteingang");
    EXPECT_NE(saved.stores[0].FindRole(FolderRole::Junk), nullptr);
}

}  // namespace
}  // namespace plexa::sim
