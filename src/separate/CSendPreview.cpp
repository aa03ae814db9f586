#include "separate/CSendPreview.h"

#include <algorithm>
#include <cwctype>

#include "core/Text.h"
#include "recipients/CRecipientsProps.h"
#include "separate/mReplacements.h"

namespace plexa {

namespace {

// The longest name between two percent signs that counts as a placeholder-like word.
constexpr std::size_t kMaxName = 40;

// Lower case, without spaces, underscores and hyphens: "First_Name" and "firstname" are one.
std::wstring Normal(std::wstring_view name) {
    std::wstring out;
    for (wchar_t c : name) {
        if (c != L' ' && c != L'_' && c != L'-') {
            out += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
    }
    return out;
}

std::wstring_view Inner(std::wstring_view token) {
    if (token.size() >= 2 && token.front() == L'%' && token.back() == L'%') {
        return token.substr(1, token.size() - 2);
    }
    return token;
}

// Edit distance with adjacent swaps, stopping early once it exceeds limit.
std::size_t Distance(std::wstring_view a, std::wstring_view b, std::size_t limit) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap > limit) {
        return limit + 1;
    }
    std::vector<std::size_t> before(b.size() + 1);
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        std::size_t best = current[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
            best = std::min(best, current[j]);
        }
        if (best > limit) {
            return limit + 1;
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

bool NameChar(wchar_t c) {
    return std::iswalnum(static_cast<wint_t>(c)) != 0 || c == L' ' || c == L'_' || c == L'-';
}

bool OnlySpaces(const std::wstring& value) {
    return !value.empty() && std::all_of(value.begin(), value.end(), [](wchar_t c) {
        return std::iswspace(static_cast<wint_t>(c)) != 0 || c == L'\u00a0';
    });
}

}  // namespace

CSendPreview::CSendPreview(std::vector<std::wstring> knownTokens, std::vector<std::wstring> found)
    : m_known(std::move(knownTokens)), m_found(std::move(found)) {}

std::vector<std::wstring> CSendPreview::Unreplaced(std::wstring_view text,
                                                   const std::vector<std::wstring>& knownTokens,
                                                   const std::vector<std::wstring>& found) {
    std::vector<std::wstring> known;
    known.reserve(knownTokens.size());
    for (const auto& token : knownTokens) {
        known.push_back(Normal(Inner(token)));
    }
    std::vector<std::wstring> out;
    std::size_t open = text.find(L'%');
    while (open != std::wstring_view::npos) {
        const std::size_t close = text.find(L'%', open + 1);
        if (close == std::wstring_view::npos) {
            break;
        }
        const std::wstring_view name = text.substr(open + 1, close - open - 1);
        const bool wordLike = !name.empty() && name.size() <= kMaxName &&
                              std::all_of(name.begin(), name.end(), NameChar) &&
                              name.front() != L' ' && name.back() != L' ';
        if (!wordLike) {
            open = close;  // the closing sign may open the next word
            continue;
        }
        const std::wstring word(text.substr(open, close - open + 1));
        const bool replaced = std::any_of(found.begin(), found.end(), [&](const auto& token) {
            return text::EqualsNoCase(token, word);
        });
        const std::wstring normal = Normal(name);
        const bool looksLikeOne =
            !replaced && std::any_of(known.begin(), known.end(), [&](const std::wstring& k) {
                if (normal == k) {
                    return true;
                }
                const std::size_t limit = k.size() >= 8 ? 2 : (k.size() >= 5 ? 1 : 0);
                return limit > 0 && Distance(normal, k, limit) <= limit;
            });
        if (looksLikeOne && std::find(out.begin(), out.end(), word) == out.end()) {
            out.push_back(word);
        }
        open = text.find(L'%', close + 1);
    }
    return out;
}

void CSendPreview::ScanMessage(std::wstring_view subject, std::wstring_view body) {
    m_subject = std::wstring(subject);
    m_messageUnreplaced = Unreplaced(subject, m_known, m_found);
    for (auto& word : Unreplaced(body, m_known, m_found)) {
        if (std::find(m_messageUnreplaced.begin(), m_messageUnreplaced.end(), word) ==
            m_messageUnreplaced.end()) {
            m_messageUnreplaced.push_back(std::move(word));
        }
    }
}

void CSendPreview::AddCopy(const std::wstring& recipient, const std::wstring& address,
                           const CRecipientsProps& props) {
    PreviewCopy copy;
    copy.recipient = recipient;
    copy.address = address;
    copy.unreplaced = m_messageUnreplaced;
    copy.values.reserve(m_found.size());
    for (const std::wstring& token : m_found) {
        std::wstring value = props.GetProp(address, token);
        if (value.empty()) {
            copy.marks |= MarkEmptyValue;
        } else if (OnlySpaces(value)) {
            copy.marks |= MarkBlankValue;
        }
        // A value is put in as it stands and never read again: a placeholder in it stays.
        const bool mayHoldWord = value.find(L'%') != std::wstring::npos;
        for (auto& word :
             mayHoldWord ? Unreplaced(value, m_known, {}) : std::vector<std::wstring>{}) {
            if (std::find(copy.unreplaced.begin(), copy.unreplaced.end(), word) ==
                copy.unreplaced.end()) {
                copy.unreplaced.push_back(std::move(word));
            }
        }
        copy.values.push_back(std::move(value));
    }
    if (!copy.unreplaced.empty()) {
        copy.marks |= MarkUnreplaced;
    }
    copy.subject = FillText(m_subject, m_found, copy.values);
    const std::size_t index = m_copies.size();
    const auto [first, added] = m_seen.emplace(text::ToLower(address), index);
    if (!added && !address.empty()) {
        copy.marks |= MarkDuplicate;
        m_copies[first->second].marks |= MarkDuplicate;
    }
    m_copies.push_back(std::move(copy));
}

int32_t CSendPreview::MarkedCount() const {
    return static_cast<int32_t>(std::count_if(m_copies.begin(), m_copies.end(),
                                              [](const auto& c) { return c.marks != MarkNone; }));
}

std::wstring CSendPreview::FillText(std::wstring_view text, const std::vector<std::wstring>& tokens,
                                    const std::vector<std::wstring>& values) {
    std::wstring out(text);
    for (std::size_t i = 0; i < tokens.size() && i < values.size(); ++i) {
        out = mReplacements::ReplaceToken(out, tokens[i], values[i]);
    }
    return out;
}

}  // namespace plexa
