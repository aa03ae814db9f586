// Writes a MailboxModel in the mailbox file format (docs/mailbox-format.md): only the fields
// that differ from their defaults, in the order a person reads them, small objects on one line.
// Reading what is written gives an equal model.
#pragma once

#include <filesystem>
#include <string>

#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxModel.h"

namespace plexa::sim {

// The document as UTF-8 text (no byte-order mark), ending in a line break.
std::string FormatMailbox(const MailboxModel& model);

// Writes the file atomically: the text goes to "<path>.tmp" beside it, is flushed to the disk
// and renamed over path, so a reader sees the old file or the new one, never half of one.
// A model that would not read back (an empty store name, two default stores ...) is refused
// with the MailboxError that reading it would give, before anything is written; a file error
// gives a MailboxError with its number and leaves the old file as it was.
void SaveMailbox(const MailboxModel& model, const std::filesystem::path& path);

}  // namespace plexa::sim
