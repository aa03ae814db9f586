// The recipient containers: merging while adding, resolution into display strings with their
// source items, the progress window of stage 2, failures while resolving; the per-recipient
// placeholder values; and the dialog that asks for one of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "host/mapi/PropTags.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipients.h"
#include "recipients/CRecipientsProps.h"
#include "recipients/frmRecipientProp.h"
#include "settings/CLang.h"
#include "settings/IProgress.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "ui/CProgressWindow.h"
#include "ui/frmProgress.h"

namespace plexa {
namespace {

using Lines = std::vector<std::wstring>;

struct ResolveWorld : test::TestWorld {
    ResolveWorld() {
        services.host = desktop.Ports();
        auto& book = session.addressBook;
        book.AddSmtp(L"Ann Smith", L"ann@acme.example");
        book.AddSmtp(L"Annie", L"ANN@acme.example.org");  // a name for another address
        book.AddExchange(L"Dana Whitfield", L"/o=Acme/ou=Exchange/cn=Recipients/cn=dana",
                         L"Dana.Whitfield@Acme.example");
        book.AddList(L"Book club");
    }
    // The resolved list: "display string ids" each.
    Lines Resolved() const {
        Lines out;
        for (int32_t i = 1; i <= recipients.GetResolvedCount(); ++i) {
            std::wstring line = recipients.GetResolvedName(i);
            for (const auto& id : recipients.GetResolvedAssocItemIDs(i).Items()) {
                line += L" " + id;
            }
            out.push_back(line);
        }
        return out;
    }
    Lines Texts(LogLevel level, const std::wstring& source) const {
        Lines out;
        for (const auto& entry : log.Of(level, source)) {
            out.push_back(entry.text);
        }
        return out;
    }
    bool Resolve(bool withProgress = false) {
        NoProgress none;
        const ResolveResult result = withProgress
                                         ? recipients.Resolve(services, progressWindow, true)
                                         : recipients.Resolve(services, none, false);
        cancelled = result.cancelled;
        return result.resolved;
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    CRecipients recipients;
    frmProgress progress{services};
    CProgressWindow progressWindow{services, progress};
    bool cancelled = false;
};

TEST(Recipients, OneAddressInAnyCaseIsOneRecipientShownByTheNameThatResolvesToIt) {
    ResolveWorld w;
    // The first name does not resolve to the address, the second does.
    w.recipients.AddRecipient(L"Annie", L"ANN@ACME.EXAMPLE", L"id1");
    w.recipients.AddRecipient(L"Ann Smith", L"ann@acme.example", L"id2");
    w.recipients.AddRecipient(L"ANN SMITH", L"Ann@Acme.Example", L"ID1");  // nothing new
    ASSERT_EQ(w.recipients.EmailRecipientCount(), 1);
    EXPECT_EQ(w.recipients.EmailRecipient(1).Email, L"ANN@ACME.EXAMPLE");
    EXPECT_EQ(w.recipients.EmailRecipient(1).Names.Items(), (Lines{L"Annie", L"Ann Smith"}));
    EXPECT_TRUE(w.Resolve());
    EXPECT_FALSE(w.cancelled);
    EXPECT_EQ(w.Resolved(), Lines{L"Ann Smith id1 id2"});

    // Neither name resolves to the address: the last name without "@", then the address as
    // first added.
    w.recipients.Reset();
    w.recipients.AddRecipient(L"Annie", L"ANN@ACME.EXAMPLE", L"");
    w.recipients.AddRecipient(L"Somebody Else", L"ann@acme.example", L"");
    EXPECT_TRUE(w.Resolve());
    EXPECT_EQ(w.Resolved(), Lines{L"Somebody Else <ANN@ACME.EXAMPLE>"});

    // No name, or only an address for a name: the bare address.
    w.recipients.Reset();
    w.recipients.AddRecipient(L"", L"zoe@nowhere.example", L"");
    w.recipients.AddRecipient(L"zoe@nowhere.example", L"zoe@nowhere.example", L"");
    w.recipients.AddRecipient(L"Exchange name", L"/o=Acme/cn=x", L"");
    EXPECT_TRUE(w.Resolve());
    EXPECT_EQ(w.Resolved(), Lines{L"zoe@nowhere.example"});
}

TEST(Recipients, NamesWithoutAddressResolveByNameAndMergeWithTheSameDisplayString) {
    ResolveWorld w;
    w.recipients.AddRecipient(L"Ann Smith", L"ann@acme.example", L"id1");
    w.recipients.AddRecipient(L"Dana Whitfield", L"", L"id2");
    w.recipients.AddRecipient(L"ann smith", L"", L"id3");  // the same display string
    w.recipients.AddRecipient(L"Nobody Known", L"", L"id4");
    w.recipients.AddRecipient(L"Book club", L"", L"");
    w.recipients.AddRecipient(L"DANA WHITFIELD", L"", L"id2");
    EXPECT_EQ(w.recipients.NameRecipientCount(), 4);
    EXPECT_TRUE(w.Resolve());
    EXPECT_EQ(w.Resolved(), (Lines{L"Ann Smith id1 id3", L"Dana Whitfield id2", L"Book club"}));
    EXPECT_EQ(w.Texts(LogLevel::Debug, L"CRecipients::Resolve"),
              (Lines{L"->", L"Recipient(Email=\"\") 'Nobody Known' not resolved"}));
    // Every address without "@" was taken as no address.
    EXPECT_EQ(w.Texts(LogLevel::Warning, L"CRecipients::AddRecipient"),
              (Lines{L"Using Name='Dana Whitfield', ignoring invalid email=''",
                     L"Using Name='ann smith', ignoring invalid email=''",
                     L"Using Name='Nobody Known', ignoring invalid email=''",
                     L"Using Name='Book club', ignoring invalid email=''",
                     L"Using Name='DANA WHITFIELD', ignoring invalid email=''"}));

    // The scratch mail was never saved and holds no recipient.
    EXPECT_TRUE(w.session.DefaultFolder(olFolderDrafts)->Items().empty());

    // Adding after resolving discards the resolved list.
    w.recipients.AddRecipient(L"Late", L"late@acme.example", L"");
    EXPECT_EQ(w.recipients.GetResolvedCount(), 0);
    EXPECT_THROW(w.recipients.GetResolvedName(1), HostError);
}

TEST(Recipients, NothingResolvedOrNothingToAddGivesFalse) {
    ResolveWorld w;
    EXPECT_FALSE(w.Resolve());
    w.recipients.AddRecipient(L"", L"", L"id");
    w.recipients.AddRecipient(L"Nobody Known", L"no-at-sign", L"");
    EXPECT_EQ(w.Texts(LogLevel::Warning, L"CRecipients::AddRecipient"),
              (Lines{L"Using Name='', ignoring invalid email=''",
                     L"Ignoring empty recipient (no email, no name)",
                     L"Using Name='Nobody Known', ignoring invalid email='no-at-sign'"}));
    EXPECT_FALSE(w.Resolve());
    EXPECT_FALSE(w.cancelled);
    EXPECT_EQ(w.recipients.GetResolvedCount(), 0);
}

TEST(Recipients, ResolvingRunsStageTwoOfTheProgressWindowAndCanBeCancelled) {
    ResolveWorld w;
    for (int i = 1; i <= 6; ++i) {
        w.recipients.AddRecipient(L"", L"r" + std::to_wstring(i) + L"@acme.example", L"");
    }
    w.recipients.AddRecipient(L"Ann Smith", L"", L"");
    EXPECT_TRUE(w.Resolve(true));
    ASSERT_TRUE(w.sim.ui.IsLoaded(w.progress));  // stays open for the caller
    EXPECT_TRUE(w.progress[L"lblProgress2"].visible);
    EXPECT_EQ(w.progress[L"barProgress"].max, 7);
    EXPECT_EQ(w.progress[L"barProgress"].value, 7);
    EXPECT_EQ(w.recipients.GetResolvedCount(), 7);

    // Cancel during the third step: stops there, closes the window, returns false.
    bool clicked = false;
    w.sim.faults.FailWhen(
        [&](std::wstring_view op, std::wstring_view) {
            if (op == L"Windows.DoEvents" && !clicked && w.progress[L"barProgress"].value == 3) {
                clicked = true;
                w.sim.ui.Act(L"frmProgress", {}, L"btnCancel");
            }
            return false;
        },
        HostError(E_FAIL, L"unused"));
    w.progress.ProgressDone();
    EXPECT_FALSE(w.Resolve(true));
    EXPECT_TRUE(w.cancelled);
    EXPECT_EQ(w.recipients.GetResolvedCount(), 3);
    EXPECT_FALSE(w.sim.ui.IsLoaded(w.progress));
}

TEST(Recipients, HostErrorsWhileResolving) {
    ResolveWorld w;
    w.recipients.AddRecipient(L"Ann Smith", L"ann@acme.example", L"");
    w.recipients.AddRecipient(L"Somebody", L"some@body.example", L"");
    w.recipients.AddRecipient(L"Dana Whitfield", L"", L"");
    // Computing the first display string fails: that recipient is left out with a warning.
    w.sim.faults.FailNth(L"SafeRecipient.Resolve", 1, HostError(E_FAIL, L"Address book busy"));
    EXPECT_TRUE(w.Resolve());
    EXPECT_EQ(w.Resolved(), (Lines{L"Somebody <some@body.example>", L"Dana Whitfield"}));
    EXPECT_EQ(w.Texts(LogLevel::Warning, L"CRecipients::Resolve"),
              Lines{L"Recipient 'ann@acme.example' not resolved"});
    ASSERT_EQ(w.log.Of(LogLevel::Error, L"CRecipients::GetDisplayString").size(), 1u);

    // A failure resolving a name without address ends the resolution.
    w.sim.faults.FailWhen(
        [](std::wstring_view op, std::wstring_view detail) {
            return op == L"SafeRecipients.Add" && detail == L"Dana Whitfield";
        },
        HostError(E_FAIL, L"Cannot add"));
    EXPECT_FALSE(w.Resolve());
    const auto errors = w.log.Of(LogLevel::Error, L"CRecipients::Resolve");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, L"Cannot add");

    // No scratch mail: nothing resolves.
    w.sim.faults.Clear();
    w.sim.faults.FailNth(L"Application.CreateItem", 1, HostError(E_FAIL, L"No mail"));
    EXPECT_FALSE(w.Resolve());
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CRecipients::Resolve").size(), 2u);
    EXPECT_TRUE(w.session.DefaultFolder(olFolderDrafts)->Items().empty());
}

TEST(RecipientsProps, ValuesPerAddressAndDefaultsIgnoreLetterCase) {
    CRecipientsProps props;
    EXPECT_TRUE(props.HasProps(L"ann@acme.example", {}));
    EXPECT_FALSE(props.HasProp(L"ann@acme.example", L"%FullName%"));
    EXPECT_EQ(props.GetProp(L"ann@acme.example", L"%FullName%"), L"");

    props.SetProp(L"Ann@Acme.example", L"%FullName%", L"Ann Smith");
    props.SetProp(L"ann@acme.example", L"%FULLNAME%", L"Ann B. Smith");  // replaces
    props.SetProp(L"ann@acme.example", L"%Company%", L"Acme");
    EXPECT_EQ(props.GetProp(L"ANN@ACME.EXAMPLE", L"%fullname%"), L"Ann B. Smith");
    EXPECT_TRUE(props.HasProps(L"ann@acme.example", {L"%Company%", L"%FullName%"}));
    EXPECT_FALSE(props.HasProps(L"ann@acme.example", {L"%Company%", L"%Nickname%"}));
    EXPECT_FALSE(props.HasProp(L"bob@lee.example", L"%Company%"));

    bool found = true;
    EXPECT_EQ(props.GetDefaultValue(L"%Company%", found), L"");
    EXPECT_FALSE(found);
    props.SetDefaultValue(L"%Company%", L"Acme");
    props.SetDefaultValue(L"%COMPANY%", L"Acme Ltd");
    EXPECT_EQ(props.GetDefaultValue(L"%company%", found), L"Acme Ltd");
    EXPECT_TRUE(found);
    props.SetDefaultValue(L"%Nickname%", L"");
    EXPECT_EQ(props.GetDefaultValue(L"%Nickname%", found), L"");
    EXPECT_TRUE(found);  // an empty default is a default
}

TEST(RecipientProp, AsksForAValueUntilOneIsGivenOrTheUserCancels) {
    test::TestWorld w;
    w.services.Lang().ItemSet(L"LID_CONTACT_EMPTYPROPERTY", L"%s has no value for it:");
    w.services.Lang().ItemSet(L"LID_CONTACT_NOT_FOUND", L"No contact for %s:");
    w.services.Lang().ItemSet(L"LID_PROMPT_VALIDATE_MESSAGE2", L"Please enter %s.");
    RecipientPropArgs args;
    args.recipientName = L"Ann Smith";
    args.propertyName = L"%FirstName%";
    args.value = L"Ann";
    args.contactFound = true;
    args.stayOnTop = true;
    args.caption = L"Plexa - Ann Smith";
    args.cancelled = true;
    frmRecipientProp form(w.services, args);
    // An empty value is refused with a message; then a value is given.
    w.sim.ui.user.AnswerDialog(L"frmRecipientProp", {{L"txtValue", L""}}, L"btnOK");
    w.sim.ui.user.AnswerMsgBox(mb::IdOk, L"Please enter %FirstName%.");
    w.sim.ui.user.AnswerDialog(L"frmRecipientProp", {{L"txtValue", L"Annie"}}, L"btnOK");
    w.sim.ui.Show(form, true);
    EXPECT_EQ(form[L"lblDescription"].caption, L"Ann Smith has no value for it:");
    EXPECT_EQ(form[L"lblProperty"].caption, L"%FirstName%");
    EXPECT_EQ(form.caption, L"Plexa - Ann Smith");
    EXPECT_TRUE(form.Topmost());
    EXPECT_EQ(form.FocusedControl(), L"txtValue");
    EXPECT_EQ(args.value, L"Annie");
    EXPECT_FALSE(args.cancelled);
    EXPECT_FALSE(w.sim.ui.IsLoaded(form));
    EXPECT_TRUE(w.sim.ui.user.Empty());

    // Without a contact, not on top: the other text, no focus placed; Cancel keeps the value.
    args.contactFound = false;
    args.stayOnTop = false;
    frmRecipientProp other(w.services, args);
    w.sim.ui.user.AnswerDialog(L"frmRecipientProp", {{L"txtValue", L"Typed"}}, L"btnCancel");
    w.sim.ui.Show(other, true);
    EXPECT_EQ(other[L"lblDescription"].caption, L"No contact for Ann Smith:");
    EXPECT_EQ(other[L"txtValue"].text, L"Typed");
    EXPECT_FALSE(other.Topmost());
    EXPECT_EQ(other.FocusedControl(), L"");
    EXPECT_TRUE(args.cancelled);
    EXPECT_EQ(args.value, L"Annie");

    // The close box counts as Cancel.
    frmRecipientProp closed(w.services, args);
    w.sim.ui.user.AnswerDialog(L"frmRecipientProp", {}, sim::kCloseBox);
    w.sim.ui.Show(closed, true);
    EXPECT_TRUE(args.cancelled);
}

}  // namespace
}  // namespace plexa
