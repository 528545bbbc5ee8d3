#include "platform/Formats.h"

#include <QLocale>
#include <QTest>

using namespace horalog;

// The display formats must not follow the desktop's language: a German desktop still shows 7:04 PM.
class FormatsTest : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void formatTime_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("shown");
        const QDate day(2026, 12, 10);
        QTest::newRow("evening") << QDateTime(day, QTime(19, 4)) << "7:04 PM";
        QTest::newRow("morning, no leading zero") << QDateTime(day, QTime(9, 0, 59)) << "9:00 AM";
        QTest::newRow("just after midnight") << QDateTime(day, QTime(0, 5)) << "12:05 AM";
        QTest::newRow("noon") << QDateTime(day, QTime(12, 0)) << "12:00 PM";
        QTest::newRow("last minute of the day") << QDateTime(day, QTime(23, 59, 59)) << "11:59 PM";
        QTest::newRow("no moment") << QDateTime() << "";
    }

    void formatTime()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, shown);
        QCOMPARE(horalog::formatTime(moment), shown);
    }

    void formatShortDate_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two-digit month and day") << QDate(1996, 12, 26) << "12/26/96";
        QTest::newRow("no leading zeros") << QDate(2026, 1, 5) << "1/5/26";
        QTest::newRow("year 2000") << QDate(2000, 8, 26) << "8/26/00";
        QTest::newRow("no date") << QDate() << "";
    }

    void formatShortDate()
    {
        QFETCH(QDate, day);
        QFETCH(QString, shown);
        QCOMPARE(horalog::formatShortDate(day), shown);
    }

    void formatHours_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0.0 << "0.00";
        QTest::newRow("quarter past") << 1.25 << "1.25";
        QTest::newRow("one minute, rounded") << 1 / 60.0 << "0.02";
        QTest::newRow("whole hours") << 10.0 << "10.00";
    }

    void formatHours()
    {
        QFETCH(double, hours);
        QFETCH(QString, shown);
        QCOMPARE(horalog::formatHours(hours), shown);
    }

    void parseDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("day");
        QTest::newRow("m/d/yy") << "8/26/96" << QDate(1996, 8, 26);
        QTest::newRow("two-digit year 29 is 2029") << "1/5/29" << QDate(2029, 1, 5);
        QTest::newRow("two-digit year 30 is 1930") << "1/5/30" << QDate(1930, 1, 5);
        QTest::newRow("two-digit year 00 is 2000") << "12/31/00" << QDate(2000, 12, 31);
        QTest::newRow("m/d/yyyy") << "7/2/1984" << QDate(1984, 7, 2);
        QTest::newRow("mm/dd/yyyy, blanks around") << " 03/15/2024 " << QDate(2024, 3, 15);
        QTest::newRow("ISO") << "2026-12-10" << QDate(2026, 12, 10);
        QTest::newRow("day before month is no date") << "26/8/96" << QDate();
        QTest::newRow("no such day") << "2/30/26" << QDate();
        QTest::newRow("three-digit year") << "1/5/196" << QDate();
        QTest::newRow("words") << "soon" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }

    void parseDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, day);
        QCOMPARE(horalog::parseDate(text), day);
    }
};

QTEST_MAIN(FormatsTest)
#include "FormatsTest.moc"
