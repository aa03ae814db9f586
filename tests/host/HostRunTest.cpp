#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "Program.h"
#include "TestWorld.h"
#include "core/Text.h"
#include "settings/mReduceLog.h"
#include "sim/SimPlatform.h"

namespace plexa::host {
namespace {

struct Result {
    int status = 0;
    std::string out;
    std::string err;
};

class HostRun : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& name, const std::string& content) {
        auto path = m_dir.Path() / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    Result Run(const std::string& scenario, HostOptions options = {}) {
        options.out = m_dir.Path() / "out";
        std::ostringstream out;
        std::ostringstream err;
        Result r;
        r.status = RunFile(Write("s.plexa", scenario), options, out, err);
        r.out = out.str();
        r.err = err.str();
        return r;
    }
    std::string Scenario() const { return (m_dir.Path() / "s.plexa").string(); }
    std::filesystem::path Dir() const { return m_dir.Path(); }

private:
    test::TempDir m_dir;
};

TEST_F(HostRun, StateFolderCarriesHiveMailboxClockAndLogsToTheNextRun) {
    HostOptions options;
    options.state = Dir() / "state";
    Result first =
        Run("mailbox demo\n"
            "clock \"2026-12-07 09:00\"\n"
            "setting GroupInterval 7\n"
            "start\n"
            "mail to \"Ann Smith (ann.smith@acme.example.com)\" subject \"First\" body \"one\"\n"
            "advance 1d\n",
            options);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_TRUE(std::filesystem::exists(Dir() / "state" / "registry.reg"));
    EXPECT_TRUE(std::filesystem::exists(Dir() / "state" / "mailbox.json"));
    std::ifstream clock(Dir() / "state" / "clock.txt");
    std::string saved;
    std::getline(clock, saved);
    EXPECT_EQ(saved, "2026-12-08 09:00:00 UTC");

    // A log line written below the application-data folder of the simulated disk.
    {
        sim::SimPlatform disk(Dir() / "state" / "files");
        Platform ports = disk.Ports();
        const auto real = disk.files.RealPath(mReduceLog::LogBasePath(ports) + L".log");
        std::filesystem::create_directories(real.parent_path());
        std::ofstream(real) << "07.12.2026 09:00:00 Connect: started\n";
    }

    // No mailbox named: the client starts on the saved one, a day later, with the setting.
    Result second =
        Run("start\n"
            "expect folder \"Sent Items\" count 5\n"
            "expect item \"Sent Items\" First\n"
            "expect registry HKCU\\Software\\Orvin\\Plexa GroupInterval 7\n"
            "expect log \"Connect: started\"\n"
            "expect nolog \"Disconnect\"\n"
            "expect sent 0\n"
            "mail to bob@lee.example.net subject \"Second\"\n"
            "dump sent\n",
            options);
    EXPECT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_NE(second.out.find("2026-12-08 09:00 UTC"), std::string::npos) << second.out;
    // The out folder's numbering goes on.
    EXPECT_TRUE(std::filesystem::exists(Dir() / "out" / "0002-bob@lee.example.net.eml"));
    EXPECT_TRUE(std::filesystem::exists(Dir() / "out" / "0001-ann.smith@acme.example.com.eml"));
}

TEST_F(HostRun, TemporaryStateIsRemovedAndRestartReloadsIt) {
    Result r =
        Run("mailbox demo\n"
            "start\n"
            "setting IncludeBCC yes\n"
            "mail to \"Bob Lee\" subject Hi\n"
            "restart\n"
            "expect registry HKCU\\Software\\Orvin\\Plexa IncludeBCC 1\n"
            "expect folder \"Sent Items\" count 5\n"
            "expect sent 1\n"
            "stop\n");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(r.out, match, std::regex("state is saved in (\\S+)")));
    EXPECT_FALSE(std::filesystem::exists(match[1].str())) << match[1].str();
}

TEST_F(HostRun, ADialogLineMayDumpTheDialogBeforeItsButtonIsPressed) {
    Result r =
        Run("host 11\n"
            "mailbox demo\n"
            "setting Flag 2\n"
            "setting Flag2003 4\n"
            "start\n"
            "explorer open\n"
            "debug window\n"
            "dialog frmOptions ctlTabs=Appearance dump press btnCancel\n"
            "dialog frmDEBUG cboForms=frmOptions press btnShowForm\n"
            "dialog frmOptions ctlTabs=Extras press btnOK\n"
            "dialog frmDEBUG cboForms=frmOptions press btnShowForm\n");
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    // The page in front, with its tab marked and the flag's picture; nothing of the others.
    EXPECT_NE(r.out.find("\n    TabStrip ctlTabs \"Recipient List\" | >\"Appearance\" | "
                         "\"Send Separately\"\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n    ImageCombo cboFlag = \"Yellow Flag\" <yellow> of 6\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("chkExcludeDuplicates"), std::string::npos);
    // A tab the strip lacks fails the line that brought the dialog, naming the tabs.
    EXPECT_NE(r.out.find(Scenario() + ":11: FAILED"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("has no tab \"Extras\" (its tabs are Recipient List, Appearance, "
                         "Send Separately)"),
              std::string::npos);
}

TEST_F(HostRun, FailuresNameFileAndLineAndTheRunGoesOn) {
    Result r =
        Run("mailbox demo\n"
            "start\n"
            "expect folder Inbox count 99\n"
            "expect folder \"No such folder\" count 1\n"
            "expect item Inbox \"Lunch on Friday?\" flag 2\n"
            "expect registry HKCU\\Software\\Orvin\\Plexa GroupRecipients 20\n"
            "expect log \"never written\"\n"
            "explorer open Contacts\n"
            "click Nowhere\n"
            "expect sent to a@b.example\n"
            "expect sent 0\n");
    EXPECT_EQ(r.status, 1);
    const std::string s = Scenario();
    EXPECT_NE(r.out.find(s + ":3: FAILED expected 99 items in \\\\Personal Folders\\Inbox, "
                             "found 8"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(s + ":4: FAILED no folder 'No such folder' in \\\\Personal Folders "
                             "(its subfolders are"),
              std::string::npos);
    EXPECT_NE(r.out.find(s + ":5: FAILED expected an item 'Lunch on Friday?' in "
                             "\\\\Personal Folders\\Inbox with flag 2; found it with flag 0"),
              std::string::npos);
    EXPECT_NE(r.out.find(s + ":6: FAILED expected HKEY_CURRENT_USER\\Software\\Orvin\\Plexa "
                             "GroupRecipients = 20, found no such value"),
              std::string::npos);
    EXPECT_NE(r.out.find(s + ":7: FAILED expected a line of Plexa.log or Plexa.err containing "
                             "'never written', found none"),
              std::string::npos);
    EXPECT_NE(r.out.find(s + ":9: FAILED click: no control \"Nowhere\" in Explorer 'Contacts'"),
              std::string::npos);
    EXPECT_NE(r.out.find(s + ":10: FAILED expected a message sent to a@b.example; no message "
                             "was sent"),
              std::string::npos);
    EXPECT_NE(r.out.find("1 expectation held, 7 failed"), std::string::npos) << r.out;

    // Quiet: only the failures and the summary.
    HostOptions quiet;
    quiet.quiet = true;
    r = Run("mailbox demo\nstart\nexpect folder Inbox count 8\nexpect sent 1\n", quiet);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, s + ":4: FAILED expected 1 messages sent, found 0\n"
                         "1 expectation held, 1 failed\n");
}

TEST_F(HostRun, MalformedScenarioOrMailboxRunsNothingAndExits2) {
    Result r = Run("mailbox demo\nstart\nmail to x@y.example subject s\nexpect sent 1 2\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");  // nothing ran, nothing was sent
    EXPECT_EQ(r.err, "plexa-host: " + Scenario() +
                         ":4: expect sent: unexpected '2' (quote a text with "
                         "spaces)\n");
    EXPECT_FALSE(std::filesystem::exists(Dir() / "out"));

    Write("bad.json", "{ \"stores\": [ { \"name\": \"P\", \"default\": tru } ] }");
    r = Run("mailbox bad.json\nstart\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(Scenario() + ":1: mailbox: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("bad.json, line 1, column"), std::string::npos) << r.err;

    HostOptions options;
    options.mailbox = Dir() / "missing.json";
    r = Run("start\n", options);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.json"), std::string::npos) << r.err;

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunFile(Dir() / "nowhere.plexa", {}, out, err), 2);
    EXPECT_NE(err.str().find("nowhere.plexa: cannot read the scenario"), std::string::npos);
}

TEST_F(HostRun, ShellReportsAMistypedLineAndGoesOn) {
    std::istringstream in(
        "mailbox demo\n"
        "start\n"
        "expect folder Inbox count eight\n"
        "clock \"2026-12-06 09:00\"\n"
        "expect folder Inbox count 8\n");
    std::ostringstream out;
    std::ostringstream err;
    HostOptions options;
    options.out = Dir() / "out";
    EXPECT_EQ(RunShell(options, in, out, err, false), 1);
    EXPECT_NE(out.str().find("shell:3: FAILED expect folder: the number of items must be"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("shell:4: FAILED clock: only before 'start'"), std::string::npos);
    EXPECT_NE(out.str().find("1 expectation held, 2 failed"), std::string::npos);
}

TEST_F(HostRun, DemoRunsCleanAndWritesItsMessages) {
    std::ostringstream out;
    std::ostringstream err;
    HostOptions options;
    options.out = Dir() / "demo-out";
    EXPECT_EQ(RunDemo(options, out, err), 0) << out.str() << err.str();
    EXPECT_NE(out.str().find("0 failed"), std::string::npos);
    // The tour's eight personal copies, one file each; Bob's offer stayed in Drafts.
    EXPECT_TRUE(std::filesystem::exists(options.out / "0001-priya.raman@fernwood.example.com.eml"));
    EXPECT_TRUE(std::filesystem::exists(options.out / "0003-bob@lee.example.net.eml"));
    EXPECT_TRUE(
        std::filesystem::exists(options.out / "0008-emma.johansson@fernwood.example.com.eml"));
    EXPECT_FALSE(std::filesystem::exists(options.out / "0009-bob@lee.example.net.eml"));
    EXPECT_NE(out.str().find("because %Company% was empty"), std::string::npos);
}

}  // namespace
}  // namespace plexa::host
