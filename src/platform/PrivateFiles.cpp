#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace horalog
{

TightUmask::TightUmask(mode_t mask) : previous_(::umask(mask))
{
    ::umask(previous_ | mask);
}

TightUmask::~TightUmask()
{
    ::umask(previous_);
}

bool makePrivateFolder(const QString& path, mode_t mask)
{
    const TightUmask scope(mask);
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

} // namespace horalog
