// Office command bars: toolbars, menus and context menus with their controls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Signal.h"
#include "core/Variant.h"

namespace plexa {

class CommandBar;
class CommandBarControls;
class IPictureDisp;

// MsoControlType.
inline constexpr int32_t msoControlButton = 1;
inline constexpr int32_t msoControlPopup = 10;
// MsoButtonStyle.
inline constexpr int32_t msoButtonIcon = 1;
inline constexpr int32_t msoButtonCaption = 2;
inline constexpr int32_t msoButtonIconAndCaption = 3;
// MsoButtonState.
inline constexpr int32_t msoButtonUp = 0;
inline constexpr int32_t msoButtonDown = -1;
// MsoBarPosition.
inline constexpr int32_t msoBarTop = 1;
// MsoBarProtection: no customising.
inline constexpr int32_t msoBarNoCustomize = 1;

// A button or a popup on a bar. Members a kind of control lacks throw HostError.
class CommandBarControl : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"CommandBarControl"; }
    // MsoControlType.
    virtual int32_t Type() = 0;
    // The built-in id; 1 for a custom control.
    virtual int32_t Id() = 0;
    virtual std::wstring Caption() = 0;
    virtual void SetCaption(const std::wstring& caption) = 0;
    virtual std::wstring Tag() = 0;
    virtual void SetTag(const std::wstring& tag) = 0;
    virtual std::wstring TooltipText() = 0;
    virtual void SetTooltipText(const std::wstring& text) = 0;
    virtual std::wstring Parameter() = 0;
    virtual void SetParameter(const std::wstring& parameter) = 0;
    virtual bool BeginGroup() = 0;
    virtual void SetBeginGroup(bool beginGroup) = 0;
    virtual bool Enabled() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
    // The 1-based position on its bar.
    virtual int32_t Index() = 0;
    // The bar the control sits on.
    virtual std::shared_ptr<CommandBar> Parent() = 0;
    virtual void Delete() = 0;
    // Buttons: MsoButtonStyle, face id, pressed state, picture and mask.
    virtual int32_t Style() = 0;
    virtual void SetStyle(int32_t style) = 0;
    virtual int32_t FaceId() = 0;
    virtual void SetFaceId(int32_t faceId) = 0;
    virtual int32_t State() = 0;
    virtual void SetState(int32_t state) = 0;
    virtual void SetPicture(const std::shared_ptr<IPictureDisp>& picture) = 0;
    virtual void SetMask(const std::shared_ptr<IPictureDisp>& mask) = 0;
    // Takes the button's face from the bitmap on the clipboard.
    virtual void PasteFace() = 0;
    // Popups: the bar that opens below.
    virtual std::shared_ptr<CommandBar> GetCommandBar() = 0;

    // A click on the control, or on any control sharing its tag. The flag cancels the
    // built-in action.
    Signal<std::shared_ptr<CommandBarControl>, bool&> Click;
};

class CommandBarControls : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"CommandBarControls"; }
    virtual int32_t Count() = 0;
    // 1-based. Throws HostError outside 1..Count.
    virtual std::shared_ptr<CommandBarControl> Item(int32_t index) = 0;
    // Adds a control of an MsoControlType before a 1-based position (0: at the end).
    // A temporary control disappears when its window closes.
    virtual std::shared_ptr<CommandBarControl> Add(int32_t type, int32_t id = 1,
                                                   const std::wstring& parameter = L"",
                                                   int32_t before = 0, bool temporary = false) = 0;
};

class CommandBar : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"CommandBar"; }
    virtual std::wstring Name() = 0;
    virtual std::shared_ptr<CommandBarControls> Controls() = 0;
    // The first control with that id (0: any) or tag (""; any), searching popups too when
    // recursive; nothing when there is none.
    virtual std::shared_ptr<CommandBarControl> FindControl(int32_t type, int32_t id,
                                                           const std::wstring& tag, bool visible,
                                                           bool recursive) = 0;
    virtual int32_t Position() = 0;
    virtual void SetPosition(int32_t position) = 0;
    virtual int32_t RowIndex() = 0;
    virtual void SetRowIndex(int32_t rowIndex) = 0;
    virtual int32_t Left() = 0;
    virtual void SetLeft(int32_t left) = 0;
    virtual int32_t Top() = 0;
    virtual void SetTop(int32_t top) = 0;
    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual int32_t Protection() = 0;
    virtual void SetProtection(int32_t protection) = 0;
    virtual void Delete() = 0;
};

class CommandBars : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"CommandBars"; }
    virtual int32_t Count() = 0;
    // The bar of that name. Throws HostError when there is none.
    virtual std::shared_ptr<CommandBar> Item(const std::wstring& name) = 0;
    // Adds a toolbar at an MsoBarPosition; a temporary one disappears with its window.
    virtual std::shared_ptr<CommandBar> Add(const std::wstring& name, int32_t position,
                                            bool temporary) = 0;

    // Raised whenever the host refreshes its bars (window activation, selection change, a menu
    // opening).
    Signal<> OnUpdate;
};

}  // namespace plexa
