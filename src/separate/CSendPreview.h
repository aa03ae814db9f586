// What each personal copy of a separate send will be, worked out before anything is copied: its
// recipient and address, its subject as it will go, each placeholder's value, and marks on the
// copies that will be kept in Drafts or hold something suspicious.
//
// The message's text is the same in every copy but for the values, so it is scanned once, for
// the placeholders a replacement will leave (a "%...%" word that is a placeholder's name in
// another spelling or a near miss of one); each copy then costs its values alone, never another
// pass over the body.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace plexa {

class CRecipientsProps;

// Why a copy is marked; combined with |.
enum PreviewMark : uint32_t {
    MarkNone = 0,
    MarkEmptyValue = 1,  // kept in Drafts: a placeholder has no value
    MarkBlankValue = 2,  // a value that is only spaces
    MarkUnreplaced = 4,  // a placeholder-like word will go out as it stands
    MarkDuplicate = 8,   // another copy goes to the same address
};

struct PreviewCopy {
    std::wstring recipient;
    std::wstring address;
    std::wstring subject;
    // One value per found token, in the tokens' order.
    std::vector<std::wstring> values;
    uint32_t marks = MarkNone;
    // The placeholder-like words this copy will carry unreplaced.
    std::vector<std::wstring> unreplaced;
};

class CSendPreview {
public:
    // knownTokens: every placeholder's token ("%FirstName%" ...), as the language file names
    // them; found: the tokens the message uses (they are replaced).
    CSendPreview(std::vector<std::wstring> knownTokens, std::vector<std::wstring> found);

    // Scans the message's subject and body once for placeholder-like words that will stay.
    void ScanMessage(std::wstring_view subject, std::wstring_view body);
    // Adds the copy for one recipient, its values taken from props by address.
    void AddCopy(const std::wstring& recipient, const std::wstring& address,
                 const CRecipientsProps& props);

    const std::vector<std::wstring>& Tokens() const { return m_found; }
    const std::vector<PreviewCopy>& Copies() const { return m_copies; }
    int32_t MarkedCount() const;
    // The full text of one copy: the body with its values in (for showing one copy on request).
    static std::wstring FillText(std::wstring_view text, const std::vector<std::wstring>& tokens,
                                 const std::vector<std::wstring>& values);

    // The placeholder-like words of a text that a replacement with these found tokens leaves:
    // "%name%" where name, ignoring letter case, spaces and underscores, is a known token's
    // name or one or two letters off one (for names of five letters or more), and is not a
    // found token.
    static std::vector<std::wstring> Unreplaced(std::wstring_view text,
                                                const std::vector<std::wstring>& knownTokens,
                                                const std::vector<std::wstring>& found);

private:
    std::vector<std::wstring> m_known;
    std::vector<std::wstring> m_found;
    std::vector<std::wstring> m_messageUnreplaced;
    std::wstring m_subject;
    std::vector<PreviewCopy> m_copies;
    // Addresses (lower case) with the first copy that goes there.
    std::unordered_map<std::wstring, std::size_t> m_seen;
};

}  // namespace plexa
