// One gathered recipient with an e-mail address: the address as first added, every display name
// it came with, and the entry ids of the items it came from.
#pragma once

#include <string>

#include "recipients/KeyedStrings.h"

namespace plexa {

class CEmailRecipient {
public:
    // The address in the letter case in which it was first added.
    std::wstring Email;
    // Every display name under which the address was added, in order of first appearance.
    KeyedStrings Names;
    // Entry ids of the items this recipient came from, each once.
    KeyedStrings AssocItemIDs;
};

}  // namespace plexa
