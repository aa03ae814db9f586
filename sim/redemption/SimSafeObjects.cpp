#include "sim/redemption/SimSafeObjects.h"

#include <algorithm>

#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/ItemRecord.h"

namespace plexa::sim {

namespace {

class SimSafeAddressEntries : public SafeAddressEntries {
public:
    SimSafeAddressEntries(SimOutlook& outlook, std::vector<std::shared_ptr<AddressEntryRecord>> m)
        : m_outlook(outlook), m_members(std::move(m)) {}
    int32_t Count() override {
        m_outlook.Check(L"SafeAddressEntries.Count");
        return static_cast<int32_t>(m_members.size());
    }
    std::shared_ptr<SafeAddressEntry> Item(int32_t index) override {
        m_outlook.Check(L"SafeAddressEntries.Item");
        if (index < 1 || index > Count()) {
            throw IndexError(index);
        }
        return std::make_shared<SimSafeAddressEntry>(
            m_outlook, m_members[static_cast<std::size_t>(index - 1)]);
    }

private:
    SimOutlook& m_outlook;
    std::vector<std::shared_ptr<AddressEntryRecord>> m_members;
};

class SimSafeRecipient : public SafeRecipient {
public:
    SimSafeRecipient(SimOutlook& outlook, std::shared_ptr<ItemRecord> item,
                     std::shared_ptr<RecipientRecord> recipient)
        : m_outlook(outlook), m_item(std::move(item)), m_recipient(std::move(recipient)) {}
    std::wstring Name() override {
        m_outlook.Check(L"SafeRecipient.Name", m_recipient->name);
        return m_recipient->name;
    }
    int32_t Type() override {
        m_outlook.Check(L"SafeRecipient.Type", m_recipient->name);
        return m_recipient->type;
    }
    void SetType(int32_t type) override {
        m_outlook.Check(L"SafeRecipient.SetType", m_recipient->name);
        if (type < olOriginator || type > olBCC) {
            throw HostError(E_INVALIDARG, L"The recipient type is not valid.", L"Redemption");
        }
        m_recipient->type = type;
        m_item->MarkChanged();
    }
    bool Resolve() override {
        m_outlook.Check(L"SafeRecipient.Resolve", m_recipient->name);
        const bool was = m_recipient->resolved;
        const bool resolved = m_outlook.session.ResolveRecipient(*m_recipient);
        if (resolved != was) {
            m_item->MarkChanged();
        }
        return resolved;
    }
    bool Resolved() override {
        m_outlook.Check(L"SafeRecipient.Resolved", m_recipient->name);
        return m_recipient->resolved;
    }
    std::shared_ptr<SafeAddressEntry> AddressEntry() override {
        m_outlook.Check(L"SafeRecipient.AddressEntry", m_recipient->name);
        if (!m_recipient->resolved || !m_recipient->entry) {
            return nullptr;
        }
        return std::make_shared<SimSafeAddressEntry>(m_outlook, m_recipient->entry);
    }
    void Delete() override {
        m_outlook.Check(L"SafeRecipient.Delete", m_recipient->name);
        auto& list = m_item->recipients;
        list.erase(std::remove(list.begin(), list.end(), m_recipient), list.end());
        m_item->MarkChanged();
    }

private:
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
    std::shared_ptr<RecipientRecord> m_recipient;
};

}  // namespace

std::wstring SimSafeAddressEntry::EntryID() {
    m_outlook.Check(L"SafeAddressEntry.EntryID", m_entry->name);
    return m_entry->entryID;
}

std::wstring SimSafeAddressEntry::Name() {
    m_outlook.Check(L"SafeAddressEntry.Name", m_entry->name);
    return m_entry->name;
}

std::wstring SimSafeAddressEntry::Address() {
    m_outlook.Check(L"SafeAddressEntry.Address", m_entry->name);
    return m_entry->address;
}

std::shared_ptr<SafeAddressEntries> SimSafeAddressEntry::Members() {
    m_outlook.Check(L"SafeAddressEntry.Members", m_entry->name);
    if (!m_entry->isList) {
        return nullptr;
    }
    return std::make_shared<SimSafeAddressEntries>(m_outlook, m_entry->Members());
}

Variant SimSafeAddressEntry::Fields(uint32_t propTag) {
    m_outlook.Check(L"SafeAddressEntry.Fields", m_entry->name);
    return m_entry->Field(propTag);
}

int32_t SimSafeRecipients::Count() {
    m_outlook.Check(L"SafeRecipients.Count");
    return static_cast<int32_t>(m_item->recipients.size());
}

std::shared_ptr<SafeRecipient> SimSafeRecipients::Item(int32_t index) {
    m_outlook.Check(L"SafeRecipients.Item");
    if (index < 1 || index > static_cast<int32_t>(m_item->recipients.size())) {
        throw IndexError(index);
    }
    return std::make_shared<SimSafeRecipient>(
        m_outlook, m_item, m_item->recipients[static_cast<std::size_t>(index - 1)]);
}

std::shared_ptr<SafeRecipient> SimSafeRecipients::Add(const std::wstring& name) {
    m_outlook.Check(L"SafeRecipients.Add", name);
    m_item->MarkChanged();
    return std::make_shared<SimSafeRecipient>(m_outlook, m_item, m_item->AddRecipient(name));
}

void SimSafeRecipients::Remove(int32_t index) {
    m_outlook.Check(L"SafeRecipients.Remove");
    if (index < 1 || index > static_cast<int32_t>(m_item->recipients.size())) {
        throw IndexError(index);
    }
    m_item->recipients.erase(m_item->recipients.begin() + (index - 1));
    m_item->MarkChanged();
}

bool SimSafeRecipients::ResolveAll() {
    m_outlook.Check(L"SafeRecipients.ResolveAll");
    bool all = true;
    for (const auto& r : m_item->recipients) {
        const bool was = r->resolved;
        const bool resolved = m_outlook.session.ResolveRecipient(*r);
        if (resolved != was) {
            m_item->MarkChanged();
        }
        all = resolved && all;
    }
    return all;
}

template <typename Base>
const std::shared_ptr<ItemRecord>& SimSafeItem<Base>::Bound(std::wstring_view member) {
    m_outlook.Check(this->TypeName() + L"." + std::wstring(member));
    if (!m_handle) {
        throw HostError(E_FAIL, L"Item is not set", L"Redemption");
    }
    if (m_handle->Stored()->IsRemoved()) {
        throw ItemDeletedError();
    }
    return m_handle->Edit();
}

template <typename Base>
void SimSafeItem<Base>::SetItem(const std::shared_ptr<OutlookItem>& item) {
    m_outlook.Check(this->TypeName() + L".Item");
    if (!item) {
        m_item.reset();
        m_handle.reset();
        return;
    }
    auto handle = SimOutlook::HandleOf(item);
    if (!handle) {
        throw HostError(E_INVALIDARG, L"The object is not an item of this session", L"Redemption");
    }
    m_item = item;
    m_handle = std::move(handle);
}

template <typename Base>
std::shared_ptr<OutlookItem> SimSafeItem<Base>::Item() {
    return m_item;
}

template <typename Base>
std::shared_ptr<SafeRecipients> SimSafeItem<Base>::Recipients() {
    return std::make_shared<SimSafeRecipients>(m_outlook, Bound(L"Recipients"));
}

template <typename Base>
Variant SimSafeItem<Base>::Fields(uint32_t propTag) {
    return Bound(L"Fields")->GetProp(propTag);
}

template <typename Base>
void SimSafeItem<Base>::SetFields(uint32_t propTag, const Variant& value) {
    Bound(L"SetFields")->SetProp(propTag, value);
}

template <typename Base>
void SimSafeItem<Base>::Save() {
    Bound(L"Save");
    m_handle->Save();
}

template <typename Base>
std::wstring SimSafeItem<Base>::Subject() {
    return Bound(L"Subject")->GetText(mapi::PR_SUBJECT);
}

template <typename Base>
void SimSafeItem<Base>::SetSubject(const std::wstring& subject) {
    Bound(L"SetSubject")->SetText(mapi::PR_SUBJECT, subject);
}

template <typename Base>
std::wstring SimSafeItem<Base>::Body() {
    return Bound(L"Body")->Body();
}

template <typename Base>
void SimSafeItem<Base>::SetBody(const std::wstring& body) {
    Bound(L"SetBody")->SetBody(body);
}

template <typename Base>
std::wstring SimSafeItem<Base>::EntryID() {
    return Bound(L"EntryID")->EntryID();
}

std::wstring SimSafeMailItem::HTMLBody() {
    return Bound(L"HTMLBody")->HTMLBody();
}

void SimSafeMailItem::SetHTMLBody(const std::wstring& html) {
    Bound(L"SetHTMLBody")->SetHTMLBody(html);
}

int32_t SimSafeMailItem::BodyFormat() {
    return Bound(L"BodyFormat")->BodyFormat();
}

void SimSafeMailItem::Send() {
    // The library submits the message where it is: it is sent, and stays in its folder.
    Bound(L"Send");
    m_handle->SaveFirst();
    m_outlook.session.Submit(m_handle->Stored(), true);
}

std::wstring SimSafeAppointmentItem::Organizer() {
    return Bound(L"Organizer")->GetText(mapi::PR_SENT_REPRESENTING_NAME);
}

int32_t SimSafeAppointmentItem::ResponseStatus() {
    const Variant v =
        Bound(L"ResponseStatus")
            ->GetNamed(mapi::PSETID_Appointment, mapi::LID_RESPONSE_STATUS, mapi::PT_LONG);
    const auto* n = std::get_if<int32_t>(&v.Raw());
    return n == nullptr ? 0 : *n;
}

template class SimSafeItem<SafeMailItem>;
template class SimSafeItem<SafeAppointmentItem>;
template class SimSafeItem<SafeTaskItem>;
template class SimSafeItem<SafeDistList>;

}  // namespace plexa::sim
