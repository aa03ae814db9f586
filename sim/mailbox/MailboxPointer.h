// Places in a mailbox document as JSON pointers (RFC 6901), for the messages of its errors:
// "/stores/0/folders/2/items/5/email".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plexa::sim::mMailboxPointer {

// The pointer of a field of the value at at; "~" and "/" in the key are written "~0" and "~1".
std::wstring Child(const std::wstring& at, std::wstring_view key);
// The pointer of an element of the array at at.
std::wstring Child(const std::wstring& at, std::size_t index);

}  // namespace plexa::sim::mMailboxPointer
