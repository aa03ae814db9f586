// The simulated client's mailbox as a mailbox file describes it: what the command-line host
// saves as mailbox.json between runs. Building the snapshot gives the same stores, folders,
// items and address book again (docs/mailbox-format.md, "What a saved mailbox keeps").
#pragma once

#include "sim/mailbox/MailboxModel.h"
#include "sim/store/SimSession.h"

namespace plexa::sim {

// Every store with its folders in order (default folders with their roles), every saved item
// of a class the file knows, and the address book's listed entries. Dates come out in the local
// time of the session's clock.
MailboxModel SnapshotSession(const SimSession& session);

}  // namespace plexa::sim
