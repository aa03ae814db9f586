#include "addin/CInspectorWrapper.h"

#include "addin/Connect.h"
#include "addin/mInspector.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/Recipients.h"
#include "separate/frmSeparatlyOptions.h"
#include "separate/mPlexaUpdate.h"
#include "separate/mUserProps.h"
#include "separate/mWordAddin.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa {

namespace {

constexpr wchar_t kDoAction[] = L"CInspectorWrapper::DoAction";

// Runs one step of a handler; a host error ends that step only (the window may be closing).
template <typename Step>
void Attempt(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): handlers carry on
    }
}

}  // namespace

CInspectorWrapper::CInspectorWrapper(Connect& connect)
    : m_connect(connect), m_services(connect.GetServices()) {}

CInspectorWrapper::~CInspectorWrapper() {
    Done();
}

void CInspectorWrapper::Init(const std::shared_ptr<Inspector>& inspector) {
    m_oInspector.Set(inspector, [this](Inspector& i) {
        std::vector<Connection> c;
        c.push_back(i.OnActivate.Connect([this] { m_oInspector_Activate(); }));
        c.push_back(i.OnClose.Connect([this] { m_oInspector_Close(); }));
        return c;
    });
    auto mail = std::dynamic_pointer_cast<MailItem>(inspector->CurrentItem());
    if (!mail) {
        m_oInspector.Reset();
        throw RuntimeError(vberr::TypeMismatch);
    }
    m_oMail.Set(mail, [this](MailItem& m) {
        std::vector<Connection> c;
        c.push_back(m.OnSend.Connect([this](bool& cancel) { m_oMail_Send(cancel); }));
        return c;
    });
}

void CInspectorWrapper::Done() {
    if (m_oInspector && mMisc::GetOutlookVersion(m_services) < 12) {
        RemoveToolbar();
    }
    m_barsWordInspector.Reset();
    m_oInspector.Reset();
    m_oMail.Reset();
}

bool CInspectorWrapper::WordEditor() {
    return m_oInspector && m_oInspector->EditorType() == olEditorWord;
}

bool CInspectorWrapper::OnTop() {
    bool onTop = false;
    Attempt([&] { onTop = WordEditor(); });
    return onTop;
}

// ---- The action -------------------------------------------------------------------------------

void CInspectorWrapper::DoAction(int32_t doSend, int32_t sendMode, bool grouping) {
    mGlobals::LogDebug(kDoAction, L"->", 2);
    if (m_actionRunning) {
        mGlobals::LogDebug(kDoAction, L"the message is being sent already", 2);
        return;
    }
    // The action closes the window, which may let the add-in drop this wrapper, and runs the
    // please-wait window's message loop, in which the client may even let the add-in go.
    const auto self = weak_from_this().lock();
    const auto connect = m_connect.weak_from_this().lock();
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    } running(m_actionRunning);
    try {
        if (!m_oInspector) {
            throw HostError(91, L"Object variable or With block variable not set", L"Plexa");
        }
        auto mail = std::dynamic_pointer_cast<MailItem>(m_oInspector->CurrentItem());
        if (!mail) {
            throw RuntimeError(vberr::TypeMismatch);
        }
        // Names typed into the window are resolved as the client resolves them when it sends;
        // the action copies the saved message, so they are resolved on the saved item and go
        // with the action's own save. A name that does not resolve is the action's to report.
        mail->Save();
        mail->GetRecipients()->ResolveAll();
        PlexaActionContext context = m_connect.ActionContext();
        bool cancelled = false;
        mPlexaUpdate::DoPlexaAction(context, mail, this, doSend, sendMode, m_recipientStore,
                                    cancelled, false, grouping, 0, 0);
    } catch (const HostError& e) {
        mGlobals::LogError(kDoAction, e);
    }
    Attempt([&] {
        if (m_connect.PleaseWaitLoaded()) {
            m_connect.PleaseWait().UnloadForm();
        }
    });
}

void CInspectorWrapper::m_oMail_Send(bool& cancel) {
    // The client never sends a wrapped message itself, whatever its send mode.
    cancel = true;
    const auto self = weak_from_this().lock();
    if (m_actionRunning) {
        mGlobals::LogDebug(L"CInspectorWrapper.m_oMail_Send", L"the message is being sent already",
                           2);
        return;
    }
    if (!m_oInspector) {
        return;
    }
    Attempt([&] {
        if (!m_oInspector->IsWordMail() || mMisc::GetOutlookVersion(m_services) >= 12) {
            RunSendAction();
            return;
        }
        // Word handles its own Send first; closing the window from inside it would pull the
        // editor away under Word. The action runs once Word's bars update afterwards.
        mGlobals::LogDebug(L"CInspectorWrapper.m_oMail_Send", L"waiting OnUpdate event", 2);
        m_barsWordInspector.Set(m_oInspector->GetCommandBars(), [this](CommandBars& bars) {
            std::vector<Connection> c;
            c.push_back(bars.OnUpdate.Connect([this] { m_barsWordInspector_OnUpdate(); }));
            return c;
        });
    });
}

void CInspectorWrapper::m_barsWordInspector_OnUpdate() {
    const auto self = weak_from_this().lock();
    mGlobals::LogDebug(L"CInspectorWrapper.m_barsWordInspector_OnUpdate",
                       L"OnUpdate event received", 2);
    m_barsWordInspector.Reset();
    RunSendAction();
}

void CInspectorWrapper::RunSendAction() {
    const auto mail = m_oMail.Get();
    if (!mail) {
        return;
    }
    int32_t sendMode = SendModeAll;
    bool grouping = false;
    try {
        // A send mode that cannot be read must not turn personal copies into one message that
        // shows every recipient: the message stays in its window to be sent again.
        sendMode = mUserProps::ReadSendMode(mail);
        grouping = mUserProps::ReadGroupMode(mail);
    } catch (const HostError& e) {
        mGlobals::LogError(kDoAction, e, L"send mode");
        return;
    }
    DoAction(1, sendMode, grouping);
}

// ---- Window events ----------------------------------------------------------------------------

void CInspectorWrapper::m_oInspector_Activate() {
    const auto self = weak_from_this().lock();
    Attempt([&] {
        if (mMisc::GetOutlookVersion(m_services) < 12 && !HasToolbar()) {
            CreateToolbar();
        }
    });
}

void CInspectorWrapper::m_oInspector_Close() {
    const auto self = weak_from_this().lock();
    mGlobals::LogDebug(L"m_oInspector_Close", L"", 2);
    Attempt([&] {
        if (mMisc::GetOutlookVersion(m_services) < 12) {
            SaveToolbarPosition();
        }
    });
    Done();
}

// ---- Commands ---------------------------------------------------------------------------------

bool CInspectorWrapper::SendsSeparately() {
    if (m_btnSendModeSep) {
        return m_btnSendModeSep->State() == msoButtonDown;
    }
    return mUserProps::GetSendMode(m_oMail.Get()) == SendModeSep;
}

bool CInspectorWrapper::Grouping() {
    if (m_btnSepGrouping) {
        return m_btnSepGrouping->State() == msoButtonDown;
    }
    return mUserProps::GetGroupMode(m_oMail.Get());
}

void CInspectorWrapper::SetSendModeAll() {
    Attempt([&] { ShowSendMode(false); });
    mUserProps::SetSendMode(m_oMail.Get(), SendModeAll, false);
    if (!HasToolbar()) {
        Attempt([&] { m_connect.UpdateInspectorButtons(); });
    }
}

void CInspectorWrapper::SetSendModeSep() {
    Attempt([&] { ShowSendMode(true); });
    mUserProps::SetSendMode(m_oMail.Get(), SendModeSep, false);
    if (!HasToolbar()) {
        Attempt([&] { m_connect.UpdateInspectorButtons(); });
    }
}

void CInspectorWrapper::SetGrouping(bool on) {
    const auto self = weak_from_this().lock();
    Attempt([&] {
        if (m_btnSepGrouping) {
            m_btnSepGrouping->SetState(on ? msoButtonDown : msoButtonUp);
        }
    });
    Attempt([&] {
        if (on && m_services.Options().ShowSeparatlyOptions()) {
            ShowSeparatlyOptions(m_services, OnTop(),
                                 [this] { m_connect.UpdateInspectorButtons(); });
        }
    });
    // The dialog runs a message loop: the window may have closed meanwhile.
    if (!m_oMail) {
        return;
    }
    Attempt([&] { UpdateSendModeTip(); });
    mUserProps::setGroupMode(m_oMail.Get(), on, false);
    if (!HasToolbar()) {
        Attempt([&] { m_connect.UpdateInspectorButtons(); });
    }
}

void CInspectorWrapper::InsertField(const std::wstring& token) {
    const auto self = weak_from_this().lock();
    Attempt([&] {
        if (!SendsSeparately()) {
            SetSendModeSep();
        }
    });
    Attempt([&] {
        const std::wstring text = token + L" ";
        if (mMisc::GetOutlookVersion(m_services) < 12 && WordEditor()) {
            mWordAddin::SendTextByKeyPress2Word(m_services, text, true);
        } else {
            mInspector::SendKeysText(m_services, text);
        }
    });
}

void CInspectorWrapper::OpenDrafts() {
    Attempt([&] { mInspector::OpenDraftsFolder(m_connect); });
}

void CInspectorWrapper::ShowOptions() {
    const auto self = weak_from_this().lock();
    m_connect.ShowOptions(OnTop());
}

}  // namespace plexa
