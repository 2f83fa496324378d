#include "document/cp932.h"

#include <gtest/gtest.h>

namespace lyr::document {
namespace {

TEST(Cp932, AsciiKatakanaAndKanji) {
    EXPECT_EQ(cp932ToUtf8("CH0 wave"), "CH0 wave");
    // "ｱﾅﾛｸﾞ" in half-width katakana.
    EXPECT_EQ(cp932ToUtf8("\xB1\xC5\xDB\xB8\xDE"), "ｱﾅﾛｸﾞ");
    // "波形" and "亜" (first and a common JIS X 0208 kanji).
    EXPECT_EQ(cp932ToUtf8("\x94\x67\x8C\x60"), "波形");
    EXPECT_EQ(cp932ToUtf8("\x88\x9F"), "亜");
    // Full-width digits and the vendor rows (NEC row 13 circled one, IBM kanji).
    EXPECT_EQ(cp932ToUtf8("\x82\x4F\x87\x40\xFA\x5C"), "０①纊");
}

TEST(Cp932, UnassignedBytesShowTheirHexValue) {
    EXPECT_EQ(cp932ToUtf8("A\xFD" "B"), "A<FD>B");
    EXPECT_EQ(cp932ToUtf8("\x80\xA0"), "<80><A0>");
    // A lead byte at the end, and a lead byte followed by a byte that cannot trail.
    EXPECT_EQ(cp932ToUtf8("x\x88"), "x<88>");
    EXPECT_EQ(cp932ToUtf8("\x88\x20" "a"), "<88> a");
    // An unassigned pair is shown whole.
    EXPECT_EQ(cp932ToUtf8("\x85\x40"), "<8540>");
}

}  // namespace
}  // namespace lyr::document
