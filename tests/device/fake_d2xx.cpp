#include "fake_d2xx.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lyr::test {

using namespace lyr::device;

FakeD2xx* FakeD2xx::current = nullptr;

namespace {

FakeD2xx& fake() { return *FakeD2xx::current; }
void* const kHandle = reinterpret_cast<void*>(0x5000);

FT_STATUS LYR_D2XX_CALL listDevicesFn(void* arg1, void* arg2, DWORD flags) {
    FakeD2xx& f = fake();
    if (FT_STATUS s = f.check("FT_ListDevices")) return s;
    if (flags == FT_LIST_NUMBER_ONLY) {
        *static_cast<DWORD*>(arg1) = static_cast<DWORD>(f.devices.size());
        return FT_OK;
    }
    const auto index = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(arg1));
    if (index >= f.devices.size()) return FT_DEVICE_NOT_FOUND;
    const std::string& text = flags == (FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION)
                                  ? f.devices[index].description
                                  : f.devices[index].serial;
    if (flags != (FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION) &&
        flags != (FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER))
        return FT_INVALID_PARAMETER;
    std::snprintf(static_cast<char*>(arg2), 64, "%s", text.c_str());
    return FT_OK;
}

FT_STATUS LYR_D2XX_CALL openExFn(void* arg1, DWORD flags, FT_HANDLE* handle) {
    FakeD2xx& f = fake();
    if (FT_STATUS s = f.check("FT_OpenEx")) return s;
    f.calls.back() += std::string(" ") + static_cast<const char*>(arg1) + " " + std::to_string(flags);
    for (const auto& d : f.devices) {
        if ((flags == FT_OPEN_BY_SERIAL_NUMBER && d.serial == static_cast<const char*>(arg1)) ||
            (flags == FT_OPEN_BY_DESCRIPTION && d.description == static_cast<const char*>(arg1))) {
            *handle = kHandle;
            return FT_OK;
        }
    }
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS LYR_D2XX_CALL closeFn(FT_HANDLE) {
    FakeD2xx& f = fake();
    ++f.closes;
    return f.check("FT_Close");
}
FT_STATUS LYR_D2XX_CALL resetFn(FT_HANDLE) { return fake().check("FT_ResetDevice"); }
FT_STATUS LYR_D2XX_CALL purgeFn(FT_HANDLE, ULONG mask) {
    FakeD2xx& f = fake();
    f.calls.push_back("mask " + std::to_string(mask));
    return f.check("FT_Purge");
}
FT_STATUS LYR_D2XX_CALL timeoutsFn(FT_HANDLE, ULONG r, ULONG w) {
    FakeD2xx& f = fake();
    f.calls.push_back("timeouts " + std::to_string(r) + " " + std::to_string(w));
    return f.check("FT_SetTimeouts");
}

FT_STATUS LYR_D2XX_CALL writeFn(FT_HANDLE, void* buffer, DWORD length, DWORD* written) {
    FakeD2xx& f = fake();
    *written = 0;
    if (FT_STATUS s = f.check("FT_Write")) return s;
    const int number = static_cast<int>(f.writes.size());
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    f.writes.emplace_back(bytes, bytes + length);
    if (number == f.failWriteNumber) return f.failWriteStatus;
    f.receive(bytes, length);
    *written = length - std::min(length, f.writeShortBy);
    return FT_OK;
}

FT_STATUS LYR_D2XX_CALL readFn(FT_HANDLE, void* buffer, DWORD length, DWORD* received) {
    FakeD2xx& f = fake();
    *received = 0;
    if (FT_STATUS s = f.check("FT_Read")) return s;
    DWORD n = static_cast<DWORD>(std::min<std::size_t>(length, f.pending.size()));
    n -= std::min(n, f.readShortBy);
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (DWORD i = 0; i < n; ++i) {
        out[i] = f.pending.front();
        f.pending.pop_front();
    }
    *received = n;
    return FT_OK;
}

FT_STATUS LYR_D2XX_CALL readEEFn(FT_HANDLE, DWORD, std::uint16_t*) { return fake().check("FT_ReadEE"); }
FT_STATUS LYR_D2XX_CALL eeReadFn(FT_HANDLE, void*) { return fake().check("FT_EE_Read"); }
FT_STATUS LYR_D2XX_CALL uaSizeFn(FT_HANDLE, DWORD*) { return fake().check("FT_EE_UASize"); }
FT_STATUS LYR_D2XX_CALL uaWriteFn(FT_HANDLE, unsigned char*, DWORD) { return fake().check("FT_EE_UAWrite"); }
FT_STATUS LYR_D2XX_CALL uaReadFn(FT_HANDLE, unsigned char* data, DWORD length, DWORD* got) {
    FakeD2xx& f = fake();
    *got = 0;
    if (FT_STATUS s = f.check("FT_EE_UARead")) return s;
    f.events.push_back("UA");
    const DWORD n = std::min<DWORD>({length, f.userAreaLength, 50});
    std::memcpy(data, f.userArea.data(), n);
    *got = n;
    return FT_OK;
}

}  // namespace

FakeD2xx::FakeD2xx() {
    previous_ = current;
    current = this;
    api_ = {listDevicesFn, openExFn, closeFn,  resetFn,  purgeFn,   timeoutsFn, writeFn,
            readFn,        readEEFn, eeReadFn, uaSizeFn, uaWriteFn, uaReadFn};
    userArea = makeUserArea(1000, 15000, -100000, 100000);
}

FakeD2xx::~FakeD2xx() { current = previous_; }

FT_STATUS FakeD2xx::check(const char* name) {
    calls.push_back(name);
    auto it = failCall.find(name);
    return it == failCall.end() ? FT_OK : it->second;
}

void FakeD2xx::receive(const std::uint8_t* data, std::size_t length) {
    if (rawExpected > 0 || length != 6) {
        samples.insert(samples.end(), data, data + length);
        rawExpected -= static_cast<std::uint32_t>(std::min<std::size_t>(rawExpected, length));
        events.push_back("RAW " + std::to_string(length));
        return;
    }
    Frame reply;
    std::memcpy(reply.data(), data, 6);
    char text[16];
    if (data[0] == kReadFrameHead) {
        const std::uint16_t v = registers.count(data[2]) ? registers[data[2]] : 0;
        reply[3] = static_cast<std::uint8_t>(v);
        reply[4] = static_cast<std::uint8_t>(v >> 8);
        std::snprintf(text, sizeof text, "R%d", data[2]);
    } else {
        const std::uint16_t v = static_cast<std::uint16_t>(data[3] | (data[4] << 8));
        std::snprintf(text, sizeof text, "W%d=%04X", data[2], v);
        if (data[2] == REG_COMMAND && v == CMD_LOAD_SAMPLES) {
            const std::uint32_t count = (static_cast<std::uint32_t>(registers[REG_COUNT_HIGH]) << 16) |
                                        registers[REG_COUNT_LOW];
            rawExpected = 2 * (count + 1);
        } else if (data[2] != REG_STATUS) {
            registers[data[2]] = v;
        }
    }
    events.push_back(text);
    if (editReply) editReply(reply);
    if (!replyNothing) pending.insert(pending.end(), reply.begin(), reply.end());
}

UserArea makeUserArea(std::uint16_t code1, std::uint16_t code2, std::int32_t level1, std::int32_t level2) {
    UserArea ua{};
    for (int i = 0; i < 36; ++i) ua[i] = static_cast<std::uint8_t>(i * 7 + 3);
    storeCalibrationRecord(ua, code1, code2, level1, level2);
    return ua;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        s += b;
    }
    return s;
}

}  // namespace lyr::test
