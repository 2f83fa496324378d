#include "document/quantities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lyr::document {
namespace {

std::int64_t timeOr(std::string_view s, int unit, std::int64_t fallback = -999999) {
    std::int64_t v = 0;
    return parseTime(s, unit, v) ? v : fallback;
}
bool timeRefused(std::string_view s, int unit) {
    std::int64_t v = 0;
    return !parseTime(s, unit, v);
}

TEST(NumberText, NormalizeAddsMissingZeros) {
    EXPECT_EQ(normalizeNumberText("5."), "5.0");
    EXPECT_EQ(normalizeNumberText(".5"), "0.5");
    EXPECT_EQ(normalizeNumberText("-.5"), "-0.5");
    EXPECT_EQ(normalizeNumberText(""), "");
    EXPECT_EQ(normalizeNumberText("."), "0.0");
    EXPECT_EQ(normalizeNumberText("-."), "-0.0");
    EXPECT_EQ(normalizeNumberText("12"), "12");
    EXPECT_EQ(normalizeNumberText("-"), "-");
}

TEST(NumberText, SyntaxRules) {
    EXPECT_TRUE(checkNumberSyntax("123", false, false));
    EXPECT_TRUE(checkNumberSyntax("-1.25", true, true));
    EXPECT_FALSE(checkNumberSyntax("", true, true));
    EXPECT_FALSE(checkNumberSyntax("-1", false, true));
    EXPECT_FALSE(checkNumberSyntax("1.5", true, false));
    EXPECT_FALSE(checkNumberSyntax("--1", true, true));
    EXPECT_FALSE(checkNumberSyntax("1-", true, true));
    EXPECT_FALSE(checkNumberSyntax("1-2", true, true));
    EXPECT_FALSE(checkNumberSyntax("1.2.3", true, true));
    EXPECT_FALSE(checkNumberSyntax(".5", true, true));
    EXPECT_FALSE(checkNumberSyntax("-.5", true, true));
    EXPECT_FALSE(checkNumberSyntax("5.", true, true));
    EXPECT_FALSE(checkNumberSyntax("-", true, true));
    EXPECT_FALSE(checkNumberSyntax("+1", true, true));
    EXPECT_FALSE(checkNumberSyntax("1 ", true, true));
    EXPECT_FALSE(checkNumberSyntax(" 1", true, true));
    EXPECT_FALSE(checkNumberSyntax("1e3", true, true));
}

TEST(ParseTime, ExamplesInEachUnit) {
    EXPECT_EQ(timeOr("1.5", kUnitUs), 1500);
    EXPECT_EQ(timeOr("0.001", kUnitUs), 1);
    EXPECT_TRUE(timeRefused("0.0001", kUnitUs));
    EXPECT_EQ(timeOr("2", kUnitS), 2000000000);
    EXPECT_EQ(timeOr("-3", kUnitNs), -3);
    EXPECT_TRUE(timeRefused("1.0", kUnitNs));
    EXPECT_TRUE(timeRefused("1.5", kUnitNs));
    EXPECT_EQ(timeOr(".5", kUnitUs), 500);
    EXPECT_TRUE(timeRefused("5.", kUnitNs));  // becomes 5.0: a decimal in ns
    EXPECT_EQ(timeOr("5.", kUnitUs), 5000);
    EXPECT_EQ(timeOr("-0", kUnitUs), 0);
    EXPECT_EQ(timeOr("-.5", kUnitMs), -500000);
    EXPECT_EQ(timeOr("0.000000001", kUnitS), 1);
    EXPECT_EQ(timeOr("1.234567", kUnitMs), 1234567);
}

TEST(ParseTime, RefusesMalformedText) {
    for (int u = 0; u <= 3; ++u) {
        EXPECT_TRUE(timeRefused("--1", u));
        EXPECT_TRUE(timeRefused("1-", u));
        EXPECT_TRUE(timeRefused("1 ", u));
        EXPECT_TRUE(timeRefused("", u));
        EXPECT_TRUE(timeRefused("-", u));
        EXPECT_TRUE(timeRefused("+1", u));
        EXPECT_TRUE(timeRefused("1e3", u));
        EXPECT_TRUE(timeRefused("12.34567890123", u)) << u;  // eleven decimals
        EXPECT_TRUE(timeRefused("0.0000000001", u)) << u;    // ten decimals
    }
    // Nine decimals are exactly nanoseconds in seconds.
    EXPECT_EQ(timeOr("12.345678901", kUnitS), 12345678901);
    EXPECT_TRUE(timeRefused("12.345678901", kUnitMs));
    // Only the four standard units are understood here.
    EXPECT_TRUE(timeRefused("1", -1));
    EXPECT_TRUE(timeRefused("1", kUnitMinute));
    EXPECT_TRUE(timeRefused("1", kUnitHour));
}

TEST(ParseTime, HugeValuesSaturate) {
    EXPECT_EQ(timeOr("99999999999999999999999", kUnitNs), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(timeOr("-99999999999999999999999", kUnitNs), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(timeOr("9223372036854775807", kUnitNs), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(timeOr("-9223372036854775808", kUnitNs), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(timeOr("10000000000", kUnitS), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(timeOr("0000000000000000000000001", kUnitNs), 1);
}

TEST(ParseReal, ExponentForms) {
    double v = 0;
    ASSERT_TRUE(parseReal("1e-3", v));
    EXPECT_DOUBLE_EQ(v, 0.001);
    ASSERT_TRUE(parseReal("-.5", v));
    EXPECT_DOUBLE_EQ(v, -0.5);
    ASSERT_TRUE(parseReal("2.5D2", v));
    EXPECT_DOUBLE_EQ(v, 250.0);
    ASSERT_TRUE(parseReal("2.5d-1", v));
    EXPECT_DOUBLE_EQ(v, 0.25);
    ASSERT_TRUE(parseReal("5.", v));
    EXPECT_DOUBLE_EQ(v, 5.0);
    ASSERT_TRUE(parseReal("-1.000", v));
    EXPECT_DOUBLE_EQ(v, -1.0);
    ASSERT_TRUE(parseReal("1e-400", v));  // too small to hold reads as zero
    EXPECT_EQ(v, 0.0);
    ASSERT_TRUE(parseReal("0e999", v));
    EXPECT_EQ(v, 0.0);
    ASSERT_TRUE(parseReal("0.001e310", v));  // large exponent, finite value
    EXPECT_DOUBLE_EQ(v, 1e307);
}

TEST(ParseReal, Refusals) {
    double v = 0;
    EXPECT_FALSE(parseReal("1.5E1.5", v));
    EXPECT_FALSE(parseReal("+1", v));
    EXPECT_FALSE(parseReal("1E", v));
    EXPECT_FALSE(parseReal("e5", v));
    EXPECT_FALSE(parseReal("1e400", v));
    EXPECT_FALSE(parseReal("-1e400", v));
    EXPECT_FALSE(parseReal("1e+3", v));
    EXPECT_FALSE(parseReal("", v));
    EXPECT_FALSE(parseReal("1,5", v));
    EXPECT_FALSE(parseReal("1E2E3", v));
    EXPECT_FALSE(parseReal("inf", v));
    EXPECT_FALSE(parseReal("nan", v));
    EXPECT_FALSE(parseReal(std::string(400, '9'), v));
}

TEST(ParseUnsigned, LimitsAndSyntax) {
    std::uint32_t v = 7;
    EXPECT_FALSE(parseUnsigned("4294967295", v));
    EXPECT_FALSE(parseUnsigned("4294967296", v));
    EXPECT_FALSE(parseUnsigned("99999999999999999999", v));
    ASSERT_TRUE(parseUnsigned("4294967294", v));
    EXPECT_EQ(v, 4294967294u);
    ASSERT_TRUE(parseUnsigned("0", v));
    EXPECT_EQ(v, 0u);
    ASSERT_TRUE(parseUnsigned("00012", v));
    EXPECT_EQ(v, 12u);
    EXPECT_FALSE(parseUnsigned("-1", v));
    EXPECT_FALSE(parseUnsigned("1.5", v));
    EXPECT_FALSE(parseUnsigned("5.", v));
    EXPECT_FALSE(parseUnsigned("", v));
    EXPECT_FALSE(parseUnsigned(" 1", v));
}

TEST(FormatTime, InGivenUnit) {
    std::string t;
    ASSERT_TRUE(formatTimeIn(5, kUnitUs, t));
    EXPECT_EQ(t, "0.005");
    ASSERT_TRUE(formatTimeIn(1500, kUnitNs, t));
    EXPECT_EQ(t, "1500");
    ASSERT_TRUE(formatTimeIn(1500, kUnitUs, t));
    EXPECT_EQ(t, "1.5");
    ASSERT_TRUE(formatTimeIn(2000000, kUnitMs, t));
    EXPECT_EQ(t, "2");
    ASSERT_TRUE(formatTimeIn(0, kUnitS, t));
    EXPECT_EQ(t, "0");
    ASSERT_TRUE(formatTimeIn(10, kUnitS, t));
    EXPECT_EQ(t, "0.00000001");
    ASSERT_TRUE(formatTimeIn(-1500, kUnitUs, t));
    EXPECT_EQ(t, "-1.5");
    ASSERT_TRUE(formatTimeIn(1000, kUnitNs, t));  // zeros before the point stay
    EXPECT_EQ(t, "1000");
    ASSERT_TRUE(formatTimeIn(10000, kUnitUs, t));
    EXPECT_EQ(t, "10");
    ASSERT_TRUE(formatTimeIn(std::numeric_limits<std::int64_t>::min(), kUnitS, t));
    EXPECT_EQ(t, "-9223372036.854775808");
    t = "keep";
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

TEST(FormatTime, RoundTripsThroughParse) {
    for (std::int64_t ns : {1LL, 12LL, 999LL, 1001LL, 123456789LL, -77000LL, 87960930222080LL}) {
        for (int u = 0; u <= 3; ++u) {
            std::string t;
            ASSERT_TRUE(formatTimeIn(ns, u, t));
            EXPECT_EQ(timeOr(t, u), ns) << t << " unit " << u;
        }
        int u = 0;
        std::string t = formatTimeAuto(ns, u);
        EXPECT_EQ(timeOr(t, u), ns) << t;
    }
}

TEST(UnitNames, KnownAndUnknown) {
    std::string n;
    EXPECT_TRUE(unitName(0, n));
    EXPECT_EQ(n, "nS");
    EXPECT_EQ(unitName(1), "uS");
    EXPECT_EQ(unitName(2), "mS");
    EXPECT_EQ(unitName(3), "S");
    EXPECT_FALSE(unitName(4, n));
    EXPECT_EQ(n, "？");
    EXPECT_EQ(unitName(-1), "？");
    EXPECT_EQ(kTotalTimeUnits[4], "M");
    EXPECT_EQ(kTotalTimeUnits[5], "H");
    EXPECT_EQ(kSamplingUnits.size(), 3u);
}

TEST(FormatNumbers, VoltsAndPercent) {
    EXPECT_EQ(formatVolts(-1.0), "-1.000");
    EXPECT_EQ(formatVolts(0.0), "0.000");
    EXPECT_EQ(formatVolts(0.12345), "0.123");
    EXPECT_EQ(formatVolts(0.9996), "1.000");
    EXPECT_EQ(formatErrorPercent(0.0), "0.000000000 %");
    EXPECT_EQ(formatErrorPercent(-100.0 / 3.0), "-33.333333333 %");
}

TEST(BitTexts, BinaryAndHex) {
    std::string b;
    EXPECT_TRUE(isBinaryText("0110", b));
    EXPECT_EQ(b, "0110");
    EXPECT_FALSE(isBinaryText("", b));
    EXPECT_FALSE(isBinaryText("012", b));
    EXPECT_FALSE(isBinaryText("01 ", b));

    ASSERT_TRUE(hexToBits("A5", b));
    EXPECT_EQ(b, "10100101");
    ASSERT_TRUE(hexToBits("ff", b));
    EXPECT_EQ(b, "11111111");
    ASSERT_TRUE(hexToBits("09", b));
    EXPECT_EQ(b, "00001001");
    EXPECT_FALSE(hexToBits("0g", b));
    EXPECT_FALSE(hexToBits("", b));
    EXPECT_FALSE(hexToBits("1 2", b));

    std::array<char, 4> bits{};
    ASSERT_TRUE(hexDigitBits('6', bits));
    EXPECT_EQ(bits, (std::array<char, 4>{'0', '1', '1', '0'}));
    ASSERT_TRUE(hexDigitBits('1', bits));
    EXPECT_EQ(bits, (std::array<char, 4>{'1', '0', '0', '0'}));
    ASSERT_TRUE(hexDigitBits('c', bits));
    EXPECT_EQ(bits, (std::array<char, 4>{'0', '0', '1', '1'}));
    EXPECT_FALSE(hexDigitBits('x', bits));
}

}  // namespace
}  // namespace lyr::document
