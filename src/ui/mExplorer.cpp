#include "ui/mExplorer.h"

#include <string>
#include <vector>

#include "core/HostError.h"
#include "core/Variant.h"
#include "distlists/mContacts.h"
#include "distlists/mExplorerDL.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "host/redemption/Redemption.h"
#include "platform/IShell.h"
#include "platform/IUiShell.h"
#include "platform/Platform.h"
#include "recipients/CRecipients.h"
#include "recipients/CRecipientsProps.h"
#include "separate/mFlag.h"
#include "separate/mPlexaUpdate.h"
#include "separate/mSendReports.h"
#include "separate/mUserProps.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/CWinReg.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "ui/CPleaseWait.h"
#include "ui/CProgressWindow.h"
#include "ui/ExplorerHost.h"
#include "ui/frmProgress.h"

namespace plexa::mExplorer {

namespace {

constexpr const wchar_t* kDisplayNewMail = L"mExplorer.Explorer_DisplayNewMail";
constexpr const wchar_t* kSendNow = L"mExplorer.Explorer_SendNow";

bool IsStoreRoot(const std::shared_ptr<MAPIFolder>& folder) {
    return folder->Parent()->Class() == olNamespace;
}

// The folder's item type; -1 when it cannot be read.
int32_t ItemTypeOf(const std::shared_ptr<Explorer>& explorer) {
    try {
        if (const auto folder = explorer ? explorer->CurrentFolder() : nullptr) {
            return folder->DefaultItemType();
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a folder of no kind
    }
    return -1;
}

void CloseProgress(IProgress& progress, const wchar_t* source) {
    try {
        progress.Done();
    } catch (const HostError& e) {
        mGlobals::LogError(source, e);
    }
}

void DisplayNewMail(ExplorerHost& host, IProgress& progress,
                    const std::shared_ptr<Explorer>& explorer, int32_t target,
                    mPlexa::ERecipientsFrom eFrom, std::shared_ptr<MAPIFolder> folder,
                    bool bPickFolder) {
    Services& services = host.services;
    switch (target) {
        case kTargetTo:
            SetCachedAction(host, explorer, kCachedActionTo);
            break;
        case kTargetCC:
            SetCachedAction(host, explorer, kCachedActionCC);
            break;
        case kTargetBCC:
            SetCachedAction(host, explorer, kCachedActionBCC);
            break;
        default:
            mGlobals::LogError(kDisplayNewMail, -1, L"ASSERT62");
            break;
    }
    if (target == kTargetBCC) {
        TurnOnBCCField(services);
    }
    HostPorts& ports = services.ConnectedHost();
    if (!folder && explorer) {
        folder = explorer->CurrentFolder();
    }
    if (bPickFolder && folder && IsStoreRoot(folder)) {
        folder = ports.application->Session()->PickFolder();
        if (!folder) {
            return;
        }
        eFrom = mPlexa::esFromFolder;
    }

    CRecipients recipients;
    const mPlexa::GatherResult gathered =
        mPlexa::GetPlexaRecipients(services, eFrom, recipients, true, progress, folder, 0);
    const bool bUseProgressWND = gathered.bUseProgressWND;
    if (!gathered.gathered) {
        return;
    }
    const ResolveResult resolved = recipients.Resolve(services, progress, bUseProgressWND);
    if (!resolved.resolved) {
        if (!resolved.cancelled) {
            // The progress goes before the message, so that nothing stands in front of it.
            progress.Done();
            services.Ports().ui.MsgBox(services.Lang().Item(L"LID_PROMPT_NORECIPIENTS"), mb::OkOnly,
                                       services.Lang().Item(L"LID_TITLE_NORECIPIENTS"));
        }
        return;
    }

    const int32_t count = recipients.GetResolvedCount();
    if (bUseProgressWND) {
        progress.Init(3, count);
        services.LetMessagesRun();
    }
    auto mail = std::dynamic_pointer_cast<MailItem>(ports.application->CreateItem(olMailItem));
    if (!mail) {
        throw RuntimeError(vberr::TypeMismatch);
    }
    auto safeMail = ports.redemption->CreateSafeMailItem();
    safeMail->SetItem(mail);
    const auto safeRecipients = safeMail->Recipients();
    for (int32_t i = 1; i <= count; ++i) {
        auto recipient = safeRecipients->Add(recipients.GetResolvedName(i));
        recipient->SetType(target);
        recipient->Resolve();
        const KeyedStrings& sources = recipients.GetResolvedAssocItemIDs(i);
        if (sources.Count() > 0 && host.addMailItemWrapper) {
            host.addMailItemWrapper(mail, sources);
        }
        // A cancel keeps those added so far: the message still opens with them.
        if (bUseProgressWND && progress.Step()) {
            mGlobals::LogDebug(kDisplayNewMail, L"cancelled", 1);
            break;
        }
    }
    if (bUseProgressWND) {
        progress.Done();
    }
    safeMail.reset();
    mUserProps::SetShowToolbar(mail, false);
    mUserProps::SetSendMode(mail, services.Options().DefaultSendMode(), false);
    mail->Display();
}

// Sends one draft; false when the run must stop (recipients not valid, or the user cancelled
// the separate send).
bool SendDraft(ExplorerHost& host, CPleaseWait& pleaseWait,
               const std::shared_ptr<NameSpace>& session, const std::wstring& entryID,
               const std::wstring& storeID) {
    Services& services = host.services;
    HostPorts& ports = services.ConnectedHost();
    auto mail = std::dynamic_pointer_cast<MailItem>(session->GetItemFromID(entryID, storeID));
    if (!mail) {
        throw RuntimeError(vberr::TypeMismatch);
    }
    auto safeMail = ports.redemption->CreateSafeMailItem();
    safeMail->SetItem(mail);
    if (!mPlexaUpdate::ValidateRecipients(services, *safeMail, false, false)) {
        return false;
    }
    if (!mUserProps::GetShowToolbar(mail)) {
        auto moved = std::dynamic_pointer_cast<MailItem>(
            mail->Move(session->GetDefaultFolder(olFolderOutbox)));
        if (!moved) {
            throw RuntimeError(vberr::TypeMismatch);
        }
        try {
            mGlobals::ClearFollowUpFlag(services, moved);
            safeMail->SetItem(moved);
            safeMail->Send();
        } catch (const HostError&) {
            // Not sent: it goes back to Drafts rather than waiting unsent in the Outbox.
            try {
                moved->Move(session->GetDefaultFolder(olFolderDrafts));
            } catch (const HostError& e) {
                mGlobals::LogError(kSendNow, e, L"the draft stays in the Outbox");
            }
            throw;
        }
        return true;
    }
    CSendLaterList* queue = host.sendLaterList ? host.sendLaterList() : nullptr;
    if (queue == nullptr || !host.contactFolders) {
        throw HostError(static_cast<int32_t>(0x80004005),
                        L"The add-in's send-later queue is not available", L"Plexa");
    }
    PlexaActionContext context{services, *queue, pleaseWait, host.contactFolders()};
    CRecipientsProps props;
    bool cancelled = false;
    mPlexaUpdate::DoPlexaAction(context, mail, nullptr, 1, mUserProps::GetSendMode(mail), props,
                                cancelled, false, mUserProps::GetGroupMode(mail), 0, 0);
    return !cancelled;
}

}  // namespace

void Explorer_DisplayNewMail(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer,
                             int32_t target, mPlexa::ERecipientsFrom eFrom,
                             const std::shared_ptr<MAPIFolder>& folder, bool bPickFolder) {
    mGlobals::LogDebug(kDisplayNewMail, L"->", 1);
    frmProgress window{host.services};
    CProgressWindow progress{host.services, window};
    try {
        DisplayNewMail(host, progress, explorer, target, eFrom, folder, bPickFolder);
    } catch (const HostError& e) {
        mGlobals::LogError(kDisplayNewMail, e);
    }
    CloseProgress(progress, kDisplayNewMail);
}

bool Explorer_NewDL(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer,
                    mPlexa::ERecipientsFrom eFrom, const std::shared_ptr<MAPIFolder>& folder,
                    bool& bNoRecipients, bool bShowMessage, bool bPickFolder) {
    SetCachedAction(host, explorer, kCachedActionNewDL);
    frmProgress window{host.services};
    CProgressWindow progress{host.services, window};
    DisplayDLArgs args;
    args.eFrom = eFrom;
    args.bNew = true;
    args.folder = folder;
    args.bShowMessages = bShowMessage;
    args.bPickFolderAtTop = bPickFolder;
    const bool filled = Explorer_DisplayDL_(host.services, progress, explorer, args);
    bNoRecipients = args.bNoRecipients;
    CloseProgress(progress, L"mExplorer.Explorer_NewDL");
    return filled;
}

void Explorer_ExistingDL(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer,
                         mPlexa::ERecipientsFrom eFrom, const std::shared_ptr<MAPIFolder>& folder,
                         bool bPickFolder) {
    SetCachedAction(host, explorer, kCachedActionExistingDL);
    frmProgress window{host.services};
    CProgressWindow progress{host.services, window};
    DisplayDLArgs args;
    args.eFrom = eFrom;
    args.bNew = false;
    args.folder = folder;
    args.bShowMessages = true;
    args.bPickFolderAtTop = bPickFolder;
    Explorer_DisplayDL_(host.services, progress, explorer, args);
    CloseProgress(progress, L"mExplorer.Explorer_ExistingDL");
}

void Explorer_NewDLFromFolder(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer) {
    constexpr const wchar_t* source = L"mExplorer.Explorer_NewDLFromFolder";
    mGlobals::LogDebug(source, L"->", 1);
    try {
        std::shared_ptr<MAPIFolder> folder = explorer ? explorer->CurrentFolder() : nullptr;
        if (folder && !IsStoreRoot(folder)) {
            bool bNoRecipients = false;
            Explorer_NewDL(host, explorer, mPlexa::esFromFolder, folder, bNoRecipients, false,
                           true);
            if (!bNoRecipients) {
                return;
            }
        }
        HostPorts& ports = host.services.ConnectedHost();
        folder = ports.application->Session()->PickFolder();
        if (!folder) {
            return;
        }
        bool bNoRecipients = false;
        Explorer_NewDL(host, ports.application->ActiveExplorer(), mPlexa::esFromFolder, folder,
                       bNoRecipients, true, false);
    } catch (const HostError& e) {
        mGlobals::LogError(source, e);
    }
}

void Explorer_SendNow(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer) {
    Services& services = host.services;
    mGlobals::LogDebug(kSendNow, L"->", 1);
    CPleaseWait* pleaseWait = nullptr;
    bool begun = false;
    try {
        if (!IsDraftsFolderActive(services, explorer)) {
            return;
        }
        std::vector<std::wstring> entryIDs;
        const auto selection = explorer->GetSelection();
        const int32_t count = selection->Count();
        for (int32_t i = 1; i <= count; ++i) {
            const auto item = selection->Item(i);
            if (item->Class() == olMail) {
                entryIDs.push_back(item->EntryID());
            }
        }
        if (entryIDs.empty()) {
            services.Ports().ui.MsgBox(services.Lang().Item(L"LID_PROMPT_SENDNOW_MESSAGE"),
                                       mb::OkOnly,
                                       services.Lang().Item(L"LID_TITLE_SENDNOW_MESSAGE"));
            return;
        }
        const auto session = services.ConnectedHost().application->Session();
        const std::wstring storeID = explorer->CurrentFolder()->StoreID();
        pleaseWait = &host.pleaseWait();
        pleaseWait->ActionBegin();
        begun = true;
        for (const auto& entryID : entryIDs) {
            if (!SendDraft(host, *pleaseWait, session, entryID, storeID)) {
                break;
            }
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kSendNow, e);
    }
    if (pleaseWait != nullptr) {
        if (begun) {
            pleaseWait->ActionEnd();
        }
        pleaseWait->UnloadForm();
    }
}

void TurnOnBCCField(Services& services) {
    const std::wstring path =
        mGlobals::sprintf(L"Software\\\\Microsoft\\\\Office\\\\%d.0\\\\Outlook\\\\Preferences",
                          mMisc::GetOutlookVersion(services));
    CWinReg reg(services.Ports());
    int32_t showBcc = 0;
    bool read = false;
    if (reg.InitForRead(CWinReg::HKEY_CURRENT_USER(), path)) {
        showBcc = reg.GetDWORDValue(L"ShowBcc", 0);
        read = !reg.LastReadFailed();
        reg.CloseKey();
    }
    if (read && showBcc != 0) {
        return;
    }
    if (reg.InitForWrite(CWinReg::HKEY_CURRENT_USER(), path, true) &&
        reg.SetDWORDValue(L"ShowBcc", 1)) {
        reg.CloseKey();
        return;
    }
    reg.CloseKey();
    mGlobals::LogError(L"mExplorer::TurnOnBCCField", -1, L"failed to set ShowBcc = 1");
}

int32_t GetCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer,
                        int32_t defaultValue) {
    const int32_t itemType = ItemTypeOf(explorer);
    if (itemType < 0) {
        return defaultValue;
    }
    const int32_t code = services.Options().GetCachedAction_(itemType, defaultValue);
    if (code == defaultValue || (code >= kCachedActionTo && code <= kCachedActionExistingDL)) {
        return code;
    }
    return defaultValue;
}

int32_t GetCachedActionOrTo(Services& services, const std::shared_ptr<Explorer>& explorer) {
    return GetCachedAction(services, explorer, kCachedActionTo);
}

bool HasCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer) {
    return GetCachedAction(services, explorer, kCachedActionNone) != kCachedActionNone;
}

void SetCachedAction(ExplorerHost& host, const std::shared_ptr<Explorer>& explorer, int32_t code) {
    const int32_t itemType = ItemTypeOf(explorer);
    if (itemType < 0) {
        return;
    }
    COptions& options = host.services.Options();
    if (options.GetCachedAction_(itemType, kCachedActionNone) == code) {
        return;
    }
    options.SetCachedAction_(itemType, code);
    if (host.updateCachedAction) {
        host.updateCachedAction();
    }
}

bool IsDraftsFolderActive(Services& services, const std::shared_ptr<Explorer>& explorer) {
    if (!explorer) {
        return false;
    }
    const auto current = explorer->CurrentFolder();
    if (!current) {
        return false;
    }
    const auto drafts =
        services.ConnectedHost().application->Session()->GetDefaultFolder(olFolderDrafts);
    return current->EntryID() == drafts->EntryID() && current->StoreID() == drafts->StoreID();
}

bool SelectionHasMail(const std::shared_ptr<Explorer>& explorer) {
    const auto selection = explorer->GetSelection();
    const int32_t count = selection ? selection->Count() : 0;
    for (int32_t i = 1; i <= count; ++i) {
        const auto item = selection->Item(i);
        if (item && item->Class() == olMail) {
            return true;
        }
    }
    return false;
}

void ShowOptions(ExplorerHost& host) {
    if (host.showOptions) {
        host.showOptions();
    }
}

void ShowDebugForm(ExplorerHost& host) {
    if (host.showDebugForm) {
        host.showDebugForm();
    }
}

void ShowAbout(Services& services) {
    try {
        IResources& resources = services.Ports().resources;
        const std::wstring text = resources.LoadResString(IDS_PRODUCT_SHORT_NAME) + L"\n" +
                                  resources.LoadResString(IDS_COMPANY_SHORT_NAME) + L"\n" +
                                  resources.LoadResString(IDS_PRODUCT_HOME_PAGE);
        services.Ports().ui.MsgBox(text, mb::OkOnly | mb::IconInformation,
                                   services.Lang().Item(L"LID_CAPTION_ABOUT"));
    } catch (const HostError& e) {
        mGlobals::LogError(L"mExplorer.ShowAbout", e);
    }
}

void ShowLastSendReport(Services& services) {
    try {
        const std::wstring report = mSendReports::Newest(services.Ports());
        if (report.empty()) {
            services.Ports().ui.MsgBox(services.Lang().Item(L"LID_PROMPT_NO_SEND_REPORT"),
                                       mb::OkOnly | mb::IconInformation,
                                       services.Lang().Item(L"LID_CAPTION_LAST_REPORT"));
            return;
        }
        if (!services.Ports().shell.OpenDocument(report)) {
            mGlobals::LogError(L"mExplorer.ShowLastSendReport", 0, L"cannot open the report",
                               report);
            services.Ports().ui.MsgBox(
                services.Lang().Item(L"LID_PROMPT_SEND_REPORT_NOT_OPENED", {Variant(report)}),
                mb::OkOnly | mb::IconExclamation, services.Lang().Item(L"LID_CAPTION_LAST_REPORT"));
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"mExplorer.ShowLastSendReport", e);
    }
}

}  // namespace plexa::mExplorer
