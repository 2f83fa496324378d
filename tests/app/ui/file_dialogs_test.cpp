#include "app/ui/file_dialogs.h"
#include "app/lifecycle_fake.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>

namespace lyr::app {
namespace {

// Answers the file dialog that is about to open.
void answerDialog(QWidget* owner, std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, owner, [act] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
        if (dlg->isVisible()) dlg->reject();
    });
}

TEST(QtFileDialogs, OpenShowsTheThreeFiltersAndReturnsTheChoice) {
    lyr::test::qtApp();
    const auto dir = test::scratchDir("lyr_file_dialogs");
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "w.syn").string();
    std::ofstream(file) << "x";

    QWidget owner;
    QtFileDialogs dialogs(&owner);
    answerDialog(&owner, [&](QFileDialog& dlg) {
        EXPECT_EQ(dlg.nameFilters(), (QStringList{QStringLiteral("LYRファイル (*.lyr)"), QStringLiteral("SYNファイル (*.syn)"),
                                                  QStringLiteral("すべてのファイル (*.*)")}));
        EXPECT_EQ(dlg.fileMode(), QFileDialog::ExistingFile);
        lyr::test::grabIfAsked(dlg, QStringLiteral("open_dialog"));
        dlg.selectFile(QString::fromStdString(file));
        QMetaObject::invokeMethod(&dlg, "accept");
    });
    auto chosen = dialogs.openFileName(kOpenFilter);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(std::filesystem::path(*chosen), std::filesystem::path(file));

    answerDialog(&owner, [](QFileDialog& dlg) { dlg.reject(); });
    EXPECT_FALSE(dialogs.openFileName(kOpenFilter).has_value());
    std::filesystem::remove_all(dir);
}

TEST(QtFileDialogs, SaveStartsWithTheTitleAndLeavesOverwriteToTheCommand) {
    lyr::test::qtApp();
    QWidget owner;
    QtFileDialogs dialogs(&owner);
    answerDialog(&owner, [](QFileDialog& dlg) {
        EXPECT_EQ(dlg.nameFilters(), QStringList{QStringLiteral("LYRファイル (*.lyr)")});
        EXPECT_EQ(dlg.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dlg.testOption(QFileDialog::DontConfirmOverwrite));
        lyr::test::grabIfAsked(dlg, QStringLiteral("save_dialog"));
        EXPECT_FALSE(dlg.selectedFiles().isEmpty());
        if (!dlg.selectedFiles().isEmpty()) {
            EXPECT_TRUE(dlg.selectedFiles().first().endsWith(QStringLiteral("無題")));
        }
        dlg.reject();
    });
    EXPECT_FALSE(dialogs.saveFileName(kSaveFilter, kDefaultExtension, "無題").has_value());
}

}  // namespace
}  // namespace lyr::app
