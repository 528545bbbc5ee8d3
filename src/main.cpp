#include "startup/Main.h"
#include "app/MainModule.h"
#include "app/ProgramFiles.h"
#include "app/RegModule.h"
#include "platform/QtPlatform.h"
#include "startup/CommandLine.h"
#include "startup/StartDirectory.h"

#include <QApplication>

namespace
{

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Horalog"));
    QCoreApplication::setOrganizationName(QStringLiteral("Horalog"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HORALOG_VERSION));
    horalog::CommandLine commandLine;
    if (commandLine.answersAtOnce(argumentsOf(argc, argv))) {
        QCoreApplication answering(argc, argv);
        commandLine.process(answering); // prints the help or the version and ends the program
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(HORALOG_APP_ID));
    horalog::StartOptions options;
    options.dataDirForThisRun = commandLine.process(app);
    const horalog::ProgramFiles files = horalog::ProgramFiles::ofThisProgram();
    if (files.installed()) {
        options.firstDataDir = horalog::userDataFolder();
        horalog::enterStartDirectory(files, options.firstDataDir);
    }

    horalog::QtPlatform services;
    horalog::RegModule reg;
    horalog::MainModule module(services.platform, reg);
    module.start = options;
    horalog::Main(module);
    return QApplication::exec();
}
