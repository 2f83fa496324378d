// The whole-waveform editors of `lyrtool edit`: the total-time change, made
// with the form of "トータル時間の変更", and the bit allocation the two selectors
// of the main window set.
#include <cctype>
#include <charconv>
#include <string>

#include "app/lifecycle.h"
#include "command.h"
#include "document/quantities.h"
#include "document/wave_time_change.h"
#include "edit_family.h"

namespace lyrtool {
namespace {

namespace doc = lyr::document;

bool accepts(const std::string& editor, const std::string& option) {
    if (editor == "total-time") return option == "--total" || option == "--candidate";
    return editor == "resolution" && option == "--bits";
}

int runTotalTime(EditRun& run) {
    const ParsedArgs& a = run.args;
    if (!a.values.count("--total")) return run.usage = "total-time needs --total TIME", kUsage;
    std::string number;
    int unit = 0;
    const std::string& total = a.values.at("--total");
    if (!splitTimeArgument(total, number, unit, true) || number.empty())
        return run.usage = "--total needs a TIME such as 5ms (ns, us, ms, s, m or h)", kUsage;
    int candidate = 1;
    if (a.values.count("--candidate")) {
        const std::string& c = a.values.at("--candidate");
        if (c != "1" && c != "2") return run.usage = "--candidate is 1 or 2", kUsage;
        candidate = c[0] - '0';
    }
    doc::CSYNDoc& d = run.doc;
    doc::WaveTimeChangeForm form(d.totalTime(), d.samplingTime(), d.sampleCount());
    form.setTotalUnit(unit);
    form.setTotalText(number);
    if (!form.inputValid()) return run.usage = "invalid --total '" + total + "'", kUsage;
    form.selectCandidate(candidate - 1);
    if (form.selectedCandidate() != candidate - 1)
        return run.usage = "--candidate 2 is empty: " + form.candidate(0).totalText + " is exact", kUsage;
    if (!form.accept()) return run.usage = "invalid --total '" + total + "'", kUsage;
    // The current count changes nothing.
    if (form.requestedCount() == d.sampleCount()) return kOk;
    if (!d.changeTotalTime(form.requestedSampling(), form.requestedCount())) {
        run.prompter.tell(lyr::app::kInvalidParameterMessage, lyr::PromptIcon::Warning);
        return kRefused;
    }
    run.resetView = true;
    return kOk;
}

int runResolution(EditRun& run) {
    const ParsedArgs& a = run.args;
    if (!a.values.count("--bits")) return run.usage = "resolution needs --bits R (8 to 14)", kUsage;
    const std::string& text = a.values.at("--bits");
    int bits = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), bits);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || bits < 8 || bits > 14)
        return run.usage = "invalid --bits '" + text + "' (8 to 14)", kUsage;
    run.doc.setAnalogResolution(bits);
    return kOk;
}

int runFrame(EditRun& run) { return run.editor == "total-time" ? runTotalTime(run) : runResolution(run); }

const bool registered = registerEditFamily({
    {"total-time", "resolution"},
    {"--total", "--candidate", "--bits"},
    {},
    accepts,
    runFrame,
    "  total-time --total TIME [--candidate 1|2]   TIME also in m (minutes) or h (hours);\n"
    "             the count just below TIME (1) or just above it (2), at the same\n"
    "             sampling time; clamped to 20 .. 1,048,576 samples\n"
    "  resolution --bits R        analog bits 8 .. 14 (digital channels CH0 .. CH(15 - R))\n",
});

}  // namespace
}  // namespace lyrtool
