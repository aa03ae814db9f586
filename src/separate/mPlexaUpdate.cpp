#include "separate/mPlexaUpdate.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/HostError.h"
#include "core/OleDate.h"
#include "core/Text.h"
#include "core/Variant.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/Recipients.h"
#include "host/redemption/Redemption.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipientsProps.h"
#include "recipients/mAddressBook.h"
#include "separate/CSendLaterList.h"
#include "separate/CSendPreview.h"
#include "separate/CSendReport.h"
#include "separate/IMessageWindow.h"
#include "separate/frmPreview.h"
#include "separate/mFlag.h"
#include "separate/mReplacements.h"
#include "separate/mSendReports.h"
#include "separate/mUserProps.h"
#include "settings/IPleaseWait.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa::mPlexaUpdate {

namespace {

constexpr const wchar_t* kSource = L"mPlexaUpdate::DoPlexaAction";
constexpr const wchar_t* kOccurenceSource = L"mPlexaUpdate.Mail_CreateOccurence";

std::shared_ptr<MailItem> AsMail(const std::shared_ptr<OutlookItem>& item) {
    auto mail = std::dynamic_pointer_cast<MailItem>(item);
    if (item && !mail) {
        throw HostError(E_FAIL, L"The item is not a mail item", L"mPlexaUpdate");
    }
    return mail;
}

// The style bit of the message boxes tied to a message window.
int32_t WindowStyle(bool wordEditor) {
    return wordEditor ? mb::Topmost : mb::SetForeground;
}

std::wstring MailCaption(Services& services, const std::wstring& subject) {
    CLang& lang = services.Lang();
    return lang.Item(L"LID_TITLE_MAIL",
                     {Variant(subject.empty() ? lang.Item(L"LID_UNTITLED") : subject)});
}

// Same folder of the same store.
bool SameFolder(const std::shared_ptr<MAPIFolder>& a, const std::shared_ptr<MAPIFolder>& b) {
    return a && b && a->EntryID() == b->EntryID() && a->StoreID() == b->StoreID();
}

// What became of one recipient of the source in a separate send.
enum class Made { No, Sent, Drafts, Queued };

// One run of the action: its arguments and working state.
class Action {
public:
    Action(PlexaActionContext& context, std::shared_ptr<MailItem> mail, IMessageWindow* window,
           int32_t doSend, int32_t sendMode, CRecipientsProps& props, bool& cancelled, bool silent,
           bool grouping, int32_t interval, int32_t groupSize)
        : m_ctx(context),
          m_services(context.services),
          m_mail(std::move(mail)),
          m_window(window),
          m_doSend(doSend),
          m_sendMode(sendMode),
          m_props(props),
          m_cancelled(cancelled),
          m_silent(silent),
          m_askedGrouping(grouping),
          m_grouping(grouping),
          m_interval(interval),
          m_groupSize(groupSize) {}

    void Run();

private:
    // Steps up to the confirmation; false when the action is cancelled.
    bool Prepare();
    // Every personal copy shown before the confirmation, when the user asks for it; false when
    // the user cancels there.
    bool Preview();
    // From closing the window to the copies; the source's settings are cleared on the way.
    void Execute();
    void SendSeparately();
    void SendToAll();
    void OpenDrafts();
    // After a host error once the window has closed.
    void Mend();
    // The send's report: who got what, and why not.
    void ReadRecipients(int32_t count);
    void WriteReport();
    void Finish();

    HostPorts& Host() { return m_services.ConnectedHost(); }
    std::shared_ptr<NameSpace> Session() { return Host().application->Session(); }
    std::shared_ptr<MAPIFolder> Outbox();
    std::wstring Subject();

    PlexaActionContext& m_ctx;
    Services& m_services;
    std::shared_ptr<MailItem> m_mail;
    IMessageWindow* m_window;
    int32_t m_doSend;
    int32_t m_sendMode;
    CRecipientsProps& m_props;
    bool& m_cancelled;
    bool m_silent;
    const bool m_askedGrouping;
    bool m_grouping;
    int32_t m_interval;
    int32_t m_groupSize;

    mReplacements::FoundTokens m_found;
    bool m_hasTokens = false;
    bool m_wordEditor = false;
    bool m_openDrafts = false;
    bool m_hadMarker = false;
    // The window has closed: from here on a failure leaves the message changed.
    bool m_committed = false;
    std::shared_ptr<SafeMailItem> m_safeSource;
    std::shared_ptr<SafeMailItem> m_safeCopy;
    std::shared_ptr<SafeMailItem> m_safeBlock;
    std::shared_ptr<MAPIUtils> m_utils;
    std::shared_ptr<MailItem> m_blockCopy;
    std::shared_ptr<MAPIFolder> m_outbox;
    // A copy (or, sending to all, the moved source) on its way that is not done yet.
    std::shared_ptr<MailItem> m_pending;
    std::vector<Made> m_made;
    // Separately only: the report and each recipient's name and address, read once the lists
    // became their members.
    std::optional<CSendReport> m_report;
    std::vector<std::pair<std::wstring, std::wstring>> m_people;
    std::wstring m_failure;
    int32_t m_sent = 0;
    int32_t m_drafts = 0;
    int32_t m_queued = 0;
    // Read once, for the captions.
    std::optional<std::wstring> m_subject;
};

void Action::Run() {
    PleaseWaitAction pleaseWait(m_ctx.pleaseWait, true);
    try {
        if (m_grouping) {
            COptions& options = m_services.Options();
            if (m_interval == 0) {
                m_interval = options.GroupInterval();
            }
            if (m_groupSize == 0) {
                m_groupSize = options.GroupRecipients();
            }
            if (m_interval < 1 || m_groupSize < 1) {
                m_grouping = false;
                mGlobals::LogError(kSource, 0, L"bad separatly grouping params");
            }
        }
        m_cancelled = false;
        if (Prepare()) {
            Execute();
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kSource, e);
        m_failure = e.Description();
        if (m_committed) {
            Mend();
        }
    }
    WriteReport();
    Finish();
}

bool Action::Prepare() {
    std::shared_ptr<Inspector> inspector = m_window != nullptr ? m_window->GetInspector() : nullptr;
    if (inspector) {
        m_wordEditor = inspector->EditorType() == olEditorWord;
        m_mail->Save();
    }
    m_safeSource = Host().redemption->CreateSafeMailItem();
    m_safeSource->SetItem(m_mail);
    m_hasTokens = mReplacements::FindReplacements(m_services, *m_safeSource, m_found);
    if (!ValidateRecipients(m_services, *m_safeSource, m_wordEditor, m_silent)) {
        m_cancelled = true;
        return false;
    }
    if (m_hasTokens && !mReplacements::LoadReplacementValues(
                           m_services, m_ctx.pleaseWait, m_ctx.contactFolders, *m_safeSource,
                           m_found, m_props, m_wordEditor, m_silent)) {
        m_cancelled = true;
        return false;
    }
    int32_t count = 1;
    if (m_sendMode == SendModeSep) {
        count = mAddressBook::GetRecipientsCount(*m_safeSource->Recipients(),
                                                 m_services.Options().ExcludeDuplicates());
    }
    if (m_doSend == 1 && !m_silent && m_sendMode == SendModeSep &&
        m_services.Options().PreviewBeforeSend() && !Preview()) {
        m_cancelled = true;
        return false;
    }
    if (m_doSend == 1 && ((m_sendMode == SendModeSep && count >= 2) || m_hasTokens)) {
        if (m_silent) {
            m_cancelled = true;
            return false;
        }
        const std::wstring prompt =
            m_services.Lang().Item(L"LID_PROMPT_SEND_OR_SAVE_MAILS", {Variant(count)});
        const std::wstring caption = MailCaption(m_services, Subject());
        m_ctx.pleaseWait.SetVisible(false);
        const int32_t answer = m_services.Ports().ui.MsgBox(
            prompt, mb::YesNoCancel | WindowStyle(m_wordEditor), caption);
        m_ctx.pleaseWait.SetVisible(true);
        if (answer == mb::IdCancel) {
            m_cancelled = true;
            return false;
        }
        if (answer == mb::IdNo) {
            m_doSend = 0;
            m_openDrafts = true;
        }
    }
    return true;
}

bool Action::Preview() {
    std::vector<std::wstring> known;
    known.reserve(mReplacements::kPlaceholderCount);
    for (int p = 0; p < mReplacements::kPlaceholderCount; ++p) {
        known.push_back(mReplacements::GetPlaceholderToken(
            m_services.Lang(), static_cast<mReplacements::Placeholder>(p)));
    }
    CSendPreview preview(std::move(known), m_found);
    const std::wstring body = m_safeSource->Body();
    preview.ScanMessage(Subject(), body);
    // The copies the send will make: lists by their members; with the duplicates excluded, each
    // recipient type and address once, as the copying does.
    const bool distinct = m_services.Options().ExcludeDuplicates();
    std::unordered_set<std::wstring> seen;
    auto recipients = m_safeSource->Recipients();
    const int32_t count = recipients->Count();
    for (int32_t i = 1; i <= count; ++i) {
        auto recipient = recipients->Item(i);
        const std::wstring type = std::to_wstring(recipient->Type()) + L":";
        auto entry = recipient->Resolved() ? recipient->AddressEntry() : nullptr;
        if (!entry) {
            preview.AddCopy(recipient->Name(), L"", m_props);
            continue;
        }
        std::vector<std::wstring> addresses;
        std::vector<std::wstring> names;
        mAddressBook::GetAddressesFromAE(*entry, addresses, names, false, nullptr, 0);
        for (std::size_t k = 0; k < addresses.size(); ++k) {
            if (distinct && !seen.insert(type + text::ToLower(addresses[k])).second) {
                continue;
            }
            const std::wstring name =
                k < names.size() && !names[k].empty() ? names[k] : recipient->Name();
            preview.AddCopy(name, addresses[k], m_props);
        }
    }
    m_ctx.pleaseWait.SetVisible(false);
    const bool go = ShowPreview(m_services, preview, body);
    m_ctx.pleaseWait.SetVisible(true);
    return go;
}

void Action::Execute() {
    // Whatever fails from here on, the message window is gone or going.
    m_committed = true;
    m_hadMarker = mUserProps::GetShowToolbar(m_mail);
    Subject();
    if (m_window != nullptr) {
        m_ctx.pleaseWait.SetVisible(false);
        if (auto inspector = m_window->GetInspector()) {
            inspector->Close(olDiscard);
        }
        m_window->Done();
        m_window = nullptr;
    }
    if (auto explorer = Host().application->ActiveExplorer()) {
        m_ctx.pleaseWait.SetFormRecreation();
        explorer->Activate();
    }
    m_services.LetMessagesRun();
    m_ctx.pleaseWait.Update();

    BugFixTNEF(m_services, *m_safeSource, false);
    mUserProps::ClearShowToolbar(m_mail, false);
    mUserProps::ClearSendMode(m_mail, false);
    mUserProps::ClearGroupMode(m_mail, true);
    if (m_doSend == 0) {
        mGlobals::MarkWithFollowUpFlag(m_services, m_mail);
    } else {
        mGlobals::ClearFollowUpFlag(m_services, m_mail);
    }

    m_utils = Host().redemption->CreateMAPIUtils();
    m_safeCopy = Host().redemption->CreateSafeMailItem();
    m_safeBlock = Host().redemption->CreateSafeMailItem();
    if (m_services.Options().ExcludeDuplicates() &&
        mAddressBook::ExpandRecipients(*m_safeSource, true)) {
        m_mail->Save();
    }

    if (m_sendMode == SendModeSep) {
        SendSeparately();
    } else if (m_sendMode == SendModeAll) {
        SendToAll();
    }
    OpenDrafts();
}

void Action::SendSeparately() {
    OleDate sendTime = m_services.Ports().clock.NowLocal();
    // The source's date, which copies kept in Drafts show: when it was received (or saved),
    // in UTC; the stored delivery time when it has one.
    OleDate deliveryTime =
        m_mail->ReceivedTime().DateAdd(L"n", mMisc::GetTimeZoneBias(m_services.Ports(), true));
    try {
        const Variant stored = m_utils->HrGetOneProp(m_mail, mapi::PR_MESSAGE_DELIVERY_TIME);
        if (const auto* when = std::get_if<OleDate>(&stored.Raw())) {
            deliveryTime = *when;
        }
    } catch (const HostError&) {
        // The computed time stands.
    }

    m_ctx.pleaseWait.Update();
    if (mAddressBook::ExpandRecipients(*m_safeSource, false)) {
        m_mail->Save();
    }

    const int32_t count = m_safeSource->Recipients()->Count();
    m_made.assign(static_cast<std::size_t>(count), Made::No);
    ReadRecipients(count);
    int32_t groupNumber = 1;
    int32_t inGroup = 0;
    for (int32_t i = 1; i <= count; ++i) {
        m_ctx.pleaseWait.Update();
        auto copy = Mail_CreateOccurence(m_services, m_mail, m_blockCopy, *m_safeBlock, i, count,
                                         *m_safeCopy);
        if (!copy) {
            throw HostError(E_FAIL, L"Mail_CreateOccurence failed", L"mPlexaUpdate");
        }
        m_pending = copy;
        Made made = Made::No;
        bool hasEmpty = false;
        std::wstring emptyToken;
        const auto& [name, address] = m_people[static_cast<std::size_t>(i - 1)];
        if (m_hasTokens && !mReplacements::DoReplacements(m_services, *m_safeCopy, m_found, m_props,
                                                          false, hasEmpty, &emptyToken)) {
            // Half-filled placeholders never leave: the copy goes, its recipient stays.
            throw HostError(E_FAIL, L"DoReplacements failed", L"mPlexaUpdate");
        }
        m_safeCopy->Save();
        if (hasEmpty || m_doSend == 0) {
            // Kept in the folder it was made in (the source's, normally Drafts), showing the
            // source's date.
            m_utils->HrSetOneProp(copy, mapi::PR_MESSAGE_DELIVERY_TIME, Variant(deliveryTime),
                                  true);
            made = Made::Drafts;
            m_report->Kept(name, address, hasEmpty ? emptyToken : std::wstring());
        } else {
            if (m_grouping) {
                ++inGroup;
                if (inGroup > m_groupSize) {
                    ++groupNumber;
                    inGroup = 1;
                    sendTime = sendTime.DateAdd(L"n", m_interval);
                }
            }
            m_safeCopy->SetItem(nullptr);
            if (!m_grouping || groupNumber < 2) {
                auto moved = AsMail(copy->Move(Outbox()));
                m_pending = moved;
                m_safeCopy->SetItem(moved);
                m_safeCopy->Send();
                made = Made::Sent;
                m_report->Sent(name, address);
            } else {
                const std::wstring entryId = copy->EntryID();
                m_ctx.sendLaterList.Add(sendTime, entryId);
                made = Made::Queued;
                m_report->Queued(name, address, sendTime, entryId);
            }
        }
        m_made[static_cast<std::size_t>(i - 1)] = made;
        m_pending.reset();
        switch (made) {
            case Made::Sent:
                ++m_sent;
                break;
            case Made::Drafts:
                ++m_drafts;
                break;
            default:
                ++m_queued;
                break;
        }
        m_safeCopy->SetItem(nullptr);
    }

    if (count >= 1) {
        m_safeSource->SetItem(nullptr);
        DeleteItemPermanently(m_services, m_mail);
    }
    if (m_blockCopy) {
        m_safeBlock->SetItem(nullptr);
        DeleteItemPermanently(m_services, m_blockCopy);
    }
}

void Action::SendToAll() {
    m_ctx.pleaseWait.Update();
    bool hasEmpty = false;
    if (m_hasTokens && !mReplacements::DoReplacements(m_services, *m_safeSource, m_found, m_props,
                                                      false, hasEmpty)) {
        throw HostError(E_FAIL, L"DoReplacements failed", L"mPlexaUpdate");
    }
    m_safeSource->Save();
    if (!hasEmpty && m_doSend == 1) {
        auto moved = AsMail(m_mail->Move(Outbox()));
        m_pending = moved;
        m_safeCopy->SetItem(moved);
        m_safeCopy->Send();
        m_pending.reset();
        m_sent = 1;
    }
}

void Action::OpenDrafts() {
    if (!m_openDrafts) {
        return;
    }
    try {
        auto drafts = Session()->GetDefaultFolder(olFolderDrafts);
        if (auto explorer = Host().application->ActiveExplorer()) {
            if (!SameFolder(explorer->CurrentFolder(), drafts)) {
                explorer->SetCurrentFolder(drafts);
            }
        }
    } catch (const HostError&) {
        // Showing Drafts is a courtesy; the copies are there either way.
    }
}

void Action::Mend() {
    try {
        if (m_sendMode == SendModeAll && m_pending) {
            // The message was moved to the Outbox but not sent: back to Drafts with it.
            m_mail = AsMail(m_pending->Move(Session()->GetDefaultFolder(olFolderDrafts)));
            m_pending.reset();
        }
        if (m_pending) {
            // A copy on its way that did not arrive: it goes, and its recipient stays.
            DeleteItemPermanently(m_services, m_pending);
        }
        const bool everyoneReached =
            !m_made.empty() && std::find(m_made.begin(), m_made.end(), Made::No) == m_made.end();
        if (everyoneReached) {
            // Every copy exists: the source has nobody left to reach.
            DeleteItemPermanently(m_services, m_mail);
            m_mail.reset();
        } else {
            auto recipients = m_mail->GetRecipients();
            for (auto k = static_cast<int32_t>(m_made.size()); k >= 1; --k) {
                if (m_made[static_cast<std::size_t>(k - 1)] != Made::No) {
                    recipients->Remove(k);
                }
            }
        }
        if (m_mail) {
            // Sending it again takes the same way as this send.
            if (m_hadMarker) {
                mUserProps::SetShowToolbar(m_mail, false);
            }
            mUserProps::SetSendMode(m_mail, m_sendMode, false);
            mUserProps::setGroupMode(m_mail, m_askedGrouping, false);
            m_mail->Save();
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kSource, e, L"keeping the recipients not reached");
    }
    if (m_silent) {
        return;
    }
    try {
        const std::wstring prompt = m_services.Lang().Item(
            L"LID_PROMPT_SEND_INCOMPLETE", {Variant(m_sent), Variant(m_drafts), Variant(m_queued)});
        m_ctx.pleaseWait.SetVisible(false);
        m_services.Ports().ui.MsgBox(prompt,
                                     mb::OkOnly | mb::IconExclamation | WindowStyle(m_wordEditor),
                                     MailCaption(m_services, Subject()));
        m_ctx.pleaseWait.SetVisible(true);
    } catch (const HostError& e) {
        mGlobals::LogError(kSource, e);
    }
}

void Action::ReadRecipients(int32_t count) {
    m_report.emplace(m_services, Subject());
    m_people.assign(static_cast<std::size_t>(count), {});
    auto recipients = m_safeSource->Recipients();
    for (int32_t i = 1; i <= count; ++i) {
        auto& [name, address] = m_people[static_cast<std::size_t>(i - 1)];
        try {
            auto recipient = recipients->Item(i);
            name = recipient->Name();
            if (auto entry = recipient->Resolved() ? recipient->AddressEntry() : nullptr) {
                std::vector<std::wstring> addresses;
                std::vector<std::wstring> names;
                mAddressBook::GetAddressesFromAE(*entry, addresses, names, false, nullptr, 0);
                if (!addresses.empty()) {
                    address = addresses.front();
                }
            }
        } catch (const HostError& e) {
            // The report shows what it could read; the copy is made all the same.
            mGlobals::LogError(
                kSource, e, L"reading recipient " + std::to_wstring(i) + L" for the send report");
        }
    }
}

void Action::WriteReport() {
    if (!m_report) {
        return;
    }
    for (std::size_t i = 0; i < m_made.size(); ++i) {
        if (m_made[i] == Made::No) {
            m_report->Failed(m_people[i].first, m_people[i].second,
                             m_failure.empty() ? L"not reached" : m_failure);
        }
    }
    const std::wstring name = m_report->Write();
    if (name.empty()) {
        return;
    }
    for (const SendReportRow& row : m_report->Rows()) {
        if (row.outcome == report::kQueued) {
            mSendReports::RememberQueued(m_services, m_ctx.sendLaterList.Profile(), row.entryId,
                                         name);
        }
    }
}

void Action::Finish() {
    try {
        if (m_safeCopy) {
            m_safeCopy->SetItem(nullptr);
        }
        if (m_safeBlock) {
            m_safeBlock->SetItem(nullptr);
        }
        if (m_safeSource) {
            m_safeSource->SetItem(nullptr);
        }
    } catch (const HostError&) {
        // Releasing the bindings is all that is left; the objects go with this run.
    }
    if (m_blockCopy) {
        DeleteItemPermanently(m_services, m_blockCopy);
    }
}

std::shared_ptr<MAPIFolder> Action::Outbox() {
    if (!m_outbox) {
        m_outbox = Session()->GetDefaultFolder(olFolderOutbox);
    }
    return m_outbox;
}

std::wstring Action::Subject() {
    if (!m_subject && m_mail) {
        try {
            m_subject = m_mail->Subject();
        } catch (const HostError&) {
            return L"";
        }
    }
    return m_subject.value_or(L"");
}

}  // namespace

void DoPlexaAction(PlexaActionContext& context, const std::shared_ptr<MailItem>& mail,
                   IMessageWindow* window, int32_t doSend, int32_t sendMode,
                   CRecipientsProps& props, bool& cancelled, bool silent, bool grouping,
                   int32_t interval, int32_t groupSize) {
    mGlobals::LogDebug(kSource, L"->", 1);
    cancelled = false;
    if (!mail) {
        mGlobals::LogError(kSource, 91, L"Object variable not set");
        return;
    }
    Action(context, mail, window, doSend, sendMode, props, cancelled, silent, grouping, interval,
           groupSize)
        .Run();
}

std::shared_ptr<MailItem> Mail_CreateOccurence(Services& services,
                                               const std::shared_ptr<MailItem>& source,
                                               std::shared_ptr<MailItem>& blockCopy,
                                               SafeMailItem& safeBlock, int32_t index,
                                               int32_t count, SafeMailItem& safeCopy) {
    std::shared_ptr<MailItem> copy;
    try {
        int32_t keep = index;
        int32_t onCopy = count;
        if (count <= kBlockSize) {
            copy = AsMail(source->Copy());
        } else {
            keep = ((index - 1) % kBlockSize) + 1;
            const int32_t blockStart =
                (((index + kBlockSize - 1) / kBlockSize) - 1) * kBlockSize + 1;
            onCopy = blockStart + kBlockSize <= count ? kBlockSize : count - blockStart + 1;
            if (keep == 1) {
                if (blockCopy) {
                    safeBlock.SetItem(nullptr);
                    DeleteItemPermanently(services, blockCopy);
                }
                blockCopy = AsMail(source->Copy());
                safeBlock.SetItem(blockCopy);
                auto recipients = safeBlock.Recipients();
                for (int32_t k = count; k >= 1; --k) {
                    if (k < index || k > index + kBlockSize - 1) {
                        recipients->Remove(k);
                    }
                }
            }
            if (!blockCopy) {
                throw HostError(E_FAIL, L"There is no block copy", L"mPlexaUpdate");
            }
            copy = AsMail(blockCopy->Copy());
        }
        safeCopy.SetItem(copy);
        auto recipients = safeCopy.Recipients();
        for (int32_t k = onCopy; k >= 1; --k) {
            if (k != keep) {
                recipients->Remove(k);
            }
        }
        return copy;
    } catch (const HostError& e) {
        mGlobals::LogError(
            kOccurenceSource, e,
            L"Recipient " + std::to_wstring(index) + L" of " + std::to_wstring(count));
    }
    // A copy that still holds other recipients must never be sent: it goes again.
    if (copy) {
        try {
            safeCopy.SetItem(nullptr);
        } catch (const HostError&) {
            // Deleting it below is what counts.
        }
        DeleteItemPermanently(services, copy);
    }
    return nullptr;
}

void BugFixTNEF(Services& services, SafeMailItem& safeItem, bool save) {
    const Variant format = safeItem.Fields(mapi::PR_MSG_EDITOR_FORMAT);
    const auto* editor = std::get_if<int32_t>(&format.Raw());
    if (editor == nullptr || (*editor != 1 && *editor != 2)) {
        return;
    }
    auto utils = services.ConnectedHost().redemption->CreateMAPIUtils();
    uint32_t tag =
        utils->GetIDsFromNames(safeItem.Item(), mapi::PSETID_Common, mapi::LID_USE_TNEF, false);
    if (tag == 0) {
        return;
    }
    tag = (tag & 0xFFFF0000U) | mapi::PT_BOOLEAN;
    const Variant useTnef = safeItem.Fields(tag);
    if (const auto* on = std::get_if<bool>(&useTnef.Raw()); on != nullptr && *on) {
        safeItem.SetFields(tag, Variant(false));
        if (save) {
            safeItem.Save();
        }
    }
}

void DeleteItemPermanently(Services& services, std::shared_ptr<MailItem>& item) {
    if (!item) {
        return;
    }
    std::wstring entryID;
    std::wstring storeID;
    try {
        entryID = item->EntryID();
        storeID = item->Parent()->StoreID();
    } catch (const HostError&) {
        // Without its ids the item is only moved to Deleted Items.
    }
    try {
        item->Delete();
    } catch (const HostError&) {
        // Ignored, as every error of this operation.
    }
    item.reset();
    if (entryID.empty()) {
        return;
    }
    try {
        auto again =
            services.ConnectedHost().application->Session()->GetItemFromID(entryID, storeID);
        again->Delete();
    } catch (const HostError&) {
        // Gone already, or kept in Deleted Items.
    }
}

bool ValidateRecipients(Services& services, SafeItem& item, bool wordEditor, bool silent) {
    auto recipients = item.Recipients();
    const wchar_t* problem = nullptr;
    if (recipients->Count() == 0) {
        problem = L"LID_PROMPT_NO_RECIPIENTS";
    } else if (!recipients->ResolveAll()) {
        problem = L"LID_PROMPT_BAD_RECIPIENTS";
    }
    if (problem == nullptr) {
        return true;
    }
    if (!silent) {
        services.Ports().ui.MsgBox(services.Lang().Item(problem),
                                   mb::OkOnly | WindowStyle(wordEditor),
                                   MailCaption(services, item.Subject()));
    }
    return false;
}

}  // namespace plexa::mPlexaUpdate
