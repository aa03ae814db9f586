// The Office ribbon as the add-in sees it.
#pragma once

#include <memory>
#include <string>

#include "core/Variant.h"

namespace plexa {

// What the host hands to a ribbon callback.
class IRibbonControl : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"IRibbonControl"; }
    // The id from the mark-up.
    virtual std::wstring Id() = 0;
    // The window the ribbon belongs to: an Inspector or an Explorer.
    virtual std::shared_ptr<AutomationObject> Context() = 0;
};

// The loaded ribbon, handed to the onLoad callback.
class IRibbonUI : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"IRibbonUI"; }
    // Makes the host ask every callback again.
    virtual void Invalidate() = 0;
    // Makes the host ask the callbacks of one control again.
    virtual void InvalidateControl(const std::wstring& controlId) = 0;
};

}  // namespace plexa
