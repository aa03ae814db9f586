#include "sim/windows/SimEditor.h"

#include <algorithm>
#include <cwctype>

#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/mBodyText.h"

namespace plexa::sim {

namespace {

bool IsBreakTag(std::wstring_view tag) {
    return text::StartsWithNoCase(tag, L"<br") &&
           (tag.size() == 3 || tag[3] == L'>' || tag[3] == L' ' || tag[3] == L'/');
}

// The unit that ends at p in HTML: a tag, an entity or one character. Returns its start.
std::size_t UnitBefore(const std::wstring& html, std::size_t p) {
    if (html[p - 1] == L'>') {
        const auto open = html.rfind(L'<', p - 1);
        if (open != std::wstring::npos) {
            return open;
        }
    }
    if (html[p - 1] == L';') {
        const auto amp = html.rfind(L'&', p - 1);
        if (amp != std::wstring::npos && p - amp <= 10 &&
            std::all_of(html.begin() + static_cast<std::ptrdiff_t>(amp) + 1,
                        html.begin() + static_cast<std::ptrdiff_t>(p) - 1,
                        [](wchar_t c) { return iswalnum(c) != 0 || c == L'#'; })) {
            return amp;
        }
    }
    return p - 1;
}

// The unit that starts at p in HTML. Returns its end.
std::size_t UnitAfter(const std::wstring& html, std::size_t p) {
    if (html[p] == L'<') {
        const auto close = html.find(L'>', p);
        if (close != std::wstring::npos) {
            return close + 1;
        }
    }
    if (html[p] == L'&') {
        const auto semi = html.find(L';', p);
        if (semi != std::wstring::npos && semi - p <= 9 &&
            std::all_of(html.begin() + static_cast<std::ptrdiff_t>(p) + 1,
                        html.begin() + static_cast<std::ptrdiff_t>(semi),
                        [](wchar_t c) { return iswalnum(c) != 0 || c == L'#'; })) {
            return semi + 1;
        }
    }
    return p + 1;
}

bool IsFormattingTag(const std::wstring& html, std::size_t from, std::size_t to) {
    return html[from] == L'<' && !IsBreakTag(std::wstring_view(html).substr(from, to - from));
}

std::wstring EscapeHtml(const std::wstring& typed) {
    return mBodyText::EscapeText(typed, L"<br>");
}

}  // namespace

SimEditor::SimEditor(std::shared_ptr<ItemRecord> item) : m_item(std::move(item)) {
    CaretToStart();
}

bool SimEditor::IsHtml() const {
    return m_item->BodyFormat() != olFormatPlain;
}

std::wstring SimEditor::Content() const {
    return IsHtml() ? m_item->HTMLBody() : m_item->Body();
}

void SimEditor::SetContent(const std::wstring& content) {
    if (IsHtml()) {
        // Keep the format the message had (rich text stays rich text).
        const int32_t format = m_item->BodyFormat();
        m_item->SetHTMLBody(content);
        if (format != olFormatHTML) {
            m_item->SetBodyFormat(format);
        }
    } else {
        m_item->SetBody(content);
    }
}

SimEditor::Range SimEditor::BodyRange(const std::wstring& html) {
    Range r{0, html.size()};
    const auto body = text::FindNoCase(html, L"<body");
    if (body != text::npos) {
        const auto close = html.find(L'>', body);
        r.start = close == std::wstring::npos ? html.size() : close + 1;
    }
    const auto end = text::FindNoCase(html, L"</body", r.start);
    if (end != text::npos) {
        r.end = end;
    }
    return r;
}

std::size_t SimEditor::Valid(const std::wstring& content) {
    if (!IsHtml()) {
        m_caret = std::min(m_caret, content.size());
        return m_caret;
    }
    const Range r = BodyRange(content);
    std::size_t caret = std::clamp(m_caret, r.start, r.end);
    // Inside a tag: after it.
    const auto open = content.rfind(L'<', caret == 0 ? 0 : caret - 1);
    const auto close = content.rfind(L'>', caret == 0 ? 0 : caret - 1);
    if (caret > r.start && open != std::wstring::npos &&
        (close == std::wstring::npos || open > close) && open >= r.start) {
        const auto end = content.find(L'>', open);
        caret = end == std::wstring::npos ? r.end : std::min(end + 1, r.end);
    }
    m_caret = caret;
    return caret;
}

std::size_t SimEditor::Caret() {
    return Valid(Content());
}

void SimEditor::SetCaret(std::size_t caret) {
    m_caret = caret;
    Valid(Content());
}

void SimEditor::CaretToStart() {
    const std::wstring content = Content();
    m_caret = IsHtml() ? BodyRange(content).start : 0;
}

void SimEditor::CaretToEnd() {
    const std::wstring content = Content();
    m_caret = IsHtml() ? BodyRange(content).end : content.size();
}

std::wstring SimEditor::TextBeforeCaret() {
    const std::wstring content = Content();
    const std::size_t caret = Valid(content);
    if (!IsHtml()) {
        return content.substr(0, caret);
    }
    return mBodyText::HtmlToText(
        content.substr(BodyRange(content).start, caret - BodyRange(content).start));
}

void SimEditor::Type(const std::wstring& typed) {
    Insert(typed);
}

void SimEditor::Insert(const std::wstring& typed) {
    std::wstring content = Content();
    const std::size_t caret = Valid(content);
    std::wstring piece;
    if (IsHtml()) {
        piece = EscapeHtml(typed);
    } else {
        for (std::size_t i = 0; i < typed.size(); ++i) {
            if (typed[i] == L'\n' && (i == 0 || typed[i - 1] != L'\r')) {
                piece += L"\r\n";
            } else {
                piece += typed[i];
            }
        }
    }
    content.insert(caret, piece);
    SetContent(content);
    m_caret = caret + piece.size();
}

void SimEditor::Backspace() {
    std::wstring content = Content();
    std::size_t caret = Valid(content);
    const std::size_t start = IsHtml() ? BodyRange(content).start : 0;
    if (!IsHtml()) {
        if (caret == 0) {
            return;
        }
        const std::size_t n = caret >= 2 && content.compare(caret - 2, 2, L"\r\n") == 0 ? 2 : 1;
        content.erase(caret - n, n);
        SetContent(content);
        m_caret = caret - n;
        return;
    }
    // Formatting tags are passed over, not removed.
    std::size_t p = caret;
    while (p > start) {
        const std::size_t from = UnitBefore(content, p);
        if (IsFormattingTag(content, from, p)) {
            p = from;
            continue;
        }
        content.erase(from, p - from);
        SetContent(content);
        m_caret = from;
        return;
    }
}

void SimEditor::Delete() {
    std::wstring content = Content();
    const std::size_t caret = Valid(content);
    if (!IsHtml()) {
        if (caret >= content.size()) {
            return;
        }
        const std::size_t n = content.compare(caret, 2, L"\r\n") == 0 ? 2 : 1;
        content.erase(caret, n);
        SetContent(content);
        return;
    }
    const std::size_t end = BodyRange(content).end;
    std::size_t p = caret;
    while (p < end) {
        const std::size_t to = UnitAfter(content, p);
        if (IsFormattingTag(content, p, to)) {
            p = to;
            continue;
        }
        content.erase(p, to - p);
        SetContent(content);
        m_caret = caret;
        return;
    }
}

void SimEditor::Left() {
    const std::wstring content = Content();
    std::size_t p = Valid(content);
    if (!IsHtml()) {
        if (p > 0) {
            m_caret = p >= 2 && content.compare(p - 2, 2, L"\r\n") == 0 ? p - 2 : p - 1;
        }
        return;
    }
    const std::size_t start = BodyRange(content).start;
    while (p > start) {
        const std::size_t from = UnitBefore(content, p);
        const bool formatting = IsFormattingTag(content, from, p);
        p = from;
        if (!formatting) {
            break;
        }
    }
    m_caret = p;
}

void SimEditor::Right() {
    const std::wstring content = Content();
    std::size_t p = Valid(content);
    if (!IsHtml()) {
        if (p < content.size()) {
            m_caret = content.compare(p, 2, L"\r\n") == 0 ? p + 2 : p + 1;
        }
        return;
    }
    const std::size_t end = BodyRange(content).end;
    while (p < end) {
        const std::size_t to = UnitAfter(content, p);
        const bool formatting = IsFormattingTag(content, p, to);
        p = to;
        if (!formatting) {
            break;
        }
    }
    m_caret = p;
}

void SimEditor::LineStart() {
    const std::wstring content = Content();
    const std::size_t caret = Valid(content);
    if (!IsHtml()) {
        const auto nl = caret == 0 ? std::wstring::npos : content.rfind(L'\n', caret - 1);
        m_caret = nl == std::wstring::npos ? 0 : nl + 1;
        return;
    }
    const std::size_t start = BodyRange(content).start;
    const auto br = text::ToLower(content.substr(start, caret - start)).rfind(L"<br");
    m_caret = br == std::wstring::npos ? start : content.find(L'>', start + br) + 1;
}

void SimEditor::LineEnd() {
    const std::wstring content = Content();
    const std::size_t caret = Valid(content);
    if (!IsHtml()) {
        const auto cr = content.find(L"\r\n", caret);
        m_caret = cr == std::wstring::npos ? content.size() : cr;
        return;
    }
    const std::size_t end = BodyRange(content).end;
    const auto br = text::FindNoCase(content, L"<br", caret);
    m_caret = br == text::npos || br > end ? end : br;
}

bool SimEditor::Press(const KeyStroke& key) {
    if (key.ch != 0) {
        if (key.ctrl || key.alt) {
            return false;
        }
        Insert(std::wstring(1, key.shift ? towupper(key.ch) : key.ch));
        return true;
    }
    if (key.alt) {
        return false;
    }
    if (key.key == L"HOME" || key.key == L"END") {
        if (key.ctrl) {
            key.key == L"HOME" ? CaretToStart() : CaretToEnd();
        } else {
            key.key == L"HOME" ? LineStart() : LineEnd();
        }
        return true;
    }
    if (key.ctrl) {
        return false;
    }
    if (key.key == L"ENTER") {
        Insert(L"\r\n");
    } else if (key.key == L"TAB") {
        Insert(L"\t");
    } else if (key.key == L"BACKSPACE") {
        Backspace();
    } else if (key.key == L"DELETE") {
        Delete();
    } else if (key.key == L"LEFT") {
        Left();
    } else if (key.key == L"RIGHT") {
        Right();
    } else {
        return false;
    }
    return true;
}

}  // namespace plexa::sim
