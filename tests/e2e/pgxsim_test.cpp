// The simulated PGX-500 loaded in-process, as the editor loads it: what the
// unit answers to frames it does not understand, unplugging and plugging
// back in, loads split over odd writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "device/device_library.h"
#include "device/device_link.h"
#include "device/protocol.h"

namespace lyr::device {
namespace {

namespace fs = std::filesystem;

class PgxSim : public ::testing::Test {
protected:
    void SetUp() override {
        // A state file of its own gives each test a fresh unit.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        state_ = fs::temp_directory_path() / (std::string("pgxsim-") + info->name() + std::to_string(getpid()));
        fs::remove(state_);
        setenv("PGXSIM_STATE", state_.c_str(), 1);
        setenv("PGXSIM_TIMEOUT_MS", "20", 1);
        unsetenv("PGXSIM_FAULT");
        unsetenv("PGXSIM_DEVICES");
        ASSERT_TRUE(library_.bind(PGXSIM_PATH));
    }
    void TearDown() override {
        if (handle_) closeDevice(api(), handle_);
        unsetenv("PGXSIM_FAULT");
        unsetenv("PGXSIM_DEVICES");
        fs::remove(state_);
    }
    const D2xxApi& api() const { return library_.api(); }
    void open() { ASSERT_EQ(openDevice(api(), nullptr, handle_), FT_OK); }

    DeviceLibrary library_;
    FT_HANDLE handle_ = nullptr;
    fs::path state_;
};

TEST_F(PgxSim, FramesItDoesNotUnderstandAreAnsweredWithoutEcho) {
    open();
    std::uint16_t v = 0;
    EXPECT_EQ(writeRegister(api(), handle_, REG_STATUS, 1), ERR_REPLY);
    EXPECT_EQ(writeRegister(api(), handle_, 12, 0), ERR_REPLY);
    EXPECT_EQ(writeRegister(api(), handle_, REG_COMMAND, 0x0004), ERR_REPLY);
    EXPECT_EQ(readRegister(api(), handle_, REG_COUNT_LOW, v), ERR_REPLY);
    const std::uint8_t badTail[6] = {0xD2, 0, REG_REPEAT, 1, 0, 0x4B};
    std::uint8_t reply[6];
    ASSERT_EQ(transferBytes(api(), handle_, badTail, 6, reply, 6), FT_OK);
    EXPECT_NE(reply[0], 0xD2);
    // Nothing stale is left behind: the next exchange is answered properly.
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::NotSetUp);
    EXPECT_EQ(st.firmwareVersion, 3);
    ASSERT_EQ(writeRegister(api(), handle_, REG_REPEAT, 41), FT_OK);
    ASSERT_EQ(readRegister(api(), handle_, REG_REPEAT, v), FT_OK);
    EXPECT_EQ(v, 41);
}

TEST_F(PgxSim, UnpluggedThenPluggedBackNeedsAFreshHandle) {
    open();
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    setenv("PGXSIM_FAULT", "unplugged", 1);
    EXPECT_EQ(readStatus(api(), handle_, st), FT_IO_ERROR);
    FT_HANDLE other = nullptr;
    EXPECT_EQ(openDevice(api(), "PG500001", other), FT_DEVICE_NOT_FOUND);
    SerialSlot slot{};
    SerialSlot* slots[] = {&slot, nullptr};
    DWORD count = 9;
    EXPECT_EQ(listDevices(api(), slots, count), FT_OK);
    EXPECT_EQ(count, 0u);
    unsetenv("PGXSIM_FAULT");
    EXPECT_EQ(readStatus(api(), handle_, st), FT_IO_ERROR);
    EXPECT_EQ(closeDevice(api(), handle_), FT_OK);
    handle_ = nullptr;
    open();
    EXPECT_EQ(readStatus(api(), handle_, st), FT_OK);
}

TEST_F(PgxSim, UnplugAfterKFramesAndOneOpenPerUnit) {
    open();
    FT_HANDLE second = nullptr;
    EXPECT_EQ(openDevice(api(), "PG500001", second), FT_DEVICE_NOT_OPENED);
    setenv("PGXSIM_FAULT", "unplug-after=2", 1);
    DeviceStatus st;
    EXPECT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_EQ(startOutput(api(), handle_), FT_OK);
    // The third frame reaches the unit, its reply does not come back.
    EXPECT_EQ(readStatus(api(), handle_, st), FT_IO_ERROR);
    EXPECT_EQ(readStatus(api(), handle_, st), FT_IO_ERROR);
}

TEST_F(PgxSim, SamplesSplitOverOddWritesAndAnEmptyLoad) {
    open();
    ASSERT_EQ(writeTiming(api(), handle_, 5, 1), FT_OK);
    ASSERT_EQ(writeRegister(api(), handle_, REG_COMMAND, CMD_LOAD_SAMPLES), FT_OK);
    const std::uint8_t bytes[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ASSERT_EQ(transferBytes(api(), handle_, bytes, 3, nullptr, 0), FT_OK);
    ASSERT_EQ(transferBytes(api(), handle_, bytes + 3, 7, nullptr, 0), FT_OK);
    ASSERT_EQ(setDataValid(api(), handle_, 1), FT_OK);  // a frame again, not sample data
    DeviceStatus st;
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::Ready);
    // N = 0: the count registers say 0xFFFFFFFF and no byte follows.
    ASSERT_EQ(writeTiming(api(), handle_, 0, 1), FT_OK);
    ASSERT_EQ(writeSamples(api(), handle_, nullptr, 0), FT_OK);
    // Data valid set to 0 by the load until it is set again.
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_FALSE(st.dataReady);
}

TEST_F(PgxSim, DataValidOnlyOverACompleteLoadAndStartNeedsData) {
    open();
    DeviceStatus st;
    ASSERT_EQ(setDataValid(api(), handle_, 1), FT_OK);
    ASSERT_EQ(startOutput(api(), handle_), FT_OK);
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::NotSetUp);
    std::vector<std::uint16_t> words(100, 0x1234);
    ASSERT_EQ(writeTiming(api(), handle_, 100, 1), FT_OK);
    ASSERT_EQ(writeSamples(api(), handle_, words.data(), 100), FT_OK);
    ASSERT_EQ(setDataValid(api(), handle_, 1), FT_OK);
    ASSERT_EQ(startOutput(api(), handle_), FT_OK);
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::Running);
    // Marking the data invalid ends the run.
    ASSERT_EQ(setDataValid(api(), handle_, 0), FT_OK);
    ASSERT_EQ(readStatus(api(), handle_, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::NotSetUp);
}

TEST_F(PgxSim, ListingFiltersOtherModelsAndTooLongSerials) {
    setenv("PGXSIM_DEVICES", "A:PGX-500,B:Other,CCCCCCCCCCCCCCCCC:PGX-500,D:PGX-500", 1);
    SerialSlot a{}, b{}, c{};
    SerialSlot* slots[] = {&a, &b, &c, nullptr};
    DWORD count = 0;
    ASSERT_EQ(listDevices(api(), slots, count), FT_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(a.data(), "A");
    EXPECT_STREQ(b.data(), "D");
    ASSERT_EQ(openDevice(api(), "D", handle_), FT_OK);
    Calibration cal;
    ASSERT_EQ(readCalibration(api(), handle_, cal), FT_OK);
    EXPECT_DOUBLE_EQ(cal.codesPerVolt, 7000.0);
    EXPECT_DOUBLE_EQ(cal.zeroCode, 8000.0);
}

}  // namespace
}  // namespace lyr::device
