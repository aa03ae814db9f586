#include "ui/CExplorerContextMenu.h"

#include <array>

#include "core/HostError.h"
#include "host/office/CommandBars.h"
#include "host/outlook/Application.h"
#include "host/outlook/MAPIFolder.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "platform/IResources.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mMisc.h"
#include "ui/ExplorerHost.h"
#include "ui/mExplorer.h"
#include "ui/mExplorerButtons.h"

namespace plexa {

namespace {

constexpr const wchar_t* kItemSource = L"CExplorerContextMenu.CreateItemContextMenu";
constexpr const wchar_t* kFolderSource = L"CExplorerContextMenu.CreateFolderContextMenu";
// Built-in commands whose menus the add-in stays out of, looked for in this order.
constexpr std::array<int32_t, 7> kStayOutIds = {7887, 1747, 1880, 1878, 1746, 1917, 1916};
constexpr int32_t kIdForward = 356;
constexpr int32_t kIdFollowUp = 1970;
constexpr int32_t kIdFolderOpen = 2500;

// Clears the bar's no-customising protection while the add-in adds to it, and puts it back.
class Unprotected {
public:
    explicit Unprotected(std::shared_ptr<CommandBar> bar) : m_bar(std::move(bar)) {
        m_protection = m_bar->Protection();
        m_bar->SetProtection(m_protection & ~msoBarNoCustomize);
    }
    ~Unprotected() {
        try {
            m_bar->SetProtection(m_protection);
        } catch (const HostError& e) {
            mGlobals::LogError(L"CExplorerContextMenu.Protection", e);
        }
    }
    Unprotected(const Unprotected&) = delete;
    Unprotected& operator=(const Unprotected&) = delete;

private:
    std::shared_ptr<CommandBar> m_bar;
    int32_t m_protection = 0;
};

std::shared_ptr<CommandBarControl> AddSubmenu(Services& services,
                                              const std::shared_ptr<CommandBar>& bar,
                                              int32_t before, const std::wstring& tag) {
    auto popup = bar->Controls()->Add(msoControlPopup, 1, L"", before, true);
    popup->SetBeginGroup(true);
    popup->SetCaption(services.Ports().resources.LoadResString(IDS_PRODUCT_SHORT_NAME));
    popup->SetTag(tag);
    popup->SetVisible(true);
    return popup;
}

}  // namespace

CExplorerContextMenu::CExplorerContextMenu(ExplorerHost& host)
    : m_host(host), m_services(host.services) {
    try {
        m_sTag = mGlobals::MakeUniqueTag(m_services.Ports());
    } catch (const HostError& e) {
        mGlobals::LogError(L"CExplorerContextMenu.Class_Initialize", e);
    }
}

CExplorerContextMenu::~CExplorerContextMenu() {
    DoneItemContextMenu();
    DoneFolderContextMenu();
}

void CExplorerContextMenu::Run(const wchar_t* handler, const std::function<void()>& command) {
    mGlobals::LogDebug(handler, L"->", 2);
    try {
        command();
    } catch (const HostError& e) {
        mGlobals::LogError(handler, e);
    }
}

std::shared_ptr<Explorer> CExplorerContextMenu::ActiveExplorer() {
    return m_services.ConnectedHost().application->ActiveExplorer();
}

bool CExplorerContextMenu::SelectionHasRecipientItems(const std::shared_ptr<Selection>& selection) {
    const int32_t count = selection->Count();
    for (int32_t i = 1; i <= count; ++i) {
        switch (selection->Item(i)->Class()) {
            case olAppointment:
            case olContact:
            case olMail:
            case olTask:
            case olDistributionList:
                return true;
            default:
                break;
        }
    }
    return false;
}

void CExplorerContextMenu::CreateItemContextMenu(const std::shared_ptr<CommandBar>& bar,
                                                 const std::shared_ptr<Selection>& selection) {
    mGlobals::LogDebug(L"CExplorerContextMenu::CreateItemContextMenu",
                       L"->" + std::to_wstring(selection ? selection->Count() : 0), 3);
    try {
        if (mMisc::GetOutlookVersion(m_services) <= 9 || !bar) {
            return;
        }
        for (int32_t id : kStayOutIds) {
            if (bar->FindControl(0, id, L"", false, false)) {
                mGlobals::LogDebug(
                    kItemSource,
                    L"Dont add Plexa to contextmenu - Finded control id = " + std::to_wstring(id),
                    2);
                return;
            }
        }
        int32_t before = 0;
        if (auto forward = bar->FindControl(0, kIdForward, L"", false, false)) {
            before = forward->Index() + 1;
        } else if (auto followUp = bar->FindControl(0, kIdFollowUp, L"", false, false)) {
            before = followUp->Index() + 1;
        }
        const Unprotected unprotected(bar);
        if (bar->FindControl(0, 0, ItemTag(), false, false)) {
            return;
        }
        mGlobals::LogDebug(kItemSource, L"Creating...", 2);
        const auto popup = AddSubmenu(m_services, bar, before, ItemTag());
        const bool recipients = !selection || SelectionHasRecipientItems(selection);
        if (recipients) {
            using namespace mExplorer;
            m_btnTO2.Set(AddBtnTO(m_services, popup, L""), [this] {
                Run(L"CExplorerContextMenu::m_btnTO2_Click", [this] {
                    Explorer_DisplayNewMail(m_host, ActiveExplorer(), kTargetTo,
                                            mPlexa::esFromSelection, nullptr, true);
                });
            });
            m_btnCC2.Set(AddBtnCC(m_services, popup, L""), [this] {
                Run(L"CExplorerContextMenu::m_btnCC2_Click", [this] {
                    Explorer_DisplayNewMail(m_host, ActiveExplorer(), kTargetCC,
                                            mPlexa::esFromSelection, nullptr, true);
                });
            });
            m_btnBCC2.Set(AddBtnBCC(m_services, popup, L""), [this] {
                Run(L"CExplorerContextMenu::m_btnBCC2_Click", [this] {
                    Explorer_DisplayNewMail(m_host, ActiveExplorer(), kTargetBCC,
                                            mPlexa::esFromSelection, nullptr, true);
                });
            });
            m_btnNewDL2.Set(AddBtnNewDL(m_services, popup, L""), [this] {
                Run(L"CExplorerContextMenu::m_btnNewDL2_Click", [this] {
                    bool bNoRecipients = false;
                    Explorer_NewDL(m_host, ActiveExplorer(), mPlexa::esFromSelection, nullptr,
                                   bNoRecipients, true, true);
                });
            });
            m_btnNewDLFromFolder2.Set(AddBtnNewDLFromFolder(m_services, popup, L""), [this] {
                Run(L"CExplorerContextMenu::m_btnNewDLFromFolder2_Click",
                    [this] { Explorer_NewDLFromFolder(m_host, ActiveExplorer()); });
            });
            m_btnExistingDL2.Set(AddBtnExistingDL(m_services, popup, L""), [this] {
                Run(L"CExplorerContextMenu::m_btnExistingDL2_Click", [this] {
                    Explorer_ExistingDL(m_host, ActiveExplorer(), mPlexa::esFromSelection, nullptr,
                                        true);
                });
            });
        } else {
            m_btnTO2.Reset();
            m_btnCC2.Reset();
            m_btnBCC2.Reset();
            m_btnNewDL2.Reset();
            m_btnNewDLFromFolder2.Reset();
            m_btnExistingDL2.Reset();
        }
        m_btnOptions2.Set(mExplorer::AddBtnOptions(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnOptions2_Click",
                [this] { mExplorer::ShowOptions(m_host); });
        });
        if (!recipients) {
            m_btnOptions2->SetBeginGroup(false);
        }
        m_btnAbout2.Set(mExplorer::AddBtnAbout(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnAbout2_Click",
                [this] { mExplorer::ShowAbout(m_services); });
        });
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the menu may be closing
    }
}

void CExplorerContextMenu::CreateFolderContextMenu(const std::shared_ptr<CommandBar>& bar,
                                                   const std::wstring& folderEntryID,
                                                   const std::wstring& folderStoreID) {
    mGlobals::LogDebug(L"CExplorerContextMenu::CreateFolderContextMenu",
                       L"->" + folderEntryID + L"," + folderStoreID, 3);
    try {
        if (mMisc::GetOutlookVersion(m_services) <= 9 || !bar) {
            return;
        }
        m_folderEntryID = folderEntryID;
        m_folderStoreID = folderStoreID;
        m_folderBar = bar;
        std::shared_ptr<MAPIFolder> folder;
        if (mMisc::GetOutlookVersion(m_services) >= 12) {
            mGlobals::Assert(!folderEntryID.empty() && !folderStoreID.empty(), kFolderSource,
                             L"ASSERT259");
            folder = m_services.ConnectedHost().application->Session()->GetFolderFromID(
                folderEntryID, folderStoreID);
        } else {
            folder = GetContextFolder(bar, false);
        }
        int32_t itemType = -1;
        try {
            itemType = folder->DefaultItemType();
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): a folder of no kind
        }
        if (itemType < 0 || itemType > 3) {
            return;
        }
        const Unprotected unprotected(bar);
        if (bar->FindControl(0, 0, FolderTag(), false, false)) {
            return;
        }
        mGlobals::LogDebug(kFolderSource, L"Creating...", 2);
        const auto popup = AddSubmenu(m_services, bar, 0, FolderTag());
        using namespace mExplorer;
        m_btnTO3.Set(AddBtnTO(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnTO3_Click", [this] {
                Explorer_DisplayNewMail(m_host, ActiveExplorer(), kTargetTo, mPlexa::esFromFolder,
                                        GetSelectedFolder(), true);
            });
        });
        m_btnCC3.Set(AddBtnCC(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnCC3_Click", [this] {
                Explorer_DisplayNewMail(m_host, ActiveExplorer(), kTargetCC, mPlexa::esFromFolder,
                                        GetSelectedFolder(), true);
            });
        });
        m_btnBCC3.Set(AddBtnBCC(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnBCC3_Click", [this] {
                Explorer_DisplayNewMail(m_host, ActiveExplorer(), kTargetBCC, mPlexa::esFromFolder,
                                        GetSelectedFolder(), true);
            });
        });
        m_btnNewDL3.Set(AddBtnNewDL(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnNewDL3_Click", [this] {
                bool bNoRecipients = false;
                Explorer_NewDL(m_host, ActiveExplorer(), mPlexa::esFromFolder, GetSelectedFolder(),
                               bNoRecipients, true, true);
            });
        });
        m_btnExistingDL3.Set(AddBtnExistingDL(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnExistingDL3_Click", [this] {
                Explorer_ExistingDL(m_host, ActiveExplorer(), mPlexa::esFromFolder,
                                    GetSelectedFolder(), true);
            });
        });
        m_btnOptions3.Set(AddBtnOptions(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnOptions3_Click",
                [this] { mExplorer::ShowOptions(m_host); });
        });
        m_btnAbout3.Set(AddBtnAbout(m_services, popup, L""), [this] {
            Run(L"CExplorerContextMenu::m_btnAbout3_Click",
                [this] { mExplorer::ShowAbout(m_services); });
        });
    } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): the menu may be closing
    }
}

void CExplorerContextMenu::DoneItemContextMenu() {
    mGlobals::LogDebug(L"CExplorerContextMenu::DoneItemContextMenu", L"->", 3);
    m_btnTO2.Reset();
    m_btnCC2.Reset();
    m_btnBCC2.Reset();
    m_btnNewDL2.Reset();
    m_btnNewDLFromFolder2.Reset();
    m_btnExistingDL2.Reset();
    m_btnOptions2.Reset();
    m_btnAbout2.Reset();
}

void CExplorerContextMenu::DoneFolderContextMenu() {
    mGlobals::LogDebug(L"CExplorerContextMenu::DoneFolderContextMenu", L"->", 3);
    m_btnTO3.Reset();
    m_btnCC3.Reset();
    m_btnBCC3.Reset();
    m_btnNewDL3.Reset();
    m_btnExistingDL3.Reset();
    m_btnOptions3.Reset();
    m_btnAbout3.Reset();
    m_folderEntryID.clear();
    m_folderStoreID.clear();
    m_folderBar.reset();
}

std::shared_ptr<MAPIFolder> CExplorerContextMenu::GetSelectedFolder() {
    if (mMisc::GetOutlookVersion(m_services) >= 12) {
        std::shared_ptr<MAPIFolder> folder;
        try {
            folder = m_services.ConnectedHost().application->Session()->GetFolderFromID(
                m_folderEntryID, m_folderStoreID);
        } catch (const HostError&) {  // NOLINT(bugprone-empty-catch): asserted below
        }
        if (folder) {
            return folder;
        }
        mGlobals::Assert(false, L"CExplorerContextMenu.GetSelectedFolder", L"ASSERT385");
    }
    if (!m_folderBar) {
        throw HostError(static_cast<int32_t>(0x80004005), L"The folder menu is gone", L"Plexa");
    }
    return GetContextFolder(m_folderBar, true);
}

std::shared_ptr<MAPIFolder> CExplorerContextMenu::GetContextFolder(
    const std::shared_ptr<CommandBar>& bar, bool bForAction) {
    const auto explorer = ActiveExplorer();
    auto candidate = explorer->CurrentFolder();
    std::wstring name;
    if (auto open = bar->FindControl(0, kIdFolderOpen, L"", false, false)) {
        const std::wstring caption = open->Caption();
        const auto quote = caption.find(L'"');
        if (quote != std::wstring::npos && caption.size() > quote + 1) {
            name = caption.substr(quote + 1, caption.size() - quote - 2);
        }
    }
    // A menu that names no folder is the current folder's.
    if (name.empty() || name == candidate->Name()) {
        return candidate;
    }
    const std::wstring storeID = candidate->StoreID();
    const auto session = m_services.ConnectedHost().application->GetNamespace(L"MAPI");
    const auto stores = session->GetFolders();
    std::shared_ptr<MAPIFolder> root;
    for (int32_t i = 1; i <= stores->Count(); ++i) {
        auto top = stores->Item(i);
        if (top->StoreID() == storeID) {
            root = top;
            break;
        }
    }
    if (!root) {
        return candidate;
    }
    std::vector<std::wstring> found;
    FindFoldersByName(root, name, found, 2);
    if (found.empty()) {
        return candidate;
    }
    auto folder = session->GetFolderFromID(found.front(), storeID);
    if (found.size() == 2 && bForAction) {
        // The user sees which of the folders of that name the command works on.
        explorer->SetCurrentFolder(folder);
        m_services.LetMessagesRun();
    }
    return folder;
}

void CExplorerContextMenu::FindFoldersByName(const std::shared_ptr<MAPIFolder>& parent,
                                             const std::wstring& name,
                                             std::vector<std::wstring>& results,
                                             std::size_t maximum) {
    const auto folders = parent->GetFolders();
    const int32_t count = folders->Count();
    for (int32_t i = 1; i <= count && results.size() < maximum; ++i) {
        const auto folder = folders->Item(i);
        if (folder->Name() == name) {
            results.push_back(folder->EntryID());
            if (results.size() >= maximum) {
                return;
            }
        }
        FindFoldersByName(folder, name, results, maximum);
    }
}

}  // namespace plexa
