#include "app/RegModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace horalog
{

namespace
{
constexpr long kSuccess = 0;
constexpr long kFailure = 1;
constexpr long kNotFound = 2;
constexpr long kUnsupportedType = -1;

// QSettings replaces its file through a synced temporary file; the new name itself is durable
// only once the directory holding it is synced too.
bool syncToDisk(const QString& path, int flags = O_RDONLY)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

long statusOf(QSettings& key)
{
    key.sync();
    return key.status() == QSettings::NoError ? kSuccess : kFailure;
}
} // namespace

QString regText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

RegModule::RegModule(const QString& settingsFolder) : folder_(settingsFolder) {}

QString RegModule::defaultSettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString RegModule::keyFile(const QString& keyName) const
{
    const QString leaf = keyName.section(QLatin1Char('\\'), -1);
    return QDir(folder_).filePath(leaf + QLatin1Char('/') + leaf + QStringLiteral(".conf"));
}

long RegModule::SetValueEx(QSettings& key, const QString& valueName, int type, const QVariant& value) const
{
    switch (type) {
    case REG_SZ:
        key.setValue(valueName, regText(value));
        return statusOf(key);
    case REG_DWORD:
        key.setValue(valueName, value.toInt());
        return statusOf(key);
    default:
        return kSuccess;
    }
}

long RegModule::QueryValueEx(QSettings& key, const QString& valueName, QVariant& value) const
{
    if (key.status() != QSettings::NoError)
        return kFailure;
    if (!key.contains(valueName))
        return kNotFound;
    const QVariant stored = key.value(valueName);
    if (!stored.canConvert<QString>())
        return kUnsupportedType;
    value = stored.toString();
    return kSuccess;
}

QVariant RegModule::QueryValue(const QString& keyName, const QString& valueName) const
{
    QVariant value;
    if (!QFileInfo::exists(keyFile(keyName)))
        return value;
    QSettings key(keyFile(keyName), QSettings::IniFormat);
    QueryValueEx(key, valueName, value);
    return value;
}

void RegModule::SetKeyValue(const QString& keyName, const QString& valueName, const QVariant& value,
                            int type) const
{
    if (!QFileInfo::exists(keyFile(keyName)))
        return;
    QSettings key(keyFile(keyName), QSettings::IniFormat);
    SetValueEx(key, valueName, type, value);
}

bool RegModule::SetKeyValuesDurably(const QString& keyName,
                                    const QList<std::pair<QString, QString>>& values) const
{
    const QString file = keyFile(keyName);
    if (!QFileInfo::exists(file))
        return false;
    QSettings key(file, QSettings::IniFormat);
    QList<std::pair<QString, QVariant>> previous;
    for (const auto& [name, text] : values) {
        previous.append({name, key.value(name)});
        key.setValue(name, text);
    }
    if (statusOf(key) != kSuccess) {
        // Settings objects keep what they could not write and write it with the next value that
        // succeeds; what failed here must not turn up then.
        for (const auto& [name, value] : previous) {
            if (value.isValid())
                key.setValue(name, value);
            else
                key.remove(name);
        }
        key.sync();
        return false;
    }
    return syncToDisk(file) && syncToDisk(QFileInfo(file).absolutePath(), O_RDONLY | O_DIRECTORY);
}

void RegModule::CreateNewKey(const QString& keyName) const
{
    const QString file = keyFile(keyName);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile key(file);
    key.open(QIODevice::Append);
}

} // namespace horalog
