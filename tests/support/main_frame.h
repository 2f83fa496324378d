#pragma once
// The main window over a document of its own, shown, asking a scripted
// prompter: the setup of the frame's widget tests.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/ui/main_frame.h"
#include "support/documents.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"

namespace lyr::test {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        doc = makeDoc();
        ASSERT_TRUE(doc);
        frame = std::make_unique<app::CMainFrame>(*doc);
        frame->setPrompter(&prompter);
        frame->resize(1280, 800);
        frame->show();
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
    }

    std::unique_ptr<document::CSYNDoc> doc;
    std::unique_ptr<app::CMainFrame> frame;
    ScriptedPrompter prompter;
};

// The same with the simulated unit as the device library, its state and its
// clock in a folder of the test's own (a read that waits moves the clock on
// instead of sleeping).
class SimulatedUnitFrameTest : public MainFrameTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        setenv("LYR_D2XX_LIBRARY", (std::string(LYR_BINARY_DIR) + "/libpgxsim.so").c_str(), 1);
        setenv("PGXSIM_STATE", (dir.path() + "/state").toLocal8Bit().constData(), 1);
        setenv("PGXSIM_CLOCK", (dir.path() + "/clock").toLocal8Bit().constData(), 1);
        unsetenv("PGXSIM_FAULT");
        unsetenv("PGXSIM_DEVICES");
        MainFrameTest::SetUp();
        ASSERT_TRUE(frame->deviceLibraryBound());
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        for (const char* name : {"LYR_D2XX_LIBRARY", "PGXSIM_STATE", "PGXSIM_CLOCK", "PGXSIM_DEVICES"}) unsetenv(name);
    }
    QString settingsFile() const { return dir.path() + QStringLiteral("/LYR.INI"); }

    QTemporaryDir dir;
};

}  // namespace lyr::test
