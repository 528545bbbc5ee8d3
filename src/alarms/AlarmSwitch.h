#pragma once

namespace horalog
{

class AlarmForm;
class MainModule;

// The Alarms window, loaded hidden when it is not loaded yet.
AlarmForm& loadAlarmForm(MainModule& module);
// Shows the Alarms window, loading it first when needed.
void showAlarmForm(MainModule& module);

// Switches alarm checking to the other state: the Set button's picture, the main window's indicator,
// and, when checking goes off, the alert and a hidden Alarms window are cleared away.
void ToggleAlarms(MainModule& module);
// "On"/"Off" of the main window's alarm popup. Without alarms it shows the Alarms window instead, so
// that the user can make one.
void PopupToggleAlarms(MainModule& module);

// As the main window unloads, the alarm windows go with it.
void unloadAlarmWindows(MainModule& module);

} // namespace horalog
