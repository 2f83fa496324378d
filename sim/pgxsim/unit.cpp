#include "unit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace pgxsim {

namespace {

std::uint32_t reg32(const DeviceRecord& r, int high, int low) {
    return (static_cast<std::uint32_t>(r.registers[high]) << 16) | r.registers[low];
}

bool knownCommand(std::uint16_t v) {
    return v == kCmdStart || v == kCmdStop || v == kCmdLoad || v == kCmdForceStop;
}

}  // namespace

void storeCalibration(std::uint8_t* ua, std::uint16_t c1, std::uint16_t c2, std::int32_t l1, std::int32_t l2) {
    std::memcpy(ua + 36, &c1, 2);
    std::memcpy(ua + 38, &c2, 2);
    std::memcpy(ua + 40, &l1, 4);
    std::memcpy(ua + 44, &l2, 4);
    std::uint16_t sum = 0;
    for (int i = 0; i < 48; i += 2) sum = static_cast<std::uint16_t>(sum + (ua[i] | (ua[i + 1] << 8)));
    std::memcpy(ua + 48, &sum, 2);
}

void initRecord(DeviceRecord& r, const std::string& serial) {
    std::memset(static_cast<void*>(&r), 0, offsetof(DeviceRecord, samples));
    r.magic = kRecordMagic;
    r.version = kRecordVersion;
    std::snprintf(r.serial, sizeof r.serial, "%s", serial.c_str());
    r.registers[kRegConfig] = 2u << 12;  // 12-bit analog after power-up
    // Bytes 0 .. 35 are the unit's own; filled so that the checksum covers something.
    for (int i = 0; i < 36; ++i) r.userArea[i] = static_cast<std::uint8_t>(0x30 + i);
    storeCalibration(r.userArea, 1000, 15000, -100000, 100000);
}

void Unit::note(const std::string& event) {
    if (events_) events_->push_back(event);
}

// A repeat run ends by itself after repeat x N x Ts.
void Unit::updateRun() {
    if (!r_.running || !(r_.registers[kRegConfig] & 0x4)) return;
    const std::uint64_t n = static_cast<std::uint64_t>(reg32(r_, kRegCountHigh, kRegCountLow)) + 1;
    const std::uint64_t tsNs = (static_cast<std::uint64_t>(reg32(r_, kRegPeriodHigh, kRegPeriodLow)) + 1) * 10;
    const std::uint64_t repeat = static_cast<std::uint64_t>(r_.registers[kRegRepeat]) + 1;
    const long double duration = static_cast<long double>(n) * tsNs * repeat;
    if (static_cast<long double>(c_.nowNs - r_.runStartNs) >= duration) r_.running = 0;
}

bool Unit::running() {
    updateRun();
    return r_.running != 0;
}

std::uint16_t Unit::statusWord() {
    updateRun();
    unsigned w = 0;
    if (r_.running) w |= 1u;
    if (r_.transferError) w |= 1u << 4;
    if (r_.dataValid) w |= 1u << 5;
    if (c_.clockFault) w |= 1u << 7;
    w |= (c_.firmware & 0xFFu) << 8;
    return static_cast<std::uint16_t>(w);
}

void Unit::abandonLoad() {
    if (r_.loadExpectedBytes == 0) return;
    r_.loadExpectedBytes = 0;
    r_.loadComplete = 0;
    note("LOAD ABANDONED");
}

void Unit::finishLoad() {
    r_.loadComplete = 1;
    r_.loadedWords = r_.loadReceivedBytes / 2;
    if (c_.transferError) {
        r_.transferError = 1;
        r_.loadComplete = 0;
    }
}

void Unit::runCommand(std::uint16_t command) {
    switch (command) {
    case kCmdStart:
        updateRun();
        if (r_.dataValid && !c_.clockFault && !r_.running) {
            r_.running = 1;
            r_.runStartNs = c_.nowNs;
        }
        break;
    case kCmdStop:
    case kCmdForceStop:
        r_.running = 0;
        break;
    case kCmdLoad: {
        r_.running = 0;
        r_.dataValid = 0;
        r_.transferError = 0;
        r_.loadComplete = 0;
        r_.loadReceivedBytes = 0;
        const std::uint32_t words = reg32(r_, kRegCountHigh, kRegCountLow) + 1;  // N = 0 wraps to 0
        if (words > kCapacityWords) {
            r_.transferError = 1;
            r_.loadExpectedBytes = 0;
            break;
        }
        r_.loadExpectedBytes = 2 * words;
        if (words == 0) finishLoad();
        break;
    }
    default:
        break;
    }
}

Reply Unit::handleFrame(const std::uint8_t* f) {
    Reply reply = {f[0], f[1], f[2], f[3], f[4], f[5]};
    const std::uint8_t reg = f[2];
    const std::uint16_t value = static_cast<std::uint16_t>(f[3] | (f[4] << 8));
    char text[16];
    if (f[0] == 0xB4) std::snprintf(text, sizeof text, "R%d", reg);
    else std::snprintf(text, sizeof text, "W%d=%04X", reg, value);
    note(text);
    bool understood = f[1] == 0 && reg < kRegisterCount;
    if (understood && f[0] == 0xD2 && f[5] == 0x2D) {
        if (reg == kRegStatus || (reg == kRegCommand && !knownCommand(value))) {
            understood = false;
        } else if (reg == kRegCommand) {
            runCommand(value);
        } else if (reg == kRegDataValid) {
            r_.registers[reg] = value;
            // Valid only over a complete load; marking invalid also ends a run.
            r_.dataValid = value == 1 && r_.loadComplete && !r_.transferError;
            if (value != 1) r_.running = 0;
        } else {
            r_.registers[reg] = value;
        }
    } else if (understood && f[0] == 0xB4 && f[5] == 0x4B) {
        std::uint16_t out = 0;
        if (reg == kRegStatus) out = statusWord();
        else if (reg == kRegRepeat || reg == kRegConfig) out = r_.registers[reg];
        else understood = false;
        reply[3] = static_cast<std::uint8_t>(out);
        reply[4] = static_cast<std::uint8_t>(out >> 8);
    } else {
        understood = false;
    }
    if (!understood) reply = {0xEE, 0xEE, reply[2], 0, 0, 0xEE};
    ++r_.frames;
    return reply;
}

void Unit::receive(const std::uint8_t* data, std::size_t length, std::vector<Reply>& replies) {
    std::size_t pos = 0;
    while (pos < length) {
        if (r_.loadExpectedBytes > 0) {
            const std::size_t take = std::min<std::size_t>(r_.loadExpectedBytes, length - pos);
            std::memcpy(reinterpret_cast<std::uint8_t*>(r_.samples) + r_.loadReceivedBytes, data + pos, take);
            r_.loadReceivedBytes += static_cast<std::uint32_t>(take);
            r_.loadExpectedBytes -= static_cast<std::uint32_t>(take);
            pos += take;
            note("RAW " + std::to_string(take));
            if (r_.loadExpectedBytes == 0) finishLoad();
            continue;
        }
        std::uint8_t frame[6] = {};
        std::memcpy(frame, data + pos, std::min<std::size_t>(6, length - pos));
        replies.push_back(handleFrame(frame));  // a torn frame is not understood
        pos += 6;
    }
}

}  // namespace pgxsim
