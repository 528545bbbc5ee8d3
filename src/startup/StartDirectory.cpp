#include "startup/StartDirectory.h"

#include "app/ProgramFiles.h"
#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace horalog
{

bool enterStartDirectory(const ProgramFiles& files, const QString& folder)
{
    if (!makePrivateFolder(folder) || !QDir::setCurrent(folder))
        return false;
    for (const QString& file : files.startFiles()) {
        const QString copy = QDir(folder).filePath(QFileInfo(file).fileName());
        if (!QFileInfo::exists(copy))
            QFile::copy(file, copy);
    }
    return true;
}

} // namespace horalog
