#pragma once

#include <QString>
#include <sys/types.h>

namespace horalog
{

// Rights that files and folders holding the business's data are created with: the owner's only.
constexpr mode_t kOwnerOnlyMask = 077;

// Tightens the process umask to at least `mask` for the scope's lifetime, so that what is created
// inside never has wider rights, not even for a moment; the umask comes back when the scope ends.
// Existing files and folders keep their modes.
class TightUmask
{
  public:
    explicit TightUmask(mode_t mask = kOwnerOnlyMask);
    ~TightUmask();
    TightUmask(const TightUmask&) = delete;
    TightUmask& operator=(const TightUmask&) = delete;

  private:
    mode_t previous_;
};

// Makes `path` and any missing parent folders under a tight umask; true when it is a folder now.
bool makePrivateFolder(const QString& path, mode_t mask = kOwnerOnlyMask);

} // namespace horalog
