// The report of a separate send: one row per recipient with what became of its copy (sent,
// queued for a time, kept in Drafts and why, failed and why), a summary, a CSV file that a
// spreadsheet reads back as written, written whole or not at all, and never in the way of the
// send itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlexaWorld.h"
#include "platform/IUiShell.h"
#include "separate/mSendReports.h"
#include "sim/windows/ScriptedUser.h"

namespace plexa {
namespace {

using test::PlexaWorld;

std::vector<SendReportRow> NewestRows(PlexaWorld& w) {
    const std::wstring path = mSendReports::Newest(w.services.Ports());
    EXPECT_FALSE(path.empty());
    return path.empty() ? std::vector<SendReportRow>{}
                        : mSendReports::Read(w.services.Ports(), path);
}

std::vector<std::wstring> Outcomes(const std::vector<SendReportRow>& rows) {
    std::vector<std::wstring> out;
    out.reserve(rows.size());
    for (const auto& row : rows) {
        out.push_back(row.address + L" " + row.outcome + (row.detail.empty() ? L"" : L" ") +
                      row.detail);
    }
    return out;
}

TEST(SendReport, TheCsvReadsBackAsWrittenAndKeepsFormulasOut) {
    const std::vector<SendReportRow> rows = {
        {OleDate::FromParts(2026, 12, 7, 9, 5, 1), L"Smith, Ann \"the boss\"", L"ann@acme.example",
         report::kSent, L"", L""},
        {OleDate::FromParts(2026, 12, 7, 9, 5, 2), L"=HYPERLINK(\"http://x\")", L"-x@y.example",
         report::kKept, L"because %FirstName% was empty", L""},
        {OleDate::FromParts(2026, 12, 7, 9, 5, 3), L"Zo\u00eb\r\nLine two", L"zoe@b.example",
         report::kQueued, L"for 2026-12-07 09:15:00", L"00AB"},
        {OleDate::FromParts(2026, 12, 7, 9, 20, 0), L"Zo\u00eb\r\nLine two", L"zoe@b.example",
         report::kSentFromQueue, L"", L"00AB"},
    };
    const std::string csv = mSendReports::ToCsv(rows);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFTime,Recipient,Address,Outcome,Detail,Entry ID\r\n", 0), 0U);
    // A cell a spreadsheet would run is written as text.
    EXPECT_NE(csv.find(",\"'=HYPERLINK(\"\"http://x\"\")\",'-x@y.example,"), std::string::npos);
    EXPECT_NE(csv.find("summary,\"2 sent, 0 queued, 1 kept in Drafts, 0 failed, 0 dropped\""),
              std::string::npos);

    const auto back = mSendReports::ParseCsv(csv);
    ASSERT_EQ(back.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(back[i].time, rows[i].time);
        EXPECT_EQ(back[i].recipient, rows[i].recipient);
        EXPECT_EQ(back[i].address, rows[i].address);
        EXPECT_EQ(back[i].outcome, rows[i].outcome);
        EXPECT_EQ(back[i].detail, rows[i].detail);
        EXPECT_EQ(back[i].entryId, rows[i].entryId);
    }
    // Text that is no report gives no rows rather than an error.
    EXPECT_TRUE(mSendReports::ParseCsv("").empty());
    EXPECT_TRUE(mSendReports::ParseCsv("\"unterminated,\r\n").empty());
}

TEST(SendReport, EachRecipientsOutcomeIsWrittenWithTheSubjectInTheName) {
    PlexaWorld w;
    w.sim.clock.SetLocal(OleDate::FromParts(2026, 12, 7, 9, 0));
    auto mail = w.Compose(L"For %LastName%: a/b?", L"x",
                          {L"Ann Smith <ann@acme.example>", L"madonna@pop.example",
                           L"Bob Lee <bob@lee.example>", L"Cy Day <cy@day.example>"},
                          SendModeSep, true);
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnOK");
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    // Groups of two, ten minutes apart: the kept copy counts towards none.
    EXPECT_FALSE(w.Send(mail, nullptr, false, 1, 10, 2));
    ASSERT_EQ(w.session.transmissions.size(), 2U);

    const std::wstring path = mSendReports::Newest(w.services.Ports());
    EXPECT_NE(path.find(L"\\Orvin\\Plexa\\Reports\\2026-12-07 09.00.00 For %LastName%_ a_b_.csv"),
              std::wstring::npos)
        << text::ToUtf8(path);
    const auto rows = NewestRows(w);
    EXPECT_EQ(Outcomes(rows),
              (std::vector<std::wstring>{
                  L"ann@acme.example sent",
                  L"madonna@pop.example kept in Drafts because %LastName% was empty",
                  L"bob@lee.example sent",
                  L"cy@day.example queued for 2026-12-07 09:10:00",
              }));
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(rows[0].recipient, L"Ann Smith");
    EXPECT_EQ(rows[3].entryId, w.queue.Entries().at(0).first);

    // A second send of the same subject in the same second gets a name of its own; answering
    // No keeps every copy in Drafts, as asked.
    auto again = w.Compose(L"For %LastName%: a/b?", L"x", {L"Ann Smith <ann@acme.example>"});
    w.sim.ui.user.AnswerMsgBox(mb::IdNo);
    EXPECT_FALSE(w.Send(again));
    const std::wstring second = mSendReports::Newest(w.services.Ports());
    EXPECT_NE(second.find(L"a_b_ (2).csv"), std::wstring::npos) << text::ToUtf8(second);
    EXPECT_EQ(Outcomes(NewestRows(w)),
              std::vector<std::wstring>{L"ann@acme.example kept in Drafts as asked"});

    // A third send in that second, of a subject that sorts first, is still the newest.
    auto third = w.Compose(L"Apples", L"x", {L"Bob Lee <bob@lee.example>"});
    EXPECT_FALSE(w.Send(third));
    const std::wstring newest = mSendReports::Newest(w.services.Ports());
    EXPECT_NE(newest.find(L"09.00.00 Apples (3).csv"), std::wstring::npos) << text::ToUtf8(newest);
}

TEST(SendReport, AHostErrorHalfWayNamesTheErrorForEveryoneNotReached) {
    PlexaWorld w;
    auto mail =
        w.Compose(L"Report", L"x", {L"a@x.example", L"b@x.example", L"c@x.example", L"d@x.example"},
                  SendModeSep, true);
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    w.sim.ui.user.AnswerMsgBox(mb::IdOk);
    w.sim.faults.FailNth(L"MailItem.EntryID", 2,
                         HostError(E_FAIL, L"The store is busy", L"Microsoft Outlook"));
    EXPECT_FALSE(w.Send(mail, nullptr, false, 1, 5, 1));
    const auto outcomes = Outcomes(NewestRows(w));
    ASSERT_EQ(outcomes.size(), 4U);
    EXPECT_EQ(outcomes[0], L"a@x.example sent");
    EXPECT_EQ(outcomes[1].rfind(L"b@x.example queued for ", 0), 0U);
    EXPECT_EQ(outcomes[2], L"c@x.example failed The store is busy");
    EXPECT_EQ(outcomes[3], L"d@x.example failed The store is busy");
}

TEST(SendReport, NoReportWithoutASeparateSendAndNoSendStoppedByTheReport) {
    PlexaWorld w;
    // Cancelled: nothing changed, nothing written.
    auto mail = w.Compose(L"Hi", L"x", {L"a@x.example", L"b@x.example"});
    w.sim.ui.user.AnswerMsgBox(mb::IdCancel);
    EXPECT_TRUE(w.Send(mail));
    // To everyone as one message: no personal copies, no report.
    auto all = w.Compose(L"All", L"x", {L"a@x.example", L"b@x.example"}, SendModeAll);
    EXPECT_FALSE(w.Send(all));
    EXPECT_EQ(mSendReports::Newest(w.services.Ports()), L"");

    // The report cannot be written: the copies go all the same, the log says why.
    w.sim.faults.FailNth(L"FileSystem.MoveFile", 1,
                         HostError(70, L"Permission denied", L"FileSystem"));
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    EXPECT_FALSE(w.Send(mail));
    EXPECT_EQ(w.session.transmissions.size(), 3U);
    EXPECT_EQ(w.ErrorsFrom(L"CSendReport::Write"), 1U);
    EXPECT_EQ(mSendReports::Newest(w.services.Ports()), L"");
}

TEST(SendReport, TrimmingKeepsTheNewestReportsWithinTheLogLimit) {
    PlexaWorld w;
    std::vector<SendReportRow> rows(
        40, {OleDate(), std::wstring(200, L'n'), L"a@x.example", report::kSent, L"", L""});
    for (int i = 0; i < 6; ++i) {
        w.sim.clock.SetLocal(OleDate::FromParts(2026, 12, 1 + i, 9, 0));
        mSendReports::WriteNew(w.services.Ports(), L"Send " + std::to_wstring(i),
                               w.sim.clock.NowLocal(), rows);
    }
    const std::wstring newest = mSendReports::Newest(w.services.Ports());
    EXPECT_NE(newest.find(L"Send 5.csv"), std::wstring::npos);
    const auto size = static_cast<int64_t>(mSendReports::ToCsv(rows).size());
    // Within the limit: nothing goes.
    mSendReports::Trim(w.services.Ports(), 6 * size);
    EXPECT_EQ(w.sim.files.FindFiles(mSendReports::Folder(w.services.Ports()) + L"\\*.csv").size(),
              6U);
    // Over it: the oldest go until half the limit is left.
    mSendReports::Trim(w.services.Ports(), 5 * size);
    const auto left = w.sim.files.FindFiles(mSendReports::Folder(w.services.Ports()) + L"\\*.csv");
    ASSERT_EQ(left.size(), 2U);
    EXPECT_EQ(mSendReports::Newest(w.services.Ports()), newest);
    // A limit below one report still keeps the newest.
    mSendReports::Trim(w.services.Ports(), 1);
    EXPECT_EQ(mSendReports::Newest(w.services.Ports()), newest);
}

}  // namespace
}  // namespace plexa
