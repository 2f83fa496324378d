// "トータル時間の変更" driven as the user drives it.
#include "document/ui/wave_time_change_dlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/qt_app.h"

namespace lyr::document {
namespace {

TEST(CWaveTimeChangeDlg, TypeATotalChooseTheLongerCountAndAccept) {
    lyr::test::qtApp();
    CWaveTimeChangeDlg dlg(30 * 1000, 30, 1000);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("トータル時間の変更"));
    EXPECT_EQ(dlg.totalEdit()->text(), QStringLiteral("30"));
    EXPECT_EQ(dlg.totalUnit()->currentText(), QStringLiteral("uS"));
    EXPECT_EQ(dlg.totalUnit()->count(), 6);  // nS .. H
    EXPECT_TRUE(dlg.candidateButton(0)->isChecked());
    EXPECT_FALSE(dlg.candidateButton(1)->isEnabled());

    dlg.totalUnit()->setCurrentIndex(2);  // mS
    dlg.totalEdit()->selectAll();
    QTest::keyClicks(dlg.totalEdit(), "1");
    EXPECT_EQ(dlg.candidateText(0, 2)->text(), QStringLiteral("33333"));
    EXPECT_EQ(dlg.candidateText(1, 0)->text(), QStringLiteral("1.00002 mS"));
    EXPECT_EQ(dlg.candidateText(1, 3)->text(), QStringLiteral("0.002000000 %"));
    ASSERT_TRUE(dlg.candidateButton(1)->isEnabled());
    QTest::keyClick(dlg.totalEdit(), Qt::Key_Return);  // Enter does not close it
    EXPECT_TRUE(dlg.isVisible());
    dlg.candidateButton(1)->click();
    lyr::test::grabIfAsked(dlg, QStringLiteral("wave_time_change_dlg"));

    QTest::keyClicks(dlg.totalEdit(), "x");  // "1x" does not read: OK off, the mark shows
    EXPECT_FALSE(dlg.okButton()->isEnabled());
    EXPECT_TRUE(dlg.findChild<QWidget*>("totalMark")->isVisible());
    QTest::keyClick(dlg.totalEdit(), Qt::Key_Backspace);
    dlg.candidateButton(1)->click();
    ASSERT_TRUE(dlg.okButton()->isEnabled());
    dlg.okButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.requestedCount(), 33334u);
    EXPECT_EQ(dlg.requestedTotal(), 1000020);
    EXPECT_EQ(dlg.requestedSampling(), 30);
}

}  // namespace
}  // namespace lyr::document
