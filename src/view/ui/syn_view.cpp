#include "view/ui/syn_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <limits>

namespace lyr::view {

namespace {

// Smallest client the layout is taken for; a hidden widget may be smaller.
constexpr int kMinClientWidth = 320;
constexpr int kMinClientHeight = 240;

}  // namespace

CSYNView::CSYNView(document::CSYNDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("CSYNView"));
    setAccessibleName(QStringLiteral("波形"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    layoutFromSize();
    doc_.addObserver(this);
}

CSYNView::~CSYNView() { doc_.removeObserver(this); }

// ------------------------------------------------------------ state changes

void CSYNView::layoutFromSize() {
    HandleSizes hs;
    hs.cursorWidth = cursor_.handleWidth();
    hs.cursorHeight = cursor_.handleHeight();
    hs.markWidth = mark_.handleWidth();
    hs.markHeight = mark_.handleHeight();
    layout_ = layoutView(std::max(width(), kMinClientWidth), std::max(height(), kMinClientHeight), hs);
    if (image_.width() != layout_.clientWidth || image_.height() != layout_.clientHeight) {
        image_ = QImage(layout_.clientWidth, layout_.clientHeight, QImage::Format_RGB32);
        image_.fill(colours::grey);
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

void CSYNView::samplesChanged(const document::EditRange& range) {
    auto index = [](std::int64_t i) {
        return static_cast<std::uint32_t>(std::clamp<std::int64_t>(i, 0, std::numeric_limits<std::uint32_t>::max()));
    };
    afterEdit(index(range.first), index(range.end));
}

// The undo of a total-time change resets the view on its time-base announcement.
void CSYNView::undone(std::int32_t kind) {
    if (kind != document::kUndoTimeBase) afterUndo(false);
}

void CSYNView::settingsChanged() {
    if (doc_.hasWaveform()) refreshView();
}

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
        image_.fill(colours::grey);
        cursor_.forget();
        mark_.forget();
        update();
        return;
    }
    buildColumns();
    renderAll();
    update();
}

void CSYNView::buildColumns() {
    const Viewport vp = state_.viewport();
    plot_.reduce(doc_.analog(), vp, layout_);
    std::array<const std::uint8_t*, kLaneCount> levels{};
    for (int i = 0; i < kLaneCount; ++i) levels[i] = doc_.digital(i);
    lanes_.reduce(levels, vp, layout_);
}

void CSYNView::paintBackdrop(QPainter& p, const PaintPass& pass) const {
    background_.paint(p, layout_, pass);
    ruler_.paint(p, layout_, pass);
    plot_.paint(p, layout_, pass);
    lanes_.paint(p, layout_, pass);
}

void CSYNView::renderAll() {
    pass_ = makePaintPass(layout_, state_.viewport(), doc_.samplingTime(),
                          static_cast<std::int64_t>(doc_.totalTime()), doc_.analogResolution(),
                          palette().color(QPalette::Button));
    {
        QPainter p(&image_);
        paintBackdrop(p, pass_);
    }
    paintTraces(0, layout_.columns() - 1);
    cursor_.forget();
    mark_.forget();
    paintMarkers();
    ++fullRenders_;
}

void CSYNView::paintTraces(int c0, int c1) {
    plot_.paintTrace(image_, layout_, c0, c1);
    lanes_.paintTrace(image_, layout_, c0, c1);
}

void CSYNView::paintMarkers() {
    const int markX = state_.sampleToX(state_.mark());
    const bool markShown = state_.markSet() && state_.isVisible(state_.mark());
    const int cursorX = state_.sampleToX(state_.cursor());
    const bool cursorShown = markerColumnVisible(layout_, cursorX);
    mark_.forget();
    cursor_.forget();
    if (!markShown && !cursorShown) return;
    QPainter p(&image_);
    if (markShown) {
        mark_.paint(p, layout_, markX);
        state_.setDrawnMarkX(markX);
    }
    if (cursorShown) {
        cursor_.paint(p, layout_, cursorX);
        state_.setDrawnCursorX(cursorX);
    }
}

QRect CSYNView::markerRect(const PositionMarker& m) const {
    return toQRect(markerArea(layout_, m.kind(), m.x()));
}

void CSYNView::eraseColumn(int x) {
    const Layout& l = layout_;
    const QRect strip = toQRect(repaintStrip(l, x));
    const QRect cursorHandle = toQRect(handleBox(l, Marker::Cursor, x));
    const QRect markHandle = toQRect(handleBox(l, Marker::TimeMark, x));
    {
        QPainter p(&image_);
        PaintPass pass = pass_;
        for (const QRect& r : {strip, cursorHandle, markHandle}) {
            pass.dirty = r;
            p.setClipRect(r);
            paintBackdrop(p, pass);
        }
    }
    const int c = x - l.plot.left;
    const int c0 = std::max(c - 1, 0);
    const int c1 = std::min(c + 1, l.columns() - 1);
    paintTraces(c0, c1);
    if (c1 >= c0) lastColumnRepaint_ += c1 - c0 + 1;
    update(strip.united(cursorHandle).united(markHandle));
}

void CSYNView::repaintMoved() {
    lastColumnRepaint_ = 0;
    const int newCursorX = state_.sampleToX(state_.cursor());
    const bool markVisible = state_.markSet() && state_.isVisible(state_.mark());
    const int newMarkX = markVisible ? state_.sampleToX(state_.mark()) : 0;
    if (cursor_.drawn() && cursor_.x() != newCursorX) eraseColumn(cursor_.x());
    if (mark_.drawn() && (!markVisible || mark_.x() != newMarkX)) eraseColumn(mark_.x());
    paintMarkers();
    if (cursor_.drawn()) update(markerRect(cursor_).united(QRect(cursor_.x(), 0, 1, height())));
    if (mark_.drawn()) update(markerRect(mark_).united(QRect(mark_.x(), 0, 1, height())));
}

void CSYNView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    if (!waveform()) {
        p.fillRect(e->rect(), colours::grey);
        return;
    }
    p.fillRect(e->rect(), colours::grey);
    p.drawImage(e->rect().topLeft(), image_, e->rect());
}

void CSYNView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The zoom table and positions stay; only the geometry follows the window.
    layoutFromSize();
    state_.setPlot(layout_.plot.left, layout_.plot.right);
    refreshView();
}

// ------------------------------------------------------------ hit test

ViewHit CSYNView::hitTest(QPoint p) const {
    if (!waveform()) return {};
    if (plot_.hitTest(layout_, p)) return {ViewRegion::AnalogPlot};
    if (cursor_.hitTest(layout_, p)) return {ViewRegion::CursorHandle};
    if (mark_.hitTest(layout_, p)) return {ViewRegion::MarkHandle};
    if (ruler_.hitTest(layout_, p)) return {ViewRegion::ZoomStrip};
    if (const int lane = lanes_.hitTest(layout_, p); lane >= 0) return {ViewRegion::Lane, lane};
    return {};
}

// ------------------------------------------------------------ mouse

void CSYNView::mousePressEvent(QMouseEvent* e) {
    if (!waveform() || e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    if (state_.pressAt(pos.x(), hitTest(pos).region == ViewRegion::CursorHandle)) {
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
    switch (hitTest(pos).region) {
        case ViewRegion::CursorHandle: apply(state_.doubleClickCursorHandle()); break;
        case ViewRegion::MarkHandle: apply(state_.doubleClickMarkHandle()); break;
        case ViewRegion::ZoomStrip: apply(state_.doubleClickZoomStrip()); break;
        case ViewRegion::AnalogPlot:
        case ViewRegion::Lane:
            apply(state_.doubleClickTrace(pos.x()));
            updateMouseReadout(pos.x());
            break;
        case ViewRegion::None: break;
    }
}

void CSYNView::contextMenuEvent(QContextMenuEvent* e) {
    if (!waveform()) return;
    const ViewHit hit = hitTest(e->pos());
    if (hit.region != ViewRegion::None) emit contextMenuRequested(hit.region, hit.lane, e->globalPos());
}

}  // namespace lyr::view
