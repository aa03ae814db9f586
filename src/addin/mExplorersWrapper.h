// The path from an explorer wrapper back to the list of wrappers: through the connection object
// (gConnect), the wrappers' only link to the list.
#pragma once

#include <string>
#include <vector>

#include "core/Variant.h"

namespace plexa {
class Connect;
}

namespace plexa::mExplorersWrapper {

// Hands the event to the list's EventFromExplorer; nothing when the add-in has no list (before
// start-up completion or after shut-down).
void RaiseExplorersEvent(Connect& connect, const std::wstring& eventName,
                         const std::vector<Variant>& args);

}  // namespace plexa::mExplorersWrapper
