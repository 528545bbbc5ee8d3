#include "reports/ReportPeriods.h"

#include <QTest>

using namespace horalog;

Q_DECLARE_METATYPE(horalog::FixedPeriod)

class ReportPeriodsTest : public QObject
{
    Q_OBJECT

  private slots:
    void periods_data()
    {
        QTest::addColumn<FixedPeriod>("period");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        const auto at = [](int y, int m, int d, int h = 0, int min = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, min, s));
        };
        const QDateTime ordinary = at(2026, 4, 10, 14, 35, 20);
        const QDateTime newYear = at(2027, 1, 1, 9, 5);
        const QDateTime leapFebruary = at(2024, 2, 20, 8);
        const QDateTime commonFebruary = at(2026, 2, 3, 8);
        const QDateTime december = at(2026, 12, 20, 17);
        const QDateTime leapMarch = at(2024, 3, 31, 12);

        QTest::newRow("today ends now") << FixedPeriod::Today << ordinary << at(2026, 4, 10) << ordinary;
        QTest::newRow("today on January 1") << FixedPeriod::Today << newYear << at(2027, 1, 1) << newYear;
        QTest::newRow("yesterday") << FixedPeriod::Yesterday << ordinary << at(2026, 4, 9)
                                   << at(2026, 4, 9, 23, 59, 59);
        QTest::newRow("yesterday on January 1")
            << FixedPeriod::Yesterday << newYear << at(2026, 12, 31) << at(2026, 12, 31, 23, 59, 59);
        QTest::newRow("first half") << FixedPeriod::FirstHalfOfMonth << ordinary << at(2026, 4, 1)
                                    << at(2026, 4, 15, 23, 59, 59);
        QTest::newRow("first half on January 1")
            << FixedPeriod::FirstHalfOfMonth << newYear << at(2027, 1, 1) << at(2027, 1, 15, 23, 59, 59);
        QTest::newRow("second half of a 30-day month")
            << FixedPeriod::SecondHalfOfMonth << ordinary << at(2026, 4, 16) << at(2026, 4, 30, 23, 59, 59);
        QTest::newRow("second half of a leap February") << FixedPeriod::SecondHalfOfMonth << leapFebruary
                                                        << at(2024, 2, 16) << at(2024, 2, 29, 23, 59, 59);
        QTest::newRow("second half of a common February") << FixedPeriod::SecondHalfOfMonth << commonFebruary
                                                          << at(2026, 2, 16) << at(2026, 2, 28, 23, 59, 59);
        QTest::newRow("second half of December")
            << FixedPeriod::SecondHalfOfMonth << december << at(2026, 12, 16) << at(2026, 12, 31, 23, 59, 59);
        QTest::newRow("current month")
            << FixedPeriod::CurrentMonth << ordinary << at(2026, 4, 1) << at(2026, 4, 30, 23, 59, 59);
        QTest::newRow("current month, leap February")
            << FixedPeriod::CurrentMonth << leapFebruary << at(2024, 2, 1) << at(2024, 2, 29, 23, 59, 59);
        QTest::newRow("current month, common February")
            << FixedPeriod::CurrentMonth << commonFebruary << at(2026, 2, 1) << at(2026, 2, 28, 23, 59, 59);
        QTest::newRow("current month, December")
            << FixedPeriod::CurrentMonth << december << at(2026, 12, 1) << at(2026, 12, 31, 23, 59, 59);
        QTest::newRow("previous month")
            << FixedPeriod::PreviousMonth << ordinary << at(2026, 3, 1) << at(2026, 3, 31, 23, 59, 59);
        QTest::newRow("previous month in January")
            << FixedPeriod::PreviousMonth << newYear << at(2026, 12, 1) << at(2026, 12, 31, 23, 59, 59);
        QTest::newRow("previous month is a leap February")
            << FixedPeriod::PreviousMonth << leapMarch << at(2024, 2, 1) << at(2024, 2, 29, 23, 59, 59);
    }

    void periods()
    {
        QFETCH(FixedPeriod, period);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        const ReportPeriod chosen = reportPeriod(period, now);
        QCOMPARE(chosen.start, start);
        QCOMPARE(chosen.end, end);
    }
};

QTEST_APPLESS_MAIN(ReportPeriodsTest)
#include "ReportPeriodsTest.moc"
