// The preview of a separate send: placeholder-like words that a replacement would leave (other
// spellings and near misses of a placeholder's name, in the message or inside a value), blank
// values, empty values and two copies to one address are marked; the dialog shows every copy and
// one copy's full text; Cancel there leaves the message, its window and its settings as they
// were, and with the setting off nothing is shown at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlexaWorld.h"
#include "core/FlexGrid.h"
#include "platform/IUiShell.h"
#include "separate/CSendPreview.h"
#include "separate/mSendReports.h"
#include "sim/windows/ScriptedUser.h"

namespace plexa {
namespace {

using test::PlexaWorld;
using Words = std::vector<std::wstring>;

const Words kKnown = {L"%FullName%", L"%FirstName%", L"%MiddleName%", L"%LastName%",
                      L"%Initials%", L"%Nickname%",  L"%Company%"};

TEST(SendPreview, WordsThatAReplacementWouldLeaveAreFound) {
    const Words found = {L"%FirstName%", L"%Company%"};
    // Found tokens go in whatever their letter case; percent signs of another kind stay quiet.
    EXPECT_TRUE(
        CSendPreview::Unreplaced(L"Dear %firstname% of %COMPANY%, 5% off, 10%.", kKnown, found)
            .empty());
    // Another spelling, a near miss, a swapped pair of letters, and a placeholder not found.
    EXPECT_EQ(CSendPreview::Unreplaced(
                  L"%First Name% %Compnay% %LastNmae% %Initals% %Nick_name% %Foo% %Co% %% %a b%",
                  kKnown, found),
              (Words{L"%First Name%", L"%Compnay%", L"%LastNmae%", L"%Initals%", L"%Nick_name%"}));
    // A closing sign that opens the next word; a word over a line break is none.
    EXPECT_EQ(CSendPreview::Unreplaced(L"50% %FristName% and %Last\r\nName%", kKnown, found),
              Words{L"%FristName%"});
    EXPECT_TRUE(CSendPreview::Unreplaced(L"%", kKnown, found).empty());
    EXPECT_TRUE(CSendPreview::Unreplaced(L"", kKnown, found).empty());
}

TEST(SendPreview, CopiesAreMarkedForEmptyBlankUnreplacedAndDuplicate) {
    CRecipientsProps props;
    props.SetProp(L"ann@x.example", L"%FirstName%", L"Ann");
    props.SetProp(L"bob@x.example", L"%FirstName%", L"   ");
    props.SetProp(L"cy@x.example", L"%FirstName%", L"%LastName%");
    props.SetProp(L"dee@x.example", L"%FirstName%", L"Dee");
    CSendPreview preview(kKnown, {L"%FirstName%"});
    preview.ScanMessage(L"Hi %FirstName%", L"Dear %FirstName%,\r\nsee you.");
    preview.AddCopy(L"Ann", L"ann@x.example", props);
    preview.AddCopy(L"Bob", L"bob@x.example", props);
    preview.AddCopy(L"Cy", L"cy@x.example", props);
    preview.AddCopy(L"Eve", L"eve@x.example", props);
    preview.AddCopy(L"Dee", L"dee@x.example", props);
    preview.AddCopy(L"Dee again", L"DEE@x.example", props);
    const auto& copies = preview.Copies();
    ASSERT_EQ(copies.size(), 6U);
    EXPECT_EQ(copies[0].marks, MarkNone);
    EXPECT_EQ(copies[0].subject, L"Hi Ann");
    EXPECT_EQ(copies[1].marks, MarkBlankValue);
    EXPECT_EQ(copies[2].marks, MarkUnreplaced);
    EXPECT_EQ(copies[2].unreplaced, Words{L"%LastName%"});
    EXPECT_EQ(copies[3].marks, MarkEmptyValue);
    EXPECT_EQ(copies[3].subject, L"Hi ");
    EXPECT_EQ(copies[4].marks, MarkDuplicate);
    EXPECT_EQ(copies[5].marks, MarkDuplicate);
    EXPECT_EQ(preview.MarkedCount(), 5);
    EXPECT_EQ(CSendPreview::FillText(L"Dear %FirstName%,", preview.Tokens(), copies[0].values),
              L"Dear Ann,");

    // A word the message itself leaves marks every copy.
    CSendPreview typo(kKnown, {L"%FirstName%"});
    typo.ScanMessage(L"News", L"Dear %FirstName% %LastNme%");
    typo.AddCopy(L"Ann", L"ann@x.example", props);
    EXPECT_EQ(typo.Copies()[0].marks, MarkUnreplaced);
}

TEST(SendPreview, TheDialogShowsEveryCopyAndCancelChangesNothing) {
    PlexaWorld w;
    w.services.Options().PreviewBeforeSend(true);
    auto mail = w.Compose(
        L"For %LastName%", L"Dear %LastName%,\r\nhello.",
        {L"Ann Smith <ann@acme.example>", L"madonna@pop.example", L"Bob Lee <bob@lee.example>"},
        SendModeSep, true);
    const std::wstring id = mail->EntryID();
    std::vector<std::wstring> rows;
    std::wstring shown;
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnOK");
    w.sim.ui.user.AnswerDialog(
        L"frmPreview", {{L"grdCopies", L"bob@lee.example"}}, L"btnCancel", [&](const Form& form) {
            const auto* grid =
                dynamic_cast<const FlexGrid*>(const_cast<Form&>(form).Find(L"grdCopies"));
            ASSERT_NE(grid, nullptr);
            for (int32_t r = 0; r < grid->Rows(); ++r) {
                std::wstring line;
                for (int32_t c = 0; c < grid->Cols(); ++c) {
                    line += (c ? L"|" : L"") + grid->TextMatrix(r, c);
                }
                rows.push_back(line);
            }
            shown = const_cast<Form&>(form)[L"txtCopy"].text;
        });
    EXPECT_TRUE(w.Send(mail));
    EXPECT_TRUE(w.sim.ui.user.Empty());
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(rows[1], L"Ann Smith|ann@acme.example|For Smith|Smith|");
    EXPECT_EQ(rows[2].rfind(L"madonna@pop.example|madonna@pop.example|For ||", 0), 0U);
    EXPECT_NE(rows[2].find(L"LID_PREVIEW_MARK_EMPTY"), std::wstring::npos);
    EXPECT_EQ(shown, L"Bob Lee <bob@lee.example>\r\nFor Lee\r\n\r\nDear Lee,\r\nhello.");

    // Cancelled from the preview: nothing sent, copied, queued or reported; the message keeps
    // its recipients and settings.
    EXPECT_TRUE(w.session.transmissions.empty());
    EXPECT_EQ(w.queue.Count(), 0U);
    EXPECT_EQ(w.Items(olFolderDrafts).size(), 1U);
    EXPECT_EQ(w.session.FindItem(id)->recipients.size(), 3U);
    EXPECT_EQ(mUserProps::GetSendMode(mail), SendModeSep);
    EXPECT_EQ(mSendReports::Newest(w.services.Ports()), L"");

    // Going on from the preview leads to the confirmation as before.
    w.sim.ui.user.AnswerDialog(L"frmPreview", {}, L"btnSend");
    w.sim.ui.user.AnswerMsgBox(mb::IdYes);
    EXPECT_FALSE(w.Send(mail));
    EXPECT_EQ(w.session.transmissions.size(), 2U);

    // With the setting off no preview comes: the confirmation is the first prompt.
    w.services.Options().PreviewBeforeSend(false);
    auto plain = w.Compose(L"Plain", L"x", {L"a@x.example", L"b@x.example"});
    w.sim.ui.user.AnswerMsgBox(mb::IdYes, L"Number of e-mails to send: 2.");
    EXPECT_FALSE(w.Send(plain));
    EXPECT_EQ(w.session.transmissions.size(), 4U);
}

}  // namespace
}  // namespace plexa
