// The progress window's stages and cancelling, and the please-wait window's timing on the
// simulated clock.
#include <gtest/gtest.h>

#include "TestWorld.h"
#include "host/outlook/Application.h"
#include "platform/IUiShell.h"
#include "settings/CLang.h"
#include "sim/SimDesktop.h"
#include "ui/CPleaseWait.h"
#include "ui/frmProgress.h"

namespace plexa {
namespace {

TEST(Progress, StagesShowTheirTextAndCancellingAsksOnlyInStageThree) {
    test::TestWorld w;
    w.services.Lang().ItemSet(L"LID_PROGRESS_STAGE1", L"Gathering item %d of %d");
    w.services.Lang().ItemSet(L"LID_PROGRESS_STAGE3", L"Adding %d of %d");
    w.services.Lang().ItemSet(L"LID_PROMPT_PROGRESS_CANCEL", L"Stop adding recipients?");
    frmProgress progress(w.services);
    w.sim.ui.Show(progress, false);

    progress.ProgressInit(5, 1);
    progress.ProgressStep();
    progress.ProgressStep();
    EXPECT_EQ(progress[L"lblProgress1"].caption, L"Gathering item 2 of 5");
    EXPECT_TRUE(progress[L"lblProgress1"].visible);
    EXPECT_FALSE(progress[L"lblProgress3"].visible);
    EXPECT_EQ(progress[L"barProgress"].value, 2);

    // Stage 1: Cancel takes effect at once, without a question.
    w.sim.ui.Act(L"frmProgress", {}, L"btnCancel");
    EXPECT_TRUE(progress.Cancel());
    EXPECT_TRUE(w.sim.ui.Prompts().size() == 1u);  // the window itself, no message box

    // Stage 3 asks first; No leaves the work running, Yes cancels.
    frmProgress adding(w.services);
    w.sim.ui.Show(adding, false);
    adding.ProgressInit(3, 3);
    w.sim.ui.user.AnswerMsgBox(mb::IdNo, L"Stop adding recipients?");
    w.sim.ui.Act(L"frmProgress", {}, L"btnCancel");
    EXPECT_FALSE(adding.Cancel());
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    w.sim.ui.Act(L"frmProgress", {}, L"btnCancel");
    EXPECT_TRUE(adding.Cancel());

    // The close box is refused until the program closes the window.
    EXPECT_FALSE(adding.OnQueryUnload());
    adding.ProgressDone();
    EXPECT_FALSE(w.sim.ui.IsLoaded(adding));
    progress.ProgressDone();
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
}

TEST(Progress, AnInvalidStageIsLoggedAndShowsNoStageText) {
    test::TestWorld w;
    frmProgress progress(w.services);
    w.sim.ui.Show(progress, false);
    progress.ProgressInit(10, 4);
    for (const wchar_t* label : {L"lblProgress1", L"lblProgress2", L"lblProgress3"}) {
        EXPECT_FALSE(progress[label].visible) << label;
    }
    const auto errors = w.log.Of(LogLevel::Error, L"frmProgress::ProgressInit");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"Invalid Stage = 4");
    progress.ProgressDone();
}

TEST(Progress, AWindowThatCannotBeUnloadedIsHiddenAndUnloadedNextTime) {
    test::TestWorld w;
    frmProgress progress(w.services);
    w.sim.ui.Show(progress, false);
    w.sim.faults.FailNth(L"UiShell.Unload", 1, HostError(5, L"busy"));
    progress.ProgressDone();
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"frmProgress::ProgressDone").size(), 1u);
    EXPECT_TRUE(w.sim.ui.IsLoaded(progress));
    EXPECT_TRUE(w.sim.ui.ShowingFormNames().empty());
    progress.ProgressDone();
    EXPECT_FALSE(w.sim.ui.IsLoaded(progress));
}

TEST(PleaseWait, ShowsOnlyAfterThreeSecondsAndMovesItsDotsEveryTwo) {
    test::TestWorld w;
    CPleaseWait wait(w.services);

    // A short action never shows the window.
    wait.ActionBegin();
    w.sim.clock.AdvanceSeconds(2);
    wait.Update();
    wait.ActionEnd();
    EXPECT_EQ(w.sim.ui.FindForm(L"frmPleaseWait"), nullptr);

    wait.ActionBegin();
    wait.ActionBegin();  // nested
    w.sim.clock.AdvanceSeconds(2);
    wait.Update();
    EXPECT_FALSE(wait.FormShown());
    w.sim.clock.AdvanceSeconds(1);
    wait.Update();
    ASSERT_TRUE(wait.FormShown());
    Control& label = wait.Form()[L"lblWait"];
    EXPECT_EQ(label.caption, L"Please wait...");
    std::vector<std::wstring> dots;
    for (int i = 0; i < 6; ++i) {
        w.sim.clock.AdvanceSeconds(1);
        wait.Update();  // too early: no change
        w.sim.clock.AdvanceSeconds(1);
        wait.Update();
        dots.push_back(label.caption.substr(11));
    }
    EXPECT_EQ(dots, (std::vector<std::wstring>{L"..", L".", L"", L".", L"..", L"..."}));

    wait.ActionEnd();
    EXPECT_TRUE(wait.FormShown());  // one action still open
    wait.ActionEnd();
    EXPECT_FALSE(wait.FormShown());
    EXPECT_EQ(w.sim.ui.FindForm(L"frmPleaseWait"), nullptr);
    wait.ActionEnd();  // one too many
    EXPECT_EQ(wait.ActionCount(), 0);

    // The next long action waits its own three seconds again.
    wait.ActionBegin();
    wait.Update();
    EXPECT_FALSE(wait.FormShown());
    w.sim.clock.AdvanceSeconds(3);
    wait.Update();
    EXPECT_TRUE(wait.FormShown());
    EXPECT_EQ(label.caption, L"Please wait...");  // the base text, not the last dots

    // Recreated: gone now, back at the very next update.
    wait.SetFormRecreation();
    EXPECT_FALSE(wait.FormShown());
    wait.Update();
    EXPECT_TRUE(wait.FormShown());
    EXPECT_EQ(label.caption, L"Please wait...");
    wait.SetVisible(false);
    EXPECT_FALSE(wait.Visible());
    wait.SetVisible(true);
    EXPECT_TRUE(wait.Visible());
    wait.UnloadForm();
    EXPECT_EQ(wait.ActionCount(), 0);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
    EXPECT_EQ(w.log.Of(LogLevel::Debug, L"frmPleaseWait").size(), 6u);  // three loads, unloads
}

TEST(PleaseWait, ShowsInFrontWithoutTakingTheFocusFromTheMessageEditor) {
    test::TestWorld w;
    sim::SimDesktop desktop{w.sim};
    w.services.host = desktop.Ports();
    auto mail =
        std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
    auto inspector = desktop.OpenInspector(mail);
    CPleaseWait wait(w.services);
    wait.ActionBegin();
    w.sim.clock.AdvanceSeconds(3);
    wait.Update();
    ASSERT_TRUE(wait.FormShown());
    EXPECT_EQ(w.sim.ui.FindForm(L"frmPleaseWait"), &wait.Form());
    EXPECT_EQ(w.sim.ui.ActiveForm(), nullptr);
    // Owned by the message window, so it stays in front of it.
    ASSERT_NE(inspector->Hwnd(), 0U);
    EXPECT_EQ(w.sim.ui.OwnerOf(wait.Form()), inspector->Hwnd());
    desktop.Type(L"abc");
    w.sim.clock.AdvanceSeconds(2);
    wait.Update();  // the dots move
    wait.SetVisible(false);
    wait.SetVisible(true);  // back in front
    desktop.Type(L"d");
    EXPECT_EQ(desktop.IgnoredKeys(), 0);
    EXPECT_NE(mail->Body().find(L"abcd"), std::wstring::npos);
    wait.ActionEnd();
    // Unloading gave back the owner it had before.
    EXPECT_EQ(w.sim.ui.OwnersGiven(L"frmPleaseWait"),
              (std::vector<WindowHandle>{inspector->Hwnd(), 0}));
}

}  // namespace
}  // namespace plexa
