#include <gtest/gtest.h>

#include <sstream>

#include "CommandDispatcher.h"
#include "FolderPath.h"
#include "ScenarioParser.h"
#include "TestWorld.h"
#include "core/Text.h"
#include "host/outlook/Application.h"
#include "mControls.h"
#include "settings/CLang.h"
#include "settings/Services.h"
#include "sim/office/SimCommandBarControl.h"
#include "sim/office/SimOffice.h"
#include "sim/windows/UnexpectedPrompt.h"

namespace plexa::host {
namespace {

// A client on the demo mailbox driven line by line, its transcript kept.
class Windows : public ::testing::Test {
protected:
    Windows()
        : m_state(std::nullopt),
          m_world(m_state),
          m_transcript(m_out, false),
          m_emls(m_dir.Path() / "out"),
          m_dispatcher(m_world, m_transcript, m_emls, m_dir.Path()) {
        Run("mailbox demo");
        Run("host 11");
        Run("start");
    }
    void Run(const std::string& line) {
        const auto command = ParseLine(text::FromUtf8(line), ++m_line, L"t.plexa");
        ASSERT_TRUE(command);
        m_dispatcher.Run(*command, L"t.plexa");
    }
    std::string Out() const { return m_out.str(); }
    int Failures() const { return m_transcript.Failures(); }

    test::TempDir m_dir;
    StateFolder m_state;
    HostWorld m_world;
    std::ostringstream m_out;
    Transcript m_transcript;
    EmlFolder m_emls;
    CommandDispatcher m_dispatcher;
    int m_line = 0;
};

TEST_F(Windows, PickFolderAnswersWaitInOrderAndALeftoverFailsItsLine) {
    Run("pickfolder \"Contacts\\\\Clients\"");
    Run("pickfolder cancel");
    Run("pickfolder Drafts");
    auto ns = m_world.Host()->application->Session();
    auto first = ns->PickFolder();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Name(), L"Clients");
    EXPECT_FALSE(ns->PickFolder());
    EXPECT_EQ(Failures(), 0) << Out();
    // The third is never taken: the run's end reports line 6, where it was given.
    m_dispatcher.Finish();
    EXPECT_EQ(Failures(), 1);
    EXPECT_NE(Out().find("t.plexa:6: FAILED pickfolder Drafts: no folder picker came"),
              std::string::npos)
        << Out();
    // Nothing waits any more: the next picker is a prompt nobody expected.
    EXPECT_THROW(ns->PickFolder(), sim::UnexpectedPrompt);
}

TEST_F(Windows, PickFolderOfAMissingFolderFailsAtOnce) {
    Run("pickfolder \"Contacts\\\\Nowhere\"");
    EXPECT_EQ(Failures(), 1);
    EXPECT_NE(Out().find("t.plexa:4: FAILED no folder 'Nowhere'"), std::string::npos) << Out();
    m_dispatcher.Finish();
    EXPECT_EQ(Failures(), 1);  // it was never queued
}

TEST_F(Windows, AnswerByLanguageKeyNeedsEveryPieceBetweenThePlaceholders) {
    m_world.AddinServices()->Lang().ItemSet(L"LID_T_SAVE", L"Do you want to %s changes?");
    m_world.AddinServices()->Lang().ItemSet(L"LID_T_OTHER", L"Do you want to %s the %d items?");
    Run("new mail");
    Run("subject Draft");  // the close box asks only about changes
    Run("answer cancel key:LID_T_SAVE");
    Run("close");  // the box holds both pieces: answered, the window stays
    EXPECT_EQ(Failures(), 0) << Out();
    EXPECT_NE(Out().find("-> Cancel"), std::string::npos) << Out();
    Run("answer no key:LID_T_OTHER");
    Run("close");  // "Do you want to" is there, "the ... items?" is not
    EXPECT_EQ(Failures(), 1);
    EXPECT_NE(Out().find("t.plexa:9: FAILED close: a message box came"), std::string::npos)
        << Out();
    Run("answer yes key:LID_T_MISSING");
    EXPECT_NE(Out().find("key:LID_T_MISSING"), std::string::npos) << Out();
    EXPECT_EQ(Failures(), 2);
}

TEST_F(Windows, ExpectControlReadsStatesAlongThePath) {
    Run("explorer open");
    auto window = m_world.Desktop()->ActiveWindow();
    auto standard = window->Bars()->Find(L"Standard");
    ASSERT_TRUE(standard);
    auto reply = standard->AddBuiltIn(msoControlButton, 9354, L"&Gather...");
    Run("expect control Gather enabled");
    reply->SetEnabled(false);
    Run("expect control Gather enabled");
    Run("expect control id:9354 disabled");
    standard->SetVisibleValue(false);
    Run("expect control gather hidden");
    Run("expect control \"Nothing here\" visible");
    EXPECT_EQ(Failures(), 2) << Out();
    EXPECT_NE(Out().find("t.plexa:6: FAILED expected 'Gather' enabled; bar \"Standard\" / button "
                         "\"&Gather...\" is visible, disabled, not pressed"),
              std::string::npos)
        << Out();
    EXPECT_NE(Out().find("t.plexa:9: FAILED expect control: no control 'Nothing here'"),
              std::string::npos)
        << Out();
}

TEST(WindowLines, NewMailAndAddressParse) {
    const auto newMail = ParseLine(L"new MAIL", 1, L"t.plexa");
    ASSERT_TRUE(newMail);
    EXPECT_TRUE(std::holds_alternative<NewMailCmd>(newMail->body));
    const auto address = ParseLine(L"address cc \"Ann Smith\" bob@lee.example.net", 2, L"t.plexa");
    ASSERT_TRUE(address);
    const auto& cmd = std::get<AddressCmd>(address->body);
    EXPECT_EQ(cmd.type, 2);
    EXPECT_EQ(cmd.names, (std::vector<std::wstring>{L"Ann Smith", L"bob@lee.example.net"}));
    EXPECT_THROW(ParseLine(L"new contact", 3, L"t.plexa"), ScenarioError);
    EXPECT_THROW(ParseLine(L"address to", 4, L"t.plexa"), ScenarioError);
    EXPECT_THROW(ParseLine(L"address from x", 5, L"t.plexa"), ScenarioError);
}

TEST(ControlTexts, PlaceholdersCutTextsIntoPieces) {
    using mControls::PiecesAroundPlaceholders;
    EXPECT_EQ(PiecesAroundPlaceholders(L"Number of e-mails: %d.\nYes: send"),
              (std::vector<std::wstring>{L"Number of e-mails: ", L".\nYes: send"}));
    EXPECT_EQ(PiecesAroundPlaceholders(L"%s - Plexa"), (std::vector<std::wstring>{L" - Plexa"}));
    EXPECT_EQ(PiecesAroundPlaceholders(L"100%% sure, %5.2f left, %-3ld of %"),
              (std::vector<std::wstring>{L"100% sure, ", L" left, ", L" of %"}));
    EXPECT_TRUE(mControls::ContainsInOrder(L"Send 3 MAILS now?", {L"send ", L" mails"}));
    EXPECT_FALSE(mControls::ContainsInOrder(L"mails: send", {L"send", L"mails"}));
}

TEST(ControlTexts, RibbonStateTextGivesEffectiveStates) {
    const std::wstring ribbon =
        L"tab Orvin.Plexa.Tab \"Plexa\"\n"
        L"  group grpSend \"Send\" hidden\n"
        L"    button btnSeparate \"Separate \"\"copies\"\" hidden\" tip \"not disabled\"\n"
        L"  group grpLists \"Lists\"\n"
        L"    toggleButton btnTo \"To\" disabled pressed image picture 0x1004\n";
    const auto separate = mControls::FindInRibbonText(ribbon, L"btnSeparate");
    ASSERT_TRUE(separate.found);
    EXPECT_FALSE(separate.visible);  // its group is hidden
    EXPECT_TRUE(separate.enabled);   // the words inside the tip do not count
    const auto to = mControls::FindInRibbonText(ribbon, L"to");
    ASSERT_TRUE(to.found);
    EXPECT_TRUE(to.visible);
    EXPECT_FALSE(to.enabled);
    EXPECT_TRUE(to.pressed);
    EXPECT_FALSE(mControls::FindInRibbonText(ribbon, L"btnNone").found);
}

}  // namespace
}  // namespace plexa::host
