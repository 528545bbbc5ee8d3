#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

class QSettings;

namespace horalog
{

inline const QString kHoralogKey = QStringLiteral("Software\\Horalog");

enum RegType { REG_SZ = 1, REG_DWORD = 4 };

// Named text values under a key of the current user. A key is one settings file in the user's
// settings folder ("Software\Horalog" is Horalog/Horalog.conf); it exists once CreateNewKey made it.
// Values come back exactly as written. Nothing here reports a failure to the user.
class RegModule
{
  public:
    explicit RegModule(const QString& settingsFolder = defaultSettingsFolder());
    static QString defaultSettingsFolder();

    QVariant QueryValue(const QString& keyName, const QString& valueName) const;
    void SetKeyValue(const QString& keyName, const QString& valueName, const QVariant& value, int type) const;
    void CreateNewKey(const QString& keyName) const;

    // Writes text values in the order given as one replacement of the key's file and returns once
    // the file and its name are on the disk, so a cut-off leaves all of them or none. False when the
    // key does not exist or the values could not be written; then none of them is written later.
    bool SetKeyValuesDurably(const QString& keyName, const QList<std::pair<QString, QString>>& values) const;

    long SetValueEx(QSettings& key, const QString& valueName, int type, const QVariant& value) const;
    long QueryValueEx(QSettings& key, const QString& valueName, QVariant& value) const;

    QString keyFile(const QString& keyName) const;

  private:
    QString folder_;
};

// The text a value is written as: booleans as "True"/"False", numbers in decimal.
QString regText(const QVariant& value);

} // namespace horalog
