#include "distlists/frmChooseDL.h"

#include <algorithm>

#include "core/FlexGrid.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "core/TreeView.h"
#include "distlists/COutlookItems.h"
#include "distlists/mWindowStyle.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/redemption/Redemption.h"
#include "platform/IUiShell.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"
#include "settings/mHelp.h"

namespace plexa {

namespace {

constexpr int32_t kFlagStatusFlagged = 2;
constexpr int32_t kFlagImages = 8;

// The default folders that have icons of their own, by their OlDefaultFolders code.
struct DefaultFolderIcon {
    int32_t folderType;
    const wchar_t* key;
};
constexpr DefaultFolderIcon kDefaultFolderIcons[] = {
    {olFolderDeletedItems, L"DeletedItems"},
    {olFolderDrafts, L"Drafts"},
    {olFolderInbox, L"Inbox"},
    {olFolderOutbox, L"Outbox"},
    {olFolderSentMail, L"SentMail"},
    {olFolderJunk, L"Junk"},
};

// A text as a literal inside a quoted filter value: the quote character doubled.
std::wstring QuoteInside(const std::wstring& value, wchar_t quote) {
    std::wstring out;
    out.reserve(value.size());
    for (wchar_t ch : value) {
        out.push_back(ch);
        if (ch == quote) {
            out.push_back(quote);
        }
    }
    return out;
}

}  // namespace

std::shared_ptr<OutlookItem> ShowChooseDList(Services& services) {
    try {
        frmChooseDL form(services);
        services.Ports().ui.Show(form, true);
        return form.Result();
    } catch (const HostError& e) {
        mGlobals::LogError(L"mGlobals::ShowChooseDList", e);
        return nullptr;
    }
}

frmChooseDL::frmChooseDL(Services& services) : Form(L"frmChooseDL"), m_services(services) {
    caption = L"Plexa - Choose Distribution List";
    m_tree = &AddControl<TreeView>(L"tvwFolders");
    m_tree->onNodeClick = [this](const TreeNode& node) { tvwFolders_NodeClick(node); };
    m_tree->onKeyPress = [this](int32_t key) { KeyPress(key); };
    m_grid = &AddControl<FlexGrid>(L"ctlGrid");
    m_grid->onScroll = [this] { ctlGrid_Scroll(); };
    m_grid->onMouseDown = [this](int32_t row, int32_t col) { ctlGrid_MouseDown(row, col); };
    m_grid->onDblClick = [this] { ctlGrid_DblClick(); };
    m_grid->onKeyPress = [this](int32_t key) { KeyPress(key); };
    // The header texts come from these labels, which the language file translates.
    Add(L"lblSubjectColumn", ControlType::Label).caption = L"Subject";
    Add(L"lblCategoriesColumn", ControlType::Label).caption = L"Categories";
    Add(L"lblBodyColumn", ControlType::Label).caption = L"Notes";
    for (const wchar_t* name : {L"lblSubjectColumn", L"lblCategoriesColumn", L"lblBodyColumn"}) {
        (*this)[name].visible = false;
    }
    Add(L"txtFind", ControlType::TextBox);
    AddButton(L"btnFind", L"Find", [this] { btnFind_Click(); });
    AddButton(L"btnClear", L"Clear", [this] { btnClear_Click(); });
    // New has no action: it stays hidden.
    Add(L"btnNew", ControlType::CommandButton).caption = L"New";
    (*this)[L"btnNew"].visible = false;
    AddButton(L"btnNext", L"Next", [this] { btnNext_Click(); });
    AddButton(L"btnCancel", L"Cancel", [this] { btnCancel_Click(); });
    AddButton(L"btnHelp", L"Help", [this] { btnHelp_Click(); });
    // The pictures the grid shows, kept on the form as its image controls.
    for (const wchar_t* name : {L"imgDL", L"imgHeader1", L"imgHeader2", L"imgSort1", L"imgSort2"}) {
        Add(name, ControlType::Image).visible = false;
    }
    for (int i = 0; i < kFlagImages; ++i) {
        Add(L"imgFlag", ControlType::Image, i).visible = false;
    }
    Add(L"tmrScroll", ControlType::Timer).enabled = false;
}

frmChooseDL::~frmChooseDL() {
    StopScrollTimer();
    try {
        IUiShell& ui = m_services.Ports().ui;
        if (ui.IsLoaded(*this)) {
            m_closingByProgram = true;
            ui.Unload(*this);
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::Class_Terminate", e);
    }
    mMouseWheel::WheelUnHook(m_services.Ports().windows, m_wheel);
}

bool frmChooseDL::UseAdvancedSearch() {
    return m_services.OutlookVersion() > 9;
}

void frmChooseDL::OnLoad() {
    m_result = nullptr;
    m_closingByProgram = false;
    try {
        m_services.Lang().LocalizeForm(*this);
        mMouseWheel::WheelHook(m_services.Ports().windows, m_wheel, m_grid->hWnd);
        mWindowStyle::SetWindowStyle(m_services.Ports().windows, m_tree->hWnd, 0,
                                     mWindowStyle::TVS_LINESATROOT, false);
        FillTree();

        auto session = m_services.ConnectedHost().application->Session();
        auto contacts = session->GetDefaultFolder(olFolderContacts);
        m_tree->selectedKey = contacts->EntryID();
        m_ViewItems = std::make_unique<COutlookItems>(m_services);
        m_ViewItems->Init(contacts, kBaseFilter, kSortPlain, kSortAdvanced, false);
        m_viewItemsChange = m_ViewItems->OnChange.Connect([this] {
            // A change of the folder: a search runs again, then the grid shows the new set.
            if (m_ViewItems->IsAdvancedRestrict()) {
                m_ViewItems->AdvancedRestrict(m_ViewItems->AdvancedRestrict());
            }
            RefreshGrid();
        });

        FlexGrid& grid = *m_grid;
        grid.SetCols(colCount);
        grid.SetRows(2);
        static constexpr int32_t kWidths[colCount] = {0, 300, 300, 2535, 2400, 3000, 0};
        for (int32_t c = 0; c < colCount; ++c) {
            grid.SetColWidth(c, kWidths[c]);
        }
        grid.SetTextMatrix(0, colSubject, (*this)[L"lblSubjectColumn"].caption);
        grid.SetTextMatrix(0, colCategories, (*this)[L"lblCategoriesColumn"].caption);
        grid.SetTextMatrix(0, colBody, (*this)[L"lblBodyColumn"].caption);
        for (int32_t c = colSubject; c <= colBody; ++c) {
            grid.SetColAlignment(c, flex::AlignLeftCenter);
        }
        grid.Cell(0, colIcon) = GridCell{L"", L"imgHeader1", flex::AlignCenterCenter};
        grid.Cell(0, colFlag) = GridCell{L"", L"imgHeader2", flex::AlignCenterCenter};
        RefreshGrid();
        grid.row = 1;
        grid.col = 0;
        grid.rowSel = 1;
        grid.colSel = colCount - 1;

        picture = m_services.Options().MAIN_ICON();
        (*this)[L"btnNext"].enabled = ListCount() > 0;
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::Form_Load", e);
    }
}

bool frmChooseDL::OnQueryUnload() {
    return true;  // the close box is Cancel
}

void frmChooseDL::OnUnload() {
    StopScrollTimer();
    mMouseWheel::WheelUnHook(m_services.Ports().windows, m_wheel);
    m_viewItemsChange.Disconnect();
    if (m_ViewItems) {
        m_ViewItems->Done();
        m_ViewItems.reset();
    }
}

// ---- the folder tree --------------------------------------------------------------------------

frmChooseDL::IconKeys frmChooseDL::DefaultFolderIconKeys() {
    IconKeys keys;
    auto session = m_services.ConnectedHost().application->Session();
    std::wstring defaultTop;
    try {
        auto inbox = session->GetDefaultFolder(olFolderInbox);
        if (auto top = std::dynamic_pointer_cast<MAPIFolder>(inbox->Parent())) {
            defaultTop = top->EntryID();
            keys[defaultTop] = L"Personal";
        }
    } catch (const HostError&) {
        // A store without an Inbox: its top folder gets the plain key.
    }
    for (const auto& [folderType, key] : kDefaultFolderIcons) {
        try {
            keys[session->GetDefaultFolder(folderType)->EntryID()] = key;
        } catch (const HostError&) {
            // Not every store has every default folder (Junk E-mail came later).
        }
    }
    auto tops = session->GetFolders();
    for (int32_t i = 1; i <= tops->Count(); ++i) {
        const std::wstring id = tops->Item(i)->EntryID();
        if (id != defaultTop) {
            keys[id] = L"PersonalOther";
        }
    }
    return keys;
}

std::wstring frmChooseDL::GetFolderIconKey(const std::shared_ptr<MAPIFolder>& folder,
                                           const IconKeys& keys) {
    const auto it = keys.find(folder->EntryID());
    if (it != keys.end()) {
        return it->second;
    }
    const int32_t type = folder->DefaultItemType();
    switch (type) {
        case olMailItem:
            return L"Folder";
        case olAppointmentItem:
            return L"Calendar";
        case olContactItem:
        case olDistributionListItem:
            return L"Contacts";
        case olTaskItem:
            return L"Tasks";
        case olJournalItem:
            return L"Journal";
        case olNoteItem:
            return L"Notes";
        case olPostItem:
            mGlobals::LogWarning(L"frmChooseDL::GetFolderIconKey",
                                 L"olPostItem, Folder = " + mGlobals::GetFolderPath(folder), 1);
            return L"Folder";
        default:
            mGlobals::LogError(L"frmChooseDL::GetFolderIconKey", 0,
                               L"Invalid oFolder.DefaultItemType = " + std::to_wstring(type));
            return L"Folder";
    }
}

void frmChooseDL::FillTree() {
    try {
        m_tree->Clear();
        m_tree->sorted = true;
        const IconKeys keys = DefaultFolderIconKeys();
        FillTreeLevel(L"", m_services.ConnectedHost().application->Session()->GetFolders(), keys);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::FillTree", e);
    }
}

void frmChooseDL::FillTreeLevel(const std::wstring& parentKey,
                                const std::shared_ptr<Folders>& folders, const IconKeys& keys) {
    const int32_t count = folders->Count();
    for (int32_t i = 1; i <= count; ++i) {
        // One folder that cannot be read leaves out itself and its subfolders, not its siblings.
        try {
            auto folder = folders->Item(i);
            const std::wstring key = folder->EntryID();
            TreeNode& node =
                m_tree->AddNode(parentKey, key, folder->Name(), GetFolderIconKey(folder, keys));
            node.sorted = true;
            FillTreeLevel(key, folder->GetFolders(), keys);
        } catch (const HostError& e) {
            mGlobals::LogError(L"frmChooseDL::FillTree", e);
        }
    }
}

void frmChooseDL::tvwFolders_NodeClick(const TreeNode& node) {
    try {
        const auto current = m_ViewItems ? m_ViewItems->GetFolder() : nullptr;
        if (current != nullptr && current->EntryID() == node.key) {
            return;
        }
        auto folder = m_services.ConnectedHost().application->Session()->GetFolderFromID(node.key);
        if (folder->DefaultItemType() == olContactItem) {
            BindFolder(folder);
        } else {
            EnableListControls(false);
            (*this)[L"btnNext"].enabled = false;
            if (m_ViewItems) {
                m_ViewItems->Done();
            }
            RefreshGrid();
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::tvwFolders_NodeClick", e);
    }
}

void frmChooseDL::BindFolder(const std::shared_ptr<MAPIFolder>& folder) {
    if (!m_ViewItems) {
        m_ViewItems = std::make_unique<COutlookItems>(m_services);
    }
    // A folder whose items cannot be read binds nothing (logged): the grid stays empty.
    m_ViewItems->Init(folder, kBaseFilter, kSortPlain, kSortAdvanced, false);
    (*this)[L"txtFind"].text.clear();
    EnableListControls(true);
    RefreshGrid();
    (*this)[L"btnNext"].enabled = ListCount() > 0;
}

void frmChooseDL::EnableListControls(bool enabled) {
    m_grid->enabled = enabled;
    for (const wchar_t* name : {L"btnNew", L"btnFind", L"btnClear", L"txtFind"}) {
        (*this)[name].enabled = enabled;
    }
}

int32_t frmChooseDL::ListCount() {
    return m_ViewItems && m_ViewItems->GetFolder() ? m_ViewItems->Count() : 0;
}

// ---- the grid ---------------------------------------------------------------------------------

void frmChooseDL::RefreshGrid() {
    FlexGrid& grid = *m_grid;
    try {
        const int32_t count = ListCount();
        grid.redraw = false;
        grid.enabled = count >= 1;
        grid.SetRows(1);
        grid.SetRows(count + 2);
        grid.SetRowHeight(count + 1, 0);
        if (count == 0) {
            grid.Cell(0, colSubject).picture.clear();
            grid.redraw = true;
            return;
        }
        const int32_t row = grid.row;
        const int32_t col = grid.col;
        const int32_t rowSel = grid.rowSel;
        const int32_t colSel = grid.colSel;
        grid.SetTopRow(1);
        GridCell& header = grid.Cell(0, colSubject);
        if (GetSortingColumn() == colSubject) {
            header.picture = m_ViewItems->SortDescending() ? L"imgSort1" : L"imgSort2";
            header.pictureAlignment = flex::AlignRightCenter;
        } else {
            header.picture.clear();
        }
        DrawItems(1);
        grid.row = std::min(row, count);
        grid.col = col;
        grid.rowSel = std::min(rowSel, count);
        grid.colSel = colSel;
        grid.redraw = true;
    } catch (const HostError& e) {
        grid.redraw = true;
        mGlobals::LogError(L"frmChooseDL::RefreshGrid", e);
    }
}

void frmChooseDL::DrawItems(int32_t firstRow) {
    FlexGrid& grid = *m_grid;
    if (!m_ViewItems || !m_ViewItems->GetFolder()) {
        return;
    }
    const bool plain = !m_ViewItems->IsAdvancedRestrict();
    const bool redrawWasOn = grid.redraw;
    const int32_t row = grid.row;
    const int32_t col = grid.col;
    const int32_t rowSel = grid.rowSel;
    const int32_t colSel = grid.colSel;
    try {
        // The page is read from one set, loaded only while it is read.
        if (plain) {
            m_ViewItems->LoadItems();
        }
        auto safeList = m_services.ConnectedHost().redemption->CreateSafeDistList();
        grid.redraw = false;
        const int32_t count = m_ViewItems->Count();
        const int32_t last = std::min({firstRow + kPageSize - 1, count, grid.Rows() - 2});
        for (int32_t r = std::max(firstRow, 1); r <= last; ++r) {
            auto item = m_ViewItems->Item(r);
            grid.SetTextMatrix(r, colEntryID, item->EntryID());
            grid.SetTextMatrix(r, colSubject, item->Subject());
            grid.SetTextMatrix(r, colCategories, item->Categories());
            safeList->SetItem(item);
            grid.SetTextMatrix(r, colBody, safeList->Body());
            grid.Cell(r, colIcon) = GridCell{L"", L"imgDL", flex::AlignCenterCenter};
            const int32_t flag = GetFlagIconIndex(item);
            grid.Cell(r, colFlag) = GridCell{
                L"",
                flag > 0 && flag < kFlagImages ? L"imgFlag(" + std::to_wstring(flag) + L")" : L"",
                flex::AlignCenterCenter};
        }
        safeList->SetItem(nullptr);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::DrawItems", e);
    }
    if (plain) {
        m_ViewItems->UnLoadItems();
    }
    if (redrawWasOn) {
        grid.row = row;
        grid.col = col;
        grid.rowSel = rowSel;
        grid.colSel = colSel;
        grid.redraw = true;
    }
}

int32_t frmChooseDL::GetFlagIconIndex(const std::shared_ptr<OutlookItem>& item) {
    try {
        auto utils = m_services.ConnectedHost().redemption->CreateMAPIUtils();
        const Variant status = utils->HrGetOneProp(item, mapi::PR_FLAG_STATUS);
        if (status.IsEmpty()) {
            return 0;
        }
        int32_t index = CLng(status);
        if (index == kFlagStatusFlagged) {
            const Variant icon = utils->HrGetOneProp(item, mapi::PR_FLAG_ICON);
            const int32_t colour = icon.IsEmpty() ? 0 : CLng(icon);
            if (colour >= 1 && colour <= 5) {
                index += colour;
            }
        }
        return index;
    } catch (const HostError&) {
        return 0;  // a list whose flag cannot be read shows none
    }
}

void frmChooseDL::ctlGrid_Scroll() {
    if (!m_grid->redraw) {
        return;
    }
    // Restarted at every scroll: the rows are filled once the user pauses.
    m_scrollTimer = m_services.Ports().timers.SetTimer(m_scrollTimer, kScrollPause,
                                                       [this](TimerId) { tmrScroll_Timer(); });
    (*this)[L"tmrScroll"].enabled = m_scrollTimer != 0;
}

void frmChooseDL::tmrScroll_Timer() {
    StopScrollTimer();
    DrawItems(m_grid->TopRow());
}

void frmChooseDL::StopScrollTimer() {
    if (m_scrollTimer != 0) {
        m_services.Ports().timers.KillTimer(m_scrollTimer);
        m_scrollTimer = 0;
    }
    if (Control* timer = Form::Find(L"tmrScroll")) {
        timer->enabled = false;
    }
}

// ---- sorting and finding ----------------------------------------------------------------------

std::wstring frmChooseDL::GetSortingString(int32_t column, bool advanced) {
    if (column == colSubject) {
        return advanced ? kSortAdvanced : kSortPlain;
    }
    mGlobals::LogError(L"frmChooseDL::GetSortingString", 0,
                       L"Invalid column - " + std::to_wstring(column));
    return L"";
}

int32_t frmChooseDL::GetSortingColumn() {
    if (!m_ViewItems) {
        return -1;
    }
    const std::wstring sort =
        UseAdvancedSearch() ? m_ViewItems->AdvancedSort() : m_ViewItems->Sort();
    if (sort == kSortPlain || sort == kSortAdvanced) {
        return colSubject;
    }
    mGlobals::LogError(L"frmChooseDL::GetSortingColumn", 0, L"Invalid sort - " + sort);
    return -1;
}

void frmChooseDL::ctlGrid_MouseDown(int32_t row, int32_t col) {
    if (row != 0 || col != colSubject || !m_ViewItems || !m_ViewItems->GetFolder()) {
        return;
    }
    try {
        const bool descending = GetSortingColumn() == col ? !m_ViewItems->SortDescending() : false;
        m_ViewItems->SortDescending(descending);
        m_ViewItems->Sort(GetSortingString(col, false));
        if (UseAdvancedSearch()) {
            m_ViewItems->AdvancedSort(GetSortingString(col, true));
        }
        RefreshGrid();
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::ctlGrid_MouseDown", e);
    }
}

void frmChooseDL::ctlGrid_DblClick() {
    try {
        if (m_grid->row >= 1 && m_grid->RowHeight(m_grid->row) != 0) {
            btnNext_Click();
        }
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::ctlGrid_DblClick", e);
    }
}

void frmChooseDL::Find(const std::wstring& findText) {
    if (!m_ViewItems || !m_ViewItems->GetFolder()) {
        return;
    }
    try {
        bool advanced = false;
        std::wstring filter;
        if (findText.empty()) {
            filter = kBaseFilter;
        } else if (UseAdvancedSearch()) {
            advanced = true;
            filter = text::ReplaceAll(kDaslTemplate, L"#", QuoteInside(findText, L'\''));
        } else {
            // Subjects from the text up to (not including) the text with its last character
            // one higher: every subject that starts with the text.
            std::wstring upper = findText;
            upper.back() = static_cast<wchar_t>(upper.back() + 1);
            filter = std::wstring(kBaseFilter) + L" And " + L"[Subject] >= \"" +
                     QuoteInside(findText, L'"') + L"\" And [Subject] < \"" +
                     QuoteInside(upper, L'"') + L"\"";
        }
        const bool modeChanges = advanced != m_ViewItems->IsAdvancedRestrict();
        const std::wstring& current =
            advanced ? m_ViewItems->AdvancedRestrict() : m_ViewItems->Restrict();
        if (!modeChanges && current == filter) {
            return;
        }
        if (advanced) {
            m_ViewItems->AdvancedRestrict(filter);
        } else {
            m_ViewItems->Restrict(filter);
        }
        RefreshGrid();
        (*this)[L"btnNext"].enabled = ListCount() > 0;
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::Find", e);
    }
}

void frmChooseDL::btnFind_Click() {
    Find((*this)[L"txtFind"].text);
}

void frmChooseDL::btnClear_Click() {
    (*this)[L"txtFind"].text.clear();
    Find(L"");
}

void frmChooseDL::txtFind_KeyPress(int32_t keyAscii) {
    if (keyAscii == 13) {
        btnFind_Click();
    }
}

void frmChooseDL::KeyPress(int32_t keyAscii) {
    if (keyAscii < 32) {
        return;
    }
    // Typing in the tree or the grid goes to the find box.
    try {
        const Control& box = (*this)[L"txtFind"];
        m_services.Ports().windows.SendMessageA(box.hWnd, wm::Char,
                                                static_cast<std::uintptr_t>(keyAscii), 0);
    } catch (const HostError&) {
        // The key is lost; nothing else is.
    }
}

// ---- the buttons ------------------------------------------------------------------------------

void frmChooseDL::btnNext_Click() {
    try {
        const int32_t count = ListCount();
        if (count == 0) {
            m_services.Ports().ui.MsgBox(m_services.Lang().Item(L"LID_PROMPT_CHOOSE_DL"),
                                         mb::OkOnly | mb::IconExclamation,
                                         m_services.Lang().Item(L"LID_TITLE_CHOOSE_DL"));
            return;
        }
        const int32_t row = std::clamp(m_grid->row, 1, count);
        m_result = m_ViewItems->Item(row);
        Close();
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::btnNext_Click", e);
    }
}

void frmChooseDL::btnCancel_Click() {
    m_result = nullptr;
    Close();
}

void frmChooseDL::btnHelp_Click() {
    mHelp::ShowHelpTopic(m_services, kHelpTopic);
}

void frmChooseDL::Close() {
    m_closingByProgram = true;
    unloaded = true;
    try {
        m_services.Ports().ui.Unload(*this);
    } catch (const HostError& e) {
        mGlobals::LogError(L"frmChooseDL::Close", e);
    }
}

}  // namespace plexa
