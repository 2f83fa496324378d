// The analog editors of `lyrtool edit`: sine, rectangle, DC, ramp,
// exponential, noise, manual modification and external data, made with the
// same forms the editor's dialogs present.
#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "analog/external_form.h"
#include "forms/form_editor.h"
#include "analog/manual_form.h"
#include "analog_drive.h"
#include "command.h"
#include "document/quantities.h"
#include "edit_family.h"

namespace lyrtool {
namespace {

namespace doc = lyr::document;
namespace an = lyr::analog;

const std::map<std::string, std::set<std::string>> kEditorOptions = {
    {"sine", {"--sine-period", "--amplitude", "--offset", "--repeat", "--delay", "--phase"}},
    {"rectangle", {"--t0", "--t1", "--t2", "--t3", "--t4", "--v0", "--v1", "--v2", "--repeat"}},
    {"dc", {"--v0"}},
    {"ramp", {"--v0", "--v1"}},
    {"exp", {"--tau", "--v0", "--v1"}},
    {"noise", {"--rms", "--pp", "--seed"}},
    {"manual", {"--copy-start", "--copy-period", "--gain", "--shift", "--dc", "--upper", "--lower"}},
    {"external", {"--source", "--interval", "--from", "--from-index", "--period", "--factor", "--offset",
                  "--interpolate"}},
};

const std::set<std::string> kFrameOptions = {"--start", "--period", "--mode"};

using drive::Drive;
using drive::parseMode;
using drive::runEditor;

bool accepts(const std::string& editor, const std::string& option) {
    // The copy length is the manual editor's period.
    if (editor == "manual" && option == "--period") return false;
    if (kFrameOptions.count(option)) return true;
    auto known = kEditorOptions.find(editor);
    return known != kEditorOptions.end() && known->second.count(option) != 0;
}

// manual: the copy is taken, the operations run in the order given (each
// may repeat), and the result is applied at --start.
int runManual(EditRun& run, Drive& drive) {
    const ParsedArgs& a = run.args;
    bool usage = false;
    lyr::forms::FormEditor<an::ManualForm> editor(run.prompter, [&](an::ManualForm& f) {
        for (const char* option : {"--copy-start", "--copy-period", "--start"}) {
            if (!a.values.count(option)) continue;
            if (!drive.setTime(f, option, f.fieldIndex(std::string(option).substr(2)))) return !(usage = true);
        }
        if (f.field(an::ManualForm::kCopyStart).markerShown || f.field(an::ManualForm::kCopyPeriod).markerShown) {
            drive.check(f);
            return !(usage = true);
        }
        if (!f.copyRange()) return false;
        using Op = an::ModifyOperation;
        const std::map<std::string, std::pair<Op, std::size_t>> ops = {
            {"--gain", {Op::Gain, an::ManualForm::kGain}},
            {"--shift", {Op::LevelShift, an::ManualForm::kShift}},
            {"--dc", {Op::DcRemoval, an::ManualForm::kDc}},
            {"--upper", {Op::UpperLimit, an::ManualForm::kUpper}},
            {"--lower", {Op::LowerLimit, an::ManualForm::kLower}}};
        for (const auto& [option, value] : a.ordered) {
            const auto op = ops.find(option);
            if (op == ops.end()) continue;
            f.setOperation(op->second.first);
            if (op->second.first != Op::DcRemoval) f.setText(op->second.second, value);
            if (!f.modifyEnabled()) {
                drive.error = "invalid " + option + " '" + value + "'";
                return !(usage = true);
            }
            f.executeModification();
        }
        if (f.field(an::AnalogEditFrame::kStartField).markerShown) {
            drive.check(f);
            return !(usage = true);
        }
        return f.applySegment(drive.mode);
    });
    run.range = run.doc.EditAnalogManual(0, editor);
    if (usage) return kUsage;
    return run.range ? kOk : kRefused;
}

// external: the source is read (a waveform file sets the interval unless
// --interval is given), the conversion start and period follow the dialog's
// rules, then the conversion is applied at --start.
int runExternal(EditRun& run, Drive& drive) {
    const ParsedArgs& a = run.args;
    if (!a.values.count("--source")) return run.usage = "external needs --source FILE", kUsage;
    if (a.values.count("--from") && a.values.count("--from-index"))
        return run.usage = "give either --from or --from-index", kUsage;
    int interpolation = -1;
    if (a.values.count("--interpolate")) {
        const std::string& v = a.values.at("--interpolate");
        interpolation = v == "none" ? 0 : v == "linear" ? 1 : -1;
        if (interpolation < 0) return run.usage = "--interpolate is none or linear", kUsage;
    }
    using Form = an::ExternalForm;
    bool usage = false;
    lyr::forms::FormEditor<Form> editor(run.prompter, [&](Form& f) {
        auto time = [&](const char* option, std::size_t field) {
            return !a.values.count(option) || drive.setTime(f, option, field);
        };
        if (!time("--interval", Form::kInterval)) return !(usage = true);
        if (!f.loadSource(a.values.at("--source"))) return false;
        if (!time("--interval", Form::kInterval)) return !(usage = true);
        if (interpolation >= 0) f.setInterpolation(static_cast<an::Interpolation>(interpolation));
        if (a.values.count("--from-index")) {
            f.setStartMode(Form::StartMode::Index);
            f.setText(Form::kFromIndex, a.values.at("--from-index"));
        } else if (!time("--from", Form::kFrom)) {
            return !(usage = true);
        }
        if (!time("--period", an::AnalogEditFrame::kPeriodField) ||
            !time("--start", an::AnalogEditFrame::kStartField))
            return !(usage = true);
        for (const char* option : {"--factor", "--offset"})
            if (a.values.count(option)) f.setText(f.fieldIndex(option + 2), a.values.at(option));
        if (!drive.check(f)) return !(usage = true);
        return f.convertSource() && f.applySegment(drive.mode);
    });
    // The overview and the preview are the dialog's alone.
    editor.configure = [](Form& f) { f.setGraphsDrawn(false); };
    run.range = run.doc.EditAnalogExternal(0, editor);
    if (usage) return kUsage;
    return run.range ? kOk : kRefused;
}

int runAnalog(EditRun& run) {
    const ParsedArgs& a = run.args;
    const std::string& editorName = run.editor;
    bool modeOk = true;
    const auto mode = parseMode(a.values.count("--mode") ? a.values.at("--mode") : "replace", modeOk);
    if (!modeOk) return run.usage = "--mode is replace, add, subtract or multiply", kUsage;
    if (a.values.count("--delay") && a.values.count("--phase")) return run.usage = "give either --delay or --phase", kUsage;
    if (a.values.count("--t0") && a.values.count("--v0") && editorName == "rectangle")
        return run.usage = "give either --t0 or --v0", kUsage;
    if (a.values.count("--rms") && a.values.count("--pp")) return run.usage = "give either --rms or --pp", kUsage;
    std::optional<std::uint32_t> seed;
    if (!drive::parseSeed(a, seed, run.usage)) return kUsage;

    doc::CSYNDoc& d = run.doc;
    StderrPrompter& prompter = run.prompter;
    Drive drive{a, mode, {}};
    std::optional<doc::EditRange>& range = run.range;
    int rc = kOk;
    if (editorName == "manual" || editorName == "external") {
        rc = editorName == "manual" ? runManual(run, drive) : runExternal(run, drive);
    } else if (editorName == "sine") {
        rc = runEditor<an::SineForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogSine,
                                     [&](an::SineForm& f) {
                                         using Phase = an::SineForm::PhaseMode;
                                         if (a.values.count("--phase")) f.setPhaseMode(Phase::StartPhase);
                                         if (a.values.count("--delay")) f.setPhaseMode(Phase::Delay);
                                         // A waveform whose sine editor never ran remembers no delay:
                                         // without --delay or --phase the sine then starts at phase 0.
                                         if (!a.values.count("--phase") && !a.values.count("--delay") &&
                                             f.field(an::SineForm::kDelay).text.empty()) {
                                             f.setPhaseMode(Phase::StartPhase);
                                             if (f.field(an::SineForm::kPhase).text.empty())
                                                 f.setText(an::SineForm::kPhase, "0");
                                         }
                                         return true;
                                     },
                                     range);
    } else if (editorName == "rectangle") {
        rc = runEditor<an::RectangleForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogRectangle,
                                          [&](an::RectangleForm& f) {
                                              using Level = an::RectangleForm::LevelMode;
                                              if (a.values.count("--v0")) {
                                                  f.setLevelMode(Level::Level);
                                                  // the derived t0 needs a unit to be written in
                                                  if (f.field(an::RectangleForm::kT0).unit == doc::kUnitNone)
                                                      f.setUnit(an::RectangleForm::kT0, doc::kUnitNs);
                                              }
                                              if (a.values.count("--t0")) f.setLevelMode(Level::Position);
                                              return true;
                                          },
                                          range);
    } else if (editorName == "dc") {
        rc = runEditor<an::DcForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogDc,
                                   [](an::DcForm&) { return true; }, range);
    } else if (editorName == "ramp") {
        rc = runEditor<an::RampForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogRamp,
                                     [](an::RampForm&) { return true; }, range);
    } else if (editorName == "exp") {
        rc = runEditor<an::ExpForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogExp,
                                    [](an::ExpForm&) { return true; }, range);
    } else {
        const bool pp = a.values.count("--pp") != 0;
        std::map<std::string, std::string> rename{{"amplitude", pp ? "--pp" : "--rms"}};
        rc = runEditor<an::NoiseForm>(
            d, drive, prompter, &doc::CSYNDoc::EditAnalogNoise,
            [&](an::NoiseForm& f) {
                if (pp || a.values.count("--rms")) {
                    using Unit = an::NoiseForm::AmplitudeUnit;
                    f.setAmplitudeUnit(pp ? Unit::PeakToPeak : Unit::Rms);
                    f.setText(an::NoiseForm::kAmplitude, a.values.at(pp ? "--pp" : "--rms"));
                }
                return true;
            },
            range, rename, [&](an::NoiseForm& f) { f.setSeed(seed); });
    }
    // runExternal names its own option errors before any field is driven.
    if (rc == kUsage && run.usage.empty()) run.usage = drive.error;
    return rc;
}

const bool registered = registerEditFamily({
    {"sine", "rectangle", "dc", "ramp", "exp", "noise", "manual", "external"},
    [] {
        std::set<std::string> all = kFrameOptions;
        for (const auto& [name, options] : kEditorOptions) all.insert(options.begin(), options.end());
        all.erase("--dc");
        return all;
    }(),
    {"--dc"},
    accepts,
    runAnalog,
    "  analog track: --start TIME --period TIME --mode replace|add|subtract|multiply\n"
    "  sine       --sine-period TIME --amplitude V --offset V --repeat N\n"
    "             and --delay TIME or --phase DEGREES\n"
    "  rectangle  --t1 --t2 --t3 --t4 TIME --v1 V --v2 V --repeat N\n"
    "             and --t0 TIME or --v0 V\n"
    "  dc         --v0 V\n"
    "  ramp       --v0 V --v1 V\n"
    "  exp        --tau TIME --v0 V --v1 V\n"
    "  noise      --rms MV or --pp MV (millivolts), --seed N\n"
    "             Without --seed every noise edit draws fresh noise;\n"
    "             --seed N reproduces a run exactly.\n"
    "  manual     --copy-start TIME --copy-period TIME, then in the order given\n"
    "             (each may repeat): --gain X --shift V --dc --upper V --lower V;\n"
    "             the modified copy is applied at --start\n"
    "  external   --source FILE (numbers, .lyr or .syn) [--interval TIME]\n"
    "             [--from TIME | --from-index N] [--period TIME] [--factor X]\n"
    "             [--offset V] [--interpolate none|linear]\n",
});

}  // namespace
}  // namespace lyrtool
