// The send-later queue and its registry journal: replay, append-only records, compaction that
// survives a stop anywhere, the due times under any decimal separator, and journals that hold
// what no queue wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestWorld.h"
#include "core/OleDate.h"
#include "platform/IRegistry.h"
#include "separate/CSendLaterList.h"
#include "settings/CWinReg.h"
#include "settings/LogEntry.h"

namespace plexa {
namespace {

constexpr const wchar_t* kProfile = L"0000000038A1BB1005E5101AA1BB08002B2A56C2";
constexpr const wchar_t* kProfileKey =
    L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa\\0000000038A1BB1005E5101AA1BB08002B2A56C2";
const std::wstring kJournal = std::wstring(kProfileKey) + L"\\SendLaterList";
const std::wstring kSibling = std::wstring(kProfileKey) + L"\\SendLaterList.new";

// Entry ids as a personal-folders store writes them.
std::wstring Id(int n) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"00000000B7A1F3C2D4E5461A8C9B0D1E%016X", n);
    return buffer;
}

const OleDate kNow = OleDate::FromParts(2026, 12, 6, 9, 0);

OleDate Minutes(int m) {
    return kNow.DateAdd(L"n", m);
}

// Due times come back from the journal to the 15 digits they are written with.
::testing::AssertionResult Near(std::optional<OleDate> actual, OleDate expected) {
    if (actual && std::abs(actual->Value() - expected.Value()) < 1e-9) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << (actual ? std::to_string(actual->Value()) : std::string("nothing")) << " is not "
           << std::to_string(expected.Value());
}

class SendLaterListTest : public ::testing::Test {
protected:
    SendLaterListTest() { world.sim.clock.SetLocal(kNow); }

    // A queue as the add-in makes one at connection: keyed and loaded.
    std::unique_ptr<CSendLaterList> Loaded() {
        auto queue = std::make_unique<CSendLaterList>(world.services);
        queue->Init(kProfile);
        queue->Load();
        return queue;
    }
    // A text value below HKEY_CURRENT_USER, read as the add-in reads it.
    std::wstring Value(const std::wstring& key, const std::wstring& name) const {
        CWinReg reg(world.services.Ports());
        const std::wstring root = L"HKEY_CURRENT_USER\\";
        return reg.InitForRead(CWinReg::HKEY_CURRENT_USER(), key.substr(root.size()))
                   ? reg.GetStringValue(name)
                   : L"";
    }
    std::vector<std::wstring> JournalValues() const {
        std::vector<std::wstring> out;
        for (const auto& name : world.sim.registry.ValueNames(kJournal)) {
            out.push_back(name + L"=" + Value(kJournal, name));
        }
        return out;
    }
    void Put(const std::wstring& name, const std::wstring& value) {
        world.sim.registry.PutString(kJournal, name, value);
    }
    static std::vector<std::wstring> Ids(const CSendLaterList& queue) {
        std::vector<std::wstring> out;
        for (const auto& [id, time] : queue.Entries()) {
            out.push_back(id);
        }
        return out;
    }
    // Log lines of the queue's own sources at warning level or above.
    std::vector<LogEntry> Complaints() const {
        std::vector<LogEntry> out;
        for (const auto& e : world.log.entries) {
            if (e.level != LogLevel::Debug && e.source.starts_with(L"CSendLaterList::")) {
                out.push_back(e);
            }
        }
        return out;
    }
    int Mentions(const std::wstring& part) const {
        const auto all = Complaints();
        return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const LogEntry& e) {
            return e.text.find(part) != std::wstring::npos;
        }));
    }

    test::TestWorld world;
};

TEST_F(SendLaterListTest, TheJournalReplaysInOrderAndTheLaterRecordWins) {
    {
        auto queue = Loaded();
        EXPECT_EQ(queue->GetRegPath(),
                  std::wstring(L"Software\\Orvin\\Plexa\\") + kProfile + L"\\SendLaterList");
        queue->Add(Minutes(15), Id(1));
        queue->Add(Minutes(15), Id(2));
        queue->Add(Minutes(30), Id(3));
        queue->Remove(Id(2));
        queue->Remove(Id(9));  // not queued: nothing written
        // Queued again: the new time replaces the old one, and the entry moves to the end.
        queue->Add(Minutes(45), Id(1));
        EXPECT_EQ(queue->JournalLength(), 5);
    }
    EXPECT_EQ(JournalValues(),
              (std::vector<std::wstring>{L"item1=+" + Id(1) + L"\\" + Minutes(15).ToText(),
                                         L"item2=+" + Id(2) + L"\\" + Minutes(15).ToText(),
                                         L"item3=+" + Id(3) + L"\\" + Minutes(30).ToText(),
                                         L"item4=-" + Id(2),
                                         L"item5=+" + Id(1) + L"\\" + Minutes(45).ToText()}));

    auto queue = Loaded();
    EXPECT_EQ(Ids(*queue), (std::vector<std::wstring>{Id(3), Id(1)}));
    EXPECT_TRUE(Near(queue->DueTime(Id(1)), Minutes(45)));
    EXPECT_TRUE(Near(queue->SendTime(), Minutes(30)));
    // Entry ids are hex: the journal's letter case does not matter.
    std::wstring lower = Id(3);
    std::transform(lower.begin(), lower.end(), lower.begin(), ::towlower);
    EXPECT_TRUE(Near(queue->DueTime(lower), Minutes(30)));

    EXPECT_TRUE(Complaints().empty());
}

TEST_F(SendLaterListTest, AnEntryTakenOutByTheNextValueLoadsEmptyAndTheJournalGoesOn) {
    Put(L"item1", L"+" + Id(7) + L"\\46000.5");
    Put(L"item2", L"-" + Id(7));
    auto queue = Loaded();
    EXPECT_EQ(queue->Count(), 0U);
    queue->Add(Minutes(5), Id(8));
    EXPECT_EQ(Value(kJournal, L"item3"), L"+" + Id(8) + L"\\" + Minutes(5).ToText());
    EXPECT_TRUE(Complaints().empty());
}

TEST_F(SendLaterListTest, WhatIsDueComesInQueueOrderAndAnEmptyQueueWaitsAMonth) {
    auto queue = Loaded();
    EXPECT_EQ(queue->SendTime(), kNow.DateAdd(L"m", 1));
    EXPECT_FALSE(queue->NeedSend());
    EXPECT_TRUE(queue->GetSendList().empty());

    queue->Add(Minutes(30), Id(1));
    queue->Add(Minutes(10), Id(2));
    queue->Add(Minutes(20), Id(3));
    queue->Add(Minutes(10), Id(4));
    EXPECT_EQ(queue->SendTime(), Minutes(10));
    EXPECT_FALSE(queue->NeedSend());
    world.sim.clock.SetLocal(Minutes(20));
    EXPECT_TRUE(queue->NeedSend());
    EXPECT_EQ(queue->GetSendList(), (std::vector<std::wstring>{Id(2), Id(3), Id(4)}));
    EXPECT_EQ(queue->GetSendList(2), (std::vector<std::wstring>{Id(2), Id(3)}));
    // Taking the earliest out moves the earliest time on.
    queue->Remove(Id(2));
    queue->Remove(Id(4));
    EXPECT_EQ(queue->SendTime(), Minutes(20));
    queue->Remove(Id(3));
    EXPECT_FALSE(queue->NeedSend());
    EXPECT_EQ(queue->SendTime(), Minutes(30));
    queue->Remove(Id(1));
    EXPECT_EQ(queue->SendTime(), Minutes(20).DateAdd(L"m", 1));
    EXPECT_FALSE(queue->NeedSend());
}

TEST_F(SendLaterListTest, CompactionLeavesExactlyTheRemainingEntriesNumberedFromOne) {
    auto queue = Loaded();
    for (int i = 1; i <= 5; ++i) {
        queue->Add(Minutes(i), Id(i));
    }
    EXPECT_FALSE(queue->NeedsCompaction());
    // A pass that sent two of five.
    queue->Remove(Id(2));
    queue->Remove(Id(4));
    EXPECT_TRUE(queue->NeedsCompaction());  // 7 records for 3 entries
    ASSERT_TRUE(queue->Save());
    EXPECT_EQ(JournalValues(),
              (std::vector<std::wstring>{L"item1=+" + Id(1) + L"\\" + Minutes(1).ToText(),
                                         L"item2=+" + Id(3) + L"\\" + Minutes(3).ToText(),
                                         L"item3=+" + Id(5) + L"\\" + Minutes(5).ToText()}));
    // Nothing of the compaction stays behind.
    EXPECT_FALSE(world.sim.registry.KeyExists(kSibling));
    EXPECT_EQ(world.sim.registry.ValueNames(kProfileKey), std::vector<std::wstring>{});
    EXPECT_EQ(queue->JournalLength(), 3);
    queue->Add(Minutes(6), Id(6));
    EXPECT_EQ(Value(kJournal, L"item4"), L"+" + Id(6) + L"\\" + Minutes(6).ToText());
    EXPECT_EQ(Ids(*Loaded()), (std::vector<std::wstring>{Id(1), Id(3), Id(5), Id(6)}));

    // An emptied queue compacts to an empty key.
    for (const auto& id : Ids(*queue)) {
        queue->Remove(id);
    }
    EXPECT_TRUE(queue->NeedsCompaction());
    ASSERT_TRUE(queue->Save());
    EXPECT_TRUE(world.sim.registry.KeyExists(kJournal));
    EXPECT_TRUE(JournalValues().empty());
    EXPECT_TRUE(Complaints().empty());
}

TEST_F(SendLaterListTest, DueTimesReadBackUnderEitherDecimalSeparator) {
    const OleDate due = OleDate(46362.5208333333);  // 2026-12-06 12:30
    // Written under a locale with a decimal comma, as the user's settings say.
    world.services.Ports().locale.decimalSeparator = L',';
    world.services.Ports().locale.thousandSeparator = L'.';
    Loaded()->Add(due, Id(1));
    EXPECT_EQ(Value(kJournal, L"item1"), L"+" + Id(1) + L"\\46362,5208333333");
    // A record from a decimal point reads right under the comma locale, whose thousands
    // separator is the point: 46362.75 is not 4636275.
    Put(L"item2", L"+" + Id(2) + L"\\46362.75");
    auto comma = Loaded();
    EXPECT_EQ(comma->DueTime(Id(1)), due);
    EXPECT_EQ(comma->DueTime(Id(2)), OleDate(46362.75));

    world.services.Ports().locale.decimalSeparator = L'.';
    world.services.Ports().locale.thousandSeparator = L',';
    auto point = Loaded();
    EXPECT_EQ(point->DueTime(Id(1)), due);
    EXPECT_EQ(point->DueTime(Id(2)), OleDate(46362.75));
    // Numbers as the host writes them: negative days, an exponent, a bare whole number.
    EXPECT_EQ(CSendLaterList::ParseDayNumber(L"-1,25", L'.'), OleDate(-1.25));
    EXPECT_EQ(CSendLaterList::ParseDayNumber(L"1E-05", L'.'), OleDate(0.00001));
    EXPECT_EQ(CSendLaterList::ParseDayNumber(L"46362", L','), OleDate(46362));
    // Nothing that is not one number.
    for (const wchar_t* bad : {L"", L"1.5.2", L"1,5.2", L"46,362.5", L" 46362", L"4636e", L"+5",
                               L"1e400", L"nan", L"0x10", L"12:30"}) {
        EXPECT_FALSE(CSendLaterList::ParseDayNumber(bad, L'.')) << bad;
    }
    EXPECT_TRUE(Complaints().empty());
}

TEST_F(SendLaterListTest, BadRecordsAreSkippedWithALineEachAndTheRestLoads) {
    const std::wstring good = L"\\46362.5";
    Put(L"item1", L"+" + Id(1) + good);
    Put(L"item2", L"xyz");                        // neither "+" nor "-"
    Put(L"item3", L"+" + Id(3) + L"\\soon");      // no number
    Put(L"item4", L"+" + Id(4) + L"\\99999999");  // past the year 9999
    Put(L"item5", L"+NOTHEX12" + good);           // not an entry id
    // item6 and item7 are missing
    Put(L"item8", L"+" + Id(8) + good);
    Put(L"item9", L"-not an id");
    Put(L"item10", L"+" + std::wstring(5000, L'A') + good);  // longer than any record
    Put(L"item11", L"");
    world.sim.registry.PutDword(kJournal, L"item12", 7);  // not a text
    Put(L"item13", L"+" + Id(13) + L"\\1\\2");            // two backslashes
    Put(L"item14", L"+" + Id(14) + good);
    Put(L"item015", L"+" + Id(15) + good);  // not a journal value's name
    Put(L"junk", L"+" + Id(16) + good);
    Put(L"item16", L"+ABC" + good);  // an odd number of hex digits
    Put(L"item17", L"-" + Id(1));    // takes entry 1 out again
    Put(L"item18", L"+" + Id(18) + good);

    auto queue = Loaded();
    EXPECT_EQ(Ids(*queue), (std::vector<std::wstring>{Id(8), Id(14), Id(18)}));
    EXPECT_EQ(queue->JournalLength(), 18);
    EXPECT_EQ(Mentions(L"ignoring bad regvalue-yz"), 1);
    EXPECT_EQ(Mentions(Id(3) + L"\\soon"), 1);
    EXPECT_EQ(Mentions(Id(4) + L"\\99999999"), 1);
    EXPECT_EQ(Mentions(L"NOTHEX12"), 1);
    EXPECT_EQ(Mentions(L"journal values item6 to item7 are missing"), 1);
    EXPECT_EQ(Mentions(L"-not an id"), 1);
    EXPECT_EQ(Mentions(L"item10, longer than any record"), 1);
    EXPECT_EQ(Mentions(L"ignoring empty regvalue item11"), 1);
    EXPECT_EQ(Mentions(L"ignoring empty regvalue item12"), 1);
    EXPECT_EQ(Mentions(L"item13, not an entry id"), 1);
    EXPECT_EQ(Mentions(L"\"item015\""), 1);
    EXPECT_EQ(Mentions(L"\"junk\""), 1);
    EXPECT_EQ(Mentions(L"item16, no entry id"), 1);
    EXPECT_EQ(Complaints().size(), 14U);  // one line for each of the fourteen
    const auto errors = world.log.Of(LogLevel::Error, L"CSendLaterList::Str2Item");
    ASSERT_EQ(errors.size(), 2U);
    EXPECT_EQ(errors[0].number, 13);
    EXPECT_EQ(errors[1].number, 6);
    // A quoted record is cut short in the log.
    for (const auto& e : Complaints()) {
        EXPECT_LT(e.text.size(), 400U) << std::string(e.text.begin(), e.text.end());
    }

    // The queue goes on after them; compaction leaves only what loaded.
    queue->Add(Minutes(1), Id(19));
    EXPECT_EQ(Value(kJournal, L"item19"), L"+" + Id(19) + L"\\" + Minutes(1).ToText());
    ASSERT_TRUE(queue->Save());
    EXPECT_EQ(world.sim.registry.ValueNames(kJournal),
              (std::vector<std::wstring>{L"item1", L"item2", L"item3", L"item4"}));
}

TEST_F(SendLaterListTest, AddRefusesWhatTheJournalCouldNotGiveBack) {
    auto queue = Loaded();
    queue->Add(Minutes(1), L"12\\34");
    queue->Add(Minutes(1), L"");
    queue->Add(Minutes(1), std::wstring(CSendLaterList::kMaxEntryIdLength + 2, L'A'));
    queue->Add(OleDate(3e6), Id(1));
    queue->Add(OleDate(std::numeric_limits<double>::quiet_NaN()), Id(2));
    EXPECT_EQ(queue->Count(), 0U);
    EXPECT_FALSE(world.sim.registry.KeyExists(kJournal));
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"CSendLaterList::Add").size(), 5U);
    // The longest entry id a record holds still goes in and comes back.
    const std::wstring longest(CSendLaterList::kMaxEntryIdLength, L'F');
    queue->Add(Minutes(1), longest);
    EXPECT_EQ(Ids(*Loaded()), std::vector<std::wstring>{longest});
}

TEST_F(SendLaterListTest, AQueueWithoutAProfileKeyKeepsItsEntriesInMemoryOnly) {
    CSendLaterList queue(world.services);  // the default store was not found at connection
    queue.Add(Minutes(1), Id(1));
    EXPECT_EQ(queue.Count(), 1U);
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"CSendLaterList::Add").size(), 1U);
    EXPECT_FALSE(queue.Save());
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"CSendLaterList::GetRegPath").size(), 1U);
    EXPECT_TRUE(
        world.sim.registry.SubKeyNames(L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa").empty());
}

TEST_F(SendLaterListTest, ARecordThatCouldNotBeWrittenIsLoggedAndLeavesNoGap) {
    auto queue = Loaded();
    queue->Add(Minutes(1), Id(1));
    world.sim.faults.FailNth(L"Registry.SetValue", 1, HostError(5, L"Access denied"));
    queue->Add(Minutes(2), Id(2));
    world.sim.faults.FailNth(L"Registry.CreateKey", 1, HostError(5, L"Access denied"));
    queue->Remove(Id(1));
    queue->Add(Minutes(3), Id(3));
    // In memory the queue is right for this run.
    EXPECT_EQ(Ids(*queue), (std::vector<std::wstring>{Id(2), Id(3)}));
    const auto errors = world.log.Of(LogLevel::Error);
    ASSERT_EQ(errors.size(), 2U);
    EXPECT_EQ(errors[0].source, L"CSendLaterList::Add");
    EXPECT_NE(errors[0].text.find(Id(2)), std::wstring::npos);
    EXPECT_EQ(errors[1].source, L"CSendLaterList::Remove");
    EXPECT_NE(errors[1].text.find(L"oWR.InitForWrite failed"), std::wstring::npos);
    EXPECT_NE(errors[1].text.find(Id(1)), std::wstring::npos);
    // The journal has no hole: the record after a failed one takes its number.
    EXPECT_EQ(world.sim.registry.ValueNames(kJournal),
              (std::vector<std::wstring>{L"item1", L"item2"}));
    EXPECT_EQ(Ids(*Loaded()), (std::vector<std::wstring>{Id(1), Id(3)}));
}

// Stops the compaction at every registry call in turn (the host gone from that call on), then
// loads the journal afresh: the queue is always what it was, and a compaction afterwards leaves
// the journal as if nothing had happened.
TEST_F(SendLaterListTest, CompactionSurvivesAStopAtEveryRegistryCall) {
    // A journal with history (added, taken out, queued again), in an otherwise empty hive.
    auto prepare = [&] {
        world.sim.registry.Import("Windows Registry Editor Version 5.00\r\n\r\n", L"empty.reg");
        auto queue = Loaded();
        for (int i = 1; i <= 6; ++i) {
            queue->Add(Minutes(i), Id(i));
        }
        queue->Remove(Id(2));
        queue->Remove(Id(5));
        queue->Add(Minutes(30), Id(1));
        return Loaded();
    };
    const std::vector<std::wstring> expected{Id(3), Id(4), Id(6), Id(1)};
    const auto clean = prepare();
    const int64_t before = world.sim.faults.TotalCalls();
    ASSERT_TRUE(clean->Save());
    const int64_t calls = world.sim.faults.TotalCalls() - before;
    ASSERT_GT(calls, 20);
    for (int64_t n = 1; n <= calls; ++n) {
        SCOPED_TRACE("stop at registry call " + std::to_string(n) + " of " + std::to_string(calls));
        {
            auto queue = prepare();
            int64_t seen = 0;
            world.sim.faults.FailWhen(
                [&](std::wstring_view, std::wstring_view) { return ++seen >= n; },
                sim::Faults::HostGone());
            queue->Save();
            world.sim.faults.Clear();
        }
        auto after = Loaded();
        EXPECT_EQ(Ids(*after), expected);
        EXPECT_TRUE(Near(after->DueTime(Id(1)), Minutes(30)));
        // The journal takes records again, then compacts to exactly the queue.
        after->Add(Minutes(40), Id(7));
        after->Remove(Id(3));
        auto again = Loaded();
        EXPECT_EQ(Ids(*again), (std::vector<std::wstring>{Id(4), Id(6), Id(1), Id(7)}));
        ASSERT_TRUE(again->Save());
        EXPECT_EQ(world.sim.registry.ValueNames(kJournal),
                  (std::vector<std::wstring>{L"item1", L"item2", L"item3", L"item4"}));
        EXPECT_FALSE(world.sim.registry.KeyExists(kSibling));
        EXPECT_TRUE(world.sim.registry.ValueNames(kProfileKey).empty());
    }
    RecordProperty("stop_points", static_cast<int>(calls));
    std::printf("[  SWEEP   ] compaction: %lld stop points\n", static_cast<long long>(calls));
}

}  // namespace
}  // namespace plexa
