// Discovery, opening, calibration and raw transfers over the in-process fake.
#include <gtest/gtest.h>

#include "device/device_link.h"
#include "fake_d2xx.h"

namespace lyr::device {
namespace {

using test::FakeD2xx;

struct Slots {
    explicit Slots(int capacity) : buffers(capacity), pointers(capacity + 1, nullptr) {
        for (int i = 0; i < capacity; ++i) pointers[i] = &buffers[i];
    }
    std::vector<SerialSlot> buffers;
    std::vector<SerialSlot*> pointers;
    std::string at(int i) const { return buffers[i].data(); }
};

TEST(ListDevices, KeepsUnitsOfTheModelInLibraryOrder) {
    FakeD2xx fake;
    fake.devices = {{"A1", "PGX-500"}, {"B2", "USB Serial"}, {"C3", "PGX-500"}, {"D4", "PGX-5000"},
                    {"E5", "PGX-50"}};
    Slots slots(8);
    DWORD count = 99;
    ASSERT_EQ(listDevices(fake.api(), slots.pointers.data(), count), FT_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(slots.at(0), "A1");
    EXPECT_EQ(slots.at(1), "C3");
}

TEST(ListDevices, StopsAtTheCallersCapacity) {
    FakeD2xx fake;
    fake.devices = {{"A1", "PGX-500"}, {"B2", "PGX-500"}, {"C3", "PGX-500"}};
    Slots slots(2);
    DWORD count = 0;
    ASSERT_EQ(listDevices(fake.api(), slots.pointers.data(), count), FT_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(slots.at(1), "B2");
    // No slot at all: nothing is asked beyond the count.
    Slots none(0);
    fake.calls.clear();
    ASSERT_EQ(listDevices(fake.api(), none.pointers.data(), count), FT_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(fake.calls.size(), 1u);
}

TEST(ListDevices, SerialsUpToSixteenCharactersFitLongerAreSkipped) {
    FakeD2xx fake;
    fake.devices = {{"ABCDEFGHIJKLMNOP", "PGX-500"}, {"ABCDEFGHIJKLMNOPQ", "PGX-500"}, {"", "PGX-500"}};
    Slots slots(4);
    DWORD count = 0;
    ASSERT_EQ(listDevices(fake.api(), slots.pointers.data(), count), FT_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(slots.at(0), "ABCDEFGHIJKLMNOP");
}

TEST(ListDevices, CountFailureIsReturnedButSingleIndexesAreSkipped) {
    FakeD2xx fake;
    Slots slots(2);
    DWORD count = 7;
    fake.failCall["FT_ListDevices"] = FT_IO_ERROR;
    EXPECT_EQ(listDevices(fake.api(), slots.pointers.data(), count), FT_IO_ERROR);
    EXPECT_EQ(count, 0u);
}

TEST(OpenDevice, BySerialOrByModelNameThenResetPurgeTimeouts) {
    FakeD2xx fake;
    fake.devices = {{"X9", "Other"}, {"S1", "PGX-500"}};
    FT_HANDLE h = nullptr;
    ASSERT_EQ(openDevice(fake.api(), "S1", h), FT_OK);
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"FT_OpenEx S1 1", "FT_ResetDevice", "mask 3",
                                                    "FT_Purge", "timeouts 2000 10000", "FT_SetTimeouts"}));
    fake.calls.clear();
    ASSERT_EQ(openDevice(fake.api(), nullptr, h), FT_OK);
    EXPECT_EQ(fake.calls.front(), "FT_OpenEx PGX-500 2");
    fake.calls.clear();
    ASSERT_EQ(openDevice(fake.api(), "", h), FT_OK);
    EXPECT_EQ(fake.calls.front(), "FT_OpenEx PGX-500 2");
    EXPECT_EQ(fake.closes, 0);
}

TEST(OpenDevice, AbsentSerialReturnsTheLibrarysStatusWithoutClosing) {
    FakeD2xx fake;
    FT_HANDLE h = reinterpret_cast<FT_HANDLE>(1);
    EXPECT_EQ(openDevice(fake.api(), "NOPE", h), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(fake.closes, 0);
}

TEST(OpenDevice, FailingSetUpStepClosesTheHandle) {
    for (const char* step : {"FT_ResetDevice", "FT_Purge", "FT_SetTimeouts"}) {
        FakeD2xx fake;
        fake.failCall[step] = 4;
        FT_HANDLE h = nullptr;
        EXPECT_EQ(openDevice(fake.api(), "FAKE0001", h), 4u) << step;
        EXPECT_EQ(fake.closes, 1) << step;
        EXPECT_EQ(h, nullptr);
        EXPECT_EQ(fake.calls.back(), "FT_Close");
    }
}

TEST(Calibration, ExampleGivesSevenThousandCodesPerVoltAndZeroAtEightThousand) {
    FakeD2xx fake;
    Calibration c;
    ASSERT_EQ(readCalibration(fake.api(), nullptr, c), FT_OK);
    EXPECT_DOUBLE_EQ(c.codesPerVolt, 7000.0);
    EXPECT_DOUBLE_EQ(c.zeroCode, 8000.0);
}

TEST(Calibration, RefusesEqualLevelsBadChecksumAndShortReads) {
    FakeD2xx fake;
    Calibration c;
    fake.userArea = test::makeUserArea(1000, 15000, 50000, 50000);
    EXPECT_EQ(readCalibration(fake.api(), nullptr, c), ERR_USER_AREA);
    fake.userArea = test::makeUserArea(1000, 15000, -100000, 100000);
    fake.userArea[48] ^= 1;  // checksum off by one
    EXPECT_EQ(readCalibration(fake.api(), nullptr, c), ERR_USER_AREA);
    fake.userArea[48] ^= 1;
    fake.userAreaLength = 49;
    EXPECT_EQ(readCalibration(fake.api(), nullptr, c), ERR_USER_AREA);
    fake.userAreaLength = 50;
    fake.failCall["FT_EE_UARead"] = FT_IO_ERROR;
    EXPECT_EQ(readCalibration(fake.api(), nullptr, c), FT_IO_ERROR);
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

TEST(TransferBytes, NothingToTransferTouchesNoDevice) {
    FakeD2xx fake;
    std::uint8_t buf[6] = {};
    EXPECT_EQ(transferBytes(fake.api(), nullptr, nullptr, 6, nullptr, 6), ERR_NOTHING_TO_TRANSFER);
    EXPECT_EQ(transferBytes(fake.api(), nullptr, buf, 0, buf, 0), ERR_NOTHING_TO_TRANSFER);
    EXPECT_TRUE(fake.calls.empty());
}

TEST(TransferBytes, ShortReadOrWriteIsAReplyError) {
    FakeD2xx fake;
    const std::uint8_t frame[6] = {0xB4, 0, 1, 0, 0, 0x4B};
    std::uint8_t reply[6];
    fake.readShortBy = 1;  // 5 of 6 bytes
    EXPECT_EQ(transferBytes(fake.api(), nullptr, frame, 6, reply, 6), ERR_REPLY);
    fake.readShortBy = 0;
    fake.writeShortBy = 1;
    fake.calls.clear();
    EXPECT_EQ(transferBytes(fake.api(), nullptr, frame, 6, reply, 6), ERR_REPLY);
    EXPECT_EQ(fake.calls, std::vector<std::string>{"FT_Write"});  // no read after a short write
    fake.writeShortBy = 0;
    fake.failCall["FT_Read"] = 4;
    EXPECT_EQ(transferBytes(fake.api(), nullptr, frame, 6, reply, 6), 4u);
}

}  // namespace
}  // namespace lyr::device
