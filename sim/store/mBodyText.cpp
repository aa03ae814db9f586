#include "sim/store/mBodyText.h"

#include <cctype>
#include <cwctype>

#include "core/Text.h"

namespace plexa::sim::mBodyText {

using namespace std::string_view_literals;

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f';
}

// The entity starting at html[pos] ('&'); appends its character and returns the length read,
// or 0 when it is no entity the host knows.
size_t DecodeEntity(std::wstring_view html, size_t pos, std::wstring& out) {
    const size_t semi = html.find(L';', pos);
    if (semi == std::wstring_view::npos || semi - pos > 10) {
        return 0;
    }
    const std::wstring_view name = html.substr(pos + 1, semi - pos - 1);
    if (!name.empty() && name[0] == L'#') {
        unsigned long code = 0;
        const bool hex = name.size() > 1 && (name[1] == L'x' || name[1] == L'X');
        const std::wstring_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return 0;
        }
        for (wchar_t c : digits) {
            int d = -1;
            if (c >= L'0' && c <= L'9') {
                d = c - L'0';
            } else if (hex && c >= L'a' && c <= L'f') {
                d = c - L'a' + 10;
            } else if (hex && c >= L'A' && c <= L'F') {
                d = c - L'A' + 10;
            }
            if (d < 0) {
                return 0;
            }
            code = code * (hex ? 16 : 10) + static_cast<unsigned long>(d);
            if (code > 0x10FFFF) {
                return 0;
            }
        }
        out += static_cast<wchar_t>(code == 0 ? 0xFFFD : code);
        return semi - pos + 1;
    }
    static const struct {
        const wchar_t* name;
        wchar_t ch;
    } kNamed[] = {{L"amp", L'&'},    {L"lt", L'<'},       {L"gt", L'>'},      {L"quot", L'"'},
                  {L"apos", L'\''},  {L"nbsp", 0x00A0},   {L"copy", 0x00A9},  {L"reg", 0x00AE},
                  {L"euro", 0x20AC}, {L"hellip", 0x2026}, {L"ndash", 0x2013}, {L"mdash", 0x2014}};
    for (const auto& entity : kNamed) {
        if (name == entity.name) {
            out += entity.ch;
            return semi - pos + 1;
        }
    }
    return 0;
}

// Short names compared in place (no library call for two or three characters).
bool Is(std::wstring_view tag, std::wstring_view name) {
    if (tag.size() != name.size()) {
        return false;
    }
    for (size_t k = 0; k < tag.size(); ++k) {
        if (tag[k] != name[k]) {
            return false;
        }
    }
    return true;
}

bool IsBreakTag(std::wstring_view tag, bool closing) {
    if (Is(tag, L"br"sv)) {
        return true;
    }
    if (!closing) {
        return false;
    }
    return Is(tag, L"p"sv) || Is(tag, L"div"sv) || Is(tag, L"li"sv) || Is(tag, L"tr"sv) ||
           Is(tag, L"h1"sv) || Is(tag, L"h2"sv) || Is(tag, L"h3"sv) || Is(tag, L"h4"sv) ||
           Is(tag, L"h5"sv) || Is(tag, L"h6"sv);
}

}  // namespace

std::wstring HtmlToText(std::wstring_view html) {
    std::wstring out;
    out.reserve(html.size());
    bool pendingSpace = false;
    bool atLineStart = true;
    std::wstring skipUntil;  // the closing tag that ends ignored content ("head", "style" ...)
    std::wstring tag;        // the current tag's name in lower case
    size_t i = 0;
    while (i < html.size()) {
        const wchar_t c = html[i];
        if (c == L'<') {
            if (i + 3 < html.size() && html[i + 1] == L'!' && html[i + 2] == L'-' &&
                html[i + 3] == L'-') {
                const size_t end = html.find(L"-->", i + 4);
                i = end == std::wstring_view::npos ? html.size() : end + 3;
                continue;
            }
            const size_t end = html.find(L'>', i);
            if (end == std::wstring_view::npos) {
                break;
            }
            std::wstring_view inner = html.substr(i + 1, end - i - 1);
            const bool closing = !inner.empty() && inner[0] == L'/';
            if (closing) {
                inner.remove_prefix(1);
            }
            tag.clear();
            bool ascii = true;
            for (const wchar_t t : inner) {
                if (t >= 0 && t < 0x80 ? std::isalnum(static_cast<int>(t)) == 0
                                       : std::iswalnum(static_cast<wint_t>(t)) == 0) {
                    break;
                }
                ascii = ascii && t >= 0 && t < 0x80;
                tag += t >= L'A' && t <= L'Z' ? static_cast<wchar_t>(t + (L'a' - L'A')) : t;
            }
            if (!ascii) {
                tag = text::ToLower(tag);
            }
            i = end + 1;
            if (!skipUntil.empty()) {
                if (closing && std::wstring_view(tag) == skipUntil) {
                    skipUntil.clear();
                }
                continue;
            }
            if (!closing && (Is(tag, L"head"sv) || Is(tag, L"style"sv) || Is(tag, L"script"sv) ||
                             Is(tag, L"title"sv))) {
                skipUntil = tag;
                continue;
            }
            if (IsBreakTag(tag, closing)) {
                out += L"\r\n";
                pendingSpace = false;
                atLineStart = true;
            }
            continue;
        }
        if (!skipUntil.empty()) {
            // Ignored content: on to the next tag.
            const size_t next = html.find(L'<', i);
            i = next == std::wstring_view::npos ? html.size() : next;
            continue;
        }
        if (IsSpace(c)) {
            pendingSpace = !atLineStart;
            ++i;
            continue;
        }
        if (pendingSpace) {
            out += L' ';
            pendingSpace = false;
        }
        atLineStart = false;
        if (c == L'&') {
            const size_t used = DecodeEntity(html, i, out);
            if (used > 0) {
                i += used;
                continue;
            }
        }
        // A run of ordinary characters goes over at once.
        size_t end = i + 1;
        while (end < html.size() && html[end] != L'<' && html[end] != L'&' && !IsSpace(html[end])) {
            ++end;
        }
        out.append(html.substr(i, end - i));
        i = end;
    }
    return out;
}

std::wstring EscapeText(std::wstring_view text, std::wstring_view lineBreak) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
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
            case L'\r':
                if (i + 1 < text.size() && text[i + 1] == L'\n') {
                    ++i;
                }
                out += lineBreak;
                break;
            case L'\n':
                out += lineBreak;
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

std::wstring TextToHtml(std::wstring_view text) {
    return L"<html><head></head><body>" + EscapeText(text, L"<br>\r\n") + L"</body></html>";
}

}  // namespace plexa::sim::mBodyText
