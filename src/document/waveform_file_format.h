#pragma once
// Byte layout of waveform files: the 1,024-byte header, the packed digital
// byte, the 4,096-byte editor settings block, checksums and size rules of the
// current ".lyr" format, and the header and sample conversion of the legacy
// ".syn" format. Nothing here touches a file or the document.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "document/output_settings.h"
#include "document/time_base_identity.h"

namespace lyr::document::wavefile {

// ---- messages the file layer returns (the caller shows them on failure) ----
inline constexpr const char* kMsgOk = "正常終了しました。";
inline constexpr const char* kMsgOpenError = "ファイルオープンエラーです。";
inline constexpr const char* kMsgReadError = "ファイル読み込みエラーです。";
inline constexpr const char* kMsgFormatError = "ファイルフォーマットエラーです。";
inline constexpr const char* kMsgWriteError = "ファイル書き込みエラーです。";
// The storage for a file's samples cannot be reserved.
inline constexpr const char* kMsgReadMemory = "ファイル読込みのためのメモリが確保できませんでした。";
// A save that succeeded by rewriting the file in place (shown as a notice).
inline constexpr const char* kMsgSavedInPlace =
    "保存先のフォルダーに一時ファイルを作成できないため、ファイルを直接書き換えて保存しました。";
// A failed in-place save whose old bytes could not be put back; the path of
// the copy holding them follows on the next line.
inline constexpr const char* kMsgOldBytesKept =
    "ファイル書き込みエラーです。元のファイルを復元できませんでした。元の内容は次のファイルに残っています:";

// ---- current format ----
inline constexpr std::uint32_t kFormatVersion = 3;
inline constexpr std::size_t kHeaderSize = 1024;
inline constexpr std::size_t kSettingsBlockSize = 4096;
inline constexpr std::size_t kSettingsChecksumOffset = 4092;
inline constexpr std::uint32_t kMinFileSamples = 20;
inline constexpr std::uint32_t kMaxFileSamples = 1048576;
inline constexpr std::uint32_t kMaxSamplingUnits = 8388608;
inline constexpr std::size_t kViewStateDwords = 178;
inline constexpr std::size_t kSignalNameCount = 9;
inline constexpr std::size_t kSignalNameWidth = 8;
inline constexpr std::size_t kDeviceTextWidth = 16;

// Header offsets.
namespace off {
inline constexpr std::size_t totalTime = 0;
inline constexpr std::size_t samplingUnits = 8;
inline constexpr std::size_t sampleCount = 12;
inline constexpr std::size_t timeUnit = 16;
inline constexpr std::size_t timeUnitReserved = 20;
inline constexpr std::size_t revisionId = 24;
inline constexpr std::size_t documentId = 28;
inline constexpr std::size_t modificationCount = 32;
inline constexpr std::size_t signalNames = 36;
inline constexpr std::size_t reservedFlag1 = 116;
inline constexpr std::size_t editLocked = 120;
inline constexpr std::size_t reservedFlag2 = 124;
inline constexpr std::size_t reservedFlag3 = 128;
inline constexpr std::size_t deviceText = 132;
inline constexpr std::size_t viewState = 148;
inline constexpr std::size_t outputSettings = 860;
inline constexpr std::size_t headerChecksum = 1016;
inline constexpr std::size_t formatVersion = 1020;
}  // namespace off

// The exact size of a current-format file of n samples.
constexpr std::uint64_t currentFileSize(std::uint32_t n) { return 5120u + 9ull * n; }

// ---- legacy format ----
inline constexpr std::uint32_t kLegacyMinSamples = 10;
inline constexpr std::uint32_t kLegacyMaxSamples = 262144;
inline constexpr std::uint32_t kLegacyMaxSamplingValue = 16777216;
inline constexpr std::size_t kLegacyChannels = 4;
// The least size of a legacy file of n samples (longer files are accepted).
constexpr std::uint64_t legacyMinFileSize(std::uint32_t n) { return 1024u + 12ull * n; }

// ---- little-endian access ----
inline std::uint32_t getU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint64_t getU64(const std::uint8_t* p) {
    return std::uint64_t(getU32(p)) | std::uint64_t(getU32(p + 4)) << 32;
}
inline std::int32_t getI32(const std::uint8_t* p) { return std::int32_t(getU32(p)); }
inline double getF64(const std::uint8_t* p) {
    const std::uint64_t bits = getU64(p);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
inline void putU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
inline void putU64(std::uint8_t* p, std::uint64_t v) {
    putU32(p, std::uint32_t(v));
    putU32(p + 4, std::uint32_t(v >> 32));
}
inline void putI32(std::uint8_t* p, std::int32_t v) { putU32(p, std::uint32_t(v)); }
inline void putF64(std::uint8_t* p, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    putU64(p, bits);
}

// Sum of the bytes as unsigned values, modulo 2^32.
std::uint32_t byteSum(const std::uint8_t* data, std::size_t size);

// Fixed-width texts: cut to the width (never splitting a double-byte
// character of code page 932), padded with blanks, not terminated.
void putFixedText(std::uint8_t* field, std::size_t width, std::string_view text);
// Leading and trailing white space removed.
std::string getFixedText(const std::uint8_t* field, std::size_t width);
// The longest prefix of text that fits in width bytes without splitting a
// double-byte character of code page 932.
std::string_view cutText(std::string_view text, std::size_t width);

// ---- the header as decoded fields ----
struct FileFlags {
    std::uint8_t reservedFlag1 = 0;
    std::uint8_t editLocked = 0;
    std::uint8_t reservedFlag2 = 0;
    std::uint8_t reservedFlag3 = 0;
    bool operator==(const FileFlags&) const = default;
};

struct HeaderFields : TimeBaseIdentity {
    std::array<std::string, kSignalNameCount> signalNames{};
    FileFlags flags{};
    std::string deviceText;
    std::array<std::uint32_t, kViewStateDwords> viewState{};
    OutputSettings outputSettings{};
    std::uint32_t formatVersion = kFormatVersion;
    bool operator==(const HeaderFields&) const = default;
};

using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

// Builds the 1,024 header bytes, checksum included.
void encodeHeader(const HeaderFields& h, HeaderBytes& out);

// Header check of the current format: sampling units, sample count, the
// total-time product and the checksum. True when the header may be decoded.
bool checkHeader(const HeaderBytes& bytes);
// Texts trimmed, flags normalised to 0/1, byte output settings from the low
// byte of their dword.
HeaderFields decodeHeader(const HeaderBytes& bytes);

// Legacy header check (sample count, sampling value, total-time product,
// checksum).
bool checkLegacyHeader(const HeaderBytes& bytes);

// ---- the settings block ----
using SettingsBlock = std::array<std::uint8_t, kSettingsBlockSize>;
// Writes the checksum at 4,092 over bytes 0 ... 4,091.
void sealSettingsBlock(SettingsBlock& block);
bool settingsBlockChecksumOk(const SettingsBlock& block);

// ---- samples ----
// One packed byte per sample: bit k = level of CHk (non-zero levels count as 1).
void packDigital(const std::uint8_t* const channels[8], std::size_t n, std::uint8_t* packed);
// Bit k of each packed byte into channel k as 0/1.
void unpackDigital(const std::uint8_t* packed, std::size_t n, std::uint8_t* const channels[8]);

// Doubles to and from their little-endian file bytes.
void encodeDoubles(const double* values, std::size_t n, std::uint8_t* bytes);
void decodeDoubles(const std::uint8_t* bytes, std::size_t n, double* values);

// ---- legacy conversion ----
// How a legacy time base of sampling value u (20 ns steps) and n samples
// becomes the current one: each legacy sample is repeated `repeat` times.
struct LegacyTimeBase {
    std::uint32_t samplingUnits = 0;  // 10 ns steps
    std::uint32_t sampleCount = 0;
    std::uint32_t repeat = 1;
};
LegacyTimeBase convertLegacyTimeBase(std::uint32_t u, std::uint32_t n);

// Repeats every legacy sample `repeat` times into the destination (which
// holds n × repeat elements). The digital levels come from bits 0..3 of the
// packed bytes into CH0..CH3; CH4..CH7 are set low.
void expandLegacyAnalog(const double* src, std::size_t n, std::uint32_t repeat, double* dst);
void expandLegacyDigital(const std::uint8_t* packed, std::size_t n, std::uint32_t repeat,
                         std::uint8_t* const channels[8]);

}  // namespace lyr::document::wavefile
