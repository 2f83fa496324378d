// Column reduction of the preview and the sketch display list.
#include <gtest/gtest.h>

#include <vector>

#include "analog/preview.h"

namespace lyr::analog {
namespace {

TEST(Preview, ClippedValuesSitOnTheEdgeRowsWithAFlag) {
    const PlotRect r{0, 0, 99, 240};
    PreviewColumns c;
    const std::vector<double> v{3.0, -3.0, 0.0, 1.0};
    computePreviewColumns(r, v.data(), v.size(), c);
    ASSERT_EQ(c.columns(), 100);
    EXPECT_EQ(c.clip[0], kClipAbove);
    EXPECT_EQ(c.minY[0], 0);  // the top row
    EXPECT_EQ(c.lastY[25], levelRow(r, -1.2));
    EXPECT_EQ(c.clip[25], kClipBelow);
    EXPECT_EQ(levelRow(r, 0.0), 120);
    EXPECT_EQ(levelRow(r, 1.0), 20);
    // columns between samples repeat the previous one and join it
    EXPECT_EQ(c.lastY[10], c.lastY[0]);
    EXPECT_EQ(c.clip[10], kClipAbove);
    EXPECT_EQ(c.minY[25], c.lastY[24]);
    EXPECT_EQ(c.maxY[25], levelRow(r, -1.2));
}

TEST(Preview, LongSegmentsKeepMinimumAndMaximumPerColumn) {
    const PlotRect r{10, 5, 19, 125};  // ten columns
    std::vector<double> v(1000);
    for (std::size_t j = 0; j < v.size(); ++j) v[j] = (j % 2) ? 1.0 : -1.0;
    PreviewColumns c;
    computePreviewColumns(r, v.data(), v.size(), c);
    for (int col = 0; col < 10; ++col) {
        EXPECT_EQ(c.minY[col], levelRow(r, 1.0)) << col;
        EXPECT_EQ(c.maxY[col], levelRow(r, -1.0)) << col;
        EXPECT_EQ(c.clip[col], kClipNone);
    }
}

TEST(SketchList, MappingCapacityAndHeads) {
    SketchDisplayList l;
    l.begin({100, 50, 300, 150});
    EXPECT_EQ(l.mapX(0), 100);
    EXPECT_EQ(l.mapX(1000), 300);
    EXPECT_EQ(l.mapX(1500), 300);  // clamped
    EXPECT_EQ(l.mapY(500), 100);
    for (int i = 0; i < 60; ++i) l.addLine(0, 0, 10, 10, 0);
    for (int i = 0; i < 25; ++i) l.addLabel("x", 0, 0);
    EXPECT_EQ(l.lines().size(), 50u);
    EXPECT_EQ(l.labels().size(), 20u);

    // a vertical line with an up head at its first point
    const SketchLine up{500, 200, 500, 800, 0, 1};
    const auto px = l.linePixels(up);
    const int x = l.mapX(500), y = l.mapY(200);
    auto has = [&](int px_, int py_) {
        for (const auto& p : px)
            if (p.x == px_ && p.y == py_) return true;
        return false;
    };
    EXPECT_TRUE(has(x, y));
    EXPECT_TRUE(has(x, l.mapY(800)));      // the stroke reaches its second point
    EXPECT_TRUE(has(x - 1, y + 2));
    EXPECT_TRUE(has(x + 2, y + 5));
    EXPECT_FALSE(has(x + 1, y + 1));
    l.begin({0, 0, 10, 10});
    EXPECT_TRUE(l.lines().empty());
}

}  // namespace
}  // namespace lyr::analog
