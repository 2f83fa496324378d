// lyrtool new: a new waveform as the editor's New makes it, saved to a file.
#include <cstdio>
#include <string>

#include "app/lifecycle.h"
#include "command.h"
#include "common.h"
#include "document/wave_time.h"
#include "document/waveform_file_format.h"

namespace lyrtool {
namespace {

namespace doc = lyr::document;

}  // namespace

int newWaveform(const std::vector<std::string>& args, std::size_t files, ParsedArgs& a, OpenedWaveform& out) {
    std::string error;
    if (!parseArgs(args, {"--sampling", "--count", "--total"}, {}, a, error)) return usageError("new", error);
    if (a.positional.size() != files) return usageError("new", files ? "expects one OUT file" : "takes no file");
    const bool byTotal = a.values.count("--total") != 0;
    const bool bySampling = a.values.count("--sampling") != 0 || a.values.count("--count") != 0;
    if (byTotal == bySampling) return usageError("new", "give either --sampling and --count, or --total");

    std::int64_t sampling = 0;
    std::int64_t count = 0;
    if (byTotal) {
        std::int64_t total = 0;
        if (!parseTimeArgument(a.values["--total"], total))
            return usageError("new", "--total needs a TIME such as 10ms (whole ns)");
        if (total < doc::kMinTotalTime || total > doc::kMaxTotalTime)
            return usageError("new", "--total must lie between 200 ns and 87960930222080 ns");
        // The candidate the total-time dialog selects.
        const doc::TimeCandidates c = doc::candidatesForTotal(total);
        if (c.selected < 0) return usageError("new", "no sampling time fits --total");
        sampling = c.rows[static_cast<std::size_t>(c.selected)].sampling;
        count = c.rows[static_cast<std::size_t>(c.selected)].count;
    } else {
        if (!a.values.count("--sampling") || !a.values.count("--count"))
            return usageError("new", "--sampling and --count go together");
        if (!parseTimeArgument(a.values["--sampling"], sampling))
            return usageError("new", "--sampling needs a TIME such as 20ns (whole ns)");
        std::uint32_t n = 0;
        if (!parseCountArgument(a.values["--count"], n)) return usageError("new", "--count needs a number");
        count = n;
        // The editor never makes a sampling time off the 10 ns grid, nor a
        // file its reader would refuse.
        if (sampling < doc::kMinSamplingTime || sampling > doc::kMaxSamplingTime || sampling % 10 != 0)
            return usageError("new", "--sampling must be a multiple of 10 ns from 10 ns to 83886080 ns");
        if (count < doc::kMinSampleCount || count > doc::kMaxSampleCount)
            return usageError("new", "--count must lie between 20 and 1048576");
    }

    out.doc = makeDocument("new");
    if (!out.doc) return kRefused;
    if (!out.doc->newWaveform(sampling, count)) {
        out.doc.reset();
        return refused("new", files ? a.positional[0] : std::string(), lyr::app::kInvalidParameterMessage);
    }
    // The file flags and device text of a new waveform, and a reset view.
    out.extras = doc::StoredExtras();
    out.extras.viewState = resetViewRecord(out.doc->sampleCount());
    out.result = doc::OpenResult();
    out.result.ok = true;
    out.result.fullImport = true;
    out.result.formatVersion = doc::wavefile::kFormatVersion;
    return kOk;
}

namespace {

int run(const std::vector<std::string>& args) {
    ParsedArgs a;
    OpenedWaveform w;
    if (int rc = newWaveform(args, 1, a, w); rc != kOk) return rc;
    return saveWaveform("new", a.positional[0], *w.doc, w.extras);
}

const bool registered = registerCommand({
    "new",
    "save a new empty waveform",
    "Usage: lyrtool new OUT --sampling TIME --count N\n"
    "       lyrtool new OUT --total TIME\n"
    "\n"
    "Writes OUT as a new waveform as the editor's New makes it: 0 V, all\n"
    "channels low, default output and editor settings.\n"
    "\n"
    "  --sampling TIME  sampling time, a multiple of 10 ns (10ns ... 83886080ns)\n"
    "  --count N        number of samples, 20 ... 1048576\n"
    "  --total TIME     total time; the time base is the candidate the total-time\n"
    "                   dialog selects (an exact split when one exists)\n"
    "\n"
    "TIME is a number followed by ns, us, ms or s (any case), e.g. 20ns, 1.5us,\n"
    "10ms; it must be a whole number of nanoseconds (1.5ns is refused).\n"
    "\n"
    "Exit status: 0 written, 1 write refused, 2 usage error.\n",
    run,
});

}  // namespace
}  // namespace lyrtool
