#include <gtest/gtest.h>

#include "ScenarioLexer.h"
#include "ScenarioParser.h"

namespace plexa::host {
namespace {

Command Parse(const std::wstring& line) {
    auto command = ParseLine(line, 1, L"t.plexa");
    EXPECT_TRUE(command.has_value()) << "no command in: " << std::string(line.begin(), line.end());
    return command ? *command : Command{};
}

// The problem a malformed line gives ("" when it parses).
std::wstring Problem(const std::wstring& line) {
    try {
        ParseLine(line, 3, L"t.plexa");
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.Line(), 3);
        EXPECT_EQ(e.File(), L"t.plexa");
        return e.Problem();
    }
    return L"";
}

TEST(ScenarioLexer, SplitsWordsQuotedTextsAndComments) {
    auto r = LexLine(L"  click   \"New \"\"group\"\" # not a comment\"  # a comment");
    ASSERT_TRUE(r.error.empty());
    ASSERT_EQ(r.tokens.size(), 2u);
    EXPECT_EQ(r.tokens[0].text, L"click");
    EXPECT_FALSE(r.tokens[0].quoted);
    EXPECT_EQ(r.tokens[0].column, 3);
    EXPECT_EQ(r.tokens[1].text, L"New \"group\" # not a comment");
    EXPECT_TRUE(r.tokens[1].quoted);
    EXPECT_EQ(r.tokens[1].column, 11);

    // \n is a line break and \\ one backslash inside quotes; other backslashes stay, and words
    // keep every backslash.
    r = LexLine(L"type \"a\\nb \\\\Store\\\\Inbox C:\\temp\" HKCU\\\\Software");
    ASSERT_EQ(r.tokens.size(), 3u);
    EXPECT_EQ(r.tokens[1].text, L"a\nb \\Store\\Inbox C:\\temp");
    EXPECT_EQ(r.tokens[2].text, L"HKCU\\\\Software");

    // Adjacent parts join; the '=' outside quotes splits a pair, one inside does not.
    r = LexLine(L"txtName=\"Book club\" \"a=b\"=c");
    ASSERT_EQ(r.tokens.size(), 2u);
    EXPECT_EQ(r.tokens[0].text, L"txtName=Book club");
    EXPECT_EQ(r.tokens[0].equalsAt, 7u);
    EXPECT_EQ(r.tokens[0].quoteStart, 8u);
    EXPECT_EQ(r.tokens[1].text, L"a=b=c");
    EXPECT_EQ(r.tokens[1].equalsAt, 3u);

    // An empty quoted text is a token; a comment-only line has none.
    r = LexLine(L"say \"\"");
    ASSERT_EQ(r.tokens.size(), 2u);
    EXPECT_EQ(r.tokens[1].text, L"");
    EXPECT_TRUE(LexLine(L"   # only a comment").tokens.empty());

    r = LexLine(L"select \"Lunch on Friday?");
    EXPECT_TRUE(r.tokens.empty());
    EXPECT_EQ(r.error, L"the quoted text that starts in column 8 has no closing quote");
}

TEST(ScenarioParser, SettingUpCommands) {
    EXPECT_EQ(std::get<HostCmd>(Parse(L"host 9").body).version, 9);
    EXPECT_EQ(std::get<HostCmd>(Parse(L"HOST 12").body).version, 12);
    EXPECT_TRUE(std::get<MailboxCmd>(Parse(L"mailbox demo").body).demo);
    const auto file = std::get<MailboxCmd>(Parse(L"mailbox \"demo\"").body);
    EXPECT_FALSE(file.demo);  // a quoted name is a file called demo
    EXPECT_EQ(file.file, L"demo");
    const auto clock = std::get<ClockCmd>(Parse(L"clock \"2026-12-06 09:05\"").body);
    EXPECT_EQ(clock.local.Year(), 2026);
    EXPECT_EQ(clock.local.Minute(), 5);
    EXPECT_EQ(std::get<ClockCmd>(Parse(L"clock 2026-12-06 18:30").body).local.Hour(), 18);
    EXPECT_EQ(std::get<LanguageCmd>(Parse(L"language DE").body).id, L"DE");

    auto setting = std::get<SettingCmd>(Parse(L"setting grouprecipients 10").body);
    EXPECT_EQ(setting.name, L"GroupRecipients");  // the registry's spelling
    EXPECT_FALSE(setting.isText);
    EXPECT_EQ(setting.number, 10u);
    setting = std::get<SettingCmd>(Parse(L"setting ExplorerToolbar.RowIndex -1").body);
    EXPECT_EQ(setting.number, 0xFFFFFFFFu);
    EXPECT_EQ(std::get<SettingCmd>(Parse(L"setting IncludeBCC yes").body).number, 1u);
    EXPECT_EQ(std::get<SettingCmd>(Parse(L"setting IncludeBCC off").body).number, 0u);
    setting = std::get<SettingCmd>(Parse(L"setting LANG_ \"C:\\\\x\\\\German.lng\"").body);
    EXPECT_TRUE(setting.isText);
    EXPECT_EQ(setting.text, L"C:\\x\\German.lng");
    EXPECT_EQ(std::get<SettingCmd>(Parse(L"setting CachedAction_Task 3").body).name,
              L"CachedAction_Task");

    EXPECT_TRUE(std::holds_alternative<StartCmd>(Parse(L"start").body));
    EXPECT_TRUE(std::holds_alternative<StopCmd>(Parse(L"stop # bye").body));
    EXPECT_TRUE(std::holds_alternative<RestartCmd>(Parse(L"restart").body));
    EXPECT_EQ(Parse(L"restart   # again").source, L"restart");
}

TEST(ScenarioParser, WindowAndActingCommands) {
    auto explorer = std::get<ExplorerCmd>(Parse(L"explorer open").body);
    EXPECT_EQ(explorer.action, ExplorerCmd::Action::Open);
    EXPECT_EQ(explorer.folder, L"");
    explorer =
        std::get<ExplorerCmd>(Parse(L"explorer open \"\\\\Personal Folders\\\\Contacts\"").body);
    EXPECT_EQ(explorer.folder, L"\\Personal Folders\\Contacts");
    explorer = std::get<ExplorerCmd>(Parse(L"explorer activate 2").body);
    EXPECT_EQ(explorer.action, ExplorerCmd::Action::Activate);
    EXPECT_EQ(explorer.number, 2);
    EXPECT_EQ(std::get<ExplorerCmd>(Parse(L"explorer close").body).number, 0);

    auto select = std::get<SelectCmd>(Parse(L"select \"Ann Smith\" \"Bob Lee\"").body);
    EXPECT_EQ(select.mode, SelectCmd::Mode::Texts);
    EXPECT_EQ(select.texts, (std::vector<std::wstring>{L"Ann Smith", L"Bob Lee"}));
    EXPECT_EQ(std::get<SelectCmd>(Parse(L"select ALL").body).mode, SelectCmd::Mode::All);
    EXPECT_EQ(std::get<SelectCmd>(Parse(L"select none").body).mode, SelectCmd::Mode::None);
    // Quoted, or among other texts, "all" is a subject.
    EXPECT_EQ(std::get<SelectCmd>(Parse(L"select \"all\"").body).texts.size(), 1u);
    EXPECT_EQ(std::get<SelectCmd>(Parse(L"select all none").body).texts.size(), 2u);

    EXPECT_FALSE(std::get<RightClickCmd>(Parse(L"rightclick items").body).folder);
    const auto right = std::get<RightClickCmd>(Parse(L"rightclick folder Contacts").body);
    EXPECT_TRUE(right.folder);
    EXPECT_EQ(right.folderPath, L"Contacts");
    EXPECT_EQ(std::get<WindowCmd>(Parse(L"window 3").body).number, 3);

    const struct {
        const wchar_t* line;
        ControlRef::Kind kind;
        const wchar_t* text;
        int32_t id;
    } clicks[] = {
        {L"click \"To\"", ControlRef::Kind::Caption, L"To", 0},
        {L"click To", ControlRef::Kind::Caption, L"To", 0},
        {L"click key:LID_CAPTION_TO", ControlRef::Kind::Key, L"LID_CAPTION_TO", 0},
        {L"click id:30131", ControlRef::Kind::Id, L"30131", 30131},
        {L"click tag:\"Plexa To\"", ControlRef::Kind::Tag, L"Plexa To", 0},
        {L"click ribbon:Orvin.Plexa.Explorer.btnTo", ControlRef::Kind::Ribbon,
         L"Orvin.Plexa.Explorer.btnTo", 0},
        // Quoted whole, a prefix is part of the caption.
        {L"click \"id:5\"", ControlRef::Kind::Caption, L"id:5", 0},
    };
    for (const auto& c : clicks) {
        const auto click = std::get<ClickCmd>(Parse(c.line).body);
        EXPECT_EQ(click.control.kind, c.kind) << std::wstring(c.line).size();
        EXPECT_EQ(click.control.text, c.text);
        EXPECT_EQ(click.control.id, c.id);
    }

    auto answer = std::get<AnswerCmd>(Parse(L"answer Yes \"key:LID_MSG_SEND\"").body);
    EXPECT_EQ(answer.button, L"yes");
    EXPECT_EQ(answer.text, L"key:LID_MSG_SEND");
    EXPECT_FALSE(std::get<AnswerCmd>(Parse(L"answer ok").body).text.has_value());
    EXPECT_TRUE(std::get<PickFolderCmd>(Parse(L"pickfolder cancel").body).cancel);
    EXPECT_EQ(std::get<PickFolderCmd>(Parse(L"pickfolder \"Contacts\\\\Clients\"").body).folder,
              L"Contacts\\Clients");

    const auto dialog = std::get<DialogCmd>(
        Parse(L"dialog frmNewList txtName=\"Book club\" chkPrivate=1 press btnOK").body);
    EXPECT_EQ(dialog.name, L"frmNewList");
    ASSERT_EQ(dialog.values.size(), 2u);
    EXPECT_EQ(dialog.values[0], (std::pair<std::wstring, std::wstring>{L"txtName", L"Book club"}));
    EXPECT_EQ(dialog.values[1].second, L"1");
    EXPECT_EQ(dialog.press, L"btnOK");
    EXPECT_EQ(std::get<DialogCmd>(Parse(L"dialog frmOptions press close").body).press, L"close");

    EXPECT_EQ(std::get<TypeCmd>(Parse(L"type \"Dear %FirstName%,\\n\"").body).text,
              L"Dear %FirstName%,\n");
    EXPECT_EQ(std::get<SubjectCmd>(Parse(L"subject Hello").body).text, L"Hello");
    EXPECT_TRUE(std::holds_alternative<SendCmd>(Parse(L"send").body));
    EXPECT_EQ(std::get<CloseCmd>(Parse(L"close").body).mode, CloseCmd::Mode::Default);
    EXPECT_EQ(std::get<CloseCmd>(Parse(L"close discard").body).mode, CloseCmd::Mode::Discard);
    EXPECT_EQ(std::get<AdvanceCmd>(Parse(L"advance 15m").body).seconds, 900);
    EXPECT_EQ(std::get<AdvanceCmd>(Parse(L"advance 1h 30s").body).seconds, 3630);

    const auto mail = std::get<MailCmd>(
        Parse(L"mail to a@x \"Bob Lee\" cc c@x bcc d@x e@x subject \"Hi\" body \"B\"").body);
    EXPECT_EQ(mail.to, (std::vector<std::wstring>{L"a@x", L"Bob Lee"}));
    EXPECT_EQ(mail.cc, (std::vector<std::wstring>{L"c@x"}));
    EXPECT_EQ(mail.bcc, (std::vector<std::wstring>{L"d@x", L"e@x"}));
    EXPECT_EQ(mail.subject, L"Hi");
    EXPECT_EQ(mail.body, L"B");
    EXPECT_FALSE(mail.html.has_value());
    // A quoted keyword is a recipient.
    EXPECT_EQ(std::get<MailCmd>(Parse(L"mail to \"cc\" subject s").body).to.front(), L"cc");
}

TEST(ScenarioParser, CheckingCommands) {
    EXPECT_EQ(std::get<ExpectSentCountCmd>(Parse(L"expect sent 3").body).count, 3);
    auto to = std::get<ExpectSentToCmd>(
        Parse(L"expect sent to ann@acme.example body \"Dear Ann\" subject Hi").body);
    EXPECT_EQ(to.address, L"ann@acme.example");
    EXPECT_EQ(to.subject, L"Hi");
    EXPECT_EQ(to.body, L"Dear Ann");
    to = std::get<ExpectSentToCmd>(Parse(L"expect sent to x@y").body);
    EXPECT_FALSE(to.subject || to.body || to.from);
    to = std::get<ExpectSentToCmd>(
        Parse(L"expect sent to x@y from \"\\\\Personal Folders\\Outbox\" subject s").body);
    EXPECT_EQ(to.from, L"\\Personal Folders\\Outbox");
    EXPECT_EQ(to.subject, L"s");
    EXPECT_EQ(std::get<ExpectSentToCmd>(Parse(L"expect sent to x@y from Drafts").body).from,
              L"Drafts");

    const auto folder =
        std::get<ExpectFolderCountCmd>(Parse(L"expect folder \"Sent Items\" count 12").body);
    EXPECT_EQ(folder.folder, L"Sent Items");
    EXPECT_EQ(folder.count, 12);

    const auto item = std::get<ExpectItemCmd>(
        Parse(L"expect item Drafts \"Hello\" flag 2 property 0x10800003=261 property Mode=1").body);
    EXPECT_EQ(item.folder, L"Drafts");
    EXPECT_EQ(item.text, L"Hello");
    EXPECT_EQ(item.flag, 2);
    ASSERT_EQ(item.properties.size(), 2u);
    EXPECT_EQ(item.properties[0].first, L"0x10800003");
    EXPECT_EQ(item.properties[1].second, L"1");

    const auto message =
        std::get<ExpectMessageCmd>(Parse(L"expect message bcc \"Ann Smith\" bob@lee.example").body);
    EXPECT_EQ(message.type, 3);
    EXPECT_EQ(message.names.size(), 2u);

    auto registry = std::get<ExpectRegistryCmd>(
        Parse(L"expect registry HKCU\\Software\\Orvin\\Plexa LANG DE").body);
    EXPECT_EQ(registry.key, L"HKCU\\Software\\Orvin\\Plexa");
    EXPECT_EQ(registry.value, L"DE");
    EXPECT_FALSE(std::get<ExpectRegistryCmd>(Parse(L"expect registry K N absent").body).value);
    EXPECT_EQ(std::get<ExpectRegistryCmd>(Parse(L"expect registry K N \"absent\"").body).value,
              L"absent");

    EXPECT_TRUE(std::get<ExpectLogCmd>(Parse(L"expect log \"Connect\"").body).present);
    EXPECT_FALSE(std::get<ExpectLogCmd>(Parse(L"expect nolog Error").body).present);
    const auto control =
        std::get<ExpectControlCmd>(Parse(L"expect control key:LID_CAPTION_TO disabled").body);
    EXPECT_EQ(control.control.kind, ControlRef::Kind::Key);
    EXPECT_EQ(control.state, L"disabled");

    EXPECT_EQ(std::get<DumpCmd>(Parse(L"dump sent").body).what, DumpCmd::What::Sent);
    const auto dump = std::get<DumpCmd>(Parse(L"dump folder Drafts").body);
    EXPECT_EQ(dump.what, DumpCmd::What::Folder);
    EXPECT_EQ(dump.folder, L"Drafts");
    EXPECT_EQ(std::get<DumpCmd>(Parse(L"dump ribbon").body).what, DumpCmd::What::Ribbon);
    EXPECT_EQ(std::get<SayCmd>(Parse(L"say \"-- part two\"").body).text, L"-- part two");

    EXPECT_TRUE(Parse(L"expect sent 1").IsExpectation());
    EXPECT_FALSE(Parse(L"dump sent").IsExpectation());
}

TEST(ScenarioParser, MalformedLinesSayWhatIsWrong) {
    EXPECT_EQ(Problem(L"clik To"), L"unknown command 'clik'");
    EXPECT_EQ(Problem(L"\"start\""), L"a line starts with a command, not a quoted text ('start')");
    EXPECT_EQ(Problem(L"host 13"), L"host: the version is 9, 10, 11, 12 or 14, not '13'");
    EXPECT_EQ(Problem(L"host"), L"host: the version is missing");
    EXPECT_EQ(Problem(L"clock \"2026-02-30 09:00\""),
              L"clock: '2026-02-30 09:00' is not a date and time like \"2026-12-06 09:00\"");
    EXPECT_EQ(Problem(L"setting GroupRecipient 10"),
              L"setting: 'GroupRecipient' is not a Plexa setting (docs/settings.md lists them)");
    EXPECT_EQ(Problem(L"setting GroupRecipients ten"),
              L"setting: GroupRecipients is a number, not 'ten'");
    EXPECT_EQ(Problem(L"setting IncludeCC maybe"), L"setting: IncludeCC is yes or no, not 'maybe'");
    EXPECT_EQ(Problem(L"setting GroupRecipients 10 20"),
              L"setting: unexpected '20' (quote a text with spaces)");
    EXPECT_EQ(Problem(L"open Lunch on Friday"),
              L"open: unexpected 'on' (quote a text with spaces)");
    EXPECT_EQ(Problem(L"explorer shut"),
              L"explorer: 'shut' is not an explorer action (open, activate, close)");
    EXPECT_EQ(Problem(L"window 0"),
              L"window: the window's number must be a whole number from 1 "
              L"to 1000, not '0'");
    EXPECT_EQ(Problem(L"click id:abc"), L"click: 'id:abc' needs a positive control id");
    EXPECT_EQ(Problem(L"click key:"), L"click: 'key:' names no control");
    EXPECT_EQ(Problem(L"answer maybe"), L"answer: 'maybe' is not an answer (yes, no, cancel, ok)");
    EXPECT_EQ(Problem(L"dialog frmOptions txtName=x"), L"dialog: 'press BUTTON' is missing");
    EXPECT_EQ(Problem(L"dialog frmOptions txtName press btnOK"),
              L"dialog: 'txtName' is not CONTROL=VALUE or 'press'");
    EXPECT_EQ(Problem(L"advance 5 minutes"),
              L"advance: '5 minutes' is not a duration (a number and s, m, h or d: 30s, 15m, 2h, "
              L"1d)");
    EXPECT_EQ(Problem(L"expect folder Inbox cuont 8"),
              L"expect folder: expected 'count', found 'cuont'");
    EXPECT_EQ(Problem(L"expect sent -1"),
              L"expect sent: the number of messages must be a whole "
              L"number from 0 to 1000000, not '-1'");
    EXPECT_EQ(Problem(L"expect sent to a@b subject x subject y"),
              L"expect sent: 'subject' is given twice");
    EXPECT_EQ(Problem(L"expect sent to a@b from Drafts from Outbox"),
              L"expect sent: 'from' is given twice");
    EXPECT_EQ(Problem(L"expect item Inbox Hi property 0x1080"),
              L"expect item: '0x1080' is not NAME=VALUE");
    EXPECT_EQ(Problem(L"expect control To shiny"),
              L"expect control: 'shiny' is not a control state (visible, hidden, enabled, "
              L"disabled, pressed)");
    EXPECT_EQ(Problem(L"expect everything"),
              L"expect: 'everything' is not what to expect (sent, folder, item, message, "
              L"registry, log, nolog, control, report)");
    EXPECT_EQ(Problem(L"fail Outlook.Explode"),
              L"fail: 'Outlook.Explode' is no simulated operation (see docs/fault-injection.md)");
    EXPECT_EQ(Problem(L"fail MailItem.Move nth 0"),
              L"fail: which call from now must be a whole number from 1 to 1000000, not '0'");
    EXPECT_EQ(Problem(L"expect report a@b sent details x"),
              L"expect report: expected 'detail', found 'details'");
    EXPECT_EQ(Problem(L"dump all"),
              L"dump: 'all' is not what to show (sent, folder, registry, "
              L"log, bars, ribbon, message, dialog, report)");
    EXPECT_EQ(Problem(L"mail subject Hi"),
              L"mail: no recipient (mail to ADDRESS... [subject TEXT] [body TEXT])");
    EXPECT_EQ(Problem(L"mail to subject Hi"), L"mail: 'to' names no recipient");
    EXPECT_EQ(Problem(L"type \"unterminated"),
              L"the quoted text that starts in column 6 has no closing quote");
    EXPECT_EQ(Problem(L"select"),
              L"select: name the items (a subject or full name), or 'all' or 'none'");
}

TEST(ScenarioParser, DurationsAddUp) {
    EXPECT_EQ(ParseDuration(L"30s"), 30);
    EXPECT_EQ(ParseDuration(L"15m"), 900);
    EXPECT_EQ(ParseDuration(L"2h"), 7200);
    EXPECT_EQ(ParseDuration(L"1d"), 86400);
    EXPECT_EQ(ParseDuration(L"1d2h3m4s"), 93784);
    EXPECT_EQ(ParseDuration(L"0s"), 0);
    for (const wchar_t* bad : {L"", L"s", L"10", L"10x", L"1.5h", L"-1h", L"h1", L"999999999d"}) {
        EXPECT_FALSE(ParseDuration(bad).has_value()) << std::wstring(bad).size();
    }
}

TEST(ScenarioParser, WholeScenarioKeepsLineNumbersAndChecksTheOrder) {
    const std::string text =
        "\xEF\xBB\xBF# a tour\r\n"
        "mailbox demo\r\n"
        "\r\n"
        "start   # the client starts\r\n"
        "expect folder Inbox count 8\r\n"
        "stop\r\n"
        "clock \"2026-12-24 18:00\"\r\n"
        "start";
    const Scenario scenario = ParseScenario(text, L"tour.plexa");
    ASSERT_EQ(scenario.commands.size(), 6u);
    EXPECT_EQ(scenario.commands[0].line, 2);
    EXPECT_EQ(scenario.commands[1].line, 4);
    EXPECT_EQ(scenario.commands[1].source, L"start");
    EXPECT_EQ(scenario.commands[4].line, 7);
    EXPECT_EQ(scenario.commands[5].line, 8);

    const auto problem = [](const std::string& body) -> std::wstring {
        try {
            ParseScenario(body, L"s.plexa");
        } catch (const ScenarioError& e) {
            return e.Describe();
        }
        return L"";
    };
    EXPECT_EQ(problem("start\nclock \"2026-12-06 09:00\"\n"),
              L"s.plexa:2: clock: only before 'start' (or after 'stop'), while the client is not "
              L"running");
    EXPECT_EQ(problem("start\nstart\n"), L"s.plexa:2: start: the client is running already");
    EXPECT_EQ(problem("mailbox demo\nclick To\nstart\n"),
              L"s.plexa:2: click: the client is not running ('start' it first)");
    EXPECT_EQ(problem("# nothing yet\nexpect folder Inbox count 1\n"),
              L"s.plexa:2: expect: the client has not started yet, so there is no mailbox "
              L"('start' first)");
    EXPECT_EQ(problem("start\nstop\nsend\n"),
              L"s.plexa:3: send: the client is not running ('start' it first)");
    EXPECT_EQ(problem("start\n\nexpect sent 0\n\xFF\xFE\n"),
              L"s.plexa:4: the line is not valid UTF-8");
    // Settings, the clock's advance and the hive's expectations need no running client.
    EXPECT_EQ(problem("setting GroupInterval 3\nadvance 1d\nexpect registry HKCU\\X Y absent\n"
                      "expect sent 0\n"),
              L"");

    // The shell checks line by line with the same rules.
    ClientOrder order;
    const Command start = *ParseLine(L"start", 1, L"shell");
    const Command type = *ParseLine(L"type x", 2, L"shell");
    EXPECT_TRUE(order.Check(type).has_value());
    EXPECT_FALSE(order.Check(start).has_value());
    order.Apply(start);
    EXPECT_TRUE(order.Running());
    EXPECT_FALSE(order.Check(type).has_value());
    EXPECT_TRUE(order.Check(start).has_value());
}

}  // namespace
}  // namespace plexa::host
