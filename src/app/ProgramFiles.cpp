#include "app/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace horalog
{

namespace
{
const QString kHelpPage = QStringLiteral("help/index.html");
} // namespace

ProgramFiles ProgramFiles::ofThisProgram()
{
    return around(QCoreApplication::applicationDirPath());
}

// An installed program finds its help pages in the shared folder the install put beside bin/.
ProgramFiles ProgramFiles::around(const QString& programDir)
{
    const QString shared = QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(HORALOG_SHARE_FROM_BIN)));
    if (QFileInfo::exists(QDir(shared).filePath(kHelpPage)))
        return ProgramFiles(shared, true);
    return ProgramFiles(programDir, false);
}

QString ProgramFiles::helpPage() const
{
    return QDir(folder_).filePath(kHelpPage);
}

QStringList ProgramFiles::startFiles() const
{
    if (!installed_)
        return {};
    QStringList files;
    for (const QFileInfo& file : QDir(folder_).entryInfoList(QDir::Files, QDir::Name))
        files << file.absoluteFilePath();
    return files;
}

QString userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Horalog"));
}

} // namespace horalog
