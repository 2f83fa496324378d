#include "device/protocol.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <utility>
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

// Samples are built in blocks small enough to stay in the first-level cache.
constexpr std::uint32_t kWordBlock = 4096;

// Where a channel is missing its levels are read from here (all low).
constexpr std::uint8_t kLowLevels[kWordBlock] = {};

// v x codesPerVolt + zeroCode + 0.5, left to right: folding the half into the
// zero code first can move a value on a step edge by one code. The top is
// clamped before the conversion and the bottom after it: a value that is not
// a number, or far below the range, converts to the least int and so also
// ends at code 0, with one comparison fewer per sample.
inline unsigned codeOf(double v, double cpv, double zero) {
    double x = v * cpv + zero;
    x += 0.5;
    x = 16383.0 < x ? 16383.0 : x;
    const int code = static_cast<int>(x);
    return static_cast<unsigned>(code < 0 ? 0 : code) << 2;
}

// Level bit k of one sample: 0 - bit is all ones or nothing, masked to bit k.
// Byte arithmetic only (no shift of a byte by k), so that the compiler can do
// sixteen samples per vector operation on any machine with byte vectors.
template <int K>
inline std::uint8_t laneBit(const std::uint8_t* const* level, std::uint32_t i) {
    const std::uint8_t bit = level[K][i] & 1;
    if constexpr (K == 0) return bit;
    const std::uint8_t all = static_cast<std::uint8_t>(0 - bit);
    return static_cast<std::uint8_t>(all & (1u << K));
}

template <int... K>
inline std::uint8_t laneBits([[maybe_unused]] const std::uint8_t* const* level, [[maybe_unused]] std::uint32_t i,
                             std::integer_sequence<int, K...>) {
    return static_cast<std::uint8_t>((std::uint8_t{0} | ... | laneBit<K>(level, i)));
}

// The low bits of each word for a block, channel k on bit k: written out per
// channel rather than looped over them, one byte per sample. Full blocks
// pass their length as a constant (Fixed), so that the loop needs no scalar
// remainder and compiles to vector code at -O2.
template <int Channels, std::uint32_t Fixed>
void gatherLanes(const std::uint8_t* const* level, std::uint32_t count, std::uint8_t* __restrict lanes) {
    const std::uint32_t length = Fixed ? Fixed : count;
    for (std::uint32_t i = 0; i < length; ++i)
        lanes[i] = laneBits(level, i, std::make_integer_sequence<int, Channels>{});
}

// One pass writing each word once: code and lanes together. Kept apart, with
// unaliased pointers and a constant length for full blocks, so that it
// compiles to vector code.
template <int Channels>
inline void combineBlock(const double* __restrict analog, const std::uint8_t* __restrict lanes,
                         std::uint16_t* __restrict w, std::uint32_t count, double cpv, double zero) {
    constexpr unsigned keep = ~((1u << Channels) - 1u) & 0xFFFFu;
    for (std::uint32_t i = 0; i < count; ++i)
        w[i] = static_cast<std::uint16_t>((codeOf(analog[i], cpv, zero) & keep) | lanes[i]);
}

template <int Channels, std::uint32_t Fixed>
void buildBlock(const SampleTracks& tracks, std::uint32_t first, std::uint32_t count, double cpv,
                double zero, const double* noAnalog, std::uint16_t* words) {
    const std::uint32_t length = Fixed ? Fixed : count;
    const std::uint8_t* level[Channels > 0 ? Channels : 1];
    for (int k = 0; k < Channels; ++k) level[k] = tracks.digital[k] ? tracks.digital[k] + first : kLowLevels;
    alignas(16) std::uint8_t lanes[kWordBlock];
    gatherLanes<Channels, Fixed>(level, length, lanes);
    const double* a = tracks.analog ? tracks.analog + first : noAnalog;
    combineBlock<Channels>(a, lanes, words + first, length, cpv, zero);
}

template <int Channels>
void buildWords(const SampleTracks& tracks, std::uint32_t n, double cpv, double zero, std::uint16_t* words) {
    // Without an analog track every code is that of 0 V.
    std::unique_ptr<double[]> noAnalog;
    if (!tracks.analog) noAnalog = std::make_unique<double[]>(kWordBlock);
    std::uint32_t first = 0;
    for (; first + kWordBlock <= n; first += kWordBlock)
        buildBlock<Channels, kWordBlock>(tracks, first, kWordBlock, cpv, zero, noAnalog.get(), words);
    if (first < n) buildBlock<Channels, 0>(tracks, first, n - first, cpv, zero, noAnalog.get(), words);
}

}  // namespace

void buildSampleWords(const SampleTracks& tracks, std::uint32_t n, int analogResolution,
                      const Calibration& calibration, std::uint16_t* words) {
    const double cpv = calibration.codesPerVolt, zero = calibration.zeroCode;
    // The channel count is a constant inside each loop, so that nothing loops
    // over the channels per sample.
    switch (16 - analogResolution) {
    case 2: return buildWords<2>(tracks, n, cpv, zero, words);
    case 3: return buildWords<3>(tracks, n, cpv, zero, words);
    case 4: return buildWords<4>(tracks, n, cpv, zero, words);
    case 5: return buildWords<5>(tracks, n, cpv, zero, words);
    case 6: return buildWords<6>(tracks, n, cpv, zero, words);
    case 7: return buildWords<7>(tracks, n, cpv, zero, words);
    case 8: return buildWords<8>(tracks, n, cpv, zero, words);
    default: return buildWords<0>(tracks, n, cpv, zero, words);  // no channel bits at all
    }
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
