// Discovery, opening, calibration and raw transfers over the simulated unit.
#include <gtest/gtest.h>

#include "device/device_link.h"
#include "simulated_unit.h"

namespace lyr::device {
namespace {

using test::SimulatedUnit;
using CalibrationRecord = test::OpenUnitTest;
using TransferBytes = test::OpenUnitTest;

struct Slots {
    explicit Slots(int capacity) : buffers(capacity), pointers(capacity + 1, nullptr) {
        for (int i = 0; i < capacity; ++i) pointers[i] = &buffers[i];
    }
    std::vector<SerialSlot> buffers;
    std::vector<SerialSlot*> pointers;
    std::string at(int i) const { return buffers[i].data(); }
};

struct ListCase {
    std::vector<pgxsim::DeviceEntry> devices;
    int capacity;
    std::vector<std::string> listed;
};

TEST(ListDevices, ModelOnlyInLibraryOrderUpToCapacityAndSixteenCharacters) {
    const std::vector<ListCase> cases = {
        // Descriptions must match exactly, terminating zero included.
        {{{"A1", "PGX-500"}, {"B2", "USB Serial"}, {"C3", "PGX-500"}, {"D4", "PGX-5000"}, {"E5", "PGX-50"}},
         8,
         {"A1", "C3"}},
        {{{"A1", "PGX-500"}, {"B2", "PGX-500"}, {"C3", "PGX-500"}}, 2, {"A1", "B2"}},
        {{{"A1", "PGX-500"}}, 0, {}},
        {{{"ABCDEFGHIJKLMNOP", "PGX-500"}, {"ABCDEFGHIJKLMNOPQ", "PGX-500"}, {"", "PGX-500"}}, 4, {"ABCDEFGHIJKLMNOP"}},
    };
    for (const auto& c : cases) {
        SimulatedUnit unit;
        unit.model.setDevices(c.devices);
        Slots slots(c.capacity);
        DWORD count = 99;
        ASSERT_EQ(listDevices(unit.api(), slots.pointers.data(), count), FT_OK);
        ASSERT_EQ(count, c.listed.size());
        for (std::size_t i = 0; i < c.listed.size(); ++i) EXPECT_EQ(slots.at(int(i)), c.listed[i]);
        if (c.capacity == 0) {
            EXPECT_EQ(unit.model.calls.size(), 1u);  // only the count was asked
        }
    }
}

TEST(ListDevices, CountFailureIsReturned) {
    SimulatedUnit unit;
    unit.fault([](pgxsim::Faults& f) { f.failingCalls["FT_ListDevices"] = FT_IO_ERROR; });
    Slots slots(2);
    DWORD count = 7;
    EXPECT_EQ(listDevices(unit.api(), slots.pointers.data(), count), FT_IO_ERROR);
    EXPECT_EQ(count, 0u);
}

TEST(OpenDevice, BySerialOrByModelNameThenResetPurgeTimeouts) {
    SimulatedUnit unit;
    unit.model.setDevices({{"X9", "Other"}, {"S1", "PGX-500"}});
    FT_HANDLE h = nullptr;
    ASSERT_EQ(openDevice(unit.api(), "S1", h), FT_OK);
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(unit.model.calls, (std::vector<std::string>{"FT_OpenEx S1 1", "FT_ResetDevice", "FT_Purge 3",
                                                          "FT_SetTimeouts 2000 10000"}));
    for (const char* serial : {static_cast<const char*>(nullptr), ""}) {
        ASSERT_EQ(closeDevice(unit.api(), h), FT_OK);
        unit.forget();
        ASSERT_EQ(openDevice(unit.api(), serial, h), FT_OK);
        EXPECT_EQ(unit.model.calls.front(), "FT_OpenEx PGX-500 2");
    }
    // The unit is open already: a second open by description finds none.
    FT_HANDLE second = nullptr;
    EXPECT_EQ(openDevice(unit.api(), nullptr, second), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(second, nullptr);
}

TEST(OpenDevice, AbsentSerialReturnsTheLibrarysStatusWithoutClosing) {
    SimulatedUnit unit;
    FT_HANDLE h = reinterpret_cast<FT_HANDLE>(1);
    EXPECT_EQ(openDevice(unit.api(), "NOPE", h), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(unit.model.calls, std::vector<std::string>{"FT_OpenEx NOPE 1"});
}

TEST(OpenDevice, FailingSetUpStepClosesTheHandle) {
    for (const char* step : {"FT_ResetDevice", "FT_Purge", "FT_SetTimeouts"}) {
        SimulatedUnit unit;
        pgxsim::Faults f;
        f.failingCalls[step] = 4;
        unit.model.setFaults(f);
        FT_HANDLE h = nullptr;
        EXPECT_EQ(openDevice(unit.api(), pgxsim::kDefaultSerial, h), 4u) << step;
        EXPECT_EQ(h, nullptr);
        EXPECT_EQ(unit.model.calls.back(), "FT_Close") << step;
        // Closed: the unit opens again.
        unit.model.setFaults({});
        EXPECT_EQ(openDevice(unit.api(), pgxsim::kDefaultSerial, h), FT_OK) << step;
    }
}

TEST_F(CalibrationRecord, TheUnitsRecordAndItsRefusals) {
    Calibration c;
    ASSERT_EQ(readCalibration(unit.api(), h, c), FT_OK);  // the example: 7,000 codes a volt, 0 V at 8,000
    EXPECT_DOUBLE_EQ(c.codesPerVolt, 7000.0);
    EXPECT_DOUBLE_EQ(c.zeroCode, 8000.0);
    unit.setUserArea(test::makeUserArea(1000, 15000, 50000, 50000));  // equal levels
    EXPECT_EQ(readCalibration(unit.api(), h, c), ERR_USER_AREA);
    unit.setUserArea(test::makeUserArea(1000, 15000, -100000, 100000));
    ASSERT_EQ(readCalibration(unit.api(), h, c), FT_OK);
    const std::pair<void (*)(pgxsim::Faults&), Status> faults[] = {
        {[](pgxsim::Faults& f) { f.userAreaChecksum = true; }, ERR_USER_AREA},  // off by one
        {[](pgxsim::Faults& f) { f.userAreaShort = true; }, ERR_USER_AREA},     // 49 bytes
        {[](pgxsim::Faults& f) { f.failingCalls["FT_EE_UARead"] = FT_IO_ERROR; }, FT_IO_ERROR},
    };
    for (const auto& [fault, status] : faults) {
        unit.model.setFaults({});
        unit.fault(fault);
        EXPECT_EQ(readCalibration(unit.api(), h, c), status);
    }
}

TEST(Calibration, ChecksumWrapsAndCoversTheUninterpretedBytes) {
    UserArea ua{};
    ua.fill(0xFF);
    storeCalibrationRecord(ua, 0xFFFF, 0xFFFF, -1, 1);
    Calibration c;
    EXPECT_EQ(calibrationFromUserArea(ua, c), FT_OK);
    ua[0] ^= 0x10;
    EXPECT_EQ(calibrationFromUserArea(ua, c), ERR_USER_AREA);
    // Negative slope and levels that are not symmetric around 0 V.
    storeCalibrationRecord(ua, 12000, 2000, -50000, 150000);
    ASSERT_EQ(calibrationFromUserArea(ua, c), FT_OK);
    EXPECT_DOUBLE_EQ(c.codesPerVolt, -5000.0);
    EXPECT_DOUBLE_EQ(c.zeroCode, 9500.0);
}

TEST_F(TransferBytes, NothingToTransferAShortReadOrWriteAndAMissingReply) {
    const std::uint8_t frame[6] = {0xB4, 0, 1, 0, 0, 0x4B};
    std::uint8_t reply[6];
    // Nothing to send or nothing to receive touches no device.
    EXPECT_EQ(transferBytes(unit.api(), h, nullptr, 6, nullptr, 6), ERR_NOTHING_TO_TRANSFER);
    EXPECT_EQ(transferBytes(unit.api(), h, reply, 0, reply, 0), ERR_NOTHING_TO_TRANSFER);
    EXPECT_TRUE(unit.model.calls.empty());
    unit.fault([](pgxsim::Faults& f) { f.readShortBy = 1; });  // 5 of 6 bytes
    const auto before = unit.clock.nowNs();
    EXPECT_EQ(transferBytes(unit.api(), h, frame, 6, reply, 6), ERR_REPLY);
    EXPECT_EQ(unit.clock.nowNs() - before, 2000 * 1000000LL);  // the read timeout openDevice set
    unit.model.setFaults({});
    unit.fault([](pgxsim::Faults& f) { f.writeShortBy = 1; });
    unit.forget();
    EXPECT_EQ(transferBytes(unit.api(), h, frame, 6, reply, 6), ERR_REPLY);
    EXPECT_EQ(unit.model.calls, std::vector<std::string>{"FT_Write"});  // no read after a short write
    unit.model.setFaults({});
    unit.fault([](pgxsim::Faults& f) { f.failingCalls["FT_Read"] = 4; });
    EXPECT_EQ(transferBytes(unit.api(), h, frame, 6, reply, 6), 4u);
}

}  // namespace
}  // namespace lyr::device
