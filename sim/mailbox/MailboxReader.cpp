#include "sim/mailbox/MailboxReader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/Text.h"
#include "sim/mailbox/MailboxPointer.h"

namespace plexa::sim {

namespace {

using Json = nlohmann::ordered_json;
using Names = std::vector<std::string_view>;

// ---- Locations -------------------------------------------------------------------------------

using mMailboxPointer::Child;

// A field given by its name in the document (UTF-8).
std::wstring Child(const std::wstring& at, std::string_view key) {
    return Child(at, std::wstring_view(text::FromUtf8(key)));
}

std::wstring Quoted(std::wstring_view s) {
    return L"\"" + std::wstring(s) + L"\"";
}

std::wstring Quoted(std::string_view s) {
    return Quoted(text::FromUtf8(s));
}

std::wstring JoinNames(const Names& names) {
    std::wstring joined;
    for (std::string_view name : names) {
        joined += (joined.empty() ? L"" : L", ") + text::FromUtf8(name);
    }
    return joined;
}

// What a JSON value is, as a message names it.
std::wstring KindOf(const Json& v) {
    switch (v.type()) {
        case Json::value_t::null:
            return L"null";
        case Json::value_t::boolean:
            return L"a boolean";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            return L"a number";
        case Json::value_t::string:
            return L"a string";
        case Json::value_t::array:
            return L"an array";
        case Json::value_t::object:
            return L"an object";
        default:
            return L"an unexpected value";
    }
}

std::size_t EditDistance(std::wstring_view a, std::wstring_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The known name a misspelt one most likely meant; empty when none is close.
std::string Suggest(std::string_view wrong, const Names& known) {
    const std::wstring wrongLower = text::ToLower(text::FromUtf8(wrong));
    std::string best;
    std::size_t bestDistance = 3;
    for (std::string_view name : known) {
        const std::size_t d = EditDistance(wrongLower, text::ToLower(text::FromUtf8(name)));
        if (d < bestDistance) {
            bestDistance = d;
            best = name;
        }
    }
    return best;
}

// ---- Duplicate keys --------------------------------------------------------------------------

// The parser keeps the last of two equal keys; a hand-written file that says one thing twice is
// rejected instead. A second pass over the text with the parser's event interface follows the
// position to name the place. (The parser's own callback would do it in the same pass, but it
// looks through every earlier sibling at the end of each object, which makes a long array of
// objects quadratic.)
class DuplicateKeyCheck : public nlohmann::json_sax<Json> {
public:
    struct Found {
        std::wstring pointer;
        std::wstring key;
    };

    bool null() override { return Advance(); }
    bool boolean(bool /*value*/) override { return Advance(); }
    bool number_integer(number_integer_t /*value*/) override { return Advance(); }
    bool number_unsigned(number_unsigned_t /*value*/) override { return Advance(); }
    bool number_float(number_float_t /*value*/, const string_t& /*text*/) override {
        return Advance();
    }
    bool string(string_t& /*value*/) override { return Advance(); }
    bool binary(binary_t& /*value*/) override { return Advance(); }
    bool start_object(std::size_t /*elements*/) override {
        m_frames.push_back(Frame{false, 0, {}, {}});
        return true;
    }
    bool key(string_t& value) override {
        Frame& top = m_frames.back();
        top.key = value;
        if (!top.keys.insert(top.key).second) {
            throw Found{Pointer(), text::FromUtf8(top.key)};
        }
        return true;
    }
    bool end_object() override {
        m_frames.pop_back();
        return Advance();
    }
    bool start_array(std::size_t /*elements*/) override {
        m_frames.push_back(Frame{true, 0, {}, {}});
        return true;
    }
    bool end_array() override {
        m_frames.pop_back();
        return Advance();
    }
    bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                     const nlohmann::detail::exception& /*error*/) override {
        return false;  // the first pass has reported it
    }

private:
    struct Frame {
        bool isArray;
        std::size_t index = 0;
        std::string key;
        std::set<std::string> keys;
    };

    bool Advance() {
        if (!m_frames.empty() && m_frames.back().isArray) {
            ++m_frames.back().index;
        }
        return true;
    }

    std::wstring Pointer() const {
        std::wstring at;
        for (const Frame& frame : m_frames) {
            at = frame.isArray ? Child(at, frame.index) : Child(at, frame.key);
        }
        return at;
    }

    std::vector<Frame> m_frames;
};

// 1-based line and column (in characters) of the byte at offset in text.
std::pair<int, int> LineAndColumn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

// The parser's own message without its prefix and its own (byte-counted) position.
std::wstring SyntaxProblem(const nlohmann::json::exception& e) {
    std::string message = e.what();
    const std::size_t column = message.find("column ");
    const std::size_t colon = message.find(": ", column == std::string::npos ? 0 : column);
    if (colon != std::string::npos) {
        message = message.substr(colon + 2);
    } else if (const std::size_t bracket = message.find("] "); bracket != std::string::npos) {
        message = message.substr(bracket + 2);
    }
    return L"not valid JSON: " + text::FromUtf8(message);
}

// Deeper folders are surely a generated mistake, and would only exhaust the stack.
constexpr int kMaxFolderDepth = 100;

// ---- The document ----------------------------------------------------------------------------

class Reader {
public:
    explicit Reader(std::wstring file) : m_file(std::move(file)) {}

    MailboxModel Read(const Json& doc);

private:
    // An object and the names its fields may have.
    class Object {
    public:
        Object(const Reader& reader, const Json& value, std::wstring at, std::wstring_view what)
            : m_reader(reader), m_value(value), m_at(std::move(at)), m_what(what) {
            if (!value.is_object()) {
                reader.Fail(m_at, L"expected " + std::wstring(what) + L" (an object), found " +
                                      KindOf(value));
            }
        }

        // Every field must be one of allowed; a field of another kind of object (known) gets
        // its own message.
        void Allow(const Names& allowed, const Names& known = {}) const {
            for (const auto& [key, value] : m_value.items()) {
                if (std::find(allowed.begin(), allowed.end(), key) != allowed.end()) {
                    continue;
                }
                const std::wstring at = Child(m_at, key);
                if (std::find(known.begin(), known.end(), key) != known.end()) {
                    m_reader.Fail(at, L"field " + Quoted(key) + L" does not belong to " + m_what);
                }
                std::wstring problem = L"unknown field " + Quoted(key) + L" in " + m_what;
                const std::string suggestion = Suggest(key, allowed);
                if (!suggestion.empty()) {
                    problem += L" (did you mean " + Quoted(suggestion) + L"?)";
                } else {
                    problem += L" (known fields: " + JoinNames(allowed) + L")";
                }
                m_reader.Fail(at, problem);
            }
        }

        // The field, or nullptr when it is left out or null.
        const Json* Get(std::string_view key) const {
            const auto it = m_value.find(key);
            return it == m_value.end() || it->is_null() ? nullptr : &*it;
        }
        bool Has(std::string_view key) const { return Get(key) != nullptr; }
        std::wstring At(std::string_view key) const { return Child(m_at, key); }
        const std::wstring& At() const { return m_at; }

        std::wstring Text(std::string_view key) const {
            const Json* v = Get(key);
            return v ? m_reader.Text(*v, At(key)) : std::wstring();
        }
        std::wstring RequiredText(std::string_view key) const {
            const Json* v = Get(key);
            if (!v) {
                m_reader.Fail(m_at, std::wstring(m_what) + L" needs " + Quoted(key));
            }
            std::wstring s = m_reader.Text(*v, At(key));
            if (text::Trim(s).empty()) {
                m_reader.Fail(At(key), Quoted(key) + L" is empty");
            }
            return s;
        }
        bool Bool(std::string_view key) const {
            const Json* v = Get(key);
            return v ? m_reader.Bool(*v, At(key)) : false;
        }
        int Int(std::string_view key, int low, int high) const {
            const Json* v = Get(key);
            return v ? static_cast<int>(m_reader.Integer(*v, At(key), low, high)) : 0;
        }
        std::optional<OleDate> Date(std::string_view key) const {
            const Json* v = Get(key);
            return v ? std::optional<OleDate>(m_reader.Date(*v, At(key))) : std::nullopt;
        }
        std::vector<MailboxRecipient> Recipients(std::string_view key, bool allowType) const {
            const Json* v = Get(key);
            return v ? m_reader.Recipients(*v, At(key), allowType)
                     : std::vector<MailboxRecipient>();
        }
        std::optional<MailboxRecipient> Recipient(std::string_view key) const {
            const Json* v = Get(key);
            return v ? std::optional<MailboxRecipient>(m_reader.Recipient(*v, At(key), false))
                     : std::nullopt;
        }

    private:
        const Reader& m_reader;
        const Json& m_value;
        std::wstring m_at;
        std::wstring m_what;
    };

    [[noreturn]] void Fail(const std::wstring& at, std::wstring problem) const {
        throw MailboxError(m_file, at, std::move(problem));
    }

    std::wstring Text(const Json& v, const std::wstring& at) const;
    bool Bool(const Json& v, const std::wstring& at) const;
    int64_t Integer(const Json& v, const std::wstring& at, int64_t low, int64_t high) const;
    double Number(const Json& v, const std::wstring& at) const;
    OleDate Date(const Json& v, const std::wstring& at) const;
    MailboxRecipient Recipient(const Json& v, const std::wstring& at, bool allowType) const;
    std::vector<MailboxRecipient> Recipients(const Json& v, const std::wstring& at,
                                             bool allowType) const;
    std::vector<std::wstring> Texts(const Json& v, const std::wstring& at) const;
    const Json& Array(const Json& v, const std::wstring& at) const;

    MailboxStore Store(const Json& v, const std::wstring& at) const;
    MailboxFolder Folder(const Json& v, const std::wstring& at, int depth,
                         std::map<FolderRole, std::wstring>& roles) const;
    MailboxItem Item(const Json& v, const std::wstring& at) const;
    void ReadFieldsOf(const Object& o, MailboxItem& item) const;
    std::wstring Categories(const Json& v, const std::wstring& at) const;
    std::vector<std::wstring> Email(const Json& v, const std::wstring& at) const;
    MailboxFlag Flag(const Json& v, const std::wstring& at) const;
    std::vector<MailboxUserProperty> UserProperties(const Json& v, const std::wstring& at) const;
    MailboxUserProperty UserProperty(const Json& v, const std::wstring& at) const;
    std::map<uint32_t, PropertyValue> Properties(const Json& v, const std::wstring& at) const;
    PropertyValue Property(uint32_t tag, const Json& v, const std::wstring& at) const;

    // A value the file gives by name (letter case ignored) or by its number, low to high; what
    // and names make the message for an unknown name ("unknown sensitivity \"x\" (normal ...)").
    template <typename T>
    T NameOrNumber(const Json& v, const std::wstring& at,
                   std::optional<T> (*fromName)(std::wstring_view), const wchar_t* what,
                   const wchar_t* names, int low, int high) const {
        if (!v.is_string()) {
            return static_cast<T>(Integer(v, at, low, high));
        }
        const std::wstring name = Text(v, at);
        const std::optional<T> value = fromName(name);
        if (!value) {
            Fail(at, L"unknown " + std::wstring(what) + L" " + Quoted(name) + L" (" + names +
                         L", or " + std::to_wstring(low) + L" to " + std::to_wstring(high) + L")");
        }
        return *value;
    }
    AddressBookEntry Entry(const Json& v, const std::wstring& at) const;

    std::wstring m_file;
};

std::wstring Reader::Text(const Json& v, const std::wstring& at) const {
    if (!v.is_string()) {
        Fail(at, L"expected a string, found " + KindOf(v));
    }
    return text::FromUtf8(v.get_ref<const std::string&>());
}

bool Reader::Bool(const Json& v, const std::wstring& at) const {
    if (!v.is_boolean()) {
        Fail(at, L"expected true or false, found " + KindOf(v));
    }
    return v.get<bool>();
}

int64_t Reader::Integer(const Json& v, const std::wstring& at, int64_t low, int64_t high) const {
    if (v.is_number_float()) {
        Fail(at, L"expected a whole number, found " + text::FromUtf8(v.dump()));
    }
    if (!v.is_number()) {
        Fail(at, L"expected a whole number, found " + KindOf(v));
    }
    const bool tooBig =
        v.is_number_unsigned() &&
        v.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const int64_t n = tooBig ? 0 : v.get<int64_t>();
    if (tooBig || n < low || n > high) {
        Fail(at, text::FromUtf8(v.dump()) + L" is out of range (" + std::to_wstring(low) + L" to " +
                     std::to_wstring(high) + L")");
    }
    return n;
}

double Reader::Number(const Json& v, const std::wstring& at) const {
    if (!v.is_number()) {
        Fail(at, L"expected a number, found " + KindOf(v));
    }
    return v.get<double>();
}

OleDate Reader::Date(const Json& v, const std::wstring& at) const {
    const std::wstring s = Text(v, at);
    const std::optional<OleDate> date = ParseMailboxDate(s);
    if (!date) {
        Fail(at, Quoted(s) + L" is not a date written \"yyyy-mm-dd hh:mm\" (seconds optional)");
    }
    return *date;
}

const Json& Reader::Array(const Json& v, const std::wstring& at) const {
    if (!v.is_array()) {
        Fail(at, L"expected an array, found " + KindOf(v));
    }
    return v;
}

MailboxRecipient Reader::Recipient(const Json& v, const std::wstring& at, bool allowType) const {
    if (v.is_string()) {
        std::wstring s = Text(v, at);
        if (text::Trim(s).empty()) {
            Fail(at, L"an empty recipient");
        }
        return MailboxRecipient::Text(std::move(s));
    }
    if (!v.is_object()) {
        Fail(at, L"expected a recipient (a string or an object), found " + KindOf(v));
    }
    const Object o(*this, v, at, allowType ? L"a recipient" : L"a sender or organizer");
    if (allowType) {
        o.Allow({"name", "address", "type"});
    } else {
        o.Allow({"name", "address"}, {"type"});
    }
    MailboxRecipient r = MailboxRecipient::Object(o.Text("name"), o.Text("address"));
    if (text::Trim(r.name).empty() && text::Trim(r.address).empty()) {
        Fail(at, L"a recipient needs a \"name\" or an \"address\"");
    }
    if (o.Has("type")) {
        const std::wstring type = o.Text("type");
        r.type = RecipientTypeFromName(type);
        if (!r.type) {
            Fail(o.At("type"), L"unknown recipient type " + Quoted(type) + L" (to, cc or bcc)");
        }
    }
    return r;
}

std::vector<MailboxRecipient> Reader::Recipients(const Json& v, const std::wstring& at,
                                                 bool allowType) const {
    std::vector<MailboxRecipient> list;
    for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
        list.push_back(Recipient(v[i], Child(at, i), allowType));
    }
    return list;
}

std::vector<std::wstring> Reader::Texts(const Json& v, const std::wstring& at) const {
    std::vector<std::wstring> list;
    for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
        std::wstring s = Text(v[i], Child(at, i));
        if (text::Trim(s).empty()) {
            Fail(Child(at, i), L"an empty name");
        }
        list.push_back(std::move(s));
    }
    return list;
}

MailboxModel Reader::Read(const Json& doc) {
    const Object o(*this, doc, L"", L"a mailbox");
    o.Allow({"stores", "addressBook"});
    MailboxModel model;
    const Json* stores = o.Get("stores");
    if (!stores) {
        Fail(L"", L"a mailbox needs \"stores\" with at least one store");
    }
    if (Array(*stores, o.At("stores")).empty()) {
        Fail(o.At("stores"), L"a mailbox needs at least one store");
    }
    std::optional<std::size_t> defaultStore;
    for (std::size_t i = 0; i < stores->size(); ++i) {
        const std::wstring at = Child(o.At("stores"), i);
        MailboxStore store = Store((*stores)[i], at);
        for (std::size_t j = 0; j < model.stores.size(); ++j) {
            if (text::EqualsNoCase(model.stores[j].name, store.name)) {
                Fail(Child(at, "name"), L"a second store named " + Quoted(store.name) +
                                            L" (the first is " + Child(o.At("stores"), j) + L")");
            }
        }
        if (store.isDefault) {
            if (defaultStore) {
                Fail(Child(at, "default"), L"a second default store (the first is " +
                                               Child(o.At("stores"), *defaultStore) + L")");
            }
            defaultStore = i;
        }
        model.stores.push_back(std::move(store));
    }
    if (const Json* book = o.Get("addressBook")) {
        for (std::size_t i = 0; i < Array(*book, o.At("addressBook")).size(); ++i) {
            model.addressBook.push_back(Entry((*book)[i], Child(o.At("addressBook"), i)));
        }
    }
    return model;
}

MailboxStore Reader::Store(const Json& v, const std::wstring& at) const {
    const Object o(*this, v, at, L"a store");
    o.Allow({"name", "default", "kind", "storeId", "rootEntryId", "folders"});
    MailboxStore store;
    store.name = o.RequiredText("name");
    store.isDefault = o.Bool("default");
    if (o.Has("kind")) {
        const std::wstring kind = o.Text("kind");
        if (kind == L"pst") {
            store.kind = StoreKind::Pst;
        } else if (kind == L"exchange") {
            store.kind = StoreKind::Exchange;
        } else {
            Fail(o.At("kind"), L"unknown store kind " + Quoted(kind) + L" (pst or exchange)");
        }
    }
    store.storeId = o.Text("storeId");
    store.rootEntryId = o.Text("rootEntryId");
    std::map<FolderRole, std::wstring> roles;
    if (const Json* folders = o.Get("folders")) {
        for (std::size_t i = 0; i < Array(*folders, o.At("folders")).size(); ++i) {
            store.folders.push_back(Folder((*folders)[i], Child(o.At("folders"), i), 0, roles));
        }
    }
    return store;
}

MailboxFolder Reader::Folder(const Json& v, const std::wstring& at, int depth,
                             std::map<FolderRole, std::wstring>& roles) const {
    const Object o(*this, v, at, L"a folder");
    o.Allow({"name", "entryId", "role", "type", "items", "folders"});
    if (depth >= kMaxFolderDepth) {
        Fail(at, L"folders nested more than " + std::to_wstring(kMaxFolderDepth) + L" deep");
    }
    MailboxFolder folder;
    folder.name = o.RequiredText("name");
    folder.entryId = o.Text("entryId");
    if (folder.name.find(L'\\') != std::wstring::npos) {
        Fail(o.At("name"),
             L"a folder name cannot hold a backslash (it separates folders in a "
             L"path)");
    }
    if (o.Has("role")) {
        const std::wstring role = o.Text("role");
        const std::optional<FolderRole> parsed = RoleFromName(role);
        if (!parsed) {
            Fail(o.At("role"), L"unknown role " + Quoted(role) +
                                   L" (inbox, outbox, sent, drafts, deleted, junk, calendar, "
                                   L"tasks, contacts, notes or journal)");
        }
        if (depth > 0) {
            Fail(o.At("role"), L"only a folder at the top of a store can be a default folder");
        }
        if (const auto it = roles.find(*parsed); it != roles.end()) {
            Fail(o.At("role"), L"a second folder with role " + Quoted(role) + L" (the first is " +
                                   it->second + L")");
        }
        roles.emplace(*parsed, at);
        folder.role = *parsed;
    }
    if (o.Has("type")) {
        const std::wstring type = o.Text("type");
        folder.type = FolderTypeFromName(type);
        if (!folder.type) {
            Fail(o.At("type"), L"unknown folder type " + Quoted(type) +
                                   L" (mail, contact, appointment, task, note or journal)");
        }
        if (folder.role != FolderRole::None && *folder.type != NaturalType(folder.role)) {
            Fail(o.At("type"), L"type " + Quoted(type) + L" contradicts role " +
                                   Quoted(RoleName(folder.role)) + L", whose folder holds " +
                                   std::wstring(FolderTypeName(NaturalType(folder.role))) +
                                   L" items");
        }
    }
    if (const Json* items = o.Get("items")) {
        const std::wstring itemsAt = o.At("items");
        const Json& list = Array(*items, itemsAt);
        folder.items.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            folder.items.push_back(Item(list[i], Child(itemsAt, i)));
        }
    }
    if (const Json* folders = o.Get("folders")) {
        std::map<FolderRole, std::wstring> noRoles;
        for (std::size_t i = 0; i < Array(*folders, o.At("folders")).size(); ++i) {
            const std::wstring childAt = Child(o.At("folders"), i);
            MailboxFolder child = Folder((*folders)[i], childAt, depth + 1, noRoles);
            for (const MailboxFolder& sibling : folder.folders) {
                if (text::EqualsNoCase(sibling.name, child.name)) {
                    Fail(Child(childAt, "name"), L"a second folder named " + Quoted(child.name) +
                                                     L" in " + Quoted(folder.name));
                }
            }
            folder.folders.push_back(std::move(child));
        }
    }
    return folder;
}

// Every item field, and the ones each class takes besides "class".
const Names kAllItemFields = {"entryId",
                              "userProperties",
                              "subject",
                              "body",
                              "categories",
                              "sensitivity",
                              "properties",
                              "html",
                              "from",
                              "received",
                              "unread",
                              "flag",
                              "to",
                              "cc",
                              "bcc",
                              "sent",
                              "replied",
                              "fullName",
                              "firstName",
                              "middleName",
                              "lastName",
                              "initials",
                              "nickname",
                              "company",
                              "email",
                              "private",
                              "members",
                              "organizer",
                              "responseStatus",
                              "attendees",
                              "start",
                              "end",
                              "location",
                              "recipients",
                              "due",
                              "links"};

const Names& FieldsOf(ItemClass itemClass) {
    static const Names kMail = {"class",      "entryId",     "userProperties", "subject", "body",
                                "categories", "sensitivity", "properties",     "html",    "from",
                                "received",   "unread",      "flag",           "to",      "cc",
                                "bcc",        "sent",        "replied"};
    static const Names kPost = {"class", "entryId",    "userProperties", "subject",
                                "body",  "categories", "sensitivity",    "properties",
                                "html",  "from",       "received",       "unread",
                                "flag"};
    static const Names kContact = {
        "class",      "entryId",  "userProperties", "body",      "categories", "sensitivity",
        "properties", "flag",     "fullName",       "firstName", "middleName", "lastName",
        "initials",   "nickname", "company",        "email",     "private"};
    static const Names kDistList = {"class",       "entryId",    "userProperties",
                                    "subject",     "body",       "categories",
                                    "sensitivity", "properties", "members"};
    static const Names kAppointment = {
        "class",       "entryId",    "userProperties", "subject",        "body",      "categories",
        "sensitivity", "properties", "organizer",      "responseStatus", "attendees", "start",
        "end",         "location",   "links"};
    static const Names kTask = {"class",      "entryId",    "userProperties", "subject",
                                "body",       "categories", "sensitivity",    "properties",
                                "recipients", "due",        "links"};
    static const Names kNote = {"class",      "entryId",     "userProperties", "body",
                                "categories", "sensitivity", "properties"};
    static const Names kJournal = {"class", "entryId",    "userProperties", "subject",
                                   "body",  "categories", "sensitivity",    "properties",
                                   "start", "links"};
    switch (itemClass) {
        case ItemClass::Mail:
            return kMail;
        case ItemClass::Post:
            return kPost;
        case ItemClass::Contact:
            return kContact;
        case ItemClass::DistList:
            return kDistList;
        case ItemClass::Appointment:
            return kAppointment;
        case ItemClass::Task:
            return kTask;
        case ItemClass::Note:
            return kNote;
        case ItemClass::Journal:
            return kJournal;
    }
    return kMail;
}

MailboxItem Reader::Item(const Json& v, const std::wstring& at) const {
    if (!v.is_object()) {
        Fail(at, L"expected an item (an object), found " + KindOf(v));
    }
    const Object bare(*this, v, at, L"an item");
    const Json* classField = bare.Get("class");
    if (!classField) {
        Fail(at,
             L"an item needs a \"class\" (mail, contact, distlist, appointment, task, note, "
             L"journal or post)");
    }
    const std::wstring className = Text(*classField, bare.At("class"));
    const std::optional<ItemClass> itemClass = ItemClassFromName(className);
    if (!itemClass) {
        Fail(bare.At("class"), L"unknown class " + Quoted(className) +
                                   L" (mail, contact, distlist, appointment, task, note, "
                                   L"journal or post)");
    }
    const std::wstring what = L"a " + std::wstring(ItemClassName(*itemClass)) + L" item";
    const Object o(*this, v, at, what);
    if (bare.Has("subject") && *itemClass == ItemClass::Contact) {
        Fail(o.At("subject"), L"a contact has no \"subject\": its subject is its \"fullName\"");
    }
    if (bare.Has("subject") && *itemClass == ItemClass::Note) {
        Fail(o.At("subject"),
             L"a note has no \"subject\": the first line of its \"body\" is its "
             L"subject");
    }
    o.Allow(FieldsOf(*itemClass), kAllItemFields);

    MailboxItem item;
    item.itemClass = *itemClass;
    ReadFieldsOf(o, item);
    return item;
}

void Reader::ReadFieldsOf(const Object& o, MailboxItem& item) const {
    // Allow() has rejected every field the class does not take, so each one present is read.
    item.entryId = o.Text("entryId");
    if (const Json* v = o.Get("userProperties")) {
        item.userProperties = UserProperties(*v, o.At("userProperties"));
    }
    item.subject = o.Text("subject");
    item.body = o.Text("body");
    if (const Json* v = o.Get("categories")) {
        item.categories = Categories(*v, o.At("categories"));
    }
    if (const Json* v = o.Get("sensitivity")) {
        item.sensitivity =
            NameOrNumber(*v, o.At("sensitivity"), &SensitivityFromName, L"sensitivity",
                         L"normal, personal, private or confidential", 0, 3);
    }
    if (const Json* v = o.Get("properties")) {
        item.properties = Properties(*v, o.At("properties"));
    }
    item.html = o.Text("html");
    item.from = o.Recipient("from");
    item.received = o.Date("received");
    item.unread = o.Bool("unread");
    if (const Json* v = o.Get("flag")) {
        item.flag = Flag(*v, o.At("flag"));
    }
    item.to = o.Recipients("to", true);
    item.cc = o.Recipients("cc", true);
    item.bcc = o.Recipients("bcc", true);
    item.sent = o.Date("sent");
    item.replied = o.Bool("replied");

    item.fullName = o.Text("fullName");
    item.firstName = o.Text("firstName");
    item.middleName = o.Text("middleName");
    item.lastName = o.Text("lastName");
    item.initials = o.Text("initials");
    item.nickname = o.Text("nickname");
    item.company = o.Text("company");
    if (const Json* v = o.Get("email")) {
        item.email = Email(*v, o.At("email"));
    }
    item.isPrivate = o.Bool("private");

    item.members = o.Recipients("members", true);

    item.organizer = o.Recipient("organizer");
    if (const Json* v = o.Get("responseStatus")) {
        item.responseStatus =
            NameOrNumber(*v, o.At("responseStatus"), &ResponseStatusFromName, L"response status",
                         L"none, organized, tentative, accepted, declined or notResponded", 0, 5);
    }
    item.attendees = o.Recipients("attendees", true);
    item.start = o.Date("start");
    item.end = o.Date("end");
    if (item.start && item.end && *item.end < *item.start) {
        Fail(o.At("end"), L"the end lies before the start");
    }
    item.location = o.Text("location");

    item.recipients = o.Recipients("recipients", true);
    item.due = o.Date("due");
    if (const Json* v = o.Get("links")) {
        item.links = Texts(*v, o.At("links"));
    }
}

std::wstring Reader::Categories(const Json& v, const std::wstring& at) const {
    if (v.is_string()) {
        return Text(v, at);
    }
    std::wstring joined;
    for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
        const std::wstring category = Text(v[i], Child(at, i));
        if (text::Trim(category).empty()) {
            Fail(Child(at, i), L"an empty category");
        }
        if (category.find(L',') != std::wstring::npos) {
            Fail(Child(at, i), L"a category in a list cannot hold a comma (it separates them)");
        }
        joined += (joined.empty() ? L"" : L", ") + category;
    }
    return joined;
}

std::vector<std::wstring> Reader::Email(const Json& v, const std::wstring& at) const {
    std::vector<std::wstring> addresses;
    if (v.is_string()) {
        addresses.push_back(Text(v, at));
    } else {
        for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
            // null is an empty slot (kept as ""), as after an address was removed.
            addresses.push_back(v[i].is_null() ? std::wstring() : Text(v[i], Child(at, i)));
            if (!v[i].is_null() && text::Trim(addresses.back()).empty()) {
                Fail(Child(at, i), L"an empty e-mail address (null leaves a slot empty)");
            }
        }
    }
    if (addresses.size() > 3) {
        Fail(at, L"a contact holds one to three e-mail addresses, this one has " +
                     std::to_wstring(addresses.size()));
    }
    if (v.is_string() && text::Trim(addresses.front()).empty()) {
        Fail(at, L"an empty e-mail address");
    }
    if (!addresses.empty() && addresses.back().empty()) {
        Fail(Child(at, addresses.size() - 1),
             L"an empty slot (null) must come before a filled one");
    }
    return addresses;
}

MailboxFlag Reader::Flag(const Json& v, const std::wstring& at) const {
    const Object o(*this, v, at, L"a flag");
    o.Allow({"status", "icon", "text"});
    MailboxFlag flag;
    flag.status = o.Int("status", 0, 2);
    flag.icon = o.Int("icon", 0, 6);
    flag.text = o.Text("text");
    return flag;
}

std::vector<MailboxUserProperty> Reader::UserProperties(const Json& v,
                                                        const std::wstring& at) const {
    std::vector<MailboxUserProperty> props;
    const Json& list = Array(v, at);
    for (std::size_t i = 0; i < list.size(); ++i) {
        MailboxUserProperty prop = UserProperty(list[i], Child(at, i));
        for (std::size_t j = 0; j < props.size(); ++j) {
            if (text::EqualsNoCase(props[j].name, prop.name)) {
                Fail(Child(Child(at, i), "name"), L"a second user property named " +
                                                      Quoted(prop.name) + L" (the first is " +
                                                      Child(at, j) + L")");
            }
        }
        props.push_back(std::move(prop));
    }
    return props;
}

// A user property: {"name": ..., "type": "text", "value": ..., "addToFolderFields": true}. The
// value's JSON kind follows the type: a text for text and keywords, a date for datetime, true
// or false for yesno, a number for the numeric types; a type given by number takes any of them.
MailboxUserProperty Reader::UserProperty(const Json& v, const std::wstring& at) const {
    const Object o(*this, v, at, L"a user property");
    o.Allow({"name", "type", "value", "addToFolderFields"});
    MailboxUserProperty prop;
    prop.name = o.RequiredText("name");
    if (prop.name.find_first_of(L"[]_#") != std::wstring::npos) {
        Fail(o.At("name"), L"a user property's name cannot hold [, ], _ or #");
    }
    if (const Json* type = o.Get("type")) {
        prop.type =
            NameOrNumber(*type, o.At("type"), &UserPropertyTypeFromName, L"user property type",
                         L"text, number, datetime, yesno, duration, keywords, percent, "
                         L"currency or integer",
                         0, 22);
    }
    prop.addToFolderFields = !o.Has("addToFolderFields") || o.Bool("addToFolderFields");
    const Json* value = o.Get("value");
    if (value == nullptr) {
        return prop;
    }
    const std::wstring valueAt = o.At("value");
    const std::wstring_view typeName = UserPropertyTypeName(prop.type);
    const auto expect = [&](bool ok, const wchar_t* kind) {
        if (!ok) {
            Fail(valueAt, L"a " + std::wstring(typeName) + L" user property holds " + kind +
                              L", found " + KindOf(*value));
        }
    };
    if (typeName == L"datetime") {
        expect(value->is_string(), L"a date");
        prop.value = Date(*value, valueAt);
    } else if (typeName == L"text" || typeName == L"keywords") {
        expect(value->is_string(), L"a text");
        prop.value = Text(*value, valueAt);
    } else if (typeName == L"yesno") {
        expect(value->is_boolean(), L"true or false");
        prop.value = value->get<bool>();
    } else if (!typeName.empty()) {
        expect(value->is_number(), L"a number");
        prop.value = Number(*value, valueAt);
    } else if (value->is_string()) {
        prop.value = Text(*value, valueAt);
    } else if (value->is_boolean()) {
        prop.value = value->get<bool>();
    } else {
        prop.value = Number(*value, valueAt);
    }
    return prop;
}

// Property types the file can give a value for, by the low word of the tag.
constexpr uint32_t kPtI2 = 0x0002;
constexpr uint32_t kPtLong = 0x0003;
constexpr uint32_t kPtFloat = 0x0004;
constexpr uint32_t kPtDouble = 0x0005;
constexpr uint32_t kPtBoolean = 0x000B;
constexpr uint32_t kPtI8 = 0x0014;
constexpr uint32_t kPtString8 = 0x001E;
constexpr uint32_t kPtUnicode = 0x001F;
constexpr uint32_t kPtSysTime = 0x0040;
constexpr uint32_t kPtBinary = 0x0102;
constexpr uint32_t kPtMvLong = 0x1003;
constexpr uint32_t kPtMvString8 = 0x101E;
constexpr uint32_t kPtMvUnicode = 0x101F;

std::optional<uint32_t> ParseTag(std::wstring_view s) {
    if (s.size() != 10 || s[0] != L'0' || (s[1] != L'x' && s[1] != L'X')) {
        return std::nullopt;
    }
    uint32_t tag = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const wchar_t c = s[i];
        uint32_t digit = 0;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else {
            return std::nullopt;
        }
        tag = tag * 16 + digit;
    }
    return tag;
}

std::wstring TagText(uint32_t tag) {
    wchar_t buffer[16];
    std::swprintf(buffer, std::size(buffer), L"0x%08X", tag);
    return buffer;
}

std::map<uint32_t, PropertyValue> Reader::Properties(const Json& v, const std::wstring& at) const {
    const Object o(*this, v, at, L"properties");
    std::map<uint32_t, PropertyValue> properties;
    for (const auto& [key, value] : v.items()) {
        const std::wstring keyAt = o.At(key);
        const std::optional<uint32_t> tag = ParseTag(text::FromUtf8(key));
        if (!tag) {
            Fail(keyAt, Quoted(key) +
                            L" is not a property tag (\"0x\" and eight hex digits, "
                            L"such as \"0x10800003\")");
        }
        if (properties.count(*tag) != 0) {
            Fail(keyAt, L"property " + TagText(*tag) + L" appears twice");
        }
        properties.emplace(*tag, Property(*tag, value, keyAt));
    }
    return properties;
}

PropertyValue Reader::Property(uint32_t tag, const Json& v, const std::wstring& at) const {
    switch (tag & 0xFFFF) {
        case kPtI2:
            return static_cast<int32_t>(Integer(v, at, INT16_MIN, INT16_MAX));
        case kPtLong:
            return static_cast<int32_t>(Integer(v, at, INT32_MIN, INT32_MAX));
        case kPtI8:
            return Integer(v, at, INT64_MIN, INT64_MAX);
        case kPtFloat:
        case kPtDouble:
            return Number(v, at);
        case kPtBoolean:
            return Bool(v, at);
        case kPtString8:
        case kPtUnicode:
            return Text(v, at);
        case kPtSysTime:
            return Date(v, at);
        case kPtBinary: {
            const std::wstring hex = Text(v, at);
            std::vector<uint8_t> bytes;
            for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
                const std::optional<uint32_t> byte = ParseTag(L"0x000000" + hex.substr(i, 2));
                if (!byte) {
                    break;
                }
                bytes.push_back(static_cast<uint8_t>(*byte));
            }
            if (bytes.size() * 2 != hex.size()) {
                Fail(at, L"a binary property is written as hex digits, two for each byte");
            }
            return bytes;
        }
        case kPtMvLong: {
            std::vector<int32_t> values;
            for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
                values.push_back(
                    static_cast<int32_t>(Integer(v[i], Child(at, i), INT32_MIN, INT32_MAX)));
            }
            return values;
        }
        case kPtMvString8:
        case kPtMvUnicode: {
            std::vector<std::wstring> values;
            for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
                values.push_back(Text(v[i], Child(at, i)));
            }
            return values;
        }
        default:
            break;
    }
    wchar_t type[8];
    std::swprintf(type, std::size(type), L"0x%04X", tag & 0xFFFF);
    Fail(at, L"property type " + std::wstring(type) + L" of " + TagText(tag) +
                 L" is not supported (integers 0x0002, 0x0003, 0x0014; numbers 0x0004, 0x0005; "
                 L"0x000B true/false; texts 0x001E, 0x001F; 0x0040 dates; 0x0102 hex; lists "
                 L"0x1003, 0x101E, 0x101F)");
}

AddressBookEntry Reader::Entry(const Json& v, const std::wstring& at) const {
    const Object o(*this, v, at, L"an address-book entry");
    o.Allow({"name", "type", "address", "smtp", "members"});
    AddressBookEntry entry;
    entry.name = o.RequiredText("name");
    if (o.Has("type")) {
        const std::wstring type = o.Text("type");
        const std::optional<AddressType> parsed = AddressTypeFromName(type);
        if (!parsed) {
            Fail(o.At("type"), L"unknown address type " + Quoted(type) + L" (SMTP or EX)");
        }
        entry.type = *parsed;
    }
    entry.address = o.Text("address");
    entry.smtp = o.Text("smtp");
    if (const Json* members = o.Get("members")) {
        entry.isList = true;
        entry.members = Recipients(*members, o.At("members"), true);
    } else if (text::Trim(entry.address).empty()) {
        Fail(o.Has("address") ? o.At("address") : at,
             L"an address-book entry needs an \"address\" (or \"members\", for a list)");
    }
    if (entry.type == AddressType::Smtp && !entry.address.empty() &&
        entry.address.find(L'@') == std::wstring::npos) {
        Fail(o.At("address"), Quoted(entry.address) +
                                  L" is not an SMTP address (for an Exchange address, give "
                                  L"\"type\": \"EX\")");
    }
    if (o.Has("smtp")) {
        if (entry.type != AddressType::Ex) {
            Fail(o.At("smtp"),
                 L"\"smtp\" belongs to EX entries; an SMTP entry's \"address\" is "
                 L"its SMTP address");
        }
        if (entry.smtp.find(L'@') == std::wstring::npos) {
            Fail(o.At("smtp"), Quoted(entry.smtp) + L" is not an SMTP address");
        }
    }
    return entry;
}

}  // namespace

MailboxModel ParseMailbox(std::string_view utf8Text, std::wstring_view sourceName) {
    const std::wstring file(sourceName);
    if (utf8Text.substr(0, 3) == "\xEF\xBB\xBF") {
        utf8Text.remove_prefix(3);
    }
    Json doc;
    try {
        doc = Json::parse(utf8Text);
        DuplicateKeyCheck check;
        Json::sax_parse(utf8Text, &check);
    } catch (const nlohmann::json::parse_error& e) {
        // byte is one past the character the parser stopped at.
        const auto [line, column] = LineAndColumn(utf8Text, e.byte == 0 ? 0 : e.byte - 1);
        throw MailboxError(file, L"", SyntaxProblem(e), line, column);
    } catch (const DuplicateKeyCheck::Found& found) {
        throw MailboxError(file, found.pointer,
                           L"field " + Quoted(found.key) + L" appears twice in one object");
    } catch (const nlohmann::json::exception& e) {
        // A number too large for a double ("1e400").
        throw MailboxError(file, L"", SyntaxProblem(e));
    }
    return Reader(file).Read(doc);
}

std::wstring PathText(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    return text::FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

MailboxModel LoadMailbox(const std::filesystem::path& path) {
    const std::wstring file = PathText(path);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        throw MailboxError(file, L"", L"no such file", 0, 0, vberr::FileNotFound);
    }
    if (std::filesystem::is_directory(path, ec)) {
        throw MailboxError(file, L"", L"a folder, not a mailbox file", 0, 0,
                           vberr::PathFileAccessError);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw MailboxError(file, L"", L"cannot be opened", 0, 0, vberr::PathFileAccessError);
    }
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw MailboxError(file, L"", L"cannot be read", 0, 0, vberr::PathFileAccessError);
    }
    return ParseMailbox(content, file);
}

}  // namespace plexa::sim
