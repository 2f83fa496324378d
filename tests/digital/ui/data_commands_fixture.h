#pragma once
// A document with the data commands on it, for driving their dialogs, and the
// range the last command reported as edited.
#include <gtest/gtest.h>

#include <memory>

#include "digital/ui/data_commands.h"
#include "support/documents.h"
#include "support/qt_app.h"
#include "support/scratch_folder.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {

class DataCommandsTest : public ::testing::Test {
protected:
    DataCommandsTest(std::int64_t ts, std::int64_t n) : doc(lyr::test::newDoc(ts, n)) {
        lyr::test::qtApp();
        QObject::connect(&commands, &ui::CommandSet::edited, [this](qint64 a, qint64 b) { first = a, end = b; });
    }

    lyr::test::ScratchFolder dir;
    lyr::test::ScriptedPrompter prompter;
    std::unique_ptr<document::CSYNDoc> doc;
    DataCommands commands{ui::CommandEnv{doc.get(), nullptr, &prompter}};
    qint64 first = -1, end = -1;
};

}  // namespace lyr::digital
