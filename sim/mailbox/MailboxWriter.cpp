#include "sim/mailbox/MailboxWriter.h"

#include <cstdio>
#include <fstream>
#include <system_error>
#include <type_traits>
#include <variant>

#include <nlohmann/json.hpp>

#include "core/Text.h"
#include "sim/mailbox/MailboxReader.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace plexa::sim {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kLineWidth = 100;

std::string Utf8(std::wstring_view s) {
    return text::ToUtf8(s);
}

void PutText(Json& o, const char* key, const std::wstring& value) {
    if (!value.empty()) {
        o[key] = Utf8(value);
    }
}

void PutBool(Json& o, const char* key, bool value) {
    if (value) {
        o[key] = true;
    }
}

void PutDate(Json& o, const char* key, const std::optional<OleDate>& value) {
    if (value) {
        o[key] = Utf8(FormatMailboxDate(*value));
    }
}

Json RecipientJson(const MailboxRecipient& r) {
    if (r.IsText()) {
        return Utf8(r.text);
    }
    Json o = Json::object();
    PutText(o, "name", r.name);
    PutText(o, "address", r.address);
    if (r.type) {
        o["type"] = Utf8(RecipientTypeName(*r.type));
    }
    return o;
}

void PutRecipients(Json& o, const char* key, const std::vector<MailboxRecipient>& list) {
    if (!list.empty()) {
        Json a = Json::array();
        for (const MailboxRecipient& r : list) {
            a.push_back(RecipientJson(r));
        }
        o[key] = std::move(a);
    }
}

void PutTexts(Json& o, const char* key, const std::vector<std::wstring>& list) {
    if (!list.empty()) {
        Json a = Json::array();
        for (const std::wstring& s : list) {
            a.push_back(Utf8(s));
        }
        o[key] = std::move(a);
    }
}

std::string TagText(uint32_t tag) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", tag);
    return buffer;
}

Json PropertyJson(const PropertyValue& value) {
    return std::visit(
        [](const auto& v) -> Json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, OleDate>) {
                return Utf8(FormatMailboxDate(v));
            } else if constexpr (std::is_same_v<T, std::wstring>) {
                return Utf8(v);
            } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
                std::string hex;
                for (uint8_t byte : v) {
                    char pair[3];
                    std::snprintf(pair, sizeof pair, "%02X", byte);
                    hex += pair;
                }
                return hex;
            } else if constexpr (std::is_same_v<T, std::vector<std::wstring>>) {
                Json a = Json::array();
                for (const std::wstring& s : v) {
                    a.push_back(Utf8(s));
                }
                return a;
            } else {
                return v;
            }
        },
        value);
}

Json UserPropertyJson(const MailboxUserProperty& prop) {
    Json o = Json::object();
    o["name"] = Utf8(prop.name);
    const std::wstring_view typeName = UserPropertyTypeName(prop.type);
    if (typeName.empty()) {
        o["type"] = prop.type;
    } else {
        o["type"] = Utf8(typeName);
    }
    if (prop.value) {
        // Each kind of value is written as a property of that kind is.
        o["value"] =
            std::visit([](const auto& v) { return PropertyJson(PropertyValue(v)); }, *prop.value);
    }
    if (!prop.addToFolderFields) {
        o["addToFolderFields"] = false;
    }
    return o;
}

Json ItemJson(const MailboxItem& item) {
    Json o = Json::object();
    o["class"] = Utf8(ItemClassName(item.itemClass));
    PutText(o, "entryId", item.entryId);
    PutText(o, "subject", item.subject);
    PutText(o, "fullName", item.fullName);
    PutText(o, "firstName", item.firstName);
    PutText(o, "middleName", item.middleName);
    PutText(o, "lastName", item.lastName);
    PutText(o, "initials", item.initials);
    PutText(o, "nickname", item.nickname);
    PutText(o, "company", item.company);
    if (!item.email.empty()) {
        Json slots = Json::array();
        for (const std::wstring& address : item.email) {
            // An empty slot between filled ones.
            slots.push_back(address.empty() ? Json() : Json(Utf8(address)));
        }
        o["email"] = std::move(slots);
    }
    PutBool(o, "private", item.isPrivate);
    PutRecipients(o, "members", item.members);
    if (item.from) {
        o["from"] = RecipientJson(*item.from);
    }
    if (item.organizer) {
        o["organizer"] = RecipientJson(*item.organizer);
    }
    PutRecipients(o, "to", item.to);
    PutRecipients(o, "cc", item.cc);
    PutRecipients(o, "bcc", item.bcc);
    PutRecipients(o, "attendees", item.attendees);
    PutRecipients(o, "recipients", item.recipients);
    if (item.responseStatus != ResponseStatus::None) {
        o["responseStatus"] = Utf8(ResponseStatusName(item.responseStatus));
    }
    PutDate(o, "start", item.start);
    PutDate(o, "end", item.end);
    PutText(o, "location", item.location);
    PutDate(o, "due", item.due);
    PutDate(o, "received", item.received);
    PutDate(o, "sent", item.sent);
    PutBool(o, "replied", item.replied);
    PutBool(o, "unread", item.unread);
    if (item.sensitivity != Sensitivity::Normal) {
        o["sensitivity"] = Utf8(SensitivityName(item.sensitivity));
    }
    PutText(o, "categories", item.categories);
    if (item.flag) {
        Json flag = Json::object();
        flag["status"] = item.flag->status;
        flag["icon"] = item.flag->icon;
        PutText(flag, "text", item.flag->text);
        o["flag"] = std::move(flag);
    }
    PutTexts(o, "links", item.links);
    PutText(o, "body", item.body);
    PutText(o, "html", item.html);
    if (!item.properties.empty()) {
        Json properties = Json::object();
        for (const auto& [tag, value] : item.properties) {
            properties[TagText(tag)] = PropertyJson(value);
        }
        o["properties"] = std::move(properties);
    }
    if (!item.userProperties.empty()) {
        Json props = Json::array();
        for (const MailboxUserProperty& prop : item.userProperties) {
            props.push_back(UserPropertyJson(prop));
        }
        o["userProperties"] = std::move(props);
    }
    return o;
}

Json FolderJson(const MailboxFolder& folder) {
    Json o = Json::object();
    o["name"] = Utf8(folder.name);
    PutText(o, "entryId", folder.entryId);
    if (folder.role != FolderRole::None) {
        o["role"] = Utf8(RoleName(folder.role));
    }
    if (folder.type) {
        o["type"] = Utf8(FolderTypeName(*folder.type));
    }
    if (!folder.items.empty()) {
        Json items = Json::array();
        for (const MailboxItem& item : folder.items) {
            items.push_back(ItemJson(item));
        }
        o["items"] = std::move(items);
    }
    if (!folder.folders.empty()) {
        Json folders = Json::array();
        for (const MailboxFolder& child : folder.folders) {
            folders.push_back(FolderJson(child));
        }
        o["folders"] = std::move(folders);
    }
    return o;
}

Json EntryJson(const AddressBookEntry& entry) {
    Json o = Json::object();
    o["name"] = Utf8(entry.name);
    if (entry.type != AddressType::Smtp) {
        o["type"] = Utf8(AddressTypeName(entry.type));
    }
    PutText(o, "address", entry.address);
    PutText(o, "smtp", entry.smtp);
    if (entry.isList) {
        Json members = Json::array();
        for (const MailboxRecipient& r : entry.members) {
            members.push_back(RecipientJson(r));
        }
        o["members"] = std::move(members);
    }
    return o;
}

Json ModelJson(const MailboxModel& model) {
    Json doc = Json::object();
    Json stores = Json::array();
    for (const MailboxStore& store : model.stores) {
        Json o = Json::object();
        o["name"] = Utf8(store.name);
        PutBool(o, "default", store.isDefault);
        if (store.kind == StoreKind::Exchange) {
            o["kind"] = "exchange";
        }
        PutText(o, "storeId", store.storeId);
        PutText(o, "rootEntryId", store.rootEntryId);
        if (!store.folders.empty()) {
            Json folders = Json::array();
            for (const MailboxFolder& folder : store.folders) {
                folders.push_back(FolderJson(folder));
            }
            o["folders"] = std::move(folders);
        }
        stores.push_back(std::move(o));
    }
    doc["stores"] = std::move(stores);
    if (!model.addressBook.empty()) {
        Json book = Json::array();
        for (const AddressBookEntry& entry : model.addressBook) {
            book.push_back(EntryJson(entry));
        }
        doc["addressBook"] = std::move(book);
    }
    return doc;
}

// One line: `{ "name": "Ann", "address": "ann@example.com" }`, `["a", "b"]`.
std::string Flat(const Json& v) {
    if (v.is_object()) {
        if (v.empty()) {
            return "{}";
        }
        std::string s = "{ ";
        bool first = true;
        for (const auto& [key, value] : v.items()) {
            s += (first ? "" : ", ") + Json(key).dump() + ": " + Flat(value);
            first = false;
        }
        return s + " }";
    }
    if (v.is_array()) {
        std::string s = "[";
        bool first = true;
        for (const Json& value : v) {
            s += (first ? "" : ", ") + Flat(value);
            first = false;
        }
        return s + "]";
    }
    return v.dump();
}

// Objects and arrays that fit on the rest of their line stay on it; others open one line per
// member, indented by two spaces a level.
void Pretty(const Json& v, std::size_t indent, std::size_t used, std::string& out) {
    std::string flat = Flat(v);
    if (!v.is_structured() || used + flat.size() <= kLineWidth) {
        out += flat;
        return;
    }
    const std::string inner(indent + 2, ' ');
    out += v.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (const auto& [key, value] : v.items()) {
        out += first ? "" : ",\n";
        first = false;
        out += inner;
        std::size_t lineUsed = inner.size();
        if (v.is_object()) {
            const std::string name = Json(key).dump() + ": ";
            out += name;
            lineUsed += name.size();
        }
        Pretty(value, indent + 2, lineUsed + 1, out);
    }
    // Appended piece by piece: GCC 12 misreads "\n" + std::string(...) as an overlapping copy
    // (-Wrestrict) once it is inlined here.
    out += '\n';
    out.append(indent, ' ');
    out += v.is_object() ? '}' : ']';
}

}  // namespace

std::string FormatMailbox(const MailboxModel& model) {
    std::string out;
    Pretty(ModelJson(model), 0, 0, out);
    return out + "\n";
}

void SaveMailbox(const MailboxModel& model, const std::filesystem::path& path) {
    const std::wstring file = PathText(path);
    const std::string content = FormatMailbox(model);
    // What cannot be read back is not written: the old file stays.
    ParseMailbox(content, file);

    std::filesystem::path temp = path;
    temp += ".tmp";
    const auto fail = [&](const std::wstring& problem, int32_t number) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw MailboxError(file, L"", problem, 0, 0, number);
    };
    std::error_code ec;
    if (!path.parent_path().empty() && !std::filesystem::is_directory(path.parent_path(), ec)) {
        fail(L"cannot be written: its folder does not exist", vberr::PathNotFound);
    }
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            fail(L"cannot be written: " + PathText(temp) + L" cannot be created",
                 vberr::PathFileAccessError);
        }
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        out.close();
        if (!out) {
            fail(L"cannot be written: writing " + PathText(temp) + L" failed",
                 vberr::PathFileAccessError);
        }
    }
#if defined(__unix__) || defined(__APPLE__)
    // The bytes reach the disk before the rename makes them the file.
    const int fd = ::open(temp.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        fail(L"cannot be written: " + PathText(temp) + L" cannot be flushed",
             vberr::PathFileAccessError);
    }
    ::close(fd);
#endif
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        fail(L"cannot be written: " + text::FromUtf8(ec.message()), vberr::PathFileAccessError);
    }
}

}  // namespace plexa::sim
