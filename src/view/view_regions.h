#pragma once
// What each element of the waveform view covers on screen: the area it paints and
// the box it answers hit tests in, all derived from the shared layout. The
// widget's elements paint and hit-test through these; the context menus ask
// them in the order of ViewRegion.
#include <algorithm>

#include "view/view_geometry.h"

namespace lyr::view {

// Where a point lies, for the context menus (asked in this order).
enum class ViewRegion { None, AnalogPlot, CursorHandle, MarkHandle, ZoomStrip, Lane };

struct ViewHit {
    ViewRegion region = ViewRegion::None;
    int lane = -1;  // 0..7 when region is Lane
    bool operator==(const ViewHit&) const = default;
};

// The two position markers: each has its handle strip and line colour.
enum class Marker { Cursor, TimeMark };

// Smallest rectangle holding both (an empty one adds nothing).
Rect unite(const Rect& a, const Rect& b);
// Common part; empty (width <= 0) when they do not meet.
Rect intersect(const Rect& a, const Rect& b);
inline bool isEmpty(const Rect& r) { return r.width() <= 0 || r.height() <= 0; }

// --- time ruler: time labels and the separator with its ticks ---
Rect rulerArea(const Layout& l);
// The zoom strip the double click and the "Zoom" popup answer to.
inline bool rulerHit(const Layout& l, int x, int y) { return rulerArea(l).contains(x, y); }

// --- analog plot: voltage labels, the plot with its frame ---
Rect analogArea(const Layout& l);
Rect analogHitBox(const Layout& l);  // the plot and its frame
inline bool analogHit(const Layout& l, int x, int y) { return analogHitBox(l).contains(x, y); }

// --- digital lanes: label and framed area of each ---
Rect laneBox(const Layout& l, int lane);  // label and framed area; also its hit box
Rect lanesArea(const Layout& l);             // every lane
int laneHit(const Layout& l, int x, int y);  // 0..7, or -1

// --- cursor and time mark: handle in its strip, line down to CH7 ---
Rect markerStrip(const Layout& l, Marker m);
Rect handleBox(const Layout& l, Marker m, int x);
Rect markerLine(const Layout& l, Marker m, int x);
Rect markerArea(const Layout& l, Marker m, int x);  // handle and line
// Whether a marker drawn at x stands inside the plot's columns (or just right of it).
inline bool markerColumnVisible(const Layout& l, int x) { return x >= l.plot.left && x <= l.plot.right + 1; }

// Columns x - 1 .. x + 1 from the cursor strip down to CH7: what a moved
// marker leaves behind and a column-local repaint restores.
Rect repaintStrip(const Layout& l, int x);

// One column's stroke: its own range joined to the previous column's last
// sample, so that edges are drawn, clamped to top..bottom. Empty (lo > hi)
// when no sample fell into the column.
struct Stroke {
    int lo = 0;
    int hi = -1;
};
inline Stroke columnStroke(const ColumnBuffer& b, int c, int top, int bottom) {
    Stroke s{b.minY[c], b.maxY[c]};
    if (s.lo > s.hi) return {0, -1};
    if (c > 0 && b.minY[c - 1] <= b.maxY[c - 1]) {
        s.lo = std::min(s.lo, b.last[c - 1]);
        s.hi = std::max(s.hi, b.last[c - 1]);
    }
    s.lo = std::max(s.lo, top);
    s.hi = std::min(s.hi, bottom);
    return s;
}

// The row of a column's clip mark: just above or below the plot; -1 for none.
inline int clipMarkY(const ColumnBuffer& b, int c, int top, int bottom) {
    if (b.minY[c] > b.maxY[c]) return -1;
    if (b.clip[c] == kClipBelow) return bottom + 1;
    if (b.clip[c] == kClipAbove) return top - 1;
    return -1;
}

}  // namespace lyr::view
