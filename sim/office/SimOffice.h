// What the simulated Office command bars share across every window: the fault checks, the
// clipboard (PasteFace), the host's major version (pictures on buttons exist from 2002 on), every
// control made (a click reaches every control object that shares the clicked one's tag, in any
// window, as Office does), and the record of what was left behind when windows closed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/HostError.h"
#include "sim/Faults.h"
#include "sim/windows/SimClipboard.h"

namespace plexa::sim {

class SimCommandBarControl;

class SimOffice {
public:
    SimOffice(Faults& faults, SimClipboard& clipboard, std::function<int32_t()> majorVersion);
    SimOffice(const SimOffice&) = delete;
    SimOffice& operator=(const SimOffice&) = delete;

    Faults& faults;
    SimClipboard& clipboard;
    int32_t MajorVersion() const { return m_majorVersion(); }
    void Check(std::wstring_view op, std::wstring_view detail = {}) const;

    // Every control is registered when it is made.
    void Register(const std::shared_ptr<SimCommandBarControl>& control);
    // Clicks a button as the user does: its own Click first, then the Click of every other live
    // control with the same (non-empty) tag, in the order they were made; each gets the clicked
    // control and one shared cancel flag. A built-in button whose default action is not
    // cancelled records its id in BuiltInActions. Returns the cancel flag. Throws ScriptError
    // for a control that is deleted, hidden, disabled or a popup.
    bool Click(const std::shared_ptr<SimCommandBarControl>& control);
    // The ids of the built-in buttons whose own action ran, in order.
    const std::vector<int32_t>& BuiltInActions() const { return m_builtInActions; }

    // Non-temporary bars and controls the add-in left in a window when it closed ("Explorer
    // 'Inbox': control 'Plexa' tag 'x' on 'Menu Bar'"): Office would keep them for good.
    std::vector<std::wstring> leftovers;

private:
    std::function<int32_t()> m_majorVersion;
    std::vector<std::weak_ptr<SimCommandBarControl>> m_controls;
    std::vector<int32_t> m_builtInActions;
};

// Office's errors as the automation runtime reports them.
HostError OfficeMethodFailed(const std::wstring& method, const std::wstring& object);
HostError OfficeNotSupported();
HostError OfficeInvalidArgument();

}  // namespace plexa::sim
