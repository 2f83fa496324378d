// A UART stream of 100,000 bytes (8N1, one sample per bit: 1,000,000 samples)
// beside its baseline, a plain fill of the same number of level bytes:
//   BM_UartStream / BM_PlainByteFill
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "digital/bus_patterns.h"

namespace {

constexpr std::size_t kBytes = 100000;

const std::vector<std::uint8_t>& payload() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::mt19937 rng(1);
        std::vector<std::uint8_t> b(kBytes);
        for (auto& v : b) v = static_cast<std::uint8_t>(rng());
        return b;
    }();
    return bytes;
}

void BM_UartStream(benchmark::State& state) {
    lyr::digital::UartParams p;
    p.parity = static_cast<lyr::digital::Parity>(state.range(0));
    std::vector<std::uint8_t> line(lyr::digital::uartSamples(p, kBytes));
    for (auto _ : state) {
        if (!lyr::digital::generateUart(p, payload(), line)) state.SkipWithError("refused");
        benchmark::DoNotOptimize(line.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_UartStream)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PlainByteFill(benchmark::State& state) {
    std::vector<std::uint8_t> line(10 * kBytes);
    std::uint8_t level = 0;
    for (auto _ : state) {
        std::fill(line.begin(), line.end(), level);
        level ^= 1;
        benchmark::DoNotOptimize(line.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_PlainByteFill)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
