// Runs the commands of a scenario against the simulated client. A command that cannot do what
// it says, and an expectation that does not hold, is a failure in the transcript (with the
// scenario's file and line) and the run goes on; a mailbox that does not load ends the run with
// a ScenarioError. After every command, the messages that left are written to the out folder.
#pragma once

#include <filesystem>
#include <string>

#include "EmlWriter.h"
#include "HostWindows.h"
#include "HostWorld.h"
#include "ScenarioCommand.h"
#include "Transcript.h"

namespace plexa::host {

class CommandDispatcher {
public:
    // Mailbox files named in the scenario are found relative to baseFolder (the scenario's).
    CommandDispatcher(HostWorld& world, Transcript& transcript, EmlFolder& out,
                      std::filesystem::path baseFolder);

    void Run(const Command& command, const std::wstring& file);

    // Writes what left since the last call to the out folder; false when a file failed.
    bool WriteOutgoing(const std::wstring& file, int line);
    // The run ends: answers that no prompt took are failures of their lines.
    void Finish();

private:
    struct Outcome;
    class Runner;

    HostWorld& m_world;
    Transcript& m_transcript;
    EmlFolder& m_out;
    std::filesystem::path m_baseFolder;
    HostWindows m_windows;
};

}  // namespace plexa::host
