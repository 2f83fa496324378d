#include "digital/bus_patterns.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace lyr::digital {

namespace {

constexpr std::uint64_t kNoFit = ~std::uint64_t{0};

// a * b + c, or kNoFit when it does not fit in 64 bits.
std::uint64_t mulAdd(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
    if (a != 0 && b > (kNoFit - 1) / a) return kNoFit;
    const std::uint64_t ab = a * b;
    return ab > kNoFit - 1 - c ? kNoFit : ab + c;
}

bool validUart(const UartParams& p) {
    return p.bitSamples >= 1 && p.dataBits >= 5 && p.dataBits <= 8 && (p.stopBits == 1 || p.stopBits == 2) &&
           p.idle <= 1;
}

int uartFrameBits(const UartParams& p) { return 1 + p.dataBits + (p.parity == Parity::None ? 0 : 1) + p.stopBits; }

// The levels of one frame for the byte, start bit first.
int uartFrame(const UartParams& p, std::uint8_t byte, std::uint8_t* bits) {
    int n = 0;
    int ones = 0;
    bits[n++] = 0;
    for (int i = 0; i < p.dataBits; ++i) {
        const int bit = (byte >> (p.lsbFirst ? i : p.dataBits - 1 - i)) & 1;
        ones += bit;
        bits[n++] = static_cast<std::uint8_t>(bit);
    }
    switch (p.parity) {
    case Parity::None: break;
    case Parity::Even: bits[n++] = static_cast<std::uint8_t>(ones & 1); break;
    case Parity::Odd: bits[n++] = static_cast<std::uint8_t>(!(ones & 1)); break;
    case Parity::Mark: bits[n++] = 1; break;
    case Parity::Space: bits[n++] = 0; break;
    }
    for (int i = 0; i < p.stopBits; ++i) bits[n++] = 1;
    const std::uint8_t invert = p.idle ? 0 : 1;
    for (int i = 0; i < n; ++i) bits[i] ^= invert;
    return n;
}

}  // namespace

std::uint64_t uartFrameSamples(const UartParams& p) {
    if (!validUart(p)) return kNoFit;
    return mulAdd(static_cast<std::uint64_t>(uartFrameBits(p)), p.bitSamples, p.gapSamples);
}

std::uint64_t uartSamples(const UartParams& p, std::size_t count) {
    const std::uint64_t frame = uartFrameSamples(p);
    if (frame == kNoFit || p.bitSamples > (kNoFit - 1) / 2) return kNoFit;
    return mulAdd(frame, count, 2 * p.bitSamples);
}

bool generateUart(const UartParams& p, Bytes bytes, Levels line) {
    const std::uint64_t total = uartSamples(p, bytes.size());
    if (total == kNoFit || total > line.size()) return false;
    // A bit time of idle line before the first start bit, so that a receiver
    // sees the edge into it whatever the line held before.
    std::memset(line.data(), p.idle, p.bitSamples);
    std::uint8_t* out = line.data() + p.bitSamples;
    // One frame's levels per byte value, computed once.
    constexpr std::size_t kSlot = 16;
    std::array<std::uint8_t, 256 * kSlot> table;
    const int frameBits = uartFrameBits(p);
    for (int v = 0; v < 256; ++v) {
        std::uint8_t* slot = &table[static_cast<std::size_t>(v) * kSlot];
        uartFrame(p, static_cast<std::uint8_t>(v), slot);
        std::memset(slot + frameBits, p.idle, kSlot - static_cast<std::size_t>(frameBits));
    }
    const std::uint64_t step = uartFrameSamples(p);
    // One sample per bit and a short gap: whole frames as one copy each, while
    // a full slot still fits into the stream.
    std::size_t i = 0;
    if (p.bitSamples == 1 && step <= kSlot) {
        const std::size_t frame = static_cast<std::size_t>(step);
        // The last slot copied must end inside the stream.
        const std::uint64_t frames = total - 2 * p.bitSamples;
        const std::size_t whole = frames >= kSlot ? std::min(bytes.size(), (frames - kSlot) / frame + 1) : 0;
        const std::uint8_t* values = bytes.data();
        for (; i < whole; ++i, out += frame) std::memcpy(out, &table[std::size_t{values[i]} * kSlot], kSlot);
    }
    for (; i < bytes.size(); ++i) {
        const std::uint8_t* bits = &table[std::size_t{bytes[i]} * kSlot];
        for (int b = 0; b < frameBits; ++b, out += p.bitSamples) std::memset(out, bits[b], p.bitSamples);
        std::memset(out, p.idle, p.gapSamples);
        out += p.gapSamples;
    }
    std::memset(out, p.idle, p.bitSamples);  // and after the last stop bit
    return true;
}

// ---- SPI ---------------------------------------------------------------------

namespace {

bool validSpi(const SpiParams& p, std::size_t byteCount) {
    return p.clockSamples >= 2 && p.mode >= 0 && p.mode <= 3 && (p.wordBits == 8 || p.wordBits == 16) &&
           (p.wordBits == 8 || byteCount % 2 == 0);
}

}  // namespace

std::uint64_t spiSamples(const SpiParams& p, std::size_t byteCount) {
    if (!validSpi(p, byteCount)) return kNoFit;
    const std::uint64_t bits = mulAdd(byteCount, 8, 0);
    if (bits == kNoFit || p.lagSamples > kNoFit - 1 - p.leadSamples) return kNoFit;
    const std::uint64_t active = mulAdd(bits, p.clockSamples, p.leadSamples + p.lagSamples);
    if (active == kNoFit || p.clockSamples > (kNoFit - 1 - active) / 2) return kNoFit;
    return active + 2 * p.clockSamples;
}

bool generateSpi(const SpiParams& p, Bytes bytes, Levels clock, Levels mosi, Levels chipSelect) {
    const std::uint64_t total = spiSamples(p, bytes.size());
    if (total == kNoFit || total > clock.size() || total > mosi.size() || total > chipSelect.size()) return false;
    const std::uint8_t idle = static_cast<std::uint8_t>(p.mode >> 1);
    const bool dataOnLeadingEdge = (p.mode & 1) == 0;  // sampled there; else shifted there
    const std::uint64_t firstHalf = p.clockSamples / 2;
    const std::uint64_t secondHalf = p.clockSamples - firstHalf;
    // A clock period with chip select inactive and the clock at rest on either
    // side of the transfer, so that a device sees it begin and end.
    const std::uint64_t rest = p.clockSamples;
    const std::uint8_t active = p.csActiveLow ? 0 : 1;
    std::memset(chipSelect.data(), !active, rest);
    std::memset(chipSelect.data() + rest, active, total - 2 * rest);
    std::memset(chipSelect.data() + total - rest, !active, rest);
    std::memset(clock.data(), idle, rest);
    std::memset(clock.data() + total - rest, idle, rest);
    std::memset(mosi.data(), 0, rest);
    std::memset(mosi.data() + total - rest, 0, rest);

    // The bits in the order they go out.
    std::vector<std::uint8_t> bits;
    bits.reserve(bytes.size() * 8);
    const std::size_t wordBytes = static_cast<std::size_t>(p.wordBits / 8);
    for (std::size_t w = 0; w < bytes.size(); w += wordBytes) {
        unsigned word = bytes[w];
        if (wordBytes == 2) word = (word << 8) | bytes[w + 1];
        for (int i = 0; i < p.wordBits; ++i)
            bits.push_back(static_cast<std::uint8_t>((word >> (p.msbFirst ? p.wordBits - 1 - i : i)) & 1));
    }

    std::uint8_t* c = clock.data() + rest;
    std::uint8_t* d = mosi.data() + rest;
    const std::uint8_t firstBit = bits.empty() ? 0 : bits.front();
    std::memset(c, idle, p.leadSamples);
    std::memset(d, firstBit, p.leadSamples);
    std::uint64_t at = p.leadSamples;
    for (std::uint8_t bit : bits) {
        // Phase 0: idle half, then the leading edge where the bit is taken.
        // Phase 1: the leading edge puts the bit out, the trailing one takes it.
        std::memset(c + at, dataOnLeadingEdge ? idle : !idle, firstHalf);
        std::memset(c + at + firstHalf, dataOnLeadingEdge ? !idle : idle, secondHalf);
        std::memset(d + at, bit, p.clockSamples);
        at += p.clockSamples;
    }
    std::memset(c + at, idle, p.lagSamples);
    std::memset(d + at, bits.empty() ? 0 : bits.back(), p.lagSamples);
    return true;
}

// ---- I2C ---------------------------------------------------------------------

std::uint64_t i2cSamples(const I2cParams& p, std::size_t byteCount) {
    if (p.bitSamples < 2 || p.address > 0x7F) return kNoFit;
    const std::uint64_t bits = mulAdd(byteCount, 9, 9);
    if (bits == kNoFit || p.bitSamples > kNoFit / 8) return kNoFit;
    // A period of bus free and the START half, the bits, then the clock pulse
    // of the end condition and a period of bus free after a STOP (half a
    // period holding the bus after a repeated START).
    const std::uint64_t low = p.bitSamples / 2, high = p.bitSamples - low;
    const std::uint64_t ends = p.bitSamples + high + p.bitSamples + (p.repeatedStart ? low : p.bitSamples);
    return mulAdd(bits, p.bitSamples, ends);
}

bool generateI2c(const I2cParams& p, Bytes bytes, Levels scl, Levels sda) {
    const std::uint64_t total = i2cSamples(p, bytes.size());
    if (total == kNoFit || total > scl.size() || total > sda.size()) return false;
    const std::uint64_t low = p.bitSamples / 2, high = p.bitSamples - low;
    std::uint64_t at = 0;
    auto put = [&](std::uint64_t n, std::uint8_t clockLevel, std::uint8_t dataLevel) {
        std::memset(scl.data() + at, clockLevel, n);
        std::memset(sda.data() + at, dataLevel, n);
        at += n;
    };
    auto sendByte = [&](std::uint8_t byte, std::uint8_t ack) {
        for (int i = 7; i >= -1; --i) {
            const std::uint8_t bit = i >= 0 ? static_cast<std::uint8_t>((byte >> i) & 1) : ack;
            put(low, 0, bit);
            put(high, 1, bit);
        }
    };
    put(p.bitSamples, 1, 1);  // bus free
    put(high, 1, 0);          // START: SDA falls while SCL is high
    sendByte(static_cast<std::uint8_t>((p.address << 1) | (p.read ? 1 : 0)), 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool last = i + 1 == bytes.size();
        sendByte(bytes[i], p.read && last ? 1 : 0);
    }
    if (p.repeatedStart) {
        put(low, 0, 1);
        put(high, 1, 1);
        put(low, 1, 0);  // START again, the bus kept
    } else {
        put(low, 0, 0);
        put(high, 1, 0);
        put(p.bitSamples, 1, 1);  // STOP: SDA rises while SCL is high; then bus free
    }
    return at == total;
}

}  // namespace lyr::digital
