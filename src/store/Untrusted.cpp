#include "store/Untrusted.h"

#include "platform/RuntimeError.h"
#include "store/Sql.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>
#include <sqlite3.h>

namespace horalog::store
{

namespace
{

// What the engine's own switches leave to the connection's settings. None of these writes.
const char* const kHardening[] = {
    "PRAGMA trusted_schema = OFF",
    "PRAGMA cell_size_check = ON",
    "PRAGMA mmap_size = 0",
};

// Set on the engine's handle before the first statement reads the file's schema.
bool switchOffForeignCode(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3* engine = *static_cast<sqlite3* const*>(handle.constData());
    if (!engine)
        return false;
    const std::pair<int, int> switches[] = {
        {SQLITE_DBCONFIG_DEFENSIVE, 1},
        {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
        {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
        {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
        {SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0},
    };
    for (const auto& [option, value] : switches) {
        if (sqlite3_db_config(engine, option, value, nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}

std::optional<RuntimeError> hardeningFailure(QSqlDatabase& db)
{
    const QString path = db.databaseName();
    if (!db.open())
        return sqlError(db.lastError(), path);
    if (!switchOffForeignCode(db))
        return RuntimeError(error::DatabaseError, QStringLiteral("the engine refused the safe settings"));
    QSqlQuery query(db);
    for (const char* pragma : kHardening) {
        if (!query.exec(QString::fromLatin1(pragma)))
            return sqlError(query.lastError(), path);
    }
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return sqlError(query.lastError(), path);
    if (query.value(0).toString() != QLatin1String("ok"))
        return RuntimeError(error::DataFileDamaged, path);
    return std::nullopt;
}

} // namespace

QSqlDatabase openUntrusted(const QString& path, const QString& connectionName)
{
    if (!QFileInfo(path).isFile())
        throw RuntimeError(error::FileNotFound, path);
    std::optional<RuntimeError> failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        failure = hardeningFailure(db);
        if (!failure)
            return db;
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    throw *failure;
}

void requirePlainTables(const QSqlDatabase& db, const QStringList& tables)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT type, sql FROM sqlite_schema WHERE name = ? COLLATE NOCASE"));
    for (const QString& table : tables) {
        query.bindValue(0, table);
        if (!query.exec())
            throw sqlError(query.lastError(), db.databaseName());
        if (!query.next())
            throw RuntimeError(error::TableNotFound, table);
        const bool plain =
            query.value(0).toString() == QLatin1String("table") &&
            query.value(1).toString().startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive);
        if (!plain)
            throw RuntimeError(error::NotAPlainTable, table, db.databaseName());
    }
}

} // namespace horalog::store
