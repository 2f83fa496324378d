// The whole program: `lyr` started against the simulated units with several
// instances allowed, a unit chosen in "PGX-500指定", the waveform written and
// started from "波形出力" by a preloaded driver playing the user; the unit's
// state is then read back with lyrtool, as another program would.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "support/documents.h"
#include "support/program_run.h"

namespace lyr {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The language of a run: its arguments before the file, LYR_LANG, the
// settings file's key, and the language the driver reads the windows in.
struct Language {
    std::vector<std::string> args;
    const char* environment;
    const char* settingsKey;
    const char* driver;
};

void runsThroughTheOutputWindow(const Language& language) {
    // The programs get their runtime folder, home and LYR.INI in here.
    const test::ScratchFolder scratch;
    const fs::path dir = scratch.path();
    {
        std::ofstream ini(dir / "LYR.INI");
        ini << "[LYR]\nVersion=1.4\n" << language.settingsKey
            << "\n[PGX-500]\nMaxNumber=2\n\n[PGX-500.Device1]\nSerialNo=PG500001\nDescription=Left\n";
    }
    auto doc = test::newDoc(1000, 5000);
    for (std::uint32_t i = 0; i < 5000; ++i) doc->analog()[i] = (i % 100) / 100.0 - 0.5;
    const std::string wave = (dir / "wave.lyr").string();
    ASSERT_TRUE(document::saveWaveformFile(wave, *doc, {}).ok);

    std::map<std::string, std::string> env = {
        {"QT_QPA_PLATFORM", "offscreen"},
        {"LYR_D2XX_LIBRARY", PGXSIM_PATH},
        {"PGXSIM_STATE", (dir / "state").string()},
        {"PGXSIM_DEVICES", "PG500001:PGX-500,PG500002:PGX-500"},
        {"PGXSIM_LOG", (dir / "log").string()},
        {"PGXSIM_CLOCK", (dir / "clock").string()},
        {"PGXSIM_TIMEOUT_MS", test::kUnset},
        {"PGXSIM_FAULT", test::kUnset},
        {"PGXSIM_CALIBRATION", test::kUnset},
        {"LD_PRELOAD", LYR_UI_DRIVER_PRELOAD},
        {"LYR_UI_DRIVER_SERIAL", "PG500002"},
        {"LYR_UI_DRIVER_REPORT", (dir / "report").string()},
        {"LYR_UI_DRIVER_LANG", language.driver},
        {"LYR_LANG", language.environment},
    };
    std::vector<std::string> args = language.args;
    args.push_back(wave);
    const test::RunResult lyr = test::runProgram(LYR_PATH, args, dir, env, 45000);
    const std::string steps = slurp(dir / "report");
    EXPECT_FALSE(lyr.timedOut);
    EXPECT_EQ(lyr.exitCode, 0) << lyr.err;
    EXPECT_EQ(steps, "selected\noutput window open\ntransferred\nstarted\nrunning\nclosing\n") << lyr.err;

    // The chosen unit is running what the window sent; the other is untouched.
    env.erase("LD_PRELOAD");
    const test::RunResult chosen = test::runProgram(LYRTOOL_PATH, {"status", "--serial", "PG500002"}, dir, env);
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("Running"), std::string::npos) << chosen.out;
    const test::RunResult other = test::runProgram(LYRTOOL_PATH, {"status", "--serial", "PG500001"}, dir, env);
    EXPECT_NE(other.out.find("NotSetUp"), std::string::npos) << other.out;

    // Both units are in the device list now, the named one first.
    const std::string ini = slurp(dir / "LYR.INI");
    EXPECT_NE(ini.find("SerialNo=PG500001"), std::string::npos) << ini;
    EXPECT_NE(ini.find("SerialNo=PG500002"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Description=Left"), std::string::npos) << ini;
}

TEST(OutputWindowE2E, ChosenUnitIsWrittenAndStartedFromTheOutputWindow) {
    runsThroughTheOutputWindow({{}, test::kUnset, "", "ja"});
}

// The same run in English, chosen each way; no window or menu it passes shows a
// Japanese text (the driver would report it as a step).
TEST(OutputWindowE2E, InEnglishFromTheCommandLineTheEnvironmentOrTheSettingsFile) {
    const Language cases[] = {
        {{"--lang", "en"}, test::kUnset, "", "en"},
        {{}, "en", "Language=ja\n", "en"},
        {{}, test::kUnset, "Language=en\n", "en"},
        {{"--lang=ja"}, "en", "Language=en\n", "ja"},  // the command line wins
    };
    for (const Language& c : cases) {
        SCOPED_TRACE(std::string(c.environment) + " " + c.settingsKey + " " + c.driver);
        runsThroughTheOutputWindow(c);
    }
}

}  // namespace
}  // namespace lyr
