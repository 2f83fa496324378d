#include "document/wave_time.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>
#include <tuple>

#include "document/quantities.h"

namespace lyr::document {
namespace {

void expectRow(const TimeCandidate& r, const char* total, const char* sampling, const char* count,
               const char* error) {
    EXPECT_TRUE(r.enabled);
    EXPECT_EQ(r.totalText, total);
    EXPECT_EQ(r.samplingText, sampling);
    EXPECT_EQ(r.countText, count);
    EXPECT_EQ(r.errorText, error);
}

void expectEmpty(const TimeCandidate& r) {
    EXPECT_FALSE(r.enabled);
    EXPECT_EQ(r.totalText, "");
    EXPECT_EQ(r.samplingText, "");
    EXPECT_EQ(r.countText, "");
    EXPECT_EQ(r.errorText, "");
}

// The step-by-step searches the direct computations must agree with.
std::int64_t stepSmallest(std::int64_t t) {
    std::int64_t ts = std::max<std::int64_t>(10, 10 * (t / 41943040));
    while (t / ts > kMaxSampleCount) ts += 10;
    return ts;
}
std::int64_t stepExact(std::int64_t t, std::int64_t from) {
    for (std::int64_t ts = from; ts <= kMaxSamplingTime; ts += 10)
        if (t % ts == 0) return ts;
    return 0;
}

// An exact total offers only its first row: 10 mS and 20 mS by total, 10 mS by sampling.
TEST(TotalTimeCandidates, ExactTotalsOfferOneRow) {
    const std::tuple<TimeCandidates, const char*, const char*> cases[] = {
        {candidatesForTotal(10000000), "10 mS", "10 nS"},
        {candidatesForTotal(20000000), "20 mS", "20 nS"},
        {candidatesForSampling(10, 1000000), "10 mS", "10 nS"},
    };
    for (const auto& [c, total, sampling] : cases) {
        SCOPED_TRACE(total);
        expectRow(c.rows[0], total, sampling, "1000000", "0.000000000 %");
        expectEmpty(c.rows[1]);
        expectEmpty(c.rows[2]);
        EXPECT_EQ(c.selected, 0);
    }
}

TEST(TotalTimeCandidates, ExactDivisorAboveTheSmallestSampling) {
    TimeCandidates c = candidatesForTotal(10485770);
    EXPECT_EQ(smallestSamplingFor(10485770), 20);
    expectRow(c.rows[0], "10.48577 mS", "170 nS", "61681", "0.000000000 %");
    expectRow(c.rows[1], "10.48576 mS", "20 nS", "524288", "-0.000095367 %");
    expectRow(c.rows[2], "10.48578 mS", "20 nS", "524289", "0.000095367 %");
    EXPECT_EQ(c.rows[1].total, 10485760);
    EXPECT_EQ(c.rows[2].total, 10485780);
    EXPECT_EQ(c.selected, 0);
}

TEST(TotalTimeCandidates, LargestTotal) {
    TimeCandidates c = candidatesForTotal(kMaxTotalTime);
    EXPECT_EQ(smallestSamplingFor(kMaxTotalTime), 83886010);
    EXPECT_EQ(std::tuple(c.rows[0].sampling, c.rows[0].count, c.rows[0].total),
              std::tuple(83886080, 1048576, kMaxTotalTime));
    EXPECT_TRUE(c.rows[1].enabled);
    EXPECT_EQ(std::tuple(c.rows[1].sampling, c.rows[1].count, c.rows[1].countText, c.rows[1].samplingText),
              std::tuple(83886010, 1048576, "1048576", "83.88601 mS"));
    expectEmpty(c.rows[2]);  // would need 1,048,577 samples
    EXPECT_EQ(c.selected, 0);
}

TEST(TotalTimeCandidates, TotalsOutsideTheLimitsAreClamped) {
    TimeCandidates lowT = candidatesForTotal(150);
    expectRow(lowT.rows[0], "200 nS", "10 nS", "20", "0.000000000 %");
    for (std::int64_t t : {std::int64_t{-5}, std::int64_t{0}}) {
        EXPECT_EQ(candidatesForTotal(t).rows[0].total, 200);
    }
    TimeCandidates highT = candidatesForTotal(kMaxTotalTime * 2);
    EXPECT_EQ(highT.rows[0].total, kMaxTotalTime);
    EXPECT_EQ(highT.rows[0].count, kMaxSampleCount);
}

TEST(TotalTimeCandidates, NoExactSamplingSelectsTheLowerCandidate) {
    // 10,485,771 ns is odd: no multiple of 10 ns divides it.
    TimeCandidates c = candidatesForTotal(10485771);
    expectEmpty(c.rows[0]);
    EXPECT_EQ(c.selected, 1);
    EXPECT_EQ(c.rows[1].total, 10485760);
    EXPECT_EQ(c.rows[2].total, 10485780);
    EXPECT_LT(c.rows[1].errorPercent, 0.0);
    EXPECT_GT(c.rows[2].errorPercent, 0.0);
    // 205 ns: 20 samples of 10 ns below, 21 above.
    TimeCandidates d = candidatesForTotal(205);
    expectRow(d.rows[1], "200 nS", "10 nS", "20", "-2.439024390 %");
    expectRow(d.rows[2], "210 nS", "10 nS", "21", "2.439024390 %");
}

TEST(TotalTimeCandidates, DirectSearchMatchesStepSearch) {
    std::mt19937_64 rng(12345);
    std::vector<std::int64_t> totals = {200, 210, 10485760, 10485770, 10485780, 20971530, 41943040,
                                        41943050, 838860800, 9999999990, 1000000007 * 10LL};
    std::uniform_int_distribution<std::int64_t> small(200, 100000000);
    for (int i = 0; i < 40; ++i) totals.push_back(small(rng) / 10 * 10);
    for (std::int64_t t : totals) {
        const std::int64_t ts1 = smallestSamplingFor(t);
        EXPECT_EQ(ts1, stepSmallest(t)) << t;
        EXPECT_EQ(firstExactSampling(t, ts1), stepExact(t, ts1)) << t;
    }
    // A total of ten times a large prime has no exact sampling in range.
    EXPECT_EQ(firstExactSampling(1000000007LL * 10 * 7, smallestSamplingFor(1000000007LL * 10 * 7)),
              stepExact(1000000007LL * 70, smallestSamplingFor(1000000007LL * 70)));
}

TEST(SamplingCandidates, FifteenNanosecondsOffersBothNeighbours) {
    TimeCandidates c = candidatesForSampling(15, 1000);
    expectEmpty(c.rows[0]);
    expectRow(c.rows[1], "10 uS", "10 nS", "1000", "-33.333333333 %");
    expectRow(c.rows[2], "20 uS", "20 nS", "1000", "33.333333333 %");
    EXPECT_EQ(c.selected, 1);
}

TEST(SamplingCandidates, ClampsSamplingAndCount) {
    TimeCandidates c = candidatesForSampling(3, 5);
    expectRow(c.rows[0], "200 nS", "10 nS", "20", "0.000000000 %");
    TimeCandidates d = candidatesForSampling(1000000000, 5000000);
    EXPECT_EQ(d.rows[0].sampling, kMaxSamplingTime);
    EXPECT_EQ(d.rows[0].count, kMaxSampleCount);
    EXPECT_EQ(d.rows[0].total, kMaxTotalTime);
}

TEST(TotalTimeText, MinutesAndHours) {
    const std::tuple<const char*, int, std::optional<std::int64_t>> cases[] = {
        {"1.5", kUnitMinute, 90000000000},
        {"2", kUnitHour, 7200000000000},
        {"0.000000001", kUnitHour, 3600},
        {"10", kUnitMs, 10000000},
        {"9999999999999", kUnitHour, std::numeric_limits<std::int64_t>::max()},  // saturates, then clamps
        {"1.5", kUnitNs, std::nullopt},
        {"abc", kUnitMinute, std::nullopt},
        {"1", 6, std::nullopt},
    };
    for (const auto& [text, unit, expected] : cases) {
        std::int64_t ns = 0;
        EXPECT_EQ(parseTotalTime(text, unit, ns) ? std::optional(ns) : std::nullopt, expected) << text << " " << unit;
    }
}

TEST(CountText, LenientConversion) {
    EXPECT_EQ(parseCountLenient("abc"), 0);
    EXPECT_EQ(parseCountLenient(""), 0);
    EXPECT_EQ(parseCountLenient("1000"), 1000);
    EXPECT_EQ(parseCountLenient("12ab"), 12);
    EXPECT_EQ(parseCountLenient(" -7"), -7);
    EXPECT_EQ(parseCountLenient("+9"), 9);
    EXPECT_GT(parseCountLenient("99999999999999999999999999"), 1048576);
}

TEST(WaveTimeFormTest, OpensInTimeModeWithTheRequestedValues) {
    WaveTimeForm f(10000000, 10, 1000000);
    EXPECT_EQ(f.mode(), WaveTimeForm::TimeInput);
    EXPECT_EQ(std::tuple(f.totalText(), f.totalUnit(), f.samplingText(), f.samplingUnit(), f.countText()),
              std::tuple("10", kUnitMs, "10", kUnitNs, "1000000"));
    EXPECT_EQ(std::tuple(f.timeGroupEnabled(), f.samplingGroupEnabled()), std::tuple(true, false));
    EXPECT_TRUE(f.okEnabled());
    EXPECT_EQ(f.selectedCandidate(), 0);
    EXPECT_EQ(f.candidate(0).totalText, "10 mS");
}

TEST(WaveTimeFormTest, InvalidTextClearsEverythingAndBlocksOk) {
    WaveTimeForm f(10000000, 10, 1000000);
    f.setTotalText("1.5");
    f.setTotalUnit(kUnitNs);  // a fraction of a nanosecond
    EXPECT_FALSE(f.okEnabled());
    EXPECT_EQ(f.selectedCandidate(), -1);
    for (int i = 0; i < 3; ++i) expectEmpty(f.candidate(i));
    f.selectCandidate(0);
    EXPECT_EQ(f.selectedCandidate(), -1);
    EXPECT_FALSE(f.accept());
    EXPECT_EQ(f.requestedTotal(), 10000000);  // outputs untouched
    EXPECT_EQ(f.requestedCount(), 1000000u);
    f.setTotalUnit(kUnitMinute);  // 1.5 M = 90 s
    EXPECT_TRUE(f.okEnabled());
    EXPECT_EQ(f.candidate(0).totalText, "90 S");
    EXPECT_TRUE(f.accept());
    EXPECT_EQ(f.requestedTotal(), 90000000000);
    EXPECT_EQ(f.requestedSampling() * static_cast<std::int64_t>(f.requestedCount()), 90000000000);
}

TEST(WaveTimeFormTest, SamplingModeUsesSamplingAndCountOnly) {
    WaveTimeForm f(10000000, 10, 1000000);
    f.setTotalText("garbage");
    EXPECT_FALSE(f.okEnabled());
    f.setMode(WaveTimeForm::SamplingInput);
    EXPECT_TRUE(f.okEnabled());  // the total text no longer matters
    EXPECT_TRUE(f.samplingGroupEnabled());
    f.setSamplingText("15");
    f.setCountText("abc");  // counts as the minimum 20 samples
    EXPECT_EQ(f.selectedCandidate(), 1);
    EXPECT_EQ(f.candidate(1).countText, "20");
    EXPECT_EQ(f.candidate(2).samplingText, "20 nS");
    f.selectCandidate(0);  // disabled row: ignored
    EXPECT_EQ(f.selectedCandidate(), 1);
    f.selectCandidate(2);
    ASSERT_TRUE(f.accept());
    EXPECT_EQ(f.requestedSampling(), 20);
    EXPECT_EQ(f.requestedCount(), 20u);
    EXPECT_EQ(f.requestedTotal(), 400);
    EXPECT_EQ(f.countText(), "abc");  // typed texts are not rewritten

    f.setSamplingUnit(kUnitUs);  // 15 uS
    EXPECT_EQ(f.selectedCandidate(), 0);
    EXPECT_EQ(f.candidate(0).samplingText, "15 uS");
    f.setSamplingText("0.0015");  // finer than 1 ns
    EXPECT_FALSE(f.okEnabled());
    f.setMode(WaveTimeForm::TimeInput);
    EXPECT_FALSE(f.okEnabled());  // back to the bad total text
}

TEST(WaveTimeFormTest, LongSamplingTimeOpensInMilliseconds) {
    WaveTimeForm f(kMaxTotalTime, 83886080, 1048576);
    EXPECT_EQ(std::tuple(f.totalText(), f.totalUnit(), f.samplingText(), f.samplingUnit()),
              std::tuple("87960.93022208", kUnitS, "83.88608", kUnitMs));
}

}  // namespace
}  // namespace lyr::document
