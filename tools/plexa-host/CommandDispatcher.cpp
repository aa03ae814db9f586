#include "CommandDispatcher.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "CommandFailed.h"
#include "FolderPath.h"
#include "ScenarioError.h"
#include "core/HostError.h"
#include "core/Text.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/OlConstants.h"
#include "host/outlook/OutlookItem.h"
#include "host/outlook/Recipients.h"
#include "separate/mSendReports.h"
#include "settings/CLang.h"
#include "sim/mailbox/MailboxError.h"
#include "sim/mailbox/MailboxModel.h"
#include "sim/mailbox/MailboxReader.h"
#include "sim/store/StoreRecord.h"
#include "sim/windows/ScriptError.h"
#include "sim/windows/UnexpectedPrompt.h"

namespace plexa::host {

namespace {

using Failed = CommandFailed;

[[noreturn]] void Fail(std::wstring what) {
    FailCommand(std::move(what));
}

std::wstring Quote(const std::wstring& s) {
    return L"'" + text::ReplaceAll(s, L"\n", L"\\n") + L"'";
}

std::wstring Hex8(uint32_t n) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%08x", n);
    return buffer;
}

// "HKCU\Software\..." as the registry names it ("HKEY_CURRENT_USER\Software\..."), one
// backslash between names.
std::wstring RegistryPath(const std::wstring& written) {
    std::vector<std::wstring> names;
    for (const std::wstring& part : text::Split(written, L"\\")) {
        if (!part.empty()) {
            names.push_back(part);
        }
    }
    if (names.empty()) {
        Fail(L"'" + written + L"' names no registry key");
    }
    const std::pair<const wchar_t*, const wchar_t*> roots[] = {{L"HKCU", L"HKEY_CURRENT_USER"},
                                                               {L"HKLM", L"HKEY_LOCAL_MACHINE"},
                                                               {L"HKCR", L"HKEY_CLASSES_ROOT"}};
    for (const auto& [shortName, longName] : roots) {
        if (text::EqualsNoCase(names[0], shortName)) {
            names[0] = longName;
        }
    }
    return text::Join(names, L"\\");
}

std::wstring RegistryValueText(uint32_t type, const std::vector<uint8_t>& data) {
    if (type == reg::RegDword && data.size() == 4) {
        const uint32_t n =
            data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
        return L"dword:" + Hex8(n) + L" (" + std::to_wstring(static_cast<int32_t>(n)) + L")";
    }
    if ((type == reg::RegSz || type == reg::RegExpandSz) && data.size() % 2 == 0) {
        std::u16string units;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        }
        while (!units.empty() && units.back() == u'\0') {
            units.pop_back();
        }
        return L"\"" + text::FromUtf16(units) + L"\"";
    }
    std::wstring hex = L"hex(" + std::to_wstring(type) + L"):";
    for (std::size_t i = 0; i < data.size(); ++i) {
        wchar_t byte[4];
        std::swprintf(byte, 4, L"%02x", data[i]);
        hex += (i ? L"," : L"") + std::wstring(byte);
    }
    return hex;
}

// The expected registry value against the stored one: numbers for a DWORD (decimal, negative
// or 0x hex), the exact text for a string, the hex form otherwise.
bool RegistryValueMatches(uint32_t type, const std::vector<uint8_t>& data,
                          const std::wstring& expected) {
    const std::wstring found = RegistryValueText(type, data);
    if (type == reg::RegDword && data.size() == 4) {
        const uint32_t n =
            data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
        try {
            std::size_t used = 0;
            const bool hex = text::StartsWithNoCase(expected, L"0x");
            const long long wanted =
                std::stoll(hex ? expected.substr(2) : expected, &used, hex ? 16 : 10);
            if (used != expected.size() - (hex ? 2 : 0)) {
                return false;
            }
            return static_cast<uint32_t>(wanted) == n;
        } catch (const std::exception&) {
            return false;
        }
    }
    if (type == reg::RegSz || type == reg::RegExpandSz) {
        return found == L"\"" + expected + L"\"";
    }
    return found == expected;
}

// Lines of a log file (the writer writes the system code page); nothing when it is missing.
std::vector<std::wstring> ReadLogLines(const std::filesystem::path& real, const Locale& locale) {
    std::ifstream in(real, std::ios::binary);
    std::vector<std::wstring> lines;
    if (!in) {
        return lines;
    }
    std::stringstream content;
    content << in.rdbuf();
    for (std::wstring& line :
         text::Split(text::FromAnsi(content.str(), locale.codePage.c_str()), L"\n")) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::wstring ItemName(const sim::ItemRecord& item) {
    const std::wstring subject = item.GetText(mapi::PR_SUBJECT);
    return subject.empty() ? item.GetText(mapi::PR_DISPLAY_NAME) : subject;
}

bool ItemMatches(const sim::ItemRecord& item, const std::wstring& wanted) {
    return text::EqualsNoCase(item.GetText(mapi::PR_SUBJECT), wanted) ||
           text::EqualsNoCase(item.GetText(mapi::PR_DISPLAY_NAME), wanted);
}

std::wstring ClassName(int32_t objectClass) {
    switch (objectClass) {
        case olMail:
            return L"mail";
        case olContact:
            return L"contact";
        case olDistributionList:
            return L"distlist";
        case olAppointment:
            return L"appointment";
        case olTask:
            return L"task";
        case olNote:
            return L"note";
        case olJournal:
            return L"journal";
        case olPost:
            return L"post";
        default:
            return L"class " + std::to_wstring(objectClass);
    }
}

// A property's value as text, numbers compared as numbers.
bool PropertyMatches(const Variant& value, const std::wstring& expected) {
    if (value.IsEmpty()) {
        return false;
    }
    if (!value.IsString() && IsNumeric(value) && IsNumeric(Variant(expected))) {
        return CDbl(value) == CDbl(Variant(expected));
    }
    return CStr(value) == expected;
}

std::wstring PropertyText(const Variant& value) {
    if (value.IsEmpty()) {
        return L"(absent)";
    }
    try {
        return CStr(value);
    } catch (const HostError&) {
        return L"(" + value.TypeName() + L")";
    }
}

std::wstring RecipientList(const sim::Transmission& t) {
    std::vector<std::wstring> parts;
    for (const auto& r : t.recipients) {
        const std::wstring type = r.type == 2 ? L"cc " : r.type == 3 ? L"bcc " : L"";
        const std::wstring where =
            r.smtpAddresses.empty() ? r.address : text::Join(r.smtpAddresses, L", ");
        parts.push_back(type +
                        (r.smtpAddresses.size() > 1 ? r.name + L" (" + where + L")" : where));
    }
    return text::Join(parts, L"; ");
}

std::wstring SubmittedFrom(const sim::Transmission& t) {
    return t.submittedFrom.empty() ? std::wstring(L"no folder") : t.submittedFrom;
}

bool WentTo(const sim::Transmission& t, const std::wstring& address) {
    for (const auto& r : t.recipients) {
        if (text::EqualsNoCase(r.address, address)) {
            return true;
        }
        for (const std::wstring& smtp : r.smtpAddresses) {
            if (text::EqualsNoCase(smtp, address)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

struct CommandDispatcher::Outcome {};

class CommandDispatcher::Runner {
public:
    Runner(CommandDispatcher& d, const Command& command, const std::wstring& file)
        : m_d(d), m_world(d.m_world), m_show(d.m_transcript), m_command(command), m_file(file) {}

    void operator()(const HostCmd& c) {
        m_world.SetVersion(c.version);
        Show(L"the client reports version " + VersionText(c.version));
    }
    void operator()(const MailboxCmd& c) {
        if (c.demo) {
            m_world.SetMailbox({MailboxSource::Kind::Demo, {}});
            Show(L"the client will start on the demo mailbox");
            return;
        }
        std::filesystem::path path = std::filesystem::path(text::ToUtf8(c.file));
        if (path.is_relative()) {
            path = m_d.m_baseFolder / path;
        }
        try {
            sim::LoadMailbox(path);  // read now, so a malformed file stops the run at once
        } catch (const sim::MailboxError& e) {
            throw ScenarioError(m_file, m_command.line, L"mailbox: " + MailboxProblem(e));
        }
        m_world.SetMailbox({MailboxSource::Kind::File, path});
        Show(L"the client will start on " + text::FromUtf8(path.string()));
    }
    void operator()(const ClockCmd& c) {
        m_world.Platform().clock.SetLocal(c.local);
        Show(L"local time is " + sim::FormatMailboxDate(m_world.Platform().clock.NowLocal()));
    }
    void operator()(const LanguageCmd& c) {
        m_world.Platform().registry.PutString(m_world.SettingsKey(), L"LANG", c.id);
        Show(m_world.SettingsKey() + L" LANG = \"" + c.id + L"\"");
    }
    void operator()(const SettingCmd& c) {
        auto& registry = m_world.Platform().registry;
        if (c.isText) {
            registry.PutString(m_world.SettingsKey(), c.name, c.text);
            Show(m_world.SettingsKey() + L" " + c.name + L" = \"" + c.text + L"\"");
        } else {
            registry.PutDword(m_world.SettingsKey(), c.name, c.number);
            Show(m_world.SettingsKey() + L" " + c.name + L" = dword:" + Hex8(c.number));
        }
    }
    void operator()(const StartCmd&) {
        const std::wstring source = m_world.MailboxDescription();
        Guarded([&] { m_world.Start(); });
        ShowStarted(source);
    }
    void operator()(const StopCmd&) {
        m_windows.ReportUnused(L"the client stopped");
        m_world.Stop();
        Show(L"the client shut down; its state is saved in " +
             text::FromUtf8(m_world.State().Folder().string()) +
             (m_world.State().IsTemporary() ? L" (a temporary folder, removed at exit)" : L""));
    }
    void operator()(const RestartCmd&) {
        m_windows.ReportUnused(L"the client restarted");
        Guarded([&] { m_world.Restart(); });
        Show(L"the client shut down, saved its state and started again from it");
        ShowStarted(L"the saved mailbox");
    }
    void operator()(const ExplorerCmd& c) { m_windows.Explorer(c); }
    void operator()(const FolderCmd& c) { m_windows.Folder(c); }
    void operator()(const SelectCmd& c) { m_windows.Select(c); }
    void operator()(const RightClickCmd& c) { m_windows.RightClick(c); }
    void operator()(const OpenCmd& c) { m_windows.Open(c); }
    void operator()(const WindowCmd& c) { m_windows.Window(c); }
    void operator()(const NewMailCmd& c) { m_windows.NewMail(c.plexa); }
    void operator()(const DebugWindowCmd&) { m_windows.DebugWindow(); }
    void operator()(const ClickCmd& c) { m_windows.Click(c); }
    void operator()(const AnswerCmd& c) { m_windows.Answer(c); }
    void operator()(const PickFolderCmd& c) { m_windows.PickFolder(c); }
    void operator()(const DialogCmd& c) { m_windows.Dialog(c); }
    void operator()(const TypeCmd& c) { m_windows.Type(c); }
    void operator()(const SubjectCmd& c) { m_windows.Subject(c); }
    void operator()(const AddressCmd& c) { m_windows.Address(c); }
    void operator()(const SendCmd&) { m_windows.Send(); }
    void operator()(const CloseCmd& c) { m_windows.Close(c); }
    void operator()(const ExpectMessageCmd& c) { m_windows.ExpectMessage(c); }
    void operator()(const ExpectControlCmd& c) { m_windows.ExpectControl(c); }
    void operator()(const AdvanceCmd& c) {
        m_windows.Advance(c.seconds);
        Show(L"local time is " + sim::FormatMailboxDate(m_world.Platform().clock.NowLocal()));
    }
    void operator()(const MailCmd& c) {
        auto application = Client().application;
        auto mail = std::dynamic_pointer_cast<MailItem>(application->CreateItem(olMailItem));
        if (!mail) {
            Fail(L"mail: the client did not create a mail item");
        }
        auto recipients = mail->GetRecipients();
        const std::pair<const std::vector<std::wstring>*, int32_t> lists[] = {
            {&c.to, olTo}, {&c.cc, olCC}, {&c.bcc, olBCC}};
        for (const auto& [names, type] : lists) {
            for (const std::wstring& name : *names) {
                recipients->Add(name)->SetType(type);
            }
        }
        mail->SetSubject(c.subject);
        if (c.html) {
            mail->SetHTMLBody(*c.html);
        } else {
            mail->SetBodyFormat(olFormatPlain);
            mail->SetBody(c.body);
        }
        mail->Send();
        Show(L"the mail left through the transport");
    }
    void operator()(const SayCmd& c) { m_show.Note(c.text); }
    void operator()(const ExpectSentCountCmd& c) {
        const auto found = m_world.AllTransmissions().size();
        Expect(found == static_cast<std::size_t>(c.count), L"expected " + std::to_wstring(c.count) +
                                                               L" messages sent, found " +
                                                               std::to_wstring(found));
    }
    void operator()(const ExpectSentToCmd& c) {
        const std::wstring from = c.from ? Folder(*c.from).Path() : L"";
        std::vector<std::wstring> near;
        std::vector<std::wstring> everyone;
        for (const auto& t : m_world.AllTransmissions()) {
            everyone.push_back(RecipientList(t));
            if (!WentTo(t, c.address)) {
                continue;
            }
            const bool subjectOk = !c.subject || t.subject == *c.subject;
            const bool bodyOk = !c.body || t.body.find(*c.body) != std::wstring::npos ||
                                t.htmlBody.find(*c.body) != std::wstring::npos;
            const bool fromOk = !c.from || text::EqualsNoCase(t.submittedFrom, from);
            if (subjectOk && bodyOk && fromOk) {
                Held();
                return;
            }
            near.push_back(L"subject " + Quote(t.subject) + L", body " +
                           Quote(t.body.substr(0, 60)) + L", submitted from " + SubmittedFrom(t));
        }
        std::wstring wanted = L"expected a message sent to " + c.address;
        if (c.subject) {
            wanted += L" with subject " + Quote(*c.subject);
        }
        if (c.body) {
            wanted += L" whose body contains " + Quote(*c.body);
        }
        if (c.from) {
            wanted += L" submitted from " + from;
        }
        if (!near.empty()) {
            Fail(wanted + L"; the messages to " + c.address + L" have " +
                 text::Join(near, L"; and "));
        }
        Fail(wanted + L"; " +
             (everyone.empty()
                  ? std::wstring(L"no message was sent")
                  : L"none went there (sent to: " + text::Join(everyone, L" | ") + L")"));
    }
    void operator()(const ExpectFolderCountCmd& c) {
        const sim::FolderRecord& folder = Folder(c.folder);
        const auto found = folder.Items().size();
        Expect(found == static_cast<std::size_t>(c.count),
               L"expected " + std::to_wstring(c.count) + L" items in " + FolderPathOf(folder) +
                   L", found " + std::to_wstring(found));
    }
    void operator()(const ExpectItemCmd& c) {
        const sim::FolderRecord& folder = Folder(c.folder);
        std::vector<std::wstring> mismatches;
        for (const auto& item : folder.Items()) {
            if (!ItemMatches(*item, c.text)) {
                continue;
            }
            std::vector<std::wstring> wrong;
            if (c.flag) {
                const Variant status = item->GetProp(mapi::PR_FLAG_STATUS);
                const int32_t found = status.IsEmpty() ? 0 : CLng(status);
                if (found != *c.flag) {
                    wrong.push_back(L"flag " + std::to_wstring(found));
                }
            }
            for (const auto& [name, expected] : c.properties) {
                const Variant value = PropertyOf(*item, name);
                if (!PropertyMatches(value, expected)) {
                    wrong.push_back(name + L"=" + PropertyText(value));
                }
            }
            if (wrong.empty()) {
                Held();
                return;
            }
            mismatches.push_back(text::Join(wrong, L", "));
        }
        std::wstring wanted = L"expected an item " + Quote(c.text) + L" in " + FolderPathOf(folder);
        if (c.flag) {
            wanted += L" with flag " + std::to_wstring(*c.flag);
        }
        for (const auto& [name, expected] : c.properties) {
            wanted += L" with " + name + L"=" + expected;
        }
        if (!mismatches.empty()) {
            Fail(wanted + L"; found it with " + text::Join(mismatches, L"; and with "));
        }
        std::vector<std::wstring> names;
        for (const auto& item : folder.Items()) {
            names.push_back(Quote(ItemName(*item)));
        }
        Fail(wanted + L"; there is none (" +
             (names.empty() ? std::wstring(L"the folder is empty")
                            : L"it holds " + text::Join(names, L", ")) +
             L")");
    }
    void operator()(const ExpectRegistryCmd& c) {
        const std::wstring path = RegistryPath(c.key);
        uint32_t type = 0;
        std::vector<uint8_t> data;
        const bool exists = m_world.Platform().registry.GetRaw(path, c.name, type, data);
        const std::wstring where = path + L" " + c.name;
        if (!c.value) {
            Expect(!exists, L"expected " + where + L" to be absent, found " +
                                (exists ? RegistryValueText(type, data) : L""));
            return;
        }
        if (!exists) {
            Fail(L"expected " + where + L" = " + *c.value + L", found no such value");
        }
        Expect(
            RegistryValueMatches(type, data, *c.value),
            L"expected " + where + L" = " + *c.value + L", found " + RegistryValueText(type, data));
    }
    void operator()(const ExpectLogCmd& c) {
        std::vector<std::wstring> hits;
        for (const std::wstring& path : {m_world.LogPath(), m_world.ErrPath()}) {
            for (const std::wstring& line : LogLines(path)) {
                if (line.find(c.text) != std::wstring::npos) {
                    hits.push_back(line);
                }
            }
        }
        if (c.present) {
            Expect(!hits.empty(), L"expected a line of Plexa.log or Plexa.err containing " +
                                      Quote(c.text) + L", found none");
        } else {
            Expect(hits.empty(), L"expected no line of Plexa.log or Plexa.err containing " +
                                     Quote(c.text) + L", found " +
                                     Quote(hits.empty() ? L"" : hits[0]));
        }
    }
    void operator()(const DumpCmd& c) {
        switch (c.what) {
            case DumpCmd::What::Sent:
                DumpSent();
                return;
            case DumpCmd::What::Folder:
                DumpFolder(Folder(c.folder), L"");
                return;
            case DumpCmd::What::Registry:
                DumpRegistry(c.folder.empty() ? m_world.SettingsKey() : RegistryPath(c.folder));
                return;
            case DumpCmd::What::Log:
                for (const std::wstring& path : {m_world.LogPath(), m_world.ErrPath()}) {
                    const auto lines = LogLines(path);
                    Show(path + (lines.empty() ? L": (no file or empty)" : L":"));
                    for (const std::wstring& line : lines) {
                        Show(L"  " + line);
                    }
                }
                return;
            case DumpCmd::What::Bars:
                m_windows.DumpBars();
                return;
            case DumpCmd::What::Ribbon:
                m_windows.DumpRibbon();
                return;
            case DumpCmd::What::Message:
                m_windows.DumpMessage();
                return;
            case DumpCmd::What::Dialog:
                m_windows.DumpDialog();
                return;
            case DumpCmd::What::Report:
                DumpReport();
                return;
        }
    }
    void operator()(const ExpectReportCmd& c) {
        const auto rows = ReportRows();
        if (c.address == L"summary") {
            const std::wstring summary = mSendReports::Summary(rows);
            Expect(summary == *c.detail, L"expected the report's summary " + Quote(*c.detail) +
                                             L", found " + Quote(summary));
            return;
        }
        std::vector<std::wstring> seen;
        for (const SendReportRow& row : rows) {
            if (!text::EqualsNoCase(row.address, c.address)) {
                continue;
            }
            if (row.outcome == c.outcome &&
                (!c.detail || row.detail.find(*c.detail) != std::wstring::npos)) {
                Held();
                return;
            }
            seen.push_back(row.outcome + (row.detail.empty() ? L"" : L" (" + row.detail + L")"));
        }
        Fail(L"expected a report row for " + c.address + L": " + c.outcome +
             (c.detail ? L" (detail holding " + Quote(*c.detail) + L")" : L"") + L"; found " +
             (seen.empty() ? std::wstring(L"no row for that address") : text::Join(seen, L"; ")));
    }
    void operator()(const FailCmd& c) {
        m_world.Platform().faults.FailNth(c.op, c.nth,
                                          HostError(E_FAIL, c.text, L"Microsoft Outlook"));
        Show(L"call " + std::to_wstring(c.nth) + L" of " + c.op + L" from now will fail: " +
             c.text);
    }

private:
    std::vector<SendReportRow> ReportRows() {
        const std::wstring newest = mSendReports::Newest(m_world.Platform().Ports());
        if (newest.empty()) {
            Fail(L"there is no send report");
        }
        try {
            return mSendReports::Read(m_world.Platform().Ports(), newest);
        } catch (const HostError& e) {
            Fail(L"the send report " + newest + L" cannot be read: " + e.Description());
        }
    }
    void DumpReport() {
        const std::wstring newest = mSendReports::Newest(m_world.Platform().Ports());
        if (newest.empty()) {
            Show(L"no send report");
            return;
        }
        const auto rows = ReportRows();
        Show(L"report " + newest.substr(newest.rfind(L'\\') + 1) + L":");
        for (const SendReportRow& row : rows) {
            Show(L"  " + row.address + L" | " + row.outcome +
                 (row.detail.empty() ? L"" : L" | " + row.detail));
        }
        Show(L"  summary: " + mSendReports::Summary(rows));
    }
    void Show(const std::wstring& s) { m_show.Show(s); }
    void Held() {
        m_show.ExpectationHeld();
        Show(L"ok");
    }
    void Expect(bool held, const std::wstring& otherwise) {
        if (!held) {
            Fail(otherwise);
        }
        Held();
    }
    std::wstring MailboxProblem(const sim::MailboxError& e) {
        std::wstring where = e.File();
        if (e.TextLine() > 0) {
            where += L", line " + std::to_wstring(e.TextLine()) + L", column " +
                     std::to_wstring(e.TextColumn());
        }
        if (!e.Pointer().empty()) {
            where += L", at " + e.Pointer();
        }
        return where + L": " + e.Problem();
    }
    template <typename F>
    void Guarded(F start) {
        try {
            start();
        } catch (const sim::MailboxError& e) {
            throw ScenarioError(
                m_file, m_command.line,
                text::Split(m_command.source, L" ").front() + L": " + MailboxProblem(e));
        }
    }
    void ShowStarted(const std::wstring& source) {
        sim::SimHost& host = Client();
        int folders = 0;
        int items = 0;
        std::function<void(const sim::FolderRecord&)> count = [&](const sim::FolderRecord& f) {
            ++folders;
            items += static_cast<int>(f.Items().size());
            for (const auto& sub : f.Subfolders()) {
                count(*sub);
            }
        };
        std::vector<std::wstring> stores;
        for (const auto& store : host.session.Stores()) {
            stores.push_back(Quote(store->Name()) + (store->IsDefault() ? L" (default)" : L""));
            for (const auto& sub : store->TopFolder()->Subfolders()) {
                count(*sub);
            }
        }
        Show(L"Outlook " + std::to_wstring(m_world.Version()) + L" (" +
             m_world.Platform().host.Version() + L") started on " + source + L": " +
             text::Join(stores, L", ") + L", " + std::to_wstring(folders) + L" folders, " +
             std::to_wstring(items) + L" items");
        Show(L"Plexa connected: " +
             std::wstring(m_world.AddinServices() != nullptr &&
                                  !m_world.AddinServices()->Lang().LangID().empty()
                              ? L"language " + m_world.AddinServices()->Lang().LangID()
                              : L"no language file"));
    }
    sim::SimHost& Client() {
        if (m_world.Host() == nullptr) {
            Fail(text::Split(m_command.source, L" ").front() +
                 L": the client has no mailbox (it did not start)");
        }
        return *m_world.Host();
    }
    const sim::FolderRecord& Folder(const std::wstring& path) {
        std::wstring problem;
        const sim::FolderRecord* folder = FindFolder(Client().session, path, problem);
        if (folder == nullptr) {
            Fail(problem);
        }
        return *folder;
    }
    Variant PropertyOf(sim::ItemRecord& item, const std::wstring& name) {
        if (text::StartsWithNoCase(name, L"0x")) {
            try {
                std::size_t used = 0;
                const unsigned long tag = std::stoul(name.substr(2), &used, 16);
                if (used == name.size() - 2 && tag <= 0xFFFFFFFFul) {
                    return item.GetProp(static_cast<uint32_t>(tag));
                }
            } catch (const std::exception&) {
            }
            Fail(L"expect item: '" + name + L"' is not a property tag like 0x10800003");
        }
        const sim::UserPropertyRecord* property = item.FindUserProperty(name);
        return property != nullptr ? property->value : Variant();
    }
    std::vector<std::wstring> LogLines(const std::wstring& path) {
        return ReadLogLines(m_world.Platform().files.RealPath(path), m_world.Platform().locale);
    }
    void DumpSent() {
        const auto& sent = m_world.AllTransmissions();
        Show(std::to_wstring(sent.size()) + L" message" + (sent.size() == 1 ? L"" : L"s") +
             L" sent");
        int n = 0;
        for (const auto& t : sent) {
            Show(std::to_wstring(++n) + L". " + sim::FormatMailboxDate(t.timeUtc) + L" UTC from " +
                 t.senderAddress + L" to " + RecipientList(t) + L": " + Quote(t.subject) +
                 L", submitted from " + SubmittedFrom(t));
            // What the recipient reads first: up to two lines of the plain body.
            int shown = 0;
            for (const std::wstring& line : text::Split(t.body, L"\n")) {
                const std::wstring trimmed = text::Trim(line);
                if (trimmed.empty() || shown == 2) {
                    continue;
                }
                Show(L"     | " + trimmed);
                ++shown;
            }
        }
    }
    void DumpFolder(const sim::FolderRecord& folder, const std::wstring& indent) {
        const std::size_t count = folder.Items().size();
        Show(indent + FolderPathOf(folder) + L" (" + std::to_wstring(count) +
             (count == 1 ? L" item)" : L" items)"));
        for (const auto& item : folder.Items()) {
            std::wstring line =
                indent + L"  " + ClassName(item->ObjectClass()) + L" " + Quote(ItemName(*item));
            const Variant flag = item->GetProp(mapi::PR_FLAG_STATUS);
            if (!flag.IsEmpty()) {
                line += L" flag " + PropertyText(flag);
            }
            Show(line);
        }
        for (const auto& sub : folder.Subfolders()) {
            DumpFolder(*sub, indent + L"  ");
        }
    }
    void DumpRegistry(const std::wstring& path) {
        auto& registry = m_world.Platform().registry;
        if (!registry.KeyExists(path)) {
            Show(L"[" + path + L"] does not exist");
            return;
        }
        Show(L"[" + path + L"]");
        for (const std::wstring& name : registry.ValueNames(path)) {
            uint32_t type = 0;
            std::vector<uint8_t> data;
            registry.GetRaw(path, name, type, data);
            Show(L"  " + (name.empty() ? L"@" : name) + L" = " + RegistryValueText(type, data));
        }
        for (const std::wstring& sub : registry.SubKeyNames(path)) {
            DumpRegistry(path + L"\\" + sub);
        }
    }

    CommandDispatcher& m_d;
    HostWindows& m_windows = m_d.m_windows;
    HostWorld& m_world;
    Transcript& m_show;
    const Command& m_command;
    const std::wstring& m_file;
};

CommandDispatcher::CommandDispatcher(HostWorld& world, Transcript& transcript, EmlFolder& out,
                                     std::filesystem::path baseFolder)
    : m_world(world),
      m_transcript(transcript),
      m_out(out),
      m_baseFolder(std::move(baseFolder)),
      m_windows(world, transcript) {}

void CommandDispatcher::Finish() {
    m_windows.ReportUnused(L"the run ended");
}

void CommandDispatcher::Run(const Command& command, const std::wstring& file) {
    if (!std::holds_alternative<SayCmd>(command.body)) {
        m_transcript.Command(file, command.line, command.source);
    }
    const std::wstring name = text::Split(command.source, L" ").front();
    try {
        m_windows.Begin(file, command.line);
        Runner runner(*this, command, file);
        std::visit(runner, command.body);
    } catch (const Failed& failed) {
        m_transcript.Failure(file, command.line, failed.what);
    } catch (const ScenarioError&) {
        throw;
    } catch (const sim::UnexpectedPrompt& prompt) {
        m_transcript.Failure(file, command.line,
                             name + L": a " + prompt.Kind() + L" came that no answer or dialog " +
                                 L"line was waiting for (" + prompt.Reason() + L"): " +
                                 Quote(prompt.Title()) + L" " + Quote(prompt.Prompt()));
    } catch (const sim::ScriptError& e) {
        m_transcript.Failure(file, command.line, name + L": " + e.Message());
    } catch (const HostError& e) {
        m_transcript.Failure(file, command.line,
                             text::Split(command.source, L" ").front() + L": the client said " +
                                 e.Description() + L" (error " + std::to_wstring(e.Number()) +
                                 L")");
    } catch (const std::exception& e) {
        m_transcript.Failure(
            file, command.line,
            text::Split(command.source, L" ").front() + L": " + text::FromUtf8(e.what()));
    }
    WriteOutgoing(file, command.line);
}

bool CommandDispatcher::WriteOutgoing(const std::wstring& file, int line) {
    bool ok = true;
    for (const sim::Transmission& t : m_world.TakeNewTransmissions()) {
        try {
            const auto path = m_out.Write(t);
            m_transcript.Show(L"sent " + Quote(t.subject) + L" to " + RecipientList(t) + L" -> " +
                              text::FromUtf8(path.string()));
        } catch (const std::exception& e) {
            m_transcript.Failure(file, line, L"writing the .eml: " + text::FromUtf8(e.what()));
            ok = false;
        }
    }
    return ok;
}

}  // namespace plexa::host
