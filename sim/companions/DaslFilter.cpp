#include "sim/companions/DaslFilter.h"

#include <cwctype>
#include <vector>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/ItemRecord.h"

namespace plexa::sim {

namespace {

HostError Invalid(const std::wstring& why, const std::wstring& query) {
    return HostError(E_INVALIDARG, L"Cannot parse the filter (" + why + L"): " + query,
                     L"AdvancedSearch");
}

bool LikeMatch(std::wstring_view pattern, std::wstring_view value) {
    // % matches any run; everything else matches itself without regard to letter case.
    std::size_t p = 0;
    std::size_t v = 0;
    std::size_t starP = std::wstring_view::npos;
    std::size_t starV = 0;
    while (v < value.size()) {
        if (p < pattern.size() && pattern[p] == L'%') {
            starP = p++;
            starV = v;
        } else if (p < pattern.size() &&
                   text::EqualsNoCase(pattern.substr(p, 1), value.substr(v, 1))) {
            ++p;
            ++v;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            v = ++starV;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'%') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

struct DaslFilter::Node {
    enum class Kind { And, Or, Compare } kind = Kind::Compare;
    std::shared_ptr<const Node> left;
    std::shared_ptr<const Node> right;
    uint32_t tag = 0;
    std::wstring op;
    std::wstring value;
};

namespace {

class Parser {
public:
    explicit Parser(const std::wstring& query) : m_query(query) {}

    std::shared_ptr<const DaslFilter::Node> Parse() {
        auto node = Expression();
        SkipSpaces();
        if (m_pos != m_query.size()) {
            throw Invalid(L"unexpected text at " + std::to_wstring(m_pos + 1), m_query);
        }
        return node;
    }

private:
    using Node = DaslFilter::Node;

    void SkipSpaces() {
        while (m_pos < m_query.size() && std::iswspace(m_query[m_pos]) != 0) {
            ++m_pos;
        }
    }
    bool Keyword(const wchar_t* word) {
        SkipSpaces();
        const std::wstring_view w(word);
        if (m_query.size() - m_pos < w.size() ||
            !text::EqualsNoCase(std::wstring_view(m_query).substr(m_pos, w.size()), w)) {
            return false;
        }
        const std::size_t end = m_pos + w.size();
        if (end < m_query.size() && std::iswalnum(m_query[end]) != 0) {
            return false;
        }
        m_pos = end;
        return true;
    }
    std::shared_ptr<const Node> Expression() {
        auto left = Conjunction();
        while (Keyword(L"Or")) {
            auto node = std::make_shared<Node>();
            node->kind = Node::Kind::Or;
            node->left = left;
            node->right = Conjunction();
            left = node;
        }
        return left;
    }
    std::shared_ptr<const Node> Conjunction() {
        auto left = Primary();
        while (Keyword(L"And")) {
            auto node = std::make_shared<Node>();
            node->kind = Node::Kind::And;
            node->left = left;
            node->right = Primary();
            left = node;
        }
        return left;
    }
    std::shared_ptr<const Node> Primary() {
        SkipSpaces();
        if (m_pos < m_query.size() && m_query[m_pos] == L'(') {
            ++m_pos;
            auto inner = Expression();
            SkipSpaces();
            if (m_pos >= m_query.size() || m_query[m_pos] != L')') {
                throw Invalid(L"missing )", m_query);
            }
            ++m_pos;
            return inner;
        }
        auto node = std::make_shared<Node>();
        node->tag = DaslFilter::PropertyTag(Property());
        node->op = Operator();
        node->value = Value();
        return node;
    }
    std::wstring Property() {
        SkipSpaces();
        if (m_pos < m_query.size() && m_query[m_pos] == L'"') {
            const std::size_t close = m_query.find(L'"', m_pos + 1);
            if (close == std::wstring::npos) {
                throw Invalid(L"unterminated property name", m_query);
            }
            std::wstring name = m_query.substr(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return name;
        }
        const std::size_t start = m_pos;
        while (m_pos < m_query.size() && std::iswspace(m_query[m_pos]) == 0 &&
               m_query[m_pos] != L'=' && m_query[m_pos] != L'<' && m_query[m_pos] != L'>') {
            ++m_pos;
        }
        if (m_pos == start) {
            throw Invalid(L"missing property", m_query);
        }
        return m_query.substr(start, m_pos - start);
    }
    std::wstring Operator() {
        if (Keyword(L"LIKE")) {
            return L"LIKE";
        }
        SkipSpaces();
        for (const wchar_t* op : {L"<>", L"<=", L">=", L"=", L"<", L">"}) {
            const std::wstring_view o(op);
            if (std::wstring_view(m_query).substr(m_pos, o.size()) == o) {
                m_pos += o.size();
                return std::wstring(o);
            }
        }
        throw Invalid(L"missing operator", m_query);
    }
    std::wstring Value() {
        SkipSpaces();
        if (m_pos >= m_query.size() || m_query[m_pos] != L'\'') {
            throw Invalid(L"the value must be quoted with '", m_query);
        }
        std::wstring out;
        for (++m_pos; m_pos < m_query.size(); ++m_pos) {
            if (m_query[m_pos] == L'\'') {
                if (m_pos + 1 < m_query.size() && m_query[m_pos + 1] == L'\'') {
                    out += L'\'';
                    ++m_pos;
                    continue;
                }
                ++m_pos;
                return out;
            }
            out += m_query[m_pos];
        }
        throw Invalid(L"unterminated value", m_query);
    }

    const std::wstring& m_query;
    std::size_t m_pos = 0;
};

int CompareValues(const Variant& a, const Variant& b) {
    if (a.IsEmpty() || b.IsEmpty()) {
        return a.IsEmpty() == b.IsEmpty() ? 0 : (a.IsEmpty() ? -1 : 1);
    }
    if (a.IsString() || b.IsString()) {
        std::wstring sa;
        std::wstring sb;
        try {
            sa = CStr(a);
            sb = CStr(b);
        } catch (const HostError&) {
            return 0;
        }
        return text::CompareNoCase(sa, sb);
    }
    try {
        const double da = CDbl(a);
        const double db = CDbl(b);
        return da < db ? -1 : (da > db ? 1 : 0);
    } catch (const HostError&) {
        return 0;
    }
}

bool Evaluate(const DaslFilter::Node& node, const ItemRecord& item) {
    using Kind = DaslFilter::Node::Kind;
    if (node.kind == Kind::And) {
        return Evaluate(*node.left, item) && Evaluate(*node.right, item);
    }
    if (node.kind == Kind::Or) {
        return Evaluate(*node.left, item) || Evaluate(*node.right, item);
    }
    const Variant v = item.GetProp(node.tag);
    if (node.op == L"LIKE") {
        std::wstring textValue;
        try {
            textValue = CStr(v);
        } catch (const HostError&) {
            return false;
        }
        return LikeMatch(node.value, textValue);
    }
    if (v.IsEmpty()) {
        return false;
    }
    const int c = CompareValues(v, Variant(node.value));
    if (node.op == L"=") {
        return c == 0;
    }
    if (node.op == L"<>") {
        return c != 0;
    }
    if (node.op == L"<") {
        return c < 0;
    }
    if (node.op == L"<=") {
        return c <= 0;
    }
    if (node.op == L">") {
        return c > 0;
    }
    return c >= 0;
}

}  // namespace

uint32_t DaslFilter::PropertyTag(const std::wstring& name) {
    static const std::wstring kPropTag = L"http://schemas.microsoft.com/mapi/proptag/0x";
    if (text::StartsWithNoCase(name, kPropTag)) {
        const std::wstring hex = name.substr(kPropTag.size());
        if (hex.size() == 8 &&
            hex.find_first_not_of(L"0123456789abcdefABCDEF") == std::wstring::npos) {
            return static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
        }
    }
    const std::wstring lower = text::ToLower(name);
    if (lower == L"urn:schemas:mailheader:subject" || lower == L"urn:schemas:httpmail:subject") {
        return mapi::PR_SUBJECT;
    }
    if (lower == L"urn:schemas:httpmail:datereceived") {
        return mapi::PR_MESSAGE_DELIVERY_TIME;
    }
    if (lower == L"urn:schemas:httpmail:textdescription") {
        return mapi::PR_BODY;
    }
    if (lower == L"urn:schemas:httpmail:fromname") {
        return mapi::PR_SENT_REPRESENTING_NAME;
    }
    throw HostError(E_INVALIDARG, L"Unknown property in the filter: " + name, L"AdvancedSearch");
}

DaslFilter DaslFilter::Parse(const std::wstring& query) {
    std::wstring q = text::TrimSpacesTabs(query);
    if (text::StartsWithNoCase(q, L"@SQL=")) {
        q = q.substr(5);
    }
    if (text::TrimSpacesTabs(q).empty()) {
        throw Invalid(L"empty", query);
    }
    return DaslFilter(Parser(q).Parse());
}

bool DaslFilter::Matches(const ItemRecord& item) const {
    return Evaluate(*m_root, item);
}

int CompareByProperty(const ItemRecord& a, const ItemRecord& b, uint32_t propTag) {
    return CompareValues(a.GetProp(propTag), b.GetProp(propTag));
}

}  // namespace plexa::sim
