// Placeholders such as "%FullName%" in a message's subject and body, replaced for each copy by
// the data of the recipient the copy goes to. Three steps, called in order by the separate-send
// action: FindReplacements (which placeholders the message uses), LoadReplacementValues (a
// value for every recipient and placeholder, from the recipient's contact, else from its
// display name, else asked from the user once per placeholder) and DoReplacements (the values
// written into one copy). The insert commands of the message window use the token getters.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plexa {

class CLang;
class CRecipientsProps;
class IPleaseWait;
class MailItem;
class SafeItem;
class SafeMailItem;
class Services;

namespace mContacts {
class CContactFolderList;
}

namespace mReplacements {

// The seven placeholders, in the order they are searched, loaded and replaced.
enum class Placeholder : int {
    FullName = 0,
    FirstName,
    MiddleName,
    LastName,
    Initials,
    NickName,
    Company,
};
inline constexpr int kPlaceholderCount = 7;

// The token of a placeholder as the language file names it; the default token ("%FullName%" ...)
// when the file has no text for it or an empty one.
std::wstring GetPlaceholderToken(CLang& lang, Placeholder placeholder);
std::wstring GetFullNameToken(CLang& lang);
std::wstring GetFirstNameToken(CLang& lang);
std::wstring GetMiddleNameToken(CLang& lang);
std::wstring GetLastNameToken(CLang& lang);
std::wstring GetInitialsToken(CLang& lang);
std::wstring GetNicknameToken(CLang& lang);
std::wstring GetCompanyToken(CLang& lang);
// The placeholder a token stands for (letter case ignored); nothing for an unknown token.
std::optional<Placeholder> PlaceholderOf(CLang& lang, const std::wstring& token);

// The tokens a message uses, in placeholder order, each once.
using FoundTokens = std::vector<std::wstring>;

// Fills found with the tokens that occur, letter case ignored, in the subject or the plain body
// (never the HTML); true when there is at least one.
bool FindReplacements(Services& services, SafeItem& message, FoundTokens& found);

// Stores a value for every recipient of the message (distribution lists expanded) and every
// found token in props: the contact's field, else the name taken from the display name, else a
// value remembered for the token, else the user's answer in the empty-field dialog (remembered
// for the token, so the user is asked once per token). The message must be saved (it is opened
// again by its id). False when a recipient is unresolved, the user cancels, a value is missing
// in silent mode (no dialogs), or the host fails.
bool LoadReplacementValues(Services& services, IPleaseWait& pleaseWait,
                           mContacts::CContactFolderList& contactFolders, SafeMailItem& message,
                           const FoundTokens& found, CRecipientsProps& props, bool wordEditor,
                           bool silent);

// Replaces every found token in the item's subject and body with the stored values of the
// item's recipients (each address once, several joined with ", "); in an HTML body the value is
// escaped and placeholders split by mark-up are replaced too. hasEmpty tells whether a value was
// missing (the copy then belongs in Drafts); with stopOnEmpty such a token is left as it is.
// False when the host failed (logged): the item may then hold some values and not others.
// emptyToken, when given, receives the first placeholder whose value was empty.
bool DoReplacements(Services& services, SafeMailItem& item, const FoundTokens& found,
                    const CRecipientsProps& props, bool stopOnEmpty, bool& hasEmpty,
                    std::wstring* emptyToken = nullptr);
// The same for a mail item of the host, reached through the safe-access library.
bool DoReplacements(Services& services, const std::shared_ptr<MailItem>& item,
                    const FoundTokens& found, const CRecipientsProps& props, bool stopOnEmpty,
                    bool& hasEmpty);

// Replaces, from the first "<body" on, every placeholder the editor split with mark-up (such as
// "%Full<b>Name</b>%") and every whole one by value, which is inserted as it is (escape it
// first). Inserted text is never read again. Without "<body" nothing changes and an error is
// logged.
void DoReplacementsInHtml(std::wstring& html, const std::wstring& token, const std::wstring& value);

// Whether the item's body is plain text (rich text counts as HTML).
bool IsPlainBody(Services& services, SafeMailItem& item);

// The full, first and last name a display name gives once the address, quotes, brackets, commas
// and semicolons are taken out: "Smith, John (john@x.example)" gives "Smith John", "Smith" and
// "John". One word gives that word as full name and empty first and last names.
void ExtractRecipientNames(const std::wstring& name, const std::wstring& email,
                           std::wstring& fullName, std::wstring& firstName, std::wstring& lastName);

// Text-level helpers, also used by the fuzz target.

// "&" "<" ">" and both quotes as entities, the ampersand first, so that a value can end no tag
// and no attribute.
std::wstring EscapeHtml(std::wstring_view value);

// A stretch of an output text that a value filled: [start, end). An empty one marks the place
// where an empty value went in.
struct Span {
    std::size_t start = 0;
    std::size_t end = 0;
};
// Every occurrence of token (letter case ignored), left to right, replaced by value.
std::wstring ReplaceToken(std::wstring_view text, std::wstring_view token, std::wstring_view value,
                          std::vector<Span>* inserted = nullptr);
// The HTML-body replacement of DoReplacements for one token and its escaped value: whole tokens
// everywhere, tokens split by mark-up from the first "<body" on; one pass in the usual case.
std::wstring ReplaceTokenInHtml(std::wstring_view html, std::wstring_view token,
                                std::wstring_view value, std::vector<Span>* inserted = nullptr);

}  // namespace mReplacements
}  // namespace plexa
