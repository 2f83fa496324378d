#pragma once
// The main window over a document of its own, shown, asking a scripted
// prompter: the setup of the frame's widget tests.
#include <gtest/gtest.h>

#include <memory>

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

}  // namespace lyr::test
