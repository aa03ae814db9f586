#include "FaultSweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <tuple>

#include "core/Text.h"
#include "sim/windows/SimClipboard.h"

namespace plexa::test {

namespace {

// What the clipboard holds: each format with its bytes or its picture, and whether it is open.
struct ClipboardState {
    std::vector<std::tuple<uint32_t, std::vector<uint8_t>, const void*>> formats;
    bool open = false;
    bool operator==(const ClipboardState&) const = default;
};

ClipboardState Snapshot(const sim::SimClipboard& clipboard) {
    ClipboardState state;
    for (uint32_t format : clipboard.Formats()) {
        state.formats.emplace_back(format, clipboard.Data(format), clipboard.Picture(format).get());
    }
    state.open = clipboard.IsOpen();
    return state;
}

std::vector<LogEntry> ErrorsSince(const LogCapture& log, std::size_t first) {
    std::vector<LogEntry> errors;
    for (std::size_t i = first; i < log.entries.size(); ++i) {
        if (log.entries[i].level == LogLevel::Error) {
            errors.push_back(log.entries[i]);
        }
    }
    return errors;
}

// A sweep shows this many broken points, then stops.
constexpr int kBrokenPointsShown = 10;

int FailureCount() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr) {
        return 0;
    }
    int failures = 0;
    for (int i = 0; i < info->result()->total_part_count(); ++i) {
        failures += info->result()->GetTestPartResult(i).failed() ? 1 : 0;
    }
    return failures;
}

std::string Narrow(const std::wstring& s) {
    return text::ToUtf8(s);
}

// Runs the command once, checking the promises every run keeps; the point describes the run.
void RunAndCheck(TestWorld& world, const SweepCommand& command, SweepPoint& point,
                 const SweepOptions& options) {
    sim::Faults& faults = world.sim.faults;
    const std::size_t injectedBefore = faults.History().size();
    const ClipboardState clipboardBefore = Snapshot(world.sim.clipboard);
    const std::vector<std::wstring> formsBefore = world.sim.ui.ShowingFormNames();
    const std::size_t logBefore = world.log.entries.size();
    try {
        command(world);
    } catch (const HostError& e) {
        ADD_FAILURE() << point.Describe()
                      << ": a host error escaped the command: " << Narrow(e.Description());
    } catch (const std::exception& e) {
        ADD_FAILURE() << point.Describe() << ": an exception escaped the command: " << e.what();
    }
    faults.Clear();
    if (faults.History().size() > injectedBefore) {
        point.op = faults.History().back().op;
        point.detail = faults.History().back().detail;
    }

    point.errors = ErrorsSince(world.log, logBefore);
    EXPECT_LE(static_cast<int>(point.errors.size()), options.maxErrorEntries)
        << point.Describe() << ": the failure was logged more than once: " << [&] {
               std::string all;
               for (const auto& e : point.errors) {
                   all += (all.empty() ? "" : "; ") + Narrow(e.source + L": " + e.text);
               }
               return all;
           }();

    for (const std::wstring& form : world.sim.ui.ShowingFormNames()) {
        EXPECT_NE(std::count(formsBefore.begin(), formsBefore.end(), form), 0)
            << point.Describe() << ": the window " << Narrow(form) << " was left showing";
    }
    EXPECT_TRUE(Snapshot(world.sim.clipboard) == clipboardBefore)
        << point.Describe() << ": the clipboard was not restored";
}

}  // namespace

std::string SweepPoint::Describe() const {
    if (n == 0) {
        return "the run without a fault";
    }
    return "call " + std::to_string(n) + " of " + std::to_string(of) + " (" + Narrow(op) +
           (detail.empty() ? "" : " " + Narrow(detail)) + ")";
}

SweepResult RunSweep(const std::string& name, const WorldFactory& makeWorld,
                     const SweepCommand& command, const SweepPromises& promises,
                     const SweepOptions& options) {
    SweepResult result;
    SweepPoint clean;
    {
        auto world = makeWorld();
        const int64_t before = world->sim.faults.TotalCalls();
        RunAndCheck(*world, command, clean, options);
        clean.of = world->sim.faults.TotalCalls() - before;
        if (promises) {
            promises(*world, clean);
        }
    }
    EXPECT_GT(clean.of, 0) << name << ": the command made no host call";

    int failuresBefore = FailureCount();
    int brokenPoints = 0;
    for (int64_t n = 1; n <= clean.of; ++n) {
        auto world = makeWorld();
        SweepPoint point;
        point.n = n;
        point.of = clean.of;
        sim::Faults& faults = world->sim.faults;
        const int injectedBefore = faults.Injected();
        faults.FailNthCall(n, options.error);
        RunAndCheck(*world, command, point, options);
        if (faults.Injected() != injectedBefore + 1) {
            ADD_FAILURE() << name << ": call " << n << " of " << clean.of
                          << " never came: the world is not deterministic";
            continue;
        }
        ++result.failedByOp[point.op];
        ++result.points;
        if (promises) {
            promises(*world, point);
        }
        const int failures = FailureCount();
        if (failures > failuresBefore) {
            failuresBefore = failures;
            if (++brokenPoints == kBrokenPointsShown) {
                ADD_FAILURE() << name << ": the sweep stopped after " << brokenPoints
                              << " broken points";
                break;
            }
        }
    }
    ::testing::Test::RecordProperty("sweep_points", std::to_string(result.points));
    std::printf("[  SWEEP   ] %s: %lld host calls, each failed once (%zu operations)\n",
                name.c_str(), static_cast<long long>(result.points), result.failedByOp.size());
    return result;
}

}  // namespace plexa::test
