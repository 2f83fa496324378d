// Time texts and the total-time candidate search, each beside a plain C
// library call doing comparable work on the same values, so the figures
// read as ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "document/quantities.h"
#include "document/wave_time.h"

using namespace lyr::document;

namespace {

// Baseline for the candidate search: print the numbers a candidate table shows.
void BM_Baseline_PrintCandidateNumbers(benchmark::State& state) {
    long long total = kMaxTotalTime, sampling = 83886010, count = 1048576;
    char buf[64];
    for (auto _ : state) {
        for (int row = 0; row < 2; ++row) {
            std::snprintf(buf, sizeof buf, "%lld", total + row);
            benchmark::DoNotOptimize(buf);
            std::snprintf(buf, sizeof buf, "%lld", sampling + row);
            benchmark::DoNotOptimize(buf);
            std::snprintf(buf, sizeof buf, "%lld", count + row);
            benchmark::DoNotOptimize(buf);
            std::snprintf(buf, sizeof buf, "%.9f %%", -0.0000954 * row);
            benchmark::DoNotOptimize(buf);
        }
    }
}
BENCHMARK(BM_Baseline_PrintCandidateNumbers);

void BM_CandidatesLargestTotal(benchmark::State& state) {
    std::int64_t total = kMaxTotalTime;
    for (auto _ : state) {
        benchmark::DoNotOptimize(total);
        TimeCandidates c = candidatesForTotal(total);
        benchmark::DoNotOptimize(c);
    }
}

// A total with no exact sampling time in range: the longest divisor scan.
void BM_CandidatesNoExactSampling(benchmark::State& state) {
    std::int64_t total = 1000000007LL * 70;  // 10 x 7 x a large prime
    for (auto _ : state) {
        benchmark::DoNotOptimize(total);
        TimeCandidates c = candidatesForTotal(total);
        benchmark::DoNotOptimize(c);
    }
}

void BM_Baseline_Strtoll(benchmark::State& state) {
    const char* text = "1234567";
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        long long v = std::strtoll(text, nullptr, 10);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_Baseline_Strtoll);

void BM_ParseTime(benchmark::State& state) {
    std::string text = "1.234567";
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        std::int64_t ns = 0;
        bool ok = parseTime(text, kUnitMs, ns);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(ns);
    }
}
BENCHMARK(BM_ParseTime);

void BM_Baseline_Snprintf(benchmark::State& state) {
    long long v = 1234567890;
    char buf[32];
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        std::snprintf(buf, sizeof buf, "%lld", v);
        benchmark::DoNotOptimize(buf);
    }
}
BENCHMARK(BM_Baseline_Snprintf);

void BM_FormatTimeAuto(benchmark::State& state) {
    std::int64_t v = 1234567890;
    for (auto _ : state) {
        int unit = 0;
        benchmark::DoNotOptimize(v);
        std::string t = formatTimeAuto(v, unit);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_FormatTimeAuto);

}  // namespace

BENCHMARK(BM_CandidatesLargestTotal);
BENCHMARK(BM_CandidatesNoExactSampling);

BENCHMARK_MAIN();
