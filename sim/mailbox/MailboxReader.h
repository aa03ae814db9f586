// Reads a mailbox file (docs/mailbox-format.md) into a MailboxModel. Either the whole document
// is valid and comes back as a model, or a MailboxError says where and what is wrong: nothing is
// built half-way, and a field the format does not know is an error rather than lost data.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxModel.h"

namespace plexa::sim {

// The document in UTF-8 (a leading byte-order mark is skipped). sourceName names it in errors.
MailboxModel ParseMailbox(std::string_view utf8Text, std::wstring_view sourceName = L"mailbox");

// The file at path (a real file, not one of the simulated file system). A file that cannot be
// read gives a MailboxError with the file error's number (File not found, Path/File access
// error).
MailboxModel LoadMailbox(const std::filesystem::path& path);

// A path as text for messages.
std::wstring PathText(const std::filesystem::path& path);

}  // namespace plexa::sim
