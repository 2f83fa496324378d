#include "app/ui/app_startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lyr::app {

namespace {
QString groupKey(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}
}  // namespace

IniSettingsStore::IniSettingsStore(const QString& path) : settings_(path, QSettings::IniFormat) {}

std::string IniSettingsStore::value(const std::string& section, const std::string& key) const {
    const QVariant v = settings_.value(groupKey(section, key));
    // An unquoted value with commas reads back as a list; it is still one text.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", ")).toStdString();
    return v.toString().toStdString();
}

void IniSettingsStore::setValue(const std::string& section, const std::string& key, const std::string& value) {
    settings_.setValue(groupKey(section, key), QString::fromStdString(value));
}

bool IniSettingsStore::sync() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

QString settingsFilePath(const CommandLine& line) {
    SettingsLocation where;
    where.commandLinePath = line.settingsPath;
    where.environmentPath = qEnvironmentVariable(kSettingsEnvironment).toStdString();
    const QString exeDir = QCoreApplication::applicationDirPath();
    where.executableDir = exeDir.toStdString();
    where.executableDirWritable = QFileInfo(exeDir).isWritable();
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!configDir.isEmpty()) where.userConfigDir = (configDir + QStringLiteral("/LYR")).toStdString();
    const QString path = QString::fromStdString(chooseSettingsPath(where));
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

InstanceLock::InstanceLock(const QString& lockDir) {
    QString dir = lockDir;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    path_ = dir + QLatin1Char('/') + QString::fromLatin1(kProgramName) + QStringLiteral(".lock");
}

bool InstanceLock::acquire() {
    lock_ = std::make_unique<QLockFile>(path_);
    // Held for the whole run: never stale by age, only when its process is gone.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return true;
    // Only a lock held by another running editor refuses the start; a folder
    // where no lock can be made says nothing about other instances.
    return lock_->error() != QLockFile::LockFailedError;
}

}  // namespace lyr::app
