// Analog generators and combineAnalog over a full track of 1,048,576
// samples. The baselines are plain loops over the same samples in the same
// run (a linear fill for the generators, an element-wise add for the
// combiner), so each figure reads as a ratio.
#include <benchmark/benchmark.h>

#include <vector>

#include "analog/analog_apply.h"
#include "analog/generators.h"

namespace {

using namespace lyr::analog;

constexpr std::size_t kN = 1048576;
constexpr std::uint32_t kTs = 10;
constexpr std::int64_t kPeriod = static_cast<std::int64_t>(kN) * kTs;

std::vector<double>& segment() {
    static std::vector<double> s(kN);
    return s;
}

void BM_BaselineLinearFill(benchmark::State& state) {
    auto& s = segment();
    double a = 0.1, b = 1e-6;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        for (std::size_t i = 0; i < kN; ++i) s[i] = a + b * static_cast<double>(i);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineLinearFill);

void BM_GenerateSine(benchmark::State& state) {
    auto& s = segment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateSine(s.data(), {.span = {kPeriod, kTs, 0, kPeriod},
                                                         .sinePeriod = 1000,
                                                         .delay = 100,
                                                         .amplitude = 0.8,
                                                         .offset = 0.1,
                                                         .repeatCount = 100000}));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_GenerateSine);

void BM_GenerateRectangle(benchmark::State& state) {
    auto& s = segment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateRectangle(s.data(), {.span = {kPeriod, kTs, 0, kPeriod},
                                                              .t0 = 30,
                                                              .t1 = 200,
                                                              .t2 = 300,
                                                              .t3 = 200,
                                                              .t4 = 300,
                                                              .v1 = 1.0,
                                                              .v2 = -1.0,
                                                              .repeatCount = 100000}));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_GenerateRectangle);

void BM_GenerateDc(benchmark::State& state) {
    auto& s = segment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateDc(s.data(), {.span = {kPeriod, kTs, 0, kPeriod}, .v0 = 0.5}));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_GenerateDc);

void BM_GenerateRamp(benchmark::State& state) {
    auto& s = segment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateRamp(s.data(), {.span = {kPeriod, kTs, 0, kPeriod}, .v0 = -1.0, .v1 = 1.0}));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_GenerateRamp);

void BM_GenerateExponential(benchmark::State& state) {
    auto& s = segment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateExponential(
            s.data(), {.span = {kPeriod, kTs, 0, kPeriod}, .timeConstant = 2000000, .v0 = -1.0, .v1 = 1.0}));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_GenerateExponential);

// The noise generator rebuilds its 1,200,000-entry table on every call, as
// each creation does; the table is work space allocated once here.
void BM_GenerateNoise(benchmark::State& state) {
    auto& s = segment();
    static std::vector<double> table(kNoiseTableSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            generateNoise(s.data(), {.span = {kPeriod, kTs, 0, kPeriod}, .sigma = 0.01, .seed = 1u}, table.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_GenerateNoise);

// The table alone (1,199,999 exponentials), the part of a creation that does
// not depend on the number of samples.
void BM_NoiseTable(benchmark::State& state) {
    static std::vector<double> table(kNoiseTableSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildNoiseTable(0.01, table.data()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_NoiseTable);

void BM_BaselineAddLoop(benchmark::State& state) {
    static std::vector<double> d(kN, 0.25), src(kN, 1e-9);
    for (auto _ : state) {
        double* dp = d.data();
        const double* sp = src.data();
        benchmark::DoNotOptimize(dp);
        for (std::size_t i = 0; i < kN; ++i) dp[i] = dp[i] + sp[i];
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineAddLoop);

void BM_CombineAnalog(benchmark::State& state) {
    static std::vector<double> d(kN, 0.25), src(kN, 1e-9);
    const auto mode = static_cast<AnalogApplyMode>(state.range(0));
    for (auto _ : state) {
        combineAnalog(d.data(), src.data(), kN, mode);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_CombineAnalog)->DenseRange(0, 3);

}  // namespace

BENCHMARK_MAIN();
