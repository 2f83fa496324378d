#include "document/ui/wave_time_dlg.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace lyr::document {
namespace {

using lyr::test::child;

QString cell(QWidget& dlg, int row, int col) {
    return child<QLineEdit>(dlg, QStringLiteral("candidateText%1%2").arg(row).arg(col))->text();
}

using lyr::test::retype;

class WaveTimeDlgTest : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }
};

TEST_F(WaveTimeDlgTest, OpensWithTheNewWaveformDefaults) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("トータル時間の設定"));
    EXPECT_TRUE(child<QRadioButton>(dlg, "timeMode")->isChecked());
    EXPECT_EQ(child<QLineEdit>(dlg, "totalEdit")->text(), "10");
    EXPECT_EQ(child<QComboBox>(dlg, "totalUnit")->currentText(), "mS");
    EXPECT_EQ(child<QComboBox>(dlg, "totalUnit")->count(), 6);
    EXPECT_EQ(child<QComboBox>(dlg, "samplingUnit")->count(), 3);
    EXPECT_FALSE(child<QLineEdit>(dlg, "samplingEdit")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dlg, "countEdit")->isEnabled());
    EXPECT_EQ(cell(dlg, 0, 0), "10 mS");
    EXPECT_EQ(cell(dlg, 0, 1), "10 nS");
    EXPECT_EQ(cell(dlg, 0, 2), "1000000");
    EXPECT_EQ(cell(dlg, 0, 3), "0.000000000 %");
    EXPECT_EQ(cell(dlg, 1, 0), "");
    EXPECT_TRUE(child<QRadioButton>(dlg, "candidate0")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(dlg, "candidate1")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(dlg, "okButton")->isEnabled());

    // Every field is named for assistive technology.
    QStringList buddies;
    for (QLabel* l : dlg.findChildren<QLabel*>()) {
        if (l->buddy()) buddies << l->text() + "=" + l->buddy()->objectName();
    }
    buddies.sort();
    EXPECT_EQ(buddies.join(","), QStringLiteral("サンプリングデータ数=countEdit,サンプリング時間=samplingEdit,"
                                                "トータル時間=totalEdit"));
    EXPECT_FALSE(child<QComboBox>(dlg, "totalUnit")->accessibleName().isEmpty());
    EXPECT_EQ(child<QLineEdit>(dlg, "candidateText12")->accessibleName(),
              QStringLiteral("設定 2 サンプリングデータ数"));
    lyr::test::grabIfAsked(dlg, QStringLiteral("wave_time_dlg"));
}

TEST_F(WaveTimeDlgTest, TypeTotalPickCandidateAndAccept) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    retype(child<QLineEdit>(dlg, "totalEdit"), "10.48577");
    EXPECT_EQ(cell(dlg, 0, 1), "170 nS");
    EXPECT_EQ(cell(dlg, 1, 2), "524288");
    EXPECT_EQ(cell(dlg, 2, 0), "10.48578 mS");
    QTest::mouseClick(child<QRadioButton>(dlg, "candidate2"), Qt::LeftButton);
    EXPECT_EQ(dlg.form().selectedCandidate(), 2);
    QTest::mouseClick(child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.requestedTotal(), 10485780);
    EXPECT_EQ(dlg.requestedSampling(), 20u);
    EXPECT_EQ(dlg.requestedCount(), 524289u);
}

TEST_F(WaveTimeDlgTest, UnitChangeInvalidatesAndMinutesWork) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    auto* unit = child<QComboBox>(dlg, "totalUnit");
    retype(child<QLineEdit>(dlg, "totalEdit"), "1.5");
    EXPECT_TRUE(child<QLabel>(dlg, "totalMark")->isHidden());
    unit->setCurrentIndex(0);  // 1.5 nS: refused
    EXPECT_FALSE(child<QPushButton>(dlg, "okButton")->isEnabled());
    EXPECT_FALSE(child<QLabel>(dlg, "totalMark")->isHidden());
    EXPECT_FALSE(child<QLabel>(dlg, "totalMark")->accessibleName().isEmpty());
    EXPECT_TRUE(child<QLabel>(dlg, "samplingMark")->isHidden());
    EXPECT_FALSE(child<QRadioButton>(dlg, "candidate0")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(dlg, "candidate0")->isChecked());
    EXPECT_EQ(cell(dlg, 0, 0), "");
    unit->setCurrentIndex(4);  // 1.5 M = 90 s
    EXPECT_TRUE(child<QPushButton>(dlg, "okButton")->isEnabled());
    EXPECT_EQ(cell(dlg, 0, 0), "90 S");
    EXPECT_TRUE(child<QLabel>(dlg, "totalMark")->isHidden());
    EXPECT_EQ(child<QLineEdit>(dlg, "totalEdit")->text(), "1.5");  // not rewritten
}

TEST_F(WaveTimeDlgTest, SamplingModeWithCount) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    QTest::mouseClick(child<QRadioButton>(dlg, "samplingMode"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(dlg, "samplingEdit")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dlg, "totalEdit")->isEnabled());
    retype(child<QLineEdit>(dlg, "samplingEdit"), "15");
    retype(child<QLineEdit>(dlg, "countEdit"), "1000");
    EXPECT_EQ(cell(dlg, 1, 3), "-33.333333333 %");
    EXPECT_EQ(cell(dlg, 2, 3), "33.333333333 %");
    EXPECT_TRUE(child<QRadioButton>(dlg, "candidate1")->isChecked());
    QTest::mouseClick(child<QPushButton>(dlg, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.requestedSampling(), 10u);
    EXPECT_EQ(dlg.requestedCount(), 1000u);
    EXPECT_EQ(dlg.requestedTotal(), 10000);
}

TEST_F(WaveTimeDlgTest, MarkerFollowsTheFieldOfTheCurrentMode) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    auto* totalMark = child<QLabel>(dlg, "totalMark");
    auto* samplingMark = child<QLabel>(dlg, "samplingMark");
    QTest::mouseClick(child<QRadioButton>(dlg, "samplingMode"), Qt::LeftButton);
    retype(child<QLineEdit>(dlg, "samplingEdit"), "1.5");  // 1.5 nS: finer than 1 ns
    EXPECT_FALSE(samplingMark->isHidden());
    EXPECT_TRUE(totalMark->isHidden());
    EXPECT_FALSE(child<QPushButton>(dlg, "okButton")->isEnabled());
    // Back in time mode the valid total text counts, and no marker shows.
    QTest::mouseClick(child<QRadioButton>(dlg, "timeMode"), Qt::LeftButton);
    EXPECT_TRUE(samplingMark->isHidden());
    EXPECT_TRUE(totalMark->isHidden());
    EXPECT_TRUE(child<QPushButton>(dlg, "okButton")->isEnabled());
    retype(child<QLineEdit>(dlg, "totalEdit"), "abc");
    EXPECT_FALSE(totalMark->isHidden());
    lyr::test::grabIfAsked(dlg, QStringLiteral("wave_time_dlg_invalid"));
}

TEST_F(WaveTimeDlgTest, EnterIsSwallowedAndClosingCancels) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    QTest::keyClick(child<QLineEdit>(dlg, "totalEdit"), Qt::Key_Return);
    QTest::keyClick(child<QLineEdit>(dlg, "totalEdit"), Qt::Key_Enter);
    child<QPushButton>(dlg, "okButton")->setFocus();
    QTest::keyClick(child<QPushButton>(dlg, "okButton"), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    retype(child<QLineEdit>(dlg, "totalEdit"), "20");
    dlg.close();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.requestedTotal(), 10000000);  // outputs unchanged on cancel
}

}  // namespace
}  // namespace lyr::document
