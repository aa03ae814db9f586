// The host object model's enumerations, with the values the add-in uses.
#pragma once

#include <cstdint>

namespace plexa {

// OlObjectClass: what an object's Class reports.
inline constexpr int32_t olNamespace = 1;
inline constexpr int32_t olFolder = 2;
inline constexpr int32_t olAppointment = 26;
inline constexpr int32_t olContact = 40;
inline constexpr int32_t olMail = 43;
inline constexpr int32_t olNote = 44;
inline constexpr int32_t olPost = 45;
inline constexpr int32_t olJournal = 42;
inline constexpr int32_t olTask = 48;
inline constexpr int32_t olDistributionList = 69;

// OlItemType: CreateItem, Items.Add and a folder's DefaultItemType.
inline constexpr int32_t olMailItem = 0;
inline constexpr int32_t olAppointmentItem = 1;
inline constexpr int32_t olContactItem = 2;
inline constexpr int32_t olTaskItem = 3;
inline constexpr int32_t olJournalItem = 4;
inline constexpr int32_t olNoteItem = 5;
inline constexpr int32_t olPostItem = 6;
inline constexpr int32_t olDistributionListItem = 7;

// OlDefaultFolders.
inline constexpr int32_t olFolderDeletedItems = 3;
inline constexpr int32_t olFolderOutbox = 4;
inline constexpr int32_t olFolderSentMail = 5;
inline constexpr int32_t olFolderInbox = 6;
inline constexpr int32_t olFolderCalendar = 9;
inline constexpr int32_t olFolderContacts = 10;
inline constexpr int32_t olFolderJournal = 11;
inline constexpr int32_t olFolderNotes = 12;
inline constexpr int32_t olFolderTasks = 13;
inline constexpr int32_t olFolderDrafts = 16;
inline constexpr int32_t olFolderJunk = 23;

// OlMailRecipientType.
inline constexpr int32_t olOriginator = 0;
inline constexpr int32_t olTo = 1;
inline constexpr int32_t olCC = 2;
inline constexpr int32_t olBCC = 3;

// OlBodyFormat.
inline constexpr int32_t olFormatUnspecified = 0;
inline constexpr int32_t olFormatPlain = 1;
inline constexpr int32_t olFormatHTML = 2;
inline constexpr int32_t olFormatRichText = 3;

// OlInspectorClose.
inline constexpr int32_t olSave = 0;
inline constexpr int32_t olDiscard = 1;
inline constexpr int32_t olPromptForSave = 2;

// OlEditorType.
inline constexpr int32_t olEditorText = 1;
inline constexpr int32_t olEditorHTML = 2;
inline constexpr int32_t olEditorRTF = 3;
inline constexpr int32_t olEditorWord = 4;

// OlUserPropertyType.
inline constexpr int32_t olText = 1;
inline constexpr int32_t olInteger = 20;

// OlSensitivity.
inline constexpr int32_t olNormal = 0;
inline constexpr int32_t olPrivate = 2;

// OlResponseStatus: the user organised the meeting.
inline constexpr int32_t olResponseOrganized = 1;

// A link to a contact (Link.Type).
inline constexpr int32_t olLinkContact = 40;

// Automation errors the simulated host raises as the real one does.
inline constexpr int32_t E_FAIL = static_cast<int32_t>(0x80004005);
inline constexpr int32_t MAPI_E_NOT_FOUND = static_cast<int32_t>(0x8004010F);
inline constexpr int32_t E_INVALIDARG = static_cast<int32_t>(0x80070057);
// "The item has been moved or deleted" and "The operation cannot be performed because the
// object has been deleted".
inline constexpr int32_t OL_E_OBJECT_DELETED = static_cast<int32_t>(0x8004010A);

}  // namespace plexa
