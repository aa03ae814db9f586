#include "sim/mailbox/MailboxModel.h"

#include <array>
#include <cstdio>
#include <utility>

#include "core/Text.h"

namespace plexa::sim {

namespace {

template <typename E, std::size_t N>
using NameTable = std::array<std::pair<E, std::wstring_view>, N>;

constexpr NameTable<FolderRole, 12> kRoles{{{FolderRole::None, L""},
                                            {FolderRole::Inbox, L"inbox"},
                                            {FolderRole::Outbox, L"outbox"},
                                            {FolderRole::Sent, L"sent"},
                                            {FolderRole::Drafts, L"drafts"},
                                            {FolderRole::Deleted, L"deleted"},
                                            {FolderRole::Junk, L"junk"},
                                            {FolderRole::Calendar, L"calendar"},
                                            {FolderRole::Tasks, L"tasks"},
                                            {FolderRole::Contacts, L"contacts"},
                                            {FolderRole::Notes, L"notes"},
                                            {FolderRole::Journal, L"journal"}}};

constexpr NameTable<FolderType, 6> kFolderTypes{{{FolderType::Mail, L"mail"},
                                                 {FolderType::Contact, L"contact"},
                                                 {FolderType::Appointment, L"appointment"},
                                                 {FolderType::Task, L"task"},
                                                 {FolderType::Note, L"note"},
                                                 {FolderType::Journal, L"journal"}}};

constexpr NameTable<ItemClass, 8> kItemClasses{{{ItemClass::Mail, L"mail"},
                                                {ItemClass::Contact, L"contact"},
                                                {ItemClass::DistList, L"distlist"},
                                                {ItemClass::Appointment, L"appointment"},
                                                {ItemClass::Task, L"task"},
                                                {ItemClass::Note, L"note"},
                                                {ItemClass::Journal, L"journal"},
                                                {ItemClass::Post, L"post"}}};

constexpr NameTable<RecipientType, 3> kRecipientTypes{
    {{RecipientType::To, L"to"}, {RecipientType::Cc, L"cc"}, {RecipientType::Bcc, L"bcc"}}};

constexpr NameTable<Sensitivity, 4> kSensitivities{{{Sensitivity::Normal, L"normal"},
                                                    {Sensitivity::Personal, L"personal"},
                                                    {Sensitivity::Private, L"private"},
                                                    {Sensitivity::Confidential, L"confidential"}}};

constexpr NameTable<ResponseStatus, 6> kResponseStatuses{
    {{ResponseStatus::None, L"none"},
     {ResponseStatus::Organized, L"organized"},
     {ResponseStatus::Tentative, L"tentative"},
     {ResponseStatus::Accepted, L"accepted"},
     {ResponseStatus::Declined, L"declined"},
     {ResponseStatus::NotResponded, L"notResponded"}}};

constexpr NameTable<AddressType, 2> kAddressTypes{
    {{AddressType::Smtp, L"SMTP"}, {AddressType::Ex, L"EX"}}};

// The host's OlUserPropertyType values a file names; the others it writes as numbers.
constexpr NameTable<int, 9> kUserPropertyTypes{{{1, L"text"},
                                                {3, L"number"},
                                                {5, L"datetime"},
                                                {6, L"yesno"},
                                                {7, L"duration"},
                                                {11, L"keywords"},
                                                {12, L"percent"},
                                                {14, L"currency"},
                                                {20, L"integer"}}};

template <typename E, std::size_t N>
std::wstring_view NameOf(const NameTable<E, N>& table, E value) {
    for (const auto& [e, name] : table) {
        if (e == value) {
            return name;
        }
    }
    return {};
}

template <typename E, std::size_t N>
std::optional<E> ValueOf(const NameTable<E, N>& table, std::wstring_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    for (const auto& [e, entry] : table) {
        if (text::EqualsNoCase(entry, name)) {
            return e;
        }
    }
    return std::nullopt;
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Reads exactly `count` digits at `pos`; -1 when they are not all digits.
int Digits(std::wstring_view s, std::size_t pos, std::size_t count) {
    if (pos + count > s.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < L'0' || s[i] > L'9') {
            return -1;
        }
        value = value * 10 + (s[i] - L'0');
    }
    return value;
}

}  // namespace

MailboxRecipient MailboxRecipient::Text(std::wstring text) {
    MailboxRecipient r;
    r.text = std::move(text);
    return r;
}

MailboxRecipient MailboxRecipient::Object(std::wstring name, std::wstring address,
                                          std::optional<RecipientType> type) {
    MailboxRecipient r;
    r.name = std::move(name);
    r.address = std::move(address);
    r.type = type;
    return r;
}

FolderType MailboxFolder::EffectiveType() const {
    if (role != FolderRole::None) {
        return NaturalType(role);
    }
    return type.value_or(FolderType::Mail);
}

const MailboxFolder* MailboxStore::FindRole(FolderRole wanted) const {
    for (const MailboxFolder& folder : folders) {
        if (folder.role == wanted) {
            return &folder;
        }
    }
    return nullptr;
}

const MailboxStore* MailboxModel::DefaultStore() const {
    for (const MailboxStore& store : stores) {
        if (store.isDefault) {
            return &store;
        }
    }
    return stores.empty() ? nullptr : &stores.front();
}

std::wstring_view RoleName(FolderRole role) {
    return NameOf(kRoles, role);
}
std::optional<FolderRole> RoleFromName(std::wstring_view name) {
    return ValueOf(kRoles, name);
}
std::wstring_view FolderTypeName(FolderType type) {
    return NameOf(kFolderTypes, type);
}
std::optional<FolderType> FolderTypeFromName(std::wstring_view name) {
    return ValueOf(kFolderTypes, name);
}
std::wstring_view ItemClassName(ItemClass itemClass) {
    return NameOf(kItemClasses, itemClass);
}
std::optional<ItemClass> ItemClassFromName(std::wstring_view name) {
    return ValueOf(kItemClasses, name);
}
std::wstring_view RecipientTypeName(RecipientType type) {
    return NameOf(kRecipientTypes, type);
}
std::optional<RecipientType> RecipientTypeFromName(std::wstring_view name) {
    return ValueOf(kRecipientTypes, name);
}
std::wstring_view SensitivityName(Sensitivity sensitivity) {
    return NameOf(kSensitivities, sensitivity);
}
std::optional<Sensitivity> SensitivityFromName(std::wstring_view name) {
    return ValueOf(kSensitivities, name);
}
std::wstring_view ResponseStatusName(ResponseStatus status) {
    return NameOf(kResponseStatuses, status);
}
std::optional<ResponseStatus> ResponseStatusFromName(std::wstring_view name) {
    return ValueOf(kResponseStatuses, name);
}
std::wstring_view UserPropertyTypeName(int type) {
    return NameOf(kUserPropertyTypes, type);
}
std::optional<int> UserPropertyTypeFromName(std::wstring_view name) {
    return ValueOf(kUserPropertyTypes, name);
}
std::wstring_view AddressTypeName(AddressType type) {
    return NameOf(kAddressTypes, type);
}
std::optional<AddressType> AddressTypeFromName(std::wstring_view name) {
    return ValueOf(kAddressTypes, name);
}

FolderType NaturalType(FolderRole role) {
    switch (role) {
        case FolderRole::Calendar:
            return FolderType::Appointment;
        case FolderRole::Tasks:
            return FolderType::Task;
        case FolderRole::Contacts:
            return FolderType::Contact;
        case FolderRole::Notes:
            return FolderType::Note;
        case FolderRole::Journal:
            return FolderType::Journal;
        default:
            return FolderType::Mail;
    }
}

std::wstring_view DefaultFolderName(FolderRole role) {
    switch (role) {
        case FolderRole::None:
            return L"";
        case FolderRole::Inbox:
            return L"Inbox";
        case FolderRole::Outbox:
            return L"Outbox";
        case FolderRole::Sent:
            return L"Sent Items";
        case FolderRole::Drafts:
            return L"Drafts";
        case FolderRole::Deleted:
            return L"Deleted Items";
        case FolderRole::Junk:
            return L"Junk E-mail";
        case FolderRole::Calendar:
            return L"Calendar";
        case FolderRole::Tasks:
            return L"Tasks";
        case FolderRole::Contacts:
            return L"Contacts";
        case FolderRole::Notes:
            return L"Notes";
        case FolderRole::Journal:
            return L"Journal";
    }
    return L"";
}

std::wstring FormatMailboxDate(OleDate date) {
    wchar_t buffer[32];
    if (date.Second() != 0) {
        std::swprintf(buffer, std::size(buffer), L"%04d-%02d-%02d %02d:%02d:%02d", date.Year(),
                      date.Month(), date.Day(), date.Hour(), date.Minute(), date.Second());
    } else {
        std::swprintf(buffer, std::size(buffer), L"%04d-%02d-%02d %02d:%02d", date.Year(),
                      date.Month(), date.Day(), date.Hour(), date.Minute());
    }
    return buffer;
}

std::optional<OleDate> ParseMailboxDate(std::wstring_view s) {
    // yyyy-mm-dd[ hh:mm[:ss]]
    if (s.size() != 10 && s.size() != 16 && s.size() != 19) {
        return std::nullopt;
    }
    const int year = Digits(s, 0, 4);
    const int month = Digits(s, 5, 2);
    const int day = Digits(s, 8, 2);
    if (s[4] != L'-' || s[7] != L'-' || year < 100 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (s.size() >= 16) {
        hour = Digits(s, 11, 2);
        minute = Digits(s, 14, 2);
        if (s[10] != L' ' || s[13] != L':' || hour < 0 || hour > 23 || minute < 0 || minute > 59) {
            return std::nullopt;
        }
    }
    if (s.size() == 19) {
        second = Digits(s, 17, 2);
        if (s[16] != L':' || second < 0 || second > 59) {
            return std::nullopt;
        }
    }
    return OleDate::FromParts(year, month, day, hour, minute, second);
}

}  // namespace plexa::sim
