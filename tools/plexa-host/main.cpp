// plexa-host: runs Plexa's scenario language on the simulated mail client (see
// docs/scenario-language.md for the command line, the language and examples).
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "Program.h"

int main(int argc, char** argv) {
    using plexa::host::HostOptions;
    CLI::App app{"plexa-host: Plexa in the simulated mail client, driven by scenarios"};
    app.require_subcommand(1);

    HostOptions options;
    std::string file;
    std::string mailbox;
    std::string state;
    std::string out = options.out.string();

    CLI::App* demo = app.add_subcommand("demo", "the guided tour on the built-in demo mailbox");
    CLI::App* run = app.add_subcommand("run", "run a scenario file");
    CLI::App* shell = app.add_subcommand("shell", "the scenario language, typed line by line");
    run->add_option("FILE", file, "the scenario (.plexa)")->required();
    for (CLI::App* sub : {demo, run, shell}) {
        sub->add_option("--state", state, "keep the client's state in this folder");
        sub->add_option("--out", out, "write one .eml file per message sent here")
            ->capture_default_str();
    }
    for (CLI::App* sub : {run, shell}) {
        sub->add_option("--mailbox", mailbox, "start on this mailbox file");
    }
    run->add_flag("--quiet", options.quiet, "print only failures and the summary");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }
    if (!mailbox.empty()) {
        options.mailbox = mailbox;
    }
    if (!state.empty()) {
        options.state = state;
    }
    options.out = out;

    if (demo->parsed()) {
        return plexa::host::RunDemo(options, std::cout, std::cerr);
    }
    if (run->parsed()) {
        return plexa::host::RunFile(file, options, std::cout, std::cerr);
    }
    return plexa::host::RunShell(options, std::cin, std::cout, std::cerr, isatty(0) != 0);
}
