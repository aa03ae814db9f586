#include "sim/store/SimSession.h"

#include <algorithm>

#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {

namespace {

constexpr uint32_t PR_CLIENT_SUBMIT_TIME = 0x00390040;
constexpr uint32_t PR_LAST_MODIFICATION_TIME = 0x30080040;
const wchar_t* const kOutlook = L"Microsoft Outlook";

HostError Deleted() {
    return HostError(OL_E_OBJECT_DELETED, L"The item has been moved or deleted.", kOutlook);
}

const wchar_t* MessageClassOf(int32_t objectClass) {
    switch (objectClass) {
        case olContact:
            return L"IPM.Contact";
        case olDistributionList:
            return L"IPM.DistList";
        case olAppointment:
            return L"IPM.Appointment";
        case olTask:
            return L"IPM.Task";
        case olNote:
            return L"IPM.StickyNote";
        case olJournal:
            return L"IPM.Activity";
        case olPost:
            return L"IPM.Post";
        default:
            return L"IPM.Note";
    }
}

int32_t DefaultRoleOf(int32_t objectClass) {
    switch (objectClass) {
        case olContact:
        case olDistributionList:
            return olFolderContacts;
        case olAppointment:
            return olFolderCalendar;
        case olTask:
            return olFolderTasks;
        case olNote:
            return olFolderNotes;
        case olJournal:
            return olFolderJournal;
        case olPost:
            return olFolderInbox;
        default:
            return olFolderDrafts;
    }
}

bool IsSmtpAddress(const std::wstring& text) {
    const size_t at = text.find(L'@');
    if (at == std::wstring::npos || at == 0 || at + 1 >= text.size() ||
        text.find(L'@', at + 1) != std::wstring::npos) {
        return false;
    }
    return std::none_of(text.begin(), text.end(), [](wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'<' || c == L'>' || c == L',' || c == L';';
    });
}

// The number behind an entry id the session made.
uint64_t CounterOf(const std::wstring& entryID) {
    return mEntryIds::EntryIDCounter(entryID).value_or(0);
}

uint32_t SlotTag(const StoreRecord& store, uint32_t lid, uint16_t type) {
    auto& mutableStore = const_cast<StoreRecord&>(store);
    const uint32_t id = mutableStore.GetIDsFromNames(mapi::PSETID_Address, lid, false);
    return id == 0 ? 0 : mapi::MakeTag(id, type);
}

}  // namespace

SimSession::SimSession(Faults& faults, IClock& clock)
    : faults(faults), clock(clock), addressBook([this] { return m_nextID++; }) {}

SimSession::~SimSession() = default;

std::wstring SimSession::NextEntryID() {
    return mEntryIds::MakeEntryID(m_nextID++);
}

// ---------------------------------------------------------------------------------------------
// Stores and folders

StoreRecord& SimSession::AddStore(const std::wstring& name, bool isDefault, bool withJunk) {
    const bool makeDefault = isDefault || m_defaultStore == nullptr;
    auto store =
        std::make_unique<StoreRecord>(mEntryIds::MakeStoreID(m_nextID++), name, makeDefault);
    StoreRecord& ref = *store;
    ref.m_top = std::make_unique<FolderRecord>(ref, nullptr, NextEntryID(), name, olMailItem);
    m_folders.emplace(CounterOf(ref.m_top->EntryID()), ref.m_top.get());
    CreateDefaultFolders(ref, withJunk);
    if (makeDefault) {
        if (m_defaultStore != nullptr) {
            m_defaultStore->m_isDefault = false;
        }
        m_defaultStore = &ref;
    }
    m_stores.push_back(std::move(store));
    return ref;
}

void SimSession::CreateDefaultFolders(StoreRecord& store, bool withJunk) {
    struct Default {
        int32_t role;
        const wchar_t* name;
        int32_t itemType;
    };
    static const Default kDefaults[] = {
        {olFolderDeletedItems, L"Deleted Items", olMailItem},
        {olFolderInbox, L"Inbox", olMailItem},
        {olFolderOutbox, L"Outbox", olMailItem},
        {olFolderSentMail, L"Sent Items", olMailItem},
        {olFolderCalendar, L"Calendar", olAppointmentItem},
        {olFolderContacts, L"Contacts", olContactItem},
        {olFolderJournal, L"Journal", olJournalItem},
        {olFolderNotes, L"Notes", olNoteItem},
        {olFolderTasks, L"Tasks", olTaskItem},
        {olFolderDrafts, L"Drafts", olMailItem},
        {olFolderJunk, L"Junk E-mail", olMailItem},
    };
    for (const auto& d : kDefaults) {
        if (d.role == olFolderJunk && !withJunk) {
            continue;
        }
        store.SetDefaultFolder(d.role, &AddFolder(*store.TopFolder(), d.name, d.itemType));
    }
}

StoreRecord* SimSession::FindStore(const std::wstring& storeID) const {
    for (const auto& store : m_stores) {
        if (text::EqualsNoCase(store->StoreID(), storeID)) {
            return store.get();
        }
    }
    return nullptr;
}

FolderRecord* SimSession::DefaultFolder(int32_t role) const {
    return m_defaultStore == nullptr ? nullptr : m_defaultStore->DefaultFolder(role);
}

FolderRecord& SimSession::AddFolder(FolderRecord& parent, const std::wstring& name,
                                    int32_t defaultItemType) {
    auto folder = std::make_unique<FolderRecord>(parent.Store(), &parent, NextEntryID(), name,
                                                 defaultItemType);
    FolderRecord& ref = *folder;
    m_folders.emplace(CounterOf(ref.EntryID()), &ref);
    parent.m_subfolders.push_back(std::move(folder));
    return ref;
}

FolderRecord* SimSession::FindFolder(const std::wstring& entryID,
                                     const std::wstring& storeID) const {
    const auto counter = mEntryIds::EntryIDCounter(entryID);
    const auto it = counter ? m_folders.find(*counter) : m_folders.end();
    if (it == m_folders.end()) {
        return nullptr;
    }
    if (!storeID.empty() && !text::EqualsNoCase(it->second->Store().StoreID(), storeID)) {
        return nullptr;
    }
    return it->second;
}

// ---------------------------------------------------------------------------------------------
// Items

void SimSession::Reserve(std::size_t items, std::size_t contacts, std::size_t entries) {
    m_items.reserve(m_items.size() + items);
    // Besides the entries, one for each contact's address and each list item.
    addressBook.Reserve(entries + contacts);
}

std::shared_ptr<ItemRecord> SimSession::NewItem(int32_t objectClass, FolderRecord* target) {
    StoreRecord* store = target != nullptr ? &target->Store() : m_defaultStore;
    if (store == nullptr) {
        throw HostError(E_FAIL, L"The message store is not available.", kOutlook);
    }
    auto item = std::make_shared<ItemRecord>(*this, objectClass, *store);
    item->m_saveTarget = target;
    item->m_props[mapi::PR_MESSAGE_CLASS] = Variant(MessageClassOf(objectClass));
    if (objectClass == olMail) {
        // A new mail is read and not sent: a draft.
        item->m_props[mapi::PR_MESSAGE_FLAGS] = Variant(mapi::MSGFLAG_READ | mapi::MSGFLAG_UNSENT);
        item->m_props[mapi::PR_MSG_EDITOR_FORMAT] = Variant(olFormatHTML);
        item->m_props[mapi::PR_HTML] = Variant(L"<html><head></head><body></body></html>");
    }
    if (objectClass == olDistributionList) {
        item->listEntry = addressBook.NewUnlisted();
        item->listEntry->isList = true;
        item->listEntry->addressType = L"MAPIPDL";
    }
    return item;
}

std::shared_ptr<ItemRecord> SimSession::AddItem(FolderRecord& folder, int32_t objectClass) {
    auto item = NewItem(objectClass, &folder);
    Save(item);
    return item;
}

std::shared_ptr<ItemRecord> SimSession::FindItem(const std::wstring& entryID,
                                                 const std::wstring& storeID) const {
    const auto counter = mEntryIds::EntryIDCounter(entryID);
    const auto it = counter ? m_items.find(*counter) : m_items.end();
    if (it == m_items.end()) {
        return nullptr;
    }
    if (!storeID.empty() && !text::EqualsNoCase(it->second->Store().StoreID(), storeID)) {
        return nullptr;
    }
    return it->second;
}

FolderRecord* SimSession::DefaultFolderFor(const ItemRecord& item) const {
    return item.Store().DefaultFolder(DefaultRoleOf(item.ObjectClass()));
}

void SimSession::Touch(ItemRecord& item) {
    item.m_props[PR_LAST_MODIFICATION_TIME] = Variant(clock.NowUtc());
}

void SimSession::Place(const std::shared_ptr<ItemRecord>& item, FolderRecord& folder,
                       bool newEntryID) {
    if (newEntryID || item->m_entryID.empty()) {
        if (!item->m_entryID.empty()) {
            m_items.erase(CounterOf(item->m_entryID));
        }
        item->m_entryID = NextEntryID();
    }
    item->m_folder = &folder;
    if (&item->Store() != &folder.Store()) {
        // Named properties take the destination store's ids.
        PropertyBag carried;
        for (auto& [tag, value] : item->m_props) {
            const uint32_t id = mapi::PropId(tag);
            if (id < 0x8000) {
                carried.emplace(tag, std::move(value));
                continue;
            }
            const auto [guid, lid] = item->Store().GetNameFromID(id);
            const uint32_t newId =
                guid.empty() ? 0 : folder.Store().GetIDsFromNames(guid, lid, true);
            if (newId != 0) {
                carried.emplace(mapi::MakeTag(newId, mapi::PropType(tag)), std::move(value));
            }
        }
        item->m_props = std::move(carried);
        item->m_store = &folder.Store();
    }
    folder.m_items.push_back(item);
    m_items[CounterOf(item->m_entryID)] = item;
    RefreshListEntry(*item);
    Reindex(*item);
    folder.ContentChanged();
    folder.ItemAdd.Emit(item);
}

void SimSession::Unplace(ItemRecord& item) {
    FolderRecord* folder = item.m_folder;
    if (folder == nullptr) {
        return;
    }
    auto& items = folder->m_items;
    items.erase(
        std::remove_if(items.begin(), items.end(), [&](const auto& i) { return i.get() == &item; }),
        items.end());
    item.m_folder = nullptr;
    Unindex(item);
    folder->ContentChanged();
    folder->ItemRemove.Emit();
}

void SimSession::Remove(const std::shared_ptr<ItemRecord>& item) {
    Unplace(*item);
    if (!item->m_entryID.empty()) {
        m_items.erase(CounterOf(item->m_entryID));
    }
    item->m_slotEntries = {};
    item->m_removed = true;
}

void SimSession::Save(const std::shared_ptr<ItemRecord>& item) {
    if (item->IsRemoved()) {
        throw Deleted();
    }
    Touch(*item);
    if (item->IsSaved()) {
        RefreshListEntry(*item);
        Reindex(*item);
        item->m_folder->ContentChanged();
        item->m_folder->ItemChange.Emit(item);
        return;
    }
    FolderRecord* folder =
        item->m_saveTarget != nullptr ? item->m_saveTarget : DefaultFolderFor(*item);
    if (folder == nullptr) {
        throw HostError(MAPI_E_NOT_FOUND, L"The folder to save the item in does not exist.",
                        kOutlook);
    }
    // A new item gets its id now, unless a loaded mailbox gave it one already.
    Place(item, *folder, false);
}

std::shared_ptr<ItemRecord> SimSession::Copy(const std::shared_ptr<ItemRecord>& item) {
    if (item->IsRemoved()) {
        throw Deleted();
    }
    FolderRecord* folder = item->m_folder;
    if (folder == nullptr) {
        folder = item->m_saveTarget != nullptr ? item->m_saveTarget : DefaultFolderFor(*item);
    }
    if (folder == nullptr) {
        throw HostError(MAPI_E_NOT_FOUND, L"The folder to copy the item to does not exist.",
                        kOutlook);
    }
    auto copy = std::make_shared<ItemRecord>(*this, item->ObjectClass(), item->Store());
    copy->m_props = item->m_props;
    copy->recipients = item->CopyRecipients();
    copy->m_categories = item->m_categories;
    copy->userProperties = item->userProperties;
    copy->links = item->links;
    if (item->listEntry) {
        copy->listEntry = addressBook.NewUnlisted();
        const auto entryID = copy->listEntry->entryID;
        *copy->listEntry = *item->listEntry;
        copy->listEntry->entryID = entryID;
    }
    Place(copy, *folder, true);
    return copy;
}

std::shared_ptr<ItemRecord> SimSession::CopyToEdit(const std::shared_ptr<ItemRecord>& stored) {
    auto copy = std::make_shared<ItemRecord>(*this, stored->ObjectClass(), stored->Store());
    copy->m_stored = stored;
    copy->CopyContentFrom(*stored);
    return copy;
}

void SimSession::SaveCopy(ItemRecord& copy) {
    const std::shared_ptr<ItemRecord> stored = copy.m_stored;
    if (!stored || stored->IsRemoved()) {
        throw Deleted();
    }
    stored->CopyContentFrom(copy);
    Save(stored);
    // The save's own properties (the modification time) show in the copy too.
    copy.m_props = stored->m_props;
    copy.m_changed = false;
}

void SimSession::DropChanges(ItemRecord& copy) {
    if (copy.m_stored) {
        copy.CopyContentFrom(*copy.m_stored);
    }
    copy.m_changed = false;
}

std::shared_ptr<ItemRecord> SimSession::Relocate(const std::shared_ptr<ItemRecord>& item,
                                                 FolderRecord& folder) {
    const bool keepID = &folder.Store() == &item->Store() && item->Store().Kind() == StoreKind::Pst;
    auto moved = std::make_shared<ItemRecord>(*this, item->ObjectClass(), item->Store());
    moved->m_props = std::move(item->m_props);
    moved->recipients = std::move(item->recipients);
    moved->userProperties = std::move(item->userProperties);
    moved->links = std::move(item->links);
    moved->m_categories = std::move(item->m_categories);
    moved->listEntry = std::move(item->listEntry);
    moved->m_slotEntries = std::move(item->m_slotEntries);
    item->m_slotEntries = {};
    Unplace(*item);
    if (!item->m_entryID.empty()) {
        m_items.erase(CounterOf(item->m_entryID));
    }
    item->m_removed = true;
    if (keepID) {
        moved->m_entryID = item->m_entryID;
    }
    Place(moved, folder, !keepID);
    for (const auto& entry : moved->m_slotEntries) {
        if (entry) {
            entry->contactEntryID = moved->EntryID();
            entry->contactStoreID = moved->Store().StoreID();
        }
    }
    return moved;
}

std::shared_ptr<ItemRecord> SimSession::Move(const std::shared_ptr<ItemRecord>& item,
                                             FolderRecord& destination) {
    if (item->IsRemoved()) {
        throw Deleted();
    }
    if (!item->IsSaved()) {
        Save(item);
    }
    if (item->m_folder == &destination) {
        return item;
    }
    return Relocate(item, destination);
}

std::shared_ptr<ItemRecord> SimSession::Delete(const std::shared_ptr<ItemRecord>& item) {
    if (item->IsRemoved()) {
        throw Deleted();
    }
    FolderRecord* deleted = item->Store().DefaultFolder(olFolderDeletedItems);
    if (!item->IsSaved() || deleted == nullptr || item->m_folder == deleted) {
        Remove(item);
        return nullptr;
    }
    return Relocate(item, *deleted);
}

void SimSession::Submit(const std::shared_ptr<ItemRecord>& item, bool leaveInPlace) {
    if (item->IsRemoved()) {
        throw Deleted();
    }
    if (item->recipients.empty()) {
        throw HostError(E_FAIL,
                        L"There must be at least one name or distribution list in the To, Cc, "
                        L"or Bcc box.",
                        kOutlook);
    }
    for (auto& recipient : item->recipients) {
        if (!ResolveRecipient(*recipient)) {
            throw HostError(E_FAIL, L"Outlook does not recognize one or more names.", kOutlook);
        }
    }
    StoreRecord& store = item->Store();
    FolderRecord* outbox = store.DefaultFolder(olFolderOutbox);
    std::shared_ptr<ItemRecord> leaving = item;
    if (!item->IsSaved()) {
        if (leaveInPlace || outbox == nullptr) {
            Save(item);
        } else {
            Place(item, *outbox, false);
        }
    }
    FolderRecord* submittedFrom = item->m_folder;
    // What the spooler takes from the Outbox leaves it; the safe library leaves anything else
    // where it is.
    const bool stays = leaveInPlace && outbox != nullptr && item->m_folder != outbox;
    if (!leaveInPlace && outbox != nullptr && item->m_folder != outbox) {
        leaving = Relocate(item, *outbox);
    }

    const OleDate now = clock.NowUtc();
    Transmission sent;
    sent.timeUtc = now;
    sent.submittedFrom = submittedFrom != nullptr ? submittedFrom->Path() : L"";
    sent.senderName = userName;
    sent.senderAddress = userAddress;
    for (const auto& recipient : leaving->recipients) {
        TransmittedRecipient out;
        out.name = recipient->name;
        out.type = recipient->type;
        out.address = recipient->Address();
        out.addressType = recipient->AddressType();
        for (const auto& entry : AddressBook::Expand(recipient->entry)) {
            const std::wstring smtp = entry->SmtpAddress();
            if (!smtp.empty()) {
                out.smtpAddresses.push_back(smtp);
            }
        }
        sent.recipients.push_back(std::move(out));
    }
    sent.subject = leaving->GetText(mapi::PR_SUBJECT);
    sent.body = leaving->Body();
    sent.bodyFormat = leaving->BodyFormat();
    sent.htmlBody = sent.bodyFormat == olFormatPlain ? L"" : leaving->GetText(mapi::PR_HTML);
    sent.properties = std::map<uint32_t, Variant>(leaving->m_props.begin(), leaving->m_props.end());
    sent.userProperties = leaving->userProperties;

    // What went out is sent: the flag that made it a draft, or a message on its way, is gone.
    int32_t flags = mapi::MSGFLAG_READ;
    const Variant oldFlags = leaving->GetProp(mapi::PR_MESSAGE_FLAGS);
    if (const auto* old = std::get_if<int32_t>(&oldFlags.Raw())) {
        flags |= *old & ~(mapi::MSGFLAG_UNSENT | mapi::MSGFLAG_SUBMIT);
    }
    if (!stays) {
        Remove(leaving);
    } else {
        leaving->m_props[mapi::PR_MESSAGE_FLAGS] = Variant(flags);
    }
    FolderRecord* sentItems = saveSentMessages ? store.DefaultFolder(olFolderSentMail) : nullptr;
    if (sentItems != nullptr) {
        auto kept = std::make_shared<ItemRecord>(*this, leaving->ObjectClass(), store);
        kept->m_props = leaving->m_props;
        kept->recipients = leaving->CopyRecipients();
        kept->m_categories = leaving->m_categories;
        kept->userProperties = leaving->userProperties;
        kept->links = leaving->links;
        kept->m_props[PR_CLIENT_SUBMIT_TIME] = Variant(now);
        kept->m_props[mapi::PR_MESSAGE_DELIVERY_TIME] = Variant(now);
        kept->m_props[mapi::PR_SENT_REPRESENTING_NAME] = Variant(userName);
        kept->m_props[mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS] = Variant(userAddress);
        kept->m_props[mapi::PR_MESSAGE_FLAGS] = Variant(flags);
        // The spooler moves what it sent from the Outbox to Sent Items: a personal-folders
        // store keeps the entry id through the move, a server mailbox gives a new one. A
        // message sent where it lies stays there, and Sent Items gets a copy of it.
        const bool keepsID = !stays && store.Kind() == StoreKind::Pst;
        if (keepsID) {
            kept->m_entryID = leaving->m_entryID;
        }
        Place(kept, *sentItems, !keepsID);
        sent.sentEntryID = kept->EntryID();
    }
    if (onTransmitted) {
        onTransmitted(sent);
    }
    if (keepTransmissions) {
        transmissions.push_back(std::move(sent));
    }
}

// ---------------------------------------------------------------------------------------------
// Resolution

void SimSession::AddMatches(const std::wstring& key, bool namesOnly, bool prefix,
                            std::vector<std::shared_ptr<AddressEntryRecord>>& found) {
    auto take = [&found](std::shared_ptr<AddressEntryRecord> entry) {
        if (entry && std::find(found.begin(), found.end(), entry) == found.end()) {
            found.push_back(std::move(entry));
        }
    };
    // Filling a contact's entry (ContactEntry) leaves the index as it is.
    auto takeCandidates = [&](const std::vector<Candidate>& bucket) {
        for (const auto& candidate : bucket) {
            if (namesOnly && !candidate.byName) {
                continue;
            }
            if (candidate.slot > 0 || candidate.item->ObjectClass() == olDistributionList) {
                take(EntryOf(*candidate.item, candidate.slot));
                continue;
            }
            // A contact's full name stands for every address it has.
            for (int k = 1; k <= 3; ++k) {
                take(EntryOf(*candidate.item, k));
            }
        }
    };
    if (!prefix) {
        for (const auto& entry : addressBook.Lookup(key)) {
            if (!namesOnly || text::EqualsNoCase(entry->name, key)) {
                take(entry);
            }
        }
        const auto it = m_contactIndex.find(text::ToLower(key));
        if (it != m_contactIndex.end()) {
            takeCandidates(it->second);
        }
        return;
    }
    const std::wstring lower = text::ToLower(key);
    for (auto& entry : addressBook.NamesBeginningWith(lower)) {
        take(std::move(entry));
    }
    std::vector<const std::vector<Candidate>*> buckets;
    for (auto it = m_contactIndex.lower_bound(lower);
         it != m_contactIndex.end() && it->first.starts_with(lower); ++it) {
        buckets.push_back(&it->second);
    }
    for (const auto* bucket : buckets) {
        takeCandidates(*bucket);
    }
}

std::shared_ptr<AddressEntryRecord> SimSession::EntryOf(ItemRecord& item, int slot) {
    if (item.ObjectClass() == olDistributionList) {
        return item.listEntry;
    }
    return slot > 0 ? ContactEntry(item, slot) : nullptr;
}

std::shared_ptr<AddressEntryRecord> SimSession::ResolveAddress(const std::wstring& name,
                                                               const std::wstring& address) {
    std::vector<std::shared_ptr<AddressEntryRecord>> found;
    AddMatches(address, false, false, found);
    std::erase_if(found, [&](const auto& entry) {
        return !text::EqualsNoCase(entry->address, address) &&
               !text::EqualsNoCase(entry->smtpAddress, address);
    });
    if (found.size() == 1) {
        return found.front();
    }
    // A typed address stands for itself, even when several entries share it.
    if (IsSmtpAddress(address)) {
        return addressBook.OneOff(name.empty() ? address : name, address);
    }
    return nullptr;
}

std::shared_ptr<AddressEntryRecord> SimSession::Resolve(const std::wstring& raw) {
    const std::wstring t = text::TrimSpacesTabs(raw);
    if (t.empty()) {
        return nullptr;
    }
    if (t.back() == L'>') {
        const size_t lt = t.rfind(L'<');
        if (lt != std::wstring::npos) {
            std::wstring name = text::TrimSpacesTabs(t.substr(0, lt));
            if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') {
                name = name.substr(1, name.size() - 2);
            }
            const std::wstring address = text::TrimSpacesTabs(t.substr(lt + 1, t.size() - lt - 2));
            return address.empty() ? nullptr : ResolveAddress(name, address);
        }
    }
    if (IsSmtpAddress(t)) {
        return ResolveAddress(L"", t);
    }
    // A name (or a directory address): exactly one entry must match it, else the name is
    // ambiguous; with none, a unique beginning of a display name will do.
    std::vector<std::shared_ptr<AddressEntryRecord>> found;
    AddMatches(t, false, false, found);
    if (found.empty()) {
        AddMatches(t, true, true, found);
    }
    return found.size() == 1 ? found.front() : nullptr;
}

bool SimSession::ResolveRecipient(RecipientRecord& recipient) {
    if (recipient.resolved && recipient.entry) {
        return true;
    }
    auto entry = Resolve(recipient.name);
    if (!entry) {
        return false;
    }
    recipient.entry = entry;
    recipient.name = entry->name;
    recipient.resolved = true;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Contacts and list items

void SimSession::SetContactEmail(ItemRecord& contact, int slot, const std::wstring& address,
                                 const std::wstring& addressType, const std::wstring& displayName,
                                 const std::wstring& entryIDHex) {
    if (slot < 1 || slot > 3) {
        throw HostError(E_INVALIDARG, L"A contact has e-mail slots 1 to 3.", kOutlook);
    }
    const size_t k = static_cast<size_t>(slot - 1);
    const std::wstring_view guid = mapi::PSETID_Address;
    m_indexing = true;  // one reindex at the end, not one per property
    try {
        if (address.empty()) {
            for (uint32_t lid : {mapi::LID_EMAIL_ADDRESS[k], mapi::LID_EMAIL_DISPLAY_NAME[k],
                                 mapi::LID_EMAIL_ADDRTYPE[k]}) {
                const uint32_t id = contact.Store().GetIDsFromNames(guid, lid, false);
                if (id != 0) {
                    contact.RemoveProp(mapi::MakeTag(id, mapi::PT_STRING8));
                }
            }
            const uint32_t id =
                contact.Store().GetIDsFromNames(guid, mapi::LID_EMAIL_ENTRYID[k], false);
            if (id != 0) {
                contact.RemoveProp(mapi::MakeTag(id, mapi::PT_BINARY));
            }
        } else {
            contact.SetNamed(guid, mapi::LID_EMAIL_ADDRESS[k], mapi::PT_STRING8, Variant(address));
            contact.SetNamed(guid, mapi::LID_EMAIL_ADDRTYPE[k], mapi::PT_STRING8,
                             Variant(addressType));
            if (!displayName.empty()) {
                contact.SetNamed(guid, mapi::LID_EMAIL_DISPLAY_NAME[k], mapi::PT_STRING8,
                                 Variant(displayName));
            }
            std::wstring id = entryIDHex;
            if (id.empty()) {
                auto& own = contact.m_slotEntries[k];
                if (!own) {
                    own = addressBook.NewUnlisted();
                }
                id = own->entryID;
            }
            contact.SetNamed(guid, mapi::LID_EMAIL_ENTRYID[k], mapi::PT_BINARY,
                             mEntryIds::HexToBytes(id));
        }
    } catch (...) {
        m_indexing = false;
        throw;
    }
    m_indexing = false;
    Reindex(contact);
    if (!address.empty()) {
        // The slot's own entry is filled now, so that opening it by its stored entry id (as the
        // safe-access library does) finds its address before anyone resolved the contact.
        ContactEntry(contact, slot);
    }
}

std::wstring SimSession::ContactEmailAddress(const ItemRecord& contact, int slot) const {
    return SlotAddress(contact, slot);
}

const std::wstring& SimSession::SlotAddress(const ItemRecord& contact, int slot) const {
    static const std::wstring kNone;
    if (slot < 1 || slot > 3) {
        return kNone;
    }
    const uint32_t tag =
        SlotTag(contact.Store(), mapi::LID_EMAIL_ADDRESS[slot - 1], mapi::PT_STRING8);
    return tag == 0 ? kNone : contact.TextRef(tag);
}

std::wstring SimSession::SlotDisplayName(const ItemRecord& contact, int slot) const {
    const std::wstring& address = SlotAddress(contact, slot);
    const uint32_t nameTag =
        SlotTag(contact.Store(), mapi::LID_EMAIL_DISPLAY_NAME[slot - 1], mapi::PT_STRING8);
    std::wstring name = nameTag == 0 ? L"" : contact.GetText(nameTag);
    if (!name.empty()) {
        return name;
    }
    const std::wstring& fullName = contact.TextRef(mapi::PR_DISPLAY_NAME);
    if (fullName.empty()) {
        return address;
    }
    int filled = 0;
    for (int k = 1; k <= 3; ++k) {
        filled += SlotAddress(contact, k).empty() ? 0 : 1;
    }
    // With several addresses the contact stands in the address book once for each.
    return filled > 1 ? fullName + L" (" + address + L")" : fullName;
}

std::shared_ptr<AddressEntryRecord> SimSession::ContactEntry(ItemRecord& contact, int slot) {
    const std::wstring address = ContactEmailAddress(contact, slot);
    if (address.empty()) {
        return nullptr;
    }
    const size_t k = static_cast<size_t>(slot - 1);
    const StoreRecord& store = contact.Store();
    auto& own = contact.m_slotEntries[k];
    const uint32_t idTag = SlotTag(store, mapi::LID_EMAIL_ENTRYID[k], mapi::PT_BINARY);
    if (idTag != 0) {
        const std::wstring stored = mEntryIds::BytesToHex(contact.GetProp(idTag));
        if (!stored.empty() && (!own || !text::EqualsNoCase(stored, own->entryID))) {
            if (auto entry = addressBook.Find(stored)) {
                return entry;
            }
        }
    }
    if (!own) {
        own = addressBook.NewUnlisted();
    }
    const uint32_t typeTag = SlotTag(store, mapi::LID_EMAIL_ADDRTYPE[k], mapi::PT_STRING8);
    own->name = SlotDisplayName(contact, slot);
    own->address = address;
    const std::wstring type = typeTag == 0 ? L"" : contact.GetText(typeTag);
    own->addressType = type.empty() ? L"SMTP" : type;
    own->contactEntryID = contact.EntryID();
    own->contactStoreID = store.StoreID();
    return own;
}

void SimSession::RefreshListEntry(ItemRecord& item) {
    if (!item.listEntry) {
        return;
    }
    item.listEntry->name = item.GetText(mapi::PR_SUBJECT);
    item.listEntry->contactEntryID = item.EntryID();
    item.listEntry->contactStoreID = item.Store().StoreID();
}

void SimSession::OnPropChanged(ItemRecord& item, uint32_t tag) {
    if (m_indexing || item.m_folder == nullptr) {
        return;
    }
    const int32_t cls = item.ObjectClass();
    if (cls != olContact && cls != olDistributionList) {
        return;
    }
    if (tag == mapi::PR_DISPLAY_NAME || tag == mapi::PR_SUBJECT || mapi::PropId(tag) >= 0x8000) {
        RefreshListEntry(item);
        Reindex(item);
    }
}

void SimSession::Unindex(ItemRecord& item) {
    // The keys are distinct, so a bucket erased here (and its key with it) is not met again.
    for (const std::wstring* key : item.m_indexKeys) {
        const auto bucket = m_contactIndex.find(*key);
        if (bucket == m_contactIndex.end()) {
            continue;
        }
        auto& list = bucket->second;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const Candidate& c) { return c.item == &item; }),
                   list.end());
        if (list.empty()) {
            m_contactIndex.erase(bucket);
        }
    }
    item.m_indexKeys.clear();
}

void SimSession::Reindex(ItemRecord& item) {
    Unindex(item);
    const int32_t cls = item.ObjectClass();
    if (item.m_folder == nullptr || item.m_removed ||
        item.m_folder->DefaultItemType() != olContactItem ||
        (cls != olContact && cls != olDistributionList)) {
        return;
    }
    auto& keys = item.m_indexKeys;
    auto add = [&](const std::wstring& value, int slot, bool byName) {
        if (value.empty()) {
            return;
        }
        const auto bucket = m_contactIndex.try_emplace(text::ToLower(value)).first;
        auto& list = bucket->second;
        if (std::none_of(list.begin(), list.end(), [&](const Candidate& c) {
                return c.item == &item && c.slot == slot && c.byName == byName;
            })) {
            list.push_back(Candidate{&item, slot, byName});
        }
        // A bucket's key stays where it is while the bucket lives, rehashing or not.
        const std::wstring* key = &bucket->first;
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            keys.push_back(key);
        }
    };
    if (cls == olDistributionList) {
        add(item.TextRef(mapi::PR_SUBJECT), 0, true);
        return;
    }
    const std::wstring& fullName = item.TextRef(mapi::PR_DISPLAY_NAME);
    add(fullName, 0, true);
    for (int k = 1; k <= 3; ++k) {
        const std::wstring& address = SlotAddress(item, k);
        if (address.empty()) {
            continue;
        }
        add(address, k, false);
        const std::wstring name = SlotDisplayName(item, k);
        if (!text::EqualsNoCase(name, fullName)) {
            add(name, k, true);
        }
    }
}

}  // namespace plexa::sim
