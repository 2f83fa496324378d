#include "view/view_regions.h"

namespace lyr::view {

Rect unite(const Rect& a, const Rect& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Rect intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Rect rulerArea(const Layout& l) { return {0, l.timeLabels.top, l.clientWidth - 1, l.separator.bottom}; }

Rect analogHitBox(const Layout& l) {
    return {l.plot.left - 1, l.plot.top - 1, l.plot.right + 1, l.plot.bottom + 1};
}

Rect analogArea(const Layout& l) { return unite(l.voltLabels, analogHitBox(l)); }

Rect laneBox(const Layout& l, int lane) {
    const Rect& a = l.laneArea[lane];
    return {0, a.top, a.right, a.bottom};
}

Rect lanesArea(const Layout& l) { return unite(laneBox(l, 0), laneBox(l, kLaneCount - 1)); }

int laneHit(const Layout& l, int x, int y) {
    for (int i = 0; i < kLaneCount; ++i) {
        if (laneBox(l, i).contains(x, y)) return i;
    }
    return -1;
}

Rect markerStrip(const Layout& l, Marker m) { return m == Marker::Cursor ? l.cursorStrip : l.markStrip; }

Rect handleBox(const Layout& l, Marker m, int x) {
    const bool cursor = m == Marker::Cursor;
    const int w = cursor ? l.handles.cursorWidth : l.handles.markWidth;
    const int h = cursor ? l.handles.cursorHeight : l.handles.markHeight;
    const int top = markerStrip(l, m).top;
    const int left = x - w / 2;
    return {left, top, left + w - 1, top + h - 1};
}

Rect markerLine(const Layout& l, Marker m, int x) {
    return {x, markerStrip(l, m).bottom + 1, x, l.bottomOfLines};
}

Rect markerArea(const Layout& l, Marker m, int x) { return unite(handleBox(l, m, x), markerLine(l, m, x)); }

Rect repaintStrip(const Layout& l, int x) { return {x - 1, l.cursorStrip.top, x + 1, l.bottomOfLines}; }

}  // namespace lyr::view
