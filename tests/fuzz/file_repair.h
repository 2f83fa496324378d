#pragma once
// Repairs a mutated waveform file so that it passes the header checks: the
// sample count and sampling value in range, the total time equal to their
// product, the header checksum, the length the count asks for and (current
// format) the settings block checksum. Mutations then reach the samples,
// the settings records and the view state instead of stopping at a checksum.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "document/waveform_file_format.h"

namespace lyr::fuzz {

namespace wf = lyr::document::wavefile;

inline std::uint32_t into(std::uint32_t v, std::uint32_t lo, std::uint32_t hi) {
    return v >= lo && v <= hi ? v : lo + v % (hi - lo + 1);
}

inline void sealHeader(std::uint8_t* d, std::uint32_t units, std::uint32_t n) {
    wf::putU32(d + wf::off::samplingUnits, units);
    wf::putU32(d + wf::off::sampleCount, n);
    const std::uint32_t step = wf::getU32(d + wf::off::timeUnit) * units;  // as the check computes it
    wf::putU64(d + wf::off::totalTime, std::uint64_t(step) * n);
    wf::putU32(d + wf::off::headerChecksum, wf::byteSum(d, wf::off::headerChecksum));
}

// Returns the repaired size (at most maxSize). Unless keepVersion, the file
// is made current-version, so that its settings block is read.
inline std::size_t repairCurrentFile(std::uint8_t* d, std::size_t size, std::size_t maxSize, bool keepVersion) {
    if (size < wf::kHeaderSize || maxSize < wf::currentFileSize(wf::kMinFileSamples)) return size;
    const auto fits = std::uint32_t(std::min<std::uint64_t>((maxSize - 5120) / 9, wf::kMaxFileSamples));
    const std::uint32_t n = into(wf::getU32(d + wf::off::sampleCount), wf::kMinFileSamples, fits);
    const std::uint32_t units = into(wf::getU32(d + wf::off::samplingUnits), 1, wf::kMaxSamplingUnits);
    if (!keepVersion) wf::putU32(d + wf::off::formatVersion, wf::kFormatVersion);
    sealHeader(d, units, n);
    const auto full = std::size_t(wf::currentFileSize(n));
    if (full > size) std::memset(d + size, 0, full - size);
    std::uint8_t* block = d + full - wf::kSettingsBlockSize;
    wf::putU32(block + wf::kSettingsChecksumOffset, wf::byteSum(block, wf::kSettingsChecksumOffset));
    return full;
}

// Legacy files may be longer than their samples; level bytes are made 0/1
// unless keepLevels (so that refused levels are still tried).
inline std::size_t repairLegacyFile(std::uint8_t* d, std::size_t size, std::size_t maxSize, bool keepLevels) {
    if (size < wf::kHeaderSize || maxSize < wf::legacyMinFileSize(wf::kLegacyMinSamples)) return size;
    const auto fits = std::uint32_t(std::min<std::uint64_t>((maxSize - 1024) / 12, wf::kLegacyMaxSamples));
    const std::uint32_t n = into(wf::getU32(d + wf::off::sampleCount), wf::kLegacyMinSamples, fits);
    const std::uint32_t u = into(wf::getU32(d + wf::off::samplingUnits), 1, wf::kLegacyMaxSamplingValue);
    sealHeader(d, u, n);
    const auto least = std::size_t(wf::legacyMinFileSize(n));
    if (least > size) std::memset(d + size, 0, least - size);
    if (!keepLevels)
        for (std::size_t i = 1024 + 8ull * n; i < least; ++i) d[i] &= 1;
    return std::max(size, least);
}

#ifdef LYR_LIBFUZZER
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// A byte mutation, then the repair. LYR_FUZZ_REPAIR=0 turns the repair off (a
// plain byte fuzzer); otherwise one mutation in eight is left unrepaired so that
// the checks are fuzzed too.
template <typename Repair>
std::size_t mutateAndRepair(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned int seed,
                            Repair repair) {
    static const bool enabled = [] {
        const char* v = std::getenv("LYR_FUZZ_REPAIR");
        return !(v && std::strcmp(v, "0") == 0);
    }();
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (!enabled || seed % 8 == 0) return size;
    return repair(data, size, maxSize, seed % 8 == 1);
}
#endif

}  // namespace lyr::fuzz
