#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

#include "document/waveform_file_format.h"
#include "lyrtool_run.h"
#include "support/waveform_files.h"

namespace lyrtool::test {
namespace {

namespace fs = std::filesystem;
namespace wf = lyr::document::wavefile;

// Lines of pretty-printed JSON: the keys directly inside the object that
// opens with `"name": {` (or the top-level object for an empty name).
std::vector<std::string> keysOf(const std::string& json, const std::string& name) {
    std::istringstream in(json);
    std::string line;
    std::vector<std::string> keys;
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

using lyr::test::fileBytes;
using lyr::test::putFileBytes;

void resealHeader(std::vector<std::uint8_t>& b) { lyr::test::resealHeader(b.data()); }

// A legacy file of n samples with sampling value u (20 ns steps): CH0 toggles
// between 0 and badLevel, CH1 is high.
void writeLegacy(const fs::path& p, std::uint32_t u, std::uint32_t n, std::uint8_t badLevel = 1) {
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
    putFileBytes(p.string(), f.bytes());
}

using LyrtoolTest = ToolTest;

TEST_F(LyrtoolTest, EveryCommandHasHelpAndUsageErrorsExitTwo) {
    for (const char* c : {"info", "dump", "new", "convert"}) {
        ToolRun r = run({c, "--help"});
        EXPECT_EQ(r.status, 0) << c;
        EXPECT_NE(r.out.find(std::string("Usage: lyrtool ") + c), std::string::npos) << c;
    }
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"info"}).status, 2);
    EXPECT_EQ(run({"info", "a.lyr", "b.lyr"}).status, 2);
    EXPECT_EQ(run({"info", "a.lyr", "--xml"}).status, 2);
    EXPECT_EQ(run({"dump", "a.lyr", "--from"}).status, 2);
    EXPECT_EQ(run({"dump", "a.lyr", "--count", "x"}).status, 2);
    EXPECT_EQ(run({"convert", "a.lyr"}).status, 2);
    ToolRun r = run({"info"});
    EXPECT_NE(r.err.find("lyrtool info --help"), std::string::npos);
}

// The candidates are wave_time's and a new waveform's settings the document's
// (TotalTimeCandidates, CSYNDoc.PulseWidthRuleAtShortTotalTimes).
TEST_F(LyrtoolTest, NewByTotalTakesTheSelectedCandidate) {
    // 10,485,770 ns has an exact split at 170 ns (setting 1).
    ASSERT_EQ(run({"new", path("a.lyr"), "--total", "10485770ns"}).status, 0);
    ToolRun r = run({"info", path("a.lyr"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueOf(r.out, "samplingTime"), "170");
    EXPECT_EQ(valueOf(r.out, "sampleCount"), "61681");
    EXPECT_EQ(valueOf(r.out, "totalTime"), "10485770");
    EXPECT_EQ(fs::file_size(path("a.lyr")), 5120u + 9u * 61681u);

    // The largest total: 83,886,080 ns x 1,048,576; units in any case.
    ASSERT_EQ(run({"new", path("b.lyr"), "--total", "87960.93022208S"}).status, 0);
    r = run({"info", path("b.lyr"), "--json"});
    EXPECT_EQ(valueOf(r.out, "samplingUnits"), "8388608");
    EXPECT_EQ(valueOf(r.out, "sampleCount"), "1048576");
}

TEST_F(LyrtoolTest, NewBySamplingAndItsRefusals) {
    ToolRun r = run({"new", path("a.lyr"), "--sampling", "1.5us", "--count", "20"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"info", path("a.lyr"), "--json"});
    EXPECT_EQ(valueOf(r.out, "samplingTime"), "1500");
    EXPECT_EQ(valueOf(r.out, "totalTime"), "30000");
    EXPECT_EQ(valueOf(r.out, "formatVersion"), "3");
    EXPECT_EQ(valueOf(r.out, "modificationCount"), "0");
    EXPECT_EQ(valueOf(r.out, "empty"), "1");  // a reset view: no edit points yet

    for (std::vector<std::string> bad : {
             std::vector<std::string>{"--sampling", "1.5ns", "--count", "100"},  // finer than 1 ns
             {"--sampling", "15ns", "--count", "100"},                           // off the 10 ns grid
             {"--sampling", "20", "--count", "100"},                             // no unit
             {"--sampling", "20ns", "--count", "19"},                            // file would not read
             {"--sampling", "20ns", "--count", "1048577"},
             {"--sampling", "83886090ns", "--count", "100"},
             {"--sampling", "20ns"},
             {"--total", "10ms", "--count", "100"},
             {"--total", "100ns"},
             {},
         }) {
        std::vector<std::string> args{"new", path("bad.lyr")};
        args.insert(args.end(), bad.begin(), bad.end());
        r = run(args);
        EXPECT_EQ(r.status, 2) << args[2];
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
    writeLegacy(dir / "bad.syn", 10, 100, 2);  // a channel byte of 2
    fs::copy_file(path("a.lyr"), path("a.csv"));
    const std::string open = "ファイルオープンエラーです。 (file open error)";
    const std::string format = "ファイルフォーマットエラーです。 (file format error)";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
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
        std::vector<std::string> args;
        for (const auto& a : names) args.push_back(a.find('.') != std::string::npos ? path(a) : a);
        const ToolRun r = run(args);
        EXPECT_EQ(r.status, 1) << names[0] << " " << names[1];
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_FALSE(fs::exists(path("out.lyr")));
}

TEST_F(LyrtoolTest, InfoJsonHasExactlyTheKeys) {
    ASSERT_EQ(run({"new", path("a.lyr"), "--total", "1ms"}).status, 0);
    ToolRun r = run({"info", path("a.lyr"), "--json"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(keysOf(r.out, ""),
              (std::vector<std::string>{"format", "formatVersion", "totalTime", "samplingUnits", "samplingTime",
                                        "sampleCount", "timeUnit", "revisionId", "documentId", "modificationCount",
                                        "signalNames", "reservedFlag1", "editLocked", "reservedFlag2",
                                        "reservedFlag3", "deviceText", "outputSettings", "viewState",
                                        "editorSettings"}));
    EXPECT_EQ(keysOf(r.out, "outputSettings"),
              (std::vector<std::string>{"startControl", "outputMode", "analogStop", "digitalStop", "triggerMode",
                                        "triggerPolarity", "syncPolarity", "syncPulseWidth", "repeatCount",
                                        "retrigger", "analogResolution"}));
    EXPECT_EQ(keysOf(r.out, "viewState"),
              (std::vector<std::string>{"cursor", "scroll", "cursorX", "markSet", "mark", "markX", "history",
                                        "oldest", "next", "current", "empty", "canGoBack", "canGoForward",
                                        "onHistory", "zoomEnabled", "viewFlag", "zoomSpans", "standardZoom",
                                        "maxZoom", "zoom"}));
    EXPECT_EQ(keysOf(r.out, "editorSettings"),
              (std::vector<std::string>{"sine", "rectangle", "dc", "ramp", "exp", "noise", "manual", "external",
                                        "clock", "serial", "parallel", "modify", "shift", "swap"}));
    // Record fields come from the records' own field list.
    const auto sine = keysOf(r.out, "sine");
    ASSERT_FALSE(sine.empty());
    EXPECT_EQ(sine.front(), "period");
    const std::string history = valueOf(r.out, "history");
    EXPECT_EQ(std::count(history.begin(), history.end(), ','), 127);
    const std::string spans = valueOf(r.out, "zoomSpans");
    EXPECT_EQ(std::count(spans.begin(), spans.end(), ','), 31);
    const std::string names = valueOf(r.out, "signalNames");
    EXPECT_EQ(std::count(names.begin(), names.end(), ','), 8);

    // The plain listing carries the same values.
    r = run({"info", path("a.lyr")});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\nsampleCount: 100000\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\noutputSettings.repeatCount: 1\n"), std::string::npos);
    EXPECT_NE(r.out.find("\neditorSettings.sine.period: "), std::string::npos);
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
    resealHeader(bytes);
    putFileBytes(path("t.lyr"), bytes);

    ToolRun r = run({"info", path("t.lyr"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueOf(r.out, "deviceText"), "\"波形 ｱﾅﾛｸﾞ\"");
    EXPECT_EQ(valueOf(r.out, "signalNames"), R"(["", "CH0<FD>", "", "", "", "", "", "", ""])");
    EXPECT_EQ(valueOf(r.out, "editLocked"), "1");
    EXPECT_EQ(valueOf(r.out, "reservedFlag2"), "1");
    EXPECT_EQ(valueOf(r.out, "reservedFlag1"), "0");
}

TEST_F(LyrtoolTest, DumpPrintsExactValuesAndHonoursTheRange) {
    auto doc = lyr::test::newDoc(10, 30);
    const double values[] = {0.1, 1.0 / 3.0, -0.7, 1e-300, 2.5};
    for (int i = 0; i < 30; ++i) doc->analog()[i] = values[i % 5] * (i + 1);
    doc->digital(0)[3] = 1;
    doc->digital(7)[4] = 1;
    ASSERT_TRUE(lyr::document::saveWaveformFile(path("d.lyr"), *doc, {}).ok);

    ToolRun r = run({"dump", path("d.lyr")});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream in(r.out);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7");
    int rows = 0;
    while (std::getline(in, line)) {
        const auto c1 = line.find(',');
        const auto c2 = line.find(',', c1 + 1);
        const int index = std::stoi(line.substr(0, c1));
        EXPECT_EQ(index, rows);
        EXPECT_EQ(std::strtod(line.substr(c1 + 1, c2 - c1 - 1).c_str(), nullptr), doc->analog()[index]) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 30);
    EXPECT_NE(r.out.find("\n3,4.0000000000000001e-300,1,0,0,0,0,0,0,0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n2,-2.0999999999999996,0,0,0,0,0,0,0,0\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n4,12.5,0,0,0,0,0,0,0,1\n"), std::string::npos);

    r = run({"dump", path("d.lyr"), "--from", "28", "--count", "5"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);  // header + samples 28 and 29
    r = run({"dump", path("d.lyr"), "--from=30"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n");
    r = run({"dump", path("d.lyr"), "--count", "0"});
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    EXPECT_EQ(run({"dump", path("d.lyr"), "--from", "31"}).status, 2);
}

TEST_F(LyrtoolTest, LegacyFileIsShownConvertedAndConvertWritesTheCurrentFormat) {
    // u = 5,000,000 (100 ms): every sample becomes two of 50 ms.
    writeLegacy(dir / "OLD.SYN", 5000000, 100);
    ToolRun r = run({"info", path("OLD.SYN"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueOf(r.out, "format"), "\"syn\"");
    EXPECT_EQ(valueOf(r.out, "sampleCount"), "200");
    EXPECT_EQ(valueOf(r.out, "samplingUnits"), "5000000");
    EXPECT_EQ(valueOf(r.out, "totalTime"), "10000000000");
    EXPECT_EQ(valueOf(r.out, "analogResolution"), "12");
    EXPECT_EQ(valueOf(r.out, "repeatCount"), "7");
    EXPECT_EQ(valueOf(r.out, "empty"), "1");  // a reset view

    r = run({"dump", path("OLD.SYN"), "--from", "2", "--count", "2"});
    EXPECT_EQ(r.out, "index,analog,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n"
                     "2,-0.875,1,1,0,0,0,0,0,0\n"
                     "3,-0.875,1,1,0,0,0,0,0,0\n");

    ASSERT_EQ(run({"convert", path("OLD.SYN"), path("new.lyr")}).status, 0);
    r = run({"info", path("new.lyr"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueOf(r.out, "format"), "\"lyr\"");
    EXPECT_EQ(valueOf(r.out, "formatVersion"), "3");
    EXPECT_EQ(valueOf(r.out, "sampleCount"), "200");
    EXPECT_EQ(valueOf(r.out, "repeatCount"), "7");
    EXPECT_EQ(valueOf(r.out, "empty"), "1");  // the reset view is stored
    EXPECT_EQ(run({"dump", path("new.lyr")}).out, run({"dump", path("OLD.SYN")}).out);

    // A failed convert leaves an existing target as it was.
    fs::create_directories(dir / "ro");
    r = run({"convert", path("OLD.SYN"), path("ro")});
    EXPECT_EQ(r.status, 1);
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
    ToolRun r = run({"info", path("v3.lyr"), "--json"});
    EXPECT_EQ(valueOf(r.out, "modificationCount"), "1");
    EXPECT_EQ(valueOf(r.out, "amplitude"), "0.75");

    auto bytes = fileBytes(path("v3.lyr"));
    wf::putU32(&bytes[wf::off::formatVersion], 2);  // outside the header checksum
    putFileBytes(path("v2.lyr"), bytes);
    r = run({"info", path("v2.lyr"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(valueOf(r.out, "formatVersion"), "2");
    EXPECT_EQ(valueOf(r.out, "modificationCount"), "0");
    EXPECT_EQ(valueOf(r.out, "amplitude"), "0");
    EXPECT_EQ(valueOf(r.out, "sampleCount"), "40");
}

}  // namespace
}  // namespace lyrtool::test
