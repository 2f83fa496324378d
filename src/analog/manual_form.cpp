#include "analog/manual_form.h"

#include <algorithm>
#include <cmath>

#include "forms/form_fields.h"

namespace lyr::analog {

namespace doc = lyr::document;
using forms::realField;
using forms::timeField;

void modifySamples(double* x, std::size_t n, ModifyOperation op, double value) {
    switch (op) {
    case ModifyOperation::Gain:
        for (std::size_t i = 0; i < n; ++i) x[i] *= value;
        break;
    case ModifyOperation::LevelShift:
        for (std::size_t i = 0; i < n; ++i) x[i] += value;
        break;
    case ModifyOperation::DcRemoval: {
        if (n == 0) break;
        long double sum = 0.0L;
        for (std::size_t i = 0; i < n; ++i) sum += x[i];
        const auto mean = static_cast<double>(sum / static_cast<long double>(n));
        for (std::size_t i = 0; i < n; ++i) x[i] -= mean;
        break;
    }
    case ModifyOperation::UpperLimit:
        for (std::size_t i = 0; i < n; ++i) x[i] = x[i] > value ? value : x[i];
        break;
    case ModifyOperation::LowerLimit:
        for (std::size_t i = 0; i < n; ++i) x[i] = x[i] < value ? value : x[i];
        break;
    case ModifyOperation::None: break;
    }
}

void strokeSamples(double* x, std::int64_t count, const PlotRect& plot, int x1, int y1, int x2, int y2) {
    const double perColumn = static_cast<double>(count) / static_cast<double>(plot.width());
    const double rowsPerVolt = static_cast<double>(plot.bottom - plot.top) / 2.4;
    auto indexOf = [&](int x) { return static_cast<std::int64_t>(std::trunc(perColumn * (x - plot.left) + 0.5)); };
    auto voltsOf = [&](int y) { return 1.2 - static_cast<double>(y - plot.top) / rowsPerVolt; };
    const std::int64_t i1 = indexOf(x1), i2 = indexOf(x2);
    const double v1 = voltsOf(y1), v2 = voltsOf(y2);
    const std::int64_t k = i2 - i1 + 1;
    const double step = (v2 - v1) / static_cast<double>(k);
    // Only the part of the line over the copied samples is written.
    const std::int64_t from = std::max<std::int64_t>(0, -i1), to = std::min<std::int64_t>(k, count - i1);
    for (std::int64_t j = from; j < to; ++j) x[i1 + j] = v1 + step * static_cast<double>(j);
}

ManualForm::ManualForm(Prompter& prompter) : AnalogEditFrame(prompter) {
    FormField& copyPeriod = f(kCopyPeriod);
    copyPeriod.key = "copy-period";
    copyPeriod.label = "ｺﾋﾟｰ期間";
    addField(timeField("copy-start", "ｺﾋﾟｰ開始", "："));
    addField(realField("gain", "増幅", "", "倍", 0));
    addField(realField("shift", "レベルシフト", "", "V", 1));
    FormField dc;
    dc.kind = FieldKind::Option;
    dc.key = "dc";
    dc.label = "直流分除去";
    dc.radio = 2;
    addField(dc);
    addField(realField("upper", "上限リミッタ", "", "V", 3));
    addField(realField("lower", "下限リミッタ", "", "V", 4));
}

bool ManualForm::allocateWork() {
    reference_ = allocator().doubles(kCapacity);
    return reference_ != nullptr;
}

void ManualForm::fillFields() {
    fillTime(f(kCopyStart), start(), labelUnit());
    fillTime(f(kCopyPeriod), settings_.copyPeriod, settings_.copyPeriodUnit);
    writeVolts(f(kGain), settings_.gainFactor);
    writeVolts(f(kShift), settings_.levelShift);
    writeVolts(f(kUpper), settings_.upperLimit);
    writeVolts(f(kLower), settings_.lowerLimit);
    const std::int32_t op = settings_.modifyOperation;
    setRadio(op >= 0 && op <= 4 ? op : -1);
    copyLocked_ = false;
}

ManualForm::Settings ManualForm::settings() const {
    Settings s;
    s.copyPeriod = period();
    s.copyPeriodUnit = periodUnit();
    s.modifyOperation = static_cast<std::int32_t>(operation());
    s.gainFactor = field(kGain).real;
    s.levelShift = field(kShift).real;
    s.upperLimit = field(kUpper).real;
    s.lowerLimit = field(kLower).real;
    return s;
}

void ManualForm::testKindFields() {
    const std::int64_t ts = samplingTime();
    FormField& cs = f(kCopyStart);
    setValid(cs, readTime(cs) && cs.time >= 0 && cs.time <= totalTime() - ts);
    // A parameter that does not read takes its neutral value.
    const std::pair<std::size_t, double> params[] = {{kGain, 1.0}, {kShift, 0.0}, {kUpper, 1.0}, {kLower, -1.0}};
    for (const auto& [i, fallback] : params) {
        const bool read = readReal(f(i));
        if (!read) f(i).real = fallback;
        setValid(f(i), read);
    }
    setValid(f(kDc), true);
    cs.enabled = f(kCopyPeriod).enabled = !copyLocked_;

    const bool copy = hasWorkingCopy();
    const ModifyOperation op = operation();
    const std::pair<std::size_t, ModifyOperation> owners[] = {{kGain, ModifyOperation::Gain},
                                                              {kShift, ModifyOperation::LevelShift},
                                                              {kUpper, ModifyOperation::UpperLimit},
                                                              {kLower, ModifyOperation::LowerLimit}};
    bool opFieldValid = op == ModifyOperation::DcRemoval;
    for (const auto& [i, owner] : owners) {
        f(i).enabled = copy && op == owner;
        if (op == owner) opFieldValid = field(i).valid;
    }
    modifyEnabled_ = copy && opFieldValid;

    copyStartLabel_.clear();
    copyEndLabel_.clear();
    const FormField& cp = field(kCopyPeriod);
    if (cs.valid && cp.valid) {
        std::string a, b;
        const std::string unit = doc::unitName(labelUnit());
        if (doc::formatTimeIn(cs.time, labelUnit(), a)) copyStartLabel_ = a + " " + unit;
        if (doc::formatTimeIn(cs.time + cp.time, labelUnit(), b)) copyEndLabel_ = b + " " + unit;
    }
}

bool ManualForm::kindFieldsValid() const { return field(kCopyStart).valid; }

bool ManualForm::failCopy() {
    prompter().tell(kInvalidParameters, PromptIcon::Warning);
    discardSegment();
    refreshControls();
    return false;
}

bool ManualForm::copyRange() {
    if (copyLocked_) {
        copyLocked_ = false;  // the working copy stays
        refreshControls();
        return true;
    }
    FormField& cs = f(kCopyStart);
    FormField& cp = f(kCopyPeriod);
    const bool startRead = readTime(cs);
    if (!readTime(cp) || !startRead) return failCopy();
    const std::int64_t total = totalTime();
    if (static_cast<__int128>(cs.time) + cp.time > total) {
        writeTime(cp, total - cs.time, cp.unit);  // cut silently at the end of the waveform
        if (cp.text.empty()) return failCopy();
    }
    const std::int64_t ts = samplingTime();
    auto down = [ts](std::int64_t t) { return t >= 0 ? t / ts * ts : -((-t + ts - 1) / ts) * ts; };
    const std::string oldStart = cs.text, oldLength = cp.text;
    const std::int64_t s = down(cs.time), p = down(cp.time);
    const bool startMoved = s != cs.time, lengthMoved = p != cp.time;
    writeTime(cs, s, cs.unit);
    writeTime(cp, p, cp.unit);
    if (startMoved || lengthMoved) {
        std::string text = "サンプリング時間の整数倍にするため、";
        if (startMoved) text += "[コピー開始] ";
        if (lengthMoved) text += "[コピー期間] ";
        text += "を調節します。\n";
        auto line = [](const std::string& from, const FormField& fld) {
            const std::string unit = doc::unitName(fld.unit);
            return "\n" + from + " " + unit + "　→　" + fld.text + " " + unit;
        };
        if (startMoved) text += line(oldStart, cs);
        if (lengthMoved) text += line(oldLength, cp);
        prompter().tell(text);
    }
    // A negative start (never valid in the field) would copy from before the waveform.
    if (s < 0 || s > total - ts || p < ts || p > total) return failCopy();
    const auto k = static_cast<std::uint64_t>(s / ts);
    const std::uint64_t n = static_cast<std::uint64_t>(total / ts);
    const std::uint64_t c = std::min(static_cast<std::uint64_t>(p / ts), n - k);
    std::copy(analog() + k, analog() + k + c, reference_.get());
    std::copy(analog() + k, analog() + k + c, segmentBuffer());
    segmentReady(c);
    computeReference();
    copyLocked_ = true;
    refreshControls();
    return true;
}

void ManualForm::computeReference() {
    computePreviewColumns(plotRect(), reference_.get(), static_cast<std::size_t>(plotCount()), referenceColumns_);
}

void ManualForm::plotRectChanged() {
    if (hasWorkingCopy()) computeReference();
}

bool ManualForm::executeModification() {
    if (!modifyEnabled_) return false;
    modifyEnabled_ = false;
    const ModifyOperation op = operation();
    double value = 0.0;
    bool valid = true;
    switch (op) {
    case ModifyOperation::Gain: value = field(kGain).real, valid = field(kGain).valid; break;
    case ModifyOperation::LevelShift: value = field(kShift).real, valid = field(kShift).valid; break;
    case ModifyOperation::UpperLimit: value = field(kUpper).real, valid = field(kUpper).valid; break;
    case ModifyOperation::LowerLimit: value = field(kLower).real, valid = field(kLower).valid; break;
    default: break;
    }
    const auto a = static_cast<std::size_t>(plotCount());
    if (valid) modifySamples(segmentBuffer(), a, op, value);
    recomputePreview();
    setRadio(static_cast<int>(ModifyOperation::None));  // each further modification is chosen afresh
    refreshControls();
    return true;
}

bool ManualForm::insideMargin(int x, int y) const {
    const PlotRect& r = plotRect();
    return x >= r.left - kMarginLeft && x <= r.right + kMarginRight && y >= r.top - kMarginTop &&
           y <= r.bottom + kMarginBottom;
}

void ManualForm::strokeBetween(int x1, int y1, int x2, int y2, int& first, int& last) {
    if (x2 < x1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const auto count = static_cast<std::int64_t>(plotCount());
    strokeSamples(segmentBuffer(), count, plotRect(), x1, y1, x2, y2);
    recomputePreview();
    const PlotRect& r = plotRect();
    const int d = static_cast<int>(std::trunc(r.width() * 2.0 / static_cast<double>(count) + 2)) + 1;
    first = std::clamp(x1 - d, r.left, r.right);
    last = std::clamp(x2 + d, r.left, r.right);
}

bool ManualForm::strokePress(int x, int y, int& first, int& last) {
    if (!hasWorkingCopy() || !insideMargin(x, y)) return false;
    stroking_ = true;
    lastX_ = x;
    lastY_ = y;
    strokeBetween(x, y, x, y, first, last);
    return true;
}

bool ManualForm::strokeMove(int x, int y, int& first, int& last) {
    if (!stroking_ || !insideMargin(x, y)) return false;
    strokeBetween(lastX_, lastY_, x, y, first, last);
    lastX_ = x;
    lastY_ = y;
    return true;
}

}  // namespace lyr::analog
