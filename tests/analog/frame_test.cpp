// The analog edit frame and the generator forms, with a scripted prompter.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "analog/analog_forms.h"
#include "support/analog_forms.h"

namespace lyr::analog {
namespace {

namespace doc = lyr::document;
using State = AnalogEditFrame::State;
using Frame = AnalogEditFrame;
using test::OpenForm;

struct Step {
    std::size_t field;
    const char* text;
    doc::TimeUnit unit = doc::kUnitNone;
};

template <class F>
bool markedAfter(std::int64_t ts, std::size_t n, typename F::Settings s, const std::vector<Step>& steps,
                 std::size_t field) {
    OpenForm<F> x(ts, n, s);
    for (const Step& st : steps) x.set(st.field, st.text, st.unit);
    return x.marked(field);
}

// 500 ns high, 500 ns low, every time in nS.
RectangleForm::Settings square() {
    return {.period = 2000, .periodUnit = 0, .t0Unit = 0, .t1Unit = 0, .t2 = 500, .t2Unit = 0, .t3Unit = 0, .t4 = 500,
            .t4Unit = 0, .v1 = 1.0, .v2 = -1.0, .repeatCount = 4};
}

// Each field's own rule, shown by its "×" marker.
TEST(FormFields, MarkerRules) {
    enum Kind { Dc1us, Dc10ns, Sine, Square, Ramp, Exp, Noise };
    constexpr auto ns = doc::kUnitNs;
    constexpr auto us = doc::kUnitUs;
    struct Case {
        const char* what;
        Kind kind;
        std::vector<Step> steps;
        std::size_t field;
        bool marked;
    };
    const Case cases[] = {
        {"empty period", Dc10ns, {}, Frame::kPeriodField, true},
        {"period below Ts", Dc1us, {{Frame::kPeriodField, "999", ns}}, Frame::kPeriodField, true},
        {"period off the grid", Dc1us, {{Frame::kPeriodField, "1500", ns}}, Frame::kPeriodField, false},
        {"start one sample before T", Dc10ns, {{Frame::kStartField, "990", ns}}, Frame::kStartField, false},
        {"start at T", Dc10ns, {{Frame::kStartField, "991", ns}}, Frame::kStartField, true},
        {"negative start", Dc10ns, {{Frame::kStartField, "-10", ns}}, Frame::kStartField, true},
        {"start finer than 1 ns", Dc10ns, {{Frame::kStartField, "1.5", ns}}, Frame::kStartField, true},
        {"sine period below 4 Ts", Sine, {{SineForm::kSinePeriod, "39", ns}}, SineForm::kSinePeriod, true},
        {"sine period of 4 Ts", Sine, {{SineForm::kSinePeriod, "40", ns}}, SineForm::kSinePeriod, false},
        {"zero amplitude", Sine, {}, SineForm::kAmplitude, true},
        {"amplitude below 1 uV", Sine, {{SineForm::kAmplitude, "-0.0000009"}}, SineForm::kAmplitude, true},
        {"amplitude of -1 uV", Sine, {{SineForm::kAmplitude, "-0.000001"}}, SineForm::kAmplitude, false},
        {"no repeat", Sine, {{SineForm::kRepeat, "0"}}, SineForm::kRepeat, true},
        {"repeat not a number", Sine, {{SineForm::kRepeat, "x"}}, SineForm::kRepeat, true},
        {"large repeat", Sine, {{SineForm::kRepeat, "3000000000"}}, SineForm::kRepeat, false},
        {"delay of a full sine period", Sine, {{SineForm::kSinePeriod, "40", ns}, {SineForm::kDelay, "40"}},
         SineForm::kDelay, true},
        {"negative delay", Sine, {{SineForm::kSinePeriod, "40", ns}, {SineForm::kDelay, "-10"}}, SineForm::kDelay, false},
        {"most negative sine period", Sine, {{SineForm::kSinePeriod, "-99999999999999999999", ns}},
         SineForm::kSinePeriod, true},
        {"delay under the most negative sine period", Sine,
         {{SineForm::kSinePeriod, "-99999999999999999999", ns}, {SineForm::kDelay, "0"}}, SineForm::kDelay, true},
        {"delay beyond a negative sine period", Sine, {{SineForm::kSinePeriod, "-40", ns}, {SineForm::kDelay, "-50"}},
         SineForm::kDelay, true},
        {"rise of one sample", Square, {{RectangleForm::kT1, "10"}}, RectangleForm::kT1, true},
        {"rise of two samples", Square, {{RectangleForm::kT1, "20"}}, RectangleForm::kT1, false},
        {"high hold of one sample", Square, {{RectangleForm::kT2, "10"}}, RectangleForm::kT2, false},
        {"equal levels: v1", Square, {{RectangleForm::kV2, "1"}}, RectangleForm::kV1, true},
        {"equal levels: v2", Square, {{RectangleForm::kV2, "1"}}, RectangleForm::kV2, true},
        {"start position beyond the cycle", Square,
         {{RectangleForm::kT1, "20"}, {RectangleForm::kT2, "10"}, {RectangleForm::kT0, "540"}}, RectangleForm::kT0, true},
        {"ramp of equal levels: v0", Ramp, {}, RampForm::kV0, true},
        {"ramp of equal levels: v1", Ramp, {}, RampForm::kV1, true},
        {"ramp levels differ", Ramp, {{RampForm::kV1, "1"}}, RampForm::kV0, false},
        {"no time constant", Exp, {{ExpForm::kV1, "1"}}, ExpForm::kTau, true},
        {"zero time constant", Exp, {{ExpForm::kV1, "1"}, {ExpForm::kTau, "0", us}}, ExpForm::kTau, true},
        {"time constant of 1 us", Exp, {{ExpForm::kV1, "1"}, {ExpForm::kTau, "1", us}}, ExpForm::kTau, false},
        {"noise below 1 uV", Noise, {{NoiseForm::kAmplitude, "0.0009"}}, NoiseForm::kAmplitude, true},
        {"noise of 1 uV", Noise, {{NoiseForm::kAmplitude, "0.001"}}, NoiseForm::kAmplitude, false},
        {"noise not a number", Noise, {{NoiseForm::kAmplitude, "?"}}, NoiseForm::kAmplitude, true},
    };
    for (const Case& c : cases) {
        bool marked = false;
        switch (c.kind) {
            case Dc1us: marked = markedAfter<DcForm>(1000, 100, {}, c.steps, c.field); break;
            case Dc10ns: marked = markedAfter<DcForm>(10, 100, {}, c.steps, c.field); break;
            case Sine: marked = markedAfter<SineForm>(10, 100000, {}, c.steps, c.field); break;
            case Square: marked = markedAfter<RectangleForm>(10, 100000, square(), c.steps, c.field); break;
            case Ramp: marked = markedAfter<RampForm>(10, 1000, {}, c.steps, c.field); break;
            case Exp: marked = markedAfter<ExpForm>(10, 1000, {}, c.steps, c.field); break;
            case Noise: marked = markedAfter<NoiseForm>(10, 1000, {}, c.steps, c.field); break;
        }
        EXPECT_EQ(marked, c.marked) << c.what;
    }
}

TEST(Frame, OpensEmptyWithTheStartInTheAutomaticUnit) {
    OpenForm<DcForm> x(10, 100000, {}, 0.25);  // T = 1 ms
    const auto& s = x.form.field(Frame::kStartField);
    EXPECT_EQ(x.form.labelUnit(), doc::kUnitMs);
    EXPECT_EQ(s.unit, doc::kUnitMs);
    EXPECT_EQ(s.text, "0");
    EXPECT_EQ(x.form.field(Frame::kPeriodField).text, "");  // no unit remembered yet
    EXPECT_EQ(x.form.field(DcForm::kV0).text, "0.000");
    EXPECT_EQ(x.form.state(), State::Empty);
    EXPECT_FALSE(x.form.createEnabled());
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_EQ(x.form.startLabel(), "");
}

TEST(Frame, PeriodIsQuantisedDownWithItsMessage) {
    OpenForm<DcForm> x(1000, 100, {}, 0.25);
    x.set(Frame::kPeriodField, "1500", doc::kUnitNs);
    EXPECT_TRUE(x.form.createEnabled());
    EXPECT_EQ(x.form.startLabel(), "0 uS");
    EXPECT_EQ(x.form.endLabel(), "1.5 uS");  // labels do not wait for the quantisation
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[期間] を調節します。\n\n1500 nS　→　1000 nS");
    EXPECT_EQ(x.prompter.asked[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(x.form.period(), 1000);
    EXPECT_EQ(x.form.field(Frame::kPeriodField).text, "1000");
    EXPECT_EQ(x.form.segmentCount(), 1u);
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_TRUE(x.form.applyEnabled());
    EXPECT_EQ(x.form.endLabel(), "1 uS");
}

TEST(Frame, EditStartOffTheGridAsksAndCancelWritesNothing) {
    OpenForm<DcForm> x(10, 100, {}, 0.25);
    x.set(Frame::kStartField, "15", doc::kUnitNs);  // T = 1 us opens the start in uS
    x.set(Frame::kPeriodField, "50", doc::kUnitNs);
    x.set(DcForm::kV0, "1");
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_TRUE(x.form.applyEnabled());

    x.prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(x.form.applySegment(AnalogApplyMode::Replace));
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[編集開始] を調節します。\n\n15 nS　→　10 nS");
    EXPECT_EQ(x.prompter.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_FALSE(x.form.accepted());
    EXPECT_EQ(x.samples(0, 100), std::vector<double>(100, 0.25));

    x.prompter.script({PromptAnswer::Ok});
    EXPECT_TRUE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_TRUE(x.form.accepted());
    EXPECT_EQ(x.samples(0, 7), (std::vector<double>{0.25, 1, 1, 1, 1, 1, 0.25}));
    EXPECT_EQ(x.form.field(Frame::kStartField).text, "15");  // keeps its text
}

TEST(Frame, SegmentIsCutAtTheEndOfTheWaveform) {
    OpenForm<DcForm> x(10, 100, {}, 0.25);
    x.set(Frame::kStartField, "900", doc::kUnitNs);
    x.set(Frame::kPeriodField, "1000", doc::kUnitNs);
    x.set(DcForm::kV0, "-0.5");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.form.segmentCount(), 100u);
    ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Add));
    EXPECT_EQ(x.track[89], 0.25);
    EXPECT_EQ(x.samples(90, 100), std::vector<double>(10, -0.25));
    EXPECT_EQ(x.track[100], 0.0);     // beyond N: untouched
    EXPECT_EQ(x.form.period(), 1000);  // the caller's end index is not cut
}

TEST(Frame, StaleAfterAPeriodOrFieldChangeButNotAfterAStartChange) {
    OpenForm<DcForm> x(10, 100);
    x.form.setUnit(Frame::kStartField, doc::kUnitNs);
    x.set(Frame::kPeriodField, "500", doc::kUnitNs);
    ASSERT_TRUE(x.form.createSegment());
    x.set(Frame::kStartField, "100");
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_TRUE(x.form.applyEnabled());
    x.set(Frame::kStartField, "abc");  // invalid start: apply off, still current
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_FALSE(x.form.applyEnabled());
    x.set(Frame::kStartField, "100");
    x.set(Frame::kPeriodField, "500");  // same text: no change
    EXPECT_EQ(x.form.state(), State::Current);
    x.form.setUnit(Frame::kPeriodField, doc::kUnitUs);
    EXPECT_EQ(x.form.state(), State::Stale);
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_FALSE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_TRUE(x.form.previewShown());
    x.form.setUnit(Frame::kPeriodField, doc::kUnitNs);
    ASSERT_TRUE(x.form.createSegment());
    x.set(DcForm::kV0, "0.3");
    EXPECT_EQ(x.form.state(), State::Stale);
    // A create that fails shows its message and empties the preview.
    x.set(DcForm::kV0, "x");
    EXPECT_FALSE(x.form.createEnabled());
    EXPECT_FALSE(x.form.createSegment());
    ASSERT_FALSE(x.prompter.asked.empty());
    EXPECT_EQ(x.prompter.asked.back().text, "パラメータが不正です");
    EXPECT_EQ(x.form.state(), State::Empty);
}

TEST(Frame, MultiplyByOneVoltKeepsTheWaveformAndTheSettings) {
    const DcForm::Settings s{.period = 1000, .periodUnit = 0, .v0 = 1.0};
    OpenForm<DcForm> x(10, 100, s);
    for (int i = 0; i < 100; ++i) x.track[i] = 0.01 * i - 0.3;
    const std::vector<double> before = x.samples(0, 100);
    EXPECT_EQ(x.form.field(DcForm::kV0).text, "1.000");
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Multiply));
    EXPECT_EQ(x.samples(0, 100), before);
    EXPECT_EQ(x.form.settings(), s);
}

// ---- derived fields ------------------------------------------------------------

template <class F>
std::string derivedAfter(typename F::Settings s, const std::vector<Step>& steps, std::size_t field) {
    OpenForm<F> x(10, 100000, s);
    for (const Step& st : steps) x.set(st.field, st.text, st.unit);
    return x.form.field(field).text;
}

// A derived field follows the fields it comes from, when the form opens and as
// they are typed, in the unit it has; a value it cannot hold leaves it empty.
TEST(DerivedFields, FollowTheTypedOnes) {
    using S = SineForm;
    using R = RectangleForm;
    const S::Settings byPhase{.sinePeriod = 1000, .sinePeriodUnit = 0, .phaseMode = 1};
    const S::Settings noDelayUnit{.sinePeriod = 4000, .sinePeriodUnit = 0, .startPhase = -90, .phaseMode = 1};
    auto byLevel = square();
    byLevel.t1 = 1000;
    byLevel.levelMode = 1;
    const std::pair<std::string, const char*> cases[] = {
        // sine: the delay gives the start phase and the other way round
        {derivedAfter<S>({}, {{S::kSinePeriod, "40", doc::kUnitNs}, {S::kDelay, "-10"}}, S::kPhase), "90.000"},
        {derivedAfter<S>({}, {{S::kSinePeriod, "40", doc::kUnitNs}, {S::kDelay, "40"}}, S::kPhase), ""},
        {derivedAfter<S>({.sinePeriod = 1000, .sinePeriodUnit = 0, .delay = 100, .delayUnit = 0}, {}, S::kPhase),
         "-36.000"},
        {derivedAfter<S>(byPhase, {{S::kPhase, "90"}}, S::kDelay), "-250"},
        {derivedAfter<S>(byPhase, {{S::kPhase, "-90"}}, S::kDelay), "250"},
        {derivedAfter<S>(byPhase, {{S::kSinePeriod, "1001"}, {S::kPhase, "45"}}, S::kDelay), "-125"},  // -125.125
        {derivedAfter<S>(byPhase, {{S::kPhase, "360"}}, S::kDelay), ""},
        // a delay without a unit gets one, and keeps it when the phase changes
        {derivedAfter<S>(noDelayUnit, {}, S::kDelay), "1"},
        {derivedAfter<S>(noDelayUnit, {{S::kPhase, "-45"}}, S::kDelay), "0.5"},
        // rectangle: the start position gives the start level and the other way round
        {derivedAfter<R>(square(), {}, R::kV0), "1.000"},
        {derivedAfter<R>(square(), {{R::kT0, "500"}}, R::kV0), "-1.000"},
        {derivedAfter<R>(byLevel, {{R::kV0, "0"}}, R::kT0), "500"},
        {derivedAfter<R>(byLevel, {{R::kV0, "1.5"}}, R::kT0), ""},
        {derivedAfter<R>(byLevel, {{R::kT1, "99999999999999999999"}, {R::kV0, "1"}}, R::kT0), ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "row " << i;
}

// ---- sine ------------------------------------------------------------------

TEST(SineFormTest, TheDelayUnitFollowsAndABadRepeatCountsOnce) {
    OpenForm<SineForm> x(10, 100000);
    x.form.setUnit(SineForm::kSinePeriod, doc::kUnitNs);
    EXPECT_EQ(x.form.field(SineForm::kDelay).unit, doc::kUnitNs);  // the empty delay unit follows
    x.set(SineForm::kSinePeriod, "40");
    x.set(SineForm::kDelay, "-10");
    x.set(SineForm::kRepeat, "x");
    EXPECT_EQ(x.form.field(SineForm::kRepeat).count, 1u);
    x.set(SineForm::kRepeat, "2");
    x.set(SineForm::kAmplitude, "0.5");
    x.set(Frame::kPeriodField, "1", doc::kUnitUs);
    EXPECT_TRUE(x.form.createEnabled());
}

TEST(SineFormTest, StartPhaseModeStartsOnThePhase) {
    OpenForm<SineForm> x(10, 100000,
                         {.period = 1000, .periodUnit = 0, .sinePeriod = 1000, .sinePeriodUnit = 0, .amplitude = 0.5,
                          .offset = 0.1});
    auto& f = x.form;
    f.setPhaseMode(SineForm::PhaseMode::StartPhase);
    EXPECT_FALSE(f.field(SineForm::kDelay).enabled);
    EXPECT_TRUE(f.field(SineForm::kPhase).enabled);
    x.set(SineForm::kPhase, "90");
    ASSERT_TRUE(f.createSegment());
    EXPECT_NEAR(f.segment()[0], 0.6, 1e-12);
    EXPECT_EQ(f.field(SineForm::kDelay).time, -250);
    x.set(SineForm::kPhase, "360");
    EXPECT_TRUE(x.marked(SineForm::kPhase));
    EXPECT_FALSE(f.createEnabled());
}

TEST(SineFormTest, SwitchingThePhaseModeKeepsTheDerivedValues) {
    OpenForm<SineForm> y(10, 100000, {.sinePeriod = 1000, .sinePeriodUnit = 0, .delay = 100, .delayUnit = 0});
    y.form.setPhaseMode(SineForm::PhaseMode::StartPhase);
    EXPECT_EQ(y.form.field(SineForm::kPhase).text, "-36.000");
    EXPECT_EQ(y.form.field(SineForm::kDelay).time, 100);
    EXPECT_EQ(y.form.field(SineForm::kDelay).text, "100");
}

TEST(SineFormTest, SettingsComeBackAfterApply) {
    // (a delay field without a unit never reads)
    const SineForm::Settings s{
        .period = 1000, .periodUnit = 0, .sinePeriod = 400, .sinePeriodUnit = 0, .delayUnit = 0, .amplitude = 1.0};
    OpenForm<SineForm> x(10, 100000, s);
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_EQ(x.form.settings(), s);
    EXPECT_EQ(x.track[10], 1.0);

    // A repeat count beyond 31 bits reopens as it was entered.
    x.set(SineForm::kRepeat, "3000000000");
    OpenForm<SineForm> again(10, 100000, x.form.settings());
    EXPECT_EQ(again.form.field(SineForm::kRepeat).text, "3000000000");
    EXPECT_FALSE(again.marked(SineForm::kRepeat));
    EXPECT_EQ(again.form.field(SineForm::kRepeat).count, 3000000000u);
}

// ---- rectangle ---------------------------------------------------------------

TEST(RectangleFormTest, TheCycleRuleHasNoMarker) {
    OpenForm<RectangleForm> x(10, 100000, square());
    EXPECT_TRUE(x.form.createEnabled());
    for (std::size_t i : {RectangleForm::kT0, RectangleForm::kT1, RectangleForm::kT2, RectangleForm::kT4})
        x.set(i, "0");
    EXPECT_FALSE(x.form.cycleValid());
    EXPECT_FALSE(x.form.createEnabled());
    for (std::size_t i : {RectangleForm::kT1, RectangleForm::kT2, RectangleForm::kT3, RectangleForm::kT4})
        EXPECT_FALSE(x.marked(i)) << i;
}

TEST(RectangleFormTest, TheStartPositionPicksTheFirstLevel) {
    OpenForm<RectangleForm> x(10, 100000, square());
    x.set(RectangleForm::kT0, "500");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.form.segment()[0], -1.0);
    x.set(RectangleForm::kT0, "-500");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.form.segment()[0], -1.0);
}

TEST(RectangleFormTest, VoltageModeGivesTheStartTime) {
    auto s = square();
    s.t1 = 1000;
    s.levelMode = 1;
    OpenForm<RectangleForm> x(10, 100000, s);
    auto& f = x.form;
    EXPECT_FALSE(f.field(RectangleForm::kT0).enabled);
    x.set(RectangleForm::kV0, "1.5");
    EXPECT_TRUE(x.marked(RectangleForm::kV0));
    EXPECT_FALSE(x.marked(RectangleForm::kT0));
    x.set(RectangleForm::kV0, "-1");
    ASSERT_TRUE(f.createSegment());
    EXPECT_EQ(f.segment()[0], -1.0);
    EXPECT_EQ(f.settings().levelMode, 1);

    // a t1 beyond 64 bits reads as the largest time (the start time derived
    // from it cannot be written: DerivedFields)
    x.set(RectangleForm::kT1, "99999999999999999999");
    x.set(RectangleForm::kV0, "1");
    EXPECT_TRUE(x.marked(RectangleForm::kT1));
    EXPECT_FALSE(f.createEnabled());
    // four durations whose sum passes 64 bits: the cycle is not wrapped round
    // to a short one that would refuse this start
    f.setLevelMode(RectangleForm::LevelMode::Position);
    for (std::size_t i : {RectangleForm::kT1, RectangleForm::kT2, RectangleForm::kT3, RectangleForm::kT4})
        x.set(i, "4700000000000000000");
    x.set(RectangleForm::kT0, "1000000000000000000");
    EXPECT_FALSE(x.marked(RectangleForm::kT0));
    EXPECT_FALSE(f.createEnabled());
}

TEST(RectangleFormTest, UnitOfOneTimeFieldFillsTheEmptyOnes) {
    OpenForm<RectangleForm> x(10, 100000, {.t2Unit = 2});
    x.form.setUnit(RectangleForm::kT1, doc::kUnitUs);
    std::vector<doc::TimeUnit> units;
    for (std::size_t i : {RectangleForm::kT0, RectangleForm::kT2, RectangleForm::kT3, RectangleForm::kT4})
        units.push_back(x.form.field(i).unit);
    EXPECT_EQ(units, (std::vector<doc::TimeUnit>{doc::kUnitUs, doc::kUnitMs, doc::kUnitUs, doc::kUnitUs}));
}

// ---- exponential, noise -------------------------------------------------------

TEST(ExpFormTest, SegmentAndStoredTimeConstant) {
    OpenForm<ExpForm> x(10, 1000);
    x.set(ExpForm::kV1, "1");
    x.set(ExpForm::kTau, "1", doc::kUnitUs);
    x.set(Frame::kPeriodField, "2", doc::kUnitUs);
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_NEAR(x.form.segment()[100], 1.0 - std::exp(-1.0), 1e-12);
    EXPECT_EQ(x.form.settings().timeConstant, 1000);
    EXPECT_EQ(x.form.settings().timeConstantUnit, 1);
}

TEST(NoiseFormTest, AmplitudeKindsAndConversion) {
    OpenForm<NoiseForm> x(10, 1000, {.sigma = 0.002});
    auto& f = x.form;
    EXPECT_EQ(f.field(NoiseForm::kAmplitude).text, "2.000");
    EXPECT_EQ(f.amplitudeUnit(), NoiseForm::AmplitudeUnit::Rms);
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "13.200");
    EXPECT_EQ(f.field(NoiseForm::kConverted).unitText, "mV p-p");
    x.set(NoiseForm::kAmplitude, "6.6");
    x.set(Frame::kPeriodField, "1000", doc::kUnitNs);
    ASSERT_TRUE(f.createSegment());
    f.setAmplitudeUnit(NoiseForm::AmplitudeUnit::PeakToPeak);  // same number, other kind
    EXPECT_EQ(f.state(), State::Stale);
    EXPECT_EQ(f.field(NoiseForm::kConverted).text, "1.000");
    EXPECT_EQ(f.field(NoiseForm::kConverted).unitText, "mV rms");
    EXPECT_DOUBLE_EQ(f.sigma(), 0.001);
    f.setAmplitudeUnit(NoiseForm::AmplitudeUnit::Rms);
    const std::pair<const char*, const char*> converted[] = {{"1", "6.600"}, {"0.0009", "0.006"}, {"?", ""}};
    for (const auto& [typed, shown] : converted) {
        x.set(NoiseForm::kAmplitude, typed);
        EXPECT_EQ(f.field(NoiseForm::kConverted).text, shown) << typed;
    }
}

TEST(NoiseFormTest, TwoCreationsDifferAndAFixedSeedRepeats) {
    OpenForm<NoiseForm> x(10, 1000, {.period = 10000, .periodUnit = 0, .sigma = 0.01});
    auto& f = x.form;
    auto segment = [&f] { return std::vector<double>(f.segment(), f.segment() + 1000); };
    ASSERT_TRUE(f.createSegment());
    const std::vector<double> first = segment();
    ASSERT_TRUE(f.createSegment());
    EXPECT_NE(segment(), first);
    f.setSeed(7u);
    ASSERT_TRUE(f.createSegment());
    const std::vector<double> seeded = segment();
    ASSERT_TRUE(f.createSegment());
    EXPECT_EQ(segment(), seeded);
    EXPECT_EQ(f.lastSeed(), 7u);
}

std::set<std::string> labelsOf(const AnalogEditFrame& f) {
    std::set<std::string> names;
    for (const auto& l : f.sketchList().labels()) names.insert(l.text);
    return names;
}

TEST(Sketches, EachShowsItsParameterNames) {
    OpenForm<SineForm> sine(10, 100000);
    OpenForm<RectangleForm> rect(10, 100000);
    OpenForm<DcForm> dc(10, 100000);
    OpenForm<RampForm> ramp(10, 100000);
    OpenForm<ExpForm> exp(10, 100000);
    EXPECT_EQ(labelsOf(sine.form), (std::set<std::string>{"v0", "v1", "t0", "t1"}));
    EXPECT_EQ(labelsOf(rect.form), (std::set<std::string>{"t0", "t1", "t2", "t3", "t4", "v0", "v1", "v2", "Start"}));
    EXPECT_EQ(labelsOf(dc.form), (std::set<std::string>{"v0"}));
    EXPECT_EQ(labelsOf(ramp.form), (std::set<std::string>{"v0", "v1"}));
    EXPECT_EQ(labelsOf(exp.form), (std::set<std::string>{"v0", "v1"}));
    // the DC sketch: 8,500 samples of 1.2 V, on the top row of its frame
    const PreviewColumns& c = dc.form.sketchColumns();
    ASSERT_GT(c.columns(), 0);
    for (int col = 0; col < c.columns(); ++col) ASSERT_EQ(c.minY[col], c.rect.top) << col;
    // the sketch does not follow the fields
    const std::vector<int> before = sine.form.sketchColumns().lastY;
    sine.set(SineForm::kAmplitude, "0.1");
    EXPECT_EQ(sine.form.sketchColumns().lastY, before);
}

}  // namespace
}  // namespace lyr::analog
