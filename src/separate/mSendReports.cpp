#include "separate/mSendReports.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "settings/COptions.h"
#include "settings/CWinReg.h"
#include "settings/Services.h"
#include "settings/mFileUtils.h"
#include "settings/mGlobals.h"
#include "settings/mReduceLog.h"

namespace plexa::mSendReports {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kHeader[] = "Time,Recipient,Address,Outcome,Detail,Entry ID";
constexpr wchar_t kIndexKey[] = L"SendLaterReports";
constexpr wchar_t kSource[] = L"mSendReports";
// The longest subject part of a file name, so that the path stays well within Windows' limit.
constexpr std::size_t kMaxSubjectInName = 60;
// "2026-12-07 09.00.00": the send's time at the start of every report's name.
constexpr std::size_t kTimeLength = 19;

std::string Field(const std::wstring& value) {
    std::string text = text::ToUtf8(value);
    // A spreadsheet runs a cell starting with these as a formula: a recipient's name must stay
    // text.
    if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' ||
                          text[0] == '\t' || text[0] == '\r')) {
        text.insert(text.begin(), '\'');
    }
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::wstring Unescape(std::wstring value) {
    if (value.size() >= 2 && value[0] == L'\'' &&
        std::wstring_view(L"=+-@\t\r").find(value[1]) != std::wstring_view::npos) {
        value.erase(0, 1);
    }
    return value;
}

std::string Line(const std::wstring& time, const SendReportRow& row) {
    return Field(time) + "," + Field(row.recipient) + "," + Field(row.address) + "," +
           Field(row.outcome) + "," + Field(row.detail) + "," + Field(row.entryId) + "\r\n";
}

// Splits CSV text into records of fields; quoted fields may span lines.
std::vector<std::vector<std::wstring>> Records(const std::string& text) {
    std::vector<std::vector<std::wstring>> records;
    std::vector<std::wstring> fields;
    std::string field;
    bool quoted = false;
    bool any = false;
    std::size_t i = text.rfind(kBom, 0) == 0 ? 3 : 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            fields.push_back(Unescape(text::FromUtf8(field)));
            field.clear();
            any = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (any || !field.empty()) {
                fields.push_back(Unescape(text::FromUtf8(field)));
                records.push_back(std::move(fields));
            }
            fields.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.empty()) {
        fields.push_back(Unescape(text::FromUtf8(field)));
        records.push_back(std::move(fields));
    }
    return records;
}

std::wstring Two(int n) {
    return (n < 10 ? L"0" : L"") + std::to_wstring(n);
}

// "2026-12-07 14.05.09 Subject" with the characters a file name cannot hold replaced.
std::wstring FileStem(const std::wstring& subject, OleDate started) {
    std::wstring name = std::to_wstring(started.Year()) + L"-" + Two(started.Month()) + L"-" +
                        Two(started.Day()) + L" " + Two(started.Hour()) + L"." +
                        Two(started.Minute()) + L"." + Two(started.Second());
    std::wstring safe;
    for (wchar_t c : subject) {
        if (safe.size() >= kMaxSubjectInName) {
            break;
        }
        const bool bad = c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring::npos;
        safe += bad ? L'_' : c;
    }
    // Windows drops trailing dots and spaces from a name.
    while (!safe.empty() && (safe.back() == L'.' || safe.back() == L' ')) {
        safe.pop_back();
    }
    return safe.empty() ? name : name + L" " + safe;
}

bool Exists(const Platform& ports, const std::wstring& path) {
    return !ports.files.FindFiles(path).empty();
}

std::string ReadAll(const Platform& ports, const std::wstring& path) {
    auto file = ports.files.Open(path, FileAccess::Read, FileShareRead, FileCreation::OpenExisting);
    std::string data(static_cast<std::size_t>(file->Size()), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        const std::size_t n = file->Read(data.data() + done, data.size() - done);
        if (n == 0) {
            break;
        }
        done += n;
    }
    data.resize(done);
    return data;
}

// Writes a side file and renames it over the target: the report is whole, old or new.
void WriteAtomically(const Platform& ports, const std::wstring& path, const std::string& data) {
    const std::wstring side = path + L".tmp";
    {
        auto file =
            ports.files.Open(side, FileAccess::Write, FileShareNone, FileCreation::CreateAlways);
        file->Write(data.data(), data.size());
    }
    try {
        ports.files.MoveFile(side, path, true);
    } catch (const HostError&) {
        try {
            ports.files.DeleteFile(side);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the rename's error counts
        }
        throw;
    }
}

std::wstring IndexPath(Services& services, const std::wstring& profile) {
    return services.Options().GetRegPath() + L"\\" + profile + L"\\" + kIndexKey;
}

struct Report {
    std::wstring path;
    OleDate written;
    uint64_t size = 0;
    // The name without a " (n)" that a second report of the same second got, and n (1 without).
    std::wstring stem;
    int number = 1;
};

// "2026-12-07 09.00.00 News (2).csv" gives "2026-12-07 09.00.00 News" and 2.
void SplitName(const std::wstring& name, std::wstring& stem, int& number) {
    stem = name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
    number = 1;
    const std::size_t open = stem.rfind(L" (");
    if (open == std::wstring::npos || stem.back() != L')') {
        return;
    }
    const std::wstring digits = stem.substr(open + 2, stem.size() - open - 3);
    if (digits.empty() || digits.size() > 6 ||
        digits.find_first_not_of(L"0123456789") != std::wstring::npos) {
        return;
    }
    number = std::stoi(digits);
    stem.resize(open);
}

std::vector<Report> Reports(const Platform& ports, const std::wstring& folder) {
    std::vector<Report> reports;
    for (const FileFindData& found : ports.files.FindFiles(folder + L"\\*.csv")) {
        if (!found.directory) {
            Report report{folder + L"\\" + found.name, found.lastWriteUtc, found.size, L"", 1};
            SplitName(found.name, report.stem, report.number);
            reports.push_back(std::move(report));
        }
    }
    // Oldest send first: by the send's time the name starts with, then by the number a later
    // send of the same second got (a queue that completes a report later does not make it newer).
    std::sort(reports.begin(), reports.end(), [](const Report& a, const Report& b) {
        const std::wstring ta = a.stem.substr(0, kTimeLength);
        const std::wstring tb = b.stem.substr(0, kTimeLength);
        if (ta != tb) {
            return ta < tb;
        }
        if (a.number != b.number) {
            return a.number < b.number;
        }
        return a.written < b.written;
    });
    return reports;
}

}  // namespace

std::wstring Folder(const Platform& ports) {
    const std::wstring base = mReduceLog::LogBasePath(ports);
    return base.substr(0, base.rfind(L'\\')) + L"\\Reports";
}

std::wstring Summary(const std::vector<SendReportRow>& rows) {
    int32_t sent = 0;
    int32_t queued = 0;
    int32_t kept = 0;
    int32_t failed = 0;
    int32_t dropped = 0;
    for (const SendReportRow& row : rows) {
        if (row.outcome == report::kSent) {
            ++sent;
        } else if (row.outcome == report::kQueued) {
            ++queued;
        } else if (row.outcome == report::kKept) {
            ++kept;
        } else if (row.outcome == report::kFailed) {
            ++failed;
        } else if (row.outcome == report::kSentFromQueue) {
            ++sent;
            --queued;
        } else if (row.outcome == report::kDropped) {
            ++dropped;
            --queued;
        }
    }
    return std::to_wstring(sent) + L" sent, " + std::to_wstring(std::max(queued, 0)) +
           L" queued, " + std::to_wstring(kept) + L" kept in Drafts, " + std::to_wstring(failed) +
           L" failed, " + std::to_wstring(dropped) + L" dropped";
}

std::string ToCsv(const std::vector<SendReportRow>& rows) {
    std::string text = std::string(kBom) + kHeader + "\r\n";
    for (const SendReportRow& row : rows) {
        text += Line(row.time.ToIsoText(), row);
    }
    SendReportRow summary;
    summary.outcome = report::kSummary;
    summary.detail = Summary(rows);
    const OleDate last = rows.empty() ? OleDate() : rows.back().time;
    text += Line(rows.empty() ? L"" : last.ToIsoText(), summary);
    return text;
}

std::vector<SendReportRow> ParseCsv(const std::string& text) {
    std::vector<SendReportRow> rows;
    bool header = true;
    for (auto& fields : Records(text)) {
        if (header) {
            header = false;
            continue;
        }
        if (fields.size() < 5 || fields[3] == report::kSummary) {
            continue;
        }
        SendReportRow row;
        const std::wstring& time = fields[0];
        int y = 0;
        int mo = 0;
        int d = 0;
        int h = 0;
        int mi = 0;
        int s = 0;
        if (std::swscanf(time.c_str(), L"%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) == 6 &&
            y >= 100 && y <= 9999) {
            row.time = OleDate::FromParts(y, mo, d, h, mi, s);
        }
        row.recipient = fields[1];
        row.address = fields[2];
        row.outcome = fields[3];
        row.detail = fields[4];
        if (fields.size() > 5) {
            row.entryId = fields[5];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::wstring WriteNew(const Platform& ports, const std::wstring& subject, OleDate started,
                      const std::vector<SendReportRow>& rows) {
    const std::wstring folder = Folder(ports);
    if (!mFileUtils::CreateDirPath(ports, folder)) {
        throw HostError(76, L"Path not found", folder);
    }
    const std::wstring stem = FileStem(subject, started);
    // Sends of the same second are numbered in the order they were made, whatever their subjects.
    const std::size_t sameSecond =
        ports.files.FindFiles(folder + L"\\" + stem.substr(0, kTimeLength) + L"*.csv").size();
    int n = static_cast<int>(sameSecond) + 1;
    std::wstring name = n > 1 ? stem + L" (" + std::to_wstring(n) + L").csv" : stem + L".csv";
    while (Exists(ports, folder + L"\\" + name)) {
        name = stem + L" (" + std::to_wstring(++n) + L").csv";
    }
    WriteAtomically(ports, folder + L"\\" + name, ToCsv(rows));
    return name;
}

std::vector<SendReportRow> Read(const Platform& ports, const std::wstring& path) {
    return ParseCsv(ReadAll(ports, path));
}

void RememberQueued(Services& services, const std::wstring& profile, const std::wstring& entryId,
                    const std::wstring& reportName) {
    CWinReg key(services.Ports());
    if (profile.empty() ||
        !key.InitForWrite(CWinReg::HKEY_CURRENT_USER(), IndexPath(services, profile), true) ||
        !key.SetStringValue(entryId, reportName + L"\\" + entryId)) {
        mGlobals::LogError(kSource, 0, L"cannot note the report of a queued copy", entryId);
    }
}

void FollowQueued(Services& services, const std::wstring& profile, const std::wstring& oldId,
                  const std::wstring& newId) {
    CWinReg key(services.Ports());
    if (profile.empty() ||
        !key.InitForAllAccess(CWinReg::HKEY_CURRENT_USER(), IndexPath(services, profile), false)) {
        return;
    }
    const std::wstring name = key.GetStringValue(oldId);
    if (key.LastReadFailed() || name.empty()) {
        return;
    }
    if (!key.SetStringValue(newId, name)) {
        mGlobals::LogError(kSource, 0, L"cannot note the report of a queued copy", newId);
        return;
    }
    key.DeleteValue(oldId);
}

void AppendQueueOutcomes(Services& services, const std::wstring& profile,
                         const std::vector<QueueOutcome>& outcomes) {
    if (outcomes.empty() || profile.empty()) {
        return;
    }
    const Platform& ports = services.Ports();
    CWinReg key(ports);
    if (!key.InitForAllAccess(CWinReg::HKEY_CURRENT_USER(), IndexPath(services, profile), false)) {
        return;  // no queued copy has a report
    }
    // Report name, then each outcome with the id its copy was queued under (a server mailbox
    // renames a copy on its way through the Outbox).
    std::map<std::wstring, std::vector<std::pair<const QueueOutcome*, std::wstring>>> byReport;
    for (const QueueOutcome& outcome : outcomes) {
        const std::wstring value = key.GetStringValue(outcome.entryId);
        const std::size_t split = value.rfind(L'\\');
        if (!key.LastReadFailed() && split != std::wstring::npos && split > 0) {
            byReport[value.substr(0, split)].emplace_back(&outcome, value.substr(split + 1));
        }
    }
    const OleDate now = ports.clock.NowLocal();
    for (const auto& [name, list] : byReport) {
        try {
            const std::wstring path = Folder(ports) + L"\\" + name;
            std::vector<SendReportRow> rows = ParseCsv(ReadAll(ports, path));
            for (const auto& [outcome, queuedId] : list) {
                SendReportRow row;
                row.time = now;
                row.outcome = outcome->sent ? report::kSentFromQueue : report::kDropped;
                row.detail = outcome->detail;
                row.entryId = outcome->entryId;
                for (const SendReportRow& queued : rows) {
                    if (queued.outcome == report::kQueued &&
                        text::EqualsNoCase(queued.entryId, queuedId)) {
                        row.recipient = queued.recipient;
                        row.address = queued.address;
                    }
                }
                rows.push_back(std::move(row));
            }
            WriteAtomically(ports, path, ToCsv(rows));
        } catch (const HostError& e) {
            // Trimmed away or unreadable: the copies were still sent; the log says so.
            mGlobals::LogError(kSource, e, name);
        }
        for (const auto& entry : list) {
            key.DeleteValue(entry.first->entryId);
        }
    }
}

std::wstring Newest(const Platform& ports) {
    try {
        const auto reports = Reports(ports, Folder(ports));
        return reports.empty() ? L"" : reports.back().path;
    } catch (const HostError&) {
        return L"";
    }
}

void Trim(const Platform& ports, int64_t maxSize) {
    try {
        auto reports = Reports(ports, Folder(ports));
        uint64_t total = 0;
        for (const Report& r : reports) {
            total += r.size;
        }
        if (total <= static_cast<uint64_t>(std::max<int64_t>(maxSize, 0))) {
            return;
        }
        const auto target = static_cast<uint64_t>(std::max<int64_t>(maxSize, 0) / 2);
        for (std::size_t i = 0; i + 1 < reports.size() && total > target; ++i) {
            ports.files.DeleteFile(reports[i].path);
            total -= reports[i].size;
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mSendReports::Trim", e);
    }
}

}  // namespace plexa::mSendReports
