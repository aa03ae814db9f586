// The simulated safe-access library, used as the add-in uses it: bound to host items, reading
// and writing MAPI properties, sending without the host's own send, and opening messages
// through its session.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "sim/SimHost.h"
#include "sim/redemption/SimRedemption.h"
#include "sim/store/ItemRecord.h"
#include "sim/store/SimSession.h"

namespace plexa {
namespace {

struct RedemptionWorld : test::TestWorld {
    sim::SimHost host{sim};
    sim::SimRedemption redemption{host.outlook};

    std::shared_ptr<MailItem> Mail(const std::wstring& subject,
                                   std::initializer_list<std::wstring> to) {
        auto mail = std::dynamic_pointer_cast<MailItem>(host.application->CreateItem(olMailItem));
        mail->SetSubject(subject);
        for (const auto& r : to) {
            mail->GetRecipients()->Add(r);
        }
        mail->Save();
        return mail;
    }
};

TEST(Redemption, SafeMailItemReadsRecipientsAndSendsThroughTheOutbox) {
    RedemptionWorld w;
    auto& book = w.host.session.addressBook;
    book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield",
                     L"dana@acme.example");
    auto mail = w.Mail(L"Plan", {L"Dana Whitfield", L"ann@example.com"});

    auto safe = w.redemption.CreateSafeMailItem();
    EXPECT_THROW(safe->Recipients(), HostError);  // nothing bound yet
    safe->SetItem(mail);
    auto recipients = safe->Recipients();
    ASSERT_EQ(recipients->Count(), 2);
    EXPECT_TRUE(recipients->ResolveAll());
    auto dana = recipients->Item(1)->AddressEntry();
    ASSERT_TRUE(dana);
    EXPECT_EQ(dana->Address(), L"/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield");
    EXPECT_EQ(CStr(dana->Fields(mapi::PR_ADDRTYPE)), L"EX");
    EXPECT_EQ(CStr(dana->Fields(mapi::PR_SMTP_ADDRESS)), L"dana@acme.example");
    EXPECT_EQ(dana->Members(), nullptr);
    EXPECT_THROW(recipients->Item(3), HostError);

    // The host's own send is never raised by the library's send.
    int hostSends = 0;
    auto conn = w.host.application->ItemSend.Connect(
        [&](const std::shared_ptr<OutlookItem>&, bool&) { ++hostSends; });
    auto outbox = w.host.application->Session()->GetDefaultFolder(olFolderOutbox);
    auto moved = mail->Move(outbox);
    safe->SetItem(moved);
    safe->Send();
    EXPECT_EQ(hostSends, 0);
    ASSERT_EQ(w.host.session.transmissions.size(), 1u);
    EXPECT_EQ(w.host.session.transmissions[0].subject, L"Plan");
    EXPECT_EQ(outbox->GetItems()->Count(), 0);
    EXPECT_THROW(safe->Subject(), HostError);  // the sent item is gone
    safe->SetItem(nullptr);
    EXPECT_EQ(safe->Item(), nullptr);
}

TEST(Redemption, MAPIUtilsReadsAndWritesPropertiesAndNamedIds) {
    RedemptionWorld w;
    auto mail = w.Mail(L"Flags", {L"ann@example.com"});
    auto utils = w.redemption.CreateMAPIUtils();

    EXPECT_TRUE(utils->HrGetOneProp(mail, mapi::PR_FLAG_STATUS).IsEmpty());
    utils->HrSetOneProp(mail, mapi::PR_FLAG_STATUS, Variant(2), true);
    EXPECT_EQ(CLng(utils->HrGetOneProp(mail, mapi::PR_FLAG_STATUS)), 2);

    const uint32_t missing =
        utils->GetIDsFromNames(mail, mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, false);
    EXPECT_EQ(missing, 0u);
    const uint32_t id =
        utils->GetIDsFromNames(mail, mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, true);
    EXPECT_GE(id, 0x80000000u);
    EXPECT_EQ(id & 0xFFFF, 0u);
    EXPECT_EQ(utils->GetIDsFromNames(mail, L"{00062008-0000-0000-c000-000000000046}",
                                     mapi::LID_FLAG_REQUEST, false),
              id);  // stable, GUID case ignored
    utils->HrSetOneProp(mail, id | mapi::PT_STRING8, Variant(L"Review"), true);
    EXPECT_EQ(CStr(utils->HrGetOneProp(mail, id | mapi::PT_STRING8)), L"Review");
    // A value is stored as the tag's type, or refused as MAPI refuses it.
    utils->HrSetOneProp(mail, mapi::PR_MESSAGE_DELIVERY_TIME, Variant(46000.5), true);
    const Variant when = utils->HrGetOneProp(mail, mapi::PR_MESSAGE_DELIVERY_TIME);
    ASSERT_NE(std::get_if<OleDate>(&when.Raw()), nullptr);
    EXPECT_EQ(std::get<OleDate>(when.Raw()).Value(), 46000.5);
    EXPECT_THROW(utils->HrSetOneProp(mail, mapi::PR_MESSAGE_DELIVERY_TIME, Variant(L"today"), true),
                 HostError);
    EXPECT_THROW(utils->HrSetOneProp(mail, mapi::PR_FLAG_STATUS, Variant(L"two"), true), HostError);
    EXPECT_THROW(utils->HrSetOneProp(mail, id | mapi::PT_STRING8, Variant(2), true), HostError);
    EXPECT_EQ(CStr(utils->HrGetOneProp(mail, id | mapi::PT_STRING8)), L"Review");

    auto bytes = Variant::Array(VarType::Byte, {Variant::Byte(0x0A), Variant::Byte(0xFF)});
    EXPECT_EQ(utils->HrArrayToString(bytes), L"0AFF");
    EXPECT_THROW(utils->HrArrayToString(Variant(L"text")), HostError);

    auto entry = w.host.session.addressBook.AddSmtp(L"Lee Park", L"lee@park.example");
    EXPECT_EQ(utils->GetAddressEntryFromID(entry->entryID)->Name(), L"Lee Park");
    // A contact's slot, opened by the entry id stored with it, has its address at once.
    auto& session = w.host.session;
    auto contact = session.AddItem(*session.DefaultFolder(olFolderContacts), olContact);
    contact->SetText(mapi::PR_DISPLAY_NAME, L"Eve Stone");
    session.SetContactEmail(*contact, 2, L"eve@stone.example");
    const uint32_t slotId = utils->GetIDsFromNames(
        w.host.outlook.Item(contact), mapi::PSETID_Address, mapi::LID_EMAIL_ENTRYID[1], false);
    const std::wstring stored = utils->HrArrayToString(
        utils->HrGetOneProp(w.host.outlook.Item(contact), slotId | mapi::PT_BINARY));
    auto slotEntry = utils->GetAddressEntryFromID(stored);
    EXPECT_EQ(slotEntry->Address(), L"eve@stone.example");
    EXPECT_EQ(slotEntry->Name(), L"Eve Stone");
    EXPECT_THROW(utils->GetAddressEntryFromID(L"00DEAD"), HostError);

    // An injected failure reaches the caller as the host's error.
    w.sim.faults.FailNth(L"MAPIUtils.HrGetOneProp", 1, HostError(MAPI_E_NOT_FOUND, L"refused"));
    EXPECT_THROW(utils->HrGetOneProp(mail, mapi::PR_FLAG_STATUS), HostError);
    w.sim.faults.FailAlways(L"Redemption.Create", HostError(-2147221005, L"Invalid class string"));
    EXPECT_THROW(w.redemption.CreateMAPIUtils(), HostError);
}

TEST(Redemption, SessionAddsListMembersAndFollowsEntriesToTheirContacts) {
    RedemptionWorld w;
    auto& session = w.host.session;
    auto contact = session.AddItem(*session.DefaultFolder(olFolderContacts), olContact);
    contact->SetText(mapi::PR_DISPLAY_NAME, L"Ann Smith");
    session.SetContactEmail(*contact, 1, L"ann@acme.example");

    auto list = std::dynamic_pointer_cast<DistListItem>(
        w.host.application->CreateItem(olDistributionListItem));
    ASSERT_TRUE(list);
    list->SetSubject(L"Book club");
    list->Save();

    auto rdo = w.redemption.CreateRDOSession();
    EXPECT_THROW(rdo->GetMessageFromID(list->EntryID(), list->Parent()->StoreID()), HostError);
    rdo->SetMAPIOBJECT(w.host.application->Session()->MAPIOBJECT());
    auto rdoList = rdo->GetMessageFromID(list->EntryID(), list->Parent()->StoreID());
    rdoList->AddMember(L"Ann Smith");
    rdoList->AddMember(L"carla@diaz.example");
    EXPECT_THROW(rdoList->AddMember(L"Nobody Known"), HostError);
    // The library's message is an object of its own: its saved members show in the list
    // opened again (the object changed before keeps its own copy).
    EXPECT_EQ(std::dynamic_pointer_cast<DistListItem>(
                  w.host.application->Session()->GetItemFromID(list->EntryID()))
                  ->MemberCount(),
              0);
    rdoList->Save();
    EXPECT_EQ(list->MemberCount(), 0);
    EXPECT_EQ(std::dynamic_pointer_cast<DistListItem>(
                  w.host.application->Session()->GetItemFromID(list->EntryID()))
                  ->MemberCount(),
              2);

    // A message's recipients lead to their entries, and an entry to the contact behind it.
    auto mail = w.Mail(L"Hi", {L"Ann Smith"});
    auto safe = w.redemption.CreateSafeMailItem();
    safe->SetItem(mail);
    ASSERT_TRUE(safe->Recipients()->ResolveAll());
    safe->Save();  // the session opens the message as saved
    auto rdoMail = rdo->GetMessageFromID(mail->EntryID(), L"");
    auto entry = rdoMail->Recipients()->Item(1)->AddressEntry();
    ASSERT_TRUE(entry);
    auto ref = entry->GetContact();
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->EntryID(), contact->EntryID());
    EXPECT_EQ(ref->StoreID(), session.DefaultStore()->StoreID());
    EXPECT_THROW(rdoMail->AddMember(L"ann@acme.example"), HostError);  // not a list
    EXPECT_THROW(rdo->GetMessageFromID(L"00BADBAD", L""), HostError);
}

TEST(Redemption, MAPITableFindsContactsByAnyEmailSlot) {
    RedemptionWorld w;
    auto& session = w.host.session;
    auto contacts = session.DefaultFolder(olFolderContacts);
    auto add = [&](const std::wstring& name, int slot, const std::wstring& address) {
        auto c = session.AddItem(*contacts, olContact);
        c->SetText(mapi::PR_DISPLAY_NAME, name);
        c->SetText(mapi::PR_SUBJECT, name);
        session.SetContactEmail(*c, slot, address);
        return c;
    };
    add(L"Ann Smith", 1, L"ann@acme.example");
    auto bob = add(L"Bob Lee", 3, L"bob@lee.example");

    auto folder = w.host.application->Session()->GetDefaultFolder(olFolderContacts);
    auto items = folder->GetItems();
    auto utils = w.redemption.CreateMAPIUtils();
    auto any = items->Item(1);
    auto table = w.redemption.CreateMAPITable();
    table->SetItem(items);
    table->FilterClear();
    table->FilterSetKind(1);
    for (uint32_t lid : mapi::LID_EMAIL_ADDRESS) {
        const uint32_t tag =
            utils->GetIDsFromNames(any, mapi::PSETID_Address, lid, false) | mapi::PT_STRING8;
        table->FilterAdd(MAPITableRestriction{tag, 4, Variant(L"BOB@lee.example")});
    }
    table->SetColumns({mapi::PR_ENTRYID, mapi::PR_SUBJECT});
    ASSERT_TRUE(table->FilterFindFirst(true));
    const auto row = table->GetRow();
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(utils->HrArrayToString(row[0]), bob->EntryID());
    EXPECT_EQ(CStr(row[1]), L"Bob Lee");

    table->FilterClear();
    table->FilterSetKind(1);
    table->FilterAdd(MAPITableRestriction{mapi::PR_SUBJECT, 4, Variant(L"Nobody")});
    EXPECT_FALSE(table->FilterFindFirst(true));
    EXPECT_TRUE(table->GetRow().empty());
}

}  // namespace
}  // namespace plexa
