// The MAPI properties of one item, by property tag, in tag order. An item holds a dozen or so,
// so they live in one vector kept sorted rather than in a tree with a node per property: a store
// of a hundred thousand contacts then makes one or two allocations per item for its properties
// instead of a dozen, and reading a property stays within a cache line or two.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/Variant.h"

namespace plexa::sim {

class PropertyBag {
public:
    using value_type = std::pair<uint32_t, Variant>;
    using iterator = std::vector<value_type>::iterator;
    using const_iterator = std::vector<value_type>::const_iterator;

    iterator begin() { return m_props.begin(); }
    iterator end() { return m_props.end(); }
    const_iterator begin() const { return m_props.begin(); }
    const_iterator end() const { return m_props.end(); }
    bool empty() const { return m_props.empty(); }
    std::size_t size() const { return m_props.size(); }

    const_iterator find(uint32_t tag) const {
        const auto it = LowerBound(tag);
        return it != m_props.end() && it->first == tag ? it : m_props.end();
    }
    iterator find(uint32_t tag) {
        const auto it = LowerBound(tag);
        return it != m_props.end() && it->first == tag ? it : m_props.end();
    }
    std::size_t count(uint32_t tag) const { return find(tag) == end() ? 0 : 1; }

    // The value of tag, added as Empty when absent.
    Variant& operator[](uint32_t tag) {
        const auto it = LowerBound(tag);
        if (it != m_props.end() && it->first == tag) {
            return it->second;
        }
        return Insert(it, tag, Variant())->second;
    }
    // Adds tag with value when absent; true when it was added.
    bool emplace(uint32_t tag, Variant value) {
        const auto it = LowerBound(tag);
        if (it != m_props.end() && it->first == tag) {
            return false;
        }
        Insert(it, tag, std::move(value));
        return true;
    }
    // Removes tag; the number of properties removed (0 or 1).
    std::size_t erase(uint32_t tag) {
        const auto it = find(tag);
        if (it == m_props.end()) {
            return 0;
        }
        m_props.erase(it);
        return 1;
    }

private:
    // Enough for most items at once; a full vector grows by half (a contact with one address
    // has ten properties).
    static constexpr std::size_t kFirstCapacity = 8;

    const_iterator LowerBound(uint32_t tag) const {
        return std::lower_bound(m_props.begin(), m_props.end(), tag,
                                [](const value_type& p, uint32_t t) { return p.first < t; });
    }
    iterator LowerBound(uint32_t tag) {
        return std::lower_bound(m_props.begin(), m_props.end(), tag,
                                [](const value_type& p, uint32_t t) { return p.first < t; });
    }
    iterator Insert(iterator at, uint32_t tag, Variant value) {
        if (m_props.size() == m_props.capacity()) {
            const auto offset = at - m_props.begin();
            m_props.reserve(std::max(kFirstCapacity, m_props.capacity() + m_props.capacity() / 2));
            at = m_props.begin() + offset;
        }
        return m_props.emplace(at, tag, std::move(value));
    }

    std::vector<value_type> m_props;
};

}  // namespace plexa::sim
