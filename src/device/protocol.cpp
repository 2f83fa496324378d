#include "device/protocol.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace lyr::device {

using document::OutputSettings;

DeviceStatus decodeStatus(std::uint16_t value) {
    DeviceStatus s;
    s.running = (value & kStatusRunning) != 0;
    s.transferError = (value & kStatusTransferError) != 0;
    s.dataReady = (value & kStatusDataReady) != 0;
    s.clockFault = (value & kStatusClockFault) != 0;
    s.firmwareVersion = static_cast<std::uint8_t>(value >> 8);
    return s;
}

DeviceState deriveState(const DeviceStatus& s) {
    if (s.clockFault) return DeviceState::ClockFault;
    if (!s.running) return s.dataReady ? DeviceState::Ready : DeviceState::NotSetUp;
    return s.dataReady ? DeviceState::Running : DeviceState::Fault;
}

const char* stateName(DeviceState state) {
    switch (state) {
    case DeviceState::ClockFault: return "ClockFault";
    case DeviceState::NotSetUp: return "NotSetUp";
    case DeviceState::Ready: return "Ready";
    case DeviceState::Running: return "Running";
    case DeviceState::Fault: return "Fault";
    }
    return "";
}

Frame writeFrame(std::uint8_t reg, std::uint16_t value) {
    return {kWriteFrameHead, 0x00, reg, static_cast<std::uint8_t>(value & 0xFF),
            static_cast<std::uint8_t>(value >> 8), kWriteFrameTail};
}

Frame readFrame(std::uint8_t reg) { return {kReadFrameHead, 0x00, reg, 0x00, 0x00, kReadFrameTail}; }

bool replyMatches(const Frame& command, const Frame& reply) {
    return reply[0] == command[0] && reply[1] == command[1] && reply[5] == command[5];
}

std::uint16_t packConfigWord(const OutputSettings& s) {
    unsigned w = 0;
    w |= (s.startControl & 3u);
    w |= (s.outputMode & 1u) << 2;
    w |= (s.analogStop & 1u) << 4;
    w |= (s.digitalStop & 1u) << 5;
    w |= (s.syncPolarity & 1u) << 6;
    w |= (s.syncPulseWidth & 1u) << 7;
    w |= (s.triggerMode & 1u) << 8;
    w |= (s.triggerPolarity & 1u) << 9;
    w |= (s.retrigger & 1u) << 10;
    w |= ((14u - s.analogResolution) & 7u) << 12;
    return static_cast<std::uint16_t>(w);
}

OutputSettings unpackConfigWord(std::uint16_t w, std::uint16_t repeatRegister) {
    OutputSettings s;
    s.startControl = w & 3u;
    s.outputMode = (w >> 2) & 1u;
    s.analogStop = (w >> 4) & 1u;
    s.digitalStop = (w >> 5) & 1u;
    s.syncPolarity = (w >> 6) & 1u;
    s.syncPulseWidth = (w >> 7) & 1u;
    s.triggerMode = (w >> 8) & 1u;
    s.triggerPolarity = (w >> 9) & 1u;
    s.retrigger = (w >> 10) & 1u;
    s.analogResolution = static_cast<std::uint8_t>(14 - ((w >> 12) & 7u));
    s.repeatCount = static_cast<std::int32_t>(repeatRegister) + 1;
    return s;
}

namespace {

Status exchange(const D2xxApi& d2xx, FT_HANDLE h, const Frame& command, Frame& reply) {
    Status s = transferBytes(d2xx, h, command.data(), 6, reply.data(), 6);
    if (s != FT_OK) return s;
    return replyMatches(command, reply) ? FT_OK : static_cast<Status>(ERR_REPLY);
}

}  // namespace

Status writeRegister(const D2xxApi& d2xx, FT_HANDLE h, std::uint8_t reg, std::uint16_t value) {
    Frame reply{};
    return exchange(d2xx, h, writeFrame(reg, value), reply);
}

Status readRegister(const D2xxApi& d2xx, FT_HANDLE h, std::uint8_t reg, std::uint16_t& value,
                    Frame* replyOut) {
    Frame reply{};
    Status s = exchange(d2xx, h, readFrame(reg), reply);
    if (replyOut) *replyOut = reply;
    if (s != FT_OK) return s;
    value = static_cast<std::uint16_t>(reply[3] | (reply[4] << 8));
    return FT_OK;
}

Status startOutput(const D2xxApi& d2xx, FT_HANDLE h) { return writeRegister(d2xx, h, REG_COMMAND, CMD_START); }
Status stopOutput(const D2xxApi& d2xx, FT_HANDLE h) { return writeRegister(d2xx, h, REG_COMMAND, CMD_STOP); }
Status forceStop(const D2xxApi& d2xx, FT_HANDLE h) {
    return writeRegister(d2xx, h, REG_COMMAND, CMD_FORCE_STOP);
}

Status readStatus(const D2xxApi& d2xx, FT_HANDLE h, DeviceStatus& status) {
    std::uint16_t value = 0;
    Status s = readRegister(d2xx, h, REG_STATUS, value);
    if (s == FT_OK) status = decodeStatus(value);
    return s;
}

Status readDeviceSettings(const D2xxApi& d2xx, FT_HANDLE h, OutputSettings& settings) {
    std::uint16_t repeat = 0, config = 0;
    Status s = readRegister(d2xx, h, REG_REPEAT, repeat);
    if (s != FT_OK) return s;
    s = readRegister(d2xx, h, REG_CONFIG, config);
    if (s != FT_OK) return s;
    settings = unpackConfigWord(config, repeat);
    return FT_OK;
}

Status writeDeviceSettings(const D2xxApi& d2xx, FT_HANDLE h, const OutputSettings& settings) {
    Status s = writeRegister(d2xx, h, REG_REPEAT, static_cast<std::uint16_t>(settings.repeatCount - 1));
    if (s != FT_OK) return s;
    return writeRegister(d2xx, h, REG_CONFIG, packConfigWord(settings));
}

Status writeTiming(const D2xxApi& d2xx, FT_HANDLE h, std::uint32_t n, std::uint32_t samplingUnits) {
    const std::uint32_t count = n - 1, period = samplingUnits - 1;
    Status s = writeRegister(d2xx, h, REG_COUNT_HIGH, static_cast<std::uint16_t>(count >> 16));
    if (s == FT_OK) s = writeRegister(d2xx, h, REG_COUNT_LOW, static_cast<std::uint16_t>(count));
    if (s == FT_OK) s = writeRegister(d2xx, h, REG_PERIOD_HIGH, static_cast<std::uint16_t>(period >> 16));
    if (s == FT_OK) s = writeRegister(d2xx, h, REG_PERIOD_LOW, static_cast<std::uint16_t>(period));
    return s;
}

Status writeZeroLevel(const D2xxApi& d2xx, FT_HANDLE h, double zeroCode) {
    // Calibration values are bounded by 16-bit codes and 32-bit levels, so the
    // rounded code always fits a 64-bit integer.
    const auto code = static_cast<std::int64_t>(zeroCode + 0.5);
    return writeRegister(d2xx, h, REG_ZERO_LEVEL, static_cast<std::uint16_t>(code));
}

Status setDataValid(const D2xxApi& d2xx, FT_HANDLE h, int flag) {
    return writeRegister(d2xx, h, REG_DATA_VALID, flag == 1 ? 1 : 0);
}

Status writeSamples(const D2xxApi& d2xx, FT_HANDLE h, const std::uint16_t* words, std::uint32_t n,
                    const ChunkSent& chunkSent) {
    Status s = writeRegister(d2xx, h, REG_COMMAND, CMD_LOAD_SAMPLES);
    if (s != FT_OK) return s;
    std::vector<std::uint8_t> swapped;  // only on big-endian hosts
    for (std::uint32_t sent = 0; sent < n;) {
        const std::uint32_t count = std::min(n - sent, MAX_CHUNK_WORDS);
        const std::uint8_t* bytes;
        if constexpr (std::endian::native == std::endian::little) {
            bytes = reinterpret_cast<const std::uint8_t*>(words + sent);
        } else {
            swapped.resize(2 * static_cast<std::size_t>(count));
            for (std::uint32_t i = 0; i < count; ++i) {
                swapped[2 * i] = static_cast<std::uint8_t>(words[sent + i]);
                swapped[2 * i + 1] = static_cast<std::uint8_t>(words[sent + i] >> 8);
            }
            bytes = swapped.data();
        }
        s = transferBytes(d2xx, h, bytes, 2 * count, nullptr, 0);
        if (s != FT_OK) return s;
        sent += count;
        if (chunkSent && !chunkSent(2 * sent, 2 * n) && sent < n) return ERR_CANCELLED;
    }
    DeviceStatus status;
    s = readStatus(d2xx, h, status);
    if (s != FT_OK) return s;
    return status.transferError ? static_cast<Status>(ERR_REPLY) : FT_OK;
}

namespace {

// Kept apart, with unaliased pointers, so that each loop compiles to vector
// code; full blocks pass their length as a constant for the same reason.
inline void convertBlock(const double* __restrict analog, std::uint16_t* __restrict w,
                         std::uint32_t count, double cpv, double zero, unsigned keep) {
    for (std::uint32_t i = 0; i < count; ++i) {
        // v x codesPerVolt + zeroCode + 0.5, left to right: folding the half
        // into the zero code first can move a value on a step edge by one code.
        double x = analog[i] * cpv + zero;
        x += 0.5;
        x = std::max(0.0, x);  // also a voltage that is not a number
        x = std::min(16383.0, x);
        w[i] = static_cast<std::uint16_t>((static_cast<unsigned>(static_cast<int>(x)) << 2) & keep);
    }
}

inline void mergeChannel(const std::uint8_t* __restrict level, std::uint16_t* __restrict w,
                         std::uint32_t count, unsigned bit) {
    for (std::uint32_t i = 0; i < count; ++i)
        w[i] = static_cast<std::uint16_t>(w[i] | ((level[i] & 1u) << bit));
}

template <std::uint32_t Fixed>
void buildBlock(const SampleTracks& tracks, std::uint32_t first, std::uint32_t count, int nd,
                double cpv, double zero, unsigned keep, std::uint16_t* w) {
    const std::uint32_t length = Fixed ? Fixed : count;
    if (tracks.analog) {
        convertBlock(tracks.analog + first, w, length, cpv, zero, keep);
    } else {
        const double none = 0.0;
        convertBlock(&none, w, 1, cpv, zero, keep);
        std::fill(w + 1, w + length, w[0]);
    }
    for (int k = 0; k < nd; ++k)
        if (tracks.digital[k]) mergeChannel(tracks.digital[k] + first, w, length, static_cast<unsigned>(k));
}

}  // namespace

void buildSampleWords(const SampleTracks& tracks, std::uint32_t n, int analogResolution,
                      const Calibration& calibration, std::uint16_t* words) {
    int nd = 16 - analogResolution;
    if (nd < 2 || nd > 8) nd = 0;  // no channel bits at all
    const unsigned keep = ~((1u << nd) - 1u) & 0xFFFFu;
    const double cpv = calibration.codesPerVolt, zero = calibration.zeroCode;
    // Blocks small enough to stay in the first-level cache: one analog pass
    // and one pass per channel over each block.
    constexpr std::uint32_t kBlock = 4096;
    std::uint32_t first = 0;
    for (; first + kBlock <= n; first += kBlock)
        buildBlock<kBlock>(tracks, first, kBlock, nd, cpv, zero, keep, words + first);
    if (first < n) buildBlock<0>(tracks, first, n - first, nd, cpv, zero, keep, words + first);
}

Status beginUpload(const D2xxApi& d2xx, FT_HANDLE h, const OutputSettings& settings, std::uint32_t n,
                   int analogResolution, Calibration& calibration) {
    // More samples than the device's memory holds would corrupt what follows
    // the load; refuse before the device is touched.
    if (n > document::kMaxSamples) return FT_INVALID_PARAMETER;
    Status s = setDataValid(d2xx, h, 0);
    if (s != FT_OK) return s;
    OutputSettings sent = settings;
    sent.analogResolution = static_cast<std::uint8_t>(analogResolution);
    s = writeDeviceSettings(d2xx, h, sent);
    if (s != FT_OK) return s;
    return readCalibration(d2xx, h, calibration);
}

Status finishUpload(const D2xxApi& d2xx, FT_HANDLE h, std::uint32_t n, std::uint32_t samplingUnits,
                    const Calibration& calibration, const std::uint16_t* words, const ChunkSent& chunkSent) {
    Status s = writeTiming(d2xx, h, n, samplingUnits);
    if (s != FT_OK) return s;
    s = writeZeroLevel(d2xx, h, calibration.zeroCode);
    if (s != FT_OK) return s;
    s = writeSamples(d2xx, h, words, n, chunkSent);
    if (s != FT_OK) return s;
    return setDataValid(d2xx, h, 1);
}

Status uploadWaveform(const D2xxApi& d2xx, FT_HANDLE h, const OutputSettings& settings,
                      std::uint32_t n, std::uint32_t samplingUnits, const SampleTracks& tracks,
                      int analogResolution, std::uint16_t* words) {
    if (words == nullptr) return FT_INVALID_PARAMETER;
    Calibration calibration;
    Status s = beginUpload(d2xx, h, settings, n, analogResolution, calibration);
    if (s != FT_OK) return s;
    buildSampleWords(tracks, n, analogResolution, calibration, words);
    return finishUpload(d2xx, h, n, samplingUnits, calibration, words);
}

}  // namespace lyr::device
