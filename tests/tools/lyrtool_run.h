#pragma once
// Runs the built lyrtool in the test's scratch folder, in an environment of
// its own, and collects what it printed.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/scratch_dir.h"

namespace lyrtool::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline ToolRun lyrtool(const std::vector<std::string>& args, const std::filesystem::path& scratch) {
    const auto r = lyr::test::runProgram(LYRTOOL_PATH, args, scratch);
    return {r.exitCode, r.out, r.err};
}

}  // namespace lyrtool::test
