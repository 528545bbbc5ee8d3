#include "entries/EntryRules.h"

#include <QTest>

using namespace horalog;

Q_DECLARE_METATYPE(horalog::StepUnit)

class EntryRulesTest : public QObject
{
    Q_OBJECT

  private slots:
    void hoursLines_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<double>("hours");
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("line");
        QTest::newRow("two-digit month and day") << QDate(1996, 3, 5) << 1.25 << "Acme"
                                                 << "03/05/96    1.25\t Acme";
        QTest::newRow("whole hours") << QDate(2026, 12, 10) << 2.0 << "Baker's"
                                     << "12/10/26    2.00\t Baker's";
        QTest::newRow("ten hours and more") << QDate(2000, 1, 1) << 10.5 << "\"Q\" Ltd"
                                            << "01/01/00    10.50\t \"Q\" Ltd";
        QTest::newRow("no hours, no client") << QDate(2026, 7, 4) << 0.0 << ""
                                             << "07/04/26    0.00\t ";
    }

    void hoursLines()
    {
        QFETCH(QDate, day);
        QFETCH(double, hours);
        QFETCH(QString, client);
        QFETCH(QString, line);
        QCOMPARE(hoursLine(day, hours, client), line);
    }

    void detailHasNineLines()
    {
        store::TimesEntry entry;
        entry.client = "Acme";
        entry.project = "Web";
        entry.task = "Launch";
        entry.day = QDate(1996, 3, 5);
        entry.start = QDateTime(entry.day, QTime(9, 5, 30));
        entry.end = QDateTime(entry.day, QTime(13, 20));
        entry.hours = 4.25;
        entry.billable = false;
        QCOMPARE(detailText("Brandt, Alice", entry), QString("Employee:   Brandt, Alice\r"
                                                             "Client:\t   Acme\r"
                                                             "Project:\t   Web\r"
                                                             "Task:\t   Launch\r"
                                                             "Date:\t   3/5/96\r"
                                                             "Start:\t   9:05 am\r"
                                                             "End:\t   1:20 pm\r"
                                                             "Hours:\t   4.25\r"
                                                             "Billable:\t   No"));
        entry.billable = true;
        QVERIFY(detailText(QString(), entry).endsWith("Billable:\t   Yes"));
        QVERIFY(detailText(QString(), entry).startsWith("Employee:   \r"));
    }

    void steps_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<StepUnit>("unit");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QDateTime>("stepped");
        const auto at = [](int y, int m, int d, int h, int min, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, min, s));
        };
        QTest::newRow("month into a leap February clamps")
            << at(1996, 1, 31, 8, 0) << StepUnit::Month << 1 << at(1996, 2, 29, 8, 0);
        QTest::newRow("month into a common February clamps")
            << at(1997, 1, 31, 8, 0) << StepUnit::Month << 1 << at(1997, 2, 28, 8, 0);
        QTest::newRow("month back into February clamps")
            << at(1996, 3, 31, 17, 30) << StepUnit::Month << -1 << at(1996, 2, 29, 17, 30);
        QTest::newRow("month keeps the day")
            << at(1996, 2, 29, 8, 0) << StepUnit::Month << 1 << at(1996, 3, 29, 8, 0);
        QTest::newRow("month back over the year")
            << at(1996, 1, 15, 9, 0) << StepUnit::Month << -1 << at(1995, 12, 15, 9, 0);
        QTest::newRow("day over a month end")
            << at(1996, 3, 31, 9, 0) << StepUnit::Day << 1 << at(1996, 4, 1, 9, 0);
        QTest::newRow("hour back over midnight")
            << at(1996, 3, 5, 0, 30) << StepUnit::Hour << -1 << at(1996, 3, 4, 23, 30);
        QTest::newRow("minute over midnight")
            << at(1996, 3, 5, 23, 59) << StepUnit::Minute << 1 << at(1996, 3, 6, 0, 0);
        QTest::newRow("minute over the year")
            << at(1996, 12, 31, 23, 59) << StepUnit::Minute << 1 << at(1997, 1, 1, 0, 0);
        QTest::newRow("seconds are kept")
            << at(1996, 3, 5, 9, 15, 40) << StepUnit::Minute << -1 << at(1996, 3, 5, 9, 14, 40);
    }

    void steps()
    {
        QFETCH(QDateTime, moment);
        QFETCH(StepUnit, unit);
        QFETCH(int, direction);
        QFETCH(QDateTime, stepped);
        QCOMPARE(steppedMoment(moment, unit, direction), stepped);
    }
};

QTEST_APPLESS_MAIN(EntryRulesTest)
#include "EntryRulesTest.moc"
