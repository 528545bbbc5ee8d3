#include "support/AlarmFixture.h"

#include "alarms/AlarmForm.h"
#include "alarms/AlarmMessageForm.h"
#include "controls/StatusBar.h"
#include "timing/TimerForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>

namespace horalog::test
{

AlarmFixture::AlarmFixture() : env(std::make_unique<TestEnvironment>())
{
    env->sql({
        "INSERT INTO Employees (LastName, FirstName) VALUES ('Brandt', 'Alice'), ('Carver', 'Ben')",
        "INSERT INTO Clients (ClientName) VALUES ('Acme')",
        R"(INSERT INTO Times (EmployeeID, Client, Project, Task, DateToday, "Start Time", "End Time", Hours)
            VALUES (1, 'Acme', 'Web', 'Launch', '2026-12-09', '2026-12-09 09:00:00', '2026-12-09 10:00:00', 1))",
    });
    main = new TimerForm(*env->module);
    main->show();
}

int AlarmFixture::addAlarm(const QString& description, const QString& time, int recurrence, int weekDay,
                           int monthDay, const QString& sound, int employeeId)
{
    env->scalar(
        QStringLiteral("INSERT INTO ALARMS (EmployeeID, AlarmDescription, AlarmTime, Recurrence, WeekDay, "
                       "MonthDay, AlarmSound, SoundName) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {employeeId, description, time, recurrence, weekDay, monthDay, sound, sound});
    return env->scalar("SELECT max(AlarmID) FROM ALARMS").toInt();
}

void AlarmFixture::at(const QDateTime& moment)
{
    env->fake.clock.current = moment;
}

AlarmForm* AlarmFixture::openAlarms()
{
    if (!trigger(main->AlarmMenuItem))
        return nullptr;
    return alarmForm();
}

AlarmForm* AlarmFixture::alarmForm() const
{
    return env->module->alarmForm;
}

AlarmMessageForm* AlarmFixture::alert() const
{
    return env->module->alarmMessageForm;
}

QString AlarmFixture::mainAlarmPanel() const
{
    return main->StatusBar1->panelText(2);
}

bool AlarmFixture::press(QAbstractButton* button)
{
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool AlarmFixture::trigger(QAction* action)
{
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

QString AlarmFixture::finish()
{
    return tearDown(env);
}

} // namespace horalog::test
