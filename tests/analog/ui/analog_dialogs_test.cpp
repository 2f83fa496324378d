// Each generator dialog driven offscreen from opening to apply, and the
// analog commands as the frame runs them: the modal dialog at the cursor,
// the edited range reported, nothing reported when cancelled. The values
// written are the forms' (frame_test, generators_test).
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
#include "support/document_observer.h"
#include "support/dialog_fields.h"
#include "support/documents.h"
#include "support/modal.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"

namespace lyr::analog {
namespace {

using lyr::test::child;
using lyr::test::chooseUnit;
using lyr::test::click;
using lyr::test::fill;
using lyr::test::markerShown;
using lyr::test::typeInto;

bool enabled(QWidget& dlg, const char* button) { return child<QPushButton>(dlg, QString::fromLatin1(button))->isEnabled(); }

void screenshot(QWidget& dlg, const char* name) {
    lyr::test::grabIfAsked(dlg, QStringLiteral("analog_") + QString::fromLatin1(name));
}

class AnalogDialogs : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }
    // The dialog over a form opened on T = 100 us at 10 ns, shown.
    template <class F, class D>
    struct Open {
        explicit Open(AnalogDialogs& t) : form(t.prompter), opened(form.open(t.track.data(), 100000, 10, 0)), dlg(form) {
            EXPECT_TRUE(opened);
            dlg.show();
        }
        F form;
        bool opened;
        D dlg;
    };
    test::ScriptedPrompter prompter;
    std::vector<double> track = std::vector<double>(1048576, 0.0);
};

TEST_F(AnalogDialogs, SineFromOpeningToAdd) {
    Open<SineForm, CSinDlg> x(*this);
    CSinDlg& dlg = x.dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("正弦波の作成"));
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_start")->text(), "0");
    EXPECT_EQ(child<QComboBox>(dlg, "unit_start")->currentText(), "uS");
    EXPECT_EQ(child<QComboBox>(dlg, "unit_period")->count(), 4);
    EXPECT_FALSE(enabled(dlg, "create"));
    EXPECT_FALSE(enabled(dlg, "apply1"));
    EXPECT_TRUE(markerShown(dlg, "period"));
    EXPECT_TRUE(child<QRadioButton>(dlg, "radio_delay")->isChecked());

    fill(dlg, {{"period", "10", 1}, {"sine-period", "1", 1}, {"delay", "0"}, {"amplitude", "0.5"}});
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
    EXPECT_EQ(track[1000], 0.0);
    EXPECT_EQ(x.form.settings().phaseMode, 1);
}

TEST_F(AnalogDialogs, RectangleWithAStartOffTheGrid) {
    Open<RectangleForm, CRectangleDlg> x(*this);
    CRectangleDlg& dlg = x.dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("矩形波の作成"));
    chooseUnit(dlg, "t1", 0);  // fills the other empty time units
    EXPECT_EQ(child<QComboBox>(dlg, "unit_t4")->currentIndex(), 0);
    fill(dlg, {{"t1", "0"}, {"t2", "500"}, {"t3", "0"}, {"t4", "500"}, {"v1", "1"}, {"v2", "-1"}, {"t0", "0"},
               {"repeat", "3"}, {"period", "5000", 0}});
    click(dlg, "create");
    ASSERT_TRUE(enabled(dlg, "apply0"));
    screenshot(dlg, "rectangle");
    fill(dlg, {{"start", "15", 0}});
    EXPECT_TRUE(enabled(dlg, "apply0"));  // a start change keeps the segment
    prompter.script({PromptAnswer::Cancel, PromptAnswer::Ok});
    click(dlg, "apply0");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(track[1], 0.0);
    click(dlg, "apply0");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(track[0], 0.0);
    EXPECT_EQ(track[1], 1.0);
    EXPECT_EQ(track[301], 0.0);  // three cycles, then the segment's zeros
}

TEST_F(AnalogDialogs, DcRampExpAndNoise) {
    int sketchDialogGraphX = 0;
    {
        Open<DcForm, CDcDlg> x(*this);
        EXPECT_EQ(x.dlg.windowTitle(), QStringLiteral("直流波形の作成"));
        sketchDialogGraphX = x.dlg.graph()->mapTo(&x.dlg, QPoint(0, 0)).x();
        fill(x.dlg, {{"period", "1", 1}, {"v0", "3"}});
        click(x.dlg, "create");
        screenshot(x.dlg, "dc");
        click(x.dlg, "apply0");
        EXPECT_EQ(x.dlg.result(), QDialog::Accepted);
        EXPECT_EQ(track[99], 3.0);  // kept beyond 1 V
        EXPECT_EQ(x.form.previewColumns().clip[0], kClipAbove);
    }
    {
        Open<RampForm, CRampDlg> x(*this);
        EXPECT_EQ(x.dlg.windowTitle(), QStringLiteral("ランプ波形の作成"));
        EXPECT_TRUE(markerShown(x.dlg, "v0"));
        fill(x.dlg, {{"period", "1", 1}, {"v1", "-1"}});
        EXPECT_FALSE(markerShown(x.dlg, "v0"));
        click(x.dlg, "create");
        screenshot(x.dlg, "ramp");
        click(x.dlg, "apply1");  // add onto the 3 V
        EXPECT_NEAR(track[50], 2.5, 1e-12);
    }
    {
        Open<ExpForm, CExpDlg> x(*this);
        EXPECT_EQ(x.dlg.windowTitle(), QStringLiteral("指数関数波形の作成"));
        fill(x.dlg, {{"period", "20", 1}, {"v0", "-1"}, {"v1", "1"}, {"tau", "2", 1}});
        click(x.dlg, "create");
        screenshot(x.dlg, "exp");
        click(x.dlg, "apply0");
        EXPECT_NEAR(track[200], 1.0 - 2.0 * std::exp(-1.0), 1e-12);
    }
    {
        Open<NoiseForm, CNoiseDlg> x(*this);
        CNoiseDlg& dlg = x.dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ランダムノイズの作成"));
        // without a sketch the graph starts further right than in the other dialogs
        EXPECT_GT(dlg.graph()->mapTo(&dlg, QPoint(0, 0)).x(), sketchDialogGraphX);
        EXPECT_EQ(child<QComboBox>(dlg, "unit_amplitude")->currentText(), "mV rms");
        fill(dlg, {{"period", "100", 1}, {"amplitude", "66"}});
        chooseUnit(dlg, "amplitude", 1);
        EXPECT_EQ(child<QLineEdit>(dlg, "edit_converted")->text(), "10.000");
        EXPECT_EQ(child<QLineEdit>(dlg, "readoutUnit_converted")->text(), "mV rms");
        click(dlg, "create");
        screenshot(dlg, "noise");
        const std::vector<double> before(track.begin(), track.begin() + 10000);
        click(dlg, "apply3");  // multiply
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_NE(std::vector<double>(track.begin(), track.begin() + 10000), before);
        EXPECT_DOUBLE_EQ(x.form.settings().sigma, 0.01);
    }
}

// Every control's name is read by the accessibility walk of the frame; here the
// marker's own words, the keyboard order and which labels are buddies.
TEST_F(AnalogDialogs, MarkerNameTabOrderAndBuddies) {
    Open<SineForm, CSinDlg> x(*this);
    CSinDlg& dlg = x.dlg;
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

// The command runs its dialog at the cursor and reports the range written;
// what the document stores is DocumentEdit's.
TEST_F(AnalogDialogs, CommandsEditAtTheCursorAndReportTheRange) {
    auto doc = lyr::test::newDoc(10, 1000);
    std::uint32_t cursor = 100;
    ui::CommandEnv env{doc.get(), nullptr, &prompter, [&cursor] { return cursor; }};
    AnalogCommands commands(env);
    EXPECT_EQ(commands.commandIds(), (std::vector<CommandId>{CommandId::Sine, CommandId::Rectangle, CommandId::Dc, CommandId::Ramp, CommandId::Exp,
                                                             CommandId::Noise, CommandId::Manual, CommandId::External}));
    lyr::test::RecordingObserver announced(*doc);
    const std::vector<document::EditRange>& edited = announced.ranges;
    // A DC edit typed into the open dialog and applied, or closed by its close box.
    auto driveDc = [](const char* level, bool apply) {
        lyr::test::whenModal<CDcDlg>(qApp, [=](CDcDlg& dlg) {
            fill(dlg, {{"period", "500", 0}, {"v0", level}});
            click(dlg, "create");
            if (apply)
                click(dlg, "apply0");
            else
                dlg.close();
        });
    };

    driveDc("0.5", true);
    commands.run(CommandId::Dc);
    EXPECT_EQ(doc->analog()[99], 0.0);
    EXPECT_EQ(doc->analog()[100], 0.5);
    ASSERT_EQ(edited.size(), 1u);
    EXPECT_EQ(edited[0], (document::EditRange{100, 150}));

    cursor = 500;
    driveDc("0.25", false);
    commands.run(CommandId::Dc);
    EXPECT_EQ(doc->analog()[500], 0.0);
    EXPECT_EQ(edited.size(), 1u);
    EXPECT_EQ(doc->modificationCount(), 1);
    EXPECT_TRUE(prompter.asked.empty());

    // "波形修正(&M)": 100 ns copied from the DC level at 1 us, written at the cursor.
    cursor = 300;
    lyr::test::whenModal<CManualDlg>(qApp, [](CManualDlg& dlg) {
        fill(dlg, {{"copy-start", "1"}, {"copy-period", "100", 0}});
        click(dlg, "create");
        click(dlg, "apply0");
    });
    commands.run(CommandId::Manual);
    ASSERT_EQ(edited.size(), 2u);
    EXPECT_EQ(edited[1], (document::EditRange{300, 310}));
    EXPECT_EQ(doc->analog()[300], 0.5);

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
