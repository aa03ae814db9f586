// Unloads a modal dialog that is still loaded when its show operation ends, however it ends, so
// the UI shell never keeps a dialog that has gone.
#pragma once

#include <string>

#include "core/Form.h"
#include "core/HostError.h"
#include "platform/IUiShell.h"
#include "settings/mGlobals.h"

namespace plexa {

class UnloadOnExit {
public:
    UnloadOnExit(IUiShell& ui, Form& form, std::wstring logSource)
        : m_ui(ui), m_form(form), m_logSource(std::move(logSource)) {}
    ~UnloadOnExit() {
        try {
            if (m_ui.IsLoaded(m_form)) {
                m_ui.Unload(m_form);
            }
        } catch (const HostError& e) {
            mGlobals::LogError(m_logSource, e);
        }
    }
    UnloadOnExit(const UnloadOnExit&) = delete;
    UnloadOnExit& operator=(const UnloadOnExit&) = delete;

private:
    IUiShell& m_ui;
    Form& m_form;
    std::wstring m_logSource;
};

}  // namespace plexa
