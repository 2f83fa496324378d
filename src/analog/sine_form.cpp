#include <cmath>
#include <string>

#include "analog/analog_forms.h"
#include "forms/form_fields.h"
#include "analog/generators.h"
#include "document/quantities.h"

namespace lyr::analog {

namespace doc = lyr::document;
using forms::countField;
using forms::realField;
using forms::timeField;

SineForm::SineForm(Prompter& prompter)
    : GeneratorForm(prompter, "正弦波の作成", "正弦波作成のためのメモリが確保できませんでした") {
    addField(timeField("sine-period", "周期", "(t1)："));
    addField(timeField("delay", "遅延", "(t0)：", 0));
    addField(realField("phase", "開始位相", "：", "度", 1));
    addField(realField("amplitude", "振幅", "(v1)：", "V"));
    addField(realField("offset", "ｵﾌｾｯﾄ", "(v0)：", "V"));
    addField(countField("repeat", "繰り返し", "：", "回"));
}

void SineForm::fillKindFields(const Settings& s) {
    fillTime(f(kSinePeriod), s.sinePeriod, s.sinePeriodUnit);
    fillTime(f(kDelay), s.delay, s.delayUnit);
    writeVolts(f(kPhase), s.startPhase);
    writeVolts(f(kAmplitude), s.amplitude);
    writeVolts(f(kOffset), s.offset);
    fillCount(f(kRepeat), s.repeatCount);
    setRadio(static_cast<int>(s.phaseMode == 1 ? PhaseMode::StartPhase : PhaseMode::Delay));
    radioChanged();
}

void SineForm::radioChanged() {
    f(kDelay).enabled = phaseMode() == PhaseMode::Delay;
    f(kPhase).enabled = phaseMode() == PhaseMode::StartPhase;
}

void SineForm::unitChanged(std::size_t field) {
    if (field == kSinePeriod && f(kDelay).unit == doc::kUnitNone) f(kDelay).unit = f(kSinePeriod).unit;
    if (field == kDelay && f(kSinePeriod).unit == doc::kUnitNone) f(kSinePeriod).unit = f(kDelay).unit;
}

void SineForm::testDelay() {
    FormField& d = f(kDelay);
    const std::int64_t sp = f(kSinePeriod).time;
    if (phaseMode() != PhaseMode::Delay) {
        setValid(d, true);
        return;
    }
    // sp > 0 first: a negative sine period admits no delay, and -sp of the
    // most negative time would overflow.
    const bool valid = readTime(d) && ((sp > 0 && -sp < d.time && d.time < sp) || (sp == 0 && d.time == 0));
    setValid(d, valid);
    if (!valid) {
        f(kPhase).text.clear();
        return;
    }
    long double phase = 0;
    if (sp != 0 && d.time != 0)
        phase = static_cast<long double>(d.time) * -360.0L / static_cast<long double>(sp);
    writeVolts(f(kPhase), static_cast<double>(phase));
}

void SineForm::testPhase() {
    FormField& p = f(kPhase);
    if (phaseMode() != PhaseMode::StartPhase) {
        setValid(p, true);
        return;
    }
    const bool valid = readReal(p) && p.real > -360.0 && p.real < 360.0;
    setValid(p, valid);
    FormField& d = f(kDelay);
    if (!valid) {
        d.text.clear();
        d.time = 0;
        return;
    }
    const long double x = -static_cast<long double>(p.real) * static_cast<long double>(f(kSinePeriod).time) / 360.0L;
    const auto delay = static_cast<std::int64_t>(p.real >= 0 ? std::trunc(x - 0.5L) : std::trunc(x + 0.5L));
    if (d.unit == doc::kUnitNone) {
        d.text = doc::formatTimeAuto(delay, d.unit);
        d.time = delay;
        return;
    }
    std::string text;
    if (doc::formatTimeIn(delay, d.unit, text)) {
        d.text = text;
        d.time = delay;
    } else {
        d.text.clear();
        d.unit = doc::kUnitNone;
        d.time = 0;
    }
}

void SineForm::testKindFields() {
    const std::int64_t ts = samplingTime();
    FormField& sp = f(kSinePeriod);
    setValid(sp, readTime(sp) && sp.time >= 4 * ts);
    FormField& a = f(kAmplitude);
    setValid(a, readReal(a) && (a.real <= -0.000001 || a.real >= 0.000001));
    if (phaseMode() == PhaseMode::StartPhase) {
        testPhase();
        testDelay();
    } else {
        testDelay();
        testPhase();
    }
    setValid(f(kOffset), readReal(f(kOffset)));
    testCount(f(kRepeat));
}

bool SineForm::generate(double* segment) {
    return generateSine(segment, {.span = span(),
                                  .sinePeriod = field(kSinePeriod).time,
                                  .delay = field(kDelay).time,
                                  .amplitude = field(kAmplitude).real,
                                  .offset = field(kOffset).real,
                                  .repeatCount = field(kRepeat).count});
}

void SineForm::storeFields(Settings& s) const {
    s.sinePeriod = field(kSinePeriod).time;
    s.sinePeriodUnit = field(kSinePeriod).unit;
    s.delay = field(kDelay).time;
    s.delayUnit = field(kDelay).unit;
    s.startPhase = field(kPhase).real;
    s.amplitude = field(kAmplitude).real;
    s.offset = field(kOffset).real;
    s.repeatCount = storedCount(field(kRepeat));
    s.phaseMode = static_cast<std::int32_t>(phaseMode());
}

void SineForm::buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) {
    // Fixed example: 8.5 ms at 1 us, a 4 ms sine delayed by 0.5 ms.
    constexpr std::int64_t kSpan = 8500000, kTs = 1000, kSine = 4000000, kDelay0 = 500000;
    constexpr double kAmp = 0.8, kOff = 0.15;
    generateSine(samples, {.span = {kSpan, kTs, 0, kSpan},
                           .sinePeriod = kSine,
                           .delay = kDelay0,
                           .amplitude = kAmp,
                           .offset = kOff,
                           .repeatCount = 3});
    count = kSpan / kTs;
    const double n = static_cast<double>(count);
    auto x = [&](std::int64_t t) { return sketchXOf(static_cast<double>(t / kTs), n); };
    const int yOff = sketchYOf(kOff), yTop = sketchYOf(kOff + kAmp);
    list.addLine(0, yOff, 1000, yOff, 0x808080);                              // offset level
    list.addLabel("v0", 970, yOff - 70, SketchAlign::Right);
    const int xPeak = x(kDelay0 + kSine / 4);
    list.addLine(xPeak, yTop, xPeak, yOff, 0xFF0000, 5);                      // amplitude
    list.addLabel("v1", xPeak + 60, (yOff + yTop) / 2, SketchAlign::Left, 0xFF0000);
    list.addLine(x(0), yOff + 60, x(kDelay0), yOff + 60, 0x008000, 6);        // delay
    list.addLabel("t0", x(kDelay0) + 20, yOff + 120, SketchAlign::Left, 0x008000);
    const int yT1 = sketchYOf(kOff - kAmp) + 70;
    list.addLine(x(kDelay0), yT1, x(kDelay0 + kSine), yT1, 0x008000, 6);      // sine period
    list.addLine(x(kDelay0), yOff, x(kDelay0), yT1 + 30, 0xA0A0A0);
    list.addLine(x(kDelay0 + kSine), yOff, x(kDelay0 + kSine), yT1 + 30, 0xA0A0A0);
    list.addLabel("t1", (x(kDelay0) + x(kDelay0 + kSine)) / 2, yT1 - 20, SketchAlign::Centre, 0x008000);
}

}  // namespace lyr::analog
