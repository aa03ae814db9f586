// The report of one separate send: one row per recipient with what became of its copy, and a
// summary row. It is kept in the reports folder beside the add-in's logs as a CSV file (UTF-8,
// header row, CRLF line ends) named by the send's time and subject, so that it opens in a
// spreadsheet. The rows are collected while the copies are made and written once, atomically
// (a side file renamed over the report), when the send ends however it ends.
//
// Copies queued for later stay open in the report: the send-later pass adds a row when one goes
// out or is dropped (mSendReports::AppendQueueOutcomes) and the summary is counted again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/OleDate.h"

namespace plexa {

class Services;

// The outcome column's words, as they stand in the file.
namespace report {
inline constexpr wchar_t kSent[] = L"sent";
inline constexpr wchar_t kQueued[] = L"queued";
inline constexpr wchar_t kKept[] = L"kept in Drafts";
inline constexpr wchar_t kFailed[] = L"failed";
inline constexpr wchar_t kSentFromQueue[] = L"sent from the queue";
inline constexpr wchar_t kDropped[] = L"dropped from the queue";
inline constexpr wchar_t kSummary[] = L"summary";
}  // namespace report

struct SendReportRow {
    OleDate time;
    std::wstring recipient;
    std::wstring address;
    std::wstring outcome;
    std::wstring detail;
    // The queued copy's entry id (queued rows only): the queue finds its row by it.
    std::wstring entryId;
};

class CSendReport {
public:
    CSendReport(Services& services, std::wstring subject);

    void Sent(const std::wstring& recipient, const std::wstring& address);
    void Queued(const std::wstring& recipient, const std::wstring& address, OleDate due,
                const std::wstring& entryId);
    // emptyToken is the placeholder whose value was empty; empty when the user chose to keep
    // the copies in Drafts.
    void Kept(const std::wstring& recipient, const std::wstring& address,
              const std::wstring& emptyToken);
    void Failed(const std::wstring& recipient, const std::wstring& address,
                const std::wstring& error);

    const std::vector<SendReportRow>& Rows() const { return m_rows; }
    bool Empty() const { return m_rows.empty(); }

    // Writes the report into the reports folder; its file name, or "" when it could not be
    // written (logged: a report never stops a send).
    std::wstring Write();

private:
    void AddRow(const std::wstring& recipient, const std::wstring& address, const wchar_t* outcome,
                std::wstring detail, std::wstring entryId = {});

    Services& m_services;
    std::wstring m_subject;
    OleDate m_started;
    std::vector<SendReportRow> m_rows;
};

}  // namespace plexa
