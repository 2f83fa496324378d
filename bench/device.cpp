// Sample-word packing and the whole upload, each beside its baseline:
//   BM_BuildSampleWords / BM_PlainConversion      packing vs a bare double-to-code loop
//   BM_WordsAgainstPlain/R                        both in turns; ratio = median of the pairs
//   BM_UploadToPgxsim   / BM_RawWriteToPgxsim     whole protocol vs the same 2 MiB
//                                                 through FT_Write into an armed load
// The simulator is LYR_D2XX_LIBRARY, else libpgxsim.so in the build tree.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "device/device_library.h"
#include "device/device_link.h"
#include "device/protocol.h"
#include "document/output_settings.h"

namespace {

using namespace lyr::device;
constexpr std::uint32_t kN = lyr::document::kMaxSamples;

struct Tracks {
    std::vector<double> analog = std::vector<double>(kN);
    std::vector<std::uint8_t> digital[8];
    SampleTracks view;
    Tracks() {
        for (std::uint32_t i = 0; i < kN; ++i) analog[i] = 1.1 * std::sin(i * 0.001);
        for (int k = 0; k < 8; ++k) {
            digital[k].resize(kN);
            for (std::uint32_t i = 0; i < kN; ++i) digital[k][i] = (i >> k) & 1;
            view.digital[k] = digital[k].data();
        }
        view.analog = analog.data();
    }
};

Tracks& tracks() {
    static Tracks t;
    return t;
}

void BM_BuildSampleWords(benchmark::State& state) {
    std::vector<std::uint16_t> words(kN);
    const Calibration cal{7000.0, 8000.0};
    for (auto _ : state) {
        buildSampleWords(tracks().view, kN, static_cast<int>(state.range(0)), cal, words.data());
        benchmark::DoNotOptimize(words.data());
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
// Every bit allocation: the fewer analog bits, the more channels are merged.
BENCHMARK(BM_BuildSampleWords)->DenseRange(8, 14)->Unit(benchmark::kMillisecond);

void plainConversion(const double* a, std::uint16_t* words) {
    for (std::uint32_t i = 0; i < kN; ++i)
        words[i] = static_cast<std::uint16_t>(static_cast<unsigned>(a[i] * 7000.0 + 8000.5) << 2);
}

void BM_PlainConversion(benchmark::State& state) {
    std::vector<std::uint16_t> words(kN);
    const double* a = tracks().analog.data();
    for (auto _ : state) {
        plainConversion(a, words.data());
        benchmark::DoNotOptimize(words.data());
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_PlainConversion)->Unit(benchmark::kMillisecond);

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The packing and the plain loop in turns, so that both see the same load
// on a shared machine; "ratio" is the median of the pairs' thread times.
void BM_WordsAgainstPlain(benchmark::State& state) {
    std::vector<std::uint16_t> words(kN), plain(kN);
    const Calibration cal{7000.0, 8000.0};
    const int r = static_cast<int>(state.range(0));
    std::vector<double> ratios;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        buildSampleWords(tracks().view, kN, r, cal, words.data());
        benchmark::DoNotOptimize(words.data());
        const double t1 = threadSeconds();
        plainConversion(tracks().analog.data(), plain.data());
        benchmark::DoNotOptimize(plain.data());
        const double t2 = threadSeconds();
        if (t2 > t1) ratios.push_back((t1 - t0) / (t2 - t1));
    }
    if (!ratios.empty()) {
        std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
        state.counters["ratio"] = ratios[ratios.size() / 2];
    }
}
BENCHMARK(BM_WordsAgainstPlain)->DenseRange(8, 14)->Unit(benchmark::kMillisecond)->MinTime(1.0);

std::string simulatorPath() {
    if (const char* v = std::getenv(kLibraryVariable)) return v;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "libpgxsim.so";
    for (auto dir = exe.parent_path(); !dir.empty() && dir != dir.root_path(); dir = dir.parent_path())
        if (std::filesystem::exists(dir / "libpgxsim.so")) return (dir / "libpgxsim.so").string();
    return "libpgxsim.so";
}

struct SimSession {
    DeviceLibrary library;
    FT_HANDLE handle = nullptr;
    bool ok = false;
    SimSession() {
        unsetenv("PGXSIM_STATE");
        unsetenv("PGXSIM_LOG");
        unsetenv("PGXSIM_FAULT");
        ok = library.bind(simulatorPath()) && openDevice(library.api(), nullptr, handle) == FT_OK;
    }
    ~SimSession() {
        if (handle) closeDevice(library.api(), handle);
    }
};

void BM_UploadToPgxsim(benchmark::State& state) {
    SimSession sim;
    if (!sim.ok) {
        state.SkipWithError("libpgxsim.so not found (build target pgxsim or set LYR_D2XX_LIBRARY)");
        return;
    }
    std::vector<std::uint16_t> words(kN);
    lyr::document::OutputSettings settings;
    for (auto _ : state) {
        Status s = uploadWaveform(sim.library.api(), sim.handle, settings, kN, 1, tracks().view, 12, words.data());
        if (s != FT_OK) state.SkipWithError("upload failed");
    }
    state.SetBytesProcessed(state.iterations() * 2 * static_cast<std::int64_t>(kN));
}
BENCHMARK(BM_UploadToPgxsim)->Unit(benchmark::kMillisecond);

void BM_RawWriteToPgxsim(benchmark::State& state) {
    SimSession sim;
    if (!sim.ok) {
        state.SkipWithError("libpgxsim.so not found (build target pgxsim or set LYR_D2XX_LIBRARY)");
        return;
    }
    std::vector<std::uint16_t> words(kN, 0x5A5A);
    const auto* bytes = reinterpret_cast<std::uint8_t*>(words.data());
    writeTiming(sim.library.api(), sim.handle, kN, 1);
    for (auto _ : state) {
        // One frame arms the load so that the bytes land in sample memory.
        writeRegister(sim.library.api(), sim.handle, REG_COMMAND, CMD_LOAD_SAMPLES);
        for (std::uint32_t sent = 0; sent < 2 * kN; sent += 2 * MAX_CHUNK_WORDS) {
            const DWORD n = std::min<DWORD>(2 * kN - sent, 2 * MAX_CHUNK_WORDS);
            DWORD written = 0;
            sim.library.api().write(sim.handle, const_cast<std::uint8_t*>(bytes + sent), n, &written);
        }
    }
    state.SetBytesProcessed(state.iterations() * 2 * static_cast<std::int64_t>(kN));
}
BENCHMARK(BM_RawWriteToPgxsim)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
