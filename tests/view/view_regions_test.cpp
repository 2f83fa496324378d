#include "view/view_regions.h"

#include <gtest/gtest.h>

#include <vector>

namespace lyr::view {
namespace {

bool overlap(const Rect& a, const Rect& b) { return !isEmpty(intersect(a, b)); }
bool inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// The elements paint disjoint areas inside the client, and each hit box lies in its own area,
// at every window size: so the order of painting and of asking cannot change the result.
TEST(ViewRegions, AreasAreDisjointAndHoldTheirHitBoxes) {
    for (auto [w, h] : std::vector<std::pair<int, int>>{{320, 240}, {1022, 553}, {1600, 900}, {6000, 900}}) {
        const Layout l = layoutView(w, h);
        const Rect client{0, 0, w - 1, h - 1};
        const std::vector<Rect> areas{rulerArea(l), l.cursorStrip, l.markStrip, analogArea(l), lanesArea(l)};
        for (std::size_t i = 0; i < areas.size(); ++i) {
            EXPECT_FALSE(isEmpty(areas[i])) << w << " area " << i;
            EXPECT_TRUE(inside(areas[i], client)) << w << " area " << i;
            for (std::size_t j = i + 1; j < areas.size(); ++j) EXPECT_FALSE(overlap(areas[i], areas[j])) << w << " " << i << "/" << j;
        }
        EXPECT_TRUE(inside(analogHitBox(l), analogArea(l))) << w;
        for (int k = 0; k < kLaneCount; ++k) {
            EXPECT_TRUE(inside(l.laneArea[k], laneBox(l, k))) << w << " CH" << k;
            EXPECT_TRUE(inside(l.laneLabel[k], laneBox(l, k))) << w << " CH" << k;
            if (k > 0) {
                EXPECT_FALSE(overlap(laneBox(l, k - 1), laneBox(l, k))) << w << " CH" << k;
            }
        }
        // Both markers reach the bottom of CH7 from under their own strip.
        for (Marker m : {Marker::Cursor, Marker::TimeMark}) {
            const Rect box = handleBox(l, m, 200);
            EXPECT_TRUE(inside(box, markerStrip(l, m))) << w;
            EXPECT_EQ(markerLine(l, m, 200).top, markerStrip(l, m).bottom + 1);
            EXPECT_EQ(markerLine(l, m, 200).bottom, l.laneArea[kLaneCount - 1].bottom);
            EXPECT_TRUE(inside(markerLine(l, m, 200), repaintStrip(l, 200))) << w;
        }
    }
}

TEST(ViewRegions, HitBoxesAtTheirEdges) {
    const Layout l = layoutView(1022, 553);
    const Rect& p = l.plot;
    const Rect& ch3 = l.laneArea[3];
    struct Case {
        const char* what;
        int x, y;
        bool ruler, analog;
        int lane;
    };
    const Case cases[] = {
        {"top left corner", 0, 0, true, false, -1},
        {"separator's last row", 1021, l.separator.bottom, true, false, -1},
        {"cursor strip", 500, l.cursorStrip.top, false, false, -1},
        {"plot frame top left", p.left - 1, p.top - 1, false, true, -1},
        {"plot frame bottom right", p.right + 1, p.bottom + 1, false, true, -1},
        {"left of the frame", p.left - 2, p.top + 10, false, false, -1},
        {"below the frame", p.left + 10, p.bottom + 2, false, false, -1},
        {"CH3 label at the left edge", 0, ch3.top, false, false, 3},
        {"CH3 frame bottom right", ch3.right, ch3.bottom, false, false, 3},
        {"right of CH3", ch3.right + 1, ch3.top + 3, false, false, -1},
        {"gap above CH3", 100, ch3.top - 1, false, false, -1},
        {"CH7 last row", 100, l.bottomOfLines, false, false, 7},
        {"under CH7", 100, l.bottomOfLines + 1, false, false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rulerHit(l, c.x, c.y), c.ruler) << c.what;
        EXPECT_EQ(analogHit(l, c.x, c.y), c.analog) << c.what;
        EXPECT_EQ(laneHit(l, c.x, c.y), c.lane) << c.what;
    }
}

TEST(ViewRegions, MarkersHandlesAndTheRepaintStrip) {
    const Layout l = layoutView(1022, 553);  // handles 11 x 10
    struct Case {
        Marker m;
        int x;
        Rect handle;
    };
    const Case cases[] = {
        {Marker::Cursor, 100, {95, 24, 105, 33}},
        {Marker::TimeMark, 100, {95, 34, 105, 43}},
        {Marker::Cursor, 0, {-5, 24, 5, 33}},  // may reach past the client; painting clips it
    };
    for (const Case& c : cases) {
        const Rect b = handleBox(l, c.m, c.x);
        EXPECT_EQ(b.left, c.handle.left);
        EXPECT_EQ(b.top, c.handle.top);
        EXPECT_EQ(b.right, c.handle.right);
        EXPECT_EQ(b.bottom, c.handle.bottom);
    }
    const Rect s = repaintStrip(l, 300);
    EXPECT_EQ(s.width(), 3);
    EXPECT_EQ(s.left, 299);
    EXPECT_EQ(s.top, l.cursorStrip.top);
    EXPECT_EQ(s.bottom, l.bottomOfLines);
    // A marker is drawn on the plot's columns and on the one just right of them.
    EXPECT_FALSE(markerColumnVisible(l, l.plot.left - 1));
    EXPECT_TRUE(markerColumnVisible(l, l.plot.left));
    EXPECT_TRUE(markerColumnVisible(l, l.plot.right + 1));
    EXPECT_FALSE(markerColumnVisible(l, l.plot.right + 2));
}

TEST(ViewRegions, ColumnStrokesJoinThePreviousColumnAndClipMarksSitOutsideThePlot) {
    ColumnBuffer b;
    const int top = 10, bottom = 100;
    // column: min, max, last, clip
    const int cols[][4] = {{50, 60, 55, kClipNone},      // 0: alone
                           {20, 30, 25, kClipNone},      // 1: joins 55 from column 0
                           {110, -10, 0, kClipNone},     // 2: empty
                           {70, 70, 70, kClipAbove},     // 3: previous is empty: no join
                           {5, 200, 40, kClipBelow}};    // 4: clamped to top..bottom
    for (int c = 0; c < 5; ++c) {
        b.minY[c] = cols[c][0];
        b.maxY[c] = cols[c][1];
        b.last[c] = cols[c][2];
        b.clip[c] = static_cast<std::uint8_t>(cols[c][3]);
    }
    const Stroke want[] = {{50, 60}, {20, 55}, {0, -1}, {70, 70}, {10, 100}};
    const int clipY[] = {-1, -1, -1, top - 1, bottom + 1};
    for (int c = 0; c < 5; ++c) {
        const Stroke s = columnStroke(b, c, top, bottom);
        EXPECT_EQ(s.lo, want[c].lo) << c;
        EXPECT_EQ(s.hi, want[c].hi) << c;
        EXPECT_EQ(clipMarkY(b, c, top, bottom), clipY[c]) << c;
    }
    b.clip[2] = kClipAbove;  // an empty column never carries a mark
    EXPECT_EQ(clipMarkY(b, 2, top, bottom), -1);
}

}  // namespace
}  // namespace lyr::view
