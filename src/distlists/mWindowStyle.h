// Changing a window's style bits (GWL_STYLE) or extended style bits (GWL_EXSTYLE).
#pragma once

#include <cstdint>

#include "platform/IWindowMessages.h"

namespace plexa::mWindowStyle {

// The tree-view style that draws lines at the root level (TVS_LINESATROOT).
inline constexpr int32_t TVS_LINESATROOT = 0x4;

// Reads the style (or, with bExStyle, the extended style), clears bitsToClear, sets bitsToSet,
// and writes it back only when it changed; true when it did.
bool SetWindowStyle(IWindowMessages& windows, WindowHandle window, int32_t bitsToClear,
                    int32_t bitsToSet, bool bExStyle);

}  // namespace plexa::mWindowStyle
