#include "sim/Faults.h"

namespace plexa::sim {

void Faults::FailAlways(std::wstring op, HostError error) {
    m_rules.push_back(Rule{std::move(op), -1, nullptr, std::move(error)});
}

void Faults::FailNth(std::wstring op, int n, HostError error) {
    m_rules.push_back(Rule{std::move(op), n > 0 ? n - 1 : 0, nullptr, std::move(error)});
}

void Faults::FailWhen(Predicate predicate, HostError error) {
    m_rules.push_back(Rule{L"", -1, std::move(predicate), std::move(error)});
}

void Faults::Clear() {
    m_rules.clear();
}

void Faults::Check(std::wstring_view op, std::wstring_view detail) {
    auto calls = m_calls.find(op);
    if (calls == m_calls.end()) {
        calls = m_calls.emplace(std::wstring(op), 0).first;
    }
    ++calls->second;
    for (auto& rule : m_rules) {
        if (rule.spent) {
            continue;
        }
        bool fire = false;
        if (rule.predicate) {
            fire = rule.predicate(op, detail);
        } else if (rule.op == op) {
            if (rule.remainingBefore < 0) {
                fire = true;
            } else if (rule.remainingBefore == 0) {
                fire = true;
                rule.spent = true;
            } else {
                --rule.remainingBefore;
            }
        }
        if (fire) {
            ++m_injected;
            ++m_injectedByOp[std::wstring(op)];
            throw rule.error;
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
