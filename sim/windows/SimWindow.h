// What every simulated host window has: a name for transcripts, its command bars, its ribbon
// (from the 2007 client on, where the host gives it one), and whether it has closed. The desktop
// (sim/SimDesktop.h) keeps the windows in their order on screen and raises their events.
#pragma once

#include <memory>
#include <string>

#include "core/Variant.h"
#include "platform/IWindowMessages.h"
#include "sim/office/SimCommandBars.h"
#include "sim/office/SimRibbon.h"

namespace plexa::sim {

class SimWindow {
public:
    virtual ~SimWindow() = default;
    // "Explorer 'Inbox'" / "Inspector 'Subject'".
    virtual std::wstring WindowName() const = 0;
    // The window as a host object (its Explorer or Inspector).
    virtual std::shared_ptr<AutomationObject> HostObject() = 0;
    // Raises the port's Activate event.
    virtual void RaiseActivate() = 0;

    bool IsClosed() const { return m_closed; }
    // The window's handle, given when it is first activated; 0 before.
    WindowHandle Hwnd() const { return m_handle; }
    const std::shared_ptr<SimCommandBars>& Bars() const { return m_bars; }
    const std::shared_ptr<RibbonInstance>& Ribbon() const { return m_ribbon; }

protected:
    friend class SimDesktop;
    bool m_closed = false;
    WindowHandle m_handle = 0;
    std::shared_ptr<SimCommandBars> m_bars;
    std::shared_ptr<RibbonInstance> m_ribbon;
};

}  // namespace plexa::sim
