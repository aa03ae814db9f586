// The empty-field dialog (labels for found and not-found contacts, the two options, the
// validation message, OK, Cancel and the close box) and the separate-send options dialog (its
// clamped values, the don't-show box), answered by the scripted user as a scenario would.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "TestWorld.h"
#include "platform/IUiShell.h"
#include "separate/frmEmptyField.h"
#include "separate/frmSeparatlyOptions.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/IPleaseWait.h"
#include "sim/windows/ScriptedUser.h"

namespace plexa {
namespace {

struct DialogWorld : test::TestWorld {
    DialogWorld() {
        services.Lang().ItemSet(L"LID_PROMPT_VALIDATE_MESSAGE1",
                                L"Please enter the value to use for %s.");
    }
    EmptyFieldArgs Args(bool contactFound) {
        EmptyFieldArgs args;
        args.recipientName = L"Ann Smith";
        args.recipientAddress = L"ann@acme.example";
        args.token = L"%LastName%";
        args.value = L"Suggested";
        args.contactFound = contactFound;
        args.contactName = L"Ann %s Smith";  // a "%s" of its own stays as it is
        args.caption = L"Offer - Plexa";
        return args;
    }
    // What the dialog showed when it was answered.
    void Watch() {
        sim.ui.onFormActivated = [this](Form* form) {
            if (form != nullptr && form->Name() == L"frmEmptyField") {
                for (const auto& c : form->Controls()) {
                    shown[c->Name()] =
                        c->visible ? c->caption + L"|" + c->text + (c->enabled ? L"" : L"|disabled")
                                   : L"(hidden)";
                }
                shown[L"(caption)"] = form->caption;
            }
        };
    }
    std::map<std::wstring, std::wstring> shown;
    NoPleaseWait noWindow;
};

TEST(EmptyFieldDialog, LabelsNameTheContactOrTheAddressAndOkReturnsTheTypedValue) {
    DialogWorld w;
    w.Watch();
    EmptyFieldArgs args = w.Args(true);
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {{L"txtValue", L"Smyth"}}, L"btnOK");
    EXPECT_FALSE(ShowEmptyField(w.services, w.noWindow, args));
    EXPECT_EQ(args.value, L"Smyth");
    EXPECT_EQ(w.shown[L"lbl1a"], L"Contact \"Ann %s Smith\" contains an empty field: %LastName%.|");
    EXPECT_EQ(w.shown[L"lbl1b"], L"(hidden)");
    EXPECT_EQ(w.shown[L"lbl2b"], L"(hidden)");
    EXPECT_EQ(w.shown[L"optChangeValue"], L"Change %LastName% by the following value:|");
    EXPECT_EQ(w.shown[L"txtValue"], L"|Suggested");
    EXPECT_EQ(w.shown[L"(caption)"], L"Offer - Plexa");
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);

    // Not found: the address in the other pair of labels; Drafts preselected, the text box off.
    args = w.Args(false);
    args.preselectDrafts = true;
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnOK");
    EXPECT_FALSE(ShowEmptyField(w.services, w.noWindow, args));
    EXPECT_EQ(args.value, L"");  // keep such copies in Drafts
    EXPECT_EQ(w.shown[L"lbl1a"], L"(hidden)");
    EXPECT_EQ(w.shown[L"lbl1b"],
              L"Corresponding contact for the recipient (ann@acme.example) is not found.|");
    EXPECT_NE(w.shown[L"lbl2b"].find(L"an empty %LastName% field"), std::wstring::npos);
    EXPECT_EQ(w.shown[L"txtValue"], L"|Suggested|disabled");
}

TEST(EmptyFieldDialog, AnEmptyValueIsRefusedWithTheValidationMessageUntilOneIsTyped) {
    DialogWorld w;
    EmptyFieldArgs args = w.Args(true);
    args.onTop = true;
    // Switching to Drafts and back to change-value enables the box again; empty, OK is refused.
    w.sim.ui.user.AnswerDialog(
        L"frmEmptyField",
        {{L"optSave2Drafts", L"true"}, {L"optChangeValue", L"true"}, {L"txtValue", L""}}, L"btnOK");
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"Please enter the value to use for %LastName%.");
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {{L"txtValue", L"Smith"}}, L"btnOK");
    EXPECT_FALSE(ShowEmptyField(w.services, w.noWindow, args));
    EXPECT_EQ(args.value, L"Smith");
    const auto& prompts = w.sim.ui.Prompts();
    ASSERT_EQ(prompts.size(), 2U);
    EXPECT_EQ(prompts[1].title, L"Offer - Plexa");
    EXPECT_NE(prompts[1].buttons & mb::Topmost, 0);

    // A scripted user cannot type into the box while Drafts is chosen.
    args = w.Args(true);
    w.sim.ui.user.AnswerDialog(L"frmEmptyField",
                               {{L"optSave2Drafts", L"true"}, {L"txtValue", L"x"}}, L"btnOK");
    EXPECT_ANY_THROW(ShowEmptyField(w.services, w.noWindow, args));
}

TEST(EmptyFieldDialog, CancelAndTheCloseBoxCancelAndThePleaseWaitWindowComesBack) {
    DialogWorld w;
    struct Window : NoPleaseWait {
        bool Visible() const override { return visible; }
        void SetVisible(bool v) override {
            visible = v;
            changes += 1;
        }
        bool visible = true;
        int changes = 0;
    } window;
    EmptyFieldArgs args = w.Args(false);
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {{L"txtValue", L"typed"}}, L"btnCancel");
    EXPECT_TRUE(ShowEmptyField(w.services, window, args));
    EXPECT_EQ(args.value, L"Suggested");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.changes, 2);
    args = w.Args(false);
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, sim::kCloseBox);
    EXPECT_TRUE(ShowEmptyField(w.services, window, args));
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
}

TEST(SeparatlyOptionsDialog, LoadClampsTheSettingsAndOkStoresClampedValues) {
    DialogWorld w;
    COptions& options = w.services.Options();
    options.GroupRecipients(5000);
    options.GroupInterval(0);
    int refreshed = 0;
    std::map<std::wstring, std::wstring> shown;
    w.sim.ui.onFormActivated = [&shown](Form* form) {
        if (form != nullptr && form->Name() == L"frmSeparatlyOptions") {
            shown[L"recipients"] = (*form)[L"txtGroupRecipients"].text;
            shown[L"interval"] = (*form)[L"txtGroupInterval"].text;
            shown[L"check"] = std::to_wstring((*form)[L"chkDontShowSeparatlyOptions"].value);
        }
    };
    // Typing 5000 stores 1000; letters store the up-down control's value.
    w.sim.ui.user.AnswerDialog(L"frmSeparatlyOptions",
                               {{L"txtGroupRecipients", L"5000"},
                                {L"udGroupInterval", L"30"},
                                {L"txtGroupInterval", L"soon"}},
                               L"btnOK");
    ShowSeparatlyOptions(w.services, false, [&refreshed] { ++refreshed; });
    EXPECT_EQ(shown[L"recipients"], L"1000");
    EXPECT_EQ(shown[L"interval"], L"1");
    EXPECT_EQ(shown[L"check"], L"0");
    EXPECT_EQ(options.GroupRecipients(), 1000);
    EXPECT_EQ(options.GroupInterval(), 30);
    EXPECT_TRUE(options.ShowSeparatlyOptions());
    EXPECT_EQ(refreshed, 1);

    // The don't-show box turns the dialog off; negative and fractional numbers are kept in range.
    w.sim.ui.user.AnswerDialog(L"frmSeparatlyOptions",
                               {{L"txtGroupRecipients", L"-4"},
                                {L"txtGroupInterval", L"90.6"},
                                {L"chkDontShowSeparatlyOptions", L"1"}},
                               L"btnOK");
    ShowSeparatlyOptions(w.services, true, nullptr);
    EXPECT_EQ(options.GroupRecipients(), 1);
    EXPECT_EQ(options.GroupInterval(), 91);
    EXPECT_FALSE(options.ShowSeparatlyOptions());

    // Cancel and the close box store nothing; the box shows the setting.
    w.sim.ui.user.AnswerDialog(
        L"frmSeparatlyOptions",
        {{L"txtGroupRecipients", L"7"}, {L"chkDontShowSeparatlyOptions", L"0"}}, L"btnCancel");
    ShowSeparatlyOptions(w.services, false, [&refreshed] { ++refreshed; });
    EXPECT_EQ(shown[L"check"], L"1");
    w.sim.ui.user.AnswerDialog(L"frmSeparatlyOptions", {{L"txtGroupRecipients", L"8"}},
                               sim::kCloseBox);
    ShowSeparatlyOptions(w.services, false, nullptr);
    EXPECT_EQ(options.GroupRecipients(), 1);
    EXPECT_FALSE(options.ShowSeparatlyOptions());
    EXPECT_EQ(refreshed, 2);
    EXPECT_EQ(w.sim.ui.OpenFormCount(), 0);
}

}  // namespace
}  // namespace plexa
