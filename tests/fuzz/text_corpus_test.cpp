// Every file of the text corpus (hand-made cases and inputs kept from
// fuzzing) read as a bit file and as a word file: what loads is what the
// plain byte-by-byte reading gives, a refused file keeps the entries loaded
// before, and the fuzz targets' comparison holds for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "digital/data_readers.h"
#include "fuzz_text_readers.h"

namespace lyr::digital {
namespace {

TEST(TextCorpus, EveryFileReadsAsTheRulesSayOrIsRefusedCleanly) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(LYR_TEXT_CORPUS_DIR))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 12u) << "corpus missing in " << LYR_TEXT_CORPUS_DIR;

    const std::string invalid = document::readStatusMessage(document::ReadStatus::InvalidData);
    LoadedEntries bits, words;
    ASSERT_TRUE(bits.allocate() && words.allocate());
    const std::uint8_t kept[] = {0xA5};
    std::copy(kept, kept + 1, bits.spare());
    bits.adopt(1);
    std::copy(kept, kept + 1, words.spare());
    words.adopt(1);
    int refused = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::ifstream in(file, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
        EXPECT_EQ(fuzzTextReader<BitReader>(data, text.size(), false), 0);
        EXPECT_EQ(fuzzTextReader<HexWordReader>(data, text.size(), true), 0);

        for (const bool hex : {false, true}) {
            LoadedEntries& e = hex ? words : bits;
            const auto want = test::referenceRead(text, hex, LoadedEntries::kCapacity);
            const auto before = std::vector<std::uint8_t>(e.data(), e.data() + e.count());
            const auto r = hex ? loadParallelFile(file.string(), e, nullptr) : loadSerialFile(file.string(), e, nullptr);
            const bool ok = want.verdict != document::BlockSink::Verdict::Invalid;
            EXPECT_EQ(r.loaded, ok) << (hex ? "hex" : "bits");
            EXPECT_EQ(r.message, ok ? "" : invalid);
            const auto after = std::vector<std::uint8_t>(e.data(), e.data() + e.count());
            EXPECT_EQ(after, ok ? want.entries : before);
            refused += ok ? 0 : 1;
        }
        // A name that says "invalid" is refused by both readers.
        if (file.filename().string().find("invalid") != std::string::npos) {
            EXPECT_EQ(test::referenceRead(text, true, LoadedEntries::kCapacity).verdict,
                      document::BlockSink::Verdict::Invalid);
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace lyr::digital
