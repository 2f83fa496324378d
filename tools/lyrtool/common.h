#pragma once
// Helpers shared by lyrtool commands: arguments, TIME values, and opening and
// saving waveform files the way the editor does.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "document/syn_doc.h"
#include "document/waveform_file.h"

namespace lyrtool {

// Arguments split into positional ones, options with a value ("--from 3" or
// "--from=3") and flags ("--json").
struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    // Every option and flag in the order given (repeated ones each time), for
    // editors whose operations run in that order. Flags have an empty value.
    std::vector<std::pair<std::string, std::string>> ordered;
    bool has(const std::string& option) const { return values.count(option) || flags.count(option); }
};
// False with an error text on an unknown option or an option without value.
bool parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, ParsedArgs& out, std::string& error);

// TIME: a number followed by ns, us, ms or s in any case ("20ns", "1.5US"),
// read exactly as the editor reads time fields; false when refused (also for
// finer than 1 ns, e.g. "1.5ns").
bool parseTimeArgument(const std::string& text, std::int64_t& ns);
// The same TIME split into its number text and unit index ("100us" -> "100",
// uS), for typing it into an editor's field; false without a known unit.
// Total times also take minutes and hours ("1.5m", "2h").
bool splitTimeArgument(const std::string& text, std::string& number, int& unit, bool minutesAndHours = false);
// A decimal count without sign; false when refused.
bool parseCountArgument(const std::string& text, std::uint32_t& value);

// A document at full capacity; nullptr (after a message on stderr) when the
// memory cannot be reserved.
std::unique_ptr<lyr::document::CSYNDoc> makeDocument(const char* command);

// A waveform opened as the editor opens it.
struct OpenedWaveform {
    std::unique_ptr<lyr::document::CSYNDoc> doc;
    lyr::document::StoredExtras extras;
    lyr::document::OpenResult result;
};
// kOk, or kRefused after printing the reader's message and its gloss.
int openWaveform(const char* command, const std::string& path, OpenedWaveform& out);

// A new waveform as `lyrtool new` makes it from ARGS (FILES file names
// first: OUT for the tool, none for a caller that keeps it open); kOk, or
// kUsage or kRefused after the message.
int newWaveform(const std::vector<std::string>& args, std::size_t files, ParsedArgs& parsed, OpenedWaveform& out);

// Saves as the editor's Save does (current format; the document is marked
// saved). kOk, or kRefused after printing the writer's message and its gloss.
int saveWaveform(const char* command, const std::string& path, lyr::document::CSYNDoc& doc,
                 const lyr::document::StoredExtras& extras);

// The view state a freshly reset view stores for a waveform of n samples,
// drawn on a nominal plot 1,000 columns wide (the editor fits the zoom table
// to its own window when it opens the file).
lyr::document::ViewStateRecord resetViewRecord(std::uint32_t sampleCount);

// A short English gloss of a Japanese message of the file layer or the
// document ("file format error"); the empty text for an unknown message.
std::string englishGloss(const std::string& message);
// Prints "lyrtool COMMAND: PATH: MESSAGE (gloss)" on stderr; returns kRefused.
int refused(const char* command, const std::string& path, const std::string& message);

}  // namespace lyrtool
