// Each analog dialog driven offscreen from opening to apply.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <vector>

#include "analog/ui/analog_dialogs.h"
#include "analog/ui/analog_graphs.h"
#include "document/syn_doc.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"
#include "support/qt_app.h"

namespace lyr::analog {
namespace {

using lyr::test::child;

void type(QWidget& dlg, const char* key, const QString& text) {
    QLineEdit* e = child<QLineEdit>(dlg, QStringLiteral("edit_") + QString::fromLatin1(key));
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}

void unit(QWidget& dlg, const char* key, int index) {
    child<QComboBox>(dlg, QStringLiteral("unit_") + QString::fromLatin1(key))->setCurrentIndex(index);
}

bool markerShown(QWidget& dlg, const char* key) {
    return !child<QLabel>(dlg, QStringLiteral("marker_") + QString::fromLatin1(key))->isHidden();
}

void click(QWidget& dlg, const char* name) {
    QTest::mouseClick(child<QPushButton>(dlg, QString::fromLatin1(name)), Qt::LeftButton);
}

void screenshot(QWidget& dlg, const char* name) {
    lyr::test::grabIfAsked(dlg, QStringLiteral("analog_") + QString::fromLatin1(name));
}

class AnalogDialogs : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }
    test::ScriptedPrompter prompter;
    std::vector<double> track = std::vector<double>(1048576, 0.0);
};

TEST_F(AnalogDialogs, SineFromOpeningToAdd) {
    SineForm form(prompter);
    ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));  // T = 100 us
    CSinDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("正弦波の作成"));
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_start")->text(), "0");
    EXPECT_EQ(child<QComboBox>(dlg, "unit_start")->currentText(), "uS");
    EXPECT_EQ(child<QComboBox>(dlg, "unit_period")->count(), 4);
    EXPECT_FALSE(child<QPushButton>(dlg, "create")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dlg, "apply1")->isEnabled());
    EXPECT_TRUE(markerShown(dlg, "period"));
    EXPECT_TRUE(child<QRadioButton>(dlg, "radio_delay")->isChecked());

    unit(dlg, "period", 1);
    type(dlg, "period", "10");
    unit(dlg, "sine-period", 1);
    type(dlg, "sine-period", "1");
    type(dlg, "delay", "0");
    type(dlg, "amplitude", "0.5");
    EXPECT_FALSE(markerShown(dlg, "period"));
    EXPECT_TRUE(child<QPushButton>(dlg, "create")->isEnabled());
    EXPECT_EQ(child<QLabel>(dlg, "endTime")->text(), "10 uS");
    QTest::mouseClick(child<QRadioButton>(dlg, "radio_phase"), Qt::LeftButton);
    type(dlg, "phase", "90");
    EXPECT_EQ(child<QLineEdit>(dlg, "edit_delay")->text(), "-0.25");
    EXPECT_FALSE(child<QLineEdit>(dlg, "edit_delay")->isEnabled());
    click(dlg, "create");
    EXPECT_TRUE(child<QPushButton>(dlg, "apply1")->isEnabled());
    screenshot(dlg, "sine");
    type(dlg, "amplitude", "0.4");  // stale: apply off until created again
    EXPECT_FALSE(child<QPushButton>(dlg, "apply1")->isEnabled());
    screenshot(dlg, "sine_stale");
    type(dlg, "amplitude", "0.5");
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
    ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));
    CRectangleDlg dlg(form);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("矩形波の作成"));
    unit(dlg, "t1", 0);  // fills the other empty time units
    EXPECT_EQ(child<QComboBox>(dlg, "unit_t4")->currentIndex(), 0);
    type(dlg, "t1", "0");
    type(dlg, "t2", "500");
    type(dlg, "t3", "0");
    type(dlg, "t4", "500");
    type(dlg, "v1", "1");
    EXPECT_TRUE(markerShown(dlg, "v1") == false);
    type(dlg, "v2", "1");
    EXPECT_TRUE(markerShown(dlg, "v1"));
    EXPECT_TRUE(markerShown(dlg, "v2"));
    type(dlg, "v2", "-1");
    type(dlg, "t0", "0");
    type(dlg, "repeat", "3");
    unit(dlg, "period", 0);
    type(dlg, "period", "5000");
    click(dlg, "create");
    ASSERT_TRUE(child<QPushButton>(dlg, "apply0")->isEnabled());
    screenshot(dlg, "rectangle");
    unit(dlg, "start", 0);
    type(dlg, "start", "15");
    EXPECT_TRUE(child<QPushButton>(dlg, "apply0")->isEnabled());  // a start change keeps the segment
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
        ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));
        CDcDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("直流波形の作成"));
        sketchDialogGraphX = dlg.graph()->mapTo(&dlg, QPoint(0, 0)).x();
        unit(dlg, "period", 1);
        type(dlg, "period", "1");
        type(dlg, "v0", "3");
        click(dlg, "create");
        screenshot(dlg, "dc");
        click(dlg, "apply0");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(track[99], 3.0);  // kept beyond 1 V
        EXPECT_EQ(form.previewColumns().clip[0], kClipAbove);
    }
    {
        RampForm form(prompter);
        ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));
        CRampDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ランプ波形の作成"));
        EXPECT_TRUE(markerShown(dlg, "v0"));
        unit(dlg, "period", 1);
        type(dlg, "period", "1");
        type(dlg, "v1", "-1");
        EXPECT_FALSE(markerShown(dlg, "v0"));
        click(dlg, "create");
        screenshot(dlg, "ramp");
        click(dlg, "apply1");  // add onto the 3 V
        EXPECT_EQ(track[0], 3.0);
        EXPECT_NEAR(track[50], 2.5, 1e-12);
    }
    {
        ExpForm form(prompter);
        ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));
        CExpDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("指数関数波形の作成"));
        unit(dlg, "period", 1);
        type(dlg, "period", "20");
        type(dlg, "v0", "-1");
        type(dlg, "v1", "1");
        EXPECT_TRUE(markerShown(dlg, "tau"));
        unit(dlg, "tau", 1);
        type(dlg, "tau", "2");
        click(dlg, "create");
        screenshot(dlg, "exp");
        click(dlg, "apply0");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_NEAR(track[200], 1.0 - 2.0 * std::exp(-1.0), 1e-12);
    }
    {
        NoiseForm form(prompter);
        form.setSeed(3u);
        ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));
        CNoiseDlg dlg(form);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ランダムノイズの作成"));
        // without a sketch the graph starts further right than in the other dialogs
        EXPECT_GT(dlg.graph()->mapTo(&dlg, QPoint(0, 0)).x(), sketchDialogGraphX);
        EXPECT_EQ(child<QComboBox>(dlg, "unit_amplitude")->currentText(), "mV rms");
        unit(dlg, "period", 1);
        type(dlg, "period", "100");
        type(dlg, "amplitude", "66");
        unit(dlg, "amplitude", 1);
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

TEST_F(AnalogDialogs, ThroughTheDocumentWithTheModalDialog) {
    std::string message;
    auto doc = document::CSYNDoc::create(message);
    ASSERT_TRUE(doc && doc->newWaveform(10, 1000));
    DcDialogEditor editor(nullptr, &prompter);
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CDcDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        unit(*dlg, "period", 0);
        type(*dlg, "period", "200");
        type(*dlg, "v0", "0.7");
        click(*dlg, "create");
        click(*dlg, "apply0");
    });
    auto range = doc->EditAnalogDc(5, editor);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 5);
    EXPECT_EQ(range->end, 25);
    EXPECT_EQ(doc->analog()[5], 0.7);
    EXPECT_EQ(doc->editorSettings().dc.v0, 0.7);

    // closing by the close box writes nothing
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(doc->EditAnalogDc(0, editor));
    EXPECT_EQ(doc->modificationCount(), 1);

    test::ShortMemory memory;
    editor.configure = [&](DcForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(doc->EditAnalogDc(0, editor));
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().text, "直流波形作成のためのメモリが確保できませんでした");
}

TEST_F(AnalogDialogs, AccessibleNamesAndBuddies) {
    SineForm form(prompter);
    ASSERT_TRUE(form.open(track.data(), 100000, 10, 0));
    CSinDlg dlg(form);
    for (QLineEdit* e : dlg.findChildren<QLineEdit*>()) EXPECT_FALSE(e->accessibleName().isEmpty());
    for (QComboBox* c : dlg.findChildren<QComboBox*>()) EXPECT_FALSE(c->accessibleName().isEmpty());
    for (QLabel* l : dlg.findChildren<QLabel*>())
        if (l->text() == QStringLiteral("×")) {
            EXPECT_FALSE(l->accessibleName().isEmpty());
        }
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

}  // namespace
}  // namespace lyr::analog
