#pragma once
// Runs the built lyrtool in the test's scratch folder, in an environment of
// its own, and collects what it printed; saved files are read back with the
// document's own reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "support/documents.h"
#include "support/program_run.h"
#include "support/scratch_folder.h"

namespace lyrtool::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// A scratch folder with lyrtool run inside it.
class ToolTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir / name).string(); }
    ToolRun run(const std::vector<std::string>& args) const {
        const auto r = lyr::test::runProgram(LYRTOOL_PATH, args, dir);
        return {r.exitCode, r.out, r.err};
    }
    // `lyrtool edit IN OUT` followed by the given arguments (editor and options).
    ToolRun edit(const std::string& in, const std::string& out, std::initializer_list<std::vector<std::string>> parts) const {
        std::vector<std::string> args{"edit", path(in), path(out)};
        for (const auto& p : parts) args.insert(args.end(), p.begin(), p.end());
        return run(args);
    }
    // A new waveform of `count` samples, `sampling` apart.
    void makeWaveform(const std::string& name, const std::string& sampling, const std::string& count) const {
        const ToolRun r = run({"new", path(name), "--sampling", sampling, "--count", count});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::unique_ptr<lyr::document::CSYNDoc> load(const std::string& name) const {
        auto doc = lyr::test::makeDoc();
        lyr::document::StoredExtras extras;
        EXPECT_TRUE(lyr::document::openWaveformFile(path(name), *doc, extras).ok) << name;
        return doc;
    }

    lyr::test::ScratchFolder scratch;
    std::filesystem::path dir = scratch.path();
};

}  // namespace lyrtool::test
