#include "support/TestEnvironment.h"

#include "store/DataFile.h"
#include "store/Sql.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QSqlQuery>
#include <QUuid>
#include <QWidget>

namespace horalog::test
{

TestEnvironment::TestEnvironment()
    : reg(QDir(root_.path()).filePath(QStringLiteral("settings"))),
      connection_(QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QDir(root_.path()).mkpath(QStringLiteral("data"));
    QDir(root_.path()).mkpath(QStringLiteral("settings"));
    store::createDataFile(dataFile());
    reg.CreateNewKey(kHoralogKey);
    reg.SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), dataDir(), REG_SZ);
    module = std::make_unique<MainModule>(fake.platform, reg);
    module->DataPath = dataDir();
    store::openDataFile(dataDir(), connection_);
}

TestEnvironment::~TestEnvironment()
{
    module.reset();
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QString TestEnvironment::dataDir() const
{
    return QDir(root_.path()).filePath(QStringLiteral("data"));
}

QString TestEnvironment::settingsDir() const
{
    return QDir(root_.path()).filePath(QStringLiteral("settings"));
}

QString TestEnvironment::dataFile() const
{
    return QDir(dataDir()).filePath(store::kDataFileName);
}

void TestEnvironment::sql(const QStringList& statements)
{
    for (const QString& statement : statements)
        store::execute(QSqlDatabase::database(connection_, false), statement);
}

QVariant TestEnvironment::scalar(const QString& query, const QVariantList& values)
{
    QSqlQuery result = store::execute(QSqlDatabase::database(connection_, false), query, values);
    return result.next() ? result.value(0) : QVariant();
}

int TestEnvironment::count(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

QString TestEnvironment::settingOnDisk(const QString& name) const
{
    QTemporaryDir copyDir;
    const QString copy = QDir(copyDir.path()).filePath(QStringLiteral("copy.conf"));
    if (!QFile::copy(reg.keyFile(kHoralogKey), copy))
        return {};
    return QSettings(copy, QSettings::IniFormat).value(name).toString();
}

bool closeAllWindows()
{
    bool noneOpen = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        noneOpen = false;
        window->close();
    }
    // Deleting a window deletes its menus, which are top-level widgets too.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows << window;
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    return noneOpen;
}

QString tearDown(std::unique_ptr<TestEnvironment>& env)
{
    QStringList problems = env->fake.prompter.unexpected;
    if (!env->fake.prompter.scriptUsedUp())
        problems << QStringLiteral("scripted answers were left over");
    closeAllWindows();
    env.reset();
    return problems.join(QLatin1Char('\n'));
}

} // namespace horalog::test
