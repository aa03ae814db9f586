// The built-in demo mailbox: resources/demo-mailbox.json, compiled into the program (the build
// turns the file into a byte array, so the program needs no resource folder at run time).
#pragma once

#include <string_view>

#include "sim/mailbox/MailboxModel.h"

namespace plexa::sim {

// The demo mailbox's JSON text, as the resource file holds it.
std::string_view DemoMailboxJson();

// The demo mailbox, read from that text.
MailboxModel DemoMailbox();

}  // namespace plexa::sim
