#include "sim/outlook/SimRecipients.h"

#include <algorithm>

#include "core/Text.h"
#include "host/outlook/OlConstants.h"

namespace plexa::sim {

SimAddressEntry::SimAddressEntry(SimOutlook& outlook, std::shared_ptr<AddressEntryRecord> entry)
    : m_outlook(outlook), m_entry(std::move(entry)) {}

std::wstring SimAddressEntry::Name() {
    m_outlook.Check(L"AddressEntry.Name", m_entry->entryID);
    return m_entry->name;
}

std::wstring SimAddressEntry::Address() {
    m_outlook.Check(L"AddressEntry.Address", m_entry->entryID);
    return m_entry->address;
}

std::wstring SimAddressEntry::Type() {
    m_outlook.Check(L"AddressEntry.Type", m_entry->entryID);
    return m_entry->addressType;
}

std::shared_ptr<AddressEntries> SimAddressEntry::Members() {
    m_outlook.Check(L"AddressEntry.Members", m_entry->entryID);
    if (!m_entry->isList) {
        return nullptr;
    }
    return std::make_shared<SimAddressEntries>(m_outlook, m_entry->Members());
}

SimAddressEntries::SimAddressEntries(SimOutlook& outlook,
                                     std::vector<std::shared_ptr<AddressEntryRecord>> items)
    : m_outlook(outlook), m_items(std::move(items)) {}

int32_t SimAddressEntries::Count() {
    m_outlook.Check(L"AddressEntries.Count");
    return static_cast<int32_t>(m_items.size());
}

std::shared_ptr<AddressEntry> SimAddressEntries::Item(int32_t index) {
    m_outlook.Check(L"AddressEntries.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(m_items.size())) {
        throw IndexError(index);
    }
    return std::make_shared<SimAddressEntry>(m_outlook, m_items[static_cast<size_t>(index - 1)]);
}

// ---------------------------------------------------------------------------------------------

SimRecipient::SimRecipient(SimOutlook& outlook, std::shared_ptr<ItemRecord> item,
                           std::shared_ptr<RecipientRecord> recipient)
    : m_outlook(outlook), m_item(std::move(item)), m_recipient(std::move(recipient)) {}

void SimRecipient::Live(const wchar_t* member) const {
    m_outlook.Check(std::wstring(L"Recipient.") + member, m_recipient->name);
    const auto& all = m_item->recipients;
    if (m_item->IsRemoved() || std::find(all.begin(), all.end(), m_recipient) == all.end()) {
        throw ItemDeletedError();
    }
}

std::wstring SimRecipient::Name() {
    Live(L"Name");
    return m_recipient->name;
}

std::wstring SimRecipient::Address() {
    Live(L"Address");
    return m_recipient->Address();
}

int32_t SimRecipient::Type() {
    Live(L"Type");
    return m_recipient->type;
}

void SimRecipient::SetType(int32_t type) {
    Live(L"SetType");
    if (type < olOriginator || type > olBCC) {
        throw HostError(E_INVALIDARG, L"The recipient type is not valid.", L"Microsoft Outlook");
    }
    m_recipient->type = type;
    m_item->MarkChanged();
}

bool SimRecipient::Resolve() {
    Live(L"Resolve");
    const bool was = m_recipient->resolved;
    const bool resolved = m_outlook.session.ResolveRecipient(*m_recipient);
    if (resolved != was) {
        m_item->MarkChanged();
    }
    return resolved;
}

bool SimRecipient::Resolved() {
    Live(L"Resolved");
    return m_recipient->resolved;
}

std::shared_ptr<AddressEntry> SimRecipient::GetAddressEntry() {
    Live(L"AddressEntry");
    if (!m_recipient->resolved || !m_recipient->entry) {
        return nullptr;
    }
    return std::make_shared<SimAddressEntry>(m_outlook, m_recipient->entry);
}

void SimRecipient::Delete() {
    Live(L"Delete");
    auto& all = m_item->recipients;
    all.erase(std::find(all.begin(), all.end(), m_recipient));
    m_item->MarkChanged();
}

// ---------------------------------------------------------------------------------------------

SimRecipients::SimRecipients(SimOutlook& outlook, std::shared_ptr<ItemRecord> item)
    : m_outlook(outlook), m_item(std::move(item)) {}

void SimRecipients::Live(const wchar_t* member, std::wstring_view detail) const {
    m_outlook.Check(std::wstring(L"Recipients.") + member, detail);
    if (m_item->IsRemoved()) {
        throw ItemDeletedError();
    }
}

int32_t SimRecipients::Count() {
    Live(L"Count");
    return static_cast<int32_t>(m_item->recipients.size());
}

std::shared_ptr<Recipient> SimRecipients::Item(int32_t index) {
    Live(L"Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(m_item->recipients.size())) {
        throw IndexError(index);
    }
    return std::make_shared<SimRecipient>(m_outlook, m_item,
                                          m_item->recipients[static_cast<size_t>(index - 1)]);
}

std::shared_ptr<Recipient> SimRecipients::Add(const std::wstring& name) {
    Live(L"Add", name);
    if (text::TrimSpacesTabs(name).empty()) {
        throw HostError(E_INVALIDARG, L"A recipient needs a name or an address.",
                        L"Microsoft Outlook");
    }
    m_item->MarkChanged();
    return std::make_shared<SimRecipient>(m_outlook, m_item, m_item->AddRecipient(name, olTo));
}

void SimRecipients::Remove(int32_t index) {
    Live(L"Remove", std::to_wstring(index));
    if (index < 1 || index > static_cast<int32_t>(m_item->recipients.size())) {
        throw IndexError(index);
    }
    m_item->recipients.erase(m_item->recipients.begin() + (index - 1));
    m_item->MarkChanged();
}

bool SimRecipients::ResolveAll() {
    Live(L"ResolveAll");
    bool all = true;
    for (const auto& recipient : m_item->recipients) {
        const bool was = recipient->resolved;
        const bool resolved = m_outlook.session.ResolveRecipient(*recipient);
        if (resolved != was) {
            m_item->MarkChanged();
        }
        all = resolved && all;
    }
    return all;
}

}  // namespace plexa::sim
