// "トータル時間の設定" driven as the user drives it; the candidates' values
// are the form's (WaveTimeFormTest), here only that the dialog shows and takes them.
#include "document/ui/wave_time_dlg.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace lyr::document {
namespace {

using lyr::test::child;
using lyr::test::retype;

QString cell(QWidget& dlg, int row, int col) {
    return child<QLineEdit>(dlg, QStringLiteral("candidateText%1%2").arg(row).arg(col))->text();
}

class WaveTimeDlgTest : public ::testing::Test {
protected:
    void SetUp() override { dlg.show(); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(dlg, QString::fromLatin1(name)); }
    QRadioButton* radio(const char* name) { return child<QRadioButton>(dlg, QString::fromLatin1(name)); }
    QPushButton* ok() { return child<QPushButton>(dlg, QStringLiteral("okButton")); }
    bool markShown(const char* name) { return !child<QLabel>(dlg, QString::fromLatin1(name))->isHidden(); }

    QApplication& app = lyr::test::qtApp();  // before the dialog
    CWaveTimeDlg dlg{10000000, 10, 1000000};
};

TEST_F(WaveTimeDlgTest, OpensNamedTypeTotalPickCandidateAndAccept) {
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("トータル時間の設定"));
    EXPECT_TRUE(radio("timeMode")->isChecked());
    EXPECT_EQ(edit("totalEdit")->text(), "10");
    EXPECT_EQ(child<QComboBox>(dlg, "totalUnit")->currentText(), "mS");
    EXPECT_EQ(child<QComboBox>(dlg, "totalUnit")->count(), 6);
    EXPECT_EQ(child<QComboBox>(dlg, "samplingUnit")->count(), 3);
    EXPECT_FALSE(edit("samplingEdit")->isEnabled());
    EXPECT_FALSE(edit("countEdit")->isEnabled());
    EXPECT_EQ(cell(dlg, 0, 3), "0.000000000 %");
    EXPECT_EQ(cell(dlg, 1, 0), "");
    EXPECT_TRUE(radio("candidate0")->isChecked());
    EXPECT_FALSE(radio("candidate1")->isEnabled());

    // Every field is named for assistive technology.
    QStringList buddies;
    for (QLabel* l : dlg.findChildren<QLabel*>()) {
        if (l->buddy()) buddies << l->text() + "=" + l->buddy()->objectName();
    }
    buddies.sort();
    EXPECT_EQ(buddies.join(","), QStringLiteral("サンプリングデータ数=countEdit,サンプリング時間=samplingEdit,"
                                                "トータル時間=totalEdit"));
    EXPECT_FALSE(child<QComboBox>(dlg, "totalUnit")->accessibleName().isEmpty());
    // A candidate's text is read as its name; what it is is the description.
    QLineEdit* count2 = edit("candidateText12");
    EXPECT_EQ(count2->accessibleDescription(), QStringLiteral("設定 2 サンプリングデータ数"));
    EXPECT_EQ(count2->accessibleName(),
              count2->text().isEmpty() ? count2->accessibleDescription() : count2->text());
    lyr::test::grabIfAsked(dlg, QStringLiteral("wave_time_dlg"));

    retype(edit("totalEdit"), "10.48577");
    EXPECT_EQ(cell(dlg, 2, 0), "10.48578 mS");
    QTest::mouseClick(radio("candidate2"), Qt::LeftButton);
    EXPECT_EQ(dlg.form().selectedCandidate(), 2);
    QTest::mouseClick(ok(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.requestedTotal(), 10485780);
    EXPECT_EQ(dlg.requestedSampling(), 20);
    EXPECT_EQ(dlg.requestedCount(), 524289u);
}

// The "×" marks follow the fields of the chosen mode; the texts are never
// rewritten; Enter never closes the dialog and closing it cancels.
TEST_F(WaveTimeDlgTest, MarksFollowTheModeEnterIsSwallowedAndClosingCancels) {
    QTest::mouseClick(radio("samplingMode"), Qt::LeftButton);
    EXPECT_TRUE(edit("countEdit")->isEnabled());
    EXPECT_FALSE(edit("totalEdit")->isEnabled());
    retype(edit("samplingEdit"), "15");  // no exact row: the lower one is chosen
    EXPECT_TRUE(radio("candidate1")->isChecked());
    retype(edit("samplingEdit"), "1.5");  // 1.5 nS: finer than 1 ns
    EXPECT_TRUE(markShown("samplingMark"));
    EXPECT_FALSE(markShown("totalMark"));
    EXPECT_FALSE(ok()->isEnabled());
    // Back in time mode the valid total text counts, and no mark shows.
    QTest::mouseClick(radio("timeMode"), Qt::LeftButton);
    EXPECT_FALSE(markShown("samplingMark"));
    EXPECT_FALSE(markShown("totalMark"));
    EXPECT_TRUE(ok()->isEnabled());

    retype(edit("totalEdit"), "1.5");
    child<QComboBox>(dlg, "totalUnit")->setCurrentIndex(0);  // 1.5 nS: refused
    EXPECT_FALSE(ok()->isEnabled());
    EXPECT_TRUE(markShown("totalMark"));
    EXPECT_FALSE(child<QLabel>(dlg, "totalMark")->accessibleName().isEmpty());
    EXPECT_FALSE(radio("candidate0")->isEnabled());
    EXPECT_FALSE(radio("candidate0")->isChecked());
    lyr::test::grabIfAsked(dlg, QStringLiteral("wave_time_dlg_invalid"));
    child<QComboBox>(dlg, "totalUnit")->setCurrentIndex(4);  // 1.5 M
    EXPECT_TRUE(ok()->isEnabled());
    EXPECT_FALSE(markShown("totalMark"));
    EXPECT_EQ(edit("totalEdit")->text(), "1.5");

    QTest::keyClick(edit("totalEdit"), Qt::Key_Return);
    QTest::keyClick(edit("totalEdit"), Qt::Key_Enter);
    ok()->setFocus();
    QTest::keyClick(ok(), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    dlg.close();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.requestedTotal(), 10000000);  // outputs unchanged on cancel
}

}  // namespace
}  // namespace lyr::document
