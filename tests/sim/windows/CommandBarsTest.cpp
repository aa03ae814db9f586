// The Office command bars of the simulated windows: adding, finding and deleting controls,
// temporary controls and protected bars, clicks shared by tag, where OnUpdate fires, the host's
// own menus and context menus, and button faces.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/companions/Companions.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"
#include "sim/SimResources.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/windows/ScriptError.h"

namespace plexa::sim {
namespace {

class CommandBarsTest : public ::testing::Test {
protected:
    void SetUp() override { desktop.host.session.outlookMajorVersion = 11; }
    std::shared_ptr<CommandBarControl> Button(const std::shared_ptr<CommandBar>& bar,
                                              const std::wstring& caption,
                                              const std::wstring& tag = L"", int32_t before = 0) {
        auto b = bar->Controls()->Add(msoControlButton, 1, L"", before, true);
        b->SetCaption(caption);
        b->SetTag(tag);
        return b;
    }

    test::TestWorld world;
    SimDesktop desktop{world.sim};
};

TEST_F(CommandBarsTest, ControlsAreAddedFoundAndDeletedAndTemporaryOnesGoWithTheirWindow) {
    auto explorer = desktop.OpenExplorer(olFolderInbox);
    auto bars = explorer->GetCommandBars();
    EXPECT_EQ(bars->Item(L"standard")->Name(), L"Standard");
    EXPECT_THROW(bars->Item(L"Plexa"), HostError);

    auto bar = bars->Add(L"Plexa", msoBarTop, true);
    EXPECT_FALSE(bar->Visible());  // a new bar shows once told
    EXPECT_THROW(bars->Add(L"Plexa", msoBarTop, true), HostError);
    EXPECT_THROW(bars->Add(L"Other", 9, true), HostError);
    bar->SetPosition(msoBarTop);
    bar->SetRowIndex(3);
    bar->SetLeft(40);
    bar->SetTop(2);
    bar->SetVisible(true);
    EXPECT_EQ(bar->RowIndex(), 3);
    EXPECT_EQ(bar->Left(), 40);
    EXPECT_THROW(bar->SetPosition(6), HostError);

    auto menu = bar->Controls()->Add(msoControlPopup, 1, L"", 0, true);
    menu->SetCaption(L"Plexa");
    auto second = Button(menu->GetCommandBar(), L"Second", L"t2");
    auto first = Button(menu->GetCommandBar(), L"First", L"t1", 1);
    auto send = Button(bar, L"Send now", L"t0", 1);
    EXPECT_EQ(send->Index(), 1);
    EXPECT_EQ(menu->Index(), 2);
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(second->Index(), 2);
    EXPECT_EQ(first->Parent(), menu->GetCommandBar());
    EXPECT_THROW(bar->Controls()->Add(msoControlButton, 1, L"", 5, true), HostError);
    EXPECT_THROW(send->GetCommandBar(), HostError);  // a button has no menu
    EXPECT_THROW(menu->SetFaceId(5), HostError);     // nor a popup a face

    EXPECT_EQ(bar->FindControl(0, 0, L"t2", false, false), nullptr);
    EXPECT_EQ(bar->FindControl(0, 0, L"t2", false, true), second);
    EXPECT_EQ(bar->FindControl(msoControlPopup, 0, L"", false, false), menu);
    send->SetVisible(false);
    EXPECT_EQ(bar->FindControl(msoControlButton, 1, L"", true, true), first);
    auto menuBar = bars->Item(L"Menu Bar");
    auto actions = menuBar->FindControl(0, 30131, L"", false, false);
    ASSERT_NE(actions, nullptr);
    EXPECT_NE(actions->GetCommandBar()->FindControl(0, 356, L"", false, false), nullptr);

    first->Delete();
    EXPECT_EQ(second->Index(), 1);
    EXPECT_THROW(first->Caption(), HostError);
    EXPECT_EQ(bar->FindControl(0, 0, L"t1", false, true), nullptr);

    // A kept (non-temporary) control outlives the window in the host: reported.
    auto kept = bars->Item(L"Standard")->Controls()->Add(msoControlButton, 1, L"", 0, false);
    kept->SetCaption(L"Kept");
    kept->SetTag(L"k");
    desktop.CloseExplorer(explorer);
    EXPECT_THROW(second->Caption(), HostError);
    EXPECT_THROW(bar->Visible(), HostError);
    EXPECT_EQ(
        desktop.office.leftovers,
        (std::vector<std::wstring>{L"Explorer 'Inbox': control 'Kept' tag 'k' on 'Standard'"}));

    world.sim.faults.FailAlways(L"CommandBarControls.Add", HostError(E_FAIL, L"injected"));
    auto other = desktop.OpenExplorer(olFolderDrafts);
    EXPECT_THROW(Button(other->GetCommandBars()->Item(L"Standard"), L"x"), HostError);
}

TEST_F(CommandBarsTest, ProtectedBarsRefuseNewControlsUntilTheProtectionIsCleared) {
    auto explorer = desktop.OpenExplorer(olFolderInbox);
    desktop.OpenItemContextMenu(explorer);
    auto context = explorer->GetCommandBars()->Item(L"Context Menu");
    const int32_t protection = context->Protection();
    EXPECT_EQ(protection & msoBarNoCustomize, msoBarNoCustomize);
    EXPECT_THROW(Button(context, L"Plexa"), HostError);
    EXPECT_THROW(context->FindControl(0, 356, L"", false, false)->Delete(), HostError);

    context->SetProtection(protection & ~msoBarNoCustomize);
    auto forward = context->FindControl(0, 356, L"", false, false);
    auto plexa = Button(context, L"Plexa", L"ctx", forward->Index() + 1);
    context->SetProtection(protection);
    EXPECT_EQ(plexa->Index(), forward->Index() + 1);

    // Opening the menu again rebuilds it: what was added is gone.
    desktop.OpenItemContextMenu(explorer, {7887, 356});
    EXPECT_THROW(plexa->Caption(), HostError);
    EXPECT_NE(context->FindControl(0, 7887, L"", false, false), nullptr);
    EXPECT_EQ(context->FindControl(0, 1970, L"", false, false), nullptr);
}

TEST_F(CommandBarsTest, AClickReachesEveryControlSharingItsTagInAnyWindow) {
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto drafts = desktop.OpenExplorer(olFolderDrafts);
    auto a = Button(inbox->GetCommandBars()->Item(L"Standard"), L"Insert first", L"shared");
    auto b = Button(drafts->GetCommandBars()->Item(L"Standard"), L"Insert last", L"shared");
    auto c = Button(drafts->GetCommandBars()->Item(L"Standard"), L"Alone", L"other");
    b->SetParameter(L"%LastName%");
    std::vector<std::wstring> heard;
    auto listen = [&](const std::shared_ptr<CommandBarControl>& control, const std::wstring& who) {
        return control->Click.Connect(
            [&heard, who](const std::shared_ptr<CommandBarControl>& clicked, bool& cancel) {
                heard.push_back(who + L" heard " + clicked->Parameter());
                cancel = true;
            });
    };
    Connection ca = listen(a, L"a");
    Connection cb = listen(b, L"b");
    Connection cc = listen(c, L"c");

    EXPECT_EQ(desktop.Click(L"Insert last"), L"Explorer 'Drafts' / Insert last");
    EXPECT_EQ(heard, (std::vector<std::wstring>{L"b heard %LastName%", L"a heard %LastName%"}));

    // The built-in action runs unless a handler cancels it.
    EXPECT_EQ(desktop.Click(L"#4"), L"Explorer 'Drafts' / #4");
    EXPECT_EQ(desktop.office.BuiltInActions(), (std::vector<int32_t>{4}));

    c->SetEnabled(false);
    EXPECT_THROW(desktop.Click(L"Alone"), ScriptError);
    EXPECT_THROW(desktop.Click(L"No such button"), ScriptError);
    EXPECT_THROW(desktop.Click(L"Actions"), ScriptError);  // a menu opens, it is not clicked
    b->Delete();
    heard.clear();
    desktop.Activate(inbox);
    desktop.Click(L"tag=shared");
    EXPECT_EQ(heard, (std::vector<std::wstring>{L"a heard "}));
}

TEST_F(CommandBarsTest,
       OnUpdateFiresOnActivationSelectionAndMenusAndTheActionsMenuFollowsTheFolder) {
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto bars = inbox->GetCommandBars();
    int updates = 0;
    Connection c = bars->OnUpdate.Connect([&] { ++updates; });
    auto item =
        desktop.host.session.AddItem(*desktop.host.session.DefaultFolder(olFolderInbox), olMail);
    desktop.Select(inbox, {item});
    EXPECT_EQ(updates, 1);
    desktop.OpenMenu(L"Actions");
    EXPECT_EQ(updates, 2);
    desktop.OpenItemContextMenu(inbox);
    EXPECT_EQ(updates, 3);
    desktop.OpenExplorer(olFolderDrafts);
    desktop.Activate(inbox);
    EXPECT_EQ(updates, 4);

    // An add-in's submenu in the mail Actions menu goes when the folder kind changes.
    auto actions = bars->Item(L"Menu Bar")->FindControl(0, 30131, L"", false, false);
    auto mine = Button(actions->GetCommandBar(), L"Plexa", L"act");
    inbox->SetCurrentFolder(
        desktop.host.application->Session()->GetDefaultFolder(olFolderContacts));
    EXPECT_THROW(mine->Caption(), HostError);
    EXPECT_EQ(bars->Item(L"Menu Bar")->FindControl(0, 30131, L"", false, false), nullptr);
    EXPECT_NE(bars->Item(L"Menu Bar")->FindControl(0, 30141, L"", false, false), nullptr);
    EXPECT_EQ(updates, 5);
}

TEST_F(CommandBarsTest, FromTwoThousandSevenContextMenusComeThroughTheCompanionEvents) {
    desktop.host.session.outlookMajorVersion = 12;
    auto events = desktop.companions.CreateContextMenuEvents();
    auto explorer = desktop.OpenExplorer(olFolderInbox);
    auto& contacts = *desktop.host.session.DefaultFolder(olFolderContacts);
    std::vector<std::wstring> log;
    std::shared_ptr<CommandBarControl> added;
    Connection c1 = events->OnItemContextMenuDisplay.Connect(
        [&](const std::shared_ptr<CommandBar>& bar, const std::shared_ptr<Selection>& selection) {
            log.push_back(L"items " + std::to_wstring(selection->Count()));
            bar->SetProtection(0);
            added = Button(bar, L"Plexa", L"menu",
                           bar->FindControl(0, 356, L"", false, false)->Index() + 1);
            added->SetVisible(true);
        });
    Connection c2 = events->OnFolderContextMenuDisplay.Connect(
        [&](const std::shared_ptr<CommandBar>& bar, const std::shared_ptr<MAPIFolder>& folder) {
            log.push_back(L"folder " + folder->Name() + L" " +
                          bar->FindControl(0, 2500, L"", false, false)->Caption());
        });
    Connection c3 = events->OnContextMenuClose.Connect(
        [&](int32_t kind) { log.push_back(L"close " + std::to_wstring(kind)); });
    bool clicked = false;
    desktop.OpenItemContextMenu(explorer);
    Connection c4 = added->Click.Connect(
        [&](const std::shared_ptr<CommandBarControl>&, bool&) { clicked = true; });
    // The open context menu is looked at first.
    EXPECT_EQ(desktop.Click(L"Plexa"), L"Explorer 'Inbox' / context menu / Plexa");
    EXPECT_TRUE(clicked);
    EXPECT_EQ(desktop.ContextMenu(), nullptr);  // a click closes the menu
    EXPECT_THROW(added->Caption(), HostError);
    desktop.OpenFolderContextMenu(explorer, contacts);
    desktop.CloseContextMenu();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"items 0", L"close 0",
                                              L"folder Contacts &Open \"Contacts\"", L"close 2"}));
}

TEST_F(CommandBarsTest, FacesComeFromPicturesFromTwoThousandTwoOrFromTheClipboard) {
    auto explorer = desktop.OpenExplorer(olFolderInbox);
    auto button = Button(explorer->GetCommandBars()->Item(L"Standard"), L"To");
    auto face = std::make_shared<SimPicture>(L"101", IPictureDisp::PicTypeBitmap, 0x1234);
    auto mask = std::make_shared<SimPicture>(L"201", IPictureDisp::PicTypeBitmap, 0x1235);
    auto icon = std::make_shared<SimPicture>(L"MAIN_ICON", IPictureDisp::PicTypeIcon, 0x1236);
    button->SetPicture(face);
    button->SetMask(mask);
    EXPECT_THROW(button->SetPicture(icon), HostError);
    auto sim = std::static_pointer_cast<SimCommandBarControl>(button);
    EXPECT_EQ(sim->FaceText(), L"picture 0x1234 mask 0x1235");
    button->SetFaceId(2617);
    EXPECT_EQ(button->FaceId(), 2617);
    EXPECT_EQ(sim->FaceText(), L"face 2617");

    EXPECT_THROW(button->PasteFace(), HostError);  // nothing on the clipboard
    world.sim.clipboard.SetData(face, cf::Bitmap);
    button->PasteFace();
    EXPECT_EQ(sim->FaceText(), L"pasted 0x1234");

    desktop.host.session.outlookMajorVersion = 9;
    try {
        button->SetPicture(face);
        ADD_FAILURE() << "Outlook 2000 buttons have no Picture";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), 438);
    }
    button->SetState(msoButtonDown);
    EXPECT_EQ(button->State(), msoButtonDown);
    EXPECT_THROW(button->SetState(7), HostError);
}

}  // namespace
}  // namespace plexa::sim
