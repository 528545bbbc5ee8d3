#pragma once

namespace horalog
{

class MainModule;

// The first start of each day copies the open data file into its Backups folder (the clock says which
// day it is). A failed backup is told once and the program goes on; a data file found damaged on the
// way is told, and closed to writes, before anything writes to it.
void backUpOnceADay(MainModule& module);

} // namespace horalog
