#pragma once
// Bus traffic as digital levels: UART frames on one line, SPI words on clock,
// data and chip-select lines, I2C transactions on SCL and SDA. Every time is a
// whole number of samples; each generator writes levels (0/1) from index 0 of
// its channel buffers and returns false, writing nothing, when the parameters
// are out of range or the buffers are shorter than the pattern.
// Every pattern is self-contained: it begins and ends with each line it drives
// at the bus's idle level, so a receiver reads it whatever the lines held
// before and after.
#include <cstddef>
#include <cstdint>
#include <span>

namespace lyr::digital {

using Levels = std::span<std::uint8_t>;
using Bytes = std::span<const std::uint8_t>;

enum class Parity { None, Even, Odd, Mark, Space };

struct UartParams {
    std::uint64_t bitSamples = 1;  // one bit time
    int dataBits = 8;              // 5 .. 8
    Parity parity = Parity::None;
    int stopBits = 1;              // 1 or 2
    // The level between frames. An idle-low line is the whole frame inverted:
    // start bit 1, data and parity inverted, stop bits 0.
    std::uint8_t idle = 1;
    bool lsbFirst = true;
    std::uint64_t gapSamples = 0;  // idle after every frame's stop bits
};

// Samples of one frame with its gap, and of a stream of count frames with a
// bit time of idle before the first start bit and after the last frame.
std::uint64_t uartFrameSamples(const UartParams& p);
std::uint64_t uartSamples(const UartParams& p, std::size_t count);
bool generateUart(const UartParams& p, Bytes bytes, Levels line);

struct SpiParams {
    std::uint64_t clockSamples = 2;  // one clock period, at least 2
    int mode = 0;                    // 0 .. 3: clock polarity = mode / 2, phase = mode % 2
    bool msbFirst = true;
    int wordBits = 8;                // 8 or 16; a 16-bit word is two bytes, the first one high
    bool csActiveLow = true;
    std::uint64_t leadSamples = 2;   // chip select active before the first clock edge
    std::uint64_t lagSamples = 2;    // chip select still active after the last clock edge
};

// A clock period at rest (chip select inactive, clock at its idle level, data
// low), then lead + one clock period per bit + lag with chip select active,
// then a clock period at rest again. The clock rests at its idle level
// outside the bits.
std::uint64_t spiSamples(const SpiParams& p, std::size_t byteCount);
// A 16-bit word size takes an even number of bytes.
bool generateSpi(const SpiParams& p, Bytes bytes, Levels clock, Levels mosi, Levels chipSelect);

struct I2cParams {
    std::uint64_t bitSamples = 2;  // one SCL period, at least 2: low half, then high half
    std::uint8_t address = 0;      // 7 bits
    bool read = false;
    // The transaction ends in a repeated START, the bus kept, instead of a STOP.
    bool repeatedStart = false;
};

// A period of bus free (both lines high), START, address byte with R/W, the
// data bytes, each byte followed by its acknowledge bit (the target
// acknowledges the address and written bytes; on a read the controller
// acknowledges every byte but the last),
// then STOP and a period of bus free, or a repeated START that ends the
// pattern with the bus held (SCL high, SDA low). Bits are sent MSB first; SDA
// changes only while SCL is low.
std::uint64_t i2cSamples(const I2cParams& p, std::size_t byteCount);
bool generateI2c(const I2cParams& p, Bytes bytes, Levels scl, Levels sda);

}  // namespace lyr::digital
