// lyrtool edit run as scripts use it; the saved file is read back with the
// document's own reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "analog/generators.h"
#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;

class EditCommand : public ToolTest {
protected:
    void SetUp() override { makeWaveform("in.lyr", "10ns", "1000"); }
};

TEST_F(EditCommand, SineWithPhaseAndGridAdjustedStart) {
    auto r = edit("in.lyr", "out.lyr",
                  {{"sine", "--start", "15ns", "--period", "1005ns", "--sine-period", "400ns", "--amplitude", "0.5",
                    "--offset", "0.1", "--repeat", "1", "--phase", "90"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("[期間] を調節します。"), std::string::npos);
    EXPECT_NE(r.err.find("1005 nS　→　1000 nS"), std::string::npos);
    EXPECT_NE(r.err.find("15 nS　→　10 nS"), std::string::npos);
    auto doc = load("out.lyr");
    EXPECT_EQ(doc->analog()[0], 0.0);
    EXPECT_NEAR(doc->analog()[1], 0.6, 1e-12);  // start phase 90: offset + amplitude
    EXPECT_NEAR(doc->analog()[21], -0.4, 1e-12);
    EXPECT_EQ(doc->analog()[41], 0.0);  // one cycle, then the segment's zeros
    const auto& s = doc->editorSettings().sine;
    EXPECT_EQ(s.period, 1000);
    EXPECT_EQ(s.phaseMode, 1);
    EXPECT_EQ(s.delay, -100);
    EXPECT_EQ(doc->modificationCount(), 1);
}

// Every editor family's usage errors:
// exit 2, a message naming the option, nothing written.
TEST_F(EditCommand, ANewWaveformsSineWithoutDelayOrPhaseStartsAtPhaseZero) {
    // A new waveform remembers no delay; the sine still needs neither option.
    auto r = edit("in.lyr", "out.lyr",
                  {{"sine", "--sine-period", "400ns", "--amplitude", "0.5", "--start", "0ns", "--period", "400ns"}});
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("out.lyr");
    EXPECT_NEAR(doc->analog()[10], 0.5, 1e-12);  // a quarter of the sine period
    EXPECT_NEAR(doc->analog()[30], -0.5, 1e-12);
    // A remembered delay is used again when neither is given.
    r = edit("out.lyr", "out2.lyr", {{"sine", "--delay", "100ns"}});
    ASSERT_EQ(r.status, 0) << r.err;
    r = edit("out2.lyr", "out3.lyr", {{"sine", "--amplitude", "0.25"}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(load("out3.lyr")->editorSettings().sine.delay, 100);
    EXPECT_EQ(load("out3.lyr")->editorSettings().sine.phaseMode, 0);
}

TEST_F(EditCommand, UsageErrorsNameTheOptionAndWriteNothing) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"ramp", "--period", "1us", "--v0", "1", "--v1", "1"}, "invalid --v0 '1'"},
        {{"dc", "--period", "20us", "--v0", "1"}, "invalid --period"},  // T = 10 us
        {{"dc", "--tau", "1us"}, ""},
        {{"dc", "--period", "1us", "--mode", "divide"}, ""},
        {{"clock", "--t1", "20us"}, "invalid --t1 '20us'"},
        {{"clock", "--start", "9991ns"}, "invalid --start '9991ns'"},
        {{"clock", "--t1", "0ns", "--t2", "0ns"}, "do not make a segment"},
        {{"clock", "--channel", "8"}, "invalid --channel '8'"},
        {{"clock", "--mode", "add"}, "--mode is replace, or, and or xor"},
        {{"shift", "--channel", "2", "--shift", "5ns"}, "invalid --shift '5ns'"},
        {{"shift", "--shift", "10ns"}, "needs --channel"},
        {{"swap", "--a", "3", "--b", "3"}, "same channel"},
        {{"modify", "--copy-start", "10us"}, "invalid --copy-start '10us'"},
        {{"invert", "--shift", "10ns"}, "does not apply to invert"},
        {{"invert", "--channel", "1", "--mode", "nand"}, "--mode is replace, or, and or xor"},
        {{"total-time", "--total", "3us", "--candidate", "2"}, "--candidate 2 is empty"},  // 300 samples exactly
        {{"total-time", "--total", "5"}, "--total needs a TIME"},
        {{"total-time", "--total", "1ms", "--candidate", "3"}, "--candidate is 1 or 2"},
        {{"total-time"}, "needs --total"},
        {{"resolution", "--bits", "15"}, "invalid --bits '15'"},
        {{"resolution", "--total", "1ms"}, "does not apply"},
        {{"equation", "--period", "1us", "--expr", "sin(2*pi*t"},
         "invalid --expr 'sin(2*pi*t': Missing parenthesis (position 10)"},
        {{"equation", "--period", "1us", "--expr", "t", "--seed", "x"}, "invalid --seed 'x'"},
        {{"equation", "--period", "1us", "--expr", "t", "--v0", "1"}, "--v0"},
        {{"manual", "--copy-period", "200ns", "--gain", "x"}, "--gain 'x'"},
        {{"manual", "--period", "1us"}, "--period does not apply to manual"},
        {{"external", "--source", "in.lyr", "--interpolate", "cubic"}, "--interpolate is none or linear"},
        {{"external", "--interval", "10ns"}, "external needs --source FILE"},
        {{"external", "--source", "in.lyr", "--from", "0ns", "--from-index", "1"}, "give either --from or --from-index"},
        {{"serial", "--bit-time", "10ns", "--bits", "1 0"}, "invalid --bits '1 0'"},
        {{"serial", "--channel", "8", "--bit-time", "10ns", "--bits", "1"}, "--channel"},
        {{"serial", "--bit-time", "10ns", "--bits", "1", "--mode", "add"}, "--mode"},
        {{"serial", "--bits", "1", "--interval", "10ns"}, "does not apply"},
        {{"parallel", "--interval", "10ns", "--hex", "FF", "--channels", ""}, "--channels"},
        {{"parallel", "--interval", "10ns", "--hex", "FF", "--hex-file", "words.txt"}, "one of"},
        {{"parallel", "--hex-file", "in.lyr"}, "--lyr-file"},
        {{"parallel", "--lyr-file", "a.ly"}, "four characters"},
        {{"parallel", "--interval", "10ns", "--npy-file", "words.txt"}, "--npy-file needs a name ending in npy"},
        {{"parallel", "--vcd-file", "dump.vcd"}, "--vcd-file is sampled every --interval"},
        {{"uart", "--baud", "9600", "--hex", "55"}, "uart needs --channel"},
        {{"uart", "--channel", "1", "--hex", "55"}, "uart needs --baud"},
        {{"uart", "--channel", "1", "--baud", "9600"}, "--hex TEXT or --hex-file FILE"},
        {{"uart", "--channel", "9", "--baud", "9600", "--hex", "55"}, "--channel is 0|1|2|3|4|5|6|7"},
        {{"uart", "--channel", "1", "--baud", "9600", "--parity", "odd1", "--hex", "55"}, "--parity is none|even"},
        {{"uart", "--channel", "1", "--baud", "fast", "--hex", "55"}, "invalid --baud 'fast'"},
        {{"uart", "--channel", "1", "--baud", "9600", "--order", "MSB", "--hex", "55"}, "--order is lsb|msb"},
        {{"uart", "--channel", "1", "--baud", "9600", "--hex", "5G"}, "invalid --hex '5G'"},
        {{"uart", "--channel", "1", "--baud", "9600", "--rate", "5", "--hex", "55"}, "--rate does not apply to uart"},
        {{"spi", "--clk", "0", "--mosi", "0", "--cs", "2", "--rate", "1000000", "--hex", "55"},
         "each line needs a channel of its own"},
        {{"spi", "--clk", "0", "--mosi", "1", "--cs", "2", "--rate", "1000000", "--word", "12", "--hex", "55"},
         "--word is 8|16"},
        {{"i2c", "--scl", "0", "--sda", "1", "--rate", "100000", "--address", "0x50", "--hex", "55"},
         "i2c needs --write or --read"},
        {{"i2c", "--scl", "0", "--sda", "1", "--rate", "100000", "--address", "0x90", "--write", "--hex", "55"},
         "invalid --address '0x90'"},
        {{"uart", "--channel", "1", "--baud", "9600", "--hex", "55", "--mode", "nand"}, "--mode is replace, or, and or xor"},
    };
    for (const auto& [editor, named] : cases) {
        const auto r = edit("in.lyr", "out.lyr", {editor});
        EXPECT_EQ(r.status, 2) << editor[0] << " " << named;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.lyr")) << editor[0] << " " << named;
    }
}

// The rectangle itself is the analog generators'; here: --v0 places the
// start on an edge, --mode multiply, and the first edit's settings travel.
TEST_F(EditCommand, RectangleFromTheStartVoltageThenMultiply) {
    ASSERT_EQ(edit("in.lyr", "a.lyr", {{"dc", "--period", "10us", "--v0", "0.5"}}).status, 0);
    const auto r = edit("a.lyr", "b.lyr",
                        {{"rectangle", "--period", "2us", "--t1", "200ns", "--t2", "300ns", "--t3", "200ns", "--t4",
                          "300ns", "--v1", "1", "--v2", "-1", "--v0", "0", "--repeat", "1", "--mode", "multiply"}});
    ASSERT_EQ(r.status, 0) << r.err;
    auto doc = load("b.lyr");
    // v0 = 0 V starts the segment 100 ns into the first edge (t0 = 100 ns).
    EXPECT_EQ(doc->editorSettings().rectangle.t0, 100);
    const std::pair<int, double> samples[] = {{0, 0.0}, {10, 0.5}, {60, -0.5}, {100, 0.0}, {200, 0.5}};
    for (const auto& [i, v] : samples) EXPECT_NEAR(doc->analog()[i], v, 1e-15) << i;
    EXPECT_EQ(doc->editorSettings().rectangle.levelMode, 1);
    EXPECT_EQ(doc->editorSettings().dc.v0, 0.5);
}

TEST_F(EditCommand, ALockedFileIsEditedOnlyWithForce) {
    {
        auto doc = load("in.lyr");
        lyr::document::StoredExtras extras;
        extras.editLocked = true;
        ASSERT_TRUE(lyr::document::saveWaveformFile(path("locked.lyr"), *doc, extras).ok);
    }
    const std::vector<std::vector<std::string>> editors = {
        {"dc", "--period", "1us", "--v0", "0.5"},
        {"invert", "--channel", "3"},
        {"resolution", "--bits", "10"},
        {"total-time", "--total", "5us"},
    };
    for (const auto& editor : editors) {
        auto r = edit("locked.lyr", "out.lyr", {editor});
        EXPECT_EQ(r.status, 1) << editor[0];
        EXPECT_NE(r.err.find("locked against editing (編集禁止)"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.lyr")) << editor[0];
        r = edit("locked.lyr", "out.lyr", {editor, {"--force"}});
        ASSERT_EQ(r.status, 0) << editor[0] << ": " << r.err;
        auto doc = lyr::test::makeDoc();
        lyr::document::StoredExtras extras;
        ASSERT_TRUE(lyr::document::openWaveformFile(path("out.lyr"), *doc, extras).ok);
        EXPECT_TRUE(extras.editLocked) << editor[0];
        fs::remove(dir / "out.lyr");
    }
}

// The noise itself is the generator's: a seed is the generator's state as
// srand sets it, so a seeded run is the generator's own run with that seed.
TEST_F(EditCommand, NoiseSeedReproducesAndFreshNoiseDiffers) {
    auto noise = [&](const char* out, std::vector<std::string> extra) {
        return edit("in.lyr", out, {{"noise", "--period", "10us", "--pp", "66", "--mode", "add"}, extra}).status;
    };
    ASSERT_EQ(noise("s.lyr", {"--seed", "42"}), 0);
    ASSERT_EQ(noise("f1.lyr", {}), 0);
    ASSERT_EQ(noise("f2.lyr", {}), 0);
    auto seeded = load("s.lyr"), f1 = load("f1.lyr"), f2 = load("f2.lyr");
    EXPECT_DOUBLE_EQ(seeded->editorSettings().noise.sigma, 0.01);  // 66 mV peak to peak is 6.6 sigma
    std::vector<double> expected(1000), table(lyr::analog::kNoiseTableSize);
    ASSERT_TRUE(lyr::analog::generateNoise(expected.data(), {.span = {10000, 10, 0, 10000}, .sigma = 0.01, .seed = 42u},
                                           table.data()));
    EXPECT_EQ(std::vector<double>(seeded->analog(), seeded->analog() + 1000), expected);
    EXPECT_NE(std::vector<double>(f1->analog(), f1->analog() + 1000),
              std::vector<double>(f2->analog(), f2->analog() + 1000));
    // Every unsigned 32-bit seed is taken; anything else names the option.
    EXPECT_EQ(noise("top.lyr", {"--seed", "4294967295"}), 0);
    EXPECT_EQ(noise("neg.lyr", {"--seed", "-1"}), 2);
    const auto r = edit("in.lyr", "x.lyr", {{"noise", "--period", "1us", "--seed", "4294967296"}});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--seed"), std::string::npos);
}

}  // namespace
}  // namespace lyrtool::test
