// The record layer of the simulated store: resolution, named properties, the store operations
// and the transport, as the host objects and the safe-access simulation use them.
#include "sim/store/SimSession.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "core/HostError.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/Faults.h"
#include "sim/SimClock.h"
#include "sim/store/PropertyBag.h"
#include "sim/store/mBodyText.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {
namespace {

class SimSessionTest : public ::testing::Test {
protected:
    SimSessionTest() { session.AddStore(L"Personal Folders"); }

    std::shared_ptr<ItemRecord> Contact(const std::wstring& fullName, const std::wstring& email1,
                                        const std::wstring& email2 = L"") {
        auto contact = session.AddItem(*session.DefaultFolder(olFolderContacts), olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, fullName);
        if (!email1.empty()) {
            session.SetContactEmail(*contact, 1, email1);
        }
        if (!email2.empty()) {
            session.SetContactEmail(*contact, 2, email2);
        }
        return contact;
    }

    Faults faults;
    SimClock clock{faults};
    SimSession session{faults, clock};
};

TEST_F(SimSessionTest, ResolvesByNameOrAddressIgnoringCaseAndRefusesAmbiguity) {
    auto& book = session.addressBook;
    auto dana =
        book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield",
                         L"dana.whitfield@acme.example");
    auto lee = book.AddSmtp(L"Lee Park", L"lee@park.example");
    book.AddSmtp(L"Sam Jones", L"sam1@jones.example");
    book.AddSmtp(L"Sam Jones", L"sam2@jones.example");

    EXPECT_EQ(session.Resolve(L"dana whitfield"), dana);
    EXPECT_EQ(session.Resolve(L"/O=ACME/ou=Exchange/cn=Recipients/cn=DWHITFIELD"), dana);
    EXPECT_EQ(session.Resolve(L"Dana.Whitfield@ACME.example"), dana);
    EXPECT_EQ(dana->SmtpAddress(), L"dana.whitfield@acme.example");
    EXPECT_EQ(*dana->Field(mapi::PR_ADDRTYPE).String(), L"EX");
    EXPECT_EQ(*dana->Field(0x39FE001F).String(), L"dana.whitfield@acme.example");
    EXPECT_EQ(session.Resolve(L"  LEE@park.example "), lee);
    EXPECT_EQ(session.Resolve(L"Sam Jones"), nullptr);  // two entries
    EXPECT_EQ(session.Resolve(L"Nobody Here"), nullptr);
    EXPECT_EQ(session.Resolve(L""), nullptr);
    // With no entry of that name, a unique beginning of a display name resolves.
    EXPECT_EQ(session.Resolve(L"Dana"), dana);
    EXPECT_EQ(session.Resolve(L"sam"), nullptr);   // begins two
    EXPECT_EQ(session.Resolve(L"lee@"), nullptr);  // the beginning of an address is no name

    auto oneOff = session.Resolve(L"new@person.example");
    ASSERT_NE(oneOff, nullptr);
    EXPECT_TRUE(oneOff->oneOff);
    EXPECT_EQ(oneOff->address, L"new@person.example");
    EXPECT_EQ(oneOff->addressType, L"SMTP");
    EXPECT_EQ(session.addressBook.Find(oneOff->entryID), oneOff);

    auto named = session.Resolve(L"\"Kim Lo\" <kim@lo.example>");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->name, L"Kim Lo");
    EXPECT_EQ(named->address, L"kim@lo.example");
    // "Name <address>" with a known address gives that entry; an unknown non-address nothing.
    EXPECT_EQ(session.Resolve(L"Someone <lee@PARK.example>"), lee);
    EXPECT_EQ(session.Resolve(L"Someone </o=Nowhere/cn=x>"), nullptr);
    EXPECT_EQ(session.Resolve(L"Dana </o=Acme/ou=Exchange/cn=Recipients/cn=dwhitfield>"), dana);
    EXPECT_EQ(session.Resolve(L"not an address@"), nullptr);
}

TEST_F(SimSessionTest, ContactsResolveToTheirSlotEntriesAndFollowChanges) {
    auto chris = Contact(L"Chris Ode", L"", L"chris@ode.example");
    auto entry = session.Resolve(L"CHRIS ODE");
    ASSERT_NE(entry, nullptr);  // the first non-empty slot is slot 2
    EXPECT_EQ(entry->address, L"chris@ode.example");
    EXPECT_EQ(entry->contactEntryID, chris->EntryID());
    EXPECT_EQ(entry->contactStoreID, session.DefaultStore()->StoreID());
    // The slot's stored entry id opens the same entry.
    const uint32_t idTag =
        mapi::MakeTag(session.DefaultStore()->GetIDsFromNames(mapi::PSETID_Address, 0x8095, false),
                      mapi::PT_BINARY);
    EXPECT_EQ(session.addressBook.Find(mEntryIds::BytesToHex(chris->GetProp(idTag))), entry);

    // A contact without any address does not resolve; a renamed one by its new name only.
    Contact(L"No Mail", L"");
    EXPECT_EQ(session.Resolve(L"No Mail"), nullptr);
    chris->SetText(mapi::PR_DISPLAY_NAME, L"Christine Ode");
    EXPECT_EQ(session.Resolve(L"Chris Ode"), nullptr);
    EXPECT_EQ(session.Resolve(L"christine ode"), entry);

    // A second contact of the same name makes the name ambiguous; deleting it for good ends that.
    auto twin = Contact(L"Christine Ode", L"other@ode.example");
    EXPECT_EQ(session.Resolve(L"Christine Ode"), nullptr);
    const std::wstring twinID = twin->EntryID();
    auto trashed = session.Delete(twin);  // to Deleted Items, which is no address book
    EXPECT_EQ(session.Resolve(L"Christine Ode"), entry);
    EXPECT_TRUE(session.Resolve(L"other@ode.example")->oneOff);
    EXPECT_TRUE(twin->IsRemoved());
    EXPECT_EQ(session.FindItem(twinID), trashed);  // a personal-folders store keeps the id
    EXPECT_EQ(session.Delete(trashed), nullptr);
    EXPECT_EQ(session.FindItem(twinID), nullptr);
    EXPECT_THROW(session.Delete(twin), HostError);
    EXPECT_THROW(session.Delete(trashed), HostError);

    // A slot that stores an address-book entry's id resolves to that entry.
    auto gal = session.addressBook.AddExchange(L"Pat Gal", L"/o=Acme/cn=pgal", L"pat@acme.example");
    auto pat = Contact(L"Patricia Gal", L"");
    session.SetContactEmail(*pat, 1, L"/o=Acme/cn=pgal", L"EX", L"Pat Gal", gal->entryID);
    EXPECT_EQ(session.Resolve(L"Patricia Gal"), gal);
    EXPECT_EQ(session.Resolve(L"Pat Gal"), gal);  // the contact and the entry are one
}

TEST_F(SimSessionTest, NamedPropertyIdsAreStablePerStore) {
    StoreRecord& first = *session.DefaultStore();
    StoreRecord& second = session.AddStore(L"Archive");
    EXPECT_EQ(first.GetIDsFromNames(mapi::PSETID_Common, 0x8530, false), 0U);
    const uint32_t a = first.GetIDsFromNames(mapi::PSETID_Common, 0x8530, true);
    const uint32_t b = first.GetIDsFromNames(mapi::PSETID_Address, 0x8083, true);
    EXPECT_GE(a, 0x8000U);
    EXPECT_NE(a, b);
    EXPECT_EQ(first.GetIDsFromNames(L"{00062008-0000-0000-c000-000000000046}", 0x8530, false), a);
    EXPECT_EQ(second.GetIDsFromNames(mapi::PSETID_Common, 0x8530, false), 0U);
    const uint32_t c = second.GetIDsFromNames(mapi::PSETID_Address, 0x8083, true);
    EXPECT_EQ(c, 0x8000U);  // each store counts on its own

    // Moving an item between stores carries its named properties over to the new ids.
    auto contact = Contact(L"Moved Person", L"moved@person.example");
    contact = session.Move(contact, *second.DefaultFolder(olFolderContacts));
    EXPECT_EQ(&contact->Store(), &second);
    EXPECT_EQ(session.ContactEmailAddress(*contact, 1), L"moved@person.example");
    EXPECT_EQ(session.Resolve(L"Moved Person")->address, L"moved@person.example");
}

TEST_F(SimSessionTest, AGuidInAnyLetterCaseNamesOneProperty) {
    StoreRecord& store = *session.DefaultStore();
    const uint32_t id = store.GetIDsFromNames(L"{00062008-0000-0000-c000-000000000046}", 7, true);
    EXPECT_EQ(store.GetIDsFromNames(L"{00062008-0000-0000-C000-000000000046}", 7, true), id);
    EXPECT_EQ(store.GetIDsFromNames(L"{00062008-0000-0000-C000-000000000046}", 8, false), 0U);
    // The store keeps the GUID in upper case.
    EXPECT_EQ(store.GetNameFromID(id),
              std::make_pair(std::wstring(L"{00062008-0000-0000-C000-000000000046}"), 7U));
}

TEST_F(SimSessionTest, EntryIdsFindTheirItemFolderOrEntryInEitherLetterCase) {
    auto contact = Contact(L"Id Person", L"id@person.example");
    FolderRecord& contacts = *session.DefaultFolder(olFolderContacts);
    auto entry = session.Resolve(L"Id Person");
    ASSERT_NE(entry, nullptr);
    auto lower = [](std::wstring id) {
        for (auto& c : id) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
        return id;
    };
    EXPECT_EQ(session.FindItem(lower(contact->EntryID())), contact);
    EXPECT_EQ(session.FindFolder(lower(contacts.EntryID())), &contacts);
    EXPECT_EQ(session.addressBook.Find(lower(entry->entryID)), entry);
    // An id finds only what it was given to.
    EXPECT_EQ(session.FindItem(contacts.EntryID()), nullptr);
    EXPECT_EQ(session.FindFolder(contact->EntryID()), nullptr);
    EXPECT_EQ(session.addressBook.Find(contact->EntryID()), nullptr);
    // Anything that is not an id of the store finds nothing.
    const std::wstring id = contact->EntryID();
    EXPECT_EQ(session.FindItem(id.substr(1)), nullptr);
    EXPECT_EQ(session.FindItem(id + L"0"), nullptr);
    EXPECT_EQ(session.FindItem(L"1" + id.substr(1)), nullptr);
    EXPECT_EQ(session.FindItem(id.substr(0, id.size() - 1) + L"G"), nullptr);
    EXPECT_EQ(session.FindItem(L""), nullptr);

    for (uint64_t n : {uint64_t{0}, uint64_t{1}, uint64_t{0xABCDEF}, ~uint64_t{0}}) {
        EXPECT_EQ(mEntryIds::EntryIDCounter(mEntryIds::MakeEntryID(n)), n);
    }
    EXPECT_EQ(mEntryIds::EntryIDCounter(mEntryIds::MakeStoreID(1)), std::nullopt);
}

TEST_F(SimSessionTest, MovingCopyingAndRemovingKeepResolutionInStep) {
    auto contact = Contact(L"Roving Person", L"roving@person.example");
    const std::wstring firstID = contact->EntryID();
    FolderRecord& contacts = *session.DefaultFolder(olFolderContacts);
    FolderRecord& inbox = *session.DefaultFolder(olFolderInbox);

    // In a mail folder a contact is no entry; back among the contacts it is again.
    auto moved = session.Move(contact, inbox);
    EXPECT_TRUE(contact->IsRemoved());
    EXPECT_EQ(session.FindItem(firstID), moved);  // a personal-folders store keeps the id
    EXPECT_TRUE(session.Resolve(L"roving@person.example")->oneOff);
    EXPECT_EQ(session.Resolve(L"Roving Person"), nullptr);
    EXPECT_THROW(session.Move(contact, contacts), HostError);
    contact = session.Move(moved, contacts);
    auto entry = session.Resolve(L"Roving Person");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(session.Resolve(L"ROVING@person.example"), entry);

    // A copy keeps the slot's stored entry id, so both stand for one entry; a contact of the
    // same name and another address makes the name ambiguous until it is gone for good.
    auto copy = session.Copy(contact);
    EXPECT_EQ(session.Resolve(L"Roving Person"), entry);
    auto other = Contact(L"Roving Person", L"other@person.example");
    EXPECT_EQ(session.Resolve(L"Roving Person"), nullptr);
    EXPECT_EQ(session.Resolve(L"Roving@Person.example"), entry);
    session.Delete(session.Delete(other));
    session.Delete(copy);
    EXPECT_EQ(session.Resolve(L"Roving Person"), entry);

    // A second address and then none: each key leaves the index with its slot.
    session.SetContactEmail(*contact, 2, L"second@person.example");
    EXPECT_EQ(session.Resolve(L"second@person.example")->address, L"second@person.example");
    session.SetContactEmail(*contact, 1, L"");
    session.SetContactEmail(*contact, 2, L"");
    EXPECT_EQ(session.Resolve(L"Roving Person"), nullptr);
    EXPECT_TRUE(session.Resolve(L"second@person.example")->oneOff);
}

TEST_F(SimSessionTest, GivenIdsMustBeOfTheStoresFormAndFree) {
    auto contact = Contact(L"Id Holder", L"holder@person.example");
    FolderRecord& inbox = *session.DefaultFolder(olFolderInbox);
    auto fresh = session.NewItem(olMailItem, &inbox);
    // Not an id of this store's form, an id an item or a folder has, a saved item: refused.
    EXPECT_THROW(session.GiveEntryID(*fresh, L"0042"), HostError);
    EXPECT_THROW(session.GiveEntryID(*fresh, contact->EntryID()), HostError);
    EXPECT_THROW(session.GiveEntryID(*fresh, inbox.EntryID()), HostError);
    EXPECT_THROW(session.GiveEntryID(inbox, contact->EntryID()), HostError);
    EXPECT_THROW(session.GiveEntryID(*contact, mEntryIds::MakeEntryID(9000)), HostError);
    EXPECT_THROW(session.GiveStoreID(*session.DefaultStore(), mEntryIds::MakeEntryID(1)),
                 HostError);
    EXPECT_TRUE(fresh->EntryID().empty());

    // A free id is kept through the first save, in upper case, and ids made later pass it.
    const std::wstring given = mEntryIds::MakeEntryID(5000);
    std::wstring lower = given;
    for (auto& c : lower) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    session.GiveEntryID(*fresh, lower);
    session.Save(fresh);
    EXPECT_EQ(fresh->EntryID(), given);
    EXPECT_EQ(session.FindItem(given), fresh);
    auto next = session.AddItem(inbox, olMailItem);
    EXPECT_EQ(mEntryIds::EntryIDCounter(next->EntryID()), 5001U);
    // A folder moves to its new id; the old one finds nothing.
    const std::wstring oldFolderID = inbox.EntryID();
    session.GiveEntryID(inbox, mEntryIds::MakeEntryID(6000));
    EXPECT_EQ(session.FindFolder(mEntryIds::MakeEntryID(6000)), &inbox);
    EXPECT_EQ(session.FindFolder(oldFolderID), nullptr);
    session.GiveStoreID(*session.DefaultStore(), mEntryIds::MakeStoreID(7000));
    EXPECT_EQ(session.FindStore(mEntryIds::MakeStoreID(7000)), session.DefaultStore());
    EXPECT_EQ(mEntryIds::EntryIDCounter(session.AddItem(inbox, olMailItem)->EntryID()), 7001U);
}

TEST(PropertyBag, KeepsOneValuePerTagInTagOrder) {
    PropertyBag bag;
    EXPECT_TRUE(bag.empty());
    // More than fit at first, out of order, each a text long enough to live on the heap.
    std::vector<uint32_t> tags;
    for (uint32_t i = 0; i < 40; ++i) {
        tags.push_back((i * 7919U) % 101U);
    }
    for (uint32_t tag : tags) {
        bag[tag] = Variant(L"value of property number " + std::to_wstring(tag));
    }
    ASSERT_EQ(bag.size(), 40U);
    uint32_t previous = 0;
    bool first = true;
    for (const auto& [tag, value] : bag) {
        EXPECT_TRUE(first || tag > previous);
        EXPECT_EQ(*value.String(), L"value of property number " + std::to_wstring(tag));
        previous = tag;
        first = false;
    }

    EXPECT_FALSE(bag.emplace(tags[3], Variant(1)));  // present: left as it is
    EXPECT_TRUE(bag[tags[3]].IsString());
    EXPECT_TRUE(bag.emplace(1000, Variant(2)));
    EXPECT_EQ(bag.count(1000), 1U);
    EXPECT_EQ(bag.erase(1000), 1U);
    EXPECT_EQ(bag.erase(1000), 0U);
    EXPECT_EQ(bag.count(1000), 0U);
    EXPECT_EQ(bag.find(1000), bag.end());
    EXPECT_TRUE(bag[2000].IsEmpty());  // asking with [] adds an empty value
    EXPECT_EQ(bag.size(), 41U);
}

TEST_F(SimSessionTest, NestedListsWithACycleExpandOnce) {
    auto& book = session.addressBook;
    auto a = book.AddList(L"Team A");
    auto b = book.AddList(L"Team B");
    auto x = book.AddSmtp(L"X", L"x@example.com");
    auto y = book.AddSmtp(L"Y", L"y@example.com");
    AddressBook::AddMember(*a, x);
    AddressBook::AddMember(*a, b);
    AddressBook::AddMember(*b, y);
    AddressBook::AddMember(*b, a);  // a cycle
    AddressBook::AddMember(*b, x);
    const auto members = AddressBook::Expand(a);
    ASSERT_EQ(members.size(), 2U);
    EXPECT_EQ(members[0], x);
    EXPECT_EQ(members[1], y);
}

TEST_F(SimSessionTest, BodiesFollowTheHostsRules) {
    auto mail = session.NewItem(olMail);
    EXPECT_EQ(mail->BodyFormat(), olFormatHTML);
    mail->SetBody(L"Dear <you> & co\r\nsecond line");
    EXPECT_NE(mail->HTMLBody().find(L"<body>Dear &lt;you&gt; &amp; co<br>"), std::wstring::npos);
    mail->SetHTMLBody(
        L"<html><head><style>p{}</style></head><body><p>Hello&nbsp;&quot;A&quot;</p>"
        L"Line<br>two &#65;&#x42;</body></html>");
    EXPECT_EQ(mail->Body(), L"Hello\u00A0\"A\"\r\nLine\r\ntwo AB");
    mail->SetBodyFormat(olFormatPlain);
    EXPECT_EQ(mail->BodyFormat(), olFormatPlain);
    EXPECT_FALSE(mail->HasProp(mapi::PR_HTML));
    EXPECT_THROW(mail->SetBodyFormat(7), HostError);
    EXPECT_EQ(mBodyText::HtmlToText(mBodyText::TextToHtml(L"a\r\nb")), L"a\r\nb");
}

}  // namespace
}  // namespace plexa::sim
