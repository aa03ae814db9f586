// The separate-send action: a message sent through the add-in either goes out as it is (send
// mode 0, its placeholders filled with every recipient's values) or is replaced by one personal
// copy per recipient (send mode 1), each keeping exactly one recipient and that recipient's
// placeholder values, then sent through the Outbox, kept in Drafts, or (grouping) queued to go
// out later in groups. The source message is deleted for good once all its copies exist.
//
// A cancel (invalid recipients, a refused value, the user's Cancel, a prompt in silent mode)
// leaves the message, its settings and its window as they were. A host error after the window
// closed leaves the copies made so far as they are and keeps, in the source message in Drafts,
// exactly the recipients whose copies were not made, with its send settings, so that sending it
// again reaches only them; unless silent, one message box says what was done.
#pragma once

#include <cstdint>
#include <memory>

namespace plexa {

class CRecipientsProps;
class CSendLaterList;
class IMessageWindow;
class IPleaseWait;
class MailItem;
class OutlookItem;
class SafeItem;
class SafeMailItem;
class Services;

namespace mContacts {
class CContactFolderList;
}

// What the action works with beyond its arguments, handed down by its caller: the services, the
// send-later queue (gSendLaterList), the please-wait keeper (gPleaseWait) and the contact
// folders kept for the run of the add-in.
struct PlexaActionContext {
    Services& services;
    CSendLaterList& sendLaterList;
    IPleaseWait& pleaseWait;
    mContacts::CContactFolderList& contactFolders;
};

namespace mPlexaUpdate {

// Copies of more than this many recipients are made from block copies of this many.
inline constexpr int32_t kBlockSize = 50;

// Runs the action on mail. window: the message window the send came from (nothing for the
// folder window's send-now). doSend: 1 send, 0 keep the result in Drafts. sendMode: 0 to all,
// 1 separately (any other value validates and does nothing more). props: the placeholder values
// and remembered answers (the window's, or a new one per message). cancelled: set when the
// action was abandoned before anything was sent or saved. silent: no dialogs; a question
// cancels. grouping, interval (minutes) and groupSize: send separate copies in groups (0 takes
// the settings' value). Never throws.
void DoPlexaAction(PlexaActionContext& context, const std::shared_ptr<MailItem>& mail,
                   IMessageWindow* window, int32_t doSend, int32_t sendMode,
                   CRecipientsProps& props, bool& cancelled, bool silent, bool grouping,
                   int32_t interval, int32_t groupSize);

// A new copy of source that keeps only recipient index (1-based) of count; safeCopy is left
// bound to it. Above kBlockSize recipients the copy is made from a block copy (blockCopy, bound
// to safeBlock) holding the kBlockSize recipients of index's block, made when index is the first
// of its block (the previous block's copy is deleted then). Nothing when the host fails (logged
// with the recipient's number); a copy made before the failure is deleted again, so no copy ever
// leaves with more than its one recipient.
std::shared_ptr<MailItem> Mail_CreateOccurence(Services& services,
                                               const std::shared_ptr<MailItem>& source,
                                               std::shared_ptr<MailItem>& blockCopy,
                                               SafeMailItem& safeBlock, int32_t index,
                                               int32_t count, SafeMailItem& safeCopy);

// Turns off the use-TNEF switch of a plain-text or HTML message, saving it when asked. Throws
// HostError when the host fails.
void BugFixTNEF(Services& services, SafeMailItem& safeItem, bool save);

// Deletes the item, and then its copy in Deleted Items, for good; item is cleared. Ignores every
// error.
void DeleteItemPermanently(Services& services, std::shared_ptr<MailItem>& item);

// True when the item has recipients and all of them resolve; otherwise, unless silent, a message
// box tells the user why (on top of a Word editor, else brought to the foreground).
bool ValidateRecipients(Services& services, SafeItem& item, bool wordEditor, bool silent);

}  // namespace mPlexaUpdate
}  // namespace plexa
