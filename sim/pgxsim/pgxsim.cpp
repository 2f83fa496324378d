// The simulated PGX-500: the thirteen D2XX entry points, answering the
// register frames as the unit does. Configured by environment variables:
//   PGXSIM_DEVICES      "SERIAL:DESCRIPTION,..." (default one PGX-500)
//   PGXSIM_STATE        file that holds the devices, shared between processes
//   PGXSIM_LOG          file to which every frame and raw transfer is appended
//   PGXSIM_CALIBRATION  "code1,code2,level1,level2" for the EEPROM user area
//   PGXSIM_FIRMWARE     firmware version in the status word (default 3)
//   PGXSIM_TIMEOUT_MS   how long a read waits for a missing reply
//   PGXSIM_FAULT        comma list: clock, transfer-error, unplugged,
//                       unplug-after=K, short-read, bad-echo, timeout,
//                       user-area-checksum, user-area-short, reset-fail
// PGXSIM_FAULT is read on every call, so a test may change it while running.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "device/d2xx.h"
#include "pgxsim_state.h"

using namespace lyr::device;
using pgxsim::DeviceRecord;

#define PGXSIM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const char* kDefaultSerial = "PG500001";
constexpr const char* kModel = "PGX-500";

// Register numbers and commands as the unit decodes them.
constexpr std::uint8_t kRegCommand = 0, kRegStatus = 1, kRegCountLow = 2, kRegCountHigh = 3,
                       kRegPeriodLow = 4, kRegPeriodHigh = 5, kRegRepeat = 6, kRegConfig = 7,
                       kRegDataValid = 9;
constexpr std::uint16_t kCmdStart = 0x0001, kCmdStop = 0x0002, kCmdLoad = 0x0010,
                        kCmdForceStop = 0x0080;

struct DeviceEntry {
    std::string serial;
    std::string description;
};

struct Faults {
    bool clock = false, transferError = false, unplugged = false, shortRead = false,
         badEcho = false, timeout = false, userAreaChecksum = false, userAreaShort = false,
         resetFail = false;
    long unplugAfter = -1;
};

struct Handle {
    std::uint32_t magic = 0x48584750;
    int device = 0;
    std::uint64_t generation = 0;
    ULONG readTimeoutMs = 2000;
    std::vector<std::uint8_t> replies;  // waiting for FT_Read
};

struct Sim {
    std::mutex mutex;
    bool configured = false;
    std::string devicesText, stateText;
    std::vector<DeviceEntry> devices;
    // Records: mapped from the state file, or held in memory.
    int stateFd = -1;
    void* mapping = nullptr;
    std::size_t mappingSize = 0;
    std::vector<DeviceRecord*> records;
    std::set<Handle*> handles;
    std::vector<bool> openInProcess;
    // Faults: unplug-after counts frames since the fault text last changed.
    std::string faultText;
    Faults faults;
    long framesSinceFault = 0;
    bool unplugLatched = false;
    std::uint64_t generation = 1;
    bool wasUnplugged = false;
};

Sim& sim() {
    static Sim s;
    return s;
}

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// ---- log -------------------------------------------------------------------

void logLine(char tag, const std::uint8_t* data, std::size_t length, const char* text = nullptr) {
    const std::string path = env("PGXSIM_LOG");
    if (path.empty()) return;
    std::FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return;
    static const char digits[] = "0123456789abcdef";
    std::string line;
    line.reserve(3 + 2 * length);
    line += tag;
    line += ' ';
    if (text) line += text;
    for (std::size_t i = 0; i < length; ++i) {
        line += digits[data[i] >> 4];
        line += digits[data[i] & 15];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

// ---- configuration -------------------------------------------------------------

std::vector<DeviceEntry> parseDevices(const std::string& text) {
    std::vector<DeviceEntry> list;
    if (text.empty()) {
        list.push_back({kDefaultSerial, kModel});
        return list;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        if (!item.empty()) {
            std::size_t colon = item.find(':');
            DeviceEntry e;
            e.serial = item.substr(0, colon).substr(0, 63);
            e.description = colon == std::string::npos ? kModel : item.substr(colon + 1).substr(0, 63);
            list.push_back(e);
        }
        start = end + 1;
    }
    return list;
}

// The calibration pair (two codes, two levels) at bytes 36 .. 47 and the
// checksum of bytes 0 .. 47 after it.
void putCalibration(std::uint8_t* ua, std::uint16_t c1, std::uint16_t c2, std::int32_t l1, std::int32_t l2) {
    std::memcpy(ua + 36, &c1, 2);
    std::memcpy(ua + 38, &c2, 2);
    std::memcpy(ua + 40, &l1, 4);
    std::memcpy(ua + 44, &l2, 4);
    std::uint16_t sum = 0;
    for (int i = 0; i < 48; i += 2) sum = static_cast<std::uint16_t>(sum + (ua[i] | (ua[i + 1] << 8)));
    std::memcpy(ua + 48, &sum, 2);
}

void defaultUserArea(std::uint8_t* ua) {
    std::memset(ua, 0, pgxsim::kUserAreaSize);
    // Bytes 0 .. 35 are the unit's own; fill them so the checksum covers something.
    for (int i = 0; i < 36; ++i) ua[i] = static_cast<std::uint8_t>(0x30 + i);
    putCalibration(ua, 1000, 15000, -100000, 100000);
}

void initRecord(DeviceRecord* r, const DeviceEntry& e) {
    std::memset(static_cast<void*>(r), 0, offsetof(DeviceRecord, samples));
    r->magic = pgxsim::kRecordMagic;
    r->version = pgxsim::kRecordVersion;
    std::snprintf(r->serial, sizeof r->serial, "%s", e.serial.c_str());
    r->registers[kRegConfig] = 2u << 12;  // 12-bit analog after power-up
    defaultUserArea(r->userArea);
}

void releaseRecords(Sim& s) {
    if (s.mapping) munmap(s.mapping, s.mappingSize);
    if (s.stateFd >= 0) close(s.stateFd);
    if (!s.mapping)
        for (DeviceRecord* r : s.records) std::free(r);
    s.mapping = nullptr;
    s.stateFd = -1;
    s.records.clear();
}

// (Re)reads PGXSIM_DEVICES and PGXSIM_STATE when they changed and no handle
// is open, so one process can also start over with other devices.
void configure(Sim& s) {
    const std::string devicesText = env("PGXSIM_DEVICES"), stateText = env("PGXSIM_STATE");
    if (s.configured && (!s.handles.empty() ||
                         (devicesText == s.devicesText && stateText == s.stateText)))
        return;
    releaseRecords(s);
    s.configured = true;
    s.devicesText = devicesText;
    s.stateText = stateText;
    s.devices = parseDevices(devicesText);
    s.openInProcess.assign(s.devices.size(), false);
    const std::size_t count = s.devices.size();
    if (!stateText.empty()) {
        int fd = open(stateText.c_str(), O_RDWR | O_CREAT, 0644);
        if (fd >= 0) {
            flock(fd, LOCK_EX);
            const std::size_t size = count * sizeof(DeviceRecord);
            struct stat st {};
            fstat(fd, &st);
            if (static_cast<std::size_t>(st.st_size) != size && ftruncate(fd, static_cast<off_t>(size)) != 0) {
                flock(fd, LOCK_UN);
                close(fd);
                fd = -1;
            }
            if (fd >= 0) {
                void* m = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
                if (m != MAP_FAILED) {
                    s.stateFd = fd;
                    s.mapping = m;
                    s.mappingSize = size;
                    for (std::size_t i = 0; i < count; ++i) {
                        auto* r = reinterpret_cast<DeviceRecord*>(static_cast<char*>(m) + pgxsim::recordOffset(int(i)));
                        if (r->magic != pgxsim::kRecordMagic || r->version != pgxsim::kRecordVersion ||
                            s.devices[i].serial != r->serial) {
                            initRecord(r, s.devices[i]);
                            std::memset(r->samples, 0, sizeof r->samples);
                        }
                        s.records.push_back(r);
                    }
                }
                flock(fd, LOCK_UN);
                if (!s.mapping) close(fd);
            }
        }
    }
    if (s.records.empty()) {
        for (std::size_t i = 0; i < count; ++i) {
            auto* r = static_cast<DeviceRecord*>(std::calloc(1, sizeof(DeviceRecord)));
            initRecord(r, s.devices[i]);
            s.records.push_back(r);
        }
    }
}

void readFaults(Sim& s) {
    const std::string text = env("PGXSIM_FAULT");
    if (text == s.faultText) return;
    s.faultText = text;
    s.faults = Faults{};
    s.framesSinceFault = 0;
    s.unplugLatched = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string t = text.substr(start, end - start);
        if (t == "clock") s.faults.clock = true;
        else if (t == "transfer-error") s.faults.transferError = true;
        else if (t == "unplugged") s.faults.unplugged = true;
        else if (t.rfind("unplug-after=", 0) == 0) s.faults.unplugAfter = std::atol(t.c_str() + 13);
        else if (t == "short-read") s.faults.shortRead = true;
        else if (t == "bad-echo") s.faults.badEcho = true;
        else if (t == "timeout") s.faults.timeout = true;
        else if (t == "user-area-checksum") s.faults.userAreaChecksum = true;
        else if (t == "user-area-short") s.faults.userAreaShort = true;
        else if (t == "reset-fail") s.faults.resetFail = true;
        start = end + 1;
    }
}

bool unplugged(Sim& s) {
    if (s.faults.unplugAfter >= 0 && s.framesSinceFault > s.faults.unplugAfter) s.unplugLatched = true;
    const bool now = s.faults.unplugged || s.unplugLatched;
    // Handles opened before an unplug stay dead after the unit comes back.
    if (now && !s.wasUnplugged) ++s.generation;
    s.wasUnplugged = now;
    return now;
}

// Serialises one call: the in-process lock, configuration, faults, and the
// state file's lock so that other processes wait.
class Call {
public:
    Call() : lock_(sim().mutex) {
        Sim& s = sim();
        configure(s);
        readFaults(s);
        if (s.stateFd >= 0) flock(s.stateFd, LOCK_EX);
    }
    ~Call() {
        Sim& s = sim();
        if (s.stateFd >= 0) flock(s.stateFd, LOCK_UN);
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

private:
    std::lock_guard<std::mutex> lock_;
};

Handle* liveHandle(Sim& s, FT_HANDLE h, FT_STATUS& status) {
    auto* handle = static_cast<Handle*>(h);
    if (!handle || !s.handles.count(handle)) {
        status = FT_INVALID_HANDLE;
        return nullptr;
    }
    if (unplugged(s) || handle->generation != s.generation) {
        status = FT_IO_ERROR;
        return nullptr;
    }
    status = FT_OK;
    return handle;
}

// ---- device behaviour --------------------------------------------------------

std::uint32_t reg32(const DeviceRecord* r, int high, int low) {
    return (static_cast<std::uint32_t>(r->registers[high]) << 16) | r->registers[low];
}

// A repeat run ends by itself after repeat x N x Ts.
void updateRun(DeviceRecord* r) {
    if (!r->running || !(r->registers[kRegConfig] & 0x4)) return;
    const std::uint64_t n = static_cast<std::uint64_t>(reg32(r, kRegCountHigh, kRegCountLow)) + 1;
    const std::uint64_t tsNs = (static_cast<std::uint64_t>(reg32(r, kRegPeriodHigh, kRegPeriodLow)) + 1) * 10;
    const std::uint64_t repeat = static_cast<std::uint64_t>(r->registers[kRegRepeat]) + 1;
    const long double duration = static_cast<long double>(n) * tsNs * repeat;
    if (static_cast<long double>(nowNs() - r->runStartNs) >= duration) r->running = 0;
}

std::uint16_t statusWord(Sim& s, DeviceRecord* r) {
    updateRun(r);
    unsigned w = 0;
    if (r->running) w |= 1u;
    if (r->transferError) w |= 1u << 4;
    if (r->dataValid) w |= 1u << 5;
    if (s.faults.clock) w |= 1u << 7;
    const std::string fw = env("PGXSIM_FIRMWARE");
    const unsigned version = fw.empty() ? 3u : static_cast<unsigned>(std::atoi(fw.c_str())) & 0xFFu;
    w |= version << 8;
    return static_cast<std::uint16_t>(w);
}

void queueReply(Handle* h, const std::uint8_t* reply) {
    if (h->replies.size() >= 512) return;  // nobody reads; the unit drops it
    h->replies.insert(h->replies.end(), reply, reply + 6);
}

void finishLoad(Sim& s, DeviceRecord* r) {
    r->loadComplete = 1;
    r->loadedWords = r->loadReceivedBytes / 2;
    if (s.faults.transferError) {
        r->transferError = 1;
        r->loadComplete = 0;
    }
}

void runCommand(Sim& s, DeviceRecord* r, std::uint16_t command) {
    switch (command) {
    case kCmdStart:
        updateRun(r);
        if (r->dataValid && !s.faults.clock && !r->running) {
            r->running = 1;
            r->runStartNs = nowNs();
        }
        break;
    case kCmdStop:
    case kCmdForceStop:
        r->running = 0;
        break;
    case kCmdLoad: {
        r->running = 0;
        r->dataValid = 0;
        r->transferError = 0;
        r->loadComplete = 0;
        r->loadReceivedBytes = 0;
        const std::uint32_t words = reg32(r, kRegCountHigh, kRegCountLow) + 1;  // N = 0 wraps to 0
        if (words > pgxsim::kCapacityWords) {
            r->transferError = 1;
            r->loadExpectedBytes = 0;
            break;
        }
        r->loadExpectedBytes = 2 * words;
        if (words == 0) finishLoad(s, r);
        break;
    }
    default:
        break;
    }
}

bool knownCommand(std::uint16_t v) {
    return v == kCmdStart || v == kCmdStop || v == kCmdLoad || v == kCmdForceStop;
}

void handleFrame(Sim& s, Handle* h, DeviceRecord* r, const std::uint8_t* f) {
    std::uint8_t reply[6] = {f[0], f[1], f[2], f[3], f[4], f[5]};
    const std::uint8_t reg = f[2];
    const std::uint16_t value = static_cast<std::uint16_t>(f[3] | (f[4] << 8));
    bool understood = f[1] == 0 && reg < pgxsim::kRegisterCount;
    if (understood && f[0] == 0xD2 && f[5] == 0x2D) {
        if (reg == kRegStatus || (reg == kRegCommand && !knownCommand(value))) {
            understood = false;
        } else if (reg == kRegCommand) {
            runCommand(s, r, value);
        } else if (reg == kRegDataValid) {
            r->registers[reg] = value;
            // Valid only over a complete load; marking invalid also ends a run.
            r->dataValid = value == 1 && r->loadComplete && !r->transferError;
            if (value != 1) r->running = 0;
        } else {
            r->registers[reg] = value;
        }
    } else if (understood && f[0] == 0xB4 && f[5] == 0x4B) {
        std::uint16_t out = 0;
        if (reg == kRegStatus) out = statusWord(s, r);
        else if (reg == kRegRepeat || reg == kRegConfig) out = r->registers[reg];
        else understood = false;
        reply[3] = static_cast<std::uint8_t>(out);
        reply[4] = static_cast<std::uint8_t>(out >> 8);
    } else {
        understood = false;
    }
    if (!understood) {
        // Answered, but with nothing the sender can take for its echo.
        reply[0] = 0xEE;
        reply[1] = 0xEE;
        reply[3] = 0;
        reply[4] = 0;
        reply[5] = 0xEE;
    }
    if (s.faults.badEcho) reply[5] = reply[5] == 0x4B ? 0x2D : 0x4B;
    ++r->frames;
    if (!s.faults.timeout) queueReply(h, reply);
    ++s.framesSinceFault;
}

void receive(Sim& s, Handle* h, DeviceRecord* r, const std::uint8_t* data, std::size_t length) {
    std::size_t pos = 0;
    while (pos < length) {
        if (r->loadExpectedBytes > 0) {
            const std::size_t take = std::min<std::size_t>(r->loadExpectedBytes, length - pos);
            std::memcpy(reinterpret_cast<std::uint8_t*>(r->samples) + r->loadReceivedBytes, data + pos, take);
            r->loadReceivedBytes += static_cast<std::uint32_t>(take);
            r->loadExpectedBytes -= static_cast<std::uint32_t>(take);
            pos += take;
            if (r->loadExpectedBytes == 0) finishLoad(s, r);
            continue;
        }
        if (length - pos < 6) {
            std::uint8_t partial[6] = {};
            std::memcpy(partial, data + pos, length - pos);
            handleFrame(s, h, r, partial);  // a torn frame: answered as not understood
            break;
        }
        handleFrame(s, h, r, data + pos);
        pos += 6;
    }
}

FT_STATUS listByIndex(Sim& s, DWORD index, char* out, DWORD flags) {
    if (index >= s.devices.size() || !out) return FT_DEVICE_NOT_FOUND;
    const std::string& text = (flags & FT_OPEN_BY_DESCRIPTION) ? s.devices[index].description
                                                                 : s.devices[index].serial;
    std::snprintf(out, 64, "%s", text.c_str());
    return FT_OK;
}

}  // namespace

// ---- entry points ----------------------------------------------------------------

PGXSIM_EXPORT FT_STATUS FT_ListDevices(void* arg1, void* arg2, DWORD flags) {
    Call call;
    Sim& s = sim();
    const bool gone = unplugged(s);
    if (flags & FT_LIST_NUMBER_ONLY) {
        if (!arg1) return FT_INVALID_PARAMETER;
        *static_cast<DWORD*>(arg1) = gone ? 0 : static_cast<DWORD>(s.devices.size());
        return FT_OK;
    }
    if ((flags & FT_LIST_BY_INDEX) && (flags & (FT_OPEN_BY_SERIAL_NUMBER | FT_OPEN_BY_DESCRIPTION))) {
        if (gone) return FT_DEVICE_NOT_FOUND;
        return listByIndex(s, static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(arg1)),
                           static_cast<char*>(arg2), flags);
    }
    return FT_INVALID_PARAMETER;
}

PGXSIM_EXPORT FT_STATUS FT_OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle) {
    Call call;
    Sim& s = sim();
    if (!arg1 || !handle) return FT_INVALID_PARAMETER;
    *handle = nullptr;
    if (unplugged(s)) return FT_DEVICE_NOT_FOUND;
    const std::string key = static_cast<const char*>(arg1);
    int found = -1;
    for (std::size_t i = 0; i < s.devices.size() && found < 0; ++i) {
        if ((flags == FT_OPEN_BY_SERIAL_NUMBER && s.devices[i].serial == key) ||
            (flags == FT_OPEN_BY_DESCRIPTION && s.devices[i].description == key && !s.openInProcess[i]))
            found = static_cast<int>(i);
    }
    if (flags != FT_OPEN_BY_SERIAL_NUMBER && flags != FT_OPEN_BY_DESCRIPTION) return FT_INVALID_PARAMETER;
    if (found < 0) return FT_DEVICE_NOT_FOUND;
    if (s.openInProcess[found]) return FT_DEVICE_NOT_OPENED;
    auto* h = new Handle;
    h->device = found;
    h->generation = s.generation;
    s.handles.insert(h);
    s.openInProcess[found] = true;
    *handle = h;
    logLine('O', nullptr, 0, s.devices[found].serial.c_str());
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_Close(FT_HANDLE handle) {
    Call call;
    Sim& s = sim();
    auto* h = static_cast<Handle*>(handle);
    if (!h || !s.handles.count(h)) return FT_INVALID_HANDLE;
    s.openInProcess[h->device] = false;
    s.handles.erase(h);
    delete h;
    logLine('C', nullptr, 0);
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE handle) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    Handle* h = liveHandle(s, handle, st);
    if (!h) return st;
    if (s.faults.resetFail) return FT_IO_ERROR;
    h->replies.clear();
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    Handle* h = liveHandle(s, handle, st);
    if (!h) return st;
    if (mask & FT_PURGE_RX) h->replies.clear();
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE handle, ULONG readTimeout, ULONG /*writeTimeout*/) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    Handle* h = liveHandle(s, handle, st);
    if (!h) return st;
    h->readTimeoutMs = readTimeout;
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written) {
    Call call;
    Sim& s = sim();
    if (written) *written = 0;
    FT_STATUS st;
    Handle* h = liveHandle(s, handle, st);
    if (!h) return st;
    if (!buffer || !written) return FT_INVALID_PARAMETER;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    logLine('W', bytes, toWrite);
    receive(s, h, s.records[h->device], bytes, toWrite);
    *written = toWrite;
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* received) {
    std::uint32_t waitMs = 0;
    {
        Call call;
        Sim& s = sim();
        if (received) *received = 0;
        FT_STATUS st;
        Handle* h = liveHandle(s, handle, st);
        if (!h) return st;
        if (!buffer || !received) return FT_INVALID_PARAMETER;
        DWORD n = std::min<DWORD>(toRead, static_cast<DWORD>(h->replies.size()));
        if (s.faults.shortRead && n == toRead && n > 0) --n;
        if (n > 0) std::memcpy(buffer, h->replies.data(), n);  // no reply queued: data() may be null
        h->replies.erase(h->replies.begin(), h->replies.begin() + n);
        *received = n;
        logLine('R', static_cast<const std::uint8_t*>(buffer), n);
        if (n == toRead) return FT_OK;
        const std::string t = env("PGXSIM_TIMEOUT_MS");
        waitMs = t.empty() ? h->readTimeoutMs : static_cast<std::uint32_t>(std::atol(t.c_str()));
    }
    // Nothing more will come: the read ends when its timeout runs out.
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_ReadEE(FT_HANDLE handle, DWORD wordOffset, std::uint16_t* value) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    if (!liveHandle(s, handle, st)) return st;
    if (!value || wordOffset >= 64) return FT_INVALID_PARAMETER;
    *value = 0xFFFF;
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_EE_Read(FT_HANDLE handle, void* /*programData*/) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    if (!liveHandle(s, handle, st)) return st;
    return FT_NOT_SUPPORTED;
}

PGXSIM_EXPORT FT_STATUS FT_EE_UASize(FT_HANDLE handle, DWORD* size) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    if (!liveHandle(s, handle, st)) return st;
    if (!size) return FT_INVALID_PARAMETER;
    *size = pgxsim::kUserAreaSize;
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_EE_UAWrite(FT_HANDLE handle, unsigned char* data, DWORD length) {
    Call call;
    Sim& s = sim();
    FT_STATUS st;
    Handle* h = liveHandle(s, handle, st);
    if (!h) return st;
    if (!data || length > static_cast<DWORD>(pgxsim::kUserAreaSize)) return FT_INVALID_PARAMETER;
    std::memcpy(s.records[h->device]->userArea, data, length);
    return FT_OK;
}

PGXSIM_EXPORT FT_STATUS FT_EE_UARead(FT_HANDLE handle, unsigned char* data, DWORD length, DWORD* bytesRead) {
    Call call;
    Sim& s = sim();
    if (bytesRead) *bytesRead = 0;
    FT_STATUS st;
    Handle* h = liveHandle(s, handle, st);
    if (!h) return st;
    if (!data || !bytesRead) return FT_INVALID_PARAMETER;
    std::uint8_t ua[pgxsim::kUserAreaSize];
    std::memcpy(ua, s.records[h->device]->userArea, sizeof ua);
    const std::string cal = env("PGXSIM_CALIBRATION");
    if (!cal.empty()) {
        long v[4] = {};
        if (std::sscanf(cal.c_str(), "%ld,%ld,%ld,%ld", &v[0], &v[1], &v[2], &v[3]) == 4) {
            putCalibration(ua, static_cast<std::uint16_t>(v[0]), static_cast<std::uint16_t>(v[1]),
                           static_cast<std::int32_t>(v[2]), static_cast<std::int32_t>(v[3]));
        }
    }
    if (s.faults.userAreaChecksum) ua[48] = static_cast<std::uint8_t>(ua[48] + 1);
    DWORD n = std::min<DWORD>(length, pgxsim::kUserAreaSize);
    if (s.faults.userAreaShort && n > 0) --n;
    std::memcpy(data, ua, n);
    *bytesRead = n;
    logLine('U', ua, n);
    return FT_OK;
}
