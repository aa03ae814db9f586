#include "sim/windows/mSendKeys.h"

#include <algorithm>
#include <cwctype>

#include "core/HostError.h"
#include "core/Text.h"

namespace plexa::sim {

namespace {

constexpr const wchar_t* kSpecial = L"+^%~(){}[]";

const wchar_t* const kKeyNames[] = {
    L"ENTER", L"TAB",      L"BACKSPACE", L"DELETE", L"LEFT",    L"RIGHT",     L"UP",
    L"DOWN",  L"HOME",     L"END",       L"ESC",    L"INSERT",  L"PGUP",      L"PGDN",
    L"BREAK", L"CAPSLOCK", L"HELP",      L"PRTSC",  L"NUMLOCK", L"SCROLLLOCK"};

struct Alias {
    const wchar_t* alias;
    const wchar_t* key;
};
constexpr Alias kAliases[] = {{L"BS", L"BACKSPACE"},
                              {L"BKSP", L"BACKSPACE"},
                              {L"DEL", L"DELETE"},
                              {L"ESCAPE", L"ESC"},
                              {L"INS", L"INSERT"}};

HostError Malformed() {
    return RuntimeError(vberr::InvalidProcedureCall);
}

// The canonical name of a key, or "" when it is none.
std::wstring KeyName(const std::wstring& name) {
    std::wstring upper = text::ToUpper(name);
    for (const wchar_t* k : kKeyNames) {
        if (upper == k) {
            return upper;
        }
    }
    for (const Alias& a : kAliases) {
        if (upper == a.alias) {
            return a.key;
        }
    }
    if (upper.size() >= 2 && upper[0] == L'F' &&
        std::all_of(upper.begin() + 1, upper.end(), [](wchar_t c) { return iswdigit(c) != 0; })) {
        const int n = std::stoi(upper.substr(1));
        if (n >= 1 && n <= 16) {
            return L"F" + std::to_wstring(n);
        }
    }
    return L"";
}

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool Any() const { return shift || ctrl || alt; }
};

KeyStroke Stroke(wchar_t ch, std::wstring key, const Modifiers& held, const Modifiers& once) {
    KeyStroke k;
    k.ch = ch;
    k.key = std::move(key);
    k.shift = held.shift || once.shift;
    k.ctrl = held.ctrl || once.ctrl;
    k.alt = held.alt || once.alt;
    return k;
}

}  // namespace

std::wstring KeyStroke::Describe() const {
    std::wstring s;
    if (shift) {
        s += L"+";
    }
    if (ctrl) {
        s += L"^";
    }
    if (alt) {
        s += L"%";
    }
    if (ch != 0) {
        s += std::wcschr(kSpecial, ch) != nullptr ? std::wstring(L"{") + ch + L"}"
                                                  : std::wstring(1, ch);
    } else {
        s += L"{" + key + L"}";
    }
    return s;
}

namespace mSendKeys {

std::vector<KeyStroke> Parse(const std::wstring& keys) {
    std::vector<KeyStroke> strokes;
    Modifiers held;  // inside a group
    Modifiers once;  // for the next key or group
    bool inGroup = false;
    auto emit = [&](wchar_t ch, const std::wstring& key, int count) {
        for (int n = 0; n < count; ++n) {
            strokes.push_back(Stroke(ch, key, held, once));
        }
        once = Modifiers{};
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const wchar_t c = keys[i];
        switch (c) {
            case L'+':
            case L'^':
            case L'%':
                (c == L'+' ? once.shift : c == L'^' ? once.ctrl : once.alt) = true;
                break;
            case L'~':
                emit(0, L"ENTER", 1);
                break;
            case L'(':
                if (!once.Any() || inGroup) {
                    throw Malformed();
                }
                held = once;
                once = Modifiers{};
                inGroup = true;
                break;
            case L')':
                if (!inGroup || once.Any()) {
                    throw Malformed();
                }
                held = Modifiers{};
                inGroup = false;
                break;
            case L'}':
                throw Malformed();
            case L'{': {
                // "{}}" and "{{}" name the braces themselves; otherwise the name ends at "}".
                std::size_t close = keys.find(L'}', i + 2);
                if (i + 2 < keys.size() && keys[i + 1] == L'}' && keys[i + 2] == L'}') {
                    close = i + 2;
                } else if (i + 1 < keys.size() && keys[i + 1] != L'}') {
                    close = keys.find(L'}', i + 1);
                } else {
                    close = std::wstring::npos;
                }
                if (close == std::wstring::npos || close == i + 1) {
                    throw Malformed();
                }
                std::wstring inside = keys.substr(i + 1, close - i - 1);
                int count = 1;
                const auto space = inside.rfind(L' ');
                if (space != std::wstring::npos && space > 0) {
                    const std::wstring number = inside.substr(space + 1);
                    if (number.empty() || number.size() > 4 ||
                        !std::all_of(number.begin(), number.end(),
                                     [](wchar_t d) { return iswdigit(d) != 0; })) {
                        throw Malformed();
                    }
                    count = std::stoi(number);
                    inside = inside.substr(0, space);
                }
                if (inside.size() == 1) {
                    emit(inside[0], L"", count);
                } else {
                    const std::wstring name = KeyName(inside);
                    if (name.empty()) {
                        throw Malformed();
                    }
                    emit(0, name, count);
                }
                i = close;
                break;
            }
            default:
                emit(c, L"", 1);
                break;
        }
    }
    if (inGroup || once.Any()) {
        throw Malformed();
    }
    return strokes;
}

std::wstring Escape(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (std::wcschr(kSpecial, c) != nullptr) {
            out += L'{';
            out += c;
            out += L'}';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace mSendKeys

}  // namespace plexa::sim
