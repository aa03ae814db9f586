#include "distlists/mExplorerDL.h"

#include "core/HostError.h"
#include "distlists/frmChooseDL.h"
#include "host/outlook/Application.h"
#include "host/redemption/Redemption.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipients.h"
#include "settings/IProgress.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mExplorer {

namespace {

constexpr const wchar_t* kAddRecipients = L"mExplorer.Explorer_DisplayDL_AddRecipients";

void TellNotSaved(Services& services, bool bShowMessages) {
    if (!bShowMessages) {
        return;
    }
    try {
        services.Ports().ui.MsgBox(services.Lang().Item(L"LID_PROMPT_DL_NOT_SAVED"),
                                   mb::OkOnly | mb::IconExclamation,
                                   services.Lang().Item(L"LID_TITLE_DL_NOT_SAVED"));
    } catch (const HostError& e) {
        mGlobals::LogError(L"mExplorer.TellNotSaved", e);
    }
}

// Takes a new list that could not be filled out of its folder again (to Deleted Items, where
// the user can still see it).
void RemoveNewList(const std::shared_ptr<NameSpace>& session, const std::wstring& entryID,
                   const std::wstring& storeID, const std::wstring& source) {
    try {
        session->GetItemFromID(entryID, storeID)->Delete();
    } catch (const HostError& e) {
        mGlobals::LogError(source, e, L"the new list could not be removed");
    }
}

}  // namespace

bool Explorer_DisplayDL_(Services& services, IProgress& progress,
                         const std::shared_ptr<Explorer>& explorer, DisplayDLArgs& args) {
    const std::wstring source = std::wstring(L"mExplorer") + L".Explorer_DisplayDL_(" +
                                (args.bNew ? L"new" : L"existing") + L")";
    mGlobals::LogDebug(source, L"->", 1);
    args.bNoRecipients = false;
    bool bUseProgressWND = false;
    bool result = false;
    // A new list until it has been handed to the library to fill.
    std::shared_ptr<OutlookItem> newList;
    try {
        HostPorts& host = services.ConnectedHost();
        auto session = host.application->Session();
        std::shared_ptr<MAPIFolder> folder = args.folder;
        if (!folder && explorer) {
            folder = explorer->CurrentFolder();
        }
        if (folder) {
            services.Options().SetCachedAction_(
                folder->DefaultItemType(),
                args.bNew ? kCachedActionNewDL : kCachedActionExistingDL);
            if (args.bPickFolderAtTop && folder->Parent()->Class() == olNamespace) {
                folder = session->PickFolder();
                if (!folder) {
                    return false;
                }
                args.eFrom = mPlexa::esFromFolder;
            }
        }

        CRecipients recipients;
        // Lists in the input are not nested into the list.
        const mPlexa::GatherResult gathered = mPlexa::GetPlexaRecipients(
            services, args.eFrom, recipients, false, progress, folder, mPlexa::kDistListCommand);
        bUseProgressWND = gathered.bUseProgressWND;
        if (!gathered.gathered) {
            return false;
        }

        const ResolveResult resolved = recipients.Resolve(services, progress, bUseProgressWND);
        if (!resolved.resolved) {
            if (!resolved.cancelled) {
                args.bNoRecipients = true;
                if (bUseProgressWND) {
                    progress.Done();
                }
                if (args.bShowMessages) {
                    services.Ports().ui.MsgBox(services.Lang().Item(L"LID_PROMPT_NORECIPIENTS"),
                                               mb::OkOnly | mb::IconExclamation,
                                               services.Lang().Item(L"LID_TITLE_NORECIPIENTS"));
                }
            }
            return false;
        }

        std::shared_ptr<OutlookItem> list;
        if (args.bNew) {
            // Saved at once, so that it has an entry id the library can open.
            newList = host.application->CreateItem(olDistributionListItem);
            newList->Save();
            list = newList;
        } else {
            list = ShowChooseDList(services);
            if (!list) {
                if (bUseProgressWND) {
                    progress.Done();
                    services.LetMessagesRun();
                }
                return false;
            }
        }

        if (bUseProgressWND) {
            progress.Init(3, recipients.GetResolvedCount());
            services.LetMessagesRun();
        }
        const std::wstring entryID = list->EntryID();
        const std::wstring storeID = list->Parent()->StoreID();
        list.reset();
        newList.reset();
        const bool filled = Explorer_DisplayDL_AddRecipients(services, progress, entryID, storeID,
                                                             recipients, bUseProgressWND);
        if (bUseProgressWND) {
            progress.Done();
            services.LetMessagesRun();
        }
        if (!filled) {
            if (args.bNew) {
                RemoveNewList(session, entryID, storeID, source);
            }
            TellNotSaved(services, args.bShowMessages);
            return false;
        }
        result = true;
        // The list is filled; a window that does not open leaves it so.
        session->GetItemFromID(entryID, storeID)->Display();
    } catch (const HostError& e) {
        mGlobals::LogError(source, e);
        if (newList) {
            // Not filled: it does not stay behind empty.
            try {
                newList->Delete();
            } catch (const HostError& removing) {
                mGlobals::LogError(source, removing, L"the new list could not be removed");
            }
        }
        try {
            progress.Done();
        } catch (const HostError& closing) {
            mGlobals::LogError(source, closing);
        }
    }
    return result;
}

bool Explorer_DisplayDL_AddRecipients(Services& services, IProgress& progress,
                                      const std::wstring& entryID, const std::wstring& storeID,
                                      const CRecipients& recipients, bool bUseProgressWnd) {
    mGlobals::LogDebug(kAddRecipients, L"->", 1);
    try {
        HostPorts& host = services.ConnectedHost();
        auto rdoSession = host.redemption->CreateRDOSession();
        rdoSession->SetMAPIOBJECT(host.application->Session()->MAPIOBJECT());
        auto rdoList = rdoSession->GetMessageFromID(entryID, storeID);
        const int32_t count = recipients.GetResolvedCount();
        for (int32_t i = 1; i <= count; ++i) {
            const std::wstring displayString = recipients.GetResolvedName(i);
            try {
                rdoList->AddMember(displayString);
            } catch (const HostError& e) {
                mGlobals::LogError(kAddRecipients, e, L"oRdoDL.AddMember(" + displayString + L")");
            }
            if (bUseProgressWnd && progress.Step()) {
                mGlobals::LogDebug(kAddRecipients, L"cancelled", 1);
                break;
            }
        }
        // Also after a cancel: the members added so far stay.
        rdoList->Save();
        return true;
    } catch (const HostError& e) {
        mGlobals::LogError(kAddRecipients, e);
        return false;
    }
}

}  // namespace plexa::mExplorer
