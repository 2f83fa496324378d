// The equation editor of `lyrtool edit`: an expression of t, i, Ts, T and pi
// made into the analog track with the same form the editor's dialog presents.
#include <optional>
#include <set>
#include <string>

#include "analog/equation_form.h"
#include "analog_drive.h"

namespace lyrtool {
namespace {

namespace an = lyr::analog;

const std::set<std::string> kOptions = {"--start", "--period", "--mode", "--expr", "--seed"};

bool accepts(const std::string&, const std::string& option) { return kOptions.count(option) != 0; }

int runEquation(EditRun& run) {
    const ParsedArgs& a = run.args;
    bool modeOk = true;
    const auto mode = drive::parseMode(a.values.count("--mode") ? a.values.at("--mode") : "replace", modeOk);
    if (!modeOk) return run.usage = "--mode is replace, add, subtract or multiply", kUsage;
    std::optional<std::uint32_t> seed;
    if (!drive::parseSeed(a, seed, run.usage)) return kUsage;
    drive::Drive d{a, mode, {}};
    const int rc = drive::runEditor<an::EquationForm>(
        run.doc, d, run.prompter, &lyr::document::CSYNDoc::EditAnalogEquation,
        [](an::EquationForm&) { return true; }, run.range, {},
        [&](an::EquationForm& f) { f.setSeed(seed); });
    if (rc == kUsage) run.usage = d.error;
    return rc;
}

// The parser's message belongs with a refused expression.
int runEquationExplained(EditRun& run) {
    const int rc = runEquation(run);
    if (rc == kUsage && run.usage.rfind("invalid --expr", 0) == 0 && run.args.values.count("--expr")) {
        lyr::analog::Equation e;
        lyr::analog::EquationError error;
        if (!e.compile(run.args.values.at("--expr"), error))
            run.usage += ": " + error.message + (error.position >= 0 ? " (position " + std::to_string(error.position) + ")" : "");
    }
    return rc;
}

const bool registered = registerEditFamily({
    {"equation"},
    kOptions,
    {},
    accepts,
    runEquationExplained,
    "  equation   --expr TEXT (an expression of t, i, Ts, T and pi; sin cos tan exp\n"
    "             log sqrt abs sign min max floor pow square triangle noise),\n"
    "             --period TIME, --seed N for noise()\n",
});

}  // namespace
}  // namespace lyrtool
