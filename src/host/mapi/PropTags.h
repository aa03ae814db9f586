// MAPI property tags and named-property sets the add-in reads and writes. A tag is the property
// id in the high 16 bits and the property type in the low 16 bits.
#pragma once

#include <cstdint>

namespace plexa::mapi {

// Property types.
inline constexpr uint16_t PT_LONG = 0x0003;
inline constexpr uint16_t PT_BOOLEAN = 0x000B;
inline constexpr uint16_t PT_STRING8 = 0x001E;
inline constexpr uint16_t PT_UNICODE = 0x001F;
inline constexpr uint16_t PT_SYSTIME = 0x0040;
inline constexpr uint16_t PT_BINARY = 0x0102;

constexpr uint32_t MakeTag(uint32_t id, uint16_t type) {
    return (id << 16) | type;
}
constexpr uint32_t PropId(uint32_t tag) {
    return tag >> 16;
}
constexpr uint16_t PropType(uint32_t tag) {
    return static_cast<uint16_t>(tag & 0xFFFF);
}

inline constexpr uint32_t PR_MESSAGE_CLASS = 0x001A001E;
inline constexpr uint32_t PR_SUBJECT = 0x0037001E;
inline constexpr uint32_t PR_SENSITIVITY = 0x00360003;
inline constexpr uint32_t PR_SENT_REPRESENTING_NAME = 0x0042001E;
inline constexpr uint32_t PR_SENT_REPRESENTING_EMAIL_ADDRESS = 0x0065001E;
inline constexpr uint32_t PR_MESSAGE_DELIVERY_TIME = 0x0E060040;
inline constexpr uint32_t PR_MESSAGE_FLAGS = 0x0E070003;
inline constexpr uint32_t PR_ENTRYID = 0x0FFF0102;
inline constexpr uint32_t PR_BODY = 0x1000001E;
inline constexpr uint32_t PR_HTML = 0x1013001E;
inline constexpr uint32_t PR_ICON_INDEX = 0x10800003;
inline constexpr uint32_t PR_FLAG_STATUS = 0x10900003;
inline constexpr uint32_t PR_FLAG_ICON = 0x10950003;
inline constexpr uint32_t PR_DISPLAY_NAME = 0x3001001E;
inline constexpr uint32_t PR_ADDRTYPE = 0x3002001E;
inline constexpr uint32_t PR_EMAIL_ADDRESS = 0x3003001E;
inline constexpr uint32_t PR_SMTP_ADDRESS = 0x39FE001E;
inline constexpr uint32_t PR_GIVEN_NAME = 0x3A06001E;
inline constexpr uint32_t PR_INITIALS = 0x3A0A001E;
inline constexpr uint32_t PR_SURNAME = 0x3A11001E;
inline constexpr uint32_t PR_COMPANY_NAME = 0x3A16001E;
inline constexpr uint32_t PR_MIDDLE_NAME = 0x3A44001E;
inline constexpr uint32_t PR_NICKNAME = 0x3A4F001E;
inline constexpr uint32_t PR_MSG_EDITOR_FORMAT = 0x59090003;

// PR_MESSAGE_FLAGS: read; submitted and waiting for the transport; not sent yet (a draft).
inline constexpr int32_t MSGFLAG_READ = 0x0001;
inline constexpr int32_t MSGFLAG_SUBMIT = 0x0004;
inline constexpr int32_t MSGFLAG_UNSENT = 0x0008;

// The icon index of a mail that was replied to.
inline constexpr int32_t ICON_INDEX_REPLIED = 261;

// Named-property sets.
inline constexpr const wchar_t* PSETID_Address = L"{00062004-0000-0000-C000-000000000046}";
inline constexpr const wchar_t* PSETID_Common = L"{00062008-0000-0000-C000-000000000046}";
inline constexpr const wchar_t* PSETID_Appointment = L"{00062002-0000-0000-C000-000000000046}";

// Contact e-mail slots 1 to 3 in PSETID_Address: the address (PT_STRING8) and the stored entry
// id (PT_BINARY).
inline constexpr uint32_t LID_EMAIL_ADDRESS[3] = {0x8083, 0x8093, 0x80A3};
inline constexpr uint32_t LID_EMAIL_ENTRYID[3] = {0x8085, 0x8095, 0x80A5};
inline constexpr uint32_t LID_EMAIL_DISPLAY_NAME[3] = {0x8080, 0x8090, 0x80A0};
inline constexpr uint32_t LID_EMAIL_ADDRTYPE[3] = {0x8082, 0x8092, 0x80A2};
// PSETID_Common: the follow-up flag text and the use-TNEF switch.
inline constexpr uint32_t LID_FLAG_REQUEST = 0x8530;
inline constexpr uint32_t LID_USE_TNEF = 0x8582;
// PSETID_Appointment: the user's response to a meeting (1: the user organised it).
inline constexpr uint32_t LID_RESPONSE_STATUS = 0x8218;

}  // namespace plexa::mapi
