#include "startup/Main.h"

#include "app/AboutForm.h"
#include "app/MainModule.h"
#include "timing/SessionEnd.h"
#include "timing/TimerForm.h"

#include <QCoreApplication>
#include <QPushButton>

namespace horalog
{

void Main(MainModule& module)
{
    auto* splash = new AboutForm(module, AboutForm::Mode::Splash);
    splash->show();
    QCoreApplication::processEvents();
    auto* mainWindow = new TimerForm(module);
    new SessionEnd(module, QCoreApplication::instance());
    mainWindow->show();
    splash->close();
}

} // namespace horalog
