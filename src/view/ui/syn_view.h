#pragma once
// CSYNView: the waveform view of the main window. It paints the document into
// an off-screen image (time labels, handle strips, the analog plot and the
// eight lanes, time mark and cursor) and lets the user move the cursor and
// the time mark, zoom and scroll. Position and zoom logic is ViewState's.
#include <QBasicTimer>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "document/syn_doc.h"
#include "document/view_state_record.h"
#include "view/readouts.h"
#include "view/view_geometry.h"
#include "view/view_state.h"

namespace lyr::view {

// Where a point lies, for the context menus (checked in this order).
enum class ViewRegion { None, AnalogPlot, CursorHandle, MarkHandle, ZoomStrip, Lane };

class CSYNView : public QWidget {
    Q_OBJECT
public:
    explicit CSYNView(document::CSYNDoc& doc, QWidget* parent = nullptr);

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

    // --- hit tests (widget coordinates) ---
    bool hitAnalogPlot(QPoint p) const;
    bool hitCursorHandle(QPoint p) const;
    bool hitMarkHandle(QPoint p) const;
    bool hitZoomStrip(QPoint p) const;
    int hitLane(QPoint p) const;  // 0..7, or -1
    ViewRegion regionAt(QPoint p, int* lane = nullptr) const;

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
    void layoutFromSize();
    void buildColumns();
    void renderAll();
    void renderBackground(class QPainter& p, int x0, int x1);
    void renderGrid(QPainter& p, int x0, int x1, bool labels);
    void renderTraces(int c0, int c1);
    void renderCursorAndMark();  // the mark (if set and visible), then the cursor
    void drawMarkColumn();
    void drawCursorColumn();
    // Restores the columns x - 1 .. x + 1 and the handles over x as a full
    // render draws them without the cursor and the mark.
    void eraseColumn(int x);
    void apply(Repaint r);
    void repaintMoved();
    void updateReadouts();
    void updateMouseReadout(int x);
    bool waveform() const { return doc_.hasWaveform() && state_.hasWaveform(); }
    TrackView tracks() const;
    QRect handleRect(int x, bool cursor) const;

    document::CSYNDoc& doc_;
    ViewState state_;
    Layout layout_;
    QImage image_;
    QImage cursorHandle_;
    QImage markHandle_;
    QFont labelFont_;
    QFont laneFontBold_;
    QFont laneFontNormal_;
    ColumnBuffer analogColumns_;
    std::array<ColumnBuffer, kLaneCount> laneColumns_;
    QBasicTimer dragTimer_;
    Readouts readouts_;
    std::string mouseReadout_;
    bool cursorDrawn_ = false;
    bool markDrawn_ = false;
    int lastColumnRepaint_ = 0;
    int fullRenders_ = 0;
};

}  // namespace lyr::view
