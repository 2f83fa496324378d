// The equation editor through its form and the document's editor contract.
#include <gtest/gtest.h>

#include <cmath>

#include "analog/equation_form.h"
#include "forms/form_editor.h"
#include "document/syn_doc.h"
#include "support/analog_forms.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::analog {
namespace {

using test::ScriptedPrompter;

TEST(EquationForm, AppliedExpressionAtKnownSamplesAndRemembered) {
    auto doc = test::newDoc(1000, 10000);  // Ts = 1 us
    ScriptedPrompter p;
    forms::FormEditor<EquationForm> editor(p, [](EquationForm& f) {
        f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitUs);
        f.setText(AnalogEditFrame::kPeriodField, "2000");
        f.setText(EquationForm::kExpression, "t < T/2 ? 1.5 * exp(-t/100e-6) : -0.25");
        return f.createSegment() && f.applySegment(AnalogApplyMode::Replace);
    });
    const auto range = doc->EditAnalogEquation(100, editor);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 100);
    EXPECT_EQ(range->end, 2100);
    EXPECT_DOUBLE_EQ(doc->analog()[100], 1.5);  // outside ±1 V: kept
    EXPECT_NEAR(doc->analog()[100 + 100], 1.5 * std::exp(-1.0), 1e-12);
    EXPECT_DOUBLE_EQ(doc->analog()[100 + 999], 1.5 * std::exp(-999e-6 / 100e-6));
    EXPECT_DOUBLE_EQ(doc->analog()[100 + 1000], -0.25);
    EXPECT_EQ(doc->analog()[2100], 0.0);
    EXPECT_TRUE(doc->hasOutOfRangeAnalog());
    const document::EquationSettings& s = doc->equationSettings();
    EXPECT_EQ(s.expression, "t < T/2 ? 1.5 * exp(-t/100e-6) : -0.25");
    EXPECT_EQ(s.history, std::vector<std::string>{s.expression});
    EXPECT_EQ(s.period, 2000000);

    // A cancelled run keeps the record; New keeps it too, and files never carry it.
    const document::DocumentFileRecord before = doc->exportForFile();
    forms::FormEditor<EquationForm> cancel(p, [](EquationForm& f) {
        f.setText(EquationForm::kExpression, "0");
        return false;
    });
    EXPECT_FALSE(doc->EditAnalogEquation(0, cancel));
    EXPECT_EQ(doc->equationSettings().expression, s.expression);
    ASSERT_TRUE(doc->newWaveform(1000, 500));
    EXPECT_EQ(doc->equationSettings().history.size(), 1u);
    EXPECT_EQ(doc->exportForFile().editorSettings, before.editorSettings);
}

TEST(EquationForm, SameSineAsTheSineEditor) {
    test::OpenForm<EquationForm> eq(100, 50000);
    eq.set(AnalogEditFrame::kPeriodField, "5000", document::kUnitUs);
    eq.set(EquationForm::kExpression, "0.8 * sin(2*pi*1000*t) + 0.1");
    test::OpenForm<SineForm> sine(100, 50000);
    sine.set(AnalogEditFrame::kPeriodField, "5000", document::kUnitUs);
    sine.set(SineForm::kSinePeriod, "1", document::kUnitMs);
    sine.set(SineForm::kDelay, "0");
    sine.set(SineForm::kAmplitude, "0.8");
    sine.set(SineForm::kOffset, "0.1");
    sine.set(SineForm::kRepeat, "10");
    ASSERT_TRUE(eq.form.createSegment());
    ASSERT_TRUE(sine.form.createSegment());
    for (std::uint32_t i = 0; i < 50000; ++i) ASSERT_NEAR(eq.form.segment()[i], sine.form.segment()[i], 1e-12) << i;
}

TEST(EquationForm, ParseErrorMarksTheFieldAndANonNumberRefusesTheCreate) {
    test::OpenForm<EquationForm> x(1000, 1000);  // Ts = 1 us
    x.set(AnalogEditFrame::kPeriodField, "100", document::kUnitUs);
    x.set(EquationForm::kExpression, "sin(2*pi*t");
    EXPECT_TRUE(x.marked(EquationForm::kExpression));
    EXPECT_FALSE(x.form.createEnabled());
    EXPECT_EQ(x.form.expressionError().rfind("位置 10: ", 0), 0u) << x.form.expressionError();
    x.set(EquationForm::kExpression, "sin(2*pi*t)");
    EXPECT_FALSE(x.marked(EquationForm::kExpression));
    EXPECT_TRUE(x.form.expressionError().empty());
    EXPECT_TRUE(x.form.createEnabled());

    x.set(EquationForm::kExpression, "t / (i - 37)");
    EXPECT_FALSE(x.form.createSegment());
    EXPECT_EQ(x.form.state(), AnalogEditFrame::State::Empty);
    EXPECT_FALSE(x.form.applyEnabled());
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text, "t = 37 uS で式の値が数値になりません（NaN または無限大）");
}

TEST(EquationForm, HistoryKeepsTenNewestWithoutRepeats) {
    std::vector<std::string> h;
    for (int k = 0; k < 12; ++k) h = rememberExpression(h, std::to_string(k));
    ASSERT_EQ(h.size(), 10u);
    EXPECT_EQ(h.front(), "11");
    EXPECT_EQ(h.back(), "2");
    h = rememberExpression(h, "5");  // an older entry moves to the front
    EXPECT_EQ(h.front(), "5");
    EXPECT_EQ(std::count(h.begin(), h.end(), "5"), 1);
    EXPECT_EQ(h.size(), 10u);
}

}  // namespace
}  // namespace lyr::analog
