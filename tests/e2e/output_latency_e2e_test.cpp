// The whole program with a unit that has stopped answering: `lyr` opens
// "波形出力" against the simulator's timeout fault, so that every poll waits
// out the 2 s read timeout, and a preloaded driver measures for 5 s how late
// a 10 ms timer on the GUI thread fires. The window's device work runs on its
// worker, so the event loop never waits for the unit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/program_run.h"

namespace lyr {
namespace {

namespace fs = std::filesystem;

TEST(OutputLatencyE2E, ASilentUnitNeverHoldsUpTheEventLoop) {
    const test::ScratchFolder scratch;
    const fs::path dir = scratch.path();
    {
        std::ofstream ini(dir / "LYR.INI");
        ini << "[LYR]\nVersion=1.4\n\n[PGX-500]\nMaxNumber=1\n";
    }
    const std::map<std::string, std::string> env = {
        {"QT_QPA_PLATFORM", "offscreen"},
        {"LYR_D2XX_LIBRARY", PGXSIM_PATH},
        {"PGXSIM_STATE", (dir / "state").string()},
        {"PGXSIM_DEVICES", test::kUnset},
        {"PGXSIM_LOG", test::kUnset},
        {"PGXSIM_CLOCK", test::kUnset},  // the reads wait in real time
        {"PGXSIM_TIMEOUT_MS", test::kUnset},
        {"PGXSIM_FAULT", "timeout"},
        {"PGXSIM_CALIBRATION", test::kUnset},
        {"LD_PRELOAD", LYR_LATENCY_DRIVER_PRELOAD},
        {"LYR_LATENCY_REPORT", (dir / "report").string()},
        {"LYR_LATENCY_MS", "5000"},
    };
    const test::RunResult lyr = test::runProgram(LYR_PATH, {}, dir, env, 45000);
    std::ifstream in(dir / "report");
    std::stringstream report;
    report << in.rdbuf();
    const std::string text = report.str();
    EXPECT_FALSE(lyr.timedOut);
    EXPECT_EQ(lyr.exitCode, 0) << lyr.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, std::regex("ticks (\\d+) max_late_ms ([0-9.]+)"))) << text;
    const double maxLateMs = std::stod(m[2]);
    std::printf("event-loop lateness over 5 s of a silent unit: max %.1f ms over %s ticks\n", maxLateMs,
                m[1].str().c_str());
    EXPECT_LT(maxLateMs, 50.0) << text;
    EXPECT_GT(std::stoi(m[1]), 100) << text;
    // The polls did reach the unit and showed it as gone.
    EXPECT_NE(text.find("status PGX-500 未接続"), std::string::npos) << text;
    EXPECT_EQ(text.find("asked:"), std::string::npos) << text;
}

}  // namespace
}  // namespace lyr
