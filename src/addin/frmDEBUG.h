// The developer's debug window, shown modeless from the Debug button: it opens any of the
// add-in's dialogs filled with sample data, so that their layout and texts can be looked at in
// every language, and opens a topic of the help file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/Form.h"

namespace plexa {

class Services;

class frmDEBUG : public Form {
public:
    // showOptions opens the options dialog as the add-in's options commands do; without it the
    // dialog opens on its own, rebuilding and refreshing nothing.
    explicit frmDEBUG(Services& services, std::function<void()> showOptions = {});
    // A window still up leaves the screen of its own world when the add-in goes.
    ~frmDEBUG() override;
    frmDEBUG(const frmDEBUG&) = delete;
    frmDEBUG& operator=(const frmDEBUG&) = delete;

    void OnLoad() override;

    // Opens the dialog chosen in cboForms with its sample data; nothing when none is chosen.
    void btnShowForm_Click();
    // Opens the help file at the topic in txtTopic.
    void btnShowHelp_Click();
    void btnClose_Click();

    // The dialogs the window can show, in the order cboForms lists them.
    std::vector<std::wstring> FormNames() const;

private:
    struct Sample {
        std::wstring formName;
        std::function<void(Services&)> show;
    };
    Services& m_services;
    std::function<void()> m_showOptions;
    std::vector<Sample> m_samples;
};

}  // namespace plexa
