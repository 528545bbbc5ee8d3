#pragma once

#include <QString>
#include <QStringList>

namespace horalog
{

// The files Horalog ships with: the help pages, and the sounds and pictures it reads from its start
// directory. They sit beside the program when it runs from a build folder or run/, and in
// share/horalog when it is installed.
class ProgramFiles
{
  public:
    // The files of the running program.
    static ProgramFiles ofThisProgram();
    // The files laid out around a program in `programDir`.
    static ProgramFiles around(const QString& programDir);

    bool installed() const { return installed_; }
    QString helpPage() const;
    // The sounds and pictures an installed program copies into its start directory.
    QStringList startFiles() const;

  private:
    ProgramFiles(const QString& folder, bool installed) : folder_(folder), installed_(installed) {}

    QString folder_;
    bool installed_;
};

// The folder an installed Horalog starts in and, until the user moves the data, keeps its data in:
// Horalog under the user's data folder ($XDG_DATA_HOME, ~/.local/share by default).
QString userDataFolder();

} // namespace horalog
