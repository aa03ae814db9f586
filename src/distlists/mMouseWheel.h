// The mouse wheel for a window that scrolls only by its scroll bar (the chooser's grid): its
// window procedure is replaced by one that turns each wheel notch into line scrolls, as many
// lines per notch as the system's wheel setting says.
#pragma once

#include <cstdint>

#include "platform/IWindowMessages.h"

namespace plexa::mMouseWheel {

// A hooked window: its previous procedure and the lines a notch scrolls. Lives at one place for
// as long as the hook is in (the new procedure refers to it).
struct WheelHookState {
    WindowHandle window = 0;
    WindowProc previous;
    // Lines per notch; spi::WheelPageScroll scrolls a page per notch.
    uint32_t linesPerNotch = 3;
};

// A wheel delta of one notch.
inline constexpr int32_t kWheelDelta = 120;
// Lines per notch when the system setting cannot be read.
inline constexpr uint32_t kDefaultLinesPerNotch = 3;

// Puts WheelWindowProc in place of the window's procedure and reads the wheel setting; a window
// hooked already through this state is unhooked first.
void WheelHook(IWindowMessages& windows, WheelHookState& state, WindowHandle window);
// Puts the previous procedure back; nothing when the state holds no hook.
void WheelUnHook(IWindowMessages& windows, WheelHookState& state);
// WM_MOUSEWHEEL: |delta| / 120 notches, each scrolling its lines up (delta > 0) or down, then
// one end-of-scroll; answers 0. Every other message goes to the previous procedure.
std::intptr_t WheelWindowProc(IWindowMessages& windows, const WheelHookState& state,
                              WindowHandle window, uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);

}  // namespace plexa::mMouseWheel
