#include "sim/mailbox/DemoMailbox.h"

#include "sim/mailbox/MailboxReader.h"

namespace plexa::sim {

// Generated from resources/demo-mailbox.json by sim/mailbox/CMakeLists.txt.
extern const char kDemoMailboxData[];
extern const std::size_t kDemoMailboxSize;

std::string_view DemoMailboxJson() {
    return {kDemoMailboxData, kDemoMailboxSize};
}

MailboxModel DemoMailbox() {
    return ParseMailbox(DemoMailboxJson(), L"demo mailbox");
}

}  // namespace plexa::sim
