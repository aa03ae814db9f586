// Thrown when a scenario asks the simulated user for something no user could do: clicking a
// control that is not there, is hidden or disabled, typing into a window that is closed.
#pragma once

#include <stdexcept>
#include <string>

#include "core/Text.h"

namespace plexa::sim {

class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::wstring& message)
        : std::runtime_error(text::ToUtf8(message)), m_message(message) {}
    const std::wstring& Message() const { return m_message; }

private:
    std::wstring m_message;
};

}  // namespace plexa::sim
