// The waveform view as a widget: the mouse, the repaints, the pixels it
// draws, the readouts of its strip and the time-entry dialog.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "document/syn_doc.h"
#include "support/documents.h"
#include "support/modal.h"
#include "support/qt_app.h"
#include "view/ui/get_time_dlg.h"
#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"
#include "view/ui/view_commands.h"
#include "view/ui/view_frame.h"

namespace lyr::view {
namespace {

std::unique_ptr<document::CSYNDoc> makeDoc(std::int64_t ts, std::int64_t n) {
    lyr::test::qtApp();  // before any widget
    return lyr::test::newDoc(ts, n);
}

// The view at the reference size with its strip and its commands.
struct Fixture {
    explicit Fixture(document::CSYNDoc& doc) : view(doc) {
        view.resize(1022, 553);
        view.show();
        strip = new StatusStrip(&view);  // owned by the view; not laid out
        showReadoutsOn(view, *strip);
        ui::CommandEnv env;
        env.doc = &doc;
        commands = new ViewCommands(view, env, &view);
        view.resetView();
    }
    CSYNView view;
    StatusStrip* strip = nullptr;
    ViewCommands* commands = nullptr;
};

void sendMouse(QWidget& w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent e(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

QRgb pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

std::unique_ptr<document::CSYNDoc> sineDoc() {
    auto doc = makeDoc(100, 1048576);
    for (std::uint32_t i = 0; i < 1048576; ++i) doc->analog()[i] = 0.5 * std::sin(i * 0.001);
    return doc;
}

TEST(CSYNViewWidget, DragMovesTheCursorOnEachTick) {
    auto doc = sineDoc();
    Fixture f(*doc);
    CSYNView& v = f.view;
    EXPECT_FALSE(f.commands->available(ViewCommand::StepLeft));
    const int y = v.layout().plot.top + 20;
    sendMouse(v, QEvent::MouseButtonPress, {v.state().sampleToX(0) + 1, y}, Qt::LeftButton);
    EXPECT_TRUE(v.dragTimerActive());
    const int xMid = (v.layout().plot.left + v.layout().plot.right) / 2;
    sendMouse(v, QEvent::MouseMove, {xMid, y}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(v.state().cursor(), 0u);  // the cursor follows on the timer's tick, not on the move
    v.dragTick();
    const std::uint32_t dragged = v.state().xToSample(xMid);
    EXPECT_EQ(v.state().cursor(), dragged);
    EXPECT_GE(v.lastColumnRepaint(), 2);  // the old cursor stood on the first column
    EXPECT_LE(v.lastColumnRepaint(), 3);
    EXPECT_EQ(f.strip->cursorVoltsField()->text(), QString::fromStdString(formatVoltsReadout(doc->analog()[dragged])));
    EXPECT_TRUE(f.commands->available(ViewCommand::StepLeft));
    sendMouse(v, QEvent::MouseButtonRelease, {xMid, y}, Qt::NoButton);
    EXPECT_FALSE(v.dragTimerActive());
    v.dragTick();  // a late tick after the release moves nothing
    EXPECT_EQ(v.state().cursor(), dragged);
}

TEST(CSYNViewWidget, DoubleClicksByRegion) {
    auto doc = sineDoc();
    Fixture f(*doc);
    CSYNView& v = f.view;
    const Layout& l = v.layout();
    // In a lane the cursor moves there.
    const QPoint lanePoint(l.plot.left + 100, (l.laneArea[3].top + l.laneArea[3].bottom) / 2);
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, lanePoint);
    EXPECT_EQ(v.state().cursor(), v.state().xToSample(l.plot.left + 100));
    // On the time strip: the standard zoom, then the whole view.
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, QPoint(300, 8));
    EXPECT_EQ(v.state().zoom(), 7);
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, QPoint(300, 8));
    EXPECT_EQ(v.state().zoom(), 0);
    // On the cursor handle: the mark is set there and the interval reads 0.
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, QPoint(v.state().cursorX(), l.cursorStrip.top + 2));
    ASSERT_TRUE(v.state().markSet());
    EXPECT_EQ(f.strip->cursorMinusMarkField()->text(), QStringLiteral("0 nS"));
    f.commands->run(ViewCommand::StepRight);
    EXPECT_EQ(f.strip->cursorMinusMarkField()->text(), QStringLiteral("100 nS"));
    // Deleting the mark empties its readouts.
    ASSERT_TRUE(f.commands->available(ViewCommand::DeleteMark));
    f.commands->run(ViewCommand::DeleteMark);
    EXPECT_FALSE(v.state().markSet());
    EXPECT_TRUE(f.strip->markTimeField()->text().isEmpty());
    EXPECT_TRUE(f.strip->cursorMinusMarkField()->text().isEmpty());
}

// One query for the context menus: the plot, the cursor handle, the mark handle,
// the zoom strip and the lanes, each where it was drawn (the edges of each are
// ViewRegions.HitBoxesAtTheirEdges and ViewElements.MarkersAreHitOnlyWhereTheyWereDrawn).
TEST(CSYNViewWidget, HitTestFindsEachElement) {
    auto doc = makeDoc(100, 10000);
    Fixture f(*doc);
    CSYNView& v = f.view;
    const Layout& l = v.layout();
    v.setCursorIndex(2000);
    v.runCommandAt(ViewCommand::MarkAtPosition, 5000);
    const int cx = v.state().cursorX(), mx = v.state().markX();
    struct Case {
        QPoint pt;
        ViewHit hit;
    };
    const Case cases[] = {
        {{l.plot.left + 5, l.plot.top + 5}, {ViewRegion::AnalogPlot}},
        {{cx, l.plot.top + 5}, {ViewRegion::AnalogPlot}},  // the cursor line is part of the plot
        {{cx + 5, l.cursorStrip.top}, {ViewRegion::CursorHandle}},
        {{mx, l.markStrip.bottom}, {ViewRegion::MarkHandle}},
        {{cx, l.markStrip.top}, {}},  // no mark over the cursor
        {{300, 19}, {ViewRegion::ZoomStrip}},
        {{l.plot.left + 100, (l.laneArea[3].top + l.laneArea[3].bottom) / 2}, {ViewRegion::Lane, 3}},
        {{l.plot.right + 1, l.laneArea[7].bottom}, {ViewRegion::Lane, 7}},
    };
    for (const Case& c : cases) {
        const ViewHit h = v.hitTest(c.pt);
        EXPECT_EQ(h.region, c.hit.region) << c.pt.x() << "," << c.pt.y();
        EXPECT_EQ(h.lane, c.hit.lane) << c.pt.x() << "," << c.pt.y();
    }
    // Scrolled out of view, the mark's handle is no longer there to hit.
    f.commands->run(ViewCommand::MaxZoom);
    ASSERT_FALSE(v.state().isVisible(5000));
    EXPECT_EQ(v.hitTest({mx, l.markStrip.bottom}).region, ViewRegion::None);
}

TEST(CSYNViewWidget, OnlyAMenuShowingLastEditRearmsHistoryNavigation) {
    auto doc = makeDoc(100, 1000);
    Fixture f(*doc);
    CSYNView& v = f.view;
    v.afterEdit(100, 200);
    v.runCommand(ViewCommand::StepRight);
    v.runCommand(ViewCommand::StepLeft);  // on the newest entry, navigation off
    auto id = [](ViewCommand c) { return ViewCommands::idOf(c); };
    EXPECT_FALSE(f.commands->available(ViewCommand::CursorBack));
    // Menus without "最終編集後へ移動", and asking for the rule itself, re-arm nothing.
    f.commands->prepareMenu({id(ViewCommand::WholeView), id(ViewCommand::ZoomIn), id(ViewCommand::DeleteMark)});
    EXPECT_FALSE(f.commands->available(ViewCommand::CursorToLastEdit));
    EXPECT_FALSE(f.commands->available(ViewCommand::CursorBack));
    EXPECT_FALSE(v.state().onHistory());
    f.commands->prepareMenu({id(ViewCommand::CursorToStart), id(ViewCommand::CursorToLastEdit),
                             id(ViewCommand::CursorBack)});
    EXPECT_TRUE(v.state().onHistory());
    EXPECT_TRUE(f.commands->available(ViewCommand::CursorBack));
    f.commands->run(ViewCommand::CursorBack);
    EXPECT_EQ(v.state().cursor(), 100u);
}

TEST(CSYNViewWidget, RendersTraceClipMarksLanesAndCursor) {
    auto doc = makeDoc(100, 2000);
    for (std::uint32_t i = 0; i < 2000; ++i) doc->analog()[i] = (i < 1000) ? 0.5 : -0.5;
    doc->analog()[1500] = 1.5;
    for (std::uint32_t i = 0; i < 2000; ++i) doc->digital(2)[i] = (i / 100) % 2;
    Fixture f(*doc);
    CSYNView& v = f.view;
    const Layout& l = v.layout();
    const QImage& img = v.image();
    const QRgb blue = 0x0000FF, yellow = 0xFFFF00, red = 0xFF0000, white = 0xFFFFFF;

    // A flat +0.5 V column: blue at its y, white above and below.
    const int c = 100;
    const int y = analogY(0.5, l.plot.top, l.plot.bottom);
    EXPECT_EQ(pixel(img, l.plot.left + c, y), blue);
    EXPECT_EQ(pixel(img, l.plot.left + c, y - 3), white);
    EXPECT_EQ(pixel(img, l.plot.left + c, y + 3), white);
    // The step at sample 1000 is one stroke from +0.5 V down to -0.5 V.
    const int xStep = v.state().sampleToX(1000);
    for (int yy = y; yy <= analogY(-0.5, l.plot.top, l.plot.bottom); ++yy)
        ASSERT_EQ(pixel(img, xStep, yy), blue) << yy;
    // 1.5 V: the stroke reaches the top edge and a yellow pixel marks the border.
    const int xClip = v.state().sampleToX(1500);
    EXPECT_EQ(pixel(img, xClip, l.plot.top), blue);
    EXPECT_EQ(pixel(img, xClip, l.plot.top - 1), yellow);
    EXPECT_NE(pixel(img, xClip + 5, l.plot.top - 1), yellow);
    // CH2: high in the second hundred samples, low in the first.
    const Rect& band = l.laneBand[2];
    EXPECT_EQ(pixel(img, v.state().sampleToX(150), band.top), blue);
    EXPECT_EQ(pixel(img, v.state().sampleToX(150), band.bottom), white);
    EXPECT_EQ(pixel(img, v.state().sampleToX(50), band.bottom), blue);
    // Cursor line from under its strip to the bottom of CH7.
    v.setCursorIndex(700);
    const int xc = v.state().sampleToX(700);
    EXPECT_EQ(pixel(img, xc, l.plot.top + 10), red);
    EXPECT_EQ(pixel(img, xc, l.bottomOfLines), red);
    EXPECT_EQ(pixel(img, xc, l.cursorStrip.top + 1), red);  // the handle image
}

TEST(CSYNViewWidget, LaneLabelsAreBoldWhileTheirChannelIsAllocated) {
    auto doc = makeDoc(100, 2000);
    Fixture f(*doc);
    CSYNView& v = f.view;
    const Layout& l = v.layout();
    const QImage& img = v.image();
    // CH0..CH3 are bold at 12 bits; at 14 bits CH2 turns normal.
    auto ink = [&](int lane) {
        const Rect& r = l.laneLabel[lane];
        int dark = 0;
        for (int yy = r.top; yy <= r.bottom; ++yy)
            for (int xx = r.left; xx <= r.right; ++xx) dark += qGray(img.pixel(xx, yy)) < 128;
        return dark;
    };
    ASSERT_EQ(doc->analogResolution(), 12);
    const int boldInk = ink(2);
    EXPECT_GT(boldInk, 0);
    ASSERT_TRUE(doc->setAnalogResolution(14));
    v.refreshView();
    EXPECT_LT(ink(2), boldInk);
    EXPECT_GT(ink(2), 0);  // the lane is labelled either way
}

TEST(CSYNViewWidget, CursorMoveRepaintsAtMostThreeColumns) {
    auto doc = makeDoc(100, 1048576);
    for (std::uint32_t i = 0; i < 1048576; ++i) {
        doc->analog()[i] = 0.8 * std::sin(i * 0.0002);
        doc->digital(0)[i] = (i / 3000) % 2;
    }
    Fixture f(*doc);
    CSYNView& v = f.view;
    v.setCursorIndex(300000);
    const QImage before = v.image().copy();
    const int renders = v.fullRenderCount();
    const int oldX = v.state().cursorX();
    f.commands->available(ViewCommand::CursorToStart);
    v.runCommand(ViewCommand::StepRight);
    v.runCommand(ViewCommand::HalfPageRight);
    EXPECT_EQ(v.fullRenderCount(), renders);
    EXPECT_LE(v.lastColumnRepaint(), 3);
    const int newX = v.state().cursorX();
    ASSERT_NE(newX, oldX);
    // Changed pixels lie only on the old strip, the new line or the handles.
    const QImage& after = v.image();
    const QRect handles = QRect(oldX - 6, 0, 13, v.layout().markStrip.bottom + 1);
    const QRect newHandles = QRect(newX - 6, 0, 13, v.layout().markStrip.bottom + 1);
    int changed = 0;
    for (int yy = 0; yy < after.height(); ++yy) {
        for (int xx = 0; xx < after.width(); ++xx) {
            if (before.pixel(xx, yy) == after.pixel(xx, yy)) continue;
            ++changed;
            const bool allowed = std::abs(xx - oldX) <= 1 || xx == newX || handles.contains(xx, yy) ||
                                 newHandles.contains(xx, yy);
            ASSERT_TRUE(allowed) << xx << "," << yy;
        }
    }
    EXPECT_GT(changed, 0);
    // The erased column looks as a full render draws it.
    v.refreshView();
    for (int yy = v.layout().plot.top; yy <= v.layout().bottomOfLines; ++yy)
        ASSERT_EQ(after.pixel(oldX, yy), v.image().pixel(oldX, yy)) << yy;
}

TEST(CSYNViewWidget, EmptyViewIgnoresTheMouse) {
    lyr::test::qtApp();
    auto doc = lyr::test::makeDoc();
    CSYNView v(*doc);
    v.resize(600, 400);
    v.resetView();
    EXPECT_FALSE(v.isEnabled(ViewCommand::CursorToPosition));
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, QPoint(300, 8));
    EXPECT_EQ(v.hitTest(QPoint(300, 8)).region, ViewRegion::None);
    EXPECT_EQ(pixel(v.grab().toImage(), 100, 100), 0x7F7F7Fu);
}

// The time entry of each caller, the first driven key by key; which texts it
// takes and what it shows are the form's (TimeEntry tests).
TEST(CGetTimeDlgWidget, ThreeCallersThroughTheCommands) {
    auto doc = makeDoc(100, 1000);
    Fixture f(*doc);
    CSYNView& v = f.view;
    lyr::test::whenModal<CGetTimeDlg>(&v, [](CGetTimeDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("カーソル位置の指定"));
        EXPECT_FALSE(dlg.referenceOption(2)->isEnabled());  // no time mark
        EXPECT_TRUE(dlg.referenceOption(0)->isChecked());
        EXPECT_EQ(dlg.unitList()->currentIndex(), -1);
        QTest::keyClicks(dlg.timeEdit(), "250");
        dlg.unitList()->setCurrentIndex(0);
        EXPECT_TRUE(dlg.okButton()->isEnabled());
        EXPECT_EQ(dlg.positionField(3)->text(), QStringLiteral("-99.75 uS"));
        lyr::test::grabIfAsked(dlg, QStringLiteral("view_get_time_dlg"));
        dlg.referenceOption(3)->click();  // 250 ns after the end: refused
        EXPECT_FALSE(dlg.okButton()->isEnabled());
        EXPECT_TRUE(dlg.positionField(0)->text().isEmpty());
        lyr::test::retype(dlg.timeEdit(), QStringLiteral("0"));  // the end: allowed for the cursor
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    });
    f.commands->run(ViewCommand::CursorToPosition);
    EXPECT_EQ(v.state().cursor(), 1000u);

    // The mark's entry: typed relative to a reference.
    auto answer = [&v](const char* text, int unit, int reference) {
        lyr::test::whenModal<CGetTimeDlg>(&v, [=](CGetTimeDlg& dlg) {
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("タイムマーク位置の指定"));
            dlg.referenceOption(reference)->click();
            dlg.unitList()->setCurrentIndex(unit);
            dlg.timeEdit()->setText(QString::fromLatin1(text));
            dlg.okButton()->click();
        });
    };
    answer("12.5", 1, 0);
    f.commands->run(ViewCommand::MarkAtPosition);
    ASSERT_TRUE(v.state().markSet());
    EXPECT_EQ(v.state().mark(), 125u);
    EXPECT_FALSE(f.commands->available(ViewCommand::MarkAtPosition));

    answer("-2.5", 1, 2);  // relative to the mark
    f.commands->run(ViewCommand::MarkToPosition);
    EXPECT_EQ(v.state().mark(), 100u);
    EXPECT_EQ(f.strip->markTimeField()->text(), QStringLiteral("10.0 uS"));
}

}  // namespace
}  // namespace lyr::view
