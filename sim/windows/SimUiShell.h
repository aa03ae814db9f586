// The simulated UI shell: message boxes and the add-in's dialogs, answered by the scripted user.
//
// A message box takes the next scripted answer, which must be a message-box answer offering one
// of the box's buttons (and, when it says so, the box's text must contain its text). A dialog
// shown modal takes scripted dialog steps for its form name, one after another, until the dialog
// unloads or hides itself; a modeless dialog stays open and the scenario acts on it with Act, or
// queues steps for it that the message loop delivers (DeliverModelessSteps, run by DoEvents).
// Anything else throws UnexpectedPrompt. Every prompt is recorded (Prompts) and reported to
// onPrompt as it appears. A form shown without activation is on screen but never the active
// window. Faults: "UiShell.MsgBox", "UiShell.Show" (also for ShowNoActivate), "UiShell.Hide",
// "UiShell.Unload".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/Form.h"
#include "platform/IUiShell.h"
#include "sim/Faults.h"
#include "sim/windows/ScriptedUser.h"

namespace plexa {
class FlexGrid;
class TreeView;
}  // namespace plexa

namespace plexa::sim {

// One prompt as the user saw it.
struct PromptRecord {
    enum class Kind { MessageBox, Dialog };
    Kind kind = Kind::MessageBox;
    std::wstring title;   // the caption
    std::wstring text;    // the message box's text, or the dialog's form name
    int32_t buttons = 0;  // the message box's mb flags
    int32_t answer = 0;   // the message box's answer (mb::IdYes ...)
    bool modal = true;
};

class SimUiShell : public IUiShell {
public:
    explicit SimUiShell(Faults& faults);

    int32_t MsgBox(const std::wstring& prompt, int32_t buttons, const std::wstring& title) override;
    void Show(Form& form, bool modal) override;
    void ShowNoActivate(Form& form) override;
    void Hide(Form& form) override;
    void Unload(Form& form) override;
    bool IsLoaded(const Form& form) override;
    // The active dialog's window, else the host's window in front (hostWindow).
    WindowHandle GetForegroundWindow() override;
    WindowHandle GetActiveWindow() override { return GetForegroundWindow(); }
    WindowHandle SetOwner(Form& form, WindowHandle owner) override;

    ScriptedUser user;

    // Simulation controls.
    // Enters values into an open dialog and presses a button, as the user would.
    // look (when given) is told of the dialog between the values and the press.
    void Act(const std::wstring& formName,
             const std::vector<std::pair<std::wstring, std::wstring>>& values,
             const std::wstring& press, const std::function<void(const Form&)>& look = {});
    // What the message loop does with the user's clicks: while the next scripted answer is a
    // dialog step for a loaded, visible modeless dialog, takes it and applies it. Returns the
    // number of steps applied.
    int DeliverModelessSteps();
    // The loaded form of that name (letter case ignored); nullptr when none is loaded.
    Form* FindForm(const std::wstring& formName) const;
    // The visible dialog the user is working in (the last shown and activated); nullptr when
    // none.
    Form* ActiveForm() const;
    int32_t OpenFormCount() const { return static_cast<int32_t>(m_loaded.size()); }
    // The names of the forms the user can see (loaded and not hidden), in loading order.
    std::vector<std::wstring> ShowingFormNames() const;
    // A loaded form's window and its owner; 0 when the form is not loaded.
    WindowHandle HandleOf(const Form& form) const;
    WindowHandle OwnerOf(const Form& form) const;
    // Every owner given to a form of that name, in order (restoring included).
    std::vector<WindowHandle> OwnersGiven(const std::wstring& formName) const;
    const std::vector<PromptRecord>& Prompts() const { return m_prompts; }

    // Told when a dialog becomes the active window, and (with nullptr) when the active dialog
    // goes away.
    std::function<void(Form*)> onFormActivated;
    // The host's window in front (the desktop's active folder or message window); 0 when none.
    std::function<WindowHandle()> hostWindow;
    // Told as a form starts loading (before its OnLoad) and once it has unloaded: the window
    // simulation gives its controls their windows and takes them away.
    std::function<void(Form&)> onFormLoading;
    std::function<void(Form&)> onFormUnloaded;
    // Told of every prompt as it appears (the command-line host prints it).
    std::function<void(const PromptRecord&)> onPrompt;

private:
    struct Loaded {
        Form* form;
        bool visible;
        bool modal;
        bool activated = true;  // false while shown without activation
        WindowHandle handle = 0;
        WindowHandle owner = 0;
    };

    Loaded* Entry(const Form& form);
    void Forget(const Form& form);
    // Puts a shown form on top of the window order and records the dialog as shown.
    void BringToTop(Loaded shown, bool modal);
    void Record(PromptRecord record);
    // Applies one dialog step to a loaded form.
    void Apply(Form& form, const std::vector<std::pair<std::wstring, std::wstring>>& values,
               const std::wstring& press, const std::function<void(const Form&)>& look = {});
    void SetValue(Form& form, const std::wstring& name, const std::wstring& value);
    // The user clicks a tree's node, given by its path of texts ("Contacts\\Clients", or from a
    // store's top: "\\\\Personal Folders\\Contacts"), or a grid's row shown on the screen, given
    // by the text of one of its cells, or its column header ("header:Subject").
    void ClickNode(TreeView& tree, const std::wstring& path);
    void ClickGrid(FlexGrid& grid, const std::wstring& value);
    Control& Usable(Form& form, const std::wstring& qualified);
    // A dialog is still up when it is loaded, visible and its logic has not ended it.
    bool StillUp(const Form& form);
    void NotifyActive();
    WindowHandle NextHandle() { return m_nextHandle += 0x10; }

    Faults& m_faults;
    std::vector<Loaded> m_loaded;
    std::vector<PromptRecord> m_prompts;
    std::vector<std::pair<std::wstring, WindowHandle>> m_ownersGiven;
    WindowHandle m_nextHandle = 0x50010;
};

}  // namespace plexa::sim
