// A mailbox as its file describes it (docs/mailbox-format.md): stores with folders and items, and
// the address book. Plain data with no behaviour of the client: the loader keeps what the file
// says, a field left out holds its default, and the simulated message store is built from it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/OleDate.h"
#include "sim/store/StoreKind.h"

namespace plexa::sim {

// A default folder of a store.
enum class FolderRole {
    None,
    Inbox,
    Outbox,
    Sent,
    Drafts,
    Deleted,
    Junk,
    Calendar,
    Tasks,
    Contacts,
    Notes,
    Journal
};

// The kind of item a folder holds by default.
enum class FolderType { Mail, Contact, Appointment, Task, Note, Journal };

enum class ItemClass { Mail, Contact, DistList, Appointment, Task, Note, Journal, Post };

// To, CC, BCC; for a meeting's attendees: required, optional, resource.
enum class RecipientType { To, Cc, Bcc };

// The host's OlSensitivity.
enum class Sensitivity { Normal = 0, Personal = 1, Private = 2, Confidential = 3 };

// The host's OlResponseStatus.
enum class ResponseStatus {
    None = 0,
    Organized = 1,
    Tentative = 2,
    Accepted = 3,
    Declined = 4,
    NotResponded = 5
};

enum class AddressType { Smtp, Ex };

// A recipient, member, sender or organizer. Written as a text (resolved as the client resolves a
// typed name) or as an object with a display name and an address.
struct MailboxRecipient {
    std::wstring text;  // the text form; empty for the object form
    std::wstring name;
    std::wstring address;
    std::optional<RecipientType> type;  // as written; the list it stands in decides otherwise

    bool IsText() const { return !text.empty(); }
    static MailboxRecipient Text(std::wstring text);
    static MailboxRecipient Object(std::wstring name, std::wstring address,
                                   std::optional<RecipientType> type = std::nullopt);
    bool operator==(const MailboxRecipient&) const = default;
};

// A follow-up flag: the host's FlagStatus (0 none, 1 complete, 2 marked), FlagIcon (0 none,
// 1 purple ... 6 red) and FlagRequest.
struct MailboxFlag {
    int status = 0;
    int icon = 0;
    std::wstring text;
    bool operator==(const MailboxFlag&) const = default;
};

// The value of a MAPI property, in the form its tag's type gives: PT_I2, PT_LONG (int32_t),
// PT_I8 (int64_t), PT_FLOAT, PT_DOUBLE (double), PT_BOOLEAN, PT_STRING8, PT_UNICODE (text),
// PT_SYSTIME (date), PT_BINARY (bytes), PT_MV_LONG and PT_MV_STRING8/PT_MV_UNICODE (lists).
using PropertyValue =
    std::variant<bool, int32_t, int64_t, double, OleDate, std::wstring, std::vector<uint8_t>,
                 std::vector<int32_t>, std::vector<std::wstring>>;

// A user property of an item: a named field with the host's OlUserPropertyType (1 text,
// 3 number, 5 date and time, 6 yes/no, 20 integer ...) and a value, if it has one: a text, a
// number, a yes/no or a date and time (local time, as the object model gives it).
using UserPropertyValue = std::variant<std::wstring, double, bool, OleDate>;
struct MailboxUserProperty {
    std::wstring name;
    int type = 1;
    std::optional<UserPropertyValue> value;
    bool addToFolderFields = true;
    bool operator==(const MailboxUserProperty&) const = default;
};

// One item of any class. A field belongs to the classes named beside it; the others leave it at
// its default (the loader rejects a field on a class it does not belong to).
struct MailboxItem {
    ItemClass itemClass = ItemClass::Mail;
    // The entry id the client gave the item ("" to have one made), so that what refers to it
    // (the send-later queue, a reply's source) still finds it after the mailbox is saved and
    // loaded again.
    std::wstring entryId;

    // Every class (subject: not contact or note, whose subject the client derives).
    std::wstring subject;
    std::wstring body;
    std::wstring categories;  // as the host shows them: "Red, Blue"
    Sensitivity sensitivity = Sensitivity::Normal;
    std::map<uint32_t, PropertyValue> properties;  // by MAPI property tag
    std::vector<MailboxUserProperty> userProperties;

    // Mail and post.
    std::wstring html;
    std::optional<MailboxRecipient> from;
    std::optional<OleDate> received;
    bool unread = false;
    // Mail, post and contact.
    std::optional<MailboxFlag> flag;
    // Mail.
    std::vector<MailboxRecipient> to;
    std::vector<MailboxRecipient> cc;
    std::vector<MailboxRecipient> bcc;
    std::optional<OleDate> sent;
    bool replied = false;

    // Contact.
    std::wstring fullName;
    std::wstring firstName;
    std::wstring middleName;
    std::wstring lastName;
    std::wstring initials;
    std::wstring nickname;
    std::wstring company;
    // E-mail slots 1 to 3, in order; "" is an empty slot before a filled one (null in a file).
    std::vector<std::wstring> email;
    bool isPrivate = false;

    // Distribution list.
    std::vector<MailboxRecipient> members;

    // Appointment.
    std::optional<MailboxRecipient> organizer;
    ResponseStatus responseStatus = ResponseStatus::None;
    std::vector<MailboxRecipient> attendees;
    std::optional<OleDate> start;  // also journal
    std::optional<OleDate> end;
    std::wstring location;

    // Task.
    std::vector<MailboxRecipient> recipients;
    std::optional<OleDate> due;

    // Appointment, task and journal: the contacts linked to the item, by full name.
    std::vector<std::wstring> links;

    bool operator==(const MailboxItem&) const = default;
};

struct MailboxFolder {
    std::wstring name;
    std::wstring entryId;  // "" to have one made
    FolderRole role = FolderRole::None;
    std::optional<FolderType> type;  // as written
    std::vector<MailboxItem> items;
    std::vector<MailboxFolder> folders;

    // The role's natural type, else the written type, else mail.
    FolderType EffectiveType() const;
    bool operator==(const MailboxFolder&) const = default;
};

struct MailboxStore {
    std::wstring name;
    bool isDefault = false;
    // "pst" (the default) or "exchange".
    StoreKind kind = StoreKind::Pst;
    // The store id and its top folder's entry id ("" to have them made): the send-later queue is
    // kept under the default store's top-folder id.
    std::wstring storeId;
    std::wstring rootEntryId;
    std::vector<MailboxFolder> folders;

    // The top-level folder with that role; nullptr when the file has none.
    const MailboxFolder* FindRole(FolderRole wanted) const;
    bool operator==(const MailboxStore&) const = default;
};

// An address-book entry: a user (SMTP, or EX with its SMTP address) or a list with members.
struct AddressBookEntry {
    std::wstring name;
    AddressType type = AddressType::Smtp;
    std::wstring address;
    std::wstring smtp;  // EX only
    bool isList = false;
    std::vector<MailboxRecipient> members;
    bool operator==(const AddressBookEntry&) const = default;
};

struct MailboxModel {
    std::vector<MailboxStore> stores;
    std::vector<AddressBookEntry> addressBook;

    // The store marked default, else the first one; nullptr when there is none.
    const MailboxStore* DefaultStore() const;
    bool operator==(const MailboxModel&) const = default;
};

// Names as the file writes them ("inbox", "contact", "distlist", "cc", "private" ...), and back
// (letter case ignored; nullopt for an unknown name).
std::wstring_view RoleName(FolderRole role);
std::optional<FolderRole> RoleFromName(std::wstring_view name);
std::wstring_view FolderTypeName(FolderType type);
std::optional<FolderType> FolderTypeFromName(std::wstring_view name);
std::wstring_view ItemClassName(ItemClass itemClass);
std::optional<ItemClass> ItemClassFromName(std::wstring_view name);
std::wstring_view RecipientTypeName(RecipientType type);
std::optional<RecipientType> RecipientTypeFromName(std::wstring_view name);
std::wstring_view SensitivityName(Sensitivity sensitivity);
std::optional<Sensitivity> SensitivityFromName(std::wstring_view name);
std::wstring_view ResponseStatusName(ResponseStatus status);
std::optional<ResponseStatus> ResponseStatusFromName(std::wstring_view name);
// A user property's type by name ("text", "number", "datetime", "yesno" ...); "" for a type
// without one, which the file gives as its number.
std::wstring_view UserPropertyTypeName(int type);
std::optional<int> UserPropertyTypeFromName(std::wstring_view name);
std::wstring_view AddressTypeName(AddressType type);
std::optional<AddressType> AddressTypeFromName(std::wstring_view name);

// A default folder's type, and its English name as the client creates it ("Sent Items").
FolderType NaturalType(FolderRole role);
std::wstring_view DefaultFolderName(FolderRole role);

// Dates as the file writes them: "yyyy-mm-dd hh:mm", with ":ss" when the seconds are not zero.
// Reading also takes "yyyy-mm-dd hh:mm:ss" and "yyyy-mm-dd" (midnight); nullopt for anything
// else, including a day the calendar does not have.
std::wstring FormatMailboxDate(OleDate date);
std::optional<OleDate> ParseMailboxDate(std::wstring_view s);

}  // namespace plexa::sim
