#include "sim/MailboxSnapshot.h"

#include <cmath>
#include <set>
#include <unordered_map>
#include <utility>

#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/mMailboxMapping.h"
#include "sim/store/mBodyText.h"

namespace plexa::sim {

namespace {

using namespace mMailboxMapping;

// A Long, Integer, Double or Single as a double; nothing for any other value.
std::optional<double> NumberOf(const Variant& v) {
    const auto& raw = v.Raw();
    if (const auto* n = std::get_if<int32_t>(&raw)) {
        return *n;
    }
    if (const auto* n = std::get_if<int16_t>(&raw)) {
        return *n;
    }
    if (const auto* d = std::get_if<double>(&raw)) {
        return *d;
    }
    if (const auto* f = std::get_if<float>(&raw)) {
        return *f;
    }
    return std::nullopt;
}

// GCC 12 at -O2 reports that the property value's destructor frees a byte vector it never
// allocated (-Wfree-nonheap-object) where the value built from a text goes: the variant holds the
// text, not the vector. One of the false positives of GCC's meta-bug 99098 for this warning.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfree-nonheap-object"
#endif
// A property as the file writes it, in the form its tag's type gives; nullopt when the file
// has no form for it.
std::optional<PropertyValue> FromVariant(IClock& clock, uint32_t tag, const Variant& v) {
    const auto& raw = v.Raw();
    const auto number = [&v] { return NumberOf(v); };
    const auto array = [&](auto convert) -> std::optional<PropertyValue> {
        const VariantArray* a = v.ArrayValue();
        if (a == nullptr) {
            return std::nullopt;
        }
        using Element = typename decltype(convert(std::declval<const Variant&>()))::value_type;
        std::vector<Element> out;
        for (const Variant& item : a->items) {
            const auto element = convert(item);
            if (!element) {
                return std::nullopt;
            }
            out.push_back(*element);
        }
        return PropertyValue(std::move(out));
    };
    switch (mapi::PropType(tag)) {
        case 0x0002:
        case 0x0003: {
            const auto n = number();
            if (!n || *n != std::floor(*n)) {
                return std::nullopt;
            }
            return PropertyValue(static_cast<int32_t>(*n));
        }
        case 0x0014: {
            const auto n = number();
            return n ? std::optional<PropertyValue>(static_cast<int64_t>(std::llround(*n)))
                     : std::nullopt;
        }
        case 0x0004:
        case 0x0005: {
            const auto n = number();
            return n ? std::optional<PropertyValue>(*n) : std::nullopt;
        }
        case mapi::PT_BOOLEAN:
            if (const auto* b = std::get_if<bool>(&raw)) {
                return PropertyValue(*b);
            }
            return std::nullopt;
        case mapi::PT_STRING8:
        case mapi::PT_UNICODE:
            if (const auto* s = v.String()) {
                return PropertyValue(*s);
            }
            return std::nullopt;
        case mapi::PT_SYSTIME:
            if (const auto* d = std::get_if<OleDate>(&raw)) {
                return PropertyValue(UtcToLocal(clock, *d));
            }
            return std::nullopt;
        case mapi::PT_BINARY:
            return array([](const Variant& b) -> std::optional<uint8_t> {
                const auto* byte = std::get_if<uint8_t>(&b.Raw());
                return byte ? std::optional<uint8_t>(*byte) : std::nullopt;
            });
        case 0x1003:
            return array([](const Variant& n) -> std::optional<int32_t> {
                const auto* value = std::get_if<int32_t>(&n.Raw());
                return value ? std::optional<int32_t>(*value) : std::nullopt;
            });
        case 0x101E:
        case 0x101F:
            return array([](const Variant& s) -> std::optional<std::wstring> {
                return s.String() ? std::optional<std::wstring>(*s.String()) : std::nullopt;
            });
        default:
            return std::nullopt;
    }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

std::optional<int32_t> Long(const ItemRecord& r, uint32_t tag) {
    const Variant v = r.GetProp(tag);
    const auto* n = std::get_if<int32_t>(&v.Raw());
    return n ? std::optional<int32_t>(*n) : std::nullopt;
}

std::optional<OleDate> Date(const ItemRecord& r, uint32_t tag) {
    const Variant v = r.GetProp(tag);
    const auto* d = std::get_if<OleDate>(&v.Raw());
    return d ? std::optional<OleDate>(*d) : std::nullopt;
}

const wchar_t* MessageClassOf(ItemClass itemClass) {
    switch (itemClass) {
        case ItemClass::Contact:
            return L"IPM.Contact";
        case ItemClass::DistList:
            return L"IPM.DistList";
        case ItemClass::Appointment:
            return L"IPM.Appointment";
        case ItemClass::Task:
            return L"IPM.Task";
        case ItemClass::Note:
            return L"IPM.StickyNote";
        case ItemClass::Journal:
            return L"IPM.Activity";
        case ItemClass::Post:
            return L"IPM.Post";
        case ItemClass::Mail:
            break;
    }
    return L"IPM.Note";
}

// A recipient as the file writes it, so that it resolves to the same entry again: a list by its
// name, a typed address as itself, anyone else as name and address.
std::optional<MailboxRecipient> EntryRecipient(const AddressEntryRecord& entry,
                                               const std::wstring& name) {
    if (entry.isList) {
        return MailboxRecipient::Text(entry.name);
    }
    if (entry.oneOff && name == entry.address) {
        return MailboxRecipient::Text(entry.address);
    }
    if (name.empty() && entry.address.empty()) {
        return std::nullopt;
    }
    return MailboxRecipient::Object(name, entry.address);
}

std::optional<MailboxRecipient> Recipient(const RecipientRecord& recipient) {
    if (recipient.resolved && recipient.entry) {
        return EntryRecipient(*recipient.entry, recipient.name);
    }
    if (text::Trim(recipient.name).empty()) {
        return std::nullopt;
    }
    return MailboxRecipient::Text(recipient.name);
}

// The same recipient with a type of its own (a text cannot carry one: it becomes a name that
// resolves alike).
MailboxRecipient Typed(MailboxRecipient r, RecipientType type) {
    if (type == RecipientType::To) {
        return r;
    }
    if (r.IsText()) {
        return MailboxRecipient::Object(r.text, L"", type);
    }
    r.type = type;
    return r;
}

// A user property as the file keeps it. A value the file has no form for (Null, an error, an
// object) is left out, as is Empty.
MailboxUserProperty UserPropertyOf(const UserPropertyRecord& record) {
    MailboxUserProperty prop;
    prop.name = record.name;
    prop.type = record.type;
    prop.addToFolderFields = record.addToFolderFields;
    const auto& raw = record.value.Raw();
    if (const auto* s = record.value.String()) {
        prop.value = *s;
    } else if (const auto* b = std::get_if<bool>(&raw)) {
        prop.value = *b;
    } else if (const auto* d = std::get_if<OleDate>(&raw)) {
        prop.value = *d;
    } else if (const auto n = NumberOf(record.value)) {
        prop.value = *n;
    } else if (const auto* byte = std::get_if<uint8_t>(&raw)) {
        prop.value = static_cast<double>(*byte);
    } else if (const auto* c = std::get_if<Variant::CurrencyValue>(&raw)) {
        prop.value = static_cast<double>(c->scaled) / 10000.0;
    }
    return prop;
}

class Snapshot {
public:
    explicit Snapshot(const SimSession& session) : m_session(session) {}

    MailboxModel Take() {
        MailboxModel model;
        for (const auto& store : m_session.Stores()) {
            model.stores.push_back(StoreOf(*store));
        }
        for (const auto& entry : m_session.addressBook.Entries()) {
            if (auto e = EntryOf(*entry)) {
                model.addressBook.push_back(std::move(*e));
            }
        }
        return model;
    }

private:
    MailboxStore StoreOf(StoreRecord& store) {
        MailboxStore out;
        out.name = store.Name();
        out.isDefault = store.IsDefault();
        out.kind = store.Kind();
        out.storeId = store.StoreID();
        out.rootEntryId = store.TopFolder()->EntryID();
        std::unordered_map<const FolderRecord*, FolderRole> roles;
        for (FolderRole role : AllRoles()) {
            if (const FolderRecord* folder = store.DefaultFolder(DefaultFolderOf(role))) {
                roles.emplace(folder, role);
            }
        }
        for (const auto& sub : store.TopFolder()->Subfolders()) {
            const auto it = roles.find(sub.get());
            out.folders.push_back(
                FolderOf(*sub, it == roles.end() ? FolderRole::None : it->second));
        }
        return out;
    }

    MailboxFolder FolderOf(const FolderRecord& folder, FolderRole role) {
        MailboxFolder out;
        out.name = folder.Name();
        out.entryId = folder.EntryID();
        out.role = role;
        if (role == FolderRole::None) {
            const auto type = FolderTypeOf(folder.DefaultItemType());
            if (type && *type != FolderType::Mail) {
                out.type = type;
            }
        }
        for (const auto& item : folder.Items()) {
            if (auto i = ItemOf(*item)) {
                out.items.push_back(std::move(*i));
            }
        }
        for (const auto& sub : folder.Subfolders()) {
            out.folders.push_back(FolderOf(*sub, FolderRole::None));
        }
        return out;
    }

    std::optional<MailboxItem> ItemOf(ItemRecord& r) {
        const auto itemClass = ItemClassOf(r.ObjectClass());
        if (!itemClass) {
            return std::nullopt;
        }
        const ItemClass c = *itemClass;
        const bool message = c == ItemClass::Mail || c == ItemClass::Post;
        MailboxItem item;
        item.itemClass = c;
        item.entryId = r.EntryID();
        for (const UserPropertyRecord& prop : r.userProperties) {
            item.userProperties.push_back(UserPropertyOf(prop));
        }
        std::set<uint32_t> consumed = {PR_LAST_MODIFICATION_TIME};
        const auto take = [&](uint32_t tag) {
            consumed.insert(tag);
            return r.GetProp(tag);
        };
        StoreRecord& store = r.Store();
        const auto named = [&](const wchar_t* guid, uint32_t lid, uint16_t type) -> uint32_t {
            const uint32_t id = store.GetIDsFromNames(guid, lid, false);
            return id == 0 ? 0 : mapi::MakeTag(id, type);
        };

        if (r.GetText(mapi::PR_MESSAGE_CLASS) == MessageClassOf(c)) {
            consumed.insert(mapi::PR_MESSAGE_CLASS);
        }
        // The subject of a contact and of a note follows from other fields.
        if (c != ItemClass::Contact && c != ItemClass::Note) {
            item.subject = r.GetText(mapi::PR_SUBJECT);
        }
        consumed.insert(mapi::PR_SUBJECT);
        item.body = r.GetText(mapi::PR_BODY);
        consumed.insert(mapi::PR_BODY);
        item.categories = r.Categories();

        const auto sensitivity = Long(r, mapi::PR_SENSITIVITY);
        if (sensitivity && *sensitivity >= 0 && *sensitivity <= 3) {
            consumed.insert(mapi::PR_SENSITIVITY);
            if (c == ItemClass::Contact && *sensitivity == olPrivate) {
                item.isPrivate = true;
            } else {
                item.sensitivity = static_cast<Sensitivity>(*sensitivity);
            }
        }

        if (message) {
            const bool hasHtml = r.HasProp(mapi::PR_HTML);
            if (hasHtml) {
                item.html = take(mapi::PR_HTML).String() ? *r.GetProp(mapi::PR_HTML).String() : L"";
                if (item.body == mBodyText::HtmlToText(item.html)) {
                    item.body.clear();  // loading derives it again
                }
            }
            const auto format = Long(r, mapi::PR_MSG_EDITOR_FORMAT);
            if (!format || *format == (hasHtml ? olFormatHTML : olFormatPlain)) {
                consumed.insert(mapi::PR_MSG_EDITOR_FORMAT);
            }
            Sender(r, item.from, consumed);
            item.received = LocalDate(r, mapi::PR_MESSAGE_DELIVERY_TIME, consumed);
        }
        if (message || c == ItemClass::Contact) {
            const uint32_t textTag =
                named(mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, mapi::PT_STRING8);
            const auto status = Long(r, mapi::PR_FLAG_STATUS);
            const auto icon = Long(r, mapi::PR_FLAG_ICON);
            const std::wstring flagText = textTag == 0 ? L"" : r.GetText(textTag);
            const bool inRange = status.value_or(0) >= 0 && status.value_or(0) <= 2 &&
                                 icon.value_or(0) >= 0 && icon.value_or(0) <= 6;
            if (inRange && (status || icon || !flagText.empty())) {
                item.flag = MailboxFlag{status.value_or(0), icon.value_or(0), flagText};
                consumed.insert({mapi::PR_FLAG_STATUS, mapi::PR_FLAG_ICON, textTag});
            }
        }
        if (c == ItemClass::Mail) {
            for (const auto& recipient : r.recipients) {
                if (auto out = Recipient(*recipient)) {
                    const RecipientType type = RecipientTypeFrom(recipient->type);
                    auto& list = type == RecipientType::Cc    ? item.cc
                                 : type == RecipientType::Bcc ? item.bcc
                                                              : item.to;
                    list.push_back(std::move(*out));
                }
            }
            item.sent = LocalDate(r, PR_CLIENT_SUBMIT_TIME, consumed);
            if (Long(r, mapi::PR_ICON_INDEX) == mapi::ICON_INDEX_REPLIED) {
                item.replied = true;
                consumed.insert(mapi::PR_ICON_INDEX);
            }
        }
        if (message) {
            // Read or not; and for a mail, unsent exactly when it was neither received nor sent
            // (a draft), as loading sets it. Other flags are kept as the property.
            if (const auto flags = Long(r, mapi::PR_MESSAGE_FLAGS)) {
                item.unread = (*flags & mapi::MSGFLAG_READ) == 0;
                const int32_t unsent =
                    c == ItemClass::Mail && !item.received && !item.sent ? mapi::MSGFLAG_UNSENT : 0;
                if ((*flags & ~mapi::MSGFLAG_READ) == unsent) {
                    consumed.insert(mapi::PR_MESSAGE_FLAGS);
                }
            }
        }
        if (c == ItemClass::Contact) {
            Contact(r, item, consumed);
        }
        if (c == ItemClass::DistList && r.listEntry) {
            for (const auto& member : r.listEntry->Members()) {
                if (auto out = EntryRecipient(*member, member->name)) {
                    item.members.push_back(std::move(*out));
                }
            }
        }
        if (c == ItemClass::Appointment) {
            Sender(r, item.organizer, consumed);
            const uint32_t statusTag =
                named(mapi::PSETID_Appointment, mapi::LID_RESPONSE_STATUS, mapi::PT_LONG);
            const auto status = statusTag == 0 ? std::nullopt : Long(r, statusTag);
            if (status && *status >= 0 && *status <= 5) {
                item.responseStatus = static_cast<ResponseStatus>(*status);
            }
            const uint32_t locationTag =
                named(mapi::PSETID_Appointment, LID_LOCATION, mapi::PT_STRING8);
            item.location = locationTag == 0 ? L"" : r.GetText(locationTag);
            item.end = LocalDate(r, PR_END_DATE, consumed);
        }
        if (c == ItemClass::Appointment || c == ItemClass::Journal) {
            item.start = LocalDate(r, PR_START_DATE, consumed);
            if (item.start && item.end && *item.end < *item.start) {
                item.end.reset();
                consumed.erase(PR_END_DATE);
            }
        }
        if (c == ItemClass::Appointment || c == ItemClass::Task) {
            for (const auto& recipient : r.recipients) {
                if (auto out = Recipient(*recipient)) {
                    auto& list = c == ItemClass::Task ? item.recipients : item.attendees;
                    list.push_back(Typed(std::move(*out), RecipientTypeFrom(recipient->type)));
                }
            }
        }
        if (c == ItemClass::Task) {
            const uint32_t dueTag = named(PSETID_Task, LID_TASK_DUE_DATE, mapi::PT_SYSTIME);
            if (dueTag != 0) {
                item.due = LocalDate(r, dueTag, consumed);
            }
        }
        if (c == ItemClass::Appointment || c == ItemClass::Task || c == ItemClass::Journal) {
            for (const auto& link : r.links) {
                // A link whose contact is gone opens nothing: it is not kept.
                const auto contact = m_session.FindItem(link.entryID, link.storeID);
                if (contact && contact->ObjectClass() == olContact) {
                    const std::wstring name = contact->GetText(mapi::PR_DISPLAY_NAME);
                    if (!text::Trim(name).empty()) {
                        item.links.push_back(name);
                    }
                }
            }
        }

        // Everything else a plain tag can say. Named properties have store-specific ids that a
        // file cannot give; the ones a mailbox holds are the fields above.
        for (const auto& [tag, value] : r.Props()) {
            if (consumed.count(tag) != 0 || mapi::PropId(tag) >= 0x8000) {
                continue;
            }
            if (auto v = FromVariant(m_session.clock, tag, value)) {
                item.properties.emplace(tag, std::move(*v));
            }
        }
        return item;
    }

    std::optional<OleDate> LocalDate(const ItemRecord& r, uint32_t tag,
                                     std::set<uint32_t>& consumed) const {
        const auto utc = Date(r, tag);
        if (!utc) {
            return std::nullopt;
        }
        consumed.insert(tag);
        return UtcToLocal(m_session.clock, *utc);
    }

    static void Sender(const ItemRecord& r, std::optional<MailboxRecipient>& sender,
                       std::set<uint32_t>& consumed) {
        const std::wstring name = r.GetText(mapi::PR_SENT_REPRESENTING_NAME);
        const std::wstring address = r.GetText(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS);
        if (!name.empty() || !address.empty()) {
            sender = MailboxRecipient::Object(name, address);
            consumed.insert(
                {mapi::PR_SENT_REPRESENTING_NAME, mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS});
        }
    }

    void Contact(const ItemRecord& r, MailboxItem& item, std::set<uint32_t>& consumed) const {
        const std::pair<uint32_t, std::wstring*> names[] = {
            {mapi::PR_DISPLAY_NAME, &item.fullName},  {mapi::PR_GIVEN_NAME, &item.firstName},
            {mapi::PR_MIDDLE_NAME, &item.middleName}, {mapi::PR_SURNAME, &item.lastName},
            {mapi::PR_INITIALS, &item.initials},      {mapi::PR_NICKNAME, &item.nickname},
            {mapi::PR_COMPANY_NAME, &item.company}};
        for (const auto& [tag, field] : names) {
            *field = r.GetText(tag);
            consumed.insert(tag);
        }
        // The slots in place: an empty slot before a filled one stays empty ("").
        for (int k = 1; k <= 3; ++k) {
            const std::wstring address = m_session.ContactEmailAddress(r, k);
            item.email.push_back(text::Trim(address).empty() ? std::wstring() : address);
        }
        while (!item.email.empty() && item.email.back().empty()) {
            item.email.pop_back();
        }
    }

    static std::optional<AddressBookEntry> EntryOf(const AddressEntryRecord& entry) {
        if (text::Trim(entry.name).empty()) {
            return std::nullopt;
        }
        AddressBookEntry out;
        out.name = entry.name;
        out.address = entry.address;
        if (entry.isList) {
            out.isList = true;
            out.type = entry.address.empty() ? AddressType::Smtp : AddressType::Ex;
            for (const auto& member : entry.Members()) {
                if (auto m = EntryRecipient(*member, member->name)) {
                    out.members.push_back(std::move(*m));
                }
            }
            return out;
        }
        if (text::Trim(entry.address).empty()) {
            return std::nullopt;
        }
        if (entry.addressType == L"EX") {
            out.type = AddressType::Ex;
            out.smtp = entry.smtpAddress;
        } else if (entry.address.find(L'@') == std::wstring::npos) {
            return std::nullopt;  // no address the file can give an SMTP entry
        }
        return out;
    }

    const SimSession& m_session;
};

}  // namespace

MailboxModel SnapshotSession(const SimSession& session) {
    return Snapshot(session).Take();
}

}  // namespace plexa::sim
