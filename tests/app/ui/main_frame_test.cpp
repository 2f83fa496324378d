// The main window from its start: New through the total-time dialog, the
// keyboard after a modal dialog, the device library it binds.
#include "app/ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "analog/ui/analog_dialogs.h"
#include "app/lifecycle_fake.h"
#include "app/ui/syn_app.h"
#include "document/ui/wave_time_dlg.h"
#include "support/dialog_fields.h"
#include "support/main_frame.h"
#include "support/modal.h"

namespace lyr::app {
namespace {

using lyr::test::whenModal;
using document::CWaveTimeDlg;

QColor centreColour(QWidget* w) {
    QImage img = w->grab().toImage();
    return img.pixelColor(img.width() / 2, img.height() / 2);
}

class MainFrame : public lyr::test::MainFrameTest {
protected:
    void activate() {
        QApplication::setActiveWindow(frame.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
};

// Ctrl+N opens the dialog with New's offer; OK makes the waveform; the
// shortcuts work again at once after the dialog; closing it changes nothing.
TEST_F(MainFrame, NewThroughTheDialogAndTheKeyboardAfterIt) {
    EXPECT_EQ(frame->windowTitle(), "LYR");
    EXPECT_EQ(centreColour(frame->centralView()), QColor(127, 127, 127));
    activate();
    whenModal<CWaveTimeDlg>(frame.get(), [](CWaveTimeDlg& dlg) {
        EXPECT_EQ(dlg.findChild<QLineEdit*>("totalEdit")->text(), "10");
        QTest::mouseClick(dlg.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(doc->hasWaveform());
    EXPECT_EQ(doc->sampleCount(), 1000000u);
    EXPECT_EQ(doc->samplingTime(), 10);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_EQ(centreColour(frame->centralView()), QColor(255, 255, 255));

    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get(), 2000));  // active again after the dialog
    int opened = 0;
    whenModal<CWaveTimeDlg>(frame.get(), [&opened](CWaveTimeDlg& dlg) {
        ++opened;
        dlg.close();
    });
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(doc->sampleCount(), 1000000u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_TRUE(prompter.asked.empty());
}

// A regression: the placeholder the view replaced is not touched by New.
TEST_F(MainFrame, CentralViewCanBeReplaced) {
    auto* view = new QWidget;
    frame->setCentralView(view);
    EXPECT_EQ(frame->centralView(), view);
    test::FakeWaveTime chooser;
    frame->setWaveTimeChooser(&chooser);
    frame->newAction()->trigger();
    EXPECT_TRUE(doc->hasWaveform());
}

// Ctrl+Z reaches the undo command from the main window, whichever of its widgets has the focus.
TEST_F(MainFrame, CtrlZUndoesTheLastEditFromTheMainWindow) {
    test::FakeWaveTime chooser;
    frame->setWaveTimeChooser(&chooser);
    activate();
    frame->newAction()->trigger();
    ASSERT_TRUE(doc->hasWaveform());
    whenModal<analog::CDcDlg>(frame.get(), [](analog::CDcDlg& dlg) {
        lyr::test::chooseUnit(dlg, "period", 0);
        lyr::test::typeInto(dlg, "period", "500");
        lyr::test::typeInto(dlg, "v0", "0.5");
        lyr::test::clickButton(dlg, "create");
        lyr::test::clickButton(dlg, "apply0");
    });
    frame->commandAction(CommandId::Dc)->trigger();  // 直流波形
    ASSERT_EQ(doc->analog()[0], 0.5);
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get(), 2000));  // active again after the editor
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus ? focus : frame.get(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(doc->analog()[0], 0.0) << (focus ? focus->metaObject()->className() : "no focus");
}

TEST(StartUp, FailedAllocationTellsAndStops) {
    lyr::test::ScriptedPrompter prompter;
    auto failing = [](std::size_t, std::size_t) -> void* { return nullptr; };
    EXPECT_EQ(createDocument(prompter, failing), nullptr);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, document::CSYNDoc::kMemoryMessage);

    lyr::test::ScriptedPrompter quiet;
    EXPECT_NE(createDocument(quiet), nullptr);
    EXPECT_TRUE(quiet.asked.empty());
}

// The frame binds the D2XX library while it is made and lets go of it on close;
// a library that is missing binds nothing and says nothing.
TEST(MainFrameDeviceLibrary, BindsTheSimulatorAndReleasesItOnClose) {
    lyr::test::qtApp();
    auto doc = lyr::test::makeDoc();
    const std::pair<std::string, bool> libraries[] = {{std::string(LYR_BINARY_DIR) + "/libpgxsim.so", true},
                                                      {"/nonexistent/libnothing.so", false}};
    for (const auto& [library, bound] : libraries) {
        ASSERT_EQ(setenv("LYR_D2XX_LIBRARY", library.c_str(), 1), 0);
        lyr::test::ScriptedPrompter prompter;
        CMainFrame frame(*doc);
        frame.setPrompter(&prompter);
        EXPECT_EQ(frame.deviceLibraryBound(), bound) << library;
        frame.close();
        EXPECT_FALSE(frame.deviceLibraryBound());
        EXPECT_TRUE(prompter.asked.empty());
    }
    unsetenv("LYR_D2XX_LIBRARY");
}

}  // namespace
}  // namespace lyr::app
