#pragma once
// Choosing the time base of a new waveform: from a wanted total time or from
// a sampling time and sample count, up to three candidate settings with their
// time error. WaveTimeForm holds what the total-time setting dialog shows.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "document/quantities.h"

namespace lyr::document {

inline constexpr std::int64_t kMinTotalTime = 200;
inline constexpr std::int64_t kMaxTotalTime = 87960930222080;  // 83,886,080 ns x 1,048,576
inline constexpr std::int64_t kMinSamplingTime = 10;
inline constexpr std::int64_t kMaxSamplingTime = 83886080;
inline constexpr std::int64_t kMinSampleCount = 20;
inline constexpr std::int64_t kMaxSampleCount = 1048576;
inline constexpr std::int64_t kSamplingStep = 10;

// Total-time text in the total-time unit list (0..5): "M" and "H" are read
// as seconds and multiplied by 60 or 3,600 (saturating).
bool parseTotalTime(std::string_view text, int unit, std::int64_t& ns);

// Count text read leniently: optional blanks and sign, then leading digits;
// no digits gives 0. Saturates instead of overflowing.
std::int64_t parseCountLenient(std::string_view text);

// Relative error in percent of `actual` against `wanted`.
double timeErrorPercent(std::int64_t actual, std::int64_t wanted);

struct TimeCandidate {
    bool enabled = false;
    std::int64_t total = 0;
    std::int64_t sampling = 0;
    std::int64_t count = 0;
    double errorPercent = 0.0;
    // Display texts; all empty for a disabled row.
    std::string totalText, samplingText, countText, errorText;
};

template <std::size_t N>
struct CandidateRows {
    std::array<TimeCandidate, N> rows;  // "設定 1" .. "設定 N"
    int selected = -1;                  // a row, or -1 for none
};
using TimeCandidates = CandidateRows<3>;

// Smallest multiple of 10 ns (at least 10 ns) that splits `total` into at
// most 1,048,576 whole samples.
std::int64_t smallestSamplingFor(std::int64_t total);
// First multiple of 10 ns from `from` up to 83,886,080 ns that divides
// `total` exactly; 0 when there is none.
std::int64_t firstExactSampling(std::int64_t total, std::int64_t from);

// Candidates for a wanted total time (clamped to the total-time limits).
TimeCandidates candidatesForTotal(std::int64_t total);
// Candidates for a sampling time and count (each clamped to its limits).
TimeCandidates candidatesForSampling(std::int64_t sampling, std::int64_t count);

// Fills the display texts of an enabled row and clears those of a disabled one.
void fillCandidateTexts(TimeCandidate& row);

// What both total-time forms share: the total-time field, the candidate
// rows to pick from and the time base handed back on OK.
template <std::size_t N>
class CandidateForm {
public:
    virtual ~CandidateForm() = default;

    // Edits: each recomputes the candidates.
    void setTotalText(std::string text) {
        totalText_ = std::move(text);
        recompute();
    }
    void setTotalUnit(int unit) {  // 0..5 of the total-time unit list
        totalUnit_ = unit;
        recompute();
    }
    // Picks an enabled candidate row; other rows are ignored.
    void selectCandidate(int row) {
        if (row < 0 || row >= static_cast<int>(N) || !candidates_.rows[static_cast<std::size_t>(row)].enabled)
            return;
        candidates_.selected = row;
    }

    const std::string& totalText() const { return totalText_; }
    int totalUnit() const { return totalUnit_; }
    bool inputValid() const { return valid_; }
    const TimeCandidate& candidate(int row) const { return candidates_.rows.at(static_cast<std::size_t>(row)); }
    int selectedCandidate() const { return candidates_.selected; }

    std::int64_t requestedTotal() const { return requestedTotal_; }
    std::int64_t requestedSampling() const { return requestedSampling_; }  // Ts, ns
    std::uint32_t requestedCount() const { return requestedCount_; }

protected:
    CandidateForm(std::int64_t total, std::int64_t sampling, std::uint32_t count)
        : requestedTotal_(total), requestedSampling_(sampling), requestedCount_(count) {
        totalText_ = formatTimeAuto(total, totalUnit_);
    }
    virtual void recompute() = 0;

    std::string totalText_;
    int totalUnit_ = 0;
    bool valid_ = false;
    CandidateRows<N> candidates_;
    std::int64_t requestedTotal_;
    std::int64_t requestedSampling_;
    std::uint32_t requestedCount_;
};

// The total-time setting dialog without its widgets.
class WaveTimeForm : public CandidateForm<3> {
public:
    enum Mode { TimeInput = 0, SamplingInput = 1 };

    WaveTimeForm(std::int64_t requestedTotal, std::int64_t requestedSampling,
                 std::uint32_t requestedCount);

    // Edits: each recomputes the candidates.
    void setMode(int mode);
    void setSamplingText(std::string text);
    void setSamplingUnit(int unit);  // 0..2
    void setCountText(std::string text);

    int mode() const { return mode_; }
    const std::string& samplingText() const { return samplingText_; }
    int samplingUnit() const { return samplingUnit_; }
    const std::string& countText() const { return countText_; }

    bool timeGroupEnabled() const { return mode_ == TimeInput; }
    bool samplingGroupEnabled() const { return mode_ == SamplingInput; }
    bool okEnabled() const { return valid_; }

    // OK: with a selected candidate the outputs take its values and the
    // result is true; with none nothing happens.
    bool accept();

private:
    void recompute() override;

    int mode_ = TimeInput;
    std::string samplingText_, countText_;
    int samplingUnit_ = 0;
};

}  // namespace lyr::document
