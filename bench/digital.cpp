// The digital editors' byte work over 1,048,576 samples (the combining
// rules, invert, shift with rotate, swap and the clock fill), each beside a
// plain byte loop that does the same job one sample at a time over the same
// buffers. Read the ratio of each pair.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "digital/clock_form.h"
#include "digital/digital_apply.h"
#include "digital/shift_form.h"
#include "digital/swap_form.h"
#include "document/levels.h"

namespace {

namespace dg = lyr::digital;
constexpr std::size_t kN = 1048576;

struct Buffers {
    std::vector<std::uint8_t> a = std::vector<std::uint8_t>(kN), b = std::vector<std::uint8_t>(kN),
                              c = std::vector<std::uint8_t>(kN);
    Buffers() {
        for (std::size_t i = 0; i < kN; ++i) {
            a[i] = static_cast<std::uint8_t>((i >> 3) & 1);
            b[i] = static_cast<std::uint8_t>((i * 7 >> 5) & 1);
        }
    }
};

Buffers& buffers() {
    static Buffers b;
    return b;
}

void setBytes(benchmark::State& state) { state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kN)); }

// ---- combining rules ---------------------------------------------------------

void BM_Combine(benchmark::State& state) {
    Buffers& x = buffers();
    const auto mode = static_cast<dg::DigitalApplyMode>(state.range(0));
    for (auto _ : state) {
        dg::combineDigital(x.a.data(), x.b.data(), kN, mode);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_Combine)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// Baseline: channel[i] = channel[i] (op) segment[i], one byte at a time.
void BM_PlainCombineLoop(benchmark::State& state) {
    Buffers& x = buffers();
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::uint8_t* d = x.a.data();
        const std::uint8_t* s = x.b.data();
        switch (mode) {
        case 0: for (std::size_t i = 0; i < kN; ++i) d[i] = s[i]; break;
        case 1: for (std::size_t i = 0; i < kN; ++i) d[i] |= s[i]; break;
        case 2: for (std::size_t i = 0; i < kN; ++i) d[i] &= s[i]; break;
        default: for (std::size_t i = 0; i < kN; ++i) d[i] ^= s[i]; break;
        }
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_PlainCombineLoop)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// ---- invert ---------------------------------------------------------------------

void BM_Invert(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        lyr::document::invertLevels(x.a.data(), kN);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMicrosecond);

void BM_PlainInvertLoop(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        std::uint8_t* d = x.a.data();
        for (std::size_t i = 0; i < kN; ++i) {
            d[i] = d[i] == 0 ? 1 : 0;
        }
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_PlainInvertLoop)->Unit(benchmark::kMicrosecond);

// ---- shift with rotate (by 1,000 samples) -------------------------------------------

void BM_ShiftRotate(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        dg::shiftLevels(x.a.data(), x.c.data(), kN, 1000, dg::ShiftMethod::Rotate);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_ShiftRotate)->Unit(benchmark::kMicrosecond);

void BM_PlainShiftLoop(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        const std::uint8_t* w = x.a.data();
        std::uint8_t* out = x.c.data();
        for (std::size_t i = 0; i < kN; ++i) {
            const std::size_t j = i + 1000;
            out[j < kN ? j : j - kN] = w[i];
        }
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_PlainShiftLoop)->Unit(benchmark::kMicrosecond);

// ---- swap -----------------------------------------------------------------------------

void BM_Swap(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        dg::swapLevels(x.a.data(), x.b.data(), x.c.data(), kN);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_Swap)->Unit(benchmark::kMicrosecond);

void BM_PlainSwapLoop(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        std::uint8_t *a = x.a.data(), *b = x.b.data();
        for (std::size_t i = 0; i < kN; ++i) {
            const std::uint8_t t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_PlainSwapLoop)->Unit(benchmark::kMicrosecond);

// ---- clock fill (3 samples high, 5 low) -------------------------------------------------

void BM_ClockFill(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        dg::fillClock(x.c.data(), kN, 3, 1, 5, 0);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_ClockFill)->Unit(benchmark::kMicrosecond);

void BM_PlainClockLoop(benchmark::State& state) {
    Buffers& x = buffers();
    for (auto _ : state) {
        std::uint8_t* d = x.c.data();
        std::size_t phase = 0;
        for (std::size_t i = 0; i < kN; ++i) {
            d[i] = phase < 3 ? 1 : 0;
            phase = phase == 7 ? 0 : phase + 1;
        }
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_PlainClockLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
