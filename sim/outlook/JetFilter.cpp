#include "sim/outlook/JetFilter.h"

#include <cwctype>
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/store/SimSession.h"

namespace plexa::sim {

namespace {

using Getter = std::function<Variant(const ItemRecord&)>;

Getter Prop(uint32_t tag) {
    return [tag](const ItemRecord& item) {
        Variant v = item.GetProp(tag);
        if (v.IsEmpty() && (tag & 0xFFFF) == mapi::PT_STRING8) {
            return Variant(L"");
        }
        return v;
    };
}

Getter Email(int slot) {
    return [slot](const ItemRecord& item) {
        return Variant(item.Session().ContactEmailAddress(item, slot));
    };
}

const std::unordered_map<std::wstring, Getter>& Fields() {
    static const std::unordered_map<std::wstring, Getter> kFields = {
        {L"messageclass", Prop(mapi::PR_MESSAGE_CLASS)},
        {L"subject", Prop(mapi::PR_SUBJECT)},
        {L"dlname", Prop(mapi::PR_SUBJECT)},
        {L"body", Prop(mapi::PR_BODY)},
        {L"fullname", Prop(mapi::PR_DISPLAY_NAME)},
        {L"firstname", Prop(mapi::PR_GIVEN_NAME)},
        {L"middlename", Prop(mapi::PR_MIDDLE_NAME)},
        {L"lastname", Prop(mapi::PR_SURNAME)},
        {L"initials", Prop(mapi::PR_INITIALS)},
        {L"nickname", Prop(mapi::PR_NICKNAME)},
        {L"companyname", Prop(mapi::PR_COMPANY_NAME)},
        {L"sendername", Prop(mapi::PR_SENT_REPRESENTING_NAME)},
        {L"senderemailaddress", Prop(mapi::PR_SENT_REPRESENTING_EMAIL_ADDRESS)},
        {L"email1address", Email(1)},
        {L"email2address", Email(2)},
        {L"email3address", Email(3)},
        {L"entryid", [](const ItemRecord& item) { return Variant(item.EntryID()); }},
        {L"categories", [](const ItemRecord& item) { return Variant(item.Categories()); }},
        {L"sensitivity",
         [](const ItemRecord& item) {
             Variant v = item.GetProp(mapi::PR_SENSITIVITY);
             return v.IsEmpty() ? Variant(olNormal) : v;
         }},
        {L"receivedtime", Prop(mapi::PR_MESSAGE_DELIVERY_TIME)},
    };
    return kFields;
}

const Getter& FindField(const std::wstring& property) {
    std::wstring name = text::TrimSpacesTabs(property);
    if (name.size() >= 2 && name.front() == L'[' && name.back() == L']') {
        name = name.substr(1, name.size() - 2);
    }
    const auto it = Fields().find(text::ToLower(name));
    if (it == Fields().end()) {
        throw HostError(E_INVALIDARG, L"The property \"" + name + L"\" is unknown.",
                        L"Microsoft Outlook");
    }
    return it->second;
}

bool IsNumber(const Variant& v) {
    const auto& raw = v.Raw();
    return std::holds_alternative<int32_t>(raw) || std::holds_alternative<double>(raw) ||
           std::holds_alternative<int16_t>(raw) || std::holds_alternative<bool>(raw) ||
           std::holds_alternative<float>(raw) || std::holds_alternative<uint8_t>(raw);
}

enum class Op { Eq, Ne, Lt, Le, Gt, Ge };

}  // namespace

struct JetFilter::Node {
    enum class Kind { And, Or, Not, Compare } kind = Kind::Compare;
    std::shared_ptr<const Node> left;
    std::shared_ptr<const Node> right;
    const Getter* field = nullptr;
    Op op = Op::Eq;
    Variant literal;
};

namespace {

class Parser {
public:
    explicit Parser(const std::wstring& text) : m_text(text) {}

    std::shared_ptr<const JetFilter::Node> ParseAll() {
        auto node = ParseOr();
        SkipSpace();
        if (m_pos != m_text.size()) {
            Fail();
        }
        return node;
    }

private:
    using NodePtr = std::shared_ptr<const JetFilter::Node>;
    using Kind = JetFilter::Node::Kind;

    [[noreturn]] void Fail() const {
        throw HostError(E_FAIL,
                        L"Cannot parse condition. Error at \"" + m_text.substr(m_pos) + L"\".",
                        L"Microsoft Outlook");
    }

    void SkipSpace() {
        while (m_pos < m_text.size() && std::iswspace(m_text[m_pos]) != 0) {
            ++m_pos;
        }
    }

    // A keyword (And, Or, Not) followed by a space or a parenthesis.
    bool Keyword(const wchar_t* word) {
        SkipSpace();
        const size_t n = std::wcslen(word);
        if (m_pos + n > m_text.size() ||
            !text::EqualsNoCase(std::wstring_view(m_text).substr(m_pos, n), word)) {
            return false;
        }
        if (m_pos + n < m_text.size()) {
            const wchar_t next = m_text[m_pos + n];
            if (std::iswspace(next) == 0 && next != L'(' && next != L'[') {
                return false;
            }
        }
        m_pos += n;
        return true;
    }

    NodePtr Join(Kind kind, NodePtr left, NodePtr right) {
        auto node = std::make_shared<JetFilter::Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    NodePtr ParseOr() {
        auto left = ParseAnd();
        while (Keyword(L"Or")) {
            left = Join(Kind::Or, left, ParseAnd());
        }
        return left;
    }

    NodePtr ParseAnd() {
        auto left = ParseNot();
        while (Keyword(L"And")) {
            left = Join(Kind::And, left, ParseNot());
        }
        return left;
    }

    NodePtr ParseNot() {
        if (Keyword(L"Not")) {
            return Join(Kind::Not, ParseNot(), nullptr);
        }
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == L'(') {
            ++m_pos;
            auto inner = ParseOr();
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != L')') {
                Fail();
            }
            ++m_pos;
            return inner;
        }
        return ParseComparison();
    }

    NodePtr ParseComparison() {
        SkipSpace();
        if (m_pos >= m_text.size() || m_text[m_pos] != L'[') {
            Fail();
        }
        const size_t close = m_text.find(L']', m_pos);
        if (close == std::wstring::npos) {
            Fail();
        }
        auto node = std::make_shared<JetFilter::Node>();
        node->field = &FindField(m_text.substr(m_pos, close - m_pos + 1));
        m_pos = close + 1;
        SkipSpace();
        node->op = ParseOp();
        SkipSpace();
        node->literal = ParseLiteral();
        return node;
    }

    Op ParseOp() {
        auto take = [&](const wchar_t* s, Op op) -> bool {
            const size_t n = std::wcslen(s);
            if (m_text.compare(m_pos, n, s) == 0) {
                m_pos += n;
                m_op = op;
                return true;
            }
            return false;
        };
        if (take(L"<>", Op::Ne) || take(L"<=", Op::Le) || take(L">=", Op::Ge) ||
            take(L"=", Op::Eq) || take(L"<", Op::Lt) || take(L">", Op::Gt)) {
            return m_op;
        }
        Fail();
    }

    Variant ParseLiteral() {
        if (m_pos >= m_text.size()) {
            Fail();
        }
        const wchar_t quote = m_text[m_pos];
        if (quote == L'"' || quote == L'\'') {
            std::wstring value;
            ++m_pos;
            while (true) {
                if (m_pos >= m_text.size()) {
                    Fail();
                }
                const wchar_t c = m_text[m_pos++];
                if (c == quote) {
                    if (m_pos < m_text.size() && m_text[m_pos] == quote) {
                        value += quote;  // a doubled quote stands for one
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                value += c;
            }
            return Variant(value);
        }
        if (Keyword(L"True")) {
            return Variant(true);
        }
        if (Keyword(L"False")) {
            return Variant(false);
        }
        const size_t start = m_pos;
        if (m_pos < m_text.size() && (m_text[m_pos] == L'-' || m_text[m_pos] == L'+')) {
            ++m_pos;
        }
        while (m_pos < m_text.size() &&
               ((std::iswdigit(m_text[m_pos]) != 0) || m_text[m_pos] == L'.')) {
            ++m_pos;
        }
        const std::wstring number = m_text.substr(start, m_pos - start);
        if (number.empty() || number == L"-" || number == L"+" || number == L".") {
            m_pos = start;
            Fail();
        }
        try {
            return Variant(std::stod(number));
        } catch (const std::exception&) {
            m_pos = start;
            Fail();
        }
    }

    const std::wstring& m_text;
    size_t m_pos = 0;
    Op m_op = Op::Eq;
};

bool Evaluate(const JetFilter::Node& node, const ItemRecord& item) {
    using Kind = JetFilter::Node::Kind;
    switch (node.kind) {
        case Kind::And:
            return Evaluate(*node.left, item) && Evaluate(*node.right, item);
        case Kind::Or:
            return Evaluate(*node.left, item) || Evaluate(*node.right, item);
        case Kind::Not:
            return !Evaluate(*node.left, item);
        case Kind::Compare:
            break;
    }
    const int c = JetFilter::Compare((*node.field)(item), node.literal);
    switch (node.op) {
        case Op::Eq:
            return c == 0;
        case Op::Ne:
            return c != 0;
        case Op::Lt:
            return c < 0;
        case Op::Le:
            return c <= 0;
        case Op::Gt:
            return c > 0;
        case Op::Ge:
            return c >= 0;
    }
    return false;
}

}  // namespace

JetFilter JetFilter::Parse(const std::wstring& filter) {
    if (text::TrimSpacesTabs(filter).empty()) {
        throw HostError(E_FAIL, L"Cannot parse condition. Error at \"\".", L"Microsoft Outlook");
    }
    return JetFilter(Parser(filter).ParseAll());
}

bool JetFilter::Matches(const ItemRecord& item) const {
    return Evaluate(*m_root, item);
}

Variant JetFilter::FieldValue(const ItemRecord& item, const std::wstring& property) {
    return FindField(property)(item);
}

int JetFilter::Compare(const Variant& a, const Variant& b) {
    if (IsNumber(a) && IsNumber(b)) {
        const double x = CDbl(a);
        const double y = CDbl(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    std::wstring x;
    std::wstring y;
    try {
        x = a.IsEmpty() ? L"" : CStr(a);
        y = b.IsEmpty() ? L"" : CStr(b);
    } catch (const HostError&) {
        // Values without a text form (arrays, objects) order before everything.
    }
    return text::CompareNoCase(x, y);
}

}  // namespace plexa::sim
