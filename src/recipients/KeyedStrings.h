// A keyed collection of texts in the order of first appearance, each text its own key, keys
// compared without regard to letter case: the names under which an address was gathered, the
// entry ids of the items a recipient came from. Adding a text already present changes nothing.
// Lookups and additions are hash-indexed, so they cost the same for ten texts or a million.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace plexa {

class KeyedStrings {
public:
    // Appends the text unless one equal to it (letter case ignored) is present; true when added.
    bool Add(const std::wstring& value);
    bool Contains(const std::wstring& value) const;
    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    // 1-based. Throws HostError (subscript out of range) outside 1..Count.
    const std::wstring& Item(int32_t index) const;
    const std::vector<std::wstring>& Items() const { return m_items; }

private:
    std::vector<std::wstring> m_items;
    std::unordered_set<std::wstring> m_keys;
};

}  // namespace plexa
