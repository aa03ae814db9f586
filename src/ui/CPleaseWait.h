// Shows the please-wait window only when an action lasts: the first of nested actions starts a
// three-second wait, the window appears at the first Update after it, its dots move every two
// seconds, and it goes when the last action ends. Every time comes from the clock port.
#pragma once

#include <cstdint>

#include "core/OleDate.h"
#include "settings/IPleaseWait.h"
#include "ui/frmPleaseWait.h"

namespace plexa {

class Services;

class CPleaseWait : public IPleaseWait {
public:
    explicit CPleaseWait(Services& services) : m_services(services), m_form(services) {}
    ~CPleaseWait() override;
    CPleaseWait(const CPleaseWait&) = delete;
    CPleaseWait& operator=(const CPleaseWait&) = delete;

    void ActionBegin() override;
    void ActionEnd() override;
    // Called often by working loops: shows the window once the wait is over, moves its dots.
    void Update() override;
    int32_t ActionCount() const { return m_actionCount; }
    bool Visible() const override;
    // Hides or shows the window while it is shown (dialogs that must be on top hide it first).
    void SetVisible(bool visible) override;
    // Forgets the window and every open action.
    void UnloadForm();
    // Unloads a shown window so that the next Update shows it again at once.
    void SetFormRecreation() override;

    // The window, for tests and the debug window.
    frmPleaseWait& Form() { return m_form; }
    bool FormShown() const { return m_formShown; }

private:
    void Unload();

    Services& m_services;
    frmPleaseWait m_form;
    bool m_formShown = false;
    bool m_visible = false;
    OleDate m_showAt;
    OleDate m_nextRefresh;
    int32_t m_actionCount = 0;
};

}  // namespace plexa
