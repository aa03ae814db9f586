// The simulated user's answers, in the order the prompts are expected: a button for a message
// box (optionally checking that the box's text contains something), or, for a dialog named by its
// form name, control values to enter and a button to press. The UI shell takes the next answer
// for every prompt it shows; a prompt with no fitting answer throws UnexpectedPrompt.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace plexa {
class Form;
}

namespace plexa::sim {

// The button name of a dialog step that closes the dialog with its close box.
inline constexpr const wchar_t* kCloseBox = L"(close)";

struct ScriptedAnswer {
    enum class Kind { MessageBox, Dialog };
    Kind kind = Kind::MessageBox;
    // Message box: the button (mb::IdYes ...) and a text the prompt must contain ("" any).
    int32_t button = 0;
    std::wstring expectContains;
    // Dialog: the form name, the values to enter ("name" or "name(index)", value) in order, and
    // the button to press ("" presses none; kCloseBox uses the close box).
    std::wstring formName;
    std::vector<std::pair<std::wstring, std::wstring>> values;
    std::wstring press;
    // Dialog: told of the dialog as the user sees it once the values are entered, before the
    // button is pressed (plexa-host prints it); may be empty.
    std::function<void(const Form&)> look;

    // "message box: Yes" / "dialog frmOptions: press btnOK".
    std::wstring Describe() const;
};

class ScriptedUser {
public:
    // Queues an answer to the next message box.
    void AnswerMsgBox(int32_t button, std::wstring expectContains = L"");
    // Queues a step in a dialog: enter the values, then press the button.
    void AnswerDialog(std::wstring formName,
                      std::vector<std::pair<std::wstring, std::wstring>> values, std::wstring press,
                      std::function<void(const Form&)> look = {});

    bool Empty() const { return m_answers.empty(); }
    std::size_t Remaining() const { return m_answers.size(); }
    // The answers not used yet, described.
    std::vector<std::wstring> Unused() const;
    void Clear() { m_answers.clear(); }

    // For the shell: the next answer, if any, and taking it.
    const ScriptedAnswer* Peek() const { return m_answers.empty() ? nullptr : &m_answers.front(); }
    ScriptedAnswer Take();

private:
    std::deque<ScriptedAnswer> m_answers;
};

// The name of an mb::Id button ("Yes") and back (letter case ignored); 0 for an unknown name.
std::wstring ButtonName(int32_t button);
int32_t ButtonFromName(const std::wstring& name);

}  // namespace plexa::sim
