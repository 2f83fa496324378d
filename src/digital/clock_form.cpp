#include "digital/clock_form.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace lyr::digital {

using forms::countField;
using forms::timeField;

std::int64_t clockPeriod(std::int64_t t1, std::int64_t t2, std::uint32_t repeat, std::int64_t totalTime) {
    const __int128 p = (static_cast<__int128>(t1) + t2) * repeat;
    if (p > totalTime) return totalTime;
    return static_cast<std::int64_t>(p);
}

void fillClock(std::uint8_t* segment, std::size_t n, std::size_t n1, std::uint8_t level1, std::size_t n2,
               std::uint8_t level2) {
    const std::size_t cycle = n1 + n2;
    if (cycle == 0) {
        std::memset(segment, 0, n);
        return;
    }
    // One cycle, then copies of what is written so far: the filled part is
    // always whole cycles, so each copy continues the pattern.
    const std::size_t a = std::min(n1, n);
    std::memset(segment, level1, a);
    std::memset(segment + a, level2, std::min(n2, n - a));
    std::size_t filled = std::min(cycle, n);
    while (filled < n) {
        const std::size_t k = std::min(filled, n - filled);
        std::memcpy(segment + filled, segment, k);
        filled += k;
    }
}

ClockForm::ClockForm(Prompter& prompter) : DigitalEditFrame(prompter) {
    addField(timeField("t1", "時間", "(t1)："));
    addField(timeField("t2", "時間", "(t2)："));
    addField(countField("repeat", "繰り返し", "：", "回"));
}

void ClockForm::load(const document::EditRequest<Settings>& request) {
    settings_ = request.settings;
    channel_ = request.channel >= 0 && request.channel < kChannels ? request.channel : 0;
}

void ClockForm::store(document::EditRequest<Settings>& request) const { request.settings = settings(); }

ClockForm::Settings ClockForm::settings() const {
    Settings s = settings_;
    s.t1 = field(kT1).time;
    s.t2 = field(kT2).time;
    s.unit1 = field(kT1).unit;
    s.unit2 = field(kT2).unit;
    s.level1 = static_cast<std::uint8_t>(level1_);
    s.level2 = static_cast<std::uint8_t>(level2_);
    s.repeat = field(kRepeat).count;
    s.channel = channel_;
    return s;
}

void ClockForm::fillFields() {
    fillTime(f(kT1), settings_.t1, settings_.unit1);
    fillTime(f(kT2), settings_.t2, settings_.unit2);
    f(kRepeat).text = std::to_string(settings_.repeat);
    level1_ = settings_.level1;
    level2_ = settings_.level2;
}

void ClockForm::setLevel1(int level) {
    if (level != 0 && level != 1) return;
    if (level1_ == level && level2_ == 1 - level) return;
    level1_ = level;
    level2_ = 1 - level;
    markSegmentStale();
    refreshControls();
}

void ClockForm::unitChanged(std::size_t i) {
    if (i == kT1 && f(kT2).unit < 0) f(kT2).unit = f(kT1).unit;
    if (i == kT2 && f(kT1).unit < 0) f(kT1).unit = f(kT2).unit;
}

void ClockForm::testKindFields() {
    const std::int64_t t = totalTime();
    for (std::size_t i : {kT1, kT2}) {
        FormField& x = f(i);
        setValid(x, readTime(x) && x.time >= 0 && x.time <= t);
    }
    FormField& r = f(kRepeat);
    setValid(r, readCount(r) && r.count != 0);
    const std::int64_t p = clockPeriod(field(kT1).time, field(kT2).time, r.count, t);
    setPeriod(p, p >= samplingTime() && p <= t);
}

bool ClockForm::kindFieldsValid() const {
    return field(kT1).valid && field(kT2).valid && field(kRepeat).valid && periodValid();
}

bool ClockForm::build() {
    bool ok = readTime(f(kT1));
    ok = readTime(f(kT2)) && ok;
    ok = readCount(f(kRepeat)) && ok;
    if (!ok) return false;
    std::vector<GridAdjustment> changes;
    const int levels[2] = {level1_, level2_};
    for (int row = 0; row < 2; ++row)
        truncateToGrid(f(row == 0 ? kT1 : kT2), levels[row] == 1 ? "レベル 1：時間" : "レベル 0：時間", changes);
    tellAdjustments(changes);
    const std::int64_t ts = samplingTime(), t1 = field(kT1).time, t2 = field(kT2).time;
    const std::int64_t p = clockPeriod(t1, t2, field(kRepeat).count, totalTime());
    setPeriod(p, p >= ts && p <= totalTime());
    // Negative phases have no samples to write.
    if (!periodValid() || t1 < 0 || t2 < 0 || (level1_ != 0 && level1_ != 1) || (level2_ != 0 && level2_ != 1))
        return false;
    fillClock(buffer(0), static_cast<std::size_t>(p / ts), static_cast<std::size_t>(t1 / ts),
              static_cast<std::uint8_t>(level1_), static_cast<std::size_t>(t2 / ts),
              static_cast<std::uint8_t>(level2_));
    return true;
}

}  // namespace lyr::digital
