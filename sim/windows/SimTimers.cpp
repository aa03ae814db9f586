#include "sim/windows/SimTimers.h"

#include <algorithm>

namespace plexa::sim {

namespace {
// Windows never fires a timer more often than this.
constexpr uint32_t kMinimumElapse = 10;
}  // namespace

SimTimers::SimTimers(Faults& faults, SimClock& clock) : m_faults(faults), m_clock(clock) {
    m_clock.SetDueWork(this);
}

SimTimers::~SimTimers() {
    m_clock.SetDueWork(nullptr);
}

TimerId SimTimers::SetTimer(TimerId id, uint32_t elapse, TimerProc proc) {
    try {
        m_faults.Check(L"Timers.SetTimer", std::to_wstring(id));
    } catch (const HostError&) {
        return 0;
    }
    if (!proc) {
        return 0;
    }
    if (id == 0) {
        while (m_timers.contains(m_nextId)) {
            ++m_nextId;
        }
        id = m_nextId++;
    }
    Timer& timer = m_timers[id];
    timer.interval = std::max(elapse, kMinimumElapse);
    timer.due = m_clock.TickCount() + timer.interval;
    timer.order = m_nextOrder++;
    timer.proc = std::move(proc);
    return id;
}

bool SimTimers::KillTimer(TimerId id) {
    try {
        m_faults.Check(L"Timers.KillTimer", std::to_wstring(id));
    } catch (const HostError&) {
        return false;
    }
    return m_timers.erase(id) > 0;
}

uint32_t SimTimers::GetTickCount() {
    m_faults.Check(L"Timers.GetTickCount");
    return static_cast<uint32_t>(m_clock.TickCount() & 0xFFFFFFFFu);
}

std::optional<uint64_t> SimTimers::NextDue() {
    std::optional<uint64_t> next;
    for (const auto& [id, timer] : m_timers) {
        if (!timer.running && (!next || timer.due < *next)) {
            next = timer.due;
        }
    }
    return next;
}

TimerId SimTimers::NextToFire() const {
    const uint64_t now = m_clock.TickCount();
    TimerId best = 0;
    const Timer* bestTimer = nullptr;
    for (const auto& [id, timer] : m_timers) {
        if (timer.running || timer.due > now) {
            continue;
        }
        if (bestTimer == nullptr || timer.due < bestTimer->due ||
            (timer.due == bestTimer->due && timer.order < bestTimer->order)) {
            best = id;
            bestTimer = &timer;
        }
    }
    return best;
}

void SimTimers::RunDue() {
    RunDueNow();
}

int SimTimers::RunDueNow() {
    int fired = 0;
    // A timer that fires is next due one interval later, so every pass ends.
    for (TimerId id = NextToFire(); id != 0; id = NextToFire()) {
        Timer& timer = m_timers.at(id);
        timer.due = m_clock.TickCount() + timer.interval;
        timer.running = true;
        const TimerProc proc = timer.proc;
        ++m_fired;
        ++fired;
        struct Release {
            std::map<TimerId, Timer>& timers;
            TimerId id;
            ~Release() {
                if (auto it = timers.find(id); it != timers.end()) {
                    it->second.running = false;
                }
            }
        } release{m_timers, id};
        proc(id);
    }
    return fired;
}

std::vector<TimerId> SimTimers::Running() const {
    std::vector<std::pair<uint64_t, TimerId>> byOrder;
    for (const auto& [id, timer] : m_timers) {
        byOrder.emplace_back(timer.order, id);
    }
    std::sort(byOrder.begin(), byOrder.end());
    std::vector<TimerId> ids;
    ids.reserve(byOrder.size());
    for (const auto& [order, id] : byOrder) {
        ids.push_back(id);
    }
    return ids;
}

std::optional<uint32_t> SimTimers::Interval(TimerId id) const {
    auto it = m_timers.find(id);
    return it == m_timers.end() ? std::nullopt : std::optional<uint32_t>(it->second.interval);
}

std::optional<uint64_t> SimTimers::DueAt(TimerId id) const {
    auto it = m_timers.find(id);
    return it == m_timers.end() ? std::nullopt : std::optional<uint64_t>(it->second.due);
}

}  // namespace plexa::sim
