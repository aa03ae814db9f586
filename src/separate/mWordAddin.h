// Hands a text to the add-in's companion inside Microsoft Word, which types it into the Word
// editor of a message window (the 2002 and 2003 clients edit mail in Word).
#pragma once

#include <string>

namespace plexa {
class Services;
}

namespace plexa::mWordAddin {

// The companion's window and the command it understands.
inline constexpr const char* kCompanionClass = "ThunderRT6FormDC";
inline constexpr const char* kCompanionTitle = "Orvin.Plexa.WordAddin";

// Sends "SendTextByKeyPress,<1|0>,<text>" and waits until the companion handled it; does
// nothing when the companion is not running.
void SendTextByKeyPress2Word(Services& services, const std::wstring& text, bool flag);

}  // namespace plexa::mWordAddin
