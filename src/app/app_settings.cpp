#include "app/app_settings.h"

#include "document/quantities.h"

namespace lyr::app {

int parseMaxNumber(const std::string& text) {
    std::uint32_t value = 0;
    if (!document::parseUnsigned(text, value)) return 1;
    if (value == 0 || value >= 256) return 1;
    return static_cast<int>(value);
}

int applyStartupSettings(SettingsStore& store) {
    if (store.value(kSectionProgram, kKeyVersion) != kVersionText)
        store.setValue(kSectionProgram, kKeyVersion, kVersionText);
    std::string maxNumber = store.value(kSectionDevice, kKeyMaxNumber);
    if (maxNumber.empty()) {
        maxNumber = "1";
        store.setValue(kSectionDevice, kKeyMaxNumber, maxNumber);
    }
    return parseMaxNumber(maxNumber);
}

namespace {
std::string historyKey(std::size_t k) { return kKeyHistoryPrefix + std::to_string(k + 1); }
void writeIfChanged(SettingsStore& store, const std::string& key, const std::string& value) {
    if (store.value(kSectionEquation, key) != value) store.setValue(kSectionEquation, key, value);
}
}  // namespace

void readEquationMemory(const SettingsStore& store, document::EquationSettings& settings) {
    settings.expression = store.value(kSectionEquation, kKeyExpression);
    settings.history.clear();
    for (std::size_t k = 0; k < document::EquationSettings::kHistorySize; ++k) {
        std::string entry = store.value(kSectionEquation, historyKey(k));
        if (!entry.empty()) settings.history.push_back(std::move(entry));
    }
}

void writeEquationMemory(SettingsStore& store, const document::EquationSettings& settings) {
    writeIfChanged(store, kKeyExpression, settings.expression);
    for (std::size_t k = 0; k < document::EquationSettings::kHistorySize; ++k)
        writeIfChanged(store, historyKey(k), k < settings.history.size() ? settings.history[k] : std::string());
}

namespace {
std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/' || dir.back() == '\\') return dir + name;
    return dir + "/" + name;
}
}  // namespace

std::string chooseSettingsPath(const SettingsLocation& where) {
    if (!where.commandLinePath.empty()) return where.commandLinePath;
    if (!where.environmentPath.empty()) return where.environmentPath;
    if (where.executableDirWritable || where.userConfigDir.empty())
        return joinPath(where.executableDir, kSettingsFileName);
    return joinPath(where.userConfigDir, kSettingsFileName);
}

std::optional<Language> parseLanguage(const std::string& code) {
    std::string c;
    for (char ch : code)
        if (ch != ' ' && ch != '\t') c += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    if (c == "ja") return Language::Japanese;
    if (c == "en") return Language::English;
    return std::nullopt;
}

const char* languageCode(Language language) { return language == Language::English ? "en" : "ja"; }

Language chooseLanguage(const std::string& commandLine, const std::string& environment,
                        const std::string& settingsFile) {
    for (const std::string* text : {&commandLine, &environment, &settingsFile})
        if (const std::optional<Language> l = parseLanguage(*text)) return *l;
    return Language::Japanese;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    static const std::string kOption = "--settings";
    static const std::string kLangOption = "--lang";
    static const std::string kLangError = "--lang needs ja or en";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == kLangOption || a.rfind(kLangOption + "=", 0) == 0) {
            if (a == kLangOption) {
                if (i + 1 >= args.size()) {
                    line.error = kLangError;
                    return line;
                }
                line.language = args[++i];
            } else {
                line.language = a.substr(kLangOption.size() + 1);
            }
            if (!parseLanguage(line.language)) {
                line.error = kLangError;
                return line;
            }
        } else if (a == kOption) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                line.error = "--settings needs a file name";
                return line;
            }
            line.settingsPath = args[++i];
        } else if (a.rfind(kOption + "=", 0) == 0) {
            line.settingsPath = a.substr(kOption.size() + 1);
            if (line.settingsPath.empty()) {
                line.error = "--settings needs a file name";
                return line;
            }
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            // Options of the toolkit that it did not consume are not ours to refuse.
            continue;
        } else if (line.file.empty()) {
            line.file = a;
        }
    }
    return line;
}

}  // namespace lyr::app
