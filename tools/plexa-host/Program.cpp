#include "Program.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "CommandDispatcher.h"
#include "EmlWriter.h"
#include "HostWorld.h"
#include "ScenarioParser.h"
#include "StateFolder.h"
#include "Transcript.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxReader.h"

namespace plexa::host {

namespace {

void Error(std::ostream& err, const std::wstring& message) {
    err << "plexa-host: " << text::ToUtf8(message) << std::endl;
}

// One run: the state, the client, the out folder, and the commands given to it by next().
// next() returns false when there are no more commands.
template <typename Next>
int Session(const HostOptions& options, std::ostream& out, std::ostream& err,
            const std::filesystem::path& baseFolder, Next next) {
    try {
        if (options.mailbox) {
            sim::LoadMailbox(*options.mailbox);  // a malformed file stops before anything runs
        }
        StateFolder state(options.state);
        HostWorld world(state);
        if (options.mailbox) {
            world.SetMailbox({MailboxSource::Kind::File, *options.mailbox});
        }
        Transcript transcript(out, options.quiet);
        EmlFolder emls(options.out);
        CommandDispatcher dispatcher(world, transcript, emls, baseFolder);
        next(dispatcher, transcript);
        dispatcher.Finish();
        try {
            if (world.Running()) {
                world.Stop();
            } else {
                world.SaveState();
            }
        } catch (const std::exception& e) {
            transcript.Failure(L"plexa-host", 0, L"saving the state: " + text::FromUtf8(e.what()));
        }
        dispatcher.WriteOutgoing(L"plexa-host", 0);
        if (emls.Written() > 0) {
            transcript.Note(std::to_wstring(emls.Written()) + L" message file" +
                            (emls.Written() == 1 ? L"" : L"s") + L" written to " +
                            text::FromUtf8(emls.Folder().string()));
        }
        transcript.Summary();
        return transcript.Failures() > 0 ? 1 : 0;
    } catch (const ScenarioError& e) {
        Error(err, e.Describe());
    } catch (const sim::MailboxError& e) {
        std::wstring where = e.File();
        if (e.TextLine() > 0) {
            where += L", line " + std::to_wstring(e.TextLine()) + L", column " +
                     std::to_wstring(e.TextColumn());
        }
        if (!e.Pointer().empty()) {
            where += L", at " + e.Pointer();
        }
        Error(err, where + L": " + e.Problem());
    } catch (const HostError& e) {
        Error(err, e.Description());
    } catch (const std::exception& e) {
        Error(err, text::FromUtf8(e.what()));
    }
    return 2;
}

int RunScenario(const Scenario& scenario, const HostOptions& options, std::ostream& out,
                std::ostream& err, const std::filesystem::path& baseFolder) {
    return Session(options, out, err, baseFolder, [&](CommandDispatcher& dispatcher, Transcript&) {
        for (const Command& command : scenario.commands) {
            dispatcher.Run(command, scenario.file);
        }
    });
}

}  // namespace

int RunFile(const std::filesystem::path& file, const HostOptions& options, std::ostream& out,
            std::ostream& err) {
    const std::wstring name = text::FromUtf8(file.string());
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        Error(err, name + L": cannot read the scenario");
        return 2;
    }
    std::stringstream content;
    content << in.rdbuf();
    try {
        const Scenario scenario = ParseScenario(content.str(), name);
        return RunScenario(scenario, options, out, err, file.parent_path());
    } catch (const ScenarioError& e) {
        Error(err, e.Describe());
        return 2;
    }
}

int RunDemo(const HostOptions& options, std::ostream& out, std::ostream& err) {
    try {
        const Scenario scenario = ParseScenario(DemoScenario(), L"demo");
        return RunScenario(scenario, options, out, err, std::filesystem::current_path());
    } catch (const ScenarioError& e) {
        Error(err, e.Describe());
        return 2;
    }
}

int RunShell(const HostOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
             bool prompt) {
    return Session(options, out, err, std::filesystem::current_path(),
                   [&](CommandDispatcher& dispatcher, Transcript& transcript) {
                       ClientOrder order;
                       int lineNumber = 0;
                       std::string raw;
                       while (true) {
                           if (prompt) {
                               out << "plexa> " << std::flush;
                           }
                           if (!std::getline(in, raw)) {
                               break;
                           }
                           ++lineNumber;
                           try {
                               const auto command =
                                   ParseLine(text::FromUtf8(raw), lineNumber, L"shell");
                               if (!command) {
                                   continue;
                               }
                               if (const auto problem = order.Check(*command)) {
                                   throw ScenarioError(L"shell", lineNumber, *problem);
                               }
                               dispatcher.Run(*command, L"shell");
                               order.Apply(*command);
                           } catch (const ScenarioError& e) {
                               // A typing mistake costs the line, not the session.
                               transcript.Failure(L"shell", lineNumber, e.Problem());
                           }
                       }
                   });
}

}  // namespace plexa::host
