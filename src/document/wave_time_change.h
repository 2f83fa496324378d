#pragma once
// Changing the total time of an existing waveform at its own sampling time:
// the requested total (clamped to 20 .. 1,048,576 samples) gives the sample
// count just below it ("設定 1") and, when it does not divide evenly, the one
// just above ("設定 2"). WaveTimeChangeForm holds what "トータル時間の変更" shows.
#include <array>
#include <cstdint>
#include <string>

#include "document/wave_time.h"

namespace lyr::document {

struct ChangeCandidates {
    std::array<TimeCandidate, 2> rows;  // "設定 1", "設定 2"
    int selected = -1;
};

// Candidates for a requested total at sampling time ts (> 0).
ChangeCandidates candidatesForChange(std::int64_t requested, std::int64_t ts);

class WaveTimeChangeForm {
public:
    WaveTimeChangeForm(std::int64_t total, std::uint32_t sampling, std::uint32_t count);

    void setTotalText(std::string text);
    void setTotalUnit(int unit);  // 0..5 of the total-time unit list
    // Picks an enabled candidate row; other rows are ignored.
    void selectCandidate(int row);

    const std::string& totalText() const { return totalText_; }
    int totalUnit() const { return totalUnit_; }
    bool inputValid() const { return valid_; }
    bool okEnabled() const { return valid_ && candidates_.selected >= 0; }
    const TimeCandidate& candidate(int row) const { return candidates_.rows.at(static_cast<std::size_t>(row)); }
    int selectedCandidate() const { return candidates_.selected; }
    std::int64_t minimumTotal() const { return std::int64_t{requestedSampling_} * kMinSampleCount; }
    std::int64_t maximumTotal() const { return std::int64_t{requestedSampling_} * kMaxSampleCount; }

    // OK: with a selected candidate the outputs take its total and count and
    // the result is true; with none nothing happens.
    bool accept();

    std::int64_t requestedTotal() const { return requestedTotal_; }
    std::uint32_t requestedSampling() const { return requestedSampling_; }
    std::uint32_t requestedCount() const { return requestedCount_; }

private:
    void recompute();

    std::string totalText_;
    int totalUnit_ = 0;
    bool valid_ = false;
    ChangeCandidates candidates_;
    std::int64_t requestedTotal_;
    std::uint32_t requestedSampling_;
    std::uint32_t requestedCount_;
};

}  // namespace lyr::document
