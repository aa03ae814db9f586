#include "ui/CPleaseWait.h"

#include "addin/Context.h"
#include "core/HostError.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr double kShowAfterSeconds = 3;
constexpr double kRefreshSeconds = 2;

OleDate Now() {
    Context* ctx = Context::Current();
    return ctx != nullptr ? ctx->Ports().clock->NowUtc() : OleDate();
}

IUiShell* Shell() {
    Context* ctx = Context::Current();
    return ctx != nullptr ? ctx->Ports().ui : nullptr;
}

void LetMessagesRun() {
    Context* ctx = Context::Current();
    if (ctx != nullptr && ctx->Ports().windows != nullptr) {
        ctx->Ports().windows->DoEvents();
    }
}

}  // namespace

CPleaseWait::~CPleaseWait() {
    UnloadForm();
}

void CPleaseWait::ActionBegin() {
    try {
        if (m_actionCount <= 0) {
            m_actionCount = 0;
            m_showAt = Now().DateAdd(L"s", kShowAfterSeconds);
        }
        ++m_actionCount;
    } catch (const HostError& e) {
        mGlobals::LogError(L"CPleaseWait::ActionBegin", e);
    }
}

void CPleaseWait::ActionEnd() {
    mGlobals::LogDebug(L"CPleaseWait::Action", L"-", 3);
    --m_actionCount;
    if (m_actionCount <= 0) {
        m_actionCount = 0;
        Unload();
    }
}

void CPleaseWait::Update() {
    if (m_actionCount <= 0) {
        return;
    }
    try {
        const OleDate now = Now();
        if (!m_formShown) {
            if (now < m_showAt) {
                return;
            }
            mGlobals::LogDebug(L"CPleaseWait::Update", L"frmPleaseWait.Show", 3);
            m_formShown = true;
            // In front, but the message editor the user types in keeps the focus.
            if (IUiShell* shell = Shell()) {
                shell->ShowNoActivate(m_form);
            }
            m_visible = true;
            LetMessagesRun();
            m_nextRefresh = now.DateAdd(L"s", kRefreshSeconds);
            return;
        }
        if (now >= m_nextRefresh) {
            m_form.MoveDots();
            LetMessagesRun();
            m_nextRefresh = now.DateAdd(L"s", kRefreshSeconds);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"CPleaseWait::Update", e);
    }
}

bool CPleaseWait::Visible() const {
    return m_formShown && m_visible;
}

void CPleaseWait::SetVisible(bool visible) {
    if (!m_formShown) {
        return;
    }
    try {
        if (IUiShell* shell = Shell()) {
            if (visible) {
                shell->ShowNoActivate(m_form);
            } else {
                shell->Hide(m_form);
            }
        }
        m_visible = visible;
    } catch (const HostError& e) {
        mGlobals::LogError(L"CPleaseWait::Visible", e);
    }
}

void CPleaseWait::Unload() {
    if (!m_formShown) {
        return;
    }
    m_formShown = false;
    m_visible = false;
    try {
        if (IUiShell* shell = Shell()) {
            shell->Unload(m_form);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"CPleaseWait::UnloadForm", e);
    }
}

void CPleaseWait::UnloadForm() {
    m_actionCount = 0;
    Unload();
}

void CPleaseWait::SetFormRecreation() {
    if (!m_formShown) {
        return;
    }
    Unload();
    m_showAt = Now();
}

}  // namespace plexa
