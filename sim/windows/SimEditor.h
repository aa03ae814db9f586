// The body editor of a message window: the item's body and a caret in it. Typing edits the item
// at once (the item's Body and HTMLBody read what the window shows). A plain-text message is
// edited as text, the caret counting characters; any other message is edited as HTML: the caret
// is an offset into the HTML that always lies inside <body> and never inside a tag, typed text
// is escaped there and a line break becomes <br>. The caret starts at the top of the body.
#pragma once

#include <memory>
#include <string>

#include "sim/store/ItemRecord.h"
#include "sim/windows/mSendKeys.h"

namespace plexa::sim {

class SimEditor {
public:
    explicit SimEditor(std::shared_ptr<ItemRecord> item);

    // Types characters literally at the caret (a line break: "\r\n" or "\n").
    void Type(const std::wstring& typed);
    // Applies one keystroke: characters type (upper case with Shift), ENTER breaks the line,
    // TAB types a tab, BACKSPACE and DELETE remove, LEFT, RIGHT, HOME, END move the caret
    // (with Ctrl, HOME and END go to the start and end of the body). Returns false for a
    // keystroke the editor does nothing with (a Ctrl or Alt shortcut, a function key).
    bool Press(const KeyStroke& key);

    bool IsHtml() const;
    // The caret: a character index in the plain body, or an offset in the HTML body.
    std::size_t Caret();
    void SetCaret(std::size_t caret);
    // The caret to the top or the end of the body.
    void CaretToStart();
    void CaretToEnd();
    // The plain text before and after the caret, as the user sees it.
    std::wstring TextBeforeCaret();

private:
    struct Range {
        std::size_t start;
        std::size_t end;
    };
    static Range BodyRange(const std::wstring& html);
    // The caret put back inside the body and outside any tag.
    std::size_t Valid(const std::wstring& content);
    void Insert(const std::wstring& typed);
    void Backspace();
    void Delete();
    void Left();
    void Right();
    void LineStart();
    void LineEnd();
    std::wstring Content() const;
    void SetContent(const std::wstring& content);

    std::shared_ptr<ItemRecord> m_item;
    std::size_t m_caret = 0;
};

}  // namespace plexa::sim
