// The simulated store at mailbox sizes: building contact folders through the record API, and
// resolving a name against them. Resolving goes through the name index, so its time must stay
// the same for a thousand contacts or a hundred thousand.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "host/mapi/PropTags.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimClock.h"
#include "sim/store/SimSession.h"

namespace {

using plexa::sim::SimSession;

struct World {
    plexa::sim::Faults faults;
    plexa::sim::SimClock clock{faults};
    SimSession session{faults, clock};
};

// Fills the default Contacts folder with contacts "Contact <i>" at contact<i>@example.com, and
// lists as many SMTP entries in the address book.
void Fill(World& world, int count) {
    SimSession& session = world.session;
    session.AddStore(L"Personal Folders", true);
    plexa::sim::FolderRecord& contacts = *session.DefaultFolder(plexa::olFolderContacts);
    for (int i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        auto contact = session.AddItem(contacts, plexa::olContact);
        contact->SetText(plexa::mapi::PR_DISPLAY_NAME, L"Contact " + n);
        session.SetContactEmail(*contact, 1, L"contact" + n + L"@example.com");
        session.addressBook.AddSmtp(L"Entry " + n, L"entry" + n + L"@example.com");
    }
}

// Builds once untimed first, so that every size is timed reusing memory the allocator already
// holds (the 100,000 size runs a single timed build, which would otherwise touch fresh pages
// while the smaller sizes run hundreds on reused ones).
void BM_BuildContacts(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    {
        auto warm = std::make_unique<World>();
        Fill(*warm, count);
    }
    for (auto _ : state) {
        auto world = std::make_unique<World>();
        Fill(*world, count);
        benchmark::DoNotOptimize(world->session.DefaultFolder(plexa::olFolderContacts));
        state.PauseTiming();
        world.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_BuildContacts)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

World& Built(int count) {
    static std::map<int, std::unique_ptr<World>> worlds;
    auto& world = worlds[count];
    if (!world) {
        world = std::make_unique<World>();
        Fill(*world, count);
    }
    return *world;
}

// Resolves names spread over the folder: a contact by name, a contact by address (any case),
// an address-book entry by name, and a name nobody has.
void BM_ResolveName(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    SimSession& session = Built(count).session;
    const std::wstring middle = std::to_wstring(count / 2);
    const std::wstring texts[] = {L"contact " + middle, L"CONTACT" + middle + L"@EXAMPLE.COM",
                                  L"Entry " + middle, L"Nobody At All"};
    for (auto _ : state) {
        for (const auto& text : texts) {
            benchmark::DoNotOptimize(session.Resolve(text));
        }
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_ResolveName)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
