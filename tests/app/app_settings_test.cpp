#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <map>

namespace lyr::app {
namespace {

class MapStore : public SettingsStore {
public:
    std::string value(const std::string& section, const std::string& key) const override {
        auto it = values.find({section, key});
        return it == values.end() ? std::string() : it->second;
    }
    void setValue(const std::string& section, const std::string& key, const std::string& v) override {
        values[{section, key}] = v;
        ++writes;
    }
    std::string at(const std::string& section, const std::string& key) const { return value(section, key); }
    std::map<std::pair<std::string, std::string>, std::string> values;
    int writes = 0;
};

TEST(MaxNumber, OutOfRangeOrUnreadableCountsAsOneWhichMeansSingleInstance) {
    // "4294967298" must not wrap to 2.
    for (const char* bad : {"0", "abc", "300", "256", "", "-2", " 2", "4294967295", "4294967298"}) {
        EXPECT_EQ(parseMaxNumber(bad), 1) << bad;
        EXPECT_TRUE(singleInstanceRule(parseMaxNumber(bad))) << bad;
    }
    const std::pair<const char*, int> good[] = {{"2", 2}, {"255", 255}, {"002", 2}};
    for (const auto& [text, n] : good) EXPECT_EQ(parseMaxNumber(text), n) << text;
    EXPECT_FALSE(singleInstanceRule(2));
}

TEST(StartupSettings, VersionAndMaxNumberAtStart) {
    using Values = std::map<std::pair<std::string, std::string>, std::string>;
    const Values current{{{"LYR", "Version"}, "1.4"}, {{"PGX-500", "MaxNumber"}, "abc"}};
    struct Case {
        const char* what;
        Values before;
        int maxNumber;
        Values after;
        int writes;  // -1: not counted
    } cases[] = {
        {"an old version is rewritten, the other keys stay",
         {{{"LYR", "Version"}, "1.3"}, {{"PGX-500", "MaxNumber"}, "3"}, {{"PGX-500.Device1", "SerialNo"}, "PG123"}}, 3,
         {{{"LYR", "Version"}, "1.4"}, {{"PGX-500", "MaxNumber"}, "3"}, {{"PGX-500.Device1", "SerialNo"}, "PG123"}}, 1},
        {"an empty file gets the version and MaxNumber 1", {}, 1,
         {{{"LYR", "Version"}, "1.4"}, {{"PGX-500", "MaxNumber"}, "1"}}, -1},
        {"a current file is not written, a bad MaxNumber is kept", current, 1, current, 0},
    };
    for (const Case& c : cases) {
        MapStore s;
        s.values = c.before;
        EXPECT_EQ(applyStartupSettings(s), c.maxNumber) << c.what;
        EXPECT_EQ(s.values, c.after) << c.what;
        if (c.writes >= 0) {
            EXPECT_EQ(s.writes, c.writes) << c.what;
        }
    }
}

TEST(EquationMemory, RoundTripThroughTheFileWritingOnlyChanges) {
    MapStore s;
    document::EquationSettings e;
    e.period = 5;  // the file holds no period: reading leaves it
    readEquationMemory(s, e);
    EXPECT_TRUE(e.expression.empty());
    EXPECT_TRUE(e.history.empty());
    EXPECT_EQ(e.period, 5);

    e.expression = "min(1, 2) * sin(2*pi*t/T)";
    e.history = {"a", "b", "c"};
    writeEquationMemory(s, e);
    EXPECT_EQ(s.at("Equation", "History1"), "a");
    const int writes = s.writes;
    writeEquationMemory(s, e);
    EXPECT_EQ(s.writes, writes);  // nothing changed, nothing written

    s.values[{"Equation", "History2"}] = "";  // a gap in a hand-edited file is skipped
    document::EquationSettings back;
    readEquationMemory(s, back);
    EXPECT_EQ(back.expression, e.expression);
    EXPECT_EQ(back.history, (std::vector<std::string>{"a", "c"}));

    e.history = {"z"};  // a shorter history empties the keys after it
    writeEquationMemory(s, e);
    EXPECT_TRUE(s.at("Equation", "History3").empty());
    readEquationMemory(s, back);
    EXPECT_EQ(back.history, (std::vector<std::string>{"z"}));
}

TEST(SettingsPath, ExplicitFilesWinThenExecutableFolderThenUserFolder) {
    SettingsLocation w;
    w.executableDir = "/opt/lyr/bin";
    w.userConfigDir = "/home/u/.config/LYR";
    w.executableDirWritable = true;
    EXPECT_EQ(chooseSettingsPath(w), "/opt/lyr/bin/LYR.INI");
    w.executableDirWritable = false;
    EXPECT_EQ(chooseSettingsPath(w), "/home/u/.config/LYR/LYR.INI");
    w.environmentPath = "/x/env.ini";
    EXPECT_EQ(chooseSettingsPath(w), "/x/env.ini");
    w.commandLinePath = "/x/cmd.ini";
    EXPECT_EQ(chooseSettingsPath(w), "/x/cmd.ini");
}

TEST(CommandLineArgs, SettingsOptionAndFirstFile) {
    auto c = parseCommandLine({"--settings", "/x/a.ini", "wave.lyr", "other.lyr"});
    EXPECT_EQ(c.error, "");
    EXPECT_EQ(c.settingsPath, "/x/a.ini");
    EXPECT_EQ(c.file, "wave.lyr");

    c = parseCommandLine({"--settings=/x/b.ini"});
    EXPECT_EQ(c.settingsPath, "/x/b.ini");
    EXPECT_EQ(c.file, "");

    EXPECT_NE(parseCommandLine({"x.lyr", "--settings"}).error, "");
    EXPECT_NE(parseCommandLine({"--settings="}).error, "");
}

TEST(CommandLineArgs, LanguageOptionIsCheckedAndKept) {
    struct Case {
        std::vector<std::string> args;
        std::string language;
        bool error;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{"--lang", "en", "w.lyr"}, "en", false, "w.lyr"},
        {{"w.lyr", "--lang=ja"}, "ja", false, "w.lyr"},
        {{"--lang", "EN"}, "EN", false, ""},
        {{"--lang"}, "", true, ""},
        {{"--lang="}, "", true, ""},
        {{"--lang", "fr"}, "fr", true, ""},
        {{"--lang", "w.lyr"}, "w.lyr", true, ""},  // the file is not taken for a language
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.args);
        SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
        EXPECT_EQ(!line.error.empty(), c.error);
        if (!c.error) {
            EXPECT_EQ(line.language, c.language);
            EXPECT_EQ(line.file, c.file);
        }
    }
}

TEST(Language, CommandLineThenEnvironmentThenSettingsFileThenJapanese) {
    using L = Language;
    struct Case {
        std::string commandLine, environment, settings;
        L expected;
    };
    const std::vector<Case> cases = {
        {"", "", "", L::Japanese},
        {"en", "", "", L::English},
        {"", "en", "", L::English},
        {"", "", "en", L::English},
        {"ja", "en", "en", L::Japanese},
        {"", "ja", "en", L::Japanese},
        {"", "de", "en", L::English},       // an unknown code passes to the next source
        {"", " En ", "", L::English},       // blanks and case do not matter
        {"", "", "english", L::Japanese},  // only the codes count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine + "|" + c.environment + "|" + c.settings);
        EXPECT_EQ(chooseLanguage(c.commandLine, c.environment, c.settings), c.expected);
    }
    EXPECT_STREQ(languageCode(L::English), "en");
    EXPECT_STREQ(languageCode(L::Japanese), "ja");
}

}  // namespace
}  // namespace lyr::app
