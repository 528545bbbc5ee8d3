#include "timing/TimingRules.h"
#include "platform/Formats.h"

#include <QTest>

using namespace horalog;

class TimingRulesTest : public QObject
{
    Q_OBJECT

  private slots:
    void hoursCountMinuteBoundaries_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("hours");
        const QDate day(2026, 12, 10);
        QTest::newRow("one second over a boundary")
            << QDateTime(day, QTime(9, 59, 59)) << QDateTime(day, QTime(10, 0)) << 1 << "0.02";
        QTest::newRow("same minute") << QDateTime(day, QTime(10, 0)) << QDateTime(day, QTime(10, 0, 59)) << 0
                                     << "0.00";
        QTest::newRow("twenty seconds across a boundary")
            << QDateTime(day, QTime(9, 59, 50)) << QDateTime(day, QTime(10, 0, 10)) << 1 << "0.02";
        QTest::newRow("fractions of a second do not count")
            << QDateTime(day, QTime(9, 0, 0, 999)) << QDateTime(day, QTime(9, 1, 0, 1)) << 1 << "0.02";
        QTest::newRow("over midnight")
            << QDateTime(day, QTime(23, 30)) << QDateTime(day.addDays(1), QTime(0, 15)) << 45 << "0.75";
        QTest::newRow("one hour fifteen")
            << QDateTime(day, QTime(9, 0, 30)) << QDateTime(day, QTime(10, 15, 5)) << 75 << "1.25";
        QTest::newRow("a working day")
            << QDateTime(day, QTime(8, 7)) << QDateTime(day, QTime(16, 47)) << 520 << "8.67";
        QTest::newRow("several days") << QDateTime(day, QTime(9, 0)) << QDateTime(day.addDays(3), QTime(9, 0))
                                      << 3 * 24 * 60 << "72.00";
    }

    void hoursCountMinuteBoundaries()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(int, minutes);
        QFETCH(QString, hours);
        QCOMPARE(minuteBoundaries(start, end), minutes);
        QCOMPARE(formatHours(hoursFromMinutes(minutes)), hours);
        QCOMPARE(hoursFromMinutes(minutes), hours.toDouble());
    }
};

QTEST_MAIN(TimingRulesTest)
#include "TimingRulesTest.moc"
