// The simulated PGX-500 as a D2XX library: the thirteen entry points over one
// Model, configured from the PGXSIM_* variables (see environment.h) at every
// call.
#include "environment.h"
#include "model.h"

using namespace lyr::device;

#define PGXSIM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

pgxsim::Model& model() {
    static pgxsim::EnvironmentClock clock;
    static pgxsim::Environment environment;
    static pgxsim::Model m(clock);
    static const bool wired = (m.refresh = [](pgxsim::Model& self) { environment.apply(self); }, true);
    (void)wired;
    return m;
}

}  // namespace

PGXSIM_EXPORT FT_STATUS FT_ListDevices(void* arg1, void* arg2, DWORD flags) {
    return model().listDevices(arg1, arg2, flags);
}
PGXSIM_EXPORT FT_STATUS FT_OpenEx(void* arg1, DWORD flags, FT_HANDLE* handle) {
    return model().openEx(arg1, flags, handle);
}
PGXSIM_EXPORT FT_STATUS FT_Close(FT_HANDLE handle) { return model().close(handle); }
PGXSIM_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE handle) { return model().resetDevice(handle); }
PGXSIM_EXPORT FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) { return model().purge(handle, mask); }
PGXSIM_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout) {
    return model().setTimeouts(handle, readTimeout, writeTimeout);
}
PGXSIM_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, DWORD toWrite, DWORD* written) {
    return model().write(handle, buffer, toWrite, written);
}
PGXSIM_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD toRead, DWORD* received) {
    return model().read(handle, buffer, toRead, received);
}
PGXSIM_EXPORT FT_STATUS FT_ReadEE(FT_HANDLE handle, DWORD wordOffset, std::uint16_t* value) {
    return model().readEE(handle, wordOffset, value);
}
PGXSIM_EXPORT FT_STATUS FT_EE_Read(FT_HANDLE handle, void* programData) {
    return model().eeRead(handle, programData);
}
PGXSIM_EXPORT FT_STATUS FT_EE_UASize(FT_HANDLE handle, DWORD* size) { return model().eeUASize(handle, size); }
// A build without this entry point stands for an incomplete vendor library.
#ifndef PGXSIM_WITHOUT_UA_WRITE
PGXSIM_EXPORT FT_STATUS FT_EE_UAWrite(FT_HANDLE handle, unsigned char* data, DWORD length) {
    return model().eeUAWrite(handle, data, length);
}
#endif
PGXSIM_EXPORT FT_STATUS FT_EE_UARead(FT_HANDLE handle, unsigned char* data, DWORD length, DWORD* bytesRead) {
    return model().eeUARead(handle, data, length, bytesRead);
}
