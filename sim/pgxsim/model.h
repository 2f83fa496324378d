#pragma once
// The simulated D2XX library with its PGX-500 units: enumeration, handles,
// the USB link and its faults, the EEPROM user area, a log of the traffic.
// The exported library (pgxsim) configures one Model from PGXSIM_*
// variables on every call; tests build a Model in-process, set its fields
// directly, drive its clock and call it through inProcessApi().
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "clock.h"
#include "device/d2xx.h"
#include "pgxsim_state.h"
#include "unit.h"

namespace pgxsim {

using lyr::device::DWORD;
using lyr::device::FT_HANDLE;
using lyr::device::FT_STATUS;
using lyr::device::ULONG;

inline constexpr const char* kDefaultSerial = "PG500001";
inline constexpr const char* kModelName = "PGX-500";

struct DeviceEntry {
    std::string serial;
    std::string description;
    bool operator==(const DeviceEntry&) const = default;
};

// How the link or the unit fails. The named ones are those PGXSIM_FAULT lists;
// the rest are finer controls for tests in the same process.
struct Faults {
    bool clock = false;             // the unit reports a clock fault and does not start
    bool transferError = false;     // every sample load fails
    bool unplugged = false;         // no unit: every call fails until cleared
    long unplugAfter = -1;          // gone after this many answered frames
    bool badEcho = false;           // replies carry the other frame kind's tail byte
    bool timeout = false;           // no reply comes
    bool userAreaChecksum = false;  // the user area's checksum is off by one
    bool userAreaShort = false;     // the user area read returns one byte less
    bool resetFail = false;         // FT_ResetDevice fails
    DWORD readShortBy = 0;          // a read that would be complete returns this many less
    DWORD writeShortBy = 0;         // a write reports this many bytes less
    std::map<std::string, FT_STATUS> failingCalls;  // entry point name -> status
    long failWriteAt = -1;          // this FT_Write (0-based) fails, its bytes lost
    FT_STATUS failWriteStatus = lyr::device::FT_IO_ERROR;
    std::function<void(Reply&)> alterReply;  // every reply on its way back
};

// One line of the traffic: W (written bytes), R (bytes read), U (user area
// read), O (open, with the serial), C (close).
struct TrafficEntry {
    char tag = 0;
    std::vector<std::uint8_t> bytes;
    std::string text;
};

class Model {
public:
    explicit Model(Clock& clock);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // The units, and the file their state lives in ("" = this process only).
    // Kept while a handle is open; a unit already in the file keeps its state
    // when its serial matches. False (nothing changed) while a handle is open.
    bool setDevices(std::vector<DeviceEntry> devices, const std::string& statePath = "");
    const std::vector<DeviceEntry>& devices() const { return devices_; }
    // Faults take effect at once; unplug-after counts from here.
    void setFaults(Faults faults);
    const Faults& faults() const { return faults_; }

    std::optional<std::array<std::int32_t, 4>> calibration;  // replaces the stored calibration points
    unsigned firmware = 3;
    std::optional<std::uint32_t> readTimeoutMs;  // replaces the timeout the caller set
    std::string logPath;                         // every traffic line appended to this file
    bool keepTraffic = false;                    // also kept in traffic, calls and events

    std::vector<TrafficEntry> traffic;
    std::vector<std::string> calls;   // entry points with their arguments: "FT_Purge 3"
    std::vector<std::string> events;  // the units' reading: "W9=0000", "R1", "UA", "RAW 100000"

    DeviceRecord& record(int index) { return *records_.at(static_cast<std::size_t>(index)); }
    Clock& clock() { return clock_; }

    // Called at the start of every entry point, under the model's lock, so
    // the exported library can re-read its environment.
    std::function<void(Model&)> refresh;

    // The thirteen entry points.
    FT_STATUS listDevices(void* arg1, void* arg2, DWORD flags);
    FT_STATUS openEx(void* arg1, DWORD flags, FT_HANDLE* handle);
    FT_STATUS close(FT_HANDLE handle);
    FT_STATUS resetDevice(FT_HANDLE handle);
    FT_STATUS purge(FT_HANDLE handle, ULONG mask);
    FT_STATUS setTimeouts(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout);
    FT_STATUS write(FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written);
    FT_STATUS read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* received);
    FT_STATUS readEE(FT_HANDLE handle, DWORD wordOffset, std::uint16_t* value);
    FT_STATUS eeRead(FT_HANDLE handle, void* programData);
    FT_STATUS eeUASize(FT_HANDLE handle, DWORD* size);
    FT_STATUS eeUAWrite(FT_HANDLE handle, unsigned char* data, DWORD length);
    FT_STATUS eeUARead(FT_HANDLE handle, unsigned char* data, DWORD length, DWORD* bytesRead);

private:
    struct Handle;
    class Call;
    friend class Call;

    void releaseRecords();
    void log(char tag, const std::uint8_t* data, std::size_t length, const std::string& text = "");
    FT_STATUS enter(const char* name, const std::string& arguments = "");
    bool unpluggedNow();
    Handle* live(FT_HANDLE h, FT_STATUS& status);
    UnitConditions conditions();

    Clock& clock_;
    std::mutex mutex_;
    std::vector<DeviceEntry> devices_;
    std::string statePath_;
    int stateFd_ = -1;
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::vector<DeviceRecord*> records_;
    std::vector<bool> openInProcess_;
    std::set<Handle*> handles_;
    Faults faults_;
    long framesSinceFault_ = 0;
    long writesSinceFault_ = 0;
    bool unplugLatched_ = false;
    bool wasUnplugged_ = false;
    std::uint64_t generation_ = 1;
};

// A D2XX entry-point table over the model, for code that takes a D2xxApi.
// One model at a time is reached this way; the scope restores the previous.
class InProcessLibrary {
public:
    explicit InProcessLibrary(Model& model);
    ~InProcessLibrary();
    InProcessLibrary(const InProcessLibrary&) = delete;
    InProcessLibrary& operator=(const InProcessLibrary&) = delete;
    const lyr::device::D2xxApi& api() const;

private:
    Model* previous_;
};

}  // namespace pgxsim
