// The number files kept for the reader (hand-made cases and inputs kept from
// fuzzing): each ok-* file loads and each bad-* file is refused with the
// invalid-data message, whole and fed in blocks cut at every byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analog/text_source.h"

namespace lyr::analog {
namespace {

namespace doc = lyr::document;

TEST(NumberCorpus, EveryFileIsReadOrRefused) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(LYR_NUMBERS_DIR))
        if (e.path().extension() != ".md") files.push_back(e.path());
    ASSERT_GE(files.size(), 10u) << LYR_NUMBERS_DIR;
    std::vector<double> values(doc::kMaxReadEntries);
    for (const auto& file : files) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const bool ok = name.rfind("ok-", 0) == 0;
        ASSERT_TRUE(ok || name.rfind("bad-", 0) == 0);
        std::uint32_t count = 0;
        const auto status = parseTextSource(file.string(), values.data(), count);
        EXPECT_EQ(status, ok ? doc::ReadStatus::Ok : doc::ReadStatus::InvalidData);
        // The same verdict and values whatever block end cuts the bytes.
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::vector<double> whole(values.begin(), values.begin() + count);
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            NumberSink sink(values.data());
            std::size_t used = 0;
            auto v = sink.consume(std::string_view(bytes).substr(0, cut), used);
            if (v == NumberSink::Verdict::More) v = sink.consume(std::string_view(bytes).substr(cut), used);
            if (v == NumberSink::Verdict::More) v = sink.finish();
            ASSERT_EQ(v == NumberSink::Verdict::Invalid, !ok) << cut;
            if (ok) {
                ASSERT_EQ(std::vector<double>(values.begin(), values.begin() + sink.count()), whole) << cut;
            }
        }
    }
}

}  // namespace
}  // namespace lyr::analog
