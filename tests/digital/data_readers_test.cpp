// The bit and hexadecimal files, the waveform file as a word source, and
// the rule that a failed load keeps what was loaded before. Block splits and
// small limits against the byte-by-byte reading are the fuzz targets' check,
// replayed over their corpora in every run (FuzzCorpus.bit_reader, hex_reader).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "digital/data_readers.h"
#include "document/waveform_file.h"
#include "support/waveform_files.h"
#include "support/documents.h"

namespace lyr::digital {
namespace {

using lyr::test::putFileText;

namespace doc = lyr::document;
using test::ScratchFolder;

constexpr std::size_t kMax = LoadedEntries::kCapacity;
const std::string kOverLimit = doc::readStatusMessage(doc::ReadStatus::OverLimit);
const std::string kInvalid = doc::readStatusMessage(doc::ReadStatus::InvalidData);

std::vector<std::uint8_t> entries(const LoadedEntries& e) { return {e.data(), e.data() + e.count()}; }

std::string repeated(const std::string& piece, std::size_t times) {
    std::string s;
    s.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) s += piece;
    return s;
}

// A bit file (CH text of 0 and 1) or a hexadecimal word file, and what it loads.
TEST(DataReaders, BitAndHexadecimalFiles) {
    struct Case {
        const char* name;
        bool hex;
        std::string text;
        bool loaded;
        std::string message;
        std::vector<std::uint8_t> first;  // the first entries expected
        std::size_t count;
    };
    const std::vector<Case> cases = {
        {"bits: separators", false, "1 0,1;1\r\n0\t", true, "", {1, 0, 1, 1, 0}, 5},
        {"bits: empty", false, "", true, "", {}, 0},
        {"bits: a two", false, "1012", false, kInvalid, {}, 0},
        {"bits: a letter after bits", false, "1,0,b", false, kInvalid, {}, 0},
        {"bits: exactly the limit", false, repeated("10", kMax / 2), true, "", {1, 0, 1}, kMax},
        {"bits: one bit over", false, repeated("01", kMax / 2) + "1", true, kOverLimit, {0, 1, 0}, kMax},
        {"bits: a separator over", false, repeated("1,", kMax), true, kOverLimit, {1, 1}, kMax},
        {"bits: bad byte past the limit", false, repeated("1", kMax) + "x", true, kOverLimit, {1}, kMax},
        {"hex: pending digit at the end", true, "1 2,3", true, "", {0x12, 0x30}, 2},
        {"hex: separators inside a word", true, "a;B\nc\r\n", true, "", {0xAB, 0xC0}, 2},
        {"hex: empty", true, " \r\n", true, "", {}, 0},
        {"hex: a prefix", true, "0x12", false, kInvalid, {}, 0},
        {"hex: exactly the limit", true, repeated("5a", kMax), true, "", {0x5A, 0x5A}, kMax},
        {"hex: a lone digit over", true, repeated("F0 ", kMax) + "7", true, kOverLimit, {0xF0}, kMax},
    };
    ScratchFolder dir;
    LoadedEntries e;
    ASSERT_TRUE(e.allocate());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        putFileText(dir.file("data.txt"), c.text);
        const auto r = (c.hex ? loadParallelFile : loadSerialFile)(dir.file("data.txt"), e, nullptr);
        EXPECT_EQ(r.loaded, c.loaded);
        EXPECT_EQ(r.message, c.message);
        EXPECT_FALSE(r.interval);
        if (!c.loaded) continue;
        ASSERT_EQ(e.count(), c.count);
        EXPECT_EQ(std::vector<std::uint8_t>(e.data(), e.data() + c.first.size()), c.first);
    }
}

TEST(DataReaders, WaveformFileAsWordSource) {
    ScratchFolder dir;
    auto src = test::newDoc(30, 20);  // the shortest waveform a file holds
    std::vector<std::uint8_t> levels(20, 0);
    levels[0] = 0x01, levels[1] = 0x80, levels[2] = 0xFF, levels[19] = 0x5A;
    for (int k = 0; k < 8; ++k)
        for (int i = 0; i < 20; ++i) src->digital(k)[i] = (levels[i] >> k) & 1;
    const std::string path = dir.file("src.LyR");
    ASSERT_TRUE(doc::saveWaveformFile(path, *src, doc::StoredExtras{}).ok);

    LoadedEntries words;
    ASSERT_TRUE(words.allocate());
    const auto r = loadParallelFile(path, words, nullptr);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.interval, 30);
    EXPECT_EQ(entries(words), levels);

    // Four characters or fewer name no file: nothing happens.
    for (const char* shortPath : {"a.ly", "", "ｘ.ly"}) {
        const auto ignored = loadParallelFile(shortPath, words, nullptr);
        EXPECT_TRUE(ignored.ignored) << shortPath;
        EXPECT_EQ(ignored.message, "");
    }
    EXPECT_EQ(words.count(), 20u);
}

// Whatever fails, the bits or words of the previous load and their count stay.
TEST(DataReaders, AFailedLoadKeepsThePreviousEntries) {
    ScratchFolder dir;
    putFileText(dir.file("good.txt"), "1,0,1");
    putFileText(dir.file("bad.txt"), "00000000z2");
    putFileText(dir.file("bad.lyr"), "not a waveform");
    putFileText(dir.file("good.csv"), "C3 3C A");
    struct Case {
        const char* name;
        bool parallel;
        std::string good, bad, message;
    };
    const std::vector<Case> cases = {
        {"bits, invalid", false, "good.txt", "bad.txt", kInvalid},
        {"bits, missing", false, "good.txt", "none.txt", "ファイルオープンエラーです。"},
        {"words, invalid", true, "good.csv", "bad.txt", kInvalid},
        {"words, not a waveform", true, "good.csv", "bad.lyr", "ファイルフォーマットエラーです。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedEntries e;
        ASSERT_TRUE(e.allocate());
        auto load = c.parallel ? loadParallelFile : loadSerialFile;
        ASSERT_TRUE(load(dir.file(c.good), e, nullptr).loaded);
        const auto before = entries(e);
        const auto r = load(dir.file(c.bad), e, nullptr);
        EXPECT_FALSE(r.loaded);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(entries(e), before);
    }
}

}  // namespace
}  // namespace lyr::digital
