#include "analog/generators.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

#include "analog/analog_apply.h"

namespace lyr::analog {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The common argument test: 0 < Ts <= period <= total time. A zero sampling
// time would divide by zero, so it is refused as well.
bool rangeAccepted(const SegmentSpan& s) {
    return s.samplingTime != 0 && static_cast<std::int64_t>(s.samplingTime) <= s.period && s.period <= s.totalTime;
}

// floor(count * length / Ts) without 64-bit overflow; the repeat count caps
// the filled samples, so a product beyond 64 bits simply means "all of them".
std::uint64_t repeatSamples(std::uint32_t count, std::int64_t length, std::uint32_t ts) {
    unsigned __int128 product = static_cast<unsigned __int128>(count) * static_cast<std::uint64_t>(length);
    unsigned __int128 c = product / ts;
    if (c > std::numeric_limits<std::uint64_t>::max()) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(c);
}

}  // namespace

std::uint64_t periodSamples(std::int64_t period, std::uint32_t samplingTime) {
    if (period <= 0 || samplingTime == 0) return 0;
    return static_cast<std::uint64_t>(period) / samplingTime;
}

bool generateSine(double* segment, const SineParams& p) {
    const std::uint32_t ts = p.span.samplingTime;
    if (!rangeAccepted(p.span) || p.sinePeriod < static_cast<std::int64_t>(ts)) return false;
    const std::uint64_t m = periodSamples(p.span.period, ts);
    zeroSamples(segment, m);
    const std::uint64_t n = std::min(m, repeatSamples(p.repeatCount, p.sinePeriod, ts));
    const double w = kTwoPi / static_cast<double>(p.sinePeriod);
    const double t = static_cast<double>(ts);
    const double d = static_cast<double>(p.delay);
    for (std::uint64_t i = 0; i < n; ++i)
        segment[i] = p.offset + p.amplitude * std::sin((static_cast<double>(i) * t - d) * w);
    return true;
}

double rectangleLevelAt(std::int64_t p, std::int64_t t1, std::int64_t t2, std::int64_t t3, double v1, double v2) {
    // The part ends are summed wider than 64 bits: the start-level readout
    // also sees durations that are out of range (and shown as invalid).
    const __int128 end1 = t1, end2 = end1 + t2, end3 = end2 + t3;
    if (p < end1) return v2 + ((v1 - v2) / static_cast<double>(t1)) * static_cast<double>(p);
    if (p < end2) return v1;
    if (p < end3) return v1 + ((v2 - v1) / static_cast<double>(t3)) * static_cast<double>(p - end2);
    return v2;
}

bool generateRectangle(double* segment, const RectangleParams& params) {
    const std::uint32_t ts = params.span.samplingTime;
    const std::int64_t t0 = params.t0, t1 = params.t1, t2 = params.t2, t3 = params.t3, t4 = params.t4;
    const double v1 = params.v1, v2 = params.v2;
    // A negative duration is no part of a cycle, and a cycle beyond 64 bits
    // cannot be stepped through; both are refused.
    std::int64_t cycle = 0;
    for (std::int64_t part : {t1, t2, t3, t4})
        if (part < 0 || __builtin_add_overflow(cycle, part, &cycle)) return false;
    if (!rangeAccepted(params.span) || cycle < static_cast<std::int64_t>(ts) || t0 <= -cycle || t0 >= cycle)
        return false;
    const std::uint64_t m = periodSamples(params.span.period, ts);
    zeroSamples(segment, m);
    const std::uint64_t n = std::min(m, repeatSamples(params.repeatCount, cycle, ts));
    // The position (i x Ts + t0) mod T, stepped: Ts <= T, so one step passes
    // the end of the cycle at most once. Unsigned, so that a position near the
    // top of a very long cycle plus one step cannot overflow.
    std::int64_t first = t0 % cycle;
    if (first < 0) first += cycle;
    auto p = static_cast<std::uint64_t>(first);
    const auto length = static_cast<std::uint64_t>(cycle);
    // The parts are non-negative and their sum fits, so their ends do too.
    const std::int64_t end1 = t1, end2 = end1 + t2, end3 = end2 + t3;
    // An edge of length 0 is never selected; its slope is not formed either.
    const double rise = t1 > 0 ? (v1 - v2) / static_cast<double>(t1) : 0.0;
    const double fall = t3 > 0 ? (v2 - v1) / static_cast<double>(t3) : 0.0;
    for (std::uint64_t i = 0; i < n; ++i) {
        const auto q = static_cast<std::int64_t>(p);
        double value = v2;
        if (q < end1)
            value = v2 + rise * static_cast<double>(q);
        else if (q < end2)
            value = v1;
        else if (q < end3)
            value = v1 + fall * static_cast<double>(q - end2);
        segment[i] = value;
        p += ts;
        if (p >= length) p -= length;
    }
    return true;
}

bool generateDc(double* segment, const DcParams& p) {
    if (!rangeAccepted(p.span)) return false;
    const std::uint64_t m = periodSamples(p.span.period, p.span.samplingTime);
    zeroSamples(segment, m);
    for (std::uint64_t i = 0; i < m; ++i) segment[i] = p.v0;
    return true;
}

bool generateRamp(double* segment, const RampParams& p) {
    if (!rangeAccepted(p.span)) return false;
    const std::uint64_t m = periodSamples(p.span.period, p.span.samplingTime);
    zeroSamples(segment, m);
    const double step = (p.v1 - p.v0) / static_cast<double>(m);
    for (std::uint64_t i = 0; i < m; ++i) segment[i] = p.v0 + step * static_cast<double>(i);
    return true;
}

bool generateExponential(double* segment, const ExpParams& p) {
    // A time constant of 0 would turn the first sample into 0/0.
    if (!rangeAccepted(p.span) || p.timeConstant <= 0) return false;
    const std::uint64_t m = periodSamples(p.span.period, p.span.samplingTime);
    zeroSamples(segment, m);
    const double tsSeconds = static_cast<double>(p.span.samplingTime) / 1000000000.0;
    const double tauSeconds = static_cast<double>(p.timeConstant) / 1000000000.0;
    const double span = p.v0 - p.v1;
    for (std::uint64_t i = 0; i < m; ++i)
        segment[i] = p.v1 + span * std::exp(-(static_cast<double>(i) * tsSeconds) / tauSeconds);
    return true;
}

std::uint32_t clockNoiseSeed() {
    static std::atomic<std::uint32_t> calls{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    const auto steady = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t x = ns ^ (steady << 21) ^ (static_cast<std::uint64_t>(++calls) * 0x9E3779B97F4A7C15ull);
    // Final mix (splitmix64) so that neighbouring clock values give unrelated seeds.
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<std::uint32_t>(x ^ (x >> 32));
}

double buildNoiseTable(double sigma, double* table) {
    const double dx = sigma * 6.0 / 1200000.0;
    const double c = dx / (sigma * std::sqrt(kTwoPi));
    table[0] = 0.0;
    double sum = 0.0;
    // The density at the right end of one step is the one at the left end of
    // the next (the same expression), so each exponential is taken once.
    double left = std::exp(-0.5 * 0.0);
    for (std::size_t i = 1; i < kNoiseTableSize; ++i) {
        const double u2 = static_cast<double>(i) * dx / sigma;
        const double right = std::exp(-0.5 * u2 * u2);
        sum += 0.5 * (left + right) * c;
        table[i] = sum;
        left = right;
    }
    return dx;
}

double noiseSampleFromDraws(int r1, int r2, const double* table, double dx) {
    const double w = ((r1 * 32768.0 + r2) / 1073741823.0 - 0.5) * 0.99999999;
    const bool negative = w < 0;
    const double a = std::fabs(w);
    std::size_t lo = 0, hi = kNoiseTableSize - 1;
    while (hi - lo >= 2) {
        const std::size_t mid = (lo + hi) / 2;
        if (a <= table[mid])
            hi = mid;
        else
            lo = mid;
    }
    const double f = (a - table[lo]) / (table[hi] - table[lo]);
    const double y = f < 1 ? static_cast<double>(lo) * dx + f * dx : static_cast<double>(lo) * dx;
    return negative ? -y : y;
}

namespace {

// The table is strictly increasing, so the pair (lo, lo + 1) the bisection
// ends on is fixed by a alone: lo + 1 is the first entry >= a (the last
// entry when none is). A guide of the first entries at a = b / 131072 narrows
// that search to one or two cache lines; the result is the bisection's.
constexpr std::size_t kGuideSteps = 65536;

void buildGuide(const double* table, std::uint32_t* guide) {
    std::size_t idx = 0;
    for (std::size_t b = 0; b <= kGuideSteps; ++b) {
        const double level = static_cast<double>(b) / (2.0 * kGuideSteps);
        while (idx < kNoiseTableSize && table[idx] < level) ++idx;
        guide[b] = static_cast<std::uint32_t>(idx);
    }
}

double fastNoiseSample(int r1, int r2, const double* table, const std::uint32_t* guide, double dx) {
    const double w = ((r1 * 32768.0 + r2) / 1073741823.0 - 0.5) * 0.99999999;
    const bool negative = w < 0;
    const double a = std::fabs(w);
    const auto b = static_cast<std::size_t>(a * (2.0 * kGuideSteps));
    const std::size_t from = guide[b];
    const std::size_t to = std::min(kNoiseTableSize, static_cast<std::size_t>(guide[b + 1]) + 1);
    std::size_t hi = static_cast<std::size_t>(std::lower_bound(table + from, table + to, a) - table);
    if (hi >= kNoiseTableSize) hi = kNoiseTableSize - 1;
    if (hi < 1) hi = 1;
    const std::size_t lo = hi - 1;
    const double f = (a - table[lo]) / (table[hi] - table[lo]);
    const double y = f < 1 ? static_cast<double>(lo) * dx + f * dx : static_cast<double>(lo) * dx;
    return negative ? -y : y;
}

}  // namespace

bool generateNoise(double* segment, const NoiseParams& p, double* table) {
    const double sigma = p.sigma;
    if (!rangeAccepted(p.span) || !(sigma >= 0) || std::isinf(sigma)) return false;
    std::unique_ptr<std::uint32_t[]> guide(new (std::nothrow) std::uint32_t[kGuideSteps + 1]);
    if (!guide) return false;
    const std::uint64_t m = periodSamples(p.span.period, p.span.samplingTime);
    zeroSamples(segment, m);
    // A zero deviation would fill the table with 0/0; its noise is silence.
    if (sigma == 0) return true;
    const double dx = buildNoiseTable(sigma, table);
    buildGuide(table, guide.get());
    RuntimeRandom random(p.seed);
    for (std::uint64_t i = 0; i < m; ++i) {
        const int r1 = random.draw();
        const int r2 = random.draw();
        segment[i] = fastNoiseSample(r1, r2, table, guide.get(), dx);
    }
    return true;
}

bool generateNoise(double* segment, const NoiseParams& p) {
    if (!rangeAccepted(p.span) || !(p.sigma >= 0)) return false;
    std::unique_ptr<double[]> table(new double[kNoiseTableSize]);
    NoiseParams seeded = p;
    seeded.seed = clockNoiseSeed();
    return generateNoise(segment, seeded, table.get());
}

}  // namespace lyr::analog
