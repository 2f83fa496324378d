#pragma once
// An in-process D2XX stand-in: a table of function pointers over a small
// device model that records every call and can be told to fail.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "device/d2xx.h"
#include "device/device_link.h"
#include "device/protocol.h"

namespace lyr::test {

struct FakeDevice {
    std::string serial;
    std::string description;
};

class FakeD2xx {
public:
    FakeD2xx();   // becomes the current fake
    ~FakeD2xx();
    FakeD2xx(const FakeD2xx&) = delete;
    FakeD2xx& operator=(const FakeD2xx&) = delete;

    const device::D2xxApi& api() const { return api_; }

    // Device side.
    std::vector<FakeDevice> devices{{"FAKE0001", "PGX-500"}};
    std::map<int, std::uint16_t> registers;  // values returned to reads
    device::UserArea userArea{};
    device::DWORD userAreaLength = 50;
    std::vector<std::uint8_t> samples;       // raw bytes after CMD_LOAD_SAMPLES

    // Recorded traffic: names of calls, every write, and device events
    // ("W9=0000", "R1", "UA", "RAW 100000").
    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<std::string> events;
    int closes = 0;

    // Failure injection.
    std::map<std::string, device::FT_STATUS> failCall;   // by entry point name
    int failWriteNumber = -1;                            // 0-based FT_Write index
    device::FT_STATUS failWriteStatus = device::FT_IO_ERROR;
    device::DWORD writeShortBy = 0;
    device::DWORD readShortBy = 0;
    std::function<void(device::Frame&)> editReply;       // alters each reply
    bool replyNothing = false;                           // reads time out

    // Slot buffer pointers handed to FT_ListDevices are checked against this.
    static FakeD2xx* current;

    // Internals used by the entry points.
    std::deque<std::uint8_t> pending;
    std::uint32_t rawExpected = 0;
    device::FT_STATUS check(const char* name);
    void receive(const std::uint8_t* data, std::size_t length);

private:
    device::D2xxApi api_{};
    FakeD2xx* previous_ = nullptr;
};

// A user area holding the given calibration points with a matching checksum.
device::UserArea makeUserArea(std::uint16_t code1, std::uint16_t code2, std::int32_t level1,
                              std::int32_t level2);

std::string hex(const std::vector<std::uint8_t>& bytes);

}  // namespace lyr::test
