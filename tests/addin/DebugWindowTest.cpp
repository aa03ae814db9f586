// The developer's debug window: the dialogs it opens with sample data, the list chooser over the
// mailbox, the progress run and its cancelling through the message loop, the help topic, and that
// no sample dialog outlives a failure.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "addin/Connect.h"
#include "addin/frmDEBUG.h"
#include "core/FlexGrid.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "platform/IUiShell.h"
#include "settings/CLang.h"
#include "settings/mHelp.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"

namespace plexa {
namespace {

bool Logged(const test::LogCapture& log, LogLevel level, const std::wstring& part) {
    for (const LogEntry& e : log.Of(level)) {
        if (e.text.find(part) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

int DialogPrompts(const sim::SimUiShell& ui, const std::wstring& formName) {
    int count = 0;
    for (const sim::PromptRecord& p : ui.Prompts()) {
        count += p.kind == sim::PromptRecord::Kind::Dialog && p.text == formName ? 1 : 0;
    }
    return count;
}

// A test world with the add-in that owns the debug window.
struct DebugWorld : test::TestWorld {
    // The mail client, for the samples that show the mailbox (it outlives the add-in).
    sim::SimDesktop& Client() {
        desktop = std::make_unique<sim::SimDesktop>(sim);
        services.host = desktop->Ports();
        return *desktop;
    }
    std::unique_ptr<sim::SimDesktop> desktop;
    std::shared_ptr<Connect> addin = std::make_shared<Connect>(services);
};

frmDEBUG& OpenDebugWindow(DebugWorld& w) {
    w.addin->ShowDebugForm();
    Form* form = w.sim.ui.FindForm(L"frmDEBUG");
    EXPECT_NE(form, nullptr);
    return w.addin->DebugForm();
}

TEST(DebugWindow, OpensModelessOnceListsTheDialogsAndCloses) {
    DebugWorld w;
    frmDEBUG& debug = OpenDebugWindow(w);
    ASSERT_EQ(w.sim.ui.Prompts().size(), 1u);
    EXPECT_FALSE(w.sim.ui.Prompts().front().modal);
    EXPECT_EQ(
        debug[L"cboForms"].items,
        (std::vector<std::wstring>{L"frmChooseDL", L"frmEmptyField", L"frmEmptyField (mode2)",
                                   L"frmOptions", L"frmPleaseWait", L"frmPreview", L"frmProgress",
                                   L"frmRecipientProp", L"frmSeparatlyOptions"}));
    EXPECT_EQ(debug[L"cboForms"].text, L"frmChooseDL");

    // The Debug button again brings the same window forward.
    w.addin->ShowDebugForm();
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 1);

    w.sim.ui.Act(L"frmDEBUG", {}, L"btnClose");
    EXPECT_EQ(w.sim.ui.FindForm(L"frmDEBUG"), nullptr);
}

TEST(DebugWindow, ProgressRunsThreeStagesAndStopsWhereItIsCancelled) {
    DebugWorld w;
    w.services.Lang().ItemSet(L"LID_PROMPT_PROGRESS_CANCEL", L"Stop adding recipients?");
    for (const wchar_t* key :
         {L"LID_PROGRESS_STAGE1", L"LID_PROGRESS_STAGE2", L"LID_PROGRESS_STAGE3"}) {
        w.services.Lang().ItemSet(key, L"%d of %d");
    }
    OpenDebugWindow(w);

    // Untouched, it runs 3 stages of 100 steps of 50 ms, then closes.
    uint64_t start = w.sim.clock.TickCount();
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmProgress"}}, L"btnShowForm");
    EXPECT_EQ(w.sim.clock.TickCount() - start, 15000u);
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmProgress ran through stage 3"));
    // With the stage texts there, the run logs only what it did (no language file is loaded
    // here, so the dialog's captions stay as designed, with one warning).
    EXPECT_EQ(w.log.Of(LogLevel::Warning).size(),
              w.log.Of(LogLevel::Warning, L"CLang.LocalizeControls").size());
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
    EXPECT_EQ(w.sim.ui.FindForm(L"frmProgress"), nullptr);

    // A click on Cancel, delivered by the message loop as stage 1 begins, ends it at once.
    start = w.sim.clock.TickCount();
    w.sim.ui.user.AnswerDialog(L"frmProgress", {}, L"btnCancel");
    w.sim.ui.Act(L"frmDEBUG", {}, L"btnShowForm");
    EXPECT_EQ(w.sim.clock.TickCount() - start, 0u);
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmProgress cancelled in stage 1"));
    EXPECT_EQ(w.sim.ui.FindForm(L"frmProgress"), nullptr);

    // In stage 3 Cancel asks first: No goes on, Yes stops. The clicks come from a timer that
    // ticks every second and clicks while the stage-3 text shows (at 11 s and 12 s).
    int clicks = 0;
    w.sim.timers.SetTimer(77, 1000, [&w, &clicks](TimerId) {
        Form* progress = w.sim.ui.FindForm(L"frmProgress");
        if (progress != nullptr && (*progress)[L"lblProgress3"].visible && clicks < 2) {
            ++clicks;
            w.sim.ui.Act(L"frmProgress", {}, L"btnCancel");
        }
    });
    w.sim.ui.user.AnswerMsgBox(mb::IdNo, L"Stop adding recipients?");
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Stop adding recipients?");
    start = w.sim.clock.TickCount();
    w.sim.ui.Act(L"frmDEBUG", {}, L"btnShowForm");
    w.sim.timers.KillTimer(77);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmProgress cancelled in stage 3"));
    EXPECT_EQ(w.sim.clock.TickCount() - start, 12000u);
}

TEST(DebugWindow, SampleDialogsShowTheirSampleData) {
    DebugWorld w;
    OpenDebugWindow(w);

    // The recipient-property dialog, modal, with the sample texts; what the user enters is
    // logged.
    std::wstring property;
    std::wstring value;
    w.sim.ui.onFormActivated = [&](Form* form) {
        if (form != nullptr && form->Name() == L"frmRecipientProp") {
            property = (*form)[L"lblProperty"].caption;
            value = (*form)[L"txtValue"].text;
        }
    };
    w.sim.ui.user.AnswerDialog(L"frmRecipientProp", {{L"txtValue", L"Dr."}}, L"btnOK");
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmRecipientProp"}}, L"btnShowForm");
    EXPECT_EQ(property, L"<Very Long Prop Name>");
    EXPECT_EQ(value, L"<PropValue>");
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmRecipientProp returned 'Dr.'"));
    w.sim.ui.user.AnswerDialog(L"frmRecipientProp", {}, L"(close)");
    w.sim.ui.Act(L"frmDEBUG", {}, L"btnShowForm");
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmRecipientProp cancelled"));

    // The empty-field dialog's two modes: a contact without the field, no contact at all.
    std::vector<bool> contactLabels;
    std::vector<int32_t> draftsChosen;
    const auto lookAtEmptyField = [&](const Form& form) {
        auto& f = const_cast<Form&>(form);
        contactLabels.push_back(f[L"lbl1a"].visible && !f[L"lbl1b"].visible);
        draftsChosen.push_back(f[L"optSave2Drafts"].value);
    };
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnCancel", lookAtEmptyField);
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmEmptyField"}}, L"btnShowForm");
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnCancel", lookAtEmptyField);
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmEmptyField (mode2)"}}, L"btnShowForm");
    EXPECT_EQ(contactLabels, (std::vector<bool>{true, false}));
    EXPECT_EQ(draftsChosen, (std::vector<int32_t>{0, -1}));

    // The preview's sample shows a copy of each mark; a click shows one copy in full.
    int32_t rows = 0;
    std::wstring copy;
    w.sim.ui.user.AnswerDialog(
        L"frmPreview", {{L"grdCopies", L"cy@day.example"}}, L"btnSend", [&](const Form& form) {
            auto& f = const_cast<Form&>(form);
            if (const auto* grid = dynamic_cast<const FlexGrid*>(f.Find(L"grdCopies"))) {
                rows = grid->Rows();
            }
            copy = f[L"txtCopy"].text;
        });
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmPreview"}}, L"btnShowForm");
    EXPECT_EQ(rows, 6);  // the header and five copies
    EXPECT_EQ(copy,
              L"Cy Day <cy@day.example>\r\nNews for %LastName%\r\n\r\nDear %LastName%,\r\nour "
              L"news for %Compnay%.");
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmPreview: send"));

    // The please-wait window appears after three seconds of the five-second run, and goes.
    w.sim.ui.onFormActivated = nullptr;
    const uint64_t start = w.sim.clock.TickCount();
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmPleaseWait"}}, L"btnShowForm");
    EXPECT_EQ(w.sim.clock.TickCount() - start, 5000u);
    EXPECT_EQ(DialogPrompts(w.sim.ui, L"frmPleaseWait"), 1);
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmPleaseWait was shown"));
    EXPECT_EQ(w.sim.ui.FindForm(L"frmPleaseWait"), nullptr);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 1);  // only the debug window
}

TEST(DebugWindow, TheListChooserShowsTheMailboxListsAndLogsThePick) {
    DebugWorld w;
    sim::SimSession& session = w.Client().host.session;
    sim::FolderRecord& contacts = *session.DefaultFolder(olFolderContacts);
    for (const wchar_t* subject : {L"Chess", L"Book club"}) {
        session.AddItem(contacts, olDistributionList)->SetText(mapi::PR_SUBJECT, subject);
    }
    OpenDebugWindow(w);

    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {{L"ctlGrid", L"Chess"}}, L"btnNext");
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmChooseDL"}}, L"btnShowForm");
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmChooseDL returned 'Chess'"));
    w.sim.ui.user.AnswerDialog(L"frmChooseDL", {}, L"btnCancel");
    w.sim.ui.Act(L"frmDEBUG", {}, L"btnShowForm");
    EXPECT_TRUE(Logged(w.log, LogLevel::Debug, L"frmChooseDL cancelled"));
    EXPECT_TRUE(w.sim.ui.user.Empty());
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 1);  // only the debug window
}

TEST(DebugWindow, AFailureDuringASampleIsLoggedAndLeavesNoDialogBehind) {
    DebugWorld w;
    OpenDebugWindow(w);
    w.sim.faults.FailNth(L"Clock.Sleep", 30, HostError(5, L"Sleep refused", L"Clock"));
    w.sim.ui.Act(L"frmDEBUG", {{L"cboForms", L"frmProgress"}}, L"btnShowForm");
    EXPECT_EQ(w.sim.faults.Injected(L"Clock.Sleep"), 1);
    const auto errors = w.log.Of(LogLevel::Error, L"frmDEBUG::btnShowForm_Click");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors.front().text.find(L"Sleep refused"), std::wstring::npos);
    EXPECT_EQ(w.sim.ui.FindForm(L"frmProgress"), nullptr);
    EXPECT_NE(w.sim.ui.FindForm(L"frmDEBUG"), nullptr);

    // A debug window still up when the add-in goes is taken off the screen with it.
    {
        Services inner(w.sim.Ports());
        auto innerAddin = std::make_shared<Connect>(inner);
        innerAddin->ShowDebugForm();
        EXPECT_EQ(w.sim.ui.OpenFormCount(), 2);
    }
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 1);
}

TEST(DebugWindow, HelpOpensTheTopicOfTheInstalledHelpFile) {
    DebugWorld w;
    const std::wstring helpFile = L"C:\\Program Files\\Orvin\\Plexa\\Plexa.chm";
    EXPECT_EQ(mHelp::HelpFilePath(w.services), helpFile);
    OpenDebugWindow(w);

    // Not installed: nothing opens, and the warning names the file and the topic.
    w.sim.ui.Act(L"frmDEBUG", {{L"txtTopic", L"html/options.htm"}}, L"btnShowHelp");
    EXPECT_TRUE(w.sim.shell.HelpTopicsShown().empty());
    EXPECT_TRUE(Logged(w.log, LogLevel::Warning, L"'html/options.htm' of '" + helpFile + L"'"));

    w.sim.shell.AddHelpFile(helpFile);
    w.sim.ui.Act(L"frmDEBUG", {}, L"btnShowHelp");
    ASSERT_EQ(w.sim.shell.HelpTopicsShown().size(), 1u);
    EXPECT_EQ(w.sim.shell.HelpTopicsShown().front().topic, L"html/options.htm");

    // An empty topic opens nothing and is no fault; a failing viewer is logged as an error.
    const std::size_t warnings = w.log.Of(LogLevel::Warning).size();
    w.sim.ui.Act(L"frmDEBUG", {{L"txtTopic", L""}}, L"btnShowHelp");
    EXPECT_EQ(w.log.Of(LogLevel::Warning).size(), warnings);
    w.sim.faults.FailAlways(L"Shell.HtmlHelpDisplayTopic", HostError(7, L"no viewer", L"Shell"));
    EXPECT_FALSE(mHelp::ShowHelpTopic(w.services, L"html/index.htm"));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mHelp::ShowHelpTopic").size(), 1u);
    EXPECT_EQ(w.sim.shell.HelpTopicsShown().size(), 1u);
}

}  // namespace
}  // namespace plexa
