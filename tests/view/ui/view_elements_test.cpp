#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "view/ui/view_elements.h"
#include "support/qt_app.h"

namespace lyr::view {
namespace {

constexpr QRgb kUnpainted = 0xFFFF00FF;  // a colour no element uses

struct Scene {
    Layout l = layoutView(1022, 553);
    Viewport vp{0, 2000, l.plot.left, l.plot.right};
    PaintPass pass;
    std::vector<double> analog = std::vector<double>(2000);
    std::vector<std::vector<std::uint8_t>> levels = std::vector<std::vector<std::uint8_t>>(kLaneCount);
    ViewBackground background;
    TimeRuler ruler;
    AnalogPlot plot;
    DigitalLanes lanes;

    Scene() {
        lyr::test::qtApp();
        pass = makePaintPass(l, vp, 100, 200000, 12, QColor(240, 240, 240));
        std::array<const std::uint8_t*, kLaneCount> ptrs{};
        for (int i = 0; i < 2000; ++i) analog[i] = 1.4 * std::sin(i * 0.01);  // clips at both edges
        for (int k = 0; k < kLaneCount; ++k) {
            levels[k].resize(2000);
            for (int i = 0; i < 2000; ++i) levels[k][i] = (i >> (k + 2)) & 1;
            ptrs[k] = levels[k].data();
        }
        plot.reduce(analog.data(), vp, l);
        lanes.reduce(ptrs, vp, l);
    }
    QImage blank() const {
        QImage img(l.clientWidth, l.clientHeight, QImage::Format_RGB32);
        img.fill(kUnpainted);
        return img;
    }
    // Everything a full render draws except the markers, as CSYNView composes it.
    void compose(QImage& img, const PaintPass& p, int c0, int c1) const {
        {
            QPainter painter(&img);
            painter.setClipRect(p.dirty);
            background.paint(painter, l, p);
            ruler.paint(painter, l, p);
            plot.paint(painter, l, p);
            lanes.paint(painter, l, p);
        }
        plot.paintTrace(img, l, c0, c1);
        lanes.paintTrace(img, l, c0, c1);
    }
};

// Pixels an element changed on a blank image, and whether all lie inside `area`.
int paintedOutside(const QImage& img, const Rect& area, int* painted) {
    int outside = 0;
    *painted = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == kUnpainted) continue;
            ++*painted;
            outside += !area.contains(x, y);
        }
    }
    return outside;
}

TEST(ViewElements, EachPaintsOnlyItsOwnArea) {
    Scene s;
    PositionMarker cursor(Marker::Cursor), mark(Marker::TimeMark);
    const int x = s.l.plot.left + 300;
    struct Case {
        const char* name;
        std::function<void(QImage&)> paint;
        Rect area;
    };
    const Case cases[] = {
        {"ruler", [&](QImage& img) { QPainter p(&img); s.ruler.paint(p, s.l, s.pass); }, rulerArea(s.l)},
        {"plot", [&](QImage& img) { QPainter p(&img); s.plot.paint(p, s.l, s.pass); }, analogArea(s.l)},
        {"plot trace", [&](QImage& img) { s.plot.paintTrace(img, s.l, 0, s.l.columns() - 1); }, analogHitBox(s.l)},
        {"lanes", [&](QImage& img) { QPainter p(&img); s.lanes.paint(p, s.l, s.pass); }, lanesArea(s.l)},
        {"lane traces", [&](QImage& img) { s.lanes.paintTrace(img, s.l, 0, s.l.columns() - 1); }, lanesArea(s.l)},
        {"cursor", [&](QImage& img) { QPainter p(&img); cursor.paint(p, s.l, x); }, markerArea(s.l, Marker::Cursor, x)},
        {"time mark", [&](QImage& img) { QPainter p(&img); mark.paint(p, s.l, x); }, markerArea(s.l, Marker::TimeMark, x)},
    };
    for (const Case& c : cases) {
        QImage img = s.blank();
        c.paint(img);
        int painted = 0;
        EXPECT_EQ(paintedOutside(img, c.area, &painted), 0) << c.name;
        EXPECT_GT(painted, 0) << c.name;
    }
}

// A column-local repaint (a strip, or a handle box, painted with the painter clipped to it)
// leaves the image exactly as a full render draws it.
TEST(ViewElements, ADirtyRegionRepaintsAsTheFullRender) {
    Scene s;
    QImage full = s.blank();
    s.compose(full, s.pass, 0, s.l.columns() - 1);
    ASSERT_GT(s.pass.gridCount, 2);
    const int gridX = s.pass.gridX[1];
    const Rect regions[] = {repaintStrip(s.l, s.l.plot.left),     repaintStrip(s.l, gridX),
                            repaintStrip(s.l, gridX + 1),         repaintStrip(s.l, gridX - 1),
                            repaintStrip(s.l, s.l.plot.right + 1), handleBox(s.l, Marker::Cursor, gridX),
                            handleBox(s.l, Marker::TimeMark, 3),   repaintStrip(s.l, s.l.plot.left + 700)};
    for (const Rect& r : regions) {
        QImage img = full.copy();
        const QRect dirty = toQRect(r);
        {
            QPainter p(&img);
            p.fillRect(dirty, QColor::fromRgb(kUnpainted));
        }
        PaintPass pass = s.pass;
        pass.dirty = dirty;
        const int c = (r.left + r.right) / 2 - s.l.plot.left;
        s.compose(img, pass, c - 1, c + 1);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ASSERT_EQ(img.pixel(x, y), full.pixel(x, y)) << r.left << ": " << x << "," << y;
    }
}

TEST(ViewElements, MarkersAreHitOnlyWhereTheyWereDrawn) {
    Scene s;
    QImage img = s.blank();
    PositionMarker cursor(Marker::Cursor);
    const QPoint onHandle(400, s.l.cursorStrip.top + 3);
    EXPECT_FALSE(cursor.hitTest(s.l, onHandle));
    {
        QPainter p(&img);
        cursor.paint(p, s.l, 400);
    }
    struct Case {
        QPoint pt;
        bool hit;
    };
    const Case cases[] = {{onHandle, true},
                          {{395, s.l.cursorStrip.top}, true},
                          {{405, s.l.cursorStrip.bottom}, true},
                          {{406, s.l.cursorStrip.top}, false},
                          {{400, s.l.markStrip.top}, false},   // the mark's strip
                          {{400, s.l.plot.top + 5}, false}};   // the line is not a handle
    for (const Case& c : cases) EXPECT_EQ(cursor.hitTest(s.l, c.pt), c.hit) << c.pt.x() << "," << c.pt.y();
    cursor.forget();
    EXPECT_FALSE(cursor.hitTest(s.l, onHandle));
}

}  // namespace
}  // namespace lyr::view
