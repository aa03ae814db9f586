// One gathered recipient known by its display name only, or one resolved recipient (its name is
// then the display string), with the entry ids of the items it came from.
#pragma once

#include <string>

#include "recipients/KeyedStrings.h"

namespace plexa {

class CNameRecipient {
public:
    std::wstring Name;
    // Entry ids of the source items, each once.
    KeyedStrings AssocItemIDs;
};

}  // namespace plexa
