#include "startup/Main.h"

#include "app/AboutForm.h"
#include "app/MainModule.h"
#include "startup/DailyBackup.h"
#include "timing/SessionEnd.h"
#include "timing/TimerForm.h"
#include "timing/TrayIcon.h"

#include <QCoreApplication>

namespace horalog
{

// The day's backup waits until the main window is painted, so that a big data file does not keep the
// window from showing, and runs before the window takes any input, so before anything is written.
void Main(MainModule& module)
{
    auto* splash = new AboutForm(module, AboutForm::Mode::Splash);
    splash->show();
    QCoreApplication::processEvents();
    auto* mainWindow = new TimerForm(module);
    new SessionEnd(module, QCoreApplication::instance());
    mainWindow->show();
    splash->close();
    new TrayIcon(*mainWindow);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    backUpOnceADay(module);
}

} // namespace horalog
