// "波形の修正" and "外部データの変換" driven offscreen from opening to apply:
// a real mouse stroke over the graph, a real file read through the file row.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <fstream>
#include <vector>

#include "analog/ui/analog_dialogs.h"
#include "analog/ui/analog_graphs.h"
#include "document/waveform_file.h"
#include "support/documents.h"
#include "support/dialog_fields.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::analog {
namespace {

using lyr::test::child;
using lyr::test::click;
using lyr::test::fill;
using lyr::test::typeInto;

class SourceDialogs : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }
    test::ScriptedPrompter prompter;
    std::vector<double> track = std::vector<double>(1048576, 0.0);
};

TEST_F(SourceDialogs, ManualCopyStrokeModifyAndReplace) {
    for (int i = 0; i < 100000; ++i) track[i] = -0.5;  // T = 1 ms at 10 ns
    ManualForm form(prompter);
    ASSERT_TRUE(form.open(track.data(), 1000000, 10, 0));
    CManualDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("波形の修正"));
    EXPECT_EQ(dlg.createButton()->text(), QStringLiteral("コピー"));
    EXPECT_FALSE(dlg.modifyButton()->isEnabled());
    EXPECT_FALSE(dlg.createButton()->isEnabled());  // no copy length remembered yet
    fill(dlg, {{"copy-period", "100", 1}});
    click(dlg, "create");
    EXPECT_EQ(dlg.createButton()->text(), QStringLiteral("再コピー"));
    EXPECT_FALSE(child<QLineEdit>(dlg, "edit_copy-start")->isEnabled());
    EXPECT_EQ(dlg.copyStartLabel()->text(), QStringLiteral("0 mS"));
    EXPECT_EQ(dlg.copyEndLabel()->text(), QStringLiteral("0.1 mS"));

    // a stroke at +0.5 V across the whole graph and past its right end
    PreviewGraph* g = dlg.graph();
    const PlotRect plot = g->plotRect();
    const int row = levelRow(plot, 0.5);
    QTest::mousePress(g, Qt::LeftButton, Qt::NoModifier, QPoint(plot.left, row));
    for (int x = plot.left + 20; x <= plot.right + 17; x += 20)
        QTest::mouseMove(g, QPoint(std::min(x, plot.right + 17), row));
    QTest::mouseMove(g, QPoint(plot.right + 17, row));
    QTest::mouseRelease(g, Qt::LeftButton, Qt::NoModifier, QPoint(plot.right + 17, row));
    for (int i = 0; i < 10000; i += 499) ASSERT_NEAR(form.segment()[i], 0.5, 0.02) << i;
    EXPECT_EQ(form.referenceCopy()[5000], -0.5);
    lyr::test::grabIfAsked(dlg, QStringLiteral("analog_manual"));

    QTest::mouseClick(child<QRadioButton>(dlg, "radio_gain"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(dlg, "edit_gain")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dlg, "edit_shift")->isEnabled());
    typeInto(dlg, "gain", "2");
    click(dlg, "modify");
    EXPECT_FALSE(child<QRadioButton>(dlg, "radio_gain")->isChecked());  // each modification is chosen afresh
    EXPECT_FALSE(dlg.modifyButton()->isEnabled());
    EXPECT_NEAR(form.segment()[5000], 1.0, 0.04);

    typeInto(dlg, "start", "0.5");
    click(dlg, "apply0");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_NEAR(track[50000], 1.0, 0.04);
    EXPECT_NEAR(track[59999], 1.0, 0.04);
    EXPECT_EQ(track[60000], -0.5);
    EXPECT_EQ(form.settings().copyPeriod, 100000);
}

TEST_F(SourceDialogs, ExternalFileRowConvertAndAdd) {
    test::ScratchFolder dir;
    const std::string path = dir.file("levels.csv");
    std::ofstream(path) << "0.1,0.2\n0.3;0.4\t0.5\n";
    ExternalForm form(prompter);
    ASSERT_TRUE(form.open(track.data(), 1000000, 10, 0));
    CExternalDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("外部データの変換"));
    EXPECT_EQ(dlg.createButton()->text(), QStringLiteral("ﾃﾞｰﾀ変換"));
    EXPECT_TRUE(dlg.progressBar()->isHidden());
    EXPECT_EQ(child<QComboBox>(dlg, "unit_interpolate")->currentText(), QStringLiteral("補間なし"));
    fill(dlg, {{"interval", "1", 1}});
    int asked = 0;
    dlg.chooseFile = [&] {
        ++asked;
        return QString::fromStdString(path);
    };
    click(dlg, "browse");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dlg.fileName()->text(), QString::fromStdString(path));
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_count")->text(), QStringLiteral("5"));
    const QStringList readouts{dlg.maxLabel()->text(), dlg.minLabel()->text(), dlg.durationLabel()->text()};
    EXPECT_EQ(readouts, (QStringList{"0.500", "0.100", "5 uS"}));
    EXPECT_TRUE(dlg.progressBar()->isHidden());
    EXPECT_EQ(dlg.progressBar()->value(), 100);

    child<QComboBox>(dlg, "unit_interpolate")->setCurrentIndex(1);
    QTest::mouseClick(child<QRadioButton>(dlg, "radio_from-index"), Qt::LeftButton);
    typeInto(dlg, "from-index", "2");
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_from")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_period")->text(), QStringLiteral("4"));  // the rest of the source
    EXPECT_FALSE(dlg.applyButton(AnalogApplyMode::Add)->isEnabled());
    click(dlg, "create");
    EXPECT_TRUE(dlg.applyButton(AnalogApplyMode::Add)->isEnabled());
    lyr::test::grabIfAsked(dlg, QStringLiteral("analog_external"));
    track[0] = 1.0;
    click(dlg, "apply1");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(track[0], 1.2);
    EXPECT_DOUBLE_EQ(track[50], 0.25);  // halfway between 0.2 and 0.3
    EXPECT_DOUBLE_EQ(track[399], 0.5);  // the last value held
    EXPECT_EQ(track[400], 0.0);
    EXPECT_EQ(form.settings().interpolation, 1);

    // A waveform file dropped on a fresh dialog brings its samples and its sampling time.
    auto wave = lyr::test::newDoc(40, 20);
    const std::string lyr = dir.file("DROPPED.LYR");
    ASSERT_TRUE(document::saveWaveformFile(lyr, *wave, {}).ok);
    ExternalForm again(prompter);
    ASSERT_TRUE(again.open(track.data(), 1000000, 10, 0));
    CExternalDlg dropped(again);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(lyr))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dropped, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dropped, &drop);
    EXPECT_EQ(dropped.fileName()->text(), QString::fromStdString(lyr));
    EXPECT_EQ(child<QLineEdit>(dropped, "edit_interval")->text(), QStringLiteral("40"));
    EXPECT_EQ(child<QComboBox>(dropped, "unit_interval")->currentText(), QStringLiteral("nS"));
    EXPECT_EQ(child<QLineEdit>(dropped, "edit_count")->text(), QStringLiteral("20"));
}

}  // namespace
}  // namespace lyr::analog
