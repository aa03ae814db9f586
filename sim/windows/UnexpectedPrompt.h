// Thrown when the add-in shows a message box or a dialog that the scripted user has no answer
// for (or an answer that does not fit it). It is no HostError, so the add-in's error handling
// never swallows it: it ends the test, or the command-line host's scenario, with the prompt's
// text.
#pragma once

#include <stdexcept>
#include <string>

#include "core/Text.h"

namespace plexa::sim {

class UnexpectedPrompt : public std::runtime_error {
public:
    // kind: "message box" or "dialog"; reason: why the script did not answer it.
    UnexpectedPrompt(std::wstring kind, std::wstring title, std::wstring prompt,
                     std::wstring reason)
        : std::runtime_error(text::ToUtf8(Describe(kind, title, prompt, reason))),
          m_kind(std::move(kind)),
          m_title(std::move(title)),
          m_prompt(std::move(prompt)),
          m_reason(std::move(reason)) {}

    const std::wstring& Kind() const { return m_kind; }
    const std::wstring& Title() const { return m_title; }
    // The message box's text, or the dialog's form name.
    const std::wstring& Prompt() const { return m_prompt; }
    const std::wstring& Reason() const { return m_reason; }

private:
    static std::wstring Describe(const std::wstring& kind, const std::wstring& title,
                                 const std::wstring& prompt, const std::wstring& reason) {
        return L"unexpected " + kind + L" \"" + title + L"\": " + prompt + L" (" + reason + L")";
    }

    std::wstring m_kind;
    std::wstring m_title;
    std::wstring m_prompt;
    std::wstring m_reason;
};

}  // namespace plexa::sim
