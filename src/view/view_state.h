#pragma once
// The user's position in the waveform: zoom table and scroll, cursor, time
// mark, edit-point history and the mouse drag. Every operation reports what
// has to be repainted; the widget does the painting.
#include <array>
#include <cstdint>

#include "document/view_state_record.h"
#include "view/view_geometry.h"

namespace lyr::view {

inline constexpr int kZoomLevels = 32;
inline constexpr int kHistorySize = 128;

// Ring of edit points; indices advance modulo 128.
struct EditPointHistory {
    std::array<std::uint32_t, kHistorySize> ring{};
    std::uint32_t oldest = 0;
    std::uint32_t next = 0;     // where the next entry goes
    std::uint32_t current = 0;  // where back/forward navigation stands
    bool empty = true;
    bool canGoBack = false;
    bool canGoForward = false;
    bool lastPushWasPair = true;

    void clear();
    void push(std::uint32_t v);
    void resetNavigation();
    std::uint32_t back();
    std::uint32_t forward();
    // The newest entry (0 when empty); re-arms navigation.
    std::uint32_t newest();
    // The newest entry without touching navigation.
    std::uint32_t peekNewest() const;
    // Drops the newest entry (no-op when empty).
    void popNewest();
};

// What an operation requires of the screen.
enum class Repaint {
    None,     // nothing changed on screen
    Columns,  // only the old/new cursor or mark columns (see the view's x fields)
    Full,     // columns rebuilt and the whole image repainted
};

// Commands of the zoom, cursor and time-mark menus and the strip buttons.
enum class ViewCommand {
    WholeView,
    StandardZoom,
    MaxZoom,
    ZoomIn,
    ZoomOut,
    SetStandard,
    ResetStandard,
    CursorToStart,
    CursorToMark,
    CursorBack,
    CursorForward,
    CursorToLastEdit,
    CursorToPosition,  // needs a time entry first; see runAt
    MarkAtCursor,
    MarkAtStart,
    MarkAtLastEdit,
    MarkAtPosition,
    MarkToCursor,
    MarkToStart,
    MarkToLastEdit,
    MarkToPosition,
    DeleteMark,
    StepLeft,
    StepRight,
    HalfPageLeft,
    HalfPageRight,
};

class ViewState {
public:
    // Waveform and plot geometry. Runs resetView.
    void attach(std::uint32_t sampleCount, int plotLeft, int plotRight);
    // New plot columns (window resized); the zoom table and positions stay.
    void setPlot(int plotLeft, int plotRight) {
        left_ = plotLeft;
        right_ = plotRight;
    }
    // No waveform: every command disabled, the mouse ignored.
    void detach();
    bool hasWaveform() const { return n_ > 0; }

    // --- state ---
    std::uint32_t sampleCount() const { return n_; }
    std::uint32_t cursor() const { return cursor_; }
    std::uint32_t previousCursor() const { return previousCursor_; }
    bool markSet() const { return markSet_; }
    std::uint32_t mark() const { return mark_; }
    std::uint32_t scroll() const { return scroll_; }
    std::uint32_t span() const { return zoomSpan_[zoom_]; }
    int zoom() const { return zoom_; }
    int standardZoom() const { return standardZoom_; }
    int maxZoom() const { return maxZoom_; }
    bool zoomEnabled() const { return zoomEnabled_; }
    std::uint32_t zoomSpan(int level) const { return zoomSpan_[level]; }
    bool onHistory() const { return onHistory_; }
    bool dragging() const { return dragging_; }
    const EditPointHistory& history() const { return history_; }
    Viewport viewport() const { return {scroll_, span(), left_, right_}; }
    int columns() const { return right_ - left_ + 1; }

    // Pixel x of the cursor and mark where they were last drawn; the widget
    // erases these columns on a column-local repaint.
    int cursorX() const { return cursorX_; }
    int markX() const { return markX_; }
    void setDrawnCursorX(int x) { cursorX_ = x; }
    void setDrawnMarkX(int x) { markX_ = x; }

    // --- mapping ---
    int sampleToX(std::uint32_t i) const { return view::sampleToX(viewport(), i); }
    std::uint32_t xToSample(int x) const { return view::xToSample(viewport(), x); }
    bool isVisible(std::uint32_t i) const;

    // --- operations ---
    void rebuildZoomLevels();
    void centerOnCursor();
    void resetView();
    Repaint setCursor(std::uint32_t v);
    Repaint setTimeMark(std::uint32_t v);
    Repaint deleteTimeMark();
    // Delete, then set at v.
    Repaint moveTimeMark(std::uint32_t v);
    Repaint afterEdit(std::uint32_t s, std::uint32_t e);
    Repaint afterWholeEdit();
    Repaint afterUndo(bool resetAll);
    void setZoom(int level);

    // --- commands ---
    // Not const: the "last edit" test re-arms history navigation.
    bool isEnabled(ViewCommand c);
    Repaint run(ViewCommand c);
    // The commands that take a position from the time entry.
    Repaint runAt(ViewCommand c, std::uint32_t index);

    // --- mouse ---
    // Button down at x; onCursorHandle from the widget's hit test. Returns
    // true when a drag starts (the widget then starts its 10 ms timer).
    bool pressAt(int x, bool onCursorHandle);
    void moveTo(int x) { lastX_ = x; }
    void release() { dragging_ = false; }
    int lastX() const { return lastX_; }
    // One drag timer tick at the last point.
    Repaint dragTick();
    // Double clicks by region.
    Repaint doubleClickTrace(int x);
    Repaint doubleClickZoomStrip();
    Repaint doubleClickCursorHandle();
    Repaint doubleClickMarkHandle();

    // --- stored state ---
    document::ViewStateRecord toRecord() const;
    // Restores a stored record for a waveform of sampleCount samples drawn in
    // plotLeft..plotRight. Parts that do not fit the waveform are rebuilt as
    // resetView would; returns false when anything had to be rebuilt.
    bool fromRecord(const document::ViewStateRecord& r, std::uint32_t sampleCount, int plotLeft,
                    int plotRight);
    // Cleared when the view is first shown.
    void clearViewFlag() { viewFlag_ = false; }

private:
    void clampScroll();
    void recordEdit(std::uint32_t s, std::uint32_t e);
    void wholeView();

    std::uint32_t n_ = 0;
    int left_ = 0;
    int right_ = -1;
    std::array<std::uint32_t, kZoomLevels> zoomSpan_{};
    int zoom_ = 0;
    int standardZoom_ = 0;
    int maxZoom_ = 0;
    bool zoomEnabled_ = false;
    std::uint32_t scroll_ = 0;
    std::uint32_t cursor_ = 0;
    std::uint32_t previousCursor_ = 0;
    bool markSet_ = false;
    std::uint32_t mark_ = 0;
    int cursorX_ = 0;
    int markX_ = 0;
    EditPointHistory history_;
    bool onHistory_ = false;
    bool viewFlag_ = false;
    bool dragging_ = false;
    int lastX_ = 0;
};

}  // namespace lyr::view
