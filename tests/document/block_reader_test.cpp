// The block reader's progress: every whole percent of the bytes read, also
// for a file much shorter than one block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/block_reader.h"
#include "support/scratch_folder.h"
#include "support/waveform_files.h"

namespace lyr::document {
namespace {

struct Percents : ReadProgress {
    std::vector<int> seen;
    void setPercent(int p) override { seen.push_back(p); }
};

// Takes every byte; counts them.
struct CountingSink : BlockSink {
    std::size_t bytes = 0;
    Verdict consume(std::string_view block, std::size_t&) override {
        bytes += block.size();
        return Verdict::More;
    }
    Verdict finish() override { return Verdict::More; }
};

TEST(BlockReaderProgress, MovesAtEveryWholePercent) {
    test::ScratchFolder dir;
    // under 100 bytes some percents are skipped; from 100 bytes on none is
    for (std::size_t size : {std::size_t{37}, std::size_t{100}, std::size_t{4321}, std::size_t{200'000},
                             kReadBlockBytes, kReadBlockBytes * 2 + 12345}) {
        const std::string path = dir / "data.bin";
        test::putFileText(path, std::string(size, 'x'));
        Percents progress;
        CountingSink sink;
        ASSERT_EQ(readBlocks(path, sink, &progress), ReadStatus::Ok) << size;
        EXPECT_EQ(sink.bytes, size);
        ASSERT_FALSE(progress.seen.empty());
        EXPECT_EQ(progress.seen.front(), 0) << size;
        EXPECT_EQ(progress.seen.back(), 100) << size;
        for (std::size_t i = 1; i < progress.seen.size(); ++i) {
            EXPECT_GT(progress.seen[i], progress.seen[i - 1]) << size;
            if (size >= 100) {
                EXPECT_EQ(progress.seen[i], progress.seen[i - 1] + 1) << size << " at " << i;
            }
        }
    }
}

}  // namespace
}  // namespace lyr::document
