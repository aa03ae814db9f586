// Recipients of an item and the address-book entries behind them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Variant.h"

namespace plexa {

class AddressEntries;

class AddressEntry : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"AddressEntry"; }
    virtual std::wstring Name() = 0;
    // The entry's address: an e-mail address for SMTP, a directory name for EX.
    virtual std::wstring Address() = 0;
    // The address type: "SMTP" or "EX".
    virtual std::wstring Type() = 0;
    // The members of a distribution list; nothing for a single address.
    virtual std::shared_ptr<AddressEntries> Members() = 0;
};

class AddressEntries : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"AddressEntries"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<AddressEntry> Item(int32_t index) = 0;
};

class Recipient : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Recipient"; }
    virtual std::wstring Name() = 0;
    // The resolved address, "" while unresolved.
    virtual std::wstring Address() = 0;
    // OlMailRecipientType: 1 To, 2 CC, 3 BCC.
    virtual int32_t Type() = 0;
    virtual void SetType(int32_t type) = 0;
    // Resolves the name against the address book; true when it resolved to one entry.
    virtual bool Resolve() = 0;
    virtual bool Resolved() = 0;
    // The entry it resolved to; nothing while unresolved.
    virtual std::shared_ptr<AddressEntry> GetAddressEntry() = 0;
    // Removes the recipient from its item.
    virtual void Delete() = 0;
};

class Recipients : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"Recipients"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<Recipient> Item(int32_t index) = 0;
    // Adds an unresolved To recipient for a name, an address or "Name <address>".
    virtual std::shared_ptr<Recipient> Add(const std::wstring& name) = 0;
    // Removes the recipient at a 1-based index. Throws HostError outside 1..Count.
    virtual void Remove(int32_t index) = 0;
    // Resolves every recipient; true when all of them resolved.
    virtual bool ResolveAll() = 0;
};

}  // namespace plexa
