#pragma once
// Segments of the serial and parallel editors: each bit or word is held for
// a whole number h of samples, one after another, and the run is cut at the
// end of the waveform, possibly inside an entry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lyr::digital {

// Samples in a run of count entries of h samples each, cut at limit.
std::size_t heldSamples(std::size_t count, std::uint64_t h, std::size_t limit);

// segment[k] = bit `shift` of entries[k / h] for k < heldSamples(count, h, limit);
// returns that number. h >= 1.
std::size_t holdBits(std::uint8_t* segment, const std::uint8_t* entries, std::size_t count, unsigned shift,
                     std::uint64_t h, std::size_t limit);

// Serial: bits (0/1) held h samples each.
inline std::size_t fillSerial(std::uint8_t* segment, const std::uint8_t* bits, std::size_t count, std::uint64_t h,
                              std::size_t limit) {
    return holdBits(segment, bits, count, 0, h, limit);
}

// Parallel: segments[k] takes bit k of every word with bit order 0, bit 7 - k
// with bit order 1; every channel is filled.
std::size_t fillParallel(std::uint8_t* const segments[8], const std::uint8_t* words, std::size_t count,
                         int bitOrder, std::uint64_t h, std::size_t limit);

// A direct-input hexadecimal text: only digits, at least one. An odd number
// of digits gets a "0" appended to text itself; then every pair is a word,
// high nibble first; the first `capacity` words go to out.
bool wordsFromHexText(std::string& text, std::uint8_t* out, std::size_t capacity);
// The same test without the text changed: the number of words, 0 when invalid.
std::size_t hexTextWords(std::string_view text);

}  // namespace lyr::digital
