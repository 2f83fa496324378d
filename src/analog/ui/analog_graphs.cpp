#include "analog/ui/analog_graphs.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <QStringList>

#include "document/quantities.h"

namespace lyr::analog {

namespace {

QColor rgb(std::uint32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// "MSゴシック", height 12, with a CJK-capable fallback.
QFont labelFont() {
    QFont f;
    f.setFamilies(QStringList{QStringLiteral("MSゴシック"), QStringLiteral("MS Gothic"),
                              QStringLiteral("ＭＳ ゴシック"),
                              QStringLiteral("Noto Sans CJK JP")});
    f.setPixelSize(12);
    f.setWeight(QFont::Normal);
    return f;
}

// One stroke per column from its minimum to its maximum, and a marker pixel on
// the edge row of a clipped column.
void drawColumns(QPainter& p, const PreviewColumns& c, QColor line, QColor marker, bool markers = true) {
    const PlotRect& r = c.rect;
    for (int col = 0; col < c.columns(); ++col) {
        const int x = r.left + col;
        const int y1 = std::clamp(c.minY[col], r.top, r.bottom);
        const int y2 = std::clamp(c.maxY[col], r.top, r.bottom);
        if (y1 > y2) continue;
        p.setPen(line);
        p.drawLine(x, y1, x, y2);
        if (!markers) continue;
        if (c.clip[col] == kClipBelow) {
            p.setPen(marker);
            p.drawPoint(x, r.bottom);
        } else if (c.clip[col] == kClipAbove) {
            p.setPen(marker);
            p.drawPoint(x, r.top);
        }
    }
}

}  // namespace

PreviewGraph::PreviewGraph(const AnalogEditFrame& form, QWidget* parent) : QWidget(parent), form_(form) {
    setFixedSize(sizeHint());
    setAccessibleName(QStringLiteral("プレビュー"));
}

QRect PreviewGraph::graphFrame() const { return QRect(kTextMargin, 0, width() - kTextMargin, height()); }

PlotRect PreviewGraph::plotRect() const {
    const QRect f = graphFrame().adjusted(1, 1, -1, -1);
    return {f.left(), f.top(), f.right(), f.bottom()};
}

void PreviewGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const PlotRect r = plotRect();
    p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)), Qt::white);
    p.setFont(labelFont());
    p.setPen(Qt::black);
    const int textHeight = QFontMetrics(p.font()).height();
    for (int k = 0; k <= 10; ++k) {
        const double v = 1.0 - 0.2 * k;
        const int row = levelRow(r, v);
        const QRect box(0, row - textHeight / 2, r.left - 4, textHeight);
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(document::formatVoltScaleLabel(v)));
    }
    p.setPen(Qt::black);
    p.drawRect(graphFrame().adjusted(0, 0, -1, -1));
    p.setPen(rgb(kGridGrey));
    for (int k = 0; k <= 12; ++k) {
        const int row = levelRow(r, 1.2 - 0.2 * k);
        p.drawLine(r.left, row, r.right, row);
    }
    p.setPen(Qt::black);
    for (double v : {1.0, 0.0, -1.0}) {
        const int row = levelRow(r, v);
        p.drawLine(r.left, row, r.right, row);
    }
    if (const PreviewColumns* under = form_.underlayColumns()) {
        const QColor tan = rgb(kReferenceTan);
        drawColumns(p, *under, tan, tan, false);
    }
    if (form_.previewShown()) {
        const bool current = form_.previewCurrent();
        drawColumns(p, form_.previewColumns(), rgb(current ? kLineCurrent : kLinePale),
                    rgb(current ? kMarkerCurrent : kMarkerPale));
    }
}

OverviewGraph::OverviewGraph(const ExternalForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setFixedSize(sizeHint());
    setAccessibleName(QStringLiteral("外部データの概要"));
}

PlotRect OverviewGraph::plotRect() const {
    const QRect f = rect().adjusted(1, 1, -1, -1);
    return {f.left(), f.top(), f.right(), f.bottom()};
}

void OverviewGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (form_.sourceLoaded()) drawColumns(p, form_.overviewColumns(), rgb(kLineCurrent), rgb(kMarkerCurrent));
}

SketchView::SketchView(const AnalogEditFrame& form, QWidget* parent) : QWidget(parent), form_(form) {
    setFixedSize(sizeHint());
    setAccessibleName(QStringLiteral("波形の見本"));
}

PlotRect SketchView::plotRect() const {
    const QRect f = rect().adjusted(1, 1, -1, -1);
    return {f.left(), f.top(), f.right(), f.bottom()};
}

void SketchView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const PlotRect r = plotRect();
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // axis lines: the time axis at 0 V and the level axis at the start
    p.setPen(rgb(kGridGrey));
    const int zero = levelRow(r, 0.0);
    p.drawLine(r.left, zero, r.right, zero);
    p.drawLine(r.left, r.top, r.left, r.bottom);
    drawColumns(p, form_.sketchColumns(), rgb(kLineCurrent), rgb(kMarkerCurrent));
    const SketchDisplayList& list = form_.sketchList();
    for (const SketchLine& line : list.lines()) {
        p.setPen(rgb(line.colour));
        for (const Pixel& px : list.linePixels(line)) p.drawPoint(px.x, px.y);
    }
    const QFont font = labelFont();
    p.setFont(font);
    const QFontMetrics fm(font);
    for (const SketchLabel& label : list.labels()) {
        const QString text = QString::fromStdString(label.text);
        const int w = fm.horizontalAdvance(text);
        int x = list.mapX(label.x);
        if (label.align == SketchAlign::Centre) x -= w / 2;
        if (label.align == SketchAlign::Right) x -= w;
        const int y = list.mapY(label.y) - fm.height() / 2;
        const QRect box(x, y, w, fm.height());
        p.fillRect(box, rgb(label.background));
        p.setPen(rgb(label.colour));
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    }
}

}  // namespace lyr::analog
