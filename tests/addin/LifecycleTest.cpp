// The add-in's lifecycle on the simulated desktop, driven only through what the host does:
// the connection events, folder and message windows, their events, and injected host faults.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestWorld.h"
#include "addin/Connect.h"
#include "addin/frmDummy.h"
#include "host/outlook/OlConstants.h"
#include "separate/CSendLaterList.h"
#include "separate/mFlag.h"
#include "separate/mUserProps.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "sim/SimDesktop.h"
#include "ui/CExplorerMenu.h"
#include "ui/CPleaseWait.h"

namespace plexa {
namespace {

// A ribbon that remembers what the add-in asked it to refresh.
class RecordingRibbon : public IRibbonUI {
public:
    void Invalidate() override { calls.emplace_back(L"*"); }
    void InvalidateControl(const std::wstring& id) override { calls.push_back(id); }
    std::vector<std::wstring> calls;
};

class LifecycleTest : public ::testing::Test {
protected:
    // The host ends the add-in before the simulated client goes.
    ~LifecycleTest() override {
        connect->IDTExtensibility2_OnDisconnection(0, {});
        world.services.host = {};
    }
    // Sets the client's version; call before Connect.
    void Version(int32_t major) {
        world.sim.host.SetVersion(std::to_wstring(major) + L".0.0.1");
        desktop.host.session.outlookMajorVersion = major;
    }
    // The host loads the add-in: connection, then start-up completion.
    void Connect() {
        world.services.host = desktop.Ports();
        connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
        connect->IDTExtensibility2_OnStartupComplete({});
    }
    void Shutdown() {
        connect->IDTExtensibility2_OnBeginShutdown({});
        connect->IDTExtensibility2_OnDisconnection(0, {});
    }
    int Count(const std::wstring& source, const std::wstring& textPart = L"") const {
        return static_cast<int>(
            std::count_if(world.log.entries.begin(), world.log.entries.end(), [&](const auto& e) {
                return e.source == source && e.text.find(textPart) != std::wstring::npos;
            }));
    }
    // Error entries of the lifecycle (the test world has no language file to find).
    int Errors() const {
        const auto errors = world.log.Of(LogLevel::Error);
        return static_cast<int>(std::count_if(errors.begin(), errors.end(), [](const auto& e) {
            return !e.source.starts_with(L"CLang.");
        }));
    }
    std::shared_ptr<CExplorersWrapper> Explorers() const { return connect->GetExplorersWrapper(); }
    std::shared_ptr<CExplorerMenu> MenuOf(int32_t index) const {
        return std::dynamic_pointer_cast<CExplorerMenu>(
            Explorers()->Item(index)->GetAssociatedObject(L"Menu"));
    }
    bool SendLaterTimerRunning() {
        return connect->FrmDummyLoaded() && connect->FrmDummy().TimerEnabled(L"tmrSendLater");
    }
    std::shared_ptr<MailItem> NewMail(bool marked) {
        auto mail = std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(0));
        mail->SetSubject(marked ? L"Composed through Plexa" : L"Plain message");
        if (marked) {
            mUserProps::SetShowToolbar(mail, false);
        }
        mail->Save();
        return mail;
    }

    test::TestWorld world;
    // The client outlives its desktop: the companions hold the application to the end.
    sim::SimHost host{world.sim};
    sim::SimDesktop desktop{world.sim, host};
    std::shared_ptr<plexa::Connect> connect = std::make_shared<plexa::Connect>(world.services);
};

TEST_F(LifecycleTest, ConnectionPreparesButWaitsForTheFirstFolderWindow) {
    Version(14);
    Connect();
    EXPECT_TRUE(connect->Connected());
    EXPECT_EQ(world.services.host.application, desktop.host.application);
    ASSERT_NE(connect->SendLaterList(), nullptr);
    const auto inbox = desktop.host.application->Session()->GetDefaultFolder(olFolderInbox);
    EXPECT_EQ(connect->SendLaterList()->Profile(),
              std::dynamic_pointer_cast<MAPIFolder>(inbox->Parent())->EntryID());
    EXPECT_EQ(Count(L"Connect::IDTExtensibility2_OnConnection", L"->OK"), 1);
    // No window yet: nothing built, nothing hooked but the context-menu companion.
    EXPECT_FALSE(connect->Initialised());
    EXPECT_FALSE(connect->HooksInspectors());
    EXPECT_TRUE(connect->HasContextMenuEvents());
    EXPECT_FALSE(connect->FrmDummyLoaded());
    EXPECT_EQ(desktop.host.application->ItemSend.HandlerCount(), 0U);
    EXPECT_EQ(Explorers()->Count(), 0);

    auto inbox1 = desktop.OpenExplorer(olFolderInbox);
    EXPECT_TRUE(connect->Initialised());
    EXPECT_TRUE(connect->HooksInspectors());
    EXPECT_TRUE(SendLaterTimerRunning());
    EXPECT_EQ(desktop.host.application->ItemSend.HandlerCount(), 1U);
    ASSERT_EQ(Explorers()->Count(), 1);
    ASSERT_NE(MenuOf(1), nullptr);
    EXPECT_EQ(MenuOf(1)->GetExplorer(), inbox1);
    EXPECT_EQ(Count(L"Connect::Init"), 1);
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer", L"->[FirstExplorer](NewExplorer)"), 1);
    // The send-later timer fires once a minute and stays enabled.
    desktop.AdvanceClock(130);
    EXPECT_EQ(world.sim.timers.Fired(), 2);
    EXPECT_TRUE(SendLaterTimerRunning());
    EXPECT_EQ(Errors(), 0);
}

TEST_F(LifecycleTest, WindowsOpenAtStartTheFirstInitialisesTheSecondGetsOnlyItsMenu) {
    Version(11);
    world.services.host = desktop.Ports();
    connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
    // The client opened two windows before start-up completed: not looked at yet.
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto drafts = desktop.OpenExplorer(olFolderDrafts);
    EXPECT_FALSE(connect->Initialised());
    EXPECT_EQ(connect->GetExplorersWrapper(), nullptr);

    connect->IDTExtensibility2_OnStartupComplete({});
    EXPECT_TRUE(connect->Initialised());
    EXPECT_EQ(Count(L"Connect::Init"), 1);
    EXPECT_EQ(Count(L"Connect::AddMenu"), 2);
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer", L"->[FirstExplorer](ExistingExplorer)"),
              1);
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer", L"->(ExistingExplorer)"), 1);
    ASSERT_EQ(Explorers()->Count(), 2);
    EXPECT_EQ(MenuOf(1)->GetExplorer(), inbox);
    EXPECT_EQ(MenuOf(2)->GetExplorer(), drafts);

    // Closing one of two removes only its wrapper (its menu goes with it) and raises nothing.
    std::weak_ptr<CExplorerMenu> inboxMenu = MenuOf(1);
    desktop.CloseExplorer(inbox);
    EXPECT_TRUE(inboxMenu.expired());
    ASSERT_EQ(Explorers()->Count(), 1);
    EXPECT_EQ(Explorers()->Item(1)->GetObject(), drafts);
    EXPECT_TRUE(connect->Initialised());
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnCloseAllExplorers"), 0);
}

TEST_F(LifecycleTest, Before2007ANewWindowIsAnnouncedAtItsFirstActivationFrom2007AtOnce) {
    for (const int32_t version : {11, 12, 14}) {
        SCOPED_TRACE(version);
        test::TestWorld w;
        sim::SimHost h{w.sim};
        sim::SimDesktop d{w.sim, h};
        w.sim.host.SetVersion(std::to_wstring(version) + L".0.0.1");
        d.host.session.outlookMajorVersion = version;
        auto c = std::make_shared<plexa::Connect>(w.services);
        w.services.host = d.Ports();
        c->IDTExtensibility2_OnConnection(d.host.application, 0, nullptr, {});
        c->IDTExtensibility2_OnStartupComplete({});

        auto inbox = d.OpenExplorer(olFolderInbox, /*activate=*/false);
        ASSERT_EQ(c->GetExplorersWrapper()->Count(), 1);
        const auto wrapper = c->GetExplorersWrapper()->Item(1);
        EXPECT_EQ(wrapper->WaitingActivateEvent(), version < 12);
        EXPECT_EQ(c->Initialised(), version >= 12);
        EXPECT_EQ(wrapper->GetAssociatedObject(L"Menu") != nullptr, version >= 12);

        d.Activate(inbox);
        EXPECT_FALSE(wrapper->WaitingActivateEvent());
        EXPECT_TRUE(c->Initialised());
        // Later activations announce nothing more.
        d.OpenExplorer(olFolderDrafts);
        d.Activate(inbox);
        int announced = 0;
        for (const auto& e : w.log.entries) {
            announced += e.source == L"Connect::m_oExplorers_OnExplorer" ? 1 : 0;
        }
        EXPECT_EQ(announced, 2);
        c->IDTExtensibility2_OnBeginShutdown({});
    }
}

TEST_F(LifecycleTest, AWindowClosedBeforeItsActivationGoesUnannouncedAndCountsForCloseAll) {
    Version(11);
    Connect();
    auto never = desktop.OpenExplorer(olFolderInbox, /*activate=*/false);
    EXPECT_EQ(Explorers()->Count(), 1);
    desktop.CloseExplorer(never);
    EXPECT_EQ(Explorers()->Count(), 0);
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer"), 0);
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnCloseAllExplorers"), 1);
    EXPECT_EQ(Count(L"Connect::Done", L"mode = wait new explorer"), 1);
    EXPECT_FALSE(connect->Initialised());
    EXPECT_EQ(Errors(), 0);
}

TEST_F(LifecycleTest, AWindowWaitingForActivationDoesNotCountAsLive) {
    Version(11);
    Connect();
    auto waiting = desktop.OpenExplorer(olFolderDrafts, /*activate=*/false);
    auto inbox = desktop.OpenExplorer(olFolderInbox);  // activated: announced as the first
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer", L"->[FirstExplorer](NewExplorer)"), 1);
    EXPECT_EQ(Count(L"Connect::Init"), 1);
    desktop.Activate(waiting);  // a live window exists now: only its menu
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer", L"->(NewExplorer)"), 1);
    EXPECT_EQ(Count(L"Connect::Init"), 1);
    EXPECT_EQ(Count(L"Connect::AddMenu"), 2);
    EXPECT_EQ(Errors(), 0);
}

TEST_F(LifecycleTest, ClosingTheLastWindowWaitsAndTheNextWindowInitialisesAgain) {
    Version(11);
    Connect();
    auto* sendLaterList = connect->SendLaterList();
    auto first = desktop.OpenExplorer(olFolderInbox);
    std::weak_ptr<CExplorerMenu> menu = MenuOf(1);
    desktop.CloseExplorer(first);

    EXPECT_EQ(Count(L"Connect::Done", L"mode = wait new explorer"), 1);
    EXPECT_FALSE(connect->Initialised());
    EXPECT_TRUE(menu.expired());
    EXPECT_EQ(desktop.host.application->ItemSend.HandlerCount(), 0U);
    // What waiting mode keeps: the message windows' hook, the queue, the timer form, the
    // application, and the list still listening for new windows.
    EXPECT_TRUE(connect->HooksInspectors());
    EXPECT_EQ(connect->SendLaterList(), sendLaterList);
    EXPECT_TRUE(SendLaterTimerRunning());
    EXPECT_EQ(world.services.host.application, desktop.host.application);
    EXPECT_EQ(Explorers()->Count(), 0);

    auto second = desktop.OpenExplorer(olFolderDrafts);
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer", L"->[FirstExplorer](NewExplorer)"), 2);
    EXPECT_EQ(Count(L"Connect::Init"), 2);
    EXPECT_TRUE(connect->Initialised());
    EXPECT_EQ(desktop.host.application->ItemSend.HandlerCount(), 1U);
    EXPECT_EQ(connect->SendLaterList(), sendLaterList);
    EXPECT_EQ(world.sim.timers.Running().size(), 1U);  // enabled again, not twice
    EXPECT_EQ(MenuOf(1)->GetExplorer(), second);
    EXPECT_EQ(Errors(), 0);
}

TEST_F(LifecycleTest, AFailingInitShutsDownAndLeavesTheAddInInert) {
    Version(12);
    Connect();
    world.sim.faults.FailAlways(L"Application.Inspectors", HostError(-2147467259, L"Unspecified"));
    auto inbox = desktop.OpenExplorer(olFolderInbox);

    const auto errors = world.log.Of(LogLevel::Error, L"Connect::Init");
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].number, -2147467259);
    EXPECT_EQ(Count(L"Connect::Done", L"mode = full"), 1);
    EXPECT_FALSE(connect->Initialised());
    EXPECT_FALSE(connect->HooksInspectors());
    EXPECT_FALSE(connect->HasContextMenuEvents());
    EXPECT_EQ(connect->GetExplorersWrapper(), nullptr);
    EXPECT_FALSE(connect->Connected());
    EXPECT_EQ(world.services.host.application, nullptr);
    EXPECT_EQ(connect->SendLaterList(), nullptr);
    EXPECT_FALSE(connect->FrmDummyLoaded());
    EXPECT_TRUE(world.sim.timers.Running().empty());
    EXPECT_EQ(desktop.host.application->ItemSend.HandlerCount(), 0U);
    EXPECT_EQ(desktop.host.application->GetExplorers()->NewExplorer.HandlerCount(), 0U);
    EXPECT_EQ(inbox->OnActivate.HandlerCount(), 0U);

    // Nothing the host does now reaches the add-in.
    world.sim.faults.Clear();
    const auto before = world.log.entries.size();
    auto drafts = desktop.OpenExplorer(olFolderDrafts);
    desktop.OpenInspector(NewMail(true));
    desktop.OpenItemContextMenu(drafts);
    desktop.CloseContextMenu();
    desktop.CloseExplorer(drafts);
    desktop.CloseExplorer(inbox);
    EXPECT_EQ(world.log.entries.size(), before);
    EXPECT_TRUE(connect->InspectorWrappers().empty());

    // The host still ends the add-in as usual.
    EXPECT_NO_THROW(Shutdown());
    EXPECT_EQ(Errors(), 1);
}

TEST_F(LifecycleTest, AFailingInitWithTwoWindowsAtStartStopsBeforeTheSecondWindow) {
    Version(11);
    world.services.host = desktop.Ports();
    connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto drafts = desktop.OpenExplorer(olFolderDrafts);
    world.sim.faults.FailAlways(L"Application.Inspectors", HostError(-2147467259, L"Unspecified"));

    EXPECT_NO_THROW(connect->IDTExtensibility2_OnStartupComplete({}));
    // The first window's Init failed and shut the add-in down inside the announcement: the
    // second window is neither announced nor given a menu, and nothing stays hooked.
    EXPECT_EQ(Count(L"Connect::m_oExplorers_OnExplorer"), 1);
    EXPECT_EQ(Count(L"Connect::Init", L"->"), 1);
    EXPECT_EQ(Count(L"Connect::AddMenu"), 1);
    EXPECT_EQ(Count(L"Connect::Done", L"mode = full"), 1);
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"Connect::Init").size(), 1U);
    EXPECT_FALSE(connect->Initialised());
    EXPECT_EQ(connect->GetExplorersWrapper(), nullptr);
    for (const auto& window : {inbox, drafts}) {
        EXPECT_EQ(window->OnActivate.HandlerCount(), 0U);
        EXPECT_EQ(window->OnClose.HandlerCount(), 0U);
    }
    EXPECT_EQ(desktop.host.application->GetExplorers()->NewExplorer.HandlerCount(), 0U);
    EXPECT_EQ(desktop.host.application->ItemSend.HandlerCount(), 0U);

    world.sim.faults.Clear();
    EXPECT_NO_THROW(desktop.CloseExplorer(drafts));
    EXPECT_NO_THROW(Shutdown());
    EXPECT_EQ(Errors(), 1);
}

TEST_F(LifecycleTest, ShutdownRunsFullDoneTwiceInItsOrderWithoutError) {
    Version(11);
    Connect();
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto inspector = desktop.OpenInspector(NewMail(true));
    connect->PleaseWait();
    ASSERT_EQ(connect->InspectorWrappers().size(), 1U);

    // What is still there when the timer form is unloaded (its timer stopped): gPleaseWait is
    // already cleared; the message and folder windows, gConnect and gApplication come later.
    struct Snapshot {
        bool pleaseWait, inspectorHooked, explorerHooked, connectSet, applicationSet, queueSet;
    };
    std::vector<Snapshot> atUnload;
    world.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view) {
            if (op == L"Timers.KillTimer") {
                atUnload.push_back({connect->PleaseWaitLoaded(),
                                    inspector->OnClose.HandlerCount() > 0,
                                    inbox->OnClose.HandlerCount() > 0, connect->Connected(),
                                    world.services.host.application != nullptr,
                                    connect->SendLaterList() != nullptr});
            }
            return false;
        },
        HostError(0, L""));

    connect->IDTExtensibility2_OnBeginShutdown({});
    ASSERT_EQ(atUnload.size(), 1U);
    EXPECT_FALSE(atUnload[0].pleaseWait);
    EXPECT_TRUE(atUnload[0].inspectorHooked);
    EXPECT_TRUE(atUnload[0].explorerHooked);
    EXPECT_TRUE(atUnload[0].connectSet);
    EXPECT_TRUE(atUnload[0].applicationSet);
    EXPECT_TRUE(atUnload[0].queueSet);

    EXPECT_EQ(inspector->OnClose.HandlerCount(), 0U);
    EXPECT_EQ(inbox->OnClose.HandlerCount(), 0U);
    EXPECT_TRUE(connect->InspectorWrappers().empty());
    EXPECT_FALSE(connect->Connected());
    EXPECT_EQ(world.services.host.application, nullptr);
    EXPECT_EQ(connect->SendLaterList(), nullptr);

    EXPECT_NO_THROW(connect->IDTExtensibility2_OnDisconnection(0, {}));
    EXPECT_EQ(Count(L"Connect::Done", L"mode = full"), 2);
    EXPECT_EQ(Count(L"Connect::IDTExtensibility2_OnDisconnection"), 1);
    EXPECT_EQ(Errors(), 0);
}

TEST_F(LifecycleTest, TheLanguageTableGoesAtDisconnectionAndIsChosenAfreshOnReconnecting) {
    Version(12);
    world.WriteFile(L"C:\\Program Files\\Orvin\\Plexa\\English.lng",
                    "[version]\r\nsignature = \"Orvin.LangLngFile\"\r\nlangid = \"EN\"\r\n"
                    "lang = \"English\"\r\n[Plexa]\r\nglobals = \"T\"\r\n[Plexa.T]\r\n"
                    "LID_UNTITLED = \"(untitled)\"\r\n");
    Connect();
    EXPECT_EQ(world.services.Lang().Item(L"LID_UNTITLED"), L"(untitled)");
    Shutdown();

    // The same process connects the add-in again, now for a language without a file.
    COptions& options = world.services.Options();
    options.LangID(L"FR");
    options.LangFile(L"");
    connect = std::make_shared<plexa::Connect>(world.services);
    Connect();
    EXPECT_EQ(world.services.Lang().Item(L"LID_UNTITLED"), L"LID_UNTITLED");
    EXPECT_EQ(world.services.Lang().LangID(), L"");
    EXPECT_EQ(Count(L"CLang.InitEx", L"Cant find lang file by langID=FR"), 1);
}

TEST_F(LifecycleTest, TheLanguageSectionIsTheProductNameOfTheResources) {
    Version(12);
    // A build whose product short name differs reads its own section of the language file.
    world.sim.resources.SetResString(IDS_PRODUCT_SHORT_NAME, L"Plexa Pro");
    world.WriteFile(L"C:\\Program Files\\Orvin\\Plexa\\English.lng",
                    "[version]\r\nsignature = \"Orvin.LangLngFile\"\r\nlangid = \"EN\"\r\n"
                    "lang = \"English\"\r\n[Plexa]\r\nglobals = \"T\"\r\n[Plexa.T]\r\n"
                    "LID_UNTITLED = \"(untitled)\"\r\n[Plexa Pro]\r\nglobals = \"T\"\r\n"
                    "[Plexa Pro.T]\r\nLID_UNTITLED = \"(no subject)\"\r\n");
    Connect();
    EXPECT_EQ(world.services.Lang().Item(L"LID_UNTITLED"), L"(no subject)");
}

TEST_F(LifecycleTest, EventHandlersNeverLetAHostErrorOut) {
    Version(11);
    Connect();
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    auto& session = desktop.host.session;
    auto item = session.AddItem(*session.DefaultFolder(olFolderInbox), olMail);

    world.sim.faults.FailAlways(L"Explorer.CurrentFolder", HostError(-1, L"closing"));
    world.sim.faults.FailAlways(L"Explorer.Selection", HostError(-1, L"closing"));
    world.sim.faults.FailAlways(L"Inspector.CurrentItem", HostError(-1, L"closing"));
    EXPECT_NO_THROW(desktop.SwitchFolder(inbox, *session.DefaultFolder(olFolderDrafts)));
    EXPECT_NO_THROW(desktop.SwitchFolder(inbox, *session.DefaultFolder(olFolderInbox)));
    EXPECT_NO_THROW(desktop.Select(inbox, {item}));
    EXPECT_NO_THROW(desktop.OpenInspector(NewMail(true)));
    EXPECT_TRUE(connect->InspectorWrappers().empty());
    EXPECT_GT(world.sim.faults.Injected(), 0);
    EXPECT_EQ(Errors(), 0);  // ignored, not reported

    world.sim.faults.Clear();
    desktop.Select(inbox, {});
    EXPECT_EQ(Count(L"CExplorerMenu::OnSelectionChange", L"->0"), 1);
    desktop.SwitchFolder(inbox, *session.DefaultFolder(olFolderDrafts));
    EXPECT_EQ(Count(L"CExplorerMenu::OnFolderSwitch", L"->Drafts"), 1);
}

TEST_F(LifecycleTest, OneFailingWindowDoesNotStopTheUpdateOfTheOthers) {
    Version(11);
    Connect();
    desktop.OpenExplorer(olFolderInbox);
    desktop.OpenExplorer(olFolderDrafts);
    auto first = NewMail(true);
    desktop.OpenInspector(first);
    desktop.OpenInspector(NewMail(true));
    ASSERT_EQ(connect->InspectorWrappers().size(), 2U);

    // The first folder window and the first message window are closing: they cannot answer.
    world.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view detail) {
            return (op == L"Explorer.CurrentFolder" && detail == L"Inbox") ||
                   (op == L"Inspector.EditorType" && detail == first->EntryID());
        },
        HostError(OL_E_OBJECT_DELETED, L"The item has been moved or deleted"));
    // Each window's button took its picture once as its toolbar was built.
    const int before = Count(L"CExplorerMenu::OnCachedActionChange", L"->Drafts");
    EXPECT_NO_THROW(connect->UpdateCachedAction());
    EXPECT_NO_THROW(connect->RecreateInspectorBars());
    EXPECT_EQ(world.sim.faults.Injected(), 2);
    EXPECT_EQ(Count(L"CExplorerMenu::OnCachedActionChange", L"->Drafts"), before + 1);
    EXPECT_EQ(Count(L"CInspectorWrapper::RecreateToolbar"), 1);
    EXPECT_EQ(Errors(), 0);
}

TEST_F(LifecycleTest, OnlyMarkedMessagesGetAWrapperAndClosedOnesArePurgedByTheNextMarkedOne) {
    Version(12);
    Connect();
    desktop.OpenExplorer(olFolderInbox);
    auto plain = desktop.OpenInspector(NewMail(false));
    EXPECT_TRUE(connect->InspectorWrappers().empty());

    auto first = desktop.OpenInspector(NewMail(true));
    ASSERT_EQ(connect->InspectorWrappers().size(), 1U);
    EXPECT_EQ(connect->InspectorWrappers()[0]->GetInspector(), first);
    desktop.CloseInspector(first, olDiscard);
    EXPECT_TRUE(connect->InspectorWrappers()[0]->Closed());
    desktop.OpenInspector(NewMail(false));  // not handled: no purge
    EXPECT_EQ(connect->InspectorWrappers().size(), 1U);
    auto second = desktop.OpenInspector(NewMail(true));
    ASSERT_EQ(connect->InspectorWrappers().size(), 1U);
    EXPECT_EQ(connect->InspectorWrappers()[0]->GetInspector(), second);
    EXPECT_EQ(Count(L"m_oInspectors_NewInspector"), 4);
}

TEST_F(LifecycleTest, ItemSendTakesTheAddInsOwnFollowUpMarkOffAndNeverCancels) {
    Version(11);
    Connect();
    desktop.OpenExplorer(olFolderInbox);
    COptions& options = world.services.Options();
    options.ClearMarking(true);
    auto mail = NewMail(false);
    mFlag::SetFlagText(world.services, mail, options.FlagText(), true);
    mFlag::SetFlagStatus(world.services, mail, options.Flag(), options.Flag2003(), true);

    bool cancel = false;
    desktop.host.application->ItemSend.Emit(mail, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(mFlag::GetFlagText(world.services, mail), L"");
}

TEST_F(LifecycleTest, The2007ContextMenuEventsReachTheBuilder) {
    Version(12);
    Connect();
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    desktop.OpenItemContextMenu(inbox);
    desktop.CloseContextMenu();
    auto& contacts = *desktop.host.session.DefaultFolder(olFolderContacts);
    desktop.OpenFolderContextMenu(inbox, contacts);
    desktop.CloseContextMenu();
    EXPECT_EQ(Count(L"CExplorerContextMenu::CreateItemContextMenu"), 1);
    EXPECT_EQ(Count(L"CExplorerContextMenu::DoneItemContextMenu"), 1);
    EXPECT_EQ(Count(L"CExplorerContextMenu::CreateFolderContextMenu",
                    L"->" + contacts.EntryID() + L"," + contacts.Store().StoreID()),
              1);
    EXPECT_EQ(Count(L"CExplorerContextMenu::DoneFolderContextMenu"), 1);
}

TEST_F(LifecycleTest, AMissingCompanionOrDefaultStoreIsLoggedAndTheAddInStillRuns) {
    Version(12);
    world.sim.faults.FailAlways(L"Companion.Create",
                                HostError(-2147221164, L"Class not registered"));
    world.sim.faults.FailAlways(L"NameSpace.GetDefaultFolder", HostError(-1, L"no store"));
    EXPECT_NO_THROW(Connect());
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"Connect::IDTExtensibility2_OnConnection").size(), 2U);
    EXPECT_FALSE(connect->HasContextMenuEvents());
    ASSERT_NE(connect->SendLaterList(), nullptr);
    EXPECT_EQ(connect->SendLaterList()->Profile(), L"");
    world.sim.faults.Clear();
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    EXPECT_TRUE(connect->Initialised());
    EXPECT_NO_THROW(desktop.OpenItemContextMenu(inbox));
}

TEST_F(LifecycleTest, RibbonRefreshesFollowTheVersion) {
    Version(14);
    Connect();
    auto ribbon = std::make_shared<RecordingRibbon>();
    connect->InvokeOnLoad(L"Ribbon_OnLoad", ribbon);
    EXPECT_THROW(connect->InvokeAction(L"NoSuchCallback", nullptr), HostError);
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    ribbon->calls.clear();
    desktop.SwitchFolder(inbox, *desktop.host.session.DefaultFolder(olFolderDrafts));
    EXPECT_EQ(ribbon->calls,
              (std::vector<std::wstring>{
                  L"Orvin.Plexa.Explorer.grpRecent", L"Orvin.Plexa.Explorer.btnCachedAction",
                  L"Orvin.Plexa.Explorer.grpDrafts", L"Orvin.Plexa.Explorer.btnSendNow",
                  L"Orvin.Plexa.Explorer.sepSendNow"}));
    ribbon->calls.clear();
    desktop.OpenInspector(NewMail(false));
    connect->UpdateInspectorButtons();
    EXPECT_EQ(ribbon->calls, (std::vector<std::wstring>{L"*", L"btnSendMode", L"btnSepGrouping"}));
}

// The add-in's own objects go with Connect, each through its own world: a please-wait window
// still showing leaves its own screen, even while another add-in's world is the newer one.
TEST(AddinObjects, GoWithConnectThroughTheirOwnWorld) {
    test::TestWorld w;
    auto connect = std::make_shared<plexa::Connect>(w.services);
    CPleaseWait& wait = connect->PleaseWait();
    wait.ActionBegin();
    w.sim.clock.AdvanceSeconds(4);
    wait.Update();
    ASSERT_TRUE(wait.FormShown());
    connect->FrmDummy().SetTimerEnabled(L"tmrSendLater", true);
    connect->ShowDebugForm();
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 2);

    test::TestWorld other;  // another run of the add-in, built later
    connect.reset();
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
    EXPECT_TRUE(w.sim.timers.Running().empty());
    EXPECT_EQ(other.sim.ui.OpenFormCount(), 0);
    // Its unloading was logged where the log goes now: the newer world's.
    EXPECT_EQ(w.log.Of(LogLevel::Debug, L"frmPleaseWait").size(), 1u);
    EXPECT_EQ(other.log.Of(LogLevel::Debug, L"frmPleaseWait").size(), 1u);
}

}  // namespace
}  // namespace plexa

namespace plexa {
namespace {

TEST_F(LifecycleTest, TheDraftsViewRequestRunsOnceAtTheFirstInitialisation) {
    Version(12);
    world.services.Options().ModifyDraftsView(true);
    Connect();
    auto& drafts = *desktop.host.session.DefaultFolder(olFolderDrafts);
    EXPECT_EQ(drafts.savedViewXml, L"");
    auto inbox = desktop.OpenExplorer(olFolderInbox);
    const std::wstring changed = drafts.savedViewXml;
    EXPECT_NE(changed.find(L"<groupby><order><Heading>Received</Heading>"), std::wstring::npos);
    EXPECT_FALSE(world.services.Options().ModifyDraftsView());

    // The user arranges the view otherwise; a later initialisation leaves it alone.
    drafts.viewXml = drafts.savedViewXml = L"<view/>";
    desktop.CloseExplorer(inbox);
    desktop.OpenExplorer(olFolderDrafts);
    EXPECT_EQ(Count(L"Connect::Init"), 2);
    EXPECT_EQ(drafts.savedViewXml, L"<view/>");
    EXPECT_EQ(Errors(), 0);
}

}  // namespace
}  // namespace plexa
