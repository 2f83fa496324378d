// lyrtool convert: open a waveform file as the editor does and save it in the
// current format.
#include <string>

#include "command.h"
#include "common.h"

namespace lyrtool {
namespace {

int run(const std::vector<std::string>& args) {
    ParsedArgs a;
    std::string error;
    if (!parseArgs(args, {}, {}, a, error)) return usageError("convert", error);
    if (a.positional.size() != 2) return usageError("convert", "expects IN and OUT");
    OpenedWaveform w;
    if (int status = openWaveform("convert", a.positional[0], w); status != kOk) return status;
    // A reduced import resets the view, as the editor does.
    if (!w.result.fullImport) w.extras.viewState = resetViewRecord(w.doc->sampleCount());
    return saveWaveform("convert", a.positional[1], *w.doc, w.extras);
}

const bool registered = registerCommand({
    "convert",
    "save a .syn or older .lyr file as a current .lyr file",
    "Usage: lyrtool convert IN OUT\n"
    "\n"
    "Opens IN as the editor does (a .syn file is converted: samples repeated\n"
    "to fit the 10 ns grid, CH4..CH7 low, 12 analog bits; a .lyr file of\n"
    "another format version keeps its samples, time base and output settings\n"
    "only) and saves it to OUT as a current-format .lyr file. OUT is replaced\n"
    "only when the whole file was written.\n"
    "\n"
    "Exit status: 0 written, 1 a file refused, 2 usage error.\n",
    run,
});

}  // namespace
}  // namespace lyrtool
