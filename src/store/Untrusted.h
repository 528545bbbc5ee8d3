#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace horalog::store
{

// Opens a data file that may come from elsewhere (an imported file, the file the integrity check
// reads) read-only under `connectionName`, hardened as the engine advises for files nobody vouches
// for: defensive mode, no function of the file's schema, no view and no trigger, every cell's size
// checked, no memory mapping. The file's own quick check passes before any row is read. A file that
// is missing, no database or damaged raises the RuntimeError that names it, and the connection is
// removed again.
QSqlDatabase openUntrusted(const QString& path, const QString& connectionName);

// Raises the RuntimeError that names the first of `tables` which the file of `db` lacks, or holds as
// something other than a plain table (a view, a virtual table), whose reading would run its code.
void requirePlainTables(const QSqlDatabase& db, const QStringList& tables);

} // namespace horalog::store
