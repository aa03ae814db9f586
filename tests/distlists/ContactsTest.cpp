// Finding a recipient's contact by any of its three e-mail addresses, and listing the contacts
// folders of every store with the default Contacts folder first, on the simulated client.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "distlists/mContacts.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "settings/mGlobals.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"

namespace plexa {
namespace {

using sim::FolderRecord;
using sim::ItemRecord;

struct ContactsWorld : test::TestWorld {
    ContactsWorld() { services.host = desktop.Ports(); }

    FolderRecord& Folder(int32_t role) { return *session.DefaultFolder(role); }
    std::shared_ptr<MAPIFolder> Open(FolderRecord& folder) {
        return desktop.host.outlook.Folder(folder);
    }
    std::shared_ptr<ItemRecord> Contact(FolderRecord& folder, const std::wstring& fullName,
                                        const std::vector<std::wstring>& addresses) {
        auto contact = session.AddItem(folder, olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, fullName);
        int slot = 1;
        for (const auto& address : addresses) {
            if (!address.empty()) {
                session.SetContactEmail(*contact, slot, address);
            }
            ++slot;
        }
        return contact;
    }
    std::wstring Found(FolderRecord& folder, const std::wstring& address) {
        auto contact = mContacts::FindContactByEmail(services, Open(folder), address);
        return contact ? contact->FullName() : L"(none)";
    }
    std::vector<std::wstring> Paths(const mContacts::ContactFolders& folders) {
        std::vector<std::wstring> paths;
        for (const auto& folder : folders.Folders()) {
            paths.push_back(mGlobals::GetFolderPath(folder));
        }
        return paths;
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
};

TEST(Contacts, FindContactByEmailMatchesEverySlotAndNothingElse) {
    ContactsWorld w;
    FolderRecord& contacts = w.Folder(olFolderContacts);
    // A folder without any contact yields nothing, and no error.
    EXPECT_EQ(w.Found(contacts, L"ann@acme.example"), L"(none)");
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());

    w.Contact(contacts, L"Ann Smith", {L"ann@acme.example"});
    w.Contact(contacts, L"Bob Lee", {L"", L"bob@home.example", L"bob@lee.example"});
    w.Contact(contacts, L"Carla Diaz", {L"carla@diaz.example", L"c.diaz@work.example"});
    // A mail in the folder is no contact, even with a matching address in its subject.
    w.session.AddItem(contacts, olMail)->SetText(mapi::PR_SUBJECT, L"eve@park.example");

    EXPECT_EQ(w.Found(contacts, L"ann@acme.example"), L"Ann Smith");
    EXPECT_EQ(w.Found(contacts, L"Bob@Home.Example"), L"Bob Lee");  // the second slot
    EXPECT_EQ(w.Found(contacts, L"bob@lee.example"), L"Bob Lee");   // the third slot
    EXPECT_EQ(w.Found(contacts, L"c.diaz@work.example"), L"Carla Diaz");
    EXPECT_EQ(w.Found(contacts, L"eve@park.example"), L"(none)");
    EXPECT_EQ(w.Found(contacts, L"acme.example"), L"(none)");  // whole addresses only
    EXPECT_EQ(w.Found(contacts, L""), L"(none)");              // an empty address is no empty slot
    // A contact in another folder is not found in this one.
    FolderRecord& partners = w.session.AddFolder(contacts, L"Partners", olContactItem);
    w.Contact(partners, L"Frank Ode", {L"frank@ode.example"});
    EXPECT_EQ(w.Found(contacts, L"frank@ode.example"), L"(none)");
    EXPECT_EQ(w.Found(partners, L"frank@ode.example"), L"Frank Ode");
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(Contacts, FindContactByEmailLogsWhatTheHostRefusesAndFindsNothing) {
    ContactsWorld w;
    FolderRecord& contacts = w.Folder(olFolderContacts);
    w.Contact(contacts, L"Ann Smith", {L"ann@acme.example"});
    w.sim.faults.FailAlways(L"MAPITable.FindFirst", HostError(E_FAIL, L"table failed"));
    EXPECT_EQ(w.Found(contacts, L"ann@acme.example"), L"(none)");
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mContacts::FindContactByEmail").size(), 1U);
    w.sim.faults.Clear();
    EXPECT_EQ(w.Found(contacts, L"ann@acme.example"), L"Ann Smith");

    // Without the safe-access library nothing is found, and the reason is logged.
    w.services.host.redemption = nullptr;
    EXPECT_EQ(w.Found(contacts, L"ann@acme.example"), L"(none)");
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mContacts::FindContactByEmail").size(), 2U);
}

TEST(Contacts, CollectContactFoldersListsTheDefaultFolderOnceFirstThenEveryStoreDepthFirst) {
    ContactsWorld w;
    FolderRecord& inbox = w.Folder(olFolderInbox);
    FolderRecord& contacts = w.Folder(olFolderContacts);
    // A contacts folder below the Inbox comes before the default Contacts folder in the tree.
    w.session.AddFolder(inbox, L"Club", olContactItem);
    FolderRecord& partners = w.session.AddFolder(contacts, L"Partners", olContactItem);
    w.session.AddFolder(partners, L"Suppliers", olContactItem);
    w.session.AddFolder(partners, L"Notes about partners", olNoteItem);
    sim::StoreRecord& archive = w.session.AddStore(L"Archive");
    (void)archive;

    mContacts::ContactFolders folders;
    mContacts::CollectContactFolders(w.desktop.host.application->Session(), folders);
    EXPECT_EQ(
        w.Paths(folders),
        (std::vector<std::wstring>{
            L"\\\\Personal Folders\\Contacts", L"\\\\Personal Folders\\Inbox\\Club",
            L"\\\\Personal Folders\\Contacts\\Partners",
            L"\\\\Personal Folders\\Contacts\\Partners\\Suppliers", L"\\\\Archive\\Contacts"}));

    // From a folder: that folder (when it holds contacts) and what lies below it.
    mContacts::ContactFolders below;
    mContacts::CollectContactFolders(w.Open(partners), below);
    EXPECT_EQ(w.Paths(below),
              (std::vector<std::wstring>{L"\\\\Personal Folders\\Contacts\\Partners",
                                         L"\\\\Personal Folders\\Contacts\\Partners\\Suppliers"}));
    // Collecting again into the same list adds nothing twice.
    mContacts::CollectContactFolders(w.desktop.host.application->Session(), below);
    EXPECT_EQ(below.Count(), 5U);

    // The session's list is collected once and kept.
    mContacts::CContactFolderList list;
    EXPECT_EQ(list.Get(w.services).Count(), 5U);
    w.session.AddFolder(inbox, L"Later", olContactItem);
    EXPECT_EQ(list.Get(w.services).Count(), 5U);
    list.Reset();
    EXPECT_EQ(list.Get(w.services).Count(), 6U);
}

TEST(Contacts, CollectContactFoldersSkipsWhatTheHostRefuses) {
    ContactsWorld w;
    FolderRecord& contacts = w.Folder(olFolderContacts);
    w.session.AddFolder(contacts, L"Partners", olContactItem);
    const std::wstring partners = w.session.AddFolder(contacts, L"Old", olContactItem).EntryID();
    w.sim.faults.FailWhen(
        [&partners](std::wstring_view op, std::wstring_view detail) {
            return op == L"MAPIFolder.DefaultItemType" && detail == partners;
        },
        HostError(E_FAIL, L"folder unreadable"));
    mContacts::ContactFolders folders;
    mContacts::CollectContactFolders(w.desktop.host.application->Session(), folders);
    EXPECT_EQ(w.Paths(folders),
              (std::vector<std::wstring>{L"\\\\Personal Folders\\Contacts",
                                         L"\\\\Personal Folders\\Contacts\\Partners"}));
}

}  // namespace
}  // namespace plexa
