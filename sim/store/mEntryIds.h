// Entry ids, store ids and property tags as the simulated store spells them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Variant.h"

namespace plexa::sim::mEntryIds {

// A new entry id: 48 upper-case hex digits, unique for every counter value.
std::wstring MakeEntryID(uint64_t counter);
// A new store id: 64 upper-case hex digits, unique for every counter value.
std::wstring MakeStoreID(uint64_t counter);
// The counter an entry id was made from: the id in either letter case (as the simulated store
// finds ids), or nothing for a text that MakeEntryID does not give for any counter.
std::optional<uint64_t> EntryIDCounter(std::wstring_view entryID);
// The same for a store id of MakeStoreID.
std::optional<uint64_t> StoreIDCounter(std::wstring_view storeID);

// Hex text to a Byte array and back ("" for anything that is no byte array). Hex digits of
// either letter case are read; an odd length or another character gives an empty array.
Variant HexToBytes(std::wstring_view hex);
std::wstring BytesToHex(const Variant& bytes);

// The tag under which a property is kept: PT_UNICODE and PT_STRING8 are one.
uint32_t NormalizeTag(uint32_t propTag);

}  // namespace plexa::sim::mEntryIds
