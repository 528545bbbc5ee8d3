#include "store/Sql.h"

#include "platform/RuntimeError.h"
#include "store/DataFileHealth.h"

#include <QSqlError>
#include <QStringView>

namespace horalog::store
{

namespace
{
// SQLite's primary result codes.
constexpr int kSqliteError = 1;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoError = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteConstraint = 19;
constexpr int kSqliteNotADatabase = 26;

int primaryCode(const QSqlError& error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

// Anything but a query counts as a write, so that the gate errs on the side of the file.
bool writes(const QString& sql)
{
    return !QStringView(sql).trimmed().startsWith(u"SELECT", Qt::CaseInsensitive);
}

} // namespace

bool reportsDamage(const QSqlError& error)
{
    const int code = primaryCode(error);
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

RuntimeError sqlError(const QSqlError& error, const QString& file)
{
    const int code = primaryCode(error);
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (code) {
    case kSqliteBusy:
    case kSqliteLocked:
        return {error::RecordLocked, file};
    case kSqliteReadOnly:
    case kSqliteIoError:
        return {error::FileReadOnly, file};
    case kSqliteFull:
        return {error::DiskFull, file};
    case kSqliteCantOpen:
        return {error::FileNotFound, file};
    case kSqliteCorrupt:
        return {error::DataFileDamaged, file};
    case kSqliteNotADatabase:
        return {error::UnrecognizedFormat, file};
    case kSqliteConstraint:
        // "UNIQUE constraint failed: Clients.ClientName" names the field after the dot.
        if (text.startsWith(QLatin1String("UNIQUE constraint failed")))
            return {error::DuplicateKey, text.section(QLatin1Char('.'), -1)};
        break;
    case kSqliteError:
        if (text.startsWith(QLatin1String("no such table: ")) ||
            text.startsWith(QLatin1String("no such column: ")))
            return {error::TableNotFound, text.section(QLatin1String(": "), 1)};
        break;
    default:
        break;
    }
    return {error::DatabaseError, text};
}

void raiseSqlError(const QSqlError& error, const QSqlDatabase& db)
{
    if (reportsDamage(error)) {
        DataFileHealth& health = DataFileHealth::of(db);
        health.markDamaged();
        throw health.damagedError();
    }
    throw sqlError(error, db.databaseName());
}

QSqlQuery execute(const QSqlDatabase& db, const QString& sql, const QVariantList& values, Cursor cursor)
{
    if (writes(sql))
        DataFileHealth::of(db).admitWrite();
    QSqlQuery query(db);
    query.setForwardOnly(cursor == Cursor::ForwardOnly);
    if (!query.prepare(sql))
        raiseSqlError(query.lastError(), db);
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    if (!query.exec())
        raiseSqlError(query.lastError(), db);
    return query;
}

QStringList queryPlan(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery plan = execute(db, QStringLiteral("EXPLAIN QUERY PLAN ") + sql, values);
    QStringList steps;
    while (plan.next())
        steps << plan.value(QStringLiteral("detail")).toString();
    return steps;
}

Transaction::Transaction(QSqlDatabase db) : db_(std::move(db))
{
    DataFileHealth::of(db_).admitWrite();
    if (!db_.transaction())
        raiseSqlError(db_.lastError(), db_);
}

Transaction::~Transaction()
{
    if (open_)
        db_.rollback();
}

void Transaction::commit()
{
    if (!db_.commit())
        raiseSqlError(db_.lastError(), db_);
    open_ = false;
}

} // namespace horalog::store
