// The binding, against D2XX stand-ins built as shared libraries.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "device/device_library.h"
#include "device/device_link.h"

#if defined(LYR_TEST_D2XX_COMPLETE) && defined(LYR_TEST_D2XX_NO_UA_WRITE)

namespace lyr::device {
namespace {

// The stand-in's own controls, reached through the already loaded library.
struct Controls {
    void (*fail)(const char*, FT_STATUS) = nullptr;
    void (*reset)() = nullptr;
    int (*closes)() = nullptr;
    void* module = nullptr;
    Controls() {
        module = dlopen(LYR_TEST_D2XX_COMPLETE, RTLD_NOW | RTLD_NOLOAD);
        if (!module) return;
        fail = reinterpret_cast<void (*)(const char*, FT_STATUS)>(dlsym(module, "fake_d2xx_fail"));
        reset = reinterpret_cast<void (*)()>(dlsym(module, "fake_d2xx_reset"));
        closes = reinterpret_cast<int (*)()>(dlsym(module, "fake_d2xx_closes"));
        reset();
    }
    ~Controls() {
        if (module) dlclose(module);
    }
};

class Binding : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("FAKE_D2XX_DEVICES", "AAA111:PGX-500,BBB222:FT232R USB UART,CCC333:PGX-500", 1);
    }
    void TearDown() override {
        unsetenv("FAKE_D2XX_DEVICES");
        unsetenv(kLibraryVariable);
    }
};

TEST_F(Binding, AMissingEntryPointFailsEvenIfNeverCalled) {
    DeviceLibrary lib;
    EXPECT_FALSE(lib.bind(LYR_TEST_D2XX_NO_UA_WRITE));
    EXPECT_FALSE(lib.bound());
    EXPECT_EQ(lib.api().listDevices, nullptr);
    // Released again: the library is not left loaded. (AddressSanitizer keeps
    // closed libraries mapped, so only a plain build can see the unload.)
#ifndef __SANITIZE_ADDRESS__
    EXPECT_EQ(dlopen(LYR_TEST_D2XX_NO_UA_WRITE, RTLD_NOW | RTLD_NOLOAD), nullptr);
#endif
    EXPECT_FALSE(lib.bind("/nonexistent/libftd2xx.so"));
}

TEST_F(Binding, EnvironmentNamesTheLibraryAndBindingIsKeptUntilUnbound) {
    DeviceLibrary lib;
    setenv(kLibraryVariable, LYR_TEST_D2XX_NO_UA_WRITE, 1);
    EXPECT_FALSE(bindDeviceLibrary(lib));
    setenv(kLibraryVariable, LYR_TEST_D2XX_COMPLETE, 1);
    ASSERT_TRUE(bindDeviceLibrary(lib));
    EXPECT_NE(lib.api().eeUARead, nullptr);
    EXPECT_NE(lib.api().eeUAWrite, nullptr);
    // Already bound: another name does not replace it.
    setenv(kLibraryVariable, "/nonexistent/libftd2xx.so", 1);
    EXPECT_TRUE(bindDeviceLibrary(lib));
    unbindDeviceLibrary(lib);
    EXPECT_FALSE(lib.bound());
    EXPECT_EQ(dlopen(LYR_TEST_D2XX_COMPLETE, RTLD_NOW | RTLD_NOLOAD), nullptr);
    unbindDeviceLibrary(lib);  // twice is harmless
}

TEST_F(Binding, ListsTwoUnitsOfTheModelAndStopsAtCapacity) {
    DeviceLibrary lib;
    ASSERT_TRUE(lib.bind(LYR_TEST_D2XX_COMPLETE));
    SerialSlot a{}, b{}, c{};
    SerialSlot* three[] = {&a, &b, &c, nullptr};
    DWORD count = 0;
    ASSERT_EQ(listDevices(lib.api(), three, count), FT_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(a.data(), "AAA111");
    EXPECT_STREQ(b.data(), "CCC333");
    SerialSlot* one[] = {&c, nullptr};
    ASSERT_EQ(listDevices(lib.api(), one, count), FT_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_STREQ(c.data(), "AAA111");
}

TEST_F(Binding, OpensBySerialAndByDescriptionAndCloses) {
    DeviceLibrary lib;
    ASSERT_TRUE(lib.bind(LYR_TEST_D2XX_COMPLETE));
    Controls controls;
    ASSERT_NE(controls.closes, nullptr);
    FT_HANDLE h = nullptr;
    EXPECT_EQ(openDevice(lib.api(), "CCC333", h), FT_OK);
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(closeDevice(lib.api(), h), FT_OK);
    EXPECT_EQ(openDevice(lib.api(), nullptr, h), FT_OK);
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(openDevice(lib.api(), "ZZZ999", h), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(controls.closes(), 1);
    setenv("FAKE_D2XX_DEVICES", "BBB222:FT232R USB UART", 1);
    EXPECT_EQ(openDevice(lib.api(), nullptr, h), FT_DEVICE_NOT_FOUND);
}

TEST_F(Binding, AResetFailureClosesTheHandle) {
    DeviceLibrary lib;
    ASSERT_TRUE(lib.bind(LYR_TEST_D2XX_COMPLETE));
    Controls controls;
    ASSERT_NE(controls.fail, nullptr);
    controls.fail("FT_ResetDevice", FT_IO_ERROR);
    FT_HANDLE h = nullptr;
    EXPECT_EQ(openDevice(lib.api(), "AAA111", h), FT_IO_ERROR);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(controls.closes(), 1);
    controls.reset();
}

}  // namespace
}  // namespace lyr::device

#endif
