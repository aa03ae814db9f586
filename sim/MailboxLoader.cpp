#include "sim/MailboxLoader.h"

#include <climits>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/MailboxSnapshot.h"
#include "sim/SimHost.h"
#include "sim/mMailboxIds.h"
#include "sim/mMailboxMapping.h"
#include "sim/mailbox/DemoMailbox.h"
#include "sim/mailbox/MailboxPointer.h"
#include "sim/mailbox/MailboxReader.h"
#include "sim/mailbox/MailboxWriter.h"
#include "sim/store/mBodyText.h"

namespace plexa::sim {

namespace {

using namespace mMailboxMapping;

using mMailboxPointer::Child;

std::wstring Quoted(std::wstring_view s) {
    return L"\"" + std::wstring(s) + L"\"";
}

std::wstring TagText(uint32_t tag) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        out += kHex[(tag >> shift) & 0xF];
    }
    return out;
}

// The text a recipient or member given as an object stands for when typed: "Name <address>",
// or whichever of the two it has.
std::wstring TypedText(const MailboxRecipient& r) {
    if (r.IsText()) {
        return r.text;
    }
    if (r.address.empty()) {
        return r.name;
    }
    if (r.name.empty()) {
        return r.address;
    }
    return r.name + L" <" + r.address + L">";
}

std::wstring Describe(const MailboxRecipient& r) {
    if (r.IsText()) {
        return Quoted(r.text);
    }
    return Quoted(TypedText(r));
}

// The first line of a note's body is its subject.
std::wstring FirstLine(const std::wstring& body) {
    return body.substr(0, body.find_first_of(L"\r\n"));
}

// A contact without a full name is called by its parts, as the client files it.
std::wstring FullNameOf(const MailboxItem& item) {
    if (!item.fullName.empty()) {
        return item.fullName;
    }
    std::wstring name;
    for (const std::wstring* part : {&item.firstName, &item.middleName, &item.lastName}) {
        if (!part->empty()) {
            name += (name.empty() ? L"" : L" ") + *part;
        }
    }
    return name;
}

class Builder {
public:
    Builder(const MailboxModel& mailbox, SimSession& session, std::wstring source)
        : m_mailbox(mailbox), m_session(session), m_source(std::move(source)) {}

    void Build() {
        if (!m_session.Stores().empty()) {
            throw MailboxError(m_source, L"", L"the session already holds stores", 0, 0, E_FAIL);
        }
        if (m_mailbox.stores.empty()) {
            Fail(L"/stores", L"a mailbox needs at least one store");
        }
        Reserve();
        // Ids made while loading come after every id the file gives back.
        m_session.SkipIDsThrough(mMailboxIds::CheckGivenIDs(m_mailbox, m_source));
        // First everything a name can resolve to, then what resolves: recipients and members
        // find every contact, list and address-book entry wherever the file puts it.
        for (std::size_t i = 0; i < m_mailbox.stores.size(); ++i) {
            BuildStore(m_mailbox.stores[i], Child(L"/stores", i));
        }
        for (std::size_t i = 0; i < m_mailbox.addressBook.size(); ++i) {
            BuildEntry(m_mailbox.addressBook[i], Child(L"/addressBook", i));
        }
        for (const auto& [list, entry, at] : m_pendingLists) {
            AddMembers(*list, entry->members, Child(at, L"members"));
        }
        for (const Pending& pending : m_pendingItems) {
            Resolve(pending);
        }
    }

private:
    struct PendingList {
        std::shared_ptr<AddressEntryRecord> list;
        const AddressBookEntry* entry;
        std::wstring at;
    };
    struct Pending {
        std::shared_ptr<ItemRecord> record;
        const MailboxItem* item;
        std::wstring at;
    };

    [[noreturn]] void Fail(const std::wstring& at, const std::wstring& problem) const {
        throw MailboxError(m_source, at, problem);
    }

    // The session's indexes get their final size at once instead of growing (and rehashing
    // everything they hold) step by step.
    void Reserve() {
        std::size_t items = 0;
        std::size_t contacts = 0;
        std::vector<const MailboxFolder*> stack;
        for (const MailboxStore& store : m_mailbox.stores) {
            for (const MailboxFolder& folder : store.folders) {
                stack.push_back(&folder);
            }
        }
        while (!stack.empty()) {
            const MailboxFolder* folder = stack.back();
            stack.pop_back();
            items += folder->items.size();
            for (const MailboxItem& item : folder->items) {
                contacts +=
                    item.itemClass == ItemClass::Contact || item.itemClass == ItemClass::DistList
                        ? 1
                        : 0;
            }
            for (const MailboxFolder& sub : folder->folders) {
                stack.push_back(&sub);
            }
        }
        m_session.Reserve(items, contacts, m_mailbox.addressBook.size());
        m_contacts.reserve(contacts);
    }

    // ---- Stores and folders ------------------------------------------------------------------

    void BuildStore(const MailboxStore& store, const std::wstring& at) {
        if (text::Trim(store.name).empty()) {
            Fail(Child(at, L"name"), L"a store needs a name");
        }
        for (const auto& other : m_session.Stores()) {
            if (text::EqualsNoCase(other->Name(), store.name)) {
                Fail(Child(at, L"name"), L"a second store named " + Quoted(store.name));
            }
        }
        if (store.isDefault && m_defaultGiven) {
            Fail(Child(at, L"default"), L"a second default store");
        }
        m_defaultGiven = m_defaultGiven || store.isDefault;
        StoreRecord& record = m_session.AddStore(store.name, store.isDefault, true);
        record.SetKind(store.kind);
        FolderRecord& top = *record.TopFolder();
        if (!store.storeId.empty()) {
            m_session.GiveStoreID(record, store.storeId);
        }
        if (!store.rootEntryId.empty()) {
            m_session.GiveEntryID(top, store.rootEntryId);
        }

        // The store made every default folder; a folder with a role is that folder, under the
        // file's name. The names the other folders may not take are the default folders' final
        // names.
        std::unordered_set<FolderRole> given;
        for (std::size_t i = 0; i < store.folders.size(); ++i) {
            const MailboxFolder& folder = store.folders[i];
            const std::wstring folderAt = Child(Child(at, L"folders"), i);
            if (folder.role == FolderRole::None) {
                continue;
            }
            if (!given.insert(folder.role).second) {
                Fail(Child(folderAt, L"role"), L"a second folder with the role " +
                                                   Quoted(RoleName(folder.role)) + L" in store " +
                                                   Quoted(store.name));
            }
            if (folder.type && *folder.type != NaturalType(folder.role)) {
                Fail(Child(folderAt, L"type"),
                     L"a folder with the role " + Quoted(RoleName(folder.role)) + L" holds " +
                         std::wstring(FolderTypeName(NaturalType(folder.role))) + L" items");
            }
            CheckFolderName(folder.name, Child(folderAt, L"name"));
            FolderRecord& given = *record.DefaultFolder(DefaultFolderOf(folder.role));
            given.SetName(folder.name);
            if (!folder.entryId.empty()) {
                m_session.GiveEntryID(given, folder.entryId);
            }
        }
        for (std::size_t i = 0; i < store.folders.size(); ++i) {
            const MailboxFolder& folder = store.folders[i];
            int same = 0;
            for (const auto& sub : top.Subfolders()) {
                same += text::EqualsNoCase(sub->Name(), folder.name) ? 1 : 0;
            }
            if (folder.role != FolderRole::None && same > 1) {
                Fail(Child(Child(Child(at, L"folders"), i), L"name"),
                     L"the default folder named " + Quoted(folder.name) +
                         L" would have the name of another default folder of the store (give "
                         L"that one its \"role\" and another name)");
            }
        }
        for (std::size_t i = 0; i < store.folders.size(); ++i) {
            const MailboxFolder& folder = store.folders[i];
            const std::wstring folderAt = Child(Child(at, L"folders"), i);
            FolderRecord* target = nullptr;
            if (folder.role != FolderRole::None) {
                target = record.DefaultFolder(DefaultFolderOf(folder.role));
            } else {
                target = &NewFolder(top, folder, folderAt);
            }
            BuildContent(folder, *target, folderAt);
        }
    }

    void CheckFolderName(const std::wstring& name, const std::wstring& at) const {
        if (text::Trim(name).empty()) {
            Fail(at, L"a folder needs a name");
        }
        if (name.find(L'\\') != std::wstring::npos) {
            Fail(at, L"a folder name cannot hold a backslash (it separates folders in a path)");
        }
    }

    FolderRecord& NewFolder(FolderRecord& parent, const MailboxFolder& folder,
                            const std::wstring& at) {
        CheckFolderName(folder.name, Child(at, L"name"));
        if (folder.role != FolderRole::None) {
            Fail(Child(at, L"role"), L"only a folder at the top of a store is a default folder");
        }
        for (const auto& sibling : parent.Subfolders()) {
            if (text::EqualsNoCase(sibling->Name(), folder.name)) {
                const bool isDefault = parent.Parent() == nullptr;
                Fail(Child(at, L"name"),
                     L"a second folder named " + Quoted(folder.name) + L" in " +
                         Quoted(parent.Name()) +
                         (isDefault ? L" (the store makes its default folders itself: give the "
                                      L"folder its \"role\" or another name)"
                                    : L""));
            }
        }
        FolderRecord& made =
            m_session.AddFolder(parent, folder.name, ItemTypeOf(folder.EffectiveType()));
        if (!folder.entryId.empty()) {
            m_session.GiveEntryID(made, folder.entryId);
        }
        return made;
    }

    void BuildContent(const MailboxFolder& folder, FolderRecord& record, const std::wstring& at) {
        const std::wstring itemsAt = Child(at, L"items");
        for (std::size_t i = 0; i < folder.items.size(); ++i) {
            BuildItem(folder.items[i], record, ItemAt{itemsAt, i});
        }
        if (++m_depth > 100) {
            Fail(Child(at, L"folders"), L"folders are nested more than 100 deep");
        }
        for (std::size_t i = 0; i < folder.folders.size(); ++i) {
            const std::wstring childAt = Child(Child(at, L"folders"), i);
            FolderRecord& child = NewFolder(record, folder.folders[i], childAt);
            BuildContent(folder.folders[i], child, childAt);
        }
        --m_depth;
    }

    // ---- Items -------------------------------------------------------------------------------

    // Where an item is in the document, spelled out only for a message or a later step.
    struct ItemAt {
        const std::wstring& itemsAt;
        std::size_t index;
        std::wstring Text() const { return Child(itemsAt, index); }
        std::wstring Text(std::wstring_view key) const { return Child(Text(), key); }
    };

    OleDate Utc(OleDate local) const { return LocalToUtc(m_session.clock, local); }

    void BuildItem(const MailboxItem& item, FolderRecord& folder, const ItemAt& at) {
        const int32_t objectClass = ObjectClassOf(item.itemClass);
        auto record = m_session.NewItem(objectClass, &folder);
        ItemRecord& r = *record;
        if (!item.entryId.empty()) {
            m_session.GiveEntryID(r, item.entryId);
        }
        for (const MailboxUserProperty& prop : item.userProperties) {
            r.userProperties.push_back(UserPropertyOf(prop));
        }

        // Bodies: a mail or post with HTML is an HTML message, one without is plain text.
        const bool hasHtml = item.itemClass == ItemClass::Mail || item.itemClass == ItemClass::Post;
        if (hasHtml && !item.html.empty()) {
            r.SetText(mapi::PR_HTML, item.html);
            r.SetProp(mapi::PR_MSG_EDITOR_FORMAT, Variant(olFormatHTML));
            const std::wstring body =
                item.body.empty() ? mBodyText::HtmlToText(item.html) : item.body;
            if (!body.empty()) {
                r.SetText(mapi::PR_BODY, body);
            }
        } else {
            if (hasHtml) {
                r.RemoveProp(mapi::PR_HTML);
                r.SetProp(mapi::PR_MSG_EDITOR_FORMAT, Variant(olFormatPlain));
            }
            if (!item.body.empty()) {
                r.SetText(mapi::PR_BODY, item.body);
            }
        }
        r.SetCategories(item.categories);

        std::wstring subject = item.subject;
        if (item.itemClass == ItemClass::Contact) {
            subject = FullNameOf(item);
        } else if (item.itemClass == ItemClass::Note) {
            subject = FirstLine(item.body);
        }
        if (!subject.empty()) {
            r.SetText(mapi::PR_SUBJECT, subject);
        }

        Sensitivity sensitivity = item.sensitivity;
        if (item.isPrivate) {
            if (sensitivity != Sensitivity::Normal && sensitivity != Sensitivity::Private) {
                Fail(at.Text(L"sensitivity"),
                     L"a private contact has the sensitivity \"private\", not " +
                         Quoted(SensitivityName(sensitivity)));
            }
            sensitivity = Sensitivity::Private;
        }
        if (sensitivity != Sensitivity::Normal) {
            r.SetProp(mapi::PR_SENSITIVITY, Variant(static_cast<int32_t>(sensitivity)));
        }

        if (item.received) {
            r.SetProp(mapi::PR_MESSAGE_DELIVERY_TIME, Variant(Utc(*item.received)));
        }
        if (item.sent) {
            r.SetProp(PR_CLIENT_SUBMIT_TIME, Variant(Utc(*item.sent)));
        }
        if (item.itemClass == ItemClass::Mail || item.itemClass == ItemClass::Post) {
            // A mail neither received nor sent is a draft: the client reports it unsent.
            const bool draft = item.itemClass == ItemClass::Mail && !item.received && !item.sent;
            r.SetProp(mapi::PR_MESSAGE_FLAGS, Variant((item.unread ? 0 : mapi::MSGFLAG_READ) |
                                                      (draft ? mapi::MSGFLAG_UNSENT : 0)));
        }
        if (item.replied) {
            r.SetProp(mapi::PR_ICON_INDEX, Variant(mapi::ICON_INDEX_REPLIED));
        }
        if (item.flag) {
            r.SetProp(mapi::PR_FLAG_STATUS, Variant(static_cast<int32_t>(item.flag->status)));
            r.SetProp(mapi::PR_FLAG_ICON, Variant(static_cast<int32_t>(item.flag->icon)));
            if (!item.flag->text.empty()) {
                r.SetNamed(mapi::PSETID_Common, mapi::LID_FLAG_REQUEST, mapi::PT_STRING8,
                           Variant(item.flag->text));
            }
        }

        if (item.itemClass == ItemClass::Contact) {
            BuildContact(item, r, at);
        }
        if (item.responseStatus != ResponseStatus::None) {
            r.SetNamed(mapi::PSETID_Appointment, mapi::LID_RESPONSE_STATUS, mapi::PT_LONG,
                       Variant(static_cast<int32_t>(item.responseStatus)));
        }
        if (item.start) {
            r.SetProp(PR_START_DATE, Variant(Utc(*item.start)));
        }
        if (item.end) {
            r.SetProp(PR_END_DATE, Variant(Utc(*item.end)));
        }
        if (!item.location.empty()) {
            r.SetNamed(mapi::PSETID_Appointment, LID_LOCATION, mapi::PT_STRING8,
                       Variant(item.location));
        }
        if (item.due) {
            r.SetNamed(PSETID_Task, LID_TASK_DUE_DATE, mapi::PT_SYSTIME, Variant(Utc(*item.due)));
        }

        // What "properties" gives comes last: it may say anything the fields said otherwise.
        std::optional<Variant> modified;
        for (const auto& [tag, value] : item.properties) {
            if (mapi::PropId(tag) >= 0x8000) {
                Fail(Child(at.Text(L"properties"), TagText(tag)),
                     L"property " + TagText(tag) +
                         L" is a named property, whose id differs from store to store; the "
                         L"item's fields give the named properties a mailbox can hold");
            }
            Variant v = ToVariant(tag, value);
            if (tag == PR_LAST_MODIFICATION_TIME) {
                modified = std::move(v);  // saving sets it: it is set after the save
            } else {
                r.SetProp(tag, v);
            }
        }

        m_session.Save(record);
        if (modified) {
            r.SetProp(PR_LAST_MODIFICATION_TIME, *modified);
        }
        if (item.itemClass == ItemClass::Contact) {
            m_contacts.push_back(&r);
        }
        if (NeedsResolving(item)) {
            m_pendingItems.push_back(Pending{record, &item, at.Text()});
        }
    }

    void BuildContact(const MailboxItem& item, ItemRecord& r, const ItemAt& at) {
        const std::wstring fullName = FullNameOf(item);
        const std::pair<uint32_t, const std::wstring*> names[] = {
            {mapi::PR_DISPLAY_NAME, &fullName},       {mapi::PR_GIVEN_NAME, &item.firstName},
            {mapi::PR_MIDDLE_NAME, &item.middleName}, {mapi::PR_SURNAME, &item.lastName},
            {mapi::PR_INITIALS, &item.initials},      {mapi::PR_NICKNAME, &item.nickname},
            {mapi::PR_COMPANY_NAME, &item.company}};
        for (const auto& [tag, value] : names) {
            if (!value->empty()) {
                r.SetText(tag, *value);
            }
        }
        if (item.email.size() > 3) {
            Fail(at.Text(L"email"),
                 L"a contact holds one to three e-mail addresses, this one has " +
                     std::to_wstring(item.email.size()));
        }
        for (std::size_t k = 0; k < item.email.size(); ++k) {
            // "" is an empty slot (null in the file): it must come before a filled one.
            if (item.email[k].empty() && k + 1 < item.email.size()) {
                continue;
            }
            if (text::Trim(item.email[k]).empty()) {
                Fail(Child(at.Text(L"email"), k),
                     item.email[k].empty() ? L"an empty slot (null) must come before a filled one"
                                           : L"an empty e-mail address");
            }
            m_session.SetContactEmail(r, static_cast<int>(k + 1), item.email[k]);
        }
    }

    // A user property as the object model made it: a text property without a value holds "",
    // an integer one holds a whole number as a Long.
    static UserPropertyRecord UserPropertyOf(const MailboxUserProperty& prop) {
        UserPropertyRecord record;
        record.name = prop.name;
        record.type = prop.type;
        record.addToFolderFields = prop.addToFolderFields;
        if (!prop.value) {
            if (prop.type == olText) {
                record.value = Variant(L"");
            }
            return record;
        }
        record.value = std::visit(
            [&prop](const auto& v) -> Variant {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, double>) {
                    const bool whole = v == std::floor(v) && v >= INT32_MIN && v <= INT32_MAX;
                    return prop.type == olInteger && whole ? Variant(static_cast<int32_t>(v))
                                                           : Variant(v);
                } else {
                    return Variant(v);
                }
            },
            *prop.value);
        return record;
    }

    static Variant ToVariant(uint32_t tag, const PropertyValue& value) {
        return std::visit(
            [tag](const auto& v) -> Variant {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, int32_t>) {
                    if (mapi::PropType(tag) == 0x0002) {
                        return Variant::Integer(static_cast<int16_t>(v));
                    }
                    return Variant(v);
                } else if constexpr (std::is_same_v<T, int64_t>) {
                    return Variant(static_cast<double>(v));  // Variant has no 64-bit integer
                } else if constexpr (std::is_same_v<T, double>) {
                    if (mapi::PropType(tag) == 0x0004) {
                        return Variant(static_cast<float>(v));
                    }
                    return Variant(v);
                } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
                    std::vector<Variant> bytes;
                    bytes.reserve(v.size());
                    for (uint8_t b : v) {
                        bytes.push_back(Variant::Byte(b));
                    }
                    return Variant::Array(VarType::Byte, std::move(bytes));
                } else if constexpr (std::is_same_v<T, std::vector<int32_t>>) {
                    std::vector<Variant> items(v.begin(), v.end());
                    return Variant::Array(VarType::Long, std::move(items));
                } else if constexpr (std::is_same_v<T, std::vector<std::wstring>>) {
                    std::vector<Variant> items(v.begin(), v.end());
                    return Variant::Array(VarType::String, std::move(items));
                } else {
                    return Variant(v);  // bool, OleDate, text
                }
            },
            value);
    }

    static bool NeedsResolving(const MailboxItem& item) {
        return !item.to.empty() || !item.cc.empty() || !item.bcc.empty() || !item.members.empty() ||
               !item.attendees.empty() || !item.recipients.empty() || !item.links.empty() ||
               item.from || item.organizer;
    }

    // ---- The address book --------------------------------------------------------------------

    void BuildEntry(const AddressBookEntry& entry, const std::wstring& at) {
        if (text::Trim(entry.name).empty()) {
            Fail(Child(at, L"name"), L"an address-book entry needs a name");
        }
        AddressBook& book = m_session.addressBook;
        if (entry.isList) {
            auto list = book.AddList(entry.name, entry.address);
            m_pendingLists.push_back(PendingList{list, &entry, at});
            return;
        }
        if (text::Trim(entry.address).empty()) {
            Fail(Child(at, L"address"), L"an address-book entry needs an \"address\"");
        }
        if (entry.type == AddressType::Ex) {
            book.AddExchange(entry.name, entry.address, entry.smtp);
        } else {
            book.AddSmtp(entry.name, entry.address);
        }
    }

    // ---- Resolving ---------------------------------------------------------------------------

    // A member must be one entry: a list holds what its owner chose, so a name that finds
    // nobody or several people is a mistake in the file, not a recipient to ask about later.
    std::shared_ptr<AddressEntryRecord> Member(const MailboxRecipient& member,
                                               const std::wstring& at) {
        if (auto entry = m_session.Resolve(TypedText(member))) {
            return entry;
        }
        // A contact's full name stands for each of its addresses, so the client cannot resolve
        // that of a contact with several; in a list the file means the contact, as a user
        // picking it from the contacts would: its first address.
        if (member.IsText() && CountMatches(member.text) == 1) {
            if (auto entry = FirstAddressOfContact(member.text)) {
                return entry;
            }
        }
        const std::wstring key = member.IsText()          ? member.text
                                 : member.address.empty() ? member.name
                                                          : member.address;
        const std::size_t matches = CountMatches(key);
        if (matches == 0) {
            Fail(at, L"member " + Describe(member) +
                         L" matches no address-book entry, contact or distribution list (give "
                         L"an e-mail address, or { \"name\", \"address\" })");
        }
        Fail(at, L"member " + Describe(member) + L" is ambiguous: " + std::to_wstring(matches) +
                     L" address-book entries, contacts or distribution lists have that name or "
                     L"address (write it as { \"name\", \"address\" } with an address only one "
                     L"of them has)");
    }

    // The first address of the one contact with that full name and several addresses, or
    // nullptr.
    std::shared_ptr<AddressEntryRecord> FirstAddressOfContact(const std::wstring& fullName) {
        ItemRecord* found = nullptr;
        for (ItemRecord* contact : m_contacts) {
            if (!contact->IsRemoved() &&
                text::EqualsNoCase(contact->TextRef(mapi::PR_DISPLAY_NAME), fullName)) {
                if (found != nullptr) {
                    return nullptr;
                }
                found = contact;
            }
        }
        std::shared_ptr<AddressEntryRecord> first;
        int filled = 0;
        for (int k = 1; found != nullptr && k <= 3; ++k) {
            if (auto entry = m_session.ContactEntry(*found, k)) {
                first = first ? first : entry;
                ++filled;
            }
        }
        return filled > 1 ? first : nullptr;
    }

    // How many entries a text finds, for the message about a member that does not resolve.
    // Walks every contact folder: it runs only when building has failed.
    std::size_t CountMatches(const std::wstring& text) const {
        std::size_t count = m_session.addressBook.Lookup(text).size();
        std::vector<const FolderRecord*> stack;
        for (const auto& store : m_session.Stores()) {
            stack.push_back(store->TopFolder());
        }
        while (!stack.empty()) {
            const FolderRecord* folder = stack.back();
            stack.pop_back();
            for (const auto& sub : folder->Subfolders()) {
                stack.push_back(sub.get());
            }
            if (folder->DefaultItemType() != olContactItem) {
                continue;
            }
            for (const auto& item : folder->Items()) {
                bool match = false;
                if (item->ObjectClass() == olDistributionList) {
                    match = text::EqualsNoCase(item->GetText(mapi::PR_SUBJECT), text);
                } else if (item->ObjectClass() == olContact) {
                    bool reachable = false;
                    for (int k = 1; k <= 3; ++k) {
                        const std::wstring address = m_session.ContactEmailAddress(*item, k);
                        reachable = reachable || !address.empty();
                        match = match || (!address.empty() && text::EqualsNoCase(address, text));
                    }
                    // A contact without an address is no entry, whatever its name.
                    match = match || (reachable && text::EqualsNoCase(
                                                       item->GetText(mapi::PR_DISPLAY_NAME), text));
                }
                count += match ? 1 : 0;
            }
        }
        return count;
    }

    void AddMembers(AddressEntryRecord& list, const std::vector<MailboxRecipient>& members,
                    const std::wstring& at) {
        for (std::size_t i = 0; i < members.size(); ++i) {
            AddressBook::AddMember(list, Member(members[i], Child(at, i)));
        }
    }

    // Recipients resolve as the client resolves typed names; what does not stays unresolved,
    // as in a message the user has not checked yet.
    void AddRecipients(ItemRecord& r, const std::vector<MailboxRecipient>& list,
                       RecipientType listType) {
        for (const MailboxRecipient& given : list) {
            const std::wstring typed = TypedText(given);
            const int32_t type = RecipientTypeOf(given.type.value_or(listType));
            auto recipient = r.AddRecipient(given.IsText() || given.name.empty()
                                                ? (given.IsText() ? given.text : given.address)
                                                : given.name,
                                            type);
            if (auto entry = m_session.Resolve(typed)) {
                recipient->entry = entry;
                recipient->name = entry->name;
                recipient->resolved = true;
            }
        }
    }

    // A sender is what the message says: a text finds the entry's name and address when it
    // can, and stays as written when it cannot.
    void SetSender(ItemRecord& r, const MailboxRecipient& sender) {
        std::wstring name = sender.name;
        std::wstring address = sender.address;
        if (sender.IsText()) {
            name = sender.text;
            address = sender.text.find(L'@') != std::wstring::npos ? sender.text : L"";
            if (auto entry = m_session.Resolve(sender.text)) {
                name = entry->name;
                address = entry->SmtpAddress().empty() ? entry->address : entry->SmtpAddress();
            }
        }
        if (!name.empty()) {
            r.SetText(mapi::PR_SENT_REPRESENTING_NAME, name);
        }
        if (!address.empty()) {
            r.SetText(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS, address);
        }
    }

    void Resolve(const Pending& pending) {
        const MailboxItem& item = *pending.item;
        ItemRecord& r = *pending.record;
        if (item.from) {
            SetSender(r, *item.from);
        }
        if (item.organizer) {
            SetSender(r, *item.organizer);
        }
        AddRecipients(r, item.to, RecipientType::To);
        AddRecipients(r, item.cc, RecipientType::Cc);
        AddRecipients(r, item.bcc, RecipientType::Bcc);
        AddRecipients(r, item.attendees, RecipientType::To);
        AddRecipients(r, item.recipients, RecipientType::To);
        if (!item.members.empty() && r.listEntry) {
            AddMembers(*r.listEntry, item.members, Child(pending.at, L"members"));
        }
        if (!item.links.empty() && m_contactsByName.empty()) {
            for (const ItemRecord* contact : m_contacts) {
                // The first of a name is the one linked.
                m_contactsByName.emplace(text::ToLower(contact->TextRef(mapi::PR_DISPLAY_NAME)),
                                         contact);
            }
        }
        for (std::size_t i = 0; i < item.links.size(); ++i) {
            const auto found = m_contactsByName.find(text::ToLower(item.links[i]));
            if (found == m_contactsByName.end()) {
                Fail(Child(Child(pending.at, L"links"), i),
                     L"no contact has the full name " + Quoted(item.links[i]));
            }
            const ItemRecord& contact = *found->second;
            r.links.push_back(LinkRecord{contact.GetText(mapi::PR_DISPLAY_NAME), olLinkContact,
                                         contact.EntryID(), contact.Store().StoreID()});
        }
    }

    const MailboxModel& m_mailbox;
    SimSession& m_session;
    std::wstring m_source;
    bool m_defaultGiven = false;
    int m_depth = 0;
    // The contacts in the order they were built, and (made when a link first asks) the first
    // of every lower-cased full name.
    std::vector<ItemRecord*> m_contacts;
    std::unordered_map<std::wstring, const ItemRecord*> m_contactsByName;
    std::vector<PendingList> m_pendingLists;
    std::vector<Pending> m_pendingItems;
};

}  // namespace

void FillSession(const MailboxModel& mailbox, SimSession& emptySession, std::wstring_view source) {
    Builder(mailbox, emptySession, std::wstring(source)).Build();
}

std::unique_ptr<SimSession> BuildSession(const MailboxModel& mailbox, Faults& faults, IClock& clock,
                                         std::wstring_view source) {
    auto session = std::make_unique<SimSession>(faults, clock);
    FillSession(mailbox, *session, source);
    return session;
}

std::unique_ptr<SimHost> LoadHost(SimPlatform& platform, const std::filesystem::path& path) {
    const MailboxModel mailbox = LoadMailbox(path);
    return std::make_unique<SimHost>(platform, mailbox, PathText(path));
}

std::unique_ptr<SimHost> LoadDemoHost(SimPlatform& platform) {
    return std::make_unique<SimHost>(platform, DemoMailbox(), L"demo mailbox");
}

void SaveHost(const SimHost& host, const std::filesystem::path& path) {
    SaveMailbox(SnapshotSession(host.session), path);
}

}  // namespace plexa::sim
