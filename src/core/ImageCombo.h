// The image combo of the dialog model: a list whose entries each carry a text, the key of a
// picture in the combo's image list and a tag of the dialog's own. The entries' texts are also
// the control's items, so the chosen entry is items[listIndex], as for any combo box. A
// drop-down list takes no typed text: only one of its entries can be chosen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Form.h"

namespace plexa {

struct ComboItem {
    std::wstring text;
    std::wstring image;  // a key of the image list; "" for none
    std::wstring tag;
};

class ImageCombo : public Control {
public:
    explicit ImageCombo(std::wstring name) : Control(std::move(name), ControlType::ImageCombo) {}

    // ComboItems.Add: appends an entry.
    void AddItem(const std::wstring& itemText, const std::wstring& image, const std::wstring& tag);
    // ComboItems.Clear: no entries and none chosen.
    void ClearItems();
    const std::vector<ComboItem>& ComboItems() const { return m_comboItems; }
    // SelectedItem: the chosen entry; nullptr when none is.
    const ComboItem* SelectedItem() const;
    // Chooses the entry at a zero-based index (its text shows); -1 chooses none.
    void Select(int32_t index);

    // The name of the image list the entries' pictures come from.
    std::wstring imageList;
    // The style: a drop-down list (the user chooses an entry and types nothing) when true.
    bool dropdownList = true;

private:
    std::vector<ComboItem> m_comboItems;
};

}  // namespace plexa
