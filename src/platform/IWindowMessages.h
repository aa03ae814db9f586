// Window messages, shaped like the user32 calls the add-in makes to reach other programs'
// windows (FindWindowA, SendMessageA with WM_COPYDATA) and like the host runtime's DoEvents,
// which lets pending window messages (timers among them) run. None of them throws.
#pragma once

#include <cstdint>

namespace plexa {

using WindowHandle = std::uintptr_t;

// Message numbers; not the Win32 macro names, so that <windows.h> can be included too.
namespace wm {
inline constexpr uint32_t CopyData = 74;  // WM_COPYDATA
}  // namespace wm

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
};

}  // namespace plexa
