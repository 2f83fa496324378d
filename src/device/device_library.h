#pragma once
// The D2XX library, loaded at run time. Without it (or with an incomplete one)
// the program runs without any device feature.
#include <string>

#include "device/d2xx.h"

namespace lyr::device {

// Environment variable naming the library file to load instead of the
// platform's own D2XX library.
inline constexpr const char* kLibraryVariable = "LYR_D2XX_LIBRARY";
const char* defaultLibraryName();

class DeviceLibrary {
public:
    DeviceLibrary() = default;
    ~DeviceLibrary();
    DeviceLibrary(const DeviceLibrary&) = delete;
    DeviceLibrary& operator=(const DeviceLibrary&) = delete;

    // Loads the named file (a path or a name for the platform's search) and
    // resolves all thirteen entry points; true when bound (already or now).
    // A missing file or entry point leaves the library unbound and released.
    bool bind(const std::string& fileName);
    void unbind();
    bool bound() const { return module_ != nullptr; }
    const D2xxApi& api() const { return api_; }

private:
    void* module_ = nullptr;
    D2xxApi api_{};
};

// Binds the library named by LYR_D2XX_LIBRARY, else the platform's D2XX library.
bool bindDeviceLibrary(DeviceLibrary& library);
void unbindDeviceLibrary(DeviceLibrary& library);

}  // namespace lyr::device
