// lyrtool info: what the editor sees when it opens a waveform file.
#include <cstdio>
#include <string>

#include "document/cp932.h"
#include "command.h"
#include "common.h"
#include "info.h"
#include "json_writer.h"

namespace lyrtool {
namespace {

using lyr::document::CSYNDoc;
using lyr::document::StoredExtras;

// Keys of the editor records, in the order EditorSettings::forEachRecord visits them.
constexpr const char* kRecordKeys[] = {"sine",     "rectangle", "dc",     "ramp",   "exp",
                                       "noise",    "manual",    "external", "clock", "serial",
                                       "parallel", "modify",    "shift",  "swap"};

Json outputSettingsJson(const lyr::document::OutputSettings& s) {
    Json o = Json::object();
    o.set("startControl", int{s.startControl});
    o.set("outputMode", int{s.outputMode});
    o.set("analogStop", int{s.analogStop});
    o.set("digitalStop", int{s.digitalStop});
    o.set("triggerMode", int{s.triggerMode});
    o.set("triggerPolarity", int{s.triggerPolarity});
    o.set("syncPolarity", int{s.syncPolarity});
    o.set("syncPulseWidth", int{s.syncPulseWidth});
    o.set("repeatCount", s.repeatCount);
    o.set("retrigger", int{s.retrigger});
    o.set("analogResolution", int{s.analogResolution});
    return o;
}

Json viewStateJson(const lyr::document::ViewStateRecord& v) {
    Json o = Json::object();
    lyr::document::ViewStateRecord::forEachField(v, [&](const char* name, const auto& field, bool) {
        if constexpr (requires { field.size(); }) {
            Json a = Json::array();
            for (auto element : field) a.push(element);
            o.set(name, std::move(a));
        } else {
            o.set(name, field);
        }
    });
    return o;
}

struct FieldToJson {
    Json& record;
    template <class T>
    void operator()(const char* name, const T& value) const {
        if constexpr (std::is_same_v<T, double>)
            record.set(name, value);
        else if constexpr (std::is_same_v<T, std::uint8_t>)
            record.set(name, int{value});
        else
            record.set(name, static_cast<std::int64_t>(value));
    }
};

Json editorSettingsJson(const lyr::document::EditorSettings& settings) {
    Json o = Json::object();
    std::size_t k = 0;
    lyr::document::EditorSettings::forEachRecord(settings, [&](const char*, const auto& record) {
        Json r = Json::object();
        std::remove_cvref_t<decltype(record)>::forEachField(record, FieldToJson{r});
        o.set(kRecordKeys[k++], std::move(r));
    });
    return o;
}

std::string signalName(const lyr::document::SignalName& name) {
    std::string raw;
    for (char c : name) {
        if (c == '\0') break;
        raw.push_back(c);
    }
    return lyr::document::cp932ToUtf8(raw);
}

Json waveformJson(const CSYNDoc& doc, const StoredExtras& extras, const lyr::document::OpenResult& r) {
    Json o = Json::object();
    o.set("format", r.format == lyr::document::FileFormat::Syn ? "syn" : "lyr");
    o.set("formatVersion", r.formatVersion);
    o.set("totalTime", doc.totalTime());
    o.set("samplingUnits", doc.samplingUnits());
    o.set("samplingTime", doc.samplingTime());
    o.set("sampleCount", doc.sampleCount());
    o.set("timeUnit", doc.timeUnitNs());
    o.set("revisionId", doc.revisionId());
    o.set("documentId", doc.documentId());
    o.set("modificationCount", doc.modificationCount());
    Json names = Json::array();
    for (const auto& n : doc.signalNames()) names.push(signalName(n));
    o.set("signalNames", std::move(names));
    o.set("reservedFlag1", int{extras.reservedFlag1 != 0});
    o.set("editLocked", int{extras.editLocked});
    o.set("reservedFlag2", int{extras.reservedFlag2 != 0});
    o.set("reservedFlag3", int{extras.reservedFlag3 != 0});
    o.set("deviceText", lyr::document::cp932ToUtf8(extras.deviceText));
    o.set("outputSettings", outputSettingsJson(doc.outputSettings()));
    o.set("viewState", viewStateJson(extras.viewState));
    o.set("editorSettings", editorSettingsJson(doc.editorSettings()));
    return o;
}

}  // namespace

Json waveformInfo(const OpenedWaveform& w) {
    StoredExtras extras = w.extras;
    // After a reduced import the editor's view starts over: show that view.
    if (!w.result.fullImport) extras.viewState = resetViewRecord(w.doc->sampleCount());
    return waveformJson(*w.doc, extras, w.result);
}

namespace {

int run(const std::vector<std::string>& args) {
    ParsedArgs a;
    std::string error;
    if (!parseArgs(args, {}, {"--json"}, a, error)) return usageError("info", error);
    if (a.positional.size() != 1) return usageError("info", "expects one FILE");
    OpenedWaveform w;
    if (int status = openWaveform("info", a.positional[0], w); status != kOk) return status;
    const Json info = waveformInfo(w);
    const std::string text = a.has("--json") ? info.dump() + "\n" : info.listing();
    writeOut(text);
    return kOk;
}

const bool registered = registerCommand({
    "info",
    "show a waveform file as the editor opens it",
    "Usage: lyrtool info FILE [--json]\n"
    "\n"
    "Opens FILE as the editor does (a .syn file is converted, a .lyr file of\n"
    "another format version gets the reduced import) and shows its time base,\n"
    "identifiers, signal names, file flags, device text, output settings, view\n"
    "state and editor settings. Times are in ns. Fixed texts are decoded from\n"
    "code page 932; bytes without a character are shown as <XX>.\n"
    "\n"
    "  --json   one JSON object instead of 'key: value' lines\n"
    "\n"
    "Exit status: 0 shown, 1 file refused (the reader's message on stderr),\n"
    "2 usage error.\n",
    run,
});

}  // namespace
}  // namespace lyrtool
