#pragma once
// Receivers for UART, SPI and I2C written from each bus's own rules (where a
// receiver samples, which edges and conditions count), not from the
// generators, to read generated lines back into bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "digital/bus_patterns.h"

namespace lyr::digital {

using Buffer = std::vector<std::uint8_t>;

// ---- UART: a receiver hunts for the start edge, then samples every bit at its
// middle; a start bit, parity or stop bit that is wrong is a framing error.
struct UartDecoded {
    Buffer bytes;
    int errors = 0;
};

inline UartDecoded decodeUart(const Buffer& line, std::size_t n, std::uint64_t bitTime, int dataBits, Parity parity,
                       int stopBits, std::uint8_t idle, bool lsbFirst) {
    UartDecoded out;
    auto level = [&](std::uint64_t t) { return static_cast<int>(line[t] != idle); };  // 1 = mark
    std::uint64_t t = 0;
    const int frameBits = 1 + dataBits + (parity == Parity::None ? 0 : 1) + stopBits;
    while (t < n) {
        if (line[t] == idle) {
            ++t;
            continue;
        }
        const std::uint64_t start = t;
        auto middle = [&](int bit) { return start + bit * bitTime + bitTime / 2; };
        if (middle(frameBits - 1) >= n) {
            ++out.errors;  // cut off
            break;
        }
        if (level(middle(0)) != 1) ++out.errors;  // a start bit is the line away from idle
        int value = 0, ones = 0;
        for (int i = 0; i < dataBits; ++i) {
            const int bit = level(middle(1 + i)) ^ 1;  // data: mark is 1
            ones += bit;
            value |= bit << (lsbFirst ? i : dataBits - 1 - i);
        }
        int at = 1 + dataBits;
        if (parity != Parity::None) {
            const int p = level(middle(at++)) ^ 1;
            const int expected = parity == Parity::Even ? ones % 2
                                 : parity == Parity::Odd ? 1 - ones % 2
                                 : parity == Parity::Mark ? 1
                                                          : 0;
            if (p != expected) ++out.errors;
        }
        for (int s = 0; s < stopBits; ++s)
            if (level(middle(at++)) != 0) ++out.errors;  // stop bits rest at idle
        out.bytes.push_back(static_cast<std::uint8_t>(value));
        t = start + static_cast<std::uint64_t>(frameBits) * bitTime;
    }
    return out;
}

// ---- SPI: while chip select is active the receiver takes the data line at
// the leading clock edge (phase 0) or the trailing one (phase 1); the clock
// rests at its polarity's level.
inline Buffer decodeSpi(const Buffer& clk, const Buffer& mosi, const Buffer& cs, std::size_t n, int mode, bool msbFirst,
                 int wordBits, bool csActiveLow, int& errors) {
    const std::uint8_t cpol = static_cast<std::uint8_t>(mode >> 1), active = csActiveLow ? 0 : 1;
    Buffer bytes;
    unsigned word = 0;
    int bits = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (cs[i] != active) continue;
        if (i == 0 || cs[i - 1] != active) {
            if (clk[i] != cpol) ++errors;  // selected with the clock away from idle
            continue;
        }
        const bool leading = clk[i - 1] == cpol && clk[i] != cpol;
        const bool trailing = clk[i - 1] != cpol && clk[i] == cpol;
        if (!((mode & 1) == 0 ? leading : trailing)) continue;
        const unsigned bit = mosi[i];
        word = msbFirst ? (word << 1) | bit : word | (bit << bits);
        if (++bits == wordBits) {
            if (wordBits == 16) bytes.push_back(static_cast<std::uint8_t>(word >> 8));
            bytes.push_back(static_cast<std::uint8_t>(word));
            word = 0;
            bits = 0;
        }
    }
    if (bits != 0) ++errors;  // a word cut short
    return bytes;
}

// ---- I2C: SDA falling while SCL is high is a START, rising a STOP; a bit is
// taken at each rising SCL edge, nine to a byte, the ninth the acknowledge.
struct I2cDecoded {
    std::string conditions;  // "S" for each START, "P" for each STOP
    Buffer bytes;            // address byte first
    std::string acks;        // "0" acknowledged, "1" not
    int errors = 0;
};

inline I2cDecoded decodeI2c(const Buffer& scl, const Buffer& sda, std::size_t n) {
    I2cDecoded out;
    unsigned byte = 0;
    int bits = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (scl[i - 1] == 1 && scl[i] == 1 && sda[i - 1] != sda[i]) {
            out.conditions += sda[i] == 0 ? "S" : "P";
            // The clock pulse that sets up a STOP or repeated START takes one
            // bit at most; more is a byte cut short.
            if (bits > 1) ++out.errors;
            bits = 0;
            byte = 0;
        } else if (scl[i - 1] == 0 && scl[i] == 1) {
            if (++bits <= 8) {
                byte = (byte << 1) | sda[i];
            } else {
                out.bytes.push_back(static_cast<std::uint8_t>(byte));
                out.acks += static_cast<char>('0' + sda[i]);
                bits = 0;
                byte = 0;
            }
        }
    }
    return out;
}

}  // namespace lyr::digital
