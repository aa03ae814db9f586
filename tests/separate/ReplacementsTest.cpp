// Placeholders on the simulated client: which tokens a message uses, the values gathered for
// every recipient (from its contact, its display name, or the user once per token), and the
// values written into subject, plain body and HTML body, with split placeholders, escaping and
// the scan that never reads what it inserted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWorld.h"
#include "core/Text.h"
#include "distlists/mContacts.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "host/redemption/Redemption.h"
#include "recipients/CRecipientsProps.h"
#include "separate/mReplacements.h"
#include "settings/CLang.h"
#include "settings/IPleaseWait.h"
#include "sim/SimDesktop.h"
#include "sim/store/SimSession.h"
#include "sim/windows/ScriptedUser.h"

namespace plexa {
namespace {

using namespace mReplacements;
using sim::FolderRecord;
using sim::ItemRecord;

// Records what the work asked of the please-wait window.
struct PleaseWaitRecorder : IPleaseWait {
    void ActionBegin() override { ++begun, ++open; }
    void ActionEnd() override { --open; }
    void Update() override { ++updates, visible = true; }
    bool Visible() const override { return visible; }
    void SetVisible(bool v) override {
        visible = v;
        hidden += v ? 0 : 1;
    }
    void SetFormRecreation() override {}
    int begun = 0;
    int open = 0;
    int updates = 0;
    int hidden = 0;
    bool visible = false;
};

struct ReplaceWorld : test::TestWorld {
    ReplaceWorld() {
        services.host = desktop.Ports();
        CLang& lang = services.Lang();
        lang.ItemSet(L"LID_TITLE_MAIL", L"%s - Plexa");
        lang.ItemSet(L"LID_UNTITLED", L"Untitled");
        lang.ItemSet(L"LID_DEF_FULLNAME", L"Sir or Madam");
        lang.ItemSet(L"LID_PROMPT_VALIDATE_MESSAGE1", L"Please enter the value to use for %s.");
    }

    FolderRecord& Folder(int32_t role) { return *session.DefaultFolder(role); }
    std::shared_ptr<ItemRecord> Contact(FolderRecord& folder, const std::wstring& fullName,
                                        const std::wstring& first, const std::wstring& last,
                                        const std::vector<std::wstring>& addresses) {
        auto contact = session.AddItem(folder, olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, fullName);
        contact->SetText(mapi::PR_GIVEN_NAME, first);
        contact->SetText(mapi::PR_SURNAME, last);
        int slot = 1;
        for (const auto& address : addresses) {
            if (!address.empty()) {
                session.SetContactEmail(*contact, slot, address);
            }
            ++slot;
        }
        return contact;
    }
    // A saved mail with the recipients as typed (each resolved when it can be).
    std::shared_ptr<MailItem> Mail(const std::wstring& subject, const std::wstring& body,
                                   const std::vector<std::wstring>& recipients, bool html = false) {
        auto mail =
            std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
        mail->SetSubject(subject);
        if (html) {
            mail->SetHTMLBody(body);
        } else {
            mail->SetBodyFormat(olFormatPlain);
            mail->SetBody(body);
        }
        for (const auto& r : recipients) {
            mail->GetRecipients()->Add(r)->Resolve();
        }
        mail->Save();
        return mail;
    }
    std::shared_ptr<SafeMailItem> Safe(const std::shared_ptr<MailItem>& mail) {
        auto safe = desktop.redemption.CreateSafeMailItem();
        safe->SetItem(mail);
        return safe;
    }
    bool Load(const std::shared_ptr<MailItem>& mail, const FoundTokens& found,
              bool silent = false) {
        return LoadReplacementValues(services, pleaseWait, folders, *Safe(mail), found, props,
                                     false, silent);
    }
    bool Replace(const std::shared_ptr<MailItem>& mail, const FoundTokens& found,
                 bool stopOnEmpty = false) {
        bool hasEmpty = false;
        DoReplacements(services, *Safe(mail), found, props, stopOnEmpty, hasEmpty);
        return hasEmpty;
    }
    std::size_t Errors(const std::wstring& source) const {
        return log.Of(LogLevel::Error, source).size();
    }

    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    PleaseWaitRecorder pleaseWait;
    mContacts::CContactFolderList folders;
    CRecipientsProps props;
};

const std::wstring kFull = L"%FullName%";
const std::wstring kFirst = L"%FirstName%";
const std::wstring kLast = L"%LastName%";
const std::wstring kMiddle = L"%MiddleName%";

TEST(ReplacementsText, ExtractRecipientNamesCutsTheAddressAndPunctuationButNeverReorders) {
    std::wstring full;
    std::wstring first;
    std::wstring last;
    ExtractRecipientNames(L"Smith, John (John@X.example)", L"john@x.example", full, first, last);
    EXPECT_EQ(full, L"Smith John");
    EXPECT_EQ(first, L"Smith");
    EXPECT_EQ(last, L"John");
    ExtractRecipientNames(L"\"O'Neil\"  <ann@acme.example>;", L"ann@acme.example", full, first,
                          last);
    EXPECT_EQ(full, L"O Neil");
    EXPECT_EQ(first, L"O");
    EXPECT_EQ(last, L"Neil");
    ExtractRecipientNames(L"Madonna", L"m@pop.example", full, first, last);
    EXPECT_EQ(full, L"Madonna");
    EXPECT_EQ(first, L"");
    EXPECT_EQ(last, L"");
    // An empty address cuts nothing: the name stays as it is.
    ExtractRecipientNames(L"Ann Mary Smith", L"", full, first, last);
    EXPECT_EQ(full, L"Ann Mary Smith");
    EXPECT_EQ(first, L"Ann");
    EXPECT_EQ(last, L"Mary Smith");
    // A name that is only the address gives nothing.
    ExtractRecipientNames(L"ann@acme.example", L"ann@acme.example", full, first, last);
    EXPECT_EQ(full, L"");
}

TEST(ReplacementsText, HtmlValuesAreEscapedAmpersandFirstSoNothingEndsATagOrAttribute) {
    EXPECT_EQ(EscapeHtml(L"Tom & Jerry <Ltd>"), L"Tom &amp; Jerry &lt;Ltd&gt;");
    EXPECT_EQ(EscapeHtml(L"&lt;"), L"&amp;lt;");
    EXPECT_EQ(EscapeHtml(L"\" onmouseover='x'"), L"&quot; onmouseover=&#39;x&#39;");
    // In an attribute the value cannot close the quote it stands in.
    const std::wstring html = L"<body><a title=\"%FullName%\">x</a></body>";
    const std::wstring out = ReplaceTokenInHtml(html, kFull, EscapeHtml(L"a\" onclick=\"evil()"));
    EXPECT_EQ(out, L"<body><a title=\"a&quot; onclick=&quot;evil()\">x</a></body>");
}

TEST(ReplacementsText, SplitPlaceholdersAreReplacedFromTheBodyOnAndTheScanAlwaysEnds) {
    std::wstring html =
        L"<html><head><title>%Full<i>Name%</title></head><BODY><p>Dear "
        L"%Full<b>Name</b>%, 50% off %fullname% and %FullName is here%</p>";
    DoReplacementsInHtml(html, kFull, L"Ann");
    EXPECT_EQ(html,
              L"<html><head><title>%Full<i>Name%</title></head><BODY><p>Dear Ann, 50% "
              L"off Ann and %FullName is here%</p>");

    // Values that are empty, hold percent signs or the token itself are inserted once each.
    for (const std::wstring value : {L"", L"%", L"%%", L"%FullName%", L"100%FullName%"}) {
        std::wstring h = L"<body>%FullName%%Full<u>Name</u>%x%FullName%</body>";
        DoReplacementsInHtml(h, kFull, value);
        EXPECT_EQ(h, L"<body>" + value + value + L"x" + value + L"</body>") << text::ToUtf8(value);
    }
    // Without a body nothing changes, and the reason is logged.
    test::TestWorld w;
    std::wstring fragment = L"<p>%Full<b>Name</b>%</p>";
    DoReplacementsInHtml(fragment, kFull, L"Ann");
    EXPECT_EQ(fragment, L"<p>%Full<b>Name</b>%</p>");
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"mReplacements::DoReplacementsInHtml").size(), 1U);
}

TEST(ReplacementsText, TheHtmlReplacementNeverRereadsAValueThatHoldsTheToken) {
    // A value holding the token is not replaced again by the split-placeholder scan.
    const std::wstring html = L"<head>%FULLNAME%</head><body>Hi %FullName%!</body>";
    std::vector<Span> spans;
    const std::wstring out = ReplaceTokenInHtml(html, kFull, L"[%FullName%]", &spans);
    EXPECT_EQ(out, L"<head>[%FullName%]</head><body>Hi [%FullName%]!</body>");
    ASSERT_EQ(spans.size(), 2U);
    EXPECT_EQ(out.substr(spans[1].start, spans[1].end - spans[1].start), L"[%FullName%]");
    // A token whose ends are letters goes the two-pass way and keeps away from inserted text.
    const std::wstring renamed =
        ReplaceTokenInHtml(L"<body>Xnamex and XNAMEX</body>", L"XnameX", L"XnameX!", nullptr);
    EXPECT_EQ(renamed, L"<body>XnameX! and XnameX!</body>");
    // The plain replacement matches without regard to case and never rescans either.
    EXPECT_EQ(ReplaceToken(L"a %firstname% b %FIRSTNAME%", kFirst, L"%FirstName%"),
              L"a %FirstName% b %FirstName%");
}

TEST(Replacements, FindReplacementsLooksAtSubjectAndPlainBodyIgnoringCase) {
    ReplaceWorld w;
    FoundTokens found;
    auto plain = w.Mail(L"For %fullname%", L"Your company %COMPANY% and %Company%", {});
    EXPECT_TRUE(FindReplacements(w.services, *w.Safe(plain), found));
    EXPECT_EQ(found, (FoundTokens{kFull, L"%Company%"}));

    // Split by mark-up that shows the whole token as text: found (and replaced, below).
    auto split = w.Mail(L"Hello", L"<html><body>Dear %Last<b>Name</b>%</body></html>", {}, true);
    EXPECT_TRUE(FindReplacements(w.services, *w.Safe(split), found));
    EXPECT_EQ(found, FoundTokens{kLast});
    // Split by a line break: the plain text has no whole token, so it is not found.
    auto broken = w.Mail(L"Hello", L"<html><body>Dear %Last<br>Name%</body></html>", {}, true);
    EXPECT_FALSE(FindReplacements(w.services, *w.Safe(broken), found));
    EXPECT_TRUE(found.empty());
}

TEST(Replacements, ARenamedTokenFromTheLanguageFileReplacesTheDefaultOne) {
    ReplaceWorld w;
    w.services.Lang().ItemSet(L"LID_CONTACT_FULLNAME", L"%VollerName%");
    EXPECT_EQ(GetFullNameToken(w.services.Lang()), L"%VollerName%");
    EXPECT_EQ(GetFirstNameToken(w.services.Lang()), kFirst);
    // A text equal to its key, or empty, counts as missing.
    w.services.Lang().ItemSet(L"LID_CONTACT_COMPANY", L"LID_CONTACT_COMPANY");
    w.services.Lang().ItemSet(L"LID_CONTACT_NICKNAME", L"");
    w.services.Lang().ItemSet(L"LID_CONTACT_INITIALS", L"  ");
    EXPECT_EQ(GetInitialsToken(w.services.Lang()), L"%Initials%");
    EXPECT_EQ(GetCompanyToken(w.services.Lang()), L"%Company%");
    EXPECT_EQ(GetNicknameToken(w.services.Lang()), L"%Nickname%");

    auto mail = w.Mail(L"%FullName% / %vollername%", L"Hi", {L"ann@acme.example"});
    FoundTokens found;
    EXPECT_TRUE(FindReplacements(w.services, *w.Safe(mail), found));
    EXPECT_EQ(found, FoundTokens{L"%VollerName%"});
    w.props.SetProp(L"ann@acme.example", L"%VollerName%", L"Ann");
    EXPECT_FALSE(w.Replace(mail, found));
    EXPECT_EQ(mail->Subject(), L"%FullName% / Ann");
}

TEST(Replacements, DoReplacementsJoinsDistinctRecipientsAndEscapesOnlyInHtml) {
    ReplaceWorld w;
    w.props.SetProp(L"ann@acme.example", kFull, L"Ann & <Co>");
    w.props.SetProp(L"bob@lee.example", kFull, L"Bob");
    // The same address twice contributes one value; another address adds ", " and its value.
    auto twice =
        w.Mail(L"To %FullName%", L"Dear %fullname%", {L"ann@acme.example", L"ANN@acme.example"});
    EXPECT_FALSE(w.Replace(twice, {kFull}));
    EXPECT_EQ(twice->Subject(), L"To Ann & <Co>");
    EXPECT_EQ(twice->Body(), L"Dear Ann & <Co>");

    auto html =
        w.Mail(L"To %FullName%", L"<html><body><p>Dear %Full<span>Name</span>%,</p></body></html>",
               {L"ann@acme.example", L"bob@lee.example"}, true);
    EXPECT_FALSE(w.Replace(html, {kFull}));
    EXPECT_EQ(html->Subject(), L"To Ann & <Co>, Bob");
    EXPECT_EQ(html->HTMLBody(),
              L"<html><body><p>Dear Ann &amp; &lt;Co&gt;, Bob,</p></body></html>");
    EXPECT_EQ(html->BodyFormat(), olFormatHTML);
}

TEST(Replacements, MissingValuesSetHasEmptyAndStopOnEmptyLeavesTheToken) {
    ReplaceWorld w;
    w.props.SetProp(L"ann@acme.example", kFirst, L"Ann");
    w.props.SetProp(L"ann@acme.example", kLast, L"");
    auto mail = w.Mail(L"%FirstName% %LastName%", L"x", {L"ann@acme.example", L"bob@lee.example"});
    EXPECT_TRUE(w.Replace(mail, {kFirst, kLast}, true));
    EXPECT_EQ(mail->Subject(), L"%FirstName% %LastName%");
    EXPECT_TRUE(w.Replace(mail, {kFirst, kLast}, false));
    EXPECT_EQ(mail->Subject(), L"Ann ");

    // No resolvable recipient: every token goes, and the copy is marked.
    auto nobody = w.Mail(L"Hi %FirstName%", L"Dear %LastName%", {L"Nobody Known"});
    EXPECT_TRUE(w.Replace(nobody, {kFirst, kLast}));
    EXPECT_EQ(nobody->Subject(), L"Hi ");
    EXPECT_EQ(nobody->Body(), L"Dear ");
    EXPECT_EQ(w.Errors(L"mReplacements::DoReplacements"), 1U);
}

TEST(Replacements, LoadReplacementValuesReadsContactsByReferenceAndByAnyAddress) {
    ReplaceWorld w;
    FolderRecord& contacts = w.Folder(olFolderContacts);
    FolderRecord& partners = w.session.AddFolder(contacts, L"Partners", olContactItem);
    // Ann is in the address book too, so her typed address stands for itself: her contact is
    // found by its second address. Frank's contact lives in another contacts folder. Carla's
    // address reaches her contact directly.
    w.session.addressBook.AddSmtp(L"Ann S.", L"ann@acme.example");
    w.session.addressBook.AddSmtp(L"Frank", L"frank@ode.example");
    w.Contact(contacts, L"Ann Smith", L"Ann", L"Smith", {L"ann@home.example", L"ann@acme.example"});
    w.Contact(partners, L"Frank Ode", L"Frank", L"Ode", {L"frank@ode.example"});
    w.Contact(contacts, L"Carla Diaz", L"Carla", L"Diaz", {L"carla@diaz.example"});
    auto mail = w.Mail(L"Hi %FirstName%", L"Dear %FullName% %LastName%",
                       {L"ann@acme.example", L"frank@ode.example", L"carla@diaz.example",
                        L"Smith, John <john@x.example>"});
    FoundTokens found;
    ASSERT_TRUE(FindReplacements(w.services, *w.Safe(mail), found));
    EXPECT_TRUE(w.Load(mail, found));
    EXPECT_EQ(w.props.GetProp(L"ann@acme.example", kFirst), L"Ann");
    EXPECT_EQ(w.props.GetProp(L"frank@ode.example", kFull), L"Frank Ode");
    EXPECT_EQ(w.props.GetProp(L"carla@diaz.example", kLast), L"Diaz");
    // Without a contact, the names come from the display name, in its order.
    EXPECT_EQ(w.props.GetProp(L"john@x.example", kFull), L"Smith John");
    EXPECT_EQ(w.props.GetProp(L"john@x.example", kFirst), L"Smith");
    EXPECT_EQ(w.props.GetProp(L"john@x.example", kLast), L"John");
    EXPECT_EQ(w.pleaseWait.begun, 1);
    EXPECT_EQ(w.pleaseWait.open, 0);
    EXPECT_EQ(w.pleaseWait.updates, 4);
    EXPECT_TRUE(w.sim.ui.Prompts().empty());
}

TEST(Replacements, AListGivesEveryMemberValuesAndACopyToAllJoinsThem) {
    ReplaceWorld w;
    auto& book = w.session.addressBook;
    auto team = book.AddList(L"Team");
    sim::AddressBook::AddMember(*team, book.AddSmtp(L"Ann Smith", L"ann@acme.example"));
    sim::AddressBook::AddMember(*team, book.AddSmtp(L"Lee, Bob", L"bob@lee.example"));
    // A member that also stands on the message by itself counts once.
    auto mail = w.Mail(L"For %FirstName%", L"x", {L"Team", L"bob@lee.example"});
    FoundTokens found;
    ASSERT_TRUE(FindReplacements(w.services, *w.Safe(mail), found));
    EXPECT_TRUE(w.Load(mail, found));
    EXPECT_EQ(w.props.GetProp(L"ann@acme.example", kFirst), L"Ann");
    EXPECT_EQ(w.props.GetProp(L"bob@lee.example", kFirst), L"Lee");
    EXPECT_FALSE(w.Replace(mail, found));
    EXPECT_EQ(mail->Subject(), L"For Ann, Lee");
}

TEST(Replacements, MissingValuesAreAskedOncePerTokenAndDraftsIsRememberedAsEmpty) {
    ReplaceWorld w;
    auto mail = w.Mail(L"", L"%MiddleName% %LastName% %FullName%",
                       {L"ann@acme.example", L"bob@lee.example", L"Madonna <m@pop.example>"});
    FoundTokens found;
    ASSERT_TRUE(FindReplacements(w.services, *w.Safe(mail), found));
    ASSERT_EQ(found, (FoundTokens{kFull, kMiddle, kLast}));
    // The full name of the bare addresses is "" too: asked once with the suggested value kept.
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnOK");
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {{L"txtValue", L"Q."}}, L"btnOK");
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnOK");  // last name: Drafts preselected
    w.pleaseWait.visible = true;
    EXPECT_TRUE(w.Load(mail, found));
    EXPECT_TRUE(w.sim.ui.user.Empty());
    ASSERT_EQ(w.sim.ui.Prompts().size(), 3U);
    EXPECT_EQ(w.sim.ui.Prompts()[0].title, L"Untitled - Plexa");
    EXPECT_EQ(w.pleaseWait.hidden, 3);
    EXPECT_TRUE(w.pleaseWait.visible);
    EXPECT_EQ(w.props.GetProp(L"bob@lee.example", kFull), L"Sir or Madam");
    EXPECT_EQ(w.props.GetProp(L"bob@lee.example", kMiddle), L"Q.");
    EXPECT_TRUE(w.props.HasProp(L"m@pop.example", kLast));
    EXPECT_EQ(w.props.GetProp(L"m@pop.example", kLast), L"");
    EXPECT_EQ(w.props.GetProp(L"m@pop.example", kFull), L"Madonna");
    bool remembered = false;
    EXPECT_EQ(w.props.GetDefaultValue(kLast, remembered), L"");
    EXPECT_TRUE(remembered);
    // Every copy lacking the last name stays in Drafts.
    EXPECT_TRUE(w.Replace(mail, found));

    // Loading again asks nothing: every value is known.
    EXPECT_TRUE(w.Load(mail, found));
    EXPECT_EQ(w.sim.ui.Prompts().size(), 3U);
}

TEST(Replacements, LoadReplacementValuesStopsOnCancelSilenceAndUnresolvedRecipients) {
    ReplaceWorld w;
    auto mail = w.Mail(L"Hi", L"%MiddleName%", {L"ann@acme.example"});
    FoundTokens found{kMiddle};
    // Silent: no dialog, no value, false.
    EXPECT_FALSE(w.Load(mail, found, true));
    EXPECT_TRUE(w.sim.ui.Prompts().empty());
    EXPECT_EQ(w.pleaseWait.begun, 0);
    // Cancel, and the close box, stop the send.
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {}, L"btnCancel");
    EXPECT_FALSE(w.Load(mail, found));
    w.sim.ui.user.AnswerDialog(L"frmEmptyField", {{L"txtValue", L"x"}}, sim::kCloseBox);
    EXPECT_FALSE(w.Load(mail, found));
    EXPECT_FALSE(w.props.HasProp(L"ann@acme.example", kMiddle));
    EXPECT_EQ(w.pleaseWait.open, 0);

    auto unresolved = w.Mail(L"Hi", L"%MiddleName%", {L"ann@acme.example", L"Nobody Known"});
    EXPECT_FALSE(w.Load(unresolved, found));
    EXPECT_EQ(w.Errors(L"mReplacements::LoadReplacementValues"), 1U);
    EXPECT_EQ(w.sim.ui.Prompts().size(), 2U);
}

}  // namespace
}  // namespace plexa
