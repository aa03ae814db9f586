// A command that could not do what it says, or an expectation that did not hold: the dispatcher
// prints it as a failure of the command's line, and the run goes on.
#pragma once

#include <string>

namespace plexa::host {

struct CommandFailed {
    std::wstring what;
};

[[noreturn]] inline void FailCommand(std::wstring what) {
    throw CommandFailed{std::move(what)};
}

}  // namespace plexa::host
