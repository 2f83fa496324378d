#pragma once
// The simulated PGX-500's state, one fixed-layout record per device. With
// PGXSIM_STATE the records live in that file (mapped shared), so separate
// processes see one device; tests read the file to check the sample memory.
// Replies wait with the handle that sent the frame, so a second process
// polling the unit never takes another's reply.
#include <cstdint>
#include <type_traits>

namespace pgxsim {

inline constexpr std::uint32_t kRecordMagic = 0x53584750;  // "PGXS"
inline constexpr std::uint32_t kRecordVersion = 2;
inline constexpr std::uint32_t kCapacityWords = 1048576;
inline constexpr int kRegisterCount = 10;
inline constexpr int kUserAreaSize = 50;

struct DeviceRecord {
    std::uint32_t magic;
    std::uint32_t version;
    char serial[64];
    std::uint16_t registers[kRegisterCount];  // as last written
    std::uint8_t dataValid;                   // status bit 5
    std::uint8_t running;                     // status bit 0
    std::uint8_t transferError;               // status bit 4
    std::uint8_t loadComplete;                // the last load took all its bytes
    std::uint32_t loadExpectedBytes;          // bytes still awaited after CMD_LOAD_SAMPLES
    std::uint32_t loadReceivedBytes;
    std::uint32_t loadedWords;                // words of the last complete load
    std::int64_t runStartNs;                  // on the unit's clock, which other processes share
    std::uint64_t frames;                     // frames answered since the record was made
    std::uint8_t userArea[kUserAreaSize];
    std::uint8_t padding[2];
    std::uint16_t samples[kCapacityWords];    // little-endian words, as sent
};
static_assert(std::is_standard_layout_v<DeviceRecord>);
static_assert(std::is_trivially_copyable_v<DeviceRecord>);

// Record i of the state file starts at i * sizeof(DeviceRecord).
inline constexpr std::uint64_t recordOffset(int index) {
    return static_cast<std::uint64_t>(index) * sizeof(DeviceRecord);
}

}  // namespace pgxsim
