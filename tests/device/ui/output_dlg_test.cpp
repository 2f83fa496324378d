// The output window and the device selection dialog driven offscreen, over
// the simulated unit; the poll timer is stepped through the form.
#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "device/device_library.h"
#include "device/output_window.h"
#include "device/ui/output_commands.h"
#include "device/ui/output_dlg.h"
#include "device/ui/output_select_dlg.h"
#include "support/documents.h"
#include "support/modal.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"
#include "support/simulated_unit_env.h"

namespace lyr::device {
namespace {

using test::child;

void grab(QWidget& w, const QString& name) { test::grabIfAsked(w, name); }

QString text(QWidget& parent, const char* name) { return child<QLineEdit>(parent, QString::fromLatin1(name))->text(); }

class OutputWidgets : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        ASSERT_TRUE(library_.bind(PGXSIM_PATH));
        doc_ = test::newDoc(83886080, 1000);
        env_.doc = doc_.get();
        env_.prompter = &prompter_;
        commands_ = std::make_unique<OutputCommands>(env_, library_);
        commands_->bareDocumentTitle = [] { return std::string("test.lyr"); };
        commands_->setOutputButtonPressed = [this](bool on) { pressed_ += on ? 1 : 0; };
    }
    void TearDown() override { commands_.reset(); }
    // Settings in a file of the test's own, with the dialog answered by `answer`.
    DeviceSelection select(const std::function<void(COutputSelectDlg&)>& answer) {
        test::whenModal<COutputSelectDlg>(qApp, answer);
        return commands_->selectDevice(2, dir_.filePath("LYR.INI"));
    }

    test::SimulatedUnitEnv unit_{"PG500001:PGX-500,PG500002:PGX-500"};
    QTemporaryDir& dir_ = unit_.dir;
    DeviceLibrary library_;
    test::ScriptedPrompter prompter_;
    std::unique_ptr<document::CSYNDoc> doc_;
    ui::CommandEnv env_;
    std::unique_ptr<OutputCommands> commands_;
    int pressed_ = 0;
};

TEST_F(OutputWidgets, OutputWindowTransfersStartsAndHandsItsSettingsBack) {
    {
        QSettings ini(dir_.filePath("LYR.INI"), QSettings::IniFormat);
        ini.setValue("PGX-500.Device1/SerialNo", "PG500002");
        ini.setValue("PGX-500.Device1/Description", "Bench");
    }
    const DeviceSelection s = select([](COutputSelectDlg& dlg) {
        QTreeWidget* list = dlg.listView();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        dlg.okButton()->click();
    });
    ASSERT_TRUE(s.specified);
    EXPECT_EQ(s.titlePrefix, "[Bench] ");
    EXPECT_FALSE(QFile::exists(IniDeviceListStore::lockPath(dir_.filePath("LYR.INI"))));
    ASSERT_TRUE(commands_->available(CommandId::Output));

    commands_->run(CommandId::Output);
    COutputDlg* w = commands_->outputWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(pressed_, 1);
    EXPECT_EQ(doc_->outputWindow(), w);
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("波形出力 - [Bench] test.lyr ( アナログ分解能：12ビット  ディジタルCH：0～3 )"));
    EXPECT_EQ(text(*w, "statusLine"), QStringLiteral("PGX-500 未設定"));
    EXPECT_EQ(child<QLabel>(*w, "versionText")->text(), QStringLiteral("Ver.3"));
    EXPECT_TRUE(w->transferButton()->isEnabled());
    EXPECT_FALSE(w->startStopButton()->isEnabled());
    EXPECT_FALSE(w->repeatEdit()->isEnabled());
    EXPECT_FALSE(w->option(GroupTriggerMode, 0)->isEnabled());
    grab(*w, "output_not_set_up");

    // Repeat mode, five times (which counts are refused is the form's:
    // OutputWindow.TransferNeedsAStoppedUnitAWaveformAndAValidCount).
    QTest::mouseClick(w->option(GroupOutputMode, 1), Qt::LeftButton);
    ASSERT_TRUE(w->repeatEdit()->isEnabled());
    w->repeatEdit()->clear();
    QTest::keyClicks(w->repeatEdit(), "5");
    QTest::mouseClick(w->option(GroupAnalogStop, 1), Qt::LeftButton);
    w->transferButton()->click();
    w->form().timerTick();
    EXPECT_TRUE(prompter_.asked.empty());
    EXPECT_EQ(text(*w, "statusLine"), QStringLiteral("PGX-500 レディ"));
    EXPECT_EQ(w->option(GroupOutputMode, 1)->text(), QStringLiteral("繰り返し *"));
    EXPECT_EQ(text(*w, "deviceRepeat"), QStringLiteral("5"));
    EXPECT_EQ(child<QLabel>(*w, "deviceResolution")->text(), QStringLiteral("アナログ分解能：12ビット"));
    EXPECT_EQ(w->startStopButton()->text(), QStringLiteral("スタート"));
    ASSERT_TRUE(w->startStopButton()->isEnabled());
    grab(*w, "output_ready");

    w->startStopButton()->click();
    // A count being typed survives the poll that changes the status.
    w->repeatEdit()->clear();
    QTest::keyClicks(w->repeatEdit(), "12");
    w->form().timerTick();
    EXPECT_EQ(text(*w, "statusLine"), QStringLiteral("PGX-500 動作中"));
    EXPECT_EQ(w->repeatEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(w->startStopButton()->text(), QStringLiteral("ストップ"));
    EXPECT_TRUE(w->forceStopButton()->isEnabled());
    grab(*w, "output_running");

    // Enter does nothing; the output command brings a minimised window back.
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_EQ(commands_->outputWindow(), w);
    w->showMinimized();
    commands_->run(CommandId::Output);
    EXPECT_EQ(commands_->outputWindow(), w);
    EXPECT_FALSE(w->isMinimized());

    // What the unit's state and settings enable is the form's
    // (OutputWindow.ButtonsFollowTheUnitsStateAndStartControl, MarksAndDeviceFieldsShowWhatTheUnitHolds).
    QTest::mouseClick(w->option(device::GroupStartControl, 2), Qt::LeftButton);

    // Esc closes it; the choices go back into the document.
    int closed = 0;
    QObject::connect(commands_.get(), &OutputCommands::outputWindowClosed, [&] { ++closed; });
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(commands_->outputWindowOpen());
    EXPECT_EQ(doc_->outputWindow(), nullptr);
    EXPECT_EQ(doc_->outputSettings().outputMode, 1);
    EXPECT_EQ(doc_->outputSettings().analogStop, 1);
    EXPECT_EQ(doc_->outputSettings().repeatCount, 12);
    EXPECT_EQ(doc_->outputSettings().startControl, 2);
}

TEST_F(OutputWidgets, SelectionDialogListsMarksAndNamesUnits) {
    {
        QSettings ini(dir_.filePath("LYR.INI"), QSettings::IniFormat);
        ini.setValue("PGX-500.Device2/SerialNo", "OLD1");
        ini.setValue("PGX-500.Device2/Description", "Shelf");
        ini.setValue("PGX-500.Device4/SerialNo", "PG500002");
    }
    const DeviceSelection s = select([](COutputSelectDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("PGX-500指定"));
        QTreeWidget* list = dlg.listView();
        EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("シリアルNo"));
        EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("表示名"));
        EXPECT_EQ(list->columnWidth(0), 70);
        ASSERT_EQ(list->topLevelItemCount(), 3);
        const char* serials[] = {"OLD1", "PG500002", "PG500001"};
        const bool red[] = {false, true, true};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(list->topLevelItem(i)->text(0), QString::fromLatin1(serials[i]));
            EXPECT_EQ(list->topLevelItem(i)->foreground(0).color() == QColor(255, 0, 0), red[i]) << i;
        }
        EXPECT_FALSE(dlg.okButton()->isEnabled());
        EXPECT_FALSE(dlg.nameEdit()->isEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        EXPECT_EQ(dlg.nameEdit()->text(), QStringLiteral("Shelf"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(2)).center());
        ASSERT_TRUE(dlg.nameEdit()->isEnabled());
        QTest::keyClicks(dlg.nameEdit(), "Bench");
        EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("Bench"));
        grab(dlg, "select_named");
        // Below the last row: nothing selected.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 3));
        EXPECT_FALSE(dlg.okButton()->isEnabled());
        EXPECT_EQ(dlg.nameEdit()->text(), QString());
        grab(dlg, "select_none");
        dlg.noDeviceButton()->click();
    });
    EXPECT_FALSE(s.specified);
    EXPECT_EQ(s.titlePrefix, "[PGX-500指定なし] ");
    EXPECT_FALSE(commands_->available(CommandId::Output));
    QSettings ini(dir_.filePath("LYR.INI"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("PGX-500.Device1/SerialNo").toString(), QStringLiteral("OLD1"));
    EXPECT_EQ(ini.value("PGX-500.Device3/SerialNo").toString(), QStringLiteral("PG500001"));
    EXPECT_EQ(ini.value("PGX-500.Device3/Description").toString(), QStringLiteral("Bench"));
    EXPECT_FALSE(ini.contains("PGX-500.Device4/SerialNo"));
}

}  // namespace
}  // namespace lyr::device
