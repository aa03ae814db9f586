// The add-in's ribbons on the simulated client of versions 12 and 14, asked and clicked as the
// client does: the compose group on messages composed through the add-in only, its send-mode
// controls following the message, the explorer tab's Drafts, recent-action and debug controls
// following the folder window, the commands routed by control id, and every callback answering
// the ribbon's default when a host call fails.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "FaultSweep.h"
#include "TestWorld.h"
#include "addin/Connect.h"
#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "separate/mSendReports.h"
#include "separate/mUserProps.h"
#include "settings/COptions.h"
#include "sim/SimDesktop.h"
#include "sim/office/RibbonMarkup.h"

namespace plexa {
namespace {

constexpr const wchar_t* kUser = L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa";

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// One line of a ribbon's state text: the control's.
std::wstring Line(const std::wstring& state, const std::wstring& id) {
    for (const auto& line : text::Split(state, L"\n")) {
        std::wstring trimmed = text::TrimSpacesTabs(line);
        const auto space = trimmed.find(L' ');
        if (space != std::wstring::npos &&
            (trimmed + L" ").substr(space + 1, id.size() + 1) == id + L" ") {
            return trimmed;
        }
    }
    return L"(missing " + id + L")";
}

struct RibbonWorld : test::TestWorld {
    explicit RibbonWorld(int32_t version = 14, bool withLanguage = false) {
        if (withLanguage) {
            // The shipped English texts, found where the add-in is installed.
            std::ifstream in(std::string(PLEXA_SOURCE_DIR) + "/resources/English.lng",
                             std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            WriteFile(L"C:\\Program Files\\Orvin\\Plexa\\English.lng", bytes.str());
        }
        sim.host.SetVersion(std::to_wstring(version) + L".0.0.1");
        desktop.host.session.outlookMajorVersion = version;
        services.host = desktop.Ports();
        connect->IDTExtensibility2_OnConnection(desktop.host.application, 0, nullptr, {});
        connect->IDTExtensibility2_OnStartupComplete({});
        desktop.SetRibbonProvider(connect.get());
    }
    ~RibbonWorld() {
        desktop.SetRibbonProvider(nullptr);
        connect->IDTExtensibility2_OnDisconnection(0, {});
        services.host = {};
    }
    RibbonWorld(const RibbonWorld&) = delete;
    RibbonWorld& operator=(const RibbonWorld&) = delete;

    std::shared_ptr<sim::SimInspector> Compose(bool throughTheAddIn, int32_t mode, bool grouping) {
        auto mail = std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(0));
        if (throughTheAddIn) {
            mUserProps::SetShowToolbar(mail, false);
            mUserProps::SetSendMode(mail, mode, false);
            mUserProps::setGroupMode(mail, grouping, false);
        }
        mail->Save();
        mail->Display();
        return desktop.ActiveInspector();
    }
    int ErrorsFrom(const std::wstring& source) const {
        return static_cast<int>(log.Of(LogLevel::Error, source).size());
    }

    sim::SimHost host{sim};
    sim::SimDesktop desktop{sim, host};
    std::shared_ptr<Connect> connect = std::make_shared<Connect>(services);
};

bool SchemasThere() {
    return sim::CustomUiSchemaAvailable() && sim::CustomUi14SchemaAvailable();
}

TEST(RibbonCallbacks, TheComposeGroupFollowsTheMessageAndItsSendMode) {
    if (!SchemasThere()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    for (const int32_t version : {12, 14}) {
        SCOPED_TRACE(version);
        RibbonWorld w(version);
        w.services.Options().GroupRecipients(7);
        const auto plain = w.Compose(false, 0, false);
        std::wstring state = w.desktop.RibbonText(plain);
        EXPECT_TRUE(w.desktop.ribbons.Errors().empty())
            << text::ToUtf8(w.desktop.ribbons.Errors().front());
        EXPECT_TRUE(Contains(Line(state, L"Orvin.Plexa.Group"), L"hidden")) << text::ToUtf8(state);

        const auto all = w.Compose(true, SendModeAll, false);
        state = w.desktop.RibbonText(all);
        EXPECT_EQ(Line(state, L"Orvin.Plexa.Group"),
                  L"group Orvin.Plexa.Group \"LID_MENU_CAPTION\"");
        EXPECT_TRUE(Contains(Line(state, L"btnSendMode"), L"\"LID_BTN_SEND_MODE_ALL\""));
        EXPECT_TRUE(Contains(Line(state, L"btnSendMode"), L"tip \"LID_BTN_SEND_MODE_ALL_TIP\""));
        EXPECT_TRUE(Contains(Line(state, L"btnSendMode"), L"image picture"));
        EXPECT_TRUE(Contains(Line(state, L"btnSendModeAll"), L"pressed"));
        EXPECT_FALSE(Contains(Line(state, L"btnSendModeSep"), L"pressed"));
        EXPECT_TRUE(Contains(Line(state, L"btnSepGrouping"), L"hidden"));
        EXPECT_TRUE(Contains(Line(state, L"btnFirstName"), L"\"%FirstName%\""));
        EXPECT_TRUE(Contains(Line(state, L"btnFullName"), L"\"LID_BTN_INSERT_FULL_NAME\""));
        EXPECT_TRUE(Contains(Line(state, L"btnOptions"), L"tip \"LID_BTN_OPTIONS_TIP\""));
        EXPECT_TRUE(Contains(Line(state, L"btnOptions"), L"image picture"));

        const auto grouped = w.Compose(true, SendModeSep, true);
        w.connect->UpdateInspectorButtons();
        state = w.desktop.RibbonText(grouped);
        EXPECT_TRUE(Contains(Line(state, L"btnSendMode"), L"\"LID_BTN_SEND_MODE_SEP\""));
        EXPECT_TRUE(Contains(Line(state, L"btnSendMode"), L"tip \"LID_BTN_SEND_MODE_SEP_GR_TIP\""));
        EXPECT_FALSE(Contains(Line(state, L"btnSepGrouping"), L"hidden"));
        EXPECT_TRUE(Contains(Line(state, L"btnSepGrouping"), L"pressed"));
        EXPECT_TRUE(Contains(Line(state, L"btnSendModeSep"), L"pressed"));

        // Captions off: the split buttons and options show no label.
        w.services.Options().ShowBtnCaptions(false);
        w.connect->RecreateInspectorBars();
        state = w.desktop.RibbonText(grouped);
        EXPECT_TRUE(Contains(Line(state, L"sbtnInsert"), L"no-label")) << text::ToUtf8(state);
        EXPECT_TRUE(Contains(Line(state, L"btnOptions"), L"no-label"));
    }
}

TEST(RibbonCallbacks, WithASeparateTabTheTabItselfHidesOnOtherMessages) {
    if (!SchemasThere()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    RibbonWorld w(12);
    w.services.Options().SeparateTab(true);
    const std::wstring plain = w.desktop.RibbonText(w.Compose(false, 0, false));
    EXPECT_TRUE(Contains(Line(plain, L"Orvin.Plexa.Tab"), L"hidden")) << text::ToUtf8(plain);
    const std::wstring ours = w.desktop.RibbonText(w.Compose(true, SendModeSep, false));
    EXPECT_EQ(Line(ours, L"Orvin.Plexa.Tab"), L"tab Orvin.Plexa.Tab \"LID_MENU_CAPTION\"");
    EXPECT_TRUE(Contains(Line(ours, L"btnSendMode"), L"tip \"LID_BTN_SEND_MODE_SEP_TIP\""));
}

TEST(RibbonCallbacks, TheExplorerTabFollowsTheFolderTheSelectionAndTheCachedAction) {
    if (!SchemasThere()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    RibbonWorld w(14);
    auto& session = w.desktop.host.session;
    auto explorer = w.desktop.OpenExplorer(olFolderInbox);
    std::wstring state = w.desktop.RibbonText(explorer);
    EXPECT_EQ(Line(state, L"Orvin.Plexa.Explorer.tab"),
              L"tab Orvin.Plexa.Explorer.tab \"RID_E_TAB\"");
    EXPECT_TRUE(Contains(Line(state, L"Orvin.Plexa.Explorer.grpDrafts"), L"hidden"));
    EXPECT_TRUE(Contains(Line(state, L"Orvin.Plexa.Explorer.grpRecent"), L"hidden"));
    EXPECT_EQ(Line(state, L"Orvin.Plexa.Explorer.btnDbg"),
              L"(missing Orvin.Plexa.Explorer.btnDbg)");
    EXPECT_EQ(Line(state, L"Orvin.Plexa.Explorer.btnTo"),
              L"button Orvin.Plexa.Explorer.btnTo \"RID_E_BTN_TO\" tip \"RID_E_BTN_TO_TT\" image "
              L"picture " +
                  Line(state, L"Orvin.Plexa.Explorer.btnTo")
                      .substr(Line(state, L"Orvin.Plexa.Explorer.btnTo").rfind(L' ') + 1));

    // In Drafts: the send-now button shows, enabled only with a mail selected.
    auto& drafts = *session.DefaultFolder(olFolderDrafts);
    auto mail = session.AddItem(drafts, olMail);
    auto task = session.AddItem(drafts, olTask);
    w.desktop.SwitchFolder(explorer, drafts);
    state = w.desktop.RibbonText(explorer);
    EXPECT_FALSE(Contains(Line(state, L"Orvin.Plexa.Explorer.grpDrafts"), L"hidden"));
    EXPECT_TRUE(Contains(Line(state, L"Orvin.Plexa.Explorer.btnSendNow"), L"disabled"))
        << text::ToUtf8(state);
    EXPECT_TRUE(Contains(Line(state, L"Orvin.Plexa.Explorer.btnSendNow"), L"image SendItem"));
    w.desktop.Select(explorer, {task});
    EXPECT_TRUE(Contains(Line(w.desktop.RibbonText(explorer), L"Orvin.Plexa.Explorer.btnSendNow"),
                         L"disabled"));
    w.desktop.Select(explorer, {task, mail});
    EXPECT_FALSE(Contains(Line(w.desktop.RibbonText(explorer), L"Orvin.Plexa.Explorer.btnSendNow"),
                          L"disabled"));

    // A cached action for mail folders: the recent group shows that command's face.
    w.services.Options().SetCachedAction_(olMailItem, 2);
    w.connect->UpdateCachedAction();
    state = w.desktop.RibbonText(explorer);
    EXPECT_FALSE(Contains(Line(state, L"Orvin.Plexa.Explorer.grpRecent"), L"hidden"));
    EXPECT_TRUE(Contains(Line(state, L"Orvin.Plexa.Explorer.btnCachedAction"),
                         L"\"RID_E_BTN_BCC\" tip \"RID_E_BTN_BCC_TT\" image picture"));
    // A stored value beyond 4 counts as none.
    w.services.Options().SetCachedAction_(olMailItem, 7);
    w.connect->UpdateCachedAction();
    EXPECT_TRUE(Contains(Line(w.desktop.RibbonText(explorer), L"Orvin.Plexa.Explorer.grpRecent"),
                         L"hidden"));

    // The To command runs: with nobody gathered it says so and opens no message.
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"LID_PROMPT_NORECIPIENTS");
    w.desktop.Click(L"Orvin.Plexa.Explorer.btnTo");
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_TRUE(w.desktop.Inspectors().empty());
    w.connect->DoButtonAction(L"btnNoSuchThing", explorer);
    EXPECT_EQ(w.ErrorsFrom(L"Connect.Button_Action_"), 1);
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"Plexa");
    w.desktop.Click(L"Orvin.Plexa.Explorer.btnAbout");
    EXPECT_TRUE(w.sim.ui.user.Empty());

    // With a message window's ribbon loaded too, a folder switch still reaches the explorer tab.
    w.Compose(true, SendModeAll, false);
    w.desktop.SwitchFolder(explorer, *session.DefaultFolder(olFolderInbox));
    EXPECT_TRUE(Contains(Line(w.desktop.RibbonText(explorer), L"Orvin.Plexa.Explorer.grpDrafts"),
                         L"hidden"));
}

TEST(RibbonCallbacks, TheDebugButtonShowsWithTheSettingAndOpensTheDebugWindow) {
    if (!SchemasThere()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    RibbonWorld w(14);
    w.sim.registry.PutDword(kUser, L"UseDebugButtons", 1);
    auto explorer = w.desktop.OpenExplorer(olFolderInbox);
    const std::wstring state = w.desktop.RibbonText(explorer);
    EXPECT_EQ(Line(state, L"Orvin.Plexa.Explorer.btnDbg"),
              L"button Orvin.Plexa.Explorer.btnDbg \"Debug\"");
    w.desktop.Click(L"Orvin.Plexa.Explorer.btnDbg");
    EXPECT_NE(w.sim.ui.FindForm(L"frmDEBUG"), nullptr);
}

TEST(RibbonCallbacks, LastSendReportOpensTheNewestReportOrSaysThereIsNone) {
    if (!SchemasThere()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    RibbonWorld w(14);
    w.services.Lang().ItemSet(L"LID_PROMPT_NO_SEND_REPORT", L"There is no send report yet.");
    w.services.Lang().ItemSet(L"LID_PROMPT_SEND_REPORT_NOT_OPENED", L"Not opened: %s");
    auto explorer = w.desktop.OpenExplorer(olFolderInbox);
    EXPECT_NE(Line(w.desktop.RibbonText(explorer), L"Orvin.Plexa.Explorer.btnLastReport"), L"");

    // None yet: the user is told, nothing opens.
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"There is no send report yet.");
    w.desktop.Click(L"Orvin.Plexa.Explorer.btnLastReport");
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_TRUE(w.sim.shell.DocumentsOpened().empty());

    // Two reports: the newer one opens in the application for CSV files.
    const std::vector<SendReportRow> rows = {
        {OleDate(), L"Ann", L"ann@x.example", report::kSent, L"", L""}};
    mSendReports::WriteNew(w.services.Ports(), L"First", OleDate::FromParts(2026, 12, 1), rows);
    const std::wstring second = mSendReports::WriteNew(w.services.Ports(), L"Second",
                                                       OleDate::FromParts(2026, 12, 2), rows);
    w.desktop.Click(L"Orvin.Plexa.Explorer.btnLastReport");
    ASSERT_EQ(w.sim.shell.DocumentsOpened().size(), 1U);
    EXPECT_EQ(w.sim.shell.DocumentsOpened()[0],
              mSendReports::Folder(w.services.Ports()) + L"\\" + second);

    // The shell fails: logged under the command, nothing escapes to the host.
    w.sim.faults.FailNth(L"Shell.OpenDocument", 1, HostError(5, L"Access denied", L"Shell"));
    w.desktop.Click(L"Orvin.Plexa.Explorer.btnLastReport");
    EXPECT_EQ(w.ErrorsFrom(L"mExplorer.ShowLastSendReport"), 1);
    EXPECT_EQ(w.sim.shell.DocumentsOpened().size(), 1U);
}

TEST(RibbonCallbacks, EveryHostCallFailingGivesTheDefaultAndNothingEscapes) {
    if (!SchemasThere()) {
        GTEST_SKIP() << "the Office custom-UI schemas are missing: " << sim::CustomUiSchemaPath();
    }
    struct World : RibbonWorld {
        World() : RibbonWorld(14, true) {
            services.Options().SetCachedAction_(olMailItem, 1);
            auto& drafts = *desktop.host.session.DefaultFolder(olFolderDrafts);
            auto item = desktop.host.session.AddItem(drafts, olMail);
            explorer = desktop.OpenExplorer(drafts);
            desktop.Select(explorer, {item});
            inspector = Compose(true, SendModeSep, true);
            desktop.RibbonText(explorer);
            desktop.RibbonText(inspector);
        }
        std::shared_ptr<sim::SimExplorer> explorer;
        std::shared_ptr<sim::SimInspector> inspector;
    };
    test::SweepHostCalls(
        "the ribbons' callbacks", [] { return std::make_unique<World>(); },
        [](World& w) {
            w.desktop.ribbons.Invalidate(L"Microsoft.Outlook.Mail.Compose", L"");
            w.desktop.ribbons.Invalidate(L"Microsoft.Outlook.Explorer", L"");
            w.desktop.RibbonText(w.inspector);
            w.desktop.RibbonText(w.explorer);
        },
        [](World& w, const test::SweepPoint& point) {
            if (point.n == 0) {
                EXPECT_TRUE(point.errors.empty());
                EXPECT_TRUE(Contains(w.desktop.RibbonText(w.explorer), L"\"Send Now\""));
            }
            // No callback let an error through to the client.
            for (const auto& error : w.desktop.ribbons.Errors()) {
                ADD_FAILURE() << point.Describe() << ": " << text::ToUtf8(error);
            }
        });
}

}  // namespace
}  // namespace plexa
