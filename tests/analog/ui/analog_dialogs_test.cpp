// Each generator dialog driven offscreen from opening to apply, and the
// analog commands as the frame runs them: the modal dialog at the cursor,
// the edited range reported, nothing reported when cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <vector>

#include "analog/ui/analog_commands.h"
#include "analog/ui/analog_dialogs.h"
#include "analog/ui/analog_graphs.h"
#include "support/dialog_fields.h"
#include "support/documents.h"
#include "support/modal.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"

namespace lyr::analog {
namespace {

using lyr::test::child;
using lyr::test::chooseUnit;
using lyr::test::markerShown;
using lyr::test::typeInto;

void click(QWidget& dlg, const char* name) { lyr::test::clickButton(dlg, QString::fromLatin1(name)); }

bool enabled(QWidget& dlg, const char* button) { return child<QPushButton>(dlg, QString::fromLatin1(button))->isEnabled(); }

void screenshot(QWidget& dlg, const char* name) {
    lyr::test::grabIfAsked(dlg, QStringLiteral("analog_") + QString::fromLatin1(name));
}

class AnalogDialogs : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }
    template <class F>
    void open(F& form) {
        ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));  // T = 100 us
    }
    test::ScriptedPrompter prompter;
    std::vector<double> track = std::vector<double>(1048576, 0.0);
};

TEST_F(AnalogDialogs, SineFromOpeningToAdd) {
    SineForm form(prompter);
    open(form);
    CSinDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("正弦波の作成"));
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_start")->text(), "0");
    EXPECT_EQ(child<QComboBox>(dlg, "unit_start")->currentText(), "uS");
    EXPECT_EQ(child<QComboBox>(dlg, "unit_period")->count(), 4);
    EXPECT_FALSE(enabled(dlg, "create"));
    EXPECT_FALSE(enabled(dlg, "apply1"));
    EXPECT_TRUE(markerShown(dlg, "period"));
    EXPECT_TRUE(child<QRadioButton>(dlg, "radio_delay")->isChecked());

    chooseUnit(dlg, "period", 1);
    typeInto(dlg, "period", "10");
    chooseUnit(dlg, "sine-period", 1);
    typeInto(dlg, "sine-period", "1");
    typeInto(dlg, "delay", "0");
    typeInto(dlg, "amplitude", "0.5");
    EXPECT_FALSE(markerShown(dlg, "period"));
    EXPECT_TRUE(enabled(dlg, "create"));
    EXPECT_EQ(child<QLabel>(dlg, "endTime")->text(), "10 uS");
    QTest::mouseClick(child<QRadioButton>(dlg, "radio_phase"), Qt::LeftButton);
    typeInto(dlg, "phase", "90");
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_delay")->text(), "-0.25");
    EXPECT_FALSE(child<QLineEdit>(dlg, "edit_delay")->isEnabled());
    click(dlg, "create");
    EXPECT_TRUE(enabled(dlg, "apply1"));
    screenshot(dlg, "sine");
    typeInto(dlg, "amplitude", "0.4");  // stale: apply off until created again
    EXPECT_FALSE(enabled(dlg, "apply1"));
    screenshot(dlg, "sine_stale");
    typeInto(dlg, "amplitude", "0.5");
    click(dlg, "create");
    click(dlg, "apply1");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_NEAR(track[0], 0.5, 1e-12);
    EXPECT_NEAR(track[50], -0.5, 1e-12);
    EXPECT_EQ(track[1000], 0.0);
    EXPECT_EQ(form.settings().phaseMode, 1);
}

TEST_F(AnalogDialogs, RectangleWithAStartOffTheGrid) {
    RectangleForm form(prompter);
    open(form);
    CRectangleDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("矩形波の作成"));
    chooseUnit(dlg, "t1", 0);  // fills the other empty time units
    EXPECT_EQ(child<QComboBox>(dlg, "unit_t4")->currentIndex(), 0);
    const std::pair<const char*, const char*> fields[] = {{"t1", "0"}, {"t2", "500"}, {"t3", "0"}, {"t4", "500"},
                                                          {"v1", "1"},  {"v2", "-1"},  {"t0", "0"}, {"repeat", "3"}};
    for (const auto& [key, text] : fields) typeInto(dlg, key, text);
    chooseUnit(dlg, "period", 0);
    typeInto(dlg, "period", "5000");
    click(dlg, "create");
    ASSERT_TRUE(enabled(dlg, "apply0"));
    screenshot(dlg, "rectangle");
    chooseUnit(dlg, "start", 0);
    typeInto(dlg, "start", "15");
    EXPECT_TRUE(enabled(dlg, "apply0"));  // a start change keeps the segment
    prompter.script({PromptAnswer::Cancel, PromptAnswer::Ok});
    click(dlg, "apply0");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(track[1], 0.0);
    click(dlg, "apply0");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(track[0], 0.0);
    EXPECT_EQ(track[1], 1.0);
    EXPECT_EQ(track[51], -1.0);
    EXPECT_EQ(track[301], 0.0);  // three cycles, then the segment's zeros
}

TEST_F(AnalogDialogs, DcRampExpAndNoise) {
    int sketchDialogGraphX = 0;
    {
        DcForm form(prompter);
        open(form);
        CDcDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("直流波形の作成"));
        sketchDialogGraphX = dlg.graph()->mapTo(&dlg, QPoint(0, 0)).x();
        chooseUnit(dlg, "period", 1);
        typeInto(dlg, "period", "1");
        typeInto(dlg, "v0", "3");
        click(dlg, "create");
        screenshot(dlg, "dc");
        click(dlg, "apply0");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(track[99], 3.0);  // kept beyond 1 V
        EXPECT_EQ(form.previewColumns().clip[0], kClipAbove);
    }
    {
        RampForm form(prompter);
        open(form);
        CRampDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ランプ波形の作成"));
        EXPECT_TRUE(markerShown(dlg, "v0"));
        chooseUnit(dlg, "period", 1);
        typeInto(dlg, "period", "1");
        typeInto(dlg, "v1", "-1");
        EXPECT_FALSE(markerShown(dlg, "v0"));
        click(dlg, "create");
        screenshot(dlg, "ramp");
        click(dlg, "apply1");  // add onto the 3 V
        EXPECT_EQ(track[0], 3.0);
        EXPECT_NEAR(track[50], 2.5, 1e-12);
    }
    {
        ExpForm form(prompter);
        open(form);
        CExpDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("指数関数波形の作成"));
        chooseUnit(dlg, "period", 1);
        typeInto(dlg, "period", "20");
        typeInto(dlg, "v0", "-1");
        typeInto(dlg, "v1", "1");
        chooseUnit(dlg, "tau", 1);
        typeInto(dlg, "tau", "2");
        click(dlg, "create");
        screenshot(dlg, "exp");
        click(dlg, "apply0");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_NEAR(track[200], 1.0 - 2.0 * std::exp(-1.0), 1e-12);
    }
    {
        NoiseForm form(prompter);
        form.setSeed(3u);
        open(form);
        CNoiseDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ランダムノイズの作成"));
        // without a sketch the graph starts further right than in the other dialogs
        EXPECT_GT(dlg.graph()->mapTo(&dlg, QPoint(0, 0)).x(), sketchDialogGraphX);
        EXPECT_EQ(child<QComboBox>(dlg, "unit_amplitude")->currentText(), "mV rms");
        chooseUnit(dlg, "period", 1);
        typeInto(dlg, "period", "100");
        typeInto(dlg, "amplitude", "66");
        chooseUnit(dlg, "amplitude", 1);
        EXPECT_EQ(child<QLineEdit>(dlg, "edit_converted")->text(), "10.000");
        EXPECT_EQ(child<QLineEdit>(dlg, "readoutUnit_converted")->text(), "mV rms");
        click(dlg, "create");
        screenshot(dlg, "noise");
        const std::vector<double> before(track.begin(), track.begin() + 10000);
        click(dlg, "apply3");  // multiply
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_NE(std::vector<double>(track.begin(), track.begin() + 10000), before);
        EXPECT_DOUBLE_EQ(form.settings().sigma, 0.01);
    }
}

// Every control's name is read by the accessibility walk of the frame; here the
// marker's own words, the keyboard order and which labels are buddies.
TEST_F(AnalogDialogs, MarkerNameTabOrderAndBuddies) {
    SineForm form(prompter);
    open(form);
    CSinDlg dlg(form);
    EXPECT_EQ(child<QLabel>(dlg, "marker_amplitude")->accessibleName(), QStringLiteral("振幅の入力が正しくありません"));
    auto nextTabStop = [](QWidget* w) {
        QWidget* n = w->nextInFocusChain();
        while (n != w && !(n->focusPolicy() & Qt::TabFocus)) n = n->nextInFocusChain();
        return n;
    };
    EXPECT_EQ(nextTabStop(child<QComboBox>(dlg, "unit_start")), child<QPushButton>(dlg, "apply0"));
    EXPECT_EQ(nextTabStop(child<QPushButton>(dlg, "apply3")), child<QLineEdit>(dlg, "edit_period"));
    EXPECT_EQ(child<QLabel>(dlg, "marker_period")->buddy(), nullptr);  // markers are readouts, not labels
    int buddies = 0;
    for (QLabel* l : dlg.findChildren<QLabel*>())
        if (qobject_cast<QLineEdit*>(l->buddy())) ++buddies;
    EXPECT_EQ(buddies, 6);  // start, period, sine period, amplitude, offset, repeat (the radios name theirs)
}

// Types a DC edit into the open dialog and applies it, or closes it by its close box.
void driveDc(const char* period, const char* level, bool apply = true) {
    lyr::test::whenModal<CDcDlg>(qApp, [=](CDcDlg& dlg) {
        chooseUnit(dlg, "period", 0);
        typeInto(dlg, "period", period);
        typeInto(dlg, "v0", level);
        click(dlg, "create");
        if (apply)
            click(dlg, "apply0");
        else
            dlg.close();
    });
}

TEST_F(AnalogDialogs, CommandsEditAtTheCursorAndReportTheRange) {
    auto doc = lyr::test::newDoc(10, 1000);
    std::uint32_t cursor = 100;
    ui::CommandEnv env{doc.get(), nullptr, &prompter, [&cursor] { return cursor; }};
    AnalogCommands commands(env);
    EXPECT_EQ(commands.commandIds(), (std::vector<int>{32773, 32782, 32783, 32784, 32785, 32786, 32787, 32793}));
    QSignalSpy edited(&commands, &ui::CommandSet::edited);

    driveDc("500", "0.5");
    commands.run(AnalogCommands::kDc);
    EXPECT_EQ(std::vector<double>(doc->analog() + 99, doc->analog() + 151),
              [] { std::vector<double> v(52, 0.5); v.front() = v.back() = 0.0; return v; }());
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0][0].toLongLong(), 100);
    EXPECT_EQ(edited[0][1].toLongLong(), 150);
    EXPECT_TRUE(doc->undoAvailable());
    EXPECT_EQ(doc->editorSettings().dc.v0, 0.5);

    // Closed by its close box: nothing changed or reported.
    cursor = 500;
    driveDc("500", "0.25", false);
    commands.run(AnalogCommands::kDc);
    EXPECT_EQ(doc->analog()[500], 0.0);
    EXPECT_EQ(edited.size(), 1);
    EXPECT_EQ(doc->modificationCount(), 1);
    EXPECT_TRUE(prompter.asked.empty());

    // "波形修正(&M)": 100 ns copied from the DC level at 1 us, written at the cursor.
    cursor = 300;
    lyr::test::whenModal<CManualDlg>(qApp, [](CManualDlg& dlg) {
        typeInto(dlg, "copy-start", "1");
        chooseUnit(dlg, "copy-period", 0);
        typeInto(dlg, "copy-period", "100");
        click(dlg, "create");
        click(dlg, "apply0");
    });
    commands.run(AnalogCommands::kManual);
    ASSERT_EQ(edited.size(), 2);
    EXPECT_EQ(edited[1][0].toLongLong(), 300);
    EXPECT_EQ(edited[1][1].toLongLong(), 310);
    EXPECT_EQ(doc->analog()[300], 0.5);
    EXPECT_EQ(doc->analog()[310], 0.0);
    EXPECT_EQ(doc->editorSettings().manual.copyPeriod, 100);

    // The dialog editor hands its allocator to the form: short of memory, the message.
    DcDialogEditor editor(nullptr, &prompter);
    test::ShortMemory memory;
    editor.configure = [&](DcForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(doc->EditAnalogDc(0, editor));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "直流波形作成のためのメモリが確保できませんでした");
}

}  // namespace
}  // namespace lyr::analog
