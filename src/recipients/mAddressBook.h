// Address entries as the rest of the add-in needs them: an entry's SMTP address (Exchange
// entries included), the shape of an e-mail address, distribution lists replaced by their
// members (nested lists flattened, each list walked once even when lists contain each other),
// duplicate removal, and flat lists of addresses and names for placeholder replacement.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace plexa {

class RDOAddressEntry;
class RDORecipients;
class SafeAddressEntry;
class SafeItem;
class SafeRecipients;

namespace mAddressBook {

// Keys of recipients already met: the recipient type's digit followed by the lower-cased
// address, so one address in To and in CC counts twice.
using SeenSet = std::unordered_set<std::wstring>;

// At least one character before the first "@", one between it and the first "." after it, and
// one after that ".".
bool IsValidEmail(const std::wstring& text);

// The entry's address in lower case; for an Exchange entry whose address is no e-mail address,
// its SMTP address. Never fails: a missing value gives "", and with reportErrors a host error
// reading the entry is written to the error log.
std::wstring SafeGetSmtpAddress(SafeAddressEntry& entry, bool reportErrors);

// Replaces every distribution list among the message's recipients by its members, with the
// list's recipient type, and with removeDuplicates drops recipients whose type and address were
// met already (the later one stays). True when the recipients changed.
bool ExpandRecipients(SafeItem& message, bool removeDuplicates);

// The number of recipients after list expansion; with distinct, each type and address once.
int32_t GetRecipientsCount(SafeRecipients& recipients, bool distinct);
int32_t CountAddressEntry(SafeAddressEntry& entry, SeenSet* seen, int32_t type);

// Appends the addresses and names an entry stands for (a list's members, depth first) and
// returns how many were appended; with a seen-set only those not met before.
int32_t GetAddressesFromAE(SafeAddressEntry& entry, std::vector<std::wstring>& addresses,
                           std::vector<std::wstring>& names, bool smtp, SeenSet* seen,
                           int32_t type);

// The same over the library's session objects, with a contact reference per entry:
// "<contact entry id>;<store id>", or ";" when the entry stands for no contact.
int32_t RdoGetAddressesFromRecipients(RDORecipients& recipients,
                                      std::vector<std::wstring>& addresses,
                                      std::vector<std::wstring>& names,
                                      std::vector<std::wstring>& contactRefs);
int32_t RdoGetAddressesFromAE(RDOAddressEntry& entry, std::vector<std::wstring>& addresses,
                              std::vector<std::wstring>& names,
                              std::vector<std::wstring>& contactRefs);

}  // namespace mAddressBook
}  // namespace plexa
