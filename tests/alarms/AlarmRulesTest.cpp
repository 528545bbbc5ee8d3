#include "alarms/AlarmRules.h"
#include "platform/Formats.h"

#include <QTest>

using namespace horalog;

namespace
{
// 2026-12-07 is a Monday; December has 31 days, November 30.
const QDate kMonday(2026, 12, 7);
} // namespace

class AlarmRulesTest : public QObject
{
    Q_OBJECT

  private slots:
    void isAlarmDue_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("recurrence");
        QTest::addColumn<int>("weekDay");
        QTest::addColumn<int>("monthDay");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("due");
        const QTime twoForty(14, 40);
        const QDateTime inItsMinute(kMonday, QTime(14, 40, 50));
        QTest::newRow("every day, first second of its minute")
            << twoForty << int(EveryDay) << 0 << 0 << QDateTime(kMonday, QTime(14, 40)) << true;
        QTest::newRow("every day, last second of its minute")
            << twoForty << int(EveryDay) << 0 << 0 << inItsMinute << true;
        QTest::newRow("every day, the next minute")
            << twoForty << int(EveryDay) << 0 << 0 << QDateTime(kMonday, QTime(14, 41)) << false;
        QTest::newRow("every day, the minute before")
            << twoForty << int(EveryDay) << 0 << 0 << QDateTime(kMonday, QTime(14, 39, 59)) << false;
        QTest::newRow("same minute, another hour")
            << twoForty << int(EveryDay) << 0 << 0 << QDateTime(kMonday, QTime(2, 40)) << false;
        QTest::newRow("just today") << twoForty << int(JustToday) << 0 << 0 << inItsMinute << true;
        QTest::newRow("stored with seconds")
            << QTime(14, 40, 37) << int(EveryDay) << 0 << 0 << QDateTime(kMonday, QTime(14, 40, 2)) << true;
        QTest::newRow("weekly on Monday, a Monday")
            << twoForty << int(Weekly) << 1 << 0 << inItsMinute << true;
        QTest::newRow("weekly on Monday, a Tuesday")
            << twoForty << int(Weekly) << 1 << 0 << inItsMinute.addDays(1) << false;
        QTest::newRow("weekly on Sunday, a Sunday")
            << twoForty << int(Weekly) << 7 << 0 << inItsMinute.addDays(6) << true;
        QTest::newRow("monthly on the 7th") << twoForty << int(Monthly) << 0 << 7 << inItsMinute << true;
        QTest::newRow("monthly on the 8th, the 7th")
            << twoForty << int(Monthly) << 0 << 8 << inItsMinute << false;
        QTest::newRow("monthly on the 31st, Nov 30")
            << twoForty << int(Monthly) << 0 << 31 << QDateTime(QDate(2026, 11, 30), twoForty) << false;
        QTest::newRow("monthly on the 31st, Dec 1")
            << twoForty << int(Monthly) << 0 << 31 << QDateTime(QDate(2026, 12, 1), twoForty) << false;
        QTest::newRow("unknown recurrence rings") << twoForty << 9 << 0 << 0 << inItsMinute << true;
        QTest::newRow("no time never rings")
            << QTime() << int(EveryDay) << 0 << 0 << QDateTime(kMonday, QTime(0, 0)) << false;
    }

    void isAlarmDue()
    {
        QFETCH(QTime, time);
        QFETCH(int, recurrence);
        QFETCH(int, weekDay);
        QFETCH(int, monthDay);
        QFETCH(QDateTime, now);
        QFETCH(bool, due);
        QCOMPARE(horalog::isAlarmDue({time, recurrence, weekDay, monthDay}, now), due);
    }

    // A monthly alarm for the 31st never rings in a 30-day month.
    void theThirtyFirstNeverComesInAThirtyDayMonth()
    {
        for (QDate day(2026, 11, 1); day.month() == 11; day = day.addDays(1))
            QVERIFY(!horalog::isAlarmDue({QTime(9, 0), Monthly, 0, 31}, QDateTime(day, QTime(9, 0))));
    }

    void OrdinalSuffix_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("suffix");
        const QList<QPair<int, QString>> cases{
            {0, "th"},  {1, "st"},  {2, "nd"},  {3, "rd"},  {4, "th"},  {11, "th"}, {12, "th"}, {13, "th"},
            {19, "th"}, {20, "th"}, {21, "st"}, {22, "nd"}, {23, "rd"}, {24, "th"}, {30, "th"}, {31, "st"}};
        for (const auto& [day, suffix] : cases)
            QTest::addRow("%d", day) << day << suffix;
    }

    void OrdinalSuffix()
    {
        QFETCH(int, day);
        QFETCH(QString, suffix);
        QCOMPARE(horalog::OrdinalSuffix(day), suffix);
    }

    void whenOptionTime_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QTime>("time");
        QTest::newRow("in 10 minutes drops the seconds") << 0 << QTime(14, 10, 45) << QTime(14, 20);
        QTest::newRow("in a half hour") << 1 << QTime(14, 10) << QTime(14, 40);
        QTest::newRow("in 1 hour") << 2 << QTime(14, 10) << QTime(15, 10);
        QTest::newRow("at the hour") << 3 << QTime(14, 10) << QTime(15, 0);
        QTest::newRow("at the hour, on the hour") << 3 << QTime(15, 0) << QTime(16, 0);
        QTest::newRow("at the hour during the 11 PM hour") << 3 << QTime(23, 20) << QTime(0, 0);
        QTest::newRow("in 10 minutes past midnight") << 0 << QTime(23, 55, 30) << QTime(0, 5);
        QTest::newRow("in 1 hour past midnight") << 2 << QTime(23, 30) << QTime(0, 30);
    }

    void whenOptionTime()
    {
        QFETCH(int, option);
        QFETCH(QTime, now);
        QFETCH(QTime, time);
        QCOMPARE(horalog::whenOptionTime(option, QDateTime(kMonday, now)), time);
    }

    void steppedTime_data()
    {
        QTest::addColumn<QTime>("from");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("step");
        QTest::addColumn<QTime>("to");
        QTest::newRow("hour up past midnight") << QTime(23, 30) << 0 << 1 << QTime(0, 30);
        QTest::newRow("hour down past midnight") << QTime(0, 15) << 0 << -1 << QTime(23, 15);
        QTest::newRow("minute down past midnight") << QTime(0, 0) << 1 << -1 << QTime(23, 59);
        QTest::newRow("minute up past midnight") << QTime(23, 59) << 1 << 1 << QTime(0, 0);
        QTest::newRow("minute up into the next hour") << QTime(9, 59) << 1 << 1 << QTime(10, 0);
        QTest::newRow("seconds are kept") << QTime(9, 5, 30) << 0 << 1 << QTime(10, 5, 30);
    }

    void steppedTime()
    {
        QFETCH(QTime, from);
        QFETCH(int, unit);
        QFETCH(int, step);
        QFETCH(QTime, to);
        QCOMPARE(horalog::steppedTime(from, unit, step), to);
    }

    void steppedMonthDay_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("step");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("to");
        const QDate november(2026, 11, 12);
        QTest::newRow("up from nothing") << 0 << 1 << november << 1;
        QTest::newRow("down from nothing") << 0 << -1 << november << 30;
        QTest::newRow("down from the 1st, 30-day month") << 1 << -1 << november << 30;
        QTest::newRow("up from the 30th, 30-day month") << 30 << 1 << november << 1;
        QTest::newRow("up from the 30th, 31-day month") << 30 << 1 << kMonday << 31;
        QTest::newRow("up from the 31st in a 30-day month") << 31 << 1 << november << 1;
        QTest::newRow("down from the 1st, leap February") << 1 << -1 << QDate(2028, 2, 3) << 29;
        QTest::newRow("up in the middle") << 14 << 1 << november << 15;
    }

    void steppedMonthDay()
    {
        QFETCH(int, from);
        QFETCH(int, step);
        QFETCH(QDate, today);
        QFETCH(int, to);
        QCOMPARE(horalog::steppedMonthDay(from, step, today), to);
    }

    void weekdayNamesStartOnMondayInTheUsersLanguage()
    {
        QCOMPARE(weekdayNames(QLocale(QLocale::English)),
                 QStringList({"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}));
        QCOMPARE(weekdayNames(QLocale(QLocale::German)).first(), QString("Montag"));
    }

    void alarmTimesAreReadInEveryFormTheyAreKeptIn_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QTime>("time");
        QTest::newRow("as written") << "14:40:00" << QTime(14, 40);
        QTest::newRow("after a step, with seconds") << "00:30:15" << QTime(0, 30, 15);
        QTest::newRow("hours and minutes") << "09:05" << QTime(9, 5);
        QTest::newRow("as shown") << "2:40 PM" << QTime(14, 40);
        QTest::newRow("midnight as shown") << "12:00 AM" << QTime(0, 0);
        QTest::newRow("nothing") << "" << QTime();
        QTest::newRow("no time") << "soon" << QTime();
    }

    void alarmTimesAreReadInEveryFormTheyAreKeptIn()
    {
        QFETCH(QString, stored);
        QFETCH(QTime, time);
        QCOMPARE(timeOfDayFromStore(stored), time);
        if (time.isValid())
            QCOMPARE(timeOfDayFromStore(storedTimeOfDay(time)), time);
    }

    void theAnnouncementReadsOnThreeLines()
    {
        QCOMPARE(alarmAnnouncement(QDateTime(kMonday, QTime(14, 40, 10)), "the dentist"),
                 QString("It's 2:40 PM...\ntime for\nthe dentist"));
    }
};

QTEST_GUILESS_MAIN(AlarmRulesTest)
#include "AlarmRulesTest.moc"
