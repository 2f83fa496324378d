// The view installed in a main window: its screenshots, and the keyboard
// given back after the time entry.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

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

// After the time entry the main window is active again, so its shortcuts work at once.
TEST(ViewFrame, ScreenshotsAndTheTimeEntryGivesTheKeyboardBack) {
    lyr::test::qtApp();
    auto doc = lyr::test::newDoc(100, 1048576);
    for (std::uint32_t i = 0; i < 1048576; ++i) {
        doc->analog()[i] = 0.8 * std::sin(2 * M_PI * i / 65536.0);
        doc->digital(0)[i] = (i / 4096) % 2;                 // clock
        doc->digital(1)[i] = (i / 50000) % 3 == 0;           // slow pulses
        doc->digital(2)[i] = ((i * 2654435761u) >> 31) & 1;  // busy data
    }
    doc->analog()[800000] = 1.5;  // one clipped sample

    QMainWindow w;
    ViewFrame parts = installView(w, *doc);
    ViewCommands commands(*parts.view, {doc.get(), &w});
    w.setCentralWidget(parts.view);
    w.resize(1400, 860);
    w.show();
    parts.view->resetView();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(parts.strip->totalTimeField()->text(), QStringLiteral("104.8576 mS"));  // the strip is wired
    lyr::test::grabIfAsked(w, QStringLiteral("view_main_whole"));
    parts.view->setCursorIndex(70000);
    parts.view->runCommandAt(ViewCommand::MarkAtPosition, 65536);
    commands.run(ViewCommand::StandardZoom);
    commands.run(ViewCommand::ZoomIn);
    commands.run(ViewCommand::ZoomIn);
    EXPECT_TRUE(parts.view->state().isVisible(70000));
    EXPECT_EQ(parts.strip->cursorMinusMarkField()->text(), QStringLiteral("446.4 uS"));
    lyr::test::grabIfAsked(w, QStringLiteral("view_main_zoomed"));

    bool seen = false;
    lyr::test::whenModal<CGetTimeDlg>(&w, [&seen](CGetTimeDlg&) { seen = true; });
    commands.run(ViewCommand::CursorToPosition);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w, 2000));
}

}  // namespace
}  // namespace lyr::view
