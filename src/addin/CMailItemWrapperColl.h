// The process-wide collection of mail-item wrappers (gMailItemWrappers): messages composed from
// received mails, whose sources get the replied icon once they are sent or saved.
//
// Waits for the message-window integration: this stand-in holds no wrappers yet; nothing adds
// any before that work is built.
#pragma once

namespace plexa {

class CMailItemWrapperColl {};

}  // namespace plexa
