// lyrtool device commands: devices, upload, start, stop, force-stop, status.
// They reach the unit through the same D2XX binding and protocol as the
// editor's output window and report failures with the window's messages.
#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "common.h"
#include "device/device_library.h"
#include "device/device_link.h"
#include "device/output_window.h"
#include "device/protocol.h"
#include "json_writer.h"

namespace lyrtool {
namespace {

namespace dev = lyr::device;

constexpr const char* kUploadFailed = "データ設定できませんでした。";
constexpr const char* kStartFailed = "スタートできませんでした。";
constexpr const char* kStopFailed = "ストップできませんでした。";
constexpr const char* kForceStopFailed = "強制ストップできませんでした。";
constexpr const char* kRepeatCountInvalid = "繰り返し回数が不正です。";
constexpr const char* kNotConnected = "PGX-500 未接続";

// The bound library and one open unit, closed and released on scope exit.
class Session {
public:
    explicit Session(const char* command) : command_(command) {}
    ~Session() {
        if (handle_) dev::closeDevice(library_.api(), handle_);
        dev::unbindDeviceLibrary(library_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // kOk, or kNoDevice after a message.
    int bind() {
        if (dev::bindDeviceLibrary(library_)) return kOk;
        std::fprintf(stderr, "lyrtool %s: no D2XX library (%s or set %s)\n", command_,
                     dev::defaultLibraryName(), dev::kLibraryVariable);
        return kNoDevice;
    }
    int open(const std::string& serial) {
        int rc = bind();
        if (rc != kOk) return rc;
        dev::Status s = dev::openDevice(library_.api(), serial.c_str(), handle_);
        if (s == dev::FT_OK) return kOk;
        std::fprintf(stderr, "lyrtool %s: %s (status %u)\n", command_, kNotConnected, s);
        return kNoDevice;
    }
    const dev::D2xxApi& api() const { return library_.api(); }
    dev::FT_HANDLE handle() const { return handle_; }
    int fail(const char* message, dev::Status s) const {
        std::fprintf(stderr, "lyrtool %s: %s (status %u)\n", command_, message, s);
        return kRefused;
    }
    // The unit's state and the output window's buttons for it, so that the
    // tool refuses what the window would grey out.
    dev::Status readButtons(bool hasWaveform, dev::DeviceState& state, dev::ButtonState& buttons) const {
        dev::DeviceStatus status;
        lyr::document::OutputSettings held;
        dev::Status s = dev::readStatus(api(), handle_, status);
        if (s == dev::FT_OK) s = dev::readDeviceSettings(api(), handle_, held);
        if (s != dev::FT_OK) return s;
        state = dev::deriveState(status);
        buttons = dev::deriveButtons(state, held, hasWaveform);
        return s;
    }
    int refuse(const char* message, dev::DeviceState state) const {
        std::fprintf(stderr, "lyrtool %s: %s (refused: the unit is %s%s)\n", command_, message,
                     dev::stateName(state),
                     state == dev::DeviceState::Ready ? " and starts on its trigger input" : "");
        return kRefused;
    }

private:
    const char* command_;
    dev::DeviceLibrary library_;
    dev::FT_HANDLE handle_ = nullptr;
};

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

std::string serialOf(const ParsedArgs& parsed) {
    auto it = parsed.values.find("--serial");
    return it == parsed.values.end() ? std::string() : it->second;
}

int runDevices(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    int rc = kOk;
    std::string error;
    if (!parseArgs(args, {}, {}, parsed, error)) return usageError("devices", error);
    if (!parsed.positional.empty()) return usageError("devices", "takes no arguments");
    Session session("devices");
    if ((rc = session.bind()) != kOk) return rc;
    constexpr int kCapacity = 64;
    std::vector<dev::SerialSlot> slots(kCapacity);
    std::vector<dev::SerialSlot*> pointers(kCapacity + 1, nullptr);
    for (int i = 0; i < kCapacity; ++i) pointers[i] = &slots[i];
    dev::DWORD count = 0;
    dev::Status s = dev::listDevices(session.api(), pointers.data(), count);
    if (s != dev::FT_OK) {
        std::fprintf(stderr, "lyrtool devices: the device list failed (status %u)\n", s);
        return kNoDevice;
    }
    for (dev::DWORD i = 0; i < count; ++i) std::printf("%s\n", slots[i].data());
    if (count == 0) {
        std::fprintf(stderr, "lyrtool devices: no %s connected\n", dev::MODEL_NAME);
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
    const lyr::document::CSYNDoc& doc = *file.doc;
    const lyr::document::OutputSettings settings = doc.outputSettings();
    // The output window refuses such a count before anything is sent.
    if (settings.outputMode == 1 && (settings.repeatCount < 1 || settings.repeatCount > 65536)) {
        std::fprintf(stderr, "lyrtool upload: %s (%d)\n", kRepeatCountInvalid, settings.repeatCount);
        return kRefused;
    }
    Session session("upload");
    if ((rc = session.open(serialOf(parsed))) != kOk) return rc;
    dev::DeviceState state{};
    dev::ButtonState buttons;
    dev::Status s = session.readButtons(doc.hasWaveform(), state, buttons);
    if (s != dev::FT_OK) return session.fail(kUploadFailed, s);
    if (!buttons.transferEnabled) return session.refuse(kUploadFailed, state);
    dev::SampleTracks tracks;
    tracks.analog = doc.analog();
    for (int k = 0; k < 8; ++k) tracks.digital[k] = doc.digital(k);
    std::vector<std::uint16_t> words(lyr::document::kMaxSamples);
    s = dev::uploadWaveform(session.api(), session.handle(), settings, doc.sampleCount(),
                                        doc.samplingUnits(), tracks, doc.analogResolution(), words.data());
    if (s != dev::FT_OK) return session.fail(kUploadFailed, s);
    std::printf("uploaded %u samples\n", doc.sampleCount());
    return kOk;
}

// Whether the window's buttons allow the command; null: always sent.
using Allowed = bool (*)(const dev::ButtonState&);

int runPlayback(const char* name, const std::vector<std::string>& args,
                dev::Status (*operation)(const dev::D2xxApi&, dev::FT_HANDLE), const char* failure,
                Allowed allowed = nullptr) {
    ParsedArgs parsed;
    int rc = kOk;
    if (!parseDeviceArgs(name, args, 0, {}, parsed, rc)) return rc;
    Session session(name);
    if ((rc = session.open(serialOf(parsed))) != kOk) return rc;
    if (allowed) {
        dev::DeviceState state{};
        dev::ButtonState buttons;
        dev::Status s = session.readButtons(true, state, buttons);
        if (s != dev::FT_OK) return session.fail(failure, s);
        if (!allowed(buttons)) return session.refuse(failure, state);
    }
    dev::Status s = operation(session.api(), session.handle());
    return s == dev::FT_OK ? kOk : session.fail(failure, s);
}

int runStart(const std::vector<std::string>& args) {
    // A unit with nothing loaded, running, or started by its trigger input
    // ignores the start: the window's "スタート" is grey then.
    return runPlayback("start", args, dev::startOutput, kStartFailed,
                       [](const dev::ButtonState& b) { return b.startStopEnabled && b.startLabelIsStart; });
}
int runStop(const std::vector<std::string>& args) {
    return runPlayback("stop", args, dev::stopOutput, kStopFailed);
}
int runForceStop(const std::vector<std::string>& args) {
    return runPlayback("force-stop", args, dev::forceStop, kForceStopFailed);
}

int runStatus(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    int rc = kOk;
    if (!parseDeviceArgs("status", args, 0, {"--json"}, parsed, rc)) return rc;
    Session session("status");
    if ((rc = session.open(serialOf(parsed))) != kOk) return rc;
    dev::DeviceStatus st;
    lyr::document::OutputSettings settings;
    dev::Status s = dev::readStatus(session.api(), session.handle(), st);
    if (s == dev::FT_OK) s = dev::readDeviceSettings(session.api(), session.handle(), settings);
    if (s != dev::FT_OK) return session.fail(kNotConnected, s);
    Json out = Json::object();
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
    const std::string text = parsed.flags.count("--json") ? out.dump() : out.listing();
    std::fputs(text.c_str(), stdout);
    if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
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
