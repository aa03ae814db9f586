// The log upkeep at connection on large logs: it must read only the part it keeps, so its time
// and memory stay flat whatever the size of the log.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/Services.h"
#include "settings/mReduceLog.h"
#include "sim/SimPlatform.h"

namespace {

const std::wstring kLog = L"C:\\Users\\User\\AppData\\Roaming\\Orvin\\Plexa\\Plexa.log";

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes a log of the given size in 64 KiB pieces: entries of about 80 bytes, a run marker
// every `runEvery` bytes (0: none).
void WriteLog(const std::filesystem::path& real, std::size_t size, std::size_t runEvery) {
    std::filesystem::create_directories(real.parent_path());
    std::ofstream out(real, std::ios::binary | std::ios::trunc);
    std::string piece;
    std::size_t written = 0;
    std::size_t nextRun = runEvery;
    const std::string entry =
        "2026-12-06 09:00:00\tDBG\t2\t0\tCRecipients::Add\tadding a recipient\n";
    const std::string marker = "2026-12-06 09:00:00\tDBG\t1\t0\tPlexa\t:Start:\n";
    while (written < size) {
        piece.clear();
        while (piece.size() < 65536 && written + piece.size() < size) {
            if (runEvery != 0 && written + piece.size() >= nextRun) {
                piece += marker;
                nextRun += runEvery;
            } else {
                piece += entry;
            }
        }
        const std::size_t n = std::min(piece.size(), size - written);
        out.write(piece.data(), static_cast<std::streamsize>(n));
        written += n;
    }
}

void BM_CheckLibOrvinLog(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0)) << 20;
    const bool markers = state.range(1) != 0;
    const auto root = std::filesystem::temp_directory_path() / "plexa-bench-reduce-log";
    std::filesystem::remove_all(root);
    plexa::sim::SimPlatform sim(root);
    plexa::Services services(sim.Ports());
    const auto real = sim.files.RealPath(kLog);
    const long rssBefore = PeakRssKiB();
    for (auto _ : state) {
        state.PauseTiming();
        WriteLog(real, size, markers ? 3u << 20 : 0);
        state.ResumeTiming();
        plexa::mReduceLog::CheckLibOrvinLog(services.Ports(), 1048576, 131072);
    }
    state.counters["kept_KiB"] = static_cast<double>(std::filesystem::file_size(real)) / 1024.0;
    state.counters["peak_rss_growth_KiB"] = static_cast<double>(PeakRssKiB() - rssBefore);
    std::filesystem::remove_all(root);
}

}  // namespace

BENCHMARK(BM_CheckLibOrvinLog)
    ->ArgNames({"MiB", "markers"})
    ->Args({2, 1})
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({100, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK_MAIN();
