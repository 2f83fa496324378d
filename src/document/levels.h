#pragma once
// Byte-wise rules on runs of digital levels (one byte per sample, 0 or 1).
#include <cstddef>
#include <cstdint>

namespace lyr::document {

// Each level becomes 1 when it was 0, else 0 (any non-zero byte counts as high).
void invertLevels(std::uint8_t* levels, std::size_t count);

}  // namespace lyr::document
