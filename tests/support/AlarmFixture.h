#pragma once

#include "support/TestEnvironment.h"

#include <QPointer>
#include <memory>

class QAbstractButton;
class QAction;

namespace horalog
{
class AlarmForm;
class AlarmMessageForm;
class TimerForm;
} // namespace horalog

namespace horalog::test
{

// A data file with two employees, Brandt (1) and Carver (2), and the main window shown with Brandt
// chosen; alarms are added per test. The fake clock starts on Thursday 2026-12-10 at 9:00.
class AlarmFixture
{
  public:
    AlarmFixture();

    std::unique_ptr<TestEnvironment> env;
    QPointer<TimerForm> main;

    // Adds an alarm row as the Alarms window writes it; returns its AlarmID.
    int addAlarm(const QString& description, const QString& time, int recurrence = 0, int weekDay = 0,
                 int monthDay = 0, const QString& sound = QStringLiteral("BeepBeep.wav"), int employeeId = 1);
    void at(const QDateTime& moment);
    // Edit > Alarms of the main window.
    AlarmForm* openAlarms();
    AlarmForm* alarmForm() const;
    AlarmMessageForm* alert() const;
    QString mainAlarmPanel() const;

    // Press, don't call: the control must be there and enabled.
    [[nodiscard]] static bool press(QAbstractButton* button);
    [[nodiscard]] static bool trigger(QAction* action);

    // Closes every window and says what went wrong on the way; empty when nothing did.
    QString finish();
};

} // namespace horalog::test
