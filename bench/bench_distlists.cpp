// The distribution-list commands on the simulated client, at several sizes:
//  - the chooser (frmChooseDL) over a Contacts folder of 100, 1,000 and 10,000 lists: opening it
//    (tree, binding the set, the first page) and filling the page that scrolled into view. Only
//    the rows on the screen are read, so both must cost the same at every size;
//  - adding 250, 500, 1,000 and 2,000 resolved recipients to a list through the safe-access
//    library's list object, which must cost the same per member at every size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/FlexGrid.h"
#include "distlists/frmChooseDL.h"
#include "distlists/mExplorerDL.h"
#include "host/mapi/PropTags.h"
#include "host/outlook/Application.h"
#include "platform/IUiShell.h"
#include "recipients/CRecipients.h"
#include "settings/CLang.h"
#include "settings/IProgress.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimPlatform.h"
#include "sim/store/SimSession.h"

namespace {

using namespace plexa;

// The simulated client with a default store, in a temporary folder of its own.
struct World {
    explicit World(const std::string& name)
        : root(std::filesystem::temp_directory_path() / ("plexa-bench-distlists-" + name)) {
        std::filesystem::create_directories(root);
        services.host = desktop.Ports();
        contacts = session.DefaultFolder(olFolderContacts);
        // The texts the language file gives (a missing key is logged at every use).
        CLang& lang = services.Lang();
        lang.ItemSet(L"LID_PROMPT_CHOOSE_DL", L"There is no distribution list to choose.");
        lang.ItemSet(L"LID_TITLE_CHOOSE_DL", L"Choose Distribution List");
        lang.ItemSet(L"LID_PROGRESS_STAGE2", L"Resolving recipients: %d of %d");
        lang.ItemSet(L"LID_PROGRESS_STAGE3", L"Adding recipients: %d of %d");
    }
    ~World() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    std::filesystem::path root;
    sim::SimPlatform sim{root};
    Services services{sim.Ports()};
    sim::SimDesktop desktop{sim};
    sim::SimSession& session = desktop.host.session;
    sim::FolderRecord* contacts = nullptr;
};

// ---- the chooser ------------------------------------------------------------------------------

// A Contacts folder of `count` lists "List 00001" ..., with categories, notes and every third
// one flagged in a colour, beside a hundred contacts (which the filter leaves out).
struct ChooserWorld : World {
    explicit ChooserWorld(int count) : World("chooser-" + std::to_string(count)) {
        for (int i = 1; i <= count; ++i) {
            wchar_t subject[32];
            std::swprintf(subject, 32, L"List %05d", i);
            auto list = session.AddItem(*contacts, olDistributionList);
            if (i == count / 2) {
                middle = list;
            }
            list->SetText(mapi::PR_SUBJECT, subject);
            list->SetCategories(i % 2 == 0 ? L"Clients" : L"Suppliers, Local");
            list->SetBody(L"Members of " + std::wstring(subject) + L", kept by the office.");
            if (i % 3 == 0) {
                list->SetProp(mapi::PR_FLAG_STATUS, Variant(int32_t{2}));
                list->SetProp(mapi::PR_FLAG_ICON, Variant(int32_t{1 + i % 5}));
            }
        }
        for (int i = 1; i <= 100; ++i) {
            auto contact = session.AddItem(*contacts, olContact);
            contact->SetText(mapi::PR_DISPLAY_NAME, L"Contact " + std::to_wstring(i));
        }
    }
    // A list in the middle of the folder, to change between openings.
    std::shared_ptr<sim::ItemRecord> middle;
};

ChooserWorld& BuiltChooser(int count) {
    static std::unique_ptr<ChooserWorld> world;
    static int builtCount = -1;
    if (builtCount != count) {
        world.reset();
        world = std::make_unique<ChooserWorld>(count);
        builtCount = count;
    }
    return *world;
}

// Opening the chooser as the command does (the tree, the set bound to Contacts, the grid sized
// for every list and its first page filled) and closing it with Cancel.
void BM_ChooserOpen(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ChooserWorld& world = BuiltChooser(count);
    for (auto _ : state) {
        frmChooseDL form(world.services);
        world.sim.ui.Show(form, false);
        if (form.Grid().Rows() != count + 2 ||
            form.Grid().TextMatrix(7, frmChooseDL::colSubject) != L"List 00007") {
            state.SkipWithError("the first page was not filled");
            break;
        }
        form.btnCancel_Click();
    }
}
BENCHMARK(BM_ChooserOpen)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same after a list of the folder was saved since the last opening: the store makes its
// restricted, sorted view of the folder afresh (every item is read), then the page is filled.
void BM_ChooserOpenAfterChange(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ChooserWorld& world = BuiltChooser(count);
    for (auto _ : state) {
        state.PauseTiming();
        world.session.Save(world.middle);
        state.ResumeTiming();
        frmChooseDL form(world.services);
        world.sim.ui.Show(form, false);
        if (form.Grid().TextMatrix(7, frmChooseDL::colSubject) != L"List 00007") {
            state.SkipWithError("the first page was not filled");
            break;
        }
        form.btnCancel_Click();
    }
}
BENCHMARK(BM_ChooserOpenAfterChange)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

// One scroll: the grid moves by a page (as the wheel or the scroll bar moves it), and the rows
// that came into view are filled when the scroll timer fires.
void BM_ChooserScrollPage(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ChooserWorld& world = BuiltChooser(count);
    frmChooseDL form(world.services);
    world.sim.ui.Show(form, false);
    FlexGrid& grid = form.Grid();
    const int32_t pages = std::max(1, (count - 1) / frmChooseDL::kPageSize);
    int32_t page = 0;
    for (auto _ : state) {
        page = (page + 37) % pages;  // here and there in the folder
        const int32_t top = 1 + page * frmChooseDL::kPageSize;
        grid.SetTopRow(top);
        world.desktop.AdvanceClock(1);
        // Sorted by subject, row r shows "List r".
        wchar_t expected[32];
        std::swprintf(expected, 32, L"List %05d", grid.TopRow());
        if (grid.TextMatrix(grid.TopRow(), frmChooseDL::colSubject) != expected) {
            state.SkipWithError("the page in view was not filled");
            break;
        }
    }
    form.btnCancel_Click();
}
BENCHMARK(BM_ChooserScrollPage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A click on the subject header: the order turns, and the grid is refreshed from the first page.
void BM_ChooserSort(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ChooserWorld& world = BuiltChooser(count);
    frmChooseDL form(world.services);
    world.sim.ui.Show(form, false);
    for (auto _ : state) {
        form.ctlGrid_MouseDown(0, frmChooseDL::colSubject);
        if (form.Grid().TextMatrix(1, frmChooseDL::colSubject).empty()) {
            state.SkipWithError("the first page was not filled");
            break;
        }
    }
    form.btnCancel_Click();
}
BENCHMARK(BM_ChooserSort)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// ---- adding members ---------------------------------------------------------------------------

// `count` contacts "Person <i>" at person<i>@example.com, gathered and resolved once.
struct MembersWorld : World {
    explicit MembersWorld(int count) : World("members-" + std::to_string(count)) {
        for (int i = 1; i <= count; ++i) {
            const std::wstring n = std::to_wstring(i);
            auto contact = session.AddItem(*contacts, olContact);
            contact->SetText(mapi::PR_DISPLAY_NAME, L"Person " + n);
            session.SetContactEmail(*contact, 1, L"person" + n + L"@example.com");
            session.ContactEntry(*contact, 1);
            recipients.AddRecipient(L"Person " + n, L"person" + n + L"@example.com", L"");
        }
        NoProgress progress;
        resolved = recipients.Resolve(services, progress, false).resolved &&
                   recipients.GetResolvedCount() == count;
        storeID = desktop.host.outlook.Folder(*contacts)->StoreID();
    }
    CRecipients recipients;
    bool resolved = false;
    std::wstring storeID;
};

MembersWorld& BuiltMembers(int count) {
    static std::unique_ptr<MembersWorld> world;
    static int builtCount = -1;
    if (builtCount != count) {
        world.reset();
        world = std::make_unique<MembersWorld>(count);
        builtCount = count;
    }
    return *world;
}

// Explorer_DisplayDL_AddRecipients into a new, empty list: opening it through the library,
// one AddMember per recipient with a progress step each, and saving it.
void BM_AddMembers(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    MembersWorld& world = BuiltMembers(count);
    if (!world.resolved) {
        state.SkipWithError("the recipients did not resolve");
        return;
    }
    NoProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        auto list = world.session.AddItem(*world.contacts, olDistributionList);
        list->SetText(mapi::PR_SUBJECT, L"Everybody");
        const std::wstring entryID = list->EntryID();
        state.ResumeTiming();

        const bool added = mExplorer::Explorer_DisplayDL_AddRecipients(
            world.services, progress, entryID, world.storeID, world.recipients, true);

        state.PauseTiming();
        if (!added || list->listEntry->Members().size() != static_cast<std::size_t>(count)) {
            state.SkipWithError("the members were not added");
        }
        // Out of the folder for good, so that every iteration starts from the same folder.
        world.session.Delete(world.session.Delete(list));
        state.ResumeTiming();
    }
    state.counters["per_member"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddMembers)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
