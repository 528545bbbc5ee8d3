#pragma once

namespace horalog
{

class MainModule;

// Start-up: the About box stands as a splash while the main window loads, then goes away.
void Main(MainModule& module);

} // namespace horalog
