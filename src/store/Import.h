#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace horalog::store
{

// Appends the clients, employees and entries of the data file at `sourcePath` to the data file of
// `db`, each with its key; a row whose key is taken is skipped. Alarms stay where they are. The
// source is opened as a file from elsewhere (openUntrusted): it must pass its quick check and hold
// the three as plain tables, only their known columns are read, and nothing of its schema runs. All
// or nothing: an error raises the RuntimeError that names the fault and
// leaves `db` as it was. The rows go in steps of a few thousand; `betweenSteps` runs after each, so
// that the window can be repainted during a long import.
void importDataFile(
    const QSqlDatabase& db, const QString& sourcePath, const std::function<void()>& betweenSteps = [] {});

} // namespace horalog::store
