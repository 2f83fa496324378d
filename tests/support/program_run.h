#pragma once
// Runs a built program (lyr, lyrtool) as a script would, in an environment of
// its own: XDG_RUNTIME_DIR, HOME and LYR_SETTINGS point into the test's
// scratch folder, so that a run neither sees nor touches the user's runtime
// folder, home or settings. Its exit status, stdout and stderr are collected.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace lyr::test {

struct RunResult {
    int exitCode = -1;  // -1 when it did not end by itself in time
    bool timedOut = false;
    std::string out;
    std::string err;
};

// A variable given the value kUnset is removed from the environment.
inline constexpr const char* kUnset = "\x01unset";

// folder: the test's scratch folder (a ScratchFolder's path).
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& folder,
                     const std::map<std::string, std::string>& env = {}, int timeoutMs = 60000);

}  // namespace lyr::test
