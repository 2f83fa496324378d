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

// The "×" marks follow the fields of the chosen mode; the texts are never rewritten.
TEST_F(WaveTimeDlgTest, MarksFollowTheModeAndTheUnit) {
    CWaveTimeDlg dlg(10000000, 10, 1000000);
    dlg.show();
    auto* totalMark = child<QLabel>(dlg, "totalMark");
    auto* samplingMark = child<QLabel>(dlg, "samplingMark");
    auto* ok = child<QPushButton>(dlg, "okButton");
    QTest::mouseClick(child<QRadioButton>(dlg, "samplingMode"), Qt::LeftButton);
    EXPECT_TRUE(child<QLineEdit>(dlg, "countEdit")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dlg, "totalEdit")->isEnabled());
    retype(child<QLineEdit>(dlg, "samplingEdit"), "15");  // no exact row: the lower one is chosen
    EXPECT_TRUE(child<QRadioButton>(dlg, "candidate1")->isChecked());
    retype(child<QLineEdit>(dlg, "samplingEdit"), "1.5");  // 1.5 nS: finer than 1 ns
    EXPECT_FALSE(samplingMark->isHidden());
    EXPECT_TRUE(totalMark->isHidden());
    EXPECT_FALSE(ok->isEnabled());
    // Back in time mode the valid total text counts, and no mark shows.
    QTest::mouseClick(child<QRadioButton>(dlg, "timeMode"), Qt::LeftButton);
    EXPECT_TRUE(samplingMark->isHidden());
    EXPECT_TRUE(totalMark->isHidden());
    EXPECT_TRUE(ok->isEnabled());

    auto* unit = child<QComboBox>(dlg, "totalUnit");
    retype(child<QLineEdit>(dlg, "totalEdit"), "1.5");
    unit->setCurrentIndex(0);  // 1.5 nS: refused
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(totalMark->isHidden());
    EXPECT_FALSE(totalMark->accessibleName().isEmpty());
    EXPECT_FALSE(child<QRadioButton>(dlg, "candidate0")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(dlg, "candidate0")->isChecked());
    EXPECT_EQ(cell(dlg, 0, 0), "");
    lyr::test::grabIfAsked(dlg, QStringLiteral("wave_time_dlg_invalid"));
    unit->setCurrentIndex(4);  // 1.5 M = 90 s
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(cell(dlg, 0, 0), "90 S");
    EXPECT_TRUE(totalMark->isHidden());
    EXPECT_EQ(child<QLineEdit>(dlg, "totalEdit")->text(), "1.5");
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
