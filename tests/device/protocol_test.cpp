// The register protocol, as the simulated unit sees it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "device/protocol.h"
#include "simulated_unit.h"

namespace lyr::device {
namespace {

using document::OutputSettings;
using test::hex;

class Protocol : public test::OpenUnitTest {
protected:
    const std::vector<std::string>& events() const { return unit.model.events; }
};

TEST_F(Protocol, StartForceStopAndStatusReadBytes) {
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    ASSERT_EQ(forceStop(api(), h), FT_OK);
    ASSERT_EQ(stopOutput(api(), h), FT_OK);
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), h, st), FT_OK);
    std::vector<std::string> frames;
    for (const auto& w : unit.writes()) frames.push_back(hex(w));
    EXPECT_EQ(frames, (std::vector<std::string>{"D2 00 00 01 00 2D", "D2 00 00 80 00 2D", "D2 00 00 02 00 2D",
                                                "B4 00 01 00 00 4B"}));
}

TEST_F(Protocol, ReplyMustEchoBytesZeroOneAndFive) {
    struct Case {
        void (*alter)(pgxsim::Reply&);
        bool read;
        Status expected;
    };
    const Case cases[] = {
        // A read answered with the write tail is refused even with plausible value bytes.
        {[](pgxsim::Reply& r) { r[5] = 0x2D; }, true, ERR_REPLY},
        {[](pgxsim::Reply& r) { r[0] = 0xD2; }, true, ERR_REPLY},
        {[](pgxsim::Reply& r) { r[1] = 0x01; }, false, ERR_REPLY},
        {[](pgxsim::Reply& r) { r[5] = 0x4B; }, false, ERR_REPLY},
        // Byte 2 is not compared.
        {[](pgxsim::Reply& r) { r[2] = 0x77; }, true, FT_OK},
    };
    for (const auto& c : cases) {
        pgxsim::Faults f;
        f.alterReply = c.alter;
        unit.model.setFaults(f);
        std::uint16_t v = 0xFFFF;
        EXPECT_EQ(c.read ? readRegister(api(), h, REG_STATUS, v) : writeRegister(api(), h, REG_REPEAT, 3), c.expected);
        if (c.read && c.expected == FT_OK) {
            EXPECT_EQ(v, 0x0300);  // firmware 3, nothing loaded
        }
    }
    // No reply within the timeout shows as a short read, after the timeout.
    unit.fault([](pgxsim::Faults& f) {
        f.alterReply = nullptr;
        f.timeout = true;
    });
    const auto before = unit.clock.nowNs();
    EXPECT_EQ(writeRegister(api(), h, REG_REPEAT, 3), ERR_REPLY);
    EXPECT_EQ(unit.clock.nowNs() - before, 2000 * 1000000LL);
}

TEST(Status, DecodingAndStatePrecedence) {
    struct Case {
        std::uint16_t word;
        DeviceState state;
        bool transferError;
        int firmware;
    };
    const Case cases[] = {
        {0x0521, DeviceState::Running, false, 5},
        {0x05A1, DeviceState::ClockFault, false, 5},
        {0x0501, DeviceState::Fault, false, 5},
        {0x0020, DeviceState::Ready, false, 0},
        {0x0000, DeviceState::NotSetUp, false, 0},
        {0x0080, DeviceState::ClockFault, false, 0},
        {0x014E, DeviceState::NotSetUp, false, 1},  // bits 1, 2, 3 and 6 mean nothing
        {0x0010, DeviceState::NotSetUp, true, 0},
    };
    for (const auto& c : cases) {
        const DeviceStatus st = decodeStatus(c.word);
        EXPECT_EQ(deriveState(st), c.state) << std::hex << c.word;
        EXPECT_EQ(st.transferError, c.transferError) << std::hex << c.word;
        EXPECT_EQ(st.firmwareVersion, c.firmware) << std::hex << c.word;
    }
    const DeviceStatus running = decodeStatus(0x0521);
    EXPECT_TRUE(running.running && running.dataReady && !running.clockFault);
}

TEST_F(Protocol, TimingRegisters) {
    ASSERT_EQ(writeTiming(api(), h, 100000, 1), FT_OK);
    EXPECT_EQ(events(), (std::vector<std::string>{"W3=0001", "W2=869F", "W5=0000", "W4=0000"}));
    unit.forget();
    ASSERT_EQ(writeTiming(api(), h, 1048576, 8388608), FT_OK);
    EXPECT_EQ(events(), (std::vector<std::string>{"W3=000F", "W2=FFFF", "W5=007F", "W4=FFFF"}));
}

TEST_F(Protocol, ConfigWordPackingAndItsInverse) {
    const OutputSettings s{.startControl = 2, .outputMode = 1, .analogStop = 1, .digitalStop = 0, .triggerMode = 1,
                           .triggerPolarity = 1, .syncPolarity = 1, .syncPulseWidth = 1, .repeatCount = 1,
                           .retrigger = 1, .analogResolution = 12};
    EXPECT_EQ(packConfigWord(s), 0x27D6);
    ASSERT_EQ(writeDeviceSettings(api(), h, s), FT_OK);
    EXPECT_EQ(events(), (std::vector<std::string>{"W6=0000", "W7=27D6"}));

    OutputSettings back;
    ASSERT_EQ(readDeviceSettings(api(), h, back), FT_OK);
    EXPECT_EQ(back, s);
    // Resolution bits: 0 for 14, 6 for 8; repeat 65536 is register value 0xFFFF.
    EXPECT_EQ(packConfigWord({.analogResolution = 14}), 0x0000);
    EXPECT_EQ(packConfigWord({.analogResolution = 8}), 0x6000);
    EXPECT_EQ(unpackConfigWord(0x6000, 0xFFFF).repeatCount, 65536);
    EXPECT_EQ(unpackConfigWord(0x6000, 0xFFFF).analogResolution, 8);
    // Only the lowest bits of each field are sent.
    EXPECT_EQ(packConfigWord({.startControl = 0xFE, .retrigger = 0xFE}), 0x2002);
}

TEST_F(Protocol, EitherSettingsReadFailingFailsTheWhole) {
    for (long failing : {0, 1}) {
        pgxsim::Faults f;
        f.failWriteAt = failing;  // the REG_REPEAT, then the REG_CONFIG read frame
        unit.model.setFaults(f);
        OutputSettings s;
        s.repeatCount = 77;
        EXPECT_EQ(readDeviceSettings(api(), h, s), FT_IO_ERROR);
        EXPECT_EQ(s.repeatCount, 77);
    }
}

TEST_F(Protocol, ZeroLevelRoundingAndDataValidFlagValues) {
    ASSERT_EQ(writeZeroLevel(api(), h, 8000.0), FT_OK);
    ASSERT_EQ(writeZeroLevel(api(), h, 8191.5), FT_OK);
    ASSERT_EQ(writeZeroLevel(api(), h, 8191.49), FT_OK);
    ASSERT_EQ(setDataValid(api(), h, 1), FT_OK);
    ASSERT_EQ(setDataValid(api(), h, 2), FT_OK);
    ASSERT_EQ(setDataValid(api(), h, 0), FT_OK);
    EXPECT_EQ(events(), (std::vector<std::string>{"W8=1F40", "W8=2000", "W8=1FFF", "W9=0001", "W9=0000", "W9=0000"}));
}

Calibration exampleCalibration() { return {7000.0, 8000.0}; }

TEST(SampleWords, CalibrationExampleAndClamping) {
    const double analog[] = {0.0, 1.2, -1.2, 1.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), 0.5 / 7000};
    SampleTracks tracks;
    tracks.analog = analog;
    std::uint16_t words[8];
    buildSampleWords(tracks, 8, 14, exampleCalibration(), words);
    // Code 8000; 16400.5 clamps to 16383; not a number is code 0; 8000.5 + 0.5 rounds up.
    EXPECT_EQ(std::vector<std::uint16_t>(words, words + 8),
              (std::vector<std::uint16_t>{0x7D00, 0xFFFC, 0x0000, 15000 * 4, 1000 * 4, 0x0000, 0xFFFC, 8001 * 4}));

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
    auto build = [&](int r) {
        std::uint16_t w[2];
        buildSampleWords(tracks, 2, r, exampleCalibration(), w);
        return std::pair<int, int>(w[0], w[1]);
    };
    EXPECT_EQ(build(14), std::pair(0xFFFE, 0xFFFD));  // CH2 .. CH7 never reach the word
    EXPECT_EQ(build(8), std::pair(0xFFFE, 0xFFFD));
    ch[7][0] = 0;
    EXPECT_EQ(build(8).first, 0xFF7E);
    // R = 12: CH0 .. CH3 replace the low four code bits.
    const double zero[] = {0.0, 0.0};
    tracks.analog = zero;
    EXPECT_EQ(build(12).first, 0x7D0E);
    // Only the lowest bit of a level counts.
    std::uint8_t two[2] = {2, 3};
    tracks.digital[0] = two;
    const auto low = build(12);
    EXPECT_EQ(std::pair(low.first & 1, low.second & 1), std::pair(0, 1));
}

// Every bit allocation against a sample-by-sample reference: random voltages
// (out of range, not a number and infinite among them), random level bytes
// (only bit 0 counts), a missing channel or analog track, and lengths that
// end inside a block and inside an eight-sample group.
TEST(SampleWords, EveryResolutionMatchesASampleBySampleReference) {
    std::mt19937 rng(27);
    std::uniform_real_distribution<double> volts(-1.3, 1.3);
    const Calibration cal{7017.25, 8123.5};
    auto reference = [&](const SampleTracks& t, std::uint32_t i, int r) {
        const double v = t.analog ? t.analog[i] : 0.0;
        double x = v * cal.codesPerVolt + cal.zeroCode;
        x += 0.5;
        const int code = std::isnan(x) || x < 0.0 ? 0 : x > 16383.0 ? 16383 : static_cast<int>(x);
        unsigned word = static_cast<unsigned>(code) << 2;
        const int channels = 16 - r;
        word &= ~((1u << channels) - 1u);
        for (int k = 0; k < channels; ++k)
            if (t.digital[k]) word |= (t.digital[k][i] & 1u) << k;
        return static_cast<std::uint16_t>(word);
    };
    for (const std::uint32_t n : {1u, 7u, 8u, 4095u, 4096u, 4097u, 3 * 4096u + 13u}) {
        std::vector<double> analog(n);
        for (double& v : analog) {
            const unsigned pick = rng() % 64;
            v = pick == 0   ? std::numeric_limits<double>::quiet_NaN()
                : pick == 1 ? -std::numeric_limits<double>::infinity()
                : pick == 2 ? std::numeric_limits<double>::infinity()
                            : volts(rng);
        }
        std::vector<std::uint8_t> levels[8];
        for (auto& ch : levels) {
            ch.resize(n);
            for (auto& b : ch) b = static_cast<std::uint8_t>(rng());
        }
        for (int r = 8; r <= 14; ++r) {
            for (int missing = -1; missing < 8; ++missing) {
                SampleTracks t;
                t.analog = missing == 7 && r == 8 ? nullptr : analog.data();
                for (int k = 0; k < 8; ++k) t.digital[k] = k == missing ? nullptr : levels[k].data();
                std::vector<std::uint16_t> words(n + 1, 0xA5A5);
                buildSampleWords(t, n, r, cal, words.data());
                std::uint32_t wrong = 0;
                for (std::uint32_t i = 0; i < n; ++i) wrong += words[i] != reference(t, i, r);
                EXPECT_EQ(wrong, 0u) << "n " << n << " R " << r << " missing " << missing;
                EXPECT_EQ(words[n], 0xA5A5) << "wrote past n " << n << " R " << r;
            }
        }
    }
}

// N words in chunks of 50,000, then the status read; none at all for N = 0
// (its count registers say 0xFFFFFFFF).
TEST_F(Protocol, SamplesGoInChunksOfFiftyThousandWords) {
    std::vector<std::uint16_t> words(120000);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = static_cast<std::uint16_t>(i * 2654435761u);
    const std::pair<std::uint32_t, std::vector<std::size_t>> cases[] = {{0, {}}, {120000, {100000, 100000, 40000}}};
    for (const auto& [n, chunks] : cases) {
        ASSERT_EQ(writeTiming(api(), h, n, 1), FT_OK);  // the unit learns N
        unit.forget();
        ASSERT_EQ(writeSamples(api(), h, n ? words.data() : nullptr, n), FT_OK);
        const auto writes = unit.writes();
        ASSERT_EQ(writes.size(), chunks.size() + 2) << n;
        EXPECT_EQ(hex(writes.front()), "D2 00 00 10 00 2D");
        for (std::size_t i = 0; i < chunks.size(); ++i) EXPECT_EQ(writes[1 + i].size(), chunks[i]) << i;
        EXPECT_EQ(hex(writes.back()), "B4 00 01 00 00 4B");
    }
    // Sent low byte first: the unit's memory holds the same little-endian words.
    const auto& record = unit.model.record(0);
    ASSERT_EQ(record.loadedWords, 120000u);
    EXPECT_EQ(0, std::memcmp(record.samples, words.data(), 240000));
}

TEST_F(Protocol, TransferErrorAndFailingChunk) {
    std::vector<std::uint16_t> words(120000);
    ASSERT_EQ(writeTiming(api(), h, 10, 1), FT_OK);
    unit.fault([](pgxsim::Faults& f) { f.transferError = true; });
    EXPECT_EQ(writeSamples(api(), h, words.data(), 10), ERR_REPLY);
    unit.model.setFaults({});
    ASSERT_EQ(writeTiming(api(), h, 120000, 1), FT_OK);
    unit.forget();
    unit.fault([](pgxsim::Faults& f) { f.failWriteAt = 2; });  // the second chunk
    EXPECT_EQ(writeSamples(api(), h, words.data(), 120000), FT_IO_ERROR);
    EXPECT_EQ(unit.writes().size(), 3u);  // nothing after the failing chunk
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

// The unit's own calibration (6,000 codes a volt, 0 V at 7,400) builds the words.
TEST_F(Protocol, UploadSeesTheFixedOrder) {
    UploadFixture f(120000);
    unit.setUserArea(test::makeUserArea(2000, 14000, -90000, 110000));
    ASSERT_EQ(uploadWaveform(api(), h, f.settings, 120000, 3, f.tracks, 10, f.words.data()), FT_OK);
    EXPECT_EQ(events(), (std::vector<std::string>{"W9=0000", "W6=0002", "W7=4004", "UA", "W3=0001", "W2=D4BF",
                                                  "W5=0000", "W4=0002", "W8=1CE8", "W0=0010", "RAW 100000",
                                                  "RAW 100000", "RAW 40000", "R1", "W9=0001"}));
    std::vector<std::uint16_t> expected(120000);
    buildSampleWords(f.tracks, 120000, 10, {6000.0, 7400.0}, expected.data());
    EXPECT_EQ(0, std::memcmp(unit.model.record(0).samples, expected.data(), 240000));
    EXPECT_EQ(f.words, expected);
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), h, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::Ready);
}

TEST_F(Protocol, UploadEndsAtTheFirstFailure) {
    UploadFixture f(100);
    unit.fault([](pgxsim::Faults& x) { x.userAreaChecksum = true; });
    EXPECT_EQ(uploadWaveform(api(), h, f.settings, 100, 1, f.tracks, 12, f.words.data()), ERR_USER_AREA);
    EXPECT_EQ(events(), (std::vector<std::string>{"W9=0000", "W6=0002", "W7=2004", "UA"}));
    EXPECT_EQ(f.words[0], 0);  // no sample built

    unit.model.setFaults({});
    unit.fault([](pgxsim::Faults& x) { x.transferError = true; });
    unit.forget();
    EXPECT_EQ(uploadWaveform(api(), h, f.settings, 100, 1, f.tracks, 12, f.words.data()), ERR_REPLY);
    EXPECT_EQ(events().back(), "R1");  // data valid not set

    unit.model.setFaults({});
    unit.fault([](pgxsim::Faults& x) { x.failWriteAt = 0; });
    unit.forget();
    EXPECT_EQ(uploadWaveform(api(), h, f.settings, 10, 1, f.tracks, 12, f.words.data()), FT_IO_ERROR);
    EXPECT_EQ(unit.writes().size(), 1u);
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), h, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::NotSetUp);
}

TEST_F(Protocol, MoreSamplesThanTheDeviceHoldsChangeNothing) {
    UploadFixture f(1);
    EXPECT_EQ(uploadWaveform(api(), h, f.settings, document::kMaxSamples + 1, 1, f.tracks, 12, f.words.data()),
              FT_INVALID_PARAMETER);
    EXPECT_TRUE(unit.writes().empty());
}

}  // namespace
}  // namespace lyr::device
