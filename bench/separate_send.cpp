// Separate sending at scale, for `./dev bench separate-send`: the separate-send action on the
// simulated client, from a draft addressed to N contacts (1,000 and 10,000) to N personal copies
// handed to the in-memory transport, for a plain 2.5 KB body and a 50 KB HTML body with three
// placeholders (the peer's texts: first name in the subject, full name and company in the body).
// Each transmission is the message as the transport takes it (sender, recipients, subject, both
// bodies, properties) and is dropped once counted: no file is written, and the client keeps no
// copies in Sent Items (its "save copies of sent messages" option off).
//
// Besides the action it times the floor: copying the body twice per message. Prints one line per
// figure, "plexa KIND N messages in S s: R messages/s (P us per message, CPU C us)": the rate is
// wall time's, as the peer's is; the CPU time per message is the steadier figure on a busy
// machine. Usage: separate_send [text|html] [N ...] (default: both bodies, 1,000 and 10,000).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "core/Text.h"
#include "distlists/mContacts.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipientsProps.h"
#include "separate/CSendLaterList.h"
#include "separate/mPlexaUpdate.h"
#include "separate/mUserProps.h"
#include "settings/IPleaseWait.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimPlatform.h"
#include "sim/store/SimSession.h"

namespace {

using namespace plexa;
using Clock = std::chrono::steady_clock;

std::wstring Repeat(const std::wstring& s, int n) {
    std::wstring out;
    out.reserve(s.size() * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

// The peer's message texts, with the add-in's placeholders in place of the template's.
const std::wstring kSubject = L"Club news for %FirstName%";
std::wstring TextBody() {
    const std::wstring para =
        L"The club meets on Friday at seven in the small hall; bring your own cup, and a "
        L"friend if you like. ";
    return L"Dear %FullName%,\n\n" + Repeat(para, 24) + L"\n\nRegards to everyone at %Company%.\n";
}
std::wstring HtmlBody() {
    const std::wstring cell =
        L"<td style=\"padding:4px;border:1px solid #ccc\">Friday, 7 pm, small hall</td>";
    const std::wstring row = L"<tr>" + Repeat(cell, 4) + L"</tr>\n";
    return L"<html><body><p>Dear <b>%FullName%</b>,</p>\n<table>\n" + Repeat(row, 163) +
           L"</table>\n<p>Regards to everyone at %Company%.</p></body></html>\n";
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    std::size_t sent = 0;
    std::size_t bytes = 0;
};

// One world per run: N contacts (as the peer's rows), a draft to all of them, the action.
Run SendSeparately(int n, bool html) {
    sim::SimPlatform platform;
    Services services{platform.Ports()};
    sim::SimDesktop desktop{platform};
    services.host = desktop.Ports();
    sim::SimSession& session = desktop.host.session;
    session.saveSentMessages = false;
    session.keepTransmissions = false;
    Run run;
    session.onTransmitted = [&run](const sim::Transmission& t) {
        ++run.sent;
        run.bytes += t.subject.size() + t.body.size() + t.htmlBody.size();
    };
    services.Lang().ItemSet(L"LID_PROMPT_SEND_OR_SAVE_MAILS", L"Number of e-mails to send: %d.");
    services.Lang().ItemSet(L"LID_TITLE_MAIL", L"%s - Plexa");

    sim::FolderRecord& contacts = *session.DefaultFolder(olFolderContacts);
    session.Reserve(static_cast<std::size_t>(n) * 2 + 16, static_cast<std::size_t>(n),
                    static_cast<std::size_t>(n));
    auto mail =
        std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
    mail->SetSubject(kSubject);
    if (html) {
        mail->SetHTMLBody(HtmlBody());
    } else {
        mail->SetBodyFormat(olFormatPlain);
        mail->SetBody(TextBody());
    }
    auto recipients = mail->GetRecipients();
    for (int i = 0; i < n; ++i) {
        const std::wstring number = std::to_wstring(i);
        const std::wstring address = L"person" + number + L"@example.net";
        auto contact = session.AddItem(contacts, olContact);
        contact->SetText(mapi::PR_DISPLAY_NAME, L"First" + number + L" Last" + number);
        contact->SetText(mapi::PR_GIVEN_NAME, L"First" + number);
        contact->SetText(mapi::PR_SURNAME, L"Last" + number);
        contact->SetText(mapi::PR_COMPANY_NAME, L"Company " + std::to_wstring(i % 97));
        session.SetContactEmail(*contact, 1, address);
        recipients->Add(address)->Resolve();
    }
    mUserProps::SetShowToolbar(mail, false);
    mUserProps::SetSendMode(mail, SendModeSep, false);
    mail->Save();

    CSendLaterList queue{services};
    queue.Init(L"BENCH");
    NoPleaseWait pleaseWait;
    mContacts::CContactFolderList folders;
    PlexaActionContext context{services, queue, pleaseWait, folders};
    CRecipientsProps props;
    platform.ui.user.AnswerMsgBox(mb::IdYes);

    bool cancelled = false;
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    mPlexaUpdate::DoPlexaAction(context, mail, nullptr, 1, SendModeSep, props, cancelled, false,
                                false, 0, 0);
    run.cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (cancelled || run.sent != static_cast<std::size_t>(n)) {
        std::fprintf(stderr, "separate send of %d: %zu sent%s\n", n, run.sent,
                     cancelled ? " (cancelled)" : "");
        std::exit(1);
    }
    return run;
}

// The floor: the body copied twice per message, as little as any transport could do.
double Floor(int n, const std::wstring& body) {
    std::size_t total = 0;
    const auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        std::wstring first = body;
        first[static_cast<std::size_t>(i) % first.size()] = L'x';
        std::wstring second = first;
        total += second.size() + static_cast<std::size_t>(second[0]);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (total == 0) {
        std::exit(1);
    }
    return seconds;
}

void Print(const char* what, const char* kind, int n, double seconds, double cpuSeconds) {
    std::printf("%s %s %d messages in %.3f s: %.0f messages/s (%.2f us per message, CPU %.2f us)\n",
                what, kind, n, seconds, n / seconds, seconds * 1e6 / n, cpuSeconds * 1e6 / n);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // separate_send [text|html] [N ...]
    std::vector<int> sizes;
    std::vector<bool> kinds = {false, true};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "text" || arg == "html") {
            kinds = {arg == "html"};
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty()) {
        sizes = {1000, 10000};
    }
    for (const bool html : kinds) {
        const char* kind = html ? "html" : "text";
        const std::wstring body = html ? HtmlBody() : TextBody();
        std::printf("body %s: %zu characters\n", kind, body.size());
        for (const int n : sizes) {
            const std::clock_t cpuStart = std::clock();
            const double floor = Floor(n, body);
            Print("floor", kind, n, floor,
                  static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
            const Run run = SendSeparately(n, html);
            Print("plexa", kind, n, run.seconds, run.cpuSeconds);
        }
    }
    return 0;
}
