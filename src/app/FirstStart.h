#pragma once

#include <QString>

namespace horalog
{

// How this run was started; main() fills it in before the main window loads.
struct StartOptions {
    // The data directory of this run only (--data-dir); nothing is stored. Empty: the stored one.
    QString dataDirForThisRun;
    // Where a first start, with no "DataDir" stored yet, keeps the data, making an empty data file
    // there. Empty: the current directory, whose data file is already there (a build folder, run/).
    QString firstDataDir;
};

// The data directory a first start stores as "DataDir". An installed program makes its folder and an
// empty data file there unless one exists, written whole or not at all. A failure raises the
// RuntimeError that names the folder or file.
QString settleFirstDataDir(const StartOptions& options);

} // namespace horalog
