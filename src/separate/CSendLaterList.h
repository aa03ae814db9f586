// The send-later queue (gSendLaterList): copies of a grouped separate send that wait in Drafts
// for their due time, keyed by entry id. The queue lives in the registry as an append-only
// journal under the settings path, "\", the profile key and "\SendLaterList": values "item1",
// "item2", ..., each "+" and an entry text (queued with that due time) or "-" and an entry id
// (left the queue). Replaying the journal in number order rebuilds the queue; Save compacts it
// to the entries that remain.
//
// An entry text is the entry id, "\" and the due time's day number (local time) written with the
// user's decimal separator. Reading takes "." and "," alike, so a queue written under one locale
// loads under another.
//
// Loading is forgiving: a record that is not one (a junk value, an entry id that is not hex, a
// day number that does not convert or lies outside the calendar, a value longer than any record,
// a value of another name) is skipped with a line in the log, a missing number is logged as a gap
// and the records after it still load.
//
// Compaction survives a stop at any point. The compacted records go first to a sibling key,
// "SendLaterList.new"; then the profile key's value "SendLaterListKey" names that sibling as the
// journal in force (one registry write); then "SendLaterList" is written again, the value is
// deleted and the sibling goes. Load replays the key the value names, and finishes a compaction
// that a stop interrupted. While the sibling is in force, records are appended to it.
//
// Add and Remove append one journal value each and find entries through a hash index, the due
// entries through an index by time, so that a pass costs time in proportion to the copies it
// sends. Registry failures are logged (naming the entry id) and leave the queue correct in memory
// for this run; a record that could not be written takes no number, so the journal has no gap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/OleDate.h"

namespace plexa {

class Services;

class CSendLaterList {
public:
    // The longest entry id a record may carry, in hex digits (512 bytes: several times what any
    // store gives), and so the longest record.
    static constexpr std::size_t kMaxEntryIdLength = 1024;
    static constexpr std::size_t kMaxRecordLength = kMaxEntryIdLength + 64;

    explicit CSendLaterList(Services& services);
    CSendLaterList(const CSendLaterList&) = delete;
    CSendLaterList& operator=(const CSendLaterList&) = delete;

    // Sets the profile key (the entry id of the default store's top folder) and empties the
    // queue.
    void Init(const std::wstring& profile);
    // Rebuilds the queue from the registry journal, finishing an interrupted compaction.
    void Load();
    // Compacts the journal to the entries the queue holds now; false (logged) when the journal
    // could not be rewritten, which leaves a journal that still loads as the queue is.
    bool Save();
    // True when an entry is due (its time is not later than now).
    bool NeedSend();
    // The entry ids that are due, in queue order; at most maxCount of them unless it is 0.
    std::vector<std::wstring> GetSendList(int32_t maxCount = 0);
    // Queues a message for the due time (local); a message already queued takes the new time
    // and moves to the end of the order. An entry id that is not one, or a time outside the
    // calendar, is refused with an error in the log.
    void Add(OleDate sendTime, const std::wstring& entryId);
    // Takes a message out of the queue; nothing is written when it was not queued.
    void Remove(const std::wstring& entryId);
    // The earliest due time; now plus one month when the queue is empty.
    OleDate SendTime();
    // HKEY_CURRENT_USER path of the journal.
    std::wstring GetRegPath() const;

    // A queued message's due time; nothing when it is not queued.
    std::optional<OleDate> DueTime(const std::wstring& entryId) const;
    // Records in the journal in force (the number of the next one less one).
    int32_t JournalLength() const { return m_nextIndex - 1; }
    // True when compacting is worth its writes: the journal holds more than twice as many
    // records as the queue has entries, or a compaction was left unfinished.
    bool NeedsCompaction() const;

    const std::wstring& Profile() const { return m_sProfile; }
    // The number of queued messages.
    std::size_t Count() const { return m_entries.size(); }
    // The queued entry ids with their due times, in queue order (for the debug window and
    // tests).
    std::vector<std::pair<std::wstring, OleDate>> Entries() const;

    // The parts of a record, as Load reads them; exposed for tests and the fuzz target.
    // True when the text is an entry id: an even number of hex digits, at most
    // kMaxEntryIdLength.
    static bool IsEntryId(std::wstring_view text);
    // A day number written with "." or "," (or the given separator) as its decimal separator,
    // within the calendar (years 100 to 9999); nothing otherwise.
    static std::optional<OleDate> ParseDayNumber(std::wstring_view text, wchar_t separator);

private:
    struct Entry {
        std::wstring entryId;
        OleDate time;
        uint64_t order;  // rises with every entry added: the queue order
    };
    using EntryList = std::list<Entry>;
    // Where each entry is in the order and in time, by the upper-cased entry id.
    struct Where {
        EntryList::iterator entry;
        std::map<std::pair<double, uint64_t>, EntryList::iterator>::iterator byTime;
    };

    // How an entry text read: Logged when Str2Item wrote the failure to the log itself (a due
    // time that is no number or lies outside the calendar).
    enum class Parse { Ok, NotTwoParts, BadEntryId, Logged };
    std::wstring Item2Str(OleDate time, const std::wstring& entryId) const;
    Parse Str2Item(const std::wstring& text, std::wstring& entryId, OleDate& time) const;
    void AddEntry(OleDate time, const std::wstring& entryId);
    bool RemoveEntry(const std::wstring& entryId);
    void ClearEntries();

    std::wstring ParentPath() const;
    std::wstring SiblingPath() const;
    std::wstring JournalPath() const;
    // Replays the journal key at path; false when it does not exist.
    bool Replay(const std::wstring& path);
    void ReplayRecord(const std::wstring& valueName, const std::wstring& value);
    // Appends one journal value; logs under the caller's source, naming the entry id, when it
    // cannot be written.
    void WriteRecord(const std::wstring& record, const wchar_t* source,
                     const std::wstring& entryId);
    // Makes path a new, empty key and writes every entry into it as item1..itemN; false when any
    // step failed (what was written may then be partial).
    bool WriteCompacted(const std::wstring& path);
    // Deletes the key at path (with anything below it); true when it is gone.
    bool DeleteKey(const std::wstring& path);
    // The second half of a compaction: the queue's own key rewritten while the sibling is in
    // force, then the sibling retired.
    bool Swap();

    Services& m_services;
    std::wstring m_sProfile;
    EntryList m_entries;
    std::unordered_map<std::wstring, Where> m_index;
    std::map<std::pair<double, uint64_t>, EntryList::iterator> m_byTime;
    uint64_t m_nextOrder = 0;
    int32_t m_nextIndex = 1;
    // The sibling key holds the journal in force (a compaction is unfinished).
    bool m_inSibling = false;
};

}  // namespace plexa
