// The follow-up mark of messages kept in Drafts: mFlag reads and writes the flag properties
// through the safe-access library, and the two rules decide when the add-in marks a message
// and when it takes its own mark off again. Nothing here throws or logs: a store that refuses a
// property leaves the item as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace plexa {

class AutomationObject;
class MailItem;
class Services;

namespace mFlag {

// The follow-up request text, or "".
std::wstring GetFlagText(Services& services, const std::shared_ptr<AutomationObject>& item);
void SetFlagText(Services& services, const std::shared_ptr<AutomationObject>& item,
                 const std::wstring& text, bool save);
// The flag status (0 none, 1 completed, 2 flagged) and, for a flagged item, its icon.
void GetFlagStatus(Services& services, const std::shared_ptr<AutomationObject>& item,
                   int32_t& status, int32_t& icon);
void SetFlagStatus(Services& services, const std::shared_ptr<AutomationObject>& item,
                   int32_t status, int32_t icon, bool save);

}  // namespace mFlag

// The rules belong to the shared module of the add-in's callers (the separate-send action, the
// send-now command and the item-send handler) but live here, beside the flag code they use.
namespace mGlobals {

// Marks a message kept in Drafts with the add-in's flag, when the user wants that.
void MarkWithFollowUpFlag(Services& services, const std::shared_ptr<MailItem>& mail);
// Takes the add-in's own mark off a message (never a flag the user set), when the user wants
// that.
void ClearFollowUpFlag(Services& services, const std::shared_ptr<MailItem>& mail);

}  // namespace mGlobals
}  // namespace plexa
