// The three ways plexa-host runs (docs/scenario-language.md): a scenario file, the built-in
// tour, and the shell. Each returns the exit status: 0 when every expectation held, 1 when a
// command or expectation failed, 2 for a usage error, a malformed scenario or mailbox, or a
// state folder that cannot be used.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace plexa::host {

struct HostOptions {
    std::optional<std::filesystem::path> mailbox;
    std::optional<std::filesystem::path> state;
    std::filesystem::path out = "plexa-out";
    bool quiet = false;
};

int RunFile(const std::filesystem::path& file, const HostOptions& options, std::ostream& out,
            std::ostream& err);
int RunDemo(const HostOptions& options, std::ostream& out, std::ostream& err);
// Reads commands line by line; a malformed line is reported and skipped. prompt is printed
// before each line when given (an interactive terminal).
int RunShell(const HostOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
             bool prompt);

// The tour's scenario text.
const char* DemoScenario();

}  // namespace plexa::host
