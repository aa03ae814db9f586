#include "core/ImageCombo.h"

#include "core/HostError.h"

namespace plexa {

void ImageCombo::AddItem(const std::wstring& itemText, const std::wstring& image,
                         const std::wstring& tag) {
    m_comboItems.push_back(ComboItem{itemText, image, tag});
    items.push_back(itemText);
}

void ImageCombo::ClearItems() {
    m_comboItems.clear();
    items.clear();
    listIndex = -1;
    text.clear();
}

const ComboItem* ImageCombo::SelectedItem() const {
    // The entries and the items go together unless someone changed the items alone.
    if (listIndex < 0 || static_cast<std::size_t>(listIndex) >= m_comboItems.size() ||
        m_comboItems.size() != items.size()) {
        return nullptr;
    }
    return &m_comboItems[static_cast<std::size_t>(listIndex)];
}

void ImageCombo::Select(int32_t index) {
    if (index < -1 || index >= static_cast<int32_t>(m_comboItems.size())) {
        throw RuntimeError(vberr::InvalidProcedureCall);
    }
    listIndex = index;
    text = index < 0 ? std::wstring() : m_comboItems[static_cast<std::size_t>(index)].text;
}

}  // namespace plexa
