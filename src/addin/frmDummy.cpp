#include "addin/frmDummy.h"

#include "addin/Connect.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/redemption/Redemption.h"
#include "separate/CSendLaterList.h"
#include "separate/mSendReports.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "ui/CPleaseWait.h"

namespace plexa {

frmDummy::frmDummy(Connect& connect) : Form(L"frmDummy"), m_connect(connect) {
    for (const auto& slot : m_timers) {
        Add(slot.name, ControlType::Timer).enabled = false;
    }
}

frmDummy::~frmDummy() {
    for (const auto& slot : m_timers) {
        try {
            SetTimerEnabled(slot.name, false);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the form goes regardless
        }
    }
}

frmDummy::TimerSlot* frmDummy::Slot(const std::wstring& timer) {
    for (auto& slot : m_timers) {
        if (text::EqualsNoCase(slot.name, timer)) {
            return &slot;
        }
    }
    throw RuntimeError(vberr::InvalidProcedureCall);
}

void frmDummy::SetTimerEnabled(const std::wstring& timer, bool enabled) {
    TimerSlot& slot = *Slot(timer);
    Control& control = (*this)[slot.name];
    ITimers& timers = m_connect.GetServices().Ports().timers;
    if (enabled && slot.id == 0) {
        const std::wstring name = slot.name;
        slot.id = timers.SetTimer(0, slot.interval, [this, name](TimerId) { Fire(name); });
    } else if (!enabled && slot.id != 0) {
        const TimerId id = slot.id;
        slot.id = 0;
        timers.KillTimer(id);
    }
    control.enabled = enabled && slot.id != 0;
}

bool frmDummy::TimerEnabled(const std::wstring& timer) {
    return (*this)[Slot(timer)->name].enabled;
}

void frmDummy::Fire(const std::wstring& timer) {
    // A timer's work never lets a host error out into the message loop.
    try {
        if (timer == L"tmrSendLater") {
            tmrSendLater_Timer();
        } else if (timer == L"tmrActivateExplorer") {
            tmrActivateExplorer_Timer();
        } else {
            tmrRecreateInspBars_Timer();
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmDummy::" + timer + L"_Timer", e);
    }
}

void frmDummy::tmrSendLater_Timer() {
    SetTimerEnabled(L"tmrSendLater", false);
    SendLater();
    SetTimerEnabled(L"tmrSendLater", true);
}

void frmDummy::tmrActivateExplorer_Timer() {
    SetTimerEnabled(L"tmrActivateExplorer", false);
    const auto& application = m_connect.GetServices().host.application;
    if (application) {
        if (const auto explorer = application->ActiveExplorer()) {
            explorer->Activate();
        }
    }
}

void frmDummy::tmrRecreateInspBars_Timer() {
    SetTimerEnabled(L"tmrRecreateInspBars", false);
    if (m_connect.Connected()) {
        m_connect.RecreateInspectorBars();
    }
}

namespace {

constexpr wchar_t kSendLater[] = L"frmDummy::SendLater";

// A copy the client reports as sent, or as submitted and waiting for the transport.
bool SentAlready(const Variant& flags) {
    const auto* n = std::get_if<int32_t>(&flags.Raw());
    return n != nullptr && ((*n & mapi::MSGFLAG_UNSENT) == 0 || (*n & mapi::MSGFLAG_SUBMIT) != 0);
}

// What every copy of a pass needs.
struct Pass {
    std::shared_ptr<NameSpace> session;
    std::shared_ptr<MAPIFolder> outbox;
    std::wstring outboxId;
    std::wstring deletedId;
    std::shared_ptr<SafeMailItem> safe;
    // What became of each copy, for the send reports.
    std::vector<mSendReports::QueueOutcome> outcomes;
};

void LeavesUnsent(Pass& pass, CSendLaterList& queue, const std::wstring& entryId,
                  const std::wstring& why) {
    mGlobals::LogWarning(kSendLater, L"queued message " + entryId + L" " + why, 1);
    queue.Remove(entryId);
    pass.outcomes.push_back({entryId, false, why});
}

// Sends one due copy through the Outbox, or lets it go unsent when it cannot be opened, was
// deleted or was sent already; either way it leaves the queue.
void SendCopy(Services& services, Pass& pass, CSendLaterList& queue, const std::wstring& entryId,
              OleDate now) {
    std::shared_ptr<OutlookItem> item;
    try {
        item = pass.session->GetItemFromID(entryId);
    } catch (const HostError& e) {
        LeavesUnsent(pass, queue, entryId,
                     L"cannot be opened (" + e.Description() + L"); it leaves the queue");
        return;
    }
    // The id the journal knows the copy by (it follows the copy when a move renames it).
    std::wstring current = entryId;
    try {
        const auto mail = std::dynamic_pointer_cast<MailItem>(item);
        if (!mail) {
            LeavesUnsent(pass, queue, entryId, L"is not a mail message; it leaves the queue");
            return;
        }
        const std::wstring folderId = mail->Parent()->EntryID();
        if (text::EqualsNoCase(folderId, pass.deletedId)) {
            LeavesUnsent(pass, queue, entryId, L"was deleted; it leaves the queue");
            return;
        }
        // A personal-folders store keeps a copy's entry id through the Outbox into Sent Items:
        // a pass stopped before the "-" record finds the copy again, sent or on its way.
        pass.safe->SetItem(mail);
        const Variant flags = pass.safe->Fields(mapi::PR_MESSAGE_FLAGS);
        pass.safe->SetItem(nullptr);
        if (SentAlready(flags)) {
            LeavesUnsent(pass, queue, entryId,
                         L"has been sent already; it leaves the queue and is not sent again");
            return;
        }
        std::shared_ptr<OutlookItem> sending = mail;
        if (!text::EqualsNoCase(folderId, pass.outboxId)) {
            sending = mail->Move(pass.outbox);
            const std::wstring movedId = sending->EntryID();
            if (!text::EqualsNoCase(movedId, entryId)) {
                // The store renamed the copy: the journal follows it before it is sent.
                queue.Add(queue.DueTime(entryId).value_or(now), movedId);
                queue.Remove(entryId);
                mSendReports::FollowQueued(services, queue.Profile(), entryId, movedId);
                current = movedId;
            }
        }
        pass.safe->SetItem(sending);
        pass.safe->Send();
        pass.outcomes.push_back({current, true, L""});
        pass.safe->SetItem(nullptr);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmDummy::SendLaterItem", e, current);
        if (pass.outcomes.empty() || pass.outcomes.back().entryId != current) {
            pass.outcomes.push_back({current, false, L"failed: " + e.Description()});
        }
        try {
            pass.safe->SetItem(nullptr);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the next copy binds anew
        }
    }
    queue.Remove(current);
}

}  // namespace

void frmDummy::SendLater() {
    if (m_connect.PleaseWait().ActionCount() > 0) {
        return;  // a separate send or another long action is running
    }
    CSendLaterList* queue = m_connect.SendLaterList();
    if (queue == nullptr || !queue->NeedSend()) {
        return;
    }
    mGlobals::LogDebug(kSendLater, L"->", 2);
    const std::vector<std::wstring> due = queue->GetSendList(0);
    // Without these nothing can be sent: the queue stays as it is for the next pass.
    Pass pass;
    OleDate now;
    try {
        HostPorts& host = m_connect.GetServices().ConnectedHost();
        pass.session = host.application->Session();
        pass.outbox = pass.session->GetDefaultFolder(olFolderOutbox);
        pass.outboxId = pass.outbox->EntryID();
        pass.deletedId = pass.session->GetDefaultFolder(olFolderDeletedItems)->EntryID();
        pass.safe = host.redemption->CreateSafeMailItem();
        now = m_connect.GetServices().Ports().clock.NowLocal();
    } catch (const HostError& e) {
        mGlobals::LogError(kSendLater, e);
        return;
    }
    for (const std::wstring& entryId : due) {
        SendCopy(m_connect.GetServices(), pass, *queue, entryId, now);
    }
    mSendReports::AppendQueueOutcomes(m_connect.GetServices(), queue->Profile(), pass.outcomes);
    if (!due.empty() && queue->NeedsCompaction()) {
        queue->Save();
    }
}

}  // namespace plexa
