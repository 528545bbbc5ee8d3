#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <optional>

// Reading and writing the rows of one table by its key, for the windows that edit a row at a time.
// Only the fields a window changed are written; table and field names come from the program, every
// value is bound.
namespace horalog::store
{

using FieldValues = QList<QPair<QString, QVariant>>;

// Narrows a table to the rows whose `field` holds `value`.
struct RowFilter {
    QString field;
    QVariant value;
};

enum class RowWrite { Written, ChangedElsewhere, DeletedElsewhere };

// Every row of `table`, narrowed by `filter`, sorted by `orderBy` when given.
QSqlQuery selectRows(const QSqlDatabase& db, const QString& table, const std::optional<RowFilter>& filter,
                     const QString& orderBy);
// The table's key field; empty when it has none.
QString keyFieldOf(const QSqlDatabase& db, const QString& table);

// Writes `changes` into the row `shown` (as it was read) of `table`. Unless `overwrite` is set, the
// row is written only while it still holds every value of `shown`, so that a change another program
// made meanwhile is not overwritten unasked.
RowWrite updateRow(const QSqlDatabase& db, const QString& table, const QString& keyField,
                   const QSqlRecord& shown, const FieldValues& changes, bool overwrite);
// Adds a row holding `values`; returns its key.
QVariant insertRow(const QSqlDatabase& db, const QString& table, const QString& keyField,
                   const FieldValues& values);
void deleteRow(const QSqlDatabase& db, const QString& table, const QString& keyField, const QVariant& key);

} // namespace horalog::store
