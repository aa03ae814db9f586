// Recipient gathering: turns the items selected in a folder window, or every item of a folder,
// into recipients of a CRecipients container, by item class and the user's exclusion options.
// A large input asks for confirmation first (100 items or more); from 20 items the progress
// window runs stage 1 and stays open for resolution.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plexa {

class CRecipients;
class ContactItem;
class MAPIFolder;
class MAPIUtils;
class MailItem;
class OutlookItem;
class SafeAppointmentItem;
class SafeMailItem;
class IProgress;
class SafeTaskItem;
class Services;

namespace mPlexa {

enum ERecipientsFrom : int32_t {
    esFromSelection = 0,  // the items selected in the active folder window
    esFromFolder = 1,     // every item of a folder
};

// The command code of the distribution-list commands (their wording of the large-input prompt).
inline constexpr int32_t kDistListCommand = 7;
// From this many items the user confirms; from this many the progress window runs.
inline constexpr std::size_t kConfirmItemCount = 100;
inline constexpr std::size_t kProgressItemCount = 20;

struct GatherResult {
    // Every item was processed; false when there was nothing to do, eFrom was invalid, the user
    // declined or cancelled, or on an error.
    bool gathered = false;
    // The progress was opened (stage 1); it then stays open for the caller's resolution, and
    // the caller closes it.
    bool bUseProgressWND = false;
};

// Gathers the recipients of the selection or of the folder (nothing: the active folder
// window's) into recipients. bAddDistLists makes list items contribute a recipient named by
// the list's subject. nCommand 7 words the large-input prompt for lists.
GatherResult GetPlexaRecipients(Services& services, ERecipientsFrom eFrom, CRecipients& recipients,
                                bool bAddDistLists, IProgress& progress,
                                const std::shared_ptr<MAPIFolder>& folder, int32_t nCommand);

// Adds the recipients of one item. A host error ends the item (logged, no progress step).
void AddItemRecipients(Services& services, const std::shared_ptr<OutlookItem>& item,
                       ERecipientsFrom eFrom, CRecipients& recipients, bool bAddDistLists,
                       bool bUseProgressWND, IProgress& progress, MAPIUtils& utils,
                       SafeMailItem& safeMail, SafeAppointmentItem& safeAppointment,
                       SafeTaskItem& safeTask, bool& bCancel);

// Adds the contacts linked to an appointment or a task.
void SafeGetLinks(Services& services, const std::shared_ptr<OutlookItem>& item,
                  CRecipients& recipients, ERecipientsFrom eFrom);

// Whether the mail was replied to (its icon says so); false on any error.
bool IsRepliedMail(const std::shared_ptr<MailItem>& mail, MAPIUtils& utils);
// False for a mail anywhere below Drafts, Outbox or Sent Items; true for every other mail.
bool IsReceivedMail(Services& services, const std::shared_ptr<MailItem>& mail);
// Up to three distinct valid addresses of the contact, in slot order, lower-cased.
std::vector<std::wstring> GetContactEmailAddresses(Services& services,
                                                   const std::shared_ptr<ContactItem>& contact);

}  // namespace mPlexa
}  // namespace plexa
