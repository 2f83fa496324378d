#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>

#include "document/waveform_file_format.h"
#include "lyrtool_run.h"
#include "support/waveform_files.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;
namespace wf = lyr::document::wavefile;
using lyr::test::fileBytes;
using lyr::test::putFileBytes;
using Strings = std::vector<std::string>;

// Lines of pretty-printed JSON: the keys directly inside the object that
// opens with `"name": {` (or the top-level object for an empty name).
Strings keysOf(const std::string& json, const std::string& name) {
    std::istringstream in(json);
    std::string line;
    Strings keys;
    std::size_t depth = std::string::npos;
    while (std::getline(in, line)) {
        const std::size_t indent = line.find_first_not_of(' ');
        if (depth == std::string::npos) {
            if ((name.empty() && line == "{") || line.find("\"" + name + "\": {") == indent) depth = indent + 2;
            continue;
        }
        if (indent < depth) break;
        static const std::regex key(R"(^ *\"([A-Za-z0-9]+)\": )");
        std::smatch m;
        if (indent == depth && std::regex_search(line, m, key)) keys.push_back(m[1]);
    }
    return keys;
}

// The text after `"key": ` on the first line that has it, without a trailing comma.
std::string valueOf(const std::string& json, const std::string& key) {
    const auto pos = json.find("\"" + key + "\": ");
    if (pos == std::string::npos) return "<missing>";
    const auto start = pos + key.size() + 4;
    std::string v = json.substr(start, json.find('\n', start) - start);
    if (!v.empty() && v.back() == ',') v.pop_back();
    return v;
}

class LyrtoolTest : public ToolTest {
protected:
    // The values of the keys in `lyrtool info FILE --json`.
    Strings info(const std::string& name, std::initializer_list<const char*> keys) const {
        const ToolRun r = run({"info", path(name), "--json"});
        EXPECT_EQ(r.status, 0) << r.err;
        Strings values;
        for (const char* k : keys) values.push_back(valueOf(r.out, k));
        return values;
    }
    // A legacy file of n samples with sampling value u (20 ns steps): CH0
    // toggles between 0 and badLevel, CH1 is high.
    void writeLegacy(const std::string& name, std::uint32_t u, std::uint32_t n, std::uint8_t badLevel = 1) const {
        lyr::test::LegacyFile f;
        f.u = u;
        f.n = n;
        f.output.repeatCount = 7;
        for (std::uint32_t i = 0; i < n; ++i) {
            f.analog.push_back(i * 0.125 - 1.0);
            f.channels[0].push_back((i % 2) ? badLevel : 0);
        }
        f.channels[1].assign(n, 1);
        f.channels[2].assign(n, 0);
        f.channels[3].assign(n, 0);
        putFileBytes(path(name), f.bytes());
    }
};

TEST_F(LyrtoolTest, EveryCommandHasHelpAndUsageErrorsExitTwo) {
    for (const char* c : {"info", "dump", "new", "convert"}) {
        const ToolRun r = run({c, "--help"});
        EXPECT_EQ(r.status, 0) << c;
        EXPECT_NE(r.out.find(std::string("Usage: lyrtool ") + c), std::string::npos) << c;
    }
    const Strings usage[] = {{},
                             {"frobnicate"},
                             {"info"},
                             {"info", "a.lyr", "b.lyr"},
                             {"info", "a.lyr", "--xml"},
                             {"dump", "a.lyr", "--from"},
                             {"dump", "a.lyr", "--count", "x"},
                             {"convert", "a.lyr"}};
    for (const Strings& args : usage) EXPECT_EQ(run(args).status, 2) << (args.empty() ? "" : args.back());
    EXPECT_NE(run({"info"}).err.find("lyrtool info --help"), std::string::npos);
}

// The candidates are wave_time's and a new waveform's settings the document's
// (TotalTimeCandidates, CSYNDoc.PulseWidthRuleAtShortTotalTimes); here: the
// options that choose the time base, and what they refuse.
TEST_F(LyrtoolTest, NewTakesTheTimeBaseFromTheTotalOrTheSampling) {
    const std::pair<Strings, Strings> made[] = {
        // 10,485,770 ns has an exact split at 170 ns (setting 1).
        {{"--total", "10485770ns"}, {"170", "61681", "10485770"}},
        // The largest total, its unit in capitals.
        {{"--total", "87960.93022208S"}, {"83886080", "1048576", "87960930222080"}},
        {{"--sampling", "1.5us", "--count", "20"}, {"1500", "20", "30000"}},
    };
    for (const auto& [options, expected] : made) {
        Strings args{"new", path("a.lyr")};
        args.insert(args.end(), options.begin(), options.end());
        ASSERT_EQ(run(args).status, 0) << options[1];
        EXPECT_EQ(info("a.lyr", {"samplingTime", "sampleCount", "totalTime"}), expected) << options[1];
    }
    // A fresh file: no edits and a reset view without edit points.
    EXPECT_EQ(info("a.lyr", {"formatVersion", "modificationCount", "empty"}), (Strings{"3", "0", "1"}));
    EXPECT_EQ(fs::file_size(path("a.lyr")), 5120u + 9u * 20u);

    const Strings refused[] = {
        {"--sampling", "1.5ns", "--count", "100"},  // finer than 1 ns
        {"--sampling", "15ns", "--count", "100"},   // off the 10 ns grid
        {"--sampling", "20", "--count", "100"},     // no unit
        {"--sampling", "20ns", "--count", "19"},    // the file would not read
        {"--sampling", "20ns", "--count", "1048577"},
        {"--sampling", "83886090ns", "--count", "100"},
        {"--sampling", "20ns"},
        {"--total", "10ms", "--count", "100"},
        {"--total", "100ns"},
        {},
    };
    for (const Strings& bad : refused) {
        Strings args{"new", path("bad.lyr")};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(run(args).status, 2) << (bad.empty() ? "" : bad[1]);
        EXPECT_FALSE(fs::exists(path("bad.lyr")));
    }
    EXPECT_EQ(run({"new", "--total", "10ms"}).status, 2);  // no OUT
}

TEST_F(LyrtoolTest, RefusedFilesExitOneWithTheReaderMessage) {
    makeWaveform("a.lyr", "10ns", "100");
    auto bytes = fileBytes(path("a.lyr"));
    bytes.push_back(0);
    putFileBytes(path("long.lyr"), bytes);
    bytes.pop_back();
    bytes[40] ^= 1;  // a header byte changed without its checksum
    putFileBytes(path("sum.lyr"), bytes);
    writeLegacy("bad.syn", 10, 100, 2);  // a channel byte of 2
    fs::copy_file(path("a.lyr"), path("a.csv"));
    const std::string open = "ファイルオープンエラーです。 (file open error)";
    const std::string format = "ファイルフォーマットエラーです。 (file format error)";
    const std::pair<Strings, std::string> cases[] = {
        {{"info", "missing.lyr"}, open},
        {{"info", "long.lyr"}, format},
        {{"dump", "long.lyr"}, format},
        {{"convert", "long.lyr", "out.lyr"}, format},
        {{"info", "sum.lyr"}, format},
        {{"info", "bad.syn"}, format},
        {{"info", "a.csv"}, ".lyr or .syn"},                // not a waveform file name
        {{"new", "nodir/x.lyr", "--total", "1ms"}, open},  // a folder that does not exist
    };
    for (const auto& [names, message] : cases) {
        Strings args;
        for (const auto& a : names) args.push_back(a.find('.') != std::string::npos ? path(a) : a);
        const ToolRun r = run(args);
        EXPECT_EQ(r.status, 1) << names[0] << " " << names[1];
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_FALSE(fs::exists(path("out.lyr")));
}

// The record fields' names and order are SettingsRecords'; here: the
// listing's own keys, exactly.
TEST_F(LyrtoolTest, InfoJsonHasExactlyTheKeys) {
    ASSERT_EQ(run({"new", path("a.lyr"), "--total", "1ms"}).status, 0);
    ToolRun r = run({"info", path("a.lyr"), "--json"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(keysOf(r.out, ""),
              (Strings{"format", "formatVersion", "totalTime", "samplingUnits", "samplingTime", "sampleCount",
                       "timeUnit", "revisionId", "documentId", "modificationCount", "signalNames", "reservedFlag1",
                       "editLocked", "reservedFlag2", "reservedFlag3", "deviceText", "outputSettings", "viewState",
                       "editorSettings"}));
    EXPECT_EQ(keysOf(r.out, "outputSettings"),
              (Strings{"startControl", "outputMode", "analogStop", "digitalStop", "triggerMode", "triggerPolarity",
                       "syncPolarity", "syncPulseWidth", "repeatCount", "retrigger", "analogResolution"}));
    EXPECT_EQ(keysOf(r.out, "viewState"),
              (Strings{"cursor", "scroll", "cursorX", "markSet", "mark", "markX", "history", "oldest", "next",
                       "current", "empty", "canGoBack", "canGoForward", "onHistory", "zoomEnabled", "viewFlag",
                       "zoomSpans", "standardZoom", "maxZoom", "zoom"}));
    EXPECT_EQ(keysOf(r.out, "editorSettings"),
              (Strings{"sine", "rectangle", "dc", "ramp", "exp", "noise", "manual", "external", "clock", "serial",
                       "parallel", "modify", "shift", "swap"}));
    EXPECT_EQ(keysOf(r.out, "sine").at(0), "period");
    // Arrays of 128, 32 and 9 values.
    const std::pair<const char*, long> arrays[] = {{"history", 127}, {"zoomSpans", 31}, {"signalNames", 8}};
    for (const auto& [key, commas] : arrays) {
        const std::string v = valueOf(r.out, key);
        EXPECT_EQ(std::count(v.begin(), v.end(), ','), commas) << key;
    }
    // The plain listing carries the same values.
    r = run({"info", path("a.lyr")});
    ASSERT_EQ(r.status, 0);
    for (const char* line : {"\nsampleCount: 100000\n", "\noutputSettings.repeatCount: 1\n",
                             "\neditorSettings.sine.period: "})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
}

TEST_F(LyrtoolTest, FixedTextsAreShownFromCodePage932) {
    auto doc = lyr::test::newDoc(10, 50);
    lyr::document::StoredExtras extras;
    extras.deviceText = "\x94\x67\x8C\x60 \xB1\xC5\xDB\xB8\xDE";  // 波形 ｱﾅﾛｸﾞ
    extras.editLocked = true;
    extras.reservedFlag2 = 1;
    ASSERT_TRUE(lyr::document::saveWaveformFile(path("t.lyr"), *doc, extras).ok);
    auto bytes = fileBytes(path("t.lyr"));
    std::memcpy(&bytes[wf::off::signalNames + 8], "CH0\xFD    ", 8);  // one byte without a character
    lyr::test::resealHeader(bytes.data());
    putFileBytes(path("t.lyr"), bytes);
    EXPECT_EQ(info("t.lyr", {"deviceText", "signalNames", "editLocked", "reservedFlag2", "reservedFlag1"}),
              (Strings{"\"波形 ｱﾅﾛｸﾞ\"", R"(["", "CH0<FD>", "", "", "", "", "", "", ""])", "1", "1", "0"}));
}

TEST_F(LyrtoolTest, DumpPrintsExactValuesAndHonoursTheRange) {
    auto doc = lyr::test::newDoc(10, 30);
    const double values[] = {0.1, 1.0 / 3.0, -0.7, 1e-300, 2.5};
    for (int i = 0; i < 30; ++i) doc->analog()[i] = values[i % 5] * (i + 1);
    doc->digital(0)[3] = 1;
    doc->digital(7)[4] = 1;
    ASSERT_TRUE(lyr::document::saveWaveformFile(path("d.lyr"), *doc, {}).ok);
    const std::string header = "index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n";

    ToolRun r = run({"dump", path("d.lyr")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(header + "0,0.10000000000000001,0,0,0,0,0,0,0,0\n")) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 31);
    // As many digits as it takes to read back the same double.
    for (const char* row : {"\n1,0.66666666666666663,", "\n2,-2.0999999999999996,0,0,0,0,0,0,0,0\n",
                            "\n3,4.0000000000000001e-300,1,0,0,0,0,0,0,0\n", "\n4,12.5,0,0,0,0,0,0,0,1\n"})
        EXPECT_NE(r.out.find(row), std::string::npos) << row;

    const std::pair<Strings, int> ranges[] = {
        {{"--from", "28", "--count", "5"}, 2},  // cut at the end
        {{"--from=30"}, 0},
        {{"--count", "0"}, 0},
    };
    for (const auto& [options, rows] : ranges) {
        Strings args{"dump", path("d.lyr")};
        args.insert(args.end(), options.begin(), options.end());
        r = run(args);
        EXPECT_EQ(r.status, 0) << options[0];
        EXPECT_TRUE(r.out.starts_with(header)) << options[0];
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + rows) << options[0];
    }
    EXPECT_EQ(run({"dump", path("d.lyr"), "--from", "31"}).status, 2);
}

// The conversion itself is LegacyOpen's; here: info and dump show the
// converted waveform and convert stores it in the current format.
TEST_F(LyrtoolTest, LegacyFileIsShownConvertedAndConvertWritesTheCurrentFormat) {
    // u = 5,000,000 (100 ms): every sample becomes two of 50 ms.
    writeLegacy("OLD.SYN", 5000000, 100);
    const auto keys = {"format", "formatVersion", "sampleCount", "samplingUnits", "repeatCount", "empty"};
    EXPECT_EQ(info("OLD.SYN", keys), (Strings{"\"syn\"", "1", "200", "5000000", "7", "1"}));
    EXPECT_EQ(run({"dump", path("OLD.SYN"), "--from", "2", "--count", "2"}).out,
              "index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n"
              "2,-0.875,1,1,0,0,0,0,0,0\n"
              "3,-0.875,1,1,0,0,0,0,0,0\n");

    ASSERT_EQ(run({"convert", path("OLD.SYN"), path("new.lyr")}).status, 0);
    EXPECT_EQ(info("new.lyr", keys), (Strings{"\"lyr\"", "3", "200", "5000000", "7", "1"}));
    EXPECT_EQ(run({"dump", path("new.lyr")}).out, run({"dump", path("OLD.SYN")}).out);

    // A failed convert leaves an existing target as it was.
    fs::create_directories(dir / "ro");
    EXPECT_EQ(run({"convert", path("OLD.SYN"), path("ro")}).status, 1);
    EXPECT_TRUE(fs::is_directory(dir / "ro"));
}

// What the reduced import leaves out is WaveformFileDoc.VersionTwoOpensWithDefaults';
// here: the values shown are the file's, and an older version is read reduced.
TEST_F(LyrtoolTest, InfoShowsTheFilesValuesAndOtherVersionsReduced) {
    auto doc = lyr::test::newDoc(20, 40);
    doc->takeAnalogSnapshot();
    doc->commitAnalogEdit();  // modificationCount 1
    doc->editorSettings().sine.amplitude = 0.75;
    ASSERT_TRUE(lyr::document::saveWaveformFile(path("v3.lyr"), *doc, {}).ok);
    const auto keys = {"formatVersion", "modificationCount", "amplitude", "sampleCount"};
    EXPECT_EQ(info("v3.lyr", keys), (Strings{"3", "1", "0.75", "40"}));

    auto bytes = fileBytes(path("v3.lyr"));
    wf::putU32(&bytes[wf::off::formatVersion], 2);  // outside the header checksum
    putFileBytes(path("v2.lyr"), bytes);
    EXPECT_EQ(info("v2.lyr", keys), (Strings{"2", "0", "0", "40"}));
}

}  // namespace
}  // namespace lyrtool::test
