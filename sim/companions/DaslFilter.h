// The DASL queries of the host's advanced search, as far as the add-in writes them: clauses of a
// property (a quoted property-tag name such as
// "http://schemas.microsoft.com/mapi/proptag/0x001a001e", or an urn name such as
// urn:schemas:mailheader:subject), an operator (LIKE with % wildcards, =, <>, <, <=, >, >=) and a
// quoted value, joined by And and Or, with parentheses. Texts compare without regard to letter
// case. An optional "@SQL=" prefix is accepted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace plexa::sim {

class ItemRecord;

class DaslFilter {
public:
    // Parses a query; throws HostError (the host's "invalid filter" error) when it cannot.
    static DaslFilter Parse(const std::wstring& query);
    bool Matches(const ItemRecord& item) const;

    // The property tag a DASL property name stands for; throws HostError for an unknown name.
    static uint32_t PropertyTag(const std::wstring& name);

    struct Node;

private:
    explicit DaslFilter(std::shared_ptr<const Node> root) : m_root(std::move(root)) {}
    std::shared_ptr<const Node> m_root;
};

// Compares two items by a property for sorting: texts without regard to letter case, numbers
// and dates by value; an absent property sorts first.
int CompareByProperty(const ItemRecord& a, const ItemRecord& b, uint32_t propTag);

}  // namespace plexa::sim
