// Loading a mailbox file at address-book sizes: the JSON text is parsed and the simulated store
// built from it, with every contact's address and a list whose members are typed names. The
// time per contact must stay the same for a thousand contacts or a hundred thousand.
//
// Every size is measured in the same state of the heap. The warm benchmarks build once before
// timing, so that every timed build reuses memory the allocator already holds (a size that runs
// hundreds of iterations would otherwise be compared with one that runs a single build on fresh
// pages). The cold one hands the freed memory back to the system after every build, so that each
// build touches fresh pages as the first load in a new process does.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <string>

#include "sim/Faults.h"
#include "sim/MailboxLoader.h"
#include "sim/SimClock.h"
#include "sim/mailbox/MailboxReader.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The number as six digits, so that every contact's texts have the same length at every size.
std::string Padded(int i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", i);
    return digits;
}

// count contacts in Contacts, one mail in the Inbox to every tenth of them, and an address-book
// list whose members are every hundredth contact by name.
std::string Mailbox(int count) {
    std::string contacts;
    std::string to;
    std::string members;
    for (int i = 0; i < count; ++i) {
        const std::string n = Padded(i);
        contacts += (i == 0 ? "" : ",\n") +
                    std::string(R"({"class": "contact", "fullName": "Contact )") + n +
                    R"(", "firstName": "Contact", "lastName": ")" + n +
                    R"(", "company": "Acme", "email": ["contact)" + n + R"(@example.com"]})";
        if (i % 10 == 0) {
            to += (to.empty() ? "\"" : ", \"") + std::string("contact") + n + "@example.com\"";
        }
        if (i % 100 == 0) {
            members += (members.empty() ? "\"" : ", \"") + std::string("Contact ") + n + "\"";
        }
    }
    return R"({"stores": [{"name": "Personal Folders", "folders": [
  {"name": "Inbox", "role": "inbox", "items": [
    {"class": "mail", "subject": "All hands", "received": "2026-12-01 10:00", "to": [)" +
           to + R"(]}]},
  {"name": "Contacts", "role": "contacts", "items": [
)" + contacts +
           R"(]}]}],
 "addressBook": [{"name": "Everyone", "members": [)" +
           members + "]}]}";
}

// Page faults so far: every first touch of a page the process did not have before.
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// The bytes the allocator has handed out and not yet got back (0 where that is not known).
double HeapInUse() {
#if defined(__GLIBC__)
    return static_cast<double>(mallinfo2().uordblks);
#else
    return 0;
#endif
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void PerContact(benchmark::State& state, int count) {
    state.counters["per_contact"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * count);
}

// Builds once untimed, so that the timed builds reuse memory, and tells the live heap per
// contact of a built session.
void WarmUp(benchmark::State& state, const plexa::sim::MailboxModel& model,
            plexa::sim::Faults& faults, plexa::sim::SimClock& clock, int count) {
    const double before = HeapInUse();
    auto session = plexa::sim::BuildSession(model, faults, clock);
    state.counters["heap_bytes_per_contact"] = (HeapInUse() - before) / count;
}

// Parsing the text and building the session from it; the parsed document is freed inside the
// timing, as loading a file frees it, the session outside.
void BM_MailboxLoad(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string json = Mailbox(count);
    plexa::sim::Faults faults;
    plexa::sim::SimClock clock{faults};
    WarmUp(state, plexa::sim::ParseMailbox(json), faults, clock, count);
    for (auto _ : state) {
        auto session = plexa::sim::BuildSession(plexa::sim::ParseMailbox(json), faults, clock);
        benchmark::DoNotOptimize(session.get());
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    PerContact(state, count);
}
BENCHMARK(BM_MailboxLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The two halves apart: reading the text into the model, and building the store from it.
void BM_MailboxParse(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string json = Mailbox(count);
    benchmark::DoNotOptimize(plexa::sim::ParseMailbox(json));
    for (auto _ : state) {
        benchmark::DoNotOptimize(plexa::sim::ParseMailbox(json));
    }
    PerContact(state, count);
}
BENCHMARK(BM_MailboxParse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Times builds of the session from the parsed model, each freed outside the timing; with
// freshPages the freed memory goes back to the system after every build.
void TimeBuilds(benchmark::State& state, const plexa::sim::MailboxModel& model,
                plexa::sim::Faults& faults, plexa::sim::SimClock& clock, int count,
                bool freshPages) {
    const long faultsBefore = PageFaults();
    for (auto _ : state) {
        auto session = plexa::sim::BuildSession(model, faults, clock);
        benchmark::DoNotOptimize(session.get());
        state.PauseTiming();
        session.reset();
        if (freshPages) {
            ReturnFreedMemory();
        }
        state.ResumeTiming();
    }
    state.counters["faults_per_contact"] =
        benchmark::Counter(static_cast<double>(PageFaults() - faultsBefore) / count,
                           benchmark::Counter::kAvgIterations);
    PerContact(state, count);
}

void BM_MailboxBuild(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const plexa::sim::MailboxModel model = plexa::sim::ParseMailbox(Mailbox(count));
    plexa::sim::Faults faults;
    plexa::sim::SimClock clock{faults};
    WarmUp(state, model, faults, clock, count);
    TimeBuilds(state, model, faults, clock, count, false);
}
BENCHMARK(BM_MailboxBuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Building on fresh pages, as the first load in a new process does.
void BM_MailboxBuildCold(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const plexa::sim::MailboxModel model = plexa::sim::ParseMailbox(Mailbox(count));
    plexa::sim::Faults faults;
    plexa::sim::SimClock clock{faults};
    ReturnFreedMemory();
    TimeBuilds(state, model, faults, clock, count, true);
}
BENCHMARK(BM_MailboxBuildCold)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
