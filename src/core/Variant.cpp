#include "core/Variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "core/HostError.h"
#include "core/Text.h"

namespace plexa {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::wstring TypeNameOf(VarType t) {
    switch (t) {
        case VarType::Empty:
            return L"Empty";
        case VarType::Null:
            return L"Null";
        case VarType::Integer:
            return L"Integer";
        case VarType::Long:
            return L"Long";
        case VarType::Single:
            return L"Single";
        case VarType::Double:
            return L"Double";
        case VarType::Currency:
            return L"Currency";
        case VarType::Date:
            return L"Date";
        case VarType::String:
            return L"String";
        case VarType::Object:
            return L"Object";
        case VarType::Error:
            return L"Error";
        case VarType::Boolean:
            return L"Boolean";
        case VarType::Variant:
            return L"Variant";
        case VarType::Byte:
            return L"Byte";
        case VarType::Array:
            return L"Variant()";
    }
    return L"Unknown";
}

std::optional<double> ParseHexOrOctal(std::wstring_view s) {
    if (s.size() < 3 || s[0] != L'&') {
        return std::nullopt;
    }
    const wchar_t kind = static_cast<wchar_t>(std::towupper(s[1]));
    const int base = kind == L'H' ? 16 : (kind == L'O' ? 8 : 0);
    if (base == 0) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const wchar_t c = static_cast<wchar_t>(std::towupper(s[i]));
        int digit = -1;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'A' && c <= L'F') {
            digit = 10 + (c - L'A');
        }
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFULL) {
            return std::nullopt;
        }
    }
    // Like the host, eight hex digits wrap into the negative Long range.
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// Reads a number the way the host reads one from text: spaces around it, a sign or parentheses,
// thousands separators after the first digit, one decimal separator, an exponent (E or D), or a
// &H / &O literal.
std::optional<double> ParseNumber(std::wstring_view input, const Locale& locale) {
    const std::wstring trimmed = text::TrimSpacesTabs(input);
    std::wstring_view s = trimmed;
    if (s.empty()) {
        return std::nullopt;
    }
    if (auto hex = ParseHexOrOctal(s)) {
        return hex;
    }
    bool negative = false;
    if (s.size() >= 2 && s.front() == L'(' && s.back() == L')') {
        negative = true;
        s = s.substr(1, s.size() - 2);
    }
    std::string ascii;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
        if (negative) {
            return std::nullopt;
        }
        negative = s[i] == L'-';
        ++i;
    }
    bool digits = false;
    bool decimal = false;
    for (; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c >= L'0' && c <= L'9') {
            ascii.push_back(static_cast<char>(c));
            digits = true;
        } else if (c == locale.decimalSeparator && !decimal) {
            ascii.push_back('.');
            decimal = true;
        } else if (c == locale.thousandSeparator && digits && !decimal) {
            continue;
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == L'E' || s[i] == L'e' || s[i] == L'D' || s[i] == L'd')) {
        ascii.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
            ascii.push_back(static_cast<char>(s[i]));
            ++i;
        }
        bool expDigits = false;
        for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
            ascii.push_back(static_cast<char>(s[i]));
            expDigits = true;
        }
        if (!expDigits) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::wstring FormatNumber(double d, int digits, const Locale& locale) {
    if (d == 0) {
        return L"0";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, d);
    std::wstring out;
    for (const char* p = buf; *p != '\0'; ++p) {
        out.push_back(*p == '.' ? locale.decimalSeparator : static_cast<wchar_t>(*p));
    }
    return out;
}

std::wstring FormatCurrency(int64_t scaled, const Locale& locale) {
    const bool negative = scaled < 0;
    const uint64_t magnitude =
        negative ? static_cast<uint64_t>(-(scaled + 1)) + 1 : static_cast<uint64_t>(scaled);
    std::wstring out = (negative ? L"-" : L"") + std::to_wstring(magnitude / 10000);
    uint64_t frac = magnitude % 10000;
    if (frac != 0) {
        std::wstring f = std::to_wstring(frac);
        f.insert(0, 4 - f.size(), L'0');
        while (!f.empty() && f.back() == L'0') {
            f.pop_back();
        }
        out += locale.decimalSeparator;
        out += f;
    }
    return out;
}

std::wstring FormatDate(OleDate date) {
    wchar_t buf[64];
    const double value = date.Value();
    const bool hasDate = std::trunc(value) != 0;
    const bool hasTime = value != std::trunc(value);
    std::wstring out;
    if (hasDate) {
        std::swprintf(buf, 64, L"%d/%d/%d", date.Month(), date.Day(), date.Year());
        out = buf;
    }
    if (hasTime || !hasDate) {
        const int h = date.Hour();
        const int h12 = h % 12 == 0 ? 12 : h % 12;
        std::swprintf(buf, 64, L"%d:%02d:%02d %ls", h12, date.Minute(), date.Second(),
                      h < 12 ? L"AM" : L"PM");
        if (!out.empty()) {
            out += L' ';
        }
        out += buf;
    }
    return out;
}

[[noreturn]] void Fail(int32_t number) {
    throw RuntimeError(number);
}

}  // namespace

Variant::Variant(std::wstring s) {
    if (s.size() >= kSharedTextLength) {
        m_value = SharedText{std::make_shared<const std::wstring>(std::move(s))};
    } else {
        m_value = std::move(s);
    }
}

Variant Variant::Array(VarType elementType, std::vector<Variant> items) {
    return Variant(Tag{},
                   std::make_shared<VariantArray>(VariantArray{elementType, std::move(items)}));
}

VarType Variant::Type() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return VarType::Empty; },
                          [](NullTag) { return VarType::Null; },
                          [](int16_t) { return VarType::Integer; },
                          [](int32_t) { return VarType::Long; },
                          [](float) { return VarType::Single; },
                          [](double) { return VarType::Double; },
                          [](CurrencyValue) { return VarType::Currency; },
                          [](OleDate) { return VarType::Date; },
                          [](const std::wstring&) { return VarType::String; },
                          [](const SharedText&) { return VarType::String; },
                          [](const std::shared_ptr<AutomationObject>&) { return VarType::Object; },
                          [](ErrorValue) { return VarType::Error; },
                          [](bool) { return VarType::Boolean; },
                          [](uint8_t) { return VarType::Byte; },
                          [](const std::shared_ptr<VariantArray>&) { return VarType::Array; },
                      },
                      m_value);
}

int Variant::VarTypeNumber() const {
    const VarType t = Type();
    if (t == VarType::Array) {
        return static_cast<int>(VarType::Array) + static_cast<int>(ArrayValue()->elementType);
    }
    return static_cast<int>(t);
}

std::wstring Variant::TypeName() const {
    const VarType t = Type();
    if (t == VarType::Array) {
        return TypeNameOf(ArrayValue()->elementType) + L"()";
    }
    if (t == VarType::Object) {
        const auto obj = Object();
        return obj ? obj->TypeName() : L"Nothing";
    }
    return TypeNameOf(t);
}

bool Variant::IsObject() const {
    return std::holds_alternative<std::shared_ptr<AutomationObject>>(m_value);
}

const VariantArray* Variant::ArrayValue() const {
    const auto* p = std::get_if<std::shared_ptr<VariantArray>>(&m_value);
    return p ? p->get() : nullptr;
}

std::shared_ptr<AutomationObject> Variant::Object() const {
    const auto* p = std::get_if<std::shared_ptr<AutomationObject>>(&m_value);
    return p ? *p : nullptr;
}

double RoundHalfEven(double d) {
    return std::nearbyint(d);  // the default rounding mode rounds ties to even
}

std::wstring CStr(const Variant& v, const Locale& locale) {
    return std::visit(
        Overloaded{
            [](std::monostate) { return std::wstring(); },
            [](Variant::NullTag) -> std::wstring { Fail(vberr::InvalidUseOfNull); },
            [](int16_t n) { return std::to_wstring(n); },
            [](int32_t n) { return std::to_wstring(n); },
            [&](float f) { return FormatNumber(f, 7, locale); },
            [&](double d) { return FormatNumber(d, 15, locale); },
            [&](Variant::CurrencyValue c) { return FormatCurrency(c.scaled, locale); },
            [](OleDate d) { return FormatDate(d); },
            [](const std::wstring& s) { return s; },
            [](const Variant::SharedText& s) { return *s.text; },
            [](const std::shared_ptr<AutomationObject>&) -> std::wstring {
                Fail(vberr::TypeMismatch);
            },
            [](Variant::ErrorValue) -> std::wstring { Fail(vberr::TypeMismatch); },
            [](bool b) { return std::wstring(b ? L"True" : L"False"); },
            [](uint8_t n) { return std::to_wstring(n); },
            [](const std::shared_ptr<VariantArray>&) -> std::wstring { Fail(vberr::TypeMismatch); },
        },
        v.Raw());
}

double CDbl(const Variant& v, const Locale& locale) {
    return std::visit(
        Overloaded{
            [](std::monostate) { return 0.0; },
            [](Variant::NullTag) -> double { Fail(vberr::InvalidUseOfNull); },
            [](int16_t n) { return static_cast<double>(n); },
            [](int32_t n) { return static_cast<double>(n); },
            [](float f) { return static_cast<double>(f); },
            [](double d) { return d; },
            [](Variant::CurrencyValue c) { return static_cast<double>(c.scaled) / 10000.0; },
            [](OleDate d) { return d.Value(); },
            [&](const std::wstring& s) -> double {
                if (auto n = ParseNumber(s, locale)) {
                    return *n;
                }
                Fail(vberr::TypeMismatch);
            },
            [&](const Variant::SharedText& s) -> double {
                if (auto n = ParseNumber(*s.text, locale)) {
                    return *n;
                }
                Fail(vberr::TypeMismatch);
            },
            [](const std::shared_ptr<AutomationObject>&) -> double { Fail(vberr::TypeMismatch); },
            [](Variant::ErrorValue) -> double { Fail(vberr::TypeMismatch); },
            [](bool b) { return b ? -1.0 : 0.0; },
            [](uint8_t n) { return static_cast<double>(n); },
            [](const std::shared_ptr<VariantArray>&) -> double { Fail(vberr::TypeMismatch); },
        },
        v.Raw());
}

int32_t CLng(const Variant& v, const Locale& locale) {
    const double r = RoundHalfEven(CDbl(v, locale));
    if (!(r >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
          r <= static_cast<double>(std::numeric_limits<int32_t>::max()))) {
        Fail(vberr::Overflow);
    }
    return static_cast<int32_t>(r);
}

bool CBool(const Variant& v, const Locale& locale) {
    if (const auto* s = v.String()) {
        const std::wstring t = text::TrimSpacesTabs(*s);
        if (text::EqualsNoCase(t, L"True")) {
            return true;
        }
        if (text::EqualsNoCase(t, L"False")) {
            return false;
        }
    }
    return CDbl(v, locale) != 0.0;
}

bool IsNumeric(const Variant& v, const Locale& locale) {
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Integer:
        case VarType::Long:
        case VarType::Single:
        case VarType::Double:
        case VarType::Currency:
        case VarType::Boolean:
        case VarType::Byte:
            return true;
        case VarType::String:
            return ParseNumber(*v.String(), locale).has_value();
        default:
            return false;
    }
}

}  // namespace plexa
