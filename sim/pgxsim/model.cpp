#include "model.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pgxsim {

using namespace lyr::device;

struct Model::Handle {
    int device = 0;
    std::uint64_t generation = 0;
    ULONG readTimeoutMs = 2000;
    std::vector<std::uint8_t> replies;  // waiting for FT_Read
};

// Serialises one call: the model's lock, the environment, and the state
// file's lock so that other processes wait.
class Model::Call {
public:
    explicit Call(Model& m) : m_(m), lock_(m.mutex_) {
        if (m_.refresh) m_.refresh(m_);
        if (m_.stateFd_ >= 0) flock(m_.stateFd_, LOCK_EX);
    }
    ~Call() {
        if (m_.stateFd_ >= 0) flock(m_.stateFd_, LOCK_UN);
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

private:
    Model& m_;
    std::lock_guard<std::mutex> lock_;
};

Model::Model(Clock& clock) : clock_(clock) { setDevices({{kDefaultSerial, kModelName}}); }

Model::~Model() {
    for (Handle* h : handles_) delete h;
    releaseRecords();
}

void Model::releaseRecords() {
    if (mapping_) munmap(mapping_, mappingSize_);
    if (stateFd_ >= 0) ::close(stateFd_);
    if (!mapping_)
        for (DeviceRecord* r : records_) std::free(r);
    mapping_ = nullptr;
    stateFd_ = -1;
    records_.clear();
}

bool Model::setDevices(std::vector<DeviceEntry> devices, const std::string& statePath) {
    if (!handles_.empty()) return false;
    if (!records_.empty() && devices == devices_ && statePath == statePath_) return true;
    releaseRecords();
    devices_ = std::move(devices);
    statePath_ = statePath;
    openInProcess_.assign(devices_.size(), false);
    const std::size_t count = devices_.size();
    if (!statePath.empty()) {
        int fd = open(statePath.c_str(), O_RDWR | O_CREAT, 0644);
        if (fd >= 0) {
            flock(fd, LOCK_EX);
            const std::size_t size = count * sizeof(DeviceRecord);
            struct stat st {};
            fstat(fd, &st);
            void* m = MAP_FAILED;
            if (size > 0 && (static_cast<std::size_t>(st.st_size) == size || ftruncate(fd, static_cast<off_t>(size)) == 0))
                m = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (m != MAP_FAILED) {
                stateFd_ = fd;
                mapping_ = m;
                mappingSize_ = size;
                for (std::size_t i = 0; i < count; ++i) {
                    auto* r = reinterpret_cast<DeviceRecord*>(static_cast<char*>(m) + recordOffset(int(i)));
                    if (r->magic != kRecordMagic || r->version != kRecordVersion || devices_[i].serial != r->serial) {
                        initRecord(*r, devices_[i].serial);
                        std::memset(r->samples, 0, sizeof r->samples);
                    }
                    records_.push_back(r);
                }
            }
            flock(fd, LOCK_UN);
            if (!mapping_) ::close(fd);
        }
    }
    if (!mapping_) {
        for (std::size_t i = 0; i < count; ++i) {
            auto* r = static_cast<DeviceRecord*>(std::calloc(1, sizeof(DeviceRecord)));
            initRecord(*r, devices_[i].serial);
            records_.push_back(r);
        }
    }
    return true;
}

void Model::setFaults(Faults faults) {
    faults_ = std::move(faults);
    framesSinceFault_ = 0;
    writesSinceFault_ = 0;
    unplugLatched_ = false;
}

void Model::log(char tag, const std::uint8_t* data, std::size_t length, const std::string& text) {
    if (keepTraffic) traffic.push_back({tag, std::vector<std::uint8_t>(data, data + length), text});
    if (logPath.empty()) return;
    std::FILE* f = std::fopen(logPath.c_str(), "a");
    if (!f) return;
    static const char digits[] = "0123456789abcdef";
    std::string line;
    line.reserve(3 + text.size() + 2 * length);
    line += tag;
    line += ' ';
    line += text;
    for (std::size_t i = 0; i < length; ++i) {
        line += digits[data[i] >> 4];
        line += digits[data[i] & 15];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

FT_STATUS Model::enter(const char* name, const std::string& arguments) {
    if (keepTraffic) calls.push_back(arguments.empty() ? name : std::string(name) + " " + arguments);
    auto it = faults_.failingCalls.find(name);
    return it == faults_.failingCalls.end() ? FT_OK : it->second;
}

bool Model::unpluggedNow() {
    if (faults_.unplugAfter >= 0 && framesSinceFault_ > faults_.unplugAfter) unplugLatched_ = true;
    const bool now = faults_.unplugged || unplugLatched_;
    // Handles opened before an unplug stay dead after the unit comes back.
    if (now && !wasUnplugged_) ++generation_;
    wasUnplugged_ = now;
    return now;
}

Model::Handle* Model::live(FT_HANDLE h, FT_STATUS& status) {
    auto* handle = static_cast<Handle*>(h);
    if (!handle || !handles_.count(handle)) {
        status = FT_INVALID_HANDLE;
        return nullptr;
    }
    if (unpluggedNow() || handle->generation != generation_) {
        status = FT_IO_ERROR;
        return nullptr;
    }
    status = FT_OK;
    return handle;
}

UnitConditions Model::conditions() {
    return {clock_.nowNs(), faults_.clock, faults_.transferError, firmware};
}

FT_STATUS Model::listDevices(void* arg1, void* arg2, DWORD flags) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_ListDevices")) return s;
    const bool gone = unpluggedNow();
    if (flags & FT_LIST_NUMBER_ONLY) {
        if (!arg1) return FT_INVALID_PARAMETER;
        *static_cast<DWORD*>(arg1) = gone ? 0 : static_cast<DWORD>(devices_.size());
        return FT_OK;
    }
    if (!(flags & FT_LIST_BY_INDEX) || !(flags & (FT_OPEN_BY_SERIAL_NUMBER | FT_OPEN_BY_DESCRIPTION)))
        return FT_INVALID_PARAMETER;
    if (gone) return FT_DEVICE_NOT_FOUND;
    const auto index = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(arg1));
    if (index >= devices_.size() || !arg2) return FT_DEVICE_NOT_FOUND;
    const std::string& text = (flags & FT_OPEN_BY_DESCRIPTION) ? devices_[index].description : devices_[index].serial;
    std::snprintf(static_cast<char*>(arg2), 64, "%s", text.c_str());
    return FT_OK;
}

FT_STATUS Model::openEx(void* arg1, DWORD flags, FT_HANDLE* handle) {
    Call call(*this);
    const std::string key = arg1 ? static_cast<const char*>(arg1) : "";
    if (FT_STATUS s = enter("FT_OpenEx", key + " " + std::to_string(flags))) return s;
    if (!arg1 || !handle) return FT_INVALID_PARAMETER;
    *handle = nullptr;
    if (flags != FT_OPEN_BY_SERIAL_NUMBER && flags != FT_OPEN_BY_DESCRIPTION) return FT_INVALID_PARAMETER;
    if (unpluggedNow()) return FT_DEVICE_NOT_FOUND;
    int found = -1;
    for (std::size_t i = 0; i < devices_.size() && found < 0; ++i) {
        if ((flags == FT_OPEN_BY_SERIAL_NUMBER && devices_[i].serial == key) ||
            (flags == FT_OPEN_BY_DESCRIPTION && devices_[i].description == key && !openInProcess_[i]))
            found = static_cast<int>(i);
    }
    if (found < 0) return FT_DEVICE_NOT_FOUND;
    if (openInProcess_[found]) return FT_DEVICE_NOT_OPENED;
    auto* h = new Handle;
    h->device = found;
    h->generation = generation_;
    handles_.insert(h);
    openInProcess_[found] = true;
    *handle = h;
    log('O', nullptr, 0, devices_[found].serial);
    return FT_OK;
}

FT_STATUS Model::close(FT_HANDLE handle) {
    Call call(*this);
    auto* h = static_cast<Handle*>(handle);
    if (!h || !handles_.count(h)) {
        enter("FT_Close");
        return FT_INVALID_HANDLE;
    }
    // The handle is gone whatever the call reports.
    openInProcess_[h->device] = false;
    handles_.erase(h);
    delete h;
    log('C', nullptr, 0);
    return enter("FT_Close");
}

FT_STATUS Model::resetDevice(FT_HANDLE handle) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_ResetDevice")) return s;
    FT_STATUS st;
    Handle* h = live(handle, st);
    if (!h) return st;
    if (faults_.resetFail) return FT_IO_ERROR;
    h->replies.clear();
    Unit(*records_[h->device], conditions(), keepTraffic ? &events : nullptr).abandonLoad();
    return FT_OK;
}

FT_STATUS Model::purge(FT_HANDLE handle, ULONG mask) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_Purge", std::to_string(mask))) return s;
    FT_STATUS st;
    Handle* h = live(handle, st);
    if (!h) return st;
    if (mask & FT_PURGE_RX) h->replies.clear();
    return FT_OK;
}

FT_STATUS Model::setTimeouts(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_SetTimeouts", std::to_string(readTimeout) + " " + std::to_string(writeTimeout)))
        return s;
    FT_STATUS st;
    Handle* h = live(handle, st);
    if (!h) return st;
    h->readTimeoutMs = readTimeout;
    return FT_OK;
}

FT_STATUS Model::write(FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written) {
    Call call(*this);
    if (written) *written = 0;
    if (FT_STATUS s = enter("FT_Write")) return s;
    FT_STATUS st;
    Handle* h = live(handle, st);
    if (!h) return st;
    if (!buffer || !written) return FT_INVALID_PARAMETER;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    log('W', bytes, toWrite);
    if (writesSinceFault_++ == faults_.failWriteAt) return faults_.failWriteStatus;
    std::vector<Reply> replies;
    Unit(*records_[h->device], conditions(), keepTraffic ? &events : nullptr).receive(bytes, toWrite, replies);
    for (Reply& reply : replies) {
        if (faults_.badEcho) reply[5] = reply[5] == 0x4B ? 0x2D : 0x4B;
        if (faults_.alterReply) faults_.alterReply(reply);
        // Nobody reads: beyond a few frames the unit drops them.
        if (!faults_.timeout && h->replies.size() < 512) h->replies.insert(h->replies.end(), reply.begin(), reply.end());
        ++framesSinceFault_;
    }
    *written = toWrite - std::min(toWrite, faults_.writeShortBy);
    return FT_OK;
}

FT_STATUS Model::read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* received) {
    std::uint32_t waitMs = 0;
    {
        Call call(*this);
        if (received) *received = 0;
        if (FT_STATUS s = enter("FT_Read")) return s;
        FT_STATUS st;
        Handle* h = live(handle, st);
        if (!h) return st;
        if (!buffer || !received) return FT_INVALID_PARAMETER;
        DWORD n = std::min<DWORD>(toRead, static_cast<DWORD>(h->replies.size()));
        if (n == toRead) n -= std::min(n, faults_.readShortBy);
        if (n > 0) std::memcpy(buffer, h->replies.data(), n);
        h->replies.erase(h->replies.begin(), h->replies.begin() + n);
        *received = n;
        log('R', static_cast<const std::uint8_t*>(buffer), n);
        if (n == toRead) return FT_OK;
        waitMs = readTimeoutMs ? *readTimeoutMs : h->readTimeoutMs;
    }
    // Nothing more will come: the read ends when its timeout runs out.
    clock_.waitMs(waitMs);
    return FT_OK;
}

FT_STATUS Model::readEE(FT_HANDLE handle, DWORD wordOffset, std::uint16_t* value) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_ReadEE")) return s;
    FT_STATUS st;
    if (!live(handle, st)) return st;
    if (!value || wordOffset >= 64) return FT_INVALID_PARAMETER;
    *value = 0xFFFF;
    return FT_OK;
}

FT_STATUS Model::eeRead(FT_HANDLE handle, void*) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_EE_Read")) return s;
    FT_STATUS st;
    if (!live(handle, st)) return st;
    return FT_NOT_SUPPORTED;
}

FT_STATUS Model::eeUASize(FT_HANDLE handle, DWORD* size) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_EE_UASize")) return s;
    FT_STATUS st;
    if (!live(handle, st)) return st;
    if (!size) return FT_INVALID_PARAMETER;
    *size = kUserAreaSize;
    return FT_OK;
}

FT_STATUS Model::eeUAWrite(FT_HANDLE handle, unsigned char* data, DWORD length) {
    Call call(*this);
    if (FT_STATUS s = enter("FT_EE_UAWrite")) return s;
    FT_STATUS st;
    Handle* h = live(handle, st);
    if (!h) return st;
    if (!data || length > static_cast<DWORD>(kUserAreaSize)) return FT_INVALID_PARAMETER;
    std::memcpy(records_[h->device]->userArea, data, length);
    return FT_OK;
}

FT_STATUS Model::eeUARead(FT_HANDLE handle, unsigned char* data, DWORD length, DWORD* bytesRead) {
    Call call(*this);
    if (bytesRead) *bytesRead = 0;
    if (FT_STATUS s = enter("FT_EE_UARead")) return s;
    FT_STATUS st;
    Handle* h = live(handle, st);
    if (!h) return st;
    if (!data || !bytesRead) return FT_INVALID_PARAMETER;
    std::uint8_t ua[kUserAreaSize];
    std::memcpy(ua, records_[h->device]->userArea, sizeof ua);
    if (calibration) {
        const auto& c = *calibration;
        storeCalibration(ua, static_cast<std::uint16_t>(c[0]), static_cast<std::uint16_t>(c[1]), c[2], c[3]);
    }
    if (faults_.userAreaChecksum) ua[48] = static_cast<std::uint8_t>(ua[48] + 1);
    DWORD n = std::min<DWORD>(length, kUserAreaSize);
    if (faults_.userAreaShort && n > 0) --n;
    std::memcpy(data, ua, n);
    *bytesRead = n;
    if (keepTraffic) events.push_back("UA");
    log('U', ua, n);
    return FT_OK;
}

// ---- the in-process entry-point table --------------------------------------------

namespace {

Model* current = nullptr;

FT_STATUS LYR_D2XX_CALL listDevicesFn(void* a, void* b, DWORD f) { return current->listDevices(a, b, f); }
FT_STATUS LYR_D2XX_CALL openExFn(void* a, DWORD f, FT_HANDLE* h) { return current->openEx(a, f, h); }
FT_STATUS LYR_D2XX_CALL closeFn(FT_HANDLE h) { return current->close(h); }
FT_STATUS LYR_D2XX_CALL resetFn(FT_HANDLE h) { return current->resetDevice(h); }
FT_STATUS LYR_D2XX_CALL purgeFn(FT_HANDLE h, ULONG m) { return current->purge(h, m); }
FT_STATUS LYR_D2XX_CALL timeoutsFn(FT_HANDLE h, ULONG r, ULONG w) { return current->setTimeouts(h, r, w); }
FT_STATUS LYR_D2XX_CALL writeFn(FT_HANDLE h, void* b, DWORD n, DWORD* w) { return current->write(h, b, n, w); }
FT_STATUS LYR_D2XX_CALL readFn(FT_HANDLE h, void* b, DWORD n, DWORD* r) { return current->read(h, b, n, r); }
FT_STATUS LYR_D2XX_CALL readEEFn(FT_HANDLE h, DWORD o, std::uint16_t* v) { return current->readEE(h, o, v); }
FT_STATUS LYR_D2XX_CALL eeReadFn(FT_HANDLE h, void* p) { return current->eeRead(h, p); }
FT_STATUS LYR_D2XX_CALL uaSizeFn(FT_HANDLE h, DWORD* s) { return current->eeUASize(h, s); }
FT_STATUS LYR_D2XX_CALL uaWriteFn(FT_HANDLE h, unsigned char* d, DWORD n) { return current->eeUAWrite(h, d, n); }
FT_STATUS LYR_D2XX_CALL uaReadFn(FT_HANDLE h, unsigned char* d, DWORD n, DWORD* r) {
    return current->eeUARead(h, d, n, r);
}

const D2xxApi kApi = {listDevicesFn, openExFn, closeFn,  resetFn,  purgeFn,   timeoutsFn, writeFn,
                      readFn,        readEEFn, eeReadFn, uaSizeFn, uaWriteFn, uaReadFn};

}  // namespace

InProcessLibrary::InProcessLibrary(Model& model) : previous_(current) { current = &model; }
InProcessLibrary::~InProcessLibrary() { current = previous_; }
const D2xxApi& InProcessLibrary::api() const { return kApi; }

}  // namespace pgxsim
