// A short tour of what Plexa's foundation does today, run on the simulated Windows services:
// the formatter, the log files and their upkeep. The full tour of the add-in comes with the
// command-line host.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "addin/Context.h"
#include "core/Text.h"
#include "settings/mFileUtils.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "settings/mReduceLog.h"
#include "sim/SimPlatform.h"

using namespace plexa;

namespace {

void Say(const std::wstring& s) {
    std::cout << text::ToUtf8(s) << "\n";
}

void ShowFile(const std::filesystem::path& real, int lastLines) {
    std::ifstream in(real);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const std::size_t from = lines.size() > static_cast<std::size_t>(lastLines)
                                 ? lines.size() - static_cast<std::size_t>(lastLines)
                                 : 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
        std::cout << "    " << lines[i] << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1
                                           ? std::filesystem::path(argv[1])
                                           : std::filesystem::temp_directory_path() / "plexa-tour";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);

    sim::SimPlatform sim(root);
    sim.host.SetVersion(L"12.0.6423.1000");
    Context context(sim.Ports());

    Say(L"Plexa foundation tour (the full tour of the add-in comes with the command-line host)");
    Say(L"Simulated Windows root: " + text::FromUtf8(root.string()));
    Say(L"");
    Say(L"Host version text 12.0.6423.1000 -> major version " +
        std::to_wstring(mMisc::GetOutlookVersion()));

    Say(L"");
    Say(L"The formatter:");
    const std::wstring regPath =
        mGlobals::sprintf(L"Software\\\\Microsoft\\\\Office\\\\%d.0\\\\Outlook\\\\Preferences",
                          mMisc::GetOutlookVersion());
    Say(L"  registry path      -> " + regPath);
    Say(L"  %d of 2.5 and 3.5  -> " + mGlobals::sprintf(L"%d and %d", 2.5, 3.5));
    Say(L"  array as arguments -> " + mGlobals::sprintf(L"%s sends %d copies (100%%)",
                                                        Variant(std::vector<Variant>{L"Ann", 12})));
    Say(L"  too few arguments  -> " + mGlobals::sprintf(L"%s and %s", L"one"));

    mGlobals::LogDebug(L"plexa-tour::main", L"->", 1);
    mGlobals::Assert(1 + 1 == 3, L"plexa-tour::main", L"arithmetic still works");

    const std::wstring base = mReduceLog::LogBasePath(context.Ports());
    Say(L"");
    Say(L"Log files below the application-data folder: " + base + L".log / .err");
    Say(L"Last lines of Plexa.log:");
    ShowFile(sim.files.RealPath(base + L".log"), 6);
    Say(L"Plexa.err:");
    ShowFile(sim.files.RealPath(base + L".err"), 6);

    // Grow the log past its limit over several simulated runs, then let the upkeep cut it.
    for (int run = 0; run < 48; ++run) {
        sim.clock.AdvanceSeconds(3600);
        Context nextRun(sim.Ports());
        for (int i = 0; i < 400; ++i) {
            mGlobals::LogDebug(L"plexa-tour::main",
                               L"entry " + std::to_wstring(i) + L" of run " + std::to_wstring(run),
                               2);
        }
    }
    const auto before = mReduceLog::GetFileSizeByName(base + L".log");
    mReduceLog::CheckLibOrvinLog(1048576, 131072);
    const auto after = mReduceLog::GetFileSizeByName(base + L".log");
    Say(L"");
    Say(L"Upkeep at connection: Plexa.log " + std::to_wstring(before) + L" bytes -> " +
        std::to_wstring(after) + L" bytes, starting at a run marker:");
    std::ifstream cut(sim.files.RealPath(base + L".log"));
    std::string firstLine;
    std::getline(cut, firstLine);
    std::cout << "    " << firstLine << "\n";
    return 0;
}
