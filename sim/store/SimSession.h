// The simulated message-store session: its stores, the address book, the entry-id indexes, the
// resolution of names and addresses, and the transport. The host objects of the simulation are
// thin views over these records; the operations here are what they share (saving, copying,
// moving, deleting, sending), without the host's events or fault checks, which the views add.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/IClock.h"
#include "sim/Faults.h"
#include "sim/store/AddressBook.h"
#include "sim/store/FolderRecord.h"
#include "sim/store/ItemRecord.h"
#include "sim/store/StoreRecord.h"
#include "sim/store/Transmission.h"

namespace plexa::sim {

class SimSession {
public:
    SimSession(Faults& faults, IClock& clock);
    ~SimSession();
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    Faults& faults;
    IClock& clock;
    // The client's major version (12 = 2007): decides the few behaviours that differ.
    int32_t outlookMajorVersion = 12;
    // Who sends: the profile's user.
    std::wstring userName = L"Plexa User";
    std::wstring userAddress = L"user@example.com";
    AddressBook addressBook;
    // Every message that left through the transport, oldest first (while keepTransmissions).
    std::vector<Transmission> transmissions;
    bool keepTransmissions = true;
    // Told of every message as it leaves, before it is kept (or dropped).
    std::function<void(const Transmission&)> onTransmitted;
    // The client's "save copies of messages in the Sent Items folder" option.
    bool saveSentMessages = true;

    // Stores. A store comes with its top folder (named after it) and the default folders
    // (Deleted Items, Inbox, Outbox, Sent Items, Calendar, Contacts, Journal, Notes, Tasks,
    // Drafts and, when asked, Junk E-mail). The first store added is the default one unless
    // another asks to be.
    StoreRecord& AddStore(const std::wstring& name, bool isDefault = false, bool withJunk = true);
    StoreRecord* DefaultStore() const { return m_defaultStore; }
    const std::vector<std::unique_ptr<StoreRecord>>& Stores() const { return m_stores; }
    StoreRecord* FindStore(const std::wstring& storeID) const;
    // A default folder (OlDefaultFolders) of the default store, or nullptr.
    FolderRecord* DefaultFolder(int32_t role) const;
    FolderRecord& AddFolder(FolderRecord& parent, const std::wstring& name,
                            int32_t defaultItemType);
    // A folder by entry id, in any store or in the given one; nullptr when unknown.
    FolderRecord* FindFolder(const std::wstring& entryID, const std::wstring& storeID = L"") const;

    // Ids a saved mailbox gives back. SkipIDsThrough makes every id made from now on come after
    // counter, so that none meets an id the file has yet to give; the Give calls give a store,
    // a folder, or an item not yet saved the id the file recorded for it. They throw HostError
    // (E_INVALIDARG) for a text that is no id of this client's form, or an id something else
    // has; an item already saved keeps its id (E_FAIL).
    void SkipIDsThrough(uint64_t counter);
    void GiveStoreID(StoreRecord& store, const std::wstring& storeID);
    void GiveEntryID(FolderRecord& folder, const std::wstring& entryID);
    void GiveEntryID(ItemRecord& unsavedItem, const std::wstring& entryID);

    // Makes room in the indexes for what is about to be added (a mailbox being loaded): items in
    // all, the contacts and distribution lists among them, and address-book entries. Only speed
    // depends on it.
    void Reserve(std::size_t items, std::size_t contacts, std::size_t entries);

    // A new unsaved item of an OlObjectClass; a first Save puts it in target, or in the default
    // folder of its kind (Drafts for mail).
    std::shared_ptr<ItemRecord> NewItem(int32_t objectClass, FolderRecord* target = nullptr);
    // A saved item in a folder, as a mailbox holds it.
    std::shared_ptr<ItemRecord> AddItem(FolderRecord& folder, int32_t objectClass);
    // An item by entry id, in any store or in the given one; nullptr when unknown or removed.
    std::shared_ptr<ItemRecord> FindItem(const std::wstring& entryID,
                                         const std::wstring& storeID = L"") const;

    // Saves an item: a new one lands in its folder and gets an entry id. Raises the folder's
    // ItemAdd or ItemChange. Throws HostError for a removed item or a missing default folder.
    void Save(const std::shared_ptr<ItemRecord>& item);

    // A host object's own copy of a stored item, which it changes until it saves.
    std::shared_ptr<ItemRecord> CopyToEdit(const std::shared_ptr<ItemRecord>& stored);
    // Writes a copy's changes to its stored item and saves that (see Save); the copy then has
    // no changes.
    void SaveCopy(ItemRecord& copy);
    // Drops a copy's changes: it shows the stored item again.
    void DropChanges(ItemRecord& copy);

    // A saved duplicate in the same folder with every property, user property, recipient (with
    // its type), link and list member, under a new entry id.
    std::shared_ptr<ItemRecord> Copy(const std::shared_ptr<ItemRecord>& item);
    // Moves the item (saving a new one first) and returns it as it is in the destination: a
    // record of its own, the one given is gone (IsRemoved). It keeps its entry id within a
    // personal-folders store and gets a new one in a server mailbox or another store. Named
    // properties are carried over to the destination store's ids.
    std::shared_ptr<ItemRecord> Move(const std::shared_ptr<ItemRecord>& item,
                                     FolderRecord& destination);
    // Moves the item to its store's Deleted Items as Move does; there, or in a store without
    // Deleted Items, removes it for good. The moved item, or nullptr when removed.
    std::shared_ptr<ItemRecord> Delete(const std::shared_ptr<ItemRecord>& item);
    // The transport: resolves what is unresolved (throws HostError when a recipient does not
    // resolve or there is none), records the transmission with the folder the item was
    // submitted from, and keeps a copy in Sent Items under a new entry id (with the client's
    // option on). The client's own
    // send takes the item through the Outbox (a new item is saved there) and it is gone
    // afterwards; with leaveInPlace (the safe library's send) an item is saved where it is,
    // and one outside the Outbox stays there.
    void Submit(const std::shared_ptr<ItemRecord>& item, bool leaveInPlace = false);

    // The entry a text resolves to, as the client resolves a typed name (letter case ignored):
    // "Name <address>" and a bare SMTP address resolve to the one entry with that address, or
    // else to a one-off entry for it; any other text to the one entry whose display name or
    // address it is (a contact's full name stands for each of its addresses, so a contact with
    // two is ambiguous), or with none, to the one entry whose display name begins with it.
    // Nothing when no entry or several match.
    std::shared_ptr<AddressEntryRecord> Resolve(const std::wstring& raw);
    // Resolves a recipient in place; true when it is resolved.
    bool ResolveRecipient(RecipientRecord& recipient);

    // Contacts' e-mail slots 1 to 3, kept in the PSETID_Address named properties of the
    // contact's store. An empty address clears the slot. Without an entry id the slot gets the
    // entry id of the contact's own entry for it.
    void SetContactEmail(ItemRecord& contact, int slot, const std::wstring& address,
                         const std::wstring& addressType = L"SMTP",
                         const std::wstring& displayName = L"",
                         const std::wstring& entryIDHex = L"");
    std::wstring ContactEmailAddress(const ItemRecord& contact, int slot) const;
    // The address entry a contact's slot stands for (the stored entry id's entry when it is
    // known, else the contact's own entry); nullptr for an empty slot.
    std::shared_ptr<AddressEntryRecord> ContactEntry(ItemRecord& contact, int slot);

    // Keeps the indexes in step with a property change (called by ItemRecord).
    void OnPropChanged(ItemRecord& item, uint32_t tag);

private:
    struct Candidate {
        ItemRecord* item;
        int slot;     // 1..3, or 0 for the item's name
        bool byName;  // a display name (else an address)
    };
    std::wstring NextEntryID();
    // Throws unless no folder, item or address entry has the id.
    void CheckEntryIDFree(uint64_t counter, const std::wstring& entryID) const;
    void CreateDefaultFolders(StoreRecord& store, bool withJunk);
    FolderRecord* DefaultFolderFor(const ItemRecord& item) const;
    void Place(const std::shared_ptr<ItemRecord>& item, FolderRecord& folder, bool newEntryID);
    // The item moved to folder as a record of its own; the given one is left removed.
    std::shared_ptr<ItemRecord> Relocate(const std::shared_ptr<ItemRecord>& item,
                                         FolderRecord& folder);
    void Unplace(ItemRecord& item);
    void Remove(const std::shared_ptr<ItemRecord>& item);
    void Reindex(ItemRecord& item);
    void Unindex(ItemRecord& item);
    // Adds the entries whose display name or address is key (namesOnly: display names only), or
    // with prefix, whose display name begins with it.
    void AddMatches(const std::wstring& key, bool namesOnly, bool prefix,
                    std::vector<std::shared_ptr<AddressEntryRecord>>& found);
    std::shared_ptr<AddressEntryRecord> ResolveAddress(const std::wstring& name,
                                                       const std::wstring& address);
    // The name a contact's slot has in the address book.
    std::wstring SlotDisplayName(const ItemRecord& contact, int slot) const;
    const std::wstring& SlotAddress(const ItemRecord& contact, int slot) const;
    std::shared_ptr<AddressEntryRecord> EntryOf(ItemRecord& item, int slot);
    void RefreshListEntry(ItemRecord& item);
    void Touch(ItemRecord& item);

    uint64_t m_nextID = 1;
    std::vector<std::unique_ptr<StoreRecord>> m_stores;
    StoreRecord* m_defaultStore = nullptr;
    // Saved items and folders by the number their entry id was made from: parsing an id is
    // cheaper than hashing its 48 characters, and ids made one after another sit side by side.
    std::unordered_map<uint64_t, std::shared_ptr<ItemRecord>> m_items;
    std::unordered_map<uint64_t, FolderRecord*> m_folders;
    // Contacts and list items of contact folders by lower-cased name and address, in order (the
    // names beginning with a text sit together). Each item keeps the keys of its buckets
    // (ItemRecord::m_indexKeys) to leave them again.
    std::map<std::wstring, std::vector<Candidate>> m_contactIndex;
    bool m_indexing = false;
};

}  // namespace plexa::sim
