// lyrtool edit total-time and resolution as scripts use them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

class EditFrame : public ToolTest {
protected:
    void SetUp() override { makeWaveform("in.lyr", "30ns", "1000"); }
};

TEST_F(EditFrame, TotalTimeTakesTheChosenCountAtTheSameSampling) {
    struct Case {
        std::vector<std::string> options;
        std::uint32_t count;
    };
    const Case cases[] = {
        {{"--total", "1ms"}, 33333},
        {{"--total", "1ms", "--candidate", "2"}, 33334},
        {{"--total", "1h"}, 1048576},               // hours, clamped to the maximum
        {{"--total", "0.0005m"}, 1000000},          // 30 ms in minutes
    };
    for (const Case& c : cases) {
        const auto r = edit("in.lyr", "out.lyr", {{"total-time"}, c.options});
        ASSERT_EQ(r.status, 0) << c.options[1] << " " << r.err;
        auto doc = load("out.lyr");
        EXPECT_EQ(doc->sampleCount(), c.count) << c.options[1];
        EXPECT_EQ(doc->samplingTime(), 30);
    }
}

// Its usage errors are EditCommand.UsageErrorsNameTheOptionAndWriteNothing's.
TEST_F(EditFrame, ResolutionKeepsTheSamples) {
    const auto r = edit("in.lyr", "r10.lyr", {{"resolution", "--bits", "10"}});
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("r10.lyr");
    EXPECT_EQ(doc->analogResolution(), 10);
    EXPECT_EQ(doc->sampleCount(), 1000u);
}

}  // namespace
}  // namespace lyrtool::test
