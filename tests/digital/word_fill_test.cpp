// The serial and parallel segments and the direct-input texts.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "digital/word_fill.h"

namespace lyr::digital {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes runs(std::initializer_list<std::pair<std::size_t, std::uint8_t>> parts) {
    Bytes b;
    for (const auto& [n, v] : parts) b.insert(b.end(), n, v);
    return b;
}

TEST(WordFill, SerialBitsHeldAndCutAtTheEnd) {
    struct Case {
        const char* name;
        Bytes bits;
        std::uint64_t h;
        std::size_t limit;
        Bytes want;
    };
    const std::vector<Case> cases = {
        {"1011 at 3 Ts", {1, 0, 1, 1}, 3, 100, {1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1}},
        {"cut inside a bit", {1, 0, 1, 1}, 3, 7, {1, 1, 1, 0, 0, 0, 1}},
        {"one sample a bit", {0, 1, 1}, 1, 2, {0, 1}},
        {"wide bits cut", {1, 0, 1}, 10, 25, runs({{10, 1}, {10, 0}, {5, 1}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes segment(64, 0xEE);
        const std::size_t n = fillSerial(segment.data(), c.bits.data(), c.bits.size(), c.h, c.limit);
        ASSERT_EQ(n, c.want.size());
        EXPECT_EQ(Bytes(segment.begin(), segment.begin() + std::ptrdiff_t(n)), c.want);
        EXPECT_EQ(segment[n], 0xEE);  // nothing written past the run
    }
}

// Sample k holds entry k / h, for every h the wide stores treat differently.
TEST(WordFill, HoldMatchesTheDefinitionForManyWidths) {
    std::mt19937 rng(3);
    Bytes words(40);
    for (auto& w : words) w = std::uint8_t(rng());
    for (std::uint64_t h = 1; h <= 20; ++h) {
        for (std::size_t limit : {std::size_t(1), std::size_t(37), std::size_t(8 * h + 3), std::size_t(5000)}) {
            for (unsigned shift = 0; shift < 8; shift += 3) {
                const std::size_t total = heldSamples(words.size(), h, limit);
                Bytes segment(total + 16, 0xEE);
                ASSERT_EQ(holdBits(segment.data(), words.data(), words.size(), shift, h, limit), total);
                for (std::size_t k = 0; k < total; ++k)
                    ASSERT_EQ(segment[k], (words[k / h] >> shift) & 1) << "h " << h << " k " << k;
                EXPECT_EQ(segment[total], 0xEE);
            }
        }
    }
}

TEST(WordFill, ParallelBitOrders) {
    struct Case {
        const char* name;
        Bytes words;
        int order;
        std::uint64_t h;
        std::array<Bytes, 8> want;  // CH0..CH7
    };
    const std::vector<Case> cases = {
        {"0F order 0", {0x0F}, 0, 1, {Bytes{1}, {1}, {1}, {1}, {0}, {0}, {0}, {0}}},
        {"0F order 1", {0x0F}, 1, 1, {Bytes{0}, {0}, {0}, {0}, {1}, {1}, {1}, {1}}},
        {"AB C0 order 0", {0xAB, 0xC0}, 0, 2,
         {Bytes{1, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 1},
          {1, 1, 1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<Bytes, 8> segments;
        std::uint8_t* out[8];
        for (int k = 0; k < 8; ++k) out[k] = (segments[k] = Bytes(8, 0xEE)).data();
        const std::size_t n = fillParallel(out, c.words.data(), c.words.size(), c.order, c.h, 100);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(Bytes(segments[k].begin(), segments[k].begin() + std::ptrdiff_t(n)), c.want[k]) << "CH" << k;
    }
}

TEST(WordFill, HexadecimalTexts) {
    struct Case {
        std::string text;
        bool valid;
        std::string after;  // the text after create
        Bytes want;
    };
    const std::vector<Case> cases = {
        {"ABC", true, "ABC0", {0xAB, 0xC0}},
        {"0f", true, "0f", {0x0F}},
        {"12 34", false, "12 34", {}},
        {"", false, "", {}},
        {"1G", false, "1G", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Bytes out(8, 0xEE);
        std::string text = c.text;
        EXPECT_EQ(wordsFromHexText(text, out.data(), out.size()), c.valid);
        EXPECT_EQ(text, c.after);
        EXPECT_EQ(hexTextWords(c.text), c.want.size());
        EXPECT_EQ(Bytes(out.begin(), out.begin() + std::ptrdiff_t(c.want.size())), c.want);
    }
    // A text longer than the buffer fills it and no more.
    Bytes two(3, 0xEE);
    std::string longText = "A1B2C3D4";
    ASSERT_TRUE(wordsFromHexText(longText, two.data(), 2));
    EXPECT_EQ(two, (Bytes{0xA1, 0xB2, 0xEE}));
}

}  // namespace
}  // namespace lyr::digital
