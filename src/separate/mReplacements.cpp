#include "separate/mReplacements.h"

#include <algorithm>
#include <unordered_set>

#include "core/HostError.h"
#include "core/Text.h"
#include "distlists/mContacts.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "host/redemption/Redemption.h"
#include "recipients/CRecipientsProps.h"
#include "recipients/mAddressBook.h"
#include "separate/frmEmptyField.h"
#include "settings/CLang.h"
#include "settings/IPleaseWait.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mReplacements {

namespace {

constexpr const wchar_t* kFindSource = L"mReplacements::FindReplacements";
constexpr const wchar_t* kLoadSource = L"mReplacements::LoadReplacementValues";
constexpr const wchar_t* kDoSource = L"mReplacements::DoReplacements";
constexpr const wchar_t* kHtmlSource = L"mReplacements::DoReplacementsInHtml";
constexpr const wchar_t* kPlainSource = L"mReplacements::IsPlainBody";
constexpr const wchar_t* kNamesSource = L"mReplacements::ExtractRecipientNames";

enum class Fallback { None, FullName, FirstName, LastName };

struct Row {
    const wchar_t* tokenKey;
    const wchar_t* defaultToken;
    const wchar_t* defaultValueKey;  // nullptr: no suggested value
    Fallback fallback;
    bool preselectDrafts;
};

constexpr Row kRows[kPlaceholderCount] = {
    {L"LID_CONTACT_FULLNAME", L"%FullName%", L"LID_DEF_FULLNAME", Fallback::FullName, false},
    {L"LID_CONTACT_FIRST_NAME", L"%FirstName%", L"LID_DEF_FIRSTNAME", Fallback::FirstName, false},
    {L"LID_CONTACT_MIDDLE_NAME", L"%MiddleName%", nullptr, Fallback::None, false},
    {L"LID_CONTACT_LAST_NAME", L"%LastName%", nullptr, Fallback::LastName, true},
    {L"LID_CONTACT_INITIALS", L"%Initials%", nullptr, Fallback::None, false},
    {L"LID_CONTACT_NICKNAME", L"%Nickname%", L"LID_DEF_NICKNAME", Fallback::None, false},
    {L"LID_CONTACT_COMPANY", L"%Company%", nullptr, Fallback::None, false},
};

const Row& RowOf(Placeholder placeholder) {
    return kRows[static_cast<int>(placeholder)];
}

std::wstring ContactField(ContactItem& contact, Placeholder placeholder) {
    switch (placeholder) {
        case Placeholder::FullName:
            return contact.FullName();
        case Placeholder::FirstName:
            return contact.FirstName();
        case Placeholder::MiddleName:
            return contact.MiddleName();
        case Placeholder::LastName:
            return contact.LastName();
        case Placeholder::Initials:
            return contact.Initials();
        case Placeholder::NickName:
            return contact.NickName();
        case Placeholder::Company:
            return contact.CompanyName();
    }
    return {};
}

// A language text that may be missing: "" when the table has none (no error entry for it).
std::wstring OptionalText(CLang& lang, const wchar_t* key) {
    if (key == nullptr || !lang.ItemFind(key)) {
        return {};
    }
    std::wstring value = lang.Item(key);
    return text::EqualsNoCase(value, key) ? std::wstring() : value;
}

// Mark-up runs ("<" up to the next ">") cut out of a text; a "<" without a ">" after it stays.
std::wstring StripMarkup(std::wstring_view s) {
    std::wstring out;
    std::size_t i = 0;
    while (true) {
        const std::size_t lt = s.find(L'<', i);
        const std::size_t gt = lt == std::wstring_view::npos ? lt : s.find(L'>', lt + 1);
        if (gt == std::wstring_view::npos) {
            out.append(s.substr(i));
            return out;
        }
        out.append(s.substr(i, lt - i));
        i = gt + 1;
    }
}

// The delimiters of the mark-up scan: the token's first and last character. The scan finds
// whole tokens too when both are ASCII punctuation that the token's core does not hold, so
// letter case cannot hide a delimiter.
bool ScanFindsWholeTokens(std::wstring_view token) {
    if (token.size() < 3) {
        return false;
    }
    const auto plainDelimiter = [](wchar_t c) {
        return c < 0x80 && c > L' ' &&
               !((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'));
    };
    const wchar_t open = token.front();
    const wchar_t close = token.back();
    const std::wstring_view core = token.substr(1, token.size() - 2);
    return plainDelimiter(open) && plainDelimiter(close) &&
           core.find(open) == std::wstring_view::npos &&
           core.find(close) == std::wstring_view::npos;
}

// One left-to-right pass over html from `from`: each stretch from the token's first character
// to the next occurrence of its last character is replaced by value when the text between
// them is the token's core (letter case ignored), once mark-up is cut out (from stripFrom on).
// Stretches touching a guarded span (text an earlier pass inserted) are left alone, and the
// scan goes on after each value it inserts, so nothing inserted is read again. The guarded
// spans and the new values' spans are reported in inserted.
std::wstring Scan(std::wstring_view html, std::size_t from, std::size_t stripFrom,
                  std::wstring_view token, std::wstring_view value, const std::vector<Span>& guards,
                  std::vector<Span>* inserted, bool* unchanged = nullptr) {
    std::vector<Span> spans;
    std::wstring out;
    if (token.size() < 3) {
        if (inserted != nullptr) {
            *inserted = guards;
        }
        return std::wstring(html);
    }
    const wchar_t open = token.front();
    const wchar_t close = token.back();
    const std::wstring_view core = token.substr(1, token.size() - 2);
    std::size_t last = 0;    // html copied to out up to here
    std::size_t guard = 0;   // the first guard starting after the current opening character
    std::size_t copied = 0;  // guards already copied to spans
    const auto copyTo = [&](std::size_t end) {
        const std::size_t shift = out.size();
        out.append(html.substr(last, end - last));
        for (; copied < guards.size() && guards[copied].start <= end; ++copied) {
            spans.push_back(
                Span{guards[copied].start - last + shift, guards[copied].end - last + shift});
        }
        last = end;
    };
    std::size_t pos = from;
    while (pos < html.size()) {
        std::size_t p1 = html.find(open, pos);
        if (p1 == std::wstring_view::npos) {
            break;
        }
        const std::size_t p2 = html.find(close, p1 + 1);
        if (p2 == std::wstring_view::npos) {
            break;
        }
        if (open != close) {
            // The nearest opening character before the closing one.
            p1 = html.rfind(open, p2 - 1);
        }
        while (guard < guards.size() && guards[guard].start <= p1) {
            ++guard;
        }
        const bool touched = (guard > 0 && guards[guard - 1].end > p1) ||
                             (guard < guards.size() && guards[guard].start <= p2);
        if (!touched) {
            const std::wstring_view between = html.substr(p1 + 1, p2 - p1 - 1);
            // Mark-up is cut out before comparing: the core of a split placeholder never
            // stands in one piece.
            const bool match = between.size() == core.size()
                                   ? text::EqualsNoCase(between, core)
                                   : p1 >= stripFrom && between.size() > core.size() &&
                                         between.find(L'<') != std::wstring_view::npos &&
                                         text::EqualsNoCase(StripMarkup(between), core);
            if (match) {
                if (out.empty()) {
                    out.reserve(html.size() + value.size());
                }
                copyTo(p1);
                spans.push_back(Span{out.size(), out.size() + value.size()});
                out.append(value);
                last = p2 + 1;
                pos = p2 + 1;
                continue;
            }
        }
        // The closing character may open the next placeholder.
        pos = p2;
    }
    if (unchanged != nullptr && out.empty() && last == 0) {
        // Nothing matched: the caller keeps its text, no copy is made.
        *unchanged = true;
        if (inserted != nullptr) {
            *inserted = guards;
        }
        return out;
    }
    copyTo(html.size());
    if (inserted != nullptr) {
        *inserted = std::move(spans);
    }
    return out;
}

std::size_t BodyStart(std::wstring_view html) {
    return text::FindNoCase(html, L"<body");
}

void LogNoBody() {
    mGlobals::LogError(kHtmlSource, 0,
                       L"The HTML has no <body>: placeholders split by mark-up stay as they are");
}

}  // namespace

std::wstring GetPlaceholderToken(CLang& lang, Placeholder placeholder) {
    const Row& row = RowOf(placeholder);
    std::wstring token = OptionalText(lang, row.tokenKey);
    // A blank token would match every space of a message.
    return text::Trim(token).empty() ? std::wstring(row.defaultToken) : token;
}
std::wstring GetFullNameToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::FullName);
}
std::wstring GetFirstNameToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::FirstName);
}
std::wstring GetMiddleNameToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::MiddleName);
}
std::wstring GetLastNameToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::LastName);
}
std::wstring GetInitialsToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::Initials);
}
std::wstring GetNicknameToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::NickName);
}
std::wstring GetCompanyToken(CLang& lang) {
    return GetPlaceholderToken(lang, Placeholder::Company);
}

std::optional<Placeholder> PlaceholderOf(CLang& lang, const std::wstring& token) {
    for (int i = 0; i < kPlaceholderCount; ++i) {
        const auto placeholder = static_cast<Placeholder>(i);
        if (text::EqualsNoCase(GetPlaceholderToken(lang, placeholder), token)) {
            return placeholder;
        }
    }
    return std::nullopt;
}

bool FindReplacements(Services& services, SafeItem& message, FoundTokens& found) {
    found.clear();
    try {
        const std::wstring subject = message.Subject();
        const std::wstring body = message.Body();
        for (int i = 0; i < kPlaceholderCount; ++i) {
            std::wstring token = GetPlaceholderToken(services.Lang(), static_cast<Placeholder>(i));
            const bool known = std::any_of(found.begin(), found.end(), [&token](const auto& t) {
                return text::EqualsNoCase(t, token);
            });
            if (!known && (text::FindNoCase(subject, token) != text::npos ||
                           text::FindNoCase(body, token) != text::npos)) {
                found.push_back(std::move(token));
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kFindSource, e);
    }
    return !found.empty();
}

namespace {

// The contact of one person: the one its address entry stands for, else the first found by its
// address in the default Contacts folder and then in the other contacts folders.
std::shared_ptr<ContactItem> FindContact(Services& services,
                                         mContacts::CContactFolderList& contactFolders,
                                         const std::wstring& address,
                                         const std::wstring& contactRef) {
    const auto semicolon = contactRef.find(L';');
    const std::wstring entryID = contactRef.substr(0, semicolon);
    const std::wstring storeID =
        semicolon == std::wstring::npos ? std::wstring() : contactRef.substr(semicolon + 1);
    auto session = services.ConnectedHost().application->Session();
    if (!entryID.empty()) {
        try {
            if (auto contact = std::dynamic_pointer_cast<ContactItem>(
                    session->GetItemFromID(entryID, storeID))) {
                return contact;
            }
        } catch (const HostError& e) {
            // A contact deleted since the entry was made: look for it by address instead.
            mGlobals::LogWarning(kLoadSource,
                                 L"Contact " + entryID + L" of " + address +
                                     L" cannot be opened (" + e.Description() + L")",
                                 1);
        }
    }
    std::shared_ptr<MAPIFolder> contacts;
    try {
        contacts = session->GetDefaultFolder(olFolderContacts);
    } catch (const HostError& e) {
        mGlobals::LogWarning(kLoadSource, L"No default Contacts folder: " + e.Description(), 2);
    }
    if (auto contact = mContacts::FindContactByEmail(services, contacts, address)) {
        return contact;
    }
    const auto& folders = contactFolders.Get(services).Folders();
    for (std::size_t i = 1; i < folders.size(); ++i) {
        if (auto contact = mContacts::FindContactByEmail(services, folders[i], address)) {
            return contact;
        }
    }
    return nullptr;
}

std::wstring WindowCaption(Services& services, const std::wstring& subject) {
    CLang& lang = services.Lang();
    return lang.Item(L"LID_TITLE_MAIL",
                     {Variant(subject.empty() ? lang.Item(L"LID_UNTITLED") : subject)});
}

}  // namespace

bool LoadReplacementValues(Services& services, IPleaseWait& pleaseWait,
                           mContacts::CContactFolderList& contactFolders, SafeMailItem& message,
                           const FoundTokens& found, CRecipientsProps& props, bool wordEditor,
                           bool silent) {
    const PleaseWaitAction action(pleaseWait, !silent);
    try {
        auto recipients = message.Recipients();
        const int32_t count = recipients->Count();
        for (int32_t i = 1; i <= count; ++i) {
            if (!recipients->Item(i)->Resolved()) {
                mGlobals::LogError(kLoadSource, 0, L"Recipient not resolved");
                return false;
            }
        }
        HostPorts& host = services.ConnectedHost();
        auto session = host.redemption->CreateRDOSession();
        session->SetMAPIOBJECT(host.application->Session()->MAPIOBJECT());
        auto rdoMessage =
            session->GetMessageFromID(message.EntryID(), message.Item()->Parent()->StoreID());
        std::vector<std::wstring> addresses;
        std::vector<std::wstring> names;
        std::vector<std::wstring> contactRefs;
        mAddressBook::RdoGetAddressesFromRecipients(*rdoMessage->Recipients(), addresses, names,
                                                    contactRefs);
        std::wstring caption;
        for (std::size_t person = 0; person < addresses.size(); ++person) {
            const std::wstring& address = addresses[person];
            const std::wstring& name = names[person];
            if (props.HasProps(address, found)) {
                continue;
            }
            auto contact = FindContact(services, contactFolders, address,
                                       person < contactRefs.size() ? contactRefs[person] : L"");
            for (const std::wstring& token : found) {
                std::wstring value;
                std::wstring suggested;
                bool preselectDrafts = false;
                if (const auto placeholder = PlaceholderOf(services.Lang(), token)) {
                    const Row& row = RowOf(*placeholder);
                    if (contact) {
                        value = ContactField(*contact, *placeholder);
                    }
                    if (value.empty() && row.fallback != Fallback::None) {
                        std::wstring full;
                        std::wstring first;
                        std::wstring last;
                        ExtractRecipientNames(name, address, full, first, last);
                        value = row.fallback == Fallback::FullName    ? full
                                : row.fallback == Fallback::FirstName ? first
                                                                      : last;
                    }
                    suggested = OptionalText(services.Lang(), row.defaultValueKey);
                    preselectDrafts = row.preselectDrafts;
                } else {
                    mGlobals::LogError(kLoadSource, 0, L"invalid replacement - " + token);
                }
                if (value.empty()) {
                    bool remembered = false;
                    value = props.GetDefaultValue(token, remembered);
                    if (!remembered) {
                        if (silent) {
                            return false;
                        }
                        if (caption.empty()) {
                            caption = WindowCaption(services, message.Subject());
                        }
                        EmptyFieldArgs args;
                        args.recipientName = name;
                        args.recipientAddress = address;
                        args.token = token;
                        args.value = suggested;
                        args.preselectDrafts = preselectDrafts;
                        args.contactFound = contact != nullptr;
                        args.contactName = contact ? contact->FullName() : L"";
                        args.onTop = wordEditor;
                        args.caption = caption;
                        if (ShowEmptyField(services, pleaseWait, args)) {
                            return false;
                        }
                        value = args.value;
                        props.SetDefaultValue(token, value);
                    }
                }
                props.SetProp(address, token, value);
            }
            if (!silent) {
                pleaseWait.Update();
            }
        }
        return true;
    } catch (const HostError& e) {
        mGlobals::LogError(kLoadSource, e);
        return false;
    }
}

bool DoReplacements(Services& services, SafeMailItem& item, const FoundTokens& found,
                    const CRecipientsProps& props, bool stopOnEmpty, bool& hasEmpty,
                    std::wstring* emptyToken) {
    hasEmpty = false;
    try {
        std::wstring subject = item.Subject();
        const bool plain = IsPlainBody(services, item);
        std::wstring body = plain ? item.Body() : item.HTMLBody();

        // Each person once, in first-seen order.
        std::vector<std::wstring> addresses;
        std::unordered_set<std::wstring> seen;
        auto recipients = item.Recipients();
        const int32_t count = recipients->Count();
        for (int32_t i = 1; i <= count; ++i) {
            auto recipient = recipients->Item(i);
            auto entry = recipient->Resolved() ? recipient->AddressEntry() : nullptr;
            if (!entry) {
                mGlobals::LogError(kDoSource, 0, L"Recipient not resolved - ignoring");
                continue;
            }
            std::vector<std::wstring> entryAddresses;
            std::vector<std::wstring> entryNames;
            mAddressBook::GetAddressesFromAE(*entry, entryAddresses, entryNames, false, nullptr, 0);
            for (auto& address : entryAddresses) {
                if (seen.insert(text::ToLower(address)).second) {
                    addresses.push_back(std::move(address));
                }
            }
        }

        if (!plain && !found.empty() && BodyStart(body) == text::npos) {
            LogNoBody();
        }
        for (const std::wstring& token : found) {
            const auto noteEmpty = [&] {
                if (!hasEmpty && emptyToken != nullptr) {
                    *emptyToken = token;
                }
                hasEmpty = true;
            };
            if (addresses.empty()) {
                noteEmpty();
            }
            std::wstring joined;
            bool abandoned = false;
            for (const std::wstring& address : addresses) {
                const std::wstring value = props.GetProp(address, token);
                if (value.empty()) {
                    noteEmpty();
                    if (stopOnEmpty) {
                        abandoned = true;
                        break;
                    }
                    continue;
                }
                if (!joined.empty()) {
                    joined += L", ";
                }
                joined += value;
            }
            if (abandoned) {
                continue;
            }
            subject = ReplaceToken(subject, token, joined);
            if (plain) {
                body = ReplaceToken(body, token, joined);
            } else if (ScanFindsWholeTokens(token)) {
                // One pass; a body without the token stays as it is, uncopied.
                bool unchanged = false;
                std::wstring replaced = Scan(body, 0, BodyStart(body), token, EscapeHtml(joined),
                                             {}, nullptr, &unchanged);
                if (!unchanged) {
                    body = std::move(replaced);
                }
            } else {
                body = ReplaceTokenInHtml(body, token, EscapeHtml(joined));
            }
        }
        if (!found.empty()) {
            item.SetSubject(subject);
            if (plain) {
                item.SetBody(body);
            } else {
                item.SetBody(L"");
                item.SetHTMLBody(body);
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kDoSource, e);
        return false;
    }
    return true;
}

bool DoReplacements(Services& services, const std::shared_ptr<MailItem>& item,
                    const FoundTokens& found, const CRecipientsProps& props, bool stopOnEmpty,
                    bool& hasEmpty) {
    hasEmpty = false;
    try {
        auto safe = services.ConnectedHost().redemption->CreateSafeMailItem();
        safe->SetItem(item);
        const bool done = DoReplacements(services, *safe, found, props, stopOnEmpty, hasEmpty);
        safe->SetItem(nullptr);
        return done;
    } catch (const HostError& e) {
        mGlobals::LogError(kDoSource, e);
        return false;
    }
}

void DoReplacementsInHtml(std::wstring& html, const std::wstring& token,
                          const std::wstring& value) {
    const std::size_t start = BodyStart(html);
    if (start == text::npos) {
        LogNoBody();
        return;
    }
    html = Scan(html, start, start, token, value, {}, nullptr);
}

bool IsPlainBody(Services& services, SafeMailItem& item) {
    try {
        if (services.OutlookVersion() < 10) {
            return text::FindNoCase(item.HTMLBody(), L"<body>") == text::npos;
        }
        return item.BodyFormat() == olFormatPlain;
    } catch (const HostError& e) {
        mGlobals::LogError(kPlainSource, e);
        return false;
    }
}

void ExtractRecipientNames(const std::wstring& name, const std::wstring& email,
                           std::wstring& fullName, std::wstring& firstName,
                           std::wstring& lastName) {
    // An empty address is no text to cut out: the name stays as it is.
    std::wstring s = email.empty() ? name : text::ReplaceAllNoCase(name, email, L" ");
    for (const wchar_t c : std::wstring_view(L"'()<>\",;")) {
        std::replace(s.begin(), s.end(), c, L' ');
    }
    std::vector<std::wstring> words;
    for (const auto& part : text::Split(text::Trim(s), L" ")) {
        std::wstring word = text::Trim(part);
        if (!word.empty()) {
            words.push_back(std::move(word));
        }
    }
    fullName = text::Join(words, L" ");
    const auto space = fullName.find(L' ');
    if (space == std::wstring::npos) {
        firstName.clear();
        lastName.clear();
    } else {
        firstName = fullName.substr(0, space);
        lastName = fullName.substr(space + 1);
    }
    mGlobals::LogDebug(kNamesSource,
                       mGlobals::sprintf(L"Recipient(Name=%s,Email=%s), "
                                         L"Extracted(FullName=%s,FirstName=%s,LastName=%s)",
                                         name, email, fullName, firstName, lastName),
                       3);
}

std::wstring EscapeHtml(std::wstring_view value) {
    std::wstring out;
    out.reserve(value.size());
    for (const wchar_t c : value) {
        switch (c) {
            case L'&':
                out += L"&amp;";
                break;
            case L'<':
                out += L"&lt;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'"':
                out += L"&quot;";
                break;
            case L'\'':
                out += L"&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring ReplaceToken(std::wstring_view textIn, std::wstring_view token,
                          std::wstring_view value, std::vector<Span>* inserted) {
    if (inserted != nullptr) {
        inserted->clear();
    }
    if (token.empty()) {
        return std::wstring(textIn);
    }
    std::wstring out;
    std::size_t last = 0;
    for (std::size_t p = text::FindNoCase(textIn, token); p != text::npos;
         p = text::FindNoCase(textIn, token, last)) {
        if (out.empty()) {
            out.reserve(textIn.size() + value.size());
        }
        out.append(textIn.substr(last, p - last));
        if (inserted != nullptr) {
            inserted->push_back(Span{out.size(), out.size() + value.size()});
        }
        out.append(value);
        last = p + token.size();
    }
    out.append(textIn.substr(last));
    return out;
}

std::wstring ReplaceTokenInHtml(std::wstring_view html, std::wstring_view token,
                                std::wstring_view value, std::vector<Span>* inserted) {
    if (ScanFindsWholeTokens(token)) {
        return Scan(html, 0, BodyStart(html), token, value, {}, inserted);
    }
    // A token whose ends the scan cannot rely on: whole tokens first, then the split ones,
    // keeping away from what the first pass inserted.
    std::vector<Span> spans;
    std::wstring replaced = ReplaceToken(html, token, value, &spans);
    const std::size_t start = BodyStart(replaced);
    if (start == text::npos) {
        if (inserted != nullptr) {
            *inserted = std::move(spans);
        }
        return replaced;
    }
    return Scan(replaced, start, start, token, value, spans, inserted);
}

}  // namespace plexa::mReplacements
