// The dialog model. A dialog is a Form owning named controls with the properties its logic,
// localisation and dumping use; the UI shell shows it and lets a user act on it. Positions and
// sizes are in twips, as the dialogs were designed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plexa {

class IPictureDisp;

enum class ControlType {
    Label,
    TextBox,
    CheckBox,
    OptionButton,
    CommandButton,
    Frame,
    ComboBox,
    ImageCombo,
    UpDown,
    ProgressBar,
    Image,
    Line,
    PictureBox,
    TabStrip,
    TreeView,
    FlexGrid,
    Timer,
};

// The control's type name as the dialog designer shows it ("CommandButton").
std::wstring ControlTypeName(ControlType type);
// Whether controls of a type carry a caption, a picture, or line end points.
bool HasCaption(ControlType type);
bool HasPicture(ControlType type);
// Whether controls of a type are windows of their own (labels, images, lines and timers are not).
bool HasWindow(ControlType type);

class Control {
public:
    Control(std::wstring name, ControlType type, int index = -1);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::wstring& Name() const { return m_name; }
    // The index within a control array; -1 for a single control.
    int Index() const { return m_index; }
    ControlType Type() const { return m_type; }
    // "name" or "name(index)".
    std::wstring QualifiedName() const;

    std::wstring caption;
    std::wstring toolTipText;
    std::wstring text;  // text boxes and combo boxes
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    bool visible = true;
    bool enabled = true;
    int32_t value = 0;  // check boxes (0, 1, 2), option buttons (0 or -1), progress, up-down
    int32_t min = 0;    // progress bars and up-downs: the range of value
    int32_t max = 100;
    // Combo boxes: the list and the chosen entry. Tab strips: the tabs' captions and the selected
    // tab (0 for the first).
    std::vector<std::wstring> items;
    int32_t listIndex = -1;
    // The control it lies in (a frame or picture box, "name" or "name(index)"); "" for the form
    // itself. A control is on the screen only while every container around it is visible.
    std::wstring container;
    std::shared_ptr<IPictureDisp> picture;
    // The control's own window (a window handle) while its form is loaded, for the controls
    // that have one (text boxes, trees, grids ...); 0 otherwise. The UI shell sets it.
    std::uintptr_t hWnd = 0;

    // What happens when the user clicks or changes the control.
    std::function<void()> onClick;
    std::function<void()> onChange;

private:
    std::wstring m_name;
    ControlType m_type;
    int m_index;
};

class Form {
public:
    explicit Form(std::wstring name);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::wstring& Name() const { return m_name; }

    // Adds a control; the order of adding is the order of the controls collection.
    Control& Add(const std::wstring& name, ControlType type, int index = -1);
    // Adds a control of a richer kind (a TreeView, a FlexGrid), made from its name.
    template <typename T>
    T& AddControl(const std::wstring& name) {
        auto control = std::make_unique<T>(name);
        T& added = *control;
        m_controls.push_back(std::move(control));
        return added;
    }
    // Adds a command button with its caption and what a click on it does.
    Control& AddButton(const std::wstring& name, std::wstring caption,
                       std::function<void()> onClick);
    // The control of that name (letter case ignored) and index; nullptr when there is none.
    Control* Find(const std::wstring& name, int index = -1);
    Control& operator[](const std::wstring& name);
    const std::vector<std::unique_ptr<Control>>& Controls() const { return m_controls; }
    // Whether the user sees the control: it and every container around it are visible. A
    // container that is not on the form hides what lies in it.
    bool OnScreen(const Control& control) const;

    std::wstring caption;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::shared_ptr<IPictureDisp> picture;

    // The dialog's life as the UI shell drives it.
    virtual void OnLoad() {}
    virtual void OnActivate() {}
    // The close box; returning false keeps the dialog open.
    virtual bool OnQueryUnload() { return true; }
    virtual void OnUnload() {}

    // Set by the dialog's own logic to end a modal run.
    bool unloaded = false;

private:
    std::wstring m_name;
    std::vector<std::unique_ptr<Control>> m_controls;
};

}  // namespace plexa
