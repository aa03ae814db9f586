#include "addin/Connect.h"

#include "host/outlook/OlConstants.h"
#include "platform/IResources.h"
#include "platform/IUiShell.h"
#include "platform/Platform.h"
#include "recipients/KeyedStrings.h"
#include "separate/mFlag.h"
#include "separate/mSendReports.h"
#include "separate/mUserProps.h"
#include "separate/mViewXML.h"
#include "settings/Services.h"
#include "settings/frmOptions.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "settings/mReduceLog.h"
#include "ui/CExplorerMenu.h"

namespace plexa {

namespace {

constexpr int64_t kMaxLogSize = 1048576;
constexpr int64_t kMaxErrSize = 131072;

// Runs one step; a host error ends that step only. For handlers that ignore the host's errors
// (the window may be closing) and for Done, which attempts every step.
template <typename Step>
void Attempt(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): ignored where the add-in says
    }
}

void Trace(const std::wstring& name, const std::wstring& text = L"->", int detail = 3) {
    mGlobals::LogDebug(L"Connect::" + name, text, detail);
}

std::shared_ptr<CExplorerMenu> MenuOf(const std::shared_ptr<CExplorerWrapper>& explorer) {
    return explorer
               ? std::dynamic_pointer_cast<CExplorerMenu>(explorer->GetAssociatedObject(L"Menu"))
               : nullptr;
}

}  // namespace

Connect::Connect(Services& services) : m_services(services), m_explorerHost(services) {
    m_explorerHost.pleaseWait = [this]() -> CPleaseWait& { return PleaseWait(); };
    m_explorerHost.sendLaterList = [this] { return SendLaterList(); };
    m_explorerHost.contactFolders = [this]() -> mContacts::CContactFolderList& {
        return m_contactFolders;
    };
    m_explorerHost.updateCachedAction = [this] { UpdateCachedAction(); };
    m_explorerHost.showOptions = [this] { ShowOptions(false); };
    m_explorerHost.showDebugForm = [this] { ShowDebugForm(); };
    // The mails a new message was gathered from get the replied icon when it is first saved or
    // sent.
    m_explorerHost.addMailItemWrapper = [this](const std::shared_ptr<MailItem>& mail,
                                               const KeyedStrings& sources) {
        MailItemWrappers().Add(mail, sources.Items());
    };
}

Connect::~Connect() = default;

// ---- The add-in's own objects -----------------------------------------------------------------

CPleaseWait& Connect::PleaseWait() {
    if (!m_pleaseWait) {
        m_pleaseWait = std::make_unique<CPleaseWait>(m_services);
    }
    return *m_pleaseWait;
}

frmDummy& Connect::FrmDummy() {
    if (!m_frmDummy) {
        m_frmDummy = std::make_unique<frmDummy>(*this);
    }
    return *m_frmDummy;
}

frmDEBUG& Connect::DebugForm() {
    if (!m_debugForm) {
        m_debugForm = std::make_unique<frmDEBUG>(m_services, [this] { ShowOptions(true); });
    }
    return *m_debugForm;
}

void Connect::ShowDebugForm() {
    try {
        m_services.Ports().ui.Show(DebugForm(), false);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mExplorer::ShowDebugForm", e);
    }
}

void Connect::ShowOptions(bool onTop) {
    // The dialog runs a message loop: the host may let the add-in go meanwhile.
    const auto self = shared_from_this();
    OptionsHooks hooks;
    hooks.showing = [this](Form* dialog) { m_optionsDialog = dialog; };
    hooks.recreateInspectorBars = [this] {
        FrmDummy().SetTimerEnabled(L"tmrRecreateInspBars", true);
    };
    hooks.updateInspectorButtons = [this] { UpdateInspectorButtons(); };
    plexa::ShowOptions(m_services, onTop, hooks);
}

CMailItemWrapperColl& Connect::MailItemWrappers() {
    if (!m_mailItemWrappers) {
        m_mailItemWrappers = std::make_unique<CMailItemWrapperColl>(m_services);
    }
    return *m_mailItemWrappers;
}

PlexaActionContext Connect::ActionContext() {
    if (!m_sendLaterList) {
        throw HostError(91, L"Object variable or With block variable not set", L"Plexa");
    }
    return PlexaActionContext{m_services, *m_sendLaterList, PleaseWait(), m_contactFolders};
}

std::shared_ptr<CInspectorWrapper> Connect::InspectorWrapperOf(
    const std::shared_ptr<Inspector>& inspector) const {
    for (const auto& wrapper : m_colInspectors) {
        if (!wrapper->Closed() && inspector && wrapper->GetInspector() == inspector) {
            return wrapper;
        }
    }
    return nullptr;
}

// ---- Connection events ------------------------------------------------------------------------

void Connect::IDTExtensibility2_OnConnection(const std::shared_ptr<Application>& application,
                                             int32_t /*connectMode*/,
                                             const std::shared_ptr<AutomationObject>& /*addInInst*/,
                                             const std::vector<Variant>& /*custom*/) {
    mReduceLog::CheckLibOrvinLog(m_services.Ports(), kMaxLogSize, kMaxErrSize);
    // The send reports live beside the logs and keep to the same size.
    mSendReports::Trim(m_services.Ports(), kMaxLogSize);
    Trace(L"IDTExtensibility2_OnConnection", L"->OK", 1);
    HostPorts& host = m_services.host;
    host.application = application;
    if (mMisc::GetOutlookVersion(m_services) >= 12) {
        m_contextMenu = std::make_unique<CExplorerContextMenu>(m_explorerHost);
        // A missing companion leaves the add-in without its 2007 context menus, nothing more.
        try {
            if (host.companions == nullptr) {
                throw HostError(static_cast<int32_t>(0x80040154), L"Class not registered");
            }
            m_o2007events.Set(
                host.companions->CreateContextMenuEvents(), [this](ContextMenuEvents& e) {
                    std::vector<Connection> c;
                    c.push_back(e.OnItemContextMenuDisplay.Connect(
                        [this](const auto& bar, const auto& selection) {
                            m_o2007events_OnItemContextMenuDisplay(bar, selection);
                        }));
                    c.push_back(e.OnFolderContextMenuDisplay.Connect(
                        [this](const auto& bar, const auto& folder) {
                            m_o2007events_OnFolderContextMenuDisplay(bar, folder);
                        }));
                    c.push_back(e.OnContextMenuClose.Connect(
                        [this](int32_t kind) { m_o2007events_OnContextMenuClose(kind); }));
                    return c;
                });
            m_o2007events->Init(application);
        } catch (const HostError& e) {
            mGlobals::LogError(L"Connect::IDTExtensibility2_OnConnection", e,
                               L"O2007EventsPlexaLib");
            m_o2007events.Reset();
        }
    }
    m_connected = true;
    m_sendLaterList = std::make_unique<CSendLaterList>(m_services);
    // Without the default store's top folder the queue stays empty and unkeyed.
    try {
        const auto root = std::dynamic_pointer_cast<MAPIFolder>(
            application->Session()->GetDefaultFolder(olFolderInbox)->Parent());
        if (!root) {
            throw RuntimeError(vberr::TypeMismatch);
        }
        m_sendLaterList->Init(root->EntryID());
        m_sendLaterList->Load();
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect::IDTExtensibility2_OnConnection", e, L"gSendLaterList");
    }
    // The language file's section is the product's short name, as the resources give it.
    m_services.Lang().InitEx(m_services.Ports().resources.LoadResString(IDS_PRODUCT_SHORT_NAME));
}

void Connect::IDTExtensibility2_OnStartupComplete(const std::vector<Variant>& /*custom*/) {
    const auto self = shared_from_this();
    Trace(L"AddinInstance_OnStartupComplete");
    if (!m_services.host.application) {
        return;
    }
    try {
        m_oExplorers.Set(std::make_shared<CExplorersWrapper>(*this), [this](CExplorersWrapper& w) {
            std::vector<Connection> c;
            c.push_back(w.OnExplorer.Connect([this](const auto& e, bool first, bool fresh) {
                m_oExplorers_OnExplorer(e, first, fresh);
            }));
            c.push_back(
                w.OnCloseAllExplorers.Connect([this] { m_oExplorers_OnCloseAllExplorers(); }));
            c.push_back(w.OnExplorerFolderSwitch.Connect(
                [this](const auto& e) { m_oExplorers_OnExplorerFolderSwitch(e); }));
            c.push_back(w.OnExplorerSelectionChange.Connect(
                [this](const auto& e) { m_oExplorers_OnExplorerSelectionChange(e); }));
            return c;
        });
        const auto explorers = m_oExplorers.Get();
        explorers->Init(m_services.host.application->GetExplorers());
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect::AddinInstance_OnStartupComplete", e);
    }
}

void Connect::IDTExtensibility2_OnBeginShutdown(const std::vector<Variant>& /*custom*/) {
    mGlobals::LogDebug(L"Connect::IDTExtensibility2_OnBeginShutdown", L"->", 3);
    Done(true);
}

void Connect::IDTExtensibility2_OnDisconnection(int32_t /*removeMode*/,
                                                const std::vector<Variant>& /*custom*/) {
    mGlobals::LogDebug(L"Connect::IDTExtensibility2_OnDisconnection", L"->", 3);
    Done(true);
}

void Connect::IDTExtensibility2_OnAddInsUpdate(const std::vector<Variant>& /*custom*/) {}

// ---- Init, AddMenu, Done ----------------------------------------------------------------------

bool Connect::Init(const std::shared_ptr<CExplorerWrapper>& explorer) {
    Trace(L"Init");
    try {
        FrmDummy().SetTimerEnabled(L"tmrSendLater", true);
        AddMenu(explorer);
        m_outlook.Set(m_services.host.application, [this](Application& a) {
            std::vector<Connection> c;
            c.push_back(
                a.ItemSend.Connect([this](const std::shared_ptr<OutlookItem>& item, bool& cancel) {
                    m_outlook_ItemSend(item, cancel);
                }));
            return c;
        });
        COptions& options = m_services.Options();
        if (options.ModifyDraftsView()) {
            // Once after the user asks: the Drafts view shows the copies grouped by their time.
            mViewXML::ModifyDraftsView(m_services, false);
            options.ModifyDraftsView(false);
        }
        m_oInspectors.Set(m_services.host.application->GetInspectors(), [this](Inspectors& i) {
            std::vector<Connection> c;
            c.push_back(i.NewInspector.Connect(
                [this](const std::shared_ptr<Inspector>& x) { m_oInspectors_NewInspector(x); }));
            return c;
        });
        return true;
    } catch (const HostError& e) {
        mGlobals::LogError(L"Connect::Init", e);
        return false;
    }
}

void Connect::AddMenu(const std::shared_ptr<CExplorerWrapper>& explorer) {
    Trace(L"AddMenu");
    auto menu = std::make_shared<CExplorerMenu>(m_explorerHost);
    menu->Create(explorer->GetObject());
    explorer->AddAssociatedObject(menu, L"Menu");
}

void Connect::Done(bool bFullMode) {
    // Clearing gConnect must not end this object while it runs.
    const auto self = shared_from_this();
    Trace(L"Done", bFullMode ? L"mode = full" : L"mode = wait new explorer");
    m_contactFolders.Reset();
    m_outlook.Reset();
    if (m_optionsDialog != nullptr) {
        Attempt([&] {
            IUiShell& ui = m_services.Ports().ui;
            if (ui.IsLoaded(*m_optionsDialog)) {
                ui.Unload(*m_optionsDialog);
            }
        });
    }
    // Waits for the progress window's keeper: unloading it when loaded.
    if (!bFullMode) {
        Attempt([&] {
            if (m_oExplorers) {
                m_oExplorers->Done(false);
            }
        });
        return;
    }
    Attempt([&] { m_pleaseWait.reset(); });
    Attempt([&] { m_frmDummy.reset(); });
    for (const auto& wrapper : m_colInspectors) {
        Attempt([&] { wrapper->Done(); });
    }
    m_colInspectors.clear();
    Attempt([&] {
        if (m_mailItemWrappers) {
            m_mailItemWrappers->Done();
        }
    });
    // Full shut-down leaves nothing hooked: a later message window finds the add-in inert.
    m_oInspectors.Reset();
    Attempt([&] {
        if (m_oExplorers) {
            m_oExplorers->Done(true);
        }
    });
    m_oExplorers.Reset();
    m_connected = false;
    m_o2007events.Reset();
    m_contextMenu.reset();
    m_services.host.application.reset();
    m_sendLaterList.reset();
    // A later connection in the same process chooses its language afresh.
    m_services.Lang().Release();
}

// ---- Explorers --------------------------------------------------------------------------------

void Connect::m_oExplorers_OnExplorer(const std::shared_ptr<CExplorerWrapper>& explorer,
                                      bool bFirstExplorer, bool bNewExplorer) {
    const auto self = shared_from_this();
    Trace(L"m_oExplorers_OnExplorer",
          std::wstring(L"->") + (bFirstExplorer ? L"[FirstExplorer]" : L"") +
              (bNewExplorer ? L"(NewExplorer)" : L"(ExistingExplorer)"));
    try {
        if (!bFirstExplorer) {
            if (m_outlook) {
                AddMenu(explorer);
                return;
            }
            mGlobals::LogError(
                L"Connect::m_oExplorers_OnExplorer", 0,
                L"bFirstExplorer = false, this is incorect coz m_outlook is nothing, "
                L"initializing...");
        }
        if (!Init(explorer)) {
            Done(true);
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window may be closing
    }
}

void Connect::m_oExplorers_OnCloseAllExplorers() {
    Trace(L"m_oExplorers_OnCloseAllExplorers");
    Done(false);
}

void Connect::m_oExplorers_OnExplorerFolderSwitch(
    const std::shared_ptr<CExplorerWrapper>& explorer) {
    Trace(L"m_oExplorers_OnExplorerFolderSwitch");
    Attempt([&] {
        if (mMisc::GetOutlookVersion(m_services) < 14) {
            if (const auto menu = MenuOf(explorer)) {
                const auto window = explorer->GetObject();
                menu->OnFolderSwitch(window->CurrentFolder(), window);
            }
            return;
        }
        UpdateCachedAction();
        if (m_ribbon) {
            m_ribbon->InvalidateControl(L"Orvin.Plexa.Explorer.grpDrafts");
            m_ribbon->InvalidateControl(L"Orvin.Plexa.Explorer.btnSendNow");
            m_ribbon->InvalidateControl(L"Orvin.Plexa.Explorer.sepSendNow");
        }
    });
}

void Connect::m_oExplorers_OnExplorerSelectionChange(
    const std::shared_ptr<CExplorerWrapper>& explorer) {
    Trace(L"m_oExplorers_OnExplorerSelectionChange");
    Attempt([&] {
        if (mMisc::GetOutlookVersion(m_services) < 14) {
            if (const auto menu = MenuOf(explorer)) {
                const auto window = explorer->GetObject();
                menu->OnSelectionChange(window->GetSelection(), window);
            }
            return;
        }
        if (m_ribbon) {
            m_ribbon->InvalidateControl(L"Orvin.Plexa.Explorer.btnSendNow");
        }
    });
}

// ---- Inspectors, item send, context menus -----------------------------------------------------

void Connect::m_oInspectors_NewInspector(const std::shared_ptr<Inspector>& inspector) {
    mGlobals::LogDebug(L"m_oInspectors_NewInspector", L"->", 2);
    Attempt([&] {
        if (m_ribbon) {
            m_ribbon->Invalidate();
        }
    });
    Attempt([&] {
        const auto mail = std::dynamic_pointer_cast<MailItem>(inspector->CurrentItem());
        if (!mail || !mUserProps::GetShowToolbar(mail)) {
            return;
        }
        for (auto i = m_colInspectors.size(); i-- > 0;) {
            if (m_colInspectors[i]->Closed()) {
                m_colInspectors.erase(m_colInspectors.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        auto wrapper = std::make_shared<CInspectorWrapper>(*this);
        wrapper->Init(inspector);
        m_colInspectors.push_back(wrapper);
    });
}

void Connect::m_outlook_ItemSend(const std::shared_ptr<OutlookItem>& item, bool& /*cancel*/) {
    Trace(L"m_outlook_ItemSend");
    Attempt([&] {
        if (item && item->Class() == olMail) {
            mGlobals::ClearFollowUpFlag(m_services, std::dynamic_pointer_cast<MailItem>(item));
        }
    });
}

void Connect::m_o2007events_OnItemContextMenuDisplay(const std::shared_ptr<CommandBar>& bar,
                                                     const std::shared_ptr<Selection>& selection) {
    Trace(L"m_o2007events_OnItemContextMenuDisplay");
    Attempt([&] {
        if (m_contextMenu) {
            m_contextMenu->CreateItemContextMenu(bar, selection);
        }
    });
}

void Connect::m_o2007events_OnFolderContextMenuDisplay(const std::shared_ptr<CommandBar>& bar,
                                                       const std::shared_ptr<MAPIFolder>& folder) {
    Trace(L"m_o2007events_OnFolderContextMenuDisplay");
    Attempt([&] {
        if (m_contextMenu && folder) {
            m_contextMenu->CreateFolderContextMenu(bar, folder->EntryID(), folder->StoreID());
        }
    });
}

void Connect::m_o2007events_OnContextMenuClose(int32_t contextMenu) {
    Trace(L"m_o2007events_OnContextMenuClose");
    Attempt([&] {
        if (!m_contextMenu) {
            return;
        }
        if (contextMenu == 0) {
            m_contextMenu->DoneItemContextMenu();
        } else if (contextMenu == 2) {
            m_contextMenu->DoneFolderContextMenu();
        }
    });
}

// ---- Friend operations ------------------------------------------------------------------------

void Connect::RecreateInspectorBars() {
    if (mMisc::GetOutlookVersion(m_services) < 12) {
        // One window that fails (it may be closing) does not keep the others' bars.
        for (const auto& wrapper : m_colInspectors) {
            if (!wrapper->Closed()) {
                Attempt([&] { wrapper->RecreateToolbar(); });
            }
        }
    } else if (m_ribbon) {
        m_ribbon->Invalidate();
    }
}

void Connect::UpdateInspectorButtons() {
    if (mMisc::GetOutlookVersion(m_services) < 12) {
        for (const auto& wrapper : m_colInspectors) {
            if (!wrapper->Closed()) {
                wrapper->UpdateSendModeTip();
            }
        }
    } else if (m_ribbon) {
        m_ribbon->InvalidateControl(L"btnSendMode");
        m_ribbon->InvalidateControl(L"btnSepGrouping");
    }
}

void Connect::UpdateCachedAction() {
    if (mMisc::GetOutlookVersion(m_services) < 14) {
        if (!m_oExplorers) {
            return;
        }
        // One window that fails (it may be closing) does not keep the others' buttons.
        for (int32_t i = 1; i <= m_oExplorers->Count(); ++i) {
            const auto explorer = m_oExplorers->Item(i);
            if (const auto menu = MenuOf(explorer)) {
                Attempt([&] { menu->OnCachedActionChange(explorer->GetObject()); });
            }
        }
    } else if (m_ribbon) {
        m_ribbon->InvalidateControl(L"Orvin.Plexa.Explorer.grpRecent");
        m_ribbon->InvalidateControl(L"Orvin.Plexa.Explorer.btnCachedAction");
    }
}

}  // namespace plexa
