// Simulated keystrokes: SendKeys reads the whole key text first (a malformed one throws before
// any key is sent), then hands each keystroke to the focused window through the focus hook; with
// no hook the keys are lost, as with no window in front. Fault: "Keyboard.SendKeys".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/IKeyboard.h"
#include "sim/Faults.h"
#include "sim/windows/mSendKeys.h"

namespace plexa::sim {

class SimKeyboard : public IKeyboard {
public:
    explicit SimKeyboard(Faults& faults) : m_faults(faults) {}

    void SendKeys(const std::wstring& keys, bool wait) override;

    // Where keystrokes go: the focused window (set by the window simulation).
    std::function<void(const KeyStroke&)> focus;
    // Every key text sent, in order.
    const std::vector<std::wstring>& Sent() const { return m_sent; }
    // Keystrokes that found no window.
    int Lost() const { return m_lost; }

private:
    Faults& m_faults;
    std::vector<std::wstring> m_sent;
    int m_lost = 0;
};

}  // namespace plexa::sim
