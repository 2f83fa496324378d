#include "app/ui/file_dialogs.h"
#include "app/ui/syn_app.h"
#include "support/modal.h"
#include "support/qt_app.h"
#include "support/waveform_files.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

namespace lyr::app {
namespace {

TEST(QtFileDialogs, OpenShowsTheThreeFiltersAndReturnsTheChoice) {
    lyr::test::qtApp();
    lyr::test::ScratchFolder dir;
    const std::string file = dir.file("w.syn");
    std::ofstream(file) << "x";

    QWidget owner;
    QtFileDialogs dialogs(&owner);
    lyr::test::whenModal<QFileDialog>(&owner, [&](QFileDialog& dlg) {
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

    lyr::test::whenModal<QFileDialog>(&owner, [](QFileDialog& dlg) { dlg.reject(); });
    EXPECT_FALSE(dialogs.openFileName(kOpenFilter).has_value());
}

TEST(QtFileDialogs, SaveStartsWithTheTitleAndLeavesOverwriteToTheCommand) {
    // Qt's own texts in Japanese where Qt's translations are installed; the
    // editor starts without them otherwise.
    const bool japanese = loadQtTranslations(lyr::test::qtApp());
    EXPECT_EQ(japanese, QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm"));
    QWidget owner;
    QtFileDialogs dialogs(&owner);
    lyr::test::whenModal<QFileDialog>(&owner, [japanese](QFileDialog& dlg) {
        auto* box = dlg.findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        ASSERT_NE(box->button(QDialogButtonBox::Cancel), nullptr);
        EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(),
                  japanese ? QStringLiteral("キャンセル") : QStringLiteral("Cancel"));
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
