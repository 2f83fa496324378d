#include "document/wave_time.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "document/quantities.h"

namespace lyr::document {

bool parseTotalTime(std::string_view text, int unit, std::int64_t& ns) {
    if (unit < 0 || unit > kUnitHour) return false;
    if (unit <= kUnitS) return parseTime(text, unit, ns);
    std::int64_t seconds = 0;
    if (!parseTime(text, kUnitS, seconds)) return false;
    const std::int64_t factor = unit == kUnitMinute ? 60 : 3600;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    if (seconds > kMax / factor)
        ns = kMax;
    else if (seconds < kMin / factor)
        ns = kMin;
    else
        ns = seconds * factor;
    return true;
}

std::int64_t parseCountLenient(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t v = 0;
    constexpr std::int64_t kCap = std::numeric_limits<std::int64_t>::max() / 10 - 10;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (v < kCap) v = v * 10 + (text[i] - '0');
    }
    return negative ? -v : v;
}

double timeErrorPercent(std::int64_t actual, std::int64_t wanted) {
    return static_cast<double>(actual - wanted) * 100.0 / static_cast<double>(wanted);
}

std::int64_t smallestSamplingFor(std::int64_t total) {
    // floor(T / Ts) <= N  <=>  Ts > T / (N + 1).
    std::int64_t ts = total / (kMaxSampleCount + 1) + 1;
    ts = (ts + kSamplingStep - 1) / kSamplingStep * kSamplingStep;
    return std::max(ts, kMinSamplingTime);
}

std::int64_t firstExactSampling(std::int64_t total, std::int64_t from) {
    if (total <= 0 || total % kSamplingStep != 0) return 0;
    from = std::max((from + kSamplingStep - 1) / kSamplingStep * kSamplingStep, kSamplingStep);
    if (from > kMaxSamplingTime) return 0;
    // Work in steps of 10 ns: the smallest divisor d of t in [a, b].
    const std::int64_t t = total / kSamplingStep;
    const std::int64_t a = from / kSamplingStep;
    const std::int64_t b = kMaxSamplingTime / kSamplingStep;
    // A divisor d pairs with the cofactor t / d; scanning cofactors downwards
    // from t / a finds the same answer. Scan whichever range is shorter.
    const std::int64_t eHigh = t / a;
    const std::int64_t eLow = (t + b - 1) / b;
    if (b - a <= eHigh - eLow) {
        for (std::int64_t d = a; d <= b; ++d)
            if (t % d == 0) return d * kSamplingStep;
        return 0;
    }
    for (std::int64_t e = eHigh; e >= eLow && e >= 1; --e)
        if (t % e == 0) return (t / e) * kSamplingStep;
    return 0;
}

void fillCandidateTexts(TimeCandidate& row) {
    if (!row.enabled) {
        row.totalText.clear();
        row.samplingText.clear();
        row.countText.clear();
        row.errorText.clear();
        return;
    }
    row.totalText = formatTimeWithUnit(row.total);
    row.samplingText = formatTimeWithUnit(row.sampling);
    row.countText = std::to_string(row.count);
    row.errorText = formatErrorPercent(row.errorPercent);
}

namespace {

TimeCandidate makeRow(std::int64_t total, std::int64_t sampling, std::int64_t count, double error) {
    TimeCandidate r;
    r.enabled = true;
    r.total = total;
    r.sampling = sampling;
    r.count = count;
    r.errorPercent = error;
    fillCandidateTexts(r);
    return r;
}

}  // namespace

TimeCandidates candidatesForTotal(std::int64_t total) {
    const std::int64_t t = std::clamp(total, kMinTotalTime, kMaxTotalTime);
    TimeCandidates c;
    const std::int64_t ts1 = smallestSamplingFor(t);
    const std::int64_t n1 = t / ts1;
    const std::int64_t low = n1 * ts1;
    const std::int64_t high = (n1 + 1) * ts1;
    const std::int64_t ts2 = firstExactSampling(t, ts1);

    const bool lowExact = low == t;
    if (ts2 != 0) {
        c.rows[0] = makeRow(t, ts2, t / ts2, 0.0);
        c.selected = 0;
    }
    if (ts2 == 0 || !lowExact) {
        c.rows[1] = makeRow(low, ts1, n1, timeErrorPercent(low, t));
        if (n1 + 1 <= kMaxSampleCount) c.rows[2] = makeRow(high, ts1, n1 + 1, timeErrorPercent(high, t));
        if (ts2 == 0) c.selected = 1;
    }
    return c;
}

TimeCandidates candidatesForSampling(std::int64_t sampling, std::int64_t count) {
    const std::int64_t ts = std::clamp(sampling, kMinSamplingTime, kMaxSamplingTime);
    const std::int64_t n = std::clamp(count, kMinSampleCount, kMaxSampleCount);
    const std::int64_t ts1 = ts / kSamplingStep * kSamplingStep;
    TimeCandidates c;
    if (ts == ts1) {
        c.rows[0] = makeRow(n * ts1, ts1, n, 0.0);
        c.selected = 0;
        return c;
    }
    const std::int64_t wanted = n * ts;
    c.rows[1] = makeRow(n * ts1, ts1, n, timeErrorPercent(n * ts1, wanted));
    const std::int64_t ts3 = ts1 + kSamplingStep;
    c.rows[2] = makeRow(n * ts3, ts3, n, timeErrorPercent(n * ts3, wanted));
    c.selected = 1;
    return c;
}

WaveTimeForm::WaveTimeForm(std::int64_t requestedTotal, std::int64_t requestedSampling,
                           std::uint32_t requestedCount)
    : CandidateForm(requestedTotal, requestedSampling, requestedCount) {
    samplingText_ = formatTimeAuto(requestedSampling, samplingUnit_);
    if (samplingUnit_ > kUnitMs) {
        // The sampling list stops at mS; show longer times in mS.
        samplingUnit_ = kUnitMs;
        formatTimeIn(requestedSampling, kUnitMs, samplingText_);
    }
    countText_ = std::to_string(requestedCount);
    recompute();
}

void WaveTimeForm::setMode(int mode) {
    mode_ = mode == SamplingInput ? SamplingInput : TimeInput;
    recompute();
}

void WaveTimeForm::setSamplingText(std::string text) {
    samplingText_ = std::move(text);
    recompute();
}

void WaveTimeForm::setSamplingUnit(int unit) {
    samplingUnit_ = unit;
    recompute();
}

void WaveTimeForm::setCountText(std::string text) {
    countText_ = std::move(text);
    recompute();
}

void WaveTimeForm::recompute() {
    valid_ = false;
    if (mode_ == TimeInput) {
        std::int64_t total = 0;
        if (parseTotalTime(totalText_, totalUnit_, total)) {
            candidates_ = candidatesForTotal(total);
            valid_ = true;
        }
    } else {
        std::int64_t sampling = 0;
        if (samplingUnit_ >= kUnitNs && samplingUnit_ <= kUnitMs &&
            parseTime(samplingText_, samplingUnit_, sampling)) {
            candidates_ = candidatesForSampling(sampling, parseCountLenient(countText_));
            valid_ = true;
        }
    }
    if (!valid_) candidates_ = TimeCandidates{};
}

bool WaveTimeForm::accept() {
    if (candidates_.selected < 0) return false;
    const TimeCandidate& c = candidates_.rows[static_cast<std::size_t>(candidates_.selected)];
    requestedTotal_ = c.total;
    requestedSampling_ = c.sampling;
    requestedCount_ = static_cast<std::uint32_t>(c.count);
    return true;
}

}  // namespace lyr::document
