// Saving the document and opening files into it.
#include "document/waveform_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "support/waveform_files.h"
#include "support/documents.h"
#include "support/editor_settings.h"

namespace lyr::document {
namespace {

using test::fileBytes;
using test::putFileBytes;
namespace wf = wavefile;

using test::makeDoc;

// A document with every stored field away from its default.
std::unique_ptr<CSYNDoc> busyDoc(std::uint32_t n = 1000, std::uint32_t units = 25) {
    auto doc = test::newDoc(std::int64_t(units) * 10, n);
    DocumentFileRecord r = doc->exportForFile();
    r.revisionId = 4242;
    r.documentId = 777;
    r.modificationCount = 17;
    const char* names[9] = {"Vout", "CLK", "DATA", "", "en", "12345678", "a b", "x", "CH7"};
    for (int i = 0; i < 9; ++i) {
        r.signalNames[i] = SignalName{};
        std::memcpy(r.signalNames[i].data(), names[i], std::strlen(names[i]));
    }
    r.outputSettings = {.startControl = 2, .outputMode = 1, .syncPolarity = 1, .repeatCount = 99, .retrigger = 1,
                        .analogResolution = 10};
    r.editorSettings = test::scrambledEditorSettings();
    EXPECT_TRUE(doc->importFromFile(r));
    for (std::uint32_t i = 0; i < n; ++i) {
        doc->analog()[i] = std::sin(i * 0.01) * 1.2;
        for (int k = 0; k < 8; ++k) doc->digital(k)[i] = std::uint8_t(((i * 5 + k) >> (k % 3)) & 1);
    }
    doc->analog()[3] = std::numeric_limits<double>::quiet_NaN();
    return doc;
}

StoredExtras busyExtras() {
    StoredExtras x;
    x.editLocked = true;
    x.reservedFlag1 = 1;
    x.reservedFlag3 = 1;
    x.deviceText = "GEN-A";
    x.viewState.cursor = 321;
    x.viewState.markSet = 1;
    x.viewState.mark = 500;
    x.viewState.markX = -4;
    x.viewState.history[127] = 99;
    x.viewState.next = 3;
    x.viewState.zoomSpans[31] = 1u << 20;
    x.viewState.zoom = 6;
    return x;
}

bool sameSamples(const CSYNDoc& a, const CSYNDoc& b) {
    const std::uint32_t n = a.sampleCount();
    if (n != b.sampleCount()) return false;
    if (std::memcmp(a.analog(), b.analog(), n * sizeof(double)) != 0) return false;
    for (int k = 0; k < 8; ++k)
        if (std::memcmp(a.digital(k), b.digital(k), n) != 0) return false;
    return true;
}

class WaveformFileDoc : public ::testing::Test {
protected:
    test::ScratchFolder folder;
};

TEST_F(WaveformFileDoc, EverythingSurvivesSaveAndOpen) {
    auto doc = busyDoc();
    const StoredExtras extras = busyExtras();
    const std::string path = folder.file("a.lyr");
    const SaveResult saved = saveWaveformFile(path, *doc, extras);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(saved.message, wf::kMsgOk);
    EXPECT_EQ(fileBytes(path).size(), wf::currentFileSize(1000));

    auto other = makeDoc();
    StoredExtras got;
    const OpenResult opened = openWaveformFile(path, *other, got);
    ASSERT_TRUE(opened.ok) << opened.message;
    EXPECT_EQ(opened.format, FileFormat::Lyr);
    EXPECT_EQ(opened.formatVersion, 3u);
    EXPECT_TRUE(opened.fullImport);
    EXPECT_EQ(other->exportForFile(), doc->exportForFile());
    EXPECT_EQ(other->savedOutputSettings(), doc->outputSettings());
    EXPECT_EQ(other->savedModificationCount(), 17);
    EXPECT_FALSE(other->isModified());
    EXPECT_TRUE(sameSamples(*doc, *other));
    EXPECT_EQ(got, extras);
}

// The record layout itself is SettingsRecords'; here: the block written is
// the widened (dword) layout, from its first byte, zeros after it.
TEST_F(WaveformFileDoc, SettingsBlockHoldsTheWidenedRecords) {
    auto doc = busyDoc(20);
    const std::string path = folder.file("a.lyr");
    ASSERT_TRUE(saveWaveformFile(path, *doc, {}).ok);
    const auto bytes = fileBytes(path);
    std::vector<std::uint8_t> expected(kEditorSettingsDwordSize);
    ASSERT_EQ(encodeEditorSettings(doc->editorSettings(), expected, ByteFieldWidth::Dword), expected.size());
    expected.resize(4092, 0);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 1024 + 9 * 20, bytes.end() - 4), expected);
}

TEST_F(WaveformFileDoc, SavingLeavesTheTracksAsTheyAre) {
    auto doc = busyDoc(64);
    for (std::uint32_t i = 0; i < 64; ++i) {
        doc->digital(0)[i] = 0;
        doc->digital(1)[i] = 1;
    }
    doc->digital(2)[5] = 2;  // not a clean level: stored as high, left alone here
    ASSERT_TRUE(saveWaveformFile(folder.file("a.lyr"), *doc, {}).ok);
    for (std::uint32_t i = 0; i < 64; ++i) ASSERT_EQ(doc->digital(0)[i], 0);
    EXPECT_EQ(doc->digital(2)[5], 2);
}

TEST_F(WaveformFileDoc, VersionTwoOpensWithDefaults) {
    auto doc = busyDoc(300);
    const std::string path = folder.file("v2.lyr");
    ASSERT_TRUE(saveWaveformFile(path, *doc, busyExtras()).ok);
    auto bytes = fileBytes(path);
    wf::putU32(&bytes[1020], 2);
    putFileBytes(path, bytes);

    auto other = makeDoc();
    StoredExtras x = busyExtras();
    const OpenResult r = openWaveformFile(path, *other, x);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.formatVersion, 2u);
    EXPECT_FALSE(r.fullImport);
    EXPECT_TRUE(sameSamples(*doc, *other));
    EXPECT_EQ(other->samplingUnits(), 25u);
    EXPECT_EQ(other->totalTime(), 75000u);
    EXPECT_EQ(other->outputSettings(), doc->outputSettings());
    EXPECT_EQ(other->editorSettings(), EditorSettings{});
    EXPECT_EQ(other->signalNames(), SignalNames{});
    EXPECT_EQ(other->modificationCount(), 0);
    EXPECT_EQ(x, StoredExtras{});

    // Without a bit allocation the other version opens with the default one;
    // the current version with a resolution the document cannot hold is refused.
    wf::putU32(&bytes[900], 0);
    test::resealHeader(bytes.data());
    putFileBytes(path, bytes);
    const OpenResult zero = openWaveformFile(path, *other, x);
    ASSERT_TRUE(zero.ok) << zero.message;
    EXPECT_EQ(other->analogResolution(), 12);
    EXPECT_EQ(other->outputSettings().repeatCount, 99);
    wf::putU32(&bytes[1020], 3);
    putFileBytes(path, bytes);
    EXPECT_EQ(openWaveformFile(path, *other, x).message, wf::kMsgFormatError);
}

// The header check accepts any unit field whose product matches; the
// document keeps Ts × N on 10 ns steps, and what it saves must open again.
TEST_F(WaveformFileDoc, OtherTimeUnitOpensAndSavesAFileThatOpensAgain) {
    auto doc = busyDoc(100, 25);
    const std::string path = folder.file("unit.lyr");
    ASSERT_TRUE(saveWaveformFile(path, *doc, {}).ok);
    auto bytes = fileBytes(path);
    wf::putU32(&bytes[16], 20);
    wf::putU64(&bytes[0], 20ull * 25 * 100);
    test::resealHeader(bytes.data());
    putFileBytes(path, bytes);

    auto other = makeDoc();
    StoredExtras x;
    ASSERT_TRUE(openWaveformFile(path, *other, x).ok);
    EXPECT_EQ(other->samplingUnits(), 25u);
    EXPECT_EQ(other->totalTime(), 25000u);
    const std::string again = folder.file("again.lyr");
    ASSERT_TRUE(saveWaveformFile(again, *other, x).ok);
    EXPECT_EQ(wf::getU32(&fileBytes(again)[16]), 10u);
    auto third = makeDoc();
    const OpenResult r = openWaveformFile(again, *third, x);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(sameSamples(*doc, *third));
}

// The format errors leave everything as it was in WaveformCorpus; a read
// that comes up short must too.
TEST_F(WaveformFileDoc, FailedReadLeavesDocumentAndExtrasAsTheyWere) {
    auto doc = busyDoc(200);
    const StoredExtras extras = busyExtras();
    const DocumentFileRecord before = doc->exportForFile();
    std::vector<double> analog(doc->analog(), doc->analog() + 200);
    const std::string path = folder.file("b.lyr");
    ASSERT_TRUE(saveWaveformFile(path, *busyDoc(500, 3), {}).ok);

    test::FaultySeam seam;
    seam.shortReadAt = 2;  // the packed digital bytes
    test::SeamInstalled installed(&seam);
    StoredExtras x = extras;
    const OpenResult r = openWaveformFile(path, *doc, x);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, wf::kMsgReadError);
    EXPECT_EQ(doc->exportForFile(), before);
    EXPECT_EQ(std::memcmp(doc->analog(), analog.data(), 200 * 8), 0);
    EXPECT_EQ(x, extras);
}

// Legacy files: u in 20 ns steps, each range its own repetition.
struct LegacyCase {
    std::uint32_t u;
    std::uint32_t n;
    std::uint32_t units;
    std::uint32_t count;
    std::uint32_t repeat;
};

class LegacyOpen : public WaveformFileDoc, public ::testing::WithParamInterface<LegacyCase> {};

TEST_P(LegacyOpen, ConvertsTimeBaseSamplesAndSettings) {
    const LegacyCase c = GetParam();
    test::LegacyFile legacy;
    legacy.u = c.u;
    legacy.n = c.n;
    legacy.output.outputMode = 1;
    legacy.output.repeatCount = 5;
    legacy.output.analogResolution = 8;
    const std::string path = folder.file("old.SYN");
    putFileBytes(path, legacy.bytes());

    auto doc = busyDoc(50);
    for (std::uint32_t i = 0; i < kMaxSamples; ++i) doc->digital(6)[i] = 1;
    StoredExtras x = busyExtras();
    const OpenResult r = openLegacyFile(path, *doc, x);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.format, FileFormat::Syn);
    EXPECT_FALSE(r.fullImport);
    EXPECT_EQ(doc->samplingUnits(), c.units);
    EXPECT_EQ(doc->sampleCount(), c.count);
    EXPECT_EQ(doc->totalTime(), std::uint64_t(c.units) * 10 * c.count);
    if (c.u % 2 == 0 || c.u <= 8388608) {  // same duration unless 20u ns cannot be split in four
        EXPECT_EQ(doc->totalTime(), std::uint64_t(c.u) * 20 * c.n);
    }
    EXPECT_EQ(doc->analogResolution(), 12);
    // The reduced import's pulse-width rule: 100 nS below 20 µs.
    EXPECT_EQ(doc->outputSettings().syncPulseWidth, doc->totalTime() < 20000 ? 1 : 0);
    EXPECT_EQ(doc->savedOutputSettings(), doc->outputSettings());
    EXPECT_EQ(doc->outputSettings().outputMode, 1);
    EXPECT_EQ(doc->outputSettings().repeatCount, 5);
    EXPECT_EQ(doc->editorSettings(), EditorSettings{});
    EXPECT_EQ(doc->signalNames(), SignalNames{});
    EXPECT_EQ(x, StoredExtras{});
    for (std::uint32_t i = 0; i < c.count; ++i) {
        const std::uint32_t j = i / c.repeat;
        ASSERT_EQ(doc->analog()[i], double(j) / c.n) << i;
        for (int k = 0; k < 4; ++k) ASSERT_EQ(doc->digital(k)[i], (j >> k) & 1) << i << " CH" << k;
        for (int k = 4; k < 8; ++k) ASSERT_EQ(doc->digital(k)[i], 0) << i << " CH" << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, LegacyOpen,
                         ::testing::Values(LegacyCase{3, 40, 6, 40, 1},
                                           LegacyCase{4194304, 10, 8388608, 10, 1},
                                           LegacyCase{5000000, 100000, 5000000, 200000, 2},
                                           LegacyCase{8388608, 30, 8388608, 60, 2},
                                           LegacyCase{8388610, 262144, 4194305, 1048576, 4},
                                           LegacyCase{8388609, 20, 4194304, 80, 4}));

TEST(WaveformFilePaths, ExtensionPicksTheReader) {
    EXPECT_EQ(formatOfPath("/a/b.lyr"), FileFormat::Lyr);
    EXPECT_EQ(formatOfPath("B.LYR"), FileFormat::Lyr);
    EXPECT_EQ(formatOfPath("old.SyN"), FileFormat::Syn);
    EXPECT_EQ(formatOfPath("x.txt"), std::nullopt);
    EXPECT_EQ(formatOfPath("yr"), std::nullopt);
    EXPECT_EQ(convertedLegacyPath("/d/OLD.SYN"), "/d/OLD.lyr");
}

}  // namespace
}  // namespace lyr::document
