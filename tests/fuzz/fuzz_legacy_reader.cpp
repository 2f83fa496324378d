// libFuzzer: any bytes as a legacy waveform file, then its conversion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "document/waveform_file_raw.h"
#include "file_repair.h"

using namespace lyr::document;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static wavefile::WaveformFileContents contents;
    wavefile::MemorySource source(data, size);
    const auto r = wavefile::readLegacyFrom(source, contents);
    if (!r.ok) return 0;
    const auto tb = wavefile::convertLegacyTimeBase(contents.header.samplingUnits, contents.header.sampleCount);
    if (tb.sampleCount > wavefile::kMaxFileSamples || tb.samplingUnits < 1 ||
        tb.samplingUnits > wavefile::kMaxSamplingUnits ||
        std::uint64_t(tb.sampleCount) != std::uint64_t(contents.header.sampleCount) * tb.repeat)
        __builtin_trap();  // the document could not hold it
    static double analog[wavefile::kMaxFileSamples];
    static std::uint8_t channels[8][wavefile::kMaxFileSamples];
    std::uint8_t* out[8];
    for (int k = 0; k < 8; ++k) out[k] = channels[k];
    wavefile::expandLegacyAnalog(contents.analog.data(), contents.header.sampleCount, tb.repeat, analog);
    wavefile::expandLegacyDigital(contents.digital.data(), contents.header.sampleCount, tb.repeat, out);
    return 0;
}

#ifdef LYR_LIBFUZZER
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    return lyr::fuzz::mutateAndRepair(data, size, maxSize, seed, lyr::fuzz::repairLegacyFile);
}
#endif
