#pragma once
// A document with the data commands on it, for driving their dialogs, and the
// range the document announced as edited last.
#include <gtest/gtest.h>

#include <memory>

#include "digital/ui/data_commands.h"
#include "support/document_observer.h"
#include "support/documents.h"
#include "support/qt_app.h"
#include "support/scratch_folder.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {

class DataCommandsTest : public ::testing::Test {
protected:
    DataCommandsTest(std::int64_t ts, std::int64_t n) : doc(lyr::test::newDoc(ts, n)) { lyr::test::qtApp(); }
    // The range the document announced last; -1, -1 when none.
    std::int64_t first() const { return announced.ranges.empty() ? -1 : announced.ranges.back().first; }
    std::int64_t end() const { return announced.ranges.empty() ? -1 : announced.ranges.back().end; }

    lyr::test::ScratchFolder dir;
    lyr::test::ScriptedPrompter prompter;
    std::unique_ptr<document::CSYNDoc> doc;
    DataCommands commands{ui::CommandEnv{doc.get(), nullptr, &prompter}};
    lyr::test::RecordingObserver announced{*doc};
};

}  // namespace lyr::digital
