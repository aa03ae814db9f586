#include "sim/windows/SimWindowMessages.h"

#include <algorithm>

#include "core/Text.h"
#include "sim/windows/SimUiShell.h"

namespace plexa::sim {

SimWindowMessages::SimWindowMessages(Faults& faults, SimTimers& timers, SimUiShell& ui)
    : m_faults(faults), m_timers(timers), m_ui(ui) {}

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
    auto it = std::find_if(m_windows.begin(), m_windows.end(),
                           [window](const Window& w) { return w.handle == window; });
    if (it == m_windows.end()) {
        return 0;
    }
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
    m_received.push_back(received);
    // The procedure may destroy windows; keep a copy.
    const Procedure procedure = it->procedure;
    return procedure ? procedure(received) : 0;
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
