#pragma once
// Runs a program with extra environment variables and a time limit, and
// collects its exit status, stdout and stderr.
#include <map>
#include <string>
#include <vector>

namespace lyr::test {

struct RunResult {
    int exitCode = -1;  // -1 when it did not end by itself in time
    bool timedOut = false;
    std::string out;
    std::string err;
};

RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env, int timeoutMs = 20000);

}  // namespace lyr::test
