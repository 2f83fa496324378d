#pragma once
// How a generated run of levels is merged into a digital channel.
#include <cstddef>
#include <cstdint>

namespace lyr::digital {

// The combining rule, chosen by the button pressed ("置換", "OR", "AND", "XOR").
enum class DigitalApplyMode : int { Replace = 0, Or = 1, And = 2, Xor = 3 };

// channel[i] = channel[i] (op) segment[i] for i < count, byte by byte; pass
// the channel from the first sample to write (channel + s). Nothing outside
// [channel, channel + count) is read or written. Other mode values change nothing.
void combineDigital(std::uint8_t* channel, const std::uint8_t* segment, std::size_t count, DigitalApplyMode mode);

}  // namespace lyr::digital
