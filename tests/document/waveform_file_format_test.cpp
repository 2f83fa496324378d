// The byte layout and the section readers/writer, without a document.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

#include "document/waveform_file_raw.h"
#include "support/waveform_files.h"

namespace lyr::document::wavefile {
namespace {

using test::fileBytes;
using test::putFileBytes;
using test::resealHeader;

HeaderFields sampleHeader(std::uint32_t units = 7, std::uint32_t n = 20) {
    HeaderFields h;
    h.samplingUnits = units;
    h.sampleCount = n;
    h.totalTime = std::uint64_t(units) * 10 * n;
    h.timeUnitNs = 10;
    h.timeUnitReserved = 0;
    h.revisionId = 0x1234;
    h.documentId = 0x7FFF;
    h.modificationCount = -3;
    const char* names[9] = {"AN", "CH0", "clk", "data12", "x", "", "12345678", "ab", "z"};
    for (int i = 0; i < 9; ++i) h.signalNames[i] = names[i];
    h.flags = {1, 1, 0, 1};
    h.deviceText = "PGX-500 #2";
    for (std::size_t i = 0; i < kViewStateDwords; ++i) h.viewState[i] = std::uint32_t(i * 2654435761u);
    h.outputSettings = {.startControl = 2, .outputMode = 1, .analogStop = 1, .digitalStop = 1, .triggerMode = 1,
                        .triggerPolarity = 1, .syncPolarity = 1, .syncPulseWidth = 1, .repeatCount = 123456,
                        .retrigger = 1, .analogResolution = 9};
    return h;
}

TEST(WaveformHeader, EveryFieldAtItsOffsetAndBack) {
    HeaderFields h = sampleHeader();
    h.timeUnitReserved = 0x55;
    // Distinct values, so that two fields in each other's place show.
    h.outputSettings = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 123456, 0x1A, 0x1B};
    HeaderBytes b;
    encodeHeader(h, b);
    EXPECT_EQ(getU64(&b[0]), 1400u);
    EXPECT_EQ(getU32(&b[8]), 7u);
    EXPECT_EQ(getU32(&b[12]), 20u);
    EXPECT_EQ(getU32(&b[16]), 10u);
    EXPECT_EQ(getU32(&b[20]), 0x55u);
    EXPECT_EQ(getU32(&b[24]), 0x1234u);
    EXPECT_EQ(getU32(&b[28]), 0x7FFFu);
    EXPECT_EQ(getI32(&b[32]), -3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[36]), 8), "AN      ");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[84]), 8), "12345678");
    for (std::size_t i = 108; i < 116; ++i) EXPECT_EQ(b[i], 0) << i;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(getU32(&b[116 + 4 * i]), i == 2 ? 0u : 1u) << "flag " << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[132]), 16), "PGX-500 #2      ");
    EXPECT_EQ(getU32(&b[148]), h.viewState[0]);
    EXPECT_EQ(getU32(&b[856]), h.viewState[177]);
    // The eleven output settings in the document's order, one dword each.
    const std::uint32_t output[11] = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 123456, 0x1A, 0x1B};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(getU32(&b[860 + 4 * i]), output[i]) << i;
    for (std::size_t i = 904; i < 1016; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(getU32(&b[1016]), byteSum(b.data(), 1016));
    EXPECT_EQ(getU32(&b[1020]), 3u);

    ASSERT_TRUE(checkHeader(b));
    EXPECT_EQ(decodeHeader(b), h);
}

TEST(WaveformHeader, ReadingTrimsTextsNormalisesFlagsAndTakesLowBytes) {
    HeaderBytes b;
    encodeHeader(sampleHeader(), b);
    std::memcpy(&b[36], " \tab c\r\n", 8);
    putU32(&b[120], 7);
    putU32(&b[124], 0x80000000u);
    putU32(&b[864], 0x0101);  // outputMode: only the low byte counts
    putI32(&b[892], -1);      // repeatCount is whole
    resealHeader(b.data());
    ASSERT_TRUE(checkHeader(b));
    const HeaderFields h = decodeHeader(b);
    EXPECT_EQ(h.signalNames[0], "ab c");
    EXPECT_EQ(h.flags.editLocked, 1);
    EXPECT_EQ(h.flags.reservedFlag2, 1);
    EXPECT_EQ(h.outputSettings.outputMode, 1);
    EXPECT_EQ(h.outputSettings.repeatCount, -1);
}

TEST(WaveformHeader, TextsAreCutWithoutSplittingADoubleByteCharacter) {
    // 15 single bytes then a two-byte character: the character does not fit.
    const std::string text = std::string(15, 'a') + "\x82\xa0" + "b";
    EXPECT_EQ(cutText(text, 16), std::string(15, 'a'));
    EXPECT_EQ(cutText("\x82\xa0\x82\xa2xyz", 4), "\x82\xa0\x82\xa2");
    EXPECT_EQ(cutText("short", 16), "short");
    std::uint8_t field[8];
    putFixedText(field, 8, "0123456789");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 8), "01234567");
}

TEST(WaveformHeader, CheckRefusesEachBadField) {
    struct Case {
        std::uint32_t units, n;
        std::int64_t timeDelta;  // added to the right total time
        bool ok;
    } cases[] = {{1, 20, 0, true},   {8388608, 1048576, 0, true}, {0, 20, 0, false}, {8388609, 20, 0, false},
                 {1, 19, 0, false},  {1, 1048577, 0, false},      {5, 100, 1, false}, {5, 100, -1, false}};
    for (const Case& c : cases) {
        HeaderFields h = sampleHeader(c.units, c.n);
        h.totalTime = std::uint64_t(std::int64_t(h.totalTime) + c.timeDelta);
        HeaderBytes b;
        encodeHeader(h, b);
        EXPECT_EQ(checkHeader(b), c.ok) << c.units << " x " << c.n << " + " << c.timeDelta;
    }
    // The step is a 32-bit product of the unit field and the sampling units.
    HeaderFields h = sampleHeader(8388608, 20);
    h.timeUnitNs = 1000;
    h.totalTime = std::uint64_t(std::uint32_t(1000u * 8388608u)) * 20;
    HeaderBytes b;
    encodeHeader(h, b);
    EXPECT_TRUE(checkHeader(b));
    h.totalTime = 1000ull * 8388608u * 20;
    encodeHeader(h, b);
    EXPECT_FALSE(checkHeader(b));
}

TEST(WaveformHeader, AnyChangedByteBreaksTheChecksum) {
    HeaderBytes good;
    encodeHeader(sampleHeader(), good);
    for (std::size_t at : {36u, 108u, 120u, 500u, 900u, 950u, 1015u}) {
        HeaderBytes b = good;
        b[at] ^= 0x10;
        EXPECT_FALSE(checkHeader(b)) << at;
    }
    // The version lies outside the checksum.
    HeaderBytes b = good;
    putU32(&b[1020], 2);
    EXPECT_TRUE(checkHeader(b));
}

TEST(PackedDigital, EveryByteRoundTripsAtAnyLengthAndAnyNonZeroLevelIsHigh) {
    // Lengths around an eight-sample word and a 4,096-sample block.
    for (std::size_t n : {1u, 7u, 8u, 9u, 256u, 263u, 4095u, 4096u, 2 * 4096u + 13u}) {
        std::vector<std::uint8_t> levels[8];
        std::uint8_t* ch[8];
        for (int k = 0; k < 8; ++k) {
            levels[k].resize(n);
            for (std::size_t i = 0; i < n; ++i) levels[k][i] = std::uint8_t(((i * 37 + 11) >> k) & 1);
            ch[k] = levels[k].data();
        }
        std::vector<std::uint8_t> packed(n);
        packDigital(ch, n, packed.data());
        for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(packed[i], std::uint8_t(i * 37 + 11)) << n << " " << i;
        // Tracks on a 16-byte boundary and off it.
        for (std::size_t shift : {0u, 1u}) {
            std::vector<std::uint8_t> back[8];
            std::uint8_t* out[8];
            for (int k = 0; k < 8; ++k) {
                back[k].assign(n + shift + 1, 0xEE);
                out[k] = back[k].data() + shift;
            }
            unpackDigital(packed.data(), n, out);
            for (int k = 0; k < 8; ++k) {
                EXPECT_EQ(back[k].back(), 0xEE) << "written past the end " << n << " CH" << k;
                EXPECT_EQ(back[k].front(), shift ? 0xEE : levels[k][0]) << "written before " << n << " CH" << k;
                const std::vector<std::uint8_t> got(back[k].begin() + std::ptrdiff_t(shift), back[k].end() - 1);
                EXPECT_EQ(got, levels[k]) << n << " CH" << k << " shift " << shift;
            }
        }
    }
    // Any level that is not 0 is stored as high.
    std::uint8_t odd[8][4];
    std::uint8_t* ch[8];
    for (int k = 0; k < 8; ++k) {
        const std::uint8_t values[4] = {0, std::uint8_t(2 << (k % 7)), 0xFF, std::uint8_t(k == 3 ? 0x80 : 0)};
        std::copy(values, values + 4, odd[k]);
        ch[k] = odd[k];
    }
    std::uint8_t packed[4];
    packDigital(ch, 4, packed);
    EXPECT_EQ(std::vector<std::uint8_t>(packed, packed + 4), (std::vector<std::uint8_t>{0, 0xFF, 0xFF, 0x08}));
}

// ---- whole files -----------------------------------------------------------

struct Tracks {
    explicit Tracks(std::size_t n) : analog(n) {
        for (std::size_t i = 0; i < n; ++i) analog[i] = std::sin(double(i)) * 1.5;
        for (int k = 0; k < 8; ++k) {
            digital[k].resize(n);
            for (std::size_t i = 0; i < n; ++i) digital[k][i] = std::uint8_t(((i * 7 + 3) >> k) & 1);
            ptr[k] = digital[k].data();
        }
    }
    std::vector<double> analog;
    std::vector<std::uint8_t> digital[8];
    const std::uint8_t* ptr[8];
};

SettingsBlock patternBlock() {
    SettingsBlock block{};
    for (std::size_t i = 0; i < 512; ++i) block[i] = std::uint8_t(i * 13 + 1);
    return block;
}

class WaveformFileRaw : public ::testing::Test {
protected:
    test::ScratchFolder folder;

    static FileResult save(const std::string& path, std::uint32_t n) {
        Tracks t(n);
        return writeWaveformFile(path, sampleHeader(3, n), patternBlock(), t.analog.data(), t.ptr);
    }

    std::string writeSample(std::uint32_t n, const std::string& name = "w.lyr") {
        const std::string path = folder.file(name);
        const FileResult r = save(path, n);
        EXPECT_TRUE(r.ok) << r.message;
        return path;
    }
};

TEST_F(WaveformFileRaw, SamplesHeaderAndBlockSurviveUnchanged) {
    const std::uint32_t n = 1000;
    Tracks t(n);
    t.analog[0] = std::numeric_limits<double>::quiet_NaN();
    t.analog[1] = -0.0;
    t.analog[2] = std::numeric_limits<double>::infinity();
    t.analog[3] = std::numeric_limits<double>::denorm_min();
    const std::string path = folder.file("w.lyr");
    const HeaderFields h = sampleHeader(3, n);
    ASSERT_TRUE(writeWaveformFile(path, h, patternBlock(), t.analog.data(), t.ptr).ok);
    EXPECT_EQ(fileBytes(path).size(), currentFileSize(n));
    EXPECT_EQ(currentFileSize(20), 5300u);
    EXPECT_EQ(currentFileSize(1048576), 9442304u);

    WaveformFileContents c;
    const FileResult r = readWaveformFile(path, 3, c);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.message, kMsgOk);
    EXPECT_EQ(c.format, FileFormat::Lyr);
    EXPECT_EQ(c.header, h);
    ASSERT_EQ(c.analog.size(), n);
    EXPECT_EQ(std::memcmp(c.analog.data(), t.analog.data(), n * 8), 0);  // bit for bit, NaN too
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint8_t expected = 0;
        for (int k = 0; k < 8; ++k) expected |= std::uint8_t(t.digital[k][i] << k);
        ASSERT_EQ(c.digital[i], expected) << i;
    }
    EXPECT_TRUE(c.settingsFromFile);
    SettingsBlock expected = patternBlock();
    sealSettingsBlock(expected);
    EXPECT_EQ(c.settingsBlock, expected);
    // The block sits after the samples; zeros from 512, checksum at 4,092.
    const auto bytes = fileBytes(path);
    const std::size_t blockAt = 1024 + 9 * n;
    EXPECT_EQ(bytes[blockAt + 1], 14);
    EXPECT_EQ(bytes[blockAt + 512], 0);
    EXPECT_EQ(getU32(&bytes[blockAt + 4092]), byteSum(&bytes[blockAt], 4092));
}

TEST_F(WaveformFileRaw, OtherVersionReadsSamplesButNotTheBlock) {
    const std::string path = writeSample(40);
    auto bytes = fileBytes(path);
    putU32(&bytes[1020], 2);
    bytes[bytes.size() - 1] ^= 0xFF;  // a broken block is not even looked at
    putFileBytes(path, bytes);
    WaveformFileContents c;
    const FileResult r = readWaveformFile(path, 3, c);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_FALSE(c.settingsFromFile);
    EXPECT_EQ(c.header.formatVersion, 2u);
    EXPECT_EQ(c.analog.size(), 40u);
    EXPECT_DOUBLE_EQ(c.analog[5], std::sin(5.0) * 1.5);
    // The size rule still holds for it.
    bytes.pop_back();
    putFileBytes(path, bytes);
    EXPECT_EQ(readWaveformFile(path, 3, c).message, kMsgFormatError);
}

// The format errors are the malformed corpus' (WaveformCorpus); here: what
// cannot be opened or read at all.
TEST_F(WaveformFileRaw, OpenAndReadErrors) {
    WaveformFileContents c;
    EXPECT_EQ(readWaveformFile(folder.file("missing.lyr"), 3, c).message, kMsgOpenError);
    EXPECT_EQ(readWaveformFile(folder.path().string(), 3, c).message, kMsgOpenError);  // a folder
    ASSERT_EQ(::mkfifo(folder.file("pipe.lyr").c_str(), 0600), 0);
    EXPECT_EQ(readWaveformFile(folder.file("pipe.lyr"), 3, c).message, kMsgOpenError);  // does not wait

    // A short read of each section, in the order they are read.
    const std::string path = writeSample(64);
    for (int section = 0; section < 4; ++section) {
        test::FaultySeam seam;
        seam.shortReadAt = section;
        test::SeamInstalled installed(&seam);
        const FileResult r = readWaveformFile(path, 3, c);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, kMsgReadError) << section;
    }
    const FileResult r = readWaveformFile(path, 3, c);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, kMsgOk);
}

TEST_F(WaveformFileRaw, HugeSampleCountInASmallFileAllocatesNothing) {
    HeaderFields h = sampleHeader(1, 1048576);
    HeaderBytes b;
    encodeHeader(h, b);
    std::vector<std::uint8_t> bytes(b.begin(), b.end());
    bytes.resize(2048);
    MemorySource src(bytes.data(), bytes.size());
    WaveformFileContents c;
    EXPECT_EQ(readWaveformFrom(src, 3, c).message, kMsgFormatError);
    EXPECT_EQ(c.analog.size(), 0u);
}

// ---- legacy files --------------------------------------------------------------

// Legacy files the malformed corpus does not show: what is still accepted,
// and what cannot be opened or read.
TEST_F(WaveformFileRaw, LegacyLimits) {
    const std::string path = folder.file("old.syn");
    WaveformFileContents c;
    auto message = [&](const test::LegacyFile& legacy, std::size_t extra = 0) {
        auto bytes = legacy.bytes();
        bytes.resize(bytes.size() + extra);
        putFileBytes(path, bytes);
        return readLegacyFile(path, c).message;
    };
    test::LegacyFile legacy;
    EXPECT_EQ(message(legacy), kMsgOk);
    EXPECT_EQ(message(legacy, 100), kMsgOk);  // longer than 1,024 + 12n is fine
    test::LegacyFile big;
    big.u = 16777216;
    EXPECT_EQ(message(big), kMsgOk);
    test::LegacyFile tooMany;  // a whole file of 262,145 samples
    tooMany.n = 262145;
    EXPECT_EQ(message(tooMany), kMsgFormatError);
    EXPECT_EQ(readLegacyFile(folder.file("none.syn"), c).message, kMsgOpenError);
    putFileBytes(path, legacy.bytes());
    test::FaultySeam seam;
    seam.shortReadAt = 2;  // the channels
    test::SeamInstalled installed(&seam);
    EXPECT_EQ(readLegacyFile(path, c).message, kMsgReadError);
}

// ---- saving never destroys the previous file -----------------------------------

TEST_F(WaveformFileRaw, FailedWriteLeavesThePreviousFileAsItWas) {
    const std::string path = writeSample(500);
    const auto before = fileBytes(path);
    const std::size_t entries = folder.entries();
    for (int fault = 0; fault < 6; ++fault) {
        test::FaultySeam seam;
        seam.shortWriteAt = fault < 4 ? fault : -1;  // header, analog, digital, block
        seam.failFlush = fault == 4;
        seam.failRename = fault == 5;
        test::SeamInstalled installed(&seam);
        EXPECT_EQ(save(path, 800).message, kMsgWriteError) << fault;
        EXPECT_EQ(fileBytes(path), before) << fault;
        EXPECT_EQ(folder.entries(), entries) << "temporary file left behind " << fault;
    }
    // Without faults it replaces the file and keeps its permissions.
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(save(path, 800).ok);
    EXPECT_EQ(fileBytes(path).size(), currentFileSize(800));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.entries(), entries);
}

TEST_F(WaveformFileRaw, SavingThroughALinkReplacesTheLinkedFile) {
    const std::string real = writeSample(20, "real.lyr");
    const std::string link = folder.file("link.lyr");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(save(link, 40).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(fileBytes(real).size(), currentFileSize(40));
}

TEST_F(WaveformFileRaw, UncreatableFileIsAnOpenError) {
    EXPECT_EQ(save(folder.file("no/such/folder.lyr"), 20).message, kMsgOpenError);
    EXPECT_EQ(save(folder.path().string(), 20).message, kMsgOpenError);
}

// A folder that takes no new file: the file is rewritten in place, and only
// once a full copy of its old bytes is in the temporary folder. Any failure
// on the way leaves the old bytes, never a mix, and no copy behind.
TEST_F(WaveformFileRaw, FolderWithoutRoomForATemporaryFileIsSavedInPlace) {
    const auto copies = folder.path() / "tmp";
    test::TemporaryFolderAt tmp(copies);
    for (const std::uint32_t n : {100u, 800u}) {  // shorter and longer than the old file
        SCOPED_TRACE(n);
        const std::string path = writeSample(500, "old.lyr");
        ::chmod(path.c_str(), 0640);
        const auto before = fileBytes(path);
        const std::size_t entries = folder.entries();
        Tracks t(n);
        auto rewrite = [&] { return writeWaveformFile(path, sampleHeader(3, n), patternBlock(), t.analog.data(), t.ptr); };
        for (int fault = 0; fault < 6; ++fault) {
            test::FaultySeam seam;
            seam.refuseFolder = true;
            seam.shortWriteAt = fault < 4 ? fault : -1;  // header, analog, digital, block
            seam.failFlush = fault == 4;
            seam.failCopy = fault == 5;
            test::SeamInstalled installed(&seam);
            const FileResult r = rewrite();
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.message, fault == 5 ? kMsgOpenError : kMsgWriteError) << fault;
            EXPECT_EQ(fileBytes(path), before) << fault;
            EXPECT_TRUE(std::filesystem::is_empty(copies)) << fault;
        }
        struct stat old {};
        ASSERT_EQ(::stat(path.c_str(), &old), 0);
        test::FaultySeam seam;
        seam.refuseFolder = true;
        test::SeamInstalled installed(&seam);
        const FileResult r = rewrite();
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(r.notice, kMsgSavedInPlace);
        struct stat now {};
        ASSERT_EQ(::stat(path.c_str(), &now), 0);
        EXPECT_EQ(now.st_ino, old.st_ino);
        EXPECT_EQ(now.st_mode & 0777, 0640u);
        WaveformFileContents c;
        ASSERT_TRUE(readWaveformFile(path, 3, c).ok);
        EXPECT_EQ(c.header.sampleCount, n);
        EXPECT_EQ(std::memcmp(c.analog.data(), t.analog.data(), n * sizeof(double)), 0);
        EXPECT_EQ(folder.entries(), entries);
        EXPECT_TRUE(std::filesystem::is_empty(copies));
    }
    // A missing file cannot be written in place: nothing is created.
    test::FaultySeam seam;
    seam.refuseFolder = true;
    test::SeamInstalled installed(&seam);
    EXPECT_EQ(save(folder.file("new.lyr"), 20).message, kMsgOpenError);
    EXPECT_FALSE(std::filesystem::exists(folder.file("new.lyr")));
}

TEST_F(WaveformFileRaw, OldBytesThatCannotBePutBackStayInTheCopyAndAreNamed) {
    const auto copies = folder.path() / "tmp";
    test::TemporaryFolderAt tmp(copies);
    const std::string path = writeSample(500);
    const auto before = fileBytes(path);
    test::FaultySeam seam;
    seam.refuseFolder = true;
    seam.shortWriteAt = 1;
    seam.failRestore = true;
    test::SeamInstalled installed(&seam);
    const FileResult r = save(path, 800);
    EXPECT_FALSE(r.ok);
    const std::string lead = std::string(kMsgOldBytesKept) + "\n";
    ASSERT_TRUE(r.message.starts_with(lead)) << r.message;
    const std::string kept = r.message.substr(lead.size());
    EXPECT_EQ(std::filesystem::path(kept).parent_path(), copies);
    EXPECT_EQ(fileBytes(kept), before);
}

TEST_F(WaveformFileRaw, ReadOnlyFolderIsSavedInPlace) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; the injected refusal covers it";
    const auto copies = folder.path() / "tmp";
    test::TemporaryFolderAt tmp(copies);
    const std::string path = writeSample(30);
    ::chmod(folder.path().c_str(), 0555);
    const FileResult r = save(path, 20);
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.notice, kMsgSavedInPlace);
    EXPECT_EQ(fileBytes(path).size(), currentFileSize(20));
}

}  // namespace
}  // namespace lyr::document::wavefile
