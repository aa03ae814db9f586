// Placeholder replacement in one copy: DoReplacements on the simulated client with the seven
// tokens, over an HTML body of 50 KB (and 500 KB, to show the time grows with the body, not
// faster) and a plain body of 2.5 KB; and the text pass alone for the seven tokens. Each token
// costs one pass over the body, whatever the number of its occurrences.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "distlists/mContacts.h"
#include "host/outlook/Application.h"
#include "host/outlook/Recipients.h"
#include "host/redemption/Redemption.h"
#include "recipients/CRecipientsProps.h"
#include "separate/mReplacements.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimPlatform.h"

namespace {

using namespace plexa;
using namespace plexa::mReplacements;

const wchar_t* const kTokens[] = {L"%FullName%", L"%FirstName%", L"%MiddleName%", L"%LastName%",
                                  L"%Initials%", L"%Nickname%",  L"%Company%"};

// A body of about `bytes` characters: paragraphs of text with percent signs of their own, every
// paragraph holding one token (in turn), every fourth one split by mark-up.
std::wstring Body(std::size_t bytes, bool html) {
    std::wstring body = html ? L"<html><head><title>Offer</title></head><body>" : L"";
    for (int i = 0; body.size() < bytes; ++i) {
        const std::wstring token = kTokens[i % 7];
        const std::wstring placed =
            html && i % 4 == 0 ? token.substr(0, 4) + L"<b>" + token.substr(4) + L"</b>" : token;
        body += html ? L"<p>" : L"";
        body += L"Dear " + placed +
                L", this month 20% off every order above 100 units, and 5% more for orders "
                L"placed before the 15th. Terms and conditions apply to all offers.";
        body += html ? L"</p>\r\n" : L"\r\n";
    }
    return body + (html ? L"</body></html>" : L"");
}

struct World {
    World() : root(std::filesystem::temp_directory_path() / "plexa-bench-replacements") {
        std::filesystem::create_directories(root);
        services.host = desktop.Ports();
        mail =
            std::dynamic_pointer_cast<MailItem>(desktop.host.application->CreateItem(olMailItem));
        mail->SetSubject(L"An offer for %FullName% of %Company%");
        mail->GetRecipients()->Add(L"ann@acme.example")->Resolve();
        mail->Save();
        safe = desktop.redemption.CreateSafeMailItem();
        safe->SetItem(mail);
        for (const wchar_t* token : kTokens) {
            found.emplace_back(token);
            props.SetProp(L"ann@acme.example", token, L"Ann & Co <value>");
        }
    }
    ~World() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::filesystem::path root;
    sim::SimPlatform sim{root};
    Services services{sim.Ports()};
    sim::SimDesktop desktop{sim};
    std::shared_ptr<MailItem> mail;
    std::shared_ptr<SafeMailItem> safe;
    FoundTokens found;
    CRecipientsProps props;
};

void BM_DoReplacementsHtml(benchmark::State& state) {
    World world;
    const std::wstring body = Body(static_cast<std::size_t>(state.range(0)), true);
    for (auto _ : state) {
        state.PauseTiming();
        world.mail->SetHTMLBody(body);
        state.ResumeTiming();
        bool hasEmpty = false;
        DoReplacements(world.services, *world.safe, world.found, world.props, false, hasEmpty);
        if (hasEmpty || world.mail->HTMLBody().find(L"%FullName%") != std::wstring::npos) {
            state.SkipWithError("replacement failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_DoReplacementsHtml)->Arg(50 * 1024)->Arg(500 * 1024)->Unit(benchmark::kMicrosecond);

void BM_DoReplacementsPlain(benchmark::State& state) {
    World world;
    world.mail->SetBodyFormat(olFormatPlain);
    const std::wstring body = Body(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        state.PauseTiming();
        world.mail->SetBody(body);
        state.ResumeTiming();
        bool hasEmpty = false;
        DoReplacements(world.services, *world.safe, world.found, world.props, false, hasEmpty);
        if (hasEmpty || world.mail->Body().find(L"%FullName%") != std::wstring::npos) {
            state.SkipWithError("replacement failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_DoReplacementsPlain)->Arg(2560)->Unit(benchmark::kMicrosecond);

// The text passes alone: seven tokens over the HTML body, no client in between.
void BM_ReplaceTokensInHtmlText(benchmark::State& state) {
    const std::wstring body = Body(static_cast<std::size_t>(state.range(0)), true);
    const std::wstring value = EscapeHtml(L"Ann & Co <value>");
    for (auto _ : state) {
        std::wstring html = body;
        for (const wchar_t* token : kTokens) {
            html = ReplaceTokenInHtml(html, token, value);
        }
        benchmark::DoNotOptimize(html);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_ReplaceTokensInHtmlText)
    ->Arg(50 * 1024)
    ->Arg(100 * 1024)
    ->Arg(200 * 1024)
    ->Arg(500 * 1024)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
