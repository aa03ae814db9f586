// The send settings a message carries with it: the add-in's marker, the send mode and the
// grouping switch, kept as the item's text user properties so that they survive saving to
// Drafts, reopening and sending later. Nothing else in the add-in touches these properties.
//
// The write and delete operations save the item afterwards when asked to; otherwise the caller
// saves it later. None of them throws: the send-mode and grouping operations log what the host
// refuses and fall back to their defaults, the marker and delete operations take no notice.
#pragma once

#include <cstdint>
#include <memory>

namespace plexa {

class MailItem;

// The send modes of a message (the settings store keeps its default with the same numbers).
inline constexpr int32_t SendModeAll = 0;  // one message to all recipients
inline constexpr int32_t SendModeSep = 1;  // one personal copy per recipient

namespace mUserProps {

inline constexpr const wchar_t* kShowToolbar = L"OrvinPlexa.ShowToolbar";
inline constexpr const wchar_t* kSendMode = L"OrvinPlexa.SendMode";
inline constexpr const wchar_t* kGroupMode = L"OrvinPlexa.GroupMode";

// The marker: the message was composed through the add-in, or its send mode was set by it.
bool GetShowToolbar(const std::shared_ptr<MailItem>& item);
// Adds the marker ("1"); a marker already on the item stays as it is.
void SetShowToolbar(const std::shared_ptr<MailItem>& item, bool save);
void ClearShowToolbar(const std::shared_ptr<MailItem>& item, bool save);

// The stored send mode; 0 when absent or unreadable.
int32_t GetSendMode(const std::shared_ptr<MailItem>& item);
// The same, but a host error reaches the caller instead of the default: for a send, where
// falling back to one message to all would show every recipient to the others.
int32_t ReadSendMode(const std::shared_ptr<MailItem>& item);
void SetSendMode(const std::shared_ptr<MailItem>& item, int32_t mode, bool save);
void ClearSendMode(const std::shared_ptr<MailItem>& item, bool save);

// Grouping of separate copies: on when the stored text is a non-zero number; off when absent or
// unreadable.
bool GetGroupMode(const std::shared_ptr<MailItem>& item);
// The same, but a host error reaches the caller.
bool ReadGroupMode(const std::shared_ptr<MailItem>& item);
void setGroupMode(const std::shared_ptr<MailItem>& item, bool on, bool save);
void ClearGroupMode(const std::shared_ptr<MailItem>& item, bool save);

}  // namespace mUserProps
}  // namespace plexa
