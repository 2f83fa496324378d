// libFuzzer: any bytes as a current-format waveform file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "document/settings_records.h"
#include "document/view_state_record.h"
#include "document/waveform_file_raw.h"

using namespace lyr::document;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static wavefile::WaveformFileContents contents;  // reused, as a caller would
    wavefile::MemorySource source(data, size);
    const auto r = wavefile::readWaveformFrom(source, wavefile::kFormatVersion, contents);
    if (!r.ok) return 0;
    // What an open does with the rest of a file that read.
    const auto view = ViewStateRecord::fromDwords(contents.header.viewState);
    (void)view;
    EditorSettings settings;
    decodeEditorSettings(std::span<const std::uint8_t>(contents.settingsBlock.data(), contents.settingsBlock.size()),
                         settings, ByteFieldWidth::Dword);
    static std::uint8_t channels[8][wavefile::kMaxFileSamples];
    std::uint8_t* out[8];
    for (int k = 0; k < 8; ++k) out[k] = channels[k];
    wavefile::unpackDigital(contents.digital.data(), contents.header.sampleCount, out);
    return 0;
}
