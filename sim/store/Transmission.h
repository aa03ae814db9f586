// A message as it left through the simulated transport.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/OleDate.h"
#include "core/Variant.h"
#include "sim/store/ItemRecord.h"

namespace plexa::sim {

struct TransmittedRecipient {
    std::wstring name;
    // OlMailRecipientType: 1 To, 2 CC, 3 BCC.
    int32_t type = 1;
    // The entry's own address and type ("SMTP", "EX", "MAPIPDL").
    std::wstring address;
    std::wstring addressType;
    // Where the mail went: the SMTP address (an EX entry's PR_SMTP_ADDRESS); for a list, every
    // member's SMTP address, nested lists expanded.
    std::vector<std::wstring> smtpAddresses;
};

struct Transmission {
    OleDate timeUtc;
    // The folder the message was submitted from, as the client shows its path
    // ("\\Personal Folders\Outbox"); "" when it was in none.
    std::wstring submittedFrom;
    std::wstring senderName;
    std::wstring senderAddress;
    std::vector<TransmittedRecipient> recipients;
    std::wstring subject;
    std::wstring body;
    // "" for a plain-text message.
    std::wstring htmlBody;
    int32_t bodyFormat = 2;
    std::map<uint32_t, Variant> properties;
    std::vector<UserPropertyRecord> userProperties;
    // The entry id of the copy kept in Sent Items ("" when the store keeps none).
    std::wstring sentEntryID;
};

}  // namespace plexa::sim
