// The folder window's list commands: gather the recipients of the selection or of a folder,
// resolve them, and put them into a new distribution list or into one the user picks in the
// chooser (frmChooseDL), member by member through the safe-access library's list object; then
// open the list for the user to review. The progress runs stage 1 (gathering), 2 (resolving)
// and 3 (adding members) when the input is large.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "recipients/mPlexa.h"

namespace plexa {

class CRecipients;
class Explorer;
class IProgress;
class MAPIFolder;
class Services;

namespace mExplorer {

// The cached actions the list commands record for the folder's item type.
inline constexpr int32_t kCachedActionNewDL = 3;
inline constexpr int32_t kCachedActionExistingDL = 4;

struct DisplayDLArgs {
    // In and out: a folder picked at the top of a store makes it esFromFolder.
    mPlexa::ERecipientsFrom eFrom = mPlexa::esFromSelection;
    // A new list, or one chosen in the chooser.
    bool bNew = true;
    // The folder to gather from; nothing for the folder window's current folder.
    std::shared_ptr<MAPIFolder> folder;
    // Messages to the user (no recipients, a list that could not be saved).
    bool bShowMessages = true;
    // At the top of a store, ask for a folder with the host's folder picker.
    bool bPickFolderAtTop = false;
    // Out: nothing could be resolved.
    bool bNoRecipients = false;
};

// The new-list and existing-list commands. True when a list was filled and displayed. A list
// that could not be filled is reported (logged, and told unless messages are off); a new list
// that could not be filled does not stay in the folder.
bool Explorer_DisplayDL_(Services& services, IProgress& progress,
                         const std::shared_ptr<Explorer>& explorer, DisplayDLArgs& args);

// Adds every resolved recipient to the list (entry id, store id) and saves it. A member the list
// rejects is logged and skipped; a cancel in the progress (bUseProgressWnd) stops adding, and
// what was added is saved. False when the list could not be opened or saved (logged).
bool Explorer_DisplayDL_AddRecipients(Services& services, IProgress& progress,
                                      const std::wstring& entryID, const std::wstring& storeID,
                                      const CRecipients& recipients, bool bUseProgressWnd);

}  // namespace mExplorer
}  // namespace plexa
