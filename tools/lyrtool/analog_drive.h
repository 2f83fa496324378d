#pragma once
// How `lyrtool edit` drives an analog editor's form: the options typed into
// its fields as a user types them into the dialog, the first invalid field
// named, then create and apply in the chosen mode. Shared by the analog
// families (edit_analog.cpp, edit_equation.cpp).
#include <charconv>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "analog/analog_forms.h"
#include "forms/form_editor.h"
#include "command.h"
#include "common.h"
#include "document/quantities.h"
#include "edit_family.h"

namespace lyrtool::drive {

namespace doc = lyr::document;
namespace an = lyr::analog;

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
    lyr::forms::FormEditor<Form> editor(prompter, [&](Form& f) {
        if (!before(f) || !drive.fill(f) || !drive.check(f, rename)) {
            usage = !drive.error.empty();
            return false;
        }
        return drive.finish(f);
    });
    // Nothing here draws the preview.
    editor.configure = [&](Form& f) {
        f.setGraphsDrawn(false);
        if (configure) configure(f);
    };
    range = ((d).*operation)(0, editor);
    if (usage) return kUsage;
    return range ? kOk : kRefused;
}

inline an::AnalogApplyMode parseMode(const std::string& s, bool& ok) {
    ok = true;
    if (s == "replace") return an::AnalogApplyMode::Replace;
    if (s == "add") return an::AnalogApplyMode::Add;
    if (s == "subtract") return an::AnalogApplyMode::Subtract;
    if (s == "multiply") return an::AnalogApplyMode::Multiply;
    ok = false;
    return an::AnalogApplyMode::Replace;
}

// --seed N: any unsigned 32-bit value seeds the noise generator, as srand
// takes it. False with the usage text when it does not read.
inline bool parseSeed(const ParsedArgs& args, std::optional<std::uint32_t>& seed, std::string& usage) {
    if (!args.values.count("--seed")) return true;
    const std::string& text = args.values.at("--seed");
    std::uint32_t s = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), s);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        usage = "invalid --seed '" + text + "' (0 to 4294967295)";
        return false;
    }
    seed = s;
    return true;
}

}  // namespace lyrtool::drive
