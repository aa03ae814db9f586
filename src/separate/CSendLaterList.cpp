#include "separate/CSendLaterList.h"

#include <algorithm>

#include "settings/CWinReg.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr wchar_t kKeyName[] = L"SendLaterList";

std::wstring ValueName(int32_t index) {
    return L"item" + std::to_wstring(index);
}

}  // namespace

CSendLaterList::CSendLaterList(Services& services) : m_services(services) {}

void CSendLaterList::Init(const std::wstring& profile) {
    m_sProfile = profile;
    m_entries.clear();
    m_index.clear();
    ClearSendTime();
    m_nextIndex = 1;
}

std::wstring CSendLaterList::GetRegPath() const {
    mGlobals::Assert(!m_sProfile.empty(), L"CSendLaterList::GetRegPath", L"Len(m_sProfile)>0");
    return m_services.Options().GetRegPath() + L"\\" + m_sProfile + L"\\" + kKeyName;
}

std::wstring CSendLaterList::Item2Str(OleDate time, const std::wstring& entryId) const {
    return entryId + L"\\" + time.ToText(m_services.Ports().locale);
}

bool CSendLaterList::Str2Item(const std::wstring& text, std::wstring& entryId,
                              OleDate& time) const {
    const auto cut = text.find(L'\\');
    if (cut == std::wstring::npos || text.find(L'\\', cut + 1) != std::wstring::npos) {
        return false;
    }
    const auto parsed = OleDate::FromText(text.substr(cut + 1), m_services.Ports().locale);
    if (!parsed) {
        mGlobals::LogError(L"CSendLaterList::Str2Item", vberr::TypeMismatch, L"Type mismatch",
                           text);
        return false;
    }
    entryId = text.substr(0, cut);
    time = *parsed;
    return true;
}

void CSendLaterList::AddEntry(OleDate time, const std::wstring& entryId) {
    RemoveEntry(entryId);
    m_entries.push_back(Entry{entryId, time});
    m_index.emplace(entryId, std::prev(m_entries.end()));
}

bool CSendLaterList::RemoveEntry(const std::wstring& entryId) {
    const auto found = m_index.find(entryId);
    if (found == m_index.end()) {
        return false;
    }
    m_entries.erase(found->second);
    m_index.erase(found);
    return true;
}

void CSendLaterList::Load() {
    Init(m_sProfile);
    CWinReg reg(m_services.Ports());
    if (!reg.InitForRead(CWinReg::HKEY_CURRENT_USER(), GetRegPath())) {
        return;
    }
    int32_t i = 1;
    for (;; ++i) {
        const std::wstring value = reg.GetStringValue(ValueName(i));
        if (value.empty()) {
            break;
        }
        const std::wstring rest = value.substr(1);
        if (value.front() == L'-') {
            RemoveEntry(rest);
        } else if (value.front() == L'+') {
            std::wstring entryId;
            OleDate time;
            if (Str2Item(rest, entryId, time)) {
                AddEntry(time, entryId);
            }
        } else {
            mGlobals::LogWarning(L"CSendLaterList::Load", L"ignoring bad regvalue-" + rest, 1);
        }
    }
    m_nextIndex = i;
}

void CSendLaterList::WriteRecord(const std::wstring& record, const wchar_t* source) {
    CWinReg reg(m_services.Ports());
    if (!reg.InitForWrite(CWinReg::HKEY_CURRENT_USER(), GetRegPath(), true)) {
        mGlobals::LogError(source, 0, L"oWR.InitForWrite failed");
        return;
    }
    reg.SetStringValue(ValueName(m_nextIndex), record);
    ++m_nextIndex;
}

void CSendLaterList::Add(OleDate sendTime, const std::wstring& entryId) {
    AddEntry(sendTime, entryId);
    if (SendTime() > sendTime) {
        SetSendTime(sendTime);
    }
    WriteRecord(L"+" + Item2Str(sendTime, entryId), L"CSendLaterList::Add");
}

void CSendLaterList::Remove(const std::wstring& entryId) {
    if (!RemoveEntry(entryId)) {
        return;
    }
    ClearSendTime();
    WriteRecord(L"-" + entryId, L"CSendLaterList::Remove");
}

OleDate CSendLaterList::SendTime() {
    if (m_sendTime) {
        return *m_sendTime;
    }
    if (m_entries.empty()) {
        return m_services.Ports().clock.NowLocal().DateAdd(L"m", 1);
    }
    OleDate earliest = m_entries.front().time;
    for (const Entry& entry : m_entries) {
        earliest = std::min(earliest, entry.time);
    }
    SetSendTime(earliest);
    return earliest;
}

bool CSendLaterList::NeedSend() {
    return !m_entries.empty() && SendTime() <= m_services.Ports().clock.NowLocal();
}

std::vector<std::wstring> CSendLaterList::GetSendList(int32_t maxCount) {
    std::vector<std::wstring> due;
    const OleDate now = m_services.Ports().clock.NowLocal();
    for (const Entry& entry : m_entries) {
        if (maxCount > 0 && std::cmp_greater_equal(due.size(), maxCount)) {
            break;
        }
        if (entry.time <= now) {
            due.push_back(entry.entryId);
        }
    }
    return due;
}

bool CSendLaterList::Save() {
    const std::wstring path = GetRegPath();
    const std::wstring parent = path.substr(0, path.rfind(L'\\'));
    CWinReg reg(m_services.Ports());
    if (reg.InitForRead(CWinReg::HKEY_CURRENT_USER(), path)) {
        reg.CloseKey();
        CWinReg parentKey(m_services.Ports());
        if (parentKey.InitForWrite(CWinReg::HKEY_CURRENT_USER(), parent, false)) {
            parentKey.DeleteKey(kKeyName);
        }
        if (reg.InitForRead(CWinReg::HKEY_CURRENT_USER(), path)) {
            mGlobals::LogError(L"CSendLaterList::Save", 0, L"Cant delete reg key");
            return false;
        }
    }
    if (!reg.InitForWrite(CWinReg::HKEY_CURRENT_USER(), path, true)) {
        mGlobals::LogError(L"CSendLaterList::Save", 0, L"Cant create reg key");
        return false;
    }
    int32_t i = 1;
    for (const Entry& entry : m_entries) {
        reg.SetStringValue(ValueName(i), L"+" + Item2Str(entry.time, entry.entryId));
        ++i;
    }
    m_nextIndex = i;
    return true;
}

std::vector<std::pair<std::wstring, OleDate>> CSendLaterList::Entries() const {
    std::vector<std::pair<std::wstring, OleDate>> out;
    out.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        out.emplace_back(entry.entryId, entry.time);
    }
    return out;
}

}  // namespace plexa
