// A sweep over every host call of a user command. The command runs once without a fault to count
// its host calls (N); then for n = 1..N it runs again in a fresh world with the n-th host call
// failing, and the promises that hold after any failure are checked:
// - nothing escapes to the host: no exception leaves the command;
// - a failure is logged at most once (SweepOptions::maxErrorEntries error entries);
// - every window the command opened is closed again (the progress and please-wait windows ...);
// - the clipboard holds what it held before, and is closed;
// - what the command must not lose, as the caller checks it (promises).
// Worlds must be deterministic: the n-th call of the faulted run is the n-th call of the clean run
// (the sweep fails when the fault does not fire).
//
//     auto result = test::SweepHostCalls(
//         "gathering", [] { return std::make_unique<GatherWorld>(); },
//         [](GatherWorld& w) { w.Gather(...); },
//         [](GatherWorld& w, const test::SweepPoint& p) { EXPECT_...; });
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "TestWorld.h"
#include "core/HostError.h"
#include "settings/LogEntry.h"

namespace plexa::test {

// One point of a sweep: which host call failed, and what the command logged as errors.
struct SweepPoint {
    int64_t n = 0;   // the failed call, counted from 1 over every operation
    int64_t of = 0;  // host calls of the run without a fault
    std::wstring op;
    std::wstring detail;
    std::vector<LogEntry> errors;
    // "call 12 of 80 (MailItem.Parent ...)" for failure messages.
    std::string Describe() const;
};

struct SweepOptions {
    // The error every failed call throws.
    HostError error{static_cast<int32_t>(0x80004005), L"Injected fault", L"FaultSweep"};
    // How many error entries one failure may write.
    int maxErrorEntries = 1;
};

struct SweepResult {
    int64_t points = 0;                      // host calls failed, one run each
    std::map<std::wstring, int> failedByOp;  // how often each operation was the one failed
};

// Shared, so that the world is destroyed as the type it was made as.
using WorldFactory = std::function<std::shared_ptr<TestWorld>()>;
using SweepCommand = std::function<void(TestWorld&)>;
using SweepPromises = std::function<void(TestWorld&, const SweepPoint&)>;

// Runs the sweep, reports each broken promise as a test failure naming the point, and records
// the number of points as the test's property "sweep_points" (also printed).
SweepResult RunSweep(const std::string& name, const WorldFactory& makeWorld,
                     const SweepCommand& command, const SweepPromises& promises,
                     const SweepOptions& options);

// The same over a world type of the caller's (derived from TestWorld): makeWorld returns a
// std::unique_ptr to it, command and promises take it.
template <class MakeWorld, class Command, class Promises>
SweepResult SweepHostCalls(const std::string& name, MakeWorld makeWorld, Command command,
                           Promises promises, const SweepOptions& options = {}) {
    using World = typename std::invoke_result_t<MakeWorld>::element_type;
    static_assert(std::is_base_of_v<TestWorld, World>);
    return RunSweep(
        name, [&]() -> std::shared_ptr<TestWorld> { return makeWorld(); },
        [&](TestWorld& w) { command(static_cast<World&>(w)); },
        [&](TestWorld& w, const SweepPoint& p) { promises(static_cast<World&>(w), p); }, options);
}

}  // namespace plexa::test
