#include "startup/Main.h"
#include "app/MainModule.h"
#include "app/RegModule.h"
#include "platform/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horalog"));
    QApplication::setOrganizationName(QStringLiteral("Horalog"));
    horalog::QtPlatform services;
    horalog::RegModule reg;
    horalog::MainModule module(services.platform, reg);
    horalog::Main(module);
    return QApplication::exec();
}
