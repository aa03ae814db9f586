#include "separate/CSendLaterList.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/Text.h"
#include "settings/CWinReg.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr wchar_t kKeyName[] = L"SendLaterList";
// The compacted copy, and the profile key's value that names it while it is the journal in
// force.
constexpr wchar_t kSiblingName[] = L"SendLaterList.new";
constexpr wchar_t kPointerName[] = L"SendLaterListKey";
constexpr wchar_t kLoad[] = L"CSendLaterList::Load";
constexpr wchar_t kSave[] = L"CSendLaterList::Save";
constexpr wchar_t kStr2Item[] = L"CSendLaterList::Str2Item";
// Journal numbers have at most nine digits, so the next one always fits.
constexpr int32_t kMaxIndex = 999999999;
// The calendar's day numbers: 1 January 100 to the end of 31 December 9999.
constexpr double kFirstDay = -657434.0;
constexpr double kDayAfterLast = 2958466.0;
// A log line quotes at most this much of a bad value.
constexpr std::size_t kQuoted = 80;
// The longest day number text read (ToText writes at most about 25 characters).
constexpr std::size_t kMaxDayNumberLength = 64;

std::wstring ValueName(int32_t index) {
    return L"item" + std::to_wstring(index);
}

// The number of a journal value's name ("item12" gives 12); nothing for any other name,
// including numbers written with a leading zero.
std::optional<int32_t> ItemNumber(const std::wstring& name) {
    constexpr std::size_t kPrefix = 4;
    if (name.size() <= kPrefix || name.size() > kPrefix + 9 ||
        !text::EqualsNoCase(std::wstring_view(name).substr(0, kPrefix), L"item") ||
        name[kPrefix] == L'0') {
        return std::nullopt;
    }
    int32_t n = 0;
    for (std::size_t i = kPrefix; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        n = n * 10 + static_cast<int32_t>(c - L'0');
    }
    return n;
}

std::wstring Quoted(std::wstring_view text) {
    if (text.size() <= kQuoted) {
        return std::wstring(text);
    }
    return std::wstring(text.substr(0, kQuoted)) + L"... (" + std::to_wstring(text.size()) +
           L" characters)";
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}

// The index's key of an entry id: its hex digits in upper case.
std::wstring KeyOf(std::wstring_view entryId) {
    std::wstring key(entryId);
    for (wchar_t& c : key) {
        if (c >= L'a' && c <= L'f') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return key;
}

bool InCalendar(double day) {
    return day >= kFirstDay && day < kDayAfterLast;
}

// A number as ToText writes it under any locale: an optional minus, digits with at most one
// decimal separator ("." or "," or the user's own), an optional exponent ("1E-05").
std::optional<double> ParseNumber(std::wstring_view text, wchar_t separator) {
    if (text.empty() || text.size() > kMaxDayNumberLength) {
        return std::nullopt;
    }
    std::string ascii;
    ascii.reserve(text.size());
    bool point = false;
    bool exponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            ascii.push_back(static_cast<char>(c));
        } else if (c == L'-' && (i == 0 || (exponent && (ascii.back() == 'e')))) {
            ascii.push_back('-');
        } else if (c == L'+' && exponent && ascii.back() == 'e') {
            ascii.push_back('+');
        } else if ((c == L'.' || c == L',' || c == separator) && !point && !exponent) {
            ascii.push_back('.');
            point = true;
        } else if ((c == L'E' || c == L'e') && !exponent && !ascii.empty() && ascii.back() != '-') {
            ascii.push_back('e');
            exponent = true;
        } else {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

CSendLaterList::CSendLaterList(Services& services) : m_services(services) {}

void CSendLaterList::Init(const std::wstring& profile) {
    m_sProfile = profile;
    ClearEntries();
    m_nextIndex = 1;
    m_inSibling = false;
}

void CSendLaterList::ClearEntries() {
    m_entries.clear();
    m_index.clear();
    m_byTime.clear();
}

std::wstring CSendLaterList::GetRegPath() const {
    mGlobals::Assert(!m_sProfile.empty(), L"CSendLaterList::GetRegPath", L"Len(m_sProfile)>0");
    return ParentPath() + L"\\" + kKeyName;
}

std::wstring CSendLaterList::ParentPath() const {
    return m_services.Options().GetRegPath() + L"\\" + m_sProfile;
}

std::wstring CSendLaterList::SiblingPath() const {
    return ParentPath() + L"\\" + kSiblingName;
}

std::wstring CSendLaterList::JournalPath() const {
    return m_inSibling ? SiblingPath() : GetRegPath();
}

// ---- Entry texts ---------------------------------------------------------------------------

bool CSendLaterList::IsEntryId(std::wstring_view text) {
    return !text.empty() && text.size() % 2 == 0 && text.size() <= kMaxEntryIdLength &&
           std::all_of(text.begin(), text.end(), IsHexDigit);
}

std::optional<OleDate> CSendLaterList::ParseDayNumber(std::wstring_view text, wchar_t separator) {
    const auto day = ParseNumber(text, separator);
    if (!day || !InCalendar(*day)) {
        return std::nullopt;
    }
    return OleDate(*day);
}

std::wstring CSendLaterList::Item2Str(OleDate time, const std::wstring& entryId) const {
    return entryId + L"\\" + time.ToText(m_services.Ports().locale);
}

CSendLaterList::Parse CSendLaterList::Str2Item(const std::wstring& text, std::wstring& entryId,
                                               OleDate& time) const {
    const auto cut = text.find(L'\\');
    if (cut == std::wstring::npos || text.find(L'\\', cut + 1) != std::wstring::npos) {
        return Parse::NotTwoParts;
    }
    const std::wstring_view id = std::wstring_view(text).substr(0, cut);
    if (!IsEntryId(id)) {
        return Parse::BadEntryId;
    }
    const auto day = ParseNumber(std::wstring_view(text).substr(cut + 1),
                                 m_services.Ports().locale.decimalSeparator);
    if (!day) {
        mGlobals::LogError(kStr2Item, vberr::TypeMismatch, L"Type mismatch", Quoted(text));
        return Parse::Logged;
    }
    if (!InCalendar(*day)) {
        mGlobals::LogError(kStr2Item, vberr::Overflow, L"Overflow", Quoted(text));
        return Parse::Logged;
    }
    entryId = std::wstring(id);
    time = OleDate(*day);
    return Parse::Ok;
}

// ---- The entries ---------------------------------------------------------------------------

void CSendLaterList::AddEntry(OleDate time, const std::wstring& entryId) {
    RemoveEntry(entryId);
    m_entries.push_back(Entry{entryId, time, m_nextOrder++});
    const auto entry = std::prev(m_entries.end());
    const auto byTime = m_byTime.emplace(std::make_pair(time.Value(), entry->order), entry).first;
    m_index.emplace(KeyOf(entryId), Where{entry, byTime});
}

bool CSendLaterList::RemoveEntry(const std::wstring& entryId) {
    const auto found = m_index.find(KeyOf(entryId));
    if (found == m_index.end()) {
        return false;
    }
    m_byTime.erase(found->second.byTime);
    m_entries.erase(found->second.entry);
    m_index.erase(found);
    return true;
}

std::optional<OleDate> CSendLaterList::DueTime(const std::wstring& entryId) const {
    const auto found = m_index.find(KeyOf(entryId));
    if (found == m_index.end()) {
        return std::nullopt;
    }
    return found->second.entry->time;
}

std::vector<std::pair<std::wstring, OleDate>> CSendLaterList::Entries() const {
    std::vector<std::pair<std::wstring, OleDate>> out;
    out.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        out.emplace_back(entry.entryId, entry.time);
    }
    return out;
}

OleDate CSendLaterList::SendTime() {
    if (m_byTime.empty()) {
        return m_services.Ports().clock.NowLocal().DateAdd(L"m", 1);
    }
    return OleDate(m_byTime.begin()->first.first);
}

bool CSendLaterList::NeedSend() {
    return !m_entries.empty() && SendTime() <= m_services.Ports().clock.NowLocal();
}

std::vector<std::wstring> CSendLaterList::GetSendList(int32_t maxCount) {
    const double now = m_services.Ports().clock.NowLocal().Value();
    // The due entries come from the time index; their queue order is restored by sorting only
    // them.
    std::vector<EntryList::const_iterator> due;
    for (auto it = m_byTime.begin(); it != m_byTime.end() && it->first.first <= now; ++it) {
        due.push_back(it->second);
    }
    std::sort(due.begin(), due.end(),
              [](const auto& a, const auto& b) { return a->order < b->order; });
    if (maxCount > 0 && std::cmp_greater(due.size(), maxCount)) {
        due.resize(static_cast<std::size_t>(maxCount));
    }
    std::vector<std::wstring> ids;
    ids.reserve(due.size());
    for (const auto& entry : due) {
        ids.push_back(entry->entryId);
    }
    return ids;
}

bool CSendLaterList::NeedsCompaction() const {
    return m_inSibling || static_cast<int64_t>(JournalLength()) > 2 * static_cast<int64_t>(Count());
}

// ---- Loading -------------------------------------------------------------------------------

void CSendLaterList::Load() {
    Init(m_sProfile);
    const std::wstring path = GetRegPath();
    bool sibling = false;
    {
        CWinReg parent(m_services.Ports());
        if (parent.InitForRead(CWinReg::HKEY_CURRENT_USER(), ParentPath())) {
            const std::wstring pointer = parent.GetStringValue(kPointerName);
            sibling = text::EqualsNoCase(pointer, kSiblingName);
            if (!pointer.empty() && !sibling) {
                mGlobals::LogWarning(
                    kLoad, std::wstring(L"ignoring ") + kPointerName + L" = " + Quoted(pointer), 1);
            }
        }
    }
    if (sibling) {
        if (Replay(SiblingPath())) {
            // A compaction stopped after its copy was complete: the copy is the journal.
            m_inSibling = true;
            mGlobals::LogWarning(kLoad, L"finishing the compaction of the queue that was stopped",
                                 1);
            Swap();
            return;
        }
        mGlobals::LogWarning(
            kLoad, std::wstring(kPointerName) + L" names a key that is missing: " + SiblingPath(),
            1);
    }
    Replay(path);
}

bool CSendLaterList::Replay(const std::wstring& path) {
    CWinReg key(m_services.Ports());
    if (!key.InitForRead(CWinReg::HKEY_CURRENT_USER(), path)) {
        return false;
    }
    // Every value by name, replayed in number order: a gap does not end the journal.
    std::vector<std::pair<int32_t, std::wstring>> records;
    for (int32_t i = 0;; ++i) {
        std::wstring name;
        const int32_t status = key.ValueName(i, name);
        if (status == reg::ErrorNoMoreItems) {
            break;
        }
        if (status != reg::ErrorSuccess) {
            mGlobals::LogWarning(
                kLoad, L"the journal could not be read past " + std::to_wstring(i) + L" values", 1);
            break;
        }
        if (const auto n = ItemNumber(name)) {
            records.emplace_back(*n, std::move(name));
        } else {
            mGlobals::LogWarning(kLoad, L"ignoring regvalue \"" + Quoted(name) + L"\"", 1);
        }
    }
    std::sort(records.begin(), records.end());
    int32_t expected = 1;
    for (const auto& [n, name] : records) {
        if (n > expected) {
            mGlobals::LogWarning(kLoad,
                                 n == expected + 1
                                     ? L"journal value " + ValueName(expected) + L" is missing"
                                     : L"journal values " + ValueName(expected) + L" to " +
                                           ValueName(n - 1) + L" are missing",
                                 1);
        }
        expected = n + 1;
        ReplayRecord(name, key.GetStringValue(name));
    }
    m_nextIndex = expected;
    return true;
}

void CSendLaterList::ReplayRecord(const std::wstring& valueName, const std::wstring& value) {
    if (value.empty()) {
        mGlobals::LogWarning(kLoad, L"ignoring empty regvalue " + valueName, 1);
        return;
    }
    if (value.size() > kMaxRecordLength) {
        mGlobals::LogWarning(
            kLoad,
            L"ignoring regvalue " + valueName + L", longer than any record: " + Quoted(value), 1);
        return;
    }
    const std::wstring rest = value.substr(1);
    if (value.front() == L'-') {
        if (IsEntryId(rest)) {
            RemoveEntry(rest);
        } else {
            mGlobals::LogWarning(
                kLoad,
                L"ignoring regvalue " + valueName + L", no entry id after \"-\": " + Quoted(value),
                1);
        }
        return;
    }
    if (value.front() != L'+') {
        mGlobals::LogWarning(kLoad, L"ignoring bad regvalue-" + rest, 1);
        return;
    }
    std::wstring entryId;
    OleDate time;
    switch (Str2Item(rest, entryId, time)) {
        case Parse::Ok:
            AddEntry(time, entryId);
            break;
        case Parse::NotTwoParts:
            mGlobals::LogWarning(kLoad,
                                 L"ignoring regvalue " + valueName +
                                     L", not an entry id, \"\\\" and a due time: " + Quoted(value),
                                 1);
            break;
        case Parse::BadEntryId:
            mGlobals::LogWarning(
                kLoad,
                L"ignoring regvalue " + valueName + L", no entry id after \"+\": " + Quoted(value),
                1);
            break;
        case Parse::Logged:
            break;
    }
}

// ---- Writing -------------------------------------------------------------------------------

void CSendLaterList::WriteRecord(const std::wstring& record, const wchar_t* source,
                                 const std::wstring& entryId) {
    CWinReg key(m_services.Ports());
    // Without a profile key (no default store was found) there is no journal to write to.
    if (m_sProfile.empty() ||
        !key.InitForWrite(CWinReg::HKEY_CURRENT_USER(), JournalPath(), true)) {
        mGlobals::LogError(source, 0, L"oWR.InitForWrite failed", entryId);
        return;
    }
    if (m_nextIndex > kMaxIndex) {
        mGlobals::LogError(source, 0, L"the journal is full", entryId);
        return;
    }
    // A value that was not written takes no number, so that no gap opens before the next one.
    if (!key.SetStringValue(ValueName(m_nextIndex), record)) {
        mGlobals::LogError(source, 0, L"oWR.SetStringValue failed",
                           ValueName(m_nextIndex) + L" " + entryId);
        return;
    }
    ++m_nextIndex;
}

void CSendLaterList::Add(OleDate sendTime, const std::wstring& entryId) {
    if (!IsEntryId(entryId)) {
        mGlobals::LogError(L"CSendLaterList::Add", vberr::InvalidProcedureCall,
                           L"Invalid procedure call", L"not an entry id: " + Quoted(entryId));
        return;
    }
    if (!InCalendar(sendTime.Value())) {
        mGlobals::LogError(L"CSendLaterList::Add", vberr::InvalidProcedureCall,
                           L"Invalid procedure call", L"no due time for " + entryId);
        return;
    }
    AddEntry(sendTime, entryId);
    WriteRecord(L"+" + Item2Str(sendTime, entryId), L"CSendLaterList::Add", entryId);
}

void CSendLaterList::Remove(const std::wstring& entryId) {
    if (!RemoveEntry(entryId)) {
        return;
    }
    WriteRecord(L"-" + entryId, L"CSendLaterList::Remove", entryId);
}

// ---- Compaction ----------------------------------------------------------------------------

bool CSendLaterList::DeleteKey(const std::wstring& path) {
    CWinReg probe(m_services.Ports());
    if (!probe.InitForRead(CWinReg::HKEY_CURRENT_USER(), path)) {
        return true;
    }
    probe.CloseKey();
    const auto cut = path.rfind(L'\\');
    CWinReg parent(m_services.Ports());
    if (parent.InitForWrite(CWinReg::HKEY_CURRENT_USER(), path.substr(0, cut), false)) {
        parent.DeleteKeyRec(path.substr(cut + 1));
    }
    return !probe.InitForRead(CWinReg::HKEY_CURRENT_USER(), path);
}

bool CSendLaterList::WriteCompacted(const std::wstring& path) {
    if (!DeleteKey(path)) {
        mGlobals::LogError(kSave, 0, L"Cant delete reg key", path);
        return false;
    }
    CWinReg key(m_services.Ports());
    if (!key.InitForWrite(CWinReg::HKEY_CURRENT_USER(), path, true)) {
        mGlobals::LogError(kSave, 0, L"Cant create reg key", path);
        return false;
    }
    // Only a new, empty key will do: records left from before would mix with the new ones.
    std::wstring first;
    if (key.ValueName(0, first) != reg::ErrorNoMoreItems) {
        mGlobals::LogError(kSave, 0, L"Cant delete reg key", path);
        return false;
    }
    int32_t i = 1;
    for (const Entry& entry : m_entries) {
        if (!key.SetStringValue(ValueName(i), L"+" + Item2Str(entry.time, entry.entryId))) {
            mGlobals::LogError(kSave, 0, L"Cant write reg value", path + L"\\" + ValueName(i));
            return false;
        }
        ++i;
    }
    return true;
}

bool CSendLaterList::Save() {
    if (m_sProfile.empty()) {
        GetRegPath();  // asserts
        return false;
    }
    if (!m_inSibling) {
        // The queue's own key stays the journal in force until its compacted copy is complete.
        CWinReg parent(m_services.Ports());
        if (!parent.InitForWrite(CWinReg::HKEY_CURRENT_USER(), ParentPath(), true)) {
            mGlobals::LogError(kSave, 0, L"Cant create reg key", ParentPath());
            return false;
        }
        if (!parent.GetStringValue(kPointerName).empty() && !parent.DeleteValue(kPointerName)) {
            mGlobals::LogError(kSave, 0, L"Cant delete reg value", kPointerName);
            return false;
        }
        if (!WriteCompacted(SiblingPath())) {
            DeleteKey(SiblingPath());
            return false;
        }
        // One write hands the journal over to the copy.
        if (!parent.SetStringValue(kPointerName, kSiblingName)) {
            mGlobals::LogError(kSave, 0, L"Cant write reg value", kPointerName);
            DeleteKey(SiblingPath());
            return false;
        }
        m_inSibling = true;
        m_nextIndex = static_cast<int32_t>(Count()) + 1;
    }
    return Swap();
}

bool CSendLaterList::Swap() {
    // The copy is in force: the queue's own key may be rewritten, and takes over again when
    // the value naming the copy is gone.
    if (!WriteCompacted(GetRegPath())) {
        return false;
    }
    CWinReg parent(m_services.Ports());
    if (!parent.InitForWrite(CWinReg::HKEY_CURRENT_USER(), ParentPath(), false) ||
        !parent.DeleteValue(kPointerName)) {
        mGlobals::LogError(kSave, 0, L"Cant delete reg value", kPointerName);
        return false;
    }
    m_inSibling = false;
    m_nextIndex = static_cast<int32_t>(Count()) + 1;
    if (!DeleteKey(SiblingPath())) {
        // Nothing names it any more; the next compaction replaces it.
        mGlobals::LogWarning(kSave, L"Cant delete reg key " + SiblingPath(), 1);
    }
    return true;
}

}  // namespace plexa
