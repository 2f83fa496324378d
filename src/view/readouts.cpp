#include "view/readouts.h"

#include <algorithm>
#include <string>

#include "document/quantities.h"

namespace lyr::view {

int fixedUnitFor(std::int64_t totalNs) {
    int unit = 0;
    (void)document::formatTimeAuto(totalNs, unit);
    return unit;
}

int differenceUnitFor(std::int64_t ns) {
    const std::uint64_t a = ns < 0 ? 0 - static_cast<std::uint64_t>(ns) : static_cast<std::uint64_t>(ns);
    if (a < 1000) return document::kUnitNs;
    if (a < 1000000) return document::kUnitUs;
    if (a <= 999999999) return document::kUnitMs;
    return document::kUnitS;
}

int samplingZeros(std::int64_t samplingNs) {
    if (samplingNs <= 0) return 0;
    int z = 0;
    while (samplingNs % 10 == 0) {
        samplingNs /= 10;
        ++z;
    }
    return z;
}

std::string formatFixedUnit(std::int64_t ns, int unit, std::int64_t samplingNs) {
    unit = std::clamp(unit, 0, 3);
    const std::uint64_t a = ns < 0 ? 0 - static_cast<std::uint64_t>(ns) : static_cast<std::uint64_t>(ns);
    std::string digits = std::to_string(a);
    const std::size_t p = static_cast<std::size_t>(3 * unit);
    if (digits.size() < p + 1) digits.insert(0, p + 1 - digits.size(), '0');
    const std::size_t keep = static_cast<std::size_t>(std::max(0, 3 * unit - samplingZeros(samplingNs)));
    std::string text = digits.substr(0, digits.size() - p);
    if (keep > 0) text += "." + digits.substr(digits.size() - p, keep);
    return (ns < 0 ? "-" : "") + text + " " + document::unitName(unit);
}

std::string formatDifference(std::int64_t ns, std::int64_t samplingNs) {
    return formatFixedUnit(ns, differenceUnitFor(ns), samplingNs);
}

std::string formatSampling(std::int64_t samplingNs) {
    int unit = 0;
    std::string text = document::formatTimeAuto(samplingNs, unit);
    return text + " " + document::unitName(unit);
}

std::string formatVoltsReadout(double volts) { return document::formatFixed(volts, 4) + " V"; }

PointReadout pointReadout(const TrackView& t, std::uint32_t index, int unit) {
    PointReadout p;
    if (t.n == 0) return p;
    p.time = formatFixedUnit(static_cast<std::int64_t>(index) * t.samplingNs, unit, t.samplingNs);
    const std::uint32_t i = std::min(index, t.n - 1);
    if (t.analog) p.volts = formatVoltsReadout(t.analog[i]);
    for (int k = 0; k < 8; ++k) {
        if (t.digital[k]) p.levels[k] = std::to_string(static_cast<int>(t.digital[k][i]));
    }
    return p;
}

Readouts computeReadouts(const TrackView& t, std::uint32_t cursor, bool markSet, std::uint32_t mark) {
    Readouts r;
    if (t.n == 0) return r;
    const std::int64_t total = static_cast<std::int64_t>(t.n) * t.samplingNs;
    const int unit = fixedUnitFor(total);
    r.totalTime = formatFixedUnit(total, unit, t.samplingNs);
    r.samplingTime = formatSampling(t.samplingNs);
    r.cursor = pointReadout(t, cursor, unit);
    if (markSet) {
        r.mark = pointReadout(t, mark, unit);
        r.cursorMinusMark = formatDifference(
            (static_cast<std::int64_t>(cursor) - static_cast<std::int64_t>(mark)) * t.samplingNs, t.samplingNs);
    }
    return r;
}

std::string mouseMinusCursor(const TrackView& t, std::uint32_t mouseIndex, std::uint32_t cursor) {
    if (t.n == 0) return {};
    return formatDifference(
        (static_cast<std::int64_t>(mouseIndex) - static_cast<std::int64_t>(cursor)) * t.samplingNs, t.samplingNs);
}

}  // namespace lyr::view
