#include "addin/CInspectorWrapper.h"

#include "settings/mGlobals.h"

namespace plexa {

void CInspectorWrapper::Init(const std::shared_ptr<Inspector>& inspector) {
    m_oInspector.Set(inspector, [this](Inspector& i) {
        std::vector<Connection> c;
        c.push_back(i.OnClose.Connect([this] { m_oInspector_Close(); }));
        return c;
    });
    m_oMail = inspector->CurrentItem();
}

void CInspectorWrapper::Done() {
    m_oInspector.Reset();
    m_oMail.reset();
}

void CInspectorWrapper::RecreateToolbar() {
    mGlobals::LogDebug(L"CInspectorWrapper::RecreateToolbar",
                       L"->" + std::to_wstring(m_oInspector->EditorType()), 3);
}

void CInspectorWrapper::m_oInspector_Close() {
    mGlobals::LogDebug(L"m_oInspector_Close", L"->", 3);
    Done();
}

}  // namespace plexa
