#include "distlists/mMouseWheel.h"

#include <cstdlib>

namespace plexa::mMouseWheel {

void WheelHook(IWindowMessages& windows, WheelHookState& state, WindowHandle window) {
    WheelUnHook(windows, state);
    uint32_t lines = 0;
    state.linesPerNotch = windows.SystemParametersInfoA(spi::GetWheelScrollLines, lines)
                              ? lines
                              : kDefaultLinesPerNotch;
    state.window = window;
    state.previous = windows.SetWindowProc(
        window,
        [&windows, &state](WindowHandle w, uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
            return WheelWindowProc(windows, state, w, m, wp, lp);
        });
    if (!state.previous) {
        state.window = 0;  // no such window: nothing was hooked
    }
}

void WheelUnHook(IWindowMessages& windows, WheelHookState& state) {
    if (state.window == 0) {
        return;
    }
    windows.SetWindowProc(state.window, state.previous);
    state.window = 0;
    state.previous = nullptr;
}

std::intptr_t WheelWindowProc(IWindowMessages& windows, const WheelHookState& state,
                              WindowHandle window, uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    if (message != wm::MouseWheel) {
        return windows.CallWindowProcA(state.previous, window, message, wParam, lParam);
    }
    const auto delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    const uint32_t notches = static_cast<uint32_t>(std::abs(static_cast<int32_t>(delta))) /
                             static_cast<uint32_t>(kWheelDelta);
    if (state.linesPerNotch == spi::WheelPageScroll) {
        // "One screen at a time": a page per notch rather than four billion lines.
        const uint32_t request = delta > 0 ? sb::PageUp : sb::PageDown;
        for (uint32_t i = 0; i < notches; ++i) {
            windows.SendMessageA(window, wm::VScroll, request, 0);
        }
    } else {
        const uint32_t request = delta > 0 ? sb::LineUp : sb::LineDown;
        const uint64_t lines = static_cast<uint64_t>(notches) * state.linesPerNotch;
        for (uint64_t i = 0; i < lines; ++i) {
            windows.SendMessageA(window, wm::VScroll, request, 0);
        }
    }
    windows.SendMessageA(window, wm::VScroll, sb::EndScroll, 0);
    return 0;
}

}  // namespace plexa::mMouseWheel
