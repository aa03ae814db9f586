// The host's automation value: Empty, Null, numbers, dates, text, objects, errors, Booleans and
// arrays, with the host's type numbers, type names and conversions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/Locale.h"
#include "core/OleDate.h"

namespace plexa {

// The host's VarType numbers.
enum class VarType : int {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 8192,
};

// Anything the host hands over as an object. Port interfaces that travel in a Variant derive
// from it.
class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // The host's TypeName for the object ("MailItem", "MAPIFolder" ...).
    virtual std::wstring TypeName() const = 0;
};

class Variant;
struct VariantArray {
    VarType elementType = VarType::Variant;
    std::vector<Variant> items;
};

class Variant {
public:
    struct NullTag {};
    struct CurrencyValue {
        int64_t scaled;  // value times 10,000
    };
    struct ErrorValue {
        int32_t code;
    };
    // A long text, shared by every copy of the value: texts as long as a message body are
    // copied with each property read and write, so copies share them instead. Never changed.
    struct SharedText {
        std::shared_ptr<const std::wstring> text;
        bool operator==(const SharedText& other) const { return *text == *other.text; }
    };
    // Texts from this length on are held as SharedText.
    static constexpr std::size_t kSharedTextLength = 256;

    Variant() = default;
    Variant(bool b) : m_value(b) {}                          // NOLINT(google-explicit-constructor)
    Variant(int32_t n) : m_value(n) {}                       // NOLINT(google-explicit-constructor)
    Variant(double d) : m_value(d) {}                        // NOLINT(google-explicit-constructor)
    Variant(float f) : m_value(f) {}                         // NOLINT(google-explicit-constructor)
    Variant(OleDate d) : m_value(d) {}                       // NOLINT(google-explicit-constructor)
    Variant(std::wstring s);                                 // NOLINT(google-explicit-constructor)
    Variant(const wchar_t* s) : Variant(std::wstring(s)) {}  // NOLINT(google-explicit-constructor)
    Variant(std::shared_ptr<AutomationObject> o)             // NOLINT(google-explicit-constructor)
        : m_value(std::move(o)) {}
    Variant(std::vector<Variant> items)  // NOLINT(google-explicit-constructor)
        : m_value(
              std::make_shared<VariantArray>(VariantArray{VarType::Variant, std::move(items)})) {}
    // Narrow text would silently become a Boolean: it must be converted at the edge instead.
    Variant(const char*) = delete;

    static Variant Null() { return Variant(Tag{}, NullTag{}); }
    static Variant Integer(int16_t n) { return Variant(Tag{}, n); }
    static Variant Byte(uint8_t n) { return Variant(Tag{}, n); }
    static Variant Currency(int64_t scaled) { return Variant(Tag{}, CurrencyValue{scaled}); }
    static Variant Error(int32_t code) { return Variant(Tag{}, ErrorValue{code}); }
    static Variant Array(VarType elementType, std::vector<Variant> items);

    // The host's VarType: the type number, 8192 + element type for arrays.
    int VarTypeNumber() const;
    VarType Type() const;
    // The host's TypeName: "Long", "String", "Variant()" ...
    std::wstring TypeName() const;

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool IsNull() const { return std::holds_alternative<NullTag>(m_value); }
    bool IsString() const {
        return std::holds_alternative<std::wstring>(m_value) ||
               std::holds_alternative<SharedText>(m_value);
    }
    bool IsArray() const { return std::holds_alternative<std::shared_ptr<VariantArray>>(m_value); }
    bool IsObject() const;

    // Direct access; nullptr when the Variant holds something else.
    // Texts are std::wstring or SharedText in Raw(); String() gives either.
    const std::wstring* String() const {
        if (const auto* shared = std::get_if<SharedText>(&m_value)) {
            return shared->text.get();
        }
        return std::get_if<std::wstring>(&m_value);
    }
    const VariantArray* ArrayValue() const;
    std::shared_ptr<AutomationObject> Object() const;

    using Storage =
        std::variant<std::monostate, NullTag, int16_t, int32_t, float, double, CurrencyValue,
                     OleDate, std::wstring, std::shared_ptr<AutomationObject>, ErrorValue, bool,
                     uint8_t, std::shared_ptr<VariantArray>, SharedText>;
    const Storage& Raw() const { return m_value; }

private:
    struct Tag {};
    template <typename T>
    Variant(Tag /*unused*/, T value) : m_value(std::move(value)) {}

    Storage m_value;
};

// The host's conversions. They throw HostError as the host raises its run-time errors:
// Type mismatch (13), Overflow (6), Invalid use of Null (94).

// CStr: Empty is "", Booleans "True"/"False", numbers in the locale's notation with up to 15
// significant digits (7 for Single), dates as "m/d/yyyy h:nn:ss AM/PM" (the date or the time
// alone when the other part is zero).
std::wstring CStr(const Variant& v, const Locale& locale = DefaultLocale());
// CDbl: the value as a Double; texts are read with the locale's separators.
double CDbl(const Variant& v, const Locale& locale = DefaultLocale());
// CLng: the nearest 32-bit integer, ties to the even neighbour; Overflow outside the range.
int32_t CLng(const Variant& v, const Locale& locale = DefaultLocale());
// CBool: numbers are true when non-zero; texts "True"/"False" (any case) or numbers.
bool CBool(const Variant& v, const Locale& locale = DefaultLocale());
// IsNumeric: numbers, Booleans, Empty, and texts that hold a number.
bool IsNumeric(const Variant& v, const Locale& locale = DefaultLocale());

// Round half to even, as the host rounds when converting to an integer.
double RoundHalfEven(double d);

}  // namespace plexa
