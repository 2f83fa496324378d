#pragma once
// The elements CSYNView is made of: background, time ruler, analog plot,
// digital lanes and the two position markers (cursor, time mark). Each paints
// its own area of the off-screen image over the shared layout and answers its
// own hit test; CSYNView composes them.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>

#include "view/view_geometry.h"
#include "view/view_regions.h"

class QPainter;

namespace lyr::view {

namespace colours {
inline const QColor grey(127, 127, 127);
inline const QColor white(255, 255, 255);
inline const QColor trace(0, 0, 255);
inline const QColor clip(255, 255, 0);
inline const QColor grid(200, 200, 200);
inline const QColor black(0, 0, 0);
inline const QColor cursor(255, 0, 0);
inline const QColor mark(0, 255, 0);
}  // namespace colours

inline QRect toQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)); }

// What one painting pass shares: the viewport with its time grid, the time
// base, the window's face colour and the part of the image to paint. Elements
// skip whatever lies outside `dirty`; the painter is clipped to it.
struct PaintPass {
    Viewport viewport;
    std::int64_t samplingNs = 0;
    int labelUnit = 0;
    int analogResolution = 12;
    QColor face;
    QRect dirty;
    // Grid lines inside the plot's columns: sample index and x of each.
    int gridCount = 0;
    std::array<std::uint32_t, 64> gridIndex{};
    std::array<int, 64> gridX{};
};

// The pass of a viewport over a layout, dirty = the whole client.
PaintPass makePaintPass(const Layout& l, const Viewport& vp, std::int64_t samplingNs, std::int64_t totalNs,
                        int analogResolution, const QColor& face);

// Grey under the time strips and handle strips, the face colour below them.
class ViewBackground {
public:
    void paint(QPainter& p, const Layout& l, const PaintPass& pass) const;
};

// Time labels and the separator with a tick at each grid line; the zoom strip.
class TimeRuler {
public:
    TimeRuler();
    void paint(QPainter& p, const Layout& l, const PaintPass& pass) const;
    bool hitTest(const Layout& l, QPoint pt) const { return rulerHit(l, pt.x(), pt.y()); }

private:
    QFont font_;
};

// Voltage labels, grid and frame of the plot, the trace and its clip marks.
class AnalogPlot {
public:
    AnalogPlot();
    // Reduces the visible samples to one stroke per plot column.
    void reduce(const double* samples, const Viewport& vp, const Layout& l);
    void paint(QPainter& p, const Layout& l, const PaintPass& pass) const;
    // Trace strokes and clip marks of plot columns c0..c1, straight into the image.
    void paintTrace(QImage& img, const Layout& l, int c0, int c1) const;
    bool hitTest(const Layout& l, QPoint pt) const { return analogHit(l, pt.x(), pt.y()); }
    const ColumnBuffer& columns() const { return columns_; }

private:
    QFont font_;
    ColumnBuffer columns_;
};

// CH0..CH7: labels (bold when part of the device word), frames, reference
// lines and traces.
class DigitalLanes {
public:
    DigitalLanes();
    void reduce(const std::array<const std::uint8_t*, kLaneCount>& levels, const Viewport& vp, const Layout& l);
    void paint(QPainter& p, const Layout& l, const PaintPass& pass) const;
    void paintTrace(QImage& img, const Layout& l, int c0, int c1) const;
    int hitTest(const Layout& l, QPoint pt) const { return laneHit(l, pt.x(), pt.y()); }

private:
    QFont normal_;
    QFont bold_;
    std::array<ColumnBuffer, kLaneCount> columns_;
};

// The cursor or the time mark: a handle in its strip over a line down to CH7.
// It remembers where it was drawn so that it can be hit and erased there.
class PositionMarker {
public:
    explicit PositionMarker(Marker kind);
    Marker kind() const { return kind_; }
    int handleWidth() const { return handle_.width(); }
    int handleHeight() const { return handle_.height(); }
    void paint(QPainter& p, const Layout& l, int x);
    // Painted over (by a full render); hit tests fail until painted again.
    void forget() { drawn_ = false; }
    bool drawn() const { return drawn_; }
    int x() const { return x_; }
    bool hitTest(const Layout& l, QPoint pt) const {
        return drawn_ && handleBox(l, kind_, x_).contains(pt.x(), pt.y());
    }

private:
    Marker kind_;
    QColor colour_;
    QImage handle_;
    bool drawn_ = false;
    int x_ = 0;
};

}  // namespace lyr::view
