// How the mailbox file's names and values map onto the simulated store's records: item classes,
// folder types and roles as the host's numbers, the property tags the loader and the snapshot
// share, and the file's local dates against the store's UTC times.
#pragma once

#include <cstdint>
#include <optional>

#include "core/OleDate.h"
#include "platform/IClock.h"
#include "sim/mailbox/MailboxModel.h"

namespace plexa::sim::mMailboxMapping {

// Tags the host objects do not name but a mailbox fills.
inline constexpr uint32_t PR_CLIENT_SUBMIT_TIME = 0x00390040;
inline constexpr uint32_t PR_START_DATE = 0x00600040;
inline constexpr uint32_t PR_END_DATE = 0x00610040;
inline constexpr uint32_t PR_LAST_MODIFICATION_TIME = 0x30080040;

// Named properties: the meeting's location (PSETID_Appointment) and the task's due date
// (PSETID_Task).
inline constexpr uint32_t LID_LOCATION = 0x8208;
inline constexpr const wchar_t* PSETID_Task = L"{00062003-0000-0000-C000-000000000046}";
inline constexpr uint32_t LID_TASK_DUE_DATE = 0x8105;

// OlObjectClass of an item class, and back (nullopt for a class the file has no name for).
int32_t ObjectClassOf(ItemClass itemClass);
std::optional<ItemClass> ItemClassOf(int32_t objectClass);

// OlItemType of a folder type, and back (nullopt for a type the file has no name for).
int32_t ItemTypeOf(FolderType type);
std::optional<FolderType> FolderTypeOf(int32_t itemType);

// OlDefaultFolders of a role (0 for none), and back.
int32_t DefaultFolderOf(FolderRole role);
// Every role a file can give, in the order the client creates the folders.
const std::vector<FolderRole>& AllRoles();

// OlMailRecipientType of a recipient type, and back (To for anything else).
int32_t RecipientTypeOf(RecipientType type);
RecipientType RecipientTypeFrom(int32_t type);

// The file writes dates in the client's local time, the store keeps UTC: the clock's offset
// now converts between them.
OleDate LocalToUtc(IClock& clock, OleDate local);
OleDate UtcToLocal(IClock& clock, OleDate utc);

}  // namespace plexa::sim::mMailboxMapping
