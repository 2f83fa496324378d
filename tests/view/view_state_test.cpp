#include "view/view_state.h"

#include <gtest/gtest.h>

#include <initializer_list>
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

using C = ViewCommand;

// Those of `commands` that are enabled, in their order (asking may re-arm the
// history navigation, as a menu showing "last edit" does).
std::vector<C> enabledOf(ViewState& v, const std::vector<C>& commands) {
    std::vector<C> on;
    for (C c : commands)
        if (v.isEnabled(c)) on.push_back(c);
    return on;
}

// Runs each command and expects the cursor where the row says.
void expectCursorAfter(ViewState& v, std::initializer_list<std::pair<C, std::uint32_t>> steps) {
    for (const auto& [command, cursor] : steps) {
        v.run(command);
        EXPECT_EQ(v.cursor(), cursor) << "after command " << static_cast<int>(command);
    }
}

const std::vector<C> kZoomCommands = {C::WholeView, C::StandardZoom, C::MaxZoom,      C::ZoomIn,
                                      C::ZoomOut,   C::SetStandard,  C::ResetStandard};

TEST(Zoom, ShortWaveformDisablesEveryZoomCommand) {
    ViewState v = makeView(100);  // a = 125 >= N
    EXPECT_FALSE(v.zoomEnabled());
    EXPECT_EQ(v.maxZoom(), 0);
    EXPECT_EQ(enabledOf(v, kZoomCommands), std::vector<C>{});
    EXPECT_EQ(v.span(), 100u);
}

TEST(Zoom, FullCapacityTable) {
    ViewState v = makeView(1048576);
    EXPECT_TRUE(v.zoomEnabled());
    EXPECT_EQ(v.maxZoom(), 14);
    EXPECT_EQ(v.standardZoom(), 7);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(v.zoomSpan(i), 1048576u >> i);
    EXPECT_EQ(v.zoomSpan(14), 64u);

    EXPECT_EQ(enabledOf(v, kZoomCommands), (std::vector<C>{C::StandardZoom, C::MaxZoom, C::ZoomIn}));  // zoom 0
    EXPECT_EQ(v.run(C::ZoomIn), Repaint::Full);
    EXPECT_EQ(v.zoom(), 1);
    EXPECT_TRUE(v.isEnabled(C::SetStandard));
    v.run(C::SetStandard);
    EXPECT_EQ(v.standardZoom(), 1);
    EXPECT_EQ(enabledOf(v, {C::StandardZoom, C::ResetStandard}), std::vector<C>{C::ResetStandard});
    v.run(C::ResetStandard);
    EXPECT_EQ(v.standardZoom(), 7);
    v.run(C::MaxZoom);
    EXPECT_EQ(v.zoom(), 14);
    EXPECT_EQ(enabledOf(v, {C::ZoomIn, C::SetStandard}), std::vector<C>{});  // zoom = maxZoom
    v.run(C::WholeView);
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
    auto visible = [&v](std::initializer_list<std::uint32_t> indices) {
        std::vector<bool> r;
        for (std::uint32_t i : indices) r.push_back(v.isVisible(i));
        return r;
    };
    EXPECT_EQ(visible({0, 4000}), (std::vector<bool>{true, true}));  // whole waveform: both ends count
    v.setZoom(2);  // span 1000, cursor 0: at the start; right + 1 is outside while not at the end
    EXPECT_EQ(visible({0, 999, 1000}), (std::vector<bool>{true, true, false}));
    v.setCursor(3500);
    EXPECT_EQ(v.scroll(), 3000u);  // at the end; the left edge is outside once scrolled
    EXPECT_EQ(visible({3000, 4000}), (std::vector<bool>{false, true}));
    v.setCursor(2000);
    EXPECT_EQ(v.scroll(), 1500u);  // in the middle
    EXPECT_EQ(visible({1500, 1501, 2499, 2500}), (std::vector<bool>{false, true, true, false}));
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
    const std::vector<C> steps = {C::StepLeft, C::StepRight, C::HalfPageLeft, C::HalfPageRight};
    EXPECT_EQ(enabledOf(v, steps), (std::vector<C>{C::StepRight, C::HalfPageRight}));
    expectCursorAfter(v, {{C::StepRight, 1}, {C::HalfPageRight, 2001}, {C::HalfPageRight, 4000}});  // span 4000: 2000
    EXPECT_EQ(enabledOf(v, steps), (std::vector<C>{C::StepLeft, C::HalfPageLeft}));
    expectCursorAfter(v, {{C::HalfPageLeft, 2000}, {C::StepLeft, 1999}, {C::HalfPageLeft, 0}});
}

const std::vector<C> kHistoryCommands = {C::CursorBack, C::CursorForward, C::CursorToLastEdit};

TEST(History, BackAndForwardAfterTwoEdits) {
    ViewState v = makeView(1000);
    EXPECT_EQ(enabledOf(v, kHistoryCommands), std::vector<C>{});
    v.afterEdit(100, 200);
    EXPECT_EQ(v.cursor(), 200u);
    EXPECT_TRUE(v.onHistory());
    EXPECT_EQ(enabledOf(v, kHistoryCommands), std::vector<C>{C::CursorBack});
    v.run(C::CursorBack);
    EXPECT_EQ(v.cursor(), 100u);
    EXPECT_EQ(enabledOf(v, kHistoryCommands), (std::vector<C>{C::CursorForward, C::CursorToLastEdit}));  // the oldest
    expectCursorAfter(v, {{C::CursorForward, 200}});

    // An edit starting where the last one ended pushes only its end.
    v.afterEdit(200, 300);
    EXPECT_FALSE(v.history().lastPushWasPair);
    EXPECT_EQ((v.history().next - v.history().oldest) & 127u, 3u);
    expectCursorAfter(v, {{C::CursorBack, 200}, {C::CursorBack, 100}});

    // Any other cursor movement ends navigation; "last edit" brings it back.
    v.run(C::StepRight);
    EXPECT_EQ(enabledOf(v, kHistoryCommands), std::vector<C>{C::CursorToLastEdit});
    expectCursorAfter(v, {{C::CursorToLastEdit, 300}});
    EXPECT_TRUE(v.onHistory());
    EXPECT_FALSE(v.isEnabled(C::CursorToLastEdit));  // standing on it

    // Asking for "last edit" while standing on the newest entry re-arms navigation.
    v.run(C::StepRight);
    v.run(C::StepLeft);  // back on 300, but navigation is off
    EXPECT_FALSE(v.isEnabled(C::CursorBack));
    EXPECT_FALSE(v.isEnabled(C::CursorToLastEdit));  // cursor == newest: re-arms
    EXPECT_TRUE(v.onHistory());
    EXPECT_TRUE(v.isEnabled(C::CursorBack));
}

TEST(History, OverflowKeepsTheNewest127Entries) {
    ViewState v = makeView(1000);
    for (std::uint32_t i = 0; i < 65; ++i) v.afterEdit(2 * i, 2 * i + 1);  // entries 0 ... 129
    EXPECT_EQ(v.cursor(), 129u);
    int steps = 0;
    std::uint32_t last = v.cursor();
    while (v.isEnabled(C::CursorBack)) {
        v.run(C::CursorBack);
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
    EXPECT_TRUE(v.isEnabled(C::CursorToLastEdit));
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
            EXPECT_FALSE(v.isEnabled(C::CursorBack));
            EXPECT_FALSE(v.isEnabled(C::CursorForward));
            v.setCursor(500);
            v.run(C::CursorToLastEdit);
            EXPECT_EQ(v.cursor(), 100u);
        }
        if (c.entries == 0) {
            EXPECT_EQ(v.history().oldest, v.history().next);
            EXPECT_FALSE(v.isEnabled(C::CursorToLastEdit));
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
    v.run(C::MaxZoom);
    EXPECT_GT(v.span(), 0u);
}

TEST(TimeMark, OutsideTheViewSwitchesToTheWholeView) {
    ViewState v = makeView(1048576);
    v.run(C::MaxZoom);
    EXPECT_TRUE(v.isEnabled(C::MarkAtPosition));
    EXPECT_EQ(v.runAt(C::MarkAtPosition, 900000), Repaint::Full);
    EXPECT_EQ(v.zoom(), 0);
    EXPECT_EQ(v.scroll(), 0u);
    EXPECT_TRUE(v.markSet());
    EXPECT_FALSE(v.isEnabled(C::MarkAtCursor));
    EXPECT_TRUE(v.isEnabled(C::DeleteMark));
    // Scrolled out of view: delete is greyed though the mark exists.
    v.setCursor(10);
    v.run(C::MaxZoom);
    EXPECT_TRUE(v.markSet());
    EXPECT_FALSE(v.isEnabled(C::DeleteMark));
    EXPECT_TRUE(v.isEnabled(C::MarkToStart));
    // A visible mark is drawn in place.
    EXPECT_EQ(v.run(C::MarkToCursor), Repaint::Columns);
    EXPECT_EQ(v.mark(), 10u);
    EXPECT_EQ(v.zoom(), 14);
    EXPECT_TRUE(v.isEnabled(C::CursorToMark) == false);
    v.run(C::DeleteMark);
    EXPECT_FALSE(v.markSet());
}

TEST(TimeMark, EnablingRules) {
    ViewState v = makeView(1000);
    const std::vector<C> mark = {C::MarkAtCursor, C::MarkAtStart,    C::MarkAtLastEdit, C::MarkAtPosition,
                                 C::MarkToCursor, C::MarkToStart,    C::MarkToLastEdit, C::MarkToPosition,
                                 C::DeleteMark,   C::CursorToMark};
    // No mark: only the "set" commands (last edit needs a history).
    EXPECT_EQ(enabledOf(v, mark), (std::vector<C>{C::MarkAtCursor, C::MarkAtStart, C::MarkAtPosition}));
    v.afterEdit(10, 20);
    v.setCursor(500);
    EXPECT_TRUE(v.isEnabled(C::MarkAtLastEdit));
    v.run(C::MarkAtCursor);
    ASSERT_TRUE(v.markSet());
    // Mark on the cursor: no "set", nothing to move to the cursor.
    EXPECT_EQ(enabledOf(v, mark), (std::vector<C>{C::MarkToStart, C::MarkToLastEdit, C::MarkToPosition, C::DeleteMark}));
    v.run(C::StepRight);
    EXPECT_EQ(enabledOf(v, {C::MarkToCursor, C::CursorToMark}), (std::vector<C>{C::MarkToCursor, C::CursorToMark}));
    v.run(C::CursorToLastEdit);  // cursor on the newest entry
    EXPECT_FALSE(v.isEnabled(C::MarkToLastEdit));
}

TEST(TimeMark, LastEditCommands) {
    ViewState v = makeView(1000);
    EXPECT_FALSE(v.isEnabled(C::MarkAtLastEdit));  // empty history
    v.afterEdit(100, 200);
    EXPECT_FALSE(v.isEnabled(C::MarkAtLastEdit));  // cursor on it
    v.setCursor(0);
    v.run(C::MarkAtLastEdit);
    EXPECT_EQ(v.mark(), 200u);
    v.run(C::MarkToStart);
    EXPECT_EQ(v.mark(), 0u);
    v.run(C::MarkToLastEdit);
    EXPECT_EQ(v.mark(), 200u);
    v.runAt(C::MarkToPosition, 50);
    EXPECT_EQ(v.mark(), 50u);
    v.run(C::CursorToMark);
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
    EXPECT_FALSE(none.isEnabled(C::CursorToPosition));
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
    EXPECT_TRUE(w.isEnabled(C::CursorBack));
}

TEST(Record, PartsThatDoNotFitAreRebuilt) {
    ViewState v = makeView(1048576);
    v.afterEdit(100, 200);
    v.setZoom(9);
    v.setCursor(150);
    const document::ViewStateRecord r = v.toRecord();
    ViewState w;
    // Loads r spoilt as given into w: false, the parts rebuilt.
    auto load = [&](void (*spoil)(document::ViewStateRecord&), std::uint32_t n = 1048576) {
        document::ViewStateRecord bad = r;
        if (spoil) spoil(bad);
        return w.fromRecord(bad, n, kLeft, kRight);
    };

    EXPECT_FALSE(load([](document::ViewStateRecord& b) { b.zoom = 20; }));  // beyond the table
    EXPECT_EQ(w.zoom(), 0);
    EXPECT_EQ(w.maxZoom(), 14);
    EXPECT_EQ(w.scroll(), 0u);
    EXPECT_EQ(w.cursor(), 150u);  // the rest is kept
    EXPECT_EQ(w.history().peekNewest(), 200u);

    // A span of 0 and a table that belongs to another length.
    EXPECT_FALSE(load([](document::ViewStateRecord& b) { b.zoomSpans[3] = 0; }));
    EXPECT_EQ(w.zoomSpan(3), 1048576u >> 3);
    EXPECT_FALSE(load(nullptr, 5000));
    EXPECT_EQ(w.zoomSpan(0), 5000u);
    EXPECT_EQ(w.cursor(), 150u);

    EXPECT_FALSE(load([](document::ViewStateRecord& b) {  // indices beyond N
        b.cursor = 2000000;
        b.markSet = 1;
        b.mark = 2000000;
        b.history[0] = 3000000;
    }));
    EXPECT_EQ(w.cursor(), 0u);
    EXPECT_FALSE(w.markSet());
    EXPECT_TRUE(w.history().empty);
    EXPECT_EQ(w.zoom(), 9);

    // Navigation flags that point outside the live entries.
    EXPECT_FALSE(load([](document::ViewStateRecord& b) {
        b.current = b.oldest;
        b.canGoBack = 1;
        b.canGoForward = 1;
    }));
    EXPECT_FALSE(w.history().canGoBack);
    EXPECT_TRUE(w.history().canGoForward);
    EXPECT_FALSE(load([](document::ViewStateRecord& b) { b.canGoForward = 1; }));  // current is the newest
    EXPECT_FALSE(w.history().canGoForward);
    EXPECT_TRUE(w.history().canGoBack);

    EXPECT_FALSE(load([](document::ViewStateRecord& b) {  // ring indices out of range, scroll past the end
        b.next = 500;
        b.scroll = 1048576;
    }));
    EXPECT_TRUE(w.history().empty);
    EXPECT_EQ(w.scroll(), 0u);
    EXPECT_LE(w.scroll() + w.span(), 1048576u);
}

}  // namespace
}  // namespace lyr::view
