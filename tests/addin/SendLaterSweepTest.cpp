// The send-later queue holds the user's mail over time, so a stop anywhere must lose nothing and
// send nothing twice. Each sweep runs a piece of work once per stop point: the add-in is stopped
// there (the host is gone from that call on, as in a crash), then a fresh add-in starts on the
// registry and the store exactly as the stop left them and the clock runs past every due time.
// Afterwards every copy has gone out exactly once, or is still queued, or was left unsent with a
// line in the log that names it; none went out twice, none vanished.
//
// The work: a grouped send stopped at every registry write; the pass that sends its second group,
// stopped at every host call; and a pass whose queue then compacts, stopped at every host call.
// Each on both kinds of store. Built with PLEXA_FULL_SWEEP (the plexa_sweep_tests program, ctest
// label "sweep", `ctest --preset sweep`) the grouped send is 100 copies in groups of 10 and the
// compacting pass sends 10 of 15; the default build runs smaller sizes of the same work, so that
// ./dev test stays quick, and leaves out the plain pass, which the compacting one covers.
// The simulated disk has no application-data folder, so the log is only what the test captures:
// log files would only add host calls that no stop can harm.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestWorld.h"
#include "addin/AddinRun.h"
#include "addin/GroupedSend.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "separate/CSendLaterList.h"
#include "sim/SimHost.h"
#include "sim/store/StoreKind.h"

namespace plexa {
namespace {

using sim::StoreKind;

const OleDate kStart = OleDate::FromParts(2026, 12, 6, 9, 0);
constexpr int32_t kInterval = 15;

struct Size {
    int copies;
    int32_t group;
    // The minutes after which every group is due.
    int LastDue() const { return (copies - 1) / group * kInterval; }
};
#ifdef PLEXA_FULL_SWEEP
constexpr Size kGroupedSend{100, 10};
constexpr Size kCompacting{25, 10};
#else
constexpr Size kGroupedSend{12, 4};
constexpr Size kCompacting{7, 3};
#endif

void QuietLog(sim::Faults& faults) {
    faults.FailAlways(L"Shell.GetSpecialFolderPath", HostError(5, L"no application-data folder"));
}

// The simulated client and the add-in's current run on it.
struct Client {
    explicit Client(StoreKind kind) {
        world.sim.clock.SetLocal(kStart);
        QuietLog(world.sim.faults);
        host.session.DefaultStore()->SetKind(kind);
        Start();
    }
    void Start() { run = std::make_unique<test::AddinRun>(world.sim, host, world.log); }
    void AdvanceMinutes(double minutes) { world.sim.clock.AdvanceSeconds(minutes * 60); }

    test::TestWorld world;
    sim::SimHost host{world.sim};
    std::unique_ptr<test::AddinRun> run;
};

bool IsRegistryWrite(std::wstring_view op) {
    return op == L"Registry.SetValue" || op == L"Registry.CreateKey" ||
           op == L"Registry.DeleteKey" || op == L"Registry.DeleteValue";
}

bool AnyCall(std::wstring_view /*op*/) {
    return true;
}

// From the n-th call that counts on, every call fails: the host is gone.
void StopAt(sim::Faults& faults, int64_t n, std::function<bool(std::wstring_view)> counts) {
    auto seen = std::make_shared<int64_t>(0);
    auto stopped = std::make_shared<bool>(false);
    faults.FailWhen(
        [=](std::wstring_view op, std::wstring_view) {
            if (!*stopped && counts(op) && ++*seen == n) {
                *stopped = true;
            }
            return *stopped;
        },
        sim::Faults::HostGone());
}

// Counts the calls of some work that count, run without a fault.
int64_t CountCalls(sim::Faults& faults, const std::function<bool(std::wstring_view)>& counts,
                   const std::function<void()>& work) {
    auto seen = std::make_shared<int64_t>(0);
    faults.FailWhen(
        [=](std::wstring_view op, std::wstring_view) {
            if (counts(op)) {
                ++*seen;
            }
            return false;
        },
        sim::Faults::HostGone());
    work();
    faults.Clear();
    QuietLog(faults);
    return *seen;
}

// Every mail of the default store whose one recipient is the address, with the folder it is in.
struct Found {
    std::wstring entryId;
    std::wstring folder;
    bool unsent = false;
};
void FindCopies(sim::FolderRecord& folder, std::map<std::wstring, std::vector<Found>>& out) {
    for (const auto& item : folder.Items()) {
        if (item->ObjectClass() != olMail || item->recipients.empty()) {
            continue;
        }
        const Variant flags = item->GetProp(mapi::PR_MESSAGE_FLAGS);
        const auto* n = std::get_if<int32_t>(&flags.Raw());
        out[item->recipients[0]->name].push_back(
            Found{item->EntryID(), folder.Name(), n != nullptr && (*n & mapi::MSGFLAG_UNSENT)});
    }
    for (const auto& sub : folder.Subfolders()) {
        FindCopies(*sub, out);
    }
}

bool LogNames(const test::LogCapture& log, const std::wstring& entryId) {
    for (const auto& e : log.entries) {
        if (e.level != LogLevel::Debug && e.text.find(entryId) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

// The promise after the restart and the clock: each copy out once, still queued, or left unsent
// and named in the log; the send that stopped before making a copy said so.
void CheckNothingLostOrDoubled(Client& c, const test::GroupedSend& send,
                               const std::vector<std::wstring>& addresses,
                               std::size_t logAtRestart) {
    std::map<std::wstring, int> sent;
    for (const auto& t : c.host.session.transmissions) {
        for (const auto& r : t.recipients) {
            for (const auto& smtp : r.smtpAddresses) {
                ++sent[smtp];
            }
        }
    }
    std::map<std::wstring, std::vector<Found>> copies;
    FindCopies(*c.host.session.DefaultStore()->TopFolder(), copies);
    bool actionFailed = false;
    for (const auto& e : c.world.log.Of(LogLevel::Error, L"mPlexaUpdate::DoPlexaAction")) {
        actionFailed = actionFailed || !e.text.empty();
    }
    for (const auto& address : addresses) {
        const std::string who(address.begin(), address.end());
        EXPECT_LE(sent[address], 1) << who << " was sent twice";
        if (sent[address] == 1) {
            continue;
        }
        std::vector<Found> unsent;
        for (const auto& f : copies[address]) {
            if (f.unsent) {
                unsent.push_back(f);
            }
        }
        if (unsent.empty()) {
            // Never made: the send stopped before this copy, and logged its failure.
            EXPECT_EQ(send.copyIds.count(address), 0U) << who << " was lost";
            EXPECT_TRUE(actionFailed) << who << " was never made, and no failure was logged";
            continue;
        }
        ASSERT_EQ(unsent.size(), 1U) << who << " has two unsent copies";
        const Found& copy = unsent[0];
        const auto queuedAs = send.copyIds.find(address);
        const bool queued = c.run->Queue().DueTime(copy.entryId).has_value();
        const bool named =
            LogNames(c.world.log, copy.entryId) ||
            (queuedAs != send.copyIds.end() && LogNames(c.world.log, queuedAs->second));
        EXPECT_TRUE(queued || named)
            << who << " sits unsent in " << std::string(copy.folder.begin(), copy.folder.end())
            << ", neither queued nor named in the log";
    }
    // The queue and the pass met no error in the run after the stop.
    for (std::size_t i = logAtRestart; i < c.world.log.entries.size(); ++i) {
        const LogEntry& e = c.world.log.entries[i];
        EXPECT_FALSE(e.level == LogLevel::Error && (e.source.starts_with(L"CSendLaterList::") ||
                                                    e.source.starts_with(L"frmDummy::")))
            << std::string(e.source.begin(), e.source.end()) << ": "
            << std::string(e.text.begin(), e.text.end());
    }
}

// Stops the add-in after some work, starts a fresh one and lets the clock run past every due
// time, then checks the promise.
void RestartAndRun(Client& c, const test::GroupedSend& send,
                   const std::vector<std::wstring>& addresses, const Size& size) {
    test::AddinRun::Crash(c.run);
    QuietLog(c.world.sim.faults);
    const std::size_t logAtRestart = c.world.log.entries.size();
    c.Start();
    // Past the last due time from the grouped send, wherever the stop left the clock.
    const double now = (c.world.sim.clock.NowLocal().Value() - kStart.Value()) * 1440;
    c.AdvanceMinutes(std::max(0.0, size.LastDue() - now) + 2);
    CheckNothingLostOrDoubled(c, send, addresses, logAtRestart);
}

std::string KindName(StoreKind kind) {
    return kind == StoreKind::Pst ? "pst" : "exchange";
}

void Report(const std::string& what, StoreKind kind, int64_t points) {
    std::printf("[  SWEEP   ] %s (%s): %lld stop points\n", what.c_str(), KindName(kind).c_str(),
                static_cast<long long>(points));
    ::testing::Test::RecordProperty("stop_points_" + KindName(kind), static_cast<int>(points));
}

// The queue as a grouped send leaves it, with the clock half a minute before its second group
// falls due.
test::GroupedSend Prepare(Client& c, const std::vector<std::wstring>& addresses, const Size& size) {
    auto send = test::SendGrouped(*c.run->connect, addresses, size.group, kInterval);
    c.AdvanceMinutes(kInterval - 0.5);
    return send;
}

// Stops the pass that sends the second group at every host call in turn.
int64_t SweepSecondPass(StoreKind kind, const Size& size) {
    const auto addresses = test::Addresses(size.copies);
    int64_t calls = 0;
    {
        Client clean(kind);
        Prepare(clean, addresses, size);
        calls = CountCalls(clean.world.sim.faults, AnyCall, [&] { clean.AdvanceMinutes(1); });
        EXPECT_EQ(clean.host.session.transmissions.size(),
                  static_cast<std::size_t>(2 * size.group));
    }
    for (int64_t n = 1; n <= calls; ++n) {
        SCOPED_TRACE("stopped at host call " + std::to_string(n) + " of " + std::to_string(calls));
        Client c(kind);
        const auto send = Prepare(c, addresses, size);
        StopAt(c.world.sim.faults, n, AnyCall);
        c.AdvanceMinutes(1);
        RestartAndRun(c, send, addresses, size);
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
    return calls;
}

class SendLaterSweep : public ::testing::TestWithParam<StoreKind> {};

INSTANTIATE_TEST_SUITE_P(Stores, SendLaterSweep,
                         ::testing::Values(StoreKind::Pst, StoreKind::Exchange),
                         [](const auto& info) { return KindName(info.param); });

TEST_P(SendLaterSweep, AGroupedSendStoppedAtEveryRegistryWrite) {
    const Size size = kGroupedSend;
    const auto addresses = test::Addresses(size.copies);
    int64_t writes = 0;
    {
        Client clean(GetParam());
        writes = CountCalls(clean.world.sim.faults, IsRegistryWrite, [&] {
            test::SendGrouped(*clean.run->connect, addresses, size.group, kInterval);
        });
        ASSERT_EQ(clean.run->Queue().Count(), static_cast<std::size_t>(size.copies - size.group));
    }
    ASSERT_GE(writes, size.copies - size.group);
    for (int64_t n = 1; n <= writes; ++n) {
        SCOPED_TRACE("stopped at registry write " + std::to_string(n) + " of " +
                     std::to_string(writes));
        Client c(GetParam());
        StopAt(c.world.sim.faults, n, IsRegistryWrite);
        const auto send = test::SendGrouped(*c.run->connect, addresses, size.group, kInterval);
        RestartAndRun(c, send, addresses, size);
        if (HasFailure()) {
            break;
        }
    }
    Report("grouped send of " + std::to_string(size.copies), GetParam(), writes);
}

#ifdef PLEXA_FULL_SWEEP
TEST_P(SendLaterSweep, APassStoppedAtEveryHostCall) {
    const int64_t calls = SweepSecondPass(GetParam(), kGroupedSend);
    Report("pass sending the second group of " + std::to_string(kGroupedSend.copies), GetParam(),
           calls);
}
#endif

TEST_P(SendLaterSweep, ACompactingPassStoppedAtEveryHostCall) {
    {
        // The pass does compact: the journal holds only what waits afterwards.
        Client clean(GetParam());
        Prepare(clean, test::Addresses(kCompacting.copies), kCompacting);
        clean.AdvanceMinutes(1);
        const auto waiting = static_cast<std::size_t>(kCompacting.copies - 2 * kCompacting.group);
        ASSERT_EQ(clean.run->Queue().Count(), waiting);
        ASSERT_EQ(clean.run->Queue().JournalLength(), static_cast<int32_t>(waiting));
    }
    const int64_t calls = SweepSecondPass(GetParam(), kCompacting);
    Report("compacting pass of " + std::to_string(kCompacting.copies), GetParam(), calls);
}

}  // namespace
}  // namespace plexa
