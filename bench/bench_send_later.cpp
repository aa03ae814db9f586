// The send-later queue at 10,000 entries: loading its journal, adding one copy, and one timer
// pass that sends the copies that are due. Adding must cost the same whatever the queue's size
// (one journal value, one index entry), and a pass must cost in proportion to the copies it
// sends, not to the queue (the due copies come from an index by time; the journal is compacted
// only when it has grown to twice the queue).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "addin/Connect.h"
#include "addin/frmDummy.h"
#include "host/outlook/OlConstants.h"
#include "separate/CSendLaterList.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimHost.h"
#include "sim/SimPlatform.h"

namespace {

using plexa::CSendLaterList;
using plexa::OleDate;

const OleDate kStart = OleDate::FromParts(2026, 12, 6, 9, 0);
const std::wstring kProfile = L"0000000038A1BB1005E5101AA1BB08002B2A56C2";

std::wstring Id(int64_t n) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"00000000B7A1F3C2D4E5461A8C9B0D1E%016llX",
                  static_cast<unsigned long long>(n));
    return buffer;
}

// The Windows services and the add-in's services over them, without a log file (the log writer
// would time the file system).
struct Platform {
    Platform() : services(sim.Ports()) {
        sim.faults.FailAlways(L"Shell.GetSpecialFolderPath", plexa::HostError(5, L"no log"));
        sim.clock.SetLocal(kStart);
    }
    plexa::sim::SimPlatform sim;
    plexa::Services services;
};

// A journal of count records, one per entry, as a compaction leaves it.
void FillJournal(Platform& p, int count) {
    CSendLaterList queue(p.services);
    queue.Init(kProfile);
    for (int i = 0; i < count; ++i) {
        queue.Add(kStart.DateAdd(L"n", 15 + i % 60), Id(i));
    }
}

void BM_SendLaterLoad(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Platform p;
    FillJournal(p, count);
    for (auto _ : state) {
        CSendLaterList queue(p.services);
        queue.Init(kProfile);
        queue.Load();
        benchmark::DoNotOptimize(queue.Count());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SendLaterLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One Add into a queue of the given size; the queue grows by the iterations (a few thousand at
// most), which is small beside the larger sizes.
void BM_SendLaterAdd(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Platform p;
    FillJournal(p, count);
    CSendLaterList queue(p.services);
    queue.Init(kProfile);
    queue.Load();
    int64_t next = count;
    for (auto _ : state) {
        queue.Add(kStart.DateAdd(L"n", 90), Id(next++));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendLaterAdd)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The client with count copies in Drafts, every one queued, due of them due now; the add-in
// connected to it.
struct Client {
    Client(int count, int due) {
        host.session.userAddress = L"me@example.com";
        plexa::sim::FolderRecord& drafts = *host.session.DefaultFolder(plexa::olFolderDrafts);
        CSendLaterList queue(platform.services);
        queue.Init(host.session.DefaultStore()->TopFolder()->EntryID());
        for (int i = 0; i < count; ++i) {
            auto copy = host.session.AddItem(drafts, plexa::olMail);
            copy->SetText(0x0037001E, L"Copy " + std::to_wstring(i));
            copy->AddRecipient(L"person" + std::to_wstring(i) + L"@example.com");
            // The due ones first in time, spread through the queue's order.
            const bool isDue = i % (count / due) == 0 && i / (count / due) < due;
            queue.Add(isDue ? kStart.DateAdd(L"n", -1) : kStart.DateAdd(L"n", 60), copy->EntryID());
        }
        platform.services.host = desktop.Ports();
        connect = std::make_shared<plexa::Connect>(platform.services);
        connect->IDTExtensibility2_OnConnection(host.application, 0, nullptr, {});
    }
    ~Client() {
        connect->IDTExtensibility2_OnDisconnection(0, {});
        platform.services.host = {};
    }
    Platform platform;
    plexa::sim::SimHost host{platform.sim};
    plexa::sim::SimDesktop desktop{platform.sim, host};
    std::shared_ptr<plexa::Connect> connect;
};

void BM_SendLaterPass(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int due = static_cast<int>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        auto client = std::make_unique<Client>(count, due);
        state.ResumeTiming();
        client->connect->FrmDummy().SendLater();
        state.PauseTiming();
        if (client->host.session.transmissions.size() != static_cast<std::size_t>(due) ||
            client->connect->SendLaterList()->Count() != static_cast<std::size_t>(count - due)) {
            state.SkipWithError("the pass did not send exactly the copies due");
        }
        client.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * due);
}
BENCHMARK(BM_SendLaterPass)
    ->Args({10000, 250})
    ->Args({10000, 500})
    ->Args({10000, 1000})
    ->Args({4000, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
