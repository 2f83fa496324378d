#pragma once
// The part of the D2XX USB library interface that LYR uses: its integer types,
// flag values and the thirteen entry points resolved at run time. The library's
// integers are 32-bit unsigned on every platform and its handle is a pointer.
#include <cstdint>

#if defined(_WIN32)
#define LYR_D2XX_CALL __stdcall
#else
#define LYR_D2XX_CALL
#endif

namespace lyr::device {

using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using FT_STATUS = std::uint32_t;
using FT_HANDLE = void*;

// FT_STATUS values the system names; others are passed through unchanged.
inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_INVALID_HANDLE = 1;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
inline constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
inline constexpr FT_STATUS FT_NOT_SUPPORTED = 17;
inline constexpr FT_STATUS FT_OTHER_ERROR = 18;

// FT_ListDevices / FT_OpenEx flags.
inline constexpr DWORD FT_LIST_NUMBER_ONLY = 0x80000000u;
inline constexpr DWORD FT_LIST_BY_INDEX = 0x40000000u;
inline constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;
inline constexpr DWORD FT_OPEN_BY_DESCRIPTION = 2;

// FT_Purge mask.
inline constexpr ULONG FT_PURGE_RX = 1;
inline constexpr ULONG FT_PURGE_TX = 2;

extern "C" {
using FT_ListDevicesFn = FT_STATUS(LYR_D2XX_CALL*)(void* arg1, void* arg2, DWORD flags);
using FT_OpenExFn = FT_STATUS(LYR_D2XX_CALL*)(void* arg1, DWORD flags, FT_HANDLE* handle);
using FT_CloseFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle);
using FT_ResetDeviceFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle);
using FT_PurgeFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, ULONG mask);
using FT_SetTimeoutsFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, ULONG readTimeout,
                                                   ULONG writeTimeout);
using FT_WriteFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, void* buffer, DWORD toWrite,
                                             DWORD* written);
using FT_ReadFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, void* buffer, DWORD toRead,
                                            DWORD* received);
using FT_ReadEEFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, DWORD wordOffset,
                                              std::uint16_t* value);
using FT_EE_ReadFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, void* programData);
using FT_EE_UASizeFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, DWORD* size);
using FT_EE_UAWriteFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, unsigned char* data,
                                                  DWORD length);
using FT_EE_UAReadFn = FT_STATUS(LYR_D2XX_CALL*)(FT_HANDLE handle, unsigned char* data,
                                                 DWORD length, DWORD* bytesRead);
}

// The resolved entry points, in the order they are resolved.
struct D2xxApi {
    FT_ListDevicesFn listDevices = nullptr;
    FT_OpenExFn openEx = nullptr;
    FT_CloseFn close = nullptr;
    FT_ResetDeviceFn resetDevice = nullptr;
    FT_PurgeFn purge = nullptr;
    FT_SetTimeoutsFn setTimeouts = nullptr;
    FT_WriteFn write = nullptr;
    FT_ReadFn read = nullptr;
    FT_ReadEEFn readEE = nullptr;
    FT_EE_ReadFn eeRead = nullptr;
    FT_EE_UASizeFn eeUASize = nullptr;
    FT_EE_UAWriteFn eeUAWrite = nullptr;
    FT_EE_UAReadFn eeUARead = nullptr;
};

inline constexpr int kD2xxEntryPointCount = 13;
// Names in resolution order (the order of D2xxApi's fields).
inline constexpr const char* kD2xxEntryPointNames[kD2xxEntryPointCount] = {
    "FT_ListDevices", "FT_OpenEx",  "FT_Close",      "FT_ResetDevice", "FT_Purge",
    "FT_SetTimeouts", "FT_Write",   "FT_Read",       "FT_ReadEE",      "FT_EE_Read",
    "FT_EE_UASize",   "FT_EE_UAWrite", "FT_EE_UARead"};

}  // namespace lyr::device
