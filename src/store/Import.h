#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace horalog::store
{

// Appends the clients, employees and entries of the data file at `sourcePath` to the data file of
// `db`, each with its key; a row whose key is taken is skipped. Alarms stay where they are. The
// source is only read. All or nothing: an error raises the RuntimeError that names the fault and
// leaves `db` as it was. The rows go in steps of a few thousand; `betweenSteps` runs after each, so
// that the window can be repainted during a long import.
void importDataFile(
    const QSqlDatabase& db, const QString& sourcePath, const std::function<void()>& betweenSteps = [] {});

} // namespace horalog::store
