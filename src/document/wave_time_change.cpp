#include "document/wave_time_change.h"

#include <algorithm>

#include "document/quantities.h"

namespace lyr::document {

ChangeCandidates candidatesForChange(std::int64_t requested, std::int64_t ts) {
    ChangeCandidates c;
    if (ts <= 0) return c;
    const std::int64_t r = std::clamp(requested, ts * kMinSampleCount, ts * kMaxSampleCount);
    const std::int64_t d = r / ts;
    const std::int64_t f = r % ts;
    TimeCandidate& below = c.rows[0];
    below.enabled = true;
    below.total = d * ts;
    below.sampling = ts;
    below.count = d;
    below.errorPercent = f != 0 ? timeErrorPercent(below.total, r) : 0.0;
    fillCandidateTexts(below);
    TimeCandidate& above = c.rows[1];
    if (f != 0) {
        above.enabled = true;
        above.total = (d + 1) * ts;
        above.sampling = ts;
        above.count = d + 1;
        above.errorPercent = timeErrorPercent(above.total, r);
    }
    fillCandidateTexts(above);
    c.selected = 0;
    return c;
}

WaveTimeChangeForm::WaveTimeChangeForm(std::int64_t total, std::int64_t sampling, std::uint32_t count)
    : CandidateForm(total, sampling, count) {
    recompute();
}

void WaveTimeChangeForm::recompute() {
    std::int64_t r = 0;
    valid_ = requestedSampling_ > 0 && parseTotalTime(totalText_, totalUnit_, r);
    if (!valid_) {
        candidates_ = ChangeCandidates{};
        for (TimeCandidate& row : candidates_.rows) fillCandidateTexts(row);
        return;
    }
    candidates_ = candidatesForChange(r, requestedSampling_);
}

bool WaveTimeChangeForm::accept() {
    if (!okEnabled()) return false;
    const TimeCandidate& c = candidate(candidates_.selected);
    requestedTotal_ = c.total;
    requestedCount_ = static_cast<std::uint32_t>(c.count);
    return true;
}

}  // namespace lyr::document
