#pragma once
// Texts the view writes into the status strip: total and sampling time, the
// cursor and time-mark values, and the two intervals.
#include <array>
#include <cstdint>
#include <string>

namespace lyr::view {

// Unit of the fixed-unit format, chosen from the digits of the total time.
int fixedUnitFor(std::int64_t totalNs);
// Unit of the difference format, chosen from the difference's own magnitude.
int differenceUnitFor(std::int64_t ns);
// Trailing zero digits of the sampling time in ns (its resolution).
int samplingZeros(std::int64_t samplingNs);

// A time in a given unit with as many decimals as the sampling time resolves:
// "0.3 uS" for 300 ns in uS with Ts = 100 ns; "-" in front of negative values.
std::string formatFixedUnit(std::int64_t ns, int unit, std::int64_t samplingNs);
// The same with the unit of the difference itself.
std::string formatDifference(std::int64_t ns, std::int64_t samplingNs);
// Sampling time with its own unit ("100 nS").
std::string formatSampling(std::int64_t samplingNs);
// "%.4f V".
std::string formatVoltsReadout(double volts);

// Values at one position: time, voltage and the eight channel levels.
struct PointReadout {
    std::string time;
    std::string volts;
    std::array<std::string, 8> levels;
};

// Track data the readouts read (the first n samples belong to the waveform).
struct TrackView {
    std::uint32_t n = 0;
    std::int64_t samplingNs = 0;
    const double* analog = nullptr;
    std::array<const std::uint8_t*, 8> digital{};
};

// Position index (0..n); at or past the end the last sample's values are shown.
PointReadout pointReadout(const TrackView& t, std::uint32_t index, int unit);

struct Readouts {
    std::string totalTime;
    std::string samplingTime;
    PointReadout cursor;
    PointReadout mark;  // all empty while no mark is set
    std::string cursorMinusMark;
    std::string mouseMinusCursor;
};

// Everything except the mouse interval, which changes with the pointer.
Readouts computeReadouts(const TrackView& t, std::uint32_t cursor, bool markSet, std::uint32_t mark);
std::string mouseMinusCursor(const TrackView& t, std::uint32_t mouseIndex, std::uint32_t cursor);

}  // namespace lyr::view
