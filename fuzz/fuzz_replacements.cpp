// Feeds arbitrary bodies, tokens and values to the placeholder replacement: the plain and HTML
// passes and the split-placeholder scan must never crash or hang, every value must stand where
// the passes say they put it, and the output must hold no token that a value did not bring in
// (an occurrence counts as brought in when it overlaps a value, or spans the place where an
// empty value went).
//
// Input: token, value and body separated by the byte 0x01 (UTF-8; malformed bytes become
// U+FFFD). A missing part is empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Text.h"
#include "separate/mReplacements.h"

namespace {

using plexa::mReplacements::Span;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Every occurrence of the token in the output overlaps a span or holds an empty span inside.
void CheckNoStrayToken(const std::wstring& out, const std::wstring& token,
                       const std::wstring& value, const std::vector<Span>& spans) {
    for (const Span& span : spans) {
        Check(span.start <= span.end && span.end <= out.size());
        Check(std::wstring_view(out).substr(span.start, span.end - span.start) == value);
    }
    for (std::size_t p = plexa::text::FindNoCase(out, token); p != plexa::text::npos;
         p = plexa::text::FindNoCase(out, token, p + 1)) {
        const std::size_t end = p + token.size();
        bool broughtIn = false;
        for (const Span& span : spans) {
            if (span.start == span.end ? (span.start > p && span.start < end)
                                       : (span.start < end && span.end > p)) {
                broughtIn = true;
                break;
            }
        }
        Check(broughtIn);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (int i = 0; i < 2; ++i) {
        const std::size_t cut = input.find('\x01', start);
        if (cut == std::string_view::npos) {
            break;
        }
        parts.push_back(plexa::text::FromUtf8(input.substr(start, cut - start)));
        start = cut + 1;
    }
    parts.push_back(plexa::text::FromUtf8(input.substr(start)));
    parts.resize(3);
    const std::wstring& token = parts[0];
    const std::wstring& value = parts[1];
    const std::wstring& body = parts[2];
    if (token.empty()) {
        return 0;
    }

    std::vector<Span> spans;
    const std::wstring plain = plexa::mReplacements::ReplaceToken(body, token, value, &spans);
    CheckNoStrayToken(plain, token, value, spans);

    const std::wstring escaped = plexa::mReplacements::EscapeHtml(value);
    const std::wstring html =
        plexa::mReplacements::ReplaceTokenInHtml(body, token, escaped, &spans);
    CheckNoStrayToken(html, token, escaped, spans);

    std::wstring scanned = body;
    plexa::mReplacements::DoReplacementsInHtml(scanned, token, escaped);
    // The scan only shortens the body around the values it inserts.
    Check(scanned.size() <= body.size() + (body.size() / 2 + 1) * escaped.size());
    return 0;
}
