#include "ScenarioLexer.h"

#include "core/Text.h"

namespace plexa::host {

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f';
}

}  // namespace

bool Token::Is(std::wstring_view keyword) const {
    return !quoted && text::EqualsNoCase(text, keyword);
}

LexResult LexLine(std::wstring_view line) {
    LexResult result;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsSpace(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == L'#') {
            break;
        }
        Token token;
        token.column = static_cast<int>(i) + 1;
        while (i < line.size() && !IsSpace(line[i]) && line[i] != L'#') {
            if (line[i] != L'"') {
                if (line[i] == L'=' && token.equalsAt == std::wstring::npos) {
                    token.equalsAt = token.text.size();
                }
                token.text += line[i++];
                continue;
            }
            const std::size_t opened = i++;
            if (!token.quoted) {
                token.quoteStart = token.text.size();
            }
            token.quoted = true;
            bool closed = false;
            while (i < line.size()) {
                const wchar_t c = line[i];
                if (c == L'"') {
                    if (i + 1 < line.size() && line[i + 1] == L'"') {
                        token.text += L'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (c == L'\\' && i + 1 < line.size() &&
                    (line[i + 1] == L'n' || line[i + 1] == L'\\')) {
                    token.text += line[i + 1] == L'n' ? L'\n' : L'\\';
                    i += 2;
                    continue;
                }
                token.text += c;
                ++i;
            }
            if (!closed) {
                result.error = L"the quoted text that starts in column " +
                               std::to_wstring(opened + 1) + L" has no closing quote";
                result.tokens.clear();
                return result;
            }
        }
        result.tokens.push_back(std::move(token));
    }
    return result;
}

}  // namespace plexa::host
