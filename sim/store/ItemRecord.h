// One item of the simulated store: a MAPI property bag keyed by property tag, with the item's
// recipients, user properties, links and (for a distribution list) its address-book entry.
// The store keeps one record per item: its saved state, its entry id and folder, and its events,
// which reach every host object of the item. A host object that changes an item works on a
// copy of its own (a record whose Stored() is the store's record), which Save writes back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Signal.h"
#include "core/Variant.h"
#include "sim/store/AddressEntryRecord.h"
#include "sim/store/PropertyBag.h"

namespace plexa::sim {

class FolderRecord;
class SimSession;
class StoreRecord;

struct RecipientRecord {
    // The name as given, or the resolved entry's name once resolved.
    std::wstring name;
    // OlMailRecipientType: 1 To, 2 CC, 3 BCC.
    int32_t type = 1;
    bool resolved = false;
    // The entry it resolved to; nothing while unresolved.
    std::shared_ptr<AddressEntryRecord> entry;

    // The resolved entry's address and address type ("" while unresolved).
    std::wstring Address() const { return entry ? entry->address : L""; }
    std::wstring AddressType() const { return entry ? entry->addressType : L""; }
};

struct UserPropertyRecord {
    std::wstring name;
    int32_t type = 1;  // OlUserPropertyType
    Variant value;
    bool addToFolderFields = true;
};

struct LinkRecord {
    std::wstring name;
    int32_t type = 40;  // a contact
    // The linked item; an entry id that no longer opens makes Link.Item fail.
    std::wstring entryID;
    std::wstring storeID;
};

class ItemRecord {
public:
    ItemRecord(SimSession& session, int32_t objectClass, StoreRecord& store);
    ItemRecord(const ItemRecord&) = delete;
    ItemRecord& operator=(const ItemRecord&) = delete;

    SimSession& Session() const { return m_session; }
    // OlObjectClass: 43 mail, 40 contact, 69 distribution list, 26 appointment, 48 task ...
    int32_t ObjectClass() const { return m_objectClass; }
    // The record the store keeps for the item: this one, unless this is a host object's copy.
    ItemRecord& Stored() { return m_stored ? *m_stored : *this; }
    const ItemRecord& Stored() const { return m_stored ? *m_stored : *this; }
    bool IsCopy() const { return m_stored != nullptr; }
    // "" until the item is first saved.
    const std::wstring& EntryID() const { return Stored().m_entryID; }
    // The folder holding the item; nullptr while unsaved or once moved or removed.
    FolderRecord* Folder() const { return Stored().m_folder; }
    // The store whose named properties the item uses (its folder's store once saved).
    StoreRecord& Store() const { return *m_store; }
    // The folder a first Save puts the item in; nullptr for the default folder of its kind.
    FolderRecord* SaveTarget() const { return Stored().m_saveTarget; }
    void SetSaveTarget(FolderRecord* folder) { Stored().m_saveTarget = folder; }
    bool IsSaved() const { return Folder() != nullptr; }
    // Gone: moved (the moved item is another record), deleted, or out through the transport.
    bool IsRemoved() const { return Stored().m_removed; }
    // Something changed since the copy was made or last saved (every property set counts, as
    // in the client, even one set to the value it had).
    bool HasChanges() const { return m_changed; }
    void MarkChanged() { m_changed = true; }
    void MarkSaved() { m_changed = false; }

    // Properties by tag (PT_UNICODE and PT_STRING8 are one). Empty when absent.
    Variant GetProp(uint32_t propTag) const;
    bool HasProp(uint32_t propTag) const;
    void SetProp(uint32_t propTag, Variant value);
    void RemoveProp(uint32_t propTag);
    // Every property, in tag order.
    const PropertyBag& Props() const { return m_props; }
    // A text property ("" when absent or not text).
    std::wstring GetText(uint32_t propTag) const;
    // The same without a copy: the stored text, or an empty one, valid until the property
    // changes.
    const std::wstring& TextRef(uint32_t propTag) const;
    void SetText(uint32_t propTag, std::wstring text) {
        SetProp(propTag, Variant(std::move(text)));
    }

    // A named property of the item's store: the tag of (set GUID, id) with the given type, the
    // name created in the store on first use.
    Variant GetNamed(std::wstring_view guid, uint32_t namedId, uint16_t type) const;
    void SetNamed(std::wstring_view guid, uint32_t namedId, uint16_t type, Variant value);

    // The bodies. A new mail is HTML: typed text lands inside the HTML body; setting the HTML
    // body re-derives the plain one; the format is OlBodyFormat (plain 1, HTML 2, rich text 3).
    std::wstring Body() const { return GetText(0x1000001E); }
    void SetBody(const std::wstring& text);
    std::wstring HTMLBody() const;
    void SetHTMLBody(const std::wstring& html);
    int32_t BodyFormat() const;
    void SetBodyFormat(int32_t format);

    // Shared so that a Recipient object stays bound to its recipient while others are removed.
    std::vector<std::shared_ptr<RecipientRecord>> recipients;
    std::vector<UserPropertyRecord> userProperties;
    std::vector<LinkRecord> links;
    // A distribution-list item's entry in the address book (members live there); nullptr for
    // other items.
    std::shared_ptr<AddressEntryRecord> listEntry;
    // The categories as the host shows them ("Business; Family").
    const std::wstring& Categories() const { return m_categories; }
    void SetCategories(std::wstring categories);

    // Adds an unresolved recipient of an OlMailRecipientType.
    std::shared_ptr<RecipientRecord> AddRecipient(const std::wstring& name, int32_t type = 1);
    // Deep copies of the recipients, for a duplicate of the item.
    std::vector<std::shared_ptr<RecipientRecord>> CopyRecipients() const;
    // Takes over another record's properties, recipients, user properties, links, categories
    // and list members (named properties must be of the same store).
    void CopyContentFrom(const ItemRecord& other);

    // The user property of that name (letter case ignored), or nullptr.
    UserPropertyRecord* FindUserProperty(const std::wstring& name);

    // The item's events, raised by the host objects that act on it (on the stored record). The
    // flag cancels.
    Signal<bool&> Send;
    Signal<bool&> Write;
    Signal<bool&> Close;

private:
    friend class SimSession;
    // Tells the folder of a stored item that its content changed.
    void StoredContentChanged();
    SimSession& m_session;
    int32_t m_objectClass;
    std::wstring m_entryID;
    FolderRecord* m_folder = nullptr;
    StoreRecord* m_store;
    FolderRecord* m_saveTarget = nullptr;
    bool m_removed = false;
    bool m_changed = false;
    // For a host object's copy: the stored record it is a copy of.
    std::shared_ptr<ItemRecord> m_stored;
    PropertyBag m_props;
    std::wstring m_categories;
    // The session's bookkeeping for a contact or list item of a contact folder: the keys of its
    // contact-index buckets (the bucket's own key string, stable while the bucket lives), and a
    // contact's own address entry per e-mail slot.
    std::vector<const std::wstring*> m_indexKeys;
    std::array<std::shared_ptr<AddressEntryRecord>, 3> m_slotEntries;
};

}  // namespace plexa::sim
