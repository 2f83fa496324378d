// lyrtool device commands: devices, upload, start, stop, force-stop, status.
// They reach the unit through the same D2XX binding and protocol as the
// editor's output window and report failures with the window's messages.
#include <cstdio>
#include <string>
#include <vector>

#include "common.h"
#include "device_session.h"

namespace lyrtool {
namespace {

namespace dev = lyr::device;

constexpr const char* kUploadFailed = "データ設定できませんでした。";
constexpr const char* kStartFailed = "スタートできませんでした。";
constexpr const char* kStopFailed = "ストップできませんでした。";
constexpr const char* kForceStopFailed = "強制ストップできませんでした。";
constexpr const char* kRepeatCountInvalid = "繰り返し回数が不正です。";

bool parseDeviceArgs(const char* name, const std::vector<std::string>& args, std::size_t positional,
                     const std::set<std::string>& flags, ParsedArgs& parsed, int& rc) {
    std::string error;
    if (!parseArgs(args, {"--serial"}, flags, parsed, error)) {
        rc = usageError(name, error);
        return false;
    }
    if (parsed.positional.size() != positional) {
        rc = usageError(name, positional ? "expects one waveform file" : "takes no file");
        return false;
    }
    return true;
}

// The output window refuses such a count before anything is sent.
bool repeatCountValid(const lyr::document::CSYNDoc& doc) {
    const lyr::document::OutputSettings& settings = doc.outputSettings();
    if (settings.outputMode != 1 || (settings.repeatCount >= 1 && settings.repeatCount <= 65536)) return true;
    printErr("lyrtool upload: %s (%d)\n", kRepeatCountInvalid, settings.repeatCount);
    return false;
}

std::string serialOf(const ParsedArgs& parsed) {
    auto it = parsed.values.find("--serial");
    return it == parsed.values.end() ? std::string() : it->second;
}

}  // namespace

int listSerials(Session& session, std::vector<std::string>& serials) {
    if (int rc = session.bind(); rc != kOk) return rc;
    constexpr int kCapacity = 64;
    std::vector<dev::SerialSlot> slots(kCapacity);
    std::vector<dev::SerialSlot*> pointers(kCapacity + 1, nullptr);
    for (int i = 0; i < kCapacity; ++i) pointers[i] = &slots[i];
    dev::DWORD count = 0;
    dev::Status s = dev::listDevices(session.api(), pointers.data(), count);
    if (s != dev::FT_OK) {
        printErr("lyrtool devices: the device list failed (status %u)\n", s);
        return kNoDevice;
    }
    serials.clear();
    for (dev::DWORD i = 0; i < count; ++i) serials.emplace_back(slots[i].data());
    return kOk;
}

int uploadDocument(Session& session, const lyr::document::CSYNDoc& doc) {
    if (!repeatCountValid(doc)) return kRefused;
    const lyr::document::OutputSettings settings = doc.outputSettings();
    dev::DeviceState state{};
    dev::ButtonState buttons;
    dev::Status s = session.readButtons(doc.hasWaveform(), state, buttons);
    if (s != dev::FT_OK) return session.fail(kUploadFailed, s);
    if (!buttons.transferEnabled) return session.refuse(kUploadFailed, state);
    dev::SampleTracks tracks;
    tracks.analog = doc.analog();
    for (int k = 0; k < 8; ++k) tracks.digital[k] = doc.digital(k);
    std::vector<std::uint16_t> words(lyr::document::kMaxSamples);
    s = dev::uploadWaveform(session.api(), session.handle(), settings, doc.sampleCount(), doc.samplingUnits(),
                            tracks, doc.analogResolution(), words.data());
    return s == dev::FT_OK ? kOk : session.fail(kUploadFailed, s);
}

int playback(Session& session, Playback command) {
    // A unit with nothing loaded, running, or started by its trigger input
    // ignores the start: the window's "スタート" is grey then.
    if (command == Playback::Start) {
        dev::DeviceState state{};
        dev::ButtonState buttons;
        dev::Status s = session.readButtons(true, state, buttons);
        if (s != dev::FT_OK) return session.fail(kStartFailed, s);
        if (!(buttons.startStopEnabled && buttons.startLabelIsStart)) return session.refuse(kStartFailed, state);
        s = dev::startOutput(session.api(), session.handle());
        return s == dev::FT_OK ? kOk : session.fail(kStartFailed, s);
    }
    const bool force = command == Playback::ForceStop;
    dev::Status s = (force ? dev::forceStop : dev::stopOutput)(session.api(), session.handle());
    return s == dev::FT_OK ? kOk : session.fail(force ? kForceStopFailed : kStopFailed, s);
}

int readStatus(Session& session, Json& out) {
    dev::DeviceStatus st;
    lyr::document::OutputSettings settings;
    dev::Status s = dev::readStatus(session.api(), session.handle(), st);
    if (s == dev::FT_OK) s = dev::readDeviceSettings(session.api(), session.handle(), settings);
    if (s != dev::FT_OK) return session.fail(kNotConnected, s);
    out = Json::object();
    out.set("running", st.running);
    out.set("transferError", st.transferError);
    out.set("dataReady", st.dataReady);
    out.set("clockFault", st.clockFault);
    out.set("firmwareVersion", static_cast<int>(st.firmwareVersion));
    out.set("state", dev::stateName(dev::deriveState(st)));
    Json device = Json::object();
    device.set("startControl", static_cast<int>(settings.startControl));
    device.set("outputMode", static_cast<int>(settings.outputMode));
    device.set("analogStop", static_cast<int>(settings.analogStop));
    device.set("digitalStop", static_cast<int>(settings.digitalStop));
    device.set("syncPolarity", static_cast<int>(settings.syncPolarity));
    device.set("syncPulseWidth", static_cast<int>(settings.syncPulseWidth));
    device.set("triggerMode", static_cast<int>(settings.triggerMode));
    device.set("triggerPolarity", static_cast<int>(settings.triggerPolarity));
    device.set("retrigger", static_cast<int>(settings.retrigger));
    device.set("repeatCount", settings.repeatCount);
    device.set("analogResolution", static_cast<int>(settings.analogResolution));
    out.set("settings", std::move(device));
    return kOk;
}

namespace {

int runDevices(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    std::string error;
    if (!parseArgs(args, {}, {}, parsed, error)) return usageError("devices", error);
    if (!parsed.positional.empty()) return usageError("devices", "takes no arguments");
    Session session("devices");
    std::vector<std::string> serials;
    if (int rc = listSerials(session, serials); rc != kOk) return rc;
    for (const auto& serial : serials) printOut("%s\n", serial.c_str());
    if (serials.empty()) {
        printErr("lyrtool devices: no %s connected\n", dev::MODEL_NAME);
        return kNoDevice;
    }
    return kOk;
}

int runUpload(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    int rc = kOk;
    if (!parseDeviceArgs("upload", args, 1, {}, parsed, rc)) return rc;
    OpenedWaveform file;
    if ((rc = openWaveform("upload", parsed.positional[0], file)) != kOk) return rc;
    if (!repeatCountValid(*file.doc)) return kRefused;
    Session session("upload");
    if ((rc = session.open(serialOf(parsed))) != kOk) return rc;
    if ((rc = uploadDocument(session, *file.doc)) != kOk) return rc;
    printOut("uploaded %u samples\n", file.doc->sampleCount());
    return kOk;
}

int runPlayback(const char* name, const std::vector<std::string>& args, Playback command) {
    ParsedArgs parsed;
    int rc = kOk;
    if (!parseDeviceArgs(name, args, 0, {}, parsed, rc)) return rc;
    Session session(name);
    if ((rc = session.open(serialOf(parsed))) != kOk) return rc;
    return playback(session, command);
}

int runStart(const std::vector<std::string>& args) { return runPlayback("start", args, Playback::Start); }
int runStop(const std::vector<std::string>& args) { return runPlayback("stop", args, Playback::Stop); }
int runForceStop(const std::vector<std::string>& args) {
    return runPlayback("force-stop", args, Playback::ForceStop);
}

int runStatus(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    int rc = kOk;
    if (!parseDeviceArgs("status", args, 0, {"--json"}, parsed, rc)) return rc;
    Session session("status");
    if ((rc = session.open(serialOf(parsed))) != kOk) return rc;
    Json out;
    if ((rc = readStatus(session, out)) != kOk) return rc;
    const std::string text = parsed.flags.count("--json") ? out.dump() : out.listing();
    writeOut(text);
    if (!text.empty() && text.back() != '\n') writeOut("\n");
    return kOk;
}

const bool registered = [] {
    registerCommand({"devices", "list the serial numbers of connected PGX-500 units",
                     "Usage: lyrtool devices\n\n"
                     "Prints the serial number of each connected PGX-500, one per line, in the\n"
                     "D2XX library's order. Exit 3 without library or unit.\n",
                     runDevices});
    registerCommand({"upload", "write a waveform file into the PGX-500",
                     "Usage: lyrtool upload FILE [--serial S]\n\n"
                     "Sends the file's output settings, analog resolution, time base and samples\n"
                     "as the output window's data transfer does. Without --serial the first\n"
                     "PGX-500 is used. Refused (exit 1) while the unit runs or reports a clock\n"
                     "fault. Exit 1 when the unit refuses, 3 without library or unit.\n",
                     runUpload});
    registerCommand({"start", "start playback",
                     "Usage: lyrtool start [--serial S]\n\n"
                     "Starts a unit that holds a waveform and is idle (state Ready) under software\n"
                     "start control; otherwise refused with exit 1, as the output window greys\n"
                     "its start button.\n",
                     runStart});
    registerCommand({"stop", "stop playback", "Usage: lyrtool stop [--serial S]\n", runStop});
    registerCommand({"force-stop", "stop playback at once",
                     "Usage: lyrtool force-stop [--serial S]\n", runForceStop});
    registerCommand({"status", "show the unit's status and settings",
                     "Usage: lyrtool status [--serial S] [--json]\n\n"
                     "Prints the status word's fields, the derived state (NotSetUp, Ready,\n"
                     "Running, Fault, ClockFault) and the settings the unit holds.\n",
                     runStatus});
    return true;
}();

}  // namespace
}  // namespace lyrtool
