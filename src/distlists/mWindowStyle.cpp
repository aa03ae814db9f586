#include "distlists/mWindowStyle.h"

namespace plexa::mWindowStyle {

bool SetWindowStyle(IWindowMessages& windows, WindowHandle window, int32_t bitsToClear,
                    int32_t bitsToSet, bool bExStyle) {
    const int32_t index = bExStyle ? gwl::ExStyle : gwl::Style;
    const int32_t style = windows.GetWindowLongA(window, index);
    const int32_t changed = (style & ~bitsToClear) | bitsToSet;
    if (changed == style) {
        return false;
    }
    windows.SetWindowLongA(window, index, changed);
    return true;
}

}  // namespace plexa::mWindowStyle
