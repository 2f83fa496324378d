// The bit and hexadecimal readers, the waveform file as a word source, and
// the rule that a failed load keeps what was loaded before.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "digital/data_readers.h"
#include "document/waveform_file.h"
#include "support/waveform_files.h"
#include "support/documents.h"
#include "support/text_reader_reference.h"

namespace lyr::digital {
namespace {

namespace doc = lyr::document;
using test::ScratchFolder;

constexpr std::size_t kMax = LoadedEntries::kCapacity;
const std::string kOverLimit = doc::readStatusMessage(doc::ReadStatus::OverLimit);
const std::string kInvalid = doc::readStatusMessage(doc::ReadStatus::InvalidData);

void putText(const std::string& path, const std::string& text) {
    test::putFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> entries(const LoadedEntries& e) { return {e.data(), e.data() + e.count()}; }

std::string repeated(const std::string& piece, std::size_t times) {
    std::string s;
    s.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) s += piece;
    return s;
}

struct FileCase {
    const char* name;
    std::string text;
    bool loaded;
    std::string message;
    std::vector<std::uint8_t> first;  // the first entries expected
    std::size_t count;
};

TEST(DataReaders, BitFiles) {
    const std::vector<FileCase> cases = {
        {"separators", "1 0,1;1\r\n0\t", true, "", {1, 0, 1, 1, 0}, 5},
        {"empty", "", true, "", {}, 0},
        {"a two", "1012", false, kInvalid, {}, 0},
        {"a letter after bits", "1,0,b", false, kInvalid, {}, 0},
        {"exactly the limit", repeated("10", kMax / 2), true, "", {1, 0, 1}, kMax},
        {"one bit over", repeated("01", kMax / 2) + "1", true, kOverLimit, {0, 1, 0}, kMax},
        {"a separator over", repeated("1,", kMax), true, kOverLimit, {1, 1}, kMax},
        {"bad byte past the limit", repeated("1", kMax) + "x", true, kOverLimit, {1}, kMax},
    };
    ScratchFolder dir;
    LoadedEntries bits;
    ASSERT_TRUE(bits.allocate());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        putText(dir.file("bits.txt"), c.text);
        const auto r = loadSerialFile(dir.file("bits.txt"), bits, nullptr);
        EXPECT_EQ(r.loaded, c.loaded);
        EXPECT_EQ(r.message, c.message);
        if (!c.loaded) continue;
        ASSERT_EQ(bits.count(), c.count);
        EXPECT_EQ(std::vector<std::uint8_t>(bits.data(), bits.data() + c.first.size()), c.first);
    }
}

TEST(DataReaders, HexadecimalFiles) {
    const std::vector<FileCase> cases = {
        {"pending digit at the end", "1 2,3", true, "", {0x12, 0x30}, 2},
        {"separators inside a word", "a;B\nc\r\n", true, "", {0xAB, 0xC0}, 2},
        {"empty", " \r\n", true, "", {}, 0},
        {"a prefix", "0x12", false, kInvalid, {}, 0},
        {"exactly the limit", repeated("5a", kMax), true, "", {0x5A, 0x5A}, kMax},
        {"a lone digit over", repeated("F0 ", kMax) + "7", true, kOverLimit, {0xF0}, kMax},
    };
    ScratchFolder dir;
    LoadedEntries words;
    ASSERT_TRUE(words.allocate());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        putText(dir.file("words.txt"), c.text);
        const auto r = loadParallelFile(dir.file("words.txt"), words, nullptr);
        EXPECT_EQ(r.loaded, c.loaded);
        EXPECT_EQ(r.message, c.message);
        EXPECT_FALSE(r.interval);
        if (!c.loaded) continue;
        ASSERT_EQ(words.count(), c.count);
        EXPECT_EQ(std::vector<std::uint8_t>(words.data(), words.data() + c.first.size()), c.first);
    }
}

// Any split of the bytes into blocks and any limit read as the plain byte by
// byte reading would: the fast paths and the byte-by-byte end agree.
TEST(DataReaders, BlockSplitsAndSmallLimitsMatchTheByteByByteReading) {
    std::mt19937 rng(11);
    const std::string alphabet = "0011aF9 ,;\r\n";
    for (int round = 0; round < 600; ++round) {
        std::string text;
        const std::size_t length = rng() % 60;
        for (std::size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
        if (round % 7 == 0 && !text.empty()) text[rng() % text.size()] = 'x';
        const std::size_t capacity = 1 + rng() % 12, blockSize = 1 + rng() % 9;
        std::vector<std::uint8_t> buffer(capacity);
        for (const bool hex : {false, true}) {
            SCOPED_TRACE(text + (hex ? " hex" : " bits") + " capacity " + std::to_string(capacity) + " blocks " +
                         std::to_string(blockSize));
            const auto want = test::referenceRead(text, hex, capacity);
            const auto got = hex ? test::readInBlocks<HexWordReader>(text, capacity, blockSize, buffer)
                                 : test::readInBlocks<BitReader>(text, capacity, blockSize, buffer);
            ASSERT_EQ(got.verdict, want.verdict);
            EXPECT_EQ(got.entries, want.entries);
            EXPECT_EQ(got.used, want.used);
        }
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
    putText(dir.file("good.txt"), "1,0,1");
    putText(dir.file("bad.txt"), "00000000z2");
    putText(dir.file("bad.lyr"), "not a waveform");
    putText(dir.file("good.csv"), "C3 3C A");
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
