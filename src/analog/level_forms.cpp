// The DC, ramp and exponential forms: non-periodic generators that fill the
// whole period.
#include <string>

#include "analog/analog_forms.h"
#include "forms/form_fields.h"
#include "analog/generators.h"

namespace lyr::analog {

using forms::realField;
using forms::timeField;

namespace {

// v0 and v1 must read and differ (exact comparison); equal values mark both.
void testDistinctLevels(FormField& v0, FormField& v1, bool read0, bool read1) {
    const bool distinct = v0.real != v1.real;
    v0.valid = read0 && distinct;
    v0.markerShown = !v0.valid;
    v1.valid = read1 && distinct;
    v1.markerShown = !v1.valid;
}

}  // namespace

// ---- DC --------------------------------------------------------------------

DcForm::DcForm(Prompter& prompter)
    : GeneratorForm(prompter, "直流波形の作成", "直流波形作成のためのメモリが確保できませんでした") {
    addField(realField("v0", "直流値", "(v0)：", "V"));
}

void DcForm::fillKindFields(const Settings& s) { writeVolts(f(kV0), s.v0); }
void DcForm::storeFields(Settings& s) const { s.v0 = field(kV0).real; }
void DcForm::testKindFields() { setValid(f(kV0), readReal(f(kV0))); }

bool DcForm::generate(double* segment) { return generateDc(segment, {.span = span(), .v0 = field(kV0).real}); }

void DcForm::buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) {
    constexpr std::int64_t kSpan = 8500000, kTs = 1000;
    generateDc(samples, {.span = {kSpan, kTs, 0, kSpan}, .v0 = 1.2});
    count = kSpan / kTs;
    const int y0 = sketchYOf(0.0);
    list.addLine(0, y0, 1000, y0, 0x808080);
    list.addLine(500, sketchYOf(1.2) + 10, 500, y0, 0xFF0000, 5);  // from 0 V up to the level
    list.addLabel("v0", 540, (y0 + sketchYOf(1.2)) / 2, SketchAlign::Left, 0xFF0000);
}

// ---- ramp ------------------------------------------------------------------

RampForm::RampForm(Prompter& prompter)
    : GeneratorForm(prompter, "ランプ波形の作成", "ランプ波形作成のためのメモリが確保できませんでした") {
    addField(realField("v0", "初期値", "(v0)：", "V"));
    addField(realField("v1", "最終値", "(v1)：", "V"));
}

void RampForm::fillKindFields(const Settings& s) {
    writeVolts(f(kV0), s.v0);
    writeVolts(f(kV1), s.v1);
}

void RampForm::storeFields(Settings& s) const {
    s.v0 = field(kV0).real;
    s.v1 = field(kV1).real;
}

void RampForm::testKindFields() {
    const bool r0 = readReal(f(kV0));
    const bool r1 = readReal(f(kV1));
    testDistinctLevels(f(kV0), f(kV1), r0, r1);
}

bool RampForm::generate(double* segment) {
    return generateRamp(segment, {.span = span(), .v0 = field(kV0).real, .v1 = field(kV1).real});
}

void RampForm::buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) {
    constexpr std::int64_t kSpan = 8500000, kTs = 1000;
    constexpr double v0 = -0.8, v1 = 0.8;
    generateRamp(samples, {.span = {kSpan, kTs, 0, kSpan}, .v0 = v0, .v1 = v1});
    count = kSpan / kTs;
    list.addLine(0, sketchYOf(v0), 120, sketchYOf(v0), 0x808080);
    list.addLabel("v0", 60, sketchYOf(v0) + 80, SketchAlign::Left, 0xFF0000);
    list.addLine(880, sketchYOf(v1), 1000, sketchYOf(v1), 0x808080);
    list.addLabel("v1", 930, sketchYOf(v1) - 80, SketchAlign::Right, 0xFF0000);
}

// ---- exponential -----------------------------------------------------------

ExpForm::ExpForm(Prompter& prompter)
    : GeneratorForm(prompter, "指数関数波形の作成", "指数関数波形作成のためのメモリが確保できませんでした") {
    addField(realField("v0", "初期値", "(v0)：", "V"));
    addField(realField("v1", "最終値", "(v1)：", "V"));
    addField(timeField("tau", "時定数", "(τ)："));
}

void ExpForm::fillKindFields(const Settings& s) {
    writeVolts(f(kV0), s.v0);
    writeVolts(f(kV1), s.v1);
    fillTime(f(kTau), s.timeConstant, s.timeConstantUnit);
}

void ExpForm::storeFields(Settings& s) const {
    s.timeConstant = field(kTau).time;
    s.timeConstantUnit = field(kTau).unit;
    s.v0 = field(kV0).real;
    s.v1 = field(kV1).real;
}

void ExpForm::testKindFields() {
    const bool r0 = readReal(f(kV0));
    const bool r1 = readReal(f(kV1));
    testDistinctLevels(f(kV0), f(kV1), r0, r1);
    FormField& tau = f(kTau);
    setValid(tau, readTime(tau) && tau.time > 0);
}

bool ExpForm::generate(double* segment) {
    return generateExponential(
        segment, {.span = span(), .timeConstant = field(kTau).time, .v0 = field(kV0).real, .v1 = field(kV1).real});
}

void ExpForm::buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) {
    constexpr std::int64_t kSpan = 8500000, kTs = 1000, kTau0 = 1500000;
    constexpr double v0 = -0.8, v1 = 0.8;
    generateExponential(samples, {.span = {kSpan, kTs, 0, kSpan}, .timeConstant = kTau0, .v0 = v0, .v1 = v1});
    count = kSpan / kTs;
    list.addLine(0, sketchYOf(v1), 1000, sketchYOf(v1), 0xA0A0A0);  // the level approached
    list.addLabel("v1", 940, sketchYOf(v1) + 80, SketchAlign::Right, 0xFF0000);
    list.addLabel("v0", 40, sketchYOf(v0), SketchAlign::Left, 0xFF0000);
}

// ---- random noise ----------------------------------------------------------

NoiseForm::NoiseForm(Prompter& prompter)
    : GeneratorForm(prompter, "ランダムノイズの作成", "ランダムノイズ作成のためのメモリが確保できませんでした") {
    FormField amplitude = realField("amplitude", "振幅", "：", "");
    amplitude.choices = {"mV rms", "mV p-p"};
    addField(amplitude);
    FormField converted;
    converted.kind = FieldKind::Readout;
    converted.key = "converted";
    converted.label = "換算値";
    converted.enabled = false;
    addField(converted);
}

bool NoiseForm::allocateWork() {
    table_ = allocator().doubles(kNoiseTableSize);
    return table_ != nullptr;
}

void NoiseForm::fillKindFields(const Settings& s) {
    f(kAmplitude).choice = static_cast<int>(AmplitudeUnit::Rms);
    writeVolts(f(kAmplitude), s.sigma * 1000.0);
}

void NoiseForm::storeFields(Settings& s) const { s.sigma = sigma_; }

void NoiseForm::testKindFields() {
    FormField& a = f(kAmplitude);
    FormField& c = f(kConverted);
    const bool peakToPeak = amplitudeUnit() == AmplitudeUnit::PeakToPeak;
    c.unitText = peakToPeak ? "mV rms" : "mV p-p";
    if (!readReal(a)) {
        setValid(a, false);
        c.text.clear();
        sigma_ = 0.0;
        return;
    }
    const double rms = peakToPeak ? a.real / 6.6 : a.real;
    writeVolts(c, peakToPeak ? rms : a.real * 6.6);
    sigma_ = rms / 1000.0;
    setValid(a, sigma_ >= 0.000001);
}

bool NoiseForm::readKindFields() {
    FormField& a = f(kAmplitude);
    if (!readReal(a)) return false;
    sigma_ = (amplitudeUnit() == AmplitudeUnit::PeakToPeak ? a.real / 6.6 : a.real) / 1000.0;
    return true;
}

bool NoiseForm::generate(double* segment) {
    lastSeed_ = seed_ ? *seed_ : clockNoiseSeed();
    return generateNoise(segment, {.span = span(), .sigma = sigma_, .seed = lastSeed_}, table_.get());
}

}  // namespace lyr::analog
