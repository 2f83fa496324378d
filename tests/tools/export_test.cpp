// lyrtool export: the formats by extension or --format, the range, the notes
// on stderr and the exit statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "lyrtool_run.h"
#include "support/waveform_files.h"

namespace lyrtool::test {
namespace {

class Export : public ToolTest {
protected:
    void SetUp() override {
        // 40 samples at 30 ns: a DC level of 1.5 V over the first 10, CH2 high from sample 4
        makeWaveform("in.lyr", "30ns", "40");
        ASSERT_EQ(edit("in.lyr", "in.lyr", {{"dc", "--start", "0ns", "--period", "300ns", "--v0", "1.5"}}).status, 0);
        std::string hex(8, '0');
        for (int i = 4; i < 40; ++i) hex += "04";
        const auto r = edit("in.lyr", "in.lyr", {{"parallel", "--interval", "30ns", "--hex", hex, "--start", "0ns"}});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::string text(const std::string& name) const {
        const auto bytes = lyr::test::fileBytes(path(name));
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(Export, CsvMatchesDumpOverTheRange) {
    auto r = run({"export", path("in.lyr"), path("part.CSV"), "--from", "8", "--count", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    const ToolRun dump = run({"dump", path("in.lyr"), "--from", "8", "--count", "4"});
    ASSERT_EQ(dump.status, 0);
    // the dump's index becomes the time; the rest of each line is the same
    std::istringstream csv(text("part.CSV")), ref(dump.out);
    std::string a, b;
    std::getline(csv, a);
    std::getline(ref, b);
    EXPECT_EQ(a, "time_s,analog_v,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7");
    const char* times[] = {"2.4e-07", "2.7e-07", "3e-07", "3.3e-07"};
    int lines = 0;
    while (std::getline(csv, a) && std::getline(ref, b)) {
        EXPECT_EQ(a.substr(0, a.find(',')), times[lines]);
        EXPECT_EQ(a.substr(a.find(',')), b.substr(b.find(','))) << lines;
        ++lines;
    }
    EXPECT_EQ(lines, 4);
    EXPECT_NE(text("part.CSV").find("2.7e-07,1.5,0,0,1,0"), std::string::npos);
}

TEST_F(Export, NotesAndStatuses) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* err;  // a piece of stderr; "" for none
    } cases[] = {
        {{"a.wav"}, 0, "rounded to 33333333 Hz"},
        {{"b.wav", "--wav", "pcm16"}, 0, "10 samples beyond +-1 V were clipped"},
        {{"c.dat", "--format", "npy", "--what", "digital"}, 0, ""},
        {{"d.vcd"}, 0, ""},
        {{"e.txt"}, 2, "give --format"},
        {{"f.csv", "--format", "xls"}, 2, "--format is"},
        {{"g.wav", "--what", "digital"}, 2, "analog track only"},
        {{"h.csv", "--wav", "pcm16"}, 2, "--wav is for the wav format"},
        {{"i.wav", "--wav", "pcm24"}, 2, "--wav is float or pcm16"},
        {{"j.npy", "--what", "both"}, 2, "--what is analog or digital"},
        {{"k.csv", "--from", "41"}, 2, "lies beyond"},
        {{"l.csv", "--count", "-1"}, 2, "--count"},
        {{"none/m.csv"}, 1, "ファイル書き込みエラーです。"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"export", path("in.lyr"), path(c.args[0])};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        const ToolRun r = run(args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        if (*c.err) {
            EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args[0] << ": " << r.err;
        } else {
            EXPECT_EQ(r.err, "") << c.args[0];
        }
        EXPECT_EQ(std::filesystem::exists(path(c.args[0])), c.status == 0) << c.args[0];
    }
    // the NumPy file by --format: 40 words, CH2 = bit 2 from sample 4
    const std::string npy = text("c.dat");
    ASSERT_EQ(npy.size(), 128u + 40u);
    EXPECT_EQ(npy[128 + 3], 0);
    EXPECT_EQ(npy[128 + 4], 4);

    const ToolRun missing = run({"export", path("none.lyr"), path("x.csv")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(run({"export", path("in.lyr")}).status, 2);
    const ToolRun help = run({"export", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: lyrtool export IN OUT"), std::string::npos);
}

}  // namespace
}  // namespace lyrtool::test
