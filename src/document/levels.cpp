#include "document/levels.h"

#include <cstring>

namespace lyr::document {

void invertLevels(std::uint8_t* d, std::size_t n) {
    std::size_t i = 0;
    // Eight samples at a time: per byte, the top bit of
    // ((x & 0x7F) + 0x7F) | x is set exactly when x is non-zero.
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, d + i, 8);
        const std::uint64_t nonZero = (((x & kLow7) + kLow7) | x) & kHigh;
        x = (nonZero >> 7) ^ kOnes;
        std::memcpy(d + i, &x, 8);
    }
    for (; i < n; ++i) d[i] = static_cast<std::uint8_t>(d[i] == 0);
}

}  // namespace lyr::document
