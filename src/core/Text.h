// Text helpers. Every comparison, search, replacement and case change that ignores letter case
// goes through here: case is mapped one character at a time (ICU simple case mapping), so a
// position found in a mapped text is the same position in the original.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plexa::text {

inline constexpr std::size_t npos = std::wstring::npos;

// Case mapping, character by character.
std::wstring ToLower(std::wstring_view s);
std::wstring ToUpper(std::wstring_view s);

// Compare without regard to letter case: <0, 0 or >0, ordered by the case-folded code points.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// Zero-based position of needle in haystack at or after start, ignoring case; npos when absent.
// An empty needle is found at start (when start is within the text).
std::size_t FindNoCase(std::wstring_view haystack, std::wstring_view needle, std::size_t start = 0);

// Replace every occurrence of find by replacement, left to right, never rescanning inserted
// text. The NoCase form matches without regard to letter case. An empty find changes nothing.
std::wstring ReplaceAll(std::wstring_view s, std::wstring_view find, std::wstring_view replacement);
std::wstring ReplaceAllNoCase(std::wstring_view s, std::wstring_view find,
                              std::wstring_view replacement);

// Trims: spaces only (the host's Trim), or spaces and tabs.
std::wstring Trim(std::wstring_view s);
std::wstring TrimLeft(std::wstring_view s);
std::wstring TrimRight(std::wstring_view s);
std::wstring TrimSpacesTabs(std::wstring_view s);

// Split at every delimiter (an empty text gives no parts); an empty delimiter gives the whole
// text as one part. Join puts the delimiter between parts.
std::vector<std::wstring> Split(std::wstring_view s, std::wstring_view delimiter);
std::wstring Join(const std::vector<std::wstring>& parts, std::wstring_view delimiter);

// UTF-8 at the edges. Malformed input becomes U+FFFD rather than failing.
std::string ToUtf8(std::wstring_view s);
std::wstring FromUtf8(std::string_view s);

// UTF-16, the host's own string form. An unpaired surrogate becomes U+FFFD.
std::u16string ToUtf16(std::wstring_view s);
std::wstring FromUtf16(std::u16string_view s);

// ANSI code-page conversion as the Windows "A" functions do it: a character the code page lacks
// becomes "?". The code page is named as ICU knows it ("windows-1252"). An unknown code page
// falls back to windows-1252.
std::string ToAnsi(std::wstring_view s, const char* codePage = "windows-1252");
std::wstring FromAnsi(std::string_view s, const char* codePage = "windows-1252");

// Whole-text helpers used with the host's string semantics.
bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);
bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix);

// A number as the host runtime's Hex writes it: upper-case digits, no leading zeros ("1F").
std::wstring Hex(uint64_t value);
// Bytes as two upper-case digits each, in order ("00A1FF"): how entry ids travel as text.
std::wstring HexBytes(const std::vector<uint8_t>& bytes);

}  // namespace plexa::text
