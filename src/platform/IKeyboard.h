// Keystrokes, as the host runtime's SendKeys statement sends them to the focused window.
//
// The key text: a character types itself; "+", "^" and "%" hold Shift, Ctrl or Alt down for the
// next key or for a group in parentheses ("+(ab)"); "~" is Enter. Braces make the special
// characters literal ("{+}", "{^}", "{%}", "{~}", "{(}", "{)}", "{[}", "{]}", "{{}", "{}}") and
// name keys ({ENTER}, {TAB}, {BACKSPACE} or {BS} or {BKSP}, {DELETE} or {DEL}, {LEFT}, {RIGHT},
// {UP}, {DOWN}, {HOME}, {END}, {ESC}, {INSERT}, {F1} .. {F16}); "{key n}" repeats a key n times.
// A bare "[" or "]" types itself.
#pragma once

#include <string>

namespace plexa {

class IKeyboard {
public:
    virtual ~IKeyboard() = default;
    // SendKeys: types the keys into the focused window; with wait, returns once they are
    // processed. Throws HostError 5 (Invalid procedure call) for a malformed key text, before
    // any key is sent.
    virtual void SendKeys(const std::wstring& keys, bool wait) = 0;
};

}  // namespace plexa
