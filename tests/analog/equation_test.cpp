#include "analog/equation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analog/generators.h"

namespace lyr::analog {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Evaluated {
    std::vector<double> v;
    std::uint64_t firstBad = 0;
};

Evaluated run(const std::string& text, std::uint64_t n, double ts, double period, std::uint32_t seed = 1,
              double* table = nullptr) {
    Equation e;
    EquationError err;
    EXPECT_TRUE(e.compile(text, err)) << text << ": " << err.message;
    Evaluated r;
    r.v.resize(n);
    r.firstBad = e.evaluate(r.v.data(), n, ts, period, seed, table);
    return r;
}

TEST(Equation, ClosedFormsAtKnownSamples) {
    const double ts = 1e-6, period = 1e-3;  // 1,000 samples of 1 us
    struct Case {
        const char* text;
        std::uint64_t k;
        double want;
    };
    const Case cases[] = {
        {"sin(2*pi*1000*t)", 250, 1.0},                     // a quarter of the period
        {"sin(2*pi*1000*t + pi/2)", 500, -1.0},             // phase shifted: cos at half the period
        {"0.5*sin(2*pi*i/1000)", 750, -0.5},
        {"exp(-t/200e-6)", 200, std::exp(-1.0)},            // one time constant
        {"1 - exp(-t/(T/5))", 400, 1 - std::exp(-2.0)},
        {"t < T/2 ? 0.8 : -0.3", 499, 0.8},                 // piecewise: both sides of the step
        {"t < T/2 ? 0.8 : -0.3", 500, -0.3},
        {"(i >= 100 && i < 200) * 0.25", 150, 0.25},
        {"(i >= 100 && i < 200) * 0.25", 200, 0.0},
        {"Ts * 1e6 + T * 1e3", 7, 2.0},
        {"floor(i / 300) + pow(2, 3) + abs(-1) + sign(-4) + min(3, 1) + max(2, 5)", 650, 2 + 8 + 1 - 1 + 1 + 5},
        {"sqrt(log(exp(4)))", 0, 2.0},
        {"square(2*pi*t/T)", 499, 1.0},
        {"square(2*pi*t/T)", 500, -1.0},
        {"triangle(2*pi*t/T)", 250, 1.0},
        {"triangle(2*pi*t/T)", 875, -0.5},
        {"triangle(-pi/2)", 0, -1.0},  // negative phases wrap
        {"3", 999, 3.0},               // outside ±1 V: kept
    };
    for (const Case& c : cases) {
        const Evaluated r = run(c.text, 1000, ts, period);
        EXPECT_EQ(r.firstBad, 1000u) << c.text;
        EXPECT_NEAR(r.v[c.k], c.want, 1e-12) << c.text << " at " << c.k;
    }
}

TEST(Equation, ParseErrorsCarryTheParsersMessageAndPosition) {
    struct Case {
        const char* text;
        int position;
    };
    const Case cases[] = {
        {"sin(2*pi*t", 10},   // missing parenthesis: at the end of the text
        {"x + 1", 0},         // unknown name
        {"2*t +", 5},
        {"1)", 1},
        {"sin(t), 2", 6},     // a second expression
        {"", -1},
    };
    for (const Case& c : cases) {
        Equation e;
        EquationError err;
        EXPECT_FALSE(e.compile(c.text, err)) << c.text;
        EXPECT_FALSE(e.compiled());
        EXPECT_FALSE(err.message.empty()) << c.text;
        EXPECT_EQ(err.position, c.position) << c.text << ": " << err.message;
    }
    // A failed compile leaves nothing to evaluate: every sample is refused.
    Equation e;
    EquationError err;
    ASSERT_TRUE(e.compile("t", err));
    ASSERT_FALSE(e.compile("t +", err));
    std::vector<double> v(4);
    EXPECT_EQ(e.evaluate(v.data(), 4, 1e-6, 4e-6, 1, nullptr), 0u);
}

TEST(Equation, TheFirstSampleThatIsNoNumberIsReported) {
    const Evaluated r = run("1 / (i - 37)", 100, 1e-6, 1e-4);
    EXPECT_EQ(r.firstBad, 37u);
    EXPECT_TRUE(std::isinf(r.v[37]));
    EXPECT_DOUBLE_EQ(r.v[38], 1.0);  // the rest is still computed
    EXPECT_EQ(run("sqrt(t - 50e-6)", 100, 1e-6, 1e-4).firstBad, 0u);
    EXPECT_EQ(run("log(i - 10)", 100, 1e-6, 1e-4).firstBad, 0u);  // NaN below 10, -inf at it
}

// noise() is the noise editor's sequence for the same seed at a deviation of 1 V.
TEST(Equation, NoiseDrawsAsTheNoiseEditorDoes) {
    const std::uint64_t n = 4000;
    std::unique_ptr<double[]> table(new double[kNoiseTableSize]);
    const Evaluated r = run("0.01 * noise()", n, 1e-6, 4e-3, 1234, table.get());
    std::vector<double> want(n);
    std::unique_ptr<double[]> table2(new double[kNoiseTableSize]);
    NoiseParams params;
    params.span = {4000000, 1000, 0, 4000000};
    params.sigma = 0.01;
    params.seed = 1234;
    ASSERT_TRUE(generateNoise(want.data(), params, table2.get()));
    for (std::uint64_t k = 0; k < n; ++k) ASSERT_NEAR(r.v[k], want[k], 1e-15) << k;
    // Two calls in one sample take two draws each, in the order written.
    const Evaluated twice = run("noise() - noise()", 8, 1e-6, 8e-6, 1234, table.get());
    EXPECT_NE(twice.v[0], 0.0);
    EXPECT_NE(run("noise()", 3, 1e-6, 3e-6, 99, table.get()).v[0], run("noise()", 3, 1e-6, 3e-6, 98, table.get()).v[0]);
}

}  // namespace
}  // namespace lyr::analog
