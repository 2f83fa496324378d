#include "view/ui/view_elements.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QStringList>
#include <algorithm>

#include "document/quantities.h"

namespace lyr::view {

namespace {

QFont labelFont() {
    QFont f;
    f.setFamilies(QStringList{QStringLiteral("MSゴシック"), QStringLiteral("MS Gothic"),
                              QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(12);
    f.setWeight(QFont::Normal);
    return f;
}

QFont laneFont(QFont::Weight weight) {
    QFont f;
    f.setFamilies(QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(14);
    f.setWeight(weight);
    return f;
}

QImage makeHandle(const QColor& fill, int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A downward arrow: a body over a point that meets the line.
    QPolygon arrow;
    arrow << QPoint(0, 0) << QPoint(w - 1, 0) << QPoint(w - 1, h / 2) << QPoint(w / 2, h - 1) << QPoint(0, h / 2);
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawPolygon(arrow);
    return img;
}

// A horizontal line from x0 to x1 cut to the dirty columns.
void hLine(QPainter& p, const QRect& dirty, int x0, int x1, int y) {
    x0 = std::max(x0, dirty.left());
    x1 = std::min(x1, dirty.right());
    if (x0 <= x1) p.drawLine(x0, y, x1, y);
}

bool inColumns(const QRect& dirty, int x) { return x >= dirty.left() && x <= dirty.right(); }

void strokeColumns(QImage& img, const ColumnBuffer& b, int left, int top, int bottom, int c0, int c1, QRgb colour) {
    QRgb* bits = reinterpret_cast<QRgb*>(img.bits());
    const int stride = static_cast<int>(img.bytesPerLine() / sizeof(QRgb));
    for (int c = c0; c <= c1; ++c) {
        const Stroke s = columnStroke(b, c, top, bottom);
        QRgb* px = bits + left + c;
        for (int y = s.lo; y <= s.hi; ++y) px[y * stride] = colour;
    }
}

// Plot columns c0..c1 cut to the buffer; false when none remain.
bool clampColumns(const Layout& l, int& c0, int& c1) {
    c0 = std::max(c0, 0);
    c1 = std::min(c1, l.columns() - 1);
    return c0 <= c1;
}

}  // namespace

PaintPass makePaintPass(const Layout& l, const Viewport& vp, std::int64_t samplingNs, std::int64_t totalNs,
                        int analogResolution, const QColor& face) {
    PaintPass pass;
    pass.viewport = vp;
    pass.samplingNs = samplingNs;
    pass.labelUnit = labelUnit(totalNs);
    pass.analogResolution = analogResolution;
    pass.face = face;
    pass.dirty = QRect(0, 0, l.clientWidth, l.clientHeight);
    const GridLines lines = timeGridLines(vp, timeGridStep(samplingNs, vp.span));
    for (int k = 0; k < lines.count; ++k) {
        const int x = sampleToX(vp, lines.index[k]);
        if (x < l.plot.left || x > l.plot.right + 1) continue;
        pass.gridIndex[pass.gridCount] = lines.index[k];
        pass.gridX[pass.gridCount] = x;
        ++pass.gridCount;
    }
    return pass;
}

// ------------------------------------------------------------ background

void ViewBackground::paint(QPainter& p, const Layout& l, const PaintPass& pass) const {
    const QRect client(0, 0, l.clientWidth, l.clientHeight);
    p.fillRect(pass.dirty & client, colours::grey);
    const QRect below(0, l.markStrip.bottom + 1, l.clientWidth, l.clientHeight - l.markStrip.bottom - 1);
    p.fillRect(pass.dirty & below, pass.face);
}

// ------------------------------------------------------------ time ruler

TimeRuler::TimeRuler() : font_(labelFont()) {}

void TimeRuler::paint(QPainter& p, const Layout& l, const PaintPass& pass) const {
    const QRect area = toQRect(rulerArea(l));
    if (!pass.dirty.intersects(area)) return;
    p.fillRect(area, pass.face);
    p.setPen(colours::black);
    p.drawLine(0, l.separator.bottom, l.clientWidth - 1, l.separator.bottom);
    p.setFont(font_);
    const QFontMetrics fm(font_);
    for (int k = 0; k < pass.gridCount; ++k) {
        const int x = pass.gridX[k];
        p.drawLine(x, l.separator.top, x, l.separator.bottom);
        const QString text = QString::fromStdString(
            timeLabelText(static_cast<std::int64_t>(pass.gridIndex[k]) * pass.samplingNs, pass.labelUnit));
        p.drawText(x - fm.horizontalAdvance(text) / 2, l.timeLabels.bottom - fm.descent(), text);
    }
}

// ------------------------------------------------------------ analog plot

AnalogPlot::AnalogPlot() : font_(labelFont()) {}

void AnalogPlot::reduce(const double* samples, const Viewport& vp, const Layout& l) {
    reduceAnalog(samples, vp.scroll, vp.span, l.columns(), l.plot.top, l.plot.bottom, columns_);
}

void AnalogPlot::paint(QPainter& p, const Layout& l, const PaintPass& pass) const {
    const QRect& dirty = pass.dirty;
    if (!dirty.intersects(toQRect(analogArea(l)))) return;
    const int top = l.plot.top;
    const int bottom = l.plot.bottom;
    p.fillRect(dirty & toQRect(analogHitBox(l)), colours::white);
    p.setPen(colours::grid);
    for (int k = 0; k < pass.gridCount; ++k) {
        if (inColumns(dirty, pass.gridX[k])) p.drawLine(pass.gridX[k], top, pass.gridX[k], bottom);
    }
    p.setPen(colours::black);
    if (dirty.intersects(toQRect(l.voltLabels))) {
        p.setFont(font_);
        const QFontMetrics fm(font_);
        for (int i = 5; i >= -5; --i) {
            const double v = i / 5.0;
            const int y = analogY(v, top, bottom);
            const QString text = QString::fromStdString(document::formatVoltScaleLabel(v));
            p.drawText(l.plot.left - 4 - fm.horizontalAdvance(text) - 1, y + (fm.ascent() - fm.descent()) / 2, text);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(l.plot.left - 1, top - 1), QPoint(l.plot.right + 1, bottom + 1)).adjusted(0, 0, -1, -1));
    for (int i = 6; i >= -6; --i) {
        p.setPen((i == 5 || i == 0 || i == -5) ? colours::black : colours::grid);
        hLine(p, dirty, l.plot.left, l.plot.right, analogY(i / 5.0, top, bottom));
    }
}

void AnalogPlot::paintTrace(QImage& img, const Layout& l, int c0, int c1) const {
    if (!clampColumns(l, c0, c1)) return;
    strokeColumns(img, columns_, l.plot.left, l.plot.top, l.plot.bottom, c0, c1, colours::trace.rgb());
    const QRgb clip = colours::clip.rgb();
    for (int c = c0; c <= c1; ++c) {
        const int y = clipMarkY(columns_, c, l.plot.top, l.plot.bottom);
        if (y >= 0) img.setPixel(l.plot.left + c, y, clip);
    }
}

// ------------------------------------------------------------ digital lanes

DigitalLanes::DigitalLanes() : normal_(laneFont(QFont::Normal)), bold_(laneFont(QFont::Bold)) {}

void DigitalLanes::reduce(const std::array<const std::uint8_t*, kLaneCount>& levels, const Viewport& vp,
                          const Layout& l) {
    for (int i = 0; i < kLaneCount; ++i) {
        const Rect& band = l.laneBand[i];
        reduceDigital(levels[i], vp.scroll, vp.span, l.columns(), band.top, band.bottom, columns_[i]);
    }
}

void DigitalLanes::paint(QPainter& p, const Layout& l, const PaintPass& pass) const {
    const QRect& dirty = pass.dirty;
    if (!dirty.intersects(toQRect(lanesArea(l)))) return;
    for (const Rect& a : l.laneArea) p.fillRect(dirty & toQRect(a), colours::white);
    p.setPen(colours::grid);
    for (int k = 0; k < pass.gridCount; ++k) {
        const int x = pass.gridX[k];
        if (!inColumns(dirty, x)) continue;
        for (const Rect& a : l.laneArea) p.drawLine(x, a.top + 1, x, a.bottom - 1);
    }
    for (int i = 0; i < kLaneCount; ++i) {
        const Rect& name = l.laneName[i];
        if (!isEmpty(name) && dirty.intersects(toQRect(name))) {
            QFont font = laneAllocated(pass.analogResolution, i) ? bold_ : normal_;
            font.setPixelSize(l.laneFontPx);
            const QFontMetrics fm(font);
            const QString text = QStringLiteral("CH%1").arg(i);
            // Capitals and digits only: centre their height, not the line's,
            // so that the ink stays inside the name's rows.
            const int baseline = name.top + (name.height() + fm.capHeight()) / 2;
            p.setFont(font);
            p.setPen(colours::black);
            p.drawText(name.right + 1 - fm.horizontalAdvance(text), baseline, text);
        }
        const Rect& f = l.laneFrame[i];
        p.setPen(colours::black);
        p.drawRect(QRect(QPoint(f.left, f.top), QPoint(f.right, f.bottom)).adjusted(0, 0, -1, -1));
        const Rect& b = l.laneBand[i];
        p.setPen(colours::grid);
        hLine(p, dirty, b.left, b.right, b.top - 1);
        hLine(p, dirty, b.left, b.right, b.bottom + 1);
    }
}

void DigitalLanes::paintTrace(QImage& img, const Layout& l, int c0, int c1) const {
    if (!clampColumns(l, c0, c1)) return;
    for (int i = 0; i < kLaneCount; ++i) {
        const Rect& band = l.laneBand[i];
        strokeColumns(img, columns_[i], l.plot.left, band.top, band.bottom, c0, c1, colours::trace.rgb());
    }
}

// ------------------------------------------------------------ cursor and time mark

PositionMarker::PositionMarker(Marker kind)
    : kind_(kind), colour_(kind == Marker::Cursor ? colours::cursor : colours::mark) {
    const HandleSizes sizes;
    handle_ = kind == Marker::Cursor ? makeHandle(colour_, sizes.cursorWidth, sizes.cursorHeight)
                                     : makeHandle(colour_, sizes.markWidth, sizes.markHeight);
}

void PositionMarker::paint(QPainter& p, const Layout& l, int x) {
    const Rect line = markerLine(l, kind_, x);
    p.setPen(colour_);
    p.drawLine(line.left, line.top, line.right, line.bottom);
    const Rect box = handleBox(l, kind_, x);
    p.drawImage(QPoint(box.left, box.top), handle_);
    drawn_ = true;
    x_ = x;
}

}  // namespace lyr::view
