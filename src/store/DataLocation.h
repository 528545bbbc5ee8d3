#pragma once

#include <QString>

namespace horalog::store
{

// Whether a chosen file carries the data file's name, whatever its letter case.
bool isDataFileName(const QString& path);

// The data directory of a chosen data file: its directory, without a trailing separator.
QString dataDirectoryOf(const QString& dataFile);

// Opens the data file of `directory` and closes it again; raises what opening it raises, so a
// directory is known to serve before the program is moved to it.
void checkDataDirectory(const QString& directory);

} // namespace horalog::store
