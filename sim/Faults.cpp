#include "sim/Faults.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "core/Text.h"
#include "sim/FaultOps.h"

namespace plexa::sim {

HostError Faults::HostGone() {
    // RPC_S_SERVER_UNAVAILABLE, as a call on an object of a client that has ended.
    return HostError(static_cast<int32_t>(0x800706BA), L"The RPC server is unavailable.",
                     L"Microsoft Outlook");
}

void Faults::Require(std::wstring_view op) {
    if (!IsFaultOp(op)) {
        throw std::invalid_argument("no simulated operation is called \"" +
                                    text::ToUtf8(std::wstring(op)) + "\"");
    }
}

void Faults::FailAlways(std::wstring_view op, HostError error) {
    Require(op);
    Rule rule;
    rule.kind = Rule::Kind::Always;
    rule.op = op;
    rule.error = std::move(error);
    m_rules.push_back(std::move(rule));
}

void Faults::FailNth(std::wstring_view op, int n, HostError error) {
    Require(op);
    Rule rule;
    rule.kind = Rule::Kind::Nth;
    rule.op = op;
    rule.remainingBefore = n > 0 ? n - 1 : 0;
    rule.error = std::move(error);
    m_rules.push_back(std::move(rule));
}

void Faults::FailWhen(std::wstring_view op, DetailPredicate predicate, HostError error) {
    Require(op);
    Rule rule;
    rule.kind = Rule::Kind::When;
    rule.op = op;
    rule.predicate = [predicate = std::move(predicate)](
                         std::wstring_view, std::wstring_view detail) { return predicate(detail); };
    rule.error = std::move(error);
    m_rules.push_back(std::move(rule));
}

void Faults::FailWhen(Predicate predicate, HostError error) {
    Rule rule;
    rule.kind = Rule::Kind::When;
    rule.predicate = std::move(predicate);
    rule.error = std::move(error);
    m_rules.push_back(std::move(rule));
}

void Faults::FailNthCall(int64_t n, HostError error) {
    Rule rule;
    rule.kind = Rule::Kind::NthCall;
    rule.remainingBefore = n > 0 ? n - 1 : 0;
    rule.error = std::move(error);
    m_rules.push_back(std::move(rule));
}

void Faults::FailOneIn(int n, uint64_t seed, HostError error,
                       const std::vector<std::wstring>& ops) {
    if (n < 1) {
        throw std::invalid_argument("one in " + std::to_string(n) + " calls cannot fail");
    }
    Rule rule;
    rule.kind = Rule::Kind::OneIn;
    for (const std::wstring& op : ops) {
        Require(op);
        rule.ops.insert(op);
    }
    rule.oneIn = n;
    rule.random.seed(seed);
    rule.error = std::move(error);
    m_rules.push_back(std::move(rule));
}

void Faults::KillHost(HostError error) {
    m_killed = std::move(error);
}

void Faults::Clear() {
    m_rules.clear();
    m_killed.reset();
}

bool Faults::Fires(Rule& rule, std::wstring_view op, std::wstring_view detail) {
    switch (rule.kind) {
        case Rule::Kind::Always:
            return rule.op == op;
        case Rule::Kind::When:
            return (rule.op.empty() || rule.op == op) && rule.predicate(op, detail);
        case Rule::Kind::Nth:
            if (rule.op != op) {
                return false;
            }
            [[fallthrough]];
        case Rule::Kind::NthCall:
            if (rule.remainingBefore > 0) {
                --rule.remainingBefore;
                return false;
            }
            rule.spent = true;
            return true;
        case Rule::Kind::OneIn:
            if (!rule.ops.empty() && rule.ops.find(op) == rule.ops.end()) {
                return false;
            }
            return rule.random() % static_cast<uint64_t>(rule.oneIn) == 0;
    }
    return false;
}

void Faults::Inject(const HostError& error, std::wstring_view op, std::wstring_view detail) {
    m_history.push_back(Injection{std::wstring(op), std::wstring(detail), m_totalCalls});
    ++m_injectedByOp[std::wstring(op)];
    throw error;
}

void Faults::Check(std::wstring_view op, std::wstring_view detail) {
    auto calls = m_calls.find(op);
    if (calls == m_calls.end()) {
        if (!IsFaultOp(op)) {
            std::fprintf(stderr,
                         "simulation fault: operation \"%s\" is not in the catalogue (%s)\n",
                         text::ToUtf8(std::wstring(op)).c_str(), "sim/FaultOps.cpp");
            std::abort();
        }
        calls = m_calls.emplace(std::wstring(op), 0).first;
    }
    ++m_totalCalls;
    ++calls->second;
    if (m_killed) {
        Inject(*m_killed, op, detail);
    }
    for (auto& rule : m_rules) {
        if (!rule.spent && Fires(rule, op, detail)) {
            // A copy: the rule list may change while the error travels.
            const HostError error = rule.error;
            Inject(error, op, detail);
        }
    }
}

int Faults::Injected(std::wstring_view op) const {
    const auto it = m_injectedByOp.find(op);
    return it == m_injectedByOp.end() ? 0 : it->second;
}

int Faults::Calls(std::wstring_view op) const {
    const auto it = m_calls.find(op);
    return it == m_calls.end() ? 0 : it->second;
}

}  // namespace plexa::sim
