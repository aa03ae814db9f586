// Simulated top-level windows of other programs, found by class and title, that receive
// messages: every message a window receives is recorded with the exact bytes of a WM_COPYDATA
// block, and the window's procedure (if any) handles it. DoEvents runs the work posted to the
// message queue, in order, hands the user's queued clicks to open modeless dialogs, and fires the
// timers due at the present moment.
// Calls check the faults "Windows.FindWindowA", "Windows.SendMessageA" and "Windows.DoEvents";
// a fault makes FindWindowA find nothing and SendMessageA deliver nothing (result 0).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/IWindowMessages.h"
#include "sim/Faults.h"
#include "sim/windows/SimTimers.h"

namespace plexa::sim {

class SimUiShell;

// One message as a window received it.
struct ReceivedMessage {
    WindowHandle window = 0;
    uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    // WM_COPYDATA: the block's identifier, its length field and the bytes it pointed to.
    std::uintptr_t copyDataId = 0;
    uint32_t copyDataLength = 0;
    std::vector<uint8_t> copyData;
};

class SimWindowMessages : public IWindowMessages {
public:
    // What a window does with a message; the result goes back to the sender.
    using Procedure = std::function<std::intptr_t(const ReceivedMessage& message)>;

    SimWindowMessages(Faults& faults, SimTimers& timers, SimUiShell& ui);

    WindowHandle FindWindowA(const char* className, const char* windowName) override;
    std::intptr_t SendMessageA(WindowHandle window, uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    int32_t DoEvents() override;

    // Simulation controls.
    // Opens a window of another program; its procedure may be empty (messages are only
    // recorded, and answered with 0).
    WindowHandle CreateWindow(const std::wstring& className, const std::wstring& title,
                              Procedure procedure = {});
    void DestroyWindow(WindowHandle window);
    bool Exists(WindowHandle window) const;
    // Every message received, in order; and those one window received.
    const std::vector<ReceivedMessage>& Received() const { return m_received; }
    std::vector<ReceivedMessage> ReceivedBy(WindowHandle window) const;
    // Queues work that runs at the next DoEvents (or whenever the message loop runs).
    void Post(std::function<void()> work);
    std::size_t Pending() const { return m_posted.size(); }
    int DoEventsCalls() const { return m_doEventsCalls; }

private:
    struct Window {
        WindowHandle handle = 0;
        std::wstring className;
        std::wstring title;
        Procedure procedure;
    };

    Faults& m_faults;
    SimTimers& m_timers;
    SimUiShell& m_ui;
    std::vector<Window> m_windows;
    std::vector<ReceivedMessage> m_received;
    std::deque<std::function<void()>> m_posted;
    WindowHandle m_nextHandle = 0x20010;
    int m_doEventsCalls = 0;
};

}  // namespace plexa::sim
