#include "digital/digital_apply.h"

#include <cstring>

namespace lyr::digital {

namespace {

// Blocks of a fixed size, so that the compiler turns each block into vector
// operations, then the tail byte by byte. The segment is the editor's own
// buffer and never overlaps the channel.
template <class Op>
void combineBlocks(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, std::size_t n, Op op) {
    constexpr std::size_t kBlock = 256;
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (std::size_t j = 0; j < kBlock; ++j) d[i + j] = op(d[i + j], s[i + j]);
    for (; i < n; ++i) d[i] = op(d[i], s[i]);
}

}  // namespace

void combineDigital(std::uint8_t* channel, const std::uint8_t* segment, std::size_t count, DigitalApplyMode mode) {
    switch (mode) {
    case DigitalApplyMode::Replace:
        if (count) std::memmove(channel, segment, count);
        break;
    case DigitalApplyMode::Or:
        combineBlocks(channel, segment, count, [](std::uint8_t a, std::uint8_t b) -> std::uint8_t { return a | b; });
        break;
    case DigitalApplyMode::And:
        combineBlocks(channel, segment, count, [](std::uint8_t a, std::uint8_t b) -> std::uint8_t { return a & b; });
        break;
    case DigitalApplyMode::Xor:
        combineBlocks(channel, segment, count, [](std::uint8_t a, std::uint8_t b) -> std::uint8_t { return a ^ b; });
        break;
    }
}

}  // namespace lyr::digital
