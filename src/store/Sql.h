#pragma once

#include "platform/RuntimeError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

class QSqlError;

namespace horalog::store
{

// How the rows of a query are read: once from the first to the last, or back and forth (a model).
enum class Cursor { ForwardOnly, Scrollable };

// Prepares `sql`, binds `values` to its placeholders in order and runs it; a failure raises the
// RuntimeError that matches the engine's error. Anything but a query is a write and passes the
// file's DataFileHealth gate first: it waits for the integrity check and is refused on a damaged file.
QSqlQuery execute(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {},
                  Cursor cursor = Cursor::ForwardOnly);

// How the engine would run a statement, one step a line ("SEARCH Times USING INDEX ..."), to check
// that a statement reads only what it needs.
QStringList queryPlan(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// The RuntimeError the user sees for an engine error on the data file `file`.
RuntimeError sqlError(const QSqlError& error, const QString& file);
// Raises the error of a statement on `db`; one that shows the file damaged marks it so.
[[noreturn]] void raiseSqlError(const QSqlError& error, const QSqlDatabase& db);
// The engine found the file malformed, or not a database at all.
bool reportsDamage(const QSqlError& error);

// Rolls back unless commit() was reached, so an exception leaving the scope undoes the work. A
// transaction is begun to write: it passes the file's DataFileHealth gate first.
class Transaction
{
  public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    QSqlDatabase db_;
    bool open_ = true;
};

} // namespace horalog::store
