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

bool generateSine(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                  std::int64_t period, std::int64_t sinePeriod, std::int64_t delay, double amplitude,
                  double offset, std::uint32_t repeatCount);

// One cycle: edge v2->v1 (t1), hold v1 (t2), edge v1->v2 (t3), hold v2 (t4);
// the segment starts at position t0 of the cycle. v0 is not used here.
bool generateRectangle(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                       std::int64_t period, std::int64_t t0, std::int64_t t1, std::int64_t t2, std::int64_t t3,
                       std::int64_t t4, double v0, double v1, double v2, std::uint32_t repeatCount);

// The level of the rectangle cycle at position p (0 <= p < cycle length), as
// the start-voltage readout shows it.
double rectangleLevelAt(std::int64_t p, std::int64_t t1, std::int64_t t2, std::int64_t t3, double v1, double v2);

bool generateDc(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                std::int64_t period, double v0);

bool generateRamp(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                  std::int64_t period, double v0, double v1);

bool generateExponential(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                         std::int64_t period, std::int64_t timeConstant, double v0, double v1);

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
// drawn by inverting a tabulated distribution. table must hold
// kNoiseTableSize doubles (work space, rebuilt on every call).
bool generateNoise(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                   std::int64_t period, double sigma, std::uint32_t seed, double* table);

// The same with its own table and a clock seed.
bool generateNoise(double* segment, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t start,
                   std::int64_t period, double sigma);

// One noise sample from the two 15-bit draws r1, r2 over a built table.
double noiseSampleFromDraws(int r1, int r2, const double* table, double dx);

// Builds the distribution table for sigma and returns its step dx.
double buildNoiseTable(double sigma, double* table);

}  // namespace lyr::analog
