// Address entries as the add-in reads them: SMTP addresses of Exchange entries, distribution
// lists replaced by their members, duplicates, counts, and lists that contain each other.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "recipients/mAddressBook.h"
#include "sim/SimHost.h"
#include "sim/redemption/SimRedemption.h"
#include "sim/store/AddressBook.h"
#include "sim/store/ItemRecord.h"
#include "sim/store/SimSession.h"

namespace plexa {
namespace {

using namespace mAddressBook;

struct BookWorld : test::TestWorld {
    BookWorld() {
        auto& book = host.session.addressBook;
        dana = book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dana",
                                L"Dana.Whitfield@Acme.example");
        ann = book.AddSmtp(L"Ann Smith", L"ann@acme.example");
        bob = book.AddSmtp(L"bob@lee.example", L"bob@lee.example");  // a name with "@"
        carla = book.AddSmtp(L"Carla Diaz", L"carla@diaz.example");
        inner = book.AddList(L"Inner circle");
        sim::AddressBook::AddMember(*inner, carla);
        sim::AddressBook::AddMember(*inner, dana);
        club = book.AddList(L"Book club");
        sim::AddressBook::AddMember(*club, ann);
        sim::AddressBook::AddMember(*club, inner);
        sim::AddressBook::AddMember(*club, bob);
    }
    // A saved mail with recipients given as (text, type), bound to a safe item, resolved and
    // saved again (so that a message opened through the library's session sees them resolved).
    std::shared_ptr<SafeMailItem> Mail(std::initializer_list<std::pair<std::wstring, int32_t>> to) {
        auto mail = std::dynamic_pointer_cast<MailItem>(host.application->CreateItem(olMailItem));
        for (const auto& [name, type] : to) {
            mail->GetRecipients()->Add(name)->SetType(type);
        }
        mail->Save();
        auto safe = redemption.CreateSafeMailItem();
        safe->SetItem(mail);
        safe->Recipients()->ResolveAll();
        safe->Save();
        return safe;
    }
    std::vector<std::wstring> Recipients(SafeMailItem& safe) {
        std::vector<std::wstring> out;
        auto r = safe.Recipients();
        for (int32_t i = 1; i <= r->Count(); ++i) {
            out.push_back(std::to_wstring(r->Item(i)->Type()) + L":" +
                          SafeGetSmtpAddress(*r->Item(i)->AddressEntry(), false));
        }
        return out;
    }
    sim::SimHost host{sim};
    sim::SimRedemption redemption{host.outlook};
    std::shared_ptr<sim::AddressEntryRecord> dana, ann, bob, carla, inner, club;
};

TEST(AddressBook, RecognisesTheShapeOfAnEmailAddress) {
    for (const wchar_t* good : {L"a@b.c", L"ann.smith@acme.example", L"x@y.z.w"}) {
        EXPECT_TRUE(IsValidEmail(good)) << good;
    }
    for (const wchar_t* bad : {L"", L"@acme.example", L"ann@.example", L"ann@acme.", L"ann@acme",
                               L"ann.acme.example", L"/o=Acme/cn=ann"}) {
        EXPECT_FALSE(IsValidEmail(bad)) << bad;
    }
}

TEST(AddressBook, SmtpAddressesOfExchangeAndOtherEntries) {
    BookWorld w;
    auto safe = w.Mail({{L"Dana Whitfield", olTo}, {L"Ann Smith", olTo}});
    auto recipients = safe->Recipients();
    EXPECT_EQ(SafeGetSmtpAddress(*recipients->Item(1)->AddressEntry(), true),
              L"dana.whitfield@acme.example");
    EXPECT_EQ(SafeGetSmtpAddress(*recipients->Item(2)->AddressEntry(), true), L"ann@acme.example");
    EXPECT_TRUE(w.log.entries.empty());

    // An entry of another type keeps its raw address and, when asked, says so.
    auto fax = w.host.session.addressBook.AddSmtp(L"Fax line", L"FAX:+1 555 0100");
    fax->addressType = L"FAX";
    auto faxSafe = w.Mail({{L"Fax line", olTo}});
    auto entry = faxSafe->Recipients()->Item(1)->AddressEntry();
    EXPECT_EQ(SafeGetSmtpAddress(*entry, false), L"fax:+1 555 0100");
    EXPECT_TRUE(w.log.entries.empty());
    EXPECT_EQ(SafeGetSmtpAddress(*entry, true), L"fax:+1 555 0100");
    ASSERT_EQ(w.log.Of(LogLevel::Error, L"mAddressBook::SafeGetSmtpAddress").size(), 1u);
    EXPECT_EQ(w.log.entries[0].text, L"strType = 'FAX' oSafeEntry.Address = 'FAX:+1 555 0100'");

    // A failing entry gives "" and never throws; when asked to report, it says why.
    w.sim.faults.FailAlways(L"SafeAddressEntry.Address", HostError(E_FAIL, L"gone"));
    EXPECT_EQ(SafeGetSmtpAddress(*entry, false), L"");
    EXPECT_EQ(w.log.Of(LogLevel::Error).size(), 1u);
    EXPECT_EQ(SafeGetSmtpAddress(*entry, true), L"");
    const auto errors = w.log.Of(LogLevel::Error, L"mAddressBook::SafeGetSmtpAddress");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1].text, L"gone");
}

TEST(AddressBook, ExpandingReplacesListsByMembersAndDropsLaterDuplicates) {
    BookWorld w;
    auto safe = w.Mail({{L"Book club", olCC},
                        {L"ann@acme.example", olTo},
                        {L"Carla Diaz", olTo},
                        {L"Carla Diaz", olCC},
                        {L"carla@DIAZ.example", olTo}});
    EXPECT_TRUE(ExpandRecipients(*safe, true));
    // Walked from the end: the last To Carla stays, the earlier one goes; CC Carla from the
    // list is a duplicate of the CC Carla already met; the list's other members come in with the
    // list's type, the one named by an address as its address alone.
    EXPECT_EQ(w.Recipients(*safe),
              (std::vector<std::wstring>{L"1:ann@acme.example", L"2:carla@diaz.example",
                                         L"1:carla@diaz.example", L"2:ann@acme.example",
                                         L"2:dana.whitfield@acme.example", L"2:bob@lee.example"}));
    auto recipients = safe->Recipients();
    EXPECT_EQ(recipients->Item(4)->Name(), L"Ann Smith");
    EXPECT_EQ(recipients->Item(6)->Name(), L"bob@lee.example");
    for (int32_t i = 1; i <= recipients->Count(); ++i) {
        EXPECT_TRUE(recipients->Item(i)->Resolved());
    }
    EXPECT_FALSE(ExpandRecipients(*safe, true));  // nothing left to change

    // Without duplicate removal only the lists change.
    auto plain = w.Mail({{L"Inner circle", olBCC}, {L"Carla Diaz", olBCC}});
    EXPECT_TRUE(ExpandRecipients(*plain, false));
    EXPECT_EQ(w.Recipients(*plain),
              (std::vector<std::wstring>{L"3:carla@diaz.example", L"3:carla@diaz.example",
                                         L"3:dana.whitfield@acme.example"}));
}

TEST(AddressBook, AnUnresolvedRecipientStaysAndIsReported) {
    BookWorld w;
    auto safe = w.Mail({{L"Nobody We Know", olTo}, {L"Inner circle", olTo}});
    EXPECT_TRUE(ExpandRecipients(*safe, true));
    auto recipients = safe->Recipients();
    ASSERT_EQ(recipients->Count(), 3);
    EXPECT_EQ(recipients->Item(1)->Name(), L"Nobody We Know");
    EXPECT_FALSE(recipients->Item(1)->Resolved());
    const auto errors = w.log.Of(LogLevel::Error, L"mAddressBook::ExpandRecipients");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"Recipient not resolved");
}

TEST(AddressBook, ListsThatContainEachOtherAreWalkedOnce) {
    BookWorld w;
    sim::AddressBook::AddMember(*w.inner, w.club);  // club > inner > club ...
    auto safe = w.Mail({{L"Book club", olTo}});
    EXPECT_TRUE(ExpandRecipients(*safe, false));
    EXPECT_EQ(w.Recipients(*safe),
              (std::vector<std::wstring>{L"1:ann@acme.example", L"1:carla@diaz.example",
                                         L"1:dana.whitfield@acme.example", L"1:bob@lee.example"}));

    auto counted = w.Mail({{L"Book club", olTo}, {L"Ann Smith", olTo}, {L"Ann Smith", olCC}});
    EXPECT_EQ(GetRecipientsCount(*counted->Recipients(), false), 6);
    EXPECT_EQ(GetRecipientsCount(*counted->Recipients(), true), 5);

    auto rdo = w.redemption.CreateRDOSession();
    rdo->SetMAPIOBJECT(w.host.application->Session()->MAPIOBJECT());
    auto message = rdo->GetMessageFromID(counted->EntryID(), L"");
    std::vector<std::wstring> addresses, names, refs;
    EXPECT_EQ(RdoGetAddressesFromRecipients(*message->Recipients(), addresses, names, refs), 6);
    EXPECT_EQ(addresses[2], L"/o=Acme/ou=Exchange/cn=Recipients/cn=dana");  // raw, not SMTP
    EXPECT_EQ(names[0], L"Ann Smith");
    EXPECT_EQ(refs[0], L";");
}

TEST(AddressBook, RdoEntriesCarryTheirContactReference) {
    BookWorld w;
    auto& session = w.host.session;
    auto contact = session.AddItem(*session.DefaultFolder(olFolderContacts), olContact);
    contact->SetText(0x3001001E, L"Eve Stone");
    session.SetContactEmail(*contact, 1, L"eve@stone.example");
    auto safe = w.Mail({{L"Eve Stone", olTo}});
    auto rdo = w.redemption.CreateRDOSession();
    rdo->SetMAPIOBJECT(w.host.application->Session()->MAPIOBJECT());
    std::vector<std::wstring> addresses, names, refs;
    auto entry = rdo->GetMessageFromID(safe->EntryID(), L"")->Recipients()->Item(1)->AddressEntry();
    EXPECT_EQ(RdoGetAddressesFromAE(*entry, addresses, names, refs), 1);
    EXPECT_EQ(addresses[0], L"eve@stone.example");
    EXPECT_EQ(refs[0], contact->EntryID() + L";" + session.DefaultStore()->StoreID());
}

TEST(AddressBook, AFailureHalfwayKeepsWhatWasGatheredAndIsLogged) {
    BookWorld w;
    auto safe = w.Mail({{L"Book club", olTo}});
    auto entry = safe->Recipients()->Item(1)->AddressEntry();
    // The third member's name cannot be read.
    w.sim.faults.FailNth(L"SafeAddressEntry.Name", 3, HostError(E_FAIL, L"The entry is gone"));
    std::vector<std::wstring> addresses, names;
    const int32_t added = GetAddressesFromAE(*entry, addresses, names, true, nullptr, olTo);
    EXPECT_EQ(added, 3);
    EXPECT_EQ(addresses, (std::vector<std::wstring>{L"ann@acme.example", L"carla@diaz.example",
                                                    L"bob@lee.example"}));
    const auto errors = w.log.Of(LogLevel::Error, L"mAddressBook::GetAddressesFromAE");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"The entry is gone");
}

TEST(AddressBook, ExpandingKeepsWhatCannotBeReadAndMembersWithoutAnAddress) {
    BookWorld w;
    // With duplicate removal, a recipient whose entry cannot be read is no duplicate: it stays.
    auto safe = w.Mail({{L"Ann Smith", olTo}, {L"Carla Diaz", olTo}});
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"SafeAddressEntry.Name" && detail == L"Ann Smith";
        },
        HostError(E_FAIL, L"The entry is gone"));
    EXPECT_FALSE(ExpandRecipients(*safe, true));
    w.sim.faults.Clear();
    EXPECT_EQ(w.Recipients(*safe),
              (std::vector<std::wstring>{L"1:ann@acme.example", L"1:carla@diaz.example"}));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mAddressBook::GetAddressesFromAE").size(), 1u);

    // A list whose members cannot all be read stays as it was, with none of them added.
    auto listed = w.Mail({{L"Book club", olTo}});
    w.sim.faults.FailNth(L"SafeAddressEntry.Name", 2, HostError(E_FAIL, L"The entry is gone"));
    EXPECT_FALSE(ExpandRecipients(*listed, true));
    w.sim.faults.Clear();
    auto recipients = listed->Recipients();
    ASSERT_EQ(recipients->Count(), 1);
    EXPECT_EQ(recipients->Item(1)->Name(), L"Book club");
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mAddressBook::GetAddressesFromAE").size(), 2u);

    // A member without an SMTP address comes in by its name (never as "Name <>") and is logged;
    // two of them are not each other's duplicates.
    auto eve = w.host.session.addressBook.AddExchange(L"Eve Early", L"/o=Acme/cn=eve", L"");
    auto fay = w.host.session.addressBook.AddExchange(L"Fay Field", L"/o=Acme/cn=fay", L"");
    sim::AddressBook::AddMember(*w.inner, eve);
    sim::AddressBook::AddMember(*w.inner, fay);
    auto nameOnly = w.Mail({{L"Inner circle", olCC}});
    EXPECT_TRUE(ExpandRecipients(*nameOnly, true));
    recipients = nameOnly->Recipients();
    ASSERT_EQ(recipients->Count(), 4);
    EXPECT_EQ(recipients->Item(3)->Name(), L"Eve Early");
    EXPECT_EQ(recipients->Item(4)->Name(), L"Fay Field");
    for (int32_t i = 1; i <= 4; ++i) {
        EXPECT_TRUE(recipients->Item(i)->Resolved()) << i;
        EXPECT_EQ(recipients->Item(i)->Type(), olCC);
    }
    const auto warnings = w.log.Of(LogLevel::Warning, L"mAddressBook::ExpandRecipients");
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].text, L"Member without an address kept by name: 'Eve Early'");
}

TEST(AddressBook, AResolvedRecipientWithoutAnAddressEntryStaysAndIsReported) {
    BookWorld w;
    const auto saved =
        w.Mail({{L"Ann Smith", olTo}, {L"Inner circle", olTo}, {L"Ann Smith", olTo}});
    // The host answers nothing for the first recipient's entry although it counts as resolved.
    auto record = w.host.session.FindItem(saved->EntryID());
    ASSERT_NE(record, nullptr);
    record->recipients[0]->entry = nullptr;
    // A new item object of the saved message sees it so.
    auto safe = w.redemption.CreateSafeMailItem();
    safe->SetItem(w.host.application->Session()->GetItemFromID(saved->EntryID()));
    ASSERT_TRUE(safe->Recipients()->Item(1)->Resolved());
    ASSERT_EQ(safe->Recipients()->Item(1)->AddressEntry(), nullptr);

    EXPECT_TRUE(ExpandRecipients(*safe, true));
    auto recipients = safe->Recipients();
    ASSERT_EQ(recipients->Count(), 4);  // Ann, Ann, Carla and Dana from the list
    EXPECT_EQ(recipients->Item(1)->AddressEntry(), nullptr);
    const auto errors = w.log.Of(LogLevel::Error, L"mAddressBook::ExpandRecipients");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"Recipient has no address entry");
    EXPECT_EQ(GetRecipientsCount(*recipients, true), 3);
}

TEST(AddressBook, RdoRecipientsThatCannotBeReadLoseOnlyTheirOwnEntries) {
    BookWorld w;
    auto safe = w.Mail({{L"Ann Smith", olTo}, {L"Carla Diaz", olCC}, {L"Book club", olBCC}});
    auto rdo = w.redemption.CreateRDOSession();
    rdo->SetMAPIOBJECT(w.host.application->Session()->MAPIOBJECT());
    auto message = rdo->GetMessageFromID(safe->EntryID(), L"");
    // The second recipient's entry cannot be had.
    w.sim.faults.FailNth(L"RDORecipient.AddressEntry", 2, HostError(E_FAIL, L"gone"));
    std::vector<std::wstring> addresses, names, refs;
    EXPECT_EQ(RdoGetAddressesFromRecipients(*message->Recipients(), addresses, names, refs), 5);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Ann Smith", L"Ann Smith", L"Carla Diaz",
                                                L"Dana Whitfield", L"bob@lee.example"}));
    EXPECT_EQ(refs.size(), 5u);
    EXPECT_EQ(w.sim.faults.Injected(L"RDORecipient.AddressEntry"), 1);
}

}  // namespace
}  // namespace plexa
