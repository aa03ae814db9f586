// An open dialog as the user sees it, one line per control: its kind, name, and what it shows
// (caption, text, value, list entry; a tree's folders with the chosen one marked; a grid's
// header and the rows on the screen; a tab strip's tabs with the selected one marked; an image
// combo's chosen entry with its picture's key). Controls the user cannot see (hidden, or in a
// hidden frame or page) and timers are left out.
#pragma once

#include <string>
#include <vector>

namespace plexa {
class Form;
}

namespace plexa::sim::mFormDump {

std::vector<std::wstring> DumpForm(const Form& form);

}  // namespace plexa::sim::mFormDump
