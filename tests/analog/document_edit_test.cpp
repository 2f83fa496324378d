// The analog editors through the document's editor contract: the settings
// stored on apply, the edited range, the snapshot, the memory messages.
#include <gtest/gtest.h>

#include <cmath>

#include "analog/external_form.h"
#include "analog/analog_forms.h"
#include "forms/form_editor.h"
#include "analog/manual_form.h"
#include "document/syn_doc.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"

namespace lyr::analog {
namespace {

using test::ScriptedPrompter;

// Types the period (ns) and the DC level, creates and applies.
forms::FormEditor<DcForm> dcEditor(ScriptedPrompter& p, const char* period, const char* level,
                            AnalogApplyMode mode = AnalogApplyMode::Replace) {
    return forms::FormEditor<DcForm>(p, [=](DcForm& f) {
        f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
        f.setText(AnalogEditFrame::kPeriodField, period);
        f.setText(DcForm::kV0, level);
        return f.createSegment() && f.applySegment(mode);
    });
}

TEST(DocumentEdit, ApplyStoresSettingsAndTheRangeAndCancelStoresNothing) {
    auto doc = test::newDoc(10, 100);
    ScriptedPrompter p;
    auto first = dcEditor(p, "300", "0.5");
    EXPECT_EQ(doc->EditAnalogDc(10, first), (document::EditRange{10, 40}));
    EXPECT_EQ(std::vector<double>(doc->analog() + 9, doc->analog() + 41),
              [] { std::vector<double> v(32, 0.5); v.front() = v.back() = 0.0; return v; }());
    const document::DcSettings stored{300, 0, 0.5};
    EXPECT_EQ(doc->editorSettings().dc, stored);

    // The range end is not cut at the end of the waveform; undo goes back to the first edit.
    auto second = dcEditor(p, "500", "-1", AnalogApplyMode::Subtract);
    EXPECT_EQ(doc->EditAnalogDc(80, second), (document::EditRange{80, 130}));
    EXPECT_EQ(doc->analog()[99], 1.0);
    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(doc->analog()[99], 0.0);
    EXPECT_EQ(doc->analog()[10], 0.5);
    EXPECT_EQ(doc->editorSettings().dc.v0, -1.0);  // the remembered settings stay

    // Cancelled at the quantisation question: nothing written, stored or counted.
    forms::FormEditor<DcForm> offGrid(p, [](DcForm& f) {
        f.setUnit(AnalogEditFrame::kStartField, document::kUnitNs);
        f.setText(AnalogEditFrame::kStartField, "15");
        f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
        f.setText(AnalogEditFrame::kPeriodField, "100");
        f.setText(DcForm::kV0, "1");
        return f.createSegment() && f.applySegment(AnalogApplyMode::Add);
    });
    const int count = doc->modificationCount();
    p.script({PromptAnswer::Cancel});
    EXPECT_FALSE(doc->EditAnalogDc(0, offGrid));
    EXPECT_EQ(doc->modificationCount(), count);
    EXPECT_EQ(doc->editorSettings().dc.v0, -1.0);
    EXPECT_EQ(doc->analog()[1], 0.0);
}

TEST(DocumentEdit, SineRememberedSettingsReopenTheForm) {
    auto doc = test::newDoc(10, 1000);
    ScriptedPrompter p;
    forms::FormEditor<SineForm> editor(p, [](SineForm& f) {
        f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitUs);
        f.setText(AnalogEditFrame::kPeriodField, "2");
        f.setUnit(SineForm::kSinePeriod, document::kUnitUs);
        f.setText(SineForm::kSinePeriod, "1");
        f.setText(SineForm::kDelay, "0");
        f.setText(SineForm::kAmplitude, "0.5");
        f.setText(SineForm::kRepeat, "2");
        return f.createSegment() && f.applySegment(AnalogApplyMode::Replace);
    });
    ASSERT_TRUE(doc->EditAnalogSine(0, editor));
    const auto& s = doc->editorSettings().sine;
    EXPECT_EQ(s.sinePeriod, 1000);
    EXPECT_EQ(s.delayUnit, 1);
    EXPECT_EQ(s.repeatCount, 2);
    EXPECT_NEAR(doc->analog()[25], 0.5, 1e-12);
    std::string amplitude;
    forms::FormEditor<SineForm> reopen(p, [&](SineForm& f) {
        amplitude = f.field(SineForm::kAmplitude).text;
        return f.createEnabled();
    });
    EXPECT_FALSE(doc->EditAnalogSine(0, reopen));  // did not apply
    EXPECT_EQ(amplitude, "0.500");
}

// A regression: each run of the noise editor draws afresh.
TEST(DocumentEdit, NoiseAddedTwiceIsNotDoubled) {
    auto doc = test::newDoc(10, 100000);
    ScriptedPrompter p;
    auto addNoise = [&] {
        forms::FormEditor<NoiseForm> editor(p, [](NoiseForm& f) {
            f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitMs);
            f.setText(AnalogEditFrame::kPeriodField, "1");
            f.setText(NoiseForm::kAmplitude, "10");
            return f.createSegment() && f.applySegment(AnalogApplyMode::Add);
        });
        return doc->EditAnalogNoise(0, editor);
    };
    ASSERT_TRUE(addNoise());
    ASSERT_TRUE(addNoise());
    double sq = 0;
    for (std::uint32_t i = 0; i < doc->sampleCount(); ++i) sq += doc->analog()[i] * doc->analog()[i];
    // independent noise adds in power: sqrt(2) x 10 mV, not 2 x 10 mV
    EXPECT_NEAR(std::sqrt(sq / doc->sampleCount()), 0.01 * std::sqrt(2.0), 0.0005);
    EXPECT_DOUBLE_EQ(doc->editorSettings().noise.sigma, 0.01);
}

// An editor whose buffers cannot all be had shows its message, is not driven and changes nothing.
template <class F, class Run>
void runShortOfMemory(int granted, const char* message, Run run) {
    SCOPED_TRACE(message ? message : "enough memory");
    auto doc = test::newDoc(10, 100);
    ScriptedPrompter p;
    bool driven = false;
    forms::FormEditor<F> editor(p, [&](F&) { return driven = true; });
    test::ShortMemory memory(granted);
    editor.configure = [&](F& f) { f.setAllocator(memory); };
    EXPECT_FALSE(run(*doc, editor));
    EXPECT_EQ(driven, message == nullptr);
    EXPECT_EQ(p.asked.size(), message ? 1u : 0u);
    if (message && !p.asked.empty()) {
        EXPECT_EQ(p.asked[0].text, message);
    }
    EXPECT_FALSE(doc->isModified());
}

TEST(DocumentEdit, MemoryShortfallShowsTheEditorsMessage) {
    const char* noise = "ランダムノイズ作成のためのメモリが確保できませんでした";
    runShortOfMemory<RampForm>(0, "ランプ波形作成のためのメモリが確保できませんでした",
                               [](auto& d, auto& e) { return d.EditAnalogRamp(0, e); });
    for (int granted : {0, 1})  // the segment, then the noise table, runs short
        runShortOfMemory<NoiseForm>(granted, noise, [](auto& d, auto& e) { return d.EditAnalogNoise(0, e); });
    runShortOfMemory<NoiseForm>(2, nullptr, [](auto& d, auto& e) { return d.EditAnalogNoise(0, e); });
    runShortOfMemory<ManualForm>(1, "アナログ波形修正のためのメモリが確保できませんでした",
                                 [](auto& d, auto& e) { return d.EditAnalogManual(0, e); });
    runShortOfMemory<ExternalForm>(2, "外部波形読込みのためのメモリが確保できませんでした",
                                   [](auto& d, auto& e) { return d.EditAnalogExternal(0, e); });
}

}  // namespace
}  // namespace lyr::analog
