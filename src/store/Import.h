#pragma once

#include <QSqlDatabase>
#include <QString>

namespace horalog::store
{

// Appends the clients, employees and entries of the data file at `sourcePath` to the data file of
// `db`, each with its key; a row whose key is taken is skipped. Alarms stay where they are. The
// source is only read. All or nothing: an error raises the RuntimeError that names the fault and
// leaves `db` as it was.
void importDataFile(const QSqlDatabase& db, const QString& sourcePath);

} // namespace horalog::store
