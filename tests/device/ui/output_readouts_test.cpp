// The output window's read-only readouts as assistive technology reads them,
// the window with its own device worker, and the selection dialog's name
// column beside a scroll bar; offscreen, over the simulated unit.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QScrollBar>
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

class OutputReadouts : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        ASSERT_TRUE(library_.bind(PGXSIM_PATH));
        doc_ = test::newDoc(83886080, 1000);
        env_.doc = doc_.get();
        env_.prompter = &prompter_;
        commands_ = std::make_unique<OutputCommands>(env_, library_);
        commands_->bareDocumentTitle = [] { return std::string("test.lyr"); };
    }
    void TearDown() override { commands_.reset(); }

    test::SimulatedUnitEnv unit_;
    DeviceLibrary library_;
    test::ScriptedPrompter prompter_;
    std::unique_ptr<document::CSYNDoc> doc_;
    ui::CommandEnv env_;
    std::unique_ptr<OutputCommands> commands_;
};

// Each readout is named by the text it shows, so a screen reader says the
// value; what the value is goes into the description.
TEST_F(OutputReadouts, ReadoutsAreNamedByWhatTheyShow) {
    ASSERT_TRUE(doc_->setAnalogResolution(10));
    commands_->selectDevice(1, unit_.dir.filePath("LYR.INI"));
    commands_->run(CommandId::Output);
    COutputDlg* w = commands_->outputWindow();
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w->option(GroupOutputMode, 1), Qt::LeftButton);
    w->repeatEdit()->clear();
    QTest::keyClicks(w->repeatEdit(), "7");
    w->transferButton()->click();
    w->form().timerTick();
    struct Readout {
        const char* name;
        const char* shows;
        const char* description;
    };
    const Readout readouts[] = {
        {"statusLine", "PGX-500 レディ", "状態"},
        {"versionText", "Ver.3", "ファームウェアのバージョン"},
        {"deviceRepeat", "7", "PGX-500の繰り返し回数"},
        {"deviceResolution", "アナログ分解能：10ビット", "PGX-500のアナログ分解能"},
        {"deviceChannels", "ディジタルCH：0～5", "PGX-500のディジタルCH"},
        {"transferProgress", "100%", "データ転送の進み具合"},
    };
    for (const Readout& r : readouts) {
        SCOPED_TRACE(r.name);
        QWidget* widget = child<QWidget>(*w, QString::fromLatin1(r.name));
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(widget)) shown = label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
        if (auto* bar = qobject_cast<QProgressBar*>(widget)) shown = bar->text();
        EXPECT_EQ(shown, QString::fromUtf8(r.shows));
        EXPECT_EQ(widget->accessibleName(), shown);
        EXPECT_EQ(widget->accessibleDescription(), QString::fromUtf8(r.description));
    }
    // Unplugged: a blank readout is named by what it is.
    setenv("PGXSIM_FAULT", "unplugged", 1);
    w->form().timerTick();
    unsetenv("PGXSIM_FAULT");
    EXPECT_EQ(child<QLabel>(*w, "deviceResolution")->text(), QString());
    EXPECT_EQ(child<QLabel>(*w, "deviceResolution")->accessibleName(), QStringLiteral("PGX-500のアナログ分解能"));
    EXPECT_EQ(child<QLineEdit>(*w, "deviceRepeat")->accessibleName(), QStringLiteral("PGX-500の繰り返し回数"));
    EXPECT_EQ(child<QLineEdit>(*w, "statusLine")->accessibleName(), QStringLiteral("PGX-500 未接続"));
}

// With a worker the window's calls come back at once; the results arrive as
// queued calls while the event loop runs.
TEST_F(OutputReadouts, AWindowWithItsOwnWorkerTransfersWithoutWaiting) {
    auto w = std::make_unique<COutputDlg>(library_.api(), prompter_, nullptr, true);
    w->show();
    ASSERT_TRUE(w->openWindow(openingFor(*doc_, {}, {}, "test.lyr")));
    auto* status = child<QLineEdit>(*w, "statusLine");
    QTRY_COMPARE(status->text(), QStringLiteral("PGX-500 未設定"));
    QTRY_VERIFY(w->transferButton()->isEnabled());
    EXPECT_FALSE(w->cancelButton()->isEnabled());
    w->transferButton()->click();
    EXPECT_EQ(status->text(), QStringLiteral("PGX-500 転送中"));
    EXPECT_FALSE(w->transferButton()->isEnabled());
    QTRY_COMPARE(status->text(), QStringLiteral("PGX-500 レディ"));
    EXPECT_EQ(w->progressBar()->maximum(), 2000);
    EXPECT_EQ(w->progressBar()->value(), 2000);
    EXPECT_FALSE(w->cancelButton()->isEnabled());
    EXPECT_TRUE(prompter_.asked.empty());
    w->startStopButton()->click();
    QTRY_COMPARE(status->text(), QStringLiteral("PGX-500 動作中"));
    // Going away lets the unit go first; the queued results are dropped.
    w->form().timerTick();
    w.reset();
    QCoreApplication::processEvents();
}

// The name column takes the list's width beside the serial column, measured
// once the scroll bar of a long list has taken its room.
TEST_F(OutputReadouts, SelectionDialogNameColumnFitsBesideTheScrollBar) {
    for (int count : {2, 40}) {
        SCOPED_TRACE(count);
        const QString path = unit_.dir.filePath(QStringLiteral("LYR%1.INI").arg(count));
        {
            QSettings ini(path, QSettings::IniFormat);
            for (int n = 1; n <= count; ++n)
                ini.setValue(QStringLiteral("PGX-500.Device%1/SerialNo").arg(n), QStringLiteral("SN%1").arg(n));
        }
        bool scrolls = false;
        int nameWidth = -1, room = -2;
        test::whenModal<COutputSelectDlg>(qApp, [&](COutputSelectDlg& dlg) {
            QTreeWidget* list = dlg.listView();
            QCoreApplication::processEvents();
            scrolls = list->verticalScrollBar()->isVisible();
            nameWidth = list->columnWidth(1);
            room = list->viewport()->width() - list->columnWidth(0);
            dlg.noDeviceButton()->click();
        });
        commands_->selectDevice(2, path);
        EXPECT_EQ(scrolls, count > 10);
        EXPECT_EQ(nameWidth, room);
    }
}

}  // namespace
}  // namespace lyr::device
