// The folder-window commands behind every command surface (toolbar, Actions menu, context
// menus): a new message To, CC or BCC to everybody gathered from the selection or a whole
// folder; the distribution-list commands; sending the drafts selected in Drafts now; the
// recent action remembered per kind of folder; the options and About boxes. Each command logs
// a host error under its own name and ends with the progress and please-wait windows closed; no
// error leaves a command.
#pragma once

#include <cstdint>
#include <memory>

#include "recipients/mPlexa.h"

namespace plexa {

class Explorer;
class MAPIFolder;
class Services;
struct ExplorerHost;

namespace mExplorer {

// Recipient types of the new message.
inline constexpr int32_t kTargetTo = 1;
inline constexpr int32_t kTargetCC = 2;
inline constexpr int32_t kTargetBCC = 3;

// Cached action codes, one stored per folder item type.
inline constexpr int32_t kCachedActionTo = 0;
inline constexpr int32_t kCachedActionCC = 1;
inline constexpr int32_t kCachedActionBCC = 2;
// kCachedActionNewDL (3) and kCachedActionExistingDL (4) come with the list commands.
inline constexpr int32_t kCachedActionNone = -1;

// A new message to everybody gathered (target 1 To, 2 CC, 3 BCC), from the selection or from
// folder (nothing: the explorer's current folder). With bPickFolder, at the top of a store the
// user picks the folder to take every item of. Nobody gathered: "LID_PROMPT_NORECIPIENTS" and
// no message. A cancel while the recipients are added still opens the message with those added.
void Explorer_DisplayNewMail(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer,
                             int32_t target, mPlexa::ERecipientsFrom eFrom,
                             const std::shared_ptr<MAPIFolder>& folder, bool bPickFolder);

// A new distribution list from what is gathered; true when a list was filled. bNoRecipients
// tells that nobody could be resolved.
bool Explorer_NewDL(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer,
                    mPlexa::ERecipientsFrom eFrom, const std::shared_ptr<MAPIFolder>& folder,
                    bool& bNoRecipients, bool bShowMessage, bool bPickFolder);
// Adds what is gathered to a list the user picks in the chooser.
void Explorer_ExistingDL(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer,
                         mPlexa::ERecipientsFrom eFrom, const std::shared_ptr<MAPIFolder>& folder,
                         bool bPickFolder);
// A new list from every item of the current folder; at the top of a store, or when that folder
// gave nobody, from a folder the user picks.
void Explorer_NewDLFromFolder(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer);

// Sends the mails selected in the default Drafts folder, in selection order; messages composed
// through the add-in go through the separate-send action. Stops at the first draft whose
// recipients do not validate, or when the user cancels a separate send.
void Explorer_SendNow(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer);

// Makes the client show the BCC field in new message windows ("ShowBcc" = 1).
void TurnOnBCCField(Services& services);

// The recent action of the kind of the explorer's current folder. A stored value outside 0..4
// counts as none (the default).
int32_t GetCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer,
                        int32_t defaultValue);
int32_t GetCachedActionOrTo(Services& services, const std::shared_ptr<Explorer>& explorer);
bool HasCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer);
// Stores the action for the kind of the explorer's current folder; when it changed, every
// window's recent-action button follows.
void SetCachedAction(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer, int32_t code);

// Whether the explorer shows the default Drafts folder (same entry id and store id).
bool IsDraftsFolderActive(Services& services, const std::shared_ptr<Explorer>& explorer);
// Whether any selected item is a mail.
bool SelectionHasMail(const std::shared_ptr<Explorer>& explorer);

// The options dialog (modal), and the product's About box.
void ShowOptions(ExplorerHost& host);
void ShowAbout(Services& services);
// Opens the newest send report in the application registered for CSV files; says so when there
// is none, or when it cannot be opened (logged).
void ShowLastSendReport(Services& services);
void ShowDebugForm(ExplorerHost& host);

}  // namespace mExplorer
}  // namespace plexa
