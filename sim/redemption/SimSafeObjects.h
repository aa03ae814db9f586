// The simulated safe-access objects: items bound to host items, their recipients and address
// entries. They act on the records behind the host objects directly, as the real library acts
// on the MAPI objects behind the host's items, so they raise none of the host's item events.
#pragma once

#include <memory>
#include <string>

#include "host/redemption/Redemption.h"
#include "sim/outlook/SimOutlook.h"

namespace plexa::sim {

class SimSafeAddressEntry : public SafeAddressEntry {
public:
    SimSafeAddressEntry(SimOutlook& outlook, std::shared_ptr<AddressEntryRecord> entry)
        : m_outlook(outlook), m_entry(std::move(entry)) {}
    std::wstring EntryID() override;
    std::wstring Name() override;
    std::wstring Address() override;
    std::shared_ptr<SafeAddressEntries> Members() override;
    Variant Fields(uint32_t propTag) override;

private:
    SimOutlook& m_outlook;
    std::shared_ptr<AddressEntryRecord> m_entry;
};

class SimSafeRecipients : public SafeRecipients {
public:
    SimSafeRecipients(SimOutlook& outlook, std::shared_ptr<ItemRecord> item)
        : m_outlook(outlook), m_item(std::move(item)) {}
    int32_t Count() override;
    std::shared_ptr<SafeRecipient> Item(int32_t index) override;
    std::shared_ptr<SafeRecipient> Add(const std::wstring& name) override;
    void Remove(int32_t index) override;
    bool ResolveAll() override;

private:
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
};

// SafeMailItem, SafeAppointmentItem, SafeTaskItem and SafeDistList share their binding.
template <typename Base>
class SimSafeItem : public Base {
public:
    explicit SimSafeItem(SimOutlook& outlook) : m_outlook(outlook) {}
    void SetItem(const std::shared_ptr<OutlookItem>& item) override;
    std::shared_ptr<OutlookItem> Item() override;
    std::shared_ptr<SafeRecipients> Recipients() override;
    Variant Fields(uint32_t propTag) override;
    void SetFields(uint32_t propTag, const Variant& value) override;
    void Save() override;
    std::wstring Subject() override;
    void SetSubject(const std::wstring& subject) override;
    std::wstring Body() override;
    void SetBody(const std::wstring& body) override;
    std::wstring EntryID() override;

protected:
    // The bound item object's own copy of its item (the library works on the item object's
    // message); throws HostError while none is bound or once the item is gone.
    const std::shared_ptr<ItemRecord>& Bound(std::wstring_view member);
    SimOutlook& m_outlook;
    std::shared_ptr<ItemHandle> m_handle;

private:
    std::shared_ptr<OutlookItem> m_item;
};

class SimSafeMailItem : public SimSafeItem<SafeMailItem> {
public:
    using SimSafeItem::SimSafeItem;
    std::wstring HTMLBody() override;
    void SetHTMLBody(const std::wstring& html) override;
    int32_t BodyFormat() override;
    void Send() override;
};

class SimSafeAppointmentItem : public SimSafeItem<SafeAppointmentItem> {
public:
    using SimSafeItem::SimSafeItem;
    std::wstring Organizer() override;
    int32_t ResponseStatus() override;
};

class SimSafeTaskItem : public SimSafeItem<SafeTaskItem> {
public:
    using SimSafeItem::SimSafeItem;
};

class SimSafeDistList : public SimSafeItem<SafeDistList> {
public:
    using SimSafeItem::SimSafeItem;
};

}  // namespace plexa::sim
