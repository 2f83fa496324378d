// lyrtool: inspect, create, edit, convert and upload waveforms from scripts.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command.h"

namespace {

void printUsage(std::FILE* out) {
    std::fprintf(out, "Usage: lyrtool COMMAND [ARGS]\n\nCommands:\n");
    auto list = lyrtool::commands();
    std::sort(list.begin(), list.end(),
              [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const auto& c : list) std::fprintf(out, "  %-12s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'lyrtool COMMAND --help' describes one command.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return lyrtool::kUsage;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return lyrtool::kOk;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : lyrtool::commands()) {
        if (name != c.name) continue;
        if (std::find(args.begin(), args.end(), "--help") != args.end()) {
            std::fputs(c.composeHelp ? c.composeHelp().c_str() : c.help, stdout);
            return lyrtool::kOk;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "lyrtool: unknown command '%s'\n", name.c_str());
    printUsage(stderr);
    return lyrtool::kUsage;
}
