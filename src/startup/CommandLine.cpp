#include "startup/CommandLine.h"

#include "store/DataFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdlib>

namespace horalog
{

CommandLine::CommandLine()
    : help_(parser_.addHelpOption()), version_(parser_.addVersionOption()),
      dataDir_(QStringLiteral("data-dir"),
               QStringLiteral("Opens the data file in <folder> for this run only; the data location "
                              "Horalog keeps for later starts stays as it is."),
               QStringLiteral("folder"))
{
    parser_.setApplicationDescription(QStringLiteral("Records the time you work for your clients."));
    parser_.addOption(dataDir_);
}

// The window system's own options (-platform, -style) are not known yet at this point, so the
// arguments are only looked through, not judged.
bool CommandLine::answersAtOnce(const QStringList& arguments)
{
    parser_.parse(arguments);
    return parser_.isSet(help_) || parser_.optionNames().contains(QStringLiteral("help-all")) ||
           parser_.isSet(version_);
}

QString CommandLine::process(const QCoreApplication& app)
{
    parser_.process(app);
    if (!parser_.positionalArguments().isEmpty()) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": unexpected argument '"
                            << parser_.positionalArguments().first() << "'; see --help.\n";
        std::exit(EXIT_FAILURE);
    }
    if (!parser_.isSet(dataDir_))
        return {};
    const QString folder = QDir::cleanPath(QFileInfo(parser_.value(dataDir_)).absoluteFilePath());
    if (!QFileInfo(store::dataFilePath(folder)).isFile()) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": --data-dir: '" << folder
                            << "' holds no data file " << store::kDataFileName << ".\n";
        std::exit(EXIT_FAILURE);
    }
    return folder;
}

} // namespace horalog
