#pragma once
// The device side of lyrtool's commands (devices, upload, start, stop,
// force-stop, status) on a session the caller holds open: the tool opens one
// per command, the Python module one per Unit.
#include <string>
#include <vector>

#include "command.h"
#include "device/device_library.h"
#include "device/device_link.h"
#include "device/output_window.h"
#include "device/protocol.h"
#include "document/syn_doc.h"
#include "json_writer.h"

namespace lyrtool {

// The output window's text for a unit that does not answer.
inline constexpr const char* kNotConnected = "PGX-500 未接続";

// The bound library and one open unit, closed and released on scope exit.
class Session {
public:
    explicit Session(const char* command) : command_(command) {}
    // The command the messages name from now on.
    void setCommand(const char* command) { command_ = command; }
    ~Session() {
        if (handle_) lyr::device::closeDevice(library_.api(), handle_);
        lyr::device::unbindDeviceLibrary(library_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // kOk, or kNoDevice after a message.
    int bind() {
        if (lyr::device::bindDeviceLibrary(library_)) return kOk;
        printErr("lyrtool %s: no D2XX library (%s or set %s)\n", command_, lyr::device::defaultLibraryName(),
                 lyr::device::kLibraryVariable);
        return kNoDevice;
    }
    int open(const std::string& serial) {
        int rc = bind();
        if (rc != kOk) return rc;
        lyr::device::Status s = lyr::device::openDevice(library_.api(), serial.c_str(), handle_);
        if (s == lyr::device::FT_OK) return kOk;
        printErr("lyrtool %s: %s (status %u)\n", command_, kNotConnected, s);
        return kNoDevice;
    }
    const lyr::device::D2xxApi& api() const { return library_.api(); }
    lyr::device::FT_HANDLE handle() const { return handle_; }
    int fail(const char* message, lyr::device::Status s) const {
        printErr("lyrtool %s: %s (status %u)\n", command_, message, s);
        return kRefused;
    }
    // The unit's state and the output window's buttons for it, so that the
    // tool refuses what the window would grey out.
    lyr::device::Status readButtons(bool hasWaveform, lyr::device::DeviceState& state, lyr::device::ButtonState& buttons) const {
        lyr::device::DeviceStatus status;
        lyr::document::OutputSettings held;
        lyr::device::Status s = lyr::device::readStatus(api(), handle_, status);
        if (s == lyr::device::FT_OK) s = lyr::device::readDeviceSettings(api(), handle_, held);
        if (s != lyr::device::FT_OK) return s;
        state = lyr::device::deriveState(status);
        buttons = lyr::device::deriveButtons(state, held, hasWaveform);
        return s;
    }
    int refuse(const char* message, lyr::device::DeviceState state) const {
        printErr("lyrtool %s: %s (refused: the unit is %s%s)\n", command_, message, lyr::device::stateName(state),
                 state == lyr::device::DeviceState::Ready ? " and starts on its trigger input" : "");
        return kRefused;
    }

private:
    const char* command_;
    lyr::device::DeviceLibrary library_;
    lyr::device::FT_HANDLE handle_ = nullptr;
};

// The serial numbers of the connected units, in the library's order (none
// is no error here); kOk, or kNoDevice after the message.
int listSerials(Session& session, std::vector<std::string>& serials);

// Sends the document's output settings, resolution, time base and samples as
// the output window's data transfer does; kOk, or kRefused after the message.
int uploadDocument(Session& session, const lyr::document::CSYNDoc& doc);

enum class Playback { Start, Stop, ForceStop };
// kOk, or kRefused after the message (also when the window would grey the command).
int playback(Session& session, Playback command);

// The unit's status word, derived state and held settings, as `lyrtool
// status --json` prints them; kOk, or kRefused after the message.
int readStatus(Session& session, Json& out);

}  // namespace lyrtool
