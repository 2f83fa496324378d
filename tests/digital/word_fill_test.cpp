// Entries held for h samples, and the words of a hexadecimal text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "digital/word_fill.h"

namespace lyr::digital {
namespace {

using Bytes = std::vector<std::uint8_t>;

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
