// lyrtool edit manual and external: the operations in the order given, the
// sources and their messages, the exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;

class EditSources : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("lyrtool_sources_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        // 100 samples at 10 ns, a DC level of 1 V over the first 50
        ASSERT_EQ(lyrtool({"new", path("in.lyr"), "--sampling", "10ns", "--count", "100"}, dir).status, 0);
        ASSERT_EQ(lyrtool({"edit", path("in.lyr"), path("in.lyr"), "dc", "--start", "0ns", "--period", "500ns",
                           "--v0", "1"},
                          dir)
                      .status,
                  0);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    std::unique_ptr<lyr::document::CSYNDoc> load(const char* name) {
        std::string message;
        auto doc = lyr::document::CSYNDoc::create(message);
        lyr::document::StoredExtras extras;
        EXPECT_TRUE(lyr::document::openWaveformFile(path(name), *doc, extras).ok);
        return doc;
    }
    fs::path dir;
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
        std::vector<std::string> args{"edit", path("in.lyr"), path("out.lyr"), "manual", "--copy-start", "0us",
                                      "--copy-period", "200ns", "--start", "600ns"};
        args.insert(args.end(), c.ops.begin(), c.ops.end());
        const auto r = lyrtool(args, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        auto doc = load("out.lyr");
        EXPECT_DOUBLE_EQ(doc->analog()[60], c.expected) << c.ops[0];
        EXPECT_DOUBLE_EQ(doc->analog()[79], c.expected);
        EXPECT_EQ(doc->analog()[80], 0.0);
        EXPECT_EQ(doc->analog()[0], 1.0);
    }
    const auto bad = lyrtool({"edit", path("in.lyr"), path("out.lyr"), "manual", "--copy-period", "200ns",
                              "--gain", "x"},
                             dir);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--gain 'x'"), std::string::npos) << bad.err;
    EXPECT_EQ(lyrtool({"edit", path("in.lyr"), path("out.lyr"), "manual", "--period", "1us"}, dir).status, 2);
}

TEST_F(EditSources, ExternalFromTextAndWaveformFiles) {
    std::ofstream(path("ramp.csv")) << "0,1\n2,3\n";
    auto r = lyrtool({"edit", path("in.lyr"), path("out.lyr"), "external", "--source", path("ramp.csv"),
                      "--interval", "20ns", "--from-index", "2", "--factor", "0.5", "--interpolate", "linear",
                      "--start", "100ns"},
                     dir);
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("out.lyr");
    // from the second value to the end: 60 ns, 6 samples 0.5, 0.75, 1, 1.25, 1.5, 1.5
    const double expected[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.5};
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(doc->analog()[10 + i], expected[i]) << i;
    EXPECT_EQ(doc->analog()[16], 1.0);  // the DC level beyond the period
    EXPECT_EQ(doc->editorSettings().external.interpolation, 1);

    // a waveform file (capital extension) brings its interval; --interval overrides it
    ASSERT_EQ(lyrtool({"new", path("SRC.LYR"), "--sampling", "20ns", "--count", "20"}, dir).status, 0);
    r = lyrtool({"edit", path("in.lyr"), path("out.lyr"), "external", "--source", path("SRC.LYR"), "--offset", "0.3"},
                dir);
    ASSERT_EQ(r.status, 0) << r.err;
    doc = load("out.lyr");
    EXPECT_EQ(doc->analog()[39], 0.3);  // 20 values of 20 ns: 400 ns
    EXPECT_EQ(doc->analog()[40], 1.0);
    EXPECT_EQ(doc->editorSettings().external.sourceInterval, 20);

    std::ofstream(path("bad.txt")) << "volts\n1\n";
    r = lyrtool({"edit", path("in.lyr"), path("out.lyr"), "external", "--source", path("bad.txt"), "--interval",
                 "10ns"},
                dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("無効なデータが含まれています。"), std::string::npos) << r.err;
    EXPECT_EQ(lyrtool({"edit", path("in.lyr"), path("out.lyr"), "external", "--source", path("ramp.csv"),
                       "--interpolate", "cubic"},
                      dir)
                  .status,
              2);
}

}  // namespace
}  // namespace lyrtool::test
