#include "sim/redemption/SimRedemption.h"

#include <algorithm>
#include <cwctype>

#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/redemption/SimSafeObjects.h"
#include "sim/store/AddressBook.h"
#include "sim/store/ItemRecord.h"
#include "sim/store/StoreRecord.h"
#include "sim/store/mEntryIds.h"

namespace plexa::sim {

namespace {

HostError NotFound(const std::wstring& what) {
    return HostError(MAPI_E_NOT_FOUND, L"The object could not be found: " + what, L"Redemption");
}

// What an item argument works on; the library takes any object that has a MAPI object, and
// reaches the item object's own message.
std::shared_ptr<ItemHandle> ItemArgument(const std::shared_ptr<AutomationObject>& object) {
    auto handle = SimOutlook::HandleOf(object);
    if (!handle) {
        throw HostError(E_INVALIDARG, L"The object has no MAPIOBJECT", L"Redemption");
    }
    if (handle->Stored()->IsRemoved()) {
        throw ItemDeletedError();
    }
    return handle;
}

// The value as the property's type holds it: the library converts what it can and refuses the
// rest with a type mismatch, as MAPI does not store a value of another type under a tag.
Variant AsPropType(uint32_t propTag, const Variant& value) {
    switch (mapi::PropType(propTag)) {
        case mapi::PT_SYSTIME:
            if (std::get_if<OleDate>(&value.Raw()) != nullptr) {
                return value;
            }
            if (const auto* d = std::get_if<double>(&value.Raw())) {
                return Variant(OleDate(*d));
            }
            throw RuntimeError(vberr::TypeMismatch);
        case mapi::PT_LONG:
            return Variant(CLng(value));
        case mapi::PT_BOOLEAN:
            if (std::get_if<bool>(&value.Raw()) != nullptr) {
                return value;
            }
            if (std::get_if<int32_t>(&value.Raw()) != nullptr) {
                return Variant(CLng(value) != 0);
            }
            throw RuntimeError(vberr::TypeMismatch);
        case mapi::PT_STRING8:
        case mapi::PT_UNICODE:
            if (value.IsString()) {
                return value;
            }
            throw RuntimeError(vberr::TypeMismatch);
        default:
            return value;
    }
}

class SimMAPIUtils : public MAPIUtils {
public:
    explicit SimMAPIUtils(SimOutlook& outlook) : m_outlook(outlook) {}

    Variant HrGetOneProp(const std::shared_ptr<AutomationObject>& item, uint32_t propTag) override {
        m_outlook.Check(L"MAPIUtils.HrGetOneProp", std::to_wstring(propTag));
        return ItemArgument(item)->Read().GetProp(propTag);
    }

    void HrSetOneProp(const std::shared_ptr<AutomationObject>& item, uint32_t propTag,
                      const Variant& value, bool save) override {
        m_outlook.Check(L"MAPIUtils.HrSetOneProp", std::to_wstring(propTag));
        const auto handle = ItemArgument(item);
        handle->Edit()->SetProp(propTag, AsPropType(propTag, value));
        if (save) {
            handle->Save();
        }
    }

    uint32_t GetIDsFromNames(const std::shared_ptr<AutomationObject>& item,
                             const std::wstring& propertySetGuid, uint32_t namedId,
                             bool create) override {
        m_outlook.Check(L"MAPIUtils.GetIDsFromNames", propertySetGuid);
        const uint32_t id =
            ItemArgument(item)->Stored()->Store().GetIDsFromNames(propertySetGuid, namedId, create);
        return id << 16;
    }

    std::shared_ptr<SafeAddressEntry> GetAddressEntryFromID(const std::wstring& entryID) override {
        m_outlook.Check(L"MAPIUtils.GetAddressEntryFromID", entryID);
        auto entry = m_outlook.session.addressBook.Find(entryID);
        if (!entry) {
            throw NotFound(L"address entry " + entryID);
        }
        return std::make_shared<SimSafeAddressEntry>(m_outlook, entry);
    }

    std::wstring HrArrayToString(const Variant& bytes) override {
        m_outlook.Check(L"MAPIUtils.HrArrayToString");
        const VariantArray* array = bytes.ArrayValue();
        if (array == nullptr || array->elementType != VarType::Byte) {
            throw RuntimeError(vberr::TypeMismatch);
        }
        return mEntryIds::BytesToHex(bytes);
    }

private:
    SimOutlook& m_outlook;
};

class SimRDOAddressEntry;

class SimRDOContactRef : public RDOContactRef {
public:
    SimRDOContactRef(std::wstring entryID, std::wstring storeID)
        : m_entryID(std::move(entryID)), m_storeID(std::move(storeID)) {}
    std::wstring EntryID() override { return m_entryID; }
    std::wstring StoreID() override { return m_storeID; }

private:
    std::wstring m_entryID;
    std::wstring m_storeID;
};

class SimRDOAddressEntries : public RDOAddressEntries {
public:
    SimRDOAddressEntries(SimOutlook& outlook, std::vector<std::shared_ptr<AddressEntryRecord>> m)
        : m_outlook(outlook), m_members(std::move(m)) {}
    int32_t Count() override {
        m_outlook.Check(L"RDOAddressEntries.Count");
        return static_cast<int32_t>(m_members.size());
    }
    std::shared_ptr<RDOAddressEntry> Item(int32_t index) override;

private:
    SimOutlook& m_outlook;
    std::vector<std::shared_ptr<AddressEntryRecord>> m_members;
};

class SimRDOAddressEntry : public RDOAddressEntry {
public:
    SimRDOAddressEntry(SimOutlook& outlook, std::shared_ptr<AddressEntryRecord> entry)
        : m_outlook(outlook), m_entry(std::move(entry)) {}
    std::wstring EntryID() override {
        m_outlook.Check(L"RDOAddressEntry.EntryID", m_entry->name);
        return m_entry->entryID;
    }
    std::wstring Name() override {
        m_outlook.Check(L"RDOAddressEntry.Name", m_entry->name);
        return m_entry->name;
    }
    std::wstring Address() override {
        m_outlook.Check(L"RDOAddressEntry.Address", m_entry->name);
        return m_entry->address;
    }
    std::shared_ptr<RDOAddressEntries> Members() override {
        m_outlook.Check(L"RDOAddressEntry.Members", m_entry->name);
        if (!m_entry->isList) {
            return nullptr;
        }
        return std::make_shared<SimRDOAddressEntries>(m_outlook, m_entry->Members());
    }
    std::shared_ptr<RDOContactRef> GetContact() override {
        m_outlook.Check(L"RDOAddressEntry.GetContact", m_entry->name);
        if (m_entry->contactEntryID.empty()) {
            return nullptr;
        }
        return std::make_shared<SimRDOContactRef>(m_entry->contactEntryID, m_entry->contactStoreID);
    }

private:
    SimOutlook& m_outlook;
    std::shared_ptr<AddressEntryRecord> m_entry;
};

std::shared_ptr<RDOAddressEntry> SimRDOAddressEntries::Item(int32_t index) {
    m_outlook.Check(L"RDOAddressEntries.Item");
    if (index < 1 || index > static_cast<int32_t>(m_members.size())) {
        throw IndexError(index);
    }
    return std::make_shared<SimRDOAddressEntry>(m_outlook,
                                                m_members[static_cast<std::size_t>(index - 1)]);
}

class SimRDORecipient : public RDORecipient {
public:
    SimRDORecipient(SimOutlook& outlook, std::shared_ptr<RecipientRecord> recipient)
        : m_outlook(outlook), m_recipient(std::move(recipient)) {}
    std::wstring Name() override {
        m_outlook.Check(L"RDORecipient.Name", m_recipient->name);
        return m_recipient->name;
    }
    int32_t Type() override {
        m_outlook.Check(L"RDORecipient.Type", m_recipient->name);
        return m_recipient->type;
    }
    std::shared_ptr<RDOAddressEntry> AddressEntry() override {
        m_outlook.Check(L"RDORecipient.AddressEntry", m_recipient->name);
        if (!m_recipient->resolved || !m_recipient->entry) {
            return nullptr;
        }
        return std::make_shared<SimRDOAddressEntry>(m_outlook, m_recipient->entry);
    }

private:
    SimOutlook& m_outlook;
    std::shared_ptr<RecipientRecord> m_recipient;
};

class SimRDORecipients : public RDORecipients {
public:
    SimRDORecipients(SimOutlook& outlook, std::shared_ptr<ItemRecord> item)
        : m_outlook(outlook), m_item(std::move(item)) {}
    int32_t Count() override {
        m_outlook.Check(L"RDORecipients.Count");
        return static_cast<int32_t>(m_item->recipients.size());
    }
    std::shared_ptr<RDORecipient> Item(int32_t index) override {
        m_outlook.Check(L"RDORecipients.Item");
        if (index < 1 || index > Count()) {
            throw IndexError(index);
        }
        return std::make_shared<SimRDORecipient>(
            m_outlook, m_item->recipients[static_cast<std::size_t>(index - 1)]);
    }

private:
    SimOutlook& m_outlook;
    std::shared_ptr<ItemRecord> m_item;
};

class SimRDOMail : public RDOMail {
public:
    SimRDOMail(SimOutlook& outlook, std::shared_ptr<ItemRecord> item)
        : m_outlook(outlook), m_item(outlook.session, std::move(item)) {}
    std::shared_ptr<RDORecipients> Recipients() override {
        Live(L"RDOMail.Recipients");
        return std::make_shared<SimRDORecipients>(m_outlook, m_item.Edit());
    }
    void AddMember(const std::wstring& nameOrAddress) override {
        m_outlook.Check(L"RDOMail.AddMember", nameOrAddress);
        Live(L"");
        const auto& copy = m_item.Edit();
        if (copy->ObjectClass() != olDistributionList || !copy->listEntry) {
            throw HostError(E_FAIL, L"The message is not a distribution list", L"Redemption");
        }
        auto member = m_outlook.session.Resolve(nameOrAddress);
        if (!member) {
            throw HostError(MAPI_E_NOT_FOUND,
                            L"Could not resolve \"" + nameOrAddress + L"\" to an address entry",
                            L"Redemption");
        }
        AddressBook::AddMember(*copy->listEntry, member);
        copy->MarkChanged();
    }
    void Save() override {
        Live(L"RDOMail.Save");
        m_item.Save();
    }

private:
    // The fault check (when op is given), then: the message must still be there.
    void Live(const wchar_t* op) {
        if (*op != L'\0') {
            m_outlook.Check(op, m_item.Stored()->EntryID());
        }
        if (m_item.Stored()->IsRemoved()) {
            throw ItemDeletedError();
        }
    }
    SimOutlook& m_outlook;
    // The library's message is an object of its own, with its own changes until it saves.
    ItemHandle m_item;
};

class SimRDOSession : public RDOSession {
public:
    explicit SimRDOSession(SimOutlook& outlook) : m_outlook(outlook) {}
    void SetMAPIOBJECT(const std::shared_ptr<AutomationObject>& session) override {
        m_outlook.Check(L"RDOSession.MAPIOBJECT");
        if (!session) {
            throw HostError(E_INVALIDARG, L"MAPIOBJECT must be a MAPI session", L"Redemption");
        }
        m_loggedOn = true;
    }
    std::shared_ptr<RDOMail> GetMessageFromID(const std::wstring& entryID,
                                              const std::wstring& storeID) override {
        m_outlook.Check(L"RDOSession.GetMessageFromID", entryID);
        if (!m_loggedOn) {
            throw HostError(E_FAIL, L"The session is not logged on", L"Redemption");
        }
        // Without a store id the default store is searched, and no other.
        const StoreRecord* store = m_outlook.session.DefaultStore();
        auto item = m_outlook.session.FindItem(
            entryID, storeID.empty() && store != nullptr ? store->StoreID() : storeID);
        if (!item) {
            throw NotFound(L"message " + entryID);
        }
        return std::make_shared<SimRDOMail>(m_outlook, item);
    }

private:
    SimOutlook& m_outlook;
    bool m_loggedOn = false;
};

// A table over a set of items with a filter of property restrictions.
class SimMAPITable : public MAPITable {
public:
    explicit SimMAPITable(SimOutlook& outlook) : m_outlook(outlook) {}

    void SetItem(const std::shared_ptr<Items>& items) override {
        m_outlook.Check(L"MAPITable.Item");
        if (!items) {
            throw HostError(E_INVALIDARG, L"The object is not a MAPI table source", L"Redemption");
        }
        m_rows.clear();
        const int32_t count = items->Count();
        for (int32_t i = 1; i <= count; ++i) {
            if (auto record = SimOutlook::RecordOf(items->Item(i))) {
                m_rows.push_back(std::move(record));
            }
        }
        m_position = 0;
    }
    void FilterClear() override {
        m_restrictions.clear();
        m_kind = 0;
    }
    void FilterSetKind(int32_t kind) override { m_kind = kind; }
    void FilterAdd(const MAPITableRestriction& restriction) override {
        m_restrictions.push_back(restriction);
    }
    bool FilterFindFirst(bool forward) override {
        m_outlook.Check(L"MAPITable.FindFirst");
        if (!forward) {
            std::reverse(m_rows.begin(), m_rows.end());
        }
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (Matches(*m_rows[i])) {
                m_position = i;
                return true;
            }
        }
        m_position = m_rows.size();
        return false;
    }
    void SetColumns(const std::vector<uint32_t>& columns) override { m_columns = columns; }
    std::vector<Variant> GetRow() override {
        m_outlook.Check(L"MAPITable.GetRow");
        if (m_position >= m_rows.size()) {
            return {};
        }
        const ItemRecord& row = *m_rows[m_position++];
        std::vector<Variant> values;
        for (uint32_t tag : m_columns) {
            if (tag == mapi::PR_ENTRYID) {
                values.push_back(mEntryIds::HexToBytes(row.EntryID()));
            } else {
                values.push_back(row.GetProp(tag));
            }
        }
        return values;
    }

private:
    static constexpr int32_t RELOP_EQ = 4;
    static constexpr int32_t RES_OR = 1;

    // A restriction holds when the property is there and equals the value (texts without
    // regard to letter case, as MAPI compares them in the store's sort order).
    static bool Holds(const ItemRecord& row, const MAPITableRestriction& r) {
        if (r.relop != RELOP_EQ || !row.HasProp(r.ulPropTag)) {
            return false;
        }
        const Variant v = row.GetProp(r.ulPropTag);
        if (v.IsString() && r.lpProp.IsString()) {
            return text::EqualsNoCase(*v.String(), *r.lpProp.String());
        }
        try {
            return CStr(v) == CStr(r.lpProp);
        } catch (const HostError&) {
            return false;
        }
    }
    bool Matches(const ItemRecord& row) const {
        if (m_restrictions.empty()) {
            return true;
        }
        const bool any = m_kind == RES_OR;
        for (const auto& r : m_restrictions) {
            if (Holds(row, r) == any) {
                return any;
            }
        }
        return !any;
    }
    SimOutlook& m_outlook;
    std::vector<std::shared_ptr<ItemRecord>> m_rows;
    std::size_t m_position = 0;
    std::vector<MAPITableRestriction> m_restrictions;
    int32_t m_kind = 0;
    std::vector<uint32_t> m_columns;
};

}  // namespace

std::shared_ptr<SafeMailItem> SimRedemption::CreateSafeMailItem() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.SafeMailItem");
    return std::make_shared<SimSafeMailItem>(m_outlook);
}

std::shared_ptr<SafeAppointmentItem> SimRedemption::CreateSafeAppointmentItem() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.SafeAppointmentItem");
    return std::make_shared<SimSafeAppointmentItem>(m_outlook);
}

std::shared_ptr<SafeTaskItem> SimRedemption::CreateSafeTaskItem() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.SafeTaskItem");
    return std::make_shared<SimSafeTaskItem>(m_outlook);
}

std::shared_ptr<SafeDistList> SimRedemption::CreateSafeDistList() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.SafeDistList");
    return std::make_shared<SimSafeDistList>(m_outlook);
}

std::shared_ptr<MAPIUtils> SimRedemption::CreateMAPIUtils() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.MAPIUtils");
    return std::make_shared<SimMAPIUtils>(m_outlook);
}

std::shared_ptr<RDOSession> SimRedemption::CreateRDOSession() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.RDOSession");
    return std::make_shared<SimRDOSession>(m_outlook);
}

std::shared_ptr<MAPITable> SimRedemption::CreateMAPITable() {
    m_outlook.Check(L"Redemption.Create", L"Redemption.MAPITable");
    return std::make_shared<SimMAPITable>(m_outlook);
}

}  // namespace plexa::sim
