#include "separate/CSendReport.h"

#include <utility>

#include "core/HostError.h"
#include "platform/Platform.h"
#include "separate/mSendReports.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

// The report must never stop a send: a clock that cannot be read gives the time read last.
OleDate Now(Services& services, OleDate fallback) {
    try {
        return services.Ports().clock.NowLocal();
    } catch (const HostError&) {
        return fallback;
    }
}

}  // namespace

CSendReport::CSendReport(Services& services, std::wstring subject)
    : m_services(services), m_subject(std::move(subject)), m_started(Now(services, OleDate())) {}

void CSendReport::AddRow(const std::wstring& recipient, const std::wstring& address,
                         const wchar_t* outcome, std::wstring detail, std::wstring entryId) {
    const OleDate last = m_rows.empty() ? m_started : m_rows.back().time;
    m_rows.push_back({Now(m_services, last), recipient, address, outcome, std::move(detail),
                      std::move(entryId)});
}

void CSendReport::Sent(const std::wstring& recipient, const std::wstring& address) {
    AddRow(recipient, address, report::kSent, L"");
}

void CSendReport::Queued(const std::wstring& recipient, const std::wstring& address, OleDate due,
                         const std::wstring& entryId) {
    AddRow(recipient, address, report::kQueued, L"for " + due.ToIsoText(), entryId);
}

void CSendReport::Kept(const std::wstring& recipient, const std::wstring& address,
                       const std::wstring& emptyToken) {
    AddRow(recipient, address, report::kKept,
           emptyToken.empty() ? L"as asked" : L"because " + emptyToken + L" was empty");
}

void CSendReport::Failed(const std::wstring& recipient, const std::wstring& address,
                         const std::wstring& error) {
    AddRow(recipient, address, report::kFailed, error);
}

std::wstring CSendReport::Write() {
    try {
        return mSendReports::WriteNew(m_services.Ports(), m_subject, m_started, m_rows);
    } catch (const HostError& e) {
        mGlobals::LogError(L"CSendReport::Write", e, m_subject);
        return L"";
    }
}

}  // namespace plexa
