// The main window's side of the output window: the designated unit enables
// the output command, the prefix starts every title, and the window's
// settings come back into the document before a waveform is replaced, when it
// is saved and when the program closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/lifecycle_fake.h"
#include "app/ui/main_frame.h"
#include "device/ui/output_commands.h"
#include "device/ui/output_dlg.h"
#include "support/main_frame.h"

namespace lyr::app {
namespace {

using device::COutputDlg;
using device::GroupOutputMode;

class OutputFrame : public lyr::test::SimulatedUnitFrameTest {
protected:
    void SetUp() override {
        SimulatedUnitFrameTest::SetUp();
        chooser_.answerTs = 1000;
        chooser_.answerN = 5000;
        frame->setWaveTimeChooser(&chooser_);
        saves_.answers.push_back((dir.path() + "/out.lyr").toStdString());
        frame->setFileDialogs(&saves_);
    }
    COutputDlg* openOutput() {
        frame->outputAction()->trigger();
        return frame->outputCommands()->outputWindow();
    }

    test::FakeWaveTime chooser_;
    test::FakeDialogs saves_;
};

TEST_F(OutputFrame, TheOutputWindowFollowsTheDocumentsLifecycle) {
    EXPECT_FALSE(frame->outputAction()->isEnabled());  // nothing designated yet
    frame->selectDevice(1, settingsFile());
    EXPECT_EQ(frame->documentTitle(), QString());
    ASSERT_TRUE(frame->outputAction()->isEnabled());
    EXPECT_EQ(frame->outputAction()->text(), QStringLiteral("波形データ出力(&W)"));

    ASSERT_TRUE(frame->lifecycle().newWaveform());
    COutputDlg* w = openOutput();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("波形出力 - 無題 ( アナログ分解能：12ビット  ディジタルCH：0～3 )"));
    EXPECT_EQ(openOutput(), w);  // the same window, brought forward

    // A changed choice goes back with Save, the window stays and takes the name.
    QTest::mouseClick(w->option(GroupOutputMode, 1), Qt::LeftButton);
    ASSERT_TRUE(frame->lifecycle().saveAs());
    EXPECT_EQ(doc->outputSettings().outputMode, 1);
    EXPECT_EQ(frame->outputCommands()->outputWindow(), w);
    EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("波形出力 - out.lyr")));
    ASSERT_TRUE(doc->setAnalogResolution(10));
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("10ビット  ディジタルCH：0～5")));

    // An analog edit past ±1 V brings a minimised window back.
    w->showMinimized();
    doc->takeAnalogSnapshot();
    doc->analog()[10] = 1.5;
    doc->commitAnalogEdit();
    EXPECT_FALSE(w->isMinimized());

    // New: pulled first, then the window closes before the waveform is replaced.
    QTest::mouseClick(w->option(device::GroupDigitalStop, 1), Qt::LeftButton);
    prompter.script({PromptAnswer::No});
    ASSERT_TRUE(frame->lifecycle().newWaveform());
    EXPECT_FALSE(frame->outputCommands()->outputWindowOpen());
    EXPECT_EQ(doc->outputWindow(), nullptr);
    EXPECT_TRUE(frame->outputAction()->isEnabled());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_NE(prompter.asked.back().text.find("出力設定が変更されています。"), std::string::npos);

    // Closing the program closes the window too.
    ASSERT_NE(openOutput(), nullptr);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->outputCommands()->outputWindowOpen());
}

// A total-time change and its undo both take the window's choices into the
// document and close it: a window left open would still hold the old sample
// count and send it with "データ転送".
TEST_F(OutputFrame, TotalTimeChangeAndItsUndoPullAndCloseTheWindow) {
    struct Half : CMainFrame::TotalTimeChooser {
        bool choose(std::int64_t& total, std::int64_t& sampling, std::uint32_t& count) override {
            count /= 2;
            total = sampling * count;
            return true;
        }
    } half;
    frame->setTotalTimeChooser(&half);
    frame->selectDevice(1, settingsFile());
    ASSERT_TRUE(frame->lifecycle().newWaveform());
    const std::pair<QAction*, std::uint32_t> steps[] = {{frame->commandAction(CommandId::TotalTime), 2500u},
                                                        {frame->undoAction(), 5000u}};
    int mode = 0;
    for (const auto& [command, count] : steps) {
        COutputDlg* w = openOutput();
        ASSERT_NE(w, nullptr);
        mode = 1 - mode;
        w->option(GroupOutputMode, mode)->click();
        ASSERT_TRUE(w->option(GroupOutputMode, mode)->isChecked());
        command->trigger();
        EXPECT_EQ(doc->sampleCount(), count);
        EXPECT_FALSE(frame->outputCommands()->outputWindowOpen()) << count;
        EXPECT_EQ(doc->outputWindow(), nullptr) << count;
        EXPECT_EQ(doc->outputSettings().outputMode, mode) << count;
    }
}

// The window's unit is let go before the frame releases the library.
TEST_F(OutputFrame, AFrameGoingAwayTakesItsOpenWindowWithIt) {
    frame->selectDevice(1, settingsFile());
    ASSERT_NE(openOutput(), nullptr);
    frame.reset();
    EXPECT_EQ(doc->outputWindow(), nullptr);
}

TEST_F(OutputFrame, SelectionSetsThePrefixOfEveryTitle) {
    setenv("PGXSIM_DEVICES", "PG500001:PGX-500", 1);
    QTimer::singleShot(0, [] {
        QWidget* dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("PGX-500指定"));
        dlg->findChild<QPushButton*>(QStringLiteral("noDeviceButton"))->click();
    });
    frame->selectDevice(2, settingsFile());
    EXPECT_EQ(frame->documentTitle(), QStringLiteral("[PGX-500指定なし] "));
    EXPECT_FALSE(frame->outputAction()->isEnabled());
    ASSERT_TRUE(frame->lifecycle().newWaveform());
    EXPECT_EQ(frame->documentTitle(), QStringLiteral("[PGX-500指定なし] 無題"));
}

}  // namespace
}  // namespace lyr::app
