// Reading a SendKeys key text (the syntax is described in src/platform/IKeyboard.h) into the
// keystrokes it stands for.
#pragma once

#include <string>
#include <vector>

namespace plexa::sim {

struct KeyStroke {
    // The character typed, or 0 for a named key.
    wchar_t ch = 0;
    // The named key in upper case ("ENTER", "BACKSPACE", "LEFT", "F1" ...); empty for a
    // character. "~" is ENTER.
    std::wstring key;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    // "a", "+a", "^{HOME}", "{ENTER}".
    std::wstring Describe() const;
};

namespace mSendKeys {

// The keystrokes of a key text. Throws HostError 5 (Invalid procedure call) for a malformed text:
// an unclosed or empty brace, an unknown key name, a bad repeat count, a parenthesis that does
// not follow a modifier or is not closed, a stray "}" or ")", or a modifier with no key.
std::vector<KeyStroke> Parse(const std::wstring& keys);

// The key text that types a text literally: every one of "+^%~(){}[]" in braces.
std::wstring Escape(const std::wstring& text);

}  // namespace mSendKeys

}  // namespace plexa::sim
