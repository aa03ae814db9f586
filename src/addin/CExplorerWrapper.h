// Follows one folder window (explorer) and carries the objects that live as long as its tracking
// (its command bar under "Menu"). Before the 2007 host a new window is announced only at its
// first activation, when its command bars become usable; from 2007 on at once. The wrapper
// reports to the list through mExplorersWrapper and the add-in's Connect, its only link to it.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "addin/WithEvents.h"
#include "core/Variant.h"
#include "host/outlook/Application.h"

namespace plexa {

class Connect;

class CExplorerWrapper : public AutomationObject,
                         public std::enable_shared_from_this<CExplorerWrapper> {
public:
    explicit CExplorerWrapper(Connect& connect) : m_connect(connect) {}
    ~CExplorerWrapper() override { Done(); }
    CExplorerWrapper(const CExplorerWrapper&) = delete;
    CExplorerWrapper& operator=(const CExplorerWrapper&) = delete;

    std::wstring TypeName() const override { return L"CExplorerWrapper"; }

    // True from InitWaitActivate until the first Activate.
    bool WaitingActivateEvent() const { return m_waitingActivateEvent; }
    // The followed window; nothing after Done.
    const std::shared_ptr<Explorer>& GetObject() const { return m_oExplorer.Get(); }

    // Follows the window and announces it ("OnExplorer").
    void Init(const std::shared_ptr<Explorer>& explorer, bool bNewExplorer);
    // Follows a new window and waits for its first activation (2007 on: announces it at once).
    void InitWaitActivate(const std::shared_ptr<Explorer>& explorer);
    // Drops the associated objects and unhooks the window.
    void Done();

    // Keeps an object for as long as the window is tracked; a key used again replaces it.
    // Does nothing before Init.
    void AddAssociatedObject(const std::shared_ptr<AutomationObject>& object,
                             const std::wstring& key);
    // The object kept under the key; nothing when there is none (or before Init).
    std::shared_ptr<AutomationObject> GetAssociatedObject(const std::wstring& key) const;

private:
    void Hook(const std::shared_ptr<Explorer>& explorer);
    void m_oExplorer_Activate();
    void m_oExplorer_Close();
    void m_oExplorer_FolderSwitch();
    void m_oExplorer_SelectionChange();

    Connect& m_connect;
    WithEvents<Explorer> m_oExplorer;
    bool m_waitingActivateEvent = false;
    std::optional<std::map<std::wstring, std::shared_ptr<AutomationObject>>> m_associated;
};

}  // namespace plexa
