#pragma once
// The PGXSIM_* variables that configure the exported library:
//   PGXSIM_DEVICES      "SERIAL:DESCRIPTION,..." (default one PGX-500)
//   PGXSIM_STATE        file that holds the units, shared between processes
//   PGXSIM_LOG          file to which every frame and raw transfer is appended
//   PGXSIM_CALIBRATION  "code1,code2,level1,level2" for the EEPROM user area
//   PGXSIM_FIRMWARE     firmware version in the status word (default 3)
//   PGXSIM_TIMEOUT_MS   how long a read waits for a missing reply
//   PGXSIM_FAULT        comma list: clock, transfer-error, unplugged,
//                       unplug-after=K, short-read, bad-echo, timeout,
//                       user-area-checksum, user-area-short, reset-fail
//   PGXSIM_CLOCK        file holding the unit's time in nanoseconds; a read
//                       that times out moves it on instead of sleeping
// All are read on every call, so a test may change them while running;
// devices and state change only while no handle is open.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model.h"

namespace pgxsim {

std::vector<DeviceEntry> parseDevices(const std::string& text);
Faults parseFaults(const std::string& text);
std::optional<std::array<std::int32_t, 4>> parseCalibration(const std::string& text);

// Applies the variables to the model: the refresh the exported library runs
// at every call.
class Environment {
public:
    void apply(Model& model);

private:
    bool applied_ = false;
    std::string devices_, state_, faults_;
};

// The file PGXSIM_CLOCK names, else the wall clock.
class EnvironmentClock final : public Clock {
public:
    std::int64_t nowNs() override;
    void waitMs(std::uint32_t ms) override;

private:
    SystemClock system_;
};

}  // namespace pgxsim
