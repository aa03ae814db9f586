#include "addin/CExplorerWrapper.h"

#include "addin/Connect.h"
#include "addin/mExplorersWrapper.h"
#include "core/Text.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"

namespace plexa {

void CExplorerWrapper::Hook(const std::shared_ptr<Explorer>& explorer) {
    m_oExplorer.Set(explorer, [this](Explorer& e) {
        std::vector<Connection> c;
        c.push_back(e.OnActivate.Connect([this] { m_oExplorer_Activate(); }));
        c.push_back(e.OnClose.Connect([this] { m_oExplorer_Close(); }));
        c.push_back(e.FolderSwitch.Connect([this] { m_oExplorer_FolderSwitch(); }));
        c.push_back(e.SelectionChange.Connect([this] { m_oExplorer_SelectionChange(); }));
        return c;
    });
}

void CExplorerWrapper::Init(const std::shared_ptr<Explorer>& explorer, bool bNewExplorer) {
    Hook(explorer);
    m_associated.emplace();
    mExplorersWrapper::RaiseExplorersEvent(m_connect, L"OnExplorer",
                                           {Variant(shared_from_this()), Variant(bNewExplorer)});
}

void CExplorerWrapper::InitWaitActivate(const std::shared_ptr<Explorer>& explorer) {
    m_waitingActivateEvent = true;
    Hook(explorer);
    if (mMisc::GetOutlookVersion(m_connect.GetServices()) >= 12) {
        m_oExplorer_Activate();
    }
}

void CExplorerWrapper::Done() {
    m_associated.reset();
    m_oExplorer.Reset();
}

void CExplorerWrapper::AddAssociatedObject(const std::shared_ptr<AutomationObject>& object,
                                           const std::wstring& key) {
    if (m_associated) {
        (*m_associated)[text::ToLower(key)] = object;
    }
}

std::shared_ptr<AutomationObject> CExplorerWrapper::GetAssociatedObject(
    const std::wstring& key) const {
    if (!m_associated) {
        return nullptr;
    }
    const auto it = m_associated->find(text::ToLower(key));
    return it == m_associated->end() ? nullptr : it->second;
}

// The handlers keep the wrapper alive while they run: the list may drop it on the way. Errors of
// the host are ignored (the window may be closing); they never reach the host.

void CExplorerWrapper::m_oExplorer_Activate() {
    const auto self = shared_from_this();
    if (!m_waitingActivateEvent) {
        return;
    }
    m_waitingActivateEvent = false;
    try {
        Init(m_oExplorer.Get(), true);
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window may be closing
    }
}

void CExplorerWrapper::m_oExplorer_Close() {
    const auto self = shared_from_this();
    mGlobals::LogDebug(L"CExplorerWrapper.m_oExplorer_Close", L"->", 3);
    Done();
    try {
        mExplorersWrapper::RaiseExplorersEvent(m_connect, L"Close", {});
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window is closing
    }
}

void CExplorerWrapper::m_oExplorer_FolderSwitch() {
    const auto self = shared_from_this();
    try {
        mExplorersWrapper::RaiseExplorersEvent(m_connect, L"FolderSwitch", {Variant(self)});
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window may be closing
    }
}

void CExplorerWrapper::m_oExplorer_SelectionChange() {
    const auto self = shared_from_this();
    try {
        mExplorersWrapper::RaiseExplorersEvent(m_connect, L"SelectionChange", {Variant(self)});
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window may be closing
    }
}

}  // namespace plexa
