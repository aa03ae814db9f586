// Window timers, shaped like user32's SetTimer and KillTimer with a timer procedure, and
// kernel32's GetTickCount. A timer fires from the message loop: while the add-in is busy it waits,
// and a handler that runs long delays the next firing rather than overlapping it.
#pragma once

#include <cstdint>
#include <functional>

namespace plexa {

using TimerId = std::uintptr_t;
// Called with the timer's id each time it fires.
using TimerProc = std::function<void(TimerId id)>;

class ITimers {
public:
    virtual ~ITimers() = default;
    // SetTimer: fires proc every elapse milliseconds (at least 10, as Windows rounds up). An id
    // of a running timer restarts that timer with the new interval and procedure; 0 asks for a
    // new id. Returns the timer's id, or 0 when no timer could be made.
    virtual TimerId SetTimer(TimerId id, uint32_t elapse, TimerProc proc) = 0;
    // KillTimer: stops the timer; false when there is no such timer.
    virtual bool KillTimer(TimerId id) = 0;
    // GetTickCount: milliseconds since the system started, wrapping at 2^32.
    virtual uint32_t GetTickCount() = 0;
};

}  // namespace plexa
