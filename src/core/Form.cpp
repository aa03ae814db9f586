#include "core/Form.h"

#include "core/HostError.h"
#include "core/Text.h"

namespace plexa {

std::wstring ControlTypeName(ControlType type) {
    switch (type) {
        case ControlType::Label:
            return L"Label";
        case ControlType::TextBox:
            return L"TextBox";
        case ControlType::CheckBox:
            return L"CheckBox";
        case ControlType::OptionButton:
            return L"OptionButton";
        case ControlType::CommandButton:
            return L"CommandButton";
        case ControlType::Frame:
            return L"Frame";
        case ControlType::ComboBox:
            return L"ComboBox";
        case ControlType::ImageCombo:
            return L"ImageCombo";
        case ControlType::UpDown:
            return L"UpDown";
        case ControlType::ProgressBar:
            return L"ProgressBar";
        case ControlType::Image:
            return L"Image";
        case ControlType::Line:
            return L"Line";
        case ControlType::PictureBox:
            return L"PictureBox";
        case ControlType::TabStrip:
            return L"TabStrip";
        case ControlType::TreeView:
            return L"TreeView";
        case ControlType::FlexGrid:
            return L"MSHFlexGrid";
        case ControlType::Timer:
            return L"Timer";
    }
    return L"Control";
}

bool HasCaption(ControlType type) {
    switch (type) {
        case ControlType::Label:
        case ControlType::CheckBox:
        case ControlType::OptionButton:
        case ControlType::CommandButton:
        case ControlType::Frame:
            return true;
        default:
            return false;
    }
}

bool HasPicture(ControlType type) {
    switch (type) {
        case ControlType::CheckBox:
        case ControlType::OptionButton:
        case ControlType::CommandButton:
        case ControlType::Image:
        case ControlType::PictureBox:
            return true;
        default:
            return false;
    }
}

bool HasWindow(ControlType type) {
    switch (type) {
        case ControlType::Label:
        case ControlType::Image:
        case ControlType::Line:
        case ControlType::Timer:
            return false;
        default:
            return true;
    }
}

Control::Control(std::wstring name, ControlType type, int index)
    : m_name(std::move(name)), m_type(type), m_index(index) {}

std::wstring Control::QualifiedName() const {
    return m_index < 0 ? m_name : m_name + L"(" + std::to_wstring(m_index) + L")";
}

Form::Form(std::wstring name) : m_name(std::move(name)) {}

Control& Form::Add(const std::wstring& name, ControlType type, int index) {
    m_controls.push_back(std::make_unique<Control>(name, type, index));
    return *m_controls.back();
}

Control& Form::AddButton(const std::wstring& name, std::wstring caption,
                         std::function<void()> onClick) {
    Control& button = Add(name, ControlType::CommandButton);
    button.caption = std::move(caption);
    button.onClick = std::move(onClick);
    return button;
}

Control* Form::Find(const std::wstring& name, int index) {
    for (auto& c : m_controls) {
        if (c->Index() == index && text::EqualsNoCase(c->Name(), name)) {
            return c.get();
        }
    }
    return nullptr;
}

bool Form::OnScreen(const Control& control) const {
    const Control* current = &control;
    // A chain of containers is as long as the form has controls at most; a longer one loops.
    for (std::size_t depth = 0; depth <= m_controls.size(); ++depth) {
        if (!current->visible) {
            return false;
        }
        if (current->container.empty()) {
            return true;
        }
        const std::wstring& qualified = current->container;
        const Control* next = nullptr;
        for (const auto& c : m_controls) {
            if (text::EqualsNoCase(c->QualifiedName(), qualified)) {
                next = c.get();
                break;
            }
        }
        if (next == nullptr) {
            return false;
        }
        current = next;
    }
    return false;
}

Control& Form::operator[](const std::wstring& name) {
    Control* c = Find(name);
    if (c == nullptr) {
        throw HostError(730, L"Control '" + name + L"' not found", m_name);
    }
    return *c;
}

}  // namespace plexa
