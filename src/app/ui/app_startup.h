#pragma once
// What the application does before and around its main window: the settings
// file LYR.INI through QSettings, and the single-instance lock.
#include <QLockFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/app_settings.h"

namespace lyr::app {

// LYR.INI as an INI file with the same sections and keys.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& path);
    std::string value(const std::string& section, const std::string& key) const override;
    void setValue(const std::string& section, const std::string& key, const std::string& value) override;
    // Writes pending changes; false when the file could not be written.
    bool sync();
    QString path() const { return settings_.fileName(); }

private:
    mutable QSettings settings_;
};

// Where LYR.INI is for this run: --settings FILE, else LYR_SETTINGS, else
// beside the executable when that folder can be written, else the user's
// configuration folder (created when missing).
QString settingsFilePath(const CommandLine& line);

// The lock behind the single-instance rule: a lock file named after "LYR" in
// the runtime (else temporary) folder. A lock left by a process that no longer
// runs is taken over.
class InstanceLock {
public:
    // lockDir empty: the runtime folder of the user.
    explicit InstanceLock(const QString& lockDir = {});
    // False when another running LYR holds it (true, unguarded, when the
    // lock folder cannot take a lock file at all).
    bool acquire();
    QString path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace lyr::app
