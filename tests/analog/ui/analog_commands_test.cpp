// The analog editor commands as the frame runs them: the editor dialog at the
// cursor, the edited range reported, nothing reported when cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "analog/ui/analog_commands.h"
#include "analog/ui/analog_dialogs.h"
#include "support/documents.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"

namespace lyr::analog {
namespace {

// Types a DC edit into the modal dialog that is about to open and applies it.
void driveDc(const char* period, const char* level, bool apply = true) {
    QTimer::singleShot(0, [=] {
        auto* dlg = qobject_cast<CDcDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QComboBox*>("unit_period")->setCurrentIndex(0);
        QTest::keyClicks(dlg->findChild<QLineEdit*>("edit_period"), period);
        auto* v0 = dlg->findChild<QLineEdit*>("edit_v0");
        v0->selectAll();
        QTest::keyClicks(v0, level);
        QTest::mouseClick(dlg->findChild<QPushButton*>("create"), Qt::LeftButton);
        if (apply)
            QTest::mouseClick(dlg->findChild<QPushButton*>("apply0"), Qt::LeftButton);
        else
            dlg->reject();
    });
}

TEST(AnalogCommands, EditAtTheCursorReportsTheRange) {
    lyr::test::qtApp();
    auto doc = lyr::test::newDoc(10, 1000);
    test::ScriptedPrompter prompter;
    std::uint32_t cursor = 100;
    ui::CommandEnv env{doc.get(), nullptr, &prompter, [&cursor] { return cursor; }};
    AnalogCommands commands(env);
    EXPECT_EQ(commands.commandIds(), (std::vector<int>{32773, 32782, 32783, 32784, 32785, 32786, 32787, 32793}));
    QSignalSpy edited(&commands, &ui::CommandSet::edited);

    driveDc("500", "0.5");
    commands.run(AnalogCommands::kDc);
    EXPECT_EQ(doc->analog()[99], 0.0);
    EXPECT_EQ(doc->analog()[100], 0.5);
    EXPECT_EQ(doc->analog()[149], 0.5);
    EXPECT_EQ(doc->analog()[150], 0.0);
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0][0].toLongLong(), 100);
    EXPECT_EQ(edited[0][1].toLongLong(), 150);
    EXPECT_TRUE(doc->undoAvailable());

    // A cancelled dialog changes and reports nothing.
    cursor = 500;
    driveDc("500", "0.25", false);
    commands.run(AnalogCommands::kDc);
    EXPECT_EQ(doc->analog()[500], 0.0);
    EXPECT_EQ(edited.size(), 1);
    EXPECT_TRUE(prompter.asked.empty());

    // "波形修正(&M)": 100 ns copied from the DC level at 1 us, written at the cursor.
    cursor = 300;
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<CManualDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* start = dlg->findChild<QLineEdit*>("edit_copy-start");
        start->selectAll();
        QTest::keyClicks(start, "1");
        dlg->findChild<QComboBox*>("unit_copy-period")->setCurrentIndex(0);
        QTest::keyClicks(dlg->findChild<QLineEdit*>("edit_copy-period"), "100");
        QTest::mouseClick(dlg->findChild<QPushButton*>("create"), Qt::LeftButton);
        QTest::mouseClick(dlg->findChild<QPushButton*>("apply0"), Qt::LeftButton);
    });
    commands.run(AnalogCommands::kManual);
    ASSERT_EQ(edited.size(), 2);
    EXPECT_EQ(edited[1][0].toLongLong(), 300);
    EXPECT_EQ(edited[1][1].toLongLong(), 310);
    EXPECT_EQ(doc->analog()[300], 0.5);
    EXPECT_EQ(doc->analog()[310], 0.0);
    EXPECT_EQ(doc->editorSettings().manual.copyPeriod, 100);
}

}  // namespace
}  // namespace lyr::analog
