// Every file of the malformed corpus (hand-made cases and inputs kept from
// fuzzing) is refused by both readers as a format error, and an open leaves
// the document and the stored extras as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "document/waveform_file.h"
#include "support/documents.h"

namespace lyr::document {
namespace {

namespace wf = wavefile;

std::vector<std::filesystem::path> corpus() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(LYR_MALFORMED_DIR)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && ext != ".py" && ext != ".md") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(WaveformCorpus, EveryMalformedFileIsRefusedCleanly) {
    const auto files = corpus();
    ASSERT_GE(files.size(), 20u) << "corpus missing in " << LYR_MALFORMED_DIR;

    auto doc = lyr::test::newDoc(100, 50);
    for (std::uint32_t i = 0; i < 50; ++i) {
        doc->analog()[i] = i * 0.01;
        doc->digital(3)[i] = std::uint8_t(i & 1);
    }
    const DocumentFileRecord before = doc->exportForFile();
    std::vector<double> analog(doc->analog(), doc->analog() + 50);
    StoredExtras extras;
    extras.deviceText = "kept";
    extras.viewState.cursor = 7;

    wf::WaveformFileContents contents;
    for (const auto& file : files) {
        const std::string path = file.string();
        SCOPED_TRACE(file.filename().string());
        // Refused by the section readers (a document's limits, such as the
        // analog resolution, by the open only).
        const auto current = wf::readWaveformFile(path, wf::kFormatVersion, contents);
        const auto legacy = wf::readLegacyFile(path, contents);
        if (file.filename() != "resolution-20.lyr") {
            EXPECT_EQ(current.message, wf::kMsgFormatError);
        }
        EXPECT_EQ(legacy.message, wf::kMsgFormatError);

        StoredExtras x = extras;
        const OpenResult a = openWaveformFile(path, *doc, x);
        const OpenResult b = openLegacyFile(path, *doc, x);
        EXPECT_FALSE(a.ok);
        EXPECT_FALSE(b.ok);
        EXPECT_EQ(a.message, wf::kMsgFormatError);
        EXPECT_EQ(b.message, wf::kMsgFormatError);
        EXPECT_EQ(doc->exportForFile(), before);
        EXPECT_EQ(std::memcmp(doc->analog(), analog.data(), 50 * sizeof(double)), 0);
        EXPECT_EQ(x, extras);
    }
}

}  // namespace
}  // namespace lyr::document
