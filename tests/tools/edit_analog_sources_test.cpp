// lyrtool edit manual and external: the operations in the order given, the
// sources and their messages (usage errors: EditCommand's table).
#include <gtest/gtest.h>

#include <fstream>

#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

class EditSources : public ToolTest {
protected:
    void SetUp() override {
        // 100 samples at 10 ns, a DC level of 1 V over the first 50
        makeWaveform("in.lyr", "10ns", "100");
        ASSERT_EQ(edit("in.lyr", "in.lyr", {{"dc", "--start", "0ns", "--period", "500ns", "--v0", "1"}}).status, 0);
    }
};

TEST_F(EditSources, ManualRunsTheOperationsInTheOrderGiven) {
    struct Case {
        std::vector<std::string> ops;
        double expected;
    } cases[] = {
        {{"--gain", "2", "--upper", "1.5"}, 1.5},
        {{"--upper", "1.5", "--gain", "2"}, 2.0},
        {{"--shift", "0.25", "--dc", "--gain", "3"}, 0.0},
        {{"--gain", "0.5", "--gain", "0.5"}, 0.25},
    };
    for (const auto& c : cases) {
        const auto r = edit("in.lyr", "out.lyr",
                            {{"manual", "--copy-start", "0us", "--copy-period", "200ns", "--start", "600ns"}, c.ops});
        ASSERT_EQ(r.status, 0) << r.err;
        auto doc = load("out.lyr");
        EXPECT_DOUBLE_EQ(doc->analog()[60], c.expected) << c.ops[0];
        EXPECT_DOUBLE_EQ(doc->analog()[79], c.expected);
        EXPECT_EQ(doc->analog()[80], 0.0);
        EXPECT_EQ(doc->analog()[0], 1.0);
    }
}

TEST_F(EditSources, ExternalFromTextAndWaveformFiles) {
    std::ofstream(path("ramp.csv")) << "0,1\n2,3\n";
    auto r = edit("in.lyr", "out.lyr",
                  {{"external", "--source", path("ramp.csv"), "--interval", "20ns", "--from-index", "2", "--factor",
                    "0.5", "--interpolate", "linear", "--start", "100ns"}});
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("out.lyr");
    // from the second value to the end: 60 ns, 6 samples 0.5, 0.75, 1, 1.25, 1.5, 1.5
    const double expected[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.5};
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(doc->analog()[10 + i], expected[i]) << i;
    EXPECT_EQ(doc->analog()[16], 1.0);  // the DC level beyond the period
    EXPECT_EQ(doc->editorSettings().external.interpolation, 1);

    // a waveform file (capital extension) brings its interval; --interval overrides it
    makeWaveform("SRC.LYR", "20ns", "20");
    r = edit("in.lyr", "out.lyr", {{"external", "--source", path("SRC.LYR"), "--offset", "0.3"}});
    ASSERT_EQ(r.status, 0) << r.err;
    doc = load("out.lyr");
    EXPECT_EQ(doc->analog()[39], 0.3);  // 20 values of 20 ns: 400 ns
    EXPECT_EQ(doc->analog()[40], 1.0);
    EXPECT_EQ(doc->editorSettings().external.sourceInterval, 20);

    std::ofstream(path("bad.txt")) << "volts\n1\n";
    r = edit("in.lyr", "out.lyr", {{"external", "--source", path("bad.txt"), "--interval", "10ns"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("無効なデータが含まれています。"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace lyrtool::test
