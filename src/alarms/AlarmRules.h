#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

// When an alarm rings and how its time and day are stepped; no window is needed for any of it.
namespace horalog
{

// The recurrence of an alarm as the data file keeps it.
enum Recurrence { JustToday = 0, EveryDay = 1, Weekly = 2, Monthly = 3 };

struct AlarmTiming {
    QTime time;
    int recurrence = JustToday;
    int weekDay = 0; // 1 Monday ... 7 Sunday
    int monthDay = 0;
};

// Due in the minute of its time of day (seconds do not count), on the days its recurrence names.
// A recurrence the program does not know rings every day.
bool isAlarmDue(const AlarmTiming& alarm, const QDateTime& now);

// "st", "nd", "rd" or "th" for a day of the month: 1st, 2nd, 3rd, 4th ... 11th, 12th, 13th ... 21st.
QString OrdinalSuffix(int day);

// The "When" choices: 0 in 10 minutes, 1 in a half hour, 2 in 1 hour (seconds dropped), 3 at the next
// full hour. All of them wrap past midnight: at 11:20 PM "at the hour" is 12:00 AM.
QTime whenOptionTime(int option, const QDateTime& now);

// One hour (unit 0) or one minute (unit 1) up (+1) or down (-1), around the clock.
QTime steppedTime(const QTime& time, int unit, int step);

// One day up (+1) or down (-1) within the days of `today`'s month: after the last comes the 1st,
// before the 1st the last.
int steppedMonthDay(int day, int step, const QDate& today);

// The full weekday names in the user's language, Monday first.
QStringList weekdayNames(const QLocale& locale = QLocale());

// "It's 2:40 PM..." / "time for" / the description, on three lines.
QString alarmAnnouncement(const QDateTime& now, const QString& description);

} // namespace horalog
