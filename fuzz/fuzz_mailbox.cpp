// Feeds arbitrary bytes to the mailbox reader. It must never crash, hang or leak; it either
// gives a model or a MailboxError, and a model it gives must write back and read again as an
// equal model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/mailbox/MailboxReader.h"
#include "sim/mailbox/MailboxWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    plexa::sim::MailboxModel model;
    try {
        model = plexa::sim::ParseMailbox(input, L"fuzz.json");
    } catch (const plexa::sim::MailboxError&) {
        return 0;
    }
    const std::string written = plexa::sim::FormatMailbox(model);
    if (!(plexa::sim::ParseMailbox(written, L"written.json") == model)) {
        std::abort();  // the round trip lost or changed something
    }
    return 0;
}
