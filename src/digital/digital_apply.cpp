#include "digital/digital_apply.h"

#include <cstring>

namespace lyr::digital {

namespace {

// Eight bytes per step through 64-bit words, then the tail byte by byte.
template <class Op>
void combineWords(std::uint8_t* d, const std::uint8_t* s, std::size_t n, Op op) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, d + i, 8);
        std::memcpy(&b, s + i, 8);
        a = op(a, b);
        std::memcpy(d + i, &a, 8);
    }
    for (; i < n; ++i) d[i] = static_cast<std::uint8_t>(op(std::uint64_t{d[i]}, std::uint64_t{s[i]}));
}

}  // namespace

void combineDigital(std::uint8_t* channel, const std::uint8_t* segment, std::size_t count, DigitalApplyMode mode) {
    switch (mode) {
    case DigitalApplyMode::Replace:
        if (count) std::memmove(channel, segment, count);
        break;
    case DigitalApplyMode::Or:
        combineWords(channel, segment, count, [](std::uint64_t a, std::uint64_t b) { return a | b; });
        break;
    case DigitalApplyMode::And:
        combineWords(channel, segment, count, [](std::uint64_t a, std::uint64_t b) { return a & b; });
        break;
    case DigitalApplyMode::Xor:
        combineWords(channel, segment, count, [](std::uint64_t a, std::uint64_t b) { return a ^ b; });
        break;
    }
}

}  // namespace lyr::digital
