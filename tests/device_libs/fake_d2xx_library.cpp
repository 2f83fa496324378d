// A D2XX stand-in for the binding tests: devices from FAKE_D2XX_DEVICES
// ("SERIAL:DESCRIPTION,..."), failures set through fake_d2xx_fail, calls
// counted for the test to read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "device/d2xx.h"

using namespace lyr::device;

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Entry {
    std::string serial, description;
};

std::map<std::string, FT_STATUS>& failures() {
    static std::map<std::string, FT_STATUS> f;
    return f;
}
int closes = 0;
int handleToken = 0;

std::vector<Entry> devices() {
    std::vector<Entry> list;
    const char* v = std::getenv("FAKE_D2XX_DEVICES");
    std::string text = v ? v : "";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        std::size_t colon = item.find(':');
        list.push_back({item.substr(0, colon), colon == std::string::npos ? "" : item.substr(colon + 1)});
        start = end + 1;
    }
    return list;
}

FT_STATUS failure(const char* name) {
    auto it = failures().find(name);
    return it == failures().end() ? FT_OK : it->second;
}

}  // namespace

FAKE_EXPORT void fake_d2xx_fail(const char* name, FT_STATUS status) { failures()[name] = status; }
FAKE_EXPORT void fake_d2xx_reset() {
    failures().clear();
    closes = 0;
}
FAKE_EXPORT int fake_d2xx_closes() { return closes; }

FAKE_EXPORT FT_STATUS FT_ListDevices(void* arg1, void* arg2, DWORD flags) {
    if (FT_STATUS s = failure("FT_ListDevices")) return s;
    const auto list = devices();
    if (flags == FT_LIST_NUMBER_ONLY) {
        *static_cast<DWORD*>(arg1) = static_cast<DWORD>(list.size());
        return FT_OK;
    }
    const auto i = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(arg1));
    if (i >= list.size()) return FT_DEVICE_NOT_FOUND;
    const std::string& text =
        flags == (FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION) ? list[i].description : list[i].serial;
    std::snprintf(static_cast<char*>(arg2), 64, "%s", text.c_str());
    return FT_OK;
}

FAKE_EXPORT FT_STATUS FT_OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle) {
    if (FT_STATUS s = failure("FT_OpenEx")) return s;
    const std::string key = static_cast<const char*>(arg1);
    for (const auto& d : devices()) {
        if ((flags == FT_OPEN_BY_SERIAL_NUMBER && d.serial == key) ||
            (flags == FT_OPEN_BY_DESCRIPTION && d.description == key)) {
            *handle = &handleToken;
            return FT_OK;
        }
    }
    return FT_DEVICE_NOT_FOUND;
}

FAKE_EXPORT FT_STATUS FT_Close(FT_HANDLE) {
    ++closes;
    return failure("FT_Close");
}
FAKE_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE) { return failure("FT_ResetDevice"); }
FAKE_EXPORT FT_STATUS FT_Purge(FT_HANDLE, ULONG) { return failure("FT_Purge"); }
FAKE_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE, ULONG, ULONG) { return failure("FT_SetTimeouts"); }
FAKE_EXPORT FT_STATUS FT_Write(FT_HANDLE, void*, DWORD n, DWORD* written) {
    *written = n;
    return failure("FT_Write");
}
FAKE_EXPORT FT_STATUS FT_Read(FT_HANDLE, void*, DWORD, DWORD* received) {
    *received = 0;
    return failure("FT_Read");
}
FAKE_EXPORT FT_STATUS FT_ReadEE(FT_HANDLE, DWORD, std::uint16_t*) { return FT_NOT_SUPPORTED; }
FAKE_EXPORT FT_STATUS FT_EE_Read(FT_HANDLE, void*) { return FT_NOT_SUPPORTED; }
FAKE_EXPORT FT_STATUS FT_EE_UASize(FT_HANDLE, DWORD* size) {
    *size = 50;
    return FT_OK;
}
#ifndef FAKE_D2XX_WITHOUT_UA_WRITE
FAKE_EXPORT FT_STATUS FT_EE_UAWrite(FT_HANDLE, unsigned char*, DWORD) { return FT_OK; }
#endif
FAKE_EXPORT FT_STATUS FT_EE_UARead(FT_HANDLE, unsigned char* data, DWORD length, DWORD* got) {
    std::memset(data, 0, length);
    *got = length;
    return FT_OK;
}
