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

// Usage errors are EditCommand's table; a value that is not a number is
// found by the run, named by its time.
TEST_F(EditEquation, AValueThatIsNotANumberEndsTheRun) {
    const ToolRun r = edit("in.lyr", "out.lyr", {{"equation", "--period", "100us", "--expr", "1/(i-40)"}});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("t = 40 uS で式の値が数値になりません"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(path("out.lyr")));
}

}  // namespace
}  // namespace lyrtool::test
