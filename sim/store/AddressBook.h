// The simulated address book: SMTP and Exchange entries and distribution lists, indexed by
// name and address (letter case ignored, in order, so that the names beginning with a text are
// found as quickly as one name) for a lookup that costs about the same for ten entries or a
// hundred thousand. It also owns the entries made for contacts, list items and typed addresses
// (one-off entries), which are found by entry id but not by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sim/store/AddressEntryRecord.h"

namespace plexa::sim {

class AddressBook {
public:
    // nextCounter hands out a fresh number for every entry made; the entry's id is
    // mEntryIds::MakeEntryID of it.
    explicit AddressBook(std::function<uint64_t()> nextCounter);
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    // Listed entries, found by name and address.
    std::shared_ptr<AddressEntryRecord> AddSmtp(const std::wstring& name,
                                                const std::wstring& address);
    // An Exchange user: its address is the directory name, smtp its SMTP address.
    std::shared_ptr<AddressEntryRecord> AddExchange(const std::wstring& name,
                                                    const std::wstring& directoryName,
                                                    const std::wstring& smtp);
    // A distribution list (an Exchange list when it has an address, a personal one otherwise).
    std::shared_ptr<AddressEntryRecord> AddList(const std::wstring& name,
                                                const std::wstring& address = L"");
    // Adds a member to a list; lists may contain lists, even each other.
    static void AddMember(AddressEntryRecord& list,
                          const std::shared_ptr<AddressEntryRecord>& member);
    // Makes room for that many more entries of any kind (only speed depends on it).
    void Reserve(std::size_t entries);
    // Re-reads a listed entry's name and addresses after they were changed.
    void Reindex(const std::shared_ptr<AddressEntryRecord>& entry);

    // An entry that is not listed: registered by id only (contacts' and list items' entries).
    std::shared_ptr<AddressEntryRecord> NewUnlisted();
    // The one-off SMTP entry for a typed address (one per name and address).
    std::shared_ptr<AddressEntryRecord> OneOff(const std::wstring& name,
                                               const std::wstring& address);

    // Any entry by its entry id (hex digits of either case), or nullptr.
    std::shared_ptr<AddressEntryRecord> Find(const std::wstring& entryID) const;
    // The listed entries whose name, address or SMTP address is the text (letter case ignored).
    const std::vector<std::shared_ptr<AddressEntryRecord>>& Lookup(const std::wstring& text) const;
    // The listed entries whose name begins with a lower-cased text, each once.
    std::vector<std::shared_ptr<AddressEntryRecord>> NamesBeginningWith(
        const std::wstring& lowerPrefix) const;
    // The listed entries, in the order they were added.
    const std::vector<std::shared_ptr<AddressEntryRecord>>& Entries() const { return m_listed; }

    // Every single address a list reaches through its members and their members, each once, in
    // order; a list met again (a cycle) is not walked twice.
    static std::vector<std::shared_ptr<AddressEntryRecord>> Expand(
        const std::shared_ptr<AddressEntryRecord>& list);

private:
    std::shared_ptr<AddressEntryRecord> Listed(std::shared_ptr<AddressEntryRecord> entry);
    std::shared_ptr<AddressEntryRecord> Register();
    void Index(const std::shared_ptr<AddressEntryRecord>& entry);
    void Unindex(const AddressEntryRecord& entry);

    std::function<uint64_t()> m_nextCounter;
    std::vector<std::shared_ptr<AddressEntryRecord>> m_listed;
    // Every entry, by the number its entry id was made from.
    std::unordered_map<uint64_t, std::shared_ptr<AddressEntryRecord>> m_byID;
    std::map<std::wstring, std::vector<std::shared_ptr<AddressEntryRecord>>> m_byKey;
    std::unordered_map<const AddressEntryRecord*, std::vector<std::wstring>> m_keysOf;
    std::unordered_map<std::wstring, std::shared_ptr<AddressEntryRecord>> m_oneOffs;
};

}  // namespace plexa::sim
