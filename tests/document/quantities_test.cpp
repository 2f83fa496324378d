#include "document/quantities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace lyr::document {
namespace {

constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();

std::optional<std::int64_t> timeOf(std::string_view s, int unit) {
    std::int64_t v = 0;
    return parseTime(s, unit, v) ? std::optional(v) : std::nullopt;
}

TEST(NumberText, NormalizeAddsMissingZeros) {
    const std::pair<const char*, const char*> cases[] = {
        {"5.", "5.0"}, {".5", "0.5"}, {"-.5", "-0.5"}, {"", ""}, {".", "0.0"}, {"-.", "-0.0"}, {"12", "12"}, {"-", "-"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(normalizeNumberText(in), out) << in;
}

TEST(NumberText, SyntaxRules) {
    EXPECT_TRUE(checkNumberSyntax("123", false, false));
    EXPECT_TRUE(checkNumberSyntax("-1.25", true, true));
    EXPECT_FALSE(checkNumberSyntax("-1", false, true));
    EXPECT_FALSE(checkNumberSyntax("1.5", true, false));
    for (const char* bad : {"", "--1", "1-", "1-2", "1.2.3", ".5", "-.5", "5.", "-", "+1", "1 ", " 1", "1e3"})
        EXPECT_FALSE(checkNumberSyntax(bad, true, true)) << bad;
}

TEST(ParseTime, ExamplesInEachUnit) {
    struct Case {
        const char* text;
        int unit;
        std::optional<std::int64_t> ns;
    } cases[] = {
        {"1.5", kUnitUs, 1500},       {"0.001", kUnitUs, 1},         {"0.0001", kUnitUs, {}},
        {"2", kUnitS, 2000000000},    {"-3", kUnitNs, -3},           {"1.0", kUnitNs, {}},
        {".5", kUnitUs, 500},         {"5.", kUnitNs, {}},  // becomes 5.0: a decimal in ns
        {"5.", kUnitUs, 5000},        {"-0", kUnitUs, 0},            {"-.5", kUnitMs, -500000},
        {"0.000000001", kUnitS, 1},   {"1.234567", kUnitMs, 1234567},
        // Nine decimals are exactly nanoseconds in seconds.
        {"12.345678901", kUnitS, 12345678901}, {"12.345678901", kUnitMs, {}},
        // Only the four standard units are understood here.
        {"1", -1, {}},                {"1", kUnitMinute, {}},        {"1", kUnitHour, {}},
        // Huge values saturate.
        {"99999999999999999999999", kUnitNs, kMax},  {"-99999999999999999999999", kUnitNs, kMin},
        {"9223372036854775807", kUnitNs, kMax},      {"-9223372036854775808", kUnitNs, kMin},
        {"10000000000", kUnitS, kMax},               {"0000000000000000000000001", kUnitNs, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(timeOf(c.text, c.unit), c.ns) << c.text << " unit " << c.unit;
    for (int u = 0; u <= 3; ++u)
        for (const char* bad : {"--1", "1-", "1 ", "", "-", "+1", "1e3", "12.34567890123", "0.0000000001"})
            EXPECT_EQ(timeOf(bad, u), std::nullopt) << bad << " unit " << u;
}

TEST(ParseReal, ExponentFormsAndRefusals) {
    const std::pair<const char*, double> good[] = {
        {"1e-3", 0.001}, {"-.5", -0.5},  {"2.5D2", 250.0},   {"2.5d-1", 0.25},
        {"5.", 5.0},     {"-1.000", -1.0},
        {"1e-400", 0.0},  // too small to hold reads as zero
        {"0e999", 0.0},  {"0.001e310", 1e307},  // large exponent, finite value
    };
    for (const auto& [text, value] : good) {
        double v = -42;
        ASSERT_TRUE(parseReal(text, v)) << text;
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    double v = 0;
    for (const char* bad : {"1.5E1.5", "+1", "1E", "e5", "1e400", "-1e400", "1e+3", "", "1,5", "1E2E3", "inf", "nan"})
        EXPECT_FALSE(parseReal(bad, v)) << bad;
    EXPECT_FALSE(parseReal(std::string(400, '9'), v));
}

TEST(ParseUnsigned, LimitsAndSyntax) {
    const std::pair<const char*, std::uint32_t> good[] = {{"4294967294", 4294967294u}, {"0", 0}, {"00012", 12}};
    for (const auto& [text, value] : good) {
        std::uint32_t v = 7;
        ASSERT_TRUE(parseUnsigned(text, v)) << text;
        EXPECT_EQ(v, value);
    }
    std::uint32_t v = 7;
    for (const char* bad : {"4294967295", "4294967296", "99999999999999999999", "-1", "1.5", "5.", "", " 1"})
        EXPECT_FALSE(parseUnsigned(bad, v)) << bad;
}

TEST(FormatTime, InGivenUnit) {
    struct Case {
        std::int64_t ns;
        int unit;
        const char* text;
    } cases[] = {
        {5, kUnitUs, "0.005"},     {1500, kUnitNs, "1500"},  {1500, kUnitUs, "1.5"},
        {2000000, kUnitMs, "2"},   {0, kUnitS, "0"},         {10, kUnitS, "0.00000001"},
        {-1500, kUnitUs, "-1.5"},  {1000, kUnitNs, "1000"},  // zeros before the point stay
        {10000, kUnitUs, "10"},    {kMin, kUnitS, "-9223372036.854775808"},
    };
    for (const auto& c : cases) {
        std::string t;
        ASSERT_TRUE(formatTimeIn(c.ns, c.unit, t)) << c.ns;
        EXPECT_EQ(t, c.text);
    }
    std::string t = "keep";
    EXPECT_FALSE(formatTimeIn(5, -1, t));
    EXPECT_EQ(t, "");
    EXPECT_FALSE(formatTimeIn(5, 4, t));
}

TEST(FormatTime, AutoUnit) {
    struct Case {
        std::int64_t ns;
        const char* text;
        int unit;
    } cases[] = {
        {999, "999", kUnitNs},       {1000, "1", kUnitUs},        {1500, "1.5", kUnitUs},
        {10000000, "10", kUnitMs},   {1234567890, "1.23456789", kUnitS},
        {0, "0", kUnitNs},           {-1500, "-1.5", kUnitUs},    {999999, "999.999", kUnitUs},
        {1000000, "1", kUnitMs},     {87960930222080, "87960.93022208", kUnitS},
    };
    for (const auto& c : cases) {
        int unit = -5;
        EXPECT_EQ(formatTimeAuto(c.ns, unit), c.text) << c.ns;
        EXPECT_EQ(unit, c.unit) << c.ns;
    }
    EXPECT_EQ(formatTimeWithUnit(1500), "1.5 uS");
    EXPECT_EQ(formatTimeWithUnit(10000000), "10 mS");
}

TEST(UnitNames, KnownAndUnknown) {
    std::string n;
    EXPECT_TRUE(unitName(0, n));
    EXPECT_EQ(n, "nS");
    EXPECT_EQ(unitName(1) + unitName(2) + unitName(3), "uSmSS");
    EXPECT_FALSE(unitName(4, n));
    EXPECT_EQ(n, "？");
    EXPECT_EQ(unitName(-1), "？");
}

TEST(FormatNumbers, VoltsAndPercent) {
    EXPECT_EQ(formatVolts(-1.0), "-1.000");
    EXPECT_EQ(formatVolts(0.0), "0.000");
    EXPECT_EQ(formatVolts(0.12345), "0.123");
    EXPECT_EQ(formatVolts(0.9996), "1.000");
    EXPECT_EQ(formatVolts(-2e-16), "0.000");  // no negative zero
    EXPECT_EQ(formatVolts(-0.0004), "0.000");
    EXPECT_EQ(formatVolts(-0.0005001), "-0.001");
    EXPECT_EQ(formatErrorPercent(0.0), "0.000000000 %");
    EXPECT_EQ(formatErrorPercent(-100.0 / 3.0), "-33.333333333 %");
}

// The eleven levels as the plots step them (1.0 - 0.2 k lands beside the
// round values), the sign boundary at 0.1 and a negative zero.
TEST(FormatNumbers, VoltScaleLabels) {
    const char* expected[] = {"+1.0V", "+0.8V", "+0.6V", "+0.4V", "+0.2V", "0.0V",
                              "-0.2V", "-0.4V", "-0.6V", "-0.8V", "-1.0V"};
    for (int k = 0; k <= 10; ++k) {
        EXPECT_EQ(formatVoltScaleLabel(1.0 - 0.2 * k), expected[k]) << k;
        EXPECT_EQ(formatVoltScaleLabel((5 - k) / 5.0), expected[k]) << k;
    }
    const std::pair<double, const char*> edges[] = {
        {0.1, "0.1V"}, {0.1000001, "+0.1V"}, {-1e-17, "0.0V"}, {-0.0, "0.0V"}, {1.5, "+1.5V"}};
    for (const auto& [v, text] : edges) EXPECT_EQ(formatVoltScaleLabel(v), text) << v;
}

TEST(BitTexts, BinaryAndHex) {
    std::string b;
    EXPECT_TRUE(isBinaryText("0110", b));
    EXPECT_EQ(b, "0110");
    for (const char* bad : {"", "012", "01 "}) EXPECT_FALSE(isBinaryText(bad, b)) << bad;

    const std::pair<const char*, const char*> hex[] = {{"A5", "10100101"}, {"ff", "11111111"}, {"09", "00001001"}};
    for (const auto& [text, bits] : hex) {
        ASSERT_TRUE(hexToBits(text, b)) << text;
        EXPECT_EQ(b, bits);
    }
    for (const char* bad : {"0g", "", "1 2"}) EXPECT_FALSE(hexToBits(bad, b)) << bad;

    // bits[k] is bit k: least significant first.
    const std::pair<char, std::array<char, 4>> digits[] = {
        {'6', {'0', '1', '1', '0'}}, {'1', {'1', '0', '0', '0'}}, {'c', {'0', '0', '1', '1'}}};
    for (const auto& [c, expected] : digits) {
        std::array<char, 4> bits{};
        ASSERT_TRUE(hexDigitBits(c, bits)) << c;
        EXPECT_EQ(bits, expected) << c;
    }
    std::array<char, 4> bits{};
    EXPECT_FALSE(hexDigitBits('x', bits));
}

}  // namespace
}  // namespace lyr::document
