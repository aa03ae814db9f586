// Fault injection for the simulated ports. Every simulated port operation calls Check with its
// name ("FileSystem.Open", "File.Write" ...) before it acts; an armed fault makes it throw the
// given HostError instead. The names are the catalogue's (FaultOps.h): arming a fault for a name
// outside it throws std::invalid_argument, and checking one stops the program.
//
// Faults are armed
// - by operation: every call (FailAlways) or the n-th call from now (FailNth);
// - by a predicate over the operation and a detail text (a path, an entry id): FailWhen;
// - by position: the n-th call of any operation from now (FailNthCall), which is what a sweep
//   over every host call of a command uses (tests/FaultSweep.h);
// - by chance: each call fails with probability 1/n, drawn from a seeded generator, so the same
//   seed fails the same calls of the same run (FailOneIn);
// - all at once: after KillHost every call of every operation fails, as when the host has gone
//   away, until ReviveHost or Clear.
// Every call is counted, failed or not (Calls, TotalCalls), and every injected fault recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/HostError.h"

namespace plexa::sim {

class Faults {
public:
    using Predicate = std::function<bool(std::wstring_view op, std::wstring_view detail)>;
    using DetailPredicate = std::function<bool(std::wstring_view detail)>;

    // One injected fault: the operation, its detail, and the call's number (TotalCalls then).
    struct Injection {
        std::wstring op;
        std::wstring detail;
        int64_t call = 0;
        bool operator==(const Injection&) const = default;
    };

    // Every call of the operation fails until Clear.
    void FailAlways(std::wstring_view op, HostError error);
    // Only the n-th call of the operation from now on fails (1 is the next call).
    void FailNth(std::wstring_view op, int n, HostError error);
    // Every call of the operation whose detail satisfies the predicate fails until Clear.
    void FailWhen(std::wstring_view op, DetailPredicate predicate, HostError error);
    // Every call for which the predicate holds fails until Clear. The predicate sees every
    // call, so it may also watch them; it cannot be checked against the catalogue, so prefer
    // the form above when the operation is known.
    void FailWhen(Predicate predicate, HostError error);
    // Only the n-th call of any operation from now on fails (1 is the next call).
    void FailNthCall(int64_t n, HostError error);
    // Each call of the operations given (none: of every operation) fails with probability 1/n,
    // drawn from a generator seeded with seed, until Clear.
    void FailOneIn(int n, uint64_t seed, HostError error,
                   const std::vector<std::wstring>& ops = {});
    // The host has gone: every later call of every operation fails until ReviveHost or Clear.
    void KillHost(HostError error = HostGone());
    void ReviveHost() { m_killed.reset(); }
    bool HostKilled() const { return m_killed.has_value(); }
    // Disarms every fault (the counts stay).
    void Clear();

    // Throws the armed error, if any, for this call. An operation outside the catalogue is a
    // fault of the simulation itself: the program stops, naming it.
    void Check(std::wstring_view op, std::wstring_view detail = {});

    // How many faults were injected, in all or for one operation.
    int Injected() const { return static_cast<int>(m_history.size()); }
    int Injected(std::wstring_view op) const;
    // Every injected fault, oldest first.
    const std::vector<Injection>& History() const { return m_history; }
    // How many times an operation, or any operation, was called (whether it failed or not).
    int Calls(std::wstring_view op) const;
    int64_t TotalCalls() const { return m_totalCalls; }

    // The error of a host that is no longer there (the remote procedure call server is gone).
    static HostError HostGone();

private:
    struct Rule {
        enum class Kind { Always, Nth, When, NthCall, OneIn };
        Kind kind = Kind::Always;
        std::wstring op;              // Always, Nth, When with an operation
        int64_t remainingBefore = 0;  // Nth, NthCall: calls to let pass before failing once
        Predicate predicate;          // When
        int oneIn = 0;                // OneIn
        std::set<std::wstring, std::less<>> ops;  // OneIn: the operations eligible (none: all)
        std::mt19937_64 random;                   // OneIn
        HostError error{0, L""};
        bool spent = false;
    };
    static void Require(std::wstring_view op);
    bool Fires(Rule& rule, std::wstring_view op, std::wstring_view detail);
    [[noreturn]] void Inject(const HostError& error, std::wstring_view op,
                             std::wstring_view detail);

    std::vector<Rule> m_rules;
    std::optional<HostError> m_killed;
    // Every call counts here, so one hash lookup by the name as given (operations are checked
    // against the catalogue the first time they come).
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::wstring_view name) const {
            return std::hash<std::wstring_view>{}(name);
        }
    };
    std::unordered_map<std::wstring, int, NameHash, std::equal_to<>> m_calls;
    std::map<std::wstring, int, std::less<>> m_injectedByOp;
    std::vector<Injection> m_history;
    int64_t m_totalCalls = 0;
};

}  // namespace plexa::sim
