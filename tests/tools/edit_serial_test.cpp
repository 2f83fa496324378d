// lyrtool edit serial / parallel as scripts use them; the saved file is read
// back with the document's own reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "interchange/npy.h"
#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;
using Ints = std::vector<int>;

class EditSerialData : public ToolTest {
protected:
    void SetUp() override {
        makeWaveform("in.lyr", "10ns", "100");
        write("bits.txt", "1 0,1;1\r\n0");
        write("two.txt", "1,2");
        write("words.txt", "1 2,3");
        write("words.npy", lyr::interchange::npyHeader("|u1", 4) + std::string("\x04\x00\x04\x04", 4));
        write("over.npy", lyr::interchange::npyHeader("|u1", 1048577) + std::string(1048577, '\x01'));
        write("broken.npy", lyr::interchange::npyHeader("<u2", 1) + "ab");
        write("dump.vcd", "$timescale 1ns $end $var wire 1 ! CH0 $end $enddefinitions $end #0 1! #25 0! #60 1! #80");
        write("broken.vcd", "$timescale 1ns $end $var wire 1 ! CH0 $end #0 1!");
    }
    void write(const std::string& name, const std::string& text) { std::ofstream(path(name), std::ios::binary) << text; }
};

// Usage errors are EditCommand's table.
TEST_F(EditSerialData, OptionsFilesAndExitCodes) {
    struct Case {
        const char* name;
        std::vector<std::string> options;  // after IN OUT
        int status;
        std::string err;  // a piece stderr must hold
        int channel;      // the channel checked when saved
        Ints levels;      // its first samples
    };
    const std::vector<Case> cases = {
        {"bits", {"serial", "--channel", "3", "--bit-time", "25ns", "--bits", "1011", "--start", "10ns"}, 0,
         "25 nS　→　20 nS", 3, {0, 1, 1, 0, 0, 1, 1, 1, 1, 0}},
        {"bit file", {"serial", "--channel", "2", "--bit-time", "10ns", "--bits-file", "bits.txt", "--mode", "xor"}, 0,
         "", 2, {1, 0, 1, 1, 0, 0}},
        {"hex text", {"parallel", "--interval", "20ns", "--hex", "ABC", "--channels", "7,1"}, 0, "", 7,
         {1, 1, 1, 1, 0, 0}},
        {"hex file, order 1", {"parallel", "--interval", "10ns", "--hex-file", "words.txt", "--bit-order", "1"}, 0, "",
         6, {1, 0, 0}},  // CH6 takes bit 1
        {"invalid file", {"serial", "--bit-time", "10ns", "--bits-file", "two.txt"}, 1,
         "無効なデータが含まれています。", -1, {}},
        {"missing file", {"parallel", "--interval", "10ns", "--hex-file", "none.txt"}, 1,
         "ファイルオープンエラーです。", -1, {}},
        {"npy words", {"parallel", "--interval", "10ns", "--npy-file", "words.npy"}, 0, "", 2, {1, 0, 1, 1, 0}},
        {"npy over the limit", {"parallel", "--interval", "10ns", "--npy-file", "over.npy", "--channels", "0"}, 0,
         "処理可能な最大データ数を超えています。", 0, {1, 1, 1}},
        {"npy of another type", {"parallel", "--interval", "10ns", "--npy-file", "broken.npy"}, 1,
         "無効なデータが含まれています。", -1, {}},
        // sampled every 20 ns: 1, 1, 0, 1 below the end at 80 ns, each word two samples
        {"vcd", {"parallel", "--interval", "20ns", "--vcd-file", "dump.vcd", "--channels", "0"}, 0, "", 0,
         {1, 1, 1, 1, 0, 0, 1, 1, 0}},
        {"vcd without definitions' end", {"parallel", "--interval", "20ns", "--vcd-file", "broken.vcd"}, 1,
         "無効なデータが含まれています。", -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> options;
        for (const auto& o : c.options) {
            const bool file = o.size() > 4 && (o.ends_with(".txt") || o.ends_with(".npy") || o.ends_with(".vcd"));
            options.push_back(file ? path(o) : o);
        }
        fs::remove(path("out.lyr"));
        const auto r = edit("in.lyr", "out.lyr", {options});
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(fs::exists(path("out.lyr")), c.status == 0);
        if (c.status != 0) continue;
        auto doc = load("out.lyr");
        EXPECT_EQ(Ints(doc->digital(c.channel), doc->digital(c.channel) + c.levels.size()), c.levels);
    }
}

// A waveform file as the word source brings its own sampling time (moved
// onto this grid); the settings are remembered in the saved file for the
// next edit.
TEST_F(EditSerialData, WaveformSourceAndRememberedSettings) {
    makeWaveform("in20.lyr", "20ns", "100");
    makeWaveform("other.lyr", "30ns", "20");
    auto r = edit("in20.lyr", "out.lyr", {{"parallel", "--lyr-file", path("other.lyr"), "--channels", "all"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("[インターバル時間] を調節します。 30 nS　→　20 nS"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("samples 0 to 20"), std::string::npos) << r.out;
    auto doc = load("out.lyr");
    const auto& p = doc->editorSettings().parallel;
    EXPECT_EQ(p.interval, 20);
    EXPECT_EQ(p.source, 1);
    EXPECT_EQ(p.channelMask, 0xFF);

    // The remembered interval serves the next edit.
    r = edit("out.lyr", "out2.lyr", {{"parallel", "--hex", "0F", "--channels", "0"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("samples 0 to 1"), std::string::npos) << r.out;
    EXPECT_EQ(load("out2.lyr")->digital(0)[0], 1);
}

}  // namespace
}  // namespace lyrtool::test
