#include "store/Rows.h"

#include "store/Sql.h"

#include <QSqlDriver>
#include <QSqlIndex>
#include <QStringList>

namespace horalog::store
{

namespace
{

QString quoted(const QSqlDatabase& db, const QString& name)
{
    return db.driver()->escapeIdentifier(name, QSqlDriver::FieldName);
}

QString quotedTable(const QSqlDatabase& db, const QString& table)
{
    return db.driver()->escapeIdentifier(table, QSqlDriver::TableName);
}

bool rowExists(const QSqlDatabase& db, const QString& table, const QString& keyField, const QVariant& key)
{
    return execute(db,
                   QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                       .arg(quotedTable(db, table), quoted(db, keyField)),
                   {key})
        .next();
}

} // namespace

QSqlQuery selectRows(const QSqlDatabase& db, const QString& table, const std::optional<RowFilter>& filter,
                     const QString& orderBy)
{
    QString sql = QStringLiteral("SELECT * FROM %1").arg(quotedTable(db, table));
    QVariantList values;
    if (filter) {
        sql += QStringLiteral(" WHERE %1 = ?").arg(quoted(db, filter->field));
        values << filter->value;
    }
    if (!orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY %1").arg(quoted(db, orderBy));
    return execute(db, sql, values, Cursor::Scrollable);
}

QString keyFieldOf(const QSqlDatabase& db, const QString& table)
{
    const QSqlIndex key = db.primaryIndex(table);
    return key.isEmpty() ? QString() : key.fieldName(0);
}

RowWrite updateRow(const QSqlDatabase& db, const QString& table, const QString& keyField,
                   const QSqlRecord& shown, const FieldValues& changes, bool overwrite)
{
    QStringList assignments;
    QVariantList values;
    for (const auto& [field, value] : changes) {
        assignments << quoted(db, field) + QStringLiteral(" = ?");
        values << value;
    }
    const QVariant key = shown.value(keyField);
    QStringList conditions{quoted(db, keyField) + QStringLiteral(" = ?")};
    values << key;
    if (!overwrite) {
        for (int i = 0; i < shown.count(); ++i) {
            conditions << quoted(db, shown.fieldName(i)) + QStringLiteral(" IS ?");
            values << shown.value(i);
        }
    }
    const QSqlQuery written = execute(db,
                                      QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                          .arg(quotedTable(db, table), assignments.join(QStringLiteral(", ")),
                                               conditions.join(QStringLiteral(" AND "))),
                                      values);
    if (written.numRowsAffected() > 0)
        return RowWrite::Written;
    return rowExists(db, table, keyField, key) ? RowWrite::ChangedElsewhere : RowWrite::DeletedElsewhere;
}

QVariant insertRow(const QSqlDatabase& db, const QString& table, const QString& keyField,
                   const FieldValues& values)
{
    QStringList fields;
    QStringList placeholders;
    QVariantList bound;
    QVariant key;
    for (const auto& [field, value] : values) {
        fields << quoted(db, field);
        placeholders << QStringLiteral("?");
        bound << value;
        if (field == keyField)
            key = value;
    }
    const QString sql = values.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedTable(db, table))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quotedTable(db, table), fields.join(QStringLiteral(", ")),
                                       placeholders.join(QStringLiteral(", ")));
    const QSqlQuery inserted = execute(db, sql, bound);
    return key.isValid() ? key : inserted.lastInsertId();
}

void deleteRow(const QSqlDatabase& db, const QString& table, const QString& keyField, const QVariant& key)
{
    execute(db,
            QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quotedTable(db, table), quoted(db, keyField)),
            {key});
}

} // namespace horalog::store
