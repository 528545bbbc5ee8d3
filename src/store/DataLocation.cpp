#include "store/DataLocation.h"

#include "store/DataFile.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QUuid>

namespace horalog::store
{

bool isDataFileName(const QString& path)
{
    return QFileInfo(path).fileName().compare(kDataFileName, Qt::CaseInsensitive) == 0;
}

QString dataDirectoryOf(const QString& dataFile)
{
    return QFileInfo(dataFile).absolutePath();
}

void checkDataDirectory(const QString& directory)
{
    const QString connectionName =
        QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    openDataFile(directory, connectionName).close();
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace horalog::store
