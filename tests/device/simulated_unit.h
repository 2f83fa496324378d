#pragma once
// The simulated PGX-500 in this process, on a clock the test drives, with its
// traffic kept for the test to read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "pgxsim/model.h"

namespace lyr::test {

struct SimulatedUnit {
    pgxsim::ManualClock clock;
    pgxsim::Model model{clock};
    pgxsim::InProcessLibrary library{model};

    SimulatedUnit() { model.keepTraffic = true; }
    const device::D2xxApi& api() const { return library.api(); }

    // An open handle on the first unit, the set-up calls forgotten.
    device::FT_HANDLE open(const char* serial = nullptr) {
        device::FT_HANDLE h = nullptr;
        EXPECT_EQ(device::openDevice(api(), serial, h), device::FT_OK);
        forget();
        return h;
    }
    void forget() {
        model.calls.clear();
        model.events.clear();
        model.traffic.clear();
    }
    void fault(void (*set)(pgxsim::Faults&)) {
        pgxsim::Faults f = model.faults();
        set(f);
        model.setFaults(f);
    }
    // Every FT_Write's bytes, in order.
    std::vector<std::vector<std::uint8_t>> writes() const {
        std::vector<std::vector<std::uint8_t>> w;
        for (const auto& t : model.traffic)
            if (t.tag == 'W') w.push_back(t.bytes);
        return w;
    }
    void setUserArea(const device::UserArea& ua, int unit = 0) {
        std::copy(ua.begin(), ua.end(), model.record(unit).userArea);
    }
};

// A test with the simulated unit open on `h`.
class OpenUnitTest : public ::testing::Test {
protected:
    SimulatedUnit unit;
    device::FT_HANDLE h = unit.open();
    const device::D2xxApi& api() const { return unit.api(); }
};

// A user area holding the given calibration points with a matching checksum.
inline device::UserArea makeUserArea(std::uint16_t code1, std::uint16_t code2, std::int32_t level1,
                                     std::int32_t level2) {
    device::UserArea ua{};
    for (int i = 0; i < 36; ++i) ua[i] = static_cast<std::uint8_t>(i * 7 + 3);
    device::storeCalibrationRecord(ua, code1, code2, level1, level2);
    return ua;
}

inline std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        s += b;
    }
    return s;
}

}  // namespace lyr::test
