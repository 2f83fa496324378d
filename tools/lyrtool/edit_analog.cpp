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
#include "analog/form_editor.h"
#include "analog/manual_form.h"
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

// Types the options into the form as a user types them into the dialog, then
// creates and applies. error is set for a usage error; false with an empty
// error means the form refused (its message is already on stderr).
struct Drive {
    const ParsedArgs& args;
    an::AnalogApplyMode mode;
    std::string error;

    bool setTime(an::AnalogEditFrame& f, const std::string& option, std::size_t field) {
        std::string number;
        int unit = 0;
        if (!splitTimeArgument(args.values.at(option), number, unit)) {
            error = option + " needs a TIME such as 100us (ns, us, ms or s)";
            return false;
        }
        f.setUnit(field, doc::standardTimeUnit(unit));
        f.setText(field, number);
        return true;
    }

    // Every given option into its field; --KEY fills the field of key KEY.
    bool fill(an::AnalogEditFrame& f) {
        for (const auto& [option, value] : args.values) {
            if (option == "--mode" || option == "--seed" || option == "--rms" || option == "--pp") continue;
            const std::size_t i = f.fieldIndex(option.substr(2));
            if (i >= f.fieldCount()) continue;
            if (f.field(i).kind == an::FieldKind::Time) {
                if (!setTime(f, option, i)) return false;
            } else {
                f.setText(i, value);
            }
        }
        return true;
    }

    // Names the first invalid field, as its marker would show it.
    bool check(const an::AnalogEditFrame& f, const std::map<std::string, std::string>& rename = {}) {
        for (std::size_t i = 0; i < f.fieldCount(); ++i) {
            const an::FormField& field = f.field(i);
            if (!field.markerShown) continue;
            auto r = rename.find(field.key);
            const std::string option = r != rename.end() ? r->second : "--" + field.key;
            const bool given = args.values.count(option) != 0;
            error = "invalid " + option + (given ? " '" + args.values.at(option) + "'" : " (remembered value '" +
                                                                                              field.text + "')");
            return false;
        }
        if (!f.createEnabled()) {
            error = "the parameters do not make a segment";
            return false;
        }
        return true;
    }

    bool finish(an::AnalogEditFrame& f) { return f.createSegment() && f.applySegment(mode); }
};

template <class Form, class Operation>
int runEditor(doc::CSYNDoc& d, Drive& drive, lyrtool::StderrPrompter& prompter, Operation operation,
              std::function<bool(Form&)> before, std::optional<doc::EditRange>& range,
              std::map<std::string, std::string> rename = {}, std::function<void(Form&)> configure = {}) {
    bool usage = false;
    an::FormEditor<Form> editor(prompter, [&](Form& f) {
        if (!before(f) || !drive.fill(f) || !drive.check(f, rename)) {
            usage = !drive.error.empty();
            return false;
        }
        return drive.finish(f);
    });
    if (configure) editor.configure = configure;
    range = ((d).*operation)(0, editor);
    if (usage) return kUsage;
    return range ? kOk : kRefused;
}

an::AnalogApplyMode parseMode(const std::string& s, bool& ok) {
    ok = true;
    if (s == "replace") return an::AnalogApplyMode::Replace;
    if (s == "add") return an::AnalogApplyMode::Add;
    if (s == "subtract") return an::AnalogApplyMode::Subtract;
    if (s == "multiply") return an::AnalogApplyMode::Multiply;
    ok = false;
    return an::AnalogApplyMode::Replace;
}

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
    an::FormEditor<an::ManualForm> editor(run.prompter, [&](an::ManualForm& f) {
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
    an::FormEditor<Form> editor(run.prompter, [&](Form& f) {
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
    if (a.values.count("--seed")) {
        // Any unsigned 32-bit value seeds the generator, as srand takes it.
        const std::string& text = a.values.at("--seed");
        std::uint32_t s = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), s);
        if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
            return run.usage = "invalid --seed '" + text + "' (0 to 4294967295)", kUsage;
        seed = s;
    }

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
    if (rc == kUsage) run.usage = drive.error;
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
