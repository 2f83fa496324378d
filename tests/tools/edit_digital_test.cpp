// lyrtool edit with the digital editors, run as scripts use it; the saved
// file is read back with the document's own reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;

class EditDigital : public ToolTest {
protected:
    void SetUp() override {
        makeWaveform("in.lyr", "10ns", "100");
        // CH2: 0,0,1,1,0 then zeros.
        auto r = edit("in.lyr", "base.lyr",
                      {{"clock", "--channel", "2", "--start", "20ns", "--t1", "20ns", "--t2", "0ns", "--repeat", "1"}});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    ToolRun onBase(const char* editor, const std::vector<std::string>& options) {
        return edit("base.lyr", "out.lyr", {{editor}, options});
    }
    std::vector<int> levels(int ch, int n = 5, const std::string& file = "out.lyr") {
        auto doc = load(file);
        return std::vector<int>(doc->digital(ch), doc->digital(ch) + n);
    }
};

TEST_F(EditDigital, ClockAdjustsOntoTheGridAndRemembersItsSettings) {
    auto r = onBase("clock", {"--channel", "4", "--start", "15ns", "--t1", "15ns", "--t2", "20ns", "--level1", "0",
                            "--repeat", "2", "--mode", "or"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("[レベル 0：時間] を調節します。 15 nS　→　10 nS"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("[編集開始] を調節します。 15 nS　→　10 nS"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("clock samples 1 to 7"), std::string::npos) << r.out;
    EXPECT_EQ(levels(4, 8), (std::vector<int>{0, 0, 1, 1, 0, 1, 1, 0}));
    const auto s = load("out.lyr")->editorSettings().clock;
    EXPECT_EQ(std::tuple(s.t1, s.level1, s.level2, s.channel), std::tuple(10, 0, 1, 4));

    // Options not given keep the remembered values (channel 4, 10/20 ns x 2).
    r = edit("out.lyr", "again.lyr", {{"clock", "--mode", "xor"}});
    ASSERT_EQ(r.status, 0) << r.err;
    // 0,1,1,0,1,1 at start 0 XOR 0,0,1,1,0,1,1,0
    EXPECT_EQ(levels(4, 8, "again.lyr"), (std::vector<int>{0, 1, 0, 1, 1, 0, 1, 0}));

    // Valid fields that truncate to nothing: the failed create.
    fs::remove(path("out.lyr"));
    r = onBase("clock", {"--t1", "5ns", "--t2", "5ns"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("パラメータが不正です"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("out.lyr")));
}

// The operations themselves are the forms'; here: the options that choose
// them, and modify's piece operations in the order given.
TEST_F(EditDigital, ChannelOperations) {
    const std::vector<std::string> piece = {"--copy-channel", "2", "--copy-start", "30ns", "--copy-period", "30ns",
                                            "--channel", "5"};
    auto modify = [&](std::vector<std::string> operations) {
        operations.insert(operations.begin(), piece.begin(), piece.end());
        return operations;
    };
    struct Case {
        const char* editor;
        std::vector<std::string> options;
        int channel;
        std::vector<int> expected;  // its first samples
    } cases[] = {
        {"shift", {"--channel", "2", "--shift", "20ns", "--fill", "zero"}, 2, {0, 0, 0, 0, 1}},
        {"shift", {"--channel", "2", "--shift", "10ns", "--shift", "10ns", "--fill", "rotate"}, 2, {0, 0, 0, 0, 1}},
        {"shift", {"--channel", "2", "--shift", "-20ns", "--fill", "one"}, 2, {1, 1, 0, 0, 0}},
        {"invert", {"--channel", "2"}, 2, {1, 1, 0, 0, 1}},
        {"clear", {"--channel", "2", "--mode", "replace", "--start", "0ns"}, 2, {0, 0, 0, 0, 0}},
        {"paste", {"--from", "2", "--channel", "6"}, 6, {0, 0, 1, 1, 0}},
        // Piece 1,0,0 of CH2 from 30 ns: invert -> 0,1,1; shift +10 fill one
        // -> 1,0,1; XORed into CH5 at 50 ns.
        {"modify", modify({"--invert", "--shift", "10ns", "--fill", "one", "--start", "50ns", "--mode", "xor"}), 5,
         {0, 0, 0, 0, 0, 1, 0, 1, 0}},
        // The other order: shift (fill one) -> 1,1,0, then invert -> 0,0,1.
        {"modify", modify({"--shift", "10ns", "--fill", "one", "--invert", "--start", "50ns"}), 5,
         {0, 0, 0, 0, 0, 0, 0, 1, 0}},
        {"swap", {"--a", "2", "--b", "7"}, 7, {0, 0, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        const auto r = onBase(c.editor, c.options);
        ASSERT_EQ(r.status, 0) << c.editor << ": " << r.err;
        EXPECT_EQ(levels(c.channel, int(c.expected.size())), c.expected) << c.editor << " " << c.options.back();
    }
    EXPECT_EQ(load("out.lyr")->editorSettings().swap.swapB, 7);
}

}  // namespace
}  // namespace lyrtool::test
