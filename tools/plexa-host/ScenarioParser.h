// Reads the scenario language: one line into a Command, a whole file into a Scenario whose
// commands come in an order the client can follow. Every problem is a ScenarioError naming the
// file, the line and what is wrong; nothing of a malformed scenario is run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ScenarioCommand.h"
#include "ScenarioError.h"

namespace plexa::host {

struct Scenario {
    std::wstring file;
    std::vector<Command> commands;
};

// One line; nothing for a blank line or a comment. Throws ScenarioError.
std::optional<Command> ParseLine(std::wstring_view line, int lineNumber, const std::wstring& file);

// A whole scenario in UTF-8 (a leading byte-order mark is skipped; CRLF line ends are fine).
// Throws ScenarioError for the first malformed line, or for a command the client could not
// follow at that point (setting up while it runs, acting while it is stopped).
Scenario ParseScenario(std::string_view utf8, const std::wstring& file);

// "30s", "15m", "2h", "1d", or several joined ("1h30m"), in seconds; nothing when malformed.
std::optional<int64_t> ParseDuration(std::wstring_view written);

// Follows the client through a sequence of commands: running or not, started before or not.
// The parser checks a whole file with it; the shell checks each line as it is typed.
class ClientOrder {
public:
    // What is wrong with running the command now; nothing when it may run. Then Apply it.
    std::optional<std::wstring> Check(const Command& command) const;
    void Apply(const Command& command);
    bool Running() const { return m_running; }

private:
    bool m_running = false;
    bool m_started = false;
};

}  // namespace plexa::host
