#include "support/TestEnvironment.h"

#include "store/DataFile.h"
#include "store/Sql.h"

#include <QApplication>
#include <QCryptographicHash>
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

void TestEnvironment::addManyEntries(int entries)
{
    sql({"INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice')",
         "INSERT INTO Clients (ClientName) VALUES ('Acme')"});
    store::execute(
        QSqlDatabase::database(connection_, false),
        QStringLiteral(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?),
                       s(i, start) AS (SELECT i, datetime('2020-01-01 08:00:00', '+' || (i * 900) || ' seconds')
                                       FROM n)
                       INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time",
                                          "End Time", Hours, Billable)
                       SELECT 1, 'Acme', printf('Project %0100d', i), 'Task', substr(start, 1, 10), start,
                              datetime(start, '+600 seconds'), 0.17, 1 FROM s)"),
        {entries});
}

QByteArray checksum(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

void overwritePages(const QString& path, int first, int last)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return;
    // The page size is a big-endian number at offset 16 of the header; 1 stands for 65536.
    const QByteArray header = file.read(18);
    const int stored = (uchar(header.at(16)) << 8) | uchar(header.at(17));
    const qint64 pageSize = stored == 1 ? 65536 : stored;
    const qint64 pages = file.size() / pageSize;
    const qint64 end = last < 0 ? pages : qMin<qint64>(last, pages);
    const QByteArray garbage(pageSize, char(0xa5));
    for (qint64 page = first; page <= end; ++page) {
        file.seek((page - 1) * pageSize);
        file.write(garbage);
    }
}

std::optional<RuntimeError> failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return error;
    }
    return std::nullopt;
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
