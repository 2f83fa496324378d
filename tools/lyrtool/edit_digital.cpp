// The digital editors of `lyrtool edit`: clock, shift, invert, clear, paste,
// swap and modify, made with the same forms the editor's dialogs present.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "command.h"
#include "digital/clock_form.h"
#include "forms/form_editor.h"
#include "digital/modify_form.h"
#include "digital/shift_form.h"
#include "digital/swap_form.h"
#include "digital_options.h"
#include "edit_family.h"

namespace lyrtool {
namespace {

namespace doc = lyr::document;
namespace dg = lyr::digital;

const std::map<std::string, std::set<std::string>> kEditorOptions = {
    {"clock", {"--start", "--mode", "--channel", "--t1", "--t2", "--level1", "--repeat"}},
    {"shift", {"--channel", "--shift", "--fill"}},
    {"invert", {"--channel"}},
    {"clear", {"--channel"}},
    {"paste", {"--from", "--channel"}},
    {"swap", {"--a", "--b"}},
    {"modify",
     {"--start", "--mode", "--channel", "--copy-channel", "--copy-start", "--copy-period", "--invert", "--shift",
      "--fill"}},
};

// Options with a value: every option but the --invert flag.
std::set<std::string> valueOptions() {
    std::set<std::string> all;
    for (const auto& [name, options] : kEditorOptions) all.insert(options.begin(), options.end());
    all.erase("--invert");
    return all;
}

// Every digital editor takes the frame's --start and --mode; the whole-channel
// operations (shift, invert, clear, paste, swap) check and then ignore them.
bool accepts(const std::string& editor, const std::string& option) {
    if (option == "--start" || option == "--mode") return kEditorOptions.count(editor) != 0;
    auto known = kEditorOptions.find(editor);
    return known != kEditorOptions.end() && known->second.count(option) != 0;
}

// The user's part of a digital editor, typed into the form as into its dialog.
struct Drive {
    const ParsedArgs& args;
    std::string error;

    bool given(const std::string& option) const { return args.values.count(option) != 0; }

    // A channel option: 0..7.
    bool channel(const std::string& option, int& out) {
        const std::string& text = args.values.at(option);
        if (parseChannelArgument(text, out)) return true;
        error = "invalid " + option + " '" + text + "' (a channel 0 to 7)";
        return false;
    }

    bool mode(dg::DigitalApplyMode& out) {
        const auto m = parseApplyMode(given("--mode") ? args.values.at("--mode") : "replace");
        if (!m) return error = kApplyModeError, false;
        out = *m;
        return true;
    }

    bool method(const std::string& text, int& out) {
        if (text == "zero") out = 0;
        else if (text == "one") out = 1;
        else if (text == "rotate") out = 2;
        else return error = "--fill is zero, one or rotate", false;
        return true;
    }

    bool splitTime(const std::string& option, const std::string& text, std::string& number, int& unit) {
        if (splitTimeArgument(text, number, unit)) return true;
        error = option + " needs a TIME such as 100us (ns, us, ms or s)";
        return false;
    }

    // A time option into a field of a frame form.
    bool time(dg::DigitalEditFrame& f, const std::string& option, std::size_t field) {
        if (!given(option)) return true;
        std::string number;
        int unit = 0;
        if (!splitTime(option, args.values.at(option), number, unit)) return false;
        f.setUnit(field, unit);
        f.setText(field, number);
        return true;
    }

    // Names the first field whose marker shows.
    bool check(const dg::DigitalEditFrame& f) {
        for (std::size_t i = 0; i < f.fieldCount(); ++i) {
            const dg::FormField& field = f.field(i);
            if (!field.markerShown) continue;
            const std::string option = "--" + field.key;
            error = "invalid " + option +
                    (given(option) ? " '" + args.values.at(option) + "'" : " (remembered value '" + field.text + "')");
            return false;
        }
        return true;
    }

    // One "実行" of the shift form with a signed TIME.
    bool executeShift(dg::ShiftForm& s, const std::string& text) {
        std::string number;
        int unit = 0;
        if (!splitTime("--shift", text, number, unit)) return false;
        s.setUnit(unit);
        s.setText(number);
        if (!s.execute()) return error = "invalid --shift '" + text + "' (at least the sampling time, at most the length)", false;
        return true;
    }
};

int runClock(EditRun& run, Drive& drive, dg::DigitalApplyMode mode) {
    int ch = doc::AllChannels;
    if (drive.given("--channel") && !drive.channel("--channel", ch)) return kUsage;
    int level1 = -1;
    if (drive.given("--level1")) {
        const std::string& l = run.args.values.at("--level1");
        if (l != "0" && l != "1") return drive.error = "--level1 is 0 or 1", kUsage;
        level1 = l[0] - '0';
    }
    bool usage = false;
    lyr::forms::FormEditor<dg::ClockForm> editor(run.prompter, [&](dg::ClockForm& f) {
        if (level1 >= 0) f.setLevel1(level1);
        if (drive.given("--repeat")) f.setText(dg::ClockForm::kRepeat, run.args.values.at("--repeat"));
        if (!drive.time(f, "--start", dg::DigitalEditFrame::kStartField) || !drive.time(f, "--t1", dg::ClockForm::kT1) ||
            !drive.time(f, "--t2", dg::ClockForm::kT2) || !drive.check(f)) {
            usage = true;
            return false;
        }
        if (!f.createEnabled()) {
            drive.error = "the parameters do not make a segment: (t1 + t2) x repeat must be at least the sampling time";
            usage = true;
            return false;
        }
        return f.createSegment() && f.applyDigitalSegment(mode);
    });
    run.range = run.doc.EditDigitalClock(0, ch, editor);
    if (usage) return kUsage;
    return run.range ? kOk : kRefused;
}

int runModify(EditRun& run, Drive& drive, dg::DigitalApplyMode mode) {
    int ch = doc::AllChannels, copyCh = -1;
    if (drive.given("--channel") && !drive.channel("--channel", ch)) return kUsage;
    if (drive.given("--copy-channel") && !drive.channel("--copy-channel", copyCh)) return kUsage;
    // The piece operations in the order given: each --shift with the --fill
    // that follows it (before the next --shift), else the one before.
    struct Step {
        bool invert;
        std::string shift;
        int method;
    };
    std::vector<Step> steps;
    int method = -1;
    for (std::size_t i = 0; i < run.args.ordered.size(); ++i) {
        const auto& [option, value] = run.args.ordered[i];
        if (option == "--invert") steps.push_back({true, {}, -1});
        if (option == "--fill" && !drive.method(value, method)) return kUsage;
        if (option != "--shift") continue;
        int m = method;
        for (std::size_t j = i + 1; j < run.args.ordered.size() && run.args.ordered[j].first != "--shift"; ++j)
            if (run.args.ordered[j].first == "--fill" && !drive.method(run.args.ordered[j].second, m)) return kUsage;
        steps.push_back({false, value, m});
    }
    bool usage = false;
    lyr::forms::FormEditor<dg::ModifyForm> editor(run.prompter, [&](dg::ModifyForm& f) {
        if (copyCh >= 0) f.setCopyChannel(copyCh);
        if (!drive.time(f, "--start", dg::DigitalEditFrame::kStartField) ||
            !drive.time(f, "--copy-start", dg::ModifyForm::kCopyStart) ||
            !drive.time(f, "--copy-period", dg::ModifyForm::kCopyPeriod) || !drive.check(f)) {
            usage = true;
            return false;
        }
        if (!f.pressCopy()) return false;  // "パラメータが不正です" already told
        for (const Step& step : steps) {
            if (step.invert) {
                f.invertPiece();
                continue;
            }
            f.shiftPiece([&](dg::ShiftForm& s) {
                if (step.method >= 0) s.setMethod(step.method);
                if (!drive.executeShift(s, step.shift)) return false;
                s.accept();
                return true;
            });
            if (!drive.error.empty()) {
                usage = true;
                return false;
            }
        }
        return f.applyDigitalSegment(mode);
    });
    run.range = run.doc.EditDigitalModify(0, ch, editor);
    if (usage) return kUsage;
    return run.range ? kOk : kRefused;
}

int runShift(EditRun& run, Drive& drive) {
    int ch = 0;
    if (!drive.given("--channel")) return drive.error = "shift needs --channel K", kUsage;
    if (!drive.channel("--channel", ch)) return kUsage;
    if (!drive.given("--shift")) return drive.error = "shift needs --shift TIME", kUsage;
    int method = -1;
    if (drive.given("--fill") && !drive.method(run.args.values.at("--fill"), method)) return kUsage;
    dg::ShiftFormEditor editor(run.prompter, [&](dg::ShiftForm& s) {
        if (method >= 0) s.setMethod(method);
        for (const auto& [option, value] : run.args.ordered)
            if (option == "--shift" && !drive.executeShift(s, value)) return false;
        s.accept();
        return true;
    });
    const bool applied = run.doc.EditDigitalShift(ch, editor).has_value();
    if (!drive.error.empty()) return kUsage;
    return applied ? kOk : kRefused;
}

int runSwap(EditRun& run, Drive& drive) {
    int a = -1, b = -1;
    if (drive.given("--a") && !drive.channel("--a", a)) return kUsage;
    if (drive.given("--b") && !drive.channel("--b", b)) return kUsage;
    if (a >= 0 && a == b) return drive.error = "--a and --b name the same channel", kUsage;
    dg::SwapFormEditor editor(run.prompter, [&](dg::SwapForm& f) {
        if (a >= 0) f.setA(a);
        if (b >= 0) f.setB(b);
        return true;
    });
    return run.doc.EditDigitalSwap(editor).has_value() ? kOk : kRefused;
}

// Invert, clear and paste: whole-channel operations of the document.
int runChannelOperation(EditRun& run, Drive& drive) {
    int ch = 0;
    if (!drive.given("--channel")) return drive.error = run.editor + " needs --channel K", kUsage;
    if (!drive.channel("--channel", ch)) return kUsage;
    if (run.editor == "invert") {
        run.doc.invertChannel(ch);
    } else if (run.editor == "clear") {
        run.doc.clearChannel(ch);
    } else {
        int from = 0;
        if (!drive.given("--from")) return drive.error = "paste needs --from K", kUsage;
        if (!drive.channel("--from", from)) return kUsage;
        run.doc.copyChannel(from);
        run.doc.pasteChannel(ch);
    }
    return kOk;
}

int runDigital(EditRun& run) {
    Drive drive{run.args, {}};
    dg::DigitalApplyMode mode = dg::DigitalApplyMode::Replace;
    int rc = kOk;
    std::int64_t start = 0;
    if (!drive.mode(mode)) rc = kUsage;
    else if (drive.given("--start") && !parseTimeArgument(run.args.values.at("--start"), start))
        drive.error = "--start needs a TIME such as 100us (ns, us, ms or s)", rc = kUsage;
    else if (run.editor == "clock") rc = runClock(run, drive, mode);
    else if (run.editor == "modify") rc = runModify(run, drive, mode);
    else if (run.editor == "shift") rc = runShift(run, drive);
    else if (run.editor == "swap") rc = runSwap(run, drive);
    else rc = runChannelOperation(run, drive);
    if (rc == kUsage) run.usage = drive.error;
    return rc;
}

const bool registered = registerEditFamily({
    {"clock", "shift", "invert", "clear", "paste", "swap", "modify"},
    valueOptions(),
    {"--invert"},
    accepts,
    runDigital,
    "  digital channels: K is a channel 0 to 7; every digital editor takes\n"
    "             --start TIME --mode replace|or|and|xor (used by clock and modify;\n"
    "             the whole-channel operations ignore them); clock and modify take\n"
    "             --channel K, else the channel remembered in IN\n"
    "  clock      --t1 TIME --t2 TIME --level1 0|1 --repeat N (level 2 = 1 - level 1)\n"
    "  shift      --channel K --shift TIME [--shift TIME ...] --fill zero|one|rotate\n"
    "             (TIME signed, e.g. -20ns; the shifts add up)\n"
    "  invert     --channel K\n"
    "  clear      --channel K\n"
    "  paste      --from K --channel K (copies channel --from into --channel)\n"
    "  swap       --a K --b K\n"
    "  modify     --copy-channel K --copy-start TIME --copy-period TIME --channel K\n"
    "             [--invert] [--shift TIME --fill zero|one|rotate]... (the piece\n"
    "             operations run in the order given, then the piece is applied at\n"
    "             --start with --mode)\n",
});

}  // namespace
}  // namespace lyrtool
