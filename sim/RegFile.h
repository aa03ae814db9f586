// The registry editor's export format ("Windows Registry Editor Version 5.00"), in which the
// simulated registry keeps its hive on disk. Written as the registry editor writes it: UTF-16LE
// with a byte-order mark, CRLF line ends, one [key] section per key followed by its values, long
// hex data wrapped with "\" at 80 columns. Read from UTF-16LE (with its mark) or UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plexa::sim::RegFile {

inline constexpr std::wstring_view Header = L"Windows Registry Editor Version 5.00";

struct Value {
    std::wstring name;  // empty for the key's default value ("@")
    uint32_t type = 0;
    // As the registry keeps it: the string types as UTF-16LE with their terminating null.
    std::vector<uint8_t> data;
};

struct Key {
    // The full path, beginning with the root's name ("HKEY_CURRENT_USER\Software\Orvin").
    std::wstring path;
    std::vector<Value> values;
};

// The roots a file may name.
bool IsRootName(std::wstring_view name);

// The file's bytes for these keys, in the order given.
std::string Write(const std::vector<Key>& keys);

// The keys of a file, in file order (a key may appear more than once; later values win).
// Throws HostError (Invalid file format) naming fileName and the line, with the line in Line(),
// when the file is not a well-formed export of keys and values.
std::vector<Key> Read(std::string_view bytes, std::wstring_view fileName);

}  // namespace plexa::sim::RegFile
