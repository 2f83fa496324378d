#pragma once
// The simulated unit as the device library sees it: its state and its clock
// in a folder of the test's own (a read that waits moves the clock on instead
// of sleeping), no fault, the units given; unset again when it goes.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace lyr::test {

class SimulatedUnitEnv {
public:
    explicit SimulatedUnitEnv(const char* devices = nullptr) {
        EXPECT_TRUE(dir.isValid());
        setenv("PGXSIM_STATE", QFile::encodeName(dir.filePath(QStringLiteral("state"))).constData(), 1);
        setenv("PGXSIM_CLOCK", QFile::encodeName(dir.filePath(QStringLiteral("clock"))).constData(), 1);
        unsetenv("PGXSIM_FAULT");
        if (devices)
            setenv("PGXSIM_DEVICES", devices, 1);
        else
            unsetenv("PGXSIM_DEVICES");
    }
    ~SimulatedUnitEnv() {
        for (const char* name : {"PGXSIM_STATE", "PGXSIM_CLOCK", "PGXSIM_DEVICES"}) unsetenv(name);
    }
    SimulatedUnitEnv(const SimulatedUnitEnv&) = delete;
    SimulatedUnitEnv& operator=(const SimulatedUnitEnv&) = delete;

    QTemporaryDir dir;
};

}  // namespace lyr::test
