#include "view/view_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lyr::view {

namespace {

constexpr std::uint32_t kRingMask = kHistorySize - 1;

std::uint32_t ringPrev(std::uint32_t i) { return (i + kRingMask) & kRingMask; }
std::uint32_t ringNext(std::uint32_t i) { return (i + 1) & kRingMask; }

Repaint worst(Repaint a, Repaint b) { return static_cast<int>(a) > static_cast<int>(b) ? a : b; }

}  // namespace

// ---------------------------------------------------------------- history

void EditPointHistory::clear() {
    oldest = next = 0;
    resetNavigation();
    canGoBack = false;
    canGoForward = false;
    empty = true;
    lastPushWasPair = true;
}

void EditPointHistory::push(std::uint32_t v) {
    ring[next] = v;
    next = ringNext(next);
    if (next == oldest) oldest = ringNext(oldest);  // the oldest entry is dropped
    empty = false;
}

void EditPointHistory::resetNavigation() {
    current = ringPrev(next);
    // A single entry (left by an undo) has nothing before it: going back
    // would read a slot outside the ring's live part.
    canGoBack = current != oldest;
    canGoForward = false;
}

std::uint32_t EditPointHistory::back() {
    canGoForward = true;
    current = ringPrev(current);
    if (current == oldest) canGoBack = false;
    return ring[current];
}

std::uint32_t EditPointHistory::forward() {
    canGoBack = true;
    current = ringNext(current);
    if (ringNext(current) == next) canGoForward = false;
    return ring[current];
}

std::uint32_t EditPointHistory::newest() {
    if (empty) return 0;
    resetNavigation();
    return ring[current];
}

std::uint32_t EditPointHistory::peekNewest() const { return empty ? 0 : ring[ringPrev(next)]; }

void EditPointHistory::popNewest() {
    if (empty) return;
    next = ringPrev(next);
    resetNavigation();
    if (oldest == next) empty = true;
}

// ---------------------------------------------------------------- view state

void ViewState::attach(std::uint32_t sampleCount, int plotLeft, int plotRight) {
    n_ = sampleCount;
    left_ = plotLeft;
    right_ = plotRight;
    resetView();
}

void ViewState::detach() {
    n_ = 0;
    resetView();
}

bool ViewState::isVisible(std::uint32_t i) const {
    if (n_ == 0 || span() == 0) return false;
    const int x = sampleToX(i);
    const bool atStart = scroll_ == 0;
    const bool atEnd = std::uint64_t{scroll_} + span() == n_;
    if (i < scroll_) return false;
    if (atStart && atEnd) return left_ <= x && x <= right_ + 1;
    if (!atStart && atEnd) return left_ < x && x <= right_ + 1;
    if (!atStart) return left_ < x && x < right_ + 1;
    return left_ <= x && x < right_ + 1;
}

void ViewState::rebuildZoomLevels() {
    zoomSpan_.fill(0);
    zoomSpan_[0] = n_;
    const int w = columns();
    // At least one sample per level: a plot narrower than seven columns would
    // otherwise halve down to an empty span.
    const std::uint32_t a = w > 0 ? std::max<std::uint32_t>(1, static_cast<std::uint32_t>((w + 1) / 8)) : 0;
    zoom_ = 0;
    if (w > 0 && a < n_) {
        int i = 0;
        do {
            zoomSpan_[i + 1] = zoomSpan_[i] / 2;
            ++i;
        } while (zoomSpan_[i - 1] / 2 > a && i + 1 < kZoomLevels);
        maxZoom_ = i;
        standardZoom_ = maxZoom_ / 2;
        zoomEnabled_ = true;
    } else {
        maxZoom_ = 0;
        standardZoom_ = 0;
        zoomEnabled_ = false;
    }
}

void ViewState::centerOnCursor() {
    const std::uint64_t s = span();
    const std::uint64_t h = s / 2;
    const std::uint64_t c = cursor_;
    const std::uint64_t n = n_;
    if (c < h) {
        scroll_ = 0;
    } else if (n >= c + h) {
        scroll_ = static_cast<std::uint32_t>(c - h);
        if (n < c + s - h) scroll_ = static_cast<std::uint32_t>(n - s);
    } else {
        scroll_ = static_cast<std::uint32_t>(n - s);
    }
}

void ViewState::clampScroll() {
    const std::uint32_t s = span();
    if (s >= n_) scroll_ = 0;
    else if (scroll_ > n_ - s) scroll_ = n_ - s;
}

void ViewState::wholeView() {
    zoom_ = 0;
    scroll_ = 0;
}

void ViewState::setZoom(int level) {
    zoom_ = std::clamp(level, 0, maxZoom_);
    centerOnCursor();
}

void ViewState::resetView() {
    history_.clear();
    onHistory_ = false;
    dragging_ = false;
    markSet_ = false;
    mark_ = 0;
    rebuildZoomLevels();
    scroll_ = cursor_ = previousCursor_ = 0;
}

Repaint ViewState::setCursor(std::uint32_t v) {
    previousCursor_ = cursor_;
    cursor_ = std::min(v, n_);
    onHistory_ = false;
    if (isVisible(cursor_)) return Repaint::Columns;
    centerOnCursor();
    return Repaint::Full;
}

Repaint ViewState::setTimeMark(std::uint32_t v) {
    mark_ = std::min(v, n_);
    markSet_ = true;
    if (isVisible(mark_)) return Repaint::Columns;
    wholeView();
    return Repaint::Full;
}

Repaint ViewState::deleteTimeMark() {
    const bool wasVisible = markSet_ && isVisible(mark_);
    markSet_ = false;
    return wasVisible ? Repaint::Columns : Repaint::None;
}

void ViewState::recordEdit(std::uint32_t s, std::uint32_t e) {
    if (history_.empty || s != history_.peekNewest()) {
        history_.push(s);
        history_.push(e);
        history_.lastPushWasPair = true;
    } else {
        history_.push(e);
        history_.lastPushWasPair = false;
    }
    history_.resetNavigation();
    onHistory_ = true;
}

Repaint ViewState::moveTimeMark(std::uint32_t v) {
    const Repaint erased = deleteTimeMark();
    return worst(erased, setTimeMark(v));
}

Repaint ViewState::afterEdit(std::uint32_t s, std::uint32_t e) {
    e = std::min(e, n_);
    s = std::min(s, e);
    recordEdit(s, e);
    previousCursor_ = cursor_;
    cursor_ = e;
    if (!isVisible(cursor_)) {
        scroll_ = s;
        clampScroll();
        while (!isVisible(cursor_) && zoom_ > 0) {
            --zoom_;
            scroll_ = s;
            clampScroll();
        }
        if (zoom_ == 0) scroll_ = 0;
    }
    return Repaint::Full;
}

Repaint ViewState::afterWholeEdit() {
    recordEdit(0, n_);
    return Repaint::Full;
}

Repaint ViewState::afterUndo(bool resetAll) {
    if (resetAll) {
        resetView();
        return Repaint::Full;
    }
    previousCursor_ = cursor_;
    if (history_.empty) {
        cursor_ = 0;
    } else {
        history_.popNewest();
        cursor_ = std::min(history_.peekNewest(), n_);
        onHistory_ = !history_.empty;
        if (history_.lastPushWasPair && !history_.empty) {
            history_.popNewest();
            onHistory_ = false;
        }
    }
    if (!isVisible(cursor_)) centerOnCursor();
    return Repaint::Full;
}

bool ViewState::isEnabled(ViewCommand c) {
    if (n_ == 0) return false;
    const auto& h = history_;
    const bool markVisible = markSet_ && isVisible(mark_);
    switch (c) {
        case ViewCommand::WholeView: return zoomEnabled_ && zoom_ != 0;
        case ViewCommand::StandardZoom: return zoomEnabled_ && zoom_ != standardZoom_;
        case ViewCommand::MaxZoom:
        case ViewCommand::ZoomIn: return zoomEnabled_ && zoom_ < maxZoom_;
        case ViewCommand::ZoomOut: return zoomEnabled_ && zoom_ != 0;
        case ViewCommand::SetStandard:
            return zoomEnabled_ && zoom_ != 0 && zoom_ != standardZoom_ && zoom_ != maxZoom_;
        case ViewCommand::ResetStandard: return zoomEnabled_ && maxZoom_ / 2 != standardZoom_;
        case ViewCommand::CursorToStart: return cursor_ != 0;
        case ViewCommand::CursorToMark: return markSet_ && cursor_ != mark_;
        case ViewCommand::CursorBack: return !h.empty && h.canGoBack && onHistory_;
        case ViewCommand::CursorForward: return !h.empty && h.canGoForward && onHistory_;
        case ViewCommand::CursorToLastEdit:
            if (h.empty) return false;
            if (cursor_ == h.peekNewest()) {
                // Standing on the newest entry makes back/forward meaningful again.
                history_.resetNavigation();
                onHistory_ = true;
                return false;
            }
            return true;
        case ViewCommand::CursorToPosition: return true;
        case ViewCommand::MarkAtCursor:
        case ViewCommand::MarkAtStart:
        case ViewCommand::MarkAtPosition: return !markSet_;
        case ViewCommand::MarkAtLastEdit: return !markSet_ && !h.empty && cursor_ != h.peekNewest();
        case ViewCommand::MarkToCursor: return markSet_ && mark_ != cursor_;
        case ViewCommand::MarkToStart:
        case ViewCommand::MarkToPosition: return markSet_;
        case ViewCommand::MarkToLastEdit: return markSet_ && !h.empty && cursor_ != h.peekNewest();
        case ViewCommand::DeleteMark: return markVisible;
        case ViewCommand::StepLeft:
        case ViewCommand::HalfPageLeft: return cursor_ != 0;
        case ViewCommand::StepRight:
        case ViewCommand::HalfPageRight: return cursor_ < n_;
    }
    return false;
}

Repaint ViewState::run(ViewCommand c) {
    if (!isEnabled(c)) return Repaint::None;
    const std::uint32_t half = span() / 2;
    switch (c) {
        case ViewCommand::WholeView: wholeView(); return Repaint::Full;
        case ViewCommand::StandardZoom: setZoom(standardZoom_); return Repaint::Full;
        case ViewCommand::MaxZoom: setZoom(maxZoom_); return Repaint::Full;
        case ViewCommand::ZoomIn: setZoom(zoom_ < maxZoom_ ? zoom_ + 1 : zoom_); return Repaint::Full;
        case ViewCommand::ZoomOut: setZoom(zoom_ > 0 ? zoom_ - 1 : 0); return Repaint::Full;
        case ViewCommand::SetStandard: standardZoom_ = zoom_; return Repaint::None;
        case ViewCommand::ResetStandard: standardZoom_ = maxZoom_ / 2; return Repaint::None;
        case ViewCommand::CursorToStart: return setCursor(0);
        case ViewCommand::CursorToMark: return setCursor(mark_);
        case ViewCommand::CursorBack: {
            const Repaint r = setCursor(history_.back());
            onHistory_ = true;
            return r;
        }
        case ViewCommand::CursorForward: {
            const Repaint r = setCursor(history_.forward());
            onHistory_ = true;
            return r;
        }
        case ViewCommand::CursorToLastEdit: {
            const Repaint r = setCursor(history_.newest());
            onHistory_ = true;
            return r;
        }
        case ViewCommand::MarkAtCursor: return setTimeMark(cursor_);
        case ViewCommand::MarkAtStart: return setTimeMark(0);
        case ViewCommand::MarkAtLastEdit: return setTimeMark(history_.newest());
        case ViewCommand::MarkToCursor: return moveTimeMark(cursor_);
        case ViewCommand::MarkToStart: return moveTimeMark(0);
        case ViewCommand::MarkToLastEdit: return moveTimeMark(history_.newest());
        case ViewCommand::DeleteMark: return deleteTimeMark();
        case ViewCommand::StepLeft: return setCursor(cursor_ - 1);
        case ViewCommand::StepRight: return setCursor(cursor_ + 1);
        case ViewCommand::HalfPageLeft: return setCursor(cursor_ < half ? 0 : cursor_ - half);
        case ViewCommand::HalfPageRight:
            return setCursor(std::uint64_t{n_} < std::uint64_t{cursor_} + half ? n_ : cursor_ + half);
        case ViewCommand::CursorToPosition:
        case ViewCommand::MarkAtPosition:
        case ViewCommand::MarkToPosition: return Repaint::None;  // need a position: runAt
    }
    return Repaint::None;
}

Repaint ViewState::runAt(ViewCommand c, std::uint32_t index) {
    if (!isEnabled(c)) return Repaint::None;
    switch (c) {
        case ViewCommand::CursorToPosition: return setCursor(index);
        case ViewCommand::MarkAtPosition: return setTimeMark(index);
        case ViewCommand::MarkToPosition: return moveTimeMark(index);
        default: return run(c);
    }
}

// ---------------------------------------------------------------- mouse

bool ViewState::pressAt(int x, bool onCursorHandle) {
    if (n_ == 0) return false;
    if (!onCursorHandle && std::abs(x - sampleToX(cursor_)) > 2) return false;
    dragging_ = true;
    lastX_ = x;
    onHistory_ = false;
    return true;
}

Repaint ViewState::dragTick() {
    if (!dragging_ || n_ == 0) return Repaint::None;
    const int x = lastX_;
    const std::uint32_t v = xToSample(x);
    if (isVisible(v)) {
        if (v == cursor_) return Repaint::None;
        previousCursor_ = cursor_;
        cursor_ = v;
        return Repaint::Columns;
    }
    const std::uint32_t s = span();
    const double perColumn = static_cast<double>(s) / std::max(1, right_ - left_);
    const std::uint32_t step =
        static_cast<std::uint32_t>(std::clamp(std::floor(perColumn * 25), 1.0, static_cast<double>(s)));
    if (x <= left_) scroll_ = scroll_ > step ? scroll_ - step : 0;
    if (x >= right_ + 1) {
        const std::uint32_t maxScroll = n_ - s;
        scroll_ = (std::uint64_t{scroll_} + step > maxScroll) ? maxScroll : scroll_ + step;
    }
    previousCursor_ = cursor_;
    cursor_ = xToSample(x);
    return Repaint::Full;
}

Repaint ViewState::doubleClickTrace(int x) {
    if (n_ == 0) return Repaint::None;
    return setCursor(xToSample(x));
}

Repaint ViewState::doubleClickZoomStrip() {
    if (n_ == 0) return Repaint::None;
    if (zoom_ != standardZoom_) {
        setZoom(standardZoom_);
        return Repaint::Full;
    }
    if (zoom_ != 0) {
        wholeView();
        return Repaint::Full;
    }
    return Repaint::None;
}

Repaint ViewState::doubleClickCursorHandle() {
    if (n_ == 0 || markSet_) return Repaint::None;
    return setTimeMark(cursor_);
}

Repaint ViewState::doubleClickMarkHandle() {
    if (n_ == 0 || !markSet_ || !isVisible(mark_)) return Repaint::None;
    return deleteTimeMark();
}

// ---------------------------------------------------------------- stored state

document::ViewStateRecord ViewState::toRecord() const {
    document::ViewStateRecord r;
    r.cursor = cursor_;
    r.scroll = scroll_;
    r.cursorX = cursorX_;
    r.markSet = markSet_ ? 1 : 0;
    r.mark = mark_;
    r.markX = markX_;
    r.history = history_.ring;
    r.oldest = history_.oldest;
    r.next = history_.next;
    r.current = history_.current;
    r.empty = history_.empty ? 1 : 0;
    r.canGoBack = history_.canGoBack ? 1 : 0;
    r.canGoForward = history_.canGoForward ? 1 : 0;
    r.onHistory = onHistory_ ? 1 : 0;
    r.zoomEnabled = zoomEnabled_ ? 1 : 0;
    r.viewFlag = viewFlag_ ? 1 : 0;
    r.zoomSpans = zoomSpan_;
    r.standardZoom = static_cast<std::uint32_t>(standardZoom_);
    r.maxZoom = static_cast<std::uint32_t>(maxZoom_);
    r.zoom = static_cast<std::uint32_t>(zoom_);
    return r;
}

namespace {

bool zoomTableFits(const document::ViewStateRecord& r, std::uint32_t n) {
    if (r.maxZoom >= static_cast<std::uint32_t>(kZoomLevels)) return false;
    if (r.zoom > r.maxZoom || r.standardZoom > r.maxZoom) return false;
    if (r.zoomSpans[0] != n) return false;
    if (!r.zoomEnabled && r.maxZoom != 0) return false;
    for (std::uint32_t i = 1; i <= r.maxZoom; ++i) {
        if (r.zoomSpans[i] == 0 || r.zoomSpans[i] > r.zoomSpans[i - 1]) return false;
    }
    return true;
}

bool historyFits(const document::ViewStateRecord& r, std::uint32_t n) {
    if (r.oldest >= kHistorySize || r.next >= kHistorySize || r.current >= kHistorySize) return false;
    const bool empty = r.empty != 0;
    if (empty != (r.oldest == r.next)) return false;
    if (empty) return true;
    const std::uint32_t live = (r.next - r.oldest) & kRingMask;
    if (((r.current - r.oldest) & kRingMask) >= live) return false;
    for (std::uint32_t k = 0, i = r.oldest; k < live; ++k, i = ringNext(i)) {
        if (r.history[i] > n) return false;
    }
    return true;
}

}  // namespace

bool ViewState::fromRecord(const document::ViewStateRecord& r, std::uint32_t sampleCount,
                           int plotLeft, int plotRight) {
    n_ = sampleCount;
    left_ = plotLeft;
    right_ = plotRight;
    resetView();
    if (n_ == 0) return false;
    bool intact = true;

    if (zoomTableFits(r, n_)) {
        zoomSpan_ = r.zoomSpans;
        for (int i = static_cast<int>(r.maxZoom) + 1; i < kZoomLevels; ++i) zoomSpan_[i] = 0;
        maxZoom_ = static_cast<int>(r.maxZoom);
        standardZoom_ = static_cast<int>(r.standardZoom);
        zoom_ = static_cast<int>(r.zoom);
        zoomEnabled_ = r.zoomEnabled != 0;
        if (std::uint64_t{r.scroll} + span() <= n_) scroll_ = r.scroll;
        else intact = false;
    } else {
        intact = false;  // zoom table rebuilt for this waveform, scroll at the start
    }

    if (r.cursor <= n_) cursor_ = previousCursor_ = r.cursor;
    else intact = false;
    cursorX_ = r.cursorX;

    if (r.markSet != 0) {
        if (r.mark <= n_) {
            markSet_ = true;
            mark_ = r.mark;
            markX_ = r.markX;
        } else {
            intact = false;
        }
    }

    if (historyFits(r, n_)) {
        history_.ring = r.history;
        history_.oldest = r.oldest;
        history_.next = r.next;
        history_.current = r.current;
        history_.empty = r.empty != 0;
        // Navigation flags that would step outside the live entries are dropped.
        const bool canBack = r.canGoBack != 0 && r.current != r.oldest;
        const bool canForward = r.canGoForward != 0 && ringNext(r.current) != r.next;
        if (canBack != (r.canGoBack != 0) || canForward != (r.canGoForward != 0)) intact = false;
        history_.canGoBack = canBack;
        history_.canGoForward = canForward;
        onHistory_ = r.onHistory != 0 && !history_.empty;
    } else {
        intact = false;
    }
    viewFlag_ = r.viewFlag != 0;
    return intact;
}

}  // namespace lyr::view
