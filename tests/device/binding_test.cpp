// The binding loads the simulated unit's exported library as it loads a real
// one; the library takes its devices, faults and clock from PGXSIM_* variables
// on every call.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "device/device_library.h"
#include "device/device_link.h"
#include "device/protocol.h"
#include "pgxsim/environment.h"
#include "support/scratch_folder.h"

namespace lyr::device {
namespace {

class Binding : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : kVariables) unsetenv(v);
        setenv("PGXSIM_DEVICES", "AAA111:PGX-500,BBB222:FT232R USB UART,CCC333:PGX-500", 1);
        setenv("PGXSIM_LOG", (scratch / "log").c_str(), 1);
        setenv("PGXSIM_CLOCK", (scratch / "clock").c_str(), 1);
    }
    void TearDown() override {
        for (const char* v : kVariables) unsetenv(v);
    }
    std::string log() {
        std::ifstream in(scratch / "log");
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string clock() {
        std::ifstream in(scratch / "clock");
        std::string text;
        in >> text;
        return text;
    }

    static constexpr const char* kVariables[] = {
        kLibraryVariable, "PGXSIM_DEVICES",  "PGXSIM_STATE",      "PGXSIM_LOG", "PGXSIM_CALIBRATION",
        "PGXSIM_FIRMWARE", "PGXSIM_TIMEOUT_MS", "PGXSIM_FAULT", "PGXSIM_CLOCK"};
    test::ScratchFolder scratch;
};

TEST_F(Binding, AMissingEntryPointFailsEvenIfNeverCalled) {
    DeviceLibrary lib;
    EXPECT_FALSE(lib.bind(LYR_TEST_PGXSIM_NO_UA_WRITE));
    EXPECT_FALSE(lib.bound());
    EXPECT_EQ(lib.api().listDevices, nullptr);
    // Released again: the library is not left loaded. (AddressSanitizer keeps
    // closed libraries mapped, so only a plain build can see the unload.)
#ifndef __SANITIZE_ADDRESS__
    EXPECT_EQ(dlopen(LYR_TEST_PGXSIM_NO_UA_WRITE, RTLD_NOW | RTLD_NOLOAD), nullptr);
#endif
    EXPECT_FALSE(lib.bind("/nonexistent/libftd2xx.so"));
}

TEST_F(Binding, EnvironmentNamesTheLibraryAndBindingIsKeptUntilUnbound) {
    DeviceLibrary lib;
    setenv(kLibraryVariable, LYR_TEST_PGXSIM_NO_UA_WRITE, 1);
    EXPECT_FALSE(bindDeviceLibrary(lib));
    setenv(kLibraryVariable, LYR_TEST_PGXSIM, 1);
    ASSERT_TRUE(bindDeviceLibrary(lib));
    EXPECT_NE(lib.api().eeUARead, nullptr);
    EXPECT_NE(lib.api().eeUAWrite, nullptr);
    // Already bound: another name does not replace it.
    setenv(kLibraryVariable, "/nonexistent/libftd2xx.so", 1);
    EXPECT_TRUE(bindDeviceLibrary(lib));
    unbindDeviceLibrary(lib);
    EXPECT_FALSE(lib.bound());
#ifndef __SANITIZE_ADDRESS__
    EXPECT_EQ(dlopen(LYR_TEST_PGXSIM, RTLD_NOW | RTLD_NOLOAD), nullptr);
#endif
    unbindDeviceLibrary(lib);  // twice is harmless
}

// Listing through the exported library is DeviceE2E.DevicesAndSelectionBySerial's.
TEST_F(Binding, OpensAndClosesTheUnitsTheEnvironmentNames) {
    DeviceLibrary lib;
    ASSERT_TRUE(lib.bind(LYR_TEST_PGXSIM));
    FT_HANDLE h = nullptr;
    ASSERT_EQ(openDevice(lib.api(), "CCC333", h), FT_OK);
    EXPECT_EQ(closeDevice(lib.api(), h), FT_OK);
    EXPECT_EQ(openDevice(lib.api(), "ZZZ999", h), FT_DEVICE_NOT_FOUND);
    // A reset that fails closes the handle again.
    setenv("PGXSIM_FAULT", "reset-fail", 1);
    EXPECT_EQ(openDevice(lib.api(), "AAA111", h), FT_IO_ERROR);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(log(), "O CCC333\nC \nO AAA111\nC \n");
    unsetenv("PGXSIM_FAULT");
    // Other devices once no handle is open.
    setenv("PGXSIM_DEVICES", "BBB222:FT232R USB UART", 1);
    EXPECT_EQ(openDevice(lib.api(), nullptr, h), FT_DEVICE_NOT_FOUND);
}

TEST_F(Binding, CalibrationFirmwareFaultsAndTheClockComeFromTheEnvironment) {
    DeviceLibrary lib;
    ASSERT_TRUE(lib.bind(LYR_TEST_PGXSIM));
    FT_HANDLE h = nullptr;
    ASSERT_EQ(openDevice(lib.api(), nullptr, h), FT_OK);
    Calibration cal;
    setenv("PGXSIM_CALIBRATION", "2000,14000,-90000,110000", 1);
    ASSERT_EQ(readCalibration(lib.api(), h, cal), FT_OK);
    EXPECT_DOUBLE_EQ(cal.codesPerVolt, 6000.0);
    EXPECT_DOUBLE_EQ(cal.zeroCode, 7400.0);
    setenv("PGXSIM_FIRMWARE", "7", 1);
    DeviceStatus st;
    ASSERT_EQ(readStatus(lib.api(), h, st), FT_OK);
    EXPECT_EQ(st.firmwareVersion, 7);
    // A missing reply moves the clock file on by the timeout instead of sleeping.
    setenv("PGXSIM_FAULT", "timeout", 1);
    EXPECT_EQ(readStatus(lib.api(), h, st), ERR_REPLY);
    EXPECT_EQ(clock(), "2000000000");
    setenv("PGXSIM_TIMEOUT_MS", "30", 1);
    EXPECT_EQ(readStatus(lib.api(), h, st), ERR_REPLY);
    EXPECT_EQ(clock(), "2030000000");
    // The fault list is read on every call.
    setenv("PGXSIM_FAULT", "clock", 1);
    ASSERT_EQ(readStatus(lib.api(), h, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::ClockFault);
    unsetenv("PGXSIM_FAULT");
    ASSERT_EQ(readStatus(lib.api(), h, st), FT_OK);
    EXPECT_EQ(deriveState(st), DeviceState::NotSetUp);
    EXPECT_EQ(closeDevice(lib.api(), h), FT_OK);
}

TEST(PgxsimVariables, ParsedAsDocumented) {
    using pgxsim::DeviceEntry;
    EXPECT_EQ(pgxsim::parseDevices(""), (std::vector<DeviceEntry>{{"PG500001", "PGX-500"}}));
    EXPECT_EQ(pgxsim::parseDevices("A:PGX-500,,B,C:Other:x"),
              (std::vector<DeviceEntry>{{"A", "PGX-500"}, {"B", "PGX-500"}, {"C", "Other:x"}}));
    const auto f = pgxsim::parseFaults("clock,unplug-after=12,short-read,bogus,reset-fail");
    EXPECT_TRUE(f.clock && f.resetFail);
    EXPECT_EQ(f.unplugAfter, 12);
    EXPECT_EQ(f.readShortBy, 1u);
    EXPECT_FALSE(f.timeout || f.unplugged || f.badEcho || f.transferError);
    EXPECT_EQ(pgxsim::parseFaults("").unplugAfter, -1);
    EXPECT_EQ(pgxsim::parseCalibration("1,2,-3,4"), (std::array<std::int32_t, 4>{1, 2, -3, 4}));
    EXPECT_FALSE(pgxsim::parseCalibration("1,2,3"));
    EXPECT_FALSE(pgxsim::parseCalibration(""));
}

}  // namespace
}  // namespace lyr::device
