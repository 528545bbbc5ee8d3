#include "alarms/AlarmRules.h"

#include "platform/Formats.h"

namespace horalog
{

namespace
{
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
} // namespace

bool isAlarmDue(const AlarmTiming& alarm, const QDateTime& now)
{
    const QTime clock = now.time();
    if (!alarm.time.isValid() || alarm.time.hour() != clock.hour() || alarm.time.minute() != clock.minute())
        return false;
    switch (alarm.recurrence) {
    case Weekly:
        return alarm.weekDay == now.date().dayOfWeek();
    case Monthly:
        return alarm.monthDay == now.date().day();
    default:
        return true;
    }
}

QString OrdinalSuffix(int day)
{
    if (day > 3 && day < 20)
        return QStringLiteral("th");
    switch (day % 10) {
    case 1:
        return QStringLiteral("st");
    case 2:
        return QStringLiteral("nd");
    case 3:
        return QStringLiteral("rd");
    default:
        return QStringLiteral("th");
    }
}

QTime whenOptionTime(int option, const QDateTime& now)
{
    const QTime clock = now.time();
    if (option == 3)
        return QTime(clock.hour(), 0).addSecs(kSecondsPerHour);
    static constexpr int kMinutesAhead[] = {10, 30, 60};
    return QTime(clock.hour(), clock.minute()).addSecs(kMinutesAhead[option] * kSecondsPerMinute);
}

QTime steppedTime(const QTime& time, int unit, int step)
{
    return time.addSecs(step * (unit == 0 ? kSecondsPerHour : kSecondsPerMinute));
}

int steppedMonthDay(int day, int step, const QDate& today)
{
    const int last = today.daysInMonth();
    if (step < 0)
        return day > 1 ? day - 1 : last;
    return day < last ? day + 1 : 1;
}

QStringList weekdayNames(const QLocale& locale)
{
    QStringList names;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        names << locale.standaloneDayName(day, QLocale::LongFormat);
    return names;
}

QString alarmAnnouncement(const QDateTime& now, const QString& description)
{
    return QStringLiteral("It's %1...\ntime for\n%2").arg(formatTime(now), description);
}

} // namespace horalog
