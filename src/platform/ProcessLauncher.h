#pragma once

#include <QString>
#include <QStringList>

namespace horalog
{

class ProcessLauncher
{
  public:
    virtual ~ProcessLauncher() = default;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Opens a document (the help pages) in the desktop's viewer; failures are ignored.
    virtual void openDocument(const QString& path) = 0;
    // Ends the process at once: no window closes, nothing is saved. Callers return right after it,
    // because a test double records the call instead of ending the test.
    virtual void exitNow() = 0;
};

} // namespace horalog
