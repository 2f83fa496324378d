#include "digital/word_fill.h"

#include <algorithm>
#include <cstring>

#include "document/quantities.h"

namespace lyr::digital {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;

}  // namespace

std::size_t heldSamples(std::size_t count, std::uint64_t h, std::size_t limit) {
    if (h == 0) return 0;
    // count <= 2^20 entries and h <= 2^20 samples a piece keep the product in 64 bits.
    return static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t(count) * h, limit));
}

std::size_t holdBits(std::uint8_t* segment, const std::uint8_t* entries, std::size_t count, unsigned shift,
                     std::uint64_t h, std::size_t limit) {
    const std::size_t total = heldSamples(count, h, limit);
    std::size_t pos = 0, e = 0;
    if (h == 1) {
        // Eight entries a step: bit `shift` of each byte brought to its bit 0.
        for (; pos + 8 <= total; pos += 8) {
            std::uint64_t word;
            std::memcpy(&word, entries + pos, 8);
            word = (word >> shift) & kOnes;
            std::memcpy(segment + pos, &word, 8);
        }
        for (; pos < total; ++pos) segment[pos] = std::uint8_t((entries[pos] >> shift) & 1);
        return total;
    }
    // Eight bytes a store while they stay inside the run: a store that runs
    // into the next entry's samples is overwritten by that entry.
    if (h <= 8) {
        for (; pos + 8 <= total; pos += h, ++e) {
            const std::uint64_t pattern = ((entries[e] >> shift) & 1) * kOnes;
            std::memcpy(segment + pos, &pattern, 8);
        }
    } else {
        for (; pos + h + 8 <= total; pos += h, ++e) {
            const std::uint64_t pattern = ((entries[e] >> shift) & 1) * kOnes;
            for (std::size_t q = 0; q < h; q += 8) std::memcpy(segment + pos + q, &pattern, 8);
        }
    }
    for (; pos < total; ++e) {
        const std::uint8_t v = std::uint8_t((entries[e] >> shift) & 1);
        const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(pos + h, total));
        for (; pos < end; ++pos) segment[pos] = v;
    }
    return total;
}

std::size_t fillParallel(std::uint8_t* const segments[8], const std::uint8_t* words, std::size_t count,
                         int bitOrder, std::uint64_t h, std::size_t limit) {
    std::size_t total = 0;
    for (unsigned k = 0; k < 8; ++k)
        total = holdBits(segments[k], words, count, bitOrder == 1 ? 7 - k : k, h, limit);
    return total;
}

std::size_t hexTextWords(std::string_view text) {
    std::string bits;
    if (!document::hexToBits(text, bits)) return 0;
    return (text.size() + 1) / 2;
}

bool wordsFromHexText(std::string& text, std::uint8_t* out, std::size_t capacity) {
    std::string bits;
    if (!document::hexToBits(text, bits)) return false;
    if (text.size() % 2 != 0) {
        text += '0';
        bits += "0000";
    }
    for (std::size_t w = 0; w < std::min(bits.size() / 8, capacity); ++w) {
        std::uint8_t word = 0;
        for (std::size_t b = 0; b < 8; ++b) word = std::uint8_t((word << 1) | (bits[8 * w + b] - '0'));
        out[w] = word;
    }
    return true;
}

}  // namespace lyr::digital
