// Generators and combineAnalog against worked examples and closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analog/analog_apply.h"
#include "analog/generators.h"

namespace lyr::analog {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> buffer(std::size_t n = 4096, double fill = 7.0) { return std::vector<double>(n, fill); }

// A period in a waveform of the given total time at Ts = 10 ns.
SegmentSpan over(std::int64_t period, std::int64_t total = 100000) { return {total, 10, 0, period}; }

// Samples first .. end of b, and the runs of equal values they are expected to hold.
std::vector<double> slice(const std::vector<double>& b, int first, int end) {
    return std::vector<double>(b.begin() + first, b.begin() + end);
}
std::vector<double> runs(std::initializer_list<std::pair<int, double>> parts) {
    std::vector<double> v;
    for (const auto& [count, value] : parts) v.insert(v.end(), static_cast<std::size_t>(count), value);
    return v;
}

TEST(Generators, RefuseArgumentsWithoutTouchingTheBuffer) {
    auto b = buffer();
    // period below Ts, above the total time, and a zero Ts
    EXPECT_FALSE(generateDc(b.data(), {.span = over(9, 1000), .v0 = 1.0}));
    EXPECT_FALSE(generateDc(b.data(), {.span = over(1010, 1000), .v0 = 1.0}));
    EXPECT_FALSE(generateDc(b.data(), {.span = {1000, 0, 0, 100}, .v0 = 1.0}));
    EXPECT_FALSE(generateRamp(b.data(), {.span = over(5, 1000), .v0 = 0.0, .v1 = 1.0}));
    EXPECT_FALSE(generateExponential(
        b.data(), {.span = over(1000, 1000), .timeConstant = 0, .v0 = 0.0, .v1 = 1.0}));  // no time constant
    EXPECT_FALSE(
        generateSine(b.data(), {.span = over(1000, 1000), .sinePeriod = 9, .amplitude = 1.0}));  // sine period below Ts
    // cycle shorter than Ts; t0 on or beyond the cycle length either way
    EXPECT_FALSE(generateRectangle(b.data(), {.span = over(1000, 1000), .t2 = 5, .v1 = 1, .v2 = -1}));
    EXPECT_FALSE(
        generateRectangle(b.data(), {.span = over(1000, 1000), .t0 = 100, .t2 = 50, .t4 = 50, .v1 = 1, .v2 = -1}));
    EXPECT_FALSE(
        generateRectangle(b.data(), {.span = over(1000, 1000), .t0 = -100, .t2 = 50, .t4 = 50, .v1 = 1, .v2 = -1}));
    EXPECT_FALSE(generateNoise(b.data(), {.span = over(1000, 1000), .sigma = -0.1}));
    EXPECT_FALSE(generateNoise(b.data(), {.span = over(1000, 1000), .sigma = std::nan("")}));
    for (double v : b) ASSERT_EQ(v, 7.0);
}

TEST(Sine, OneCycleThenZeroAndKnownPhases) {
    auto b = buffer();
    ASSERT_TRUE(generateSine(b.data(), {.span = over(1000), .sinePeriod = 400, .amplitude = 0.5, .offset = 0.25}));
    for (int i = 0; i < 40; ++i) EXPECT_NEAR(b[i], 0.25 + 0.5 * std::sin(2 * kPi * i * 10 / 400.0), 1e-12) << i;
    EXPECT_EQ(slice(b, 40, 101), runs({{60, 0.0}, {1, 7.0}}));  // only floor(period / Ts) samples are touched
}

TEST(Sine, DelayShiftsInsideTheSegmentAndCyclesCountFromTheStart) {
    auto b = buffer();
    // delay -250 ns on a 1,000 ns sine: the first sample is offset + amplitude
    ASSERT_TRUE(generateSine(
        b.data(), {.span = over(3000), .sinePeriod = 1000, .delay = -250, .amplitude = 1.0, .repeatCount = 2}));
    EXPECT_NEAR(b[0], 1.0, 1e-12);
    EXPECT_NEAR(b[199], std::sin(2 * kPi * (1990 + 250) / 1000.0), 1e-12);
    EXPECT_EQ(b[200], 0.0);  // two cycles of 100 samples from the edit start
    EXPECT_EQ(b[299], 0.0);
}

TEST(Sine, HugeRepeatCountFillsThePeriod) {
    auto b = buffer();
    ASSERT_TRUE(generateSine(b.data(), {.span = {87960930222080LL, 10, 0, 20000},
                                        .sinePeriod = 87960930222080LL,
                                        .amplitude = 1.0,
                                        .offset = 0.5,
                                        .repeatCount = 4294967294u}));
    EXPECT_NE(b[1999], 0.0);  // the 64-bit product would wrap; the cap must not
}

TEST(Rectangle, SquareWaveStartPositionAndRepeatCount) {
    struct Case {
        std::int64_t t0, period;
        std::uint32_t repeat;
        int first;
        std::vector<double> expected;
    } cases[] = {
        {0, 2000, 10, 0, runs({{50, 1.0}, {50, -1.0}, {1, 1.0}})},
        {500, 2000, 10, 0, runs({{50, -1.0}, {1, 1.0}})},
        {-500, 2000, 10, 0, runs({{50, -1.0}, {1, 1.0}})},  // the negative position is taken modulo the cycle
        {0, 3000, 2, 150, runs({{50, -1.0}, {100, 0.0}})},  // two cycles, then the tail at 0
    };
    for (const Case& c : cases) {
        auto b = buffer();
        ASSERT_TRUE(generateRectangle(b.data(), {.span = over(c.period), .t0 = c.t0, .t2 = 500, .t4 = 500, .v1 = 1.0,
                                                 .v2 = -1.0, .repeatCount = c.repeat}));
        EXPECT_EQ(slice(b, c.first, c.first + static_cast<int>(c.expected.size())), c.expected) << c.t0 << " " << c.repeat;
    }
}

TEST(Rectangle, TriangleAndTrapezoidLevels) {
    auto b = buffer();
    ASSERT_TRUE(generateRectangle(b.data(),
                                  {.span = over(1000), .t1 = 100, .t3 = 100, .v1 = 1.0, .v2 = -1.0, .repeatCount = 5}));
    EXPECT_EQ(b[0], -1.0);
    EXPECT_NEAR(b[5], 0.0, 1e-15);  // midpoint of v2 and v1
    EXPECT_EQ(b[10], 1.0);
    EXPECT_NEAR(b[15], 0.0, 1e-15);
    EXPECT_NEAR(b[17], -0.4, 1e-12);
    EXPECT_EQ(b[20], -1.0);
    // trapezoid 100/200/100/200 between 0.2 and 0.8
    ASSERT_TRUE(generateRectangle(
        b.data(), {.span = over(6000), .t1 = 100, .t2 = 200, .t3 = 100, .t4 = 200, .v1 = 0.8, .v2 = 0.2}));
    EXPECT_NEAR(b[5], 0.5, 1e-12);
    EXPECT_EQ(b[10], 0.8);
    EXPECT_EQ(b[29], 0.8);
    EXPECT_NEAR(b[35], 0.5, 1e-12);
    EXPECT_EQ(b[40], 0.2);
    EXPECT_EQ(b[59], 0.2);
    EXPECT_EQ(b[60], 0.0);  // one repeat of 600 ns, the rest of the period is 0
}

TEST(Rectangle, NegativeOrOverlongDurationsAreRefused) {
    auto b = buffer();
    // a negative part would leave a cycle of 200 ns that the parts do not fill
    EXPECT_FALSE(generateRectangle(b.data(), {.span = over(1000), .t1 = -100, .t2 = 300, .v1 = 1.0, .v2 = -1.0}));
    // four parts of 4.7e18 ns: their sum does not fit 64 bits (it must not wrap
    // round to a short cycle)
    constexpr std::int64_t huge = 4700000000000000000LL;
    EXPECT_FALSE(generateRectangle(
        b.data(), {.span = over(1000), .t1 = huge, .t2 = huge, .t3 = huge, .t4 = huge, .v1 = 1.0, .v2 = -1.0}));
    for (double v : b) ASSERT_EQ(v, 7.0);
    // the longest cycle that fits still steps from a start near its end
    constexpr std::int64_t top = 4611686018427387903LL;  // 2^62 - 1; two of them make 2^63 - 2
    ASSERT_TRUE(generateRectangle(
        b.data(), {.span = over(1000), .t0 = 2 * top - 5, .t2 = top, .t4 = top, .v1 = 1.0, .v2 = -1.0}));
    EXPECT_EQ(b[0], -1.0);  // the last 5 ns of the low hold
    EXPECT_EQ(b[1], 1.0);   // then round to the start of the cycle
    EXPECT_EQ(b[99], 1.0);
}

TEST(LevelGenerators, DcRampExponential) {
    auto b = buffer();
    ASSERT_TRUE(generateDc(b.data(), {.span = over(1000), .v0 = -0.3}));
    EXPECT_EQ(slice(b, 0, 101), runs({{100, -0.3}, {1, 7.0}}));

    ASSERT_TRUE(generateRamp(b.data(), {.span = over(1000), .v0 = 0.0, .v1 = 1.0}));
    EXPECT_EQ(b[0], 0.0);
    EXPECT_NEAR(b[50], 0.5, 1e-15);
    EXPECT_NEAR(b[99], 0.99, 1e-15);  // the final value lies one sample past the range

    ASSERT_TRUE(generateExponential(b.data(), {.span = over(2000), .timeConstant = 1000, .v0 = 0.0, .v1 = 1.0}));
    EXPECT_EQ(b[0], 0.0);
    EXPECT_NEAR(b[100], 1.0 - std::exp(-1.0), 1e-12);
    EXPECT_NEAR(b[100], 0.632121, 1e-6);
    EXPECT_NEAR(b[199], 1.0 - std::exp(-1.99), 1e-12);

    ASSERT_TRUE(generateExponential(b.data(), {.span = over(1000), .timeConstant = 1, .v0 = 0.5, .v1 = -0.5}));
    EXPECT_NEAR(b[1], -0.5 + 1.0 * std::exp(-10.0), 1e-15);
}

TEST(Noise, RuntimeGeneratorHasTheLinearCongruentialForm) {
    RuntimeRandom r(1);
    EXPECT_EQ(r.draw(), 41);
    EXPECT_EQ(r.draw(), 18467);
    EXPECT_EQ(r.draw(), 6334);
    EXPECT_EQ(r.draw(), 26500);
    r.seed(1);
    EXPECT_EQ(r.draw(), 41);
}

TEST(Noise, TableAndExtremeDraw) {
    std::vector<double> table(kNoiseTableSize);
    const double sigma = 0.01;
    const double dx = buildNoiseTable(sigma, table.data());
    EXPECT_DOUBLE_EQ(dx, sigma * 6.0 / 1200000.0);
    EXPECT_EQ(table[0], 0.0);
    EXPECT_LT(table.back(), 0.5);
    EXPECT_NEAR(table.back(), 0.5 - 9.866e-10, 1e-11);
    EXPECT_NEAR(table[200000], 0.3413447, 1e-7);  // 1 sigma
    // r1 = r2 = 0: w = -0.5 * 0.99999999, about -5.7 sigma
    EXPECT_NEAR(noiseSampleFromDraws(0, 0, table.data(), dx), -5.7 * sigma, 0.1 * sigma);
    // the extreme draws at both ends of the 30-bit range
    const std::pair<int, int> ends[] = {{0, 0}, {0, 1}, {32767, 32766}, {32767, 32767}};
    for (auto [r1, r2] : ends) {
        const double y = noiseSampleFromDraws(r1, r2, table.data(), dx);
        EXPECT_LE(std::fabs(y), 6 * sigma);
        EXPECT_GT(std::fabs(y), 5.5 * sigma);
        EXPECT_EQ(y < 0, r1 == 0);
    }
    // the middle of the range gives (almost) zero
    EXPECT_NEAR(noiseSampleFromDraws(16384, 0, table.data(), dx), 0.0, 1e-6 * sigma);
}

// Every sample is the bisection of the table at its two draws, a fixed seed
// repeats, and a million of them have the deviation asked for.
TEST(Noise, FixedSeedDrawsWhatTheBisectionGivesWithItsStatistics) {
    constexpr std::size_t n = 1048576;
    std::vector<double> a(n), b(n), table(kNoiseTableSize);
    const double sigma = 0.05;
    const std::int64_t period = static_cast<std::int64_t>(n) * 10;
    const NoiseParams params{.span = {period, 10, 0, period}, .sigma = sigma, .seed = 12345u};
    ASSERT_TRUE(generateNoise(a.data(), params, table.data()));
    ASSERT_TRUE(generateNoise(b.data(), params, table.data()));
    EXPECT_EQ(a, b);
    const double dx = sigma * 6.0 / 1200000.0;
    RuntimeRandom r(12345u);
    double sum = 0, sq = 0, peak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int r1 = r.draw();
        const int r2 = r.draw();
        ASSERT_EQ(a[i], noiseSampleFromDraws(r1, r2, table.data(), dx)) << i;
        sum += a[i];
        sq += a[i] * a[i];
        peak = std::max(peak, std::fabs(a[i]));
    }
    EXPECT_LT(std::fabs(sum / n), 0.005 * sigma);
    EXPECT_NEAR(std::sqrt(sq / n), sigma, 0.005 * sigma);
    EXPECT_LE(peak, 6 * sigma);
    EXPECT_GT(peak, 4 * sigma);
}

TEST(Noise, CreationsWithoutSeedDiffer) {
    std::vector<double> a(1000), b(1000);
    ASSERT_TRUE(generateNoise(a.data(), {.span = {10000, 10, 0, 10000}, .sigma = 0.1}));
    ASSERT_TRUE(generateNoise(b.data(), {.span = {10000, 10, 0, 10000}, .sigma = 0.1}));
    EXPECT_NE(a, b);  // even within the same second
    EXPECT_NE(clockNoiseSeed(), clockNoiseSeed());
}

TEST(Noise, ZeroDeviationIsSilence) {
    auto b = buffer();
    ASSERT_TRUE(generateNoise(b.data(), {.span = over(1000, 1000), .sigma = 0.0}));
    EXPECT_EQ(slice(b, 0, 100), runs({{100, 0.0}}));
}

TEST(Combine, FourModesAndUnknownMode) {
    const std::vector<double> src{1.0, -2.0, 0.5, 3.0};
    std::vector<double> d{0.5, 0.5, 0.5, 0.5};
    auto run = [&](AnalogApplyMode m) {
        std::vector<double> x = d;
        combineAnalog(x.data(), src.data(), src.size(), m);
        return x;
    };
    EXPECT_EQ(run(AnalogApplyMode::Replace), src);
    EXPECT_EQ(run(AnalogApplyMode::Add), (std::vector<double>{1.5, -1.5, 1.0, 3.5}));
    EXPECT_EQ(run(AnalogApplyMode::Subtract), (std::vector<double>{-0.5, 2.5, 0.0, -2.5}));
    EXPECT_EQ(run(AnalogApplyMode::Multiply), (std::vector<double>{0.5, -1.0, 0.25, 1.5}));
    EXPECT_EQ(run(static_cast<AnalogApplyMode>(4)), d);
    // no limiting: 3 V stays 3 V
    EXPECT_EQ(run(AnalogApplyMode::Replace)[3], 3.0);
    std::vector<double> z{1, 2, 3};
    zeroSamples(z.data(), 2);
    EXPECT_EQ(z, (std::vector<double>{0, 0, 3}));
}

}  // namespace
}  // namespace lyr::analog
