#pragma once

#include <QProcess>
#include <QString>

namespace horalog::test
{

// Runs of the real program in processes of their own, headless, each on its own folders.
// `root` gets home/ (HOME), config/ (XDG_CONFIG_HOME) and data/ (XDG_DATA_HOME); none is made here.
QProcessEnvironment programEnvironment(const QString& root);

// Ends a run that is still going: asks it to end, then makes it; false when it would not end.
bool stopProgram(QProcess& program);

// The rows of a table in a data file, read through a connection of the test's own; -1 when the file
// cannot be read.
int rowsIn(const QString& dataFile, const QString& table);

} // namespace horalog::test
