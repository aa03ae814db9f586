// The reports folder ("<application data>\Orvin\<product>\Reports", beside the logs) and the
// report files in it: writing one atomically, reading one back, the rows the send-later pass
// adds, the newest report, and trimming the folder by the log files' size rule.
//
// The file: UTF-8 with a byte-order mark, CRLF line ends, a header row
// "Time,Recipient,Address,Outcome,Detail,Entry ID", one row per recipient, and a last row whose
// outcome is "summary" and whose detail counts the outcomes. Fields holding a comma, a quote or
// a line break are quoted (quotes doubled); a field that a spreadsheet would take for a formula
// (starting with =, +, -, @, tab or CR) is written with a leading apostrophe.
//
// Which report a queued copy belongs to is kept in the registry next to the queue's journal:
// "<profile>\SendLaterReports", value name the copy's entry id, value the report's file name, "\"
// and the entry id the copy was queued under (the report's row names that one).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "separate/CSendReport.h"

namespace plexa {

class Services;
struct Platform;

namespace mSendReports {

// The folder's path. Throws HostError when the application-data folder cannot be read.
std::wstring Folder(const Platform& ports);

// The whole file text of a report, summary row included.
std::string ToCsv(const std::vector<SendReportRow>& rows);
// The recipient rows of a report's text (header and summary left out). Rows that do not read
// are skipped.
std::vector<SendReportRow> ParseCsv(const std::string& text);
// "2 sent, 1 queued, 1 kept in Drafts, 0 failed, 0 dropped".
std::wstring Summary(const std::vector<SendReportRow>& rows);

// Writes a new report for a send started at `started`; its file name. Throws HostError.
std::wstring WriteNew(const Platform& ports, const std::wstring& subject, OleDate started,
                      const std::vector<SendReportRow>& rows);
// A report's rows by its full path; throws HostError when it cannot be read.
std::vector<SendReportRow> Read(const Platform& ports, const std::wstring& path);

// The registry index from a queued copy to its report. Failures are logged.
void RememberQueued(Services& services, const std::wstring& profile, const std::wstring& entryId,
                    const std::wstring& reportName);
// The copy was renamed by a move: the index follows it.
void FollowQueued(Services& services, const std::wstring& profile, const std::wstring& oldId,
                  const std::wstring& newId);

// What became of one queued copy in a sending pass.
struct QueueOutcome {
    std::wstring entryId;
    bool sent = false;
    std::wstring detail;
};
// Adds one row per outcome to the report each copy belongs to (one rewrite per report) and
// forgets the copies in the index. Copies without a report are skipped. Failures are logged.
void AppendQueueOutcomes(Services& services, const std::wstring& profile,
                         const std::vector<QueueOutcome>& outcomes);

// The newest report's full path; "" when there is none.
std::wstring Newest(const Platform& ports);

// Keeps the folder below maxSize bytes: when it holds more, the oldest reports go until it
// holds at most half of it. The newest report always stays.
void Trim(const Platform& ports, int64_t maxSize);

}  // namespace mSendReports
}  // namespace plexa
