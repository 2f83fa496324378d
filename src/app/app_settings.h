#pragma once
// The settings file LYR.INI: where it lives, the entries kept current at
// start-up and the instance rule that follows from "MaxNumber".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/settings_records.h"

namespace lyr::app {

inline constexpr const char* kProgramName = "LYR";
inline constexpr const char* kVersionText = "1.4";
inline constexpr const char* kSettingsFileName = "LYR.INI";
inline constexpr const char* kSectionProgram = "LYR";
inline constexpr const char* kKeyVersion = "Version";
inline constexpr const char* kSectionDevice = "PGX-500";
inline constexpr const char* kKeyMaxNumber = "MaxNumber";
inline constexpr const char* kAlreadyRunningMessage = "既に起動しています。";
// The about box.
inline constexpr const char* kAboutTitle = "LYRのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kAboutVersionPrefix = "LYR Version ";
inline constexpr const char* kAboutProductLine = "PGX-500 波形データ編集・書き込みプログラム";
// The environment variable that names another settings file.
inline constexpr const char* kSettingsEnvironment = "LYR_SETTINGS";

// The language of the program's texts: "ja" (the default) or "en", from
// --lang, else LYR_LANG, else "Language" in section "LYR" of the settings file.
enum class Language { Japanese, English };
inline constexpr const char* kKeyLanguage = "Language";
inline constexpr const char* kLanguageEnvironment = "LYR_LANG";
// "ja" / "en" (case and surrounding blanks ignored); nothing for anything else.
std::optional<Language> parseLanguage(const std::string& code);
const char* languageCode(Language language);
// The first of the three that names a language; an unknown code is passed over.
Language chooseLanguage(const std::string& commandLine, const std::string& environment,
                        const std::string& settingsFile);

// Section/key access to the settings file. The widget layer backs it with an
// INI file; tests with a map.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or the empty text when the key is missing.
    virtual std::string value(const std::string& section, const std::string& key) const = 0;
    virtual void setValue(const std::string& section, const std::string& key, const std::string& value) = 0;
};

// "MaxNumber" as a number of generators: anything that is not a decimal
// number 1 ... 255 counts as 1.
int parseMaxNumber(const std::string& text);

// The equation editor's last expression and its history: section "Equation",
// keys "Expression" and "History1" (newest) .. "History10".
inline constexpr const char* kSectionEquation = "Equation";
inline constexpr const char* kKeyExpression = "Expression";
inline constexpr const char* kKeyHistoryPrefix = "History";
// Reads them into the record (its period stays as it is); empty entries are skipped.
void readEquationMemory(const SettingsStore& store, document::EquationSettings& settings);
// Writes only what differs from the file, so an unchanged memory writes nothing.
void writeEquationMemory(SettingsStore& store, const document::EquationSettings& settings);

// One instance only when MaxNumber is 1; 2 ... 255 let several run.
inline bool singleInstanceRule(int maxNumber) { return maxNumber == 1; }

// The start-up reading of the settings file: "Version" rewritten as 1.4 when it
// differs, a missing or empty "MaxNumber" written as 1. Returns MaxNumber in effect.
int applyStartupSettings(SettingsStore& store);

// Where the settings file is: an explicit file (command line, then the
// environment) wins; otherwise LYR.INI beside the executable when that folder
// can be written, else in the user's configuration folder.
struct SettingsLocation {
    std::string commandLinePath;     // --settings FILE
    std::string environmentPath;     // LYR_SETTINGS
    std::string executableDir;
    bool executableDirWritable = false;
    std::string userConfigDir;
};
std::string chooseSettingsPath(const SettingsLocation& where);

// The editor's own arguments: --settings FILE, --lang ja|en and at most one
// waveform file.
struct CommandLine {
    std::string settingsPath;
    std::string language;  // as given; parseCommandLine has checked it
    std::string file;
    std::string error;  // empty when the arguments were understood
};
CommandLine parseCommandLine(const std::vector<std::string>& args);

}  // namespace lyr::app
