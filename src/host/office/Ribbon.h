// The Office ribbon as the add-in sees it.
#pragma once

#include <memory>
#include <string>

#include "core/Variant.h"

namespace plexa {

class IPictureDisp;

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

// What an add-in offers the ribbon: its custom-UI mark-up per ribbon, and the callbacks the
// mark-up names, which Office calls by name (through the add-in's IDispatch). Each Invoke call
// names the callback as the mark-up does; a name the add-in does not have throws HostError
// (DISP_E_UNKNOWNNAME), and so may the callback itself.
class IRibbonExtensibility {
public:
    virtual ~IRibbonExtensibility() = default;
    // GetCustomUI: the mark-up for a ribbon id ("Microsoft.Outlook.Mail.Compose"); empty text
    // leaves that ribbon alone.
    virtual std::wstring GetCustomUI(const std::wstring& ribbonID) = 0;
    // onLoad(ribbon).
    virtual void InvokeOnLoad(const std::wstring& callback,
                              const std::shared_ptr<IRibbonUI>& ribbon) = 0;
    // getLabel, getScreentip (control) -> text.
    virtual std::wstring InvokeGetText(const std::wstring& callback,
                                       const std::shared_ptr<IRibbonControl>& control) = 0;
    // getVisible, getEnabled, getPressed, getShowLabel (control) -> Boolean.
    virtual bool InvokeGetBool(const std::wstring& callback,
                               const std::shared_ptr<IRibbonControl>& control) = 0;
    // getImage (control) -> picture; nothing for none.
    virtual std::shared_ptr<IPictureDisp> InvokeGetImage(
        const std::wstring& callback, const std::shared_ptr<IRibbonControl>& control) = 0;
    // onAction of a button (control).
    virtual void InvokeAction(const std::wstring& callback,
                              const std::shared_ptr<IRibbonControl>& control) = 0;
    // onAction of a toggle button (control, pressed): pressed is the state after the click.
    virtual void InvokeToggleAction(const std::wstring& callback,
                                    const std::shared_ptr<IRibbonControl>& control,
                                    bool pressed) = 0;
};

}  // namespace plexa
