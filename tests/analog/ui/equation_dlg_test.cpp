// "数式波形の作成" driven offscreen from opening to apply.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <vector>

#include "analog/ui/equation_dlg.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"

namespace lyr::analog {
namespace {

using lyr::test::child;

TEST(CEquationDlgWidget, TypeAnExpressionSeeItsErrorPickFromHistoryAndReplace) {
    lyr::test::qtApp();
    test::ScriptedPrompter prompter;
    std::vector<double> track(1048576, 0.0);
    EquationForm form(prompter);
    document::EquationSettings remembered;
    remembered.history = {"0.5*square(2*pi*t/T)", "exp(-t/T)"};
    form.load(remembered);
    ASSERT_TRUE(form.open(track.data(), 100000, 100, 0));  // 1,000 samples of 100 ns
    CEquationDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("数式波形の作成"));
    QLineEdit* expr = dlg.expressionEdit();
    QLabel* marker = dlg.expressionMarker();
    EXPECT_TRUE(marker->isVisibleTo(&dlg));  // an empty expression does not parse
    EXPECT_FALSE(marker->accessibleName().isEmpty());

    child<QComboBox>(dlg, QStringLiteral("unit_period"))->setCurrentIndex(1);
    QLineEdit* period = child<QLineEdit>(dlg, QStringLiteral("edit_period"));
    period->setFocus();
    QTest::keyClicks(period, "50");
    // Tab leads from the period to the expression, then to the history.
    EXPECT_EQ(child<QComboBox>(dlg, QStringLiteral("unit_period"))->nextInFocusChain(), expr);
    EXPECT_EQ(expr->nextInFocusChain(), dlg.historyBox());
    QTest::keyClicks(expr, "0.8*sin(2*pi*t/T");
    EXPECT_TRUE(marker->isVisibleTo(&dlg));
    EXPECT_TRUE(marker->toolTip().startsWith(QStringLiteral("位置 16: ")));
    EXPECT_FALSE(dlg.createButton()->isEnabled());
    lyr::test::grabIfAsked(dlg, QStringLiteral("equation_error"));
    QTest::keyClicks(expr, ")");
    EXPECT_FALSE(marker->isVisibleTo(&dlg));
    EXPECT_TRUE(marker->toolTip().isEmpty());

    // The history puts an earlier expression back.
    QComboBox* history = dlg.historyBox();
    ASSERT_EQ(history->count(), 2);
    history->setCurrentIndex(0);
    emit history->activated(0);
    EXPECT_EQ(expr->text(), QStringLiteral("0.5*square(2*pi*t/T)"));

    QTest::mouseClick(dlg.createButton(), Qt::LeftButton);
    ASSERT_TRUE(dlg.applyButton(AnalogApplyMode::Replace)->isEnabled());
    lyr::test::grabIfAsked(dlg, QStringLiteral("equation"));
    QTest::mouseClick(dlg.applyButton(AnalogApplyMode::Replace), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(track[0], 0.5);
    EXPECT_DOUBLE_EQ(track[499], -0.5);  // 50 us of 100 ns: the second half is low
    EXPECT_EQ(track[500], 0.0);
    EXPECT_EQ(form.settings().history.front(), "0.5*square(2*pi*t/T)");
    EXPECT_EQ(form.settings().history.size(), 2u);
}

}  // namespace
}  // namespace lyr::analog
