// libFuzzer: any bytes as a current-format waveform file, then what an open
// does with a file that read: the settings records and the view state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "document/settings_records.h"
#include "document/view_state_record.h"
#include "document/waveform_file_raw.h"
#include "file_repair.h"
#include "view/view_state.h"

using namespace lyr::document;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static wavefile::WaveformFileContents contents;  // reused, as a caller would
    wavefile::MemorySource source(data, size);
    const auto r = wavefile::readWaveformFrom(source, wavefile::kFormatVersion, contents);
    if (!r.ok) return 0;
    const std::uint32_t n = contents.header.sampleCount;

    // A header that read encodes again into one that reads.
    wavefile::HeaderBytes again;
    wavefile::encodeHeader(contents.header, again);
    if (!wavefile::checkHeader(again)) __builtin_trap();

    // Settings decode; what decodes encodes to bytes that decode to the same bytes.
    EditorSettings settings;
    const std::span<const std::uint8_t> block(contents.settingsBlock.data(), contents.settingsBlock.size());
    if (decodeEditorSettings(block, settings, ByteFieldWidth::Dword)) {
        wavefile::SettingsBlock once{}, twice{};
        encodeEditorSettings(settings, std::span<std::uint8_t>(once.data(), once.size()), ByteFieldWidth::Dword);
        EditorSettings back;
        if (!decodeEditorSettings(std::span<const std::uint8_t>(once.data(), once.size()), back,
                                  ByteFieldWidth::Dword))
            __builtin_trap();
        encodeEditorSettings(back, std::span<std::uint8_t>(twice.data(), twice.size()), ByteFieldWidth::Dword);
        if (once != twice) __builtin_trap();
    }

    // The view restores the stored state for this waveform.
    lyr::view::ViewState view;
    view.attach(n, 0, 999);
    view.fromRecord(ViewStateRecord::fromDwords(contents.header.viewState), n, 0, 999);

    static std::uint8_t channels[8][wavefile::kMaxFileSamples];
    std::uint8_t* out[8];
    for (int k = 0; k < 8; ++k) out[k] = channels[k];
    wavefile::unpackDigital(contents.digital.data(), n, out);
    return 0;
}

#ifdef LYR_LIBFUZZER
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    return lyr::fuzz::mutateAndRepair(data, size, maxSize, seed, lyr::fuzz::repairCurrentFile);
}
#endif
