#include "core/Text.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <memory>

namespace plexa::text {

namespace {

// wchar_t is UTF-16 on Windows and UTF-32 elsewhere. A UTF-16 code unit that is half of a
// surrogate pair maps to itself, which keeps positions stable on both.
// ASCII maps the same in every one of the three, without a call into ICU's tables.
char32_t Lower(wchar_t c) {
    if (c >= 0 && c < 0x80) {
        return static_cast<char32_t>(c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c);
    }
    return static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
}
char32_t Upper(wchar_t c) {
    if (c >= 0 && c < 0x80) {
        return static_cast<char32_t>(c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c);
    }
    return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
}
char32_t Fold(wchar_t c) {
    if (c >= 0 && c < 0x80) {
        return Lower(c);
    }
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

std::wstring MapEach(std::wstring_view s, char32_t (*map)(wchar_t)) {
    std::wstring out(s);
    for (auto& c : out) {
        const char32_t m = map(c);
        if (m <= static_cast<char32_t>(WCHAR_MAX)) {
            c = static_cast<wchar_t>(m);
        }
    }
    return out;
}

std::u16string ToU16(std::wstring_view s) {
    if constexpr (sizeof(wchar_t) == 2) {
        return std::u16string(s.begin(), s.end());
    } else {
        std::u16string out;
        out.reserve(s.size());
        for (wchar_t wc : s) {
            // wchar_t holds whole code points here.
            const auto code = static_cast<uint32_t>(wc);  // NOLINT(bugprone-signed-char-misuse)
            UChar32 c = code > 0x10FFFF ? 0xFFFD : static_cast<UChar32>(code);
            if (c >= 0xD800 && c <= 0xDFFF) {
                c = 0xFFFD;
            }
            if (c > 0xFFFF) {
                out.push_back(static_cast<char16_t>(U16_LEAD(c)));
                out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
            } else {
                out.push_back(static_cast<char16_t>(c));
            }
        }
        return out;
    }
}

std::wstring FromU16(std::u16string_view s) {
    if constexpr (sizeof(wchar_t) == 2) {
        return std::wstring(s.begin(), s.end());
    } else {
        std::wstring out;
        out.reserve(s.size());
        for (std::size_t i = 0; i < s.size(); ++i) {
            char32_t c = s[i];
            if (U16_IS_LEAD(c) && i + 1 < s.size() && U16_IS_TRAIL(s[i + 1])) {
                c = static_cast<char32_t>(U16_GET_SUPPLEMENTARY(c, s[i + 1]));
                ++i;
            } else if (U16_IS_SURROGATE(c)) {
                c = 0xFFFD;
            }
            out.push_back(static_cast<wchar_t>(c));
        }
        return out;
    }
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const char* codePage) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(codePage, &status));
    if (U_FAILURE(status) || !conv) {
        status = U_ZERO_ERROR;
        conv.reset(ucnv_open("windows-1252", &status));
    }
    if (conv) {
        // The Windows "A" functions are used without best-fit here: a missing character is "?".
        ucnv_setFallback(conv.get(), false);
        status = U_ZERO_ERROR;
        ucnv_setSubstChars(conv.get(), "?", 1, &status);
    }
    return conv;
}

bool IsSpace(wchar_t c) {
    return c == L' ';
}
bool IsSpaceOrTab(wchar_t c) {
    return c == L' ' || c == L'\t';
}

template <typename Pred>
std::wstring TrimBy(std::wstring_view s, Pred pred, bool left, bool right) {
    std::size_t b = 0;
    std::size_t e = s.size();
    if (left) {
        while (b < e && pred(s[b])) {
            ++b;
        }
    }
    if (right) {
        while (e > b && pred(s[e - 1])) {
            --e;
        }
    }
    return std::wstring(s.substr(b, e - b));
}

bool MatchesAt(std::wstring_view hay, std::size_t pos, std::wstring_view needle) {
    for (std::size_t k = 0; k < needle.size(); ++k) {
        if (hay[pos + k] != needle[k] && Fold(hay[pos + k]) != Fold(needle[k])) {
            return false;
        }
    }
    return true;
}

template <typename Finder>
std::wstring ReplaceWith(std::wstring_view s, std::wstring_view find, std::wstring_view repl,
                         Finder finder) {
    if (find.empty()) {
        return std::wstring(s);
    }
    std::wstring out;
    out.reserve(s.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = finder(s, find, pos);
        if (hit == npos) {
            break;
        }
        out.append(s.substr(pos, hit - pos));
        out.append(repl);
        pos = hit + find.size();
    }
    out.append(s.substr(pos));
    return out;
}

}  // namespace

std::wstring ToLower(std::wstring_view s) {
    return MapEach(s, &Lower);
}

std::wstring ToUpper(std::wstring_view s) {
    return MapEach(s, &Upper);
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) {
            continue;
        }
        const char32_t fa = Fold(a[i]);
        const char32_t fb = Fold(b[i]);
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::size_t FindNoCase(std::wstring_view haystack, std::wstring_view needle, std::size_t start) {
    if (start > haystack.size()) {
        return npos;
    }
    if (needle.size() > haystack.size() - start) {
        return npos;
    }
    const std::size_t last = haystack.size() - needle.size();
    const wchar_t first = needle.empty() ? L'a' : needle.front();
    if (!needle.empty() && first >= 0 && first < 0x80 &&
        Fold(first) == static_cast<char32_t>(first) &&
        Upper(first) == static_cast<char32_t>(first)) {
        // An ASCII character without case (a digit, "%", "<"): nothing else folds to it, so
        // only its own occurrences can begin a match.
        for (std::size_t i = haystack.find(first, start); i != npos && i <= last;
             i = haystack.find(first, i + 1)) {
            if (MatchesAt(haystack, i, needle)) {
                return i;
            }
        }
        return npos;
    }
    for (std::size_t i = start; i <= last; ++i) {
        if (MatchesAt(haystack, i, needle)) {
            return i;
        }
    }
    return npos;
}

std::wstring ReplaceAll(std::wstring_view s, std::wstring_view find, std::wstring_view repl) {
    return ReplaceWith(s, find, repl, [](std::wstring_view h, std::wstring_view f, std::size_t p) {
        return h.find(f, p);
    });
}

std::wstring ReplaceAllNoCase(std::wstring_view s, std::wstring_view find, std::wstring_view repl) {
    return ReplaceWith(s, find, repl, [](std::wstring_view h, std::wstring_view f, std::size_t p) {
        return FindNoCase(h, f, p);
    });
}

std::wstring Trim(std::wstring_view s) {
    return TrimBy(s, IsSpace, true, true);
}
std::wstring TrimLeft(std::wstring_view s) {
    return TrimBy(s, IsSpace, true, false);
}
std::wstring TrimRight(std::wstring_view s) {
    return TrimBy(s, IsSpace, false, true);
}
std::wstring TrimSpacesTabs(std::wstring_view s) {
    return TrimBy(s, IsSpaceOrTab, true, true);
}

std::vector<std::wstring> Split(std::wstring_view s, std::wstring_view delimiter) {
    std::vector<std::wstring> parts;
    if (s.empty()) {
        return parts;
    }
    if (delimiter.empty()) {
        parts.emplace_back(s);
        return parts;
    }
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(delimiter, pos);
        if (hit == npos) {
            parts.emplace_back(s.substr(pos));
            return parts;
        }
        parts.emplace_back(s.substr(pos, hit - pos));
        pos = hit + delimiter.size();
    }
}

std::wstring Join(const std::vector<std::wstring>& parts, std::wstring_view delimiter) {
    std::wstring out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            out.append(delimiter);
        }
        out.append(parts[i]);
    }
    return out;
}

std::string ToUtf8(std::wstring_view s) {
    const std::u16string u16 = ToU16(s);
    int32_t needed = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(nullptr, 0, &needed, u16.data(), static_cast<int32_t>(u16.size()), 0xFFFD,
                       nullptr, &status);
    std::string out(static_cast<std::size_t>(needed), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), needed, &needed, u16.data(), static_cast<int32_t>(u16.size()),
                       0xFFFD, nullptr, &status);
    return out;
}

std::wstring FromUtf8(std::string_view s) {
    int32_t needed = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(nullptr, 0, &needed, s.data(), static_cast<int32_t>(s.size()), 0xFFFD,
                         nullptr, &status);
    std::u16string u16(static_cast<std::size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(u16.data(), needed, &needed, s.data(), static_cast<int32_t>(s.size()),
                         0xFFFD, nullptr, &status);
    return FromU16(u16);
}

std::string ToAnsi(std::wstring_view s, const char* codePage) {
    const ConverterPtr conv = OpenConverter(codePage);
    if (!conv || s.empty()) {
        return {};
    }
    const std::u16string u16 = ToU16(s);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed = ucnv_fromUChars(conv.get(), nullptr, 0, u16.data(),
                                           static_cast<int32_t>(u16.size()), &status);
    std::string out(static_cast<std::size_t>(needed), '\0');
    status = U_ZERO_ERROR;
    ucnv_fromUChars(conv.get(), out.data(), needed, u16.data(), static_cast<int32_t>(u16.size()),
                    &status);
    return out;
}

std::wstring FromAnsi(std::string_view s, const char* codePage) {
    const ConverterPtr conv = OpenConverter(codePage);
    if (!conv || s.empty()) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed =
        ucnv_toUChars(conv.get(), nullptr, 0, s.data(), static_cast<int32_t>(s.size()), &status);
    std::u16string u16(static_cast<std::size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    ucnv_toUChars(conv.get(), u16.data(), needed, s.data(), static_cast<int32_t>(s.size()),
                  &status);
    return FromU16(u16);
}

std::u16string ToUtf16(std::wstring_view s) {
    return ToU16(s);
}

std::wstring FromUtf16(std::u16string_view s) {
    return FromU16(s);
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix) {
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::wstring Hex(uint64_t value) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring out;
    do {
        out.insert(out.begin(), kDigits[value & 0xFU]);
        value >>= 4;
    } while (value != 0);
    return out;
}

std::wstring HexBytes(const std::vector<uint8_t>& bytes) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring out;
    out.reserve(bytes.size() * 2);
    for (const uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xFU];
    }
    return out;
}

}  // namespace plexa::text
