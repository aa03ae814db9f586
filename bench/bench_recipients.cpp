// Gathering the recipients of a whole contact folder and resolving them, at folder sizes of a
// thousand, ten thousand and a hundred thousand contacts, on the simulated client as the add-in
// runs on it (progress window, confirmation prompt, log). The time per contact must stay the
// same at every size: the containers find recipients through hash indexes, the working list
// drops its first item in constant time, and the store resolves names through its own indexes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipients.h"
#include "recipients/mPlexa.h"
#include "settings/CLang.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimPlatform.h"
#include "sim/store/SimSession.h"
#include "ui/CProgressWindow.h"
#include "ui/frmProgress.h"

namespace {

using namespace plexa;

struct World {
    explicit World(int count)
        : root(std::filesystem::temp_directory_path() /
               ("plexa-bench-recipients-" + std::to_string(count))) {
        std::filesystem::create_directories(root);
        services.host = desktop.Ports();
        // The texts the language file gives (a missing key is logged at every use).
        CLang& lang = services.Lang();
        lang.ItemSet(L"LID_PROGRESS_STAGE1", L"Collecting recipients: %d of %d items");
        lang.ItemSet(L"LID_PROGRESS_STAGE2", L"Resolving recipients: %d of %d");
        lang.ItemSet(L"LID_PROGRESS_STAGE3", L"Adding recipients: %d of %d");
        lang.ItemSet(L"LID_PROMPT_LARGE_RECIPIENTS_M", L"Many items. Continue?");
        lang.ItemSet(L"LID_TITLE_LARGE_RECIPIENTS", L"Large Number of Items");
        sim::SimSession& session = desktop.host.session;
        sim::FolderRecord& contacts = *session.DefaultFolder(olFolderContacts);
        // Contacts "Contact <i>" at contact<i>@example.com; every tenth also in the address
        // book under another name, so that both display-string rules run.
        for (int i = 0; i < count; ++i) {
            const std::wstring n = std::to_wstring(i);
            auto contact = session.AddItem(contacts, olContact);
            contact->SetText(mapi::PR_DISPLAY_NAME, L"Contact " + n);
            session.SetContactEmail(*contact, 1, L"contact" + n + L"@example.com");
            session.ContactEntry(*contact, 1);
            if (i % 10 == 0) {
                session.addressBook.AddSmtp(L"Entry " + n, L"contact" + n + L"@example.com");
            }
        }
        folder = desktop.host.outlook.Folder(contacts);
    }
    ~World() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // Gathers the whole folder into recipients (answering the large-input prompt).
    bool Gather(CRecipients& recipients, CProgressWindow& progress, bool& useProgress) {
        sim.ui.user.AnswerMsgBox(mb::IdYes);
        const mPlexa::GatherResult result = mPlexa::GetPlexaRecipients(
            services, mPlexa::esFromFolder, recipients, true, progress, folder, 0);
        useProgress = result.bUseProgressWND;
        return result.gathered;
    }

    std::filesystem::path root;
    sim::SimPlatform sim{root};
    Services services{sim.Ports()};
    sim::SimDesktop desktop{sim};
    std::shared_ptr<MAPIFolder> folder;
};

// One world at a time.
World& Built(int count) {
    static std::unique_ptr<World> world;
    static int builtCount = -1;
    if (builtCount != count) {
        world.reset();
        world = std::make_unique<World>(count);
        builtCount = count;
    }
    return *world;
}

void BM_GatherRecipients(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    World& world = Built(count);
    for (auto _ : state) {
        CRecipients recipients;
        frmProgress progress(world.services);
        CProgressWindow window(world.services, progress);
        bool useProgress = false;
        if (!world.Gather(recipients, window, useProgress) ||
            recipients.EmailRecipientCount() != count) {
            state.SkipWithError("gathering failed");
        }
        state.PauseTiming();
        progress.ProgressDone();
        state.ResumeTiming();
    }
    state.counters["per_contact"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GatherRecipients)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_GatherAndResolve(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    World& world = Built(count);
    for (auto _ : state) {
        CRecipients recipients;
        frmProgress progress(world.services);
        CProgressWindow window(world.services, progress);
        bool useProgress = false;
        if (!world.Gather(recipients, window, useProgress) ||
            !recipients.Resolve(world.services, window, useProgress).resolved ||
            recipients.GetResolvedCount() != count) {
            state.SkipWithError("gathering or resolving failed");
        }
        progress.ProgressDone();
    }
    state.counters["per_contact"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GatherAndResolve)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
