#include "recipients/mAddressBook.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/redemption/Redemption.h"
#include "settings/mGlobals.h"

namespace plexa::mAddressBook {

namespace {

using Expanding = std::unordered_set<std::wstring>;

std::wstring SeenKey(int32_t type, const std::wstring& address) {
    return std::to_wstring(type) + text::ToLower(address);
}

// What identifies a list while it is being expanded: its entry id, or its name and address
// when the entry has none.
template <typename Entry>
std::wstring ListKey(Entry& entry) {
    std::wstring id = entry.EntryID();
    return id.empty() ? entry.Name() + L"\n" + entry.Address() : id;
}

// The walk every expansion shares: when the entry is a list, adds what visit gives for each of
// its members to total and returns true. A list met again below itself (lists may contain each
// other) adds nothing the second time. Errors of the host reach the caller, with total holding
// what the members before them gave.
template <typename Entry, typename Visit>
bool ForEachMemberOnce(Entry& entry, Expanding& expanding, int32_t& total, Visit&& visit) {
    auto members = entry.Members();
    if (!members) {
        return false;
    }
    const std::wstring key = ListKey(entry);
    if (!expanding.insert(key).second) {
        return true;  // the list contains itself: its members are being added already
    }
    const int32_t count = members->Count();
    for (int32_t i = 1; i <= count; ++i) {
        total += visit(*members->Item(i));
    }
    expanding.erase(key);
    return true;
}

std::wstring TextOf(const Variant& v) {
    try {
        return CStr(v);
    } catch (const HostError&) {
        return {};
    }
}

// failed is set when an entry could not be read: what was appended before stays.
int32_t AddressesFromAE(SafeAddressEntry& entry, std::vector<std::wstring>& addresses,
                        std::vector<std::wstring>& names, bool smtp, SeenSet* seen, int32_t type,
                        Expanding& expanding, bool& failed) {
    int32_t added = 0;
    try {
        if (ForEachMemberOnce(entry, expanding, added, [&](SafeAddressEntry& member) {
                return AddressesFromAE(member, addresses, names, smtp, seen, type, expanding,
                                       failed);
            })) {
            return added;
        }
        const std::wstring address =
            text::Trim(smtp ? SafeGetSmtpAddress(entry, true) : entry.Address());
        const std::wstring name = text::Trim(entry.Name());
        // An entry without an address is nobody's duplicate.
        if (seen != nullptr && !address.empty() && !seen->insert(SeenKey(type, address)).second) {
            return 0;
        }
        addresses.push_back(address);
        names.push_back(name);
        return 1;
    } catch (const HostError& e) {
        mGlobals::LogError(L"mAddressBook::GetAddressesFromAE", e);
        failed = true;
        return added;
    }
}

int32_t CountEntry(SafeAddressEntry& entry, SeenSet* seen, int32_t type, Expanding& expanding) {
    int32_t count = 0;
    try {
        if (ForEachMemberOnce(entry, expanding, count, [&](SafeAddressEntry& member) {
                return CountEntry(member, seen, type, expanding);
            })) {
            return count;
        }
        if (seen != nullptr) {
            seen->insert(SeenKey(type, entry.Address()));
        }
        return 1;
    } catch (const HostError&) {
        return count;  // counting never fails its caller
    }
}

int32_t RdoAddressesFromAE(RDOAddressEntry& entry, std::vector<std::wstring>& addresses,
                           std::vector<std::wstring>& names, std::vector<std::wstring>& contactRefs,
                           Expanding& expanding) {
    int32_t added = 0;
    try {
        if (ForEachMemberOnce(entry, expanding, added, [&](RDOAddressEntry& member) {
                return RdoAddressesFromAE(member, addresses, names, contactRefs, expanding);
            })) {
            return added;
        }
        const std::wstring address = text::Trim(entry.Address());
        const std::wstring name = text::Trim(entry.Name());
        std::wstring reference = L";";
        if (auto contact = entry.GetContact()) {
            reference = contact->EntryID() + L";" + contact->StoreID();
        }
        addresses.push_back(address);
        names.push_back(name);
        contactRefs.push_back(reference);
        return 1;
    } catch (const HostError& e) {
        mGlobals::LogError(L"mAddressBook::RdoGetAddressesFromAE", e);
        return added;
    }
}

}  // namespace

bool IsValidEmail(const std::wstring& textValue) {
    const std::size_t at = textValue.find(L'@');
    if (at == std::wstring::npos || at == 0) {
        return false;
    }
    const std::size_t dot = textValue.find(L'.', at);
    return dot != std::wstring::npos && dot > at + 1 && textValue.size() > dot + 1;
}

std::wstring SafeGetSmtpAddress(SafeAddressEntry& entry, bool reportErrors) {
    std::wstring address;
    try {
        address = entry.Address();
        if (!IsValidEmail(address)) {
            const std::wstring type = TextOf(entry.Fields(mapi::PR_ADDRTYPE));
            if (type == L"EX") {
                address = TextOf(entry.Fields(mapi::PR_SMTP_ADDRESS));
            } else if (type != L"SMTP" && reportErrors) {
                mGlobals::LogError(
                    L"mAddressBook::SafeGetSmtpAddress", 0,
                    L"strType = '" + type + L"' oSafeEntry.Address = '" + address + L"'");
            }
        }
    } catch (const HostError& e) {
        // An unreadable entry gives "", and the caller goes on; said in the log when asked to,
        // so that a recipient who comes without an address is never lost without a word.
        if (reportErrors) {
            mGlobals::LogError(L"mAddressBook::SafeGetSmtpAddress", e);
        }
        address.clear();
    }
    return text::ToLower(address);
}

bool ExpandRecipients(SafeItem& message, bool removeDuplicates) {
    bool changed = false;
    try {
        SeenSet seenSet;
        SeenSet* seen = removeDuplicates ? &seenSet : nullptr;
        auto recipients = message.Recipients();
        // From the end: members added during the walk are never visited, and of two duplicates
        // the later one stays.
        for (int32_t i = recipients->Count(); i >= 1; --i) {
            auto recipient = recipients->Item(i);
            if (!recipient->Resolved()) {
                mGlobals::LogError(L"mAddressBook::ExpandRecipients", 0, L"Recipient not resolved");
                continue;
            }
            auto entry = recipient->AddressEntry();
            if (!entry) {
                mGlobals::LogError(L"mAddressBook::ExpandRecipients", 0,
                                   L"Recipient has no address entry");
                continue;
            }
            const int32_t type = recipient->Type();
            std::vector<std::wstring> addresses;
            std::vector<std::wstring> names;
            Expanding expanding;
            bool failed = false;
            if (entry->Members()) {
                // A list that cannot be read through stays whole (the error is logged).
                AddressesFromAE(*entry, addresses, names, true, seen, type, expanding, failed);
                if (failed) {
                    continue;
                }
                changed = true;
                for (std::size_t j = 0; j < addresses.size(); ++j) {
                    std::wstring textValue = addresses[j];
                    if (addresses[j].empty()) {
                        // "Name <>" never resolves: the member is kept by its name.
                        mGlobals::LogWarning(
                            L"mAddressBook::ExpandRecipients",
                            L"Member without an address kept by name: '" + names[j] + L"'", 1);
                        textValue = names[j];
                    } else if (names[j].find(L'@') == std::wstring::npos) {
                        textValue = names[j] + L" <" + addresses[j] + L">";
                    }
                    if (textValue.empty()) {
                        continue;
                    }
                    auto added = recipients->Add(textValue);
                    added->SetType(type);
                    added->Resolve();
                }
                recipients->Remove(i);
            } else if (removeDuplicates) {
                // An entry that cannot be read is no duplicate: it stays as it was.
                if (AddressesFromAE(*entry, addresses, names, true, seen, type, expanding,
                                    failed) == 0 &&
                    !failed) {
                    recipients->Remove(i);
                    changed = true;
                }
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mAddressBook::ExpandRecipients", e);
    }
    return changed;
}

int32_t GetRecipientsCount(SafeRecipients& recipients, bool distinct) {
    SeenSet seenSet;
    SeenSet* seen = distinct ? &seenSet : nullptr;
    int32_t total = 0;
    try {
        const int32_t count = recipients.Count();
        for (int32_t i = 1; i <= count; ++i) {
            try {
                auto recipient = recipients.Item(i);
                auto entry = recipient->AddressEntry();
                if (entry) {
                    total += CountAddressEntry(*entry, seen, recipient->Type());
                }
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): counting goes on
            }
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no recipients: none counted
    }
    return distinct ? static_cast<int32_t>(seenSet.size()) : total;
}

int32_t CountAddressEntry(SafeAddressEntry& entry, SeenSet* seen, int32_t type) {
    Expanding expanding;
    return CountEntry(entry, seen, type, expanding);
}

int32_t GetAddressesFromAE(SafeAddressEntry& entry, std::vector<std::wstring>& addresses,
                           std::vector<std::wstring>& names, bool smtp, SeenSet* seen,
                           int32_t type) {
    Expanding expanding;
    bool failed = false;
    return AddressesFromAE(entry, addresses, names, smtp, seen, type, expanding, failed);
}

int32_t RdoGetAddressesFromRecipients(RDORecipients& recipients,
                                      std::vector<std::wstring>& addresses,
                                      std::vector<std::wstring>& names,
                                      std::vector<std::wstring>& contactRefs) {
    int32_t total = 0;
    try {
        const int32_t count = recipients.Count();
        for (int32_t i = 1; i <= count; ++i) {
            // One recipient that cannot be read loses only its own placeholder data.
            try {
                if (auto entry = recipients.Item(i)->AddressEntry()) {
                    total += RdoGetAddressesFromAE(*entry, addresses, names, contactRefs);
                }
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the next one counts
            }
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no recipients: none read
    }
    return total;
}

int32_t RdoGetAddressesFromAE(RDOAddressEntry& entry, std::vector<std::wstring>& addresses,
                              std::vector<std::wstring>& names,
                              std::vector<std::wstring>& contactRefs) {
    Expanding expanding;
    return RdoAddressesFromAE(entry, addresses, names, contactRefs, expanding);
}

}  // namespace plexa::mAddressBook
