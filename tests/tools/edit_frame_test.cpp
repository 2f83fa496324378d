// lyrtool edit total-time and resolution as scripts use them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

class EditFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(lyrtool({"new", path("in.lyr"), "--sampling", "30ns", "--count", "1000"}, dir).status, 0);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    std::unique_ptr<lyr::document::CSYNDoc> load(const char* name, lyr::document::StoredExtras* extras = nullptr) {
        std::string message;
        auto doc = lyr::document::CSYNDoc::create(message);
        lyr::document::StoredExtras e;
        EXPECT_TRUE(lyr::document::openWaveformFile(path(name), *doc, extras ? *extras : e).ok);
        return doc;
    }
    lyr::test::ScratchDir scratch;
    std::filesystem::path dir = scratch.path();
};

TEST_F(EditFrame, TotalTimeTakesTheChosenCountAtTheSameSampling) {
    struct Case {
        std::vector<std::string> options;
        std::uint32_t count;
    };
    const Case cases[] = {
        {{"--total", "1ms"}, 33333},
        {{"--total", "1ms", "--candidate", "2"}, 33334},
        {{"--total", "100ns"}, 20},                 // clamped to 20 samples
        {{"--total", "1h"}, 1048576},               // clamped to the maximum
        {{"--total", "0.0005m"}, 1000000},          // 30 ms in minutes
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"edit", path("in.lyr"), path("out.lyr"), "total-time"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = lyrtool(args, dir);
        ASSERT_EQ(r.status, 0) << c.options[1] << " " << r.err;
        lyr::document::StoredExtras extras;
        auto doc = load("out.lyr", &extras);
        EXPECT_EQ(doc->sampleCount(), c.count) << c.options[1];
        EXPECT_EQ(doc->samplingTime(), 30);
    }
}

TEST_F(EditFrame, UsageErrorsAndTheResolution) {
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case usage[] = {
        {{"total-time", "--total", "3us", "--candidate", "2"}, "--candidate 2 is empty"},  // 100 samples exactly
        {{"total-time", "--total", "5"}, "--total needs a TIME"},
        {{"total-time", "--total", "1ms", "--candidate", "3"}, "--candidate is 1 or 2"},
        {{"total-time"}, "needs --total"},
        {{"resolution", "--bits", "15"}, "invalid --bits '15'"},
        {{"resolution", "--total", "1ms"}, "does not apply"},
    };
    for (const Case& c : usage) {
        std::vector<std::string> args{"edit", path("in.lyr"), path("bad.lyr")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = lyrtool(args, dir);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.lyr"));

    const auto r = lyrtool({"edit", path("in.lyr"), path("r10.lyr"), "resolution", "--bits", "10"}, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("r10.lyr");
    EXPECT_EQ(doc->analogResolution(), 10);
    EXPECT_EQ(doc->sampleCount(), 1000u);
}

}  // namespace
}  // namespace lyrtool::test
