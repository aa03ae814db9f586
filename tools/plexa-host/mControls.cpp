#include "mControls.h"

#include <cwctype>

#include "core/Text.h"
#include "host/office/CommandBars.h"
#include "sim/office/SimCommandBarControl.h"

namespace plexa::host::mControls {

namespace {

bool Matches(const sim::SimCommandBarControl& c, const std::wstring& step) {
    if (step.starts_with(L"#")) {
        return std::to_wstring(c.BuiltInId()) == step.substr(1);
    }
    if (step.starts_with(L"tag=")) {
        return c.TagText() == step.substr(4);
    }
    return text::EqualsNoCase(PlainCaption(c.CaptionText()), PlainCaption(step));
}

std::wstring Name(const sim::SimCommandBarControl& c) {
    return std::wstring(c.ControlType() == msoControlPopup ? L"popup" : L"button") + L" \"" +
           c.CaptionText() + L"\"";
}

// Depth first through a bar and its menus, for the first control matching a step; the state
// gathers what lies on the way.
bool FindFirst(const sim::SimCommandBar& bar, const std::wstring& step, ControlState& state,
               std::shared_ptr<sim::SimCommandBarControl>& found) {
    for (const auto& c : bar.Items()) {
        if (c->IsDeleted()) {
            continue;
        }
        if (Matches(*c, step)) {
            found = c;
            state.what += Name(*c);
            return true;
        }
        if (c->PopupBar()) {
            ControlState inner = state;
            inner.visible = state.visible && c->IsVisible();
            inner.enabled = state.enabled && c->IsEnabled();
            inner.what += Name(*c) + L" / ";
            if (FindFirst(*c->PopupBar(), step, inner, found)) {
                state = inner;
                return true;
            }
        }
    }
    return false;
}

std::vector<std::wstring> Steps(const std::wstring& path) {
    std::vector<std::wstring> steps;
    for (const std::wstring& part : text::Split(path, L"/")) {
        std::wstring step = text::Trim(part);
        if (!step.empty()) {
            steps.push_back(std::move(step));
        }
    }
    return steps;
}

// The words of a ribbon state line outside its quoted texts.
std::vector<std::wstring> BareWords(const std::wstring& line, std::wstring& firstQuoted) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    bool sawQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const wchar_t ch = line[i];
        if (ch == L'"' && !quoted) {
            quoted = true;
            continue;
        }
        if (ch == L'"' && quoted && (i + 1 == line.size() || line[i + 1] == L' ')) {
            quoted = false;
            if (!sawQuoted) {
                firstQuoted = word;
                sawQuoted = true;
            }
            word.clear();
            continue;
        }
        if (quoted) {
            if (!sawQuoted) {
                word += ch;
            }
            continue;
        }
        if (ch == L' ') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += ch;
        }
    }
    if (!word.empty() && !quoted) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

std::wstring PlainCaption(const std::wstring& caption) {
    std::wstring plain;
    for (wchar_t c : caption) {
        if (c != L'&') {
            plain += c;
        }
    }
    while (plain.ends_with(L"...")) {
        plain.resize(plain.size() - 3);
    }
    return text::Trim(plain);
}

ControlState FindInBars(const std::vector<std::shared_ptr<sim::SimCommandBar>>& bars,
                        const std::wstring& path, bool contextMenu) {
    const std::vector<std::wstring> steps = Steps(path);
    if (steps.empty()) {
        return {};
    }
    for (const auto& bar : bars) {
        if (bar->IsDeleted()) {
            continue;
        }
        ControlState state;
        state.visible = contextMenu || bar->IsVisible();
        state.enabled = true;
        state.what = L"bar \"" + bar->NameText() + L"\" / ";
        std::shared_ptr<sim::SimCommandBarControl> current;
        if (!FindFirst(*bar, steps[0], state, current)) {
            continue;
        }
        for (std::size_t i = 1; i < steps.size() && current; ++i) {
            state.visible = state.visible && current->IsVisible();
            state.enabled = state.enabled && current->IsEnabled();
            const auto menu = current->PopupBar();
            current = nullptr;
            if (!menu) {
                break;
            }
            for (const auto& c : menu->Items()) {
                if (!c->IsDeleted() && Matches(*c, steps[i])) {
                    current = c;
                    state.what += L" / " + Name(*c);
                    break;
                }
            }
        }
        if (!current) {
            return {};
        }
        state.found = true;
        state.visible = state.visible && current->IsVisible();
        state.enabled = state.enabled && current->IsEnabled();
        state.pressed = current->StateValue() == msoButtonDown;
        return state;
    }
    return {};
}

ControlState FindInRibbonText(const std::wstring& stateText, const std::wstring& control) {
    // Whether each open level (tab, group, menu ...) is visible and enabled.
    std::vector<std::pair<bool, bool>> levels;
    for (std::wstring line : text::Split(stateText, L"\n")) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        std::size_t indent = 0;
        while (indent < line.size() && line[indent] == L' ') {
            ++indent;
        }
        std::wstring label;
        const std::vector<std::wstring> words = BareWords(line.substr(indent), label);
        if (words.size() < 2) {
            continue;
        }
        const std::size_t depth = indent / 2;
        levels.resize(depth);
        bool hidden = false;
        bool disabled = false;
        bool pressed = false;
        for (std::size_t i = 2; i < words.size(); ++i) {
            if (words[i] == L"tip" || words[i] == L"image") {
                break;
            }
            hidden = hidden || words[i] == L"hidden";
            disabled = disabled || words[i] == L"disabled";
            pressed = pressed || words[i] == L"pressed";
        }
        bool outerVisible = true;
        bool outerEnabled = true;
        for (const auto& [v, e] : levels) {
            outerVisible = outerVisible && v;
            outerEnabled = outerEnabled && e;
        }
        levels.emplace_back(!hidden, !disabled);
        if (words[1] == control || (!label.empty() && text::EqualsNoCase(label, control))) {
            ControlState state;
            state.found = true;
            state.visible = outerVisible && !hidden;
            state.enabled = outerEnabled && !disabled;
            state.pressed = pressed;
            state.what = L"ribbon " + words[0] + L" " + words[1];
            return state;
        }
    }
    return {};
}

std::vector<std::wstring> PiecesAroundPlaceholders(const std::wstring& source) {
    std::vector<std::wstring> pieces;
    std::wstring piece;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] != L'%' || i + 1 == source.size()) {
            piece += source[i];
            continue;
        }
        if (source[i + 1] == L'%') {
            piece += L'%';
            ++i;
            continue;
        }
        // %[flags][width][.precision][length]conversion
        std::size_t j = i + 1;
        while (j < source.size() &&
               std::wstring_view(L"-+ 0#").find(source[j]) != std::wstring_view::npos) {
            ++j;
        }
        while (j < source.size() && std::iswdigit(source[j])) {
            ++j;
        }
        if (j < source.size() && source[j] == L'.') {
            ++j;
            while (j < source.size() && std::iswdigit(source[j])) {
                ++j;
            }
        }
        while (j < source.size() && (source[j] == L'l' || source[j] == L'h')) {
            ++j;
        }
        if (j < source.size() &&
            std::wstring_view(L"sdiuxXfgeEc").find(source[j]) != std::wstring_view::npos) {
            if (!piece.empty()) {
                pieces.push_back(piece);
            }
            piece.clear();
            i = j;
            continue;
        }
        piece += source[i];  // a lone percent sign
    }
    if (!piece.empty()) {
        pieces.push_back(piece);
    }
    return pieces;
}

bool ContainsInOrder(const std::wstring& haystack, const std::vector<std::wstring>& pieces) {
    std::size_t at = 0;
    for (const std::wstring& piece : pieces) {
        const std::size_t found = text::FindNoCase(haystack, piece, at);
        if (found == text::npos) {
            return false;
        }
        at = found + piece.size();
    }
    return true;
}

}  // namespace plexa::host::mControls
