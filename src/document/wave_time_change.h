#pragma once
// Changing the total time of an existing waveform at its own sampling time:
// the requested total (clamped to 20 .. 1,048,576 samples) gives the sample
// count just below it ("設定 1") and, when it does not divide evenly, the one
// just above ("設定 2"). WaveTimeChangeForm holds what "トータル時間の変更" shows.
#include <cstdint>
#include <string>

#include "document/wave_time.h"

namespace lyr::document {

using ChangeCandidates = CandidateRows<2>;  // "設定 1", "設定 2"

// Candidates for a requested total at sampling time ts (> 0).
ChangeCandidates candidatesForChange(std::int64_t requested, std::int64_t ts);

class WaveTimeChangeForm : public CandidateForm<2> {
public:
    WaveTimeChangeForm(std::int64_t total, std::int64_t sampling, std::uint32_t count);

    bool okEnabled() const { return valid_ && candidates_.selected >= 0; }
    std::int64_t minimumTotal() const { return requestedSampling_ * kMinSampleCount; }
    std::int64_t maximumTotal() const { return requestedSampling_ * kMaxSampleCount; }

    // OK: with a selected candidate the outputs take its total and count and
    // the result is true; with none nothing happens.
    bool accept();

private:
    void recompute() override;
};

}  // namespace lyr::document
