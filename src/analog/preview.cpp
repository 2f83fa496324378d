#include "analog/preview.h"

#include <algorithm>
#include <cmath>

namespace lyr::analog {

namespace {

struct Scale {
    long double scale, y0;
};

Scale scaleOf(const PlotRect& r) {
    const long double h = r.bottom - r.top;
    return {-0.5L * h / 1.2L, r.top + 0.5L * h + 0.5L};
}

}  // namespace

void PreviewColumns::reserveFor(const PlotRect& r) {
    rect = r;
    const std::size_t w = static_cast<std::size_t>(std::max(0, r.width()));
    lastY.assign(w, 0);
    minY.assign(w, 0);
    maxY.assign(w, 0);
    clip.assign(w, kClipNone);
}

int levelRow(const PlotRect& rect, double volts) {
    const Scale s = scaleOf(rect);
    return static_cast<int>(static_cast<long double>(volts) * s.scale + s.y0);
}

void computePreviewColumns(const PlotRect& rect, const double* values, std::size_t count, PreviewColumns& out) {
    if (out.rect.left != rect.left || out.rect.top != rect.top || out.rect.right != rect.right ||
        out.rect.bottom != rect.bottom || out.columns() != rect.width())
        out.reserveFor(rect);
    const int w = out.columns();
    if (w <= 0) return;
    const Scale s = scaleOf(rect);
    const int zeroRow = static_cast<int>(s.y0);
    for (int c = 0; c < w; ++c) {
        out.minY[c] = rect.bottom + 1000;
        out.maxY[c] = rect.top - 1000;
        out.clip[c] = kClipNone;
        out.lastY[c] = zeroRow;
    }
    const long double k = static_cast<long double>(w) / static_cast<long double>(count);
    for (std::size_t j = 0; j < count; ++j) {
        const long double pos = static_cast<long double>(j) * k + 0.5L;
        if (pos >= w) continue;  // the last samples of a long segment fall past the plot
        const int c = static_cast<int>(pos);
        long double v = values[j];
        if (std::isnan(v)) continue;  // no level to draw
        if (v < -1.2L) {
            out.clip[c] = kClipBelow;
            v = -1.2L;
        } else if (v > 1.2L) {
            out.clip[c] = kClipAbove;
            v = 1.2L;
        }
        const int y = static_cast<int>(v * s.scale + s.y0);
        out.lastY[c] = y;
        out.minY[c] = std::min(out.minY[c], y);
        out.maxY[c] = std::max(out.maxY[c], y);
    }
    if (out.minY[0] == rect.bottom + 1000) out.minY[0] = out.maxY[0] = out.lastY[0];
    for (int c = 1; c < w; ++c) {
        if (out.minY[c] == rect.bottom + 1000) {
            out.lastY[c] = out.minY[c] = out.maxY[c] = out.lastY[c - 1];
            out.clip[c] = out.clip[c - 1];
        }
        out.minY[c] = std::min(out.minY[c], out.lastY[c - 1]);
        out.maxY[c] = std::max(out.maxY[c], out.lastY[c - 1]);
    }
}

void SketchDisplayList::begin(const PlotRect& frame) {
    frame_ = frame;
    lines_.clear();
    labels_.clear();
    lines_.reserve(kMaxLines);
    labels_.reserve(kMaxLabels);
}

void SketchDisplayList::addLine(int x1, int y1, int x2, int y2, std::uint32_t colour, int style) {
    if (lines_.size() >= kMaxLines) return;
    lines_.push_back({x1, y1, x2, y2, colour, style});
}

void SketchDisplayList::addLabel(std::string text, int x, int y, SketchAlign align, std::uint32_t colour,
                                 std::uint32_t background) {
    if (labels_.size() >= kMaxLabels) return;
    labels_.push_back({std::move(text), x, y, align, colour, background});
}

int SketchDisplayList::mapX(int x) const {
    const double px = frame_.left + std::trunc((frame_.right - frame_.left) / 1000.0 * x + 0.5);
    return static_cast<int>(std::clamp<double>(px, frame_.left, frame_.right));
}

int SketchDisplayList::mapY(int y) const {
    const double py = frame_.top + std::trunc((frame_.bottom - frame_.top) / 1000.0 * y + 0.5);
    return static_cast<int>(std::clamp<double>(py, frame_.top, frame_.bottom));
}

namespace {

// Eight pixels of a head with its tip at (x, y); (dx, dy) points from the tip
// back along the line.
void addHead(std::vector<Pixel>& px, int x, int y, int dx, int dy) {
    static const int back[4] = {2, 3, 4, 5};
    static const int side[4] = {1, 1, 2, 2};
    for (int i = 0; i < 4; ++i) {
        if (dx == 0) {
            px.push_back({x - side[i], y + dy * back[i]});
            px.push_back({x + side[i], y + dy * back[i]});
        } else {
            px.push_back({x + dx * back[i], y - side[i]});
            px.push_back({x + dx * back[i], y + side[i]});
        }
    }
}

}  // namespace

std::vector<Pixel> SketchDisplayList::linePixels(const SketchLine& line) const {
    std::vector<Pixel> px;
    const int x1 = mapX(line.x1), y1 = mapY(line.y1), x2 = mapX(line.x2), y2 = mapY(line.y2);
    const int ex = x2 + (x2 > x1 ? 1 : x2 < x1 ? -1 : 0);
    const int ey = y2 + (y2 > y1 ? 1 : y2 < y1 ? -1 : 0);
    // Bresenham from the first point to the extended second point, end excluded
    // as a pen stroke leaves it.
    int x = x1, y = y1;
    const int dx = std::abs(ex - x1), sx = x1 < ex ? 1 : -1;
    const int dy = -std::abs(ey - y1), sy = y1 < ey ? 1 : -1;
    int err = dx + dy;
    while (!(x == ex && y == ey)) {
        px.push_back({x, y});
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    switch (line.style) {
    case 1: addHead(px, x1, y1, 0, 1); break;
    case 2: addHead(px, x2, y2 + 1, 0, -1); break;
    case 5:
        addHead(px, x1, y1, 0, 1);
        addHead(px, x2, y2 + 1, 0, -1);
        break;
    case 3: addHead(px, x1, y1, 1, 0); break;
    case 4: addHead(px, x2 + 1, y2, -1, 0); break;
    case 6:
        addHead(px, x1, y1, 1, 0);
        addHead(px, x2 + 1, y2, -1, 0);
        break;
    default: break;
    }
    return px;
}

int sketchXOf(double j, double count) { return static_cast<int>(j / count * 1000.0 + 0.5); }

int sketchYOf(double volts) { return static_cast<int>(500.0 - volts / 1.2 * 500.0 + 0.5); }

}  // namespace lyr::analog
