#include "document/waveform_file_format.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif


namespace lyr::document::wavefile {

// Out of line, so that the fuzz build can leave this per-byte loop without
// coverage tracing (tests/fuzz/coverage_ignore.txt): it has nothing to find.
[[gnu::noinline]] std::uint32_t byteSum(const std::uint8_t* data, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += data[i];
    return sum;
}

namespace {

bool isLeadByte932(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Output settings as eleven dwords, in the document's field order.
void putOutputSettings(std::uint8_t* p, const OutputSettings& s) {
    const std::uint32_t v[11] = {s.startControl,    s.outputMode,     s.analogStop,
                                 s.digitalStop,     s.triggerMode,    s.triggerPolarity,
                                 s.syncPolarity,    s.syncPulseWidth, std::uint32_t(s.repeatCount),
                                 s.retrigger,       s.analogResolution};
    for (int i = 0; i < 11; ++i) putU32(p + 4 * i, v[i]);
}

OutputSettings getOutputSettings(const std::uint8_t* p) {
    auto low = [p](int i) { return std::uint8_t(p[4 * i]); };
    OutputSettings s;
    s.startControl = low(0);
    s.outputMode = low(1);
    s.analogStop = low(2);
    s.digitalStop = low(3);
    s.triggerMode = low(4);
    s.triggerPolarity = low(5);
    s.syncPolarity = low(6);
    s.syncPulseWidth = low(7);
    s.repeatCount = getI32(p + 4 * 8);
    s.retrigger = low(9);
    s.analogResolution = low(10);
    return s;
}

std::uint8_t flag(const std::uint8_t* p) { return getU32(p) != 0 ? 1 : 0; }

bool checksumOk(const HeaderBytes& b) {
    return byteSum(b.data(), off::headerChecksum) == getU32(b.data() + off::headerChecksum);
}

// Total time must equal (time unit × sampling value, a 32-bit product) × count.
bool totalTimeOk(const HeaderBytes& b, std::uint32_t units, std::uint32_t count) {
    const std::uint32_t step = getU32(b.data() + off::timeUnit) * units;  // wraps as stored
    return getU64(b.data() + off::totalTime) == std::uint64_t(step) * count;
}

}  // namespace

std::string_view cutText(std::string_view text, std::size_t width) {
    if (text.size() <= width) return text;
    std::size_t i = 0;
    while (i < width) {
        const std::size_t step = isLeadByte932(std::uint8_t(text[i])) ? 2 : 1;
        if (i + step > width) break;
        i += step;
    }
    return text.substr(0, i);
}

void putFixedText(std::uint8_t* field, std::size_t width, std::string_view text) {
    const std::string_view cut = cutText(text, width);
    std::memset(field, 0x20, width);
    std::memcpy(field, cut.data(), cut.size());
}

std::string getFixedText(const std::uint8_t* field, std::size_t width) {
    std::size_t begin = 0, end = width;
    while (begin < end && isSpace(char(field[begin]))) ++begin;
    while (end > begin && isSpace(char(field[end - 1]))) --end;
    return std::string(reinterpret_cast<const char*>(field) + begin, end - begin);
}

void encodeHeader(const HeaderFields& h, HeaderBytes& out) {
    out.fill(0);
    std::uint8_t* p = out.data();
    putU64(p + off::totalTime, h.totalTime);
    putU32(p + off::samplingUnits, h.samplingUnits);
    putU32(p + off::sampleCount, h.sampleCount);
    putU32(p + off::timeUnit, h.timeUnitNs);
    putU32(p + off::timeUnitReserved, h.timeUnitReserved);
    putU32(p + off::revisionId, h.revisionId);
    putU32(p + off::documentId, h.documentId);
    putI32(p + off::modificationCount, h.modificationCount);
    for (std::size_t i = 0; i < kSignalNameCount; ++i)
        putFixedText(p + off::signalNames + i * kSignalNameWidth, kSignalNameWidth, h.signalNames[i]);
    putU32(p + off::reservedFlag1, h.flags.reservedFlag1 ? 1 : 0);
    putU32(p + off::editLocked, h.flags.editLocked ? 1 : 0);
    putU32(p + off::reservedFlag2, h.flags.reservedFlag2 ? 1 : 0);
    putU32(p + off::reservedFlag3, h.flags.reservedFlag3 ? 1 : 0);
    putFixedText(p + off::deviceText, kDeviceTextWidth, h.deviceText);
    for (std::size_t i = 0; i < kViewStateDwords; ++i) putU32(p + off::viewState + 4 * i, h.viewState[i]);
    putOutputSettings(p + off::outputSettings, h.outputSettings);
    putU32(p + off::headerChecksum, byteSum(p, off::headerChecksum));
    putU32(p + off::formatVersion, h.formatVersion);
}

bool checkHeader(const HeaderBytes& b) {
    const std::uint32_t units = getU32(b.data() + off::samplingUnits);
    const std::uint32_t count = getU32(b.data() + off::sampleCount);
    if (units < 1 || units > kMaxSamplingUnits) return false;
    if (count < kMinFileSamples || count > kMaxFileSamples) return false;
    if (!totalTimeOk(b, units, count)) return false;
    return checksumOk(b);
}

bool checkLegacyHeader(const HeaderBytes& b) {
    const std::uint32_t u = getU32(b.data() + off::samplingUnits);
    const std::uint32_t n = getU32(b.data() + off::sampleCount);
    if (n < kLegacyMinSamples || n > kLegacyMaxSamples) return false;
    if (u < 1 || u > kLegacyMaxSamplingValue) return false;
    if (!totalTimeOk(b, u, n)) return false;
    return checksumOk(b);
}

HeaderFields decodeHeader(const HeaderBytes& bytes) {
    const std::uint8_t* p = bytes.data();
    HeaderFields h;
    h.totalTime = getU64(p + off::totalTime);
    h.samplingUnits = getU32(p + off::samplingUnits);
    h.sampleCount = getU32(p + off::sampleCount);
    h.timeUnitNs = getU32(p + off::timeUnit);
    h.timeUnitReserved = getU32(p + off::timeUnitReserved);
    h.revisionId = getU32(p + off::revisionId);
    h.documentId = getU32(p + off::documentId);
    h.modificationCount = getI32(p + off::modificationCount);
    for (std::size_t i = 0; i < kSignalNameCount; ++i)
        h.signalNames[i] = getFixedText(p + off::signalNames + i * kSignalNameWidth, kSignalNameWidth);
    h.flags.reservedFlag1 = flag(p + off::reservedFlag1);
    h.flags.editLocked = flag(p + off::editLocked);
    h.flags.reservedFlag2 = flag(p + off::reservedFlag2);
    h.flags.reservedFlag3 = flag(p + off::reservedFlag3);
    h.deviceText = getFixedText(p + off::deviceText, kDeviceTextWidth);
    for (std::size_t i = 0; i < kViewStateDwords; ++i) h.viewState[i] = getU32(p + off::viewState + 4 * i);
    h.outputSettings = getOutputSettings(p + off::outputSettings);
    h.formatVersion = getU32(p + off::formatVersion);
    return h;
}

void sealSettingsBlock(SettingsBlock& block) {
    putU32(block.data() + kSettingsChecksumOffset, byteSum(block.data(), kSettingsChecksumOffset));
}

bool settingsBlockChecksumOk(const SettingsBlock& block) {
    return byteSum(block.data(), kSettingsChecksumOffset) ==
           getU32(block.data() + kSettingsChecksumOffset);
}

// Eight samples at a time: byte j of a 64-bit word is sample j, so shifts and
// masks that stay inside each byte work in either byte order.
void packDigital(const std::uint8_t* const channels[8], std::size_t n, std::uint8_t* packed) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word = 0;
        for (int k = 0; k < 8; ++k) {
            std::uint64_t v;
            std::memcpy(&v, channels[k] + i, 8);
            const std::uint64_t nonZero = ((((v & kLow7) + kLow7) | v) & kHigh) >> 7;  // 0/1 per byte
            word |= nonZero << k;
        }
        std::memcpy(packed + i, &word, 8);
    }
    for (; i < n; ++i) {
        std::uint8_t b = 0;
        for (int k = 0; k < 8; ++k) b |= std::uint8_t((channels[k][i] != 0 ? 1 : 0) << k);
        packed[i] = b;
    }
}

namespace {

// One channel of a block: a byte is 1 where its bit is set. A mask and a
// comparison, no shift of a byte, so that the compiler turns it into byte
// vector code on any machine that has it.
template <std::size_t Fixed>
void spreadChannel(const std::uint8_t* __restrict packed, std::size_t count, std::uint8_t bit,
                   std::uint8_t* __restrict out) {
    const std::size_t length = Fixed ? Fixed : count;
    for (std::size_t i = 0; i < length; ++i) out[i] = (packed[i] & bit) != 0 ? 1 : 0;
}

}  // namespace

void unpackDigital(const std::uint8_t* packed, std::size_t n, std::uint8_t* const channels[8]) {
    // Blocks that stay in the first-level cache while each channel reads
    // them; full blocks pass their length as a constant, so that the loop
    // needs no scalar remainder and compiles to vector code at -O2.
    constexpr std::size_t kBlock = 4096;
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        for (int k = 0; k < 8; ++k) {
            const auto bit = std::uint8_t(1u << k);
            std::uint8_t* out = channels[k] + i;
#if defined(__SSE2__)
            // The tracks are far larger than the caches: storing past the
            // cache spares reading every line first, which makes an open
            // about a sixth faster than the portable loop below. x86-64
            // always has these instructions.
            if ((reinterpret_cast<std::uintptr_t>(out) & 15) == 0) {
                const __m128i mask = _mm_set1_epi8(char(bit)), one = _mm_set1_epi8(1), zero = _mm_setzero_si128();
                for (std::size_t j = 0; j < kBlock; j += 16) {
                    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(packed + i + j));
                    const __m128i clear = _mm_cmpeq_epi8(_mm_and_si128(v, mask), zero);
                    _mm_stream_si128(reinterpret_cast<__m128i*>(out + j), _mm_andnot_si128(clear, one));
                }
                continue;
            }
#endif
            spreadChannel<kBlock>(packed + i, kBlock, bit, out);
        }
    }
#if defined(__SSE2__)
    _mm_sfence();
#endif
    if (i < n)
        for (int k = 0; k < 8; ++k) spreadChannel<0>(packed + i, n - i, std::uint8_t(1u << k), channels[k] + i);
}

void encodeDoubles(const double* values, std::size_t n, std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes, values, n * sizeof(double));
    } else {
        for (std::size_t i = 0; i < n; ++i) putF64(bytes + 8 * i, values[i]);
    }
}

void decodeDoubles(const std::uint8_t* bytes, std::size_t n, double* values) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(values, bytes, n * sizeof(double));
    } else {
        for (std::size_t i = 0; i < n; ++i) values[i] = getF64(bytes + 8 * i);
    }
}

LegacyTimeBase convertLegacyTimeBase(std::uint32_t u, std::uint32_t n) {
    if (u <= 4194304u) return {2 * u, n, 1};
    if (u <= 8388608u) return {u, 2 * n, 2};
    return {u / 2, 4 * n, 4};
}

void expandLegacyAnalog(const double* src, std::size_t n, std::uint32_t repeat, double* dst) {
    if (repeat == 1) {
        std::memcpy(dst, src, n * sizeof(double));
        return;
    }
    for (std::size_t i = 0; i < n; ++i) std::fill_n(dst + i * repeat, repeat, src[i]);
}

void expandLegacyDigital(const std::uint8_t* packed, std::size_t n, std::uint32_t repeat,
                         std::uint8_t* const channels[8]) {
    for (int k = 0; k < 8; ++k) {
        std::uint8_t* out = channels[k];
        if (k >= int(kLegacyChannels)) {
            std::fill_n(out, n * repeat, std::uint8_t(0));
            continue;
        }
        for (std::size_t i = 0; i < n; ++i)
            std::fill_n(out + i * repeat, repeat, std::uint8_t((packed[i] >> k) & 1));
    }
}

}  // namespace lyr::document::wavefile
