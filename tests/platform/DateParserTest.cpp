#include "platform/DateParser.h"

#include <QTest>

using namespace horalog;

// The dates users type into the report's "Other" prompts, read on December 10, 2026.
class DateParserTest : public QObject
{
    Q_OBJECT

    const QDate today{2026, 12, 10};

  private slots:
    void readsDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("day");
        QTest::newRow("month/day is this year") << "7/4" << QDate(2026, 7, 4);
        QTest::newRow("two-digit year") << "7/4/96" << QDate(1996, 7, 4);
        QTest::newRow("four-digit year") << "7/4/1996" << QDate(1996, 7, 4);
        QTest::newRow("00 is 2000") << "1/1/00" << QDate(2000, 1, 1);
        QTest::newRow("29 is 2029") << "12/31/29" << QDate(2029, 12, 31);
        QTest::newRow("30 is 1930") << "1/1/30" << QDate(1930, 1, 1);
        QTest::newRow("99 is 1999") << "12/31/99" << QDate(1999, 12, 31);
        QTest::newRow("hyphens") << "7-4-96" << QDate(1996, 7, 4);
        QTest::newRow("ISO") << "1996-07-04" << QDate(1996, 7, 4);
        QTest::newRow("month name first") << "July 4" << QDate(2026, 7, 4);
        QTest::newRow("month name, comma, year") << "july 4, 1996" << QDate(1996, 7, 4);
        QTest::newRow("day first") << "4 July 1996" << QDate(1996, 7, 4);
        QTest::newRow("abbreviated, two-digit year") << "Jul 4 96" << QDate(1996, 7, 4);
        QTest::newRow("day-month-year") << "4-Jul-96" << QDate(1996, 7, 4);
        QTest::newRow("Sept") << "Sept 3" << QDate(2026, 9, 3);
        QTest::newRow("with a time of day") << "7/4/96 3:15 PM" << QDate(1996, 7, 4);
        QTest::newRow("with a 24-hour time") << "2/29/2024 23:59:59" << QDate(2024, 2, 29);
        QTest::newRow("blanks around") << "  7/4  " << QDate(2026, 7, 4);
        QTest::newRow("leap day with its year") << "2/29/2024" << QDate(2024, 2, 29);
    }

    void readsDates()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, day);
        QCOMPARE(parsePromptDate(typed, today).value_or(QDate()), day);
    }

    void rejectsWhatIsNoDate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("a number") << "7";
        QTest::newRow("month 13") << "13/1";
        QTest::newRow("February 30") << "2/30/2024";
        QTest::newRow("leap day of a common year") << "2/29";
        QTest::newRow("three-digit year") << "7/4/123";
        QTest::newRow("mixed separators") << "7/4-96";
        QTest::newRow("month name alone") << "July";
        QTest::newRow("day 32") << "July 32";
        QTest::newRow("foreign month name") << "Juli 4";
        QTest::newRow("word") << "tomorrow";
        QTest::newRow("impossible time") << "7/4/96 25:00";
        QTest::newRow("trailing text") << "7/4 soon";
        QTest::newRow("ISO month 13") << "1996-13-01";
        QTest::newRow("four parts") << "7/4/96/1";
    }

    void rejectsWhatIsNoDate()
    {
        QFETCH(QString, typed);
        const std::optional<QDate> read = parsePromptDate(typed, today);
        QVERIFY2(!read, qPrintable(read.value_or(QDate()).toString(Qt::ISODate)));
    }
};

QTEST_APPLESS_MAIN(DateParserTest)
#include "DateParserTest.moc"
