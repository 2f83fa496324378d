#include "analog/analog_apply.h"

#include <algorithm>

namespace lyr::analog {

void combineAnalog(double* destination, const double* source, std::size_t count, AnalogApplyMode mode) {
    // One loop per mode so that each is a straight vectorisable pass.
    switch (mode) {
    case AnalogApplyMode::Replace:
        std::copy(source, source + count, destination);
        break;
    case AnalogApplyMode::Add:
        for (std::size_t i = 0; i < count; ++i) destination[i] += source[i];
        break;
    case AnalogApplyMode::Subtract:
        for (std::size_t i = 0; i < count; ++i) destination[i] -= source[i];
        break;
    case AnalogApplyMode::Multiply:
        for (std::size_t i = 0; i < count; ++i) destination[i] *= source[i];
        break;
    }
}

void zeroSamples(double* buffer, std::size_t count) { std::fill(buffer, buffer + count, 0.0); }

}  // namespace lyr::analog
