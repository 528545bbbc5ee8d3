#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

class QCoreApplication;

namespace horalog
{

// horalog [--data-dir DIR], --help, --version.
class CommandLine
{
  public:
    CommandLine();

    // True when the arguments ask for --help or --version: they are answered without a window
    // system, so that they work where there is no display.
    bool answersAtOnce(const QStringList& arguments);

    // Answers --help and --version and ends the program, as it does with a message on standard error
    // for a wrong command line or a --data-dir folder without a data file. Otherwise gives the data
    // directory of this run, as an absolute path, or the empty text when none was given.
    QString process(const QCoreApplication& app);

  private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QCommandLineOption dataDir_;
};

} // namespace horalog
