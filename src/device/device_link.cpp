#include "device/device_link.h"

#include <cstring>

namespace lyr::device {

namespace {

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::int32_t le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                     (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}
void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// D2XX passes the list index in place of the first pointer argument.
void* indexArgument(DWORD index) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(index)); }

}  // namespace

std::uint16_t userAreaSum(const UserArea& bytes) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 48; i += 2) sum = static_cast<std::uint16_t>(sum + le16(&bytes[i]));
    return sum;
}

UserAreaRecord parseUserArea(const UserArea& bytes) {
    UserAreaRecord r;
    r.calibrationCode1 = le16(&bytes[36]);
    r.calibrationCode2 = le16(&bytes[38]);
    r.calibrationLevel1 = le32(&bytes[40]);
    r.calibrationLevel2 = le32(&bytes[44]);
    r.userAreaChecksum = le16(&bytes[48]);
    return r;
}

void storeCalibrationRecord(UserArea& bytes, std::uint16_t code1, std::uint16_t code2,
                            std::int32_t level1, std::int32_t level2) {
    put16(&bytes[36], code1);
    put16(&bytes[38], code2);
    put32(&bytes[40], level1);
    put32(&bytes[44], level2);
    put16(&bytes[48], userAreaSum(bytes));
}

Status calibrationFromUserArea(const UserArea& bytes, Calibration& out) {
    const UserAreaRecord r = parseUserArea(bytes);
    if (r.calibrationLevel1 == r.calibrationLevel2 || userAreaSum(bytes) != r.userAreaChecksum)
        return ERR_USER_AREA;
    const double v1 = r.calibrationCode1, v2 = r.calibrationCode2;
    const double t1 = r.calibrationLevel1 / 100000.0, t2 = r.calibrationLevel2 / 100000.0;
    out.codesPerVolt = (v2 - v1) / (t2 - t1);
    out.zeroCode = v2 - out.codesPerVolt * t2;
    return FT_OK;
}

Status listDevices(const D2xxApi& d2xx, SerialSlot* const* slots, DWORD& count) {
    count = 0;
    DWORD n = 0;
    Status s = d2xx.listDevices(&n, nullptr, FT_LIST_NUMBER_ONLY);
    if (s != FT_OK) return s;
    char text[kListBufferSize + 1];
    for (DWORD i = 0; i < n; ++i) {
        if (slots[count] == nullptr) break;
        std::memset(text, 0, sizeof text);
        if (d2xx.listDevices(indexArgument(i), text, FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION) != FT_OK)
            continue;
        // The terminating zero takes part, so "PGX-500X" is another model.
        if (std::memcmp(text, MODEL_NAME, std::strlen(MODEL_NAME) + 1) != 0) continue;
        std::memset(text, 0, sizeof text);
        if (d2xx.listDevices(indexArgument(i), text, FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER) != FT_OK)
            continue;
        const std::size_t length = std::strlen(text);
        if (length == 0 || length > kMaxSerialLength) continue;
        SerialSlot& slot = *slots[count];
        std::memcpy(slot.data(), text, length + 1);
        ++count;
    }
    return FT_OK;
}

Status openDevice(const D2xxApi& d2xx, const char* serial, FT_HANDLE& handle) {
    handle = nullptr;
    Status s;
    if (serial && *serial) {
        char buffer[kListBufferSize] = {};
        std::strncpy(buffer, serial, kListBufferSize - 1);
        s = d2xx.openEx(buffer, FT_OPEN_BY_SERIAL_NUMBER, &handle);
    } else {
        char buffer[kListBufferSize] = {};
        std::strcpy(buffer, MODEL_NAME);
        s = d2xx.openEx(buffer, FT_OPEN_BY_DESCRIPTION, &handle);
    }
    if (s != FT_OK) {
        handle = nullptr;
        return s;
    }
    s = d2xx.resetDevice(handle);
    if (s == FT_OK) s = d2xx.purge(handle, FT_PURGE_RX | FT_PURGE_TX);
    if (s == FT_OK) s = d2xx.setTimeouts(handle, kReadTimeoutMs, kWriteTimeoutMs);
    if (s != FT_OK) {
        d2xx.close(handle);
        handle = nullptr;
    }
    return s;
}

Status closeDevice(const D2xxApi& d2xx, FT_HANDLE handle) { return d2xx.close(handle); }

Status readUserArea(const D2xxApi& d2xx, FT_HANDLE handle, UserArea& buffer) {
    DWORD got = 0;
    Status s = d2xx.eeUARead(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got);
    if (s != FT_OK) return s;
    return got == buffer.size() ? FT_OK : static_cast<Status>(ERR_USER_AREA);
}

Status readCalibration(const D2xxApi& d2xx, FT_HANDLE handle, Calibration& out) {
    UserArea bytes{};
    Status s = readUserArea(d2xx, handle, bytes);
    if (s != FT_OK) return s;
    return calibrationFromUserArea(bytes, out);
}

Status transferBytes(const D2xxApi& d2xx, FT_HANDLE handle, const std::uint8_t* out,
                     DWORD outLength, std::uint8_t* in, DWORD inLength) {
    const bool writing = out != nullptr && outLength > 0;
    const bool reading = in != nullptr && inLength > 0;
    if (!writing && !reading) return ERR_NOTHING_TO_TRANSFER;
    if (writing) {
        DWORD written = 0;
        Status s = d2xx.write(handle, const_cast<std::uint8_t*>(out), outLength, &written);
        if (s != FT_OK) return s;
        if (written != outLength) return ERR_REPLY;
    }
    if (reading) {
        DWORD received = 0;
        Status s = d2xx.read(handle, in, inLength, &received);
        if (s != FT_OK) return s;
        if (received != inLength) return ERR_REPLY;
    }
    return FT_OK;
}

}  // namespace lyr::device
