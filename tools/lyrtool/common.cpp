#include "common.h"

#include <cctype>
#include <cstdio>

#include "app/document_store.h"
#include "app/lifecycle.h"
#include "command.h"
#include "document/quantities.h"
#include "view/view_state.h"

namespace lyrtool {

bool parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, ParsedArgs& out, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a[0] != '-' || (a[1] != '-' && !std::isalpha(static_cast<unsigned char>(a[1])))) {
            out.positional.push_back(a);  // plain words, "-" and negative numbers
            continue;
        }
        std::string name = a;
        std::string value;
        bool inlineValue = false;
        if (auto eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        if (valueOptions.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    error = name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            out.values[name] = value;
            out.ordered.emplace_back(name, value);
        } else if (flagOptions.count(name) && !inlineValue) {
            out.flags.insert(name);
            out.ordered.emplace_back(name, std::string());
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    return true;
}

bool splitTimeArgument(const std::string& text, std::string& number, int& unit, bool minutesAndHours) {
    std::size_t end = text.size();
    while (end > 0 && std::isalpha(static_cast<unsigned char>(text[end - 1]))) --end;
    std::string suffix = text.substr(end);
    for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix == "ns") unit = lyr::document::kUnitNs;
    else if (suffix == "us") unit = lyr::document::kUnitUs;
    else if (suffix == "ms") unit = lyr::document::kUnitMs;
    else if (suffix == "s") unit = lyr::document::kUnitS;
    else if (minutesAndHours && suffix == "m") unit = lyr::document::kUnitMinute;
    else if (minutesAndHours && suffix == "h") unit = lyr::document::kUnitHour;
    else return false;
    number = text.substr(0, end);
    return true;
}

bool parseTimeArgument(const std::string& text, std::int64_t& ns) {
    std::string number;
    int unit = 0;
    return splitTimeArgument(text, number, unit) && lyr::document::parseTime(number, unit, ns);
}

bool parseCountArgument(const std::string& text, std::uint32_t& value) {
    return lyr::document::parseUnsigned(text, value);
}

std::unique_ptr<lyr::document::CSYNDoc> makeDocument(const char* command) {
    std::string message;
    auto doc = lyr::document::CSYNDoc::create(message);
    if (!doc) printErr("lyrtool %s: %s (%s)\n", command, message.c_str(), englishGloss(message).c_str());
    return doc;
}

int openWaveform(const char* command, const std::string& path, OpenedWaveform& out) {
    if (!lyr::document::formatOfPath(path)) {
        printErr("lyrtool %s: %s: not a waveform file name (.lyr or .syn)\n", command, path.c_str());
        return kRefused;
    }
    out.doc = makeDocument(command);
    if (!out.doc) return kRefused;
    out.result = lyr::app::openAsEditor(path, *out.doc, out.extras);
    if (!out.result.ok) return refused(command, path, out.result.message);
    return kOk;
}

int saveWaveform(const char* command, const std::string& path, lyr::document::CSYNDoc& doc,
                 const lyr::document::StoredExtras& extras) {
    lyr::app::DocumentStore store(doc);
    std::string message;
    if (!store.save(path, extras, message)) return refused(command, path, message);
    if (!message.empty()) {
        const std::string gloss = englishGloss(message);
        printErr("lyrtool %s: %s: %s%s%s%s\n", command, path.c_str(), message.c_str(),
                     gloss.empty() ? "" : " (", gloss.c_str(), gloss.empty() ? "" : ")");
    }
    return kOk;
}

lyr::document::ViewStateRecord resetViewRecord(std::uint32_t sampleCount) {
    lyr::view::ViewState view;
    view.attach(sampleCount, 0, 999);
    return view.toRecord();
}

std::string englishGloss(const std::string& message) {
    namespace wf = lyr::document::wavefile;
    static const std::map<std::string, std::string> glosses = {
        {wf::kMsgOpenError, "file open error"},
        {wf::kMsgReadError, "file read error"},
        {wf::kMsgFormatError, "file format error"},
        {wf::kMsgWriteError, "file write error"},
        {wf::kMsgReadMemory, "not enough memory to read the file"},
        {wf::kMsgSavedInPlace, "the folder takes no new file; the file was rewritten in place"},
        {lyr::document::CSYNDoc::kMemoryMessage, "not enough memory for the waveform"},
        {lyr::app::kInvalidParameterMessage, "invalid parameter"},
    };
    auto it = glosses.find(message);
    if (it != glosses.end()) return it->second;
    if (message.starts_with(wf::kMsgOldBytesKept))
        return "file write error; the old contents could not be put back and are kept in the file named";
    return std::string();
}

int refused(const char* command, const std::string& path, const std::string& message) {
    const std::string gloss = englishGloss(message);
    if (gloss.empty())
        printErr("lyrtool %s: %s: %s\n", command, path.c_str(), message.c_str());
    else
        printErr("lyrtool %s: %s: %s (%s)\n", command, path.c_str(), message.c_str(), gloss.c_str());
    return kRefused;
}

}  // namespace lyrtool
