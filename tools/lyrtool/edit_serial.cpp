// The serial and parallel data editors of `lyrtool edit`, made with the same
// forms their dialogs present: the options are typed into the fields, a file
// is read as "参照・読込" reads it, then the form creates and applies.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "command.h"
#include "digital/data_forms.h"
#include "forms/form_editor.h"
#include "digital_options.h"
#include "edit_family.h"

namespace lyrtool {
namespace {

namespace doc = lyr::document;
namespace dg = lyr::digital;

const std::set<std::string> kFrameOptions = {"--start", "--mode"};
const std::map<std::string, std::set<std::string>> kEditorOptions = {
    {"serial", {"--channel", "--bit-time", "--bits", "--bits-file"}},
    {"parallel",
     {"--interval", "--hex", "--hex-file", "--lyr-file", "--npy-file", "--vcd-file", "--bit-order", "--channels"}},
};

bool accepts(const std::string& editor, const std::string& option) {
    auto known = kEditorOptions.find(editor);
    return known != kEditorOptions.end() && (kFrameOptions.count(option) || known->second.count(option));
}

// "all" or a comma list of channels 0 to 7; an empty list is refused.
bool parseChannelList(const std::string& s, std::uint8_t& mask) {
    if (s == "all") return mask = 0xFF, true;
    mask = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = s.find(',', from);
        int k = 0;
        if (!parseChannelArgument(s.substr(from, comma - from), k)) return false;
        mask = static_cast<std::uint8_t>(mask | (1u << k));
        if (comma == std::string::npos) return true;
        from = comma + 1;
    }
}

// Plays the user's part in a form; error is set for a usage error, and
// refused when a file did not read (its message is already on stderr).
struct Drive {
    const ParsedArgs& args;
    dg::DigitalApplyMode mode = dg::DigitalApplyMode::Replace;
    std::string error;
    bool refused = false;

    const std::string* given(const char* option) const {
        auto v = args.values.find(option);
        return v == args.values.end() ? nullptr : &v->second;
    }

    bool time(dg::DigitalEditFrame& f, const char* option, std::size_t field) {
        const std::string* value = given(option);
        if (!value) return true;
        std::string number;
        int unit = 0;
        if (!splitTimeArgument(*value, number, unit)) {
            error = std::string(option) + " needs a TIME such as 100us (ns, us, ms or s)";
            return false;
        }
        f.setUnit(field, unit);
        f.setText(field, number);
        return true;
    }

    // The typed text, or the file read whatever the remembered source.
    bool source(dg::DataSourceForm& f, const char* textOption, const char* fileOption) {
        if (const std::string* text = given(textOption)) {
            f.setSource(dg::DataSourceForm::kDirect);
            f.setText(dg::DataSourceForm::kText, *text);
        } else if (const std::string* file = given(fileOption)) {
            f.setSource(dg::DataSourceForm::kFile);
            if (!f.loadFile(*file, nullptr)) {
                refused = true;
                return false;
            }
        }
        return true;
    }

    // Names the first invalid field, as its marker would show it.
    bool check(const dg::DigitalEditFrame& f) {
        for (std::size_t i = 0; i < f.fieldCount(); ++i) {
            const auto& field = f.field(i);
            if (!field.markerShown) continue;
            const std::string option = "--" + field.key;
            const std::string* value = given(option.c_str());
            error = "invalid " + option +
                    (value ? " '" + *value + "'" : " (remembered value '" + field.text + "')");
            return false;
        }
        if (!f.createEnabled()) {
            error = "the parameters do not make a segment";
            return false;
        }
        return true;
    }

    bool finish(dg::DigitalEditFrame& f) {
        if (!f.createSegment()) return false;
        if (!f.applyEnabled()) {
            error = "no channel receives the result (--channels)";
            return false;
        }
        return f.applyDigitalSegment(mode);
    }
};

template <class Form, class Operation>
int runForm(EditRun& run, Drive& drive, Operation operation, std::function<bool(Form&)> before) {
    lyr::forms::FormEditor<Form> editor(run.prompter, [&](Form& f) {
        return before(f) && drive.time(f, "--start", dg::DigitalEditFrame::kStartField) && drive.check(f) &&
               drive.finish(f);
    });
    run.range = operation(editor);
    if (!drive.error.empty()) return run.usage = drive.error, kUsage;
    return run.range ? kOk : kRefused;
}

int runSerialData(EditRun& run) {
    const ParsedArgs& a = run.args;
    Drive drive{a, dg::DigitalApplyMode::Replace, {}, false};
    if (a.values.count("--mode")) {
        const auto mode = parseApplyMode(a.values.at("--mode"));
        if (!mode) return run.usage = kApplyModeError, kUsage;
        drive.mode = *mode;
    }

    if (run.editor == "serial") {
        int channel = doc::AllChannels;
        if (a.values.count("--channel") && !parseChannelArgument(a.values.at("--channel"), channel))
            return run.usage = "--channel is a channel number 0 to 7", kUsage;
        if (a.values.count("--bits") && a.values.count("--bits-file"))
            return run.usage = "give either --bits or --bits-file", kUsage;
        return runForm<dg::SerialForm>(
            run, drive, [&](doc::SerialEditor& e) { return run.doc.EditDigitalSerial(0, channel, e); },
            [&](dg::SerialForm& f) {
                return drive.time(f, "--bit-time", dg::DataSourceForm::kTime) && drive.source(f, "--bits", "--bits-file");
            });
    }

    const char* const fileOptions[] = {"--hex-file", "--lyr-file", "--npy-file", "--vcd-file"};
    int sources = int(a.values.count("--hex"));
    const char* fileOption = nullptr;
    for (const char* option : fileOptions)
        if (a.values.count(option)) ++sources, fileOption = option;
    if (sources > 1) return run.usage = "give one of --hex, --hex-file, --lyr-file, --npy-file and --vcd-file", kUsage;
    // The parallel editor tells the file kinds apart by the name alone.
    if (fileOption) {
        const std::map<std::string, std::pair<dg::WordFileKind, const char*>> kinds = {
            {"--hex-file", {dg::WordFileKind::Hexadecimal, "a name ending in lyr, npy or vcd is read with --lyr-file, --npy-file or --vcd-file"}},
            {"--lyr-file", {dg::WordFileKind::Waveform, "--lyr-file needs a name ending in lyr"}},
            {"--npy-file", {dg::WordFileKind::NumPy, "--npy-file needs a name ending in npy"}},
            {"--vcd-file", {dg::WordFileKind::ValueChangeDump, "--vcd-file needs a name ending in vcd"}}};
        const auto& [kind, mismatch] = kinds.at(fileOption);
        const auto found = dg::wordFileKind(a.values.at(fileOption));
        if (found == dg::WordFileKind::Ignored)
            return run.usage = std::string(fileOption) + " needs a path of more than four characters", kUsage;
        if (found != kind) return run.usage = mismatch, kUsage;
        if (kind == dg::WordFileKind::ValueChangeDump && !a.values.count("--interval"))
            return run.usage = "--vcd-file is sampled every --interval: give it", kUsage;
    }
    int order = -1;
    if (a.values.count("--bit-order")) {
        const std::string& o = a.values.at("--bit-order");
        if (o != "0" && o != "1") return run.usage = "--bit-order is 0 (BIT7:CH7) or 1 (BIT7:CH0)", kUsage;
        order = o == "1" ? 1 : 0;
    }
    std::uint8_t mask = 0;
    const bool maskGiven = a.values.count("--channels") != 0;
    if (maskGiven && !parseChannelList(a.values.at("--channels"), mask))
        return run.usage = "--channels is all or a comma list of channels 0 to 7, at least one", kUsage;
    return runForm<dg::ParallelForm>(
        run, drive, [&](doc::ParallelEditor& e) { return run.doc.EditDigitalParallel(0, e); },
        [&](dg::ParallelForm& f) {
            // A dump is sampled every --interval, so it comes first; a waveform
            // file sets the interval and the bit order, and given options come after it.
            if (!drive.time(f, "--interval", dg::DataSourceForm::kTime)) return false;
            if (!drive.source(f, "--hex", fileOption ? fileOption : "--hex-file")) return false;
            if (order >= 0) f.setBitOrder(order);
            if (maskGiven) f.setChannelMask(mask);
            return drive.time(f, "--interval", dg::DataSourceForm::kTime);
        });
}

const bool registered = registerEditFamily({
    {"serial", "parallel"},
    [] {
        std::set<std::string> all = kFrameOptions;
        for (const auto& [name, options] : kEditorOptions) all.insert(options.begin(), options.end());
        return all;
    }(),
    {},
    accepts,
    runSerialData,
    "  serial     --channel K --bit-time TIME and --bits TEXT (0 and 1) or\n"
    "             --bits-file FILE; --start TIME --mode replace|or|and|xor\n"
    "  parallel   --interval TIME and --hex TEXT (two digits a word) or\n"
    "             --hex-file FILE or --lyr-file FILE (its channels and sampling\n"
    "             time) or --npy-file FILE (uint8 words) or --vcd-file FILE\n"
    "             (CH0..CH7 or the first eight 1-bit wires, sampled every\n"
    "             --interval from time 0); --bit-order 0|1 (0: BIT7 to CH7), --channels LIST\n"
    "             (all, or e.g. 0,1,5); --start TIME --mode replace|or|and|xor\n"
    "             A file that does not read exits 1; over 1,048,576 entries the\n"
    "             first are used after the warning.\n",
    {"--channels"},
});

}  // namespace
}  // namespace lyrtool
