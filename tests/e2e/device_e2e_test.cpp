// lyrtool's device commands against the simulated PGX-500 in separate
// processes; the simulator's state file shows what the unit holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "device/protocol.h"
#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "pgxsim/pgxsim_state.h"
#include "support/documents.h"
#include "support/program_run.h"

namespace lyr {
namespace {

namespace fs = std::filesystem;
using device::SampleTracks;
using document::CSYNDoc;
using document::OutputSettings;

class DeviceE2E : public ::testing::Test {
protected:
    void SetUp() override {
        env_["LYR_D2XX_LIBRARY"] = PGXSIM_PATH;
        env_["PGXSIM_STATE"] = (dir_ / "state").string();
        env_["PGXSIM_LOG"] = (dir_ / "log").string();
        // The unit's time is this file's: the test moves it, nothing sleeps.
        env_["PGXSIM_CLOCK"] = (dir_ / "clock").string();
        for (const char* v : {"PGXSIM_DEVICES", "PGXSIM_FAULT", "PGXSIM_CALIBRATION", "PGXSIM_FIRMWARE",
                              "PGXSIM_TIMEOUT_MS"})
            env_[v] = test::kUnset;
        setClockNs(1'000'000'000);
    }

    test::RunResult lyrtool(std::vector<std::string> args, std::map<std::string, std::string> extra = {}) {
        auto env = env_;
        for (auto& [k, v] : extra) env[k] = v;
        auto r = test::runProgram(LYRTOOL_PATH, args, dir_, env);
        EXPECT_FALSE(r.timedOut) << "lyrtool " << (args.empty() ? "" : args[0]) << " hung";
        return r;
    }

    void setClockNs(long long ns) { std::ofstream(dir_ / "clock") << ns << "\n"; }
    long long clockNs() {
        long long ns = -1;
        std::ifstream(dir_ / "clock") >> ns;
        return ns;
    }

    // A waveform with a sine, clipped peaks and a counting pattern on CH0..CH7.
    std::string makeFile(std::uint32_t n, std::int64_t tsNs, int r, OutputSettings settings) {
        doc_ = test::newDoc(tsNs, n);
        for (std::uint32_t i = 0; i < n; ++i) {
            doc_->analog()[i] = 1.3 * std::sin(i * 0.002);
            for (int k = 0; k < 8; ++k) doc_->digital(k)[i] = (i >> k) & 1;
        }
        EXPECT_TRUE(doc_->setAnalogResolution(r));
        settings.analogResolution = static_cast<std::uint8_t>(r);
        doc_->setOutputSettings(settings);
        const std::string path = (dir_ / "wave.lyr").string();
        document::StoredExtras extras;
        auto saved = document::saveWaveformFile(path, *doc_, extras);
        EXPECT_TRUE(saved.ok) << saved.message;
        return path;
    }

    std::vector<std::uint16_t> expectedWords(device::Calibration calibration) {
        SampleTracks tracks;
        tracks.analog = doc_->analog();
        for (int k = 0; k < 8; ++k) tracks.digital[k] = doc_->digital(k);
        std::vector<std::uint16_t> words(doc_->sampleCount());
        device::buildSampleWords(tracks, doc_->sampleCount(), doc_->analogResolution(), calibration, words.data());
        return words;
    }

    std::unique_ptr<pgxsim::DeviceRecord> record(int index = 0) {
        auto rec = std::make_unique<pgxsim::DeviceRecord>();
        std::ifstream in(dir_ / "state", std::ios::binary);
        in.seekg(static_cast<std::streamoff>(pgxsim::recordOffset(index)));
        in.read(reinterpret_cast<char*>(rec.get()), sizeof(pgxsim::DeviceRecord));
        EXPECT_TRUE(in.good());
        return rec;
    }

    // How many frames and user-area reads reached a unit, from the simulator's log.
    int deviceTraffic() {
        std::ifstream in(dir_ / "log");
        int n = 0;
        for (std::string line; std::getline(in, line);) n += !line.empty() && (line[0] == 'W' || line[0] == 'U');
        return n;
    }

    std::string state() {
        auto r = lyrtool({"status", "--json"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        auto at = r.out.find("\"state\": \"");
        if (at == std::string::npos) return "";
        at += 10;
        return r.out.substr(at, r.out.find('"', at) - at);
    }

    test::ScratchFolder scratch_;
    fs::path dir_ = scratch_.path();
    std::map<std::string, std::string> env_;
    std::unique_ptr<CSYNDoc> doc_;
};

// The order of the register writes is the protocol's (Protocol.UploadSeesTheFixedOrder).
TEST_F(DeviceE2E, UploadLoadsTheWordsAndTheFilesSettingsAndARepeatRunEndsByItself) {
    OutputSettings s;
    s.outputMode = 1;
    s.repeatCount = 7;
    s.analogStop = 1;
    s.syncPulseWidth = 1;
    const std::string file = makeFile(120000, 20, 10, s);
    auto r = lyrtool({"upload", file});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // The words with the unit's calibration and the file's settings; the
    // count, sampling time and repeat count show in how long the run lasts.
    auto rec = record();
    ASSERT_EQ(rec->loadedWords, 120000u);
    EXPECT_EQ(std::vector<std::uint16_t>(rec->samples, rec->samples + 120000), expectedWords({7000.0, 8000.0}));
    EXPECT_EQ(rec->registers[device::REG_CONFIG], device::packConfigWord(doc_->outputSettings()));
    EXPECT_EQ(rec->dataValid, 1);
    r = lyrtool({"status", "--json"});
    EXPECT_NE(r.out.find("\"repeatCount\": 7"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"outputMode\": 1"), std::string::npos) << r.out;

    // 7 x 120000 x 20 ns = 16.8 ms on the unit's clock.
    ASSERT_EQ(lyrtool({"start"}).exitCode, 0);
    const long long started = clockNs();
    setClockNs(started + 16'800'000 - 1);
    EXPECT_EQ(state(), "Running");
    setClockNs(started + 16'800'000);
    EXPECT_EQ(state(), "Ready");
}

TEST_F(DeviceE2E, StartRunningThenStop) {
    const std::string file = makeFile(1000, 100, 12, OutputSettings{});
    EXPECT_EQ(state(), "NotSetUp");
    // Nothing loaded: the unit would not start, so the start is refused.
    auto idle = lyrtool({"start"});
    EXPECT_EQ(idle.exitCode, 1);
    EXPECT_NE(idle.err.find("スタートできませんでした。 (refused: the unit is NotSetUp)"), std::string::npos)
        << idle.err;
    EXPECT_EQ(state(), "NotSetUp");
    ASSERT_EQ(lyrtool({"upload", file}).exitCode, 0);
    ASSERT_EQ(lyrtool({"start"}).exitCode, 0);
    EXPECT_EQ(state(), "Running");
    // A running unit takes neither a second start nor new data.
    EXPECT_EQ(lyrtool({"start"}).exitCode, 1);
    auto busy = lyrtool({"upload", file});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_NE(busy.err.find("データ設定できませんでした。 (refused: the unit is Running)"), std::string::npos)
        << busy.err;
    EXPECT_EQ(state(), "Running");
    setClockNs(clockNs() + 3'600'000'000'000);
    EXPECT_EQ(state(), "Running");  // continuous
    ASSERT_EQ(lyrtool({"stop"}).exitCode, 0);
    EXPECT_EQ(state(), "Ready");
    ASSERT_EQ(lyrtool({"start"}).exitCode, 0);
    ASSERT_EQ(lyrtool({"force-stop"}).exitCode, 0);
    EXPECT_EQ(state(), "Ready");
    auto plain = lyrtool({"status"});
    EXPECT_NE(plain.out.find("state: Ready"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("settings.analogResolution: 12"), std::string::npos) << plain.out;
    // Under trigger start control only the trigger input starts the unit.
    OutputSettings triggered;
    triggered.startControl = 2;
    ASSERT_EQ(lyrtool({"upload", makeFile(1000, 100, 12, triggered)}).exitCode, 0);
    auto refused = lyrtool({"start"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("starts on its trigger input"), std::string::npos) << refused.err;
    EXPECT_EQ(state(), "Ready");
}

TEST_F(DeviceE2E, DevicesAndSelectionBySerial) {
    std::map<std::string, std::string> two = {{"PGXSIM_DEVICES", "S-ONE:PGX-500,X:FT232R,S-TWO:PGX-500,Y:PGX-5000"}};
    auto r = lyrtool({"devices"}, two);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "S-ONE\nS-TWO\n");
    const std::string file = makeFile(500, 100, 12, OutputSettings{});
    ASSERT_EQ(lyrtool({"upload", file, "--serial", "S-TWO"}, two).exitCode, 0);
    EXPECT_EQ(record(0)->dataValid, 0);
    EXPECT_EQ(record(2)->dataValid, 1);
    auto missing = lyrtool({"start", "--serial", "NOPE"}, two);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("PGX-500 未接続"), std::string::npos);
    auto none = lyrtool({"devices"}, {{"PGXSIM_DEVICES", "X:FT232R"}});
    EXPECT_EQ(none.exitCode, 3);
    EXPECT_EQ(none.out, "");
}

TEST_F(DeviceE2E, NoLibraryExitsThree) {
    for (const char* cmd : {"devices", "start", "status"}) {
        auto r = lyrtool({cmd}, {{"LYR_D2XX_LIBRARY", "/nonexistent/libftd2xx.so"}});
        EXPECT_EQ(r.exitCode, 3) << cmd;
        EXPECT_NE(r.err.find("no D2XX library"), std::string::npos) << cmd;
    }
}

struct FaultCase {
    const char* fault;
    std::vector<std::string> args;  // "FILE" is replaced by the waveform file
    int exitCode;
    const char* message;
    long long waitedMs;  // how long the unit's clock moved while a read waited
};

TEST_F(DeviceE2E, EachFaultGivesItsMessageAndExitStatus) {
    const std::string file = makeFile(2000, 100, 12, OutputSettings{});
    const std::vector<FaultCase> cases = {
        {"transfer-error", {"upload", "FILE"}, 1, "データ設定できませんでした。 (status 21)", 0},
        {"user-area-checksum", {"upload", "FILE"}, 1, "データ設定できませんでした。 (status 20)", 0},
        {"user-area-short", {"upload", "FILE"}, 1, "データ設定できませんでした。 (status 20)", 0},
        {"unplug-after=3", {"upload", "FILE"}, 1, "データ設定できませんでした。 (status 4)", 0},
        // A reply that comes short or not at all is waited for as long as LYR
        // asked, on the unit's clock.
        {"short-read", {"start"}, 1, "スタートできませんでした。 (status 21)", 2000},
        {"bad-echo", {"stop"}, 1, "ストップできませんでした。 (status 21)", 0},
        {"timeout", {"force-stop"}, 1, "強制ストップできませんでした。 (status 21)", 2000},
        {"timeout", {"status"}, 1, "PGX-500 未接続 (status 21)", 2000},
        {"unplugged", {"upload", "FILE"}, 3, "PGX-500 未接続", 0},
        {"unplugged", {"devices"}, 3, "no PGX-500 connected", 0},
        {"reset-fail", {"status"}, 3, "PGX-500 未接続 (status 4)", 0},
        // The window greys both buttons on a clock fault; nothing is sent.
        {"clock", {"upload", "FILE"}, 1, "データ設定できませんでした。 (refused: the unit is ClockFault)", 0},
        {"clock", {"start"}, 1, "スタートできませんでした。 (refused: the unit is ClockFault)", 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        for (auto& a : args)
            if (a == "FILE") a = file;
        const long long before = clockNs();
        auto r = lyrtool(args, {{"PGXSIM_FAULT", c.fault}});
        EXPECT_EQ(clockNs() - before, c.waitedMs * 1'000'000) << c.fault;
        EXPECT_EQ(r.exitCode, c.exitCode) << c.fault << " " << args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.fault << ": " << r.err;
    }
    // A failed upload leaves the unit marked invalid.
    EXPECT_EQ(state(), "NotSetUp");
    auto clock = lyrtool({"status"}, {{"PGXSIM_FAULT", "clock"}});
    EXPECT_EQ(clock.exitCode, 0);
    EXPECT_NE(clock.out.find("state: ClockFault"), std::string::npos) << clock.out;
    // Back to normal once the fault is gone.
    ASSERT_EQ(lyrtool({"upload", file}).exitCode, 0);
    EXPECT_EQ(state(), "Ready");
}

TEST_F(DeviceE2E, BadArgumentsExitTwoAndTouchNothing) {
    EXPECT_EQ(lyrtool({"start", "extra"}).exitCode, 2);
    EXPECT_EQ(lyrtool({"upload"}).exitCode, 2);
    EXPECT_EQ(lyrtool({"status", "--serial"}).exitCode, 2);
    EXPECT_EQ(lyrtool({"devices", "--json"}).exitCode, 2);
    EXPECT_EQ(deviceTraffic(), 0);
}

TEST_F(DeviceE2E, InvalidRepeatCountInTheFileSendsNothing) {
    OutputSettings s;
    s.outputMode = 1;
    s.repeatCount = 0;
    const std::string file = makeFile(100, 100, 12, s);
    auto r = lyrtool({"upload", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("繰り返し回数が不正です。"), std::string::npos) << r.err;
    EXPECT_EQ(deviceTraffic(), 0);
}

}  // namespace
}  // namespace lyr
