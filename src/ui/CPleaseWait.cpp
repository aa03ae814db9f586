#include "ui/CPleaseWait.h"

#include "core/HostError.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa {

namespace {

constexpr double kShowAfterSeconds = 3;
constexpr double kRefreshSeconds = 2;

}  // namespace

CPleaseWait::~CPleaseWait() {
    UnloadForm();
}

void CPleaseWait::ActionBegin() {
    try {
        if (m_actionCount <= 0) {
            m_actionCount = 0;
            m_showAt = m_services.Ports().clock.NowUtc().DateAdd(L"s", kShowAfterSeconds);
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
        const OleDate now = m_services.Ports().clock.NowUtc();
        if (!m_formShown) {
            if (now < m_showAt) {
                return;
            }
            mGlobals::LogDebug(L"CPleaseWait::Update", L"frmPleaseWait.Show", 3);
            m_formShown = true;
            // In front, but the message editor the user types in keeps the focus.
            m_services.Ports().ui.ShowNoActivate(m_form);
            m_visible = true;
            m_services.LetMessagesRun();
            m_nextRefresh = now.DateAdd(L"s", kRefreshSeconds);
            return;
        }
        if (now >= m_nextRefresh) {
            m_form.MoveDots();
            m_services.LetMessagesRun();
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
        if (visible) {
            m_services.Ports().ui.ShowNoActivate(m_form);
        } else {
            m_services.Ports().ui.Hide(m_form);
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
        m_services.Ports().ui.Unload(m_form);
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
    m_showAt = m_services.Ports().clock.NowUtc();
}

}  // namespace plexa
