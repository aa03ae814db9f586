// The safe-access library: reads protected item data and MAPI properties and sends without the
// host's security prompts. Its objects are created one per operation through RedemptionLibrary.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Variant.h"

namespace plexa {

class MAPIFolder;
class OutlookItem;
class Items;
class SafeAddressEntries;

class SafeAddressEntry : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"AddressEntry"; }
    // The entry id as hex text.
    virtual std::wstring EntryID() = 0;
    virtual std::wstring Name() = 0;
    // The raw address: an e-mail address for SMTP, a directory name for EX.
    virtual std::wstring Address() = 0;
    // The members of a distribution list; nothing for a single address.
    virtual std::shared_ptr<SafeAddressEntries> Members() = 0;
    // A MAPI property of the entry (PR_ADDRTYPE, PR_SMTP_ADDRESS ...); Empty when absent.
    virtual Variant Fields(uint32_t propTag) = 0;
};

class SafeAddressEntries : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"AddressEntries"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<SafeAddressEntry> Item(int32_t index) = 0;
};

class SafeRecipient : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"SafeRecipient"; }
    virtual std::wstring Name() = 0;
    virtual int32_t Type() = 0;
    virtual void SetType(int32_t type) = 0;
    virtual bool Resolve() = 0;
    virtual bool Resolved() = 0;
    // Nothing while unresolved.
    virtual std::shared_ptr<SafeAddressEntry> AddressEntry() = 0;
    virtual void Delete() = 0;
};

class SafeRecipients : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"SafeRecipients"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<SafeRecipient> Item(int32_t index) = 0;
    virtual std::shared_ptr<SafeRecipient> Add(const std::wstring& name) = 0;
    virtual void Remove(int32_t index) = 0;
    virtual bool ResolveAll() = 0;
};

// "Redemption.SafeMailItem" and its siblings: bound to an item through SetItem; the other
// members then act on that item and throw HostError while none is bound.
class SafeItem : public AutomationObject {
public:
    // Binds the object to an item, or unbinds it with nothing.
    virtual void SetItem(const std::shared_ptr<OutlookItem>& item) = 0;
    virtual std::shared_ptr<OutlookItem> Item() = 0;
    virtual std::shared_ptr<SafeRecipients> Recipients() = 0;
    // A MAPI property of the item by tag; Empty when absent.
    virtual Variant Fields(uint32_t propTag) = 0;
    virtual void SetFields(uint32_t propTag, const Variant& value) = 0;
    virtual void Save() = 0;
    // Passed through to the bound item.
    virtual std::wstring Subject() = 0;
    virtual void SetSubject(const std::wstring& subject) = 0;
    virtual std::wstring Body() = 0;
    virtual void SetBody(const std::wstring& body) = 0;
    virtual std::wstring EntryID() = 0;
};

class SafeMailItem : public SafeItem {
public:
    std::wstring TypeName() const override { return L"SafeMailItem"; }
    virtual std::wstring HTMLBody() = 0;
    virtual void SetHTMLBody(const std::wstring& html) = 0;
    virtual int32_t BodyFormat() = 0;
    // Sends the bound mail without the security prompt.
    virtual void Send() = 0;
};

class SafeAppointmentItem : public SafeItem {
public:
    std::wstring TypeName() const override { return L"SafeAppointmentItem"; }
    virtual std::wstring Organizer() = 0;
    virtual int32_t ResponseStatus() = 0;
};

class SafeTaskItem : public SafeItem {
public:
    std::wstring TypeName() const override { return L"SafeTaskItem"; }
};

class SafeDistList : public SafeItem {
public:
    std::wstring TypeName() const override { return L"SafeDistList"; }
};

// "Redemption.MAPIUtils". The item arguments are host items; the library reads their MAPI
// objects itself.
class MAPIUtils : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"MAPIUtils"; }
    // The property's value, or Empty when the item lacks it. Throws HostError.
    virtual Variant HrGetOneProp(const std::shared_ptr<AutomationObject>& item,
                                 uint32_t propTag) = 0;
    // Sets a property, saving the item when asked. Throws HostError.
    virtual void HrSetOneProp(const std::shared_ptr<AutomationObject>& item, uint32_t propTag,
                              const Variant& value, bool save) = 0;
    // The property id (in the high word, type 0) of a named property of the item's store;
    // 0 when it does not exist and create is false.
    virtual uint32_t GetIDsFromNames(const std::shared_ptr<AutomationObject>& item,
                                     const std::wstring& propertySetGuid, uint32_t namedId,
                                     bool create) = 0;
    // The address entry of an entry id given as hex text. Throws HostError when unknown.
    virtual std::shared_ptr<SafeAddressEntry> GetAddressEntryFromID(
        const std::wstring& entryID) = 0;
    // Binary data (a Byte array) as upper-case hex text.
    virtual std::wstring HrArrayToString(const Variant& bytes) = 0;
};

class RDOAddressEntries;
class RDOContactRef;

class RDOAddressEntry : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDOAddressEntry"; }
    // The entry id as hex text.
    virtual std::wstring EntryID() = 0;
    virtual std::wstring Name() = 0;
    virtual std::wstring Address() = 0;
    // The members of a distribution list; nothing for a single address.
    virtual std::shared_ptr<RDOAddressEntries> Members() = 0;
    // The contact the entry stands for, or nothing.
    virtual std::shared_ptr<RDOContactRef> GetContact() = 0;
};

class RDOAddressEntries : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDOAddressEntries"; }
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<RDOAddressEntry> Item(int32_t index) = 0;
};

// A contact as the library's session gives it: its entry id and its store's id.
class RDOContactRef : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDOContactItem"; }
    virtual std::wstring EntryID() = 0;
    virtual std::wstring StoreID() = 0;
};

class RDORecipient : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDORecipient"; }
    virtual std::wstring Name() = 0;
    virtual int32_t Type() = 0;
    virtual std::shared_ptr<RDOAddressEntry> AddressEntry() = 0;
};

class RDORecipients : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDORecipients"; }
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<RDORecipient> Item(int32_t index) = 0;
};

// A message opened through the library's session; a distribution list adds members.
class RDOMail : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDOMail"; }
    virtual std::shared_ptr<RDORecipients> Recipients() = 0;
    // Adds a member to a distribution list by address or display string. Throws HostError for
    // a message that is no list, or a text that does not resolve.
    virtual void AddMember(const std::wstring& nameOrAddress) = 0;
    virtual void Save() = 0;
};

class RDOSession : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"RDOSession"; }
    // Logs the session on with the host's own MAPI session.
    virtual void SetMAPIOBJECT(const std::shared_ptr<AutomationObject>& session) = 0;
    // Throws HostError when not logged on or when the message does not exist.
    virtual std::shared_ptr<RDOMail> GetMessageFromID(const std::wstring& entryID,
                                                      const std::wstring& storeID) = 0;
};

// A property restriction of a table filter: ulPropTag relop lpProp.
struct MAPITableRestriction {
    uint32_t ulPropTag = 0;
    int32_t relop = 4;  // RELOP_EQ
    Variant lpProp;
};

// "Redemption.MAPITable" over a folder's items, with a filter of property restrictions.
class MAPITable : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"MAPITable"; }
    virtual void SetItem(const std::shared_ptr<Items>& items) = 0;
    // The filter: cleared, given a kind (1: any restriction matches), its restrictions.
    virtual void FilterClear() = 0;
    virtual void FilterSetKind(int32_t kind) = 0;
    virtual void FilterAdd(const MAPITableRestriction& restriction) = 0;
    // Moves to the first row matching the filter; false when there is none.
    virtual bool FilterFindFirst(bool forward) = 0;
    // The property tags a row holds, in order.
    virtual void SetColumns(const std::vector<uint32_t>& columns) = 0;
    // The current row's values, in column order; then moves to the next row. Empty at the end.
    virtual std::vector<Variant> GetRow() = 0;
};

// Creates the library's objects by their ProgIDs. Throws HostError when the library is missing.
class RedemptionLibrary {
public:
    virtual ~RedemptionLibrary() = default;
    virtual std::shared_ptr<SafeMailItem> CreateSafeMailItem() = 0;
    virtual std::shared_ptr<SafeAppointmentItem> CreateSafeAppointmentItem() = 0;
    virtual std::shared_ptr<SafeTaskItem> CreateSafeTaskItem() = 0;
    virtual std::shared_ptr<SafeDistList> CreateSafeDistList() = 0;
    virtual std::shared_ptr<MAPIUtils> CreateMAPIUtils() = 0;
    virtual std::shared_ptr<RDOSession> CreateRDOSession() = 0;
    virtual std::shared_ptr<MAPITable> CreateMAPITable() = 0;
};

}  // namespace plexa
