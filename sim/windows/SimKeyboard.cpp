#include "sim/windows/SimKeyboard.h"

namespace plexa::sim {

void SimKeyboard::SendKeys(const std::wstring& keys, bool /*wait*/) {
    m_faults.Check(L"Keyboard.SendKeys", keys);
    // Keys are handled synchronously here, so waiting for them changes nothing.
    const std::vector<KeyStroke> strokes = mSendKeys::Parse(keys);
    m_sent.push_back(keys);
    for (const KeyStroke& stroke : strokes) {
        if (focus) {
            focus(stroke);
        } else {
            ++m_lost;
        }
    }
}

}  // namespace plexa::sim
