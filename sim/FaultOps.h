// The catalogue of operations the simulated ports check before they act (Faults::Check), grouped
// by port. A fault can be armed only for an operation in the catalogue, and a simulated port that
// checks a name outside it stops the program: a misspelt name can neither be armed nor go
// unchecked. A new simulated operation is added here along with its Check call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plexa::sim {

struct FaultPort {
    std::wstring name;              // "FileSystem", "Outlook", "Redemption" ...
    std::vector<std::wstring> ops;  // "FileSystem.Open", "File.Read" ...
};

// Every port and its operations, in a fixed order.
const std::vector<FaultPort>& FaultCatalogue();
// Whether op names a catalogued operation.
bool IsFaultOp(std::wstring_view op);
// The port an operation belongs to ("" when it is not catalogued).
std::wstring_view FaultPortOf(std::wstring_view op);

}  // namespace plexa::sim
