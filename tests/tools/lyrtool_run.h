#pragma once
// Runs the built lyrtool and collects what it printed.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace lyrtool::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline ToolRun lyrtool(const std::vector<std::string>& args, const std::filesystem::path& scratch) {
    std::string cmd = quote(LYRTOOL_PATH);
    for (const auto& a : args) cmd += " " + quote(a);
    const auto outPath = scratch / "stdout.txt";
    const auto errPath = scratch / "stderr.txt";
    cmd += " >" + quote(outPath.string()) + " 2>" + quote(errPath.string());
    ToolRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(outPath);
    r.err = slurp(errPath);
    return r;
}

}  // namespace lyrtool::test
