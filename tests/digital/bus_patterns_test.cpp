// UART, SPI and I2C patterns read back by decoders written from each bus's
// own rules (where a receiver samples, which edges and conditions count), not
// from the generators.
#include "digital/bus_patterns.h"
#include "digital/bus_decoders.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace lyr::digital {
namespace {

std::string text(const Buffer& levels, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + levels[i]);
    return s;
}

Buffer randomBytes(std::mt19937& rng, std::size_t n) {
    Buffer b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

TEST(Uart, OneFrameOf0x55In8E1BitByBit) {
    UartParams p;
    p.parity = Parity::Even;
    const Buffer bytes = {0x55};
    Buffer line(16, 7);
    ASSERT_TRUE(generateUart(p, bytes, line));
    // idle, start, data LSB first, even parity (four ones), stop, idle
    EXPECT_EQ(text(line, 13), "1" "0" "10101010" "0" "1" "1");
    EXPECT_EQ(line[13], 7);  // nothing beyond the pattern
    // Three samples per bit and a gap of two; an idle-low line is the frame inverted.
    p.bitSamples = 3;
    p.gapSamples = 2;
    p.idle = 0;
    ASSERT_EQ(uartSamples(p, 1), 41u);
    Buffer slow(41);
    ASSERT_TRUE(generateUart(p, bytes, slow));
    EXPECT_EQ(text(slow, 41), "000" "111" "000111000111000111000111" "111" "000" "00" "000");
}

TEST(Uart, RandomBytesRoundTripWithEveryOption) {
    std::mt19937 rng(12345);
    const Parity parities[] = {Parity::None, Parity::Even, Parity::Odd, Parity::Mark, Parity::Space};
    int combinations = 0;
    for (int dataBits = 5; dataBits <= 8; ++dataBits)
        for (Parity parity : parities)
            for (int stopBits : {1, 2})
                for (std::uint8_t idle : {0, 1})
                    for (bool lsbFirst : {true, false})
                        for (std::uint64_t gap : {0, 5})
                            for (std::uint64_t bitSamples : {1, 2, 7}) {
                                UartParams p{bitSamples, dataBits, parity, stopBits, idle, lsbFirst, gap};
                                const Buffer bytes = randomBytes(rng, 1 + rng() % 40);
                                const std::uint64_t n = uartSamples(p, bytes.size());
                                Buffer line(n + 3, idle);
                                ASSERT_TRUE(generateUart(p, bytes, line));
                                const auto d = decodeUart(line, n + 3, bitSamples, dataBits, parity, stopBits, idle,
                                                          lsbFirst);
                                Buffer expected = bytes;
                                for (auto& b : expected) b &= static_cast<std::uint8_t>((1 << dataBits) - 1);
                                ASSERT_EQ(d.errors, 0) << combinations;
                                ASSERT_EQ(d.bytes, expected) << combinations;
                                ++combinations;
                            }
    EXPECT_EQ(combinations, 4 * 5 * 2 * 2 * 2 * 2 * 3);
}

TEST(Spi, RandomBytesRoundTripInEveryModeOrderWordSizeAndSelectPolarity) {
    std::mt19937 rng(777);
    int combinations = 0;
    for (int mode = 0; mode < 4; ++mode)
        for (bool msbFirst : {true, false})
            for (int wordBits : {8, 16})
                for (bool csActiveLow : {true, false})
                    for (std::uint64_t clock : {2, 3, 6})
                        for (std::uint64_t leadLag : {1, 4}) {
                            SpiParams p{clock, mode, msbFirst, wordBits, csActiveLow, leadLag, leadLag + 1};
                            const Buffer bytes = randomBytes(rng, 2 * (1 + rng() % 20));
                            const std::uint64_t n = spiSamples(p, bytes.size());
                            ASSERT_EQ(n, 2 * clock + 2 * leadLag + 1 + bytes.size() * 8 * clock);
                            // One idle sample on either side, chip select inactive.
                            Buffer clk(n + 2, static_cast<std::uint8_t>(mode >> 1)), mosi(n + 2, 0),
                                cs(n + 2, csActiveLow ? 1 : 0);
                            ASSERT_TRUE(generateSpi(p, bytes, Levels(clk).subspan(1), Levels(mosi).subspan(1),
                                                    Levels(cs).subspan(1)));
                            int errors = 0;
                            EXPECT_EQ(decodeSpi(clk, mosi, cs, n + 2, mode, msbFirst, wordBits, csActiveLow, errors),
                                      bytes)
                                << combinations;
                            EXPECT_EQ(errors, 0) << combinations;
                            ++combinations;
                        }
    EXPECT_EQ(combinations, 4 * 2 * 2 * 2 * 3 * 2);
}

TEST(Spi, Mode0OneByteLayout) {
    SpiParams p;  // mode 0, MSB first, 2 samples per clock, lead and lag 2
    Buffer clk(24, 1), mosi(24, 1), cs(24, 0);
    ASSERT_TRUE(generateSpi(p, Buffer{0xA1}, clk, mosi, cs));
    // A clock period at rest with chip select inactive on either side.
    EXPECT_EQ(text(clk, 24), "00" "00" "0101010101010101" "00" "00");
    EXPECT_EQ(text(mosi, 24), "00" "11" "1100110000000011" "11" "00");
    EXPECT_EQ(text(cs, 24), "11" + std::string(20, '0') + "11");
    p.csActiveLow = false;
    ASSERT_TRUE(generateSpi(p, Buffer{0xA1}, clk, mosi, cs));
    EXPECT_EQ(text(cs, 24), "00" + std::string(20, '1') + "00");
}

TEST(I2c, WriteOfTwoBytesWithItsAcknowledges) {
    I2cParams p;  // two samples per SCL period: low, then high
    p.address = 0x50;
    const Buffer bytes = {0xA5, 0x3C};
    ASSERT_EQ(i2cSamples(p, 2), 61u);
    Buffer scl(61), sda(61);
    ASSERT_TRUE(generateI2c(p, bytes, scl, sda));
    std::string clockPulses;
    for (int i = 0; i < 27; ++i) clockPulses += "01";
    EXPECT_EQ(text(scl, 61), "111" + clockPulses + "0111");
    EXPECT_EQ(text(sda, 61), "110"                   // a period of bus free, START
                             "110011000000000000"    // 0xA0 (0x50, write), ACK 0
                             "110011000011001100"    // 0xA5, ACK 0
                             "000011111111000000"    // 0x3C, ACK 0
                             "0011");                // STOP, a period of bus free
    // A repeated START ends the pattern with the bus held.
    p.repeatedStart = true;
    ASSERT_EQ(i2cSamples(p, 2), 60u);
    ASSERT_TRUE(generateI2c(p, bytes, scl, sda));
    EXPECT_EQ(text(scl, 60), "111" + clockPulses + "011");
    EXPECT_EQ(text(sda, 60).substr(57), "110");
}

TEST(I2c, RandomTransfersRoundTripReadWriteAndRepeatedStart) {
    std::mt19937 rng(4242);
    for (bool read : {false, true})
        for (bool repeated : {false, true})
            for (std::uint64_t bitSamples : {2, 3, 8})
                for (std::size_t count : {0, 1, 17}) {
                    I2cParams p{bitSamples, static_cast<std::uint8_t>(rng() % 128), read, repeated};
                    const Buffer bytes = randomBytes(rng, count);
                    const std::uint64_t n = i2cSamples(p, count);
                    Buffer scl(n), sda(n);
                    ASSERT_TRUE(generateI2c(p, bytes, scl, sda));
                    const auto d = decodeI2c(scl, sda, n);
                    SCOPED_TRACE(std::to_string(read) + std::to_string(repeated) + " " + std::to_string(count));
                    EXPECT_EQ(d.errors, 0);
                    EXPECT_EQ(d.conditions, repeated ? "SS" : "SP");
                    ASSERT_EQ(d.bytes.size(), count + 1);
                    EXPECT_EQ(d.bytes[0], (p.address << 1) | (read ? 1 : 0));
                    EXPECT_EQ(Buffer(d.bytes.begin() + 1, d.bytes.end()), bytes);
                    // The target acknowledges the address and what is written; a
                    // reading controller refuses the last byte.
                    std::string acks(count + 1, '0');
                    if (read && count > 0) acks.back() = '1';
                    EXPECT_EQ(d.acks, acks);
                    EXPECT_EQ(scl.back(), 1);
                    EXPECT_EQ(sda.back(), repeated ? 0 : 1);
                    EXPECT_EQ(sda.front() & scl.front(), 1);  // bus free before START
                }
}

TEST(Protocols, OutOfRangeParametersAndShortBuffersWriteNothing) {
    Buffer a(4096, 9), b(4096, 9), c(4096, 9);
    const Buffer one = {0x12}, three = {1, 2, 3};
    auto untouched = [&] { return a == Buffer(4096, 9) && b == Buffer(4096, 9) && c == Buffer(4096, 9); };
    UartParams u;
    for (auto change : std::vector<void (*)(UartParams&)>{
             [](UartParams& x) { x.dataBits = 4; }, [](UartParams& x) { x.dataBits = 9; },
             [](UartParams& x) { x.stopBits = 3; }, [](UartParams& x) { x.bitSamples = 0; },
             [](UartParams& x) { x.idle = 2; }, [](UartParams& x) { x.bitSamples = ~0ull / 4; }}) {
        UartParams bad = u;
        change(bad);
        EXPECT_FALSE(generateUart(bad, one, a));
    }
    EXPECT_FALSE(generateUart(u, one, Levels(a).first(9)));
    SpiParams s;
    EXPECT_FALSE(generateSpi(SpiParams{1, 0, true, 8, true, 2, 2}, one, a, b, c));
    EXPECT_FALSE(generateSpi(SpiParams{2, 4, true, 8, true, 2, 2}, one, a, b, c));
    EXPECT_FALSE(generateSpi(SpiParams{2, 0, true, 12, true, 2, 2}, one, a, b, c));
    s.wordBits = 16;
    EXPECT_FALSE(generateSpi(s, three, a, b, c));  // half a word
    s.wordBits = 8;
    EXPECT_FALSE(generateSpi(s, one, a, b, Levels(c).first(19)));
    EXPECT_FALSE(generateI2c(I2cParams{1, 0x10, false, false}, one, a, b));
    EXPECT_FALSE(generateI2c(I2cParams{2, 0x80, false, false}, one, a, b));
    EXPECT_FALSE(generateI2c(I2cParams{2, 0x10, false, false}, one, a, Levels(b).first(40)));
    EXPECT_TRUE(untouched());
}

}  // namespace
}  // namespace lyr::digital
