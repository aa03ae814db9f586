// The preview of a separate send at 10,000 copies beside the placeholder work of the same
// copies. Building the preview scans the message once and then costs each copy its values and
// its subject; the placeholder work fills the whole body for every copy. The preview must cost
// no more than that work (it is in practice a small part of it).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "recipients/CRecipientsProps.h"
#include "separate/CSendPreview.h"

namespace {

using plexa::CRecipientsProps;
using plexa::CSendPreview;

constexpr int kCopies = 10000;
const std::vector<std::wstring> kKnown = {L"%FullName%", L"%FirstName%", L"%MiddleName%",
                                          L"%LastName%", L"%Initials%",  L"%Nickname%",
                                          L"%Company%"};
const std::vector<std::wstring> kFound = {L"%FirstName%", L"%LastName%", L"%Company%"};

std::wstring Body() {
    std::wstring body = L"Dear %FirstName% %LastName%,\r\n\r\n";
    for (int i = 0; i < 40; ++i) {
        body +=
            L"Our season's news for %Company%: prices stay as they are, 5% off for early "
            L"orders, and a new catalogue arrives next week.\r\n";
    }
    return body + L"Kind regards\r\n";
}

struct Copies {
    Copies() {
        for (int i = 0; i < kCopies; ++i) {
            const std::wstring address = L"person" + std::to_wstring(i) + L"@example.com";
            addresses.push_back(address);
            props.SetProp(address, L"%FirstName%", L"First" + std::to_wstring(i));
            props.SetProp(address, L"%LastName%", L"Last" + std::to_wstring(i));
            props.SetProp(address, L"%Company%", L"Company " + std::to_wstring(i % 97));
        }
    }
    std::vector<std::wstring> addresses;
    CRecipientsProps props;
};

const Copies& TheCopies() {
    static const Copies copies;
    return copies;
}

void BM_PlaceholderWork(benchmark::State& state) {
    const Copies& copies = TheCopies();
    const std::wstring body = Body();
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto& address : copies.addresses) {
            std::vector<std::wstring> values;
            for (const auto& token : kFound) {
                values.push_back(copies.props.GetProp(address, token));
            }
            total += CSendPreview::FillText(L"News for %FirstName%", kFound, values).size();
            total += CSendPreview::FillText(body, kFound, values).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kCopies);
}
BENCHMARK(BM_PlaceholderWork)->Unit(benchmark::kMillisecond);

void BM_BuildPreview(benchmark::State& state) {
    const Copies& copies = TheCopies();
    const std::wstring body = Body();
    for (auto _ : state) {
        CSendPreview preview(kKnown, kFound);
        preview.ScanMessage(L"News for %FirstName%", body);
        for (const auto& address : copies.addresses) {
            preview.AddCopy(L"Someone", address, copies.props);
        }
        benchmark::DoNotOptimize(preview.MarkedCount());
    }
    state.SetItemsProcessed(state.iterations() * kCopies);
}
BENCHMARK(BM_BuildPreview)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
