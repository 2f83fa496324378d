#include "app/ui/about_dlg.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace lyr::app {
namespace {

TEST(CAboutDlg, ShowsVersionAndClosesWithOk) {
    lyr::test::qtApp();
    CAboutDlg dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("LYRのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(dlg.versionLabel()->text(), QStringLiteral("LYR Version 1.4"));
    EXPECT_EQ(dlg.productLabel()->text(), QStringLiteral("PGX-500 波形データ編集・書き込みプログラム"));
    EXPECT_FALSE(dlg.versionLabel()->accessibleName().isEmpty());
    lyr::test::grabIfAsked(dlg, QStringLiteral("about_dlg"));
    QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(CAboutDlg, EnterAcceptsToo) {
    lyr::test::qtApp();
    CAboutDlg dlg;
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace lyr::app
