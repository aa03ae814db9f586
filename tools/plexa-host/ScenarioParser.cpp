#include "ScenarioParser.h"

#include <charconv>
#include <limits>

#include "PlexaSettings.h"
#include "ScenarioLexer.h"
#include "core/Text.h"
#include "sim/FaultOps.h"
#include "sim/mailbox/MailboxModel.h"

namespace plexa::host {

namespace {

// The tokens of one line, taken from the front, with errors that name the line.
class Cursor {
public:
    Cursor(std::vector<Token> tokens, int line, const std::wstring& file)
        : m_tokens(std::move(tokens)), m_line(line), m_file(file) {}

    [[noreturn]] void Fail(const std::wstring& problem) const {
        throw ScenarioError(m_file, m_line, problem);
    }
    bool AtEnd() const { return m_next >= m_tokens.size(); }
    std::size_t Left() const { return m_tokens.size() - m_next; }
    const Token& Peek() const { return m_tokens[m_next]; }
    bool PeekIs(std::wstring_view keyword) const { return !AtEnd() && Peek().Is(keyword); }

    // The next token; what names the missing argument in the error.
    const Token& Take(const std::wstring& what) {
        if (AtEnd()) {
            Fail(m_command + L": " + what + L" is missing");
        }
        return m_tokens[m_next++];
    }
    std::wstring TakeText(const std::wstring& what) { return Take(what).text; }
    // One of the keywords, lower-cased.
    std::wstring TakeKeyword(std::initializer_list<const wchar_t*> keywords,
                             const std::wstring& what) {
        const Token& token = Take(what);
        for (const wchar_t* keyword : keywords) {
            if (token.Is(keyword)) {
                return keyword;
            }
        }
        if (keywords.size() == 1) {
            Fail(m_command + L": expected '" + *keywords.begin() + L"', found '" + token.text +
                 L"'");
        }
        Fail(m_command + L": '" + token.text + L"' is not " + what + L" (" + Choices(keywords) +
             L")");
    }
    int32_t TakeNumber(const std::wstring& what, int64_t min, int64_t max) {
        const Token& token = Take(what);
        const auto n = ParseInteger(token.text);
        if (!n || *n < min || *n > max) {
            Fail(m_command + L": " + what + L" must be a whole number from " +
                 std::to_wstring(min) + L" to " + std::to_wstring(max) + L", not '" + token.text +
                 L"'");
        }
        return static_cast<int32_t>(*n);
    }
    void ExpectEnd() const {
        if (!AtEnd()) {
            Fail(m_command + L": unexpected '" + Peek().text + L"' (quote a text with spaces)");
        }
    }
    void SetCommand(std::wstring name) { m_command = std::move(name); }
    const std::wstring& CommandName() const { return m_command; }

    static std::optional<int64_t> ParseInteger(const std::wstring& text) {
        const std::string s = text::ToUtf8(text);
        int64_t value = 0;
        const char* first = s.data();
        if (!s.empty() && s[0] == '+') {
            ++first;
        }
        const auto [end, ec] = std::from_chars(first, s.data() + s.size(), value);
        if (ec != std::errc{} || end != s.data() + s.size() || first == s.data() + s.size()) {
            return std::nullopt;
        }
        return value;
    }
    static std::wstring Choices(std::initializer_list<const wchar_t*> keywords) {
        std::wstring s;
        for (const wchar_t* keyword : keywords) {
            s += (s.empty() ? L"" : L", ") + std::wstring(keyword);
        }
        return s;
    }

private:
    std::vector<Token> m_tokens;
    std::size_t m_next = 0;
    int m_line;
    const std::wstring& m_file;
    std::wstring m_command;
};

ControlRef ParseControl(Cursor& c) {
    const Token& token = c.Take(L"the control");
    ControlRef ref;
    ref.text = token.text;
    const std::pair<const wchar_t*, ControlRef::Kind> prefixes[] = {
        {L"key:", ControlRef::Kind::Key},
        {L"id:", ControlRef::Kind::Id},
        {L"tag:", ControlRef::Kind::Tag},
        {L"ribbon:", ControlRef::Kind::Ribbon}};
    for (const auto& [prefix, kind] : prefixes) {
        const std::wstring_view p(prefix);
        if (token.quoteStart >= p.size() && text::StartsWithNoCase(token.text, p)) {
            ref.kind = kind;
            ref.text = token.text.substr(p.size());
            if (ref.text.empty()) {
                c.Fail(c.CommandName() + L": '" + token.text + L"' names no control");
            }
            if (kind == ControlRef::Kind::Id) {
                const auto n = Cursor::ParseInteger(ref.text);
                if (!n || *n < 1 || *n > std::numeric_limits<int32_t>::max()) {
                    c.Fail(c.CommandName() + L": '" + token.text +
                           L"' needs a positive control id");
                }
                ref.id = static_cast<int32_t>(*n);
            }
            break;
        }
    }
    return ref;
}

std::pair<std::wstring, std::wstring> SplitPair(Cursor& c, const Token& token,
                                                const std::wstring& what) {
    if (token.equalsAt == std::wstring::npos || token.equalsAt == 0) {
        c.Fail(c.CommandName() + L": '" + token.text + L"' is not " + what);
    }
    return {token.text.substr(0, token.equalsAt), token.text.substr(token.equalsAt + 1)};
}

SettingCmd ParseSetting(Cursor& c) {
    const Token& nameToken = c.Take(L"the setting's name");
    const auto info = FindSetting(nameToken.text);
    if (!info) {
        c.Fail(L"setting: '" + nameToken.text +
               L"' is not a Plexa setting (docs/settings.md lists them)");
    }
    SettingCmd cmd;
    cmd.name = info->name;
    const Token& value = c.Take(L"the value");
    switch (info->kind) {
        case SettingKind::Text:
            cmd.isText = true;
            cmd.text = value.text;
            break;
        case SettingKind::YesNo: {
            if (value.Is(L"yes") || value.Is(L"true") || value.Is(L"on") || value.text == L"1") {
                cmd.number = 1;
            } else if (value.Is(L"no") || value.Is(L"false") || value.Is(L"off") ||
                       value.text == L"0") {
                cmd.number = 0;
            } else {
                c.Fail(L"setting: " + cmd.name + L" is yes or no, not '" + value.text + L"'");
            }
            break;
        }
        case SettingKind::Number: {
            const auto n = Cursor::ParseInteger(value.text);
            if (!n || *n < std::numeric_limits<int32_t>::min() ||
                *n > std::numeric_limits<uint32_t>::max()) {
                c.Fail(L"setting: " + cmd.name + L" is a number, not '" + value.text + L"'");
            }
            cmd.number = static_cast<uint32_t>(*n);
            break;
        }
    }
    c.ExpectEnd();
    return cmd;
}

CommandBody ParseExpect(Cursor& c) {
    const std::wstring what = c.TakeKeyword({L"sent", L"folder", L"item", L"message", L"registry",
                                             L"log", L"nolog", L"control", L"report"},
                                            L"what to expect");
    c.SetCommand(L"expect " + what);
    if (what == L"sent") {
        if (!c.PeekIs(L"to")) {
            ExpectSentCountCmd cmd;
            cmd.count = c.TakeNumber(L"the number of messages", 0, 1000000);
            c.ExpectEnd();
            return cmd;
        }
        c.Take(L"to");
        ExpectSentToCmd cmd;
        cmd.address = c.TakeText(L"the address");
        while (!c.AtEnd()) {
            const std::wstring clause = c.TakeKeyword({L"subject", L"body", L"from"}, L"a clause");
            auto& slot = clause == L"subject" ? cmd.subject
                         : clause == L"body"  ? cmd.body
                                              : cmd.from;
            if (slot) {
                c.Fail(L"expect sent: '" + clause + L"' is given twice");
            }
            slot = c.TakeText(clause == L"from" ? std::wstring(L"the folder")
                                                : L"the " + clause + L" text");
        }
        return cmd;
    }
    if (what == L"folder") {
        ExpectFolderCountCmd cmd;
        cmd.folder = c.TakeText(L"the folder");
        c.TakeKeyword({L"count"}, L"the word 'count'");
        cmd.count = c.TakeNumber(L"the number of items", 0, 100000000);
        c.ExpectEnd();
        return cmd;
    }
    if (what == L"item") {
        ExpectItemCmd cmd;
        cmd.folder = c.TakeText(L"the folder");
        cmd.text = c.TakeText(L"the item's subject");
        while (!c.AtEnd()) {
            const std::wstring clause = c.TakeKeyword({L"flag", L"property"}, L"a clause");
            if (clause == L"flag") {
                if (cmd.flag) {
                    c.Fail(L"expect item: 'flag' is given twice");
                }
                cmd.flag = c.TakeNumber(L"the flag status", 0, 2);
            } else {
                const Token& token = c.Take(L"NAME=VALUE");
                cmd.properties.push_back(SplitPair(c, token, L"NAME=VALUE"));
            }
        }
        return cmd;
    }
    if (what == L"message") {
        ExpectMessageCmd cmd;
        const std::wstring type = c.TakeKeyword({L"to", L"cc", L"bcc"}, L"a recipient type");
        cmd.type = type == L"to" ? 1 : type == L"cc" ? 2 : 3;
        while (!c.AtEnd()) {
            cmd.names.push_back(c.TakeText(L"a name"));
        }
        return cmd;
    }
    if (what == L"registry") {
        ExpectRegistryCmd cmd;
        cmd.key = c.TakeText(L"the key");
        cmd.name = c.TakeText(L"the value's name");
        const Token& value = c.Take(L"the value, or 'absent'");
        if (!value.Is(L"absent")) {
            cmd.value = value.text;
        }
        c.ExpectEnd();
        return cmd;
    }
    if (what == L"report") {
        ExpectReportCmd cmd;
        cmd.address = c.TakeText(L"the address, or 'summary'");
        if (cmd.address == L"summary") {
            cmd.detail = c.TakeText(L"the summary");
        } else {
            cmd.outcome = c.TakeText(L"the outcome");
            if (!c.AtEnd()) {
                c.TakeKeyword({L"detail"}, L"the word 'detail'");
                cmd.detail = c.TakeText(L"the detail text");
            }
        }
        c.ExpectEnd();
        return cmd;
    }
    if (what == L"log" || what == L"nolog") {
        ExpectLogCmd cmd;
        cmd.present = what == L"log";
        cmd.text = c.TakeText(L"the text");
        if (cmd.text.empty()) {
            c.Fail(c.CommandName() + L": the text is empty");
        }
        c.ExpectEnd();
        return cmd;
    }
    ExpectControlCmd cmd;
    cmd.control = ParseControl(c);
    cmd.state = c.TakeKeyword({L"visible", L"hidden", L"enabled", L"disabled", L"pressed"},
                              L"a control state");
    c.ExpectEnd();
    return cmd;
}

MailCmd ParseMail(Cursor& c) {
    MailCmd cmd;
    bool any = false;
    while (!c.AtEnd()) {
        const std::wstring clause =
            c.TakeKeyword({L"to", L"cc", L"bcc", L"subject", L"body", L"html"}, L"a clause");
        if (clause == L"subject" || clause == L"body" || clause == L"html") {
            const std::wstring value = c.TakeText(L"the " + clause + L" text");
            if (clause == L"subject") {
                cmd.subject = value;
            } else if (clause == L"body") {
                cmd.body = value;
            } else {
                cmd.html = value;
            }
            continue;
        }
        auto& list = clause == L"to" ? cmd.to : clause == L"cc" ? cmd.cc : cmd.bcc;
        const std::size_t before = list.size();
        while (!c.AtEnd() && !(c.PeekIs(L"to") || c.PeekIs(L"cc") || c.PeekIs(L"bcc") ||
                               c.PeekIs(L"subject") || c.PeekIs(L"body") || c.PeekIs(L"html"))) {
            list.push_back(c.TakeText(L"a recipient"));
        }
        if (list.size() == before) {
            c.Fail(L"mail: '" + clause + L"' names no recipient");
        }
        any = true;
    }
    if (!any) {
        c.Fail(L"mail: no recipient (mail to ADDRESS... [subject TEXT] [body TEXT])");
    }
    return cmd;
}

CommandBody ParseBody(Cursor& c) {
    const Token& head = c.Take(L"the command");
    if (head.quoted) {
        c.Fail(L"a line starts with a command, not a quoted text ('" + head.text + L"')");
    }
    const std::wstring name = text::ToLower(head.text);
    c.SetCommand(name);
    if (name == L"host") {
        HostCmd cmd;
        const Token& token = c.Take(L"the version");
        const auto v = Cursor::ParseInteger(token.text);
        if (!v || (*v != 9 && *v != 10 && *v != 11 && *v != 12 && *v != 14)) {
            c.Fail(L"host: the version is 9, 10, 11, 12 or 14, not '" + token.text + L"'");
        }
        cmd.version = static_cast<int32_t>(*v);
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"mailbox") {
        MailboxCmd cmd;
        const Token& token = c.Take(L"the mailbox (demo or a file)");
        cmd.demo = token.Is(L"demo");
        cmd.file = cmd.demo ? L"" : token.text;
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"clock") {
        std::wstring when = c.TakeText(L"the date and time");
        if (!c.AtEnd()) {
            when += L" " + c.TakeText(L"the time");
        }
        c.ExpectEnd();
        const auto date = sim::ParseMailboxDate(when);
        if (!date) {
            c.Fail(L"clock: '" + when + L"' is not a date and time like \"2026-12-06 09:00\"");
        }
        return ClockCmd{*date};
    }
    if (name == L"language") {
        LanguageCmd cmd{c.TakeText(L"the language id")};
        if (cmd.id.empty()) {
            c.Fail(L"language: the language id is empty");
        }
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"setting") {
        return ParseSetting(c);
    }
    if (name == L"start" || name == L"stop" || name == L"restart" || name == L"send") {
        c.ExpectEnd();
        if (name == L"start") {
            return StartCmd{};
        }
        if (name == L"stop") {
            return StopCmd{};
        }
        return name == L"send" ? CommandBody(SendCmd{}) : CommandBody(RestartCmd{});
    }
    if (name == L"explorer") {
        ExplorerCmd cmd;
        const std::wstring action =
            c.TakeKeyword({L"open", L"activate", L"close"}, L"an explorer action");
        if (action == L"open") {
            cmd.action = ExplorerCmd::Action::Open;
            if (!c.AtEnd()) {
                cmd.folder = c.TakeText(L"the folder");
            }
        } else if (action == L"activate") {
            cmd.action = ExplorerCmd::Action::Activate;
            cmd.number = c.TakeNumber(L"the window's number", 1, 1000);
        } else {
            cmd.action = ExplorerCmd::Action::Close;
            if (!c.AtEnd()) {
                cmd.number = c.TakeNumber(L"the window's number", 1, 1000);
            }
        }
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"folder") {
        FolderCmd cmd{c.TakeText(L"the folder")};
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"select") {
        SelectCmd cmd;
        if (c.Left() == 1 && (c.PeekIs(L"all") || c.PeekIs(L"none"))) {
            cmd.mode = c.Peek().Is(L"all") ? SelectCmd::Mode::All : SelectCmd::Mode::None;
            c.Take(L"");
            return cmd;
        }
        while (!c.AtEnd()) {
            cmd.texts.push_back(c.TakeText(L"an item"));
        }
        if (cmd.texts.empty()) {
            c.Fail(L"select: name the items (a subject or full name), or 'all' or 'none'");
        }
        return cmd;
    }
    if (name == L"rightclick") {
        RightClickCmd cmd;
        cmd.folder = c.TakeKeyword({L"items", L"folder"}, L"what to right-click") == L"folder";
        if (cmd.folder) {
            cmd.folderPath = c.TakeText(L"the folder");
        }
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"open") {
        OpenCmd cmd{c.TakeText(L"the item's subject or full name")};
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"new") {
        c.TakeKeyword({L"mail"}, L"what to make new");
        NewMailCmd cmd;
        if (!c.AtEnd()) {
            c.TakeKeyword({L"plexa"}, L"'plexa' (a mail composed through the add-in) or nothing");
            cmd.plexa = true;
        }
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"debug") {
        c.TakeKeyword({L"window"}, L"what to open");
        c.ExpectEnd();
        return DebugWindowCmd{};
    }
    if (name == L"address") {
        AddressCmd cmd;
        const std::wstring type = c.TakeKeyword({L"to", L"cc", L"bcc"}, L"a recipient type");
        cmd.type = type == L"to" ? 1 : type == L"cc" ? 2 : 3;
        while (!c.AtEnd()) {
            cmd.names.push_back(c.TakeText(L"a name"));
        }
        if (cmd.names.empty()) {
            c.Fail(L"address: name the recipients (address to NAME...)");
        }
        return cmd;
    }
    if (name == L"window") {
        WindowCmd cmd{c.TakeNumber(L"the window's number", 1, 1000)};
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"click") {
        ClickCmd cmd{ParseControl(c)};
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"answer") {
        AnswerCmd cmd;
        cmd.button = c.TakeKeyword({L"yes", L"no", L"cancel", L"ok"}, L"an answer");
        if (!c.AtEnd()) {
            cmd.text = c.TakeText(L"the text");
        }
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"pickfolder") {
        PickFolderCmd cmd;
        const Token& token = c.Take(L"the folder, or 'cancel'");
        cmd.cancel = token.Is(L"cancel");
        cmd.folder = cmd.cancel ? L"" : token.text;
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"dialog") {
        DialogCmd cmd;
        cmd.name = c.TakeText(L"the dialog's name");
        while (!c.PeekIs(L"press")) {
            if (c.PeekIs(L"dump")) {
                c.Take(L"dump");
                cmd.dump = true;
                continue;
            }
            const Token& token = c.Take(L"'press BUTTON'");
            cmd.values.push_back(SplitPair(c, token, L"CONTROL=VALUE or 'press'"));
        }
        c.Take(L"press");
        cmd.press = c.TakeText(L"the button to press");
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"type" || name == L"subject") {
        const std::wstring value = c.TakeText(L"the text");
        c.ExpectEnd();
        return name == L"type" ? CommandBody(TypeCmd{value}) : CommandBody(SubjectCmd{value});
    }
    if (name == L"close") {
        CloseCmd cmd;
        if (!c.AtEnd()) {
            cmd.mode = c.TakeKeyword({L"save", L"discard"}, L"how to close") == L"save"
                           ? CloseCmd::Mode::Save
                           : CloseCmd::Mode::Discard;
        }
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"advance") {
        std::wstring written = c.TakeText(L"the duration");
        std::wstring compact = written;
        while (!c.AtEnd()) {
            const std::wstring part = c.TakeText(L"");
            written += L" " + part;
            compact += part;
        }
        const auto seconds = ParseDuration(compact);
        if (!seconds) {
            c.Fail(L"advance: '" + written +
                   L"' is not a duration (a number and s, m, h or d: 30s, 15m, 2h, 1d)");
        }
        return AdvanceCmd{*seconds};
    }
    if (name == L"mail") {
        return ParseMail(c);
    }
    if (name == L"say") {
        SayCmd cmd{c.TakeText(L"the text")};
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"expect") {
        return ParseExpect(c);
    }
    if (name == L"fail") {
        FailCmd cmd;
        cmd.op = c.TakeText(L"the operation");
        if (!sim::IsFaultOp(cmd.op)) {
            c.Fail(L"fail: '" + cmd.op +
                   L"' is no simulated operation (see docs/fault-injection.md)");
        }
        if (c.PeekIs(L"nth")) {
            c.Take(L"nth");
            cmd.nth = c.TakeNumber(L"which call from now", 1, 1000000);
        }
        cmd.text =
            c.AtEnd() ? std::wstring(L"The operation failed.") : c.TakeText(L"the error text");
        c.ExpectEnd();
        return cmd;
    }
    if (name == L"dump") {
        DumpCmd cmd;
        const std::wstring what = c.TakeKeyword({L"sent", L"folder", L"registry", L"log", L"bars",
                                                 L"ribbon", L"message", L"dialog", L"report"},
                                                L"what to show");
        using W = DumpCmd::What;
        cmd.what = what == L"sent"       ? W::Sent
                   : what == L"folder"   ? W::Folder
                   : what == L"registry" ? W::Registry
                   : what == L"log"      ? W::Log
                   : what == L"bars"     ? W::Bars
                   : what == L"ribbon"   ? W::Ribbon
                   : what == L"dialog"   ? W::Dialog
                   : what == L"report"   ? W::Report
                                         : W::Message;
        if (cmd.what == W::Folder) {
            cmd.folder = c.TakeText(L"the folder");
        } else if (cmd.what == W::Registry && !c.AtEnd()) {
            cmd.folder = c.TakeText(L"the key");
        }
        c.ExpectEnd();
        return cmd;
    }
    c.Fail(L"unknown command '" + head.text + L"'");
}

std::wstring StripComment(std::wstring_view line) {
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == L'"') {
            inQuotes = !inQuotes;
        } else if (line[i] == L'#' && !inQuotes) {
            return text::Trim(line.substr(0, i));
        }
    }
    return text::Trim(line);
}

}  // namespace

std::optional<Command> ParseLine(std::wstring_view line, int lineNumber, const std::wstring& file) {
    LexResult lexed = LexLine(line);
    if (!lexed.error.empty()) {
        throw ScenarioError(file, lineNumber, lexed.error);
    }
    if (lexed.tokens.empty()) {
        return std::nullopt;
    }
    Cursor cursor(std::move(lexed.tokens), lineNumber, file);
    Command command{ParseBody(cursor), lineNumber, StripComment(line)};
    return command;
}

Scenario ParseScenario(std::string_view utf8, const std::wstring& file) {
    if (utf8.starts_with("\xEF\xBB\xBF")) {
        utf8.remove_prefix(3);
    }
    Scenario scenario;
    scenario.file = file;
    ClientOrder order;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) {
            end = utf8.size();
        }
        ++lineNumber;
        const std::string_view raw = utf8.substr(start, end - start);
        const std::wstring line = text::FromUtf8(raw);
        if (text::ToUtf8(line) != raw) {
            throw ScenarioError(file, lineNumber, L"the line is not valid UTF-8");
        }
        if (auto command = ParseLine(line, lineNumber, file)) {
            if (const auto problem = order.Check(*command)) {
                throw ScenarioError(file, lineNumber, *problem);
            }
            order.Apply(*command);
            scenario.commands.push_back(std::move(*command));
        }
        start = end + 1;
    }
    return scenario;
}

std::optional<int64_t> ParseDuration(std::wstring_view written) {
    if (written.empty()) {
        return std::nullopt;
    }
    int64_t total = 0;
    std::size_t i = 0;
    while (i < written.size()) {
        int64_t n = 0;
        const std::size_t digits = i;
        while (i < written.size() && written[i] >= L'0' && written[i] <= L'9') {
            n = n * 10 + (written[i++] - L'0');
            if (n > 100000000) {
                return std::nullopt;
            }
        }
        if (i == digits || i == written.size()) {
            return std::nullopt;
        }
        int64_t unit = 0;
        switch (written[i++]) {
            case L's':
                unit = 1;
                break;
            case L'm':
                unit = 60;
                break;
            case L'h':
                unit = 3600;
                break;
            case L'd':
                unit = 86400;
                break;
            default:
                return std::nullopt;
        }
        total += n * unit;
    }
    return total;
}

namespace {

bool NeedsRunningClient(const CommandBody& body) {
    return std::holds_alternative<StopCmd>(body) || std::holds_alternative<RestartCmd>(body) ||
           std::holds_alternative<ExplorerCmd>(body) || std::holds_alternative<FolderCmd>(body) ||
           std::holds_alternative<SelectCmd>(body) || std::holds_alternative<RightClickCmd>(body) ||
           std::holds_alternative<OpenCmd>(body) || std::holds_alternative<WindowCmd>(body) ||
           std::holds_alternative<NewMailCmd>(body) || std::holds_alternative<AddressCmd>(body) ||
           std::holds_alternative<DebugWindowCmd>(body) || std::holds_alternative<ClickCmd>(body) ||
           std::holds_alternative<AnswerCmd>(body) || std::holds_alternative<PickFolderCmd>(body) ||
           std::holds_alternative<DialogCmd>(body) || std::holds_alternative<TypeCmd>(body) ||
           std::holds_alternative<SubjectCmd>(body) || std::holds_alternative<SendCmd>(body) ||
           std::holds_alternative<CloseCmd>(body) || std::holds_alternative<MailCmd>(body) ||
           std::holds_alternative<ExpectMessageCmd>(body) ||
           std::holds_alternative<ExpectControlCmd>(body) ||
           (std::holds_alternative<DumpCmd>(body) &&
            (std::get<DumpCmd>(body).what == DumpCmd::What::Bars ||
             std::get<DumpCmd>(body).what == DumpCmd::What::Ribbon ||
             std::get<DumpCmd>(body).what == DumpCmd::What::Message ||
             std::get<DumpCmd>(body).what == DumpCmd::What::Dialog));
}

bool NeedsStoppedClient(const CommandBody& body) {
    return std::holds_alternative<HostCmd>(body) || std::holds_alternative<MailboxCmd>(body) ||
           std::holds_alternative<ClockCmd>(body) || std::holds_alternative<LanguageCmd>(body) ||
           std::holds_alternative<StartCmd>(body);
}

bool NeedsMailbox(const CommandBody& body) {
    return std::holds_alternative<ExpectFolderCountCmd>(body) ||
           std::holds_alternative<ExpectItemCmd>(body) ||
           (std::holds_alternative<DumpCmd>(body) &&
            std::get<DumpCmd>(body).what == DumpCmd::What::Folder);
}

}  // namespace

std::optional<std::wstring> ClientOrder::Check(const Command& command) const {
    const CommandBody& body = command.body;
    const std::wstring name = text::ToLower(text::Split(command.source, L" ").front());
    if (m_running && NeedsStoppedClient(body)) {
        if (std::holds_alternative<StartCmd>(body)) {
            return L"start: the client is running already";
        }
        return name + L": only before 'start' (or after 'stop'), while the client is not running";
    }
    if (!m_running && NeedsRunningClient(body)) {
        return name + L": the client is not running ('start' it first)";
    }
    if (!m_started && NeedsMailbox(body)) {
        return name + L": the client has not started yet, so there is no mailbox ('start' first)";
    }
    return std::nullopt;
}

void ClientOrder::Apply(const Command& command) {
    if (std::holds_alternative<StartCmd>(command.body) ||
        std::holds_alternative<RestartCmd>(command.body)) {
        m_running = true;
        m_started = true;
    } else if (std::holds_alternative<StopCmd>(command.body)) {
        m_running = false;
    }
}

std::wstring ControlRef::Describe() const {
    switch (kind) {
        case Kind::Caption:
            return L"'" + text + L"'";
        case Kind::Key:
            return L"key:" + text;
        case Kind::Id:
            return L"id:" + std::to_wstring(id);
        case Kind::Tag:
            return L"tag:" + text;
        case Kind::Ribbon:
            return L"ribbon:" + text;
    }
    return text;
}

bool Command::IsExpectation() const {
    return std::holds_alternative<ExpectSentCountCmd>(body) ||
           std::holds_alternative<ExpectSentToCmd>(body) ||
           std::holds_alternative<ExpectFolderCountCmd>(body) ||
           std::holds_alternative<ExpectItemCmd>(body) ||
           std::holds_alternative<ExpectMessageCmd>(body) ||
           std::holds_alternative<ExpectRegistryCmd>(body) ||
           std::holds_alternative<ExpectLogCmd>(body) ||
           std::holds_alternative<ExpectControlCmd>(body);
}

}  // namespace plexa::host
