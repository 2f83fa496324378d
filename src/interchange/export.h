#pragma once
// Writing a stretch of a waveform for other programs: CSV for spreadsheets,
// WAV for audio tools, NumPy arrays, and value change dumps for logic
// analysis tools. Every format goes through the waveform files' replacing
// writer, so a failure leaves no partial file and the old one intact.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/block_reader.h"

namespace lyr::interchange {

enum class Format { Csv, Wav, Npy, Vcd };
// What an array format holds: the analog track in volts, or the eight
// channels as one byte a sample (bit k = CHk).
enum class Content { Analog, Digital };
// WAV samples: 32-bit float volts, or 16-bit PCM with full scale at 1 V.
enum class WavSamples { Float32, Pcm16 };

// "csv", "wav", "npy", "vcd" (the names the command line and the extensions use).
const char* formatName(Format format);
std::optional<Format> formatFromName(std::string_view name);
// The format named by the file's extension, in any case.
std::optional<Format> formatOfPath(std::string_view path);
// CSV and VCD always hold both; WAV holds the analog track only; NumPy either.
bool formatTakes(Format format, Content content);
// Whether the content choice means anything for the format (NumPy only).
bool formatHasContentChoice(Format format);

// The samples to write, already offset to the first one.
struct Samples {
    const double* analog = nullptr;
    std::array<const std::uint8_t*, 8> channels{};  // non-zero: high
    std::uint32_t count = 0;
    std::int64_t samplingTime = 10;  // ns
    // The waveform's index of the first sample: CSV and VCD times count from
    // the waveform's start.
    std::uint32_t firstIndex = 0;
};

struct ExportOptions {
    Format format = Format::Csv;
    Content content = Content::Analog;
    WavSamples wav = WavSamples::Float32;
};

struct ExportResult {
    bool ok = false;
    std::string message;  // why nothing was written (the file layer's text)
    // WAV: the rate written, and whether 1/Ts had to be rounded to it.
    std::int64_t rateHz = 0;
    bool rateRounded = false;
    // WAV PCM: how many samples lay beyond +-1 V and were clipped.
    std::uint64_t clipped = 0;
};

// Writes samples to path in the chosen format. progress, when given, hears 0
// and then every whole percent of the samples written.
ExportResult exportSamples(const std::string& path, const Samples& samples, const ExportOptions& options,
                           document::ReadProgress* progress = nullptr);

// index x Ts in seconds, exactly, in the shortest form that reads back
// ("1.5e-08", "0.00012", "3.0"); writes at most 32 bytes, returns how many.
std::size_t formatSeconds(std::int64_t ns, char* out);

// v as printf's "%.17g" writes it (17 significant digits, trailing zeros
// dropped), independent of the locale; writes at most 32 bytes.
std::size_t formatG17(double v, char* out);

// The message of a refused content (WAV holds no channels).
inline constexpr const char* kContentRefused = "パラメータが不正です";

}  // namespace lyr::interchange
