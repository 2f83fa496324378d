// lyrtool edit: one analog generator edit, made with the same forms the
// editor's dialogs present, and saved.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "analog/form_editor.h"
#include "command.h"
#include "common.h"
#include "document/quantities.h"
#include "view/view_state.h"

namespace lyrtool {
namespace {

namespace doc = lyr::document;
namespace an = lyr::analog;

constexpr const char* kName = "edit";

// The editor's messages go to stderr and are answered OK: a period or start
// moved onto the sampling grid is reported and the edit goes on.
class StderrPrompter : public lyr::Prompter {
public:
    lyr::PromptAnswer ask(const std::string& text, lyr::PromptButtons buttons, lyr::PromptIcon) override {
        std::string line = text;
        for (std::size_t p; (p = line.find("\n\n")) != std::string::npos;) line.replace(p, 2, " ");
        std::fprintf(stderr, "lyrtool %s: %s\n", kName, line.c_str());
        messages.push_back(text);
        return buttons == lyr::PromptButtons::YesNo || buttons == lyr::PromptButtons::YesNoCancel
                   ? lyr::PromptAnswer::Yes
                   : lyr::PromptAnswer::Ok;
    }
    std::vector<std::string> messages;
};

// "100us" -> ("100", uS). False without a known unit suffix.
bool splitTime(const std::string& text, std::string& number, int& unit) {
    std::size_t end = text.size();
    while (end > 0 && std::isalpha(static_cast<unsigned char>(text[end - 1]))) --end;
    std::string suffix = text.substr(end);
    for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix == "ns") unit = doc::kUnitNs;
    else if (suffix == "us") unit = doc::kUnitUs;
    else if (suffix == "ms") unit = doc::kUnitMs;
    else if (suffix == "s") unit = doc::kUnitS;
    else return false;
    number = text.substr(0, end);
    return true;
}

struct EditorOptions {
    std::set<std::string> fields;  // field keys given as --KEY
};

const std::map<std::string, std::set<std::string>> kEditorOptions = {
    {"sine", {"--sine-period", "--amplitude", "--offset", "--repeat", "--delay", "--phase"}},
    {"rectangle", {"--t0", "--t1", "--t2", "--t3", "--t4", "--v0", "--v1", "--v2", "--repeat"}},
    {"dc", {"--v0"}},
    {"ramp", {"--v0", "--v1"}},
    {"exp", {"--tau", "--v0", "--v1"}},
    {"noise", {"--rms", "--pp", "--seed"}},
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
        if (!splitTime(args.values.at(option), number, unit)) {
            error = option + " needs a TIME such as 100us (ns, us, ms or s)";
            return false;
        }
        f.setUnit(field, unit);
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
int runEditor(doc::CSYNDoc& d, Drive& drive, StderrPrompter& prompter, Operation operation,
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
    if (usage) return usageError(kName, drive.error);
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

int run(const std::vector<std::string>& argv) {
    std::set<std::string> valueOptions = kFrameOptions;
    for (const auto& [name, options] : kEditorOptions) valueOptions.insert(options.begin(), options.end());
    ParsedArgs a;
    std::string error;
    if (!parseArgs(argv, valueOptions, {}, a, error)) return usageError(kName, error);
    if (a.positional.size() != 3) return usageError(kName, "expects IN OUT EDITOR");
    const std::string& in = a.positional[0];
    const std::string& out = a.positional[1];
    const std::string& editorName = a.positional[2];
    auto known = kEditorOptions.find(editorName);
    if (known == kEditorOptions.end())
        return usageError(kName, "unknown editor '" + editorName + "' (sine, rectangle, dc, ramp, exp, noise)");
    for (const auto& [option, value] : a.values)
        if (!kFrameOptions.count(option) && !known->second.count(option))
            return usageError(kName, option + " does not apply to " + editorName);
    bool modeOk = true;
    const auto mode = parseMode(a.values.count("--mode") ? a.values["--mode"] : "replace", modeOk);
    if (!modeOk) return usageError(kName, "--mode is replace, add, subtract or multiply");
    if (a.values.count("--delay") && a.values.count("--phase"))
        return usageError(kName, "give either --delay or --phase");
    if (a.values.count("--t0") && a.values.count("--v0") && editorName == "rectangle")
        return usageError(kName, "give either --t0 or --v0");
    if (a.values.count("--rms") && a.values.count("--pp")) return usageError(kName, "give either --rms or --pp");
    std::optional<std::uint32_t> seed;
    if (a.values.count("--seed")) {
        // Any unsigned 32-bit value seeds the generator, as srand takes it.
        const std::string& text = a.values["--seed"];
        std::uint32_t s = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), s);
        if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
            return usageError(kName, "invalid --seed '" + text + "' (0 to 4294967295)");
        seed = s;
    }

    OpenedWaveform w;
    if (int rc = openWaveform(kName, in, w); rc != kOk) return rc;
    doc::CSYNDoc& d = *w.doc;

    StderrPrompter prompter;
    Drive drive{a, mode, {}};
    std::optional<doc::EditRange> range;
    int rc = kOk;
    if (editorName == "sine") {
        rc = runEditor<an::SineForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogSine,
                                     [&](an::SineForm& f) {
                                         if (a.values.count("--phase")) f.setMode(1);
                                         if (a.values.count("--delay")) f.setMode(0);
                                         return true;
                                     },
                                     range);
    } else if (editorName == "rectangle") {
        rc = runEditor<an::RectangleForm>(d, drive, prompter, &doc::CSYNDoc::EditAnalogRectangle,
                                          [&](an::RectangleForm& f) {
                                              if (a.values.count("--v0")) {
                                                  f.setMode(1);
                                                  // the derived t0 needs a unit to be written in
                                                  if (f.field(an::RectangleForm::kT0).unit < 0)
                                                      f.setUnit(an::RectangleForm::kT0, doc::kUnitNs);
                                              }
                                              if (a.values.count("--t0")) f.setMode(0);
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
                    f.setUnit(an::NoiseForm::kAmplitude, pp ? an::NoiseForm::kPeakToPeak : an::NoiseForm::kRms);
                    f.setText(an::NoiseForm::kAmplitude, a.values.at(pp ? "--pp" : "--rms"));
                }
                return true;
            },
            range, rename, [&](an::NoiseForm& f) { f.setSeed(seed); });
    }
    if (rc != kOk) {
        if (rc == kRefused) std::fprintf(stderr, "lyrtool %s: %s: nothing was edited\n", kName, in.c_str());
        return rc;
    }

    // The view records the edit as the editor's view does after a dialog.
    lyr::view::ViewState view;
    if (!view.fromRecord(w.extras.viewState, d.sampleCount(), 0, 999)) view.attach(d.sampleCount(), 0, 999);
    view.afterEdit(static_cast<std::uint32_t>(range->first), static_cast<std::uint32_t>(range->end));
    w.extras.viewState = view.toRecord();

    if (int s = saveWaveform(kName, out, d, w.extras); s != kOk) return s;
    std::printf("%s: %s samples %lld to %lld\n", out.c_str(), editorName.c_str(),
                static_cast<long long>(range->first), static_cast<long long>(range->end));
    return kOk;
}

const bool registered = registerCommand({
    kName,
    "make one analog edit (sine, rectangle, dc, ramp, exp, noise) and save",
    "Usage: lyrtool edit IN OUT EDITOR [--start TIME] [--period TIME]\n"
    "                    [--mode replace|add|subtract|multiply] [EDITOR OPTIONS]\n"
    "\n"
    "Opens IN, makes one edit of the analog track with the editor's own rules\n"
    "and saves the result as OUT. Options not given keep the values the editor\n"
    "remembers in IN, as the dialog opens with them. TIME is a number with ns,\n"
    "us, ms or s (\"100us\"); --start defaults to 0 and --mode to replace.\n"
    "\n"
    "Editors and their options:\n"
    "  sine       --sine-period TIME --amplitude V --offset V --repeat N\n"
    "             and --delay TIME or --phase DEGREES\n"
    "  rectangle  --t1 --t2 --t3 --t4 TIME --v1 V --v2 V --repeat N\n"
    "             and --t0 TIME or --v0 V\n"
    "  dc         --v0 V\n"
    "  ramp       --v0 V --v1 V\n"
    "  exp        --tau TIME --v0 V --v1 V\n"
    "  noise      --rms MV or --pp MV (millivolts), --seed N\n"
    "\n"
    "A period or start moved onto the sampling grid is reported on stderr and\n"
    "the edit goes on. Without --seed every noise edit draws fresh noise;\n"
    "--seed N reproduces a run exactly.\n"
    "\n"
    "Exit status: 0 saved, 1 a file was refused or the editor could not make\n"
    "the segment, 2 bad arguments (an invalid field is named).\n",
    run,
});

}  // namespace
}  // namespace lyrtool
