#include "view/ui/syn_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QStringList>
#include <algorithm>

namespace lyr::view {

namespace {

const QColor kGrey(127, 127, 127);
const QColor kWhite(255, 255, 255);
const QColor kTrace(0, 0, 255);
const QColor kClip(255, 255, 0);
const QColor kGrid(200, 200, 200);
const QColor kBlack(0, 0, 0);
const QColor kCursor(255, 0, 0);
const QColor kMark(0, 255, 0);

// Smallest client the layout is taken for; a hidden widget may be smaller.
constexpr int kMinClientWidth = 320;
constexpr int kMinClientHeight = 240;

QImage makeHandle(const QColor& fill, int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A downward arrow: a body over a point that meets the line.
    QPolygon arrow;
    arrow << QPoint(0, 0) << QPoint(w - 1, 0) << QPoint(w - 1, h / 2) << QPoint(w / 2, h - 1)
          << QPoint(0, h / 2);
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawPolygon(arrow);
    return img;
}

QRect toQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)); }

}  // namespace

CSYNView::CSYNView(document::CSYNDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("CSYNView"));
    setAccessibleName(QStringLiteral("波形"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);

    labelFont_.setFamilies(QStringList{QStringLiteral("MSゴシック"), QStringLiteral("MS Gothic"),
                                       QStringLiteral("ＭＳ ゴシック"),
                                       QStringLiteral("Noto Sans CJK JP")});
    labelFont_.setPixelSize(12);
    labelFont_.setWeight(QFont::Normal);
    laneFontNormal_.setFamilies(QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                            QStringLiteral("Noto Sans CJK JP")});
    laneFontNormal_.setPixelSize(14);
    laneFontNormal_.setWeight(QFont::Normal);
    laneFontBold_ = laneFontNormal_;
    laneFontBold_.setWeight(QFont::Bold);

    HandleSizes hs;
    cursorHandle_ = makeHandle(kCursor, hs.cursorWidth, hs.cursorHeight);
    markHandle_ = makeHandle(kMark, hs.markWidth, hs.markHeight);
    layoutFromSize();
}

// ------------------------------------------------------------ state changes

void CSYNView::layoutFromSize() {
    HandleSizes hs;
    hs.cursorWidth = cursorHandle_.width();
    hs.cursorHeight = cursorHandle_.height();
    hs.markWidth = markHandle_.width();
    hs.markHeight = markHandle_.height();
    layout_ = layoutView(std::max(width(), kMinClientWidth), std::max(height(), kMinClientHeight), hs);
    if (image_.width() != layout_.clientWidth || image_.height() != layout_.clientHeight) {
        image_ = QImage(layout_.clientWidth, layout_.clientHeight, QImage::Format_RGB32);
        image_.fill(kGrey);
    }
}

void CSYNView::resetView() {
    dragTimer_.stop();
    layoutFromSize();
    if (doc_.hasWaveform()) state_.attach(doc_.sampleCount(), layout_.plot.left, layout_.plot.right);
    else state_.detach();
    state_.clearViewFlag();
    mouseReadout_.clear();
    refreshView();
    updateReadouts();
    emit viewChanged();
}

bool CSYNView::restoreViewState(const document::ViewStateRecord& record) {
    dragTimer_.stop();
    layoutFromSize();
    bool ok = false;
    if (doc_.hasWaveform()) ok = state_.fromRecord(record, doc_.sampleCount(), layout_.plot.left, layout_.plot.right);
    else state_.detach();
    mouseReadout_.clear();
    refreshView();
    updateReadouts();
    emit viewChanged();
    return ok;
}

document::ViewStateRecord CSYNView::storeViewState() const { return state_.toRecord(); }

void CSYNView::afterEdit(std::uint32_t first, std::uint32_t end) { apply(state_.afterEdit(first, end)); }
void CSYNView::afterWholeEdit() { apply(state_.afterWholeEdit()); }

void CSYNView::afterUndo(bool resetAll) {
    if (resetAll) {
        resetView();
        return;
    }
    apply(state_.afterUndo(false));
}

bool CSYNView::isEnabled(ViewCommand c) { return waveform() && state_.isEnabled(c); }

void CSYNView::runCommand(ViewCommand c) {
    if (!waveform()) return;
    apply(state_.run(c));
}

void CSYNView::runCommandAt(ViewCommand c, std::uint32_t index) {
    if (!waveform()) return;
    apply(state_.runAt(c, index));
}

void CSYNView::setCursorIndex(std::uint32_t index) {
    if (!waveform()) return;
    apply(state_.setCursor(index));
}

void CSYNView::apply(Repaint r) {
    if (r == Repaint::Full) refreshView();
    else if (r == Repaint::Columns) repaintMoved();
    updateReadouts();
    emit viewChanged();
}

// ------------------------------------------------------------ readouts

TrackView CSYNView::tracks() const {
    TrackView t;
    if (!doc_.hasWaveform()) return t;
    t.n = doc_.sampleCount();
    t.samplingNs = doc_.samplingTime();
    t.analog = doc_.analog();
    for (int k = 0; k < kLaneCount; ++k) t.digital[k] = doc_.digital(k);
    return t;
}

void CSYNView::updateReadouts() {
    if (waveform()) readouts_ = computeReadouts(tracks(), state_.cursor(), state_.markSet(), state_.mark());
    else readouts_ = {};
    emit readoutsChanged();
}

void CSYNView::updateMouseReadout(int x) {
    if (!waveform() || x < layout_.plot.left || x > layout_.plot.right) return;
    mouseReadout_ = mouseMinusCursor(tracks(), state_.xToSample(x), state_.cursor());
    emit readoutsChanged();
}

// ------------------------------------------------------------ drawing

void CSYNView::refreshView() {
    if (!waveform()) {
        image_.fill(kGrey);
        cursorDrawn_ = markDrawn_ = false;
        update();
        return;
    }
    buildColumns();
    renderAll();
    update();
}

void CSYNView::buildColumns() {
    const Viewport vp = state_.viewport();
    const int w = layout_.columns();
    reduceAnalog(doc_.analog(), vp.scroll, vp.span, w, layout_.plot.top, layout_.plot.bottom, analogColumns_);
    for (int i = 0; i < kLaneCount; ++i) {
        const Rect& band = layout_.laneBand[i];
        reduceDigital(doc_.digital(i), vp.scroll, vp.span, w, band.top, band.bottom, laneColumns_[i]);
    }
}

void CSYNView::renderAll() {
    {
        QPainter p(&image_);
        renderBackground(p, 0, layout_.clientWidth - 1);
        renderGrid(p, 0, layout_.clientWidth - 1, true);
    }
    renderTraces(0, layout_.columns() - 1);
    cursorDrawn_ = markDrawn_ = false;
    renderCursorAndMark();
    ++fullRenders_;
}

void CSYNView::renderBackground(QPainter& p, int, int) {
    const Layout& l = layout_;
    const QColor face = palette().color(QPalette::Button);
    p.fillRect(QRect(0, 0, l.clientWidth, l.clientHeight), kGrey);
    p.fillRect(QRect(0, l.timeLabels.top, l.clientWidth, l.separator.bottom + 1), face);
    p.fillRect(toQRect(l.cursorStrip), kGrey);
    p.fillRect(toQRect(l.markStrip), kGrey);
    // Below the handle strips every background is the face colour.
    p.fillRect(QRect(0, l.markStrip.bottom + 1, l.clientWidth, l.clientHeight - l.markStrip.bottom - 1), face);
    p.fillRect(toQRect(l.voltLabels), face);
    for (const Rect& r : l.laneLabel) p.fillRect(toQRect(r), face);
    p.fillRect(toQRect(l.plot).adjusted(-1, -1, 1, 1), kWhite);
    for (const Rect& r : l.laneArea) p.fillRect(toQRect(r), kWhite);
    p.setPen(kBlack);
    p.drawLine(0, l.separator.bottom, l.clientWidth - 1, l.separator.bottom);
}

void CSYNView::renderGrid(QPainter& p, int, int, bool labels) {
    const Layout& l = layout_;
    const Viewport vp = state_.viewport();
    const std::int64_t ts = doc_.samplingTime();

    // Time grid and labels.
    const GridStep step = timeGridStep(ts, vp.span);
    const GridLines lines = timeGridLines(vp, step);
    const int unit = labelUnit(static_cast<std::int64_t>(doc_.totalTime()));
    p.setFont(labelFont_);
    const QFontMetrics fm(labelFont_);
    for (int k = 0; k < lines.count; ++k) {
        const int x = sampleToX(vp, lines.index[k]);
        if (x < l.plot.left || x > l.plot.right + 1) continue;
        p.setPen(kBlack);
        p.drawLine(x, l.separator.top, x, l.separator.bottom);
        p.setPen(kGrid);
        p.drawLine(x, l.plot.top, x, l.plot.bottom);
        for (const Rect& a : l.laneArea) p.drawLine(x, a.top + 1, x, a.bottom - 1);
        if (labels) {
            const QString text = QString::fromStdString(
                timeLabelText(static_cast<std::int64_t>(lines.index[k]) * ts, unit));
            const int tw = fm.horizontalAdvance(text);
            p.setPen(kBlack);
            p.drawText(x - tw / 2, l.timeLabels.bottom - fm.descent(), text);
        }
    }

    // Voltage labels, frame and grid of the analog plot.
    const int top = l.plot.top;
    const int bottom = l.plot.bottom;
    if (labels) {
        p.setPen(kBlack);
        for (int i = 5; i >= -5; --i) {
            const double v = i / 5.0;
            const int y = analogY(v, top, bottom);
            const QString text = QString::fromStdString(voltLabelText(v));
            const int tw = fm.horizontalAdvance(text);
            p.drawText(l.plot.left - 4 - tw - 1, y + (fm.ascent() - fm.descent()) / 2, text);
        }
    }
    p.setPen(kBlack);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(l.plot.left - 1, top - 1), QPoint(l.plot.right + 1, bottom + 1)).adjusted(0, 0, -1, -1));
    for (int i = 6; i >= -6; --i) {
        const int y = analogY(i / 5.0, top, bottom);
        p.setPen((i == 5 || i == 0 || i == -5) ? kBlack : kGrid);
        p.drawLine(l.plot.left, y, l.plot.right, y);
    }

    // Lane labels, frames and reference lines.
    const int resolution = doc_.analogResolution();
    for (int i = 0; i < kLaneCount; ++i) {
        if (labels) {
            const bool allocated = laneAllocated(resolution, i);
            const QFont& f = allocated ? laneFontBold_ : laneFontNormal_;
            p.setFont(f);
            p.setPen(kBlack);
            const QRect area = toQRect(l.laneLabel[i]).adjusted(0, 0, -4, 0);
            p.drawText(area, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("CH%1").arg(i));
        }
        const Rect& f = l.laneFrame[i];
        p.setPen(kBlack);
        p.drawRect(QRect(QPoint(f.left, f.top), QPoint(f.right, f.bottom)).adjusted(0, 0, -1, -1));
        const Rect& b = l.laneBand[i];
        p.setPen(kGrid);
        p.drawLine(b.left, b.top - 1, b.right, b.top - 1);
        p.drawLine(b.left, b.bottom + 1, b.right, b.bottom + 1);
    }
}

void CSYNView::renderTraces(int c0, int c1) {
    const int w = layout_.columns();
    c0 = std::max(c0, 0);
    c1 = std::min(c1, w - 1);
    if (c0 > c1) return;
    QRgb* bits = reinterpret_cast<QRgb*>(image_.bits());
    const int stride = static_cast<int>(image_.bytesPerLine() / sizeof(QRgb));
    const QRgb trace = kTrace.rgb();
    const QRgb clip = kClip.rgb();
    const int left = layout_.plot.left;

    auto stroke = [&](const ColumnBuffer& buf, int c, int top, int bottom) {
        int lo = buf.minY[c];
        int hi = buf.maxY[c];
        if (lo > hi) return;  // nothing fell into this column
        // Join the previous column's last sample so that edges are drawn.
        if (c > 0 && buf.minY[c - 1] <= buf.maxY[c - 1]) {
            lo = std::min(lo, buf.last[c - 1]);
            hi = std::max(hi, buf.last[c - 1]);
        }
        lo = std::max(lo, top);
        hi = std::min(hi, bottom);
        QRgb* px = bits + left + c;
        for (int y = lo; y <= hi; ++y) px[y * stride] = trace;
    };

    const Rect& plot = layout_.plot;
    for (int c = c0; c <= c1; ++c) {
        stroke(analogColumns_, c, plot.top, plot.bottom);
        if (analogColumns_.minY[c] <= analogColumns_.maxY[c]) {
            if (analogColumns_.clip[c] == kClipBelow) bits[(plot.bottom + 1) * stride + left + c] = clip;
            else if (analogColumns_.clip[c] == kClipAbove) bits[(plot.top - 1) * stride + left + c] = clip;
        }
    }
    for (int i = 0; i < kLaneCount; ++i) {
        const Rect& band = layout_.laneBand[i];
        for (int c = c0; c <= c1; ++c) stroke(laneColumns_[i], c, band.top, band.bottom);
    }
}

QRect CSYNView::handleRect(int x, bool cursor) const {
    const QImage& img = cursor ? cursorHandle_ : markHandle_;
    const Rect& strip = cursor ? layout_.cursorStrip : layout_.markStrip;
    return QRect(x - img.width() / 2, strip.top, img.width(), img.height());
}

void CSYNView::renderCursorAndMark() {
    drawMarkColumn();
    drawCursorColumn();
}

void CSYNView::drawMarkColumn() {
    markDrawn_ = false;
    if (!state_.markSet() || !state_.isVisible(state_.mark())) return;
    QPainter p(&image_);
    const int x = state_.sampleToX(state_.mark());
    p.setPen(kMark);
    p.drawLine(x, layout_.markStrip.bottom + 1, x, layout_.bottomOfLines);
    p.drawImage(handleRect(x, false).topLeft(), markHandle_);
    state_.setDrawnMarkX(x);
    markDrawn_ = true;
}

void CSYNView::drawCursorColumn() {
    cursorDrawn_ = false;
    const int x = state_.sampleToX(state_.cursor());
    if (x < layout_.plot.left || x > layout_.plot.right + 1) return;
    QPainter p(&image_);
    p.setPen(kCursor);
    p.drawLine(x, layout_.cursorStrip.bottom + 1, x, layout_.bottomOfLines);
    p.drawImage(handleRect(x, true).topLeft(), cursorHandle_);
    state_.setDrawnCursorX(x);
    cursorDrawn_ = true;
}

void CSYNView::eraseColumn(int x) {
    const Layout& l = layout_;
    const QRect strip(x - 1, l.cursorStrip.top, 3, l.bottomOfLines - l.cursorStrip.top + 1);
    {
        QPainter p(&image_);
        // Everything drawn along these columns below the time strips, then both
        // handle strips where a handle stood over them.
        p.setClipRect(strip);
        renderBackground(p, x - 1, x + 1);
        renderGrid(p, x - 1, x + 1, false);
        p.setClipping(false);
        p.fillRect(handleRect(x, true), kGrey);
        p.fillRect(handleRect(x, false), kGrey);
    }
    const int c = x - l.plot.left;
    const int c0 = std::max(c - 1, 0);
    const int c1 = std::min(c + 1, l.columns() - 1);
    renderTraces(c0, c1);
    if (c1 >= c0) lastColumnRepaint_ += c1 - c0 + 1;
    update(strip.united(handleRect(x, true)).united(handleRect(x, false)));
}

void CSYNView::repaintMoved() {
    lastColumnRepaint_ = 0;
    const int newCursorX = state_.sampleToX(state_.cursor());
    const bool markVisible = state_.markSet() && state_.isVisible(state_.mark());
    const int newMarkX = markVisible ? state_.sampleToX(state_.mark()) : 0;
    if (cursorDrawn_ && state_.cursorX() != newCursorX) eraseColumn(state_.cursorX());
    if (markDrawn_ && (!markVisible || state_.markX() != newMarkX)) eraseColumn(state_.markX());
    renderCursorAndMark();
    if (cursorDrawn_) update(handleRect(state_.cursorX(), true).united(QRect(state_.cursorX(), 0, 1, height())));
    if (markDrawn_) update(handleRect(state_.markX(), false).united(QRect(state_.markX(), 0, 1, height())));
}

void CSYNView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    if (!waveform()) {
        p.fillRect(e->rect(), kGrey);
        return;
    }
    p.fillRect(e->rect(), kGrey);
    p.drawImage(e->rect().topLeft(), image_, e->rect());
}

void CSYNView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The zoom table and positions stay; only the geometry follows the window.
    layoutFromSize();
    state_.setPlot(layout_.plot.left, layout_.plot.right);
    refreshView();
}

// ------------------------------------------------------------ hit tests

bool CSYNView::hitAnalogPlot(QPoint p) const {
    return waveform() && toQRect(layout_.plot).adjusted(-1, -1, 1, 1).contains(p);
}

bool CSYNView::hitCursorHandle(QPoint p) const {
    return waveform() && cursorDrawn_ && handleRect(state_.cursorX(), true).contains(p);
}

bool CSYNView::hitMarkHandle(QPoint p) const {
    return waveform() && markDrawn_ && state_.markSet() && handleRect(state_.markX(), false).contains(p);
}

bool CSYNView::hitZoomStrip(QPoint p) const {
    return waveform() && p.y() >= layout_.timeLabels.top && p.y() <= layout_.separator.bottom && p.x() >= 0 &&
           p.x() < layout_.clientWidth;
}

int CSYNView::hitLane(QPoint p) const {
    if (!waveform()) return -1;
    for (int i = 0; i < kLaneCount; ++i) {
        const Rect& a = layout_.laneArea[i];
        if (p.y() >= a.top && p.y() <= a.bottom && p.x() >= 0 && p.x() <= a.right) return i;
    }
    return -1;
}

ViewRegion CSYNView::regionAt(QPoint p, int* lane) const {
    if (lane) *lane = -1;
    if (hitAnalogPlot(p)) return ViewRegion::AnalogPlot;
    if (hitCursorHandle(p)) return ViewRegion::CursorHandle;
    if (hitMarkHandle(p)) return ViewRegion::MarkHandle;
    if (hitZoomStrip(p)) return ViewRegion::ZoomStrip;
    const int k = hitLane(p);
    if (k >= 0) {
        if (lane) *lane = k;
        return ViewRegion::Lane;
    }
    return ViewRegion::None;
}

// ------------------------------------------------------------ mouse

void CSYNView::mousePressEvent(QMouseEvent* e) {
    if (!waveform() || e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    if (state_.pressAt(pos.x(), hitCursorHandle(pos))) {
        dragTimer_.start(kDragIntervalMs, this);
        emit viewChanged();
    }
}

void CSYNView::mouseMoveEvent(QMouseEvent* e) {
    if (!waveform()) return;
    const int x = e->position().toPoint().x();
    if ((e->buttons() & Qt::LeftButton) && state_.dragging()) {
        state_.moveTo(x);
        return;
    }
    if (state_.dragging()) {
        state_.release();
        dragTimer_.stop();
    }
    updateMouseReadout(x);
}

void CSYNView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    dragTimer_.stop();
    state_.release();
}

void CSYNView::timerEvent(QTimerEvent* e) {
    if (e->timerId() != dragTimer_.timerId()) {
        QWidget::timerEvent(e);
        return;
    }
    dragTick();
}

void CSYNView::dragTick() {
    if (!state_.dragging()) {
        dragTimer_.stop();
        return;
    }
    const Repaint r = state_.dragTick();
    if (r != Repaint::None) apply(r);
    updateMouseReadout(state_.lastX());
}

void CSYNView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!waveform() || e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    dragTimer_.stop();
    state_.release();
    if (hitCursorHandle(pos)) {
        apply(state_.doubleClickCursorHandle());
    } else if (hitMarkHandle(pos)) {
        apply(state_.doubleClickMarkHandle());
    } else if (hitZoomStrip(pos)) {
        apply(state_.doubleClickZoomStrip());
    } else if (hitAnalogPlot(pos) || hitLane(pos) >= 0) {
        apply(state_.doubleClickTrace(pos.x()));
        updateMouseReadout(pos.x());
    }
}

void CSYNView::contextMenuEvent(QContextMenuEvent* e) {
    if (!waveform()) return;
    int lane = -1;
    const ViewRegion region = regionAt(e->pos(), &lane);
    if (region != ViewRegion::None) emit contextMenuRequested(region, lane, e->globalPos());
}

}  // namespace lyr::view
