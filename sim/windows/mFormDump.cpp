#include "sim/windows/mFormDump.h"

#include "core/FlexGrid.h"
#include "core/Form.h"
#include "core/ImageCombo.h"
#include "core/Text.h"
#include "core/TreeView.h"

namespace plexa::sim::mFormDump {

namespace {

std::wstring Quote(const std::wstring& s) {
    return L"\"" + s + L"\"";
}

void DumpTree(const TreeView& tree, const std::wstring& parentKey, const std::wstring& indent,
              std::vector<std::wstring>& out) {
    for (const TreeNode* node : tree.Children(parentKey)) {
        out.push_back(indent + (node->key == tree.selectedKey ? L"> " : L"  ") + node->text +
                      L" [" + node->image + L"]");
        DumpTree(tree, node->key, indent + L"  ", out);
    }
}

std::wstring GridRow(const FlexGrid& grid, int32_t row) {
    std::vector<std::wstring> cells;
    for (int32_t c = 0; c < grid.Cols(); ++c) {
        if (grid.ColWidth(c) == 0) {
            continue;
        }
        const GridCell& cell = grid.Cell(row, c);
        std::wstring shown = cell.text;
        if (!cell.picture.empty()) {
            shown += (shown.empty() ? L"" : L" ") + (L"<" + cell.picture + L">");
        }
        cells.push_back(shown);
    }
    return text::Join(cells, L" | ");
}

}  // namespace

std::vector<std::wstring> DumpForm(const Form& form) {
    std::vector<std::wstring> out;
    out.push_back(L"dialog " + form.Name() + L" " + Quote(form.caption));
    for (const auto& owned : form.Controls()) {
        const Control& c = *owned;
        if (!form.OnScreen(c) || c.Type() == ControlType::Timer || c.Type() == ControlType::Line) {
            continue;
        }
        std::wstring line = L"  " + ControlTypeName(c.Type()) + L" " + c.QualifiedName();
        switch (c.Type()) {
            case ControlType::TextBox:
                line += L" = " + Quote(c.text);
                break;
            case ControlType::ComboBox:
            case ControlType::ImageCombo: {
                line += L" = " + Quote(c.text);
                const auto* imageCombo = dynamic_cast<const ImageCombo*>(&c);
                const ComboItem* chosen =
                    imageCombo != nullptr ? imageCombo->SelectedItem() : nullptr;
                if (chosen != nullptr && !chosen->image.empty()) {
                    line += L" <" + chosen->image + L">";
                }
                line += L" of " + std::to_wstring(c.items.size());
                break;
            }
            case ControlType::TabStrip: {
                // Every tab, the selected one marked.
                std::vector<std::wstring> tabs;
                for (std::size_t i = 0; i < c.items.size(); ++i) {
                    tabs.push_back((static_cast<int32_t>(i) == c.listIndex ? L">" : L"") +
                                   Quote(c.items[i]));
                }
                line += L" " + text::Join(tabs, L" | ");
                break;
            }
            case ControlType::CheckBox:
            case ControlType::OptionButton:
            case ControlType::UpDown:
            case ControlType::ProgressBar:
                line += (HasCaption(c.Type()) ? L" " + Quote(c.caption) : L"") + L" = " +
                        std::to_wstring(c.value);
                break;
            default:
                if (HasCaption(c.Type())) {
                    line += L" " + Quote(c.caption);
                }
                break;
        }
        if (!c.enabled) {
            line += L" (disabled)";
        }
        out.push_back(line);
        if (const auto* tree = dynamic_cast<const TreeView*>(&c)) {
            DumpTree(*tree, L"", L"    ", out);
        } else if (const auto* grid = dynamic_cast<const FlexGrid*>(&c)) {
            for (int32_t r = 0; r < grid->fixedRows && r < grid->Rows(); ++r) {
                out.push_back(L"    " + GridRow(*grid, r));
            }
            for (int32_t r = grid->TopRow();
                 r < grid->Rows() && r < grid->TopRow() + grid->visibleRows; ++r) {
                if (grid->RowHeight(r) == 0) {
                    continue;
                }
                out.push_back(L"    " + std::wstring(r == grid->row ? L"> " : L"  ") +
                              std::to_wstring(r) + L": " + GridRow(*grid, r));
            }
        }
    }
    return out;
}

}  // namespace plexa::sim::mFormDump
