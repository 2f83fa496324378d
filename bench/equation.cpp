// The equation editor's evaluation of sin(2*pi*1000*t) over a full track of
// 1,048,576 samples against the sine editor's generator making the same sine
// in the same run: the figure to read is the ratio of the two.
#include <benchmark/benchmark.h>

#include <vector>

#include "analog/equation.h"
#include "analog/generators.h"

namespace {

using namespace lyr::analog;

constexpr std::size_t kN = 1048576;
constexpr std::uint32_t kTs = 100;
constexpr std::int64_t kPeriod = static_cast<std::int64_t>(kN) * kTs;

std::vector<double>& segment() {
    static std::vector<double> s(kN);
    return s;
}

void BM_SineGenerator(benchmark::State& state) {
    auto& s = segment();
    SineParams sine;  // a 1 ms sine of amplitude 1 over the whole track
    sine.span = {kPeriod, kTs, 0, kPeriod};
    sine.sinePeriod = 1000000;
    sine.amplitude = 1.0;
    sine.repeatCount = 2000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(generateSine(s.data(), sine));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_SineGenerator)->Unit(benchmark::kMillisecond);

void BM_EquationSine(benchmark::State& state) {
    auto& s = segment();
    Equation e;
    EquationError error;
    if (!e.compile("sin(2*pi*1000*t)", error)) state.SkipWithError(error.message.c_str());
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.evaluate(s.data(), kN, kTs * 1e-9, kPeriod * 1e-9, 1, nullptr));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_EquationSine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
