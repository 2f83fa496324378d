#include "view/view_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "document/quantities.h"

namespace lyr::view {

namespace {

int roundPos(double v) { return static_cast<int>(std::floor(v + 0.5)); }

int clampToInt(double v) {
    // Far outside any plot; keeps the arithmetic of callers overflow-free.
    constexpr double kFar = 1e8;
    if (!(v > -kFar)) return static_cast<int>(-kFar);
    if (v > kFar) return static_cast<int>(kFar);
    return static_cast<int>(std::floor(v));
}

// Names shrink with the lanes down to the smallest readable size. Lanes
// shorter than that get a name only every few lanes, which may reach into the
// margins around the lanes but never into the analog block or another name.
void placeLaneNames(Layout& l, int pitch) {
    const int rows = l.laneArea[0].height();
    l.laneFontPx = std::clamp(rows, kMinLaneFontPx, kLaneFontPx);
    const int every = rows >= kMinLaneFontPx ? 1 : pitch > 0 ? (l.laneFontPx + pitch - 1) / pitch : 0;
    const int highest = l.voltLabels.bottom + 1;
    int free = highest;  // first row below the names placed so far
    for (int i = 0; i < kLaneCount; ++i) {
        l.laneName[i] = Rect{};
        if (every == 0 || i % every != 0) continue;
        const Rect& lane = l.laneArea[i];
        const int top = std::max(lane.top + (lane.height() - l.laneFontPx) / 2, highest);
        const Rect name{0, top, l.laneLabel[i].right - 4, top + l.laneFontPx - 1};
        if (top < free || name.bottom >= l.clientHeight || name.width() <= 0) continue;
        l.laneName[i] = name;
        free = name.bottom + 1;
    }
}

}  // namespace

Layout layoutView(int clientWidth, int clientHeight, const HandleSizes& handles) {
    Layout l;
    l.clientWidth = clientWidth;
    l.clientHeight = clientHeight;
    l.handles = handles;
    const int right = clientWidth - 1;
    const double g = clientWidth / 1022.0;

    l.timeLabels = {0, 0, right, 17};
    l.separator = {0, 18, right, 21};
    l.cursorStrip = {0, 24, right, 24 + handles.cursorHeight - 1};
    l.markStrip = {0, l.cursorStrip.bottom + 1, right, l.cursorStrip.bottom + handles.markHeight};
    const int below = l.markStrip.bottom + 1;

    const int labelWidth = std::max(40, roundPos(40 * g));
    const int marginRight = roundPos(20 * g);
    const int marginLeft = roundPos(6 * g);
    const double u = std::max(0, clientHeight - below) / 553.0;
    const int analogHeight = roundPos(393 * u);
    const int gapSmall = roundPos(6 * u);
    const int gapLarge = roundPos(10 * u);
    const int inset = std::max(1, roundPos(u));

    l.plot.left = labelWidth + marginLeft;
    l.plot.right = right - marginRight;
    // Extra width beyond the column buffers stays unused on the right.
    if (l.plot.width() > kMaxColumns) l.plot.right = l.plot.left + kMaxColumns - 1;
    l.plot.top = below + gapSmall + 1;
    l.plot.bottom = below + analogHeight - gapSmall - 2;
    l.voltLabels = {0, below, l.plot.left - 2, below + analogHeight - 1};

    const int lanesTop = below + analogHeight;
    const int lanesBottom = clientHeight - 1 - gapLarge;
    const int pitch = std::max(0, (lanesBottom - lanesTop + 1) / kLaneCount);
    const int laneGap = std::max(1, gapSmall / 2);
    for (int i = 0; i < kLaneCount; ++i) {
        const int top = lanesTop + i * pitch + laneGap;
        const int bottom = lanesTop + (i + 1) * pitch - 1;
        l.laneArea[i] = {l.plot.left - 1, top, l.plot.right + 1, bottom};
        l.laneFrame[i] = l.laneArea[i];
        l.laneBand[i] = {l.plot.left, top + inset + 1, l.plot.right, bottom - inset - 1};
        l.laneLabel[i] = {0, top, l.plot.left - 2, bottom};
    }
    l.bottomOfLines = l.laneArea[kLaneCount - 1].bottom;
    placeLaneNames(l, pitch);
    return l;
}

int sampleToX(const Viewport& vp, std::uint32_t index) {
    const std::int64_t end = std::int64_t{vp.scroll} + vp.span;
    if (std::int64_t{index} > end) return vp.right + 2;
    const double perSample = static_cast<double>(vp.columns()) / vp.span;
    return vp.left +
           clampToInt(perSample * static_cast<double>(std::int64_t{index} - vp.scroll) + 0.5);
}

std::uint32_t xToSample(const Viewport& vp, int x) {
    if (x > vp.right) return vp.scroll + vp.span;
    if (x < vp.left) return vp.scroll;
    const double perColumn = static_cast<double>(vp.span) / vp.columns();
    return vp.scroll + static_cast<std::uint32_t>(std::floor(perColumn * (x - vp.left) + 0.5));
}

int analogY(double volts, int top, int bottom) {
    // An undefined sample (NaN) is drawn as 0 V: it must never reach the
    // float-to-integer conversion below.
    if (std::isnan(volts)) volts = 0.0;
    volts = std::clamp(volts, -1.2, 1.2);
    const double h = bottom - top;
    return static_cast<int>(std::floor(volts * (-h / 2.4) + (top + h / 2.0 + 0.5)));
}

namespace {

// First offset k (from scroll) whose column floor(k*W/span + 0.5) is c.
inline std::uint64_t columnStart(std::uint64_t c, std::uint64_t span, std::uint64_t w) {
    if (c == 0) return 0;
    const std::uint64_t num = (2 * c - 1) * span;
    return (num + 2 * w - 1) / (2 * w);
}

inline void markEmpty(ColumnBuffer& out, int c, int top, int bottom) {
    out.minY[c] = bottom + 1000;
    out.maxY[c] = top - 1000;
    out.last[c] = bottom + 1000;
    out.clip[c] = kClipNone;
}

inline void repeatPrevious(ColumnBuffer& out, int c) {
    out.minY[c] = out.last[c - 1];
    out.maxY[c] = out.last[c - 1];
    out.last[c] = out.last[c - 1];
    out.clip[c] = out.clip[c - 1];
}

}  // namespace

void reduceAnalog(const double* samples, std::uint32_t scroll, std::uint32_t span, int columns,
                  int top, int bottom, ColumnBuffer& out) {
    columns = std::clamp(columns, 0, kMaxColumns);
    out.count = columns;
    if (columns == 0) return;
    if (span == 0) {
        for (int c = 0; c < columns; ++c) markEmpty(out, c, top, bottom);
        return;
    }
    const double* base = samples + scroll;
    std::uint64_t start = 0;
    for (int c = 0; c < columns; ++c) {
        // Samples rounding past the last column are drawn in it rather than lost.
        const std::uint64_t end =
            (c + 1 == columns) ? span : std::min<std::uint64_t>(span, columnStart(c + 1, span, columns));
        if (end <= start) {
            if (c == 0) markEmpty(out, c, top, bottom);
            else repeatPrevious(out, c);
            continue;
        }
        double lo = std::numeric_limits<double>::infinity();
        double hi = -lo;
        double lo2 = lo, hi2 = hi;
        std::uint64_t j = start;
        for (; j + 1 < end; j += 2) {
            double a = base[j];
            double b = base[j + 1];
            a = (a == a) ? a : 0.0;  // NaN counts as 0 V
            b = (b == b) ? b : 0.0;
            lo = std::min(lo, a);
            hi = std::max(hi, a);
            lo2 = std::min(lo2, b);
            hi2 = std::max(hi2, b);
        }
        if (j < end) {
            double a = base[j];
            a = (a == a) ? a : 0.0;
            lo = std::min(lo, a);
            hi = std::max(hi, a);
        }
        lo = std::min(lo, lo2);
        hi = std::max(hi, hi2);
        std::uint8_t flag = kClipNone;
        if (lo < -1.2 || hi > 1.2) {
            // Rare: find which side was clipped last.
            for (std::uint64_t k = start; k < end; ++k) {
                const double v = base[k];
                if (v < -1.2) flag = kClipBelow;
                else if (v > 1.2) flag = kClipAbove;
            }
        }
        out.minY[c] = analogY(hi, top, bottom);
        out.maxY[c] = analogY(lo, top, bottom);
        out.last[c] = analogY(base[end - 1], top, bottom);
        out.clip[c] = flag;
        start = end;
    }
}

void reduceDigital(const std::uint8_t* levels, std::uint32_t scroll, std::uint32_t span,
                   int columns, int bandTop, int bandBottom, ColumnBuffer& out) {
    columns = std::clamp(columns, 0, kMaxColumns);
    out.count = columns;
    if (columns == 0) return;
    if (span == 0) {
        for (int c = 0; c < columns; ++c) markEmpty(out, c, bandTop, bandBottom);
        return;
    }
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint8_t* base = levels + scroll;
    std::uint64_t start = 0;
    for (int c = 0; c < columns; ++c) {
        const std::uint64_t end =
            (c + 1 == columns) ? span : std::min<std::uint64_t>(span, columnStart(c + 1, span, columns));
        out.clip[c] = kClipNone;
        if (end <= start) {
            if (c == 0) markEmpty(out, c, bandTop, bandBottom);
            else repeatPrevious(out, c);
            continue;
        }
        bool high = false;   // some sample is 1
        bool other = false;  // some sample is not 1
        std::uint64_t j = start;
        // Eight levels at a time; stop early once both levels were seen.
        for (; j + 8 <= end; j += 8) {
            std::uint64_t w;
            std::memcpy(&w, base + j, sizeof w);
            const std::uint64_t d = w ^ kOnes;  // zero byte where the level is 1
            high |= ((d - kOnes) & ~d & kHighs) != 0;
            other |= d != 0;
            if (high && other) {
                j = end;
                break;
            }
        }
        for (; j < end; ++j) {
            if (base[j] == 1) high = true;
            else other = true;
        }
        out.minY[c] = high ? bandTop : bandBottom;
        out.maxY[c] = other ? bandBottom : bandTop;
        out.last[c] = base[end - 1] == 1 ? bandTop : bandBottom;
        start = end;
    }
}

GridStep timeGridStep(std::int64_t samplingNs, std::uint32_t span) {
    GridStep s;
    if (samplingNs <= 0 || span == 0) return s;
    const std::int64_t visible = samplingNs * static_cast<std::int64_t>(span);
    std::int64_t g = visible / std::min<std::int64_t>(span, 5);
    std::int64_t scale = 1;
    while (g >= 10) {
        g /= 10;
        scale *= 10;
    }
    std::int64_t lead;
    if (g <= 1) lead = 1;
    else if (g <= 3) lead = 2;
    else if (g <= 7) lead = 5;
    else lead = 10;
    s.stepNs = lead * scale;
    // A step finer than one sample still advances one sample per line.
    s.stepSamples = static_cast<std::uint32_t>(std::max<std::int64_t>(1, s.stepNs / samplingNs));
    return s;
}

GridLines timeGridLines(const Viewport& vp, const GridStep& step) {
    GridLines g;
    const std::uint64_t st = std::max<std::uint32_t>(1, step.stepSamples);
    const std::uint64_t end = std::uint64_t{vp.scroll} + vp.span;
    if (vp.scroll == 0) g.index[g.count++] = 0;
    for (std::uint64_t m = (vp.scroll / st + 1) * st; m < end && g.count < static_cast<int>(g.index.size());
         m += st) {
        g.index[g.count++] = static_cast<std::uint32_t>(m);
    }
    return g;
}

int labelUnit(std::int64_t totalNs) {
    int unit = 0;
    (void)document::formatTimeAuto(totalNs, unit);
    return unit;
}

std::string timeLabelText(std::int64_t ns, int unit) {
    std::string text;
    document::formatTimeIn(ns, unit, text);
    return text + " " + document::unitName(unit);
}

}  // namespace lyr::view
