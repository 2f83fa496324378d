#include "environment.h"

#include <cstdio>
#include <cstdlib>

namespace pgxsim {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::vector<std::string> splitCommas(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

}  // namespace

std::vector<DeviceEntry> parseDevices(const std::string& text) {
    std::vector<DeviceEntry> list;
    if (text.empty()) return {{kDefaultSerial, kModelName}};
    for (const std::string& item : splitCommas(text)) {
        if (item.empty()) continue;
        const std::size_t colon = item.find(':');
        list.push_back({item.substr(0, colon).substr(0, 63),
                        colon == std::string::npos ? kModelName : item.substr(colon + 1).substr(0, 63)});
    }
    return list;
}

Faults parseFaults(const std::string& text) {
    Faults f;
    for (const std::string& t : splitCommas(text)) {
        if (t == "clock") f.clock = true;
        else if (t == "transfer-error") f.transferError = true;
        else if (t == "unplugged") f.unplugged = true;
        else if (t.rfind("unplug-after=", 0) == 0) f.unplugAfter = std::atol(t.c_str() + 13);
        else if (t == "short-read") f.readShortBy = 1;
        else if (t == "bad-echo") f.badEcho = true;
        else if (t == "timeout") f.timeout = true;
        else if (t == "user-area-checksum") f.userAreaChecksum = true;
        else if (t == "user-area-short") f.userAreaShort = true;
        else if (t == "reset-fail") f.resetFail = true;
    }
    return f;
}

std::optional<std::array<std::int32_t, 4>> parseCalibration(const std::string& text) {
    long v[4] = {};
    if (text.empty() || std::sscanf(text.c_str(), "%ld,%ld,%ld,%ld", &v[0], &v[1], &v[2], &v[3]) != 4)
        return std::nullopt;
    return std::array<std::int32_t, 4>{static_cast<std::int32_t>(v[0]), static_cast<std::int32_t>(v[1]),
                                       static_cast<std::int32_t>(v[2]), static_cast<std::int32_t>(v[3])};
}

void Environment::apply(Model& model) {
    const std::string devices = env("PGXSIM_DEVICES"), state = env("PGXSIM_STATE"), faults = env("PGXSIM_FAULT");
    if (!applied_ || devices != devices_ || state != state_) {
        // With a handle open the model stays as it is until the next call.
        if (model.setDevices(parseDevices(devices), state)) {
            devices_ = devices;
            state_ = state;
        }
    }
    if (!applied_ || faults != faults_) {
        model.setFaults(parseFaults(faults));
        faults_ = faults;
    }
    applied_ = true;
    model.calibration = parseCalibration(env("PGXSIM_CALIBRATION"));
    const std::string firmware = env("PGXSIM_FIRMWARE");
    model.firmware = firmware.empty() ? 3u : static_cast<unsigned>(std::atoi(firmware.c_str())) & 0xFFu;
    const std::string timeout = env("PGXSIM_TIMEOUT_MS");
    model.readTimeoutMs = timeout.empty() ? std::nullopt
                                          : std::optional<std::uint32_t>(static_cast<std::uint32_t>(std::atol(timeout.c_str())));
    model.logPath = env("PGXSIM_LOG");
}

}  // namespace pgxsim

namespace pgxsim {

std::int64_t EnvironmentClock::nowNs() {
    const std::string path = env("PGXSIM_CLOCK");
    return path.empty() ? system_.nowNs() : FileClock(path).nowNs();
}

void EnvironmentClock::waitMs(std::uint32_t ms) {
    const std::string path = env("PGXSIM_CLOCK");
    if (path.empty()) system_.waitMs(ms);
    else FileClock(path).waitMs(ms);
}

}  // namespace pgxsim
