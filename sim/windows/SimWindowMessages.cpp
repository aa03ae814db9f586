#include "sim/windows/SimWindowMessages.h"

#include <algorithm>

#include "core/FlexGrid.h"
#include "core/Text.h"
#include "sim/windows/SimUiShell.h"

namespace plexa::sim {

SimWindowMessages::SimWindowMessages(Faults& faults, SimTimers& timers, SimUiShell& ui)
    : m_faults(faults), m_timers(timers), m_ui(ui) {
    m_ui.onFormLoading = [this](Form& form) { CreateControlWindows(form); };
    m_ui.onFormUnloaded = [this](Form& form) { DestroyControlWindows(form); };
}

SimWindowMessages::Window* SimWindowMessages::Find(WindowHandle window) {
    auto it = std::find_if(m_windows.begin(), m_windows.end(),
                           [window](const Window& w) { return w.handle == window; });
    return it == m_windows.end() ? nullptr : &*it;
}

const SimWindowMessages::Window* SimWindowMessages::Find(WindowHandle window) const {
    return const_cast<SimWindowMessages*>(this)->Find(window);
}

ReceivedMessage SimWindowMessages::Describe(WindowHandle window, uint32_t message,
                                            std::uintptr_t wParam, std::intptr_t lParam) {
    ReceivedMessage received;
    received.window = window;
    received.message = message;
    received.wParam = wParam;
    received.lParam = lParam;
    if (message == wm::CopyData && lParam != 0) {
        // The block lives in the sender's memory only for the length of the call: copy it now.
        const auto* block = reinterpret_cast<const CopyDataStruct*>(lParam);  // NOLINT
        received.copyDataId = block->dwData;
        received.copyDataLength = block->cbData;
        if (block->lpData != nullptr) {
            const auto* bytes = static_cast<const uint8_t*>(block->lpData);
            received.copyData.assign(bytes, bytes + block->cbData);
        }
    }
    return received;
}

std::intptr_t SimWindowMessages::RunOwnProcedure(WindowHandle window,
                                                 const ReceivedMessage& message) {
    const Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    // The procedure may destroy windows; keep a copy.
    const Procedure procedure = w->procedure;
    return procedure ? procedure(message) : 0;
}

WindowHandle SimWindowMessages::FindWindowA(const char* className, const char* windowName) {
    try {
        m_faults.Check(L"Windows.FindWindowA",
                       windowName == nullptr ? L"" : text::FromAnsi(windowName));
    } catch (const HostError&) {
        return 0;
    }
    for (const Window& w : m_windows) {
        if (className != nullptr && !text::EqualsNoCase(w.className, text::FromAnsi(className))) {
            continue;
        }
        if (windowName != nullptr && !text::EqualsNoCase(w.title, text::FromAnsi(windowName))) {
            continue;
        }
        return w.handle;
    }
    return 0;
}

std::intptr_t SimWindowMessages::SendMessageA(WindowHandle window, uint32_t message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
    try {
        m_faults.Check(L"Windows.SendMessageA", std::to_wstring(message));
    } catch (const HostError&) {
        return 0;
    }
    const Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    m_received.push_back(Describe(window, message, wParam, lParam));
    if (w->replaced) {
        const WindowProc replaced = w->replaced;
        return replaced(window, message, wParam, lParam);
    }
    return RunOwnProcedure(window, m_received.back());
}

WindowProc SimWindowMessages::SetWindowProc(WindowHandle window, WindowProc procedure) {
    Window* w = Find(window);
    if (w == nullptr) {
        return {};
    }
    WindowProc previous = w->replaced;
    if (!previous) {
        previous = [this](WindowHandle h, uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
            return RunOwnProcedure(h, Describe(h, m, wp, lp));
        };
    }
    w->replaced = std::move(procedure);
    return previous;
}

std::intptr_t SimWindowMessages::CallWindowProcA(const WindowProc& procedure, WindowHandle window,
                                                 uint32_t message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) {
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

int32_t SimWindowMessages::GetWindowLongA(WindowHandle window, int32_t index) {
    const Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    return index == gwl::ExStyle ? w->exStyle : index == gwl::Style ? w->style : 0;
}

int32_t SimWindowMessages::SetWindowLongA(WindowHandle window, int32_t index, int32_t value) {
    Window* w = Find(window);
    if (w == nullptr || (index != gwl::Style && index != gwl::ExStyle)) {
        return 0;
    }
    int32_t& slot = index == gwl::ExStyle ? w->exStyle : w->style;
    const int32_t previous = slot;
    slot = value;
    return previous;
}

bool SimWindowMessages::SystemParametersInfoA(uint32_t action, uint32_t& value) {
    try {
        m_faults.Check(L"Windows.SystemParametersInfoA", std::to_wstring(action));
    } catch (const HostError&) {
        return false;
    }
    if (action != spi::GetWheelScrollLines) {
        return false;
    }
    value = wheelScrollLines;
    return true;
}

void SimWindowMessages::CreateControlWindows(Form& form) {
    for (const auto& owned : form.Controls()) {
        Control* control = owned.get();
        if (!HasWindow(control->Type()) || control->hWnd != 0) {
            continue;
        }
        control->hWnd = CreateWindow(
            ControlTypeName(control->Type()), control->QualifiedName(),
            [control](const ReceivedMessage& m) -> std::intptr_t {
                if (auto* grid = dynamic_cast<FlexGrid*>(control);
                    grid != nullptr && m.message == wm::VScroll) {
                    const auto request = static_cast<uint32_t>(m.wParam & 0xFFFF);
                    if (request == sb::LineUp && grid->TopRow() > grid->fixedRows) {
                        grid->SetTopRow(grid->TopRow() - 1);
                    } else if (request == sb::LineDown && grid->TopRow() < grid->MaxTopRow()) {
                        grid->SetTopRow(grid->TopRow() + 1);
                    } else if (request == sb::PageUp) {
                        grid->SetTopRow(
                            std::max(grid->fixedRows, grid->TopRow() - grid->visibleRows));
                    } else if (request == sb::PageDown) {
                        grid->SetTopRow(
                            std::min(grid->MaxTopRow(), grid->TopRow() + grid->visibleRows));
                    }
                    return 0;
                }
                if (control->Type() == ControlType::TextBox && m.message == wm::Char) {
                    control->text.push_back(static_cast<wchar_t>(m.wParam));
                    if (control->onChange) {
                        control->onChange();
                    }
                }
                return 0;
            });
    }
}

void SimWindowMessages::DestroyControlWindows(Form& form) {
    for (const auto& control : form.Controls()) {
        if (control->hWnd != 0) {
            DestroyWindow(control->hWnd);
            control->hWnd = 0;
        }
    }
}

bool SimWindowMessages::IsSubclassed(WindowHandle window) const {
    const Window* w = Find(window);
    return w != nullptr && static_cast<bool>(w->replaced);
}

std::intptr_t SimWindowMessages::TurnWheel(WindowHandle window, int16_t delta) {
    // The delta is the signed high word of wParam.
    const auto wParam = static_cast<std::uintptr_t>(static_cast<uint16_t>(delta)) << 16;
    return SendMessageA(window, wm::MouseWheel, wParam, 0);
}

int32_t SimWindowMessages::DoEvents() {
    m_faults.Check(L"Windows.DoEvents");
    ++m_doEventsCalls;
    while (!m_posted.empty()) {
        auto work = std::move(m_posted.front());
        m_posted.pop_front();
        work();
    }
    m_ui.DeliverModelessSteps();
    m_timers.RunDueNow();
    return m_ui.OpenFormCount();
}

WindowHandle SimWindowMessages::CreateWindow(const std::wstring& className,
                                             const std::wstring& title, Procedure procedure) {
    Window w;
    w.handle = m_nextHandle;
    m_nextHandle += 0x10;
    w.className = className;
    w.title = title;
    w.procedure = std::move(procedure);
    m_windows.push_back(std::move(w));
    return m_windows.back().handle;
}

void SimWindowMessages::DestroyWindow(WindowHandle window) {
    std::erase_if(m_windows, [window](const Window& w) { return w.handle == window; });
}

bool SimWindowMessages::Exists(WindowHandle window) const {
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [window](const Window& w) { return w.handle == window; });
}

std::vector<ReceivedMessage> SimWindowMessages::ReceivedBy(WindowHandle window) const {
    std::vector<ReceivedMessage> result;
    for (const auto& m : m_received) {
        if (m.window == window) {
            result.push_back(m);
        }
    }
    return result;
}

void SimWindowMessages::Post(std::function<void()> work) {
    m_posted.push_back(std::move(work));
}

}  // namespace plexa::sim
