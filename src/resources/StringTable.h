// The compiled string table of the add-in (resources/StringTable.txt).
#pragma once

#include <map>
#include <string>

namespace plexa::resources {

const std::map<int, std::wstring>& StringTable();

}  // namespace plexa::resources
