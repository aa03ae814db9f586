#include "ui/CExplorerMenu.h"

#include "core/HostError.h"
#include "host/office/CommandBars.h"
#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OlConstants.h"
#include "platform/IResources.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "ui/ExplorerHost.h"
#include "ui/mExplorer.h"
#include "ui/mExplorerButtons.h"
#include "ui/mIcons.h"

namespace plexa {

namespace {

constexpr const wchar_t* kCreate = L"CExplorerMenu::Create";
constexpr const wchar_t* kOnUpdate = L"CExplorerMenu::m_OutlookBars_OnUpdate";
constexpr int32_t kFaceSendNow = 2617;
constexpr int32_t kFaceCachedAction = 1701;
constexpr int32_t kIdForward = 356;

// One step of building; a failure is logged and leaves the other steps to run.
template <typename Step>
void Attempt(const wchar_t* source, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const HostError& e) {
        mGlobals::LogError(source, e);
    }
}

// The Actions menu of the host for a kind of folder; 0 for kinds without one.
int32_t ActionsMenuId(int32_t itemType) {
    switch (itemType) {
        case 0:
            return 30131;
        case 1:
            return 30142;
        case 2:
            return 30141;
        case 3:
            return 30149;
        default:
            return 0;
    }
}

std::shared_ptr<CommandBarControl> AddToolbarButton(const std::shared_ptr<CommandBar>& bar) {
    return bar->Controls()->Add(msoControlButton, 1, L"", 0, true);
}

}  // namespace

CExplorerMenu::CExplorerMenu(ExplorerHost& host) : m_host(host), m_services(host.services) {}

CExplorerMenu::~CExplorerMenu() {
    m_onUpdate.Disconnect();
    if (m_bar) {
        try {
            SaveToolbarPos();
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the window is going
        }
    }
}

std::shared_ptr<Explorer> CExplorerMenu::ActiveExplorer() {
    return m_services.ConnectedHost().application->ActiveExplorer();
}

void CExplorerMenu::Run(const wchar_t* handler, const std::function<void()>& command) {
    mGlobals::LogDebug(handler, L"->", 2);
    try {
        command();
    } catch (const HostError& e) {
        mGlobals::LogError(handler, e);
    }
}

void CExplorerMenu::Create(const std::shared_ptr<Explorer>& explorer) {
    mGlobals::LogDebug(kCreate, L"->", 3);
    m_explorer = explorer;
    if (!explorer || mMisc::GetOutlookVersion(m_services) >= 14) {
        return;
    }
    m_contextMenu = std::make_unique<CExplorerContextMenu>(m_host);
    Attempt(kCreate, [&] { m_sTag = mGlobals::MakeUniqueTag(m_services.Ports()); });
    Attempt(kCreate, [&] {
        m_bar = explorer->GetCommandBars()->Add(m_services.Lang().Item(L"LID_TOOLBAR_NAME"),
                                                msoBarTop, true);
    });
    if (m_bar) {
        RestoreToolbarPos();
        const bool testToolbar = m_services.Options().TestToolbar() != 0;
        Attempt(kCreate, [&] {
            auto button = AddToolbarButton(m_bar);
            button->SetStyle(msoButtonIconAndCaption);
            button->SetCaption(m_services.Lang().Item(L"LID_CAPTION_SENDNOW"));
            button->SetTooltipText(m_services.Lang().Item(L"LID_TOOLTIP_SENDNOW"));
            button->SetFaceId(kFaceSendNow);
            button->SetBeginGroup(true);
            button->SetVisible(false);
            m_btnSendNow.Set(button, [this] { m_btnSendNow_Click(); });
        });
        Attempt(kCreate, [&] {
            auto button = AddToolbarButton(m_bar);
            button->SetFaceId(kFaceCachedAction);
            if (testToolbar) {
                button->SetStyle(msoButtonIconAndCaption);
                button->SetCaption(m_services.Lang().Item(L"LID_MENU_CAPTION"));
            } else {
                button->SetStyle(msoButtonIcon);
            }
            button->SetVisible(true);
            m_btnCachedAction.Set(button, [this] { m_btnCachedAction_Click(); });
        });
        if (m_btnCachedAction) {
            OnCachedActionChange(explorer);
        }
        Attempt(kCreate, [&] {
            auto popup = m_bar->Controls()->Add(msoControlPopup, 1, L"", 0, true);
            popup->SetCaption(testToolbar ? L" " : m_services.Lang().Item(L"LID_MENU_CAPTION"));
            popup->SetVisible(true);
            m_popup = popup;
        });
        if (m_popup) {
            Attempt(kCreate, [&] { AddToolbarMenu(m_popup); });
        }
        Attempt(kCreate, [&] { OnFolderSwitch(explorer->CurrentFolder(), explorer); });
        Attempt(kCreate, [&] { m_bar->SetVisible(true); });
    }
    Attempt(kCreate, [&] {
        m_OutlookBars = explorer->GetCommandBars();
        m_onUpdate = m_OutlookBars->OnUpdate.Connect([this] { m_OutlookBars_OnUpdate(); });
    });
}

void CExplorerMenu::AddToolbarMenu(const std::shared_ptr<CommandBarControl>& popup) {
    using namespace mExplorer;
    Services& s = m_services;
    m_btnTO.Set(AddBtnTO(s, popup, L""), [this] { m_btnTO_Click(); });
    m_btnCC.Set(AddBtnCC(s, popup, L""), [this] { m_btnCC_Click(); });
    m_btnBCC.Set(AddBtnBCC(s, popup, L""), [this] { m_btnBCC_Click(); });
    m_btnNewDL.Set(AddBtnNewDL(s, popup, L""), [this] { m_btnNewDL_Click(); });
    m_btnNewDLFromFolder.Set(AddBtnNewDLFromFolder(s, popup, L""),
                             [this] { m_btnNewDLFromFolder_Click(); });
    m_btnExistingDL.Set(AddBtnExistingDL(s, popup, L""), [this] { m_btnExistingDL_Click(); });
    m_btnOptions.Set(AddBtnOptions(s, popup, L""), [this] { m_btnOptions_Click(); });
    m_btnAbout.Set(AddBtnAbout(s, popup, L""), [this] { m_btnAbout_Click(); });
    if (s.Options().UseDebugButtons()) {
        auto button = popup->GetCommandBar()->Controls()->Add(msoControlButton, 1, L"", 0, true);
        button->SetStyle(msoButtonIconAndCaption);
        button->SetCaption(L"DEBUG");
        mIcons::SetButtonFace(s, button, Variant(106), Variant(206));
        m_btnDebug.Set(button, [this] { m_btnDebug_Click(); });
    }
}

void CExplorerMenu::SaveToolbarPos() {
    try {
        m_services.Options().WriteToolbarPos(true, m_bar->Position(), m_bar->RowIndex(),
                                             m_bar->Left(), m_bar->Top());
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): placement is a nicety
    }
}

void CExplorerMenu::RestoreToolbarPos() {
    int32_t position = 0;
    int32_t rowIndex = 0;
    int32_t left = 0;
    int32_t top = 0;
    m_services.Options().ReadToolbarPos(true, position, rowIndex, left, top);
    try {
        m_bar->SetPosition(position);
        m_bar->SetRowIndex(rowIndex);
        m_bar->SetLeft(left);
        m_bar->SetTop(top);
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): placement is a nicety
    }
}

void CExplorerMenu::OnFolderSwitch(const std::shared_ptr<MAPIFolder>& folder,
                                   const std::shared_ptr<Explorer>& explorer) {
    mGlobals::LogDebug(L"CExplorerMenu::OnFolderSwitch", L"->" + (folder ? folder->Name() : L""),
                       3);
    mGlobals::Assert(mMisc::GetOutlookVersion(m_services) < 14, L"CExplorerMenu.OnFolderSwitch",
                     L"ASSERT0");
    if (!m_btnSendNow || !folder) {
        return;
    }
    const auto drafts =
        m_services.ConnectedHost().application->Session()->GetDefaultFolder(olFolderDrafts);
    const bool inDrafts =
        folder->EntryID() == drafts->EntryID() && folder->StoreID() == drafts->StoreID();
    if (inDrafts) {
        m_btnSendNow->SetVisible(true);
        if (m_btnCachedAction) {
            m_btnCachedAction->SetBeginGroup(true);
        }
        m_btnSendNow->SetEnabled(explorer && explorer->GetSelection()->Count() != 0);
    } else {
        m_btnSendNow->SetVisible(false);
        if (m_btnCachedAction) {
            m_btnCachedAction->SetBeginGroup(false);
        }
    }
}

void CExplorerMenu::OnSelectionChange(const std::shared_ptr<Selection>& selection,
                                      const std::shared_ptr<Explorer>& /*explorer*/) {
    mGlobals::LogDebug(L"CExplorerMenu::OnSelectionChange",
                       L"->" + std::to_wstring(selection ? selection->Count() : 0), 3);
    mGlobals::Assert(mMisc::GetOutlookVersion(m_services) < 14, L"CExplorerMenu.OnSelectionChange",
                     L"ASSERT0");
    if (m_btnSendNow && selection && m_btnSendNow->Visible()) {
        m_btnSendNow->SetEnabled(selection->Count() != 0);
    }
}

void CExplorerMenu::OnCachedActionChange(const std::shared_ptr<Explorer>& explorer) {
    mGlobals::LogDebug(L"CExplorerMenu::OnCachedActionChange",
                       L"->" + (explorer ? explorer->CurrentFolder()->Name() : std::wstring()), 3);
    mGlobals::Assert(mMisc::GetOutlookVersion(m_services) < 14,
                     L"CExplorerMenu.OnCachedActionChange", L"ASSERT0");
    if (!m_btnCachedAction) {
        return;
    }
    struct Look {
        const wchar_t* tooltip;
        int32_t picture;
        int32_t mask;
    };
    static constexpr Look kLooks[] = {{L"LID_TOOLTIP_TO", 101, 201},
                                      {L"LID_TOOLTIP_CC", 102, 202},
                                      {L"LID_TOOLTIP_BCC", 103, 203},
                                      {L"LID_TOOLTIP_NEWDL", 104, 204},
                                      {L"LID_TOOLTIP_EXISTINGDL", 105, 205}};
    int32_t code = mExplorer::GetCachedActionOrTo(m_services, explorer);
    // A stored value the add-in never writes counts as none (To), and is reported.
    int32_t stored = mExplorer::kCachedActionNone;
    try {
        stored = m_services.Options().GetCachedAction_(explorer->CurrentFolder()->DefaultItemType(),
                                                       mExplorer::kCachedActionNone);
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a folder of no kind
    }
    if (code < 0 || code > 4 || stored < mExplorer::kCachedActionNone || stored > 4) {
        mGlobals::LogError(L"CExplorerMenu.OnCachedActionChange", -1, L"ASSERT140");
        code = code < 0 || code > 4 ? 0 : code;
    }
    const Look& look = kLooks[code];
    m_btnCachedAction->SetTooltipText(m_services.Lang().Item(look.tooltip));
    mIcons::SetButtonFace(m_services, m_btnCachedAction.Get(), Variant(look.picture),
                          Variant(look.mask));
}

void CExplorerMenu::m_OutlookBars_OnUpdate() {
    try {
        std::shared_ptr<CommandBar> actions;
        try {
            const int32_t id = ActionsMenuId(m_explorer->CurrentFolder()->DefaultItemType());
            if (id != 0) {
                if (auto control =
                        m_OutlookBars->Item(L"Menu Bar")->FindControl(0, id, L"", false, false)) {
                    actions = control->GetCommandBar();
                    if (actions->FindControl(0, 0, m_sTag + L"Actions", false, false)) {
                        actions.reset();
                    }
                }
            }
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no Actions menu to use
            actions.reset();
        }
        if (actions) {
            AddActionsMenu(actions);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(kOnUpdate, e);
        return;
    }
    try {
        const int32_t version = mMisc::GetOutlookVersion(m_services);
        if (m_contextMenu && (version == 10 || version == 11)) {
            std::shared_ptr<CommandBar> bar;
            try {
                bar = m_OutlookBars->Item(L"Context Menu");
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no such menu here
            }
            if (bar) {
                m_contextMenu->CreateItemContextMenu(bar, nullptr);
            }
            bar.reset();
            try {
                bar = m_OutlookBars->Item(L"Folder Context Menu");
            } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): no such menu here
            }
            if (bar) {
                m_contextMenu->CreateFolderContextMenu(bar, L"", L"");
            }
        }
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the menus are rebuilt next time
    }
}

void CExplorerMenu::AddActionsMenu(const std::shared_ptr<CommandBar>& actions) {
    mGlobals::LogDebug(kOnUpdate, L"Add Actions Menu", 2);
    int32_t before = 0;
    if (auto forward = actions->FindControl(0, kIdForward, L"", false, false)) {
        before = forward->Index() + 1;
    }
    auto popup = actions->Controls()->Add(msoControlPopup, 1, L"", before, true);
    popup->SetBeginGroup(true);
    popup->SetCaption(m_services.Ports().resources.LoadResString(IDS_PRODUCT_SHORT_NAME));
    popup->SetTag(m_sTag + L"Actions");
    popup->SetVisible(true);
    using namespace mExplorer;
    Services& s = m_services;
    m_btnTO1.Set(AddBtnTO(s, popup, m_sTag + L"TO"), [this] { m_btnTO_Click(); });
    m_btnCC1.Set(AddBtnCC(s, popup, m_sTag + L"CC"), [this] { m_btnCC_Click(); });
    m_btnBCC1.Set(AddBtnBCC(s, popup, m_sTag + L"BCC"), [this] { m_btnBCC_Click(); });
    m_btnNewDL1.Set(AddBtnNewDL(s, popup, m_sTag + L"NEWDL"), [this] { m_btnNewDL_Click(); });
    m_btnNewDLFromFolder1.Set(AddBtnNewDLFromFolder(s, popup, m_sTag + L"NEWDLFROMFOLDER"),
                              [this] { m_btnNewDLFromFolder_Click(); });
    m_btnExistingDL1.Set(AddBtnExistingDL(s, popup, m_sTag + L"EXISTINGDL"),
                         [this] { m_btnExistingDL_Click(); });
    m_btnOptions1.Set(AddBtnOptions(s, popup, m_sTag + L"OPTIONS"),
                      [this] { m_btnOptions_Click(); });
    m_btnLastReport1.Set(AddBtnLastReport(s, popup, m_sTag + L"LASTREPORT"),
                         [this] { m_btnLastReport_Click(); });
    m_btnAbout1.Set(AddBtnAbout(s, popup, m_sTag + L"ABOUT"), [this] { m_btnAbout_Click(); });
}

// ---- Clicks -----------------------------------------------------------------------------------

void CExplorerMenu::m_btnSendNow_Click() {
    Run(L"CExplorerMenu::m_btnSendNow_Click",
        [this] { mExplorer::Explorer_SendNow(m_host, ActiveExplorer()); });
}

void CExplorerMenu::m_btnCachedAction_Click() {
    Run(L"CExplorerMenu::m_btnCachedAction_Click", [this] {
        const int32_t code = mExplorer::GetCachedActionOrTo(m_services, ActiveExplorer());
        switch (code) {
            case 0:
                m_btnTO_Click();
                break;
            case 1:
                m_btnCC_Click();
                break;
            case 2:
                m_btnBCC_Click();
                break;
            case 3:
                m_btnNewDL_Click();
                break;
            case 4:
                m_btnExistingDL_Click();
                break;
            default:
                mGlobals::LogError(L"CExplorerMenu::m_btnCachedAction_Click", code, L"ASSERT150");
                break;
        }
    });
}

void CExplorerMenu::m_btnTO_Click() {
    Run(L"CExplorerMenu::m_btnTO_Click", [this] {
        mExplorer::Explorer_DisplayNewMail(m_host, ActiveExplorer(), mExplorer::kTargetTo,
                                           mPlexa::esFromSelection, nullptr, true);
    });
}

void CExplorerMenu::m_btnCC_Click() {
    Run(L"CExplorerMenu::m_btnCC_Click", [this] {
        mExplorer::Explorer_DisplayNewMail(m_host, ActiveExplorer(), mExplorer::kTargetCC,
                                           mPlexa::esFromSelection, nullptr, true);
    });
}

void CExplorerMenu::m_btnBCC_Click() {
    Run(L"CExplorerMenu::m_btnBCC_Click", [this] {
        mExplorer::Explorer_DisplayNewMail(m_host, ActiveExplorer(), mExplorer::kTargetBCC,
                                           mPlexa::esFromSelection, nullptr, true);
    });
}

void CExplorerMenu::m_btnNewDL_Click() {
    Run(L"CExplorerMenu::m_btnNewDL_Click", [this] {
        bool bNoRecipients = false;
        mExplorer::Explorer_NewDL(m_host, ActiveExplorer(), mPlexa::esFromSelection, nullptr,
                                  bNoRecipients, true, true);
    });
}

void CExplorerMenu::m_btnNewDLFromFolder_Click() {
    Run(L"CExplorerMenu::m_btnNewDLFromFolder_Click",
        [this] { mExplorer::Explorer_NewDLFromFolder(m_host, ActiveExplorer()); });
}

void CExplorerMenu::m_btnExistingDL_Click() {
    Run(L"CExplorerMenu::m_btnExistingDL_Click", [this] {
        mExplorer::Explorer_ExistingDL(m_host, ActiveExplorer(), mPlexa::esFromSelection, nullptr,
                                       true);
    });
}

void CExplorerMenu::m_btnOptions_Click() {
    Run(L"CExplorerMenu::m_btnOptions_Click", [this] { mExplorer::ShowOptions(m_host); });
}

void CExplorerMenu::m_btnLastReport_Click() {
    Run(L"CExplorerMenu::m_btnLastReport_Click",
        [this] { mExplorer::ShowLastSendReport(m_services); });
}

void CExplorerMenu::m_btnAbout_Click() {
    Run(L"CExplorerMenu::m_btnAbout_Click", [this] { mExplorer::ShowAbout(m_services); });
}

void CExplorerMenu::m_btnDebug_Click() {
    Run(L"CExplorerMenu::m_btnDebug_Click", [this] { mExplorer::ShowDebugForm(m_host); });
}

}  // namespace plexa
