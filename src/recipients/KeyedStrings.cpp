#include "recipients/KeyedStrings.h"

#include "core/HostError.h"
#include "core/Text.h"

namespace plexa {

bool KeyedStrings::Add(const std::wstring& value) {
    if (!m_keys.insert(text::ToLower(value)).second) {
        return false;
    }
    m_items.push_back(value);
    return true;
}

bool KeyedStrings::Contains(const std::wstring& value) const {
    return m_keys.contains(text::ToLower(value));
}

const std::wstring& KeyedStrings::Item(int32_t index) const {
    if (index < 1 || index > Count()) {
        throw RuntimeError(vberr::SubscriptOutOfRange);
    }
    return m_items[static_cast<std::size_t>(index - 1)];
}

}  // namespace plexa
