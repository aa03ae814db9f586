// Follows one message window that shows a message composed through the add-in.
//
// Waits for the message-window integration: this stand-in follows the window and its item and
// knows when the window has closed, which is what the inspector list needs; it intercepts no
// send and builds no toolbar yet.
#pragma once

#include <memory>

#include "addin/WithEvents.h"
#include "host/outlook/Application.h"
#include "separate/IMessageWindow.h"

namespace plexa {

class CInspectorWrapper : public IMessageWindow {
public:
    CInspectorWrapper() = default;
    ~CInspectorWrapper() override { Done(); }
    CInspectorWrapper(const CInspectorWrapper&) = delete;
    CInspectorWrapper& operator=(const CInspectorWrapper&) = delete;

    // Follows the inspector and its current item. Throws HostError when the window cannot
    // answer.
    void Init(const std::shared_ptr<Inspector>& inspector);
    // Releases the window and its item.
    void Done() override;
    // True once the window has closed (or Done ran).
    bool Closed() const { return !m_oInspector; }
    std::shared_ptr<Inspector> GetInspector() const override { return m_oInspector.Get(); }
    const std::shared_ptr<OutlookItem>& GetMail() const { return m_oMail; }

    // Waits for the message-window integration: rebuilding the 2002/2003 toolbar, whose
    // placeholder commands depend on the window's editor. Throws HostError when the window
    // cannot answer.
    void RecreateToolbar();
    // Waits for the message-window integration: the send-mode button's tip.
    void UpdateSendModeTip() {}

private:
    void m_oInspector_Close();

    WithEvents<Inspector> m_oInspector;
    std::shared_ptr<OutlookItem> m_oMail;
};

}  // namespace plexa
