#include "app/ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "analog/ui/analog_dialogs.h"
#include "app/ui/syn_app.h"
#include "document/ui/wave_time_dlg.h"
#include "support/scripted_prompter.h"
#include "support/qt_app.h"

namespace lyr::app {
namespace {

QColor centreColour(QWidget* w) {
    QImage img = w->grab().toImage();
    return img.pixelColor(img.width() / 2, img.height() / 2);
}

// Answers the total-time dialog with fixed values, or refuses to choose.
class FixedChooser : public WaveTimeChooser {
public:
    bool answer = true;
    std::uint32_t sampling = 10, count = 1000;
    int calls = 0;
    bool choose(std::int64_t& total, std::uint32_t& s, std::uint32_t& n) override {
        ++calls;
        EXPECT_EQ(total, 10000000);  // what New offers
        EXPECT_EQ(s, 10u);
        EXPECT_EQ(n, 1000000u);
        if (!answer) return false;
        s = sampling;
        n = count;
        total = std::int64_t{s} * n;
        return true;
    }
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        lyr::test::qtApp();
        std::string message;
        doc = document::CSYNDoc::create(message);
        ASSERT_TRUE(doc) << message;
        frame = std::make_unique<CMainFrame>(*doc);
        frame->setPrompter(&prompter);
        frame->resize(800, 600);
        frame->show();
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
    }

    // Runs `act` on the total-time dialog once it is open.
    void whenDialogOpens(std::function<void(document::CWaveTimeDlg&)> act) {
        // Tied to the frame so that a dialog that never opens leaves nothing behind.
        QTimer::singleShot(0, frame.get(), [act] {
            auto* dlg = qobject_cast<document::CWaveTimeDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            act(*dlg);
            // Never leave a modal dialog behind to block the test.
            if (dlg->isVisible()) dlg->reject();
        });
    }

    std::unique_ptr<document::CSYNDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    test::ScriptedPrompter prompter;
};

TEST_F(MainFrameTest, StartsWithoutWaveformWithFileMenu) {
    EXPECT_EQ(frame->windowTitle(), "LYR");
    EXPECT_FALSE(doc->hasWaveform());
    EXPECT_EQ(centreColour(frame->centralView()), QColor(127, 127, 127));
    EXPECT_GE(frame->minimumWidth(), 710);
    EXPECT_GE(frame->minimumHeight(), 500);

    QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    EXPECT_EQ(menus.front()->text(), QStringLiteral("ファイル(&F)"));
    QList<QAction*> items = frame->fileMenu()->actions();
    QStringList texts;
    for (QAction* a : items)
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("新規作成(&N)"), QStringLiteral("開く(&O)..."),
                                  QStringLiteral("上書き保存(&S)"), QStringLiteral("名前を付けて保存(&A)..."),
                                  QStringLiteral("LYRの終了(&X)")}));
    EXPECT_EQ(frame->newAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_TRUE(frame->newAction()->isEnabled());
}

TEST_F(MainFrameTest, NewThroughTheDialogMakesAWaveform) {
    whenDialogOpens([](document::CWaveTimeDlg& dlg) {
        EXPECT_EQ(dlg.findChild<QLineEdit*>("totalEdit")->text(), "10");
        QTest::mouseClick(dlg.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    frame->newAction()->trigger();
    ASSERT_TRUE(doc->hasWaveform());
    EXPECT_EQ(doc->sampleCount(), 1000000u);
    EXPECT_EQ(doc->samplingTime(), 10);
    EXPECT_EQ(doc->totalTime(), 10000000u);
    EXPECT_EQ(frame->documentTitle(), QStringLiteral("無題"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_EQ(centreColour(frame->centralView()), QColor(255, 255, 255));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(MainFrameTest, NewWithATypedTotalUsesTheChosenCandidate) {
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    whenDialogOpens([](document::CWaveTimeDlg& dlg) {
        auto* total = dlg.findChild<QLineEdit*>("totalEdit");
        total->selectAll();
        QTest::keyClicks(total, "20");  // 20 mS needs 20 nS for 1,000,000 samples
        QTest::mouseClick(dlg.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(doc->hasWaveform());
    EXPECT_EQ(doc->samplingTime(), 20);
    EXPECT_EQ(doc->sampleCount(), 1000000u);
}

TEST_F(MainFrameTest, ShortcutsWorkAgainAfterTheNewDialog) {
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    whenDialogOpens([](document::CWaveTimeDlg& dlg) {
        QTest::mouseClick(dlg.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(doc->hasWaveform());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get(), 2000));  // active again after the dialog
    int opened = 0;
    whenDialogOpens([&opened](document::CWaveTimeDlg&) { ++opened; });
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);  // a second Ctrl+N opens it again
    EXPECT_EQ(opened, 1);
}

TEST_F(MainFrameTest, ClosingTheDialogChangesNothing) {
    whenDialogOpens([](document::CWaveTimeDlg& dlg) { dlg.close(); });
    frame->newAction()->trigger();
    EXPECT_FALSE(doc->hasWaveform());
    EXPECT_EQ(frame->windowTitle(), "LYR");
    EXPECT_EQ(centreColour(frame->centralView()), QColor(127, 127, 127));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(MainFrameTest, RefusedNewShowsTheMessageAndKeepsTheWaveform) {
    FixedChooser chooser;
    frame->setWaveTimeChooser(&chooser);
    frame->newAction()->trigger();  // 10 nS x 1000: accepted
    ASSERT_TRUE(doc->hasWaveform());
    ASSERT_EQ(doc->sampleCount(), 1000u);

    chooser.count = 0;  // no waveform has zero samples
    frame->newAction()->trigger();
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "不正なパラメータです。");
    EXPECT_EQ(prompter.asked[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(doc->sampleCount(), 1000u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_EQ(chooser.calls, 2);
}

TEST_F(MainFrameTest, CentralViewCanBeReplaced) {
    auto* view = new QWidget;
    frame->setCentralView(view);
    EXPECT_EQ(frame->centralView(), view);
    FixedChooser chooser;
    frame->setWaveTimeChooser(&chooser);
    frame->newAction()->trigger();  // the gone placeholder is not touched
    EXPECT_TRUE(doc->hasWaveform());
}

// Ctrl+Z reaches the undo command from the main window, whichever of its widgets has the focus.
TEST_F(MainFrameTest, CtrlZUndoesTheLastEditFromTheMainWindow) {
    FixedChooser chooser;
    frame->setWaveTimeChooser(&chooser);
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->newAction()->trigger();
    ASSERT_TRUE(doc->hasWaveform());
    QTimer::singleShot(0, frame.get(), [] {
        auto* dlg = qobject_cast<analog::CDcDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QComboBox*>("unit_period")->setCurrentIndex(0);
        QTest::keyClicks(dlg->findChild<QLineEdit*>("edit_period"), "500");
        auto* v0 = dlg->findChild<QLineEdit*>("edit_v0");
        v0->selectAll();
        QTest::keyClicks(v0, "0.5");
        QTest::mouseClick(dlg->findChild<QPushButton*>("create"), Qt::LeftButton);
        QTest::mouseClick(dlg->findChild<QPushButton*>("apply0"), Qt::LeftButton);
    });
    frame->commandAction(32783)->trigger();  // 直流波形
    ASSERT_EQ(doc->analog()[0], 0.5);
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get(), 2000));  // active again after the editor
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus ? focus : frame.get(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(doc->analog()[0], 0.0) << (focus ? focus->metaObject()->className() : "no focus");
}

TEST(StartUp, FailedAllocationTellsAndStops) {
    test::ScriptedPrompter prompter;
    auto failing = [](std::size_t, std::size_t) -> void* { return nullptr; };
    auto doc = createDocument(prompter, failing);
    EXPECT_EQ(doc, nullptr);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, document::CSYNDoc::kMemoryMessage);

    test::ScriptedPrompter quiet;
    auto ok = createDocument(quiet);
    EXPECT_NE(ok, nullptr);
    EXPECT_TRUE(quiet.asked.empty());
}

}  // namespace
}  // namespace lyr::app

namespace lyr::app {
namespace {

// The frame binds the D2XX library while it is made and lets go of it on close;
// a library that is missing binds nothing and says nothing.
TEST(MainFrameDeviceLibrary, BindsTheSimulatorAndReleasesItOnClose) {
    lyr::test::qtApp();
    std::string message;
    auto doc = document::CSYNDoc::create(message);
    ASSERT_TRUE(doc) << message;
    const std::string sim = std::string(LYR_BINARY_DIR) + "/libpgxsim.so";
    ASSERT_EQ(setenv("LYR_D2XX_LIBRARY", sim.c_str(), 1), 0);
    {
        test::ScriptedPrompter prompter;
        CMainFrame frame(*doc);
        frame.setPrompter(&prompter);
        EXPECT_TRUE(frame.deviceLibraryBound());
        frame.close();
        EXPECT_FALSE(frame.deviceLibraryBound());
        EXPECT_TRUE(prompter.asked.empty());
    }
    ASSERT_EQ(setenv("LYR_D2XX_LIBRARY", "/nonexistent/libnothing.so", 1), 0);
    {
        test::ScriptedPrompter prompter;
        CMainFrame frame(*doc);
        frame.setPrompter(&prompter);
        EXPECT_FALSE(frame.deviceLibraryBound());
        EXPECT_TRUE(prompter.asked.empty());
    }
    unsetenv("LYR_D2XX_LIBRARY");
}

}  // namespace
}  // namespace lyr::app
