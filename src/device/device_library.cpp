#include "device/device_library.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace lyr::device {

namespace {

void* loadModule(const std::string& name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(LoadLibraryA(name.c_str()));
#else
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

void releaseModule(void* module) {
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(module));
#else
    dlclose(module);
#endif
}

void* resolve(void* module, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
#else
    return dlsym(module, name);
#endif
}

template <typename Fn>
bool resolveInto(void* module, const char* name, Fn& slot) {
    void* address = resolve(module, name);
    slot = reinterpret_cast<Fn>(address);
    return address != nullptr;
}

}  // namespace

const char* defaultLibraryName() {
#if defined(_WIN32)
    return "FTD2XX.dll";
#elif defined(__APPLE__)
    return "libftd2xx.dylib";
#else
    return "libftd2xx.so";
#endif
}

DeviceLibrary::~DeviceLibrary() { unbind(); }

bool DeviceLibrary::bind(const std::string& fileName) {
    if (module_) return true;
    void* module = loadModule(fileName);
    if (!module) return false;
    D2xxApi api;
    const char* const* n = kD2xxEntryPointNames;
    bool all = resolveInto(module, n[0], api.listDevices) && resolveInto(module, n[1], api.openEx) &&
               resolveInto(module, n[2], api.close) && resolveInto(module, n[3], api.resetDevice) &&
               resolveInto(module, n[4], api.purge) && resolveInto(module, n[5], api.setTimeouts) &&
               resolveInto(module, n[6], api.write) && resolveInto(module, n[7], api.read) &&
               resolveInto(module, n[8], api.readEE) && resolveInto(module, n[9], api.eeRead) &&
               resolveInto(module, n[10], api.eeUASize) &&
               resolveInto(module, n[11], api.eeUAWrite) && resolveInto(module, n[12], api.eeUARead);
    if (!all) {
        releaseModule(module);
        return false;
    }
    module_ = module;
    api_ = api;
    return true;
}

void DeviceLibrary::unbind() {
    if (!module_) return;
    releaseModule(module_);
    module_ = nullptr;
    api_ = D2xxApi{};
}

bool bindDeviceLibrary(DeviceLibrary& library) {
    const char* named = std::getenv(kLibraryVariable);
    return library.bind(named && *named ? named : defaultLibraryName());
}

void unbindDeviceLibrary(DeviceLibrary& library) { library.unbind(); }

}  // namespace lyr::device
