// The analog edit frame through its forms, with a scripted prompter.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "analog/analog_forms.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"

namespace lyr::analog {
namespace {

using test::ScriptedPrompter;
using State = AnalogEditFrame::State;

struct Track {
    explicit Track(std::size_t n, double v = 0.25) : samples(1048576, 0.0) {
        std::fill(samples.begin(), samples.begin() + n, v);
    }
    std::vector<double> samples;
};

// A DC form over a waveform of n samples at Ts, opened at edit start 0.
struct DcFixture {
    DcFixture(std::uint32_t ts, std::size_t n, double fill = 0.25) : track(n, fill), form(prompter) {
        EXPECT_TRUE(form.open(track.samples.data(), static_cast<std::int64_t>(ts) * n, ts, 0));
    }
    ScriptedPrompter prompter;
    Track track;
    DcForm form;
};

TEST(Frame, OpensEmptyWithTheStartInTheAutomaticUnit) {
    DcFixture x(10, 100000);  // T = 1 ms
    const auto& s = x.form.field(AnalogEditFrame::kStartField);
    EXPECT_EQ(x.form.labelUnit(), document::kUnitMs);
    EXPECT_EQ(s.unit, document::kUnitMs);
    EXPECT_EQ(s.text, "0");
    EXPECT_EQ(x.form.field(AnalogEditFrame::kPeriodField).text, "");  // no unit remembered yet
    EXPECT_EQ(x.form.field(DcForm::kV0).text, "0.000");
    EXPECT_EQ(x.form.state(), State::Empty);
    EXPECT_FALSE(x.form.createEnabled());
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_TRUE(x.form.field(AnalogEditFrame::kPeriodField).markerShown);
    EXPECT_EQ(x.form.startLabel(), "");
}

TEST(Frame, PeriodIsQuantisedDownWithItsMessage) {
    DcFixture x(1000, 100);
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    x.form.setText(AnalogEditFrame::kPeriodField, "999");
    EXPECT_TRUE(x.form.field(AnalogEditFrame::kPeriodField).markerShown);
    EXPECT_FALSE(x.form.createEnabled());
    x.form.setText(AnalogEditFrame::kPeriodField, "1500");
    EXPECT_TRUE(x.form.createEnabled());
    EXPECT_EQ(x.form.startLabel(), "0 uS");
    EXPECT_EQ(x.form.endLabel(), "1.5 uS");  // labels do not wait for the quantisation
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[期間] を調節します。\n\n1500 nS　→　1000 nS");
    EXPECT_EQ(x.prompter.asked[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(x.form.period(), 1000);
    EXPECT_EQ(x.form.field(AnalogEditFrame::kPeriodField).text, "1000");
    EXPECT_EQ(x.form.segmentCount(), 1u);
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_TRUE(x.form.applyEnabled());
    EXPECT_EQ(x.form.endLabel(), "1 uS");
}

TEST(Frame, EditStartOffTheGridAsksAndCancelWritesNothing) {
    DcFixture x(10, 100);
    x.form.setUnit(AnalogEditFrame::kStartField, document::kUnitNs);  // T = 1 us opens the start in uS
    x.form.setText(AnalogEditFrame::kStartField, "15");
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    x.form.setText(AnalogEditFrame::kPeriodField, "50");
    x.form.setText(DcForm::kV0, "1");
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_TRUE(x.form.applyEnabled());

    x.prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(x.form.applySegment(AnalogApplyMode::Replace));
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[編集開始] を調節します。\n\n15 nS　→　10 nS");
    EXPECT_EQ(x.prompter.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_FALSE(x.form.accepted());
    for (int i = 0; i < 100; ++i) ASSERT_EQ(x.track.samples[i], 0.25);
    EXPECT_EQ(x.form.field(AnalogEditFrame::kStartField).text, "15");

    x.prompter.script({PromptAnswer::Ok});
    EXPECT_TRUE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_TRUE(x.form.accepted());
    EXPECT_EQ(x.track.samples[0], 0.25);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(x.track.samples[i], 1.0) << i;
    EXPECT_EQ(x.track.samples[6], 0.25);
    EXPECT_EQ(x.form.field(AnalogEditFrame::kStartField).text, "15");  // keeps its text
}

TEST(Frame, StartRangeEndsOneSampleBeforeTheTotalTime) {
    DcFixture x(10, 100);
    x.form.setUnit(AnalogEditFrame::kStartField, document::kUnitNs);  // T = 1 us opens the start in uS
    x.form.setText(AnalogEditFrame::kStartField, "990");
    EXPECT_TRUE(x.form.field(AnalogEditFrame::kStartField).valid);
    x.form.setText(AnalogEditFrame::kStartField, "991");
    EXPECT_TRUE(x.form.field(AnalogEditFrame::kStartField).markerShown);
    x.form.setText(AnalogEditFrame::kStartField, "-10");
    EXPECT_TRUE(x.form.field(AnalogEditFrame::kStartField).markerShown);
    x.form.setText(AnalogEditFrame::kStartField, "1.5");  // finer than 1 ns
    EXPECT_TRUE(x.form.field(AnalogEditFrame::kStartField).markerShown);
}

TEST(Frame, SegmentIsCutAtTheEndOfTheWaveform) {
    DcFixture x(10, 100);
    x.form.setUnit(AnalogEditFrame::kStartField, document::kUnitNs);  // T = 1 us opens the start in uS
    x.form.setText(AnalogEditFrame::kStartField, "900");
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    x.form.setText(AnalogEditFrame::kPeriodField, "1000");
    x.form.setText(DcForm::kV0, "-0.5");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.form.segmentCount(), 100u);
    ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Add));
    EXPECT_EQ(x.track.samples[89], 0.25);
    for (int i = 90; i < 100; ++i) EXPECT_EQ(x.track.samples[i], -0.25) << i;
    EXPECT_EQ(x.track.samples[100], 0.0);  // beyond N: untouched
    EXPECT_EQ(x.form.period(), 1000);      // the caller's end index is not cut
}

TEST(Frame, StaleAfterAPeriodOrFieldChangeButNotAfterAStartChange) {
    DcFixture x(10, 100);
    x.form.setUnit(AnalogEditFrame::kStartField, document::kUnitNs);  // T = 1 us opens the start in uS
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    x.form.setText(AnalogEditFrame::kPeriodField, "500");
    ASSERT_TRUE(x.form.createSegment());
    x.form.setText(AnalogEditFrame::kStartField, "100");
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_TRUE(x.form.applyEnabled());
    x.form.setText(AnalogEditFrame::kStartField, "abc");  // invalid start: apply off, still current
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_FALSE(x.form.applyEnabled());
    x.form.setText(AnalogEditFrame::kStartField, "100");
    x.form.setText(AnalogEditFrame::kPeriodField, "500");  // same text: no change
    EXPECT_EQ(x.form.state(), State::Current);
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitUs);
    EXPECT_EQ(x.form.state(), State::Stale);
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_FALSE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_TRUE(x.form.previewShown());
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    ASSERT_TRUE(x.form.createSegment());
    x.form.setText(DcForm::kV0, "0.3");
    EXPECT_EQ(x.form.state(), State::Stale);
}

TEST(Frame, FailedCreateShowsTheMessageAndEmptiesThePreview) {
    DcFixture x(10, 100);
    x.form.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    x.form.setText(AnalogEditFrame::kPeriodField, "500");
    ASSERT_TRUE(x.form.createSegment());
    x.form.setText(DcForm::kV0, "x");
    EXPECT_FALSE(x.form.createEnabled());
    EXPECT_FALSE(x.form.createSegment());
    ASSERT_FALSE(x.prompter.asked.empty());
    EXPECT_EQ(x.prompter.asked.back().text, "パラメータが不正です");
    EXPECT_EQ(x.form.state(), State::Empty);
}

TEST(Frame, MultiplyByOneVoltKeepsTheWaveform) {
    ScriptedPrompter prompter;
    Track track(100);
    for (int i = 0; i < 100; ++i) track.samples[i] = 0.01 * i - 0.3;
    const std::vector<double> before(track.samples.begin(), track.samples.begin() + 100);
    DcForm form(prompter);
    DcForm::Settings s;
    s.period = 1000;
    s.periodUnit = 0;
    s.v0 = 1.0;
    form.load(s);
    ASSERT_TRUE(form.open(track.samples.data(), 1000, 10, 0));
    EXPECT_EQ(form.field(DcForm::kV0).text, "1.000");
    ASSERT_TRUE(form.createSegment());
    ASSERT_TRUE(form.applySegment(AnalogApplyMode::Multiply));
    EXPECT_EQ(std::vector<double>(track.samples.begin(), track.samples.begin() + 100), before);
    EXPECT_EQ(form.settings(), s);
}

TEST(Frame, MemoryShortfallFailsTheOpening) {
    ScriptedPrompter prompter;
    Track track(100);
    // the segment, then the noise table, runs short
    for (int granted : {0, 1}) {
        test::ShortMemory memory(granted);
        NoiseForm form(prompter);
        form.setAllocator(memory);
        EXPECT_FALSE(form.open(track.samples.data(), 1000, 10, 0)) << granted;
        EXPECT_STREQ(form.memoryMessage(), "ランダムノイズ作成のためのメモリが確保できませんでした");
    }
    test::ShortMemory enough(2);
    NoiseForm form(prompter);
    form.setAllocator(enough);
    EXPECT_TRUE(form.open(track.samples.data(), 1000, 10, 0));
}

// ---- sine ------------------------------------------------------------------

struct SineFixture {
    explicit SineFixture(SineForm::Settings s = {}) : track(100000), form(prompter) {
        form.load(s);
        EXPECT_TRUE(form.open(track.samples.data(), 1000000, 10, 0));
    }
    ScriptedPrompter prompter;
    Track track;
    SineForm form;
};

TEST(SineFormTest, FieldTests) {
    SineFixture x;
    auto& f = x.form;
    f.setUnit(SineForm::kSinePeriod, document::kUnitNs);
    EXPECT_EQ(f.field(SineForm::kDelay).unit, document::kUnitNs);  // the empty delay unit follows
    f.setText(SineForm::kSinePeriod, "39");
    EXPECT_TRUE(f.field(SineForm::kSinePeriod).markerShown);
    f.setText(SineForm::kSinePeriod, "40");
    EXPECT_FALSE(f.field(SineForm::kSinePeriod).markerShown);
    EXPECT_TRUE(f.field(SineForm::kAmplitude).markerShown);  // 0.000
    f.setText(SineForm::kAmplitude, "-0.0000009");
    EXPECT_TRUE(f.field(SineForm::kAmplitude).markerShown);
    f.setText(SineForm::kAmplitude, "-0.000001");
    EXPECT_FALSE(f.field(SineForm::kAmplitude).markerShown);
    f.setText(SineForm::kRepeat, "0");
    EXPECT_TRUE(f.field(SineForm::kRepeat).markerShown);
    f.setText(SineForm::kRepeat, "x");
    EXPECT_EQ(f.field(SineForm::kRepeat).count, 1u);
    EXPECT_TRUE(f.field(SineForm::kRepeat).markerShown);
    f.setText(SineForm::kRepeat, "2");
    f.setText(SineForm::kDelay, "40");  // a full sine period
    EXPECT_TRUE(f.field(SineForm::kDelay).markerShown);
    EXPECT_EQ(f.field(SineForm::kPhase).text, "");
    f.setText(SineForm::kDelay, "-10");
    EXPECT_FALSE(f.field(SineForm::kDelay).markerShown);
    EXPECT_EQ(f.field(SineForm::kPhase).text, "90.000");
    f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitUs);
    f.setText(AnalogEditFrame::kPeriodField, "1");
    EXPECT_TRUE(f.createEnabled());
}

TEST(SineFormTest, NegativeSinePeriodAdmitsNoDelay) {
    SineFixture x;
    auto& f = x.form;
    f.setUnit(SineForm::kSinePeriod, document::kUnitNs);
    f.setText(SineForm::kSinePeriod, "-99999999999999999999");  // the most negative time
    f.setText(SineForm::kDelay, "0");
    EXPECT_TRUE(f.field(SineForm::kSinePeriod).markerShown);
    EXPECT_TRUE(f.field(SineForm::kDelay).markerShown);
    f.setText(SineForm::kSinePeriod, "-40");
    f.setText(SineForm::kDelay, "-50");
    EXPECT_TRUE(f.field(SineForm::kDelay).markerShown);
}

TEST(SineFormTest, StartPhaseGivesTheDelay) {
    SineForm::Settings s;
    s.sinePeriod = 1000;
    s.sinePeriodUnit = 0;
    s.amplitude = 0.5;
    s.offset = 0.1;
    s.period = 1000;
    s.periodUnit = 0;
    SineFixture x(s);
    auto& f = x.form;
    f.setPhaseMode(SineForm::PhaseMode::StartPhase);
    EXPECT_FALSE(f.field(SineForm::kDelay).enabled);
    EXPECT_TRUE(f.field(SineForm::kPhase).enabled);
    f.setText(SineForm::kPhase, "90");
    EXPECT_EQ(f.field(SineForm::kDelay).text, "-250");
    ASSERT_TRUE(f.createSegment());
    EXPECT_NEAR(f.segment()[0], 0.6, 1e-12);
    f.setText(SineForm::kPhase, "-90");
    EXPECT_EQ(f.field(SineForm::kDelay).time, 250);
    f.setText(AnalogEditFrame::kPeriodField, "1000");
    f.setText(SineForm::kSinePeriod, "1001");
    f.setText(SineForm::kPhase, "45");
    EXPECT_EQ(f.field(SineForm::kDelay).time, -125);  // x = -125.125
    f.setText(SineForm::kPhase, "360");
    EXPECT_TRUE(f.field(SineForm::kPhase).markerShown);
    EXPECT_EQ(f.field(SineForm::kDelay).text, "");
    EXPECT_FALSE(f.createEnabled());
}

TEST(SineFormTest, DelayUnitChosenAutomaticallyWhenUnset) {
    SineForm::Settings s;
    s.sinePeriod = 4000;
    s.sinePeriodUnit = 0;
    s.phaseMode = 1;
    s.startPhase = -90;
    SineFixture x(s);
    EXPECT_EQ(x.form.field(SineForm::kDelay).text, "1");
    EXPECT_EQ(x.form.field(SineForm::kDelay).unit, document::kUnitUs);
    x.form.setText(SineForm::kPhase, "-45");
    EXPECT_EQ(x.form.field(SineForm::kDelay).text, "0.5");  // now in the unit the field has
}

TEST(SineFormTest, SwitchingModesKeepsTheDerivedValues) {
    SineForm::Settings s;
    s.sinePeriod = 1000;
    s.sinePeriodUnit = 0;
    s.delay = 100;
    s.delayUnit = 0;
    SineFixture x(s);
    EXPECT_EQ(x.form.field(SineForm::kPhase).text, "-36.000");
    x.form.setPhaseMode(SineForm::PhaseMode::StartPhase);
    EXPECT_EQ(x.form.field(SineForm::kDelay).time, 100);
    EXPECT_EQ(x.form.field(SineForm::kDelay).text, "100");
}

TEST(SineFormTest, SettingsComeBackAfterApply) {
    SineForm::Settings s;
    s.period = 1000;
    s.periodUnit = 0;
    s.sinePeriod = 400;
    s.sinePeriodUnit = 0;
    s.amplitude = 1.0;
    s.delayUnit = 0;  // a delay field without a unit never reads
    SineFixture x(s);
    ASSERT_TRUE(x.form.createEnabled());
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_EQ(x.form.settings(), s);
    EXPECT_EQ(x.track.samples[10], 1.0);
}

TEST(SineFormTest, LargeRepeatCountReopensAsEntered) {
    SineFixture first;
    first.form.setText(SineForm::kRepeat, "3000000000");
    EXPECT_FALSE(first.form.field(SineForm::kRepeat).markerShown);
    SineFixture again(first.form.settings());
    EXPECT_EQ(again.form.field(SineForm::kRepeat).text, "3000000000");
    EXPECT_FALSE(again.form.field(SineForm::kRepeat).markerShown);
    EXPECT_EQ(again.form.field(SineForm::kRepeat).count, 3000000000u);
}

// ---- rectangle ---------------------------------------------------------------

struct RectFixture {
    explicit RectFixture(RectangleForm::Settings s) : track(100000), form(prompter) {
        form.load(s);
        EXPECT_TRUE(form.open(track.samples.data(), 1000000, 10, 0));
    }
    ScriptedPrompter prompter;
    Track track;
    RectangleForm form;
};

RectangleForm::Settings square() {
    RectangleForm::Settings s;
    s.period = 2000;
    s.periodUnit = 0;
    s.t0Unit = s.t1Unit = s.t2Unit = s.t3Unit = s.t4Unit = 0;
    s.t2 = s.t4 = 500;
    s.v1 = 1.0;
    s.v2 = -1.0;
    s.repeatCount = 4;
    return s;
}

TEST(RectangleFormTest, FieldTestsAndTheCycleRule) {
    RectFixture x(square());
    auto& f = x.form;
    EXPECT_TRUE(f.createEnabled());
    f.setText(RectangleForm::kT1, "10");
    EXPECT_TRUE(f.field(RectangleForm::kT1).markerShown);
    f.setText(RectangleForm::kT1, "20");
    EXPECT_FALSE(f.field(RectangleForm::kT1).markerShown);
    f.setText(RectangleForm::kT2, "10");
    EXPECT_FALSE(f.field(RectangleForm::kT2).markerShown);
    f.setText(RectangleForm::kV2, "1");
    EXPECT_TRUE(f.field(RectangleForm::kV1).markerShown);
    EXPECT_TRUE(f.field(RectangleForm::kV2).markerShown);
    EXPECT_FALSE(f.createEnabled());
    f.setText(RectangleForm::kV2, "-1");
    f.setText(RectangleForm::kT0, "540");  // the cycle is now 20 + 10 + 0 + 500
    EXPECT_TRUE(f.field(RectangleForm::kT0).markerShown);
    f.setText(RectangleForm::kT0, "0");
    f.setText(RectangleForm::kT1, "0");
    f.setText(RectangleForm::kT2, "0");
    f.setText(RectangleForm::kT4, "0");
    EXPECT_FALSE(f.cycleValid());
    EXPECT_FALSE(f.createEnabled());
    for (std::size_t i : {RectangleForm::kT1, RectangleForm::kT2, RectangleForm::kT3, RectangleForm::kT4})
        EXPECT_FALSE(f.field(i).markerShown);  // the cycle rule has no marker
}

TEST(RectangleFormTest, TimeModeShowsTheStartLevel) {
    RectFixture x(square());
    EXPECT_EQ(x.form.field(RectangleForm::kV0).text, "1.000");  // first sample of the square
    x.form.setText(RectangleForm::kT0, "500");
    EXPECT_EQ(x.form.field(RectangleForm::kV0).text, "-1.000");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.form.segment()[0], -1.0);
    x.form.setText(RectangleForm::kT0, "-500");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.form.segment()[0], -1.0);
}

TEST(RectangleFormTest, VoltageModeGivesTheStartTime) {
    auto s = square();
    s.t1 = 1000;
    s.levelMode = 1;
    RectFixture x(s);
    auto& f = x.form;
    EXPECT_FALSE(f.field(RectangleForm::kT0).enabled);
    f.setText(RectangleForm::kV0, "0");
    EXPECT_EQ(f.field(RectangleForm::kT0).text, "500");
    EXPECT_EQ(f.field(RectangleForm::kT0).time, 500);
    f.setText(RectangleForm::kV0, "1.5");
    EXPECT_TRUE(f.field(RectangleForm::kV0).markerShown);
    EXPECT_FALSE(f.field(RectangleForm::kT0).markerShown);
    EXPECT_EQ(f.field(RectangleForm::kT0).text, "");
    f.setText(RectangleForm::kV0, "-1");
    ASSERT_TRUE(f.createSegment());
    EXPECT_EQ(f.segment()[0], -1.0);
    EXPECT_EQ(f.settings().levelMode, 1);
}

TEST(RectangleFormTest, UnitOfOneTimeFieldFillsTheEmptyOnes) {
    RectangleForm::Settings s;
    s.t2Unit = 2;
    RectFixture x(s);
    x.form.setUnit(RectangleForm::kT1, document::kUnitUs);
    EXPECT_EQ(x.form.field(RectangleForm::kT0).unit, document::kUnitUs);
    EXPECT_EQ(x.form.field(RectangleForm::kT2).unit, document::kUnitMs);
    EXPECT_EQ(x.form.field(RectangleForm::kT3).unit, document::kUnitUs);
    EXPECT_EQ(x.form.field(RectangleForm::kT4).unit, document::kUnitUs);
}

TEST(RectangleFormTest, OutOfRangeTimesAreInvalidWithoutWrapping) {
    auto s = square();
    s.t1 = 1000;
    s.levelMode = 1;
    RectFixture x(s);
    auto& f = x.form;
    // a t1 beyond 64 bits reads as the largest time; the start time derived
    // from it cannot be written, so its field is empty
    f.setText(RectangleForm::kT1, "99999999999999999999");
    f.setText(RectangleForm::kV0, "1");
    EXPECT_TRUE(f.field(RectangleForm::kT1).markerShown);
    EXPECT_EQ(f.field(RectangleForm::kT0).text, "");
    EXPECT_FALSE(f.createEnabled());
    // four durations whose sum passes 64 bits: the cycle is not wrapped round
    // to a short one that would refuse this start
    f.setLevelMode(RectangleForm::LevelMode::Position);
    for (std::size_t i : {RectangleForm::kT1, RectangleForm::kT2, RectangleForm::kT3, RectangleForm::kT4})
        f.setText(i, "4700000000000000000");
    f.setText(RectangleForm::kT0, "1000000000000000000");
    EXPECT_FALSE(f.field(RectangleForm::kT0).markerShown);
    EXPECT_FALSE(f.createEnabled());
}

// ---- ramp, exponential, noise -------------------------------------------------

TEST(LevelForms, EqualLevelsMarkBothFields) {
    ScriptedPrompter prompter;
    Track track(1000);
    RampForm ramp(prompter);
    ASSERT_TRUE(ramp.open(track.samples.data(), 10000, 10, 0));
    EXPECT_TRUE(ramp.field(RampForm::kV0).markerShown);
    EXPECT_TRUE(ramp.field(RampForm::kV1).markerShown);
    ramp.setText(RampForm::kV1, "1");
    EXPECT_FALSE(ramp.field(RampForm::kV0).markerShown);
    EXPECT_FALSE(ramp.field(RampForm::kV1).markerShown);

    ExpForm exp(prompter);
    ASSERT_TRUE(exp.open(track.samples.data(), 10000, 10, 0));
    exp.setText(ExpForm::kV1, "1");
    EXPECT_TRUE(exp.field(ExpForm::kTau).markerShown);
    exp.setUnit(ExpForm::kTau, document::kUnitUs);
    exp.setText(ExpForm::kTau, "0");
    EXPECT_TRUE(exp.field(ExpForm::kTau).markerShown);
    exp.setText(ExpForm::kTau, "1");
    exp.setUnit(AnalogEditFrame::kPeriodField, document::kUnitUs);
    exp.setText(AnalogEditFrame::kPeriodField, "2");
    ASSERT_TRUE(exp.createEnabled());
    ASSERT_TRUE(exp.createSegment());
    EXPECT_NEAR(exp.segment()[100], 1.0 - std::exp(-1.0), 1e-12);
    EXPECT_EQ(exp.settings().timeConstant, 1000);
    EXPECT_EQ(exp.settings().timeConstantUnit, 1);
}

TEST(NoiseFormTest, AmplitudeKindsAndConversion) {
    ScriptedPrompter prompter;
    Track track(1000);
    NoiseForm f(prompter);
    NoiseForm::Settings s;
    s.sigma = 0.002;
    f.load(s);
    ASSERT_TRUE(f.open(track.samples.data(), 10000, 10, 0));
    EXPECT_EQ(f.field(NoiseForm::kAmplitude).text, "2.000");
    EXPECT_EQ(f.amplitudeUnit(), NoiseForm::AmplitudeUnit::Rms);
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "13.200");
    EXPECT_EQ(f.field(NoiseForm::kConverted).unitText, "mV p-p");
    f.setText(NoiseForm::kAmplitude, "6.6");
    f.setUnit(AnalogEditFrame::kPeriodField, document::kUnitNs);
    f.setText(AnalogEditFrame::kPeriodField, "1000");
    ASSERT_TRUE(f.createSegment());
    f.setAmplitudeUnit(NoiseForm::AmplitudeUnit::PeakToPeak);  // same number, other kind
    EXPECT_EQ(f.state(), AnalogEditFrame::State::Stale);
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "1.000");
    EXPECT_EQ(f.field(NoiseForm::kConverted).unitText, "mV rms");
    EXPECT_DOUBLE_EQ(f.sigma(), 0.001);
    f.setAmplitudeUnit(NoiseForm::AmplitudeUnit::Rms);
    f.setText(NoiseForm::kAmplitude, "1");
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "6.600");
    f.setText(NoiseForm::kAmplitude, "0.0009");
    EXPECT_TRUE(f.field(NoiseForm::kAmplitude).markerShown);
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "0.006");
    f.setText(NoiseForm::kAmplitude, "0.001");
    EXPECT_FALSE(f.field(NoiseForm::kAmplitude).markerShown);
    f.setText(NoiseForm::kAmplitude, "?");
    EXPECT_TRUE(f.field(NoiseForm::kAmplitude).markerShown);
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "");
}

TEST(NoiseFormTest, TwoCreationsDifferAndAFixedSeedRepeats) {
    ScriptedPrompter prompter;
    Track track(1000);
    NoiseForm::Settings s;
    s.sigma = 0.01;
    s.period = 10000;
    s.periodUnit = 0;
    NoiseForm f(prompter);
    f.load(s);
    ASSERT_TRUE(f.open(track.samples.data(), 10000, 10, 0));
    ASSERT_TRUE(f.createSegment());
    const std::vector<double> first(f.segment(), f.segment() + 1000);
    ASSERT_TRUE(f.createSegment());
    EXPECT_NE(std::vector<double>(f.segment(), f.segment() + 1000), first);
    f.setSeed(7u);
    ASSERT_TRUE(f.createSegment());
    const std::vector<double> seeded(f.segment(), f.segment() + 1000);
    ASSERT_TRUE(f.createSegment());
    EXPECT_EQ(std::vector<double>(f.segment(), f.segment() + 1000), seeded);
    EXPECT_EQ(f.lastSeed(), 7u);
}

}  // namespace
}  // namespace lyr::analog

namespace lyr::analog {
namespace {

std::set<std::string> labelsOf(const AnalogEditFrame& f) {
    std::set<std::string> names;
    for (const auto& l : f.sketchList().labels()) names.insert(l.text);
    return names;
}

TEST(Sketches, EachShowsItsParameterNames) {
    test::ScriptedPrompter p;
    std::vector<double> track(1048576);
    SineForm sine(p);
    RectangleForm rect(p);
    DcForm dc(p);
    RampForm ramp(p);
    ExpForm exp(p);
    for (AnalogEditFrame* f : std::initializer_list<AnalogEditFrame*>{&sine, &rect, &dc, &ramp, &exp})
        ASSERT_TRUE(f->open(track.data(), 1000000, 10, 0));
    EXPECT_EQ(labelsOf(sine), (std::set<std::string>{"v0", "v1", "t0", "t1"}));
    EXPECT_EQ(labelsOf(rect), (std::set<std::string>{"t0", "t1", "t2", "t3", "t4", "v0", "v1", "v2", "Start"}));
    EXPECT_EQ(labelsOf(dc), (std::set<std::string>{"v0"}));
    EXPECT_EQ(labelsOf(ramp), (std::set<std::string>{"v0", "v1"}));
    EXPECT_EQ(labelsOf(exp), (std::set<std::string>{"v0", "v1"}));
    // the DC sketch: 8,500 samples of 1.2 V, on the top row of its frame
    const PreviewColumns& c = dc.sketchColumns();
    ASSERT_GT(c.columns(), 0);
    for (int col = 0; col < c.columns(); ++col) ASSERT_EQ(c.minY[col], c.rect.top) << col;
    // the sketch does not follow the fields
    const std::vector<int> before = sine.sketchColumns().lastY;
    sine.setText(SineForm::kAmplitude, "0.1");
    EXPECT_EQ(sine.sketchColumns().lastY, before);
}

}  // namespace
}  // namespace lyr::analog
