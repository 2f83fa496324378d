#include "view/view_state.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lyr::view {
namespace {

constexpr int kLeft = 50;
constexpr int kRight = 1049;  // W = 1,000

ViewState makeView(std::uint32_t n) {
    ViewState v;
    v.attach(n, kLeft, kRight);
    return v;
}

TEST(Zoom, ShortWaveformDisablesEveryZoomCommand) {
    ViewState v = makeView(100);  // a = 125 >= N
    EXPECT_FALSE(v.zoomEnabled());
    EXPECT_EQ(v.maxZoom(), 0);
    for (ViewCommand c : {ViewCommand::WholeView, ViewCommand::StandardZoom, ViewCommand::MaxZoom,
                          ViewCommand::ZoomIn, ViewCommand::ZoomOut, ViewCommand::SetStandard,
                          ViewCommand::ResetStandard}) {
        EXPECT_FALSE(v.isEnabled(c)) << static_cast<int>(c);
    }
    EXPECT_EQ(v.span(), 100u);
}

TEST(Zoom, FullCapacityTable) {
    ViewState v = makeView(1048576);
    EXPECT_TRUE(v.zoomEnabled());
    EXPECT_EQ(v.maxZoom(), 14);
    EXPECT_EQ(v.standardZoom(), 7);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(v.zoomSpan(i), 1048576u >> i);
    EXPECT_EQ(v.zoomSpan(14), 64u);

    EXPECT_FALSE(v.isEnabled(ViewCommand::WholeView));
    EXPECT_FALSE(v.isEnabled(ViewCommand::ZoomOut));
    EXPECT_FALSE(v.isEnabled(ViewCommand::SetStandard));  // zoom 0
    EXPECT_FALSE(v.isEnabled(ViewCommand::ResetStandard));
    EXPECT_TRUE(v.isEnabled(ViewCommand::ZoomIn));
    EXPECT_EQ(v.run(ViewCommand::ZoomIn), Repaint::Full);
    EXPECT_EQ(v.zoom(), 1);
    EXPECT_TRUE(v.isEnabled(ViewCommand::SetStandard));
    v.run(ViewCommand::SetStandard);
    EXPECT_EQ(v.standardZoom(), 1);
    EXPECT_FALSE(v.isEnabled(ViewCommand::StandardZoom));
    EXPECT_TRUE(v.isEnabled(ViewCommand::ResetStandard));
    v.run(ViewCommand::ResetStandard);
    EXPECT_EQ(v.standardZoom(), 7);
    v.run(ViewCommand::MaxZoom);
    EXPECT_EQ(v.zoom(), 14);
    EXPECT_FALSE(v.isEnabled(ViewCommand::ZoomIn));
    EXPECT_FALSE(v.isEnabled(ViewCommand::SetStandard));  // zoom = maxZoom
    v.run(ViewCommand::WholeView);
    EXPECT_EQ(v.zoom(), 0);
    EXPECT_EQ(v.scroll(), 0u);
}

TEST(Zoom, CentreOnCursorKeepsTheViewInsideTheWaveform) {
    ViewState v = makeView(1048576);
    v.setCursor(500000);
    v.setZoom(14);  // span 64
    EXPECT_EQ(v.scroll(), 500000u - 32);
    v.setCursor(1048576);
    v.centerOnCursor();
    EXPECT_EQ(v.scroll(), 1048576u - 64);
    v.setCursor(10);
    v.centerOnCursor();
    EXPECT_EQ(v.scroll(), 0u);
}

TEST(Visibility, EdgeRulesPerScrollState) {
    ViewState v = makeView(4000);  // W = 1000, a = 125: spans 4000, 2000, 1000, 500, 250, 125
    // Whole waveform: both ends count.
    EXPECT_TRUE(v.isVisible(0));
    EXPECT_TRUE(v.isVisible(4000));
    v.setZoom(2);  // span 1000, cursor 0: at the start
    EXPECT_TRUE(v.isVisible(0));
    EXPECT_FALSE(v.isVisible(1000));  // right + 1 is outside while not at the end
    EXPECT_TRUE(v.isVisible(999));
    v.setCursor(3500);
    EXPECT_EQ(v.scroll(), 3000u);  // at the end
    EXPECT_TRUE(v.isVisible(4000));
    EXPECT_FALSE(v.isVisible(3000));  // the left edge is outside once scrolled
    v.setCursor(2000);
    EXPECT_EQ(v.scroll(), 1500u);  // in the middle
    EXPECT_FALSE(v.isVisible(1500));
    EXPECT_FALSE(v.isVisible(2500));
    EXPECT_TRUE(v.isVisible(1501));
    EXPECT_TRUE(v.isVisible(2499));
}

TEST(Cursor, ColumnRedrawWhenVisibleFullRefreshOtherwise) {
    ViewState v = makeView(4000);
    v.setZoom(2);
    EXPECT_EQ(v.setCursor(10), Repaint::Columns);
    EXPECT_EQ(v.previousCursor(), 0u);
    EXPECT_EQ(v.setCursor(3000), Repaint::Full);
    EXPECT_EQ(v.scroll(), 2500u);
    EXPECT_EQ(v.setCursor(9999), Repaint::Full);  // clamped to N, then centred: the end
    EXPECT_EQ(v.cursor(), 4000u);
    EXPECT_EQ(v.scroll(), 3000u);
    EXPECT_EQ(v.setCursor(3999), Repaint::Columns);
}

TEST(Cursor, StepButtons) {
    ViewState v = makeView(4000);
    EXPECT_FALSE(v.isEnabled(ViewCommand::StepLeft));
    EXPECT_FALSE(v.isEnabled(ViewCommand::HalfPageLeft));
    v.run(ViewCommand::StepRight);
    EXPECT_EQ(v.cursor(), 1u);
    v.run(ViewCommand::HalfPageRight);  // span 4000: + 2000
    EXPECT_EQ(v.cursor(), 2001u);
    v.run(ViewCommand::HalfPageRight);
    EXPECT_EQ(v.cursor(), 4000u);
    EXPECT_FALSE(v.isEnabled(ViewCommand::StepRight));
    EXPECT_FALSE(v.isEnabled(ViewCommand::HalfPageRight));
    v.run(ViewCommand::HalfPageLeft);
    EXPECT_EQ(v.cursor(), 2000u);
    v.run(ViewCommand::StepLeft);
    EXPECT_EQ(v.cursor(), 1999u);
    v.run(ViewCommand::HalfPageLeft);
    v.run(ViewCommand::HalfPageLeft);
    EXPECT_EQ(v.cursor(), 0u);
}

TEST(History, BackAndForwardAfterTwoEdits) {
    ViewState v = makeView(1000);
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorBack));
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorToLastEdit));
    v.afterEdit(100, 200);
    EXPECT_EQ(v.cursor(), 200u);
    EXPECT_TRUE(v.onHistory());
    EXPECT_TRUE(v.isEnabled(ViewCommand::CursorBack));
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorForward));
    v.run(ViewCommand::CursorBack);
    EXPECT_EQ(v.cursor(), 100u);
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorBack));  // at the oldest entry
    EXPECT_TRUE(v.isEnabled(ViewCommand::CursorForward));
    v.run(ViewCommand::CursorForward);
    EXPECT_EQ(v.cursor(), 200u);

    // An edit starting where the last one ended pushes only its end.
    v.afterEdit(200, 300);
    EXPECT_FALSE(v.history().lastPushWasPair);
    EXPECT_EQ((v.history().next - v.history().oldest) & 127u, 3u);
    v.run(ViewCommand::CursorBack);
    EXPECT_EQ(v.cursor(), 200u);
    v.run(ViewCommand::CursorBack);
    EXPECT_EQ(v.cursor(), 100u);

    // Any other cursor movement ends navigation; "last edit" brings it back.
    v.run(ViewCommand::StepRight);
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorForward));
    EXPECT_TRUE(v.isEnabled(ViewCommand::CursorToLastEdit));
    v.run(ViewCommand::CursorToLastEdit);
    EXPECT_EQ(v.cursor(), 300u);
    EXPECT_TRUE(v.onHistory());
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorToLastEdit));  // standing on it
}

TEST(History, LastEditTestRearmsNavigation) {
    ViewState v = makeView(1000);
    v.afterEdit(100, 200);
    v.run(ViewCommand::StepRight);
    v.run(ViewCommand::StepLeft);  // back on 200, but navigation is off
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorBack));
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorToLastEdit));  // cursor == newest: re-arms
    EXPECT_TRUE(v.onHistory());
    EXPECT_TRUE(v.isEnabled(ViewCommand::CursorBack));
}

TEST(History, OverflowKeepsTheNewest127Entries) {
    ViewState v = makeView(1000);
    for (std::uint32_t i = 0; i < 65; ++i) v.afterEdit(2 * i, 2 * i + 1);  // entries 0 ... 129
    EXPECT_EQ(v.cursor(), 129u);
    int steps = 0;
    std::uint32_t last = v.cursor();
    while (v.isEnabled(ViewCommand::CursorBack)) {
        v.run(ViewCommand::CursorBack);
        ASSERT_EQ(v.cursor(), last - 1);
        last = v.cursor();
        ++steps;
        ASSERT_LT(steps, 200);
    }
    EXPECT_EQ(steps, 126);
    EXPECT_EQ(v.cursor(), 3u);  // 0, 1 and 2 were overwritten
}

TEST(History, AfterEditOutsideTheViewLowersTheZoom) {
    ViewState v = makeView(1048576);
    v.setZoom(14);  // span 64 around 0
    v.afterEdit(500000, 700000);
    EXPECT_EQ(v.cursor(), 700000u);
    EXPECT_TRUE(v.isVisible(700000));
    EXPECT_LT(v.zoom(), 14);
    EXPECT_GE(700000u, v.scroll());
    EXPECT_LE(v.scroll() + v.span(), 1048576u);
    // The end is clipped to N.
    v.afterEdit(1000000, 2000000);
    EXPECT_EQ(v.cursor(), 1048576u);
}

TEST(History, WholeEditKeepsTheCursor) {
    ViewState v = makeView(1000);
    v.setCursor(321);
    EXPECT_EQ(v.afterWholeEdit(), Repaint::Full);
    EXPECT_EQ(v.cursor(), 321u);
    EXPECT_EQ(v.history().peekNewest(), 1000u);
    EXPECT_TRUE(v.isEnabled(ViewCommand::CursorToLastEdit));
}

// Undo puts the cursor on the start of the undone edit and takes its
// entries off the history: one for an edit that continued the last one, two
// for one that did not (a pair).
TEST(Undo, RestoresTheCursorAndHistory) {
    struct Case {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> edits;
        int undos;
        std::uint32_t cursor;
        std::uint32_t entries;
        std::uint32_t newest;
        bool onHistory;
    } cases[] = {
        {{}, 1, 0, 0, 0, false},                            // empty history
        {{{100, 200}, {200, 300}}, 1, 200, 2, 200, true},   // single push: back on the start
        {{{100, 200}, {400, 500}}, 1, 400, 2, 200, false},  // a pair
        {{{100, 200}, {400, 500}}, 2, 100, 0, 0, false},    // a pair again: the ring ends empty
        {{{10, 20}}, 3, 0, 0, 0, false},                    // a pair on an emptied ring does not underflow
        {{{100, 200}, {200, 300}}, 2, 100, 1, 100, true},   // one entry left
    };
    for (const Case& c : cases) {
        ViewState v = makeView(1000);
        for (const auto& [first, end] : c.edits) v.afterEdit(first, end);
        for (int k = 0; k < c.undos; ++k) v.afterUndo(false);
        SCOPED_TRACE(testing::Message() << c.edits.size() << " edits, " << c.undos << " undos");
        EXPECT_EQ(v.cursor(), c.cursor);
        EXPECT_EQ((v.history().next - v.history().oldest) & 127u, c.entries);
        EXPECT_EQ(v.history().empty, c.entries == 0);
        if (c.entries) {
            EXPECT_EQ(v.onHistory(), c.onHistory);
            EXPECT_EQ(v.history().peekNewest(), c.newest);
        }
        // Nothing before the oldest entry, nothing after the newest.
        if (c.entries == 1) {
            EXPECT_FALSE(v.isEnabled(ViewCommand::CursorBack));
            EXPECT_FALSE(v.isEnabled(ViewCommand::CursorForward));
            v.setCursor(500);
            v.run(ViewCommand::CursorToLastEdit);
            EXPECT_EQ(v.cursor(), 100u);
        }
        if (c.entries == 0) {
            EXPECT_EQ(v.history().oldest, v.history().next);
            EXPECT_FALSE(v.isEnabled(ViewCommand::CursorToLastEdit));
        }
    }
    // The undo of a change of the whole waveform starts the view over.
    ViewState w = makeView(1000);
    w.afterEdit(100, 200);
    w.setZoom(3);
    w.afterUndo(true);
    EXPECT_EQ(w.zoom(), 0);
    EXPECT_TRUE(w.history().empty);
    EXPECT_EQ(w.cursor(), 0u);
}

TEST(Zoom, NarrowPlotNeverHalvesToAnEmptySpan) {
    ViewState v;
    v.attach(5, 0, 2);  // W = 3
    for (int i = 0; i <= v.maxZoom(); ++i) EXPECT_GT(v.zoomSpan(i), 0u) << i;
    v.run(ViewCommand::MaxZoom);
    EXPECT_GT(v.span(), 0u);
}

TEST(TimeMark, OutsideTheViewSwitchesToTheWholeView) {
    ViewState v = makeView(1048576);
    v.run(ViewCommand::MaxZoom);
    EXPECT_TRUE(v.isEnabled(ViewCommand::MarkAtPosition));
    EXPECT_EQ(v.runAt(ViewCommand::MarkAtPosition, 900000), Repaint::Full);
    EXPECT_EQ(v.zoom(), 0);
    EXPECT_EQ(v.scroll(), 0u);
    EXPECT_TRUE(v.markSet());
    EXPECT_FALSE(v.isEnabled(ViewCommand::MarkAtCursor));
    EXPECT_TRUE(v.isEnabled(ViewCommand::DeleteMark));
    // Scrolled out of view: delete is greyed though the mark exists.
    v.setCursor(10);
    v.run(ViewCommand::MaxZoom);
    EXPECT_TRUE(v.markSet());
    EXPECT_FALSE(v.isEnabled(ViewCommand::DeleteMark));
    EXPECT_TRUE(v.isEnabled(ViewCommand::MarkToStart));
    // A visible mark is drawn in place.
    EXPECT_EQ(v.run(ViewCommand::MarkToCursor), Repaint::Columns);
    EXPECT_EQ(v.mark(), 10u);
    EXPECT_EQ(v.zoom(), 14);
    EXPECT_TRUE(v.isEnabled(ViewCommand::CursorToMark) == false);
    v.run(ViewCommand::DeleteMark);
    EXPECT_FALSE(v.markSet());
}

TEST(TimeMark, EnablingRules) {
    ViewState v = makeView(1000);
    using C = ViewCommand;
    auto on = [&](C c) { return v.isEnabled(c); };
    // No mark: only the "set" commands (last edit needs a history).
    EXPECT_TRUE(on(C::MarkAtCursor) && on(C::MarkAtStart) && on(C::MarkAtPosition));
    EXPECT_FALSE(on(C::MarkAtLastEdit));
    for (C c : {C::MarkToCursor, C::MarkToStart, C::MarkToLastEdit, C::MarkToPosition, C::DeleteMark,
                C::CursorToMark})
        EXPECT_FALSE(on(c)) << static_cast<int>(c);
    v.afterEdit(10, 20);
    v.setCursor(500);
    EXPECT_TRUE(on(C::MarkAtLastEdit));
    v.run(C::MarkAtCursor);
    ASSERT_TRUE(v.markSet());
    // Mark on the cursor: no "set", nothing to move to the cursor.
    for (C c : {C::MarkAtCursor, C::MarkAtStart, C::MarkAtLastEdit, C::MarkAtPosition, C::MarkToCursor,
                C::CursorToMark})
        EXPECT_FALSE(on(c)) << static_cast<int>(c);
    EXPECT_TRUE(on(C::MarkToStart) && on(C::MarkToPosition) && on(C::MarkToLastEdit) && on(C::DeleteMark));
    v.run(C::StepRight);
    EXPECT_TRUE(on(C::MarkToCursor) && on(C::CursorToMark));
    v.run(C::CursorToLastEdit);  // cursor on the newest entry
    EXPECT_FALSE(on(C::MarkToLastEdit));
}

TEST(TimeMark, LastEditCommands) {
    ViewState v = makeView(1000);
    EXPECT_FALSE(v.isEnabled(ViewCommand::MarkAtLastEdit));  // empty history
    v.afterEdit(100, 200);
    EXPECT_FALSE(v.isEnabled(ViewCommand::MarkAtLastEdit));  // cursor on it
    v.setCursor(0);
    v.run(ViewCommand::MarkAtLastEdit);
    EXPECT_EQ(v.mark(), 200u);
    v.run(ViewCommand::MarkToStart);
    EXPECT_EQ(v.mark(), 0u);
    v.run(ViewCommand::MarkToLastEdit);
    EXPECT_EQ(v.mark(), 200u);
    v.runAt(ViewCommand::MarkToPosition, 50);
    EXPECT_EQ(v.mark(), 50u);
    v.run(ViewCommand::CursorToMark);
    EXPECT_EQ(v.cursor(), 50u);
}

TEST(Mouse, DragScrollsUntilTheLastSampleAndNoFurther) {
    ViewState v = makeView(10000);  // spans 10000, 5000, 2500, ...
    v.setZoom(2);                   // span 2500 at the start
    ASSERT_TRUE(v.pressAt(v.sampleToX(0) + 2, false));
    EXPECT_FALSE(v.onHistory());
    v.moveTo(kRight + 30);
    int ticks = 0;
    std::uint32_t lastScroll = 0;
    while (ticks < 1000) {
        const Repaint r = v.dragTick();
        ++ticks;
        if (r == Repaint::Full) {
            ASSERT_GE(v.scroll(), lastScroll);
            lastScroll = v.scroll();
        }
        if (v.scroll() + v.span() == 10000 && v.cursor() == 10000) break;
    }
    EXPECT_EQ(v.scroll(), 7500u);
    EXPECT_EQ(v.cursor(), 10000u);
    // Further ticks change nothing.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(v.dragTick(), Repaint::None);
    EXPECT_EQ(v.scroll(), 7500u);
    // Step = floor(2500 / 999 * 25) = 62 samples per tick.
    EXPECT_EQ(ticks, (7500 + 61) / 62);

    // Back to the left edge, then release.
    v.moveTo(kLeft - 5);
    for (int i = 0; i < 200; ++i) v.dragTick();
    EXPECT_EQ(v.scroll(), 0u);
    EXPECT_EQ(v.cursor(), 0u);
    v.release();
    EXPECT_EQ(v.dragTick(), Repaint::None);
}

TEST(Mouse, PressNeedsTheCursorOrItsHandle) {
    ViewState v = makeView(1000);
    v.setCursor(500);
    const int x = v.sampleToX(500);
    EXPECT_FALSE(v.pressAt(x + 3, false));
    EXPECT_TRUE(v.pressAt(x - 2, false));
    v.release();
    EXPECT_TRUE(v.pressAt(x + 40, true));
    v.moveTo(x + 100);
    EXPECT_EQ(v.dragTick(), Repaint::Columns);
    EXPECT_EQ(v.cursor(), v.xToSample(x + 100));
}

TEST(Mouse, DoubleClicks) {
    ViewState v = makeView(1048576);
    EXPECT_EQ(v.doubleClickTrace(kLeft + 500), Repaint::Columns);
    EXPECT_EQ(v.cursor(), v.xToSample(kLeft + 500));
    v.doubleClickZoomStrip();
    EXPECT_EQ(v.zoom(), 7);
    v.doubleClickZoomStrip();
    EXPECT_EQ(v.zoom(), 0);
    v.doubleClickCursorHandle();
    EXPECT_TRUE(v.markSet());
    EXPECT_EQ(v.mark(), v.cursor());
    v.doubleClickMarkHandle();
    EXPECT_FALSE(v.markSet());

    ViewState none;
    EXPECT_FALSE(none.pressAt(0, true));
    EXPECT_EQ(none.doubleClickTrace(10), Repaint::None);
    EXPECT_FALSE(none.isEnabled(ViewCommand::CursorToPosition));
}

TEST(Record, RoundTrip) {
    ViewState v = makeView(1048576);
    v.afterEdit(100, 200);
    v.afterEdit(5000, 6000);
    v.setZoom(9);
    v.setTimeMark(6100);
    v.setDrawnCursorX(321);
    const document::ViewStateRecord r = v.toRecord();
    EXPECT_EQ(r.cursor, 6000u);
    EXPECT_EQ(r.zoom, 9u);
    EXPECT_EQ(r.maxZoom, 14u);
    EXPECT_EQ(r.zoomSpans[9], 1048576u >> 9);
    EXPECT_EQ(r.markSet, 1u);
    EXPECT_EQ(r.next, 4u);

    ViewState w;
    EXPECT_TRUE(w.fromRecord(r, 1048576, kLeft, kRight));
    EXPECT_EQ(w.toRecord(), r);
    EXPECT_EQ(w.cursor(), 6000u);
    EXPECT_TRUE(w.isEnabled(ViewCommand::CursorBack));
}

TEST(Record, PartsThatDoNotFitAreRebuilt) {
    ViewState v = makeView(1048576);
    v.afterEdit(100, 200);
    v.setZoom(9);
    v.setCursor(150);
    document::ViewStateRecord r = v.toRecord();

    // A zoom level beyond the table.
    document::ViewStateRecord bad = r;
    bad.zoom = 20;
    ViewState w;
    EXPECT_FALSE(w.fromRecord(bad, 1048576, kLeft, kRight));
    EXPECT_EQ(w.zoom(), 0);
    EXPECT_EQ(w.maxZoom(), 14);
    EXPECT_EQ(w.scroll(), 0u);
    EXPECT_EQ(w.cursor(), 150u);                             // the rest is kept
    EXPECT_EQ(w.history().peekNewest(), 200u);

    // A span of 0 and a table that belongs to another length.
    bad = r;
    bad.zoomSpans[3] = 0;
    EXPECT_FALSE(w.fromRecord(bad, 1048576, kLeft, kRight));
    EXPECT_EQ(w.zoomSpan(3), 1048576u >> 3);
    EXPECT_FALSE(w.fromRecord(r, 5000, kLeft, kRight));
    EXPECT_EQ(w.zoomSpan(0), 5000u);
    EXPECT_EQ(w.cursor(), 150u);

    // Indices beyond N.
    bad = r;
    bad.cursor = 2000000;
    bad.markSet = 1;
    bad.mark = 2000000;
    bad.history[0] = 3000000;
    EXPECT_FALSE(w.fromRecord(bad, 1048576, kLeft, kRight));
    EXPECT_EQ(w.cursor(), 0u);
    EXPECT_FALSE(w.markSet());
    EXPECT_TRUE(w.history().empty);
    EXPECT_EQ(w.zoom(), 9);

    // Navigation flags that point outside the live entries.
    bad = r;
    bad.current = bad.oldest;
    bad.canGoBack = 1;
    bad.canGoForward = 1;
    EXPECT_FALSE(w.fromRecord(bad, 1048576, kLeft, kRight));
    EXPECT_FALSE(w.history().canGoBack);
    EXPECT_TRUE(w.history().canGoForward);
    bad = r;
    bad.canGoForward = 1;  // current is the newest entry
    EXPECT_FALSE(w.fromRecord(bad, 1048576, kLeft, kRight));
    EXPECT_FALSE(w.history().canGoForward);
    EXPECT_TRUE(w.history().canGoBack);

    // Ring indices out of range, scroll past the end.
    bad = r;
    bad.next = 500;
    bad.scroll = 1048576;
    EXPECT_FALSE(w.fromRecord(bad, 1048576, kLeft, kRight));
    EXPECT_TRUE(w.history().empty);
    EXPECT_EQ(w.scroll(), 0u);
    EXPECT_LE(w.scroll() + w.span(), 1048576u);
}

}  // namespace
}  // namespace lyr::view
