// The user-interface shell: message boxes as the host runtime's MsgBox shows them, and the
// add-in's dialogs (forms, src/core/Form.h) shown modal or modeless.
#pragma once

#include <cstdint>
#include <string>

#include "platform/IWindowMessages.h"

namespace plexa {

class Form;

// MsgBox buttons and styles (the MB_ flags) and its results (IDOK ...). Not the Win32 macro
// names, so that <windows.h> can be included too.
namespace mb {
inline constexpr int32_t OkOnly = 0x0;
inline constexpr int32_t OkCancel = 0x1;
inline constexpr int32_t AbortRetryIgnore = 0x2;
inline constexpr int32_t YesNoCancel = 0x3;
inline constexpr int32_t YesNo = 0x4;
inline constexpr int32_t RetryCancel = 0x5;
inline constexpr int32_t ButtonsMask = 0xF;
inline constexpr int32_t IconCritical = 0x10;
inline constexpr int32_t IconQuestion = 0x20;
inline constexpr int32_t IconExclamation = 0x30;
inline constexpr int32_t IconInformation = 0x40;
inline constexpr int32_t DefaultButton2 = 0x100;
inline constexpr int32_t DefaultButton3 = 0x200;
inline constexpr int32_t SetForeground = 0x10000;
inline constexpr int32_t Topmost = 0x40000;

inline constexpr int32_t IdOk = 1;
inline constexpr int32_t IdCancel = 2;
inline constexpr int32_t IdAbort = 3;
inline constexpr int32_t IdRetry = 4;
inline constexpr int32_t IdIgnore = 5;
inline constexpr int32_t IdYes = 6;
inline constexpr int32_t IdNo = 7;
}  // namespace mb

class IUiShell {
public:
    virtual ~IUiShell() = default;
    // MsgBox: shows the prompt with the buttons and styles of the mb flags and waits for the
    // user; returns the button pressed (mb::IdYes ...).
    virtual int32_t MsgBox(const std::wstring& prompt, int32_t buttons,
                           const std::wstring& title) = 0;
    // Show: loads the form when it is not loaded (OnLoad), shows it and makes it the active
    // window (OnActivate). Modal: returns once the form is unloaded or hidden.
    virtual void Show(Form& form, bool modal) = 0;
    // ShowNoActivate: loads the form when it is not loaded (OnLoad) and shows it modeless at the
    // top of the window order without making it the active window (SW_SHOWNOACTIVATE, then
    // SetWindowPos to HWND_TOP with SWP_NOACTIVATE): the window the user works in keeps the
    // focus.
    virtual void ShowNoActivate(Form& form) = 0;
    // Hide: takes the form off the screen but keeps it loaded; ends a modal run.
    virtual void Hide(Form& form) = 0;
    // Unload: runs OnUnload and forgets the form; nothing for a form that is not loaded.
    virtual void Unload(Form& form) = 0;
    // Whether the form is loaded (shown or hidden).
    virtual bool IsLoaded(const Form& form) = 0;
    // GetForegroundWindow: the window the user works in (a host window or a dialog); 0 when
    // none.
    virtual WindowHandle GetForegroundWindow() = 0;
    // GetActiveWindow: the active window of the add-in's thread; 0 when none.
    virtual WindowHandle GetActiveWindow() = 0;
    // SetOwner: makes the window the owner of the loaded form's window (SetWindowLongPtr with
    // GWLP_HWNDPARENT), so the form stays in front of it; returns the previous owner (0 for
    // none, and for a form that is not loaded, which is left alone).
    virtual WindowHandle SetOwner(Form& form, WindowHandle owner) = 0;
};

}  // namespace plexa
