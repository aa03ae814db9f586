// The folder window's command surfaces on the simulated client: the toolbar (its controls,
// send-now in Drafts, the recent-action button), the Actions submenu per kind of folder, the
// item and folder context menus of the 2002/2003 hosts rebuilt on every bar update, and the
// 2007 host's context-menu events.
#include <gtest/gtest.h>

#include "host/office/CommandBars.h"
#include "platform/IUiShell.h"
#include "settings/COptions.h"
#include "ui/ExplorerWorld.h"

namespace plexa {
namespace {

using test::ExplorerWorld;

// The controls of a bar with that tag, searched through its menus.
int CountTagged(const std::shared_ptr<CommandBar>& bar, const std::wstring& tag) {
    int n = 0;
    const auto controls = bar->Controls();
    for (int32_t i = 1; i <= controls->Count(); ++i) {
        const auto c = controls->Item(i);
        n += c->Tag() == tag ? 1 : 0;
        if (c->Type() == msoControlPopup) {
            n += CountTagged(c->GetCommandBar(), tag);
        }
    }
    return n;
}

std::vector<std::wstring> Captions(const std::shared_ptr<CommandBar>& bar) {
    std::vector<std::wstring> out;
    const auto controls = bar->Controls();
    for (int32_t i = 1; i <= controls->Count(); ++i) {
        out.push_back(controls->Item(i)->Caption());
    }
    return out;
}

std::shared_ptr<CommandBar> ActionsMenu(sim::SimExplorer& explorer, int32_t id) {
    return explorer.GetCommandBars()
        ->Item(L"Menu Bar")
        ->FindControl(0, id, L"", false, false)
        ->GetCommandBar();
}

TEST(ExplorerMenu, TheToolbarShowsSendNowOnlyInDraftsAndEnablesItBySelection) {
    ExplorerWorld w(11);
    auto inbox = w.desktop.OpenExplorer(olFolderInbox);
    const auto menu = w.Menu();
    ASSERT_NE(menu->Bar(), nullptr);
    EXPECT_EQ(menu->Bar()->Name(), L"LID_TOOLBAR_NAME");
    EXPECT_EQ(menu->Bar()->Controls()->Count(), 3);
    const auto sendNow = w.Toolbar(1);
    const auto recent = w.Toolbar(2);
    EXPECT_EQ(sendNow->FaceId(), 2617);
    EXPECT_EQ(sendNow->Caption(), L"LID_CAPTION_SENDNOW");
    EXPECT_FALSE(sendNow->Visible());
    EXPECT_EQ(recent->FaceId(), 1701);
    // The test-toolbar setting is on by default: the recent action carries the caption.
    EXPECT_EQ(recent->Style(), msoButtonIconAndCaption);
    EXPECT_EQ(recent->Caption(), L"LID_MENU_CAPTION");
    EXPECT_EQ(recent->TooltipText(), L"LID_TOOLTIP_TO");
    EXPECT_EQ(w.Toolbar(3)->Caption(), L" ");
    EXPECT_EQ(Captions(w.Toolbar(3)->GetCommandBar()),
              (std::vector<std::wstring>{L"LID_CAPTION_TO", L"LID_CAPTION_CC", L"LID_CAPTION_BCC",
                                         L"LID_CAPTION_NEWDL", L"LID_CAPTION_NEWDL_FROMFOLDER",
                                         L"LID_CAPTION_EXISTINGDL", L"LID_CAPTION_OPTIONS",
                                         L"LID_CAPTION_ABOUT"}));
    EXPECT_TRUE(w.Toolbar(3, 4)->BeginGroup());
    EXPECT_FALSE(w.Toolbar(3, 5)->BeginGroup());

    w.desktop.SwitchFolder(inbox, *w.drafts);
    EXPECT_TRUE(sendNow->Visible());
    EXPECT_TRUE(recent->BeginGroup());
    EXPECT_FALSE(sendNow->Enabled());
    const auto draft = w.Draft(L"Hello", {L"someone@example.com"});
    w.desktop.Select(inbox, {draft});
    EXPECT_TRUE(sendNow->Enabled());
    w.desktop.Select(inbox, {});
    EXPECT_FALSE(sendNow->Enabled());
    w.desktop.SwitchFolder(inbox, *w.contacts);
    EXPECT_FALSE(sendNow->Visible());
    EXPECT_FALSE(recent->BeginGroup());
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerMenu, TheRecentActionFollowsTheCommandAndAValueBeyondFourIsNone) {
    ExplorerWorld w(11);
    auto window = w.desktop.OpenExplorer(*w.contacts);
    const auto people = w.Contacts(2);
    w.desktop.Select(window, people);
    w.ClickToolbar(3, 2);  // CC
    EXPECT_EQ(w.services.Options().GetCachedAction_(olContactItem, -1), 1);
    EXPECT_EQ(w.Toolbar(2)->TooltipText(), L"LID_TOOLTIP_CC");
    ASSERT_EQ(w.desktop.Inspectors().size(), 1U);
    EXPECT_EQ(w.MessageRecipients(), (std::vector<std::wstring>{L"2:Person 1", L"2:Person 2"}));

    // A stored 9: the To picture and tip, and the assertion logged.
    w.services.Options().SetCachedAction_(olContactItem, 9);
    w.connect->UpdateCachedAction();
    EXPECT_EQ(w.Toolbar(2)->TooltipText(), L"LID_TOOLTIP_TO");
    EXPECT_EQ(w.Logged(L"CExplorerMenu.OnCachedActionChange", L"ASSERT140"), 1);
    // Clicking it runs To.
    w.ClickToolbar(2);
    ASSERT_EQ(w.desktop.Inspectors().size(), 2U);
    EXPECT_EQ(w.MessageRecipients(1), (std::vector<std::wstring>{L"1:Person 1", L"1:Person 2"}));
    EXPECT_EQ(w.services.Options().GetCachedAction_(olContactItem, -1), 0);
}

TEST(ExplorerMenu, TheActionsSubmenuIsAddedOncePerKindAndEachWindowFindsItsOwn) {
    ExplorerWorld w(11);
    auto calendar = w.desktop.OpenExplorer(olFolderCalendar);
    const std::wstring tag = w.Menu(1)->Tag() + L"Actions";
    for (int i = 0; i < 5; ++i) {
        w.desktop.Select(calendar, {});
        w.desktop.Activate(calendar);
    }
    w.desktop.OpenMenu(L"Actions");
    const auto appointments = ActionsMenu(*calendar, 30142);
    EXPECT_EQ(CountTagged(appointments, tag), 1);
    // Placed after Forward, starting a group, named after the product.
    const auto forward = appointments->FindControl(0, 356, L"", false, false);
    const auto submenu = appointments->FindControl(0, 0, tag, false, false);
    EXPECT_EQ(submenu->Index(), forward->Index() + 1);
    EXPECT_TRUE(submenu->BeginGroup());
    EXPECT_EQ(submenu->Caption(), L"Plexa");
    EXPECT_EQ(CountTagged(appointments, w.Menu(1)->Tag() + L"TO"), 1);

    // Another kind of folder: the new Actions menu gets it too, once.
    w.desktop.SwitchFolder(calendar, *w.contacts);
    w.desktop.Activate(calendar);
    EXPECT_EQ(CountTagged(ActionsMenu(*calendar, 30141), tag), 1);

    // A second window: a tag of its own; its To reaches only its own command.
    auto inbox = w.desktop.OpenExplorer(olFolderInbox);
    ASSERT_NE(w.Menu(1)->Tag(), w.Menu(2)->Tag());
    EXPECT_EQ(CountTagged(ActionsMenu(*inbox, 30131), w.Menu(2)->Tag() + L"Actions"), 1);
    EXPECT_EQ(CountTagged(ActionsMenu(*inbox, 30131), tag), 0);
    w.desktop.Click(L"Actions/Plexa/LID_CAPTION_CC");
    EXPECT_EQ(w.Logged(L"mExplorer.Explorer_DisplayNewMail", L"->"), 1);
    EXPECT_EQ(w.services.Options().GetCachedAction_(olMailItem, -1), 1);
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerMenu, ContextMenusOfTheOlderHostsAreRebuiltOnUpdate) {
    ExplorerWorld w(11);
    auto window = w.desktop.OpenExplorer(*w.contacts);
    w.desktop.Select(window, w.Contacts(1));
    const std::wstring itemTag = w.Menu()->ContextMenu()->ItemTag();
    w.desktop.OpenItemContextMenu(window);
    EXPECT_EQ(CountTagged(w.desktop.ContextMenu(), itemTag), 1);
    w.desktop.Activate(window);
    w.desktop.Select(window, {});
    EXPECT_EQ(CountTagged(w.desktop.ContextMenu(), itemTag), 1) << "not twice";
    // Placed after Forward: every command, options starting its group.
    const auto bar = w.desktop.ContextMenu();
    const auto submenu = bar->FindControl(0, 0, itemTag, false, false);
    EXPECT_EQ(submenu->Index(), bar->FindControl(0, 356, L"", false, false)->Index() + 1);
    EXPECT_EQ(Captions(submenu->GetCommandBar()).size(), 8U);
    EXPECT_EQ(bar->Protection() & msoBarNoCustomize, msoBarNoCustomize) << "protection put back";

    // A menu holding built-in 7887 gets nothing, and the log names the id.
    w.desktop.OpenItemContextMenu(window, {4, 7887, 478});
    EXPECT_EQ(CountTagged(w.desktop.ContextMenu(), itemTag), 0);
    EXPECT_GE(w.Logged(L"CExplorerContextMenu.CreateItemContextMenu",
                       L"Dont add Plexa to contextmenu - Finded control id = 7887"),
              1);
    w.desktop.CloseContextMenu();

    // A notes folder's menu gets nothing; a contacts folder's gets seven commands.
    const std::wstring folderTag = w.Menu()->ContextMenu()->FolderTag();
    w.desktop.SwitchFolder(window, *w.session.DefaultFolder(olFolderNotes));
    w.desktop.OpenFolderContextMenu(window, *w.session.DefaultFolder(olFolderNotes));
    EXPECT_EQ(CountTagged(w.desktop.ContextMenu(), folderTag), 0);
    w.desktop.CloseContextMenu();
    w.desktop.SwitchFolder(window, *w.contacts);
    w.desktop.OpenFolderContextMenu(window, *w.contacts);
    const auto folderMenu = w.desktop.ContextMenu()->FindControl(0, 0, folderTag, false, false);
    ASSERT_NE(folderMenu, nullptr);
    EXPECT_EQ(Captions(folderMenu->GetCommandBar()).size(), 7U);
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerMenu, TheOlderHostsFolderMenuWorksOnTheFirstFolderOfThatNameAndShowsIt) {
    ExplorerWorld w(11);
    // Two contacts folders named "Clients": under Contacts, and at the top of the store.
    auto& first = w.session.AddFolder(*w.contacts, L"Clients", olContactItem);
    auto& second =
        w.session.AddFolder(*w.session.DefaultStore()->TopFolder(), L"Clients", olContactItem);
    w.Contact(L"Ann Smith", L"ann@acme.example", &first);
    w.Contact(L"Bob Lee", L"bob@lee.example", &second);
    auto window = w.desktop.OpenExplorer(olFolderInbox);
    w.desktop.OpenFolderContextMenu(window, second);
    w.desktop.Click(L"Plexa/LID_CAPTION_TO");
    // Depth first, Contacts (a default folder, made with the store) comes before the top's
    // own "Clients": the command takes the contacts of the first, and the window shows it.
    ASSERT_EQ(w.desktop.Inspectors().size(), 1U);
    EXPECT_EQ(w.MessageRecipients(), (std::vector<std::wstring>{L"1:Ann Smith"}));
    EXPECT_EQ(w.desktop.ActiveExplorer()->CurrentFolder()->EntryID(),
              w.host.outlook.Folder(first)->EntryID());
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

TEST(ExplorerMenu, The2007HostsContextMenusComeFromItsEvents) {
    ExplorerWorld w(12);
    auto window = w.desktop.OpenExplorer(*w.contacts);
    const std::wstring tag = L"Plexa";
    // Only a note selected: options and About, options not starting a group.
    auto note = w.session.AddItem(*w.session.DefaultFolder(olFolderNotes), olNote);
    w.desktop.SwitchFolder(window, *w.session.DefaultFolder(olFolderNotes));
    w.desktop.Select(window, {note});
    w.desktop.OpenItemContextMenu(window);
    std::shared_ptr<CommandBarControl> plexa;
    const auto controls = w.desktop.ContextMenu()->Controls();
    for (int32_t i = 1; i <= controls->Count(); ++i) {
        if (controls->Item(i)->Caption() == tag) {
            plexa = controls->Item(i);
        }
    }
    ASSERT_NE(plexa, nullptr);
    EXPECT_EQ(Captions(plexa->GetCommandBar()),
              (std::vector<std::wstring>{L"LID_CAPTION_OPTIONS", L"LID_CAPTION_ABOUT"}));
    EXPECT_FALSE(plexa->GetCommandBar()->Controls()->Item(1)->BeginGroup());
    w.desktop.CloseContextMenu();

    // A contacts folder's menu: To takes every contact of it.
    w.Contacts(2);
    w.desktop.OpenFolderContextMenu(window, *w.contacts);
    w.desktop.Click(L"Plexa/LID_CAPTION_BCC");
    ASSERT_EQ(w.desktop.Inspectors().size(), 1U);
    EXPECT_EQ(w.MessageRecipients(), (std::vector<std::wstring>{L"3:Person 1", L"3:Person 2"}));
    EXPECT_EQ(w.Errors(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace plexa
