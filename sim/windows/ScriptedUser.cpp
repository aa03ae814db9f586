#include "sim/windows/ScriptedUser.h"

#include <stdexcept>

#include "core/Text.h"
#include "platform/IUiShell.h"

namespace plexa::sim {

namespace {
constexpr struct {
    int32_t id;
    const wchar_t* name;
} kButtons[] = {{mb::IdOk, L"OK"},       {mb::IdCancel, L"Cancel"}, {mb::IdAbort, L"Abort"},
                {mb::IdRetry, L"Retry"}, {mb::IdIgnore, L"Ignore"}, {mb::IdYes, L"Yes"},
                {mb::IdNo, L"No"}};
}  // namespace

std::wstring ButtonName(int32_t button) {
    for (const auto& b : kButtons) {
        if (b.id == button) {
            return b.name;
        }
    }
    return L"button " + std::to_wstring(button);
}

int32_t ButtonFromName(const std::wstring& name) {
    for (const auto& b : kButtons) {
        if (text::EqualsNoCase(name, b.name)) {
            return b.id;
        }
    }
    return 0;
}

std::wstring ScriptedAnswer::Describe() const {
    if (kind == Kind::MessageBox) {
        std::wstring s = L"message box: " + ButtonName(button);
        if (!expectContains.empty()) {
            s += L" (text containing \"" + expectContains + L"\")";
        }
        return s;
    }
    std::wstring s = L"dialog " + formName + L":";
    for (const auto& [name, value] : values) {
        s += L" " + name + L"=\"" + value + L"\"";
    }
    if (!press.empty()) {
        s += L" press " + press;
    }
    return s;
}

void ScriptedUser::AnswerMsgBox(int32_t button, std::wstring expectContains) {
    if (ButtonName(button).starts_with(L"button ")) {
        throw std::invalid_argument("not a message-box button: " + std::to_string(button));
    }
    ScriptedAnswer a;
    a.kind = ScriptedAnswer::Kind::MessageBox;
    a.button = button;
    a.expectContains = std::move(expectContains);
    m_answers.push_back(std::move(a));
}

void ScriptedUser::AnswerDialog(std::wstring formName,
                                std::vector<std::pair<std::wstring, std::wstring>> values,
                                std::wstring press, std::function<void(const Form&)> look) {
    if (formName.empty()) {
        throw std::invalid_argument("a dialog answer needs the dialog's form name");
    }
    ScriptedAnswer a;
    a.kind = ScriptedAnswer::Kind::Dialog;
    a.formName = std::move(formName);
    a.values = std::move(values);
    a.press = std::move(press);
    a.look = std::move(look);
    m_answers.push_back(std::move(a));
}

std::vector<std::wstring> ScriptedUser::Unused() const {
    std::vector<std::wstring> result;
    for (const auto& a : m_answers) {
        result.push_back(a.Describe());
    }
    return result;
}

ScriptedAnswer ScriptedUser::Take() {
    ScriptedAnswer a = std::move(m_answers.front());
    m_answers.pop_front();
    return a;
}

}  // namespace plexa::sim
