// The simulated PGX-500 itself, as the system's protocol drives it: frames it
// does not understand, unplugging and plugging back in, loads split over odd
// writes, the data-valid rule, and runs that end on the unit's clock.
#include <gtest/gtest.h>

#include <vector>

#include "device/device_link.h"
#include "device/protocol.h"
#include "simulated_unit.h"

namespace lyr::device {
namespace {

class Unit : public test::OpenUnitTest {
protected:
    DeviceState state() {
        DeviceStatus st;
        EXPECT_EQ(readStatus(api(), h, st), FT_OK);
        return deriveState(st);
    }
    // n samples of ts 10 ns units loaded with the given settings and marked valid.
    void load(std::uint32_t n, std::uint32_t units, const document::OutputSettings& settings) {
        std::vector<std::uint16_t> words(n, 0x1234);
        ASSERT_EQ(writeDeviceSettings(api(), h, settings), FT_OK);
        ASSERT_EQ(writeTiming(api(), h, n, units), FT_OK);
        ASSERT_EQ(writeSamples(api(), h, words.data(), n), FT_OK);
        ASSERT_EQ(setDataValid(api(), h, 1), FT_OK);
    }
};

TEST_F(Unit, FramesItDoesNotUnderstandAreAnsweredWithoutEcho) {
    std::uint16_t v = 0;
    EXPECT_EQ(writeRegister(api(), h, REG_STATUS, 1), ERR_REPLY);
    EXPECT_EQ(writeRegister(api(), h, 12, 0), ERR_REPLY);
    EXPECT_EQ(writeRegister(api(), h, REG_COMMAND, 0x0004), ERR_REPLY);
    EXPECT_EQ(readRegister(api(), h, REG_COUNT_LOW, v), ERR_REPLY);
    const std::uint8_t badTail[6] = {0xD2, 0, REG_REPEAT, 1, 0, 0x4B};
    std::uint8_t reply[6];
    ASSERT_EQ(transferBytes(api(), h, badTail, 6, reply, 6), FT_OK);
    EXPECT_NE(reply[0], 0xD2);
    // A torn frame is answered too, and nothing stale is left behind.
    ASSERT_EQ(transferBytes(api(), h, badTail, 4, reply, 6), FT_OK);
    EXPECT_NE(reply[0], 0xD2);
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), h, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::NotSetUp);
    EXPECT_EQ(st.firmwareVersion, 3);
    ASSERT_EQ(writeRegister(api(), h, REG_REPEAT, 41), FT_OK);
    ASSERT_EQ(readRegister(api(), h, REG_REPEAT, v), FT_OK);
    EXPECT_EQ(v, 41);
}

TEST_F(Unit, UnpluggedThenPluggedBackNeedsAFreshHandle) {
    unit.fault([](pgxsim::Faults& f) { f.unplugged = true; });
    DeviceStatus st;
    EXPECT_EQ(readStatus(api(), h, st), FT_IO_ERROR);
    FT_HANDLE other = nullptr;
    EXPECT_EQ(openDevice(api(), pgxsim::kDefaultSerial, other), FT_DEVICE_NOT_FOUND);
    SerialSlot slot{};
    SerialSlot* slots[] = {&slot, nullptr};
    DWORD count = 9;
    EXPECT_EQ(listDevices(api(), slots, count), FT_OK);
    EXPECT_EQ(count, 0u);
    unit.model.setFaults({});
    EXPECT_EQ(readStatus(api(), h, st), FT_IO_ERROR);
    EXPECT_EQ(closeDevice(api(), h), FT_OK);
    h = unit.open();
    EXPECT_EQ(readStatus(api(), h, st), FT_OK);
}

TEST_F(Unit, UnplugAfterKFramesAndOneOpenPerUnit) {
    FT_HANDLE second = nullptr;
    EXPECT_EQ(openDevice(api(), pgxsim::kDefaultSerial, second), FT_DEVICE_NOT_OPENED);
    unit.fault([](pgxsim::Faults& f) { f.unplugAfter = 2; });
    DeviceStatus st;
    EXPECT_EQ(readStatus(api(), h, st), FT_OK);
    EXPECT_EQ(startOutput(api(), h), FT_OK);
    // The third frame reaches the unit, its reply does not come back.
    EXPECT_EQ(readStatus(api(), h, st), FT_IO_ERROR);
    EXPECT_EQ(readStatus(api(), h, st), FT_IO_ERROR);
    EXPECT_EQ(unit.model.record(0).frames, 3u);
}

TEST_F(Unit, SamplesSplitOverOddWritesAndAnEmptyLoad) {
    ASSERT_EQ(writeTiming(api(), h, 5, 1), FT_OK);
    ASSERT_EQ(writeRegister(api(), h, REG_COMMAND, CMD_LOAD_SAMPLES), FT_OK);
    const std::uint8_t bytes[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ASSERT_EQ(transferBytes(api(), h, bytes, 3, nullptr, 0), FT_OK);
    ASSERT_EQ(transferBytes(api(), h, bytes + 3, 7, nullptr, 0), FT_OK);
    ASSERT_EQ(setDataValid(api(), h, 1), FT_OK);  // a frame again, not sample data
    EXPECT_EQ(state(), DeviceState::Ready);
    EXPECT_EQ(unit.model.record(0).samples[4], 0x0A09);
    // N = 0: the count registers say 0xFFFFFFFF and no byte follows.
    ASSERT_EQ(writeTiming(api(), h, 0, 1), FT_OK);
    ASSERT_EQ(writeSamples(api(), h, nullptr, 0), FT_OK);
    EXPECT_EQ(state(), DeviceState::NotSetUp);  // the load cleared data valid
}

TEST_F(Unit, DataValidOnlyOverACompleteLoadAndStartNeedsData) {
    ASSERT_EQ(setDataValid(api(), h, 1), FT_OK);
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    EXPECT_EQ(state(), DeviceState::NotSetUp);
    load(100, 1, {});
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    EXPECT_EQ(state(), DeviceState::Running);
    // Marking the data invalid ends the run.
    ASSERT_EQ(setDataValid(api(), h, 0), FT_OK);
    EXPECT_EQ(state(), DeviceState::NotSetUp);
}

TEST_F(Unit, ARepeatRunEndsAfterItsPlayingTimeAContinuousOneDoesNot) {
    document::OutputSettings repeat;
    repeat.outputMode = 1;
    repeat.repeatCount = 3;
    load(10000, 1000, repeat);  // 3 x 10000 x 10 us = 300 ms
    unit.clock.setNs(5'000'000'000);
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    unit.clock.advanceNs(300'000'000 - 1);
    EXPECT_EQ(state(), DeviceState::Running);
    unit.clock.advanceNs(1);
    EXPECT_EQ(state(), DeviceState::Ready);
    // Started again, it plays its time again; a stop ends it at once.
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    unit.clock.advanceNs(200'000'000);
    EXPECT_EQ(state(), DeviceState::Running);
    ASSERT_EQ(stopOutput(api(), h), FT_OK);
    EXPECT_EQ(state(), DeviceState::Ready);

    load(10000, 1000, {});
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    unit.clock.advanceNs(3'600'000'000'000);
    EXPECT_EQ(state(), DeviceState::Running);
    ASSERT_EQ(forceStop(api(), h), FT_OK);
    EXPECT_EQ(state(), DeviceState::Ready);
}

TEST_F(Unit, AClockFaultKeepsTheUnitFromStarting) {
    load(100, 1, {});
    unit.fault([](pgxsim::Faults& f) { f.clock = true; });
    ASSERT_EQ(startOutput(api(), h), FT_OK);
    EXPECT_EQ(state(), DeviceState::ClockFault);
    unit.model.setFaults({});
    EXPECT_EQ(state(), DeviceState::Ready);
}

}  // namespace
}  // namespace lyr::device
