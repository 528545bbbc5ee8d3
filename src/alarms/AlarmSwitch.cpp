#include "alarms/AlarmSwitch.h"

#include "alarms/AlarmForm.h"
#include "alarms/AlarmMessageForm.h"
#include "app/MainModule.h"
#include "controls/StatusBar.h"
#include "timing/TimerForm.h"

namespace horalog
{

namespace
{
constexpr int kAlarmPanel = 2;
} // namespace

AlarmForm& loadAlarmForm(MainModule& module)
{
    if (!module.alarmForm)
        new AlarmForm(module);
    return *module.alarmForm;
}

void showAlarmForm(MainModule& module)
{
    AlarmForm& form = loadAlarmForm(module);
    if (form.isVisible())
        form.raise();
    form.show();
    form.activateWindow();
}

// The flag changes before any window is unloaded, so that what unloading sets off (a "Just Today"
// alarm that rang is deleted as its alert goes) sees checking already off.
void ToggleAlarms(MainModule& module)
{
    const bool wasOn = module.AlarmsOn;
    AlarmForm& form = loadAlarmForm(module);
    module.AlarmsOn = !wasOn;
    form.showCheckingState(!wasOn);
    if (auto* mainWindow = qobject_cast<TimerForm*>(module.mainWindow))
        mainWindow->StatusBar1->setPanelText(kAlarmPanel, wasOn ? QStringLiteral("Alarm: Off")
                                                                : QStringLiteral("Alarm: On"));
    if (!wasOn)
        return;
    if (module.alarmMessageForm)
        module.alarmMessageForm->close();
    if (module.alarmForm && !module.alarmForm->isVisible())
        module.alarmForm->unload();
}

void PopupToggleAlarms(MainModule& module)
{
    const AlarmForm& form = loadAlarmForm(module);
    if (form.Data1->rowCount() == 0) {
        showAlarmForm(module);
        return;
    }
    ToggleAlarms(module);
    if (!module.AlarmsOn && module.alarmForm)
        module.alarmForm->unload();
}

void unloadAlarmWindows(MainModule& module)
{
    if (module.alarmMessageForm)
        module.alarmMessageForm->close();
    if (module.alarmForm)
        module.alarmForm->unload();
}

} // namespace horalog
