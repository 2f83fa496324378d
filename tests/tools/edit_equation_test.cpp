// lyrtool edit ... equation, as scripts use it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;

class EditEquation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(lyrtool({"new", path("in.lyr"), "--sampling", "1us", "--count", "1000"}, dir).status, 0);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    ToolRun edit(std::vector<std::string> options) {
        std::vector<std::string> args{"edit", path("in.lyr"), path("out.lyr"), "equation"};
        args.insert(args.end(), options.begin(), options.end());
        return lyrtool(args, dir);
    }
    lyr::test::ScratchDir scratch;
    fs::path dir = scratch.path();
};

TEST_F(EditEquation, ExpressionFromTheStartThenAdded) {
    auto r = edit({"--start", "100us", "--period", "200us", "--expr", "exp(-t/50e-6)"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string message;
    auto doc = lyr::document::CSYNDoc::create(message);
    lyr::document::StoredExtras extras;
    ASSERT_TRUE(lyr::document::openWaveformFile(path("out.lyr"), *doc, extras).ok);
    EXPECT_EQ(doc->analog()[99], 0.0);
    EXPECT_DOUBLE_EQ(doc->analog()[100], 1.0);
    EXPECT_NEAR(doc->analog()[150], std::exp(-1.0), 1e-12);
    EXPECT_EQ(doc->analog()[300], 0.0);

    r = lyrtool({"edit", path("out.lyr"), path("out2.lyr"), "equation", "--period", "1ms", "--expr", "i < 100",
                 "--mode", "add"},
                dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(lyr::document::openWaveformFile(path("out2.lyr"), *doc, extras).ok);
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
        const ToolRun r = edit(c.options);
        EXPECT_EQ(r.status, c.status) << c.message << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.lyr")) << c.message;
    }
}

}  // namespace
}  // namespace lyrtool::test
