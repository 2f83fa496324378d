// Each digital dialog driven offscreen from opening to apply, and the
// digital command set run by identifier.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <vector>

#include "../channels.h"
#include "digital/ui/digital_commands.h"
#include "digital/ui/digital_dialogs.h"
#include "support/document_observer.h"
#include "support/documents.h"
#include "support/dialog_fields.h"
#include "support/modal.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {
namespace {

using lyr::test::child;

using lyr::test::click;
using lyr::test::fill;
using lyr::test::markerShown;

// Saved only when LYR_GRAB names a folder.
void screenshot(QWidget& dlg, const char* name) {
    QApplication::processEvents();  // pending layout after the last change
    lyr::test::grabIfAsked(dlg, QStringLiteral("digital_%1").arg(QString::fromLatin1(name)));
}

class DigitalDialogs : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }
    lyr::test::ScriptedPrompter prompter;
    test::Channels channels;
};

TEST_F(DigitalDialogs, ClockFromOpeningToXor) {
    ClockForm form(prompter);
    document::EditRequest<document::ClockSettings> r;
    r.channel = 4;
    form.load(r);
    ASSERT_TRUE(form.open(channels.refs(), 1000, 10, 0));  // T = 1 uS
    CDigitalDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ディジタルデータの作成　（ クロック ）"));
    EXPECT_EQ(child<QComboBox>(dlg, "unit_start")->currentText(), "uS");
    EXPECT_EQ(child<QComboBox>(dlg, "channel")->currentText(), "CH4");
    EXPECT_EQ(child<QComboBox>(dlg, "level1")->currentText(), "1");
    EXPECT_EQ(child<QComboBox>(dlg, "level2")->currentText(), "0");
    EXPECT_TRUE(markerShown(dlg, "t1"));
    EXPECT_FALSE(child<QPushButton>(dlg, "create")->isEnabled());
    EXPECT_EQ(child<QPushButton>(dlg, "apply3")->text(), "XOR");

    fill(dlg, {{"t1", "20", 0}});
    EXPECT_EQ(child<QComboBox>(dlg, "unit_t2")->currentText(), "nS");  // coupled
    fill(dlg, {{"t2", "30"}, {"repeat", "3"}});
    child<QComboBox>(dlg, "level2")->setCurrentIndex(1);
    EXPECT_EQ(child<QComboBox>(dlg, "level1")->currentText(), "0");
    EXPECT_FALSE(markerShown(dlg, "t1"));
    EXPECT_EQ(child<QLabel>(dlg, "endTime")->text(), "0.15 uS");
    click(dlg, "create");
    EXPECT_TRUE(child<QPushButton>(dlg, "apply3")->isEnabled());
    screenshot(dlg, "clock");
    fill(dlg, {{"repeat", "2"}});  // stale until created again
    EXPECT_FALSE(child<QPushButton>(dlg, "apply3")->isEnabled());
    screenshot(dlg, "clock_stale");
    click(dlg, "create");
    child<QComboBox>(dlg, "channel")->setCurrentIndex(1);
    channels.set(1, {1, 1, 1, 1});
    click(dlg, "apply3");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(channels.first(1, 6), (std::vector<int>{1, 1, 0, 0, 1, 0}));  // 1111 XOR 0011100111
}

TEST_F(DigitalDialogs, ShiftFromOpeningToOk) {
    std::vector<std::uint8_t> target{0, 0, 1, 1, 0};
    ShiftForm form(prompter);
    ASSERT_TRUE(form.open(target.data(), 10, 0, 50, 2));
    CDigitalShiftDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ディジタルシフト － CH 2"));
    EXPECT_FALSE(dlg.okButton()->isEnabled());
    EXPECT_FALSE(dlg.executeButton()->isEnabled());
    dlg.unitBox()->setCurrentIndex(0);
    fill(dlg, {{"shift", "-25"}});
    QTest::mouseClick(dlg.methodButton(1), Qt::LeftButton);
    EXPECT_TRUE(dlg.executeButton()->isEnabled());
    EXPECT_FALSE(markerShown(dlg, "shift"));
    click(dlg, "execute");
    EXPECT_EQ(dlg.shiftEdit()->text(), "-20");
    EXPECT_NE(prompter.asked.at(0).text.find("[シフト時間]"), std::string::npos);
    screenshot(dlg, "shift");
    EXPECT_EQ(target[0], 0);  // not before OK
    click(dlg, "ok");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(std::vector<int>(target.begin(), target.end()), (std::vector<int>{1, 1, 0, 1, 1}));
}

TEST_F(DigitalDialogs, SwapFromOpeningToOk) {
    auto doc = lyr::test::newDoc(10, 3);
    doc->digital(3)[0] = 1;
    doc->editorSettings().swap.swapA = 3;
    doc->editorSettings().swap.swapB = 3;
    lyr::test::whenModal<CDigitalSwapDlg>(qApp, [](CDigitalSwapDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ディジタルデータスワップ"));
        // The caption is not cut: the window is wider than it with room for the title bar.
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GT(dlg.width(), QFontMetrics(bold).horizontalAdvance(dlg.windowTitle()) + 100);
        EXPECT_EQ(dlg.boxB()->currentText(), "CH4");  // never the same as the first
        dlg.boxB()->setCurrentIndex(3);
        EXPECT_EQ(dlg.boxA()->currentText(), "CH4");
        dlg.boxA()->setCurrentIndex(7);
        screenshot(dlg, "swap");
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    });
    SwapDialogEditor editor(nullptr, &prompter);
    ASSERT_TRUE(doc->EditDigitalSwap(editor).has_value());
    EXPECT_EQ(doc->digital(7)[0], 1);
    EXPECT_EQ(doc->digital(3)[0], 0);
    EXPECT_EQ(doc->editorSettings().swap.swapA, 7);
}

TEST_F(DigitalDialogs, ModifyCopyFreehandStrokeAndApply) {
    ModifyForm form(prompter);
    document::EditRequest<ModifyForm::Settings> r;
    r.settings.modify.copyPeriod = 2000;
    r.settings.modify.copyPeriodUnit = 0;
    r.settings.modify.editChannel = 5;
    r.settings.modify.copyChannel = 2;
    form.load(r);
    ASSERT_TRUE(form.open(channels.refs(), 10000, 10, 0));  // T = 10 uS, 1000 samples
    CDigitalModifyDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ディジタルデータの修正"));
    EXPECT_EQ(child<QComboBox>(dlg, "copyChannel")->currentText(), "CH2");
    EXPECT_EQ(child<QComboBox>(dlg, "channel")->currentText(), "CH5");
    EXPECT_FALSE(dlg.invertButton()->isEnabled());
    EXPECT_EQ(child<QLabel>(dlg, "CopyEndTime")->text(), "2 uS");
    click(dlg, "copy");
    EXPECT_EQ(dlg.copyButton()->text(), "再コピー");
    EXPECT_FALSE(child<QLineEdit>(dlg, "edit_copy-start")->isEnabled());
    EXPECT_TRUE(dlg.invertButton()->isEnabled());

    // A stroke across the upper half of the band with the mouse.
    LevelPreview* p = dlg.preview();
    const QRect band = p->band();
    const int y = band.top() + band.height() / 4;
    const int x0 = band.left() + band.width() / 4, x1 = band.left() + band.width() / 2;
    QTest::mousePress(p, Qt::LeftButton, {}, QPoint(x0, y));
    for (int x = x0; x <= x1; x += 10) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), p->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(p, &move);
    }
    QTest::mouseRelease(p, Qt::LeftButton, {}, QPoint(x1, y));
    const std::size_t n = form.segmentSamples();
    const std::uint8_t* edited = form.segment(ModifyForm::kEdited);
    EXPECT_EQ(edited[n * 3 / 8], 1);
    EXPECT_EQ(edited[n * 3 / 4], 0);
    screenshot(dlg, "modify");

    click(dlg, "apply0");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(channels.data[5][n * 3 / 8], 1);
    EXPECT_EQ(channels.data[5][0], 0);
}

// A press up to 16 pixels around the band (17 to the right) starts a
// stroke, also where it lands beside the preview's own widget.
TEST_F(DigitalDialogs, ModifyStrokeStartsInTheWholeMargin) {
    ModifyForm form(prompter);
    document::EditRequest<ModifyForm::Settings> r;
    r.settings.modify.copyPeriod = 2000;
    r.settings.modify.copyPeriodUnit = 0;
    form.load(r);
    ASSERT_TRUE(form.open(channels.refs(), 10000, 10, 0));
    CDigitalModifyDlg dlg(form);
    dlg.show();
    click(dlg, "copy");
    LevelPreview* p = dlg.preview();
    const QRect band = p->band();
    const QPoint mid = band.center();
    struct Case {
        const char* side;
        int x, y;  // preview coordinates
        bool starts;
    };
    const Case cases[] = {
        {"left", band.left() - 16, mid.y(), true},     {"left", band.left() - 17, mid.y(), false},
        {"top", mid.x(), band.top() - 16, true},       {"top", mid.x(), band.top() - 17, false},
        {"bottom", mid.x(), band.bottom() + 16, true}, {"bottom", mid.x(), band.bottom() + 17, false},
        {"right", band.right() + 17, mid.y(), true},   {"right", band.right() + 18, mid.y(), false},
    };
    for (const Case& c : cases) {
        const QPoint at = p->mapTo(&dlg, QPoint(c.x, c.y));
        lyr::test::mouseAt(dlg, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(form.drawing(), c.starts) << c.side << " " << c.x << "," << c.y;
        lyr::test::mouseAt(dlg, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        EXPECT_FALSE(form.drawing()) << c.side;
    }
}

TEST_F(DigitalDialogs, CommandSetRunsByIdentifier) {
    auto doc = lyr::test::newDoc(10, 4);
    doc->digital(1)[2] = 1;
    ui::CommandEnv env;
    env.doc = doc.get();
    env.prompter = &prompter;
    DigitalCommands commands(env);
    lyr::test::RecordingObserver announced(*doc);
    const int& whole = announced.channels;
    const auto ids = commands.commandIds();
    EXPECT_EQ(ids.size(), 3u + 7 * 8);
    EXPECT_FALSE(commands.available(channelCommand(ChannelFamily::Paste, 6)));
    commands.run(channelCommand(ChannelFamily::Copy, 1));
    EXPECT_EQ(whole, 0);  // copy is not an edit
    EXPECT_EQ(announced.clipboards, 1);
    EXPECT_EQ(doc->modificationCount(), 0);
    EXPECT_TRUE(commands.available(channelCommand(ChannelFamily::Paste, 6)));
    commands.run(channelCommand(ChannelFamily::Paste, 6));
    EXPECT_EQ(doc->digital(6)[2], 1);
    commands.run(channelCommand(ChannelFamily::Invert, 6));
    EXPECT_EQ(doc->digital(6)[0], 1);
    commands.run(channelCommand(ChannelFamily::Clear, 1));
    EXPECT_EQ(doc->digital(1)[2], 0);
    EXPECT_EQ(whole, 3);

    // A dialog command: the clock on CH3 through its dialog, announced as a range.
    lyr::test::whenModal<CDigitalDlg>(qApp, [](CDigitalDlg& dlg) {
        EXPECT_EQ(dlg.channelBox()->currentText(), "CH3");
        fill(dlg, {{"t1", "10", 0}, {"t2", "10"}});
        click(dlg, "create");
        click(dlg, "apply0");
    });
    commands.run(channelCommand(ChannelFamily::Clock, 3));
    EXPECT_EQ(announced.ranges, (std::vector<document::EditRange>{{0, 2}}));
    EXPECT_EQ(whole, 3);
    EXPECT_EQ(doc->digital(3)[0], 1);
    EXPECT_EQ(doc->digital(3)[1], 0);
}

}  // namespace
}  // namespace lyr::digital
