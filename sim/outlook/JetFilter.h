// The host's Jet filter language for Items.Restrict and the property names of Items.Sort:
// comparisons of bracketed properties with quoted literals or numbers ([Subject] >= "Smi",
// [MessageClass] = 'IPM.Contact'), joined with And, Or and Not and grouped by parentheses.
// Texts compare without regard to letter case, as the host compares them.
#pragma once

#include <memory>
#include <string>

#include "core/Variant.h"
#include "sim/store/ItemRecord.h"

namespace plexa::sim {

class JetFilter {
public:
    // Parses a filter. Throws HostError for a filter the host cannot parse or an unknown
    // property.
    static JetFilter Parse(const std::wstring& filter);

    bool Matches(const ItemRecord& item) const;

    // The value of a property by its name, with or without brackets ("[Subject]"). Throws
    // HostError for a property the host does not know.
    static Variant FieldValue(const ItemRecord& item, const std::wstring& property);
    // Orders two values as Restrict and Sort do: numbers by value, everything else as text
    // without regard to letter case.
    static int Compare(const Variant& a, const Variant& b);

    struct Node;

private:
    explicit JetFilter(std::shared_ptr<const Node> root) : m_root(std::move(root)) {}
    std::shared_ptr<const Node> m_root;
};

}  // namespace plexa::sim
