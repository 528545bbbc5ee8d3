#pragma once

namespace horalog
{

class MainModule;

// Start-up: the About box stands as a splash while the main window loads, then goes away; the tray
// icon joins the main window, and the first start of the day backs up the data file.
void Main(MainModule& module);

} // namespace horalog
