#pragma once
// The PGX-500 register protocol: 6-byte command and reply frames, the status
// and settings registers, the sample-word packing and the upload sequence.
#include <array>
#include <cstdint>
#include <functional>

#include "device/device_link.h"
#include "document/output_settings.h"

namespace lyr::device {

using Frame = std::array<std::uint8_t, 6>;

inline constexpr std::uint8_t kWriteFrameHead = 0xD2;
inline constexpr std::uint8_t kWriteFrameTail = 0x2D;
inline constexpr std::uint8_t kReadFrameHead = 0xB4;
inline constexpr std::uint8_t kReadFrameTail = 0x4B;

enum Register : std::uint8_t {
    REG_COMMAND = 0,
    REG_STATUS = 1,
    REG_COUNT_LOW = 2,
    REG_COUNT_HIGH = 3,
    REG_PERIOD_LOW = 4,
    REG_PERIOD_HIGH = 5,
    REG_REPEAT = 6,
    REG_CONFIG = 7,
    REG_ZERO_LEVEL = 8,
    REG_DATA_VALID = 9,
};
inline constexpr int kRegisterCount = 10;

enum DeviceCommand : std::uint16_t {
    CMD_START = 0x0001,
    CMD_STOP = 0x0002,
    CMD_LOAD_SAMPLES = 0x0010,
    CMD_FORCE_STOP = 0x0080,
};

inline constexpr std::uint32_t MAX_CHUNK_WORDS = 50000;

// REG_STATUS bits.
inline constexpr std::uint16_t kStatusRunning = 1u << 0;
inline constexpr std::uint16_t kStatusTransferError = 1u << 4;
inline constexpr std::uint16_t kStatusDataReady = 1u << 5;
inline constexpr std::uint16_t kStatusClockFault = 1u << 7;

struct DeviceStatus {
    bool running = false;
    bool transferError = false;
    bool dataReady = false;
    bool clockFault = false;
    std::uint8_t firmwareVersion = 0;  // 0 = not reported
};
DeviceStatus decodeStatus(std::uint16_t value);

enum class DeviceState { ClockFault, NotSetUp, Ready, Running, Fault };
DeviceState deriveState(const DeviceStatus& status);
const char* stateName(DeviceState state);

Frame writeFrame(std::uint8_t reg, std::uint16_t value);
Frame readFrame(std::uint8_t reg);
// True when the reply echoes bytes 0, 1 and 5 of the command.
bool replyMatches(const Frame& command, const Frame& reply);

// REG_CONFIG packing of the output settings (all but repeatCount).
std::uint16_t packConfigWord(const document::OutputSettings& settings);
// The inverse, with repeatCount taken from the REG_REPEAT value.
document::OutputSettings unpackConfigWord(std::uint16_t config, std::uint16_t repeatRegister);

Status writeRegister(const D2xxApi& d2xx, FT_HANDLE h, std::uint8_t reg, std::uint16_t value);
Status readRegister(const D2xxApi& d2xx, FT_HANDLE h, std::uint8_t reg, std::uint16_t& value,
                    Frame* reply = nullptr);
Status startOutput(const D2xxApi& d2xx, FT_HANDLE h);
Status stopOutput(const D2xxApi& d2xx, FT_HANDLE h);
Status forceStop(const D2xxApi& d2xx, FT_HANDLE h);
Status readStatus(const D2xxApi& d2xx, FT_HANDLE h, DeviceStatus& status);
Status readDeviceSettings(const D2xxApi& d2xx, FT_HANDLE h, document::OutputSettings& settings);
Status writeDeviceSettings(const D2xxApi& d2xx, FT_HANDLE h, const document::OutputSettings& settings);
Status writeTiming(const D2xxApi& d2xx, FT_HANDLE h, std::uint32_t n, std::uint32_t samplingUnits);
// Sends zeroCode + 0.5 truncated toward zero.
Status writeZeroLevel(const D2xxApi& d2xx, FT_HANDLE h, double zeroCode);
Status setDataValid(const D2xxApi& d2xx, FT_HANDLE h, int flag);
// Told the sample bytes sent so far after each chunk; false stops the load
// before the next chunk (ERR_CANCELLED), leaving the unit's data invalid.
using ChunkSent = std::function<bool(std::uint32_t sentBytes, std::uint32_t totalBytes)>;
// Load command, 2 N raw bytes in chunks of MAX_CHUNK_WORDS words, status check.
Status writeSamples(const D2xxApi& d2xx, FT_HANDLE h, const std::uint16_t* words, std::uint32_t n,
                    const ChunkSent& chunkSent = {});

// The document's tracks as the device link reads them (not owned).
struct SampleTracks {
    const double* analog = nullptr;
    const std::uint8_t* digital[8] = {};  // a missing channel counts as level 0
};

// The 16-bit device word for each sample: analog code in bits 15 .. 2, then
// CH0 .. CH(15 - R) over the low bits. A voltage that is not a number gives
// code 0, like any voltage below the range.
void buildSampleWords(const SampleTracks& tracks, std::uint32_t n, int analogResolution,
                      const Calibration& calibration, std::uint16_t* words);

// The transfer in two halves around building the words, so that a caller
// may build them elsewhere: first data invalid, settings (with R) and the
// calibration; then timing, zero level, samples and data valid.
Status beginUpload(const D2xxApi& d2xx, FT_HANDLE h, const document::OutputSettings& settings,
                   std::uint32_t n, int analogResolution, Calibration& calibration);
Status finishUpload(const D2xxApi& d2xx, FT_HANDLE h, std::uint32_t n, std::uint32_t samplingUnits,
                    const Calibration& calibration, const std::uint16_t* words,
                    const ChunkSent& chunkSent = {});

// The whole transfer: data invalid, settings (with R), calibration, words,
// timing, zero level, samples, data valid. words must hold n words.
Status uploadWaveform(const D2xxApi& d2xx, FT_HANDLE h, const document::OutputSettings& settings,
                      std::uint32_t n, std::uint32_t samplingUnits, const SampleTracks& tracks,
                      int analogResolution, std::uint16_t* words);

}  // namespace lyr::device
