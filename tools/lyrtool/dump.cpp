// lyrtool dump: the samples of a waveform file as CSV.
#include <cstdio>
#include <string>

#include "command.h"
#include "common.h"

namespace lyrtool {
namespace {

int run(const std::vector<std::string>& args) {
    ParsedArgs a;
    std::string error;
    if (!parseArgs(args, {"--from", "--count"}, {}, a, error)) return usageError("dump", error);
    if (a.positional.size() != 1) return usageError("dump", "expects one FILE");
    std::uint32_t from = 0;
    std::uint32_t count = 0;
    const bool hasCount = a.values.count("--count") != 0;
    if (a.values.count("--from") && !parseCountArgument(a.values["--from"], from))
        return usageError("dump", "--from needs a sample index");
    if (hasCount && !parseCountArgument(a.values["--count"], count))
        return usageError("dump", "--count needs a number of samples");

    OpenedWaveform w;
    if (int status = openWaveform("dump", a.positional[0], w); status != kOk) return status;
    const auto& doc = *w.doc;
    const std::uint32_t n = doc.sampleCount();
    if (from > n)
        return usageError("dump", "--from " + std::to_string(from) + " lies beyond the " +
                                      std::to_string(n) + " samples of the file");
    const std::uint32_t available = n - from;
    const std::uint32_t rows = hasCount && count < available ? count : available;

    std::string out = "index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n";
    out.reserve(1 << 16);
    char line[96];
    const double* analog = doc.analog();
    const std::uint8_t* ch[8];
    for (int k = 0; k < 8; ++k) ch[k] = doc.digital(k);
    for (std::uint32_t i = from; i < from + rows; ++i) {
        const int len = std::snprintf(line, sizeof line, "%u,%.17g,%d,%d,%d,%d,%d,%d,%d,%d\n", i, analog[i],
                                      ch[0][i] != 0, ch[1][i] != 0, ch[2][i] != 0, ch[3][i] != 0,
                                      ch[4][i] != 0, ch[5][i] != 0, ch[6][i] != 0, ch[7][i] != 0);
        out.append(line, static_cast<std::size_t>(len));
        if (out.size() > (1u << 16) - 128) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? kOk : kRefused;
}

const bool registered = registerCommand({
    "dump",
    "print the samples of a waveform file as CSV",
    "Usage: lyrtool dump FILE [--from I] [--count K]\n"
    "\n"
    "Opens FILE as the editor does and prints one CSV line per sample:\n"
    "  index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n"
    "The analog value (volts) has 17 significant digits, so it reads back to\n"
    "the same double; levels are 0 or 1.\n"
    "\n"
    "  --from I    first sample index (default 0; at most the sample count)\n"
    "  --count K   at most K samples (default: to the end)\n"
    "\n"
    "Exit status: 0 printed, 1 file refused, 2 usage error.\n",
    run,
});

}  // namespace
}  // namespace lyrtool
