#include "analog/external_form.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "forms/form_fields.h"
#include "analog/text_source.h"
#include "document/waveform_file_raw.h"
#include "interchange/npy.h"
#include "interchange/wav.h"

namespace lyr::analog {

namespace doc = lyr::document;
namespace wf = lyr::document::wavefile;
using forms::countField;
using forms::realField;
using forms::timeField;

bool resampleSource(double* segment, const ResampleParams& p) {
    const std::int64_t ts = p.samplingTime;
    const std::int64_t interval = p.sourceInterval;
    if (ts <= 0 || interval <= 0 || p.period < 0 || p.conversionStart < 0 || p.sourceCount == 0) return false;
    const std::uint64_t m = periodSamples(p.period, p.samplingTime);
    const __int128 duration = static_cast<__int128>(p.sourceCount) * interval;
    __int128 length = p.period;
    if (p.conversionStart + length > duration) length = duration - p.conversionStart;
    const auto n = length <= 0 ? std::uint64_t{0} : std::min<std::uint64_t>(m, static_cast<std::uint64_t>(length / ts));
    // Only the samples past the source are zeroed; the rest are written below.
    zeroSamples(segment + n, m - n);
    // t = i x Ts + start stepped exactly: k = t / interval, r = t mod interval.
    const std::int64_t dk = ts / interval, dr = ts % interval;
    std::int64_t k = p.conversionStart / interval, r = p.conversionStart % interval;
    const std::int64_t last = static_cast<std::int64_t>(p.sourceCount) - 1;
    const double* s = p.source;
    const double factor = p.factor, offset = p.offset;
    if (p.interpolation == Interpolation::None || p.sourceCount == 1) {
        for (std::uint64_t i = 0; i < n; ++i) {
            if (k > last) return false;
            segment[i] = s[k] * factor + offset;
            k += dk;
            r += dr;
            if (r >= interval) r -= interval, ++k;
        }
        return true;
    }
    const auto span = static_cast<long double>(interval);
    for (std::uint64_t i = 0; i < n; ++i) {
        if (k > last) return false;
        if (k == last) {
            segment[i] = offset + factor * s[k];
        } else {
            const long double a = s[k], b = s[k + 1];
            const long double frac = static_cast<long double>(r) / span;
            segment[i] = static_cast<double>(offset + factor * (a + frac * (b - a)));
        }
        k += dk;
        r += dr;
        if (r >= interval) r -= interval, ++k;
    }
    return true;
}

ExternalForm::ExternalForm(Prompter& prompter) : AnalogEditFrame(prompter) {
    addField(timeField("interval", "ｻﾝﾌﾟﾘﾝｸﾞ", "："));
    addField(timeField("from", "変換開始", "：", 0));
    FormField index = countField("from-index", "開始ﾃﾞｰﾀ", "：", "番目");
    index.radio = 1;
    addField(index);
    addField(realField("factor", "振幅係数", "：", ""));
    addField(realField("offset", "ｵﾌｾｯﾄ", "：", "V"));
    FormField interpolation;
    interpolation.kind = FieldKind::Choice;
    interpolation.key = "interpolate";
    interpolation.label = "ﾃﾞｰﾀ補間";
    interpolation.symbol = "：";
    interpolation.choices = {"補間なし", "直線補間"};
    addField(interpolation);
    FormField count;
    count.kind = FieldKind::Readout;
    count.key = "count";
    count.label = "ﾃﾞｰﾀ数";
    count.symbol = "：";
    count.enabled = false;
    addField(count);
}

bool ExternalForm::allocateWork() {
    source_ = allocator().doubles(kCapacity);
    // Without graphs the overview buffer is never touched: none is taken.
    if (source_ && graphsDrawn()) overview_ = allocator().doubles(kCapacity);
    return source_ && (overview_ || !graphsDrawn());
}

void ExternalForm::fillFields() {
    fillTime(f(kInterval), settings_.sourceInterval, settings_.sourceIntervalUnit);
    doc::TimeUnit unit = doc::kUnitNs;
    doc::formatTimeAuto(0, unit);
    fillTime(f(kFrom), 0, unit);
    fillTime(f(kPeriodField), 0, unit);
    writeVolts(f(kFactor), settings_.amplitudeFactor);
    writeVolts(f(kOffset), settings_.conversionOffset);
    f(kInterpolation).choice = settings_.interpolation;
    setRadio(static_cast<int>(StartMode::Time));
    f(kFrom).enabled = true;
    f(kFromIndex).enabled = false;
    sourceLoaded_ = false;
    sourceCount_ = 0;
    sourceDuration_ = 0;
}

ExternalForm::Settings ExternalForm::settings() const {
    Settings s;
    s.sourceInterval = field(kInterval).time;
    s.sourceIntervalUnit = field(kInterval).unit;
    s.amplitudeFactor = field(kFactor).real;
    s.conversionOffset = field(kOffset).real;
    s.interpolation = field(kInterpolation).choice;
    return s;
}

bool ExternalForm::isGenerationField(std::size_t i) const {
    return i == kPeriodField || i == kFrom || i == kFromIndex || i == kFactor || i == kOffset ||
           i == kInterpolation;
}

namespace {

// count x interval, or -1 when the interval does not read, is not positive
// or makes a duration beyond 64 bits.
std::int64_t durationOf(std::uint32_t count, const FormField& interval, bool read) {
    if (!read || interval.time <= 0) return -1;
    const __int128 d = static_cast<__int128>(count) * interval.time;
    return d > std::numeric_limits<std::int64_t>::max() ? -1 : static_cast<std::int64_t>(d);
}

}  // namespace

void ExternalForm::testConversionStart() {
    FormField& from = f(kFrom);
    FormField& index = f(kFromIndex);
    const std::int64_t interval = field(kInterval).valid ? field(kInterval).time : 0;
    const std::int64_t ts = samplingTime();
    if (startMode() == StartMode::Time) {
        index.text.clear();
        index.markerShown = false;
        const bool valid = readTime(from) && from.time >= 0 && from.time <= sourceDuration_ - ts;
        setValid(from, valid);
        if (valid && interval > 0) index.text = std::to_string(from.time / interval + 1);
    } else {
        from.markerShown = false;
        const bool valid = readCount(index) && index.count >= 1 && index.count <= sourceCount_;
        setValid(index, valid);
        from.text.clear();
        from.time = 0;
        if (valid && interval > 0) {
            const std::int64_t t = static_cast<std::int64_t>(index.count - 1) * interval;
            from.text = doc::formatTimeAuto(t, from.unit);
            from.time = t;
        }
    }
}

void ExternalForm::testKindFields() {
    FormField& iv = f(kInterval);
    setValid(iv, durationOf(sourceCount_, iv, readTime(iv)) >= 0);
    testConversionStart();
    setValid(f(kFactor), readReal(f(kFactor)));
    setValid(f(kOffset), readReal(f(kOffset)));
    const int c = field(kInterpolation).choice;
    setValid(f(kInterpolation), c == 0 || c == 1);
    f(kCount).text = sourceLoaded_ ? std::to_string(sourceCount_) : std::string();
}

bool ExternalForm::kindFieldsValid() const {
    const bool startValid = field(startMode() == StartMode::Time ? kFrom : kFromIndex).valid;
    return sourceLoaded_ && field(kInterval).valid && sourceDuration_ >= static_cast<std::int64_t>(samplingTime()) &&
           startValid && field(kFactor).valid && field(kOffset).valid && field(kInterpolation).valid;
}

void ExternalForm::writePeriodAuto(std::int64_t ns) {
    FormField& p = f(kPeriodField);
    p.text = doc::formatTimeAuto(ns, p.unit);
    p.time = ns;
}

void ExternalForm::intervalRule() {
    FormField& iv = f(kInterval);
    const std::int64_t d = durationOf(sourceCount_, iv, readTime(iv));
    const std::int64_t duration = d < 0 ? 0 : d;
    setValid(iv, d >= 0);
    if (duration != sourceDuration_) {
        sourceDuration_ = duration;
        testConversionStart();
        const bool startValid = field(startMode() == StartMode::Time ? kFrom : kFromIndex).valid;
        writePeriodAuto(startValid ? duration - field(kFrom).time : duration);
        markSegmentStale();
    }
    durationLabel_.clear();
    if (sourceLoaded_) {
        doc::TimeUnit unit = doc::kUnitNs;
        const std::string text = doc::formatTimeAuto(sourceDuration_, unit);
        durationLabel_ = text + " " + doc::unitName(unit);
    }
}

void ExternalForm::conversionStartChanged() {
    FormField& iv = f(kInterval);
    setValid(iv, durationOf(sourceCount_, iv, readTime(iv)) >= 0);
    testConversionStart();
    const bool startValid = field(startMode() == StartMode::Time ? kFrom : kFromIndex).valid;
    FormField& p = f(kPeriodField);
    const std::int64_t ts = samplingTime();
    const bool periodValid = readTime(p) && p.time >= ts && p.time <= totalTime();
    const std::int64_t from = field(kFrom).time;
    if (iv.valid && startValid && periodValid && static_cast<__int128>(from) + p.time > sourceDuration_)
        writePeriodAuto(sourceDuration_ - from);
    markSegmentStale();
}

void ExternalForm::fieldEdited(std::size_t i) {
    if (i == kInterval) intervalRule();
    if (i == kFrom || i == kFromIndex) conversionStartChanged();
}

void ExternalForm::radioChanged() {
    const bool time = startMode() == StartMode::Time;
    f(kFrom).enabled = time;
    f(kFromIndex).enabled = !time;
    conversionStartChanged();
}

void ExternalForm::setOverviewRect(const PlotRect& rect) {
    overviewRect_ = rect;
    computeOverview();
}

void ExternalForm::computeOverview() {
    if (overview_) computePreviewColumns(overviewRect_, overview_.get(), sourceLoaded_ ? sourceCount_ : 0, overviewColumns_);
}

bool ExternalForm::loadWaveform(const std::string& path, bool legacy) {
    try {
        wf::WaveformFileContents c;
        const wf::FileResult r = legacy ? wf::readLegacyFile(path, c) : wf::readWaveformFile(path, wf::kFormatVersion, c);
        if (!r.ok) {
            prompter().tell(r.message, PromptIcon::Warning);
            return false;
        }
        const std::uint32_t n = c.header.sampleCount;
        if (n > kCapacity) {
            prompter().tell(wf::kMsgFormatError, PromptIcon::Warning);
            return false;
        }
        std::memcpy(source_.get(), c.analog.data(), n * sizeof(double));
        sourceCount_ = n;
        // The file's own sampling time: 20 ns steps in the legacy format, 10 ns steps now.
        const std::int64_t interval = std::int64_t{c.header.samplingUnits} * (legacy ? 20 : 10);
        FormField& iv = f(kInterval);
        iv.text = doc::formatTimeAuto(interval, iv.unit);
        iv.time = interval;
        return true;
    } catch (const std::bad_alloc&) {
        prompter().tell(memoryMessage(), PromptIcon::Warning);
        return false;
    }
}

bool ExternalForm::loadWav(const std::string& path) {
    const interchange::WavReadResult r = interchange::readWav(path, source_.get(), progress_);
    if (r.status != doc::ReadStatus::Ok) prompter().tell(doc::readStatusMessage(r.status), PromptIcon::Warning);
    if (!doc::readSucceeded(r.status)) return false;
    sourceCount_ = r.count;
    // The rate sets the interval as a waveform file's sampling time does.
    FormField& iv = f(kInterval);
    iv.text = doc::formatTimeAuto(r.intervalNs, iv.unit);
    iv.time = r.intervalNs;
    if (r.intervalRounded)
        prompter().tell(wavRateNote(r.rateHz, r.intervalNs), PromptIcon::Information);
    return true;
}

std::string wavRateNote(std::int64_t rateHz, std::int64_t intervalNs) {
    return "サンプリング周波数 " + std::to_string(rateHz) + " Hz の間隔は整数の nS にならないため、" +
           doc::formatTimeWithUnit(intervalNs) + " に丸めました。";
}

bool ExternalForm::loadSource(const std::string& path) {
    sourceLoaded_ = false;
    sourceCount_ = 0;
    sourceDuration_ = 0;
    discardSegment();
    maxLabel_.clear();
    minLabel_.clear();
    durationLabel_.clear();
    bool ok = false;
    if (path.size() > 3) {
        std::string ext = path.substr(path.size() - 3);
        for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (ext == "lyr" || ext == "syn") {
            ok = loadWaveform(path, ext == "syn");
        } else if (ext == "wav") {
            ok = loadWav(path);
        } else {
            std::uint32_t count = 0;
            const doc::ReadStatus status = ext == "npy"
                                               ? interchange::readNpyNumbers(path, source_.get(), count, progress_)
                                               : parseTextSource(path, source_.get(), count, progress_);
            if (status != doc::ReadStatus::Ok) prompter().tell(doc::readStatusMessage(status), PromptIcon::Warning);
            ok = doc::readSucceeded(status);
            sourceCount_ = ok ? count : 0;
        }
    }
    sourceLoaded_ = ok;
    fileName_ = ok ? path : std::string();
    if (ok) sourceDone();
    computeOverview();
    intervalRule();
    refreshControls();
    return ok;
}

void ExternalForm::sourceDone() {
    // The extremes serve the overview and its labels only.
    if (!graphsDrawn()) return;
    const double* s = source_.get();
    const std::uint32_t n = sourceCount_;
    if (n == 0) {
        sourceMax_ = sourceMin_ = 0.0;
    } else {
        const auto [lo, hi] = std::minmax_element(s, s + n);
        sourceMin_ = *lo;
        sourceMax_ = *hi;
    }
    maxLabel_ = doc::formatVolts(sourceMax_);
    minLabel_ = doc::formatVolts(sourceMin_);
    const double span = sourceMax_ - sourceMin_;
    if (!overview_) return;
    if (span >= -0.000001 && span <= 0.000001) {
        std::fill(overview_.get(), overview_.get() + n, 0.0);
    } else {
        const double c = 2.4 / span;
        for (std::uint32_t i = 0; i < n; ++i) overview_[i] = -1.2 - c * sourceMin_ + c * s[i];
    }
}

bool ExternalForm::convertSource() {
    FormField& p = f(kPeriodField);
    const bool read = readTime(p);
    if (!read || !createEnabled() || !quantisePeriod()) {
        prompter().tell(kInvalidParameters, PromptIcon::Warning);
        discardSegment();
        refreshControls();
        return false;
    }
    ResampleParams params;
    params.source = source_.get();
    params.sourceCount = sourceCount_;
    params.sourceInterval = field(kInterval).time;
    params.conversionStart = field(kFrom).time;
    params.period = p.time;
    params.samplingTime = samplingTime();
    params.factor = field(kFactor).real;
    params.offset = field(kOffset).real;
    params.interpolation = field(kInterpolation).choice == 1 ? Interpolation::Linear : Interpolation::None;
    if (!resampleSource(segmentBuffer(), params)) {
        prompter().tell("変換エラーです。", PromptIcon::Warning);
        discardSegment();
    } else {
        segmentReady(periodSamples(p.time, samplingTime()));
    }
    refreshControls();
    return state() == State::Current;
}

}  // namespace lyr::analog
