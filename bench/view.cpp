// Column reduction of a full-capacity waveform (analog track and eight lanes)
// against a plain pass that sums the same bytes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "view/view_geometry.h"

namespace {

constexpr std::uint32_t kN = 1048576;
constexpr int kColumns = 1525;  // plot columns of a 1,600-pixel wide view

struct Tracks {
    std::vector<double> analog = std::vector<double>(kN);
    std::vector<std::vector<std::uint8_t>> lanes = std::vector<std::vector<std::uint8_t>>(8, std::vector<std::uint8_t>(kN));
    Tracks() {
        for (std::uint32_t i = 0; i < kN; ++i) analog[i] = 1.3 * std::sin(i * 0.0001);
        for (int k = 0; k < 8; ++k)
            for (std::uint32_t i = 0; i < kN; ++i) lanes[k][i] = static_cast<std::uint8_t>((i >> (k + 4)) & 1);
    }
};

const Tracks& tracks() {
    static const Tracks t;
    return t;
}

// Baseline: every byte of the nine tracks read once and summed.
void BM_PlainByteSum(benchmark::State& state) {
    const Tracks& t = tracks();
    for (auto _ : state) {
        std::uint64_t sum = 0;
        const auto* a = reinterpret_cast<const std::uint8_t*>(t.analog.data());
        for (std::size_t i = 0; i < kN * sizeof(double); i += 8) {
            std::uint64_t w;
            std::memcpy(&w, a + i, 8);
            sum += w;
        }
        for (const auto& lane : t.lanes) {
            for (std::size_t i = 0; i < kN; i += 8) {
                std::uint64_t w;
                std::memcpy(&w, lane.data() + i, 8);
                sum += w;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kN * 16);
}
BENCHMARK(BM_PlainByteSum)->Unit(benchmark::kMicrosecond);

void BM_ColumnReduction(benchmark::State& state) {
    const Tracks& t = tracks();
    static lyr::view::ColumnBuffer analog;
    static lyr::view::ColumnBuffer lanes[8];
    for (auto _ : state) {
        lyr::view::reduceAnalog(t.analog.data(), 0, kN, kColumns, 60, 430, analog);
        for (int k = 0; k < 8; ++k)
            lyr::view::reduceDigital(t.lanes[k].data(), 0, kN, kColumns, 450 + 50 * k, 480 + 50 * k, lanes[k]);
        benchmark::DoNotOptimize(analog.minY.data());
        benchmark::DoNotOptimize(lanes[7].maxY.data());
    }
    state.SetBytesProcessed(state.iterations() * kN * 16);
}
BENCHMARK(BM_ColumnReduction)->Unit(benchmark::kMicrosecond);

// Worst case for the lanes: every column holds both levels only at its end.
void BM_ColumnReductionUniformLanes(benchmark::State& state) {
    const Tracks& t = tracks();
    static std::vector<std::uint8_t> flat(kN, 1);
    static lyr::view::ColumnBuffer analog;
    static lyr::view::ColumnBuffer lanes[8];
    for (auto _ : state) {
        lyr::view::reduceAnalog(t.analog.data(), 0, kN, kColumns, 60, 430, analog);
        for (int k = 0; k < 8; ++k)
            lyr::view::reduceDigital(flat.data(), 0, kN, kColumns, 450 + 50 * k, 480 + 50 * k, lanes[k]);
        benchmark::DoNotOptimize(lanes[7].maxY.data());
    }
    state.SetBytesProcessed(state.iterations() * kN * 16);
}
BENCHMARK(BM_ColumnReductionUniformLanes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
