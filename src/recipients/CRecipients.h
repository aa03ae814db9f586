// The recipients one command gathers: merged while they are added (one per address whatever its
// letter case, one per name for those without an address), then resolved against the address
// books into an ordered list of display strings, each with the entry ids of the items it came
// from. Lives for one command: created empty, filled by gathering, resolved once, read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "recipients/CEmailRecipient.h"
#include "recipients/CNameRecipient.h"
#include "recipients/KeyedStrings.h"

namespace plexa {

class IProgress;
class SafeRecipients;
class Services;

struct ResolveResult {
    // At least one recipient resolved and the user did not cancel.
    bool resolved = false;
    // The user cancelled in the progress.
    bool cancelled = false;
};

class CRecipients {
public:
    // The resolved recipients; they require a preceding Resolve. Indexes are 1-based; outside
    // 1..GetResolvedCount they throw HostError (subscript out of range).
    int32_t GetResolvedCount() const;
    std::wstring GetResolvedName(int32_t index) const;
    const KeyedStrings& GetResolvedAssocItemIDs(int32_t index) const;

    // Resolves every gathered recipient through one scratch mail that is never saved. With
    // bUseProgressWnd the progress runs stage 2 (it stays open for the caller unless the user
    // cancels); without it the progress is not touched.
    ResolveResult Resolve(Services& services, IProgress& progress, bool bUseProgressWnd);

    // Adds a recipient: by address when email holds an "@", else by name; either may be empty.
    // A non-empty assocItemID is remembered once for the recipient. Discards the resolved list.
    void AddRecipient(const std::wstring& name, const std::wstring& email,
                      const std::wstring& assocItemID);

    void Reset();

    // What gathering produced, in order of creation (for the message composition and tests).
    int32_t EmailRecipientCount() const { return static_cast<int32_t>(m_emails.items.size()); }
    const CEmailRecipient& EmailRecipient(int32_t index) const;
    int32_t NameRecipientCount() const { return static_cast<int32_t>(m_names.items.size()); }
    const CNameRecipient& NameRecipient(int32_t index) const;

private:
    // Records in order of creation, found by a key through a hash index.
    template <typename Record>
    struct Keyed {
        std::vector<std::unique_ptr<Record>> items;
        std::unordered_map<std::wstring, Record*> index;

        Record* Find(const std::wstring& key) const {
            auto it = index.find(key);
            return it == index.end() ? nullptr : it->second;
        }
        Record& Append(const std::wstring& key) {
            items.push_back(std::make_unique<Record>());
            index.emplace(key, items.back().get());
            return *items.back();
        }
        void Clear() {
            items.clear();
            index.clear();
        }
    };

    const CNameRecipient& Resolved(int32_t index) const;
    // The text the recipient is addressed by; "" after an error.
    static std::wstring GetDisplayString(const CEmailRecipient& recipient, SafeRecipients& scratch);
    void AddResolved(const std::wstring& displayString, const KeyedStrings& assocItemIDs);

    Keyed<CEmailRecipient> m_emails;   // by lower-cased address
    Keyed<CNameRecipient> m_names;     // by lower-cased name
    Keyed<CNameRecipient> m_resolved;  // by lower-cased display string
    // The resolved list exists only after Resolve, until the next AddRecipient or Reset.
    bool m_hasResolved = false;
};

}  // namespace plexa
