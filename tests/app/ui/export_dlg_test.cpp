// "エクスポート": the dialog driven offscreen as a user would, over a waveform
// with a time mark, writing through the save dialog's choice.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/ui/export_dlg.h"
#include "support/documents.h"
#include "support/qt_app.h"
#include "support/scratch_folder.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::app {
namespace {

// The save dialog answering with one path; records what it was asked.
struct AnsweringDialogs : FileDialogs {
    std::optional<std::string> answer;
    std::string filter, extension;
    std::optional<std::string> openFileName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const std::string& f, const std::string& ext, const std::string&) override {
        filter = f;
        extension = ext;
        return answer;
    }
};

// A radio button takes a click on its indicator or text, not anywhere in a stretched row.
void clickIndicator(QRadioButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }

TEST(ExportDialog, FormatContentRangeFileAndWrite) {
    test::qtApp();
    test::ScratchFolder dir;
    auto doc = test::newDoc(10, 1000);
    for (std::uint32_t i = 0; i < 1000; ++i) doc->digital(0)[i] = i >= 400;
    interchange::ExportForm form(*doc, 700, 100);
    AnsweringDialogs dialogs;
    test::ScriptedPrompter prompter;
    CExportDlg dlg(form, dialogs, prompter);
    dlg.show();
    test::grabIfAsked(dlg, QStringLiteral("export_dialog"));

    // CSV: both tracks always, so no content choice; the whole waveform; no file yet
    EXPECT_EQ(dlg.formatBox()->currentText(), QStringLiteral("CSV (*.csv)"));
    EXPECT_FALSE(dlg.digitalButton()->isEnabled());
    EXPECT_TRUE(dlg.markButton()->isEnabled());
    EXPECT_TRUE(dlg.wholeButton()->isChecked());
    EXPECT_EQ(dlg.rangeReadout()->text(), QStringLiteral("0 ～ 999 （1000 サンプル）"));
    EXPECT_FALSE(dlg.writeButton()->isEnabled());

    // NumPy words from the cursor to the mark
    dlg.formatBox()->setCurrentIndex(3);
    ASSERT_TRUE(dlg.digitalButton()->isEnabled());
    clickIndicator(dlg.digitalButton());
    clickIndicator(dlg.markButton());
    EXPECT_TRUE(dlg.digitalButton()->isChecked());
    EXPECT_EQ(dlg.rangeReadout()->text(), QStringLiteral("100 ～ 700 （601 サンプル）"));
    EXPECT_TRUE(dlg.rangeReadout()->accessibleName().contains(QStringLiteral("601 サンプル")));

    // the save dialog gets the format's filter and extension; an existing file is asked about
    const std::string path = dir / "words.npy";
    test::putFileText(path, "old");
    dialogs.answer = path;
    prompter.script({PromptAnswer::No});
    QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.filter, "NPYﾌｧｲﾙ (*.npy)|*.npy||");
    EXPECT_EQ(dialogs.extension, "npy");
    EXPECT_EQ(dlg.fileEdit()->text(), QString());
    prompter.script({PromptAnswer::Yes});
    QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.fileEdit()->text().toStdString(), path);
    EXPECT_EQ(prompter.asked.back().text, path + kOverwriteQuestion);
    ASSERT_TRUE(dlg.writeButton()->isEnabled());
    test::grabIfAsked(dlg, QStringLiteral("export_dialog_npy_range"));

    QTest::mouseClick(dlg.writeButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.progressBar()->isVisible());
    EXPECT_EQ(dlg.progressBar()->value(), 100);
    const auto bytes = test::fileBytes(path);
    ASSERT_EQ(bytes.size(), 128u + 601u);
    EXPECT_EQ(bytes[128 + 299], 0);  // sample 399
    EXPECT_EQ(bytes[128 + 300], 1);  // sample 400: CH0 high

    // WAV takes the analog track only: the content choice goes back to analog
    dlg.formatBox()->setCurrentIndex(1);
    EXPECT_FALSE(dlg.digitalButton()->isEnabled());
    EXPECT_TRUE(dlg.analogButton()->isChecked());
    EXPECT_EQ(dlg.fileEdit()->text(), QString());  // chosen again for .wav
}

TEST(ExportDialog, WithoutAMarkOnlyTheWholeWaveform) {
    test::qtApp();
    auto doc = test::newDoc(10, 50);
    interchange::ExportForm form(*doc, 7, std::nullopt);
    AnsweringDialogs dialogs;
    test::ScriptedPrompter prompter;
    CExportDlg dlg(form, dialogs, prompter);
    dlg.show();
    EXPECT_FALSE(dlg.markButton()->isEnabled());
    EXPECT_EQ(dlg.rangeReadout()->text(), QStringLiteral("0 ～ 49 （50 サンプル）"));
    // every control names itself, for the keyboard and assistive technology
    for (QWidget* w : {static_cast<QWidget*>(dlg.formatBox()), static_cast<QWidget*>(dlg.analogButton()),
                       static_cast<QWidget*>(dlg.digitalButton()), static_cast<QWidget*>(dlg.wholeButton()),
                       static_cast<QWidget*>(dlg.markButton()), static_cast<QWidget*>(dlg.fileEdit()),
                       static_cast<QWidget*>(dlg.browseButton()), static_cast<QWidget*>(dlg.progressBar())})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
    // closing without a file writes nothing
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace lyr::app
