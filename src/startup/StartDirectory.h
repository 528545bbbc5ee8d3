#pragma once

#include <QString>

namespace horalog
{

class ProgramFiles;

// An installed Horalog works in its user data folder wherever it was started from (the home folder
// from the desktop menu, any folder from a terminal): the data of a first start, the Reports folder
// and the sounds and pictures it reads by name are there. The folder is made when missing and gets
// the installed sounds and pictures it lacks; files already there, the user's own, stay as they are.
// False when the folder cannot be made; the program then stays where it was started.
bool enterStartDirectory(const ProgramFiles& files, const QString& folder);

} // namespace horalog
