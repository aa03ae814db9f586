// The ids a saved mailbox gives its stores, folders and items: each must be an id of the form
// this client makes and given once, so that loading can hand every one back unchanged.
#pragma once

#include <cstdint>
#include <string>

#include "sim/mailbox/MailboxModel.h"

namespace plexa::sim::mMailboxIds {

// Checks every "storeId", "rootEntryId" and "entryId" of the mailbox and returns the highest
// counter behind them (0 when it gives none). Throws MailboxError at the first id that is not
// of this client's form or that was given before.
uint64_t CheckGivenIDs(const MailboxModel& model, const std::wstring& source);

}  // namespace plexa::sim::mMailboxIds
