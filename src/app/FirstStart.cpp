#include "app/FirstStart.h"

#include "platform/PrivateFiles.h"
#include "platform/RuntimeError.h"
#include "store/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace horalog
{

namespace
{

// Built under another name and renamed once complete, so that a failure half way (a full disk)
// leaves no file that a later start would take for the data file.
void createEmptyDataFile(const QString& path)
{
    const QString unfinished = path + QStringLiteral(".new");
    QFile::remove(unfinished);
    const TightUmask ownerOnly;
    try {
        store::createDataFile(unfinished);
    } catch (const RuntimeError&) {
        QFile::remove(unfinished);
        throw;
    }
    if (!QFile::rename(unfinished, path)) {
        QFile::remove(unfinished);
        throw RuntimeError(error::FileReadOnly, path);
    }
}

} // namespace

QString settleFirstDataDir(const StartOptions& options)
{
    if (options.firstDataDir.isEmpty())
        return QDir::currentPath();
    const QString folder = options.firstDataDir;
    if (!makePrivateFolder(folder))
        throw RuntimeError(error::NotAValidPath, folder);
    const QString path = store::dataFilePath(folder);
    if (!QFileInfo::exists(path))
        createEmptyDataFile(path);
    return folder;
}

} // namespace horalog
