// The add-in's command bar and menus of one folder window, kept on the window's wrapper under
// "Menu" and released with it.
//
// Waits for the explorer menu: this stand-in builds no toolbar and no menu items yet. It keeps
// the window it was created for and traces each call, so that the lifecycle around it (one menu
// per window, released when the window's tracking ends) already runs.
#pragma once

#include <memory>
#include <string>

#include "core/Variant.h"

namespace plexa {

class Explorer;
class MAPIFolder;
class Selection;

class CExplorerMenu : public AutomationObject {
public:
    std::wstring TypeName() const override { return L"CExplorerMenu"; }

    // Builds the toolbar and menu items in the explorer (nothing visible from the 2010 host on).
    void Create(const std::shared_ptr<Explorer>& explorer);
    void OnFolderSwitch(const std::shared_ptr<MAPIFolder>& folder,
                        const std::shared_ptr<Explorer>& explorer);
    void OnSelectionChange(const std::shared_ptr<Selection>& selection,
                           const std::shared_ptr<Explorer>& explorer);
    void OnCachedActionChange(const std::shared_ptr<Explorer>& explorer);

    // The window Create was called with.
    const std::shared_ptr<Explorer>& GetExplorer() const { return m_explorer; }

private:
    std::shared_ptr<Explorer> m_explorer;
};

}  // namespace plexa
