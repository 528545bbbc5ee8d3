// Writes an empty data file, with every table, key, cascade and index, into a directory.
#include "platform/RuntimeError.h"
#include "store/DataFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool keepExisting = arguments.removeAll(QStringLiteral("--keep-existing")) > 0;
    QTextStream err(stderr);
    if (arguments.size() != 1) {
        err << "usage: horalog-datafile [--keep-existing] DIR\n";
        return 2;
    }
    const QString directory = arguments.first();
    if (!QFileInfo(directory).isDir()) {
        err << "horalog-datafile: " << directory << " is not a directory\n";
        return 1;
    }
    const QString path = horalog::store::dataFilePath(directory);
    if (QFileInfo::exists(path)) {
        if (keepExisting)
            return 0;
        err << "horalog-datafile: " << path << " exists; it is left as it is\n";
        return 1;
    }
    try {
        horalog::store::createDataFile(path);
    } catch (const horalog::RuntimeError& error) {
        err << "horalog-datafile: " << error.text() << "\n";
        return 1;
    }
    return 0;
}
