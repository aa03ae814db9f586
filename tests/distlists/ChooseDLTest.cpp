// The list chooser on the simulated client: the folder tree, the grid filled one page at a time,
// scrolling by timer and by the mouse wheel, the header sort, finding in both modes, a mail folder
// chosen in the tree, a folder that cannot be read, and the result of ShowChooseDList.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "core/FlexGrid.h"
#include "core/TreeView.h"
#include "distlists/COutlookItems.h"
#include "distlists/frmChooseDL.h"
#include "distlists/mWindowStyle.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "platform/IUiShell.h"
#include "settings/CLang.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "sim/windows/ScriptError.h"

namespace plexa {
namespace {

using sim::FolderRecord;
using sim::ItemRecord;

struct ChooserWorld : test::TestWorld {
    explicit ChooserWorld(int32_t version = 14) {
        session.outlookMajorVersion = version;
        sim.host.SetVersion(std::to_wstring(version) + L".0.0.1");
        services.host = desktop.Ports();
        contacts = session.DefaultFolder(olFolderContacts);
        // The texts of the English language file these tests read.
        services.Lang().ItemSet(L"LID_PROMPT_CHOOSE_DL",
                                L"There is no distribution list to choose in this folder.\nPlease "
                                L"select a contacts folder that contains distribution lists.");
        services.Lang().ItemSet(L"LID_TITLE_CHOOSE_DL", L"Choose Distribution List");
    }
    std::shared_ptr<ItemRecord> List(FolderRecord& folder, const std::wstring& subject) {
        auto list = session.AddItem(folder, olDistributionList);
        list->SetText(mapi::PR_SUBJECT, subject);
        return list;
    }
    // n lists "List 001" ... in the Contacts folder.
    void Lists(int n) {
        for (int i = 1; i <= n; ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"List %03d", i);
            List(*contacts, name);
        }
    }
    // Opens the chooser modeless, so that a test can look at it and act on it.
    void Open() { sim.ui.Show(form, false); }
    std::vector<std::wstring> Column(int32_t col) {
        std::vector<std::wstring> out;
        for (int32_t r = 1; r < form.Grid().Rows(); ++r) {
            out.push_back(form.Grid().TextMatrix(r, col));
        }
        return out;
    }
    int32_t FilledRows() {
        int32_t n = 0;
        for (int32_t r = 1; r < form.Grid().Rows(); ++r) {
            n += form.Grid().TextMatrix(r, frmChooseDL::colSubject).empty() ? 0 : 1;
        }
        return n;
    }
    std::vector<std::wstring> Errors(const std::wstring& source = L"") {
        std::vector<std::wstring> out;
        for (const auto& entry : log.Of(LogLevel::Error, source)) {
            out.push_back(entry.source + L": " + entry.text);
        }
        return out;
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    FolderRecord* contacts = nullptr;
    frmChooseDL form{services};
};

TEST(ChooseDL, LoadingShowsTheSortedTreeAndFillsOnlyTheFirstPage) {
    ChooserWorld w;
    w.session.AddFolder(*w.contacts, L"Clients", olContactItem);
    w.session.AddFolder(*w.contacts, L"Archive", olContactItem);
    w.Lists(30);
    w.Open();

    TreeView& tree = w.form.Tree();
    const auto roots = tree.Children(L"");
    ASSERT_EQ(roots.size(), 1U);
    EXPECT_EQ(roots[0]->text, L"Personal Folders");
    EXPECT_EQ(roots[0]->image, L"Personal");
    std::vector<std::wstring> level;
    std::vector<std::wstring> images;
    for (const TreeNode* node : tree.Children(roots[0]->key)) {
        level.push_back(node->text);
        images.push_back(node->image);
    }
    EXPECT_TRUE(std::is_sorted(level.begin(), level.end()));
    const auto at = [&](const std::wstring& name) {
        return images[std::find(level.begin(), level.end(), name) - level.begin()];
    };
    EXPECT_EQ(at(L"Inbox"), L"Inbox");
    EXPECT_EQ(at(L"Deleted Items"), L"DeletedItems");
    EXPECT_EQ(at(L"Contacts"), L"Contacts");
    EXPECT_EQ(at(L"Calendar"), L"Calendar");
    EXPECT_EQ(at(L"Junk E-mail"), L"Junk");
    const TreeNode* selected = tree.Node(tree.selectedKey);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->text, L"Contacts");
    std::vector<std::wstring> sub;
    for (const TreeNode* node : tree.Children(tree.selectedKey)) {
        sub.push_back(node->text);
    }
    EXPECT_EQ(sub, (std::vector<std::wstring>{L"Archive", L"Clients"}));
    EXPECT_TRUE(w.sim.windows.GetWindowLongA(tree.hWnd, gwl::Style) &
                mWindowStyle::TVS_LINESATROOT);

    FlexGrid& grid = w.form.Grid();
    EXPECT_EQ(grid.Rows(), 32);
    EXPECT_EQ(grid.RowHeight(31), 0);
    EXPECT_EQ(grid.TextMatrix(0, 3), L"Subject");
    EXPECT_EQ(grid.TextMatrix(0, 5), L"Notes");
    EXPECT_EQ(grid.ColWidth(0), 0);
    EXPECT_EQ(grid.ColWidth(3), 2535);
    EXPECT_EQ(grid.Cell(0, 1).picture, L"imgHeader1");
    EXPECT_EQ(grid.Cell(0, 3).picture, L"imgSort2");  // ascending
    EXPECT_EQ(w.FilledRows(), 7);
    EXPECT_EQ(grid.TextMatrix(1, 3), L"List 001");
    EXPECT_EQ(grid.TextMatrix(7, 3), L"List 007");
    EXPECT_EQ(grid.Cell(1, 1).picture, L"imgDL");
    EXPECT_FALSE(grid.TextMatrix(1, 0).empty());
    EXPECT_EQ(grid.row, 1);
    EXPECT_TRUE(grid.enabled);
    EXPECT_TRUE(w.form[L"btnNext"].enabled);
    EXPECT_TRUE(w.sim.windows.IsSubclassed(grid.hWnd));
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});

    // Unloading puts the grid's own procedure back and stops observing the folder.
    w.sim.ui.Act(L"frmChooseDL", {}, L"btnCancel");
    EXPECT_FALSE(w.sim.ui.IsLoaded(w.form));
    EXPECT_EQ(w.form.ViewItems(), nullptr);
}

TEST(ChooseDL, ScrollingFillsTheRowsInViewOnceTheTimerFiresAndTheWheelScrollsByNotches) {
    ChooserWorld w;
    w.Lists(30);
    w.Open();
    FlexGrid& grid = w.form.Grid();

    // One notch down with the default setting: three lines, filled after the pause.
    w.sim.windows.TurnWheel(grid.hWnd, -120);
    EXPECT_EQ(grid.TopRow(), 4);
    EXPECT_TRUE(grid.TextMatrix(8, 3).empty());
    EXPECT_TRUE(w.form[L"tmrScroll"].enabled);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(grid.TextMatrix(8, 3), L"List 008");
    EXPECT_EQ(grid.TextMatrix(10, 3), L"List 010");
    EXPECT_TRUE(grid.TextMatrix(11, 3).empty());
    EXPECT_FALSE(w.form[L"tmrScroll"].enabled);

    // A high-resolution wheel's small delta scrolls no line: only the end of the scroll.
    const std::size_t before = w.sim.windows.ReceivedBy(grid.hWnd).size();
    w.sim.windows.TurnWheel(grid.hWnd, 60);
    const auto received = w.sim.windows.ReceivedBy(grid.hWnd);
    ASSERT_EQ(received.size(), before + 2);
    EXPECT_EQ(received[before].message, wm::MouseWheel);
    EXPECT_EQ(received[before + 1].message, wm::VScroll);
    EXPECT_EQ(received[before + 1].wParam, sb::EndScroll);
    EXPECT_EQ(grid.TopRow(), 4);

    // Two notches up; then the end of the list, which stops at the last page.
    w.sim.windows.TurnWheel(grid.hWnd, 240);
    EXPECT_EQ(grid.TopRow(), 1);
    w.sim.windows.TurnWheel(grid.hWnd, -120 * 20);
    EXPECT_EQ(grid.TopRow(), 24);
    w.desktop.AdvanceClock(1);
    EXPECT_EQ(grid.TextMatrix(30, 3), L"List 030");
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ChooseDL, TheWheelSettingAndItsFailureGiveTheLinesPerNotch) {
    ChooserWorld w;
    w.Lists(30);
    w.sim.windows.wheelScrollLines = 5;
    w.Open();
    w.sim.windows.TurnWheel(w.form.Grid().hWnd, -120);
    EXPECT_EQ(w.form.Grid().TopRow(), 6);
    w.sim.ui.Act(L"frmChooseDL", {}, L"btnCancel");

    // The setting cannot be read: three lines.
    ChooserWorld v;
    v.Lists(30);
    v.sim.faults.FailAlways(L"Windows.SystemParametersInfoA", HostError(5, L"denied", L"user32"));
    v.Open();
    v.sim.windows.TurnWheel(v.form.Grid().hWnd, -120);
    EXPECT_EQ(v.form.Grid().TopRow(), 4);
    v.sim.ui.Act(L"frmChooseDL", {}, L"btnCancel");

    // "One screen at a time": a page per notch.
    ChooserWorld p;
    p.Lists(30);
    p.sim.windows.wheelScrollLines = spi::WheelPageScroll;
    p.Open();
    p.sim.windows.TurnWheel(p.form.Grid().hWnd, -120);
    EXPECT_EQ(p.form.Grid().TopRow(), 8);
}

TEST(ChooseDL, TheSubjectHeaderTogglesTheSortAndItsArrow) {
    ChooserWorld w;
    for (const wchar_t* name : {L"Chess", L"Book club", L"Running club"}) {
        w.List(*w.contacts, name);
    }
    w.Open();
    EXPECT_EQ(w.Column(3),
              (std::vector<std::wstring>{L"Book club", L"Chess", L"Running club", L""}));

    w.sim.ui.Act(L"frmChooseDL", {{L"ctlGrid", L"header:Subject"}}, L"");
    EXPECT_TRUE(w.form.ViewItems()->SortDescending());
    EXPECT_EQ(w.form.Grid().Cell(0, 3).picture, L"imgSort1");
    EXPECT_EQ(w.Column(3),
              (std::vector<std::wstring>{L"Running club", L"Chess", L"Book club", L""}));

    w.sim.ui.Act(L"frmChooseDL", {{L"ctlGrid", L"header:Subject"}}, L"");
    EXPECT_FALSE(w.form.ViewItems()->SortDescending());
    EXPECT_EQ(w.form.Grid().Cell(0, 3).picture, L"imgSort2");
    EXPECT_EQ(w.Column(3),
              (std::vector<std::wstring>{L"Book club", L"Chess", L"Running club", L""}));

    // Another header sorts nothing.
    w.form.ctlGrid_MouseDown(0, 4);
    EXPECT_FALSE(w.form.ViewItems()->SortDescending());
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ChooseDL, FindNarrowsBySubjectInBothModesAndClearGoesBack) {
    // Outlook 2002 and later: the advanced search with the DASL template.
    ChooserWorld w;
    for (const wchar_t* name : {L"Chess", L"Book club", L"Running club", L"O'Brien's"}) {
        w.List(*w.contacts, name);
    }
    w.Open();
    w.sim.ui.Act(L"frmChooseDL", {{L"txtFind", L"club"}}, L"btnFind");
    EXPECT_TRUE(w.form.ViewItems()->IsAdvancedRestrict());
    EXPECT_EQ(w.form.ViewItems()->AdvancedRestrict(),
              L"\"http://schemas.microsoft.com/mapi/proptag/0x001a001e\" LIKE '%IPM.DistList%' And "
              L"urn:schemas:mailheader:subject LIKE '%club'");
    EXPECT_EQ(w.Column(3), (std::vector<std::wstring>{L"Book club", L"Running club", L""}));
    // A quote in the text stays a quote.
    w.sim.ui.Act(L"frmChooseDL", {{L"txtFind", L"'s"}}, L"btnFind");
    EXPECT_EQ(w.Column(3), (std::vector<std::wstring>{L"O'Brien's", L""}));
    w.sim.ui.Act(L"frmChooseDL", {}, L"btnClear");
    EXPECT_FALSE(w.form.ViewItems()->IsAdvancedRestrict());
    EXPECT_EQ(w.form.ViewItems()->Restrict(), frmChooseDL::kBaseFilter);
    EXPECT_EQ(w.form[L"txtFind"].text, L"");
    EXPECT_EQ(w.Column(3).size(), 5U);
    // Nothing found: an empty grid and Next disabled.
    w.sim.ui.Act(L"frmChooseDL", {{L"txtFind", L"zzz"}}, L"btnFind");
    EXPECT_EQ(w.form.Grid().Rows(), 2);
    EXPECT_FALSE(w.form[L"btnNext"].enabled);
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});

    // Outlook 2000: subjects that start with the text.
    ChooserWorld old(9);
    for (const wchar_t* name : {L"Chess", L"Book club", L"Bob's friends", L"Boz \"the\" band"}) {
        old.List(*old.contacts, name);
    }
    old.Open();
    old.sim.ui.Act(L"frmChooseDL", {{L"txtFind", L"Bo"}}, L"btnFind");
    EXPECT_FALSE(old.form.ViewItems()->IsAdvancedRestrict());
    EXPECT_EQ(old.form.ViewItems()->Restrict(),
              L"[MessageClass] = \"IPM.DistList\" And [Subject] >= \"Bo\" And [Subject] < \"Bp\"");
    EXPECT_EQ(old.Column(3), (std::vector<std::wstring>{L"Bob's friends", L"Book club",
                                                        L"Boz \"the\" band", L""}));
    old.sim.ui.Act(L"frmChooseDL", {{L"txtFind", L"Boz \"t"}}, L"btnFind");
    EXPECT_EQ(old.Column(3), (std::vector<std::wstring>{L"Boz \"the\" band", L""}));
    EXPECT_EQ(old.Errors(), std::vector<std::wstring>{});
}

TEST(ChooseDL, TypingInTheGridGoesToTheFindBox) {
    ChooserWorld w;
    w.List(*w.contacts, L"Book club");
    w.Open();
    w.form.Grid().onKeyPress(L'b');
    w.form.Tree().onKeyPress(L'o');
    w.form.Grid().onKeyPress(13);  // not a printable character
    EXPECT_EQ(w.form[L"txtFind"].text, L"bo");
}

TEST(ChooseDL, AMailFolderInTheTreeDisablesTheListControlsAndAContactsFolderBringsThemBack) {
    ChooserWorld w;
    FolderRecord& clients = w.session.AddFolder(*w.contacts, L"Clients", olContactItem);
    w.List(*w.contacts, L"Book club");
    w.List(clients, L"Key accounts");
    w.Open();

    w.sim.ui.Act(L"frmChooseDL", {{L"tvwFolders", L"Inbox"}}, L"");
    EXPECT_FALSE(w.form.Grid().enabled);
    for (const wchar_t* name : {L"txtFind", L"btnFind", L"btnNext"}) {
        EXPECT_FALSE(w.form[name].enabled) << name;
    }
    EXPECT_EQ(w.form.Grid().Rows(), 2);
    // Next by keyboard: the prompt, and the dialog stays.
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"There is no distribution list");
    w.form.btnNext_Click();
    EXPECT_TRUE(w.sim.ui.IsLoaded(w.form));
    EXPECT_EQ(w.sim.ui.Prompts().back().title, L"Choose Distribution List");

    w.sim.ui.Act(L"frmChooseDL", {{L"tvwFolders", L"\\\\Personal Folders\\Contacts\\Clients"}},
                 L"");
    EXPECT_TRUE(w.form.Grid().enabled);
    EXPECT_TRUE(w.form[L"txtFind"].enabled);
    EXPECT_TRUE(w.form[L"btnNext"].enabled);
    EXPECT_EQ(w.Column(3), (std::vector<std::wstring>{L"Key accounts", L""}));
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ChooseDL, AFolderWhoseItemsCannotBeReadShowsAnEmptyGridAndTheDialogStaysUsable) {
    ChooserWorld w;
    FolderRecord& broken = w.session.AddFolder(*w.contacts, L"Broken", olContactItem);
    w.List(broken, L"Lost list");
    w.List(*w.contacts, L"Book club");
    w.sim.faults.FailWhen(
        [id = broken.EntryID()](std::wstring_view op, std::wstring_view detail) {
            return op == L"MAPIFolder.Items" && detail == id;
        },
        HostError(0x80040119, L"The folder cannot be read.", L"Microsoft Outlook"));
    w.Open();
    w.sim.ui.Act(L"frmChooseDL", {{L"tvwFolders", L"Contacts\\Broken"}}, L"");
    EXPECT_EQ(w.form.Grid().Rows(), 2);
    EXPECT_FALSE(w.form[L"btnNext"].enabled);
    EXPECT_FALSE(w.Errors().empty());

    // Back to Contacts, and the list there is chosen.
    w.sim.ui.Act(L"frmChooseDL", {{L"tvwFolders", L"Contacts"}, {L"ctlGrid", L"Book club"}},
                 L"btnNext");
    ASSERT_NE(w.form.Result(), nullptr);
    EXPECT_EQ(w.form.Result()->Subject(), L"Book club");
}

TEST(ChooseDL, FlagIconsFollowTheFlagStatusAndColour) {
    ChooserWorld w;
    auto flagged = w.List(*w.contacts, L"A flagged");
    flagged->SetProp(mapi::PR_FLAG_STATUS, Variant(int32_t{2}));
    flagged->SetProp(mapi::PR_FLAG_ICON, Variant(int32_t{3}));
    auto done = w.List(*w.contacts, L"B done");
    done->SetProp(mapi::PR_FLAG_STATUS, Variant(int32_t{1}));
    w.List(*w.contacts, L"C none");
    w.Open();
    EXPECT_EQ(w.form.Grid().Cell(1, 2).picture, L"imgFlag(5)");
    EXPECT_EQ(w.form.Grid().Cell(2, 2).picture, L"imgFlag(1)");
    EXPECT_EQ(w.form.Grid().Cell(3, 2).picture, L"");
}

TEST(ChooseDL, ShowChooseDListReturnsThePickedListOrNothing) {
    ChooserWorld w;
    w.List(*w.contacts, L"Chess");
    w.List(*w.contacts, L"Book club");

    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {{L"ctlGrid", L"Chess"}}, L"btnNext");
    auto chosen = ShowChooseDList(w.services);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Subject(), L"Chess");

    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {{L"txtFind", L"club"}}, L"btnFind");
    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {}, L"btnCancel");
    EXPECT_EQ(ShowChooseDList(w.services), nullptr);

    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {}, L"(close)");
    EXPECT_EQ(ShowChooseDList(w.services), nullptr);
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);

    // A row that is not in the grid cannot be clicked: the script is wrong, and the dialog
    // goes with the call.
    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {{L"ctlGrid", L"Running club"}}, L"btnNext");
    EXPECT_THROW(ShowChooseDList(w.services), sim::ScriptError);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
}

}  // namespace
}  // namespace plexa
