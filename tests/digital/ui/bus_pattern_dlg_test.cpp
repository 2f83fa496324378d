// The bus-pattern dialog driven offscreen from its commands to apply: typed
// bytes as UART from a lane's popup, and bytes read from a file as I2C; the
// channels are read back with the test receivers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

#include "digital/bus_decoders.h"
#include "digital/ui/bus_pattern_dlg.h"
#include "digital/ui/data_commands_fixture.h"
#include "support/documents.h"
#include "support/dialog_fields.h"
#include "support/modal.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::digital {
namespace {

using lyr::test::child;

using lyr::test::click;
using lyr::test::fill;
using lyr::test::retype;

void screenshot(QWidget& dlg, const QString& name) {
    // The pending layout after the last change: the group's, then the dialog's.
    QApplication::processEvents();
    QApplication::processEvents();
    lyr::test::grabIfAsked(dlg, QStringLiteral("digital_protocol_") + name);
}

// The names of the controls Tab visits after `from`, as many as asked.
QStringList tabWalk(QWidget& dlg, QWidget* from, int count) {
    QStringList names;
    for (QWidget* w = from->nextInFocusChain(); names.size() < count && w != from; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&dlg) && w->isEnabled()) names << w->objectName();
    return names;
}

class ProtocolDialog : public DataCommandsTest {
protected:
    ProtocolDialog() : DataCommandsTest(1000, 4000) {}  // Ts = 1 uS
    // Runs the command with the dialog script.
    void run(CommandId id, const std::function<void(CDigitalProtocolDlg&)>& script) {
        lyr::test::whenModal<CDigitalProtocolDlg>(qApp, script);
        commands.run(id);
    }
    Buffer channel(int k) const { return Buffer(doc->digital(k), doc->digital(k) + doc->sampleCount()); }
};

TEST_F(ProtocolDialog, UartFromTheLanePopupWithTypedBytes) {
    run(channelCommand(ChannelFamily::Protocol, 3), [&](CDigitalProtocolDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("作成(プロトコル)"));
        EXPECT_EQ(dlg.protocolBox()->currentText(), QStringLiteral("UART"));
        EXPECT_EQ(dlg.channelBoxOf(BusProtocol::Uart, 0)->currentText(), QStringLiteral("CH3"));  // the lane's

        // Each page, the lines it drives previewed, and the form's objection.
        struct Page {
            int protocol;
            const char* page;
            int lines;
            const char* name;
        };
        for (const Page& p : {Page{1, "pageSpi", 3, "spi"}, Page{2, "pageI2c", 2, "i2c"}, Page{0, "pageUart", 1, "uart"}}) {
            dlg.protocolBox()->setCurrentIndex(p.protocol);
            EXPECT_EQ(dlg.pages()->currentWidget()->objectName(), QString::fromLatin1(p.page));
            for (int k = 0; k < 3; ++k) EXPECT_EQ(dlg.linePreview(k)->isVisibleTo(&dlg), k < p.lines) << p.page << k;
            if (p.protocol != 0) screenshot(dlg, QString::fromLatin1(p.name));
        }
        dlg.protocolBox()->setCurrentIndex(1);
        dlg.optionBox(CDigitalProtocolDlg::WordBits)->setCurrentIndex(1);
        retype(dlg.textEdit(), "48");  // half a 16-bit word
        EXPECT_FALSE(dlg.problemLabel()->text().isEmpty());
        EXPECT_FALSE(dlg.createButton()->isEnabled());
        screenshot(dlg, QStringLiteral("spi_refused"));
        dlg.protocolBox()->setCurrentIndex(0);

        fill(dlg, {{"rate", "96OO"}});
        EXPECT_FALSE(child<QLabel>(dlg, "marker_rate")->isHidden());
        EXPECT_FALSE(child<QLabel>(dlg, "marker_rate")->toolTip().isEmpty());
        fill(dlg, {{"rate", "9600"}});
        EXPECT_EQ(dlg.achievedLabel()->text(), QStringLiteral("9615.385 bps, 0.160256410 %"));
        dlg.optionBox(CDigitalProtocolDlg::Parity)->setCurrentIndex(2);  // odd
        dlg.optionBox(CDigitalProtocolDlg::DataBits)->setCurrentIndex(2);  // 7 bits
        retype(dlg.textEdit(), "486G");
        EXPECT_FALSE(dlg.textMarker()->isHidden());
        retype(dlg.textEdit(), "4869");
        EXPECT_TRUE(dlg.problemLabel()->text().isEmpty());
        ASSERT_TRUE(dlg.createButton()->isEnabled());
        click(dlg, "create");
        EXPECT_EQ(dlg.lineLabel(0)->text(), QStringLiteral("DATA\nCH3"));
        // Tab reads the UART page row by row, then goes to the bytes.
        EXPECT_EQ(tabWalk(dlg, dlg.protocolBox(), 11),
                  (QStringList{"after", "edit_rate", "line0_0", "dataBits", "parity", "stopBits", "idle", "uartOrder",
                               "edit_gap", "unit_gap", "sourceDirect"}));
        // The layout under the previews, idle lines and what follows included.
        EXPECT_EQ(dlg.layoutLabel()->text(), QStringLiteral("アイドル1ビット、フレーム、アイドル1ビット、以降アイドル"));
        EXPECT_EQ(dlg.optionBox(CDigitalProtocolDlg::After)->accessibleName(), QStringLiteral("パターン後"));
        screenshot(dlg, QStringLiteral("uart"));
        click(dlg, "apply0");
    });
    EXPECT_EQ(first(), 0);
    EXPECT_EQ(end(), 4000);  // the idle line to the end of the waveform
    const auto d = decodeUart(channel(3), 4000, 104, 7, Parity::Odd, 1, 1, true);
    EXPECT_EQ(d.errors, 0);
    EXPECT_EQ(d.bytes, (Buffer{0x48, 0x69}));
    const auto& s = doc->protocolSettings();
    EXPECT_EQ(s.channels[0], 3);
    EXPECT_EQ(s.hex, "4869");
}

TEST_F(ProtocolDialog, I2cWithBytesReadFromAFile) {
    lyr::test::putFileBytes(dir.file("bytes.txt"), {'4', '8', ',', '6', '9', '\n'});
    run(CommandId::DigitalProtocol, [&](CDigitalProtocolDlg& dlg) {
        dlg.protocolBox()->setCurrentIndex(2);
        dlg.channelBoxOf(BusProtocol::I2c, 0)->setCurrentIndex(4);
        dlg.channelBoxOf(BusProtocol::I2c, 1)->setCurrentIndex(6);
        fill(dlg, {{"rate", "10000"}});  // 100 samples a bit
        QTest::mouseClick(dlg.sourceButton(1), Qt::LeftButton);
        EXPECT_FALSE(dlg.textEdit()->isEnabled());
        EXPECT_FALSE(dlg.createButton()->isEnabled());  // no bytes yet

        // A file that does not read is told and changes nothing.
        dlg.chooseFile = [&] { return QString::fromStdString(dir.file("missing.txt")); };
        click(dlg, "browse");
        ASSERT_EQ(prompter.asked.size(), 1u);
        EXPECT_TRUE(dlg.pathEdit()->text().isEmpty());
        EXPECT_FALSE(dlg.createButton()->isEnabled());

        dlg.chooseFile = [&] { return QString::fromStdString(dir.file("bytes.txt")); };
        click(dlg, "browse");
        EXPECT_EQ(dlg.pathEdit()->text().toStdString(), dir.file("bytes.txt"));
        EXPECT_TRUE(dlg.progressBar()->isHidden());
        ASSERT_TRUE(dlg.createButton()->isEnabled());
        click(dlg, "create");
        click(dlg, "apply1");  // OR onto low channels
    });
    ASSERT_EQ(first(), 0);
    const auto d = decodeI2c(channel(4), channel(6), static_cast<std::size_t>(end()));
    EXPECT_EQ(d.conditions, "SP");
    EXPECT_EQ(d.bytes, (Buffer{0xA0, 0x48, 0x69}));  // address 0x50, write
    EXPECT_EQ(d.acks, "000");
    EXPECT_EQ(d.errors, 0);
}

}  // namespace
}  // namespace lyr::digital
