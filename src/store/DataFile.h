#pragma once

#include <QSqlDatabase>
#include <QString>

namespace horalog::store
{

inline const QString kDataFileName = QStringLiteral("Horalog.mdb");

// The data file in `directory`, its name matched without regard to letter case; the canonical
// name when there is none.
QString dataFilePath(const QString& directory);

// Opens the data file of `directory` under `connectionName`. A missing directory or file, or a
// file that is not a data file, raises the RuntimeError that names it; nothing is created.
QSqlDatabase openDataFile(const QString& directory, const QString& connectionName);

// Writes a new, empty data file with every table, key, cascade and index, readable by its owner only.
void createDataFile(const QString& path);

} // namespace horalog::store
