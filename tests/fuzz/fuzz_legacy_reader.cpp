// libFuzzer: any bytes as a legacy waveform file, then its conversion.
#include <cstddef>
#include <cstdint>

#include "document/waveform_file_raw.h"

using namespace lyr::document;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static wavefile::WaveformFileContents contents;
    wavefile::MemorySource source(data, size);
    const auto r = wavefile::readLegacyFrom(source, contents);
    if (!r.ok) return 0;
    const auto tb = wavefile::convertLegacyTimeBase(contents.header.samplingUnits, contents.header.sampleCount);
    if (tb.sampleCount > wavefile::kMaxFileSamples || tb.samplingUnits < 1 ||
        tb.samplingUnits > wavefile::kMaxSamplingUnits)
        __builtin_trap();  // the document could not hold it
    static double analog[wavefile::kMaxFileSamples];
    static std::uint8_t channels[8][wavefile::kMaxFileSamples];
    std::uint8_t* out[8];
    for (int k = 0; k < 8; ++k) out[k] = channels[k];
    wavefile::expandLegacyAnalog(contents.analog.data(), contents.header.sampleCount, tb.repeat, analog);
    wavefile::expandLegacyDigital(contents.digital.data(), contents.header.sampleCount, tb.repeat, out);
    return 0;
}
