// The number reader: separators, the allowed bytes, whole-token conversion,
// the over-limit rule and tokens cut by the end of a block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "analog/text_source.h"
#include "support/waveform_files.h"

namespace lyr::analog {
namespace {

namespace doc = lyr::document;

struct Read {
    doc::ReadStatus status;
    std::vector<double> values;
};

Read readText(const test::ScratchFolder& dir, const std::string& text) {
    const std::string path = dir.file("numbers.csv");
    std::ofstream(path, std::ios::binary) << text;
    std::vector<double> values(doc::kMaxReadEntries, -99.0);
    std::uint32_t count = 7;
    const auto status = parseTextSource(path, values.data(), count, nullptr);
    values.resize(count);
    return {status, values};
}

// The refused texts kept as files (a header, two points, two signs, an
// overflow, a byte order mark, a comment, quotes) are NumberCorpus's.
TEST(NumberReader, FilesAndTheirValues) {
    test::ScratchFolder dir;
    const double denormal = 4.9406564584124654e-324;
    struct Case {
        const char* text;
        doc::ReadStatus status;
        std::vector<double> values;
    } cases[] = {
        {"1.5,2.5\r\n-3e-1;4D0\t5", doc::ReadStatus::Ok, {1.5, 2.5, -0.3, 4.0, 5.0}},
        {"", doc::ReadStatus::Ok, {}},
        {" ,;\t\r\n\n,,", doc::ReadStatus::Ok, {}},
        {"+5 -.5 5. 1d+2 1E-2 2e-400 -1e-400 4.9406564584124654e-324", doc::ReadStatus::Ok,
         {5, -0.5, 5, 100, 0.01, 0.0, -0.0, denormal}},
        {"000001.000 1e0000000000000000000000001", doc::ReadStatus::Ok, {1, 10}},
        {"-1e999,2", doc::ReadStatus::InvalidData, {}},           // overflow
        {"1,2e", doc::ReadStatus::InvalidData, {}},               // a cut exponent at the end
        {"1-2", doc::ReadStatus::InvalidData, {}},
        {"inf", doc::ReadStatus::InvalidData, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Read r = readText(dir, c.text);
        EXPECT_EQ(r.status, c.status);
        ASSERT_EQ(r.values.size(), c.values.size());
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(r.values[i], c.values[i]) << i;
            EXPECT_EQ(std::signbit(r.values[i]), std::signbit(c.values[i])) << i;
        }
    }
    std::uint32_t count = 3;
    std::vector<double> values(4);
    EXPECT_EQ(parseTextSource(dir.file("missing.csv"), values.data(), count), doc::ReadStatus::OpenError);
    EXPECT_EQ(count, 0u);
}

TEST(NumberReader, LimitAndBlockBoundaries) {
    test::ScratchFolder dir;
    const std::size_t limit = doc::kMaxReadEntries;
    // One value per line: "1\n" pairs, so 1,048,576 values fill exactly two blocks.
    std::string exact;
    exact.reserve(2 * limit + 8);
    for (std::size_t i = 0; i < limit; ++i) exact += i % 2 ? "1\n" : "2\n";
    struct Case {
        std::string text;
        doc::ReadStatus status;
        std::size_t count;
    } cases[] = {
        {exact, doc::ReadStatus::Ok, limit},
        {exact + "\n", doc::ReadStatus::OverLimit, limit},         // only a separator left
        {exact + "7", doc::ReadStatus::OverLimit, limit},
        {exact.substr(0, exact.size() - 1), doc::ReadStatus::Ok, limit},  // the last value at the very end
    };
    for (const auto& c : cases) {
        const Read r = readText(dir, c.text);
        EXPECT_EQ(r.status, c.status) << c.text.size();
        ASSERT_EQ(r.values.size(), c.count);
        EXPECT_EQ(r.values[0], 2.0);
        EXPECT_EQ(r.values[limit - 1], 1.0);
    }
    // Tokens cut by the block end, one ordinary and one with a sign and "D".
    for (const std::string& token : {std::string("123.25"), std::string("+1.5D1")}) {
        std::string text(doc::kReadBlockBytes - 3, ' ');
        text += token + ",8";
        const Read r = readText(dir, text);
        ASSERT_EQ(r.status, doc::ReadStatus::Ok) << token;
        ASSERT_EQ(r.values.size(), 2u);
        double expected = 0;
        ASSERT_TRUE(convertNumberToken(token, expected));
        EXPECT_EQ(r.values[0], expected);
        EXPECT_EQ(r.values[1], 8.0);
    }
    std::string bad(doc::kReadBlockBytes - 1, ' ');
    EXPECT_EQ(readText(dir, bad + "12x").status, doc::ReadStatus::InvalidData);
}

// Whole blocks are read in two halves at once: the values, their order and
// the refusals are those of the C library reading token by token, wherever
// the halves meet (the plain decimals take their own fast conversion).
TEST(NumberReader, TwoThreadBlocksReadAsTheCLibraryDoes) {
    test::ScratchFolder dir;
    std::string text;
    std::vector<double> expected;
    const char* forms[] = {"%.4f", "-%.6f", "%.17g", "%.3e", "+%.2f", "%.0f", "-0.%06.0f", "%.15f"};
    for (std::size_t i = 0; text.size() < 3 * doc::kReadBlockBytes; ++i) {
        char token[64];
        const double x = std::sin(double(i)) * std::pow(10.0, double(i % 7) - 3.0);
        std::snprintf(token, sizeof token, forms[i % 8], i % 8 == 6 ? std::fabs(x) * 1e6 : std::fabs(x));
        text += token;
        text += " ,;\t\r\n"[i % 6];
        expected.push_back(std::strtod(token, nullptr));
    }
    const Read r = readText(dir, text);
    ASSERT_EQ(r.status, doc::ReadStatus::Ok);
    ASSERT_EQ(r.values.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(std::memcmp(&r.values[i], &expected[i], 8), 0) << i << ": " << r.values[i] << " " << expected[i];
    // a refused byte in the second half of a block, and in the first
    for (std::size_t at : {doc::kReadBlockBytes * 3 / 4, doc::kReadBlockBytes / 4}) {
        std::string bad = text;
        bad[at] = 'x';
        EXPECT_EQ(readText(dir, bad).status, doc::ReadStatus::InvalidData) << at;
    }
}

}  // namespace
}  // namespace lyr::analog
