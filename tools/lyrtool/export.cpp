// lyrtool export: a stretch of a waveform file as CSV, WAV, NumPy or VCD.
#include <cstdio>
#include <optional>
#include <string>

#include "command.h"
#include "common.h"
#include "interchange/export.h"

namespace lyrtool {
namespace {

namespace ic = lyr::interchange;

int run(const std::vector<std::string>& args) {
    ParsedArgs a;
    std::string error;
    if (!parseArgs(args, {"--format", "--what", "--from", "--count", "--wav"}, {}, a, error))
        return usageError("export", error);
    if (a.positional.size() != 2) return usageError("export", "expects IN and OUT");
    const std::string& in = a.positional[0];
    const std::string& out = a.positional[1];

    std::optional<ic::Format> format;
    if (a.values.count("--format")) {
        format = ic::formatFromName(a.values["--format"]);
        if (!format) return usageError("export", "--format is csv, wav, npy or vcd");
    } else {
        format = ic::formatOfPath(out);
        if (!format) return usageError("export", "OUT ends in none of .csv, .wav, .npy, .vcd: give --format");
    }
    ic::ExportOptions options;
    options.format = *format;
    if (a.values.count("--what")) {
        const std::string& w = a.values["--what"];
        if (w != "analog" && w != "digital") return usageError("export", "--what is analog or digital");
        options.content = w == "digital" ? ic::Content::Digital : ic::Content::Analog;
    }
    if (!ic::formatTakes(options.format, options.content))
        return usageError("export", "a WAV file holds the analog track only (--what digital is for npy)");
    if (a.values.count("--wav")) {
        if (options.format != ic::Format::Wav) return usageError("export", "--wav is for the wav format");
        const std::string& w = a.values["--wav"];
        if (w != "float" && w != "pcm16") return usageError("export", "--wav is float or pcm16");
        options.wav = w == "pcm16" ? ic::WavSamples::Pcm16 : ic::WavSamples::Float32;
    }
    std::uint32_t from = 0;
    std::uint32_t count = 0;
    const bool hasCount = a.values.count("--count") != 0;
    if (a.values.count("--from") && !parseCountArgument(a.values["--from"], from))
        return usageError("export", "--from needs a sample index");
    if (hasCount && !parseCountArgument(a.values["--count"], count))
        return usageError("export", "--count needs a number of samples");

    OpenedWaveform w;
    if (int status = openWaveform("export", in, w); status != kOk) return status;
    const auto& doc = *w.doc;
    const std::uint32_t n = doc.sampleCount();
    if (from > n)
        return usageError("export", "--from " + std::to_string(from) + " lies beyond the " + std::to_string(n) +
                                        " samples of the file");
    const std::uint32_t available = n - from;

    ic::Samples samples;
    samples.analog = doc.analog() + from;
    for (int k = 0; k < 8; ++k) samples.channels[static_cast<std::size_t>(k)] = doc.digital(k) + from;
    samples.count = hasCount && count < available ? count : available;
    samples.samplingTime = doc.samplingTime();
    samples.firstIndex = from;

    const ic::ExportResult r = ic::exportSamples(out, samples, options);
    if (!r.ok) return refused("export", out, r.message);
    if (r.rateRounded)
        printErr("lyrtool export: %s: 1/Ts is not a whole number of Hz; the rate is rounded to %lld Hz\n",
                     out.c_str(), static_cast<long long>(r.rateHz));
    if (r.clipped > 0)
        printErr("lyrtool export: %s: %llu samples beyond +-1 V were clipped\n", out.c_str(),
                     static_cast<unsigned long long>(r.clipped));
    return kOk;
}

const bool registered = registerCommand({
    "export",
    "write the samples of a waveform file as CSV, WAV, NumPy or VCD",
    "Usage: lyrtool export IN OUT [--format csv|wav|npy|vcd] [--what analog|digital]\n"
    "                      [--from I] [--count K] [--wav float|pcm16]\n"
    "\n"
    "Opens IN as the editor does and writes its samples to OUT. The format is\n"
    "OUT's extension unless --format names it. OUT is replaced only when the\n"
    "whole file was written.\n"
    "\n"
    "  csv  the line time_s,analog_v,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7, then one\n"
    "       line a sample: index x Ts in seconds (exact), the volts with 17\n"
    "       significant digits, the levels 0 or 1\n"
    "  wav  mono at 1/Ts (rounded to whole Hz, with a note when it is not one);\n"
    "       32-bit float volts, or with --wav pcm16 16-bit PCM with +-1 V at full\n"
    "       scale (beyond it clipped, their count noted); the analog track only\n"
    "  npy  NumPy 1.0: --what analog (default) float64 volts of shape (K,),\n"
    "       --what digital uint8 of shape (K,) with bit k = CHk\n"
    "  vcd  wires CH0 ... CH7 and the real variable analog, value changes only,\n"
    "       the timescale the largest of 1, 10, 100 s/ms/us/ns dividing Ts; the\n"
    "       dump ends one Ts after the last sample\n"
    "CSV and VCD always hold the analog track and the channels.\n"
    "\n"
    "  --from I    first sample index (default 0; at most the sample count)\n"
    "  --count K   at most K samples (default: to the end)\n"
    "\n"
    "Exit status: 0 written, 1 IN refused or OUT not writable, 2 usage error.\n",
    run,
});

}  // namespace
}  // namespace lyrtool
