#pragma once
// Finding, opening and closing PGX-500 units, reading their calibration, and
// the raw write-then-read primitive that the register protocol rests on.
#include <array>
#include <cstddef>
#include <cstdint>

#include "device/d2xx.h"

namespace lyr::device {

// 0 success, 1 ... 18 FT_STATUS values passed through, 19 ... 22 our own.
using Status = std::uint32_t;
enum DeviceError : Status {
    ERR_NOTHING_TO_TRANSFER = 19,
    ERR_USER_AREA = 20,
    ERR_REPLY = 21,
    // The user stopped a sample load between two chunks.
    ERR_CANCELLED = 22,
};

inline constexpr const char* MODEL_NAME = "PGX-500";

// Serial numbers of up to 16 characters are listed; a slot holds one with
// its terminating zero. Longer serials are skipped rather than truncated,
// since a truncated serial would open nothing.
inline constexpr std::size_t kMaxSerialLength = 16;
inline constexpr std::size_t kSerialSlotSize = kMaxSerialLength + 1;
using SerialSlot = std::array<char, kSerialSlotSize>;
// FT_ListDevices and FT_OpenEx work on 64-byte text buffers.
inline constexpr std::size_t kListBufferSize = 64;

inline constexpr ULONG kReadTimeoutMs = 2000;
inline constexpr ULONG kWriteTimeoutMs = 10000;

inline constexpr std::size_t kUserAreaSize = 50;
using UserArea = std::array<std::uint8_t, kUserAreaSize>;

struct UserAreaRecord {
    std::uint16_t calibrationCode1 = 0;
    std::uint16_t calibrationCode2 = 0;
    std::int32_t calibrationLevel1 = 0;  // 10 uV units
    std::int32_t calibrationLevel2 = 0;
    std::uint16_t userAreaChecksum = 0;
};
UserAreaRecord parseUserArea(const UserArea& bytes);
// Sum modulo 65536 of the 24 little-endian words at bytes 0 .. 47.
std::uint16_t userAreaSum(const UserArea& bytes);
// Writes the record's fields (bytes 36 .. 49) with a checksum that matches.
void storeCalibrationRecord(UserArea& bytes, std::uint16_t code1, std::uint16_t code2,
                            std::int32_t level1, std::int32_t level2);

struct Calibration {
    double codesPerVolt = 0.0;
    double zeroCode = 0.0;
};
// Checks the record and derives the calibration; ERR_USER_AREA when the two
// levels are equal or the checksum does not match.
Status calibrationFromUserArea(const UserArea& bytes, Calibration& out);

// slots: pointers to SerialSlot buffers, ended by a null pointer.
Status listDevices(const D2xxApi& d2xx, SerialSlot* const* slots, DWORD& count);
// serial: a serial text, or null/empty to open the first unit of the model.
Status openDevice(const D2xxApi& d2xx, const char* serial, FT_HANDLE& handle);
Status closeDevice(const D2xxApi& d2xx, FT_HANDLE handle);
Status readUserArea(const D2xxApi& d2xx, FT_HANDLE handle, UserArea& buffer);
Status readCalibration(const D2xxApi& d2xx, FT_HANDLE handle, Calibration& out);
Status transferBytes(const D2xxApi& d2xx, FT_HANDLE handle, const std::uint8_t* out,
                     DWORD outLength, std::uint8_t* in, DWORD inLength);

}  // namespace lyr::device
