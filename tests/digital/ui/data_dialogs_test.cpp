// The serial and parallel dialogs driven offscreen from their command to
// apply, with files read through "参照・読込" and by a drop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
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

#include "digital/ui/data_commands_fixture.h"
#include "digital/ui/data_dialogs.h"
#include "support/waveform_files.h"
#include "support/documents.h"
#include "support/dialog_fields.h"
#include "support/modal.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {
namespace {

using lyr::test::child;

using lyr::test::click;
using lyr::test::fill;
using lyr::test::retype;

void screenshot(QWidget& dlg, const char* name) {
    QApplication::processEvents();  // pending layout after the last change
    lyr::test::grabIfAsked(dlg, QStringLiteral("digital_%1").arg(QString::fromLatin1(name)));
}

void putText(const std::string& path, const std::string& text) {
    lyr::test::putFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

class DataDialogs : public DataCommandsTest {
protected:
    DataDialogs() : DataCommandsTest(10, 100) {}  // T = 1 uS
};

TEST_F(DataDialogs, SerialFromTheChannelCommandToOr) {
    putText(dir.file("bits.csv"), "1,0,1\r\n1");
    doc->digital(2)[0] = 1;
    lyr::test::whenModal<CDigitalSerialDlg>(qApp, [&](CDigitalSerialDlg& d) {
        CDigitalSerialDlg* dlg = &d;
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("ディジタルデータの作成　（ シリアル ）"));
        EXPECT_EQ(dlg->channelBox()->currentText(), "CH2");
        EXPECT_TRUE(dlg->sourceButton(0)->isChecked());
        EXPECT_FALSE(dlg->browseButton()->isEnabled());
        EXPECT_TRUE(dlg->pathEdit()->isReadOnly());
        EXPECT_TRUE(dlg->progressBar()->isHidden());

        fill(*dlg, {{"bit-time", "25", 0}});
        dlg->textEdit()->setText(QString(40000, u'1'));
        EXPECT_EQ(dlg->textEdit()->text().size(), 40000);  // no length limit
        retype(dlg->textEdit(), "10 1");  // a blank: refused as create would refuse it
        EXPECT_FALSE(dlg->textMarker()->isHidden());
        EXPECT_FALSE(dlg->createButton()->isEnabled());

        QTest::mouseClick(dlg->sourceButton(1), Qt::LeftButton);
        EXPECT_TRUE(dlg->textMarker()->isHidden());
        EXPECT_FALSE(dlg->textEdit()->isEnabled());
        dlg->chooseFile = [&] { return QString::fromStdString(dir.file("bits.csv")); };
        click(*dlg, "browse");
        EXPECT_EQ(dlg->pathEdit()->text().toStdString(), dir.file("bits.csv"));
        EXPECT_TRUE(dlg->progressBar()->isHidden());
        ASSERT_TRUE(dlg->createButton()->isEnabled());
        click(*dlg, "create");
        EXPECT_EQ(prompter.asked.back().text,
                  "サンプリング時間の整数倍にするため、[インターバル時間] を調節します。\n\n25 nS　→　20 nS");
        EXPECT_EQ(child<QLineEdit>(*dlg, "edit_bit-time")->text(), "20");
        EXPECT_EQ(child<QLabel>(*dlg, "endTime")->text(), "0.08 uS");
        screenshot(*dlg, "serial");
        click(*dlg, "apply1");  // OR
    });
    commands.run(channelCommand(ChannelFamily::Serial, 2));
    EXPECT_EQ(first(), 0);
    EXPECT_EQ(end(), 8);
    EXPECT_EQ(std::vector<int>(doc->digital(2), doc->digital(2) + 9), (std::vector<int>{1, 1, 0, 0, 1, 1, 1, 1, 0}));
    EXPECT_EQ(doc->editorSettings().serial, (document::SerialSettings{20, 0, 2, 1}));
    EXPECT_EQ(doc->bitText(), "10 1");
}

TEST_F(DataDialogs, ParallelWithAMaskAndADroppedFile) {
    putText(dir.file("words.txt"), "81 C");
    lyr::test::whenModal<CDigitalParallelDlg>(qApp, [&](CDigitalParallelDlg& d) {
        CDigitalParallelDlg* dlg = &d;
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("ディジタルデータの作成　（ パラレル ）"));
        EXPECT_EQ(dlg->channelBox(), nullptr);
        EXPECT_EQ(dlg->bitOrderBox()->currentText(), QStringLiteral("BIT7：CH7－BIT0：CH0"));
        EXPECT_TRUE(dlg->channelCheck(5)->isChecked());

        fill(*dlg, {{"interval", "10", 0}});
        retype(dlg->textEdit(), "ABC");
        click(*dlg, "create");
        EXPECT_EQ(dlg->textEdit()->text(), "ABC0");
        for (int k = 0; k < 8; ++k) QTest::mouseClick(dlg->channelCheck(k), Qt::LeftButton);
        EXPECT_FALSE(child<QPushButton>(*dlg, "apply0")->isEnabled());  // no channel

        // A dropped file is read whatever the source; the file source then uses it.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("words.txt")))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dlg, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dlg, &drop);
        EXPECT_EQ(dlg->pathEdit()->text().toStdString(), dir.file("words.txt"));
        QTest::mouseClick(dlg->sourceButton(1), Qt::LeftButton);
        QTest::mouseClick(dlg->channelCheck(0), Qt::LeftButton);
        QTest::mouseClick(dlg->channelCheck(7), Qt::LeftButton);
        dlg->bitOrderBox()->setCurrentIndex(1);
        click(*dlg, "create");
        ASSERT_TRUE(child<QPushButton>(*dlg, "apply3")->isEnabled());
        screenshot(*dlg, "parallel");
        click(*dlg, "apply3");  // XOR
    });
    commands.run(CommandId::DigitalParallel);
    EXPECT_EQ(first(), 0);
    EXPECT_EQ(end(), 2);
    // 81 and C0 with bit 7 to CH0: CH0 = 1, 1; CH7 = 1, 0; CH1 (bit 6 of C0) masked out.
    EXPECT_EQ(std::vector<int>(doc->digital(0), doc->digital(0) + 3), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(std::vector<int>(doc->digital(7), doc->digital(7) + 3), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(doc->digital(1)[1], 0);
    EXPECT_EQ(doc->editorSettings().parallel, (document::ParallelSettings{10, 0, 1, 0x81, 1}));
    EXPECT_EQ(doc->wordText(), "ABC0");
}

}  // namespace
}  // namespace lyr::digital
