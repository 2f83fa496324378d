// lyrtool edit ... equation, as scripts use it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

class EditEquation : public ToolTest {
protected:
    void SetUp() override { makeWaveform("in.lyr", "1us", "1000"); }
};

TEST_F(EditEquation, ExpressionFromTheStartThenAdded) {
    auto r = edit("in.lyr", "out.lyr", {{"equation", "--start", "100us", "--period", "200us", "--expr", "exp(-t/50e-6)"}});
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("out.lyr");
    EXPECT_EQ(doc->analog()[99], 0.0);
    EXPECT_DOUBLE_EQ(doc->analog()[100], 1.0);
    EXPECT_NEAR(doc->analog()[150], std::exp(-1.0), 1e-12);
    EXPECT_EQ(doc->analog()[300], 0.0);

    r = edit("out.lyr", "out2.lyr", {{"equation", "--period", "1ms", "--expr", "i < 100", "--mode", "add"}});
    ASSERT_EQ(r.status, 0) << r.err;
    doc = load("out2.lyr");
    EXPECT_EQ(doc->analog()[50], 1.0);
    EXPECT_DOUBLE_EQ(doc->analog()[100], 1.0);  // the first edit's sample, nothing added
}

TEST_F(EditEquation, RefusalsAndTheirExitCodes) {
    struct Case {
        std::vector<std::string> options;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"--period", "100us", "--expr", "sin(2*pi*t"}, 2, "invalid --expr 'sin(2*pi*t': Missing parenthesis (position 10)"},
        {{"--period", "100us", "--expr", "1/(i-40)"}, 1, "t = 40 uS で式の値が数値になりません"},
        {{"--period", "100us", "--expr", "t", "--seed", "x"}, 2, "invalid --seed 'x'"},
        {{"--period", "100us", "--expr", "t", "--v0", "1"}, 2, "--v0"},
    };
    for (const Case& c : cases) {
        const ToolRun r = edit("in.lyr", "out.lyr", {{"equation"}, c.options});
        EXPECT_EQ(r.status, c.status) << c.message << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(path("out.lyr"))) << c.message;
    }
}

}  // namespace
}  // namespace lyrtool::test
