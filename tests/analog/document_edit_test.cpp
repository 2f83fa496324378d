// The analog editors through the document's editor contract: snapshot,
// settings stored on apply, edited range, one undo level.
#include <gtest/gtest.h>

#include <cmath>

#include "analog/form_editor.h"
#include "document/syn_doc.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"
#include "support/documents.h"

namespace lyr::analog {
namespace {

using document::CSYNDoc;
using test::ScriptedPrompter;

using lyr::test::newDoc;

// Types the period (ns) and the DC level, creates and applies.
FormEditor<DcForm> dcEditor(ScriptedPrompter& p, const char* period, const char* level,
                            AnalogApplyMode mode = AnalogApplyMode::Replace) {
    return FormEditor<DcForm>(p, [=](DcForm& f) {
        f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
        f.setText(AnalogEditFrame::kPeriodField, period);
        f.setText(DcForm::kV0, level);
        return f.createSegment() && f.applySegment(mode);
    });
}

TEST(DocumentEdit, ApplyStoresSettingsReturnsTheRangeAndUndoes) {
    auto doc = newDoc(10, 100);
    ScriptedPrompter p;
    auto editor = dcEditor(p, "300", "0.5");
    auto range = doc->EditAnalogDc(10, editor);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 10);
    EXPECT_EQ(range->end, 40);
    EXPECT_EQ(doc->analog()[9], 0.0);
    EXPECT_EQ(doc->analog()[10], 0.5);
    EXPECT_EQ(doc->analog()[39], 0.5);
    EXPECT_EQ(doc->analog()[40], 0.0);
    EXPECT_EQ(doc->editorSettings().dc.period, 300);
    EXPECT_EQ(doc->editorSettings().dc.periodUnit, 0);
    EXPECT_EQ(doc->editorSettings().dc.v0, 0.5);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->modificationCount(), 1);

    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(doc->analog()[10], 0.0);
    EXPECT_FALSE(doc->isModified());
    EXPECT_FALSE(doc->undo());  // one level only
    EXPECT_EQ(doc->editorSettings().dc.v0, 0.5);  // the remembered settings stay
}

TEST(DocumentEdit, CancelCommitsNothing) {
    auto doc = newDoc(10, 100);
    ScriptedPrompter p;
    FormEditor<DcForm> editor(p, [](DcForm& f) {
        f.setUnit(AnalogEditFrame::kStartField, document::kUnitNs);
        f.setText(AnalogEditFrame::kStartField, "15");
        f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
        f.setText(AnalogEditFrame::kPeriodField, "100");
        f.setText(DcForm::kV0, "1");
        return f.createSegment() && f.applySegment(AnalogApplyMode::Add);
    });
    p.script({PromptAnswer::Cancel});
    EXPECT_FALSE(doc->EditAnalogDc(0, editor));
    EXPECT_FALSE(doc->isModified());
    EXPECT_FALSE(doc->undoAvailable());
    EXPECT_EQ(doc->editorSettings().dc, document::DcSettings{});
    for (std::uint32_t i = 0; i < doc->sampleCount(); ++i) ASSERT_EQ(doc->analog()[i], 0.0);
}

TEST(DocumentEdit, RangeEndIsNotCutAtTheEnd) {
    auto doc = newDoc(10, 100);
    ScriptedPrompter p;
    auto editor = dcEditor(p, "500", "-1", AnalogApplyMode::Subtract);
    auto range = doc->EditAnalogDc(80, editor);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 80);
    EXPECT_EQ(range->end, 130);
    EXPECT_EQ(doc->analog()[99], 1.0);
}

TEST(DocumentEdit, EditSaveUndoLeavesTheDocumentModified) {
    auto doc = newDoc(10, 100);
    ScriptedPrompter p;
    auto editor = dcEditor(p, "100", "0.25");
    ASSERT_TRUE(doc->EditAnalogDc(0, editor));
    doc->markSaved();
    EXPECT_FALSE(doc->isModified());
    ASSERT_TRUE(doc->undo());
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->analog()[0], 0.0);
}

TEST(DocumentEdit, SecondEditUndoesToTheFirst) {
    auto doc = newDoc(10, 100);
    ScriptedPrompter p;
    auto first = dcEditor(p, "1000", "0.1");
    ASSERT_TRUE(doc->EditAnalogDc(0, first));
    auto second = dcEditor(p, "1000", "0.2", AnalogApplyMode::Add);
    ASSERT_TRUE(doc->EditAnalogDc(0, second));
    EXPECT_NEAR(doc->analog()[50], 0.3, 1e-15);
    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(doc->analog()[50], 0.1);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->modificationCount(), 1);
}

TEST(DocumentEdit, SineRememberedSettingsReopenTheForm) {
    auto doc = newDoc(10, 1000);
    ScriptedPrompter p;
    FormEditor<SineForm> editor(p, [](SineForm& f) {
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
    // reopening shows the remembered values
    std::string amplitude;
    FormEditor<SineForm> reopen(p, [&](SineForm& f) {
        amplitude = f.field(SineForm::kAmplitude).text;
        return f.createEnabled();
    });
    EXPECT_FALSE(doc->EditAnalogSine(0, reopen));  // did not apply
    EXPECT_EQ(amplitude, "0.500");
}

TEST(DocumentEdit, NoiseAddedTwiceIsNotDoubled) {
    auto doc = newDoc(10, 100000);
    ScriptedPrompter p;
    auto addNoise = [&] {
        FormEditor<NoiseForm> editor(p, [](NoiseForm& f) {
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
    const double rms = std::sqrt(sq / doc->sampleCount());
    // independent noise adds in power: sqrt(2) x 10 mV, not 2 x 10 mV
    EXPECT_NEAR(rms, 0.01 * std::sqrt(2.0), 0.0005);
    EXPECT_DOUBLE_EQ(doc->editorSettings().noise.sigma, 0.01);
}

TEST(DocumentEdit, MemoryShortfallShowsTheMessageAndCancels) {
    auto doc = newDoc(10, 100);
    ScriptedPrompter p;
    bool driven = false;
    FormEditor<RampForm> editor(p, [&](RampForm&) { return driven = true; });
    test::ShortMemory memory;
    editor.configure = [&](RampForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(doc->EditAnalogRamp(0, editor));
    EXPECT_FALSE(driven);
    ASSERT_EQ(p.asked.size(), 1u);
    EXPECT_EQ(p.asked[0].text, "ランプ波形作成のためのメモリが確保できませんでした");
    EXPECT_FALSE(doc->isModified());
}

}  // namespace
}  // namespace lyr::analog
