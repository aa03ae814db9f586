// Fault injection for the simulated ports. Every simulated port operation calls Check with its
// name ("FileSystem.Open", "File.Write" ...) before it acts; an armed fault makes it throw the
// given HostError instead. Faults are armed by operation name (always, or the n-th call from
// now) or by a predicate over the name and a detail text (a path, an entry id).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/HostError.h"

namespace plexa::sim {

class Faults {
public:
    using Predicate = std::function<bool(std::wstring_view op, std::wstring_view detail)>;

    // Every call of the operation fails until Clear.
    void FailAlways(std::wstring op, HostError error);
    // Only the n-th call of the operation from now on fails (1 is the next call).
    void FailNth(std::wstring op, int n, HostError error);
    // Every call for which the predicate holds fails until Clear.
    void FailWhen(Predicate predicate, HostError error);
    void Clear();

    // Throws the armed error, if any, for this call.
    void Check(std::wstring_view op, std::wstring_view detail = {});

    // How many faults were injected, in all or for one operation.
    int Injected() const { return m_injected; }
    int Injected(std::wstring_view op) const;
    // How many times an operation was called (whether it failed or not).
    int Calls(std::wstring_view op) const;

private:
    struct Rule {
        std::wstring op;           // empty for a predicate rule
        int remainingBefore = -1;  // -1: always; otherwise calls to let pass before failing once
        Predicate predicate;
        HostError error;
        bool spent = false;
    };
    std::vector<Rule> m_rules;
    std::map<std::wstring, int, std::less<>> m_calls;
    std::map<std::wstring, int, std::less<>> m_injectedByOp;
    int m_injected = 0;
};

}  // namespace plexa::sim
