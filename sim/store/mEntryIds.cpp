#include "sim/store/mEntryIds.h"

#include <cstdio>
#include <vector>

#include "host/mapi/PropTags.h"

namespace plexa::sim::mEntryIds {

namespace {

// The provider part every simulated id carries, as a real store's ids carry their provider's.
constexpr const wchar_t* kItemPrefix = L"00000000B7A1F3C2D4E5461A8C9B0D1E";
constexpr const wchar_t* kStorePrefix = L"0000000038A1BB1005E5101AA1BB08002B2A56C200707374";

std::wstring Hex64(uint64_t value, int digits) {
    std::wstring out(static_cast<size_t>(digits), L'0');
    for (int i = digits - 1; i >= 0 && value != 0; --i) {
        out[static_cast<size_t>(i)] = L"0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    }
    return out;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    return -1;
}

// The counter behind prefix + 16 hex digits, letter case ignored; nothing for any other text.
std::optional<uint64_t> CounterAfter(std::wstring_view prefix, std::wstring_view id) {
    if (id.size() != prefix.size() + 16) {
        return std::nullopt;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (HexDigit(id[i]) != HexDigit(prefix[i])) {
            return std::nullopt;
        }
    }
    uint64_t counter = 0;
    for (size_t i = prefix.size(); i < id.size(); ++i) {
        const int digit = HexDigit(id[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        counter = counter << 4 | static_cast<uint64_t>(digit);
    }
    return counter;
}

}  // namespace

std::wstring MakeEntryID(uint64_t counter) {
    return std::wstring(kItemPrefix) + Hex64(counter, 16);
}

std::wstring MakeStoreID(uint64_t counter) {
    return std::wstring(kStorePrefix) + Hex64(counter, 16);
}

std::optional<uint64_t> EntryIDCounter(std::wstring_view entryID) {
    return CounterAfter(kItemPrefix, entryID);
}

std::optional<uint64_t> StoreIDCounter(std::wstring_view storeID) {
    return CounterAfter(kStorePrefix, storeID);
}

Variant HexToBytes(std::wstring_view hex) {
    std::vector<Variant> bytes;
    if (hex.size() % 2 == 0) {
        bytes.reserve(hex.size() / 2);
        for (size_t i = 0; i < hex.size(); i += 2) {
            const int hi = HexDigit(hex[i]);
            const int lo = HexDigit(hex[i + 1]);
            if (hi < 0 || lo < 0) {
                bytes.clear();
                break;
            }
            bytes.push_back(Variant::Byte(static_cast<uint8_t>(hi * 16 + lo)));
        }
    }
    return Variant::Array(VarType::Byte, std::move(bytes));
}

std::wstring BytesToHex(const Variant& bytes) {
    const VariantArray* array = bytes.ArrayValue();
    if (array == nullptr) {
        return L"";
    }
    std::wstring out;
    out.reserve(array->items.size() * 2);
    for (const auto& item : array->items) {
        const auto* b = std::get_if<uint8_t>(&item.Raw());
        if (b == nullptr) {
            return L"";
        }
        out += L"0123456789ABCDEF"[*b >> 4];
        out += L"0123456789ABCDEF"[*b & 0xF];
    }
    return out;
}

uint32_t NormalizeTag(uint32_t propTag) {
    if (mapi::PropType(propTag) == mapi::PT_UNICODE) {
        return mapi::MakeTag(mapi::PropId(propTag), mapi::PT_STRING8);
    }
    return propTag;
}

}  // namespace plexa::sim::mEntryIds
