// The dialog in which the user picks an existing distribution list: the folder tree on one side
// and, for the chosen contacts folder, a grid of its lists (list icon, flag icon, subject,
// categories, notes), narrowed by a find box and sorted by a click on the subject header. Only
// the rows on the screen are filled: a refresh fills the first page, and scrolling fills the
// rows that came into view once the scroll timer fires after a short pause. The grid scrolls
// with the mouse wheel through a replaced window procedure (mMouseWheel).
//
// ShowChooseDList shows it modal and returns the chosen list, or nothing when the user cancelled.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "core/Form.h"
#include "core/Signal.h"
#include "distlists/mMouseWheel.h"
#include "platform/ITimers.h"

namespace plexa {

class COutlookItems;
class FlexGrid;
class MAPIFolder;
class OutlookItem;
class Services;
class TreeView;
struct TreeNode;

// Shows frmChooseDL modal; the list the user picked, or nothing (cancelled, or an error, which
// is logged).
std::shared_ptr<OutlookItem> ShowChooseDList(Services& services);

class frmChooseDL : public Form {
public:
    // The grid's columns.
    enum Column : int32_t {
        colEntryID = 0,
        colIcon = 1,
        colFlag = 2,
        colSubject = 3,
        colCategories = 4,
        colBody = 5,
        colEmpty = 6,
        colCount = 7,
    };
    // Rows filled at once.
    static constexpr int32_t kPageSize = 7;
    // The pause after scrolling before the rows that came into view are filled (ms).
    static constexpr uint32_t kScrollPause = 250;
    static constexpr const wchar_t* kBaseFilter = L"[MessageClass] = \"IPM.DistList\"";
    static constexpr const wchar_t* kSortPlain = L"[Subject]";
    static constexpr const wchar_t* kSortAdvanced = L"urn:schemas:mailheader:subject";
    static constexpr const wchar_t* kDaslTemplate =
        L"\"http://schemas.microsoft.com/mapi/proptag/0x001a001e\" LIKE '%IPM.DistList%' And "
        L"urn:schemas:mailheader:subject LIKE '%#'";
    static constexpr const wchar_t* kHelpTopic =
        L"Add_recipients_to_the_existing_Distribution_Lists.htm";

    explicit frmChooseDL(Services& services);
    ~frmChooseDL() override;

    void OnLoad() override;
    bool OnQueryUnload() override;
    void OnUnload() override;

    // The list chosen with Next; nothing until then.
    const std::shared_ptr<OutlookItem>& Result() const { return m_result; }

    TreeView& Tree() { return *m_tree; }
    FlexGrid& Grid() { return *m_grid; }
    // The set of lists the grid shows; nullptr while no contacts folder is chosen.
    COutlookItems* ViewItems() { return m_ViewItems.get(); }

    // The user's actions.
    void tvwFolders_NodeClick(const TreeNode& node);
    void ctlGrid_Scroll();
    void ctlGrid_MouseDown(int32_t row, int32_t col);
    void ctlGrid_DblClick();
    void KeyPress(int32_t keyAscii);
    void tmrScroll_Timer();
    void btnFind_Click();
    void btnClear_Click();
    void txtFind_KeyPress(int32_t keyAscii);
    void btnNext_Click();
    void btnCancel_Click();
    void btnHelp_Click();

    bool UseAdvancedSearch();
    // The sort property for a column: plain ("[Subject]") or advanced; "" for another column.
    std::wstring GetSortingString(int32_t column, bool advanced);
    // The column the set is sorted by; -1 for none.
    int32_t GetSortingColumn();
    // The flag icon index of a list: 0 none, 1 completed, 2 flagged, 3 to 7 with colour 1 to 5.
    int32_t GetFlagIconIndex(const std::shared_ptr<OutlookItem>& item);
    void Find(const std::wstring& text);
    void RefreshGrid();
    void DrawItems(int32_t firstRow);

private:
    using IconKeys = std::map<std::wstring, std::wstring>;

    void FillTree();
    void FillTreeLevel(const std::wstring& parentKey, const std::shared_ptr<class Folders>& folders,
                       const IconKeys& keys);
    IconKeys DefaultFolderIconKeys();
    std::wstring GetFolderIconKey(const std::shared_ptr<MAPIFolder>& folder, const IconKeys& keys);
    void BindFolder(const std::shared_ptr<MAPIFolder>& folder);
    void EnableListControls(bool enabled);
    int32_t ListCount();
    void StopScrollTimer();
    void Close();

    Services& m_services;
    TreeView* m_tree = nullptr;
    FlexGrid* m_grid = nullptr;
    std::unique_ptr<COutlookItems> m_ViewItems;
    Connection m_viewItemsChange;
    mMouseWheel::WheelHookState m_wheel;
    TimerId m_scrollTimer = 0;
    std::shared_ptr<OutlookItem> m_result;
    bool m_closingByProgram = false;
};

}  // namespace plexa
