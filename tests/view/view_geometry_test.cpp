#include "view/view_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace lyr::view {
namespace {

// Straightforward per-sample reduction, as the drawing rule states it.
void referenceReduce(const std::vector<int>& ys, std::uint32_t span, int w, ColumnBuffer& out,
                     int top, int bottom) {
    out.count = w;
    for (int c = 0; c < w; ++c) {
        out.minY[c] = bottom + 1000;
        out.maxY[c] = top - 1000;
        out.last[c] = bottom + 1000;
    }
    std::vector<bool> filled(w, false);
    for (std::uint32_t k = 0; k < span; ++k) {
        int c = static_cast<int>((2ull * k * w + span) / (2ull * span));
        if (c >= w) c = w - 1;
        filled[c] = true;
        out.last[c] = ys[k];
        out.minY[c] = std::min(out.minY[c], ys[k]);
        out.maxY[c] = std::max(out.maxY[c], ys[k]);
    }
    for (int c = 1; c < w; ++c) {
        if (!filled[c]) out.minY[c] = out.maxY[c] = out.last[c] = out.last[c - 1];
    }
}

TEST(Layout, ReferenceSizeAndWideWindowCap) {
    const Layout l = layoutView(1022, 553);
    EXPECT_EQ(l.timeLabels.height(), 18);
    EXPECT_EQ(l.separator.top, 18);
    EXPECT_EQ(l.separator.height(), 4);
    EXPECT_EQ(l.cursorStrip.top, 24);
    EXPECT_EQ(l.markStrip.top, l.cursorStrip.bottom + 1);
    EXPECT_EQ(l.plot.left, 40 + 6);
    EXPECT_EQ(l.plot.right, 1021 - 20);
    EXPECT_GT(l.plot.height(), 100);
    // Lanes follow each other under the plot, CH0 first, inside the client.
    for (int i = 1; i < kLaneCount; ++i) EXPECT_GT(l.laneArea[i].top, l.laneArea[i - 1].bottom);
    EXPECT_GT(l.laneArea[0].top, l.plot.bottom);
    EXPECT_LE(l.bottomOfLines, 552);
    for (int i = 0; i < kLaneCount; ++i) {
        EXPECT_EQ(l.laneBand[i].left, l.plot.left);
        EXPECT_EQ(l.laneBand[i].right, l.plot.right);
        EXPECT_GT(l.laneBand[i].height(), 2);
    }

    const Layout wide = layoutView(6000, 900);
    EXPECT_EQ(wide.columns(), kMaxColumns);
    EXPECT_LT(wide.plot.right, 6000 - 100);  // the rest stays empty on the right
}

// Lane names never run into each other: from the design size down to lanes
// shorter than the smallest readable name, and in windows too low for any.
TEST(Layout, LaneNamesNeverOverlap) {
    struct Case {
        int height;
        int fontPx;  // 0: whatever fits between the limits
        bool everyLane;
    };
    const Case cases[] = {
        {1400, kLaneFontPx, true}, {597, kLaneFontPx, true}, {420, 0, true}, {360, 0, true},
        {330, 0, true},            {260, kMinLaneFontPx, false}, {200, kMinLaneFontPx, false},
        {120, kMinLaneFontPx, false}, {50, kMinLaneFontPx, false},
    };
    for (const Case& c : cases) {
        for (int width : {710, 1022}) {
            const Layout l = layoutView(width, c.height);
            const std::string at = std::to_string(width) + "x" + std::to_string(c.height);
            if (c.fontPx) { EXPECT_EQ(l.laneFontPx, c.fontPx) << at; }
            EXPECT_GE(l.laneFontPx, kMinLaneFontPx) << at;
            EXPECT_LE(l.laneFontPx, kLaneFontPx) << at;
            const Rect& first = l.laneArea[0];
            const Rect& last = l.laneArea[kLaneCount - 1];
            int named = 0;
            int previousBottom = std::numeric_limits<int>::min();
            for (int i = 0; i < kLaneCount; ++i) {
                const Rect& name = l.laneName[i];
                if (name.width() <= 0) {
                    EXPECT_FALSE(c.everyLane) << at << " CH" << i;
                    continue;
                }
                ++named;
                EXPECT_EQ(name.height(), l.laneFontPx) << at << " CH" << i;
                EXPECT_GT(name.top, previousBottom) << at << " CH" << i;
                previousBottom = name.bottom;
                EXPECT_EQ(name.right, l.laneLabel[i].right - 4) << at << " CH" << i;
                EXPECT_GE(name.left, 0) << at << " CH" << i;
                const Rect& frame = l.laneFrame[i];
                if (c.everyLane) {
                    EXPECT_GE(name.top, frame.top) << at << " CH" << i;
                    EXPECT_LE(name.bottom, frame.bottom) << at << " CH" << i;
                } else {
                    // A name over several short lanes stays beside its own lane,
                    // under the analog block and inside the window.
                    EXPECT_LE(name.top, frame.bottom) << at << " CH" << i;
                    EXPECT_GE(name.bottom, frame.top) << at << " CH" << i;
                    EXPECT_GT(name.top, l.voltLabels.bottom) << at << " CH" << i;
                    EXPECT_LT(name.bottom, c.height) << at << " CH" << i;
                }
            }
            if (c.everyLane) { EXPECT_EQ(named, kLaneCount) << at; }
            // CH0 keeps its name whenever the lanes leave room for names at all.
            if (last.bottom - first.top + 1 >= 2 * kMinLaneFontPx) {
                EXPECT_GT(l.laneName[0].width(), 0) << at;
                EXPECT_GT(named, 1) << at;
            }
            if (last.bottom < first.top) { EXPECT_EQ(named, 0) << at; }
        }
    }
}

TEST(TimeAxis, MappingAndEdges) {
    const Viewport vp{100, 1000, 50, 1049};  // W = 1000, one column per sample
    EXPECT_EQ(sampleToX(vp, 100), 50);
    EXPECT_EQ(sampleToX(vp, 600), 550);
    EXPECT_EQ(sampleToX(vp, 1100), 1050);        // scroll + span: just right of the plot
    EXPECT_EQ(sampleToX(vp, 1101), 1049 + 2);    // beyond: outside
    EXPECT_LT(sampleToX(vp, 99), 50);            // before the view: left of the plot
    EXPECT_EQ(xToSample(vp, 10), 100u);
    EXPECT_EQ(xToSample(vp, 2000), 1100u);
    EXPECT_EQ(xToSample(vp, 550), 600u);
    const Viewport zoomed{0, 10, 0, 999};  // 100 columns per sample
    EXPECT_EQ(sampleToX(zoomed, 3), 300);
    EXPECT_EQ(xToSample(zoomed, 349), 3u);
    EXPECT_EQ(xToSample(zoomed, 350), 4u);  // rounds to the nearer sample
}

TEST(ColumnReduction, ClipFlagsNanAndInfinity) {
    std::vector<double> a{1.5, 0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                          -1.5, 1.3};
    EXPECT_EQ(analogY(0.5, 0, 240), 70);
    EXPECT_EQ(analogY(-0.5, 0, 240), 170);
    ColumnBuffer buf;
    reduceAnalog(a.data(), 0, 8, 8, 10, 250, buf);
    EXPECT_EQ(buf.minY[0], 10);  // 1.5 V rests on the top edge
    EXPECT_EQ(buf.clip[0], kClipAbove);
    EXPECT_EQ(buf.clip[1], kClipNone);
    EXPECT_EQ(buf.minY[2], 250);
    EXPECT_EQ(buf.clip[2], kClipBelow);
    EXPECT_EQ(buf.minY[3], analogY(0.0, 10, 250));  // NaN draws as 0 V
    EXPECT_EQ(buf.maxY[3], 130);
    EXPECT_EQ(buf.clip[3], kClipNone);
    EXPECT_EQ(buf.minY[4], 10);
    EXPECT_EQ(buf.clip[4], kClipAbove);
    EXPECT_EQ(buf.maxY[5], 250);
    EXPECT_EQ(buf.clip[5], kClipBelow);

    // Both sides in one column: the later sample decides the flag.
    ColumnBuffer one;
    reduceAnalog(a.data() + 6, 0, 2, 1, 10, 250, one);
    EXPECT_EQ(one.clip[0], kClipAbove);
    EXPECT_EQ(one.minY[0], 10);
    EXPECT_EQ(one.maxY[0], 250);
}

// Spans below the width (a staircase: the columns between samples repeat the
// previous one) and above it (the last sample rounds to column W and is kept
// in W - 1) included.
TEST(ColumnReduction, MatchesThePerSampleRuleOnRandomData) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> volts(-1.5, 1.5);
    std::uniform_int_distribution<int> level(0, 9);
    const std::uint32_t n = 20011;
    std::vector<double> a(n);
    std::vector<std::uint8_t> d(n);
    for (auto& v : a) v = volts(rng);
    for (auto& v : d) v = static_cast<std::uint8_t>(level(rng) < 5 ? 0 : (level(rng) == 9 ? 2 : 1));
    // Long runs so that the eight-at-a-time path sees uniform words too.
    for (std::uint32_t i = 5000; i < 9000; ++i) d[i] = 1;
    for (std::uint32_t i = 12000; i < 15000; ++i) d[i] = 0;

    for (std::uint32_t scroll : {0u, 13u, 4000u}) {
        for (std::uint32_t span : {1u, 7u, 999u, 1000u, 16000u}) {
            for (int w : {1, 333, 1000}) {
                std::vector<int> ya(span), yd(span);
                for (std::uint32_t k = 0; k < span; ++k) {
                    ya[k] = analogY(a[scroll + k], 5, 205);
                    yd[k] = d[scroll + k] == 1 ? 300 : 320;
                }
                ColumnBuffer got, want;
                reduceAnalog(a.data(), scroll, span, w, 5, 205, got);
                referenceReduce(ya, span, w, want, 5, 205);
                for (int c = 0; c < w; ++c) {
                    ASSERT_EQ(got.minY[c], want.minY[c]) << scroll << " " << span << " " << w << " " << c;
                    ASSERT_EQ(got.maxY[c], want.maxY[c]);
                    ASSERT_EQ(got.last[c], want.last[c]);
                }
                reduceDigital(d.data(), scroll, span, w, 300, 320, got);
                referenceReduce(yd, span, w, want, 300, 320);
                for (int c = 0; c < w; ++c) {
                    ASSERT_EQ(got.minY[c], want.minY[c]) << scroll << " " << span << " " << w << " " << c;
                    ASSERT_EQ(got.maxY[c], want.maxY[c]);
                    ASSERT_EQ(got.last[c], want.last[c]);
                }
            }
        }
    }
}

TEST(TimeGrid, StepsAndLines) {
    // 1,000 ns visible over 100 samples of 10 ns: raw 200 -> 200 ns, 20 samples.
    GridStep s = timeGridStep(10, 100);
    EXPECT_EQ(s.stepNs, 200);
    EXPECT_EQ(s.stepSamples, 20u);
    EXPECT_EQ(timeGridStep(10, 70).stepNs, 100);        // 140 -> 1
    EXPECT_EQ(timeGridStep(10, 250).stepNs, 500);       // 500 -> 5
    EXPECT_EQ(timeGridStep(10, 400).stepNs, 1000);      // 800 -> 10
    EXPECT_EQ(timeGridStep(100, 3).stepNs, 100);        // fewer than five samples: one per step
    EXPECT_EQ(timeGridStep(30, 5).stepSamples, 1u);     // a 20 ns step is finer than Ts: one sample

    GridLines g = timeGridLines(Viewport{0, 100, 0, 999}, s);
    ASSERT_EQ(g.count, 5);
    EXPECT_EQ(g.index[0], 0u);
    EXPECT_EQ(g.index[4], 80u);
    g = timeGridLines(Viewport{30, 100, 0, 999}, s);  // not at the start: multiples only
    ASSERT_EQ(g.count, 5);
    EXPECT_EQ(g.index[0], 40u);
    EXPECT_EQ(g.index[4], 120u);
}

TEST(Labels, AllocatedLanes) {
    for (int i = 0; i < 8; ++i) EXPECT_EQ(laneAllocated(12, i), i < 4) << i;
    EXPECT_TRUE(laneAllocated(8, 7));
    EXPECT_FALSE(laneAllocated(14, 2));
}

TEST(Labels, Times) {
    const int u = labelUnit(1048576LL * 100);  // 104.8576 mS
    EXPECT_EQ(u, 2);
    EXPECT_EQ(timeLabelText(20000000, u), "20 mS");
    EXPECT_EQ(timeLabelText(1500, 1), "1.5 uS");
}

}  // namespace
}  // namespace lyr::view
