// Simulated top-level windows of other programs, found by class and title, that receive
// messages: every message a window receives is recorded with the exact bytes of a WM_COPYDATA
// block, and the window's procedure (if any) handles it. DoEvents runs the work posted to the
// message queue, in order, hands the user's queued clicks to open modeless dialogs, and fires the
// timers due at the present moment.
// The add-in's dialogs have windows too: while a form is loaded, each of its controls that is a
// window gets a handle (Control::hWnd) and a procedure that acts as the control does (a grid
// scrolls one line per WM_VSCROLL line request, a text box takes WM_CHAR characters). Window
// procedures can be replaced and called on, and window styles read and written, as in user32;
// the system's wheel setting is wheelScrollLines.
// Calls check the faults "Windows.FindWindowA", "Windows.SendMessageA", "Windows.DoEvents" and
// "Windows.SystemParametersInfoA"; a fault makes FindWindowA find nothing, SendMessageA deliver
// nothing (result 0) and SystemParametersInfoA answer false.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/Form.h"
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
    WindowProc SetWindowProc(WindowHandle window, WindowProc procedure) override;
    std::intptr_t CallWindowProcA(const WindowProc& procedure, WindowHandle window,
                                  uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) override;
    int32_t GetWindowLongA(WindowHandle window, int32_t index) override;
    int32_t SetWindowLongA(WindowHandle window, int32_t index, int32_t value) override;
    bool SystemParametersInfoA(uint32_t action, uint32_t& value) override;

    // Simulation controls.
    // Opens a window of another program; its procedure may be empty (messages are only
    // recorded, and answered with 0).
    WindowHandle CreateWindow(const std::wstring& className, const std::wstring& title,
                              Procedure procedure = {});
    void DestroyWindow(WindowHandle window);
    // Gives every windowed control of a loading form a window, and takes them away again when
    // the form unloads (the UI shell calls these).
    void CreateControlWindows(Form& form);
    void DestroyControlWindows(Form& form);
    // The window's current procedure has been replaced.
    bool IsSubclassed(WindowHandle window) const;
    // The user turns the mouse wheel over a window: WM_MOUSEWHEEL with the delta (120 a notch).
    std::intptr_t TurnWheel(WindowHandle window, int16_t delta);
    bool Exists(WindowHandle window) const;
    // Every message received, in order; and those one window received.
    const std::vector<ReceivedMessage>& Received() const { return m_received; }
    std::vector<ReceivedMessage> ReceivedBy(WindowHandle window) const;
    // Queues work that runs at the next DoEvents (or whenever the message loop runs).
    void Post(std::function<void()> work);
    std::size_t Pending() const { return m_posted.size(); }
    int DoEventsCalls() const { return m_doEventsCalls; }

    // The system's "lines to scroll per wheel notch" (Control Panel's mouse setting).
    uint32_t wheelScrollLines = 3;

private:
    struct Window {
        WindowHandle handle = 0;
        std::wstring className;
        std::wstring title;
        Procedure procedure;
        // The procedure put in its place, if any; it receives every message first.
        WindowProc replaced;
        int32_t style = 0;
        int32_t exStyle = 0;
    };

    Window* Find(WindowHandle window);
    const Window* Find(WindowHandle window) const;
    // The message as received, after it was recorded: the window's own procedure's view.
    std::intptr_t RunOwnProcedure(WindowHandle window, const ReceivedMessage& message);
    static ReceivedMessage Describe(WindowHandle window, uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam);

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
