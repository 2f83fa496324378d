#pragma once
// One PGX-500 as its firmware behaves: the ten registers, the run and load
// states, the status word, the sample memory and the EEPROM user area. It
// works on a DeviceRecord, which may live in a state file shared between
// processes, and is told the time and the unit's own faults on each use.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pgxsim_state.h"

namespace pgxsim {

using Reply = std::array<std::uint8_t, 6>;

// Register numbers and commands as the unit decodes them.
enum : std::uint8_t {
    kRegCommand = 0,
    kRegStatus = 1,
    kRegCountLow = 2,
    kRegCountHigh = 3,
    kRegPeriodLow = 4,
    kRegPeriodHigh = 5,
    kRegRepeat = 6,
    kRegConfig = 7,
    kRegZeroLevel = 8,
    kRegDataValid = 9,
};
enum : std::uint16_t { kCmdStart = 0x0001, kCmdStop = 0x0002, kCmdLoad = 0x0010, kCmdForceStop = 0x0080 };

// What the unit is told besides the bytes it receives.
struct UnitConditions {
    std::int64_t nowNs = 0;
    bool clockFault = false;     // status bit 7; the unit does not start
    bool transferError = false;  // every load fails
    unsigned firmware = 3;       // status bits 8 .. 15
};

// A fresh unit: registers cleared but for 12-bit analog, the default user area.
void initRecord(DeviceRecord& record, const std::string& serial);
// Calibration points at bytes 36 .. 47 and the checksum of bytes 0 .. 47.
void storeCalibration(std::uint8_t* userArea, std::uint16_t code1, std::uint16_t code2,
                      std::int32_t level1, std::int32_t level2);

class Unit {
public:
    // events, when given, receives the unit's reading of what it was sent:
    // "W<reg>=<value hex>", "R<reg>", "RAW <bytes>".
    Unit(DeviceRecord& record, const UnitConditions& conditions, std::vector<std::string>* events = nullptr)
        : r_(record), c_(conditions), events_(events) {}

    // Written bytes: sample data while a load awaits it, else 6-byte frames.
    // One reply per frame is appended; a frame it does not understand (also a
    // torn one) is answered with bytes that echo nothing.
    void receive(const std::uint8_t* data, std::size_t length, std::vector<Reply>& replies);
    std::uint16_t statusWord();
    bool running();
    // The USB side was reset: a load still waiting for bytes is given up,
    // and the unit reads frames again (its data stays invalid).
    void abandonLoad();

private:
    Reply handleFrame(const std::uint8_t* frame);
    void runCommand(std::uint16_t command);
    void finishLoad();
    void updateRun();
    void note(const std::string& event);

    DeviceRecord& r_;
    UnitConditions c_;
    std::vector<std::string>* events_;
};

}  // namespace pgxsim
