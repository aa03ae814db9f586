// The simulated recipients of an item and the address entries behind them.
#pragma once

#include <memory>
#include <vector>

#include "host/outlook/Recipients.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimAddressEntry : public AddressEntry {
public:
    SimAddressEntry(SimOutlook& outlook, std::shared_ptr<AddressEntryRecord> entry);
    std::wstring Name() override;
    std::wstring Address() override;
    std::wstring Type() override;
    std::shared_ptr<AddressEntries> Members() override;
    const std::shared_ptr<AddressEntryRecord>& Entry() const { return m_entry; }

private:
    SimOutlook& m_outlook;
    std::shared_ptr<AddressEntryRecord> m_entry;
};

class SimAddressEntries : public AddressEntries {
public:
    SimAddressEntries(SimOutlook& outlook, std::vector<std::shared_ptr<AddressEntryRecord>> items);
    int32_t Count() override;
    std::shared_ptr<AddressEntry> Item(int32_t index) override;

private:
    SimOutlook& m_outlook;
    std::vector<std::shared_ptr<AddressEntryRecord>> m_items;
};

class SimRecipient : public Recipient {
public:
    SimRecipient(SimOutlook& outlook, std::shared_ptr<ItemRecord> item,
                 std::shared_ptr<RecipientRecord> recipient);
    std::wstring Name() override;
    std::wstring Address() override;
    int32_t Type() override;
    void SetType(int32_t type) override;
    bool Resolve() override;
    bool Resolved() override;
    std::shared_ptr<AddressEntry> GetAddressEntry() override;
    void Delete() override;

private:
    // The fault check, then: the recipient must still belong to a living item.
    void Live(const wchar_t* member) const;
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
    std::shared_ptr<RecipientRecord> m_recipient;
};

class SimRecipients : public Recipients {
public:
    SimRecipients(SimOutlook& outlook, std::shared_ptr<ItemRecord> item);
    int32_t Count() override;
    std::shared_ptr<Recipient> Item(int32_t index) override;
    std::shared_ptr<Recipient> Add(const std::wstring& name) override;
    void Remove(int32_t index) override;
    bool ResolveAll() override;

private:
    void Live(const wchar_t* member, std::wstring_view detail = {}) const;
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
};

}  // namespace plexa::sim
