#pragma once
// CSYNView: the waveform view of the main window. It composes its elements
// (background, time ruler, analog plot, digital lanes, time mark and cursor)
// into an off-screen image and lets the user move the cursor and the time
// mark, zoom and scroll. Position and zoom logic is ViewState's. It follows
// what the document announces: edits, undo, a new time base, the bit allocation.
#include <QBasicTimer>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "document/syn_doc.h"
#include "document/view_state_record.h"
#include "view/readouts.h"
#include "view/view_geometry.h"
#include "view/view_regions.h"
#include "view/view_state.h"
#include "view/ui/view_elements.h"

namespace lyr::view {

class CSYNView : public QWidget, private document::DocumentObserver {
    Q_OBJECT
public:
    explicit CSYNView(document::CSYNDoc& doc, QWidget* parent = nullptr);
    ~CSYNView() override;

    document::CSYNDoc& document() { return doc_; }
    ViewState& state() { return state_; }
    const ViewState& state() const { return state_; }
    const Layout& layout() const { return layout_; }
    const QImage& image() const { return image_; }

    // --- the waveform changes ---
    // A new waveform (or a reduced open): lay out, reset every position, redraw.
    void resetView();
    // An opened file: lay out and take the stored state; parts that do not fit
    // the waveform start over as after a reset. Returns false when any did.
    bool restoreViewState(const document::ViewStateRecord& record);
    document::ViewStateRecord storeViewState() const;
    // Columns rebuilt and everything repainted (after edits of the data).
    void refreshView();
    void afterEdit(std::uint32_t first, std::uint32_t end);
    void afterWholeEdit();
    void afterUndo(bool resetAll);

    // --- commands ---
    bool isEnabled(ViewCommand c);
    void runCommand(ViewCommand c);
    void runCommandAt(ViewCommand c, std::uint32_t index);
    void setCursorIndex(std::uint32_t index);

    // --- hit test (widget coordinates) ---
    // What lies under p, asking the analog plot, the cursor handle, the
    // time-mark handle, the zoom strip and the lanes CH0..CH7 in this order.
    // None without a waveform.
    ViewHit hitTest(QPoint p) const;
    // Single-region forms of hitTest for callers not yet moved to it.
    bool hitAnalogPlot(QPoint p) const { return hitTest(p).region == ViewRegion::AnalogPlot; }
    bool hitCursorHandle(QPoint p) const { return hitTest(p).region == ViewRegion::CursorHandle; }
    bool hitMarkHandle(QPoint p) const { return hitTest(p).region == ViewRegion::MarkHandle; }
    bool hitZoomStrip(QPoint p) const { return hitTest(p).region == ViewRegion::ZoomStrip; }
    int hitLane(QPoint p) const { return hitTest(p).lane; }

    // --- readouts ---
    const Readouts& readouts() const { return readouts_; }
    const std::string& mouseReadout() const { return mouseReadout_; }

    // Columns whose traces were redrawn by the last column-local repaint.
    int lastColumnRepaint() const { return lastColumnRepaint_; }
    int fullRenderCount() const { return fullRenders_; }
    bool dragTimerActive() const { return dragTimer_.isActive(); }
    // One drag tick, as the 10 ms timer runs it.
    void dragTick();

    static constexpr int kDragIntervalMs = 10;

signals:
    void readoutsChanged();
    // Zoom, cursor or mark changed: menus and buttons re-evaluate.
    void viewChanged();
    void contextMenuRequested(lyr::view::ViewRegion region, int lane, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    // What the document announces.
    void samplesChanged(const document::EditRange& range) override;
    void channelsChanged() override { afterWholeEdit(); }
    void timeBaseChanged() override { resetView(); }
    void undone(std::int32_t kind) override;
    void settingsChanged() override;

    void layoutFromSize();
    void buildColumns();
    void renderAll();
    // Background, ruler, plot and lanes over pass.dirty (the painter is clipped to it).
    void paintBackdrop(QPainter& p, const PaintPass& pass) const;
    void paintTraces(int c0, int c1);
    void paintMarkers();  // the mark (if set and visible), then the cursor
    // Restores the columns x - 1 .. x + 1 and the handles over x as a full
    // render draws them without the cursor and the mark.
    void eraseColumn(int x);
    void apply(Repaint r);
    void repaintMoved();
    void updateReadouts();
    void updateMouseReadout(int x);
    bool waveform() const { return doc_.hasWaveform() && state_.hasWaveform(); }
    TrackView tracks() const;
    QRect markerRect(const PositionMarker& m) const;

    document::CSYNDoc& doc_;
    ViewState state_;
    Layout layout_;
    QImage image_;
    ViewBackground background_;
    TimeRuler ruler_;
    AnalogPlot plot_;
    DigitalLanes lanes_;
    PositionMarker mark_{Marker::TimeMark};
    PositionMarker cursor_{Marker::Cursor};
    PaintPass pass_;  // of the last full render; column repaints reuse it
    QBasicTimer dragTimer_;
    Readouts readouts_;
    std::string mouseReadout_;
    int lastColumnRepaint_ = 0;
    int fullRenders_ = 0;
};

}  // namespace lyr::view
