// The register protocol, as the device sees it through the in-process fake.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "device/protocol.h"
#include "fake_d2xx.h"

namespace lyr::device {
namespace {

using document::OutputSettings;
using test::FakeD2xx;
using test::hex;

TEST(Frames, StartForceStopAndStatusReadBytes) {
    FakeD2xx fake;
    ASSERT_EQ(startOutput(fake.api(), nullptr), FT_OK);
    ASSERT_EQ(forceStop(fake.api(), nullptr), FT_OK);
    ASSERT_EQ(stopOutput(fake.api(), nullptr), FT_OK);
    DeviceStatus st;
    ASSERT_EQ(readStatus(fake.api(), nullptr, st), FT_OK);
    ASSERT_EQ(fake.writes.size(), 4u);
    EXPECT_EQ(hex(fake.writes[0]), "D2 00 00 01 00 2D");
    EXPECT_EQ(hex(fake.writes[1]), "D2 00 00 80 00 2D");
    EXPECT_EQ(hex(fake.writes[2]), "D2 00 00 02 00 2D");
    EXPECT_EQ(hex(fake.writes[3]), "B4 00 01 00 00 4B");
}

TEST(Frames, ReplyMustEchoBytesZeroOneAndFive) {
    FakeD2xx fake;
    std::uint16_t v = 0;
    // A read answered with the write tail is refused even with plausible value bytes.
    fake.registers[REG_STATUS] = 0x0521;
    fake.editReply = [](Frame& r) { r[5] = 0x2D; };
    EXPECT_EQ(readRegister(fake.api(), nullptr, REG_STATUS, v), ERR_REPLY);
    fake.editReply = [](Frame& r) { r[0] = 0xD2; };
    EXPECT_EQ(readRegister(fake.api(), nullptr, REG_STATUS, v), ERR_REPLY);
    fake.editReply = [](Frame& r) { r[1] = 0x01; };
    EXPECT_EQ(writeRegister(fake.api(), nullptr, REG_REPEAT, 3), ERR_REPLY);
    // Byte 2 is not compared.
    fake.editReply = [](Frame& r) { r[2] = 0x77; };
    EXPECT_EQ(readRegister(fake.api(), nullptr, REG_STATUS, v), FT_OK);
    EXPECT_EQ(v, 0x0521);
    // No reply within the timeout shows as a short read.
    fake.editReply = nullptr;
    fake.replyNothing = true;
    EXPECT_EQ(writeRegister(fake.api(), nullptr, REG_REPEAT, 3), ERR_REPLY);
}

TEST(Status, DecodingAndStatePrecedence) {
    FakeD2xx fake;
    auto stateFor = [&](std::uint8_t low, std::uint8_t high, DeviceStatus& st) {
        fake.registers[REG_STATUS] = static_cast<std::uint16_t>(low | (high << 8));
        EXPECT_EQ(readStatus(fake.api(), nullptr, st), FT_OK);
        return deriveState(st);
    };
    DeviceStatus st;
    EXPECT_EQ(stateFor(0x21, 0x05, st), DeviceState::Running);
    EXPECT_TRUE(st.running);
    EXPECT_TRUE(st.dataReady);
    EXPECT_FALSE(st.clockFault);
    EXPECT_FALSE(st.transferError);
    EXPECT_EQ(st.firmwareVersion, 5);
    EXPECT_EQ(stateFor(0xA1, 0x05, st), DeviceState::ClockFault);
    EXPECT_EQ(stateFor(0x01, 0x05, st), DeviceState::Fault);
    EXPECT_EQ(stateFor(0x20, 0x00, st), DeviceState::Ready);
    EXPECT_EQ(st.firmwareVersion, 0);
    EXPECT_EQ(stateFor(0x00, 0x00, st), DeviceState::NotSetUp);
    EXPECT_EQ(stateFor(0x80, 0x00, st), DeviceState::ClockFault);
    // Bits 1, 2, 3 and 6 mean nothing.
    EXPECT_EQ(stateFor(0x4E, 0x01, st), DeviceState::NotSetUp);
    EXPECT_EQ(stateFor(0x10, 0x00, st), DeviceState::NotSetUp);
    EXPECT_TRUE(st.transferError);
}

TEST(Timing, RegistersForOneHundredThousandSamples) {
    FakeD2xx fake;
    ASSERT_EQ(writeTiming(fake.api(), nullptr, 100000, 1), FT_OK);
    EXPECT_EQ(fake.events, (std::vector<std::string>{"W3=0001", "W2=869F", "W5=0000", "W4=0000"}));
    fake.events.clear();
    ASSERT_EQ(writeTiming(fake.api(), nullptr, 1048576, 8388608), FT_OK);
    EXPECT_EQ(fake.events, (std::vector<std::string>{"W3=000F", "W2=FFFF", "W5=007F", "W4=FFFF"}));
}

TEST(Settings, ConfigWordPackingAndItsInverse) {
    OutputSettings s;
    s.startControl = 2;
    s.outputMode = 1;
    s.analogStop = 1;
    s.digitalStop = 0;
    s.syncPolarity = 1;
    s.syncPulseWidth = 1;
    s.triggerMode = 1;
    s.triggerPolarity = 1;
    s.retrigger = 1;
    s.analogResolution = 12;
    s.repeatCount = 1;
    EXPECT_EQ(packConfigWord(s), 0x27D6);
    FakeD2xx fake;
    ASSERT_EQ(writeDeviceSettings(fake.api(), nullptr, s), FT_OK);
    EXPECT_EQ(fake.events, (std::vector<std::string>{"W6=0000", "W7=27D6"}));

    OutputSettings back;
    ASSERT_EQ(readDeviceSettings(fake.api(), nullptr, back), FT_OK);
    EXPECT_EQ(back, s);
    // Resolution bits: 0 for 14, 6 for 8; repeat 65536 is register value 0xFFFF.
    OutputSettings r14, r8;
    r14.analogResolution = 14;
    r8.analogResolution = 8;
    EXPECT_EQ(packConfigWord(r14), 0x0000);
    EXPECT_EQ(packConfigWord(r8), 0x6000);
    EXPECT_EQ(unpackConfigWord(0x6000, 0xFFFF).repeatCount, 65536);
    EXPECT_EQ(unpackConfigWord(0x6000, 0xFFFF).analogResolution, 8);
    // Only the lowest bits of each field are sent.
    OutputSettings wide;
    wide.startControl = 0xFE;
    wide.retrigger = 0xFE;
    EXPECT_EQ(packConfigWord(wide), 0x2002);
}

TEST(Settings, EitherReadFailingFailsTheWhole) {
    FakeD2xx fake;
    fake.failWriteNumber = 1;  // the REG_CONFIG read frame
    OutputSettings s;
    s.repeatCount = 77;
    EXPECT_EQ(readDeviceSettings(fake.api(), nullptr, s), FT_IO_ERROR);
    EXPECT_EQ(s.repeatCount, 77);
}

TEST(ZeroLevelAndValid, RoundingAndFlagValues) {
    FakeD2xx fake;
    ASSERT_EQ(writeZeroLevel(fake.api(), nullptr, 8000.0), FT_OK);
    ASSERT_EQ(writeZeroLevel(fake.api(), nullptr, 8191.5), FT_OK);
    ASSERT_EQ(writeZeroLevel(fake.api(), nullptr, 8191.49), FT_OK);
    ASSERT_EQ(setDataValid(fake.api(), nullptr, 1), FT_OK);
    ASSERT_EQ(setDataValid(fake.api(), nullptr, 2), FT_OK);
    ASSERT_EQ(setDataValid(fake.api(), nullptr, 0), FT_OK);
    EXPECT_EQ(fake.events, (std::vector<std::string>{"W8=1F40", "W8=2000", "W8=1FFF", "W9=0001",
                                                     "W9=0000", "W9=0000"}));
}

Calibration exampleCalibration() { return {7000.0, 8000.0}; }

TEST(SampleWords, CalibrationExampleAndClamping) {
    const double analog[] = {0.0, 1.2, -1.2, 1.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), 0.5 / 7000};
    SampleTracks tracks;
    tracks.analog = analog;
    std::uint16_t words[8];
    buildSampleWords(tracks, 8, 14, exampleCalibration(), words);
    EXPECT_EQ(words[0], 0x7D00);  // code 8000
    EXPECT_EQ(words[1], 0xFFFC);  // 16400.5 clamps to 16383
    EXPECT_EQ(words[2], 0x0000);
    EXPECT_EQ(words[3], 15000 * 4);
    EXPECT_EQ(words[4], 1000 * 4);
    EXPECT_EQ(words[5], 0x0000);  // not a number: code 0
    EXPECT_EQ(words[6], 0xFFFC);
    EXPECT_EQ(words[7], 8001 * 4);  // 8000.5 + 0.5 rounds up

    // The half is added after the zero code: (0.9017... + 1.5982...) + 0.5
    // rounds to 3, while 0.9017... + (1.5982... + 0.5) stays just below it.
    const double edge[] = {0.90178857627146547};
    tracks.analog = edge;
    buildSampleWords(tracks, 1, 14, {1.0, 1.5982114237285343}, words);
    EXPECT_EQ(words[0], 3 * 4);
}

TEST(SampleWords, ChannelBitsFollowTheResolution) {
    const double analog[] = {1.2, 1.2};
    std::uint8_t ch[8][2];
    for (int k = 0; k < 8; ++k) ch[k][0] = ch[k][1] = 1;
    ch[0][0] = 0;  // CH1 = 1, CH0 = 0 at sample 0
    ch[1][1] = 0;  // CH1 = 0, CH0 = 1 at sample 1
    SampleTracks tracks;
    tracks.analog = analog;
    for (int k = 0; k < 8; ++k) tracks.digital[k] = ch[k];
    std::uint16_t words[2];
    buildSampleWords(tracks, 2, 14, exampleCalibration(), words);
    EXPECT_EQ(words[0], 0xFFFE);  // CH2 .. CH7 never reach the word
    EXPECT_EQ(words[1], 0xFFFD);
    buildSampleWords(tracks, 2, 8, exampleCalibration(), words);
    EXPECT_EQ(words[0], 0xFFFE);
    EXPECT_EQ(words[1], 0xFFFD);
    ch[7][0] = 0;
    buildSampleWords(tracks, 2, 8, exampleCalibration(), words);
    EXPECT_EQ(words[0], 0xFF7E);
    // R = 12: CH0 .. CH3 replace the low four code bits.
    const double zero[] = {0.0, 0.0};
    tracks.analog = zero;
    buildSampleWords(tracks, 2, 12, exampleCalibration(), words);
    EXPECT_EQ(words[0], 0x7D0E);
    // Only the lowest bit of a level counts.
    std::uint8_t two[2] = {2, 3};
    tracks.digital[0] = two;
    buildSampleWords(tracks, 2, 12, exampleCalibration(), words);
    EXPECT_EQ(words[0] & 1, 0);
    EXPECT_EQ(words[1] & 1, 1);
}

TEST(WriteSamples, ChunksOfFiftyThousandWords) {
    FakeD2xx fake;
    std::vector<std::uint16_t> words(120000);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = static_cast<std::uint16_t>(i * 2654435761u);
    fake.registers[REG_COUNT_HIGH] = 0x0001;  // the device knows N = 120000
    fake.registers[REG_COUNT_LOW] = 0xD4BF;
    ASSERT_EQ(writeSamples(fake.api(), nullptr, words.data(), 120000), FT_OK);
    ASSERT_EQ(fake.writes.size(), 5u);
    EXPECT_EQ(hex(fake.writes[0]), "D2 00 00 10 00 2D");
    EXPECT_EQ(fake.writes[1].size(), 100000u);
    EXPECT_EQ(fake.writes[2].size(), 100000u);
    EXPECT_EQ(fake.writes[3].size(), 40000u);
    EXPECT_EQ(hex(fake.writes[4]), "B4 00 01 00 00 4B");
    ASSERT_EQ(fake.samples.size(), 240000u);
    for (std::size_t i = 0; i < words.size(); ++i) {
        ASSERT_EQ(fake.samples[2 * i], words[i] & 0xFF) << i;  // low byte first
        ASSERT_EQ(fake.samples[2 * i + 1], words[i] >> 8) << i;
    }
}

TEST(WriteSamples, ZeroSamplesStillReadsTheStatus) {
    FakeD2xx fake;
    fake.registers[REG_COUNT_HIGH] = 0xFFFF;
    fake.registers[REG_COUNT_LOW] = 0xFFFF;
    ASSERT_EQ(writeSamples(fake.api(), nullptr, nullptr, 0), FT_OK);
    ASSERT_EQ(fake.writes.size(), 2u);
    EXPECT_EQ(hex(fake.writes[1]), "B4 00 01 00 00 4B");
}

TEST(WriteSamples, TransferErrorAndFailingChunk) {
    std::vector<std::uint16_t> words(120000);
    {
        FakeD2xx fake;
        fake.registers[REG_STATUS] = kStatusTransferError | kStatusDataReady;
        EXPECT_EQ(writeSamples(fake.api(), nullptr, words.data(), 10), ERR_REPLY);
    }
    {
        FakeD2xx fake;
        fake.failWriteNumber = 2;  // the second chunk
        EXPECT_EQ(writeSamples(fake.api(), nullptr, words.data(), 120000), FT_IO_ERROR);
        EXPECT_EQ(fake.writes.size(), 3u);  // nothing after the failing chunk
    }
}

struct UploadFixture {
    std::vector<double> analog;
    std::vector<std::uint8_t> digital[8];
    SampleTracks tracks;
    std::vector<std::uint16_t> words;
    OutputSettings settings;
    explicit UploadFixture(std::uint32_t n) : analog(n), words(n) {
        for (std::uint32_t i = 0; i < n; ++i) analog[i] = std::sin(i * 0.01);
        tracks.analog = analog.data();
        for (int k = 0; k < 8; ++k) {
            digital[k].resize(n);
            for (std::uint32_t i = 0; i < n; ++i) digital[k][i] = (i >> k) & 1;
            tracks.digital[k] = digital[k].data();
        }
        settings.outputMode = 1;
        settings.repeatCount = 3;
    }
};

TEST(Upload, TheDeviceSeesTheFixedOrder) {
    FakeD2xx fake;
    fake.registers[REG_STATUS] = 0x0300;
    UploadFixture f(120000);
    ASSERT_EQ(uploadWaveform(fake.api(), nullptr, f.settings, 120000, 3, f.tracks, 10, f.words.data()), FT_OK);
    EXPECT_EQ(fake.events,
              (std::vector<std::string>{"W9=0000", "W6=0002", "W7=4004", "UA", "W3=0001", "W2=D4BF",
                                        "W5=0000", "W4=0002", "W8=1F40", "W0=0010", "RAW 100000",
                                        "RAW 100000", "RAW 40000", "R1", "W9=0001"}));
    std::vector<std::uint16_t> expected(120000);
    buildSampleWords(f.tracks, 120000, 10, {7000.0, 8000.0}, expected.data());
    ASSERT_EQ(fake.samples.size(), 240000u);
    EXPECT_EQ(0, std::memcmp(fake.samples.data(), expected.data(), 240000));
    EXPECT_EQ(f.words, expected);
}

TEST(Upload, FirstFailureEndsTheSequence) {
    {
        FakeD2xx fake;
        fake.userArea[48] ^= 1;
        UploadFixture f(100);
        EXPECT_EQ(uploadWaveform(fake.api(), nullptr, f.settings, 100, 1, f.tracks, 12, f.words.data()),
                  ERR_USER_AREA);
        EXPECT_EQ(fake.events, (std::vector<std::string>{"W9=0000", "W6=0002", "W7=2004", "UA"}));
        EXPECT_EQ(f.words[0], 0);  // no sample built
    }
    {
        FakeD2xx fake;
        fake.registers[REG_STATUS] = kStatusTransferError;
        UploadFixture f(100);
        EXPECT_EQ(uploadWaveform(fake.api(), nullptr, f.settings, 100, 1, f.tracks, 12, f.words.data()),
                  ERR_REPLY);
        EXPECT_EQ(fake.events.back(), "R1");  // data valid not set
    }
    {
        FakeD2xx fake;
        fake.failWriteNumber = 0;
        UploadFixture f(10);
        EXPECT_EQ(uploadWaveform(fake.api(), nullptr, f.settings, 10, 1, f.tracks, 12, f.words.data()),
                  FT_IO_ERROR);
        EXPECT_EQ(fake.writes.size(), 1u);
    }
}

TEST(Upload, MoreSamplesThanTheDeviceHoldsChangeNothing) {
    FakeD2xx fake;
    UploadFixture f(1);
    EXPECT_EQ(uploadWaveform(fake.api(), nullptr, f.settings, document::kMaxSamples + 1, 1, f.tracks, 12,
                             f.words.data()),
              FT_INVALID_PARAMETER);
    EXPECT_TRUE(fake.writes.empty());
}

}  // namespace
}  // namespace lyr::device
