// Splits one line of a scenario into tokens. A token is a run of characters without white
// space; parts of it may be double-quoted texts, in which white space and '#' are kept, '""'
// stands for one quote character, "\n" for a line break and "\\" for one backslash (any other
// backslash is kept as it is). Outside quotes, '#' starts a comment that runs to the line's end.
// Adjacent parts join, so that a control's value may be quoted: name="Book club".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plexa::host {

struct Token {
    std::wstring text;
    // Some part of the token was quoted: a quoted "select" is a text, never a keyword.
    bool quoted = false;
    // The position in text of the first '=' written outside quotes; npos when there is none.
    std::size_t equalsAt = std::wstring::npos;
    // The position in text where the first quoted part begins; npos when nothing was quoted.
    std::size_t quoteStart = std::wstring::npos;
    // 1-based column of the token's first character.
    int column = 0;

    // The token is this keyword: unquoted and equal without letter case.
    bool Is(std::wstring_view keyword) const;
};

struct LexResult {
    std::vector<Token> tokens;
    // What is wrong with the line (an unterminated quoted text); empty when nothing is.
    std::wstring error;
};

LexResult LexLine(std::wstring_view line);

}  // namespace plexa::host
