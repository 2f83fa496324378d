#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "view/readouts.h"
#include "view/time_entry.h"

namespace lyr::view {
namespace {

TEST(Readouts, FixedUnitKeepsTheDecimalsTheSamplingTimeResolves) {
    EXPECT_EQ(samplingZeros(100), 2);
    EXPECT_EQ(samplingZeros(20), 1);
    EXPECT_EQ(samplingZeros(83886080), 1);
    // T = 100 uS with Ts = 100 ns: uS with one decimal.
    EXPECT_EQ(fixedUnitFor(100000), 1);
    struct Case {
        std::int64_t ns;
        int unit;
        std::int64_t ts;
        const char* text;
    } cases[] = {
        {300, 1, 100, "0.3 uS"}, {0, 1, 100, "0.0 uS"}, {100000, 1, 100, "100.0 uS"}, {-1200, 1, 100, "-1.2 uS"},
        // Ts = 10 ns keeps two of the three decimals; Ts = 1 uS none in uS.
        {300, 1, 10, "0.30 uS"}, {3000, 1, 1000, "3 uS"}, {5000, 2, 1000, "0.005 mS"},
        {1234567890, 3, 10, "1.23456789 S"}, {70, 0, 10, "70 nS"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFixedUnit(c.ns, c.unit, c.ts), c.text);
}

TEST(Readouts, DifferenceUsesItsOwnUnit) {
    const std::tuple<std::int64_t, std::int64_t, const char*> cases[] = {
        {300, 100, "300 nS"},  {-300, 100, "-300 nS"},  {999, 1, "999 nS"},
        {1000, 10, "1.00 uS"}, {999999999, 1, "999.999999 mS"}, {1000000000, 10, "1.00000000 S"},
    };
    for (const auto& [ns, ts, text] : cases) EXPECT_EQ(formatDifference(ns, ts), text);
}

TEST(Readouts, CursorMarkAndIntervals) {
    std::vector<double> a{0.5, -0.25, 1.0, 0.0, 0.125};
    std::vector<std::uint8_t> d0{0, 1, 0, 1, 1};
    TrackView t;
    t.n = 5;
    t.samplingNs = 100;
    t.analog = a.data();
    t.digital[0] = d0.data();
    t.digital[3] = d0.data();

    Readouts r = computeReadouts(t, 5, false, 0);
    EXPECT_EQ(r.totalTime, "500 nS");
    EXPECT_EQ(r.samplingTime, "100 nS");
    EXPECT_EQ(r.cursor.time, "500 nS");
    EXPECT_EQ(r.cursor.volts, "0.1250 V");  // past the end: last sample
    EXPECT_EQ(r.cursor.levels[0], "1");
    EXPECT_EQ(r.cursor.levels[1], "");
    EXPECT_TRUE(r.mark.time.empty());
    EXPECT_TRUE(r.cursorMinusMark.empty());

    r = computeReadouts(t, 3, true, 1);
    EXPECT_EQ(r.cursor.volts, "0.0000 V");
    EXPECT_EQ(formatVoltsReadout(-2e-16), "0.0000 V");  // sin(2 pi) must not read "-0.0000 V"
    EXPECT_EQ(r.mark.volts, "-0.2500 V");
    EXPECT_EQ(r.mark.time, "100 nS");
    EXPECT_EQ(r.mark.levels[3], "1");
    EXPECT_EQ(r.cursorMinusMark, "200 nS");
    EXPECT_EQ(mouseMinusCursor(t, 0, 3), "-300 nS");
    EXPECT_EQ(formatSampling(1500), "1.5 uS");
}

TEST(TimeEntry, FromStartAndFieldTexts) {
    TimeEntryRequest req = cursorPositionRequest(100, 1000, 0, false, 0);
    TimeEntryForm f(req);
    EXPECT_EQ(f.caption(), "カーソル位置の指定");
    EXPECT_FALSE(f.okEnabled());
    f.setText("250");
    EXPECT_FALSE(f.okEnabled());  // no unit yet
    EXPECT_TRUE(f.fields()[0].empty());
    f.setUnit(0);
    ASSERT_TRUE(f.okEnabled());
    EXPECT_EQ(f.fields()[0], "250 nS");
    EXPECT_EQ(f.fields()[1], "250 nS");
    EXPECT_EQ(f.fields()[2], "");  // no time mark
    EXPECT_EQ(f.fields()[3], "-99.75 uS");
    EXPECT_FALSE(f.referenceEnabled(ReferencePoint::FromTimeMark));
    f.setReference(ReferencePoint::FromTimeMark);
    EXPECT_EQ(f.reference(), ReferencePoint::FromStart);
    std::uint32_t index = 0;
    ASSERT_TRUE(f.accept(index));
    EXPECT_EQ(index, 2u);  // between two samples: the earlier one
}

TEST(TimeEntry, RelativeToTheEndAndTheEndItself) {
    TimeEntryForm f(cursorPositionRequest(100, 1000, 10, true, 20));
    f.setReference(ReferencePoint::FromEnd);
    f.setUnit(0);
    f.setText("-100");
    std::uint32_t index = 0;
    ASSERT_TRUE(f.accept(index));
    EXPECT_EQ(index, 999u);
    EXPECT_EQ(f.fields()[2], "97.9 uS");

    f.setText("0");  // t = E: the cursor may stand after the last sample
    ASSERT_TRUE(f.accept(index));
    EXPECT_EQ(index, 1000u);
    for (const TimeEntryRequest& req : {markPlaceRequest(100, 1000, 10, 20), markMoveRequest(100, 1000, 10, 20)}) {
        TimeEntryForm m(req);
        EXPECT_EQ(m.caption(), "タイムマーク位置の指定");
        m.setReference(ReferencePoint::FromEnd);
        m.setUnit(0);
        m.setText("0");
        EXPECT_TRUE(m.valid());
        EXPECT_FALSE(m.okEnabled());
        EXPECT_FALSE(m.accept(index));
    }
    EXPECT_FALSE(TimeEntryForm(markPlaceRequest(100, 1000, 10, 20)).referenceEnabled(ReferencePoint::FromTimeMark));
    EXPECT_TRUE(TimeEntryForm(markMoveRequest(100, 1000, 10, 20)).referenceEnabled(ReferencePoint::FromTimeMark));
}

TEST(TimeEntry, RefusedAndOutOfRangeTextsClearTheFields) {
    TimeEntryForm f(cursorPositionRequest(100, 1000, 500, true, 300));
    f.setUnit(1);
    f.setText("1.5");
    ASSERT_TRUE(f.okEnabled());
    f.setText("1.2345");  // finer than 1 ns
    EXPECT_FALSE(f.okEnabled());
    for (const auto& s : f.fields()) EXPECT_TRUE(s.empty());
    f.setText("100.001");  // beyond E = 100 uS
    EXPECT_FALSE(f.okEnabled());
    f.setReference(ReferencePoint::FromCursor);
    f.setText("-50.001");  // before the start
    EXPECT_FALSE(f.okEnabled());
    f.setText("-50");
    EXPECT_TRUE(f.okEnabled());
    EXPECT_EQ(f.fields()[0], "0 nS");
    f.setReference(ReferencePoint::FromTimeMark);
    f.setText("-0.5");
    EXPECT_EQ(f.candidateNs(), 29500);
    f.setText("99999999999999999999");  // saturated parse must not wrap
    EXPECT_FALSE(f.okEnabled());
}

}  // namespace
}  // namespace lyr::view
