#pragma once
// How a generated segment is written into the analog track.
#include <cstddef>

namespace lyr::analog {

enum class AnalogApplyMode : int { Replace = 0, Add = 1, Subtract = 2, Multiply = 3 };

// destination[i] = destination[i] (op) source[i] for i < count, in plain
// double arithmetic with no limiting. Any other mode value changes nothing.
void combineAnalog(double* destination, const double* source, std::size_t count, AnalogApplyMode mode);

// Sets count doubles to 0.0.
void zeroSamples(double* buffer, std::size_t count);

}  // namespace lyr::analog
