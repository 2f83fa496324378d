// lyrtool edit: one edit made with the same forms the editor's dialogs
// present, and saved. The editor families register themselves (edit_family.h).
#include <cstdio>
#include <set>
#include <string>

#include "command.h"
#include "common.h"
#include "edit_family.h"
#include "view/view_state.h"

namespace lyrtool {

namespace {
constexpr const char* kName = "edit";
// Edits a file whose edit lock is set; every editor takes it.
constexpr const char* kForce = "--force";

std::vector<EditFamily>& families() {
    static std::vector<EditFamily> list;
    return list;
}
}  // namespace

lyr::PromptAnswer StderrPrompter::ask(const std::string& text, lyr::PromptButtons buttons, lyr::PromptIcon) {
    std::string line = text;
    for (std::size_t p; (p = line.find("\n\n")) != std::string::npos;) line.replace(p, 2, " ");
    printErr("lyrtool %s: %s\n", kName, line.c_str());
    messages.push_back(text);
    return buttons == lyr::PromptButtons::YesNo || buttons == lyr::PromptButtons::YesNoCancel ? lyr::PromptAnswer::Yes
                                                                                             : lyr::PromptAnswer::Ok;
}

bool registerEditFamily(const EditFamily& family) {
    families().push_back(family);
    return true;
}

const std::vector<EditFamily>& editFamilies() { return families(); }

namespace {

namespace doc = lyr::document;

std::string editorList() {
    std::string list;
    for (const auto& f : families())
        for (const auto& e : f.editors) list += (list.empty() ? "" : ", ") + e;
    return list;
}

}  // namespace

int parseEdit(const std::vector<std::string>& argv, std::size_t files, ParsedArgs& a, const EditFamily*& family) {
    std::set<std::string> valueOptions, flagOptions;
    for (const auto& f : families()) {
        valueOptions.insert(f.valueOptions.begin(), f.valueOptions.end());
        flagOptions.insert(f.flagOptions.begin(), f.flagOptions.end());
    }
    flagOptions.insert(kForce);
    std::string error;
    if (!parseArgs(argv, valueOptions, flagOptions, a, error)) return usageError(kName, error);
    if (a.positional.size() != files + 1) return usageError(kName, files ? "expects IN OUT EDITOR" : "expects EDITOR");
    const std::string& editorName = a.positional.back();
    family = nullptr;
    for (const auto& f : families())
        for (const auto& e : f.editors)
            if (e == editorName) family = &f;
    if (!family) return usageError(kName, "unknown editor '" + editorName + "' (" + editorList() + ")");
    for (const auto& [option, value] : a.ordered)
        if (option != kForce && !family->accepts(editorName, option)) return usageError(kName, option + " does not apply to " + editorName);
    return kOk;
}

int applyEdit(const ParsedArgs& a, const EditFamily& family, const std::string& name, doc::CSYNDoc& d,
              doc::StoredExtras& extras, EditOutcome& outcome) {
    const std::string& editorName = a.positional.back();
    // The editor greys every editing command of a locked file; so does the tool.
    if (extras.editLocked && !a.flags.count(kForce)) {
        printErr("lyrtool %s: %s: the file is locked against editing (編集禁止); "
                 "--force edits it anyway\n",
                 kName, name.c_str());
        outcome.locked = true;
        return kRefused;
    }

    StderrPrompter prompter;
    EditRun edit{a, editorName, d, prompter, std::nullopt, {}, false};
    const int rc = family.run(edit);
    if (rc == kUsage) return usageError(kName, edit.usage);
    if (rc != kOk) {
        if (rc == kRefused) printErr("lyrtool %s: %s: nothing was edited\n", kName, name.c_str());
        return rc;
    }
    outcome.range = edit.range;
    outcome.resetView = edit.resetView;

    if (edit.resetView) {
        lyr::view::ViewState view;
        view.attach(d.sampleCount(), 0, 999);
        extras.viewState = view.toRecord();
    } else if (edit.range) {
        // The view records the edit as the editor's view does after a dialog.
        lyr::view::ViewState view;
        if (!view.fromRecord(extras.viewState, d.sampleCount(), 0, 999)) view.attach(d.sampleCount(), 0, 999);
        view.afterEdit(static_cast<std::uint32_t>(edit.range->first), static_cast<std::uint32_t>(edit.range->end));
        extras.viewState = view.toRecord();
    }
    return kOk;
}

namespace {

int run(const std::vector<std::string>& argv) {
    ParsedArgs a;
    const EditFamily* family = nullptr;
    if (int rc = parseEdit(argv, 2, a, family); rc != kOk) return rc;
    const std::string& in = a.positional[0];
    const std::string& out = a.positional[1];
    const std::string& editorName = a.positional[2];

    OpenedWaveform w;
    if (int rc = openWaveform(kName, in, w); rc != kOk) return rc;
    EditOutcome outcome;
    if (int rc = applyEdit(a, *family, in, *w.doc, w.extras, outcome); rc != kOk) return rc;

    if (int s = saveWaveform(kName, out, *w.doc, w.extras); s != kOk) return s;
    if (outcome.range)
        printOut("%s: %s samples %lld to %lld\n", out.c_str(), editorName.c_str(),
                 static_cast<long long>(outcome.range->first), static_cast<long long>(outcome.range->end));
    else
        printOut("%s: %s\n", out.c_str(), editorName.c_str());
    return kOk;
}

std::string composeHelp() {
    std::string help =
        "Usage: lyrtool edit IN OUT EDITOR [OPTIONS]\n"
        "\n"
        "Opens IN, makes one edit with the editor's own rules and saves the result\n"
        "as OUT. Options not given keep the values the editor remembers in IN, as\n"
        "the dialog opens with them. TIME is a number with ns, us, ms or s\n"
        "(\"100us\"); --start defaults to 0 and --mode to replace.\n"
        "\n"
        "A file saved with the editor's edit lock on is refused unless --force is\n"
        "given; the lock stays on in OUT.\n"
        "\n"
        "Editors and their options:\n";
    for (const auto& f : families()) help += f.help;
    help +=
        "\n"
        "A period or start moved onto the sampling grid is reported on stderr and\n"
        "the edit goes on.\n"
        "\n"
        "Exit status: 0 saved, 1 a file was refused or is locked or the editor\n"
        "could not make the segment, 2 bad arguments (an invalid field is named).\n";
    return help;
}

const bool registered = registerCommand({
    kName,
    "make one edit of a waveform file with an editor's own rules, and save",
    "",
    run,
    composeHelp,
});

}  // namespace
}  // namespace lyrtool
