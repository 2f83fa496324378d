#include <algorithm>
#include <cmath>
#include <limits>
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

RectangleForm::RectangleForm(Prompter& prompter)
    : GeneratorForm(prompter, "矩形波の作成", "矩形波作成のためのメモリが確保できませんでした") {
    addField(timeField("t1", "時間", "(t1)："));
    addField(timeField("t2", "時間", "(t2)："));
    addField(timeField("t3", "時間", "(t3)："));
    addField(timeField("t4", "時間", "(t4)："));
    addField(realField("v1", "電圧", "(v1)：", "V"));
    addField(realField("v2", "電圧", "(v2)：", "V"));
    addField(timeField("t0", "時間", "(t0)：", 0));
    addField(realField("v0", "電圧", "(v0)：", "V", 1));
    addField(countField("repeat", "繰り返し", "：", "回"));
}

void RectangleForm::fillKindFields(const Settings& s) {
    const std::pair<std::size_t, std::pair<std::int64_t, std::int32_t>> times[] = {
        {kT0, {s.t0, s.t0Unit}}, {kT1, {s.t1, s.t1Unit}}, {kT2, {s.t2, s.t2Unit}},
        {kT3, {s.t3, s.t3Unit}}, {kT4, {s.t4, s.t4Unit}}};
    for (const auto& [i, tv] : times) fillTime(f(i), tv.first, tv.second);
    writeVolts(f(kV0), s.v0);
    writeVolts(f(kV1), s.v1);
    writeVolts(f(kV2), s.v2);
    fillCount(f(kRepeat), s.repeatCount);
    setRadio(static_cast<int>(s.levelMode == 1 ? LevelMode::Level : LevelMode::Position));
    radioChanged();
}

void RectangleForm::radioChanged() {
    f(kT0).enabled = levelMode() == LevelMode::Position;
    f(kV0).enabled = levelMode() == LevelMode::Level;
}

void RectangleForm::unitChanged(std::size_t field) {
    if (field < kT1 || field > kT0 || field == kV1 || field == kV2) return;
    const doc::TimeUnit unit = f(field).unit;
    if (unit == doc::kUnitNone) return;
    for (std::size_t i : {kT0, kT1, kT2, kT3, kT4})
        if (f(i).unit == doc::kUnitNone) f(i).unit = unit;
}

std::int64_t RectangleForm::cycle() const {
    // Summed wide and held within +-(2^63 - 1): the durations may be any
    // readable time while their fields are invalid.
    const __int128 sum = static_cast<__int128>(field(kT1).time) + field(kT2).time + field(kT3).time +
                         field(kT4).time;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(std::clamp<__int128>(sum, -kMax, kMax));
}

void RectangleForm::testKindFields() {
    const std::int64_t ts = samplingTime(), total = totalTime();
    auto edge = [&](std::size_t i) {
        FormField& t = f(i);
        setValid(t, readTime(t) && (t.time == 0 || (2 * ts <= t.time && t.time <= total)));
    };
    auto hold = [&](std::size_t i) {
        FormField& t = f(i);
        setValid(t, readTime(t) && (t.time == 0 || (ts <= t.time && t.time <= total)));
    };
    edge(kT1);
    hold(kT2);
    edge(kT3);
    hold(kT4);
    FormField& v1 = f(kV1);
    FormField& v2 = f(kV2);
    setValid(v1, readReal(v1));
    setValid(v2, readReal(v2));
    if (v1.real == v2.real) {
        setValid(v1, false);
        setValid(v2, false);
    }
    const std::int64_t c = cycle();
    FormField& t0 = f(kT0);
    FormField& v0 = f(kV0);
    if (levelMode() == LevelMode::Level) {
        t0.markerShown = false;
        const double lo = std::min(v1.real, v2.real), hi = std::max(v1.real, v2.real);
        const bool valid = readReal(v0) && v0.real >= lo && v0.real <= hi;
        setValid(v0, valid);
        std::string text;
        if (valid) {
            double x = 0.0;
            if (std::fabs(v1.real - v2.real) >= 0.000001)
                x = (v0.real - v2.real) * static_cast<double>(field(kT1).time) / (v1.real - v2.real) + 0.5;
            // A position that is no 64-bit time (an out-of-range t1, levels
            // whose difference overflows) cannot be written: the field is emptied.
            if (x > -9.2e18 && x < 9.2e18) {
                const auto t = static_cast<std::int64_t>(x);
                t0.time = t;
                if (!doc::formatTimeIn(t, t0.unit, text)) text.clear();
            }
        }
        t0.text = text;
        t0.valid = readTime(t0) && -c < t0.time && t0.time < c;
    } else {
        v0.markerShown = false;
        const bool valid = readTime(t0) && -c < t0.time && t0.time < c;
        setValid(t0, valid);
        if (valid) {
            // The readout shows the level the first sample of the segment gets.
            const std::int64_t p = t0.time < 0 ? t0.time + c : t0.time;
            writeVolts(v0, rectangleLevelAt(p, field(kT1).time, field(kT2).time, field(kT3).time, v1.real,
                                            v2.real));
            v0.valid = true;
        } else {
            v0.text.clear();
            v0.valid = false;
        }
    }
    testCount(f(kRepeat));
    cycleValid_ = c >= ts;
}

bool RectangleForm::kindFieldsValid() const {
    for (std::size_t i : {kT1, kT2, kT3, kT4, kV1, kV2, kRepeat})
        if (!field(i).valid) return false;
    if (!field(levelMode() == LevelMode::Level ? kV0 : kT0).valid) return false;
    return cycleValid_;
}

bool RectangleForm::generate(double* segment) {
    return generateRectangle(segment, {.span = span(),
                                       .t0 = field(kT0).time,
                                       .t1 = field(kT1).time,
                                       .t2 = field(kT2).time,
                                       .t3 = field(kT3).time,
                                       .t4 = field(kT4).time,
                                       .v1 = field(kV1).real,
                                       .v2 = field(kV2).real,
                                       .repeatCount = field(kRepeat).count});
}

void RectangleForm::storeFields(Settings& s) const {
    s.t0 = field(kT0).time;
    s.t0Unit = field(kT0).unit;
    s.t1 = field(kT1).time;
    s.t1Unit = field(kT1).unit;
    s.t2 = field(kT2).time;
    s.t2Unit = field(kT2).unit;
    s.t3 = field(kT3).time;
    s.t3Unit = field(kT3).unit;
    s.t4 = field(kT4).time;
    s.t4Unit = field(kT4).unit;
    s.v0 = field(kV0).real;
    s.v1 = field(kV1).real;
    s.v2 = field(kV2).real;
    s.repeatCount = storedCount(field(kRepeat));
    s.levelMode = static_cast<std::int32_t>(levelMode());
}

void RectangleForm::buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) {
    // Fixed example: a 6 ms trapezoid cycle drawn from its own beginning over
    // 8.5 ms at 1 us; the segment's start is marked inside the first edge.
    constexpr std::int64_t kSpan = 8500000, kTs = 1000;
    constexpr std::int64_t t1 = 1000000, t2 = 2000000, t3 = 1000000, t4 = 2000000, t0 = 500000;
    constexpr double v1 = 0.55, v2 = -0.55;
    generateRectangle(samples, {.span = {kSpan, kTs, 0, kSpan}, .t1 = t1, .t2 = t2, .t3 = t3, .t4 = t4,
                                .v1 = v1, .v2 = v2, .repeatCount = 2});
    count = kSpan / kTs;
    const double n = static_cast<double>(count);
    auto x = [&](std::int64_t t) { return sketchXOf(static_cast<double>(t / kTs), n); };
    const int y1 = sketchYOf(v1), y2 = sketchYOf(v2);
    // the four parts of the cycle, dimensioned along the top
    const std::int64_t marks[] = {0, t1, t1 + t2, t1 + t2 + t3, t1 + t2 + t3 + t4};
    const char* names[] = {"t1", "t2", "t3", "t4"};
    for (int i = 0; i < 4; ++i) {
        list.addLine(x(marks[i]), 150, x(marks[i + 1]), 150, 0x008000, 6);
        list.addLabel(names[i], (x(marks[i]) + x(marks[i + 1])) / 2, 70, SketchAlign::Centre, 0x008000);
    }
    list.addLine(x(marks[4]), 110, x(marks[4]), y2, 0xA0A0A0);
    list.addLabel("v1", x(t1 + t2 / 2), y1 + 80, SketchAlign::Centre, 0xFF0000);
    list.addLabel("v2", x(marks[3] + t4 / 2), y2 - 80, SketchAlign::Centre, 0xFF0000);
    const double level0 = rectangleLevelAt(t0, t1, t2, t3, v1, v2);
    const int xs = x(t0), ys = sketchYOf(level0);
    list.addLine(xs, 220, xs, 960, 0x0000A0);  // where the segment begins
    list.addLabel("Start", xs + 15, 880, SketchAlign::Left, 0x0000A0);
    list.addLine(x(0), y2 + 60, xs, y2 + 60, 0x008000, 6);
    list.addLabel("t0", (x(0) + xs) / 2, y2 + 150, SketchAlign::Centre, 0x008000);  // under its dimension
    list.addLabel("v0", xs + 20, ys, SketchAlign::Left, 0xFF0000);
}

}  // namespace lyr::analog
