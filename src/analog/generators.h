#pragma once
// Sample generators of the analog editors. Each tests its arguments first and
// returns false without touching the buffer when they do not hold; otherwise
// it zeroes floor(period / Ts) samples, computes its samples into the start
// of the buffer and returns true. Times are nanoseconds.
#include <cstddef>
#include <cstdint>

namespace lyr::analog {

// Samples of a period: floor(period / Ts) for a positive period and Ts.
std::uint64_t periodSamples(std::int64_t period, std::uint32_t samplingTime);

// Where a segment lies: the waveform's total time, Ts, the edit start and the
// period (ns). The shapes do not depend on the start; it travels with them so
// that every generator is called alike.
struct SegmentSpan {
    std::int64_t totalTime = 0;
    std::uint32_t samplingTime = 10;
    std::int64_t start = 0;
    std::int64_t period = 0;
};

struct SineParams {
    SegmentSpan span;
    std::int64_t sinePeriod = 0;
    std::int64_t delay = 0;
    double amplitude = 0.0;
    double offset = 0.0;
    std::uint32_t repeatCount = 1;
};
bool generateSine(double* segment, const SineParams& p);

// One cycle: edge v2->v1 (t1), hold v1 (t2), edge v1->v2 (t3), hold v2 (t4);
// the segment starts at position t0 of the cycle.
struct RectangleParams {
    SegmentSpan span;
    std::int64_t t0 = 0, t1 = 0, t2 = 0, t3 = 0, t4 = 0;
    double v1 = 0.0, v2 = 0.0;
    std::uint32_t repeatCount = 1;
};
bool generateRectangle(double* segment, const RectangleParams& p);

// The level of the rectangle cycle at position p (0 <= p < cycle length), as
// the start-voltage readout shows it.
double rectangleLevelAt(std::int64_t p, std::int64_t t1, std::int64_t t2, std::int64_t t3, double v1, double v2);

struct DcParams {
    SegmentSpan span;
    double v0 = 0.0;
};
bool generateDc(double* segment, const DcParams& p);

struct RampParams {
    SegmentSpan span;
    double v0 = 0.0, v1 = 0.0;
};
bool generateRamp(double* segment, const RampParams& p);

struct ExpParams {
    SegmentSpan span;
    std::int64_t timeConstant = 0;
    double v0 = 0.0, v1 = 0.0;
};
bool generateExponential(double* segment, const ExpParams& p);

// The runtime generator of the noise: state = state * 214013 + 2531011
// (mod 2^32), draw = (state / 65536) mod 32768; seed() sets the state.
class RuntimeRandom {
public:
    explicit RuntimeRandom(std::uint32_t seed = 1) : state_(seed) {}
    void seed(std::uint32_t s) { state_ = s; }
    int draw() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7fffu);
    }
    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_;
};

// A fresh seed for every noise creation: the clock in nanoseconds mixed with a
// call counter, so that two creations in the same second (or nanosecond)
// never share their noise.
std::uint32_t clockNoiseSeed();

constexpr std::size_t kNoiseTableSize = 1200000;

// Gaussian noise of standard deviation sigma (volts), cut off at 6 sigma,
// drawn by inverting a tabulated distribution.
struct NoiseParams {
    SegmentSpan span;
    double sigma = 0.0;
    std::uint32_t seed = 1;
};
// table must hold kNoiseTableSize doubles (work space, rebuilt on every call).
bool generateNoise(double* segment, const NoiseParams& p, double* table);

// The same with its own table and a clock seed (p.seed is not used).
bool generateNoise(double* segment, const NoiseParams& p);

// One noise sample from the two 15-bit draws r1, r2 over a built table.
double noiseSampleFromDraws(int r1, int r2, const double* table, double dx);

// Builds the distribution table for sigma and returns its step dx.
double buildNoiseTable(double sigma, double* table);

}  // namespace lyr::analog
