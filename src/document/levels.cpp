#include "document/levels.h"


namespace lyr::document {

void invertLevels(std::uint8_t* d, std::size_t n) {
    // Blocks of a fixed size, so that the compiler turns each block into
    // vector compares, then the tail.
    constexpr std::size_t kBlock = 256;
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (std::size_t j = 0; j < kBlock; ++j) d[i + j] = static_cast<std::uint8_t>(d[i + j] == 0);
    for (; i < n; ++i) d[i] = static_cast<std::uint8_t>(d[i] == 0);
}

}  // namespace lyr::document
