#pragma once
// `lyrtool edit` runs editors of several families (analog generators, digital
// editors, ...). Each family lives in its own file and registers itself here
// with the options it takes; the edit command parses the arguments once, opens
// IN, hands the document to the family, then records the edit and saves OUT.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common.h"
#include "document/editor_contract.h"
#include "document/prompter.h"

namespace lyrtool {

// The editor's messages go to stderr and are answered OK (Yes to a question):
// a period or start moved onto the sampling grid is reported and the edit goes on.
class StderrPrompter : public lyr::Prompter {
public:
    lyr::PromptAnswer ask(const std::string& text, lyr::PromptButtons buttons, lyr::PromptIcon icon) override;
    std::vector<std::string> messages;
};

struct EditRun {
    const ParsedArgs& args;
    const std::string& editor;
    lyr::document::CSYNDoc& doc;
    StderrPrompter& prompter;
    // Set by the family: the samples changed, for the stored view state.
    std::optional<lyr::document::EditRange> range;
    // Set by the family with a usage error (exit 2) naming the option.
    std::string usage;
    // Set by the family when the time base changed: the stored view starts over.
    bool resetView = false;
};

struct EditFamily {
    std::vector<std::string> editors;        // editor names, e.g. "clock", "shift"
    std::set<std::string> valueOptions;      // options with a value this family reads
    std::set<std::string> flagOptions;       // options without a value
    // The option list of one editor, to refuse options that do not apply.
    bool (*accepts)(const std::string& editor, const std::string& option);
    // Runs the editor; kOk when applied (run.range set), kRefused when the
    // editor refused (its message already on stderr), kUsage with run.usage.
    // An edit that changes nothing recordable (a copy) may leave range empty.
    int (*run)(EditRun& run);
    const char* help;  // the family's lines of `lyrtool edit --help`
    // Options whose value is a comma list ("--channels 0,1,2"): the Python
    // module joins a list given for one, and repeats any other option.
    std::set<std::string> commaListOptions = {};
};

bool registerEditFamily(const EditFamily& family);
const std::vector<EditFamily>& editFamilies();

// The arguments of one edit: FILES file names (IN OUT for the tool, none for
// an open document), the editor's name, its options. kOk with the editor's
// family, or kUsage after the message.
int parseEdit(const std::vector<std::string>& argv, std::size_t files, ParsedArgs& args, const EditFamily*& family);

struct EditOutcome {
    std::optional<lyr::document::EditRange> range;  // the samples changed, when known
    bool resetView = false;                          // the time base changed
    bool locked = false;                             // refused: the edit lock is on
};
// Makes the parsed edit on an open waveform (NAME in the messages) as `lyrtool
// edit` does between opening and saving, the stored view state included.
// kOk; kUsage or kRefused after the message, the document as it was.
int applyEdit(const ParsedArgs& args, const EditFamily& family, const std::string& name,
              lyr::document::CSYNDoc& doc, lyr::document::StoredExtras& extras, EditOutcome& outcome);

}  // namespace lyrtool
