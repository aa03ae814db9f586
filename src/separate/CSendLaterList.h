// The send-later queue (gSendLaterList): copies of a grouped separate send that wait in Drafts
// for their due time, keyed by entry id. The queue lives in the registry as an append-only
// journal under the settings path, "\", the profile key and "\SendLaterList": values "item1",
// "item2", ... without gaps, each "+" and an entry text (queued with that due time) or "-" and an
// entry id (left the queue). Replaying the journal in number order rebuilds the queue; Save
// compacts it to the entries that remain.
//
// An entry text is the entry id, "\" and the due time's day number (local time) written with the
// user's decimal separator.
//
// Add and Remove append one journal value each, so both cost the same whatever the queue's
// size. Registry failures are logged and leave the queue correct in memory for this run.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/OleDate.h"

namespace plexa {

class Services;

class CSendLaterList {
public:
    explicit CSendLaterList(Services& services);
    CSendLaterList(const CSendLaterList&) = delete;
    CSendLaterList& operator=(const CSendLaterList&) = delete;

    // Sets the profile key (the entry id of the default store's top folder) and empties the
    // queue.
    void Init(const std::wstring& profile);
    // Rebuilds the queue from the registry journal.
    void Load();
    // Compacts the journal to the entries the queue holds now; false (logged) when the key could
    // not be rewritten.
    bool Save();
    // True when an entry is due (its time is not later than now).
    bool NeedSend();
    // The entry ids that are due, in queue order; at most maxCount of them unless it is 0.
    std::vector<std::wstring> GetSendList(int32_t maxCount = 0);
    // Queues a message for the due time (local); a message already queued takes the new time
    // and moves to the end of the order.
    void Add(OleDate sendTime, const std::wstring& entryId);
    // Takes a message out of the queue; nothing is written when it was not queued.
    void Remove(const std::wstring& entryId);
    // The earliest due time; now plus one month when the queue is empty.
    OleDate SendTime();
    // HKEY_CURRENT_USER path of the journal.
    std::wstring GetRegPath() const;

    const std::wstring& Profile() const { return m_sProfile; }
    // The number of queued messages.
    std::size_t Count() const { return m_entries.size(); }
    // The queued entry ids with their due times, in queue order (for the debug window and
    // tests).
    std::vector<std::pair<std::wstring, OleDate>> Entries() const;

private:
    struct Entry {
        std::wstring entryId;
        OleDate time;
    };
    std::wstring Item2Str(OleDate time, const std::wstring& entryId) const;
    bool Str2Item(const std::wstring& text, std::wstring& entryId, OleDate& time) const;
    void AddEntry(OleDate time, const std::wstring& entryId);
    bool RemoveEntry(const std::wstring& entryId);
    void SetSendTime(OleDate time) { m_sendTime = time; }
    void ClearSendTime() { m_sendTime.reset(); }
    // Appends one journal value; logs under the caller's source when the key cannot be opened.
    void WriteRecord(const std::wstring& record, const wchar_t* source);

    Services& m_services;
    std::wstring m_sProfile;
    std::list<Entry> m_entries;
    std::unordered_map<std::wstring, std::list<Entry>::iterator> m_index;
    int32_t m_nextIndex = 1;
    std::optional<OleDate> m_sendTime;
};

}  // namespace plexa
