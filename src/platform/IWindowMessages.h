// Window messages, shaped like the user32 calls the add-in makes to reach other programs'
// windows (FindWindowA, SendMessageA with WM_COPYDATA) and its own dialogs' control windows
// (window procedures replaced and called on, window styles, the system's wheel setting), and
// like the host runtime's DoEvents, which lets pending window messages (timers among them) run.
// None of them throws.
#pragma once

#include <cstdint>
#include <functional>

namespace plexa {

using WindowHandle = std::uintptr_t;

// Message numbers; not the Win32 macro names, so that <windows.h> can be included too.
namespace wm {
inline constexpr uint32_t CopyData = 74;        // WM_COPYDATA
inline constexpr uint32_t Char = 0x0102;        // WM_CHAR
inline constexpr uint32_t VScroll = 0x0115;     // WM_VSCROLL
inline constexpr uint32_t MouseWheel = 0x020A;  // WM_MOUSEWHEEL
}  // namespace wm

// WM_VSCROLL's request (the low word of wParam).
namespace sb {
inline constexpr uint32_t LineUp = 0;
inline constexpr uint32_t LineDown = 1;
inline constexpr uint32_t PageUp = 2;
inline constexpr uint32_t PageDown = 3;
inline constexpr uint32_t EndScroll = 8;
}  // namespace sb

// GetWindowLongA's indexes.
namespace gwl {
inline constexpr int32_t Style = -16;
inline constexpr int32_t ExStyle = -20;
}  // namespace gwl

// SystemParametersInfoA's actions.
namespace spi {
inline constexpr uint32_t GetWheelScrollLines = 104;  // SPI_GETWHEELSCROLLLINES
// The wheel setting "one screen at a time" (WHEEL_PAGESCROLL).
inline constexpr uint32_t WheelPageScroll = 0xFFFFFFFF;
}  // namespace spi

// A window procedure: what a window does with a message, and its result.
using WindowProc = std::function<std::intptr_t(WindowHandle window, uint32_t message,
                                               std::uintptr_t wParam, std::intptr_t lParam)>;

// COPYDATASTRUCT: what WM_COPYDATA's lParam points to.
struct CopyDataStruct {
    std::uintptr_t dwData = 0;
    uint32_t cbData = 0;
    const void* lpData = nullptr;
};

class IWindowMessages {
public:
    virtual ~IWindowMessages() = default;
    // FindWindowA: the first top-level window with that class and title (letter case ignored);
    // a null pointer matches any. 0 when there is none.
    virtual WindowHandle FindWindowA(const char* className, const char* windowName) = 0;
    // SendMessageA: runs the window's procedure and returns its result once it has handled the
    // message; 0 for a window that does not exist. For wm::CopyData, lParam is the address of a
    // CopyDataStruct.
    virtual std::intptr_t SendMessageA(WindowHandle window, uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;
    // DoEvents: lets every pending window message run, due timers included; returns the number
    // of open forms, as the host runtime's DoEvents does.
    virtual int32_t DoEvents() = 0;

    // SetWindowLongA with GWL_WNDPROC: makes procedure the window's procedure and returns the
    // one it had (an empty one for a window that does not exist, which is left alone).
    virtual WindowProc SetWindowProc(WindowHandle window, WindowProc procedure) = 0;
    // CallWindowProcA: hands a message on to a procedure a SetWindowProc returned.
    virtual std::intptr_t CallWindowProcA(const WindowProc& procedure, WindowHandle window,
                                          uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam) = 0;
    // GetWindowLongA / SetWindowLongA with gwl::Style or gwl::ExStyle; SetWindowLongA returns
    // the previous value. 0 for a window that does not exist.
    virtual int32_t GetWindowLongA(WindowHandle window, int32_t index) = 0;
    virtual int32_t SetWindowLongA(WindowHandle window, int32_t index, int32_t value) = 0;
    // SystemParametersInfoA for a setting that is a number (spi::GetWheelScrollLines): false
    // when the setting cannot be read.
    virtual bool SystemParametersInfoA(uint32_t action, uint32_t& value) = 0;
};

}  // namespace plexa
