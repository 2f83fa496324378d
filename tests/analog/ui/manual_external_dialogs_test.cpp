// "波形の修正" and "外部データの変換" driven offscreen from opening to apply:
// a real mouse stroke over the graph, a real file read through the file row.
#include <gtest/gtest.h>

#include <QAccessible>
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

// A press in the margin around the plot starts a stroke wherever it lands:
// on the graph, on the labels above and below it or beside the graph.
TEST_F(SourceDialogs, ManualStrokeStartsInTheWholeMargin) {
    ManualForm form(prompter);
    ASSERT_TRUE(form.open(track.data(), 1000000, 10, 0));
    CManualDlg dlg(form);
    dlg.show();
    fill(dlg, {{"copy-period", "100", 1}});
    click(dlg, "create");
    const PlotRect plot = dlg.graph()->plotRect();
    const int midX = (plot.left + plot.right) / 2, midY = (plot.top + plot.bottom) / 2;
    struct Case {
        const char* side;
        int x, y;  // graph coordinates
        bool starts;
    };
    const Case cases[] = {
        {"left", plot.left - 16, midY, true},      {"left", plot.left - 17, midY, false},
        {"top", midX, plot.top - 16, true},        {"top", midX, plot.top - 17, false},
        {"bottom", midX, plot.bottom + 16, true},  {"bottom", midX, plot.bottom + 17, false},
        {"right", plot.right + 17, midY, true},    {"right", plot.right + 18, midY, false},
    };
    for (const Case& c : cases) {
        const QPoint at = dlg.graph()->mapTo(&dlg, QPoint(c.x, c.y));
        lyr::test::mouseAt(dlg, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(form.stroking(), c.starts) << c.side << " " << c.x << "," << c.y;
        lyr::test::mouseAt(dlg, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        EXPECT_FALSE(form.stroking()) << c.side;
    }
    // Started above the plot, the stroke goes on into it.
    const int row = levelRow(plot, 0.5);
    lyr::test::mouseAt(dlg, QEvent::MouseButtonPress, dlg.graph()->mapTo(&dlg, QPoint(plot.left, plot.top - 10)),
                       Qt::LeftButton, Qt::LeftButton);
    lyr::test::mouseAt(dlg, QEvent::MouseMove, dlg.graph()->mapTo(&dlg, QPoint(midX, row)), Qt::NoButton,
                       Qt::LeftButton);
    EXPECT_NEAR(form.segment()[form.segmentCount() / 2 - 50], 0.5, 0.05);
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

// What the program writes shows whole; the readouts under the overview stay
// empty until a source is loaded; typing keeps its eight characters.
TEST_F(SourceDialogs, ExternalReadoutsAndTheIntervalAsWritten) {
    test::ScratchFolder dir;
    lyr::test::LegacyFile slow;  // 20 ns steps: an interval of 100.00002 mS
    slow.u = 5000001;
    slow.n = 10;
    slow.analog = {0.25, -0.5, 0.75, 0, 0, 0, 0, 0, 0, 0};
    const std::string syn = dir.file("slow.syn");
    lyr::test::putFileBytes(syn, slow.bytes());
    ExternalForm form(prompter);
    ASSERT_TRUE(form.open(track.data(), 1000000, 10, 0));
    CExternalDlg dlg(form);
    dlg.show();
    const auto readouts = [&] {
        return QStringList{dlg.maxLabel()->text(), dlg.minLabel()->text(), dlg.originLabel()->text(),
                           dlg.durationLabel()->text()};
    };
    EXPECT_EQ(readouts(), (QStringList{"", "", "", ""}));

    dlg.loadFile(QString::fromStdString(syn));
    auto* interval = child<QLineEdit>(dlg, "edit_interval");
    EXPECT_EQ(interval->text(), QStringLiteral("100.00002"));
    EXPECT_EQ(child<QComboBox>(dlg, "unit_interval")->currentText(), QStringLiteral("mS"));
    EXPECT_EQ(readouts(), (QStringList{"0.750", "-0.500", "0", "1.0000002 S"}));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dlg.durationLabel())->text(QAccessible::Name),
              QStringLiteral("1.0000002 S"));

    QTest::keyClick(interval, Qt::Key_End);
    QTest::keyClick(interval, Qt::Key_Backspace);  // a text written longer can be shortened
    EXPECT_EQ(interval->text(), QStringLiteral("100.0000"));
    QTest::keyClicks(interval, "123");
    EXPECT_EQ(interval->text(), QStringLiteral("100.0000"));  // but typing stops at eight
    typeInto(dlg, "interval", "123456789");
    EXPECT_EQ(interval->text(), QStringLiteral("12345678"));
}

}  // namespace
}  // namespace lyr::analog
