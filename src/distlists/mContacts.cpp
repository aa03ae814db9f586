#include "distlists/mContacts.h"

#include <algorithm>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OutlookItem.h"
#include "host/redemption/Redemption.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mContacts {

namespace {

constexpr int32_t kRestrictOr = 1;
constexpr int32_t kRelopEqual = 4;

std::wstring FolderKey(MAPIFolder& folder) {
    return text::ToLower(folder.StoreID() + L";" + folder.EntryID());
}

void CollectBelow(const std::shared_ptr<Folders>& folders, ContactFolders& collection);

// A folder and its subfolders. Whatever the host refuses is skipped.
void CollectFolder(const std::shared_ptr<MAPIFolder>& folder, ContactFolders& collection) {
    try {
        if (folder->DefaultItemType() == olContactItem) {
            collection.Add(folder);
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): an unreadable folder is skipped
    }
    try {
        CollectBelow(folder->GetFolders(), collection);
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): so are its subfolders
    }
}

void CollectBelow(const std::shared_ptr<Folders>& folders, ContactFolders& collection) {
    if (!folders) {
        return;
    }
    const int32_t count = folders->Count();
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<MAPIFolder> folder;
        try {
            folder = folders->Item(i);
        } catch (const HostError&) {
            continue;
        }
        if (folder) {
            CollectFolder(folder, collection);
        }
    }
}

}  // namespace

std::shared_ptr<ContactItem> FindContactByEmail(Services& services,
                                                const std::shared_ptr<MAPIFolder>& folder,
                                                const std::wstring& address) {
    if (!folder || address.empty()) {
        return nullptr;
    }
    try {
        HostPorts& host = services.ConnectedHost();
        auto contacts = folder->GetItems()->Restrict(kContactFilter);
        if (contacts->Count() == 0) {
            return nullptr;
        }
        // The slots' property tags belong to the store; any contact of it can name them.
        std::shared_ptr<OutlookItem> first;
        try {
            first = contacts->GetFirst();
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the tags then fail below
        }
        auto utils = host.redemption->CreateMAPIUtils();
        auto table = host.redemption->CreateMAPITable();
        table->SetItem(contacts);
        table->FilterClear();
        table->FilterSetKind(kRestrictOr);
        int restrictions = 0;
        for (const uint32_t lid : mapi::LID_EMAIL_ADDRESS) {
            const uint32_t id = utils->GetIDsFromNames(first, mapi::PSETID_Address, lid, false);
            if (id == 0) {
                continue;  // no contact of this store ever used the slot
            }
            table->FilterAdd(
                MAPITableRestriction{id | mapi::PT_STRING8, kRelopEqual, Variant(address)});
            ++restrictions;
        }
        if (restrictions == 0) {
            return nullptr;
        }
        table->SetColumns({mapi::PR_ENTRYID, mapi::PR_SUBJECT});
        if (!table->FilterFindFirst(true)) {
            return nullptr;
        }
        const std::vector<Variant> row = table->GetRow();
        if (row.empty()) {
            return nullptr;
        }
        const std::wstring entryID = utils->HrArrayToString(row.front());
        return std::dynamic_pointer_cast<ContactItem>(
            host.application->Session()->GetItemFromID(entryID, folder->StoreID()));
    } catch (const HostError& e) {
        mGlobals::LogError(L"mContacts::FindContactByEmail", e, L"address '" + address + L"'");
        return nullptr;
    }
}

bool ContactFolders::Add(const std::shared_ptr<MAPIFolder>& folder) {
    std::wstring key = FolderKey(*folder);
    if (std::find(m_keys.begin(), m_keys.end(), key) != m_keys.end()) {
        return false;
    }
    m_keys.push_back(std::move(key));
    m_folders.push_back(folder);
    return true;
}

void ContactFolders::Clear() {
    m_folders.clear();
    m_keys.clear();
}

void CollectContactFolders(const std::shared_ptr<OutlookObject>& parent,
                           ContactFolders& collection) {
    if (!parent) {
        return;
    }
    try {
        if (parent->Class() == olFolder) {
            if (auto folder = std::dynamic_pointer_cast<MAPIFolder>(parent)) {
                CollectFolder(folder, collection);
            }
            return;
        }
        auto session = std::dynamic_pointer_cast<NameSpace>(parent);
        if (!session) {
            return;
        }
        try {
            collection.Add(session->GetDefaultFolder(olFolderContacts));
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a store without Contacts
        }
        CollectBelow(session->GetFolders(), collection);
    } catch (const HostError& e) {
        mGlobals::LogDebug(L"mContacts::CollectContactFolders", e.Description(), 2);
    }
}

const ContactFolders& CContactFolderList::Get(Services& services) {
    if (!m_collected) {
        m_folders.Clear();
        try {
            CollectContactFolders(services.ConnectedHost().application->Session(), m_folders);
            m_collected = true;
        } catch (const HostError& e) {
            mGlobals::LogError(L"mContacts::CollectContactFolders", e);
        }
    }
    return m_folders;
}

void CContactFolderList::Reset() {
    m_folders.Clear();
    m_collected = false;
}

}  // namespace plexa::mContacts
