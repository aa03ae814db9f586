// Fault injection: names come from the catalogue (an unknown one is refused when armed, and one
// a simulated port checks stops the program), the catalogue covers every name the simulation
// checks, and the modes: by operation, by call position, one in n with a seed, and the kill
// switch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "sim/FaultOps.h"
#include "sim/Faults.h"

namespace plexa {
namespace {

using sim::Faults;

HostError Failure(const std::wstring& text = L"injected") {
    return HostError(5, text, L"Test");
}

// Calls op once; the error number it failed with, 0 when it passed.
int Call(Faults& faults, const wchar_t* op, const wchar_t* detail = L"") {
    try {
        faults.Check(op, detail);
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Faults, ArmingAnOperationOutsideTheCatalogueIsRefused) {
    Faults faults;
    for (const wchar_t* misspelt : {L"FileSystem.open", L"FileSystem.Opne", L"MailItem.Sent",
                                    L"Open", L"", L"MailItem.Subject "}) {
        EXPECT_THROW(faults.FailAlways(misspelt, Failure()), std::invalid_argument)
            << text::ToUtf8(misspelt);
        EXPECT_THROW(faults.FailNth(misspelt, 2, Failure()), std::invalid_argument);
        EXPECT_THROW(faults.FailWhen(
                         misspelt, [](std::wstring_view) { return true; }, Failure()),
                     std::invalid_argument);
        EXPECT_THROW(faults.FailOneIn(2, 7, Failure(), {L"File.Read", misspelt}),
                     std::invalid_argument);
    }
    try {
        faults.FailAlways(L"Registry.SetValues", Failure());
        ADD_FAILURE() << "armed";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("Registry.SetValues"), std::string::npos);
    }
    EXPECT_THROW(faults.FailOneIn(0, 1, Failure()), std::invalid_argument);
    // Nothing was armed by the refused calls.
    EXPECT_EQ(Call(faults, L"File.Read"), 0);

    EXPECT_TRUE(sim::IsFaultOp(L"MailItem.Subject"));
    EXPECT_TRUE(sim::IsFaultOp(L"SafeTaskItem.Recipients"));
    EXPECT_EQ(sim::FaultPortOf(L"File.Write"), L"FileSystem");
    EXPECT_EQ(sim::FaultPortOf(L"SafeRecipients.Add"), L"Redemption");
    EXPECT_EQ(sim::FaultPortOf(L"MailItem.Sent"), L"");
}

TEST(FaultsDeathTest, CheckingAnOperationOutsideTheCatalogueStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Faults faults;
    EXPECT_DEATH(faults.Check(L"MailItem.Sent", L"detail"), "MailItem\\.Sent");
}

// The names the simulation's sources check: literal names, and the members its helpers put
// behind an object's name, read from the sources themselves.
struct SourceScan {
    std::map<std::string, std::string> literalOps;  // name -> file
    // Each member a helper names, with its file and the objects the helper composes with.
    struct Member {
        std::string file;
        std::string member;
        std::vector<std::string> objects;
    };
    std::vector<Member> members;
    std::vector<std::string> unknownComposers;  // files composing names no rule here knows
    std::set<std::string> literals;             // every L"..." text
};

SourceScan ScanSimSources() {
    namespace fs = std::filesystem;
    const std::vector<std::string> items = {"MailItem",        "ContactItem", "DistListItem",
                                            "AppointmentItem", "TaskItem",    "NoteItem",
                                            "JournalItem",     "PostItem"};
    // Files whose helpers compose "Object." + member, the helpers and the objects.
    struct Rule {
        std::string helpers;  // alternatives of a regex
        std::vector<std::string> objects;
    };
    const std::map<std::string, Rule> rules = {
        {"outlook/SimItem.cpp", {"Live|Text|Long|SetText", items}},
        {"outlook/SimItem.h", {"Live|Text|Long|SetText", items}},
        {"outlook/SimItems.cpp", {"Check", {"Items"}}},
        {"outlook/SimRecipients.cpp", {"Live", {"Recipient", "Recipients"}}},
        {"outlook/SimUserProperties.cpp", {"Live", {"UserProperty", "UserProperties"}}},
        {"redemption/SimSafeObjects.cpp",
         {"Bound", {"SafeMailItem", "SafeAppointmentItem", "SafeTaskItem", "SafeDistList"}}},
        {"office/SimCommandBar.cpp", {"Live", {"CommandBar"}}},
        {"office/SimCommandBarControl.cpp", {"Live|ButtonOnly", {"CommandBarControl"}}},
        {"windows/SimExplorer.cpp", {"Live", {"Explorer"}}},
        {"windows/SimInspector.cpp", {"Live", {"Inspector"}}},
        {"windows/SimClipboard.cpp", {"Pass", {"Clipboard"}}},
    };
    // Files that hand a name given to them on to Faults::Check.
    // Files that hand a name given to them on to Faults::Check, or whose Check is another
    // function's.
    const std::set<std::string> forwarders = {
        "Faults.cpp",      "outlook/SimOutlook.cpp", "office/SimOffice.cpp",
        "SimRegistry.cpp", "mMailboxIds.cpp",        "redemption/SimRedemption.cpp"};

    SourceScan scan;
    const fs::path root = fs::path(PLEXA_SOURCE_DIR) / "sim";
    const std::regex fullName(R"re(\b(?:Check|Fault|FindSubKey|Live)\([^;]*?L"(\w+\.\w+)")re");
    const std::regex composed(R"re((?:\.|->)Check\(\s*[^L\s)])re");
    const std::regex literal(R"re(L"([^"]*)")re");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") {
            continue;
        }
        const std::string rel = entry.path().lexically_relative(root).generic_string();
        std::ifstream in(entry.path());
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string source = buffer.str();
        for (std::sregex_iterator it(source.begin(), source.end(), fullName), end; it != end;
             ++it) {
            scan.literalOps.emplace((*it)[1].str(), rel);
        }
        for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it) {
            scan.literals.insert((*it)[1].str());
        }
        const auto rule = rules.find(rel);
        if (rule != rules.end()) {
            const std::regex helper("\\b(" + rule->second.helpers + ")\\(L\"(\\w+)\"");
            for (std::sregex_iterator it(source.begin(), source.end(), helper), end; it != end;
                 ++it) {
                const std::string member =
                    ((*it)[1].str() == "SetText" ? "Set" : "") + (*it)[2].str();
                scan.members.push_back({rel, member, rule->second.objects});
            }
        } else if (!forwarders.contains(rel) && std::regex_search(source, composed)) {
            scan.unknownComposers.push_back(rel);
        }
    }
    return scan;
}

TEST(Faults, TheCatalogueHoldsEveryOperationTheSimulationChecks) {
    const SourceScan scan = ScanSimSources();
    ASSERT_GT(scan.literalOps.size(), 100u) << "the sources were not found";
    for (const auto& [op, file] : scan.literalOps) {
        EXPECT_TRUE(sim::IsFaultOp(text::FromUtf8(op))) << op << " (" << file << ")";
    }
    ASSERT_GT(scan.members.size(), 100u);
    for (const auto& m : scan.members) {
        bool found = false;
        for (const auto& object : m.objects) {
            found = found || sim::IsFaultOp(text::FromUtf8(object + "." + m.member));
        }
        std::string objects;
        for (const auto& object : m.objects) {
            objects += (objects.empty() ? "" : "/") + object;
        }
        EXPECT_TRUE(found) << m.member << " of " << objects << " (" << m.file << ")";
    }
    EXPECT_TRUE(scan.unknownComposers.empty())
        << "composes operation names no rule of this test reads: " << scan.unknownComposers[0];

    // And nothing stale: every catalogued member is named somewhere in the sources.
    for (const auto& port : sim::FaultCatalogue()) {
        for (const auto& op : port.ops) {
            const std::string name = text::ToUtf8(op);
            const std::string member = name.substr(name.find('.') + 1);
            const bool named =
                scan.literals.contains(name) || scan.literals.contains(member) ||
                (member.starts_with("Set") && scan.literals.contains(member.substr(3)));
            EXPECT_TRUE(named) << name << " is catalogued but no simulated port checks it";
        }
    }
}

TEST(Faults, ByOperationByCallAndByPredicate) {
    Faults faults;
    faults.FailNth(L"File.Read", 2, Failure(L"second read"));
    faults.FailWhen(
        L"FileSystem.Open", [](std::wstring_view detail) { return detail.ends_with(L".lock"); },
        Failure(L"locked"));
    EXPECT_EQ(Call(faults, L"File.Read"), 0);
    EXPECT_EQ(Call(faults, L"File.Read"), 5);
    EXPECT_EQ(Call(faults, L"File.Read"), 0);
    EXPECT_EQ(Call(faults, L"FileSystem.Open", L"C:\\a.txt"), 0);
    EXPECT_EQ(Call(faults, L"FileSystem.Open", L"C:\\a.lock"), 5);
    EXPECT_EQ(Call(faults, L"FileSystem.Open", L"C:\\b.lock"), 5);
    EXPECT_EQ(faults.Calls(L"File.Read"), 3);
    EXPECT_EQ(faults.Injected(L"FileSystem.Open"), 2);
    EXPECT_EQ(faults.Injected(), 3);

    // The n-th call of any operation from now, whatever it is.
    faults.Clear();
    const int64_t before = faults.TotalCalls();
    faults.FailNthCall(3, Failure(L"third"));
    EXPECT_EQ(Call(faults, L"Clock.NowUtc"), 0);
    EXPECT_EQ(Call(faults, L"File.Read"), 0);
    EXPECT_EQ(Call(faults, L"MailItem.Save", L"id1"), 5);
    EXPECT_EQ(Call(faults, L"MailItem.Save", L"id1"), 0);
    EXPECT_EQ(faults.TotalCalls() - before, 4);
    EXPECT_EQ(faults.History().back(), (Faults::Injection{L"MailItem.Save", L"id1", before + 3}));
}

// The injections of 300 calls over three operations, one in four failing.
std::vector<Faults::Injection> RunOneIn(uint64_t seed, const std::vector<std::wstring>& ops = {}) {
    test::TestWorld w;
    w.sim.faults.FailOneIn(4, seed, Failure(), ops);
    for (int i = 0; i < 100; ++i) {
        try {
            w.sim.clock.NowUtc();
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): counted by the faults
        }
        try {
            w.sim.files.FindFiles(L"C:\\*");
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch)
        }
        try {
            w.sim.random.Rnd();
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch)
        }
    }
    return w.sim.faults.History();
}

TEST(Faults, OneInNIsTheSameForTheSameSeed) {
    const auto first = RunOneIn(42);
    EXPECT_EQ(RunOneIn(42), first);
    EXPECT_NE(RunOneIn(43), first);
    // About one call in four fails, of every operation.
    EXPECT_GT(first.size(), 40u);
    EXPECT_LT(first.size(), 110u);
    std::set<std::wstring> failed;
    for (const auto& injection : first) {
        failed.insert(injection.op);
    }
    EXPECT_EQ(failed,
              (std::set<std::wstring>{L"Clock.NowUtc", L"FileSystem.FindFiles", L"Random.Rnd"}));

    // Restricted to some operations, only they fail.
    const auto restricted = RunOneIn(42, {L"Random.Rnd"});
    EXPECT_FALSE(restricted.empty());
    for (const auto& injection : restricted) {
        EXPECT_EQ(injection.op, L"Random.Rnd");
    }
    EXPECT_EQ(RunOneIn(42, {L"Random.Rnd"}), restricted);
}

TEST(Faults, AfterTheKillSwitchEveryCallFailsUntilRevived) {
    test::TestWorld w;
    Faults& faults = w.sim.faults;
    EXPECT_EQ(Call(faults, L"MailItem.Subject"), 0);
    faults.KillHost();
    EXPECT_TRUE(faults.HostKilled());
    const int gone = Faults::HostGone().Number();
    for (const auto& port : sim::FaultCatalogue()) {
        for (const auto& op : port.ops) {
            EXPECT_EQ(Call(faults, op.c_str()), gone) << text::ToUtf8(op);
        }
    }
    // Through the ports, too.
    EXPECT_THROW(w.sim.files.CreateDirectory(L"C:\\Data"), HostError);
    EXPECT_THROW(w.sim.clock.NowUtc(), HostError);
    faults.ReviveHost();
    EXPECT_EQ(Call(faults, L"MailItem.Subject"), 0);
    w.sim.files.CreateDirectory(L"C:\\Data");

    // Clear revives as well.
    faults.KillHost(Failure(L"gone"));
    EXPECT_EQ(Call(faults, L"Clock.NowUtc"), 5);
    faults.Clear();
    EXPECT_FALSE(faults.HostKilled());
    EXPECT_EQ(Call(faults, L"Clock.NowUtc"), 0);
}

}  // namespace
}  // namespace plexa
