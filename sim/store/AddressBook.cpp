#include "sim/store/AddressBook.h"

#include <algorithm>
#include <unordered_set>

#include "core/Text.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {

namespace {
const std::vector<std::shared_ptr<AddressEntryRecord>> kNone;
}

AddressBook::AddressBook(std::function<uint64_t()> nextCounter)
    : m_nextCounter(std::move(nextCounter)) {}

std::shared_ptr<AddressEntryRecord> AddressBook::Register() {
    auto entry = std::make_shared<AddressEntryRecord>();
    const uint64_t counter = m_nextCounter();
    entry->entryID = mEntryIds::MakeEntryID(counter);
    m_byID.emplace(counter, entry);
    return entry;
}

void AddressBook::Reserve(std::size_t entries) {
    m_byID.reserve(m_byID.size() + entries);
}

std::shared_ptr<AddressEntryRecord> AddressBook::Listed(std::shared_ptr<AddressEntryRecord> entry) {
    m_listed.push_back(entry);
    Index(entry);
    return entry;
}

std::shared_ptr<AddressEntryRecord> AddressBook::AddSmtp(const std::wstring& name,
                                                         const std::wstring& address) {
    auto entry = Register();
    entry->name = name;
    entry->address = address;
    entry->addressType = L"SMTP";
    return Listed(std::move(entry));
}

std::shared_ptr<AddressEntryRecord> AddressBook::AddExchange(const std::wstring& name,
                                                             const std::wstring& directoryName,
                                                             const std::wstring& smtp) {
    auto entry = Register();
    entry->name = name;
    entry->address = directoryName;
    entry->addressType = L"EX";
    entry->smtpAddress = smtp;
    return Listed(std::move(entry));
}

std::shared_ptr<AddressEntryRecord> AddressBook::AddList(const std::wstring& name,
                                                         const std::wstring& address) {
    auto entry = Register();
    entry->name = name;
    entry->address = address;
    entry->addressType = address.empty() ? L"MAPIPDL" : L"EX";
    entry->isList = true;
    return Listed(std::move(entry));
}

void AddressBook::AddMember(AddressEntryRecord& list,
                            const std::shared_ptr<AddressEntryRecord>& member) {
    list.isList = true;
    list.members.push_back(member);
}

void AddressBook::Index(const std::shared_ptr<AddressEntryRecord>& entry) {
    std::vector<std::wstring> keys;
    for (const std::wstring* field : {&entry->name, &entry->address, &entry->smtpAddress}) {
        if (field->empty()) {
            continue;
        }
        std::wstring key = text::ToLower(*field);
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
            continue;
        }
        m_byKey[key].push_back(entry);
        keys.push_back(std::move(key));
    }
    m_keysOf[entry.get()] = std::move(keys);
}

void AddressBook::Unindex(const AddressEntryRecord& entry) {
    const auto it = m_keysOf.find(&entry);
    if (it == m_keysOf.end()) {
        return;
    }
    for (const auto& key : it->second) {
        auto& bucket = m_byKey[key];
        bucket.erase(std::remove_if(bucket.begin(), bucket.end(),
                                    [&](const auto& e) { return e.get() == &entry; }),
                     bucket.end());
        if (bucket.empty()) {
            m_byKey.erase(key);
        }
    }
    m_keysOf.erase(it);
}

void AddressBook::Reindex(const std::shared_ptr<AddressEntryRecord>& entry) {
    if (m_keysOf.count(entry.get()) == 0) {
        return;  // not listed
    }
    Unindex(*entry);
    Index(entry);
}

std::shared_ptr<AddressEntryRecord> AddressBook::NewUnlisted() {
    return Register();
}

std::shared_ptr<AddressEntryRecord> AddressBook::OneOff(const std::wstring& name,
                                                        const std::wstring& address) {
    const std::wstring key = name + L'\n' + text::ToLower(address);
    const auto it = m_oneOffs.find(key);
    if (it != m_oneOffs.end()) {
        return it->second;
    }
    auto entry = Register();
    entry->name = name;
    entry->address = address;
    entry->addressType = L"SMTP";
    entry->oneOff = true;
    m_oneOffs.emplace(key, entry);
    return entry;
}

std::shared_ptr<AddressEntryRecord> AddressBook::Find(const std::wstring& entryID) const {
    const auto counter = mEntryIds::EntryIDCounter(entryID);
    if (!counter) {
        return nullptr;
    }
    const auto it = m_byID.find(*counter);
    return it == m_byID.end() ? nullptr : it->second;
}

const std::vector<std::shared_ptr<AddressEntryRecord>>& AddressBook::Lookup(
    const std::wstring& text) const {
    const auto it = m_byKey.find(text::ToLower(text));
    return it == m_byKey.end() ? kNone : it->second;
}

std::vector<std::shared_ptr<AddressEntryRecord>> AddressBook::NamesBeginningWith(
    const std::wstring& lowerPrefix) const {
    std::vector<std::shared_ptr<AddressEntryRecord>> found;
    for (auto it = m_byKey.lower_bound(lowerPrefix);
         it != m_byKey.end() && it->first.starts_with(lowerPrefix); ++it) {
        for (const auto& entry : it->second) {
            // The key may be an address; the entry counts by its name only.
            if (text::ToLower(entry->name) == it->first &&
                std::find(found.begin(), found.end(), entry) == found.end()) {
                found.push_back(entry);
            }
        }
    }
    return found;
}

std::vector<std::shared_ptr<AddressEntryRecord>> AddressBook::Expand(
    const std::shared_ptr<AddressEntryRecord>& list) {
    std::vector<std::shared_ptr<AddressEntryRecord>> result;
    std::unordered_set<const AddressEntryRecord*> seen;
    std::vector<std::shared_ptr<AddressEntryRecord>> stack{list};
    seen.insert(list.get());
    // Depth first, members in order: push them reversed.
    while (!stack.empty()) {
        auto current = std::move(stack.back());
        stack.pop_back();
        if (!current->isList) {
            result.push_back(current);
            continue;
        }
        auto members = current->Members();
        for (auto it = members.rbegin(); it != members.rend(); ++it) {
            if (seen.insert(it->get()).second) {
                stack.push_back(*it);
            }
        }
    }
    return result;
}

}  // namespace plexa::sim
