// The total-time change: candidates at the waveform's own sampling time and
// the form as the dialog drives it (the document's change: syn_doc_test).
#include "document/wave_time_change.h"

#include <gtest/gtest.h>

#include "document/quantities.h"

namespace lyr::document {
namespace {

TEST(WaveTimeChange, CandidatesForTypedTotals) {
    struct Row {
        const char* total;
        const char* sampling;
        const char* count;
        const char* error;
    };
    struct Case {
        std::uint32_t ts, n;
        const char* text;
        int unit;
        Row first;
        Row second;  // all empty when disabled
    };
    const Case cases[] = {
        {10, 1000000, "5", kUnitMs, {"5 mS", "10 nS", "500000", "0.000000000 %"}, {"", "", "", ""}},
        // below 20 samples: clamped to 20 x Ts
        {30, 1000, "100", kUnitNs, {"600 nS", "30 nS", "20", "0.000000000 %"}, {"", "", "", ""}},
        {30, 1000, "1", kUnitMs,
         {"999.99 uS", "30 nS", "33333", "-0.001000000 %"},
         {"1.00002 mS", "30 nS", "33334", "0.002000000 %"}},
        // above 1,048,576 samples: clamped to the maximum, which divides evenly
        {10, 1000, "1", kUnitS, {"10.48576 mS", "10 nS", "1048576", "0.000000000 %"}, {"", "", "", ""}},
        // minutes: 0.5 M = 30 S at 100 ms is 300 samples
        {100000000, 1000, "0.5", kUnitMinute, {"30 S", "100 mS", "300", "0.000000000 %"}, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        WaveTimeChangeForm form(std::int64_t{c.ts} * c.n, c.ts, c.n);
        form.setTotalUnit(c.unit);
        form.setTotalText(c.text);
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(form.inputValid());
        EXPECT_EQ(form.selectedCandidate(), 0);
        const Row* rows[2] = {&c.first, &c.second};
        for (int r = 0; r < 2; ++r) {
            const TimeCandidate& got = form.candidate(r);
            EXPECT_EQ(got.totalText, rows[r]->total) << r;
            EXPECT_EQ(got.samplingText, rows[r]->sampling) << r;
            EXPECT_EQ(got.countText, rows[r]->count) << r;
            EXPECT_EQ(got.errorText, rows[r]->error) << r;
            EXPECT_EQ(got.enabled, *rows[r]->total != '\0') << r;
        }
    }
}

TEST(WaveTimeChange, FormOpensOnTheCurrentTotalAndAcceptsTheChosenRow) {
    WaveTimeChangeForm form(30 * 1000, 30, 1000);
    EXPECT_EQ(form.totalText(), "30");
    EXPECT_EQ(form.totalUnit(), kUnitUs);
    EXPECT_EQ(form.minimumTotal(), 600);
    EXPECT_EQ(form.maximumTotal(), 30 * 1048576);
    EXPECT_EQ(form.candidate(0).count, 1000);

    form.setTotalText("abc");  // refused: nothing to choose, OK does nothing
    EXPECT_FALSE(form.inputValid());
    EXPECT_FALSE(form.okEnabled());
    EXPECT_TRUE(form.candidate(0).totalText.empty());
    EXPECT_FALSE(form.accept());
    EXPECT_EQ(form.requestedCount(), 1000u);

    form.setTotalUnit(kUnitMs);
    form.setTotalText("1");
    form.selectCandidate(1);
    EXPECT_EQ(form.selectedCandidate(), 1);
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(form.requestedCount(), 33334u);
    EXPECT_EQ(form.requestedTotal(), 1000020);
    EXPECT_EQ(form.requestedSampling(), 30);

    form.setTotalText("600");  // an exact count: "設定 2" cannot be chosen
    form.setTotalUnit(kUnitNs);
    form.selectCandidate(1);
    EXPECT_EQ(form.selectedCandidate(), 0);
}

}  // namespace
}  // namespace lyr::document
