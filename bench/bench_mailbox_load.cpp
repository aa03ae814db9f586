// Loading a mailbox file at address-book sizes: the JSON text is parsed and the simulated store
// built from it, with every contact's address and a list whose members are typed names. The
// time per contact must stay the same for a thousand contacts or a hundred thousand.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "sim/Faults.h"
#include "sim/MailboxLoader.h"
#include "sim/SimClock.h"
#include "sim/mailbox/MailboxReader.h"

namespace {

// count contacts in Contacts, one mail in the Inbox to every tenth of them, and an address-book
// list whose members are every hundredth contact by name.
std::string Mailbox(int count) {
    std::string contacts;
    std::string to;
    std::string members;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
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

void BM_MailboxLoad(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string json = Mailbox(count);
    plexa::sim::Faults faults;
    plexa::sim::SimClock clock{faults};
    for (auto _ : state) {
        auto session = plexa::sim::BuildSession(plexa::sim::ParseMailbox(json), faults, clock);
        benchmark::DoNotOptimize(session.get());
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    state.counters["per_contact"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_MailboxLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The two halves apart: reading the text into the model, and building the store from it.
void BM_MailboxParse(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string json = Mailbox(count);
    for (auto _ : state) {
        benchmark::DoNotOptimize(plexa::sim::ParseMailbox(json));
    }
    state.counters["per_contact"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MailboxParse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MailboxBuild(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const plexa::sim::MailboxModel model = plexa::sim::ParseMailbox(Mailbox(count));
    plexa::sim::Faults faults;
    plexa::sim::SimClock clock{faults};
    for (auto _ : state) {
        auto session = plexa::sim::BuildSession(model, faults, clock);
        benchmark::DoNotOptimize(session.get());
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    state.counters["per_contact"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MailboxBuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
