#include "sim/windows/SimUiShell.h"

#include <algorithm>

#include "core/FlexGrid.h"
#include "core/ImageCombo.h"
#include "core/Text.h"
#include "core/TreeView.h"
#include "core/Variant.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/UnexpectedPrompt.h"

namespace plexa::sim {

namespace {

std::vector<int32_t> OfferedButtons(int32_t flags) {
    switch (flags & mb::ButtonsMask) {
        case mb::OkOnly:
            return {mb::IdOk};
        case mb::OkCancel:
            return {mb::IdOk, mb::IdCancel};
        case mb::AbortRetryIgnore:
            return {mb::IdAbort, mb::IdRetry, mb::IdIgnore};
        case mb::YesNoCancel:
            return {mb::IdYes, mb::IdNo, mb::IdCancel};
        case mb::YesNo:
            return {mb::IdYes, mb::IdNo};
        case mb::RetryCancel:
            return {mb::IdRetry, mb::IdCancel};
        default:
            return {};
    }
}

// "name" or "name(index)".
std::pair<std::wstring, int> SplitName(const std::wstring& qualified) {
    const auto open = qualified.find(L'(');
    if (open == std::wstring::npos || qualified.back() != L')') {
        return {qualified, -1};
    }
    const std::wstring index = qualified.substr(open + 1, qualified.size() - open - 2);
    if (index.empty() || !std::all_of(index.begin(), index.end(), iswdigit)) {
        return {qualified, -1};
    }
    return {qualified.substr(0, open), std::stoi(index)};
}

// A caption as a user reads it: without the "&" that marks its access key.
std::wstring PlainCaption(const std::wstring& caption) {
    std::wstring plain;
    for (wchar_t ch : caption) {
        if (ch != L'&') {
            plain.push_back(ch);
        }
    }
    return text::Trim(plain);
}

bool ParseFlag(const std::wstring& value, int32_t& result) {
    if (text::EqualsNoCase(value, L"true") || value == L"1" || value == L"-1" ||
        text::EqualsNoCase(value, L"checked")) {
        result = 1;
        return true;
    }
    if (text::EqualsNoCase(value, L"false") || value == L"0" ||
        text::EqualsNoCase(value, L"unchecked")) {
        result = 0;
        return true;
    }
    if (value == L"2" || text::EqualsNoCase(value, L"grayed")) {
        result = 2;
        return true;
    }
    return false;
}

}  // namespace

SimUiShell::SimUiShell(Faults& faults) : m_faults(faults) {}

void SimUiShell::BringToTop(Loaded shown, bool modal) {
    const Form* form = shown.form;
    std::erase_if(m_loaded, [form](const Loaded& l) { return l.form == form; });
    m_loaded.push_back(shown);
    PromptRecord record;
    record.kind = PromptRecord::Kind::Dialog;
    record.title = form->caption;
    record.text = form->Name();
    record.modal = modal;
    Record(std::move(record));
}

void SimUiShell::Record(PromptRecord record) {
    m_prompts.push_back(std::move(record));
    if (onPrompt) {
        onPrompt(m_prompts.back());
    }
}

int32_t SimUiShell::MsgBox(const std::wstring& prompt, int32_t buttons, const std::wstring& title) {
    m_faults.Check(L"UiShell.MsgBox", prompt);
    const std::vector<int32_t> offered = OfferedButtons(buttons);
    const ScriptedAnswer* next = user.Peek();
    if (next == nullptr) {
        throw UnexpectedPrompt(L"message box", title, prompt, L"no answer left");
    }
    if (next->kind != ScriptedAnswer::Kind::MessageBox) {
        throw UnexpectedPrompt(L"message box", title, prompt,
                               L"the next answer is for " + next->Describe());
    }
    if (std::find(offered.begin(), offered.end(), next->button) == offered.end()) {
        throw UnexpectedPrompt(L"message box", title, prompt,
                               L"it has no " + ButtonName(next->button) + L" button");
    }
    if (!next->expectContains.empty() &&
        text::FindNoCase(prompt, next->expectContains) == text::npos) {
        throw UnexpectedPrompt(L"message box", title, prompt,
                               L"expected a text containing \"" + next->expectContains + L"\"");
    }
    const ScriptedAnswer answer = user.Take();
    PromptRecord record;
    record.kind = PromptRecord::Kind::MessageBox;
    record.title = title;
    record.text = prompt;
    record.buttons = buttons;
    record.answer = answer.button;
    Record(std::move(record));
    return answer.button;
}

SimUiShell::Loaded* SimUiShell::Entry(const Form& form) {
    for (Loaded& l : m_loaded) {
        if (l.form == &form) {
            return &l;
        }
    }
    return nullptr;
}

void SimUiShell::Forget(const Form& form) {
    Loaded* entry = Entry(form);
    if (entry != nullptr && onFormUnloaded) {
        onFormUnloaded(*entry->form);
    }
    std::erase_if(m_loaded, [&form](const Loaded& l) { return l.form == &form; });
    NotifyActive();
}

void SimUiShell::NotifyActive() {
    if (onFormActivated) {
        onFormActivated(ActiveForm());
    }
}

std::vector<std::wstring> SimUiShell::ShowingFormNames() const {
    std::vector<std::wstring> names;
    for (const Loaded& l : m_loaded) {
        if (l.visible) {
            names.push_back(l.form->Name());
        }
    }
    return names;
}

bool SimUiShell::IsLoaded(const Form& form) {
    return const_cast<SimUiShell*>(this)->Entry(form) != nullptr;
}

bool SimUiShell::StillUp(const Form& form) {
    Loaded* entry = Entry(form);
    if (entry == nullptr) {
        return false;
    }
    if (form.unloaded) {
        // The dialog's logic ended itself.
        Forget(form);
        return false;
    }
    return entry->visible;
}

void SimUiShell::Show(Form& form, bool modal) {
    m_faults.Check(L"UiShell.Show", form.Name());
    if (Entry(form) == nullptr) {
        form.unloaded = false;
        m_loaded.push_back(Loaded{&form, false, modal, true, NextHandle()});
        if (onFormLoading) {
            onFormLoading(form);
        }
        form.OnLoad();
        if (!StillUp(form) && Entry(form) == nullptr) {
            return;  // unloaded itself while loading
        }
    }
    Loaded* entry = Entry(form);
    entry->visible = true;
    entry->modal = modal;
    entry->activated = true;
    // Shown last means on top.
    BringToTop(*entry, modal);
    NotifyActive();
    form.OnActivate();
    if (!modal) {
        return;
    }
    while (StillUp(form)) {
        const ScriptedAnswer* next = user.Peek();
        if (next == nullptr) {
            throw UnexpectedPrompt(L"dialog", form.caption, form.Name(), L"no answer left");
        }
        if (next->kind != ScriptedAnswer::Kind::Dialog ||
            !text::EqualsNoCase(next->formName, form.Name())) {
            throw UnexpectedPrompt(L"dialog", form.caption, form.Name(),
                                   L"the next answer is for " + next->Describe());
        }
        const ScriptedAnswer step = user.Take();
        Apply(form, step.values, step.press, step.look);
        if (step.press.empty() && StillUp(form)) {
            const ScriptedAnswer* after = user.Peek();
            if (after == nullptr || after->kind != ScriptedAnswer::Kind::Dialog ||
                !text::EqualsNoCase(after->formName, form.Name())) {
                throw UnexpectedPrompt(L"dialog", form.caption, form.Name(),
                                       L"still open after entering values, and no button is "
                                       L"pressed");
            }
        }
    }
}

void SimUiShell::Hide(Form& form) {
    m_faults.Check(L"UiShell.Hide", form.Name());
    if (Loaded* entry = Entry(form)) {
        entry->visible = false;
        NotifyActive();
    }
}

void SimUiShell::Unload(Form& form) {
    m_faults.Check(L"UiShell.Unload", form.Name());
    if (Entry(form) == nullptr) {
        return;
    }
    form.OnUnload();
    form.unloaded = true;
    Forget(form);
}

Form* SimUiShell::FindForm(const std::wstring& formName) const {
    for (auto it = m_loaded.rbegin(); it != m_loaded.rend(); ++it) {
        if (text::EqualsNoCase(it->form->Name(), formName)) {
            return it->form;
        }
    }
    return nullptr;
}

void SimUiShell::ShowNoActivate(Form& form) {
    m_faults.Check(L"UiShell.Show", form.Name());
    if (Entry(form) == nullptr) {
        form.unloaded = false;
        m_loaded.push_back(Loaded{&form, false, false, false, NextHandle()});
        form.OnLoad();
        if (Entry(form) == nullptr) {
            return;  // unloaded itself while loading
        }
    }
    Loaded moved = *Entry(form);
    moved.visible = true;
    moved.modal = false;
    moved.activated = false;
    // On top of the window order, but the active window stays what it was.
    BringToTop(moved, false);
}

WindowHandle SimUiShell::GetForegroundWindow() {
    if (const Form* active = ActiveForm()) {
        return HandleOf(*active);
    }
    return hostWindow ? hostWindow() : 0;
}

WindowHandle SimUiShell::SetOwner(Form& form, WindowHandle owner) {
    Loaded* entry = Entry(form);
    if (entry == nullptr) {
        return 0;
    }
    const WindowHandle previous = entry->owner;
    entry->owner = owner;
    m_ownersGiven.emplace_back(form.Name(), owner);
    return previous;
}

WindowHandle SimUiShell::HandleOf(const Form& form) const {
    for (const Loaded& l : m_loaded) {
        if (l.form == &form) {
            return l.handle;
        }
    }
    return 0;
}

WindowHandle SimUiShell::OwnerOf(const Form& form) const {
    for (const Loaded& l : m_loaded) {
        if (l.form == &form) {
            return l.owner;
        }
    }
    return 0;
}

std::vector<WindowHandle> SimUiShell::OwnersGiven(const std::wstring& formName) const {
    std::vector<WindowHandle> owners;
    for (const auto& [name, owner] : m_ownersGiven) {
        if (text::EqualsNoCase(name, formName)) {
            owners.push_back(owner);
        }
    }
    return owners;
}

Form* SimUiShell::ActiveForm() const {
    for (auto it = m_loaded.rbegin(); it != m_loaded.rend(); ++it) {
        if (it->visible && it->activated && !it->form->unloaded) {
            return it->form;
        }
    }
    return nullptr;
}

void SimUiShell::Act(const std::wstring& formName,
                     const std::vector<std::pair<std::wstring, std::wstring>>& values,
                     const std::wstring& press, const std::function<void(const Form&)>& look) {
    Form* form = FindForm(formName);
    if (form == nullptr || !StillUp(*form)) {
        throw ScriptError(L"no dialog " + formName + L" is open");
    }
    Apply(*form, values, press, look);
    StillUp(*form);
}

int SimUiShell::DeliverModelessSteps() {
    int applied = 0;
    for (const ScriptedAnswer* next = user.Peek();
         next != nullptr && next->kind == ScriptedAnswer::Kind::Dialog; next = user.Peek()) {
        Form* form = FindForm(next->formName);
        const Loaded* entry = form != nullptr ? Entry(*form) : nullptr;
        if (entry == nullptr || entry->modal || !StillUp(*form)) {
            break;
        }
        // Taken before it runs: a click may pump messages again.
        const ScriptedAnswer step = user.Take();
        Apply(*form, step.values, step.press, step.look);
        StillUp(*form);
        ++applied;
    }
    return applied;
}

Control& SimUiShell::Usable(Form& form, const std::wstring& qualified) {
    const auto [name, index] = SplitName(qualified);
    Control* control = form.Find(name, index);
    if (control == nullptr) {
        throw ScriptError(L"dialog " + form.Name() + L" has no control " + qualified);
    }
    if (!control->visible || !control->enabled) {
        throw ScriptError(L"control " + qualified + L" of dialog " + form.Name() + L" is " +
                          (control->visible ? L"disabled" : L"hidden"));
    }
    // What lies in a hidden or disabled frame, page or picture box cannot be reached either.
    for (const Control* inner = control; !inner->container.empty();) {
        const auto [outerName, outerIndex] = SplitName(inner->container);
        const Control* outer = form.Find(outerName, outerIndex);
        if (outer == nullptr || !form.OnScreen(*outer) || !outer->enabled) {
            throw ScriptError(
                L"control " + qualified + L" of dialog " + form.Name() + L" lies in " +
                inner->container + L", which is " +
                (outer != nullptr && form.OnScreen(*outer) ? L"disabled" : L"not shown"));
        }
        inner = outer;
    }
    return *control;
}

void SimUiShell::SetValue(Form& form, const std::wstring& name, const std::wstring& value) {
    Control& c = Usable(form, name);
    switch (c.Type()) {
        case ControlType::TextBox:
            c.text = value;
            if (c.onChange) {
                c.onChange();
            }
            return;
        case ControlType::ComboBox:
        case ControlType::ImageCombo: {
            auto it = std::find_if(c.items.begin(), c.items.end(), [&value](const auto& item) {
                return text::EqualsNoCase(item, value);
            });
            const auto* imageCombo = dynamic_cast<const ImageCombo*>(&c);
            if (it == c.items.end() && imageCombo != nullptr && imageCombo->dropdownList) {
                throw ScriptError(L"list " + name + L" of dialog " + form.Name() +
                                  L" takes one of its entries (" + text::Join(c.items, L", ") +
                                  L"), not \"" + value + L"\"");
            }
            if (it != c.items.end()) {
                c.listIndex = static_cast<int32_t>(it - c.items.begin());
                c.text = *it;
                if (c.onClick) {
                    c.onClick();
                }
            } else {
                c.listIndex = -1;
                c.text = value;
                if (c.onChange) {
                    c.onChange();
                }
            }
            return;
        }
        case ControlType::CheckBox: {
            int32_t v = 0;
            if (!ParseFlag(value, v)) {
                throw ScriptError(L"check box " + name + L" takes 0, 1 or 2, not \"" + value +
                                  L"\"");
            }
            c.value = v;
            if (c.onClick) {
                c.onClick();
            }
            return;
        }
        case ControlType::OptionButton: {
            int32_t v = 0;
            if (!ParseFlag(value, v) || v == 2) {
                throw ScriptError(L"option button " + name + L" takes true or false");
            }
            if (v != 0) {
                // The other buttons of its group (its control array) go off.
                for (const auto& other : form.Controls()) {
                    if (other.get() != &c && other->Type() == ControlType::OptionButton &&
                        text::EqualsNoCase(other->Name(), c.Name())) {
                        other->value = 0;
                    }
                }
            }
            c.value = v != 0 ? -1 : 0;
            if (c.onClick) {
                c.onClick();
            }
            return;
        }
        case ControlType::UpDown:
        case ControlType::ProgressBar: {
            const Variant v(value);
            if (value.empty() || !IsNumeric(v)) {
                throw ScriptError(L"control " + name + L" takes a number, not \"" + value + L"\"");
            }
            try {
                // The control keeps to its range, as its arrows do.
                c.value = std::clamp(CLng(v), std::min(c.min, c.max), std::max(c.min, c.max));
            } catch (const HostError&) {
                throw ScriptError(L"control " + name + L" takes a number, not \"" + value + L"\"");
            }
            if (c.onChange) {
                c.onChange();
            }
            return;
        }
        case ControlType::TabStrip: {
            // A tab by its caption (letter case and "&" ignored) or its number from 1.
            int32_t tab = -1;
            for (std::size_t i = 0; i < c.items.size(); ++i) {
                if (text::EqualsNoCase(PlainCaption(c.items[i]), PlainCaption(value))) {
                    tab = static_cast<int32_t>(i);
                    break;
                }
            }
            if (tab < 0 && !value.empty() && value.size() <= 3 &&
                std::all_of(value.begin(), value.end(), iswdigit)) {
                const int32_t number = std::stoi(value);
                tab =
                    number >= 1 && number <= static_cast<int32_t>(c.items.size()) ? number - 1 : -1;
            }
            if (tab < 0) {
                throw ScriptError(L"tab strip " + name + L" of dialog " + form.Name() +
                                  L" has no tab \"" + value + L"\" (its tabs are " +
                                  text::Join(c.items, L", ") + L")");
            }
            c.listIndex = tab;
            if (c.onClick) {
                c.onClick();
            }
            return;
        }
        case ControlType::TreeView:
            if (auto* tree = dynamic_cast<TreeView*>(&c)) {
                ClickNode(*tree, value);
                return;
            }
            break;
        case ControlType::FlexGrid:
            if (auto* grid = dynamic_cast<FlexGrid*>(&c)) {
                ClickGrid(*grid, value);
                return;
            }
            break;
        default:
            break;
    }
    throw ScriptError(L"control " + name + L" of dialog " + form.Name() + L" takes no value");
}

namespace {

// The texts of a path of folder names: runs of backslashes separate them; a leading one says
// the path starts at a store's top folder.
std::vector<std::wstring> PathNames(const std::wstring& path, bool& fromTop) {
    std::vector<std::wstring> names;
    fromTop = !path.empty() && path.front() == L'\\';
    std::wstring current;
    for (wchar_t ch : path) {
        if (ch == L'\\') {
            if (!current.empty()) {
                names.push_back(current);
            }
            current.clear();
        } else {
            current.push_back(ch);
        }
    }
    if (!current.empty()) {
        names.push_back(current);
    }
    return names;
}

// The node reached from a parent ("" for the roots) along the names; nullptr when none is.
const TreeNode* Walk(const TreeView& tree, std::wstring parentKey,
                     const std::vector<std::wstring>& names, std::size_t from) {
    const TreeNode* node = nullptr;
    for (std::size_t i = from; i < names.size(); ++i) {
        node = nullptr;
        for (const TreeNode* child : tree.Children(parentKey)) {
            if (text::EqualsNoCase(child->text, names[i])) {
                node = child;
                break;
            }
        }
        if (node == nullptr) {
            return nullptr;
        }
        parentKey = node->key;
    }
    return node;
}

}  // namespace

void SimUiShell::ClickNode(TreeView& tree, const std::wstring& path) {
    bool fromTop = false;
    const std::vector<std::wstring> names = PathNames(path, fromTop);
    if (names.empty()) {
        throw ScriptError(L"tree " + tree.Name() + L" takes a folder path, not \"" + path + L"\"");
    }
    const TreeNode* found = nullptr;
    if (fromTop) {
        found = Walk(tree, L"", names, 0);
    } else {
        // Below a store's top folder; the user sees which store, so the path must say it when
        // more than one store has such a folder.
        for (const TreeNode* root : tree.Children(L"")) {
            if (const TreeNode* node = Walk(tree, root->key, names, 0)) {
                if (found != nullptr) {
                    throw ScriptError(L"tree " + tree.Name() + L" has \"" + path +
                                      L"\" in more than one store; start the path with \\\\ and "
                                      L"the store's name");
                }
                found = node;
            }
        }
    }
    if (found == nullptr) {
        std::vector<std::wstring> roots;
        for (const TreeNode* root : tree.Children(L"")) {
            roots.push_back(root->text);
        }
        throw ScriptError(L"tree " + tree.Name() + L" shows no folder \"" + path +
                          L"\" (its top folders are " + text::Join(roots, L", ") + L")");
    }
    tree.selectedKey = found->key;
    if (tree.onNodeClick) {
        const TreeNode node = *found;  // the handler may rebuild the tree
        tree.onNodeClick(node);
    }
}

void SimUiShell::ClickGrid(FlexGrid& grid, const std::wstring& value) {
    int32_t row = -1;
    int32_t col = -1;
    static constexpr std::wstring_view kHeader = L"header:";
    if (text::StartsWithNoCase(value, kHeader)) {
        const std::wstring title = value.substr(kHeader.size());
        for (int32_t c = 0; c < grid.Cols() && grid.fixedRows > 0; ++c) {
            if (grid.ColWidth(c) != 0 && text::EqualsNoCase(grid.TextMatrix(0, c), title)) {
                row = 0;
                col = c;
                break;
            }
        }
        if (row < 0) {
            throw ScriptError(L"grid " + grid.Name() + L" has no column headed \"" + title + L"\"");
        }
    } else {
        // Only what is on the screen can be clicked: the rows from the top row down.
        std::vector<std::wstring> shown;
        int ambiguous = 0;
        for (int32_t r = grid.TopRow(); r < grid.Rows() && r < grid.TopRow() + grid.visibleRows;
             ++r) {
            if (grid.RowHeight(r) == 0) {
                continue;
            }
            std::vector<std::wstring> cells;
            for (int32_t c = 0; c < grid.Cols(); ++c) {
                if (grid.ColWidth(c) == 0 || grid.TextMatrix(r, c).empty()) {
                    continue;
                }
                cells.push_back(grid.TextMatrix(r, c));
                if (text::EqualsNoCase(grid.TextMatrix(r, c), value)) {
                    if (row >= 0 && row != r) {
                        // Two rows the user could mean: the script must say which.
                        ++ambiguous;
                    } else if (row < 0) {
                        row = r;
                        col = c;
                    }
                }
            }
            shown.push_back(text::Join(cells, L" | "));
        }
        if (ambiguous > 0) {
            throw ScriptError(L"grid " + grid.Name() + L" shows more than one row \"" + value +
                              L"\"; pick a value only one row shows");
        }
        if (row < 0) {
            throw ScriptError(L"grid " + grid.Name() + L" shows no row \"" + value +
                              L"\" (it shows: " +
                              (shown.empty() ? L"nothing" : text::Join(shown, L"; ")) + L")");
        }
        grid.row = row;
        grid.col = col;
        grid.rowSel = row;
        grid.colSel = grid.selectWholeRows ? grid.Cols() - 1 : col;
    }
    if (grid.onMouseDown) {
        grid.onMouseDown(row, col);
    }
    if (row > 0 && grid.onClick) {
        grid.onClick();
    }
}

void SimUiShell::Apply(Form& form, const std::vector<std::pair<std::wstring, std::wstring>>& values,
                       const std::wstring& press, const std::function<void(const Form&)>& look) {
    for (const auto& [name, value] : values) {
        if (!StillUp(form)) {
            throw ScriptError(L"dialog " + form.Name() + L" closed before " + name + L" was set");
        }
        SetValue(form, name, value);
    }
    if (look && StillUp(form)) {
        look(form);
    }
    if (press.empty()) {
        return;
    }
    if (!StillUp(form)) {
        throw ScriptError(L"dialog " + form.Name() + L" closed before " + press + L" was pressed");
    }
    if (press == kCloseBox) {
        if (form.OnQueryUnload()) {
            Unload(form);
        }
        return;
    }
    Control& button = Usable(form, press);
    if (!button.onClick) {
        throw ScriptError(L"control " + press + L" of dialog " + form.Name() +
                          L" does nothing when clicked");
    }
    button.onClick();
}

}  // namespace plexa::sim
