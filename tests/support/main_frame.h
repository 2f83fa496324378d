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
#include "support/simulated_unit_env.h"

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

// The same with the simulated unit as the device library.
class SimulatedUnitFrameTest : public MainFrameTest {
protected:
    void SetUp() override {
        setenv("LYR_D2XX_LIBRARY", (std::string(LYR_BINARY_DIR) + "/libpgxsim.so").c_str(), 1);
        MainFrameTest::SetUp();
        ASSERT_TRUE(frame->deviceLibraryBound());
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        unsetenv("LYR_D2XX_LIBRARY");
    }
    QString settingsFile() const { return dir.path() + QStringLiteral("/LYR.INI"); }

    SimulatedUnitEnv unit;
    QTemporaryDir& dir = unit.dir;
};

}  // namespace lyr::test
