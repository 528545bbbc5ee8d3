#include "support/Programs.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace horalog::test
{

QProcessEnvironment programEnvironment(const QString& root)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), QDir(root).filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(root).filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QDir(root).filePath(QStringLiteral("data")));
    return environment;
}

bool stopProgram(QProcess& program)
{
    if (program.state() == QProcess::NotRunning)
        return true;
    program.terminate();
    if (program.waitForFinished(5000))
        return true;
    program.kill();
    return program.waitForFinished(5000);
}

int rowsIn(const QString& dataFile, const QString& table)
{
    const QString connection = QStringLiteral("rows-in");
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dataFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        QSqlQuery count(db);
        if (db.open() && count.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)) && count.next())
            rows = count.value(0).toInt();
        count.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return rows;
}

} // namespace horalog::test
