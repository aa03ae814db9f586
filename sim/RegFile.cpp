#include "sim/RegFile.h"

#include <array>
#include <cwchar>

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/IRegistry.h"

namespace plexa::sim::RegFile {

namespace {

constexpr std::array<std::wstring_view, 3> kRoots = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER",
                                                     L"HKEY_LOCAL_MACHINE"};
constexpr std::size_t kLineWidth = 80;

std::vector<uint8_t> ToBytes(std::u16string_view units) {
    std::vector<uint8_t> out;
    out.reserve(units.size() * 2);
    for (char16_t u : units) {
        out.push_back(static_cast<uint8_t>(u & 0xFF));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
    return out;
}

std::u16string ToUnits(const std::vector<uint8_t>& bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return out;
}

// A REG_SZ that can be written between quotes and read back identically: one terminating
// null, no other null, no line break, no unpaired surrogate.
bool IsQuotable(const Value& v, std::wstring& textOut) {
    if (v.type != reg::RegSz || v.data.size() < 2 || v.data.size() % 2 != 0) {
        return false;
    }
    std::u16string units = ToUnits(v.data);
    if (units.back() != u'\0') {
        return false;
    }
    units.pop_back();
    for (char16_t u : units) {
        if (u == u'\0' || u == u'\r' || u == u'\n') {
            return false;
        }
    }
    textOut = text::FromUtf16(units);
    return text::ToUtf16(textOut) == units;
}

std::wstring Quote(std::wstring_view s) {
    std::wstring out = L"\"";
    for (wchar_t c : s) {
        if (c == L'\\' || c == L'"') {
            out.push_back(L'\\');
        }
        out.push_back(c);
    }
    out.push_back(L'"');
    return out;
}

void AppendHex(std::wstring& out, std::size_t lineStart, const std::vector<uint8_t>& data) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        const bool last = i + 1 == data.size();
        // Each line, with its "," and the continuation "\", stays within the width.
        if (out.size() - lineStart + 3 + (last ? 0 : 1) > kLineWidth) {
            out += L"\\\r\n  ";
            lineStart = out.size() - 2;
        }
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 0xF]);
        if (!last) {
            out.push_back(L',');
        }
    }
}

void AppendValue(std::wstring& out, const Value& v) {
    const std::size_t lineStart = out.size();
    out += v.name.empty() ? std::wstring(L"@") : Quote(v.name);
    out += L'=';
    std::wstring textValue;
    if (IsQuotable(v, textValue)) {
        out += Quote(textValue);
    } else if (v.type == reg::RegDword && v.data.size() == 4) {
        const uint32_t n = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                           (static_cast<uint32_t>(v.data[3]) << 24);
        std::array<wchar_t, 16> buf{};
        std::swprintf(buf.data(), buf.size(), L"dword:%08x", n);
        out += buf.data();
    } else {
        if (v.type == reg::RegBinary) {
            out += L"hex:";
        } else {
            std::array<wchar_t, 16> buf{};
            std::swprintf(buf.data(), buf.size(), L"hex(%x):", v.type);
            out += buf.data();
        }
        AppendHex(out, lineStart, v.data);
    }
    out += L"\r\n";
}

// Reading.

class Parser {
public:
    Parser(std::wstring_view fileName, std::vector<std::wstring> lines)
        : m_fileName(fileName), m_lines(std::move(lines)) {}

    std::vector<Key> Run();

private:
    [[noreturn]] void Fail(const std::wstring& message) const {
        const auto line = static_cast<int32_t>(m_line + 1);
        throw HostError(
            vberr::InvalidFileFormat,
            std::wstring(m_fileName) + L", line " + std::to_wstring(line) + L": " + message,
            L"Registry", line);
    }
    void ParseKey(std::wstring_view s);
    void ParseValue(std::wstring_view s);
    std::wstring ParseQuoted(std::wstring_view s, std::size_t& pos) const;
    std::vector<uint8_t> ParseHex(std::wstring s);

    std::wstring_view m_fileName;
    std::vector<std::wstring> m_lines;
    std::size_t m_line = 0;
    std::vector<Key> m_keys;
};

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view TrimBlanks(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// 1 to 8 hex digits; false when s is anything else.
bool ParseHexNumber(std::wstring_view s, uint32_t& out) {
    if (s.empty() || s.size() > 8) {
        return false;
    }
    out = 0;
    for (wchar_t c : s) {
        const int d = HexDigit(c);
        if (d < 0) {
            return false;
        }
        out = (out << 4) | static_cast<uint32_t>(d);
    }
    return true;
}

std::vector<Key> Parser::Run() {
    if (m_lines.empty() || TrimBlanks(m_lines[0]) != Header) {
        Fail(L"the file does not begin with \"" + std::wstring(Header) + L"\"");
    }
    for (m_line = 1; m_line < m_lines.size(); ++m_line) {
        const std::wstring_view s = TrimBlanks(m_lines[m_line]);
        if (s.empty() || s.front() == L';') {
            continue;
        }
        if (s.front() == L'[') {
            ParseKey(s);
        } else if (s.front() == L'@' || s.front() == L'"') {
            ParseValue(s);
        } else {
            Fail(L"expected a [key], a value or a comment");
        }
    }
    return std::move(m_keys);
}

void Parser::ParseKey(std::wstring_view s) {
    if (s.back() != L']') {
        Fail(L"the key name has no closing \"]\"");
    }
    const std::wstring_view path = s.substr(1, s.size() - 2);
    if (!path.empty() && path.front() == L'-') {
        Fail(L"deleting a key is not supported in a saved hive");
    }
    const std::vector<std::wstring> parts = text::Split(path, L"\\");
    if (parts.empty() || !IsRootName(parts[0])) {
        Fail(
            L"the key must begin with HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or "
            L"HKEY_LOCAL_MACHINE");
    }
    std::wstring normalised;
    for (const auto& root : kRoots) {
        if (text::EqualsNoCase(root, parts[0])) {
            normalised = root;
        }
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            Fail(L"the key path has an empty name");
        }
        if (parts[i].size() > reg::MaxKeyNameLength) {
            Fail(L"a key name is longer than 255 characters");
        }
        normalised += L'\\';
        normalised += parts[i];
    }
    m_keys.push_back(Key{normalised, {}});
}

std::wstring Parser::ParseQuoted(std::wstring_view s, std::size_t& pos) const {
    std::wstring out;
    ++pos;  // the opening quote
    while (pos < s.size()) {
        const wchar_t c = s[pos++];
        if (c == L'"') {
            return out;
        }
        if (c == L'\\') {
            if (pos >= s.size() || (s[pos] != L'\\' && s[pos] != L'"')) {
                Fail(L"a \"\\\" in quotes must be followed by \"\\\" or a quote");
            }
            out.push_back(s[pos++]);
        } else {
            out.push_back(c);
        }
    }
    Fail(L"the quoted text has no closing quote");
}

std::vector<uint8_t> Parser::ParseHex(std::wstring s) {
    // Continuation lines: a trailing "\" joins the next line.
    for (;;) {
        std::wstring_view trimmed = TrimBlanks(s);
        if (trimmed.empty() || trimmed.back() != L'\\') {
            s = std::wstring(trimmed);
            break;
        }
        trimmed.remove_suffix(1);
        s = std::wstring(trimmed);
        if (m_line + 1 >= m_lines.size()) {
            Fail(L"the hex data continues past the end of the file");
        }
        ++m_line;
        s += TrimBlanks(m_lines[m_line]);
    }
    std::vector<uint8_t> out;
    if (s.empty()) {
        return out;
    }
    for (const std::wstring& token : text::Split(s, L",")) {
        const std::wstring_view t = TrimBlanks(token);
        uint32_t b = 0;
        if (t.size() > 2 || !ParseHexNumber(t, b)) {
            Fail(L"\"" + std::wstring(t) + L"\" is not a hex byte");
        }
        out.push_back(static_cast<uint8_t>(b));
    }
    return out;
}

void Parser::ParseValue(std::wstring_view s) {
    if (m_keys.empty()) {
        Fail(L"a value must follow a [key]");
    }
    Value v;
    std::size_t pos = 0;
    if (s.front() == L'@') {
        pos = 1;
    } else {
        v.name = ParseQuoted(s, pos);
    }
    while (pos < s.size() && IsBlank(s[pos])) {
        ++pos;
    }
    if (pos >= s.size() || s[pos] != L'=') {
        Fail(L"the value name must be followed by \"=\"");
    }
    ++pos;
    while (pos < s.size() && IsBlank(s[pos])) {
        ++pos;
    }
    const std::wstring_view data = s.substr(pos);
    uint32_t n = 0;
    if (!data.empty() && data.front() == L'"') {
        std::size_t p = 0;
        const std::wstring textValue = ParseQuoted(data, p);
        if (!TrimBlanks(data.substr(p)).empty()) {
            Fail(L"unexpected text after the closing quote");
        }
        v.type = reg::RegSz;
        std::u16string units = text::ToUtf16(textValue);
        units.push_back(u'\0');
        v.data = ToBytes(units);
    } else if (text::StartsWithNoCase(data, L"dword:")) {
        if (!ParseHexNumber(data.substr(6), n)) {
            Fail(L"a dword needs 1 to 8 hex digits");
        }
        v.type = reg::RegDword;
        v.data = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                  static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
    } else if (text::StartsWithNoCase(data, L"hex:")) {
        v.type = reg::RegBinary;
        v.data = ParseHex(std::wstring(data.substr(4)));
    } else if (text::StartsWithNoCase(data, L"hex(")) {
        const std::size_t close = data.find(L"):");
        if (close == std::wstring_view::npos || !ParseHexNumber(data.substr(4, close - 4), n)) {
            Fail(L"a typed hex value must read hex(type):");
        }
        v.type = n;
        v.data = ParseHex(std::wstring(data.substr(close + 2)));
    } else if (data == L"-") {
        Fail(L"deleting a value is not supported in a saved hive");
    } else {
        Fail(L"the value data must be a quoted text, dword: or hex:");
    }
    m_keys.back().values.push_back(std::move(v));
}

std::wstring Decode(std::string_view bytes, std::wstring_view fileName) {
    const auto fail = [&](const std::wstring& message) {
        return HostError(vberr::InvalidFileFormat, std::wstring(fileName) + L", line 1: " + message,
                         L"Registry", 1);
    };
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
        static_cast<uint8_t>(bytes[1]) == 0xFE) {
        if (bytes.size() % 2 != 0) {
            throw fail(L"the UTF-16 text is cut off (an odd number of bytes)");
        }
        std::u16string units;
        units.reserve(bytes.size() / 2 - 1);
        for (std::size_t i = 2; i < bytes.size(); i += 2) {
            units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                                  (static_cast<uint8_t>(bytes[i + 1]) << 8)));
        }
        return text::FromUtf16(units);
    }
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFE &&
        static_cast<uint8_t>(bytes[1]) == 0xFF) {
        throw fail(L"big-endian UTF-16 is not supported; save the file as UTF-16LE or UTF-8");
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    return text::FromUtf8(bytes);
}

}  // namespace

bool IsRootName(std::wstring_view name) {
    for (const auto& root : kRoots) {
        if (text::EqualsNoCase(root, name)) {
            return true;
        }
    }
    return false;
}

std::string Write(const std::vector<Key>& keys) {
    std::wstring out(Header);
    out += L"\r\n\r\n";
    for (const Key& key : keys) {
        out += L'[' + key.path + L"]\r\n";
        for (const Value& v : key.values) {
            AppendValue(out, v);
        }
        out += L"\r\n";
    }
    std::string bytes = "\xFF\xFE";
    const std::vector<uint8_t> body = ToBytes(text::ToUtf16(out));
    bytes.append(body.begin(), body.end());
    return bytes;
}

std::vector<Key> Read(std::string_view bytes, std::wstring_view fileName) {
    const std::wstring content = Decode(bytes, fileName);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = content.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = content.size();
        }
        std::wstring line = content.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return Parser(fileName, std::move(lines)).Run();
}

}  // namespace plexa::sim::RegFile
